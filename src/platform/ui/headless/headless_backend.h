// The headless backend: no window at all. Forms and boxes are answered by
// the headless operator (headless_operator.h) from the answer file named by
// WENMOOR_ANSWERS, and recorded in the transcript written to the file named
// by WENMOOR_TRANSCRIPT (appended to) or to standard error.
//
// The screen is 1024 × 768 with an 18-pixel caption (frames 3 and 4
// pixels); texts are measured with the approximate metrics of
// text_metrics.h. Repaints cost nothing.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/backend.h"
#include "platform/ui/headless/answer_file.h"
#include "platform/ui/headless/headless_operator.h"
#include "platform/ui/headless/transcript.h"

namespace wenmoor {

class HeadlessBackend : public UiBackend {
 public:
  // `answers` may be empty (every form and box gets its default answer).
  HeadlessBackend(std::optional<AnswerFile> answers, std::unique_ptr<Transcript> transcript,
                  TScreenMetrics metrics = {});
  // Reads WENMOOR_ANSWERS and WENMOOR_TRANSCRIPT. Raises EAnswerFileError
  // for a bad or unreadable answer file and EUiBackendError for a
  // transcript file that cannot be opened.
  static std::unique_ptr<HeadlessBackend> FromEnvironment(const EnvLookup& env);
  // Notes unused answer sections in the transcript.
  ~HeadlessBackend() override;

  std::string Name() const override { return "headless"; }
  void ShowForm(TCustomForm& form) override;
  void HideForm(TCustomForm&) override {}
  void DestroyForm(TCustomForm&) override {}
  void RunModal(TCustomForm& form) override { operator_.RunModal(form); }
  void ControlChanged(TControl&, TControlChange) override {}
  void ProcessMessages() override { ++process_messages_calls_; }

  int ShowMessageBox(const MessageBoxRequest& request) override { return operator_.AnswerMessageBox(request); }
  std::optional<std::string> InputQuery(const InputQueryRequest& request) override {
    return operator_.AnswerInput(request);
  }
  std::optional<std::string> BrowseForFolder(const FolderBrowseRequest& request) override {
    return operator_.AnswerFolder(request);
  }

  TScreenMetrics ScreenMetrics() const override { return metrics_; }
  TSize MeasureText(const TFont& font, std::string_view text, int wrap_width) override;

  Transcript& GetTranscript() { return *transcript_; }
  const AnswerFile* Answers() const { return answers_ ? &*answers_ : nullptr; }
  long ProcessMessagesCalls() const { return process_messages_calls_; }

 private:
  std::optional<AnswerFile> answers_;
  std::unique_ptr<Transcript> transcript_;
  TScreenMetrics metrics_;
  HeadlessOperator operator_;
  long process_messages_calls_ = 0;
};

}  // namespace wenmoor
