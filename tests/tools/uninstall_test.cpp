// The uninstaller: what an installation recorded goes, nothing else does.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "distribution_fixture.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/pending_renames.h"
#include "registry/routines_Registry.h"

namespace wenmoor::test {
namespace {

const std::string kEntry = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Smoke Product";
const std::string kSharedDlls = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class UninstallTest : public DistributionFixture {
 protected:
  fs::path Uninstaller() const { return FrameworkDir() / "uninstall.exe"; }
};

// Installed through setup.exe, removed by the uninstaller the installation
// placed, started as the uninstall entry says.
TEST_F(UninstallTest, RemovesWhatTheInstallationMadeAndSaysSoWhenNothingIsLeft) {
  ASSERT_EQ(Build().status, 0);
  ASSERT_EQ(Run(build_dir() / "setup.exe", "").status, 0);
  ASSERT_TRUE(fs::exists(product_dir() / "Data" / "a.txt"));
  // Something of the user's beside the product's key survives.
  {
    platform::Machine::TestScope scope(prefix());
    WriteRegistryString(hkLocalMachine, "\\Software\\Example Company", "Owner", "someone");
  }

  // Another program holds one file open: it goes at the restart, and so
  // does its directory.
  const fs::path held = product_dir() / "Data" / "b.bin";
  const fs::path pid_file = prog_dir() / "holder.pid";
  ASSERT_EQ(std::system(("sh -c 'exec 3<\"" + held.string() + "\"; echo $$ > \"" + pid_file.string() +
                         "\"; exec sleep 60' >/dev/null 2>&1 &").c_str()),
            0);
  for (int i = 0; i < 200 && ReadHostFile(pid_file).empty(); ++i) usleep(10000);
  const std::string holder = ReadHostFile(pid_file);
  ASSERT_FALSE(holder.empty());

  const fs::path installed = product_dir() / "Uninstall" / "uninstall.exe";
  fs::permissions(installed, fs::perms::owner_all);
  Outcome first = Run(installed, "Smoke Product");
  std::system(("kill " + holder).c_str());
  ASSERT_EQ(first.status, 0) << first.output;
  EXPECT_NE(first.output.find("1 files in use are removed when the machine restarts"), std::string::npos)
      << first.output;

  EXPECT_FALSE(fs::exists(product_dir() / "Data" / "a.txt"));
  EXPECT_FALSE(fs::exists(product_dir() / "Uninstall")) << first.output;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "\\Software\\Example Company\\Smoke"));
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, "\\Software\\Example Company", "Owner"), "someone");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_TRUE(fs::exists(held));
  Outcome restart = Wenmoor("restart");
  EXPECT_EQ(restart.status, 0) << restart.output;
  EXPECT_FALSE(fs::exists(product_dir())) << restart.output;
  EXPECT_TRUE(fs::exists(drive_c() / "Program Files"));

  Outcome second = Run(Uninstaller(), "Smoke Product");
  EXPECT_EQ(second.status, 1);
  EXPECT_NE(second.output.find("\"Smoke Product\" is not installed: there is nothing to remove"), std::string::npos)
      << second.output;
}

// Records written as an installation writes them, on a machine that holds
// more than the installation made.
TEST_F(UninstallTest, FollowsTheRecordsSharedCountsAndStandardFolders) {
  const std::string dir = "C:\\Program Files\\Smoke";
  const std::string sys = "C:\\windows\\system32";
  {
    platform::Machine::TestScope scope(prefix());
    auto put = [](const std::string& path) {
      platform::ForceDirectories(ExtractFilePath(path));
      TFileStream(path, fmCreate).Write("x", 1);
    };
    for (const char* f : {"\\a.txt", "\\bin\\b.dll", "\\bin\\shared.dll", "\\bin\\last.dll", "\\user.txt"}) put(dir + f);
    put(sys + "\\smoke.dll");
    put(sys + "\\other.dll");
    platform::SetFileAttributes(dir + "\\a.txt", platform::FILE_ATTRIBUTE_READONLY);
    // Files spread over two list keys; the user's own file is not listed.
    WriteRegistryString(hkLocalMachine, kEntry, "DisplayName", "Smoke Product");
    WriteRegistryString(hkLocalMachine, kEntry + "\\Files", "Entries", "3");
    WriteRegistryString(hkLocalMachine, kEntry + "\\Files", "File1", dir + "\\a.txt");
    WriteRegistryString(hkLocalMachine, kEntry + "\\Files", "File2", dir + "\\bin\\shared.dll");
    WriteRegistryString(hkLocalMachine, kEntry + "\\Files", "File3", dir + "\\bin\\last.dll");
    WriteRegistryString(hkLocalMachine, kEntry + "\\Files1", "Entries", "1");
    WriteRegistryString(hkLocalMachine, kEntry + "\\Files1", "File1", sys + "\\smoke.dll");
    WriteRegistryString(hkLocalMachine, kEntry + "\\ActiveX", "Entries", "1");
    WriteRegistryString(hkLocalMachine, kEntry + "\\ActiveX", "File1", dir + "\\bin\\b.dll;0");
    WriteRegistryInteger(hkLocalMachine, kSharedDlls, dir + "\\bin\\shared.dll", 2);
    WriteRegistryInteger(hkLocalMachine, kSharedDlls, dir + "\\bin\\last.dll", 1);
    // Two registry components: one key emptied, one with a value of its own.
    WriteRegistryString(hkLocalMachine, kEntry + "\\RegistryKeys", "Entries", "2");
    WriteRegistryString(hkLocalMachine, kEntry + "\\RegistryKeys\\RegistryKey1", "Key", "\\Software\\Smoke\\Main");
    WriteRegistryInteger(hkLocalMachine, kEntry + "\\RegistryKeys\\RegistryKey1", "Root", hkLocalMachine);
    WriteRegistryString(hkLocalMachine, kEntry + "\\RegistryKeys\\RegistryKey1\\Entries", "Ver", "1.0");
    WriteRegistryString(hkLocalMachine, kEntry + "\\RegistryKeys\\RegistryKey2", "Key", "\\Software\\Smoke\\User\\");
    WriteRegistryInteger(hkLocalMachine, kEntry + "\\RegistryKeys\\RegistryKey2", "Root", hkCurrentUser);
    WriteRegistryString(hkLocalMachine, kEntry + "\\RegistryKeys\\RegistryKey2\\Entries", "Path", "%p");
    WriteRegistryString(hkLocalMachine, "\\Software\\Smoke\\Main", "Ver", "1.0");
    WriteRegistryString(hkCurrentUser, "\\Software\\Smoke\\User", "Path", dir);
    WriteRegistryString(hkCurrentUser, "\\Software\\Smoke\\User", "Mine", "kept");
  }

  Outcome o = Run(Uninstaller(), "Smoke", "");
  EXPECT_EQ(o.status, 1) << "another product's name finds no entry: " << o.output;
  o = Run(Uninstaller(), "Smoke Product");
  ASSERT_EQ(o.status, 0) << o.output;

  const fs::path host_dir = product_dir();
  EXPECT_FALSE(fs::exists(host_dir / "a.txt")) << "read-only files go too";
  EXPECT_FALSE(fs::exists(host_dir / "bin" / "b.dll"));
  EXPECT_TRUE(fs::exists(host_dir / "bin" / "shared.dll")) << "still used by another program";
  EXPECT_FALSE(fs::exists(host_dir / "bin" / "last.dll"));
  EXPECT_TRUE(fs::exists(host_dir / "user.txt"));
  EXPECT_FALSE(fs::exists(drive_c() / "windows" / "system32" / "smoke.dll"));
  EXPECT_TRUE(fs::exists(drive_c() / "windows" / "system32" / "other.dll"));

  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kSharedDlls, dir + "\\bin\\shared.dll"), "1");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kSharedDlls, dir + "\\bin\\last.dll"), std::nullopt);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "\\Software\\Smoke\\Main"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "\\Software\\Smoke")) << "a key the records do not name stays";
  EXPECT_EQ(RegValue(HKEY_CURRENT_USER, "\\Software\\Smoke\\User", "Path"), std::nullopt);
  EXPECT_EQ(RegValue(HKEY_CURRENT_USER, "\\Software\\Smoke\\User", "Mine"), "kept");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  {
    platform::Machine::TestScope scope(prefix());
    EXPECT_TRUE(platform::ReadPendingRenames(platform::CurrentRegistry()).empty());
  }
}

}  // namespace
}  // namespace wenmoor::test
