// The registrations that follow the installation of a file: help files,
// shared-DLL counts, self-registering servers (native libraries, programs,
// type libraries), the deferred second attempt, and the records for the
// uninstaller.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/rtl/exceptions.h"
#include "platform/win/files.h"
#include "platform/win/type_library.h"
#include "registry/cmp_TWnmrRegistry.h"
#include "script/install_file_fixture.h"
#include "script/script_exceptions.h"
#include "support/cmp_TProgramLauncher.h"
#include "support/routines_API.h"

namespace wenmoor {
namespace {

namespace fs = std::filesystem;
using testing::InstallFileFixture;
using testing::kDemoDir;
using testing::kUninstallKey;

const char kSharedDlls[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string Demo(const std::string& name) { return std::string(kDemoDir) + "\\" + name; }

int32_t SharedCount(const std::string& name) { return ReadRegistryInteger(hkLocalMachine, kSharedDlls, name, -1); }

// Sets an environment variable for the time of a test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) { setenv(name, value.c_str(), 1); }
  ~ScopedEnv() { unsetenv(name_); }

 private:
  const char* name_;
};

class RegistrationTest : public ::testing::Test, public InstallFileFixture {
 protected:
  // Installs the library file `library` (a host path) as the ActiveX server
  // Demo\<name>: the source and the destination are copies of it.
  TCustomInstallFile* Server(const fs::path& library, const std::string& name) {
    for (const std::string& at : {std::string("C:\\src\\") + name, Demo(name)}) {
      fs::create_directories(prefix().Host(at).parent_path());
      fs::copy_file(library, prefix().Host(at), fs::copy_options::overwrite_existing);
    }
    return InDemoDir(File(name, nullptr), true);
  }
  static fs::path Built(const char* library) { return fs::path(WENMOOR_BIN_DIR) / library; }
  std::string Marks() const {
    std::ifstream in(mark_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path mark_ = prefix().Dir() / "registered.txt";
  ScopedEnv mark_env_{"WENMOOR_TEST_SERVER_MARK", mark_.string()};
};

TEST_F(RegistrationTest, HelpFilesAreAnnouncedUnderTheirUpperCaseName) {
  TCustomInstallFile* help = File("quarry.hlp");
  dir()->SetDestDir("C:\\Prog\\Help");
  ASSERT_TRUE(help->RegisterAsHelp());
  help->AfterInstalled();
  EXPECT_EQ(Hklm("\\SOFTWARE\\Microsoft\\Windows\\Help", "QUARRY.HLP"), "C:\\Prog\\Help");
}

TEST_F(RegistrationTest, SharedCountsUseTheShortNameWhenItIsThereElseTheLongOne) {
  prefix().WriteFile(Demo("shared library.dll"), "dll");
  prefix().WriteFile(Demo("other library.dll"), "dll");
  TCustomInstallFile* counted = InDemoDir(File("shared library.dll"), false);
  TCustomInstallFile* fresh = InDemoDir(File("other library.dll"), false);
  for (TCustomInstallFile* f : {counted, fresh}) f->SetUpdateDLLCounter(true);
  const std::string short_name = GetShortPath(Demo("shared library.dll"));
  ASSERT_NE(short_name, Demo("shared library.dll"));
  WriteRegistryInteger(hkLocalMachine, kSharedDlls, short_name, 4);

  counted->AfterInstalled();
  fresh->AfterInstalled();
  fresh->AfterInstalled();
  EXPECT_EQ(SharedCount(short_name), 5);
  EXPECT_EQ(SharedCount(Demo("shared library.dll")), -1);
  EXPECT_EQ(SharedCount(Demo("other library.dll")), 2);
  EXPECT_EQ(SharedCount(GetShortPath(Demo("other library.dll"))), -1);
}

TEST_F(RegistrationTest, NativeServerRegistersThroughItsDllRegisterServer) {
  TCustomInstallFile* server = Server(Built("wenmoor_test_server.so"), "server.dll");
  server->AfterInstalled();
  EXPECT_EQ(Marks(), "registered\n");
  EXPECT_EQ(DeferredRegistrations().Count(), 0);
}

TEST_F(RegistrationTest, FailedRegistrationsNameTheCause) {
  struct Case {
    const char* name;
    fs::path library;     // installed as `name`
    const char* result;   // what DllRegisterServer answers
    std::string message;  // with %s for the destination path
  };
  const Case cases[] = {
      {"refuses.dll", Built("wenmoor_test_server.so"), "-2147467259",
       "Could not register the ActiveX component, %s, because the DllRegisterServer function returned a value of "
       "-2147467259. The file component is IFrefuses_dll"},
      {"plain.dll", Built("wenmoor_test_plain_library.so"), "0",
       "Could not register the ActiveX component, %s, because the DllRegisterServer function could not be found. "
       "The file component is IFplain_dll. The following value is the value of the GetLastError function: 127"},
      {"windows.dll", fs::path(WENMOOR_TEST_DATA) / "pe" / "en1252_x86.dll", "0",
       "Could not register the ActiveX component, %s, because the LoadLibrary(%s) procedure returned a value of 0. "
       "The file component is IFwindows_dll. The following value is the value of the GetLastError function: 193"},
  };
  for (const Case& c : cases) {
    ScopedEnv result("WENMOOR_TEST_SERVER_RESULT", c.result);
    TCustomInstallFile* server = Server(c.library, c.name);
    try {
      server->RegisterActiveX();
      ADD_FAILURE() << c.name << " registered";
    } catch (const IECustomInstallFile& e) {
      EXPECT_EQ(e.Message(), Format(c.message, Demo(c.name), Demo(c.name))) << c.name;
    }
  }
  EXPECT_EQ(Marks(), "registered\n");  // only the server that exports the call ran it
  // A destination that is not there cannot be registered.
  TCustomInstallFile* gone = File("gone.dll");
  try {
    gone->RegisterActiveX();
    ADD_FAILURE() << "registered a missing file";
  } catch (const IECustomInstallFile& e) {
    EXPECT_EQ(e.Message(), Format(kBlankDestination, gone->Name()));
  }
}

TEST_F(RegistrationTest, FailuresDuringARunAreDeferredAndTheSecondAttemptReports) {
  ScopedEnv result("WENMOOR_TEST_SERVER_RESULT", "1");
  TCustomInstallFile* server = Server(Built("wenmoor_test_server.so"), "server.dll");
  // Before a run, the failure passes on.
  EXPECT_THROW(server->AfterInstalled(), IECustomInstallFile);
  EXPECT_EQ(DeferredRegistrations().Count(), 0);

  DeferRegistration() = true;
  server->AfterInstalled();
  ASSERT_EQ(DeferredRegistrations().Count(), 1);
  EXPECT_EQ(DeferredRegistrations().Items(0), server);
  EXPECT_THROW(RegisterDeferredFiles(), IECustomInstallFile);
  EXPECT_EQ(DeferredRegistrations().Count(), 0);

  // A server that works by the second attempt is registered then.
  server->AfterInstalled();
  ScopedEnv fixed("WENMOOR_TEST_SERVER_RESULT", "0");
  RegisterDeferredFiles();
  // Every attempt ran the server: the failure before the run, a deferred one
  // and its failed second attempt, a deferred one and its good second attempt.
  EXPECT_EQ(Marks(), "registered\nregistered\nregistered\nregistered\nregistered\n");
}

TEST_F(RegistrationTest, ProgramsRegisterThemselvesWhenStartedWithRegserver) {
  // A native program: it notes its command line and ends.
  const std::string script = "#!/bin/sh\nprintf '%s' \"$*\" > \"$WENMOOR_TEST_SERVER_MARK\"\n";
  prefix().WriteFile(Demo("tool.exe"), script);
  fs::permissions(prefix().Host(Demo("tool.exe")), fs::perms::owner_all);
  TCustomInstallFile* tool = InDemoDir(File("tool.exe", script.c_str()), true);
  tool->RegisterActiveX();
  // The launcher returns once the program runs, not when it ends.
  for (int i = 0; i < 500 && Marks().empty(); ++i) usleep(10'000);
  EXPECT_EQ(Marks(), "/REGSERVER");

  // A Windows program cannot be started here, as CreateProcess refuses it.
  const fs::path pe = fs::path(WENMOOR_TEST_DATA) / "pe" / "en1200_x64.exe";
  TCustomInstallFile* windows = Server(pe, "windows.exe");
  try {
    windows->RegisterActiveX();
    ADD_FAILURE() << "started a Windows program";
  } catch (const EProgramLauncherFailed& e) {
    EXPECT_EQ(e.Message(), "Out of memory");
    EXPECT_EQ(e.ErrorCode(), 193u);
  }
}

TEST_F(RegistrationTest, TypeLibraryIsRegisteredWithItsHelpDirectory) {
  const fs::path fixture = fs::path(WENMOOR_TEST_DATA) / "typelib" / "demo.tlb";
  fs::create_directories(prefix().Host("C:\\src\\x").parent_path());
  fs::copy_file(fixture, prefix().Host("C:\\src\\demo.tlb"));
  TCustomInstallFile* tlb = File("demo.tlb", nullptr);
  ASSERT_TRUE(tlb->ActiveX());
  InDemoDir(tlb, true);
  fs::create_directories(prefix().Host(kDemoDir));
  fs::copy_file(fixture, prefix().Host(Demo("demo.tlb")));
  tlb->RegisterActiveX();

  const std::string key = "\\TypeLib\\{12345678-1234-5678-9ABC-DEF012345678}\\2.5";
  auto classes = [](const std::string& k) {
    std::string v;
    ReadRegistryString(hkClassesRoot, k, "", v, "<missing>");
    return v;
  };
  EXPECT_EQ(classes(key), "Demo Type Library");
  EXPECT_EQ(classes(key + "\\409\\win32"), Demo("demo.tlb"));
  EXPECT_EQ(classes(key + "\\FLAGS"), "8");
  EXPECT_EQ(classes(key + "\\HELPDIR"), "C:\\Program Files\\Demo\\Help");

  // Anything else is no type library.
  prefix().WriteFile(Demo("demo.tlb"), "MSFT but nothing more");
  try {
    tlb->RegisterActiveX();
    ADD_FAILURE() << "registered a damaged library";
  } catch (const EOleError& e) {
    EXPECT_EQ(e.ErrorCode(), platform::TYPE_E_CANTLOADLIBRARY);
  }
}

TEST_F(RegistrationTest, SelfRegisteringServersAreKnownByTheirFirstTranslation) {
  struct Case {
    const char* fixture;
    bool self_registering;
  };
  for (const Case& c : {Case{"self_register_x86.dll", true}, Case{"self_register_elsewhere_x86.dll", false},
                        Case{"en1252_x86.dll", false}, Case{"plain.txt", false}}) {
    const fs::path source = fs::path(WENMOOR_TEST_DATA) / "pe" / c.fixture;
    fs::create_directories(prefix().Host("C:\\src\\x").parent_path());
    fs::copy_file(source, prefix().Host(std::string("C:\\src\\") + c.fixture), fs::copy_options::overwrite_existing);
    TCustomInstallFile* f = File(c.fixture, nullptr);
    EXPECT_EQ(f->HasOLESelfRegister(f->SourcePath()), c.self_registering) << c.fixture;
    // The default that follows from the name: a self-registering library is
    // an ActiveX server.
    EXPECT_EQ(f->ActiveX(), c.self_registering) << c.fixture;
  }
}

TEST_F(RegistrationTest, UninstallRecordsCountFilesAndServersApart) {
  struct Case {
    const char* name;
    bool active_x;
    const char* list;  // the key below the uninstall key
    const char* value;
  };
  const Case cases[] = {
      {"readme.txt", false, "Files", "File1"},  {"app.ini", false, "Files", "File2"},
      {"server.ocx", true, "ActiveX", "File1"}, {"types.tlb", true, "ActiveX", "File2"},
      {"tool.exe", true, "ActiveX", "File3"},
  };
  const char* kinds[] = {"", "", ";0", ";2", ";1"};
  int i = 0;
  for (const Case& c : cases) {
    TCustomInstallFile* f = InDemoDir(File(c.name), c.active_x);
    f->RegisterUninstall(kUninstallKey);
    EXPECT_EQ(Hklm(std::string(kUninstallKey) + "\\" + c.list, c.value), Demo(c.name) + kinds[i++]) << c.name;
  }
  EXPECT_EQ(Hklm(std::string(kUninstallKey) + "\\Files", "Entries"), "2");
  EXPECT_EQ(Hklm(std::string(kUninstallKey) + "\\ActiveX", "Entries"), "3");

  // A count that is no number is not taken for zero: nothing is overwritten.
  WriteRegistryString(hkLocalMachine, std::string(kUninstallKey) + "\\Files", "Entries", "two");
  EXPECT_THROW(File("late.txt")->RegisterUninstall(kUninstallKey), EConvertError);
  EXPECT_EQ(Hklm(std::string(kUninstallKey) + "\\Files", "File1"), Demo("readme.txt"));
}

TEST_F(RegistrationTest, FileReplacedAtRestartIsRecordedUnderItsFinalName) {
  prefix().WriteFile(Demo("a.dll"), "old");
  ASSERT_TRUE(platform::SetFileAttributes(Demo("a.dll"), platform::FILE_ATTRIBUTE_READONLY));
  TCustomInstallFile* f = InDemoDir(File("a.dll"), false);
  f->SetUpdateDLLCounter(true);
  f->SetRegisterAsHelp(true);
  f->PrepareReplace();
  ASSERT_EQ(f->DestName(), "a.1");
  f->AfterInstalled();
  f->RegisterUninstall(kUninstallKey);
  EXPECT_EQ(Hklm(std::string(kUninstallKey) + "\\Files", "File1"), Demo("a.dll"));
  EXPECT_EQ(Hklm("\\SOFTWARE\\Microsoft\\Windows\\Help", "A.DLL"), kDemoDir);
  EXPECT_EQ(SharedCount(Demo("a.dll")), 1);
}

TEST_F(RegistrationTest, AfterTheRestartTheFileIsRegisteredAndGetsItsAttributes) {
  TCustomInstallFile* server = Server(Built("wenmoor_test_server.so"), "server.dll");
  server->SetInstallAttributes({wfaReadOnly, wfaHidden});
  server->ResumeAfterReboot();
  EXPECT_EQ(Marks(), "registered\n");
  const uint32_t attributes = platform::GetFileAttributes(Demo("server.dll"));
  EXPECT_TRUE(attributes & platform::FILE_ATTRIBUTE_READONLY);
}

}  // namespace
}  // namespace wenmoor
