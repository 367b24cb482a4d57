// TRegistry, the component library's registry class, over a store in a
// temporary prefix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/win/registry.h"

namespace wenmoor {
namespace {

namespace fs = std::filesystem;
using platform::RegValue;
using platform::RootKey;

class TRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/wenmoor-treg-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    prefix_ = tmpl;
    store_ = std::make_unique<platform::RegistryStore>(prefix_);
  }
  void TearDown() override {
    store_.reset();
    fs::remove_all(prefix_);
  }

  template <class F>
  std::string MessageOf(F&& f) {
    try {
      f();
    } catch (const ERegistryException& e) {
      return e.Message();
    }
    return "(no ERegistryException)";
  }

  fs::path prefix_;
  std::unique_ptr<platform::RegistryStore> store_;
};

TEST_F(TRegistryTest, OpenKeyFollowsRelativeAndAbsoluteNames) {
  TRegistry reg(*store_);
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_FALSE(reg.OpenKey("\\Software\\X", false)) << "missing and not created";
  ASSERT_TRUE(reg.OpenKey("\\Software\\X", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\X");
  EXPECT_NE(reg.CurrentKey(), 0u);
  ASSERT_TRUE(reg.OpenKey("Sub", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\X\\Sub");
  EXPECT_TRUE(store_->KeyExists(RootKey::CurrentUser, "Software\\X\\Sub"));
  ASSERT_TRUE(reg.OpenKey("\\Software", false));
  EXPECT_EQ(reg.CurrentPath(), "Software");
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_EQ(reg.CurrentPath(), "");
  // With no key open, a relative name is below the root.
  ASSERT_TRUE(reg.OpenKey("Software\\X", false));
  EXPECT_EQ(reg.CurrentPath(), "Software\\X");
  // Changing the root closes the current key.
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_FALSE(reg.KeyExists("\\Software\\X"));
  reg.SetRootKey(HKEY_PERFORMANCE_DATA);
  EXPECT_FALSE(reg.OpenKey("Anything", true));
}

TEST_F(TRegistryTest, ValuesOfEachKindAndTheirTypeChecks) {
  TRegistry reg(*store_);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("\\Software\\Kinds", true));
  reg.WriteString("s", "text");
  reg.WriteExpandString("e", "%TEMP%");
  reg.WriteInteger("i", -5);
  reg.WriteBool("b", true);
  reg.WriteBinaryData("bin", {1, 2, 3});
  store_->SetValue(RootKey::LocalMachine, "Software\\Kinds", "m", RegValue::MultiString({"a", "b"}));

  EXPECT_EQ(reg.ReadString("s"), "text");
  EXPECT_EQ(reg.ReadString("e"), "%TEMP%");
  EXPECT_EQ(reg.ReadInteger("i"), -5);
  EXPECT_TRUE(reg.ReadBool("b"));
  EXPECT_EQ(reg.ReadBinaryData("bin"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(reg.ReadBinaryData("m").size(), 10u) << "a kind without its own type reads as bytes";
  EXPECT_EQ(reg.ReadString("missing"), "");
  EXPECT_TRUE(reg.ReadBinaryData("missing").empty());

  struct TypeCase {
    const char* name;
    TRegDataType type;
    int size;
  };
  for (const TypeCase& c : {TypeCase{"s", rdString, 10}, TypeCase{"e", rdExpandString, 14},
                            TypeCase{"i", rdInteger, 4}, TypeCase{"bin", rdBinary, 3}, TypeCase{"m", rdUnknown, 10},
                            TypeCase{"missing", rdUnknown, -1}}) {
    EXPECT_EQ(reg.GetDataType(c.name), c.type) << c.name;
    EXPECT_EQ(reg.GetDataSize(c.name), c.size) << c.name;
    EXPECT_EQ(reg.ValueExists(c.name), c.size >= 0) << c.name;
  }

  EXPECT_EQ(MessageOf([&] { reg.ReadInteger("s"); }), "Invalid data type for 's'");
  EXPECT_EQ(MessageOf([&] { reg.ReadInteger("bin"); }), "Invalid data type for 'bin'");
  EXPECT_EQ(MessageOf([&] { reg.ReadString("i"); }), "Invalid data type for 'i'");
  EXPECT_EQ(MessageOf([&] { reg.ReadString("m"); }), "Invalid data type for 'm'");
  EXPECT_EQ(MessageOf([&] { reg.ReadBinaryData("s"); }), "Invalid data type for 's'");
  EXPECT_EQ(MessageOf([&] { reg.ReadInteger("missing"); }), "Failed to get data for 'missing'");

  std::vector<std::string> expected{"b", "bin", "e", "i", "m", "s"};
  EXPECT_EQ(reg.ValueNames(), expected);
  EXPECT_TRUE(reg.DeleteValue("s"));
  EXPECT_FALSE(reg.DeleteValue("s"));
  EXPECT_FALSE(reg.HasSubKeys());
}

TEST_F(TRegistryTest, AccessRightsBindTheOpenKey) {
  store_->SetValue(RootKey::CurrentUser, "Software\\RO", "v", RegValue::String("x"));
  TRegistry reg(*store_);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\RO"));
  EXPECT_EQ(reg.Access(), KEY_READ);
  EXPECT_EQ(reg.ReadString("v"), "x");
  EXPECT_EQ(MessageOf([&] { reg.WriteString("v", "y"); }), "Failed to set data for 'v'");
  EXPECT_FALSE(reg.DeleteValue("v"));
  EXPECT_EQ(store_->QueryValue(RootKey::CurrentUser, "Software\\RO", "v")->AsString(), "x");
  // A read-only key cannot have subkeys created below it either.
  EXPECT_FALSE(reg.OpenKey("New", true));

  TRegistry writer(*store_, KEY_WRITE);
  ASSERT_TRUE(writer.OpenKey("\\Software\\RO", false));
  writer.WriteString("w", "ok");
  EXPECT_EQ(MessageOf([&] { writer.ReadInteger("w"); }), "Failed to get data for 'w'") << "KEY_WRITE cannot read";

  TRegistry closed(*store_);
  EXPECT_EQ(MessageOf([&] { closed.WriteString("x", "y"); }), "Failed to set data for 'x'") << "no key open";
}

TEST_F(TRegistryTest, CreateAndDeleteKeys) {
  TRegistry reg(*store_);
  ASSERT_TRUE(reg.OpenKey("\\Software", true));
  EXPECT_TRUE(reg.CreateKey("A\\B\\C"));
  EXPECT_EQ(reg.CurrentPath(), "Software") << "CreateKey does not open the key";
  EXPECT_TRUE(reg.CreateKey("A\\D"));
  EXPECT_TRUE(reg.HasSubKeys());
  EXPECT_EQ(reg.KeyNames(), std::vector<std::string>{"A"});
  TStrings names;
  ASSERT_TRUE(reg.OpenKey("A", false));
  reg.GetKeyNames(names);
  EXPECT_EQ(names.Items(), (std::vector<std::string>{"B", "D"}));
  TRegKeyInfo info;
  ASSERT_TRUE(reg.GetKeyInfo(info));
  EXPECT_EQ(info.NumSubKeys, 2);
  reg.CloseKey();
  // DeleteKey removes the subkeys first.
  EXPECT_TRUE(reg.DeleteKey("\\Software\\A"));
  EXPECT_FALSE(reg.KeyExists("\\Software\\A"));
  EXPECT_FALSE(reg.DeleteKey("\\Software\\A"));

  TRegistry users(*store_);
  users.SetRootKey(HKEY_USERS);
  EXPECT_EQ(MessageOf([&] { users.CreateKey("NoSuchUser\\X"); }), "Failed to create key NoSuchUser\\X");
}

}  // namespace
}  // namespace wenmoor
