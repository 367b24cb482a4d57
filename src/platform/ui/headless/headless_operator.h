// The headless operator: the silent user who answers every modal form and
// box of a run, from an answer file where it has an answer and otherwise
// with the default (the button Enter would press, the default button of a
// box, the text or folder offered).
//
// A modal form is answered step by step until its modal loop ends: show
// the form in the transcript, apply the matching answer section (or none),
// press a button. Exceptions of the program's event handlers go to
// TApplication::HandleException, as in a real message loop. The operator
// gives up (EUiBackendError) rather than loop for ever: when a form offers
// no button to press, or when three presses in a row leave the same page
// of the same form up without any answer being used.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/buttons.h"
#include "platform/ui/forms.h"
#include "platform/ui/headless/answer_file.h"
#include "platform/ui/headless/transcript.h"

namespace wenmoor {

class HeadlessOperator {
 public:
  // `answers` may be null (defaults only); both must outlive the operator.
  HeadlessOperator(AnswerFile* answers, Transcript& transcript) : answers_(answers), transcript_(transcript) {}

  static constexpr int kMaxIdlePresses = 3;
  static constexpr int kMaxSteps = 10000;

  void RunModal(TCustomForm& form);
  int AnswerMessageBox(const MessageBoxRequest& request);
  std::optional<std::string> AnswerInput(const InputQueryRequest& request);
  std::optional<std::string> AnswerFolder(const FolderBrowseRequest& request);
  // Notes the answer sections that were never used in the transcript.
  void ReportUnused();

 private:
  void Apply(TCustomForm& form, const AnswerAction& action);
  TButton* ResolvePress(TCustomForm& form, const AnswerAction& action);
  TControl& UsableControl(TCustomForm& form, const AnswerAction& action, const char* what);
  std::string Source(const AnswerAction& action) const;
  [[noreturn]] void Fail(const AnswerAction& action, const std::string& reason) const;

  AnswerFile* answers_;
  Transcript& transcript_;
};

}  // namespace wenmoor
