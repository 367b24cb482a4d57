// The transcript of the headless operator: every form and box that comes
// up, with what it shows, and every answer given, as plain text lines.
//
//   === form "Choose Destination Location" (BaseFormContainer: TBaseFormContainer, page SelectDestinationForm: TSelectDestinationForm)
//     label lblText1: "Which directory do you want to install this program into?"
//     edit edDestDir: "C:\Program Files\Quarry"
//     button BrowseBtn: [Browse]
//     button ProceedBtn: [Next >] (default, focused)
//   -> set edDestDir = "D:\Quarry" (answers.txt:3)
//   -> press ProceedBtn [Next >] (answers.txt:4)
//
// Texts are quoted with \" \\ \n \r \t escaped; captions of buttons are
// shown without accelerator marks. The writer flushes after every entry,
// so that a transcript is complete up to the moment a run stops.
#pragma once

#include <fstream>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/backend.h"
#include "platform/ui/forms.h"

namespace wenmoor {

class Transcript {
 public:
  // Appends to the file at `path` (a host path); raises EUiBackendError
  // when it cannot be opened.
  static std::unique_ptr<Transcript> ToFile(const std::string& path);
  // Writes to `out`, which must outlive the transcript.
  explicit Transcript(std::ostream& out) : out_(&out) {}

  void Line(std::string_view text);
  // "=== <kind> ..." and the shown controls of the form.
  void Form(const TCustomForm& form, std::string_view kind);
  void MessageBox(const MessageBoxRequest& request);
  void Input(const InputQueryRequest& request);
  void Folder(const FolderBrowseRequest& request);
  // "-> <what> (<source>)".
  void Answer(std::string_view what, std::string_view source);

  static std::string Quote(std::string_view text);

 private:
  Transcript() = default;
  std::ofstream file_;
  std::ostream* out_ = nullptr;
};

}  // namespace wenmoor
