#include "platform/ui/headless/headless_backend.h"

#include <algorithm>
#include <iostream>

#include "platform/ui/forms.h"
#include "platform/ui/text_metrics.h"

namespace wenmoor {

HeadlessBackend::HeadlessBackend(std::optional<AnswerFile> answers, std::unique_ptr<Transcript> transcript,
                                 TScreenMetrics metrics)
    : answers_(std::move(answers)),
      transcript_(transcript ? std::move(transcript) : std::make_unique<Transcript>(std::cerr)),
      metrics_(metrics),
      operator_(answers_ ? &*answers_ : nullptr, *transcript_) {}

HeadlessBackend::~HeadlessBackend() {
  try {
    operator_.ReportUnused();
  } catch (...) {
    // A transcript that cannot be written any more must not end the program.
  }
}

std::unique_ptr<HeadlessBackend> HeadlessBackend::FromEnvironment(const EnvLookup& env) {
  std::optional<AnswerFile> answers;
  if (std::optional<std::string> path = env("WENMOOR_ANSWERS"); path && !path->empty())
    answers = AnswerFile::Load(*path);
  std::unique_ptr<Transcript> transcript;
  if (std::optional<std::string> path = env("WENMOOR_TRANSCRIPT"); path && !path->empty())
    transcript = Transcript::ToFile(*path);
  return std::make_unique<HeadlessBackend>(std::move(answers), std::move(transcript));
}

void HeadlessBackend::ShowForm(TCustomForm& form) {
  // A modal form is described by the operator at each of its steps.
  if (!form.IsModal()) transcript_->Form(form, "show");
}

TSize HeadlessBackend::MeasureText(const TFont& font, std::string_view text, int wrap_width) {
  if (wrap_width <= 0) return ApproxTextExtent(font, text);
  const std::vector<std::string> lines = ApproxWrapText(font, text, wrap_width);
  TSize size;
  for (const std::string& line : lines) size.cx = std::max(size.cx, ApproxTextExtent(font, line).cx);
  size.cy = static_cast<int>(std::max<size_t>(lines.size(), 1)) * ApproxLineHeight(font);
  return size;
}

WENMOOR_REGISTER_BACKEND(headless, [](const EnvLookup& env) -> std::unique_ptr<UiBackend> {
  return HeadlessBackend::FromEnvironment(env);
});

}  // namespace wenmoor
