// Installation records below \SOFTWARE\OAK\Install: found by the setup
// program's size and date, the unfinished business, and their removal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/script_fixture.h"
#include "engine/cmp_TInstall.h"
#include "platform/win/files.h"
#include "platform/win/registry_store.h"
#include "registry/cmp_TWnmrRegistry.h"
#include "registry/routines_Registry.h"
#include "script/script_exceptions.h"
#include "engine/engine_helpers.h"

namespace wenmoor {
namespace {

using platform::RootKey;

constexpr char kRecords[] = "\\SOFTWARE\\OAK\\Install";

class RecordsTest : public testing::ScriptFixture {
 protected:
  RecordsTest() {
    CurrentRecordKey().clear();
    test::WriteProgram("C:\\Setup\\setup.exe", "program", 2001);
    TApplication::Instance().SetExeName("C:\\Setup\\setup.exe");
    TApplication::Instance().SetParams({});
    install_ = Create<TInstall>(form());
  }
  ~RecordsTest() override { CurrentRecordKey().clear(); }

  std::vector<std::string> Records() {
    TwnmrRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(kRecords, false)) return {};
    return registry.KeyNames();
  }
  static bool KeyExists(const std::string& key) {
    return platform::CurrentRegistry().KeyExists(RootKey::LocalMachine, key.substr(1));
  }

  TCustomInstall* install_;
};

TEST_F(RecordsTest, FoundBySizeAndDateNotByPath) {
  const std::string first = install_->FindInstallRecord(true);
  EXPECT_EQ(first, "\\SOFTWARE\\OAK\\Install\\Install0");
  std::string path;
  ReadRegistryString(hkLocalMachine, first, "Path", path, "");
  EXPECT_EQ(path, "C:\\Setup\\setup.exe");
  EXPECT_EQ(ReadRegistryInteger(hkLocalMachine, first, "Size", -1), 7);

  // The same program copied elsewhere (same size and date) finds its record
  // and the record learns the new path.
  test::WriteProgram("C:\\Elsewhere\\setup.exe", "program", 2001);
  TApplication::Instance().SetExeName("C:\\Elsewhere\\setup.exe");
  EXPECT_EQ(install_->FindInstallRecord(false), first);
  ReadRegistryString(hkLocalMachine, first, "Path", path, "");
  EXPECT_EQ(path, "C:\\Elsewhere\\setup.exe");

  // A rebuilt program (another date, or another size) is another distribution.
  test::WriteProgram("C:\\Setup\\setup.exe", "program", 2002);
  TApplication::Instance().SetExeName("C:\\Setup\\setup.exe");
  EXPECT_EQ(install_->FindInstallRecord(false), "");
  EXPECT_EQ(install_->FindInstallRecord(true), "\\SOFTWARE\\OAK\\Install\\Install1");
  test::WriteProgram("C:\\Setup\\setup.exe", "program!", 2002);
  EXPECT_EQ(install_->FindInstallRecord(true), "\\SOFTWARE\\OAK\\Install\\Install2");
}

TEST_F(RecordsTest, NewRecordTakesTheFirstFreeNumberAndSkipsUnreadableOnes) {
  // Install0: unreadable date (a string); Install2: another program.
  WriteRegistryString(hkLocalMachine, std::string(kRecords) + "\\Install0", "CreationDate", "yesterday");
  WriteRegistryInteger(hkLocalMachine, std::string(kRecords) + "\\Install0", "Size", 7);
  WriteRegistryInteger(hkLocalMachine, std::string(kRecords) + "\\Install2", "Size", 99);
  EXPECT_EQ(install_->FindInstallRecord(false), "");
  EXPECT_EQ(install_->FindInstallRecord(true), "\\SOFTWARE\\OAK\\Install\\Install1");
}

TEST_F(RecordsTest, SelfExtractingRunRecordsItsFile) {
  TApplication::Instance().SetParams({"-sZ:\\dist", "-esetup.exe"});
  install_->ParseCommandLine();
  const std::string key = install_->FindInstallRecord(true);
  std::string self_extract;
  ReadRegistryString(hkLocalMachine, key, "SelfExtract", self_extract, "");
  EXPECT_EQ(self_extract, "Z:\\dist\\setup.exe");
}

TEST_F(RecordsTest, UnfinishedBusinessNeedsARecord) {
  const std::string message = "The TInstall could not either write or read unfinished business from the registry";
  TStringList list;
  for (auto action : std::vector<std::function<void()>>{[&] { install_->ClearUnfinished(); },
                                                        [&] { install_->AddUnfinished("x", 0); },
                                                        [&] { install_->ReadUnfinished(list); }}) {
    try {
      action();
      ADD_FAILURE() << "no error without a record";
    } catch (const IEInstall& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
  EXPECT_TRUE(Records().empty());
}

TEST_F(RecordsTest, UnfinishedBusinessIsWrittenReadAndCleared) {
  CurrentRecordKey() = install_->FindInstallRecord(true);
  install_->AddUnfinished("C:\\TEMP\\bat1.bat", 1);
  install_->AddUnfinished("IFquarry_dll", 0);
  EXPECT_EQ(install_->UnfinishedCount(), 2);
  TStringList list{"stale"};
  install_->ReadUnfinished(list);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"C:\\TEMP\\bat1.bat;1", "IFquarry_dll;0"}));
  install_->ClearUnfinished();
  install_->ReadUnfinished(list);
  EXPECT_EQ(list.Count(), 0);
  install_->ClearUnfinished();  // clearing an empty list is no error
}

TEST_F(RecordsTest, RemovingTheLastRecordRemovesItsFilesAndEmptyParents) {
  CurrentRecordKey() = install_->FindInstallRecord(true);
  const std::string record = CurrentRecordKey();
  test::WriteProgram("C:\\TEMP\\Dir1.1", "archive", 2001);
  WriteRegistryString(hkLocalMachine, record + "\\Dir1", "LocalFile", "C:\\TEMP\\Dir1.1");
  WriteRegistryString(hkLocalMachine, record + "\\Dir2", "LocalFile", "C:\\TEMP\\gone.1");  // missing: ignored
  install_->AddUnfinished("IFa_dll", 0);
  WriteRegistryString(hkLocalMachine, "\\Software\\Wenmoor\\Empty", "x", "y");
  DeleteRegistryKey(hkLocalMachine, "\\Software\\Wenmoor\\Empty");

  install_->RemoveInstallRecord();
  EXPECT_FALSE(platform::FileExists("C:\\TEMP\\Dir1.1"));
  EXPECT_FALSE(KeyExists(kRecords));
  EXPECT_FALSE(KeyExists("\\Software\\Wenmoor"));
  EXPECT_TRUE(KeyExists("\\SOFTWARE\\OAK"));
  EXPECT_EQ(CurrentRecordKey(), "");
  install_->RemoveInstallRecord();  // nothing to remove: no error
}

TEST_F(RecordsTest, RemovingOneRecordKeepsTheOthers) {
  const std::string other = std::string(kRecords) + "\\Install0";
  WriteRegistryInteger(hkLocalMachine, other, "Size", 99);
  WriteRegistryString(hkLocalMachine, "\\Software\\Wenmoor\\Kept", "x", "y");
  CurrentRecordKey() = install_->FindInstallRecord(true);
  EXPECT_EQ(CurrentRecordKey(), std::string(kRecords) + "\\Install1");
  install_->RemoveInstallRecord();
  EXPECT_EQ(Records(), std::vector<std::string>{"Install0"});
  EXPECT_TRUE(KeyExists("\\Software\\Wenmoor\\Kept"));
}

}  // namespace
}  // namespace wenmoor
