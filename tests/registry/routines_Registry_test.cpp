// The registry routines and TwnmrRegistry, on the machine of a temporary prefix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win/machine.h"
#include "platform/win/os_version.h"
#include "registry/cmp_TWnmrRegistry.h"
#include "registry/routines_Registry.h"

namespace wenmoor {
namespace {

namespace fs = std::filesystem;
using platform::RegValue;
using platform::RootKey;

class RegistryRoutinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/wenmoor-routines-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    prefix_ = tmpl;
    scope_ = std::make_unique<platform::Machine::TestScope>(prefix_);
  }
  void TearDown() override {
    scope_.reset();
    fs::remove_all(prefix_);
  }
  platform::RegistryStore& Store() { return platform::CurrentRegistry(); }

  fs::path prefix_;
  std::unique_ptr<platform::Machine::TestScope> scope_;
};

TEST_F(RegistryRoutinesTest, RootKeysMapInTheirOrdinalOrder) {
  const struct {
    TRootKeys root;
    HKEY key;
  } table[] = {{hkClassesRoot, HKEY_CLASSES_ROOT}, {hkCurrentConfig, HKEY_CURRENT_CONFIG},
               {hkCurrentUser, HKEY_CURRENT_USER}, {hkDynData, HKEY_DYN_DATA},
               {hkLocalMachine, HKEY_LOCAL_MACHINE}, {hkUsers, HKEY_USERS}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(static_cast<int>(table[i].root), i);
    EXPECT_EQ(RootKeyHandleOf(table[i].root), table[i].key) << i;
    EXPECT_EQ(RootKeyIndexOf(table[i].key, -1), i);
  }
  EXPECT_EQ(RootKeyIndexOf(HKEY_PERFORMANCE_DATA, 4), 4);
  EXPECT_EQ(RootKeyIndexOf(0x100, -7), -7);

  TwnmrRegistry reg;
  for (int bad : {-1, 6, 255}) {
    SetRootKeyIndex(reg, hkLocalMachine);
    SetRootKeyIndex(reg, bad);
    EXPECT_EQ(reg.RootKey(), HKEY_LOCAL_MACHINE) << bad;
  }
  SetRootKeyIndex(reg, hkUsers);
  EXPECT_EQ(reg.RootKey(), HKEY_USERS);
}

TEST_F(RegistryRoutinesTest, IsRelative) {
  EXPECT_TRUE(TwnmrRegistry::IsRelative(""));
  EXPECT_TRUE(TwnmrRegistry::IsRelative("Software\\X"));
  EXPECT_FALSE(TwnmrRegistry::IsRelative("\\Software\\X"));
}

TEST_F(RegistryRoutinesTest, OpenKeyUsesReducedRightsAndComposesRelativePaths) {
  Store().CreateKey(RootKey::LocalMachine, "Software\\X");
  TwnmrRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("\\Software\\X", true));
  const auto info = RegHandles::Lookup(Store(), reg.CurrentKey());
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->access, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE) << "not full access on an existing key";
  reg.WriteString("v", "written with reduced rights");
  EXPECT_EQ(reg.CurrentPath(), "Software\\X");

  Store().CreateKey(RootKey::LocalMachine, "Software\\X\\Sub");
  ASSERT_TRUE(reg.OpenKey("Sub", false));
  EXPECT_EQ(reg.CurrentPath(), "Software\\X\\Sub");
  EXPECT_FALSE(reg.OpenKey("Missing", false));
  EXPECT_EQ(reg.CurrentPath(), "Software\\X\\Sub") << "a failed open keeps the current key";

  // A key that is created is opened with full access.
  ASSERT_TRUE(reg.OpenKey("\\Software\\Fresh", true));
  EXPECT_EQ(RegHandles::Lookup(Store(), reg.CurrentKey())->access, KEY_ALL_ACCESS);
  EXPECT_TRUE(Store().KeyExists(RootKey::LocalMachine, "Software\\Fresh"));

  const HKEY all = reg.OpenKeyAllAccess("\\Software\\X");
  const HKEY ro = reg.OpenKeyReadOnly("\\Software\\X");
  EXPECT_NE(all, 0u);
  EXPECT_NE(ro, 0u);
  EXPECT_EQ(RegHandles::Lookup(Store(), ro)->access, KEY_READ);
  EXPECT_EQ(reg.CurrentPath(), "Software\\Fresh") << "the handles are not made current";
  EXPECT_TRUE(RegHandles::Close(all));
  EXPECT_TRUE(RegHandles::Close(ro));
  EXPECT_FALSE(RegHandles::Close(ro));
  EXPECT_EQ(reg.OpenKeyAllAccess("\\Software\\Nope"), 0u);
  EXPECT_TRUE(reg.KeyExists("\\Software\\X"));
  EXPECT_FALSE(reg.KeyExists("\\Software\\Nope"));
}

TEST_F(RegistryRoutinesTest, DeleteKeyTreeRemovesEveryLevel) {
  for (const char* k : {"A\\1\\x", "A\\1\\y", "A\\2\\x\\deep", "A\\3", "A\\3\\z"}) {
    Store().SetValue(RootKey::CurrentUser, std::string("Software\\T\\") + k, "v", RegValue::DWord(1));
  }
  Store().CreateKey(RootKey::CurrentUser, "Software\\T\\Keep");
  TwnmrRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\T", false));
  EXPECT_TRUE(reg.DeleteKeyTree("A"));
  EXPECT_FALSE(Store().KeyExists(RootKey::CurrentUser, "Software\\T\\A"));
  EXPECT_EQ(Store().SubKeyNames(RootKey::CurrentUser, "Software\\T"), std::vector<std::string>{"Keep"});
  EXPECT_EQ(reg.CurrentPath(), "Software\\T") << "the current key is restored";
  EXPECT_FALSE(reg.DeleteKeyTree("A"));
  EXPECT_TRUE(reg.DeleteKeyTree("\\Software\\T\\Keep"));
}

TEST_F(RegistryRoutinesTest, WriteAndReadRoutines) {
  WriteRegistryString(hkLocalMachine, "\\Software\\Fennick Software\\Qry", "Ver", "5.20");
  WriteRegistryInteger(hkLocalMachine, "\\Software\\Fennick Software\\Qry", "Count", 42);
  EXPECT_EQ(Store().QueryValue(RootKey::LocalMachine, "Software\\Fennick Software\\Qry", "Ver")->AsString(), "5.20");

  struct ReadCase {
    TRootKeys root;
    const char* key;
    const char* name;
    const char* text;  // ReadRegistryString with default "dflt"
    int32_t number;    // ReadRegistryInteger with default -1
  };
  const ReadCase cases[] = {
      {hkLocalMachine, "\\Software\\Fennick Software\\Qry", "Ver", "5.20", -1},  // a string is no integer
      {hkLocalMachine, "\\Software\\Fennick Software\\Qry", "Count", "dflt", 42},
      {hkLocalMachine, "Software\\Fennick Software\\Qry", "Count", "dflt", 42},  // relative = below the root
      {hkLocalMachine, "\\Software\\Fennick Software\\Qry", "Missing", "dflt", -1},
      {hkLocalMachine, "\\Software\\Missing", "Ver", "dflt", -1},
      {hkCurrentUser, "\\Software\\Fennick Software\\Qry", "Ver", "dflt", -1},
      {hkClassesRoot, "\\..\\nothing", "x", "dflt", -1},
  };
  for (const ReadCase& c : cases) {
    std::string text = "unchanged";
    ReadRegistryString(c.root, c.key, c.name, text, "dflt");
    EXPECT_EQ(text, c.text) << c.key << " " << c.name;
    EXPECT_EQ(ReadRegistryInteger(c.root, c.key, c.name, -1), c.number) << c.key << " " << c.name;
  }
}

TEST_F(RegistryRoutinesTest, WriteFailuresRaiseEIRCannotWriteValue) {
  // HKEY_USERS holds only the two users' keys: nothing can be created beside them.
  try {
    WriteRegistryString(hkUsers, "\\NoSuchUser\\X", "Name", "Value");
    ADD_FAILURE() << "no exception";
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_EQ(e.Message(), "Cannot install into registry. Key: \\NoSuchUser\\X Ident: Name Value Value");
  }
  try {
    WriteRegistryInteger(hkUsers, "\\NoSuchUser\\X", "Name", 1);
    ADD_FAILURE() << "no exception";
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_EQ(e.Message(), "\\NoSuchUser\\X");
  }
}

TEST_F(RegistryRoutinesTest, DeleteRegistryKeyDeletesTheTreeAndIgnoresFailures) {
  for (const char* k : {"a\\b\\c", "a\\d", "e"}) {
    Store().CreateKey(RootKey::LocalMachine, std::string("Software\\Del\\") + k);
  }
  DeleteRegistryKey(hkLocalMachine, "\\Software\\Del");
  EXPECT_FALSE(Store().KeyExists(RootKey::LocalMachine, "Software\\Del"));
  DeleteRegistryKey(hkLocalMachine, "\\Software\\Del");  // missing: nothing happens
  DeleteRegistryKey(hkUsers, "\\NoSuchUser");
  EXPECT_TRUE(Store().KeyExists(RootKey::LocalMachine, "Software"));
}

TEST_F(RegistryRoutinesTest, AddRunOnceChoosesTheRootByWindowsVersion) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  struct Case {
    const char* wine_name;
    RootKey root;
  };
  for (const Case& c : {Case{"winxp", RootKey::CurrentUser}, Case{"win2k", RootKey::CurrentUser},
                        Case{"nt40", RootKey::CurrentUser}, Case{"win98", RootKey::LocalMachine},
                        Case{"winme", RootKey::LocalMachine}, Case{"win95", RootKey::LocalMachine}}) {
    platform::SetWindowsVersion(Store(), c.wine_name);
    Store().DeleteTree(RootKey::CurrentUser, key);
    Store().DeleteTree(RootKey::LocalMachine, key);
    ASSERT_TRUE(AddRunOnce("WenmoorUnfinished", "C:\\setup.exe -r", false)) << c.wine_name;
    const RootKey other = c.root == RootKey::CurrentUser ? RootKey::LocalMachine : RootKey::CurrentUser;
    EXPECT_EQ(Store().QueryValue(c.root, key, "WenmoorUnfinished")->AsString(), "C:\\setup.exe -r") << c.wine_name;
    EXPECT_FALSE(Store().QueryValue(other, key, "WenmoorUnfinished")) << c.wine_name;
  }
}

TEST_F(RegistryRoutinesTest, AddRunOnceUniqueNamesAndSync) {
  platform::SetWindowsVersion(Store(), "winxp");
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  Store().SetValue(RootKey::CurrentUser, key, "N", RegValue::String("old"));
  Store().SetValue(RootKey::CurrentUser, key, "N1", RegValue::String("old1"));
  ASSERT_TRUE(AddRunOnce("N", "new", true));
  EXPECT_EQ(Store().QueryValue(RootKey::CurrentUser, key, "N2")->AsString(), "new");
  EXPECT_EQ(Store().QueryValue(RootKey::CurrentUser, key, "N")->AsString(), "old");
  ASSERT_TRUE(AddRunOnce("N", "replaced", false));
  EXPECT_EQ(Store().QueryValue(RootKey::CurrentUser, key, "N")->AsString(), "replaced");
  // Synced: the hive file itself holds the entry and nothing waits in a journal.
  std::ifstream in(prefix_ / "user.reg");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\"N\"=\"replaced\""), std::string::npos);
  EXPECT_EQ(fs::file_size(prefix_ / "user.reg.journal"), 0u);
}

}  // namespace
}  // namespace wenmoor
