// A machine of a chosen Windows version with an engine, one directory
// (C:\Program Files\Demo) and helpers to make install files in it, for the
// tests of files in use and of the registrations after installing.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/cmp_TInstall.h"
#include "paths/specifiers_windows.h"
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "support/temp_prefix.h"

namespace wenmoor::testing {

inline constexpr char kDemoDir[] = "C:\\Program Files\\Demo";
inline constexpr char kRecordKey[] = "\\SOFTWARE\\OAK\\Install\\Install0";
inline constexpr char kUninstallKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo";

class InstallFileFixture {
 public:
  explicit InstallFileFixture(std::string_view windows_version = "winxp")
      : prefix_(windows_version), form_(CreateUnowned<TForm>()) {
    form_->SetName("MainForm");
    TApplication::Instance().SetExeName("C:\\build\\setup.exe");
    TApplication::Instance().SetParams({});
    install_ = Create<TInstall>(form_.get());
    install_->BeginLoading();
    install_->SetUseLoadingProgram(false);
    install_->Loaded();
    install_->Information()->SetProductName("Demo");
    // The record the run would have made; the unfinished business goes there.
    CurrentRecordKey() = kRecordKey;
    dir_ = Create<TInstallDirectory>(form_.get());
    dir_->SetName("AppDir");
    dir_->SetContainer(install_);
    dir_->SetDestDirType(nullptr);
    dir_->SetDestDir(kDemoDir);
    dir_->SetArchiveFileType(StandardPathSpecifiers().FindSpecifier(TpsContainerArchiveFile::StaticClass()));
  }
  ~InstallFileFixture() {
    DeferRegistration() = false;
    DeferredRegistrations().Clear();
    CurrentRecordKey().clear();
  }

  // An install file in the directory for the source C:\src\<name> (written
  // with `content` first unless that is null).
  TCustomInstallFile* File(const std::string& name, const char* content = "new") {
    if (content) prefix_.WriteFile("C:\\src\\" + name, content);
    TCustomInstallFile* f = TCustomInstallFile::CreateInContainer(form_.get(), dir_, "C:\\src\\" + name);
    f->SetName(Sanitized(name));
    return f;
  }
  // Installs `f` into the directory itself, as a plain file or as an
  // ActiveX server (whose defaults would send it to the system directory).
  static TCustomInstallFile* InDemoDir(TCustomInstallFile* f, bool active_x) {
    f->SetActiveX(active_x);
    f->SetFileType(iftNormal);
    f->SetDestDirType(nullptr);
    f->SetDestDir(kDemoDir);
    return f;
  }
  // The string value, or "<missing>".
  static std::string Hklm(const std::string& key, const std::string& name) {
    std::string value;
    ReadRegistryString(hkLocalMachine, key, name, value, "<missing>");
    return value;
  }

  test::TempPrefix& prefix() { return prefix_; }
  TForm* form() { return form_.get(); }
  TCustomInstall* install() { return install_; }
  TInstallDirectory* dir() { return dir_; }

 private:
  static std::string Sanitized(const std::string& name) {
    std::string s = "IF";
    for (char c : name) s += (isalnum(static_cast<unsigned char>(c)) ? c : '_');
    return s;
  }
  test::TempPrefix prefix_;
  ComponentPtr<TForm> form_;
  TCustomInstall* install_ = nullptr;
  TInstallDirectory* dir_ = nullptr;
};

}  // namespace wenmoor::testing
