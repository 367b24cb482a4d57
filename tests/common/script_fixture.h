// A fresh emulated machine in a temporary directory and an empty form to
// own script objects, for tests of the script tree and the engine.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/win/machine.h"

namespace wenmoor::testing {

inline std::filesystem::path MakeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "wenmoor-test.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

class ScriptFixture : public ::testing::Test {
 protected:
  ScriptFixture() : dir_(MakeTempDir()), machine_(dir_ / "prefix"), form_(CreateUnowned<TForm>()) {
    form_->SetName("MainForm");
  }
  ~ScriptFixture() override {
    form_.reset();
    // A run that ended asks the application to terminate; the next test
    // starts a program of its own.
    TApplication::Instance().ClearTerminated();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  TForm* form() { return form_.get(); }
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
  platform::Machine::TestScope machine_;
  ComponentPtr<TForm> form_;
};

}  // namespace wenmoor::testing
