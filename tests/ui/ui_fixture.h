// A headless backend for the duration of a test: answers from a text given
// by the test, the transcript into a string, and the application's
// exception handler recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/ui/headless/headless_backend.h"

namespace wenmoor {

class UiFixture : public ::testing::Test {
 protected:
  UiFixture() { UseAnswers(""); }
  ~UiFixture() override {
    TApplication& app = TApplication::Instance();
    app.OnException = nullptr;
    app.ReleaseForms();
    app.SetBackend(std::move(previous_));
  }

  // Replaces the backend with one answering from `answers` (answer-file
  // text; empty: defaults only).
  void UseAnswers(const std::string& answers) {
    std::optional<AnswerFile> file;
    if (!answers.empty()) file = AnswerFile::Parse(answers, "answers.txt");
    auto backend = std::make_unique<HeadlessBackend>(std::move(file), std::make_unique<wenmoor::Transcript>(transcript_));
    backend_ = backend.get();
    TApplication& app = TApplication::Instance();
    auto old = app.SetBackend(std::move(backend));
    if (!have_previous_) {
      previous_ = std::move(old);
      have_previous_ = true;
    }
    app.OnException = [this](const std::exception& e) { handled_.push_back(e.what()); };
  }

  std::string TranscriptText() const { return transcript_.str(); }
  bool TranscriptHas(const std::string& line) const {
    std::istringstream in(transcript_.str());
    for (std::string l; std::getline(in, l);)
      if (l == line) return true;
    return false;
  }

  std::ostringstream transcript_;
  HeadlessBackend* backend_ = nullptr;
  std::vector<std::string> handled_;  // messages that reached TApplication::HandleException

 private:
  std::unique_ptr<UiBackend> previous_;
  bool have_previous_ = false;
};

}  // namespace wenmoor
