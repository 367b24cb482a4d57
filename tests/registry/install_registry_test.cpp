#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/script_fixture.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallInformation.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/rtl/form_reader.h"
#include "registry/cmp_TInstallRegistry.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TFileContainer.h"

namespace wenmoor {
namespace {

const std::string kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qry";

std::string ReadString(TRootKeys root, const std::string& key, const std::string& name) {
  std::string value;
  ReadRegistryString(root, key, name, value, "<missing>");
  return value;
}

class InstallRegistryTest : public testing::ScriptFixture {
 protected:
  TCustomInstallRegistry* NewRegistry(const std::string& name, const std::string& key = "\\Software\\Test") {
    auto* registry = Create<TInstallRegistry>(form());
    registry->SetName(name);
    registry->SetKey(key);
    return registry;
  }
  static TRegistryEntry* AddText(TCustomInstallRegistry* r, const std::string& ident, const std::string& text) {
    TRegistryEntry* e = r->Entries()->Add();
    e->SetIdent(ident);
    e->SetText(text);
    return e;
  }
  TCustomInstall* NewInstall(const std::string& company, const std::string& product, const std::string& version) {
    auto* install = Create<TInstall>(form());
    install->Information()->SetCompanyName(company);
    install->Information()->SetProductName(product);
    install->Information()->SetVersion(version);
    return install;
  }
};

TEST_F(InstallRegistryTest, WritesEveryKindOfValueIntoThePrefix) {
  TCustomInstallRegistry* r = NewRegistry("Reg", "\\Software\\X\\");
  r->SetRootKey(hkCurrentUser);
  AddText(r, "Name", "Qry");
  r->Entries()->Add()->SetIdent("Count");
  r->Entries()->Items(1)->SetInteger(-7);
  r->Entries()->Add()->SetIdent("On");
  r->Entries()->Items(2)->SetBoolean(true);
  r->Entries()->Add()->SetIdent("Off");
  r->Entries()->Items(3)->SetBoolean(false);
  AddText(r, "Macro", "%p");  // no specifier: the two characters stay

  r->Process();

  EXPECT_TRUE(r->Processed());
  EXPECT_EQ(ReadString(hkCurrentUser, "\\Software\\X", "Name"), "Qry");
  EXPECT_EQ(ReadString(hkCurrentUser, "\\Software\\X", "Macro"), "%p");
  EXPECT_EQ(ReadRegistryInteger(hkCurrentUser, "\\Software\\X", "Count", 0), -7);
  EXPECT_EQ(ReadRegistryInteger(hkCurrentUser, "\\Software\\X", "On", -1), 1);
  EXPECT_EQ(ReadRegistryInteger(hkCurrentUser, "\\Software\\X", "Off", -1), 0);
  // The integers are integer values, not strings; nothing went to the other root.
  EXPECT_EQ(ReadString(hkCurrentUser, "\\Software\\X", "On"), "<missing>");
  EXPECT_EQ(ReadString(hkLocalMachine, "\\Software\\X", "Name"), "<missing>");
  // Without an install component there is nowhere to record the uninstall.
  EXPECT_EQ(ReadString(hkLocalMachine, kUninstallKey + "\\RegistryKeys", "Entries"), "<missing>");
}

TEST_F(InstallRegistryTest, EntrySettersChooseTheValueKind) {
  TCustomInstallRegistry* r = NewRegistry("Reg");
  TCustomPathSpecifier* specifier = Create<TPathSpecifier>(form());
  TRegistryEntry* e = r->Entries()->Add();
  ASSERT_EQ(e->Owner(), r);
  EXPECT_EQ(e->EntryType(), retText);
  e->SetInteger(3);
  EXPECT_EQ(e->EntryType(), retInteger);
  e->SetBoolean(true);
  EXPECT_EQ(e->EntryType(), retBoolean);
  e->SetText("x");
  EXPECT_EQ(e->EntryType(), retText);
  e->SetInteger(4);
  e->SetPathSpecifier(specifier);
  EXPECT_EQ(e->EntryType(), retText);
  EXPECT_EQ(e->Text(), "%p");
  e->SetBoolean(false);
  e->SetPathSpecifier(nullptr);
  EXPECT_EQ(e->EntryType(), retText);

  // Copying an entry copies its kind as it is, not through the setters.
  TRegistryEntry* copy = r->Entries()->Add();
  e->SetInteger(9);
  copy->Assign(*e);
  EXPECT_EQ(copy->EntryType(), retInteger);
  EXPECT_EQ(copy->Integer(), 9);
  EXPECT_EQ(copy->Owner(), r);
}

TEST_F(InstallRegistryTest, PathMacroTakesTheContainerDestination) {
  auto* dir = Create<TInstallDirectory>(form());
  dir->SetName("Main");
  dir->SetDestDir("C:\\Program Files\\Qry\\");
  TCustomInstallRegistry* r = NewRegistry("Reg", "\\Software\\Fennick Software\\Qry");
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"%p", "C:\\Program Files\\Qry"},
      {"%p\\bin", "C:\\Program Files\\Qry\\bin"},
      {"100%%", "100%"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TRegistryEntry* e = r->Entries()->Add();
    e->SetIdent("V" + std::to_string(i));
    e->SetPathSpecifier(dir->FileContainerSpecifier());
    e->SetText(cases[i].text);
  }
  r->Process();
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ReadString(hkLocalMachine, "\\Software\\Fennick Software\\Qry", "V" + std::to_string(i)),
              cases[i].expected)
        << cases[i].text;
  }
}

TEST_F(InstallRegistryTest, KeyFromTheInstallInformation) {
  NewInstall("Fennick Software", "Qry", "2.1");
  TCustomInstallRegistry* r = NewRegistry("Reg");
  struct Case {
    TKeySpecifier kind;
    std::string key;
  };
  const Case cases[] = {
      {ksCompanyName, "\\SOFTWARE\\Fennick Software"},
      {ksProductName, "\\SOFTWARE\\Fennick Software\\Qry"},
      {ksVersion, "\\SOFTWARE\\Fennick Software\\Qry\\2.1"},
  };
  for (const Case& c : cases) {
    r->SetRootKey(hkCurrentUser);
    r->SetKey("\\Software\\Ignored");
    r->SetKeySpecifierType(c.kind);
    EXPECT_EQ(r->GetKey(), c.key);
    EXPECT_EQ(r->Key(), "");
    EXPECT_EQ(r->RootKey(), hkLocalMachine);
    r->SetKey("\\Software\\StillIgnored");
    EXPECT_EQ(r->Key(), "");
  }
  r->SetKeySpecifierType(ksAbsolute);
  for (const auto& [key, expected] : std::vector<std::pair<std::string, std::string>>{
           {"\\Software\\X\\", "\\Software\\X"}, {"\\Software\\X", "\\Software\\X"}, {"", ""}}) {
    r->SetKey(key);
    EXPECT_EQ(r->GetKey(), expected) << key;
  }
}

TEST_F(InstallRegistryTest, NamedKeysNeedAnInstallComponent) {
  TCustomInstallRegistry* r = NewRegistry("Reg", "\\Software\\Kept");
  for (TKeySpecifier kind : {ksCompanyName, ksProductName, ksVersion}) {
    try {
      r->SetKeySpecifierType(kind);
      ADD_FAILURE() << "no error for " << static_cast<int>(kind);
    } catch (const IEInstallRegistry& e) {
      EXPECT_STREQ(e.what(), "There is no TInstall component in your project");
    }
    EXPECT_EQ(r->KeySpecifierType(), ksAbsolute);
    EXPECT_EQ(r->Key(), "\\Software\\Kept");
  }
}

TEST_F(InstallRegistryTest, DestroyedInstallTurnsTheKeyAbsolute) {
  TCustomInstall* install = NewInstall("Fennick Software", "Qry", "1");
  TCustomInstallRegistry* r = NewRegistry("Reg");
  r->SetKeySpecifierType(ksProductName);
  install->Free();
  EXPECT_EQ(r->KeySpecifierType(), ksAbsolute);
  EXPECT_NO_THROW(r->GetKey());
}

TEST_F(InstallRegistryTest, DestroyedSpecifierIsClearedAndTheKindKept) {
  TCustomPathSpecifier* specifier = Create<TPathSpecifier>(form());
  TCustomInstallRegistry* r = NewRegistry("Reg");
  TRegistryEntry* integer = r->Entries()->Add();
  integer->SetPathSpecifier(specifier);
  integer->SetEntryType(retInteger);
  TRegistryEntry* text = AddText(r, "T", "x");
  text->SetPathSpecifier(specifier);
  specifier->Free();
  EXPECT_EQ(integer->PathSpecifier(), nullptr);
  EXPECT_EQ(integer->EntryType(), retInteger);
  EXPECT_EQ(text->PathSpecifier(), nullptr);
  EXPECT_EQ(text->EntryType(), retText);
  EXPECT_EQ(text->GetValueText(), "%p");
}

TEST_F(InstallRegistryTest, BeforeWriteEntryCanSkipOneEntry) {
  NewInstall("Fennick Software", "Qry", "1");
  TCustomInstallRegistry* r = NewRegistry("Reg");
  AddText(r, "A", "1");
  AddText(r, "Skip", "2");
  AddText(r, "C", "3");
  std::vector<std::string> asked;
  r->OnBeforeWriteEntry.Assign([&](TCustomInstallRegistry* sender, TRegistryEntry* e, bool& proceed) {
    EXPECT_EQ(sender, r);
    EXPECT_TRUE(proceed);
    asked.push_back(e->Ident());
    if (e->Ident() == "Skip") proceed = false;
  });
  r->Process();
  EXPECT_EQ(asked, (std::vector<std::string>{"A", "Skip", "C"}));
  EXPECT_EQ(ReadString(hkLocalMachine, "\\Software\\Test", "A"), "1");
  EXPECT_EQ(ReadString(hkLocalMachine, "\\Software\\Test", "Skip"), "<missing>");
  EXPECT_EQ(ReadString(hkLocalMachine, "\\Software\\Test", "C"), "3");
  // The record still lists every entry.
  const std::string entries = kUninstallKey + "\\RegistryKeys\\RegistryKey1\\Entries";
  EXPECT_EQ(ReadString(hkLocalMachine, entries, "Skip"), "2");
}

TEST_F(InstallRegistryTest, UninstallRecordOfTwoComponents) {
  NewInstall("Fennick Software", "Qry", "1");
  TCustomInstallRegistry* first = NewRegistry("First", "\\Software\\One\\");
  AddText(first, "Ver", "1.0");
  first->Entries()->Add()->SetIdent("Count");
  first->Entries()->Items(1)->SetInteger(5);
  TCustomInstallRegistry* second = NewRegistry("Second", "\\Software\\Two");
  second->SetRootKey(hkCurrentUser);
  AddText(second, "Path", "C:\\Qry");
  TCustomInstallRegistry* off = NewRegistry("Off", "\\Software\\Three");
  off->SetUninstall(false);
  AddText(off, "X", "y");

  first->Process();
  second->Process();
  off->Process();

  const std::string list = kUninstallKey + "\\RegistryKeys";
  EXPECT_EQ(ReadString(hkLocalMachine, list, "Entries"), "2");
  EXPECT_EQ(ReadString(hkLocalMachine, list + "\\RegistryKey1", "Key"), "\\Software\\One");
  EXPECT_EQ(ReadRegistryInteger(hkLocalMachine, list + "\\RegistryKey1", "Root", -1), 4);
  EXPECT_EQ(ReadString(hkLocalMachine, list + "\\RegistryKey1\\Entries", "Ver"), "1.0");
  // The record holds the value text whatever the entry's kind.
  EXPECT_EQ(ReadString(hkLocalMachine, list + "\\RegistryKey1\\Entries", "Count"), "");
  EXPECT_EQ(ReadString(hkLocalMachine, list + "\\RegistryKey2", "Key"), "\\Software\\Two");
  EXPECT_EQ(ReadRegistryInteger(hkLocalMachine, list + "\\RegistryKey2", "Root", -1), 2);
  EXPECT_EQ(ReadString(hkLocalMachine, list + "\\RegistryKey2\\Entries", "Path"), "C:\\Qry");
  EXPECT_EQ(ReadString(hkLocalMachine, list + "\\RegistryKey3", "Key"), "<missing>");
  EXPECT_EQ(ReadString(hkLocalMachine, "\\Software\\Three", "X"), "y");
}

TEST_F(InstallRegistryTest, DamagedRecordCountIsNotOverwritten) {
  NewInstall("Fennick Software", "Qry", "1");
  const std::string list = kUninstallKey + "\\RegistryKeys";
  TCustomInstallRegistry* r = NewRegistry("Reg");
  AddText(r, "A", "1");
  for (std::string bad : {"two", "3x", ""}) {
    WriteRegistryString(hkLocalMachine, list, "Entries", bad);
    EXPECT_THROW(r->RegisterUninstall(kUninstallKey), EConvertError) << bad;
    EXPECT_EQ(ReadString(hkLocalMachine, list, "Entries"), bad);
    EXPECT_EQ(ReadString(hkLocalMachine, list + "\\RegistryKey1", "Key"), "<missing>");
  }
}

TEST_F(InstallRegistryTest, KeyThatCannotBeCreatedNamesComponentAndKey) {
  // HKEY_USERS has keys only for the users the machine knows.
  TCustomInstallRegistry* r = NewRegistry("Reg", "\\NoSuchUser\\Software");
  r->SetRootKey(hkUsers);
  AddText(r, "A", "1");
  try {
    r->Process();
    ADD_FAILURE() << "no error";
  } catch (const IERegistryEntry& e) {
    EXPECT_STREQ(e.what(), "Reg cannot create the key \\NoSuchUser\\Software in the registry");
  }
  EXPECT_FALSE(r->Processed());
}

TEST_F(InstallRegistryTest, ProcessesOnTheRegistryBroadcastOnly) {
  TCustomInstallRegistry* r = NewRegistry("Reg");
  AddText(r, "A", "1");
  r->ReceiveInformation(nullptr, kNotifyProcessRegistryNow + 1, nullptr);
  EXPECT_EQ(ReadString(hkLocalMachine, "\\Software\\Test", "A"), "<missing>");
  r->ReceiveInformation(nullptr, kNotifyProcessRegistryNow, nullptr);
  EXPECT_EQ(ReadString(hkLocalMachine, "\\Software\\Test", "A"), "1");
  EXPECT_EQ(r->RegisteredType(), 8500);
  EXPECT_FALSE(r->ProcessedWithContainer());
}

TEST_F(InstallRegistryTest, ConstructionDefaultsAndRefusals) {
  TCustomInstallRegistry* r = NewRegistry("Reg");
  auto* fresh = Create<TInstallRegistry>(form());
  EXPECT_EQ(fresh->Key(), "\\SOFTWARE\\MyStuff");
  EXPECT_EQ(fresh->RootKey(), hkLocalMachine);
  EXPECT_TRUE(fresh->Include());
  EXPECT_TRUE(fresh->Uninstall());
  const int count = InstallRegistries().Count();
  ASSERT_GE(count, 2);
  EXPECT_EQ(InstallRegistries().Items(count - 2), r);
  EXPECT_EQ(InstallRegistries().Items(count - 1), fresh);
  fresh->Free();
  EXPECT_EQ(InstallRegistries().Count(), count - 1);

  try {
    TRegistryEntries orphan(nullptr);
    ADD_FAILURE();
  } catch (const IERegistryEntries& e) {
    EXPECT_STREQ(e.what(), "Cannot create a TRegistryEntries component with a Nil Owner");
  }
  try {
    InstallRegistries().Add(nullptr);
    ADD_FAILURE();
  } catch (const IEInstallRegistryList& e) {
    EXPECT_STREQ(e.what(), "Cannot add blank entry to the registry list");
  }

  // Assigning a collection copies its items.
  TCustomInstallRegistry* other = NewRegistry("Other");
  AddText(other, "A", "1");
  AddText(other, "B", "2");
  r->SetEntries(other->Entries());
  ASSERT_EQ(r->Entries()->Count(), 2);
  EXPECT_NE(r->Entries(), other->Entries());
  EXPECT_EQ(r->Entries()->Items(1)->Text(), "2");
  EXPECT_EQ(r->Entries()->Items(1)->Owner(), r);
}

TEST_F(InstallRegistryTest, LoadsFromFormText) {
  ReadRootComponentFromText(
      "object MainForm: TForm\n"
      "  object Main: TInstallDirectory\n"
      "    DestDir = 'C:\\Program Files\\Qry'\n"
      "  end\n"
      "  object InstallRegistry1: TInstallRegistry\n"
      "    Entries = <\n"
      "      item\n"
      "        Ident = 'Ver'\n"
      "        Text = '1.0'\n"
      "      end\n"
      "      item\n"
      "        EntryType = retInteger\n"
      "        Ident = 'Build'\n"
      "        Integer = 42\n"
      "        Text = 'ignored'\n"
      "      end\n"
      "      item\n"
      "        Ident = 'InstallPath'\n"
      "        PathSpecifier = psFileContainer\n"
      "        Text = '%p'\n"
      "      end>\n"
      "    Key = '\\Software\\Fennick Software\\Qry\\'\n"
      "    KeySpecifierType = ksAbsolute\n"
      "    RootKey = hkCurrentUser\n"
      "  end\n"
      "end\n",
      "main.dfm", *form());
  auto* r = dynamic_cast<TInstallRegistry*>(form()->FindComponent("InstallRegistry1"));
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->Entries()->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(r->Entries()->Items(i)->Owner(), r);
  // Loading stores the values without switching the kind.
  EXPECT_EQ(r->Entries()->Items(1)->EntryType(), retInteger);
  ASSERT_NE(r->Entries()->Items(2)->PathSpecifier(), nullptr);

  r->Process();
  const std::string key = "\\Software\\Fennick Software\\Qry";
  EXPECT_EQ(ReadString(hkCurrentUser, key, "Ver"), "1.0");
  EXPECT_EQ(ReadRegistryInteger(hkCurrentUser, key, "Build", 0), 42);
  EXPECT_EQ(ReadString(hkCurrentUser, key, "InstallPath"), "C:\\Program Files\\Qry");
}

}  // namespace
}  // namespace wenmoor
