// The installing side of a net distribution against a real HTTP server on
// loopback: a script object fetching its archive (DownloadArchive), and the
// remote list of files that a build writes and an installation reads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>

#include "engine/cmp_TInstall.h"
#include "engine/install_net.h"
#include "net/download_fixture.h"
#include "net/net_exceptions.h"
#include "net/servers.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/forms.h"
#include "platform/win/files.h"
#include "registry/routines_Registry.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/script_exceptions.h"

namespace wenmoor::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr const char* kRecordKey = "SOFTWARE\\OAK\\Install\\Install1";

class NetInstallTest : public DownloadFixture {
 protected:
  static void SetUpTestSuite() {
    www_ = new TempDir;
    server_ = new HttpTestServer(www_->Path());
  }
  static void TearDownTestSuite() {
    delete server_;
    delete www_;
    server_ = nullptr;
    www_ = nullptr;
  }

  void SetUp() override {
    DownloadFixture::SetUp();
    ASSERT_NE(server_, nullptr) << "the test server did not start";
    Login().SetHostname(server_->HostPort());
    Login().SetDirectory("pub\\setup");
    form_ = CreateUnowned<TForm>();
    form_->SetName("MainForm");
    CurrentRecordKey() = kRecordKey;
    seen_ = server_->Requests().size();
    temp_before_ = TempFiles();
  }
  void TearDown() override {
    form_.reset();  // the script goes before its location
    CurrentRecordKey().clear();
    DownloadFixture::TearDown();
  }

  // The request lines the server received during this test.
  std::vector<std::string> NewRequestLines() const {
    std::vector<std::string> lines;
    const auto all = server_->Requests();
    for (size_t i = seen_; i < all.size(); ++i) lines.push_back(all[i].line);
    return lines;
  }
  // The names in the machine's temporary directory.
  std::set<std::string> TempFiles() const {
    std::set<std::string> names;
    const fs::path dir = prefix_->Host(platform::GetTempPath());
    if (fs::exists(dir))
      for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
  }
  std::set<std::string> NewTempFiles() const {
    std::set<std::string> added;
    for (const std::string& name : TempFiles())
      if (!temp_before_.count(name)) added.insert(name);
    return added;
  }
  static std::string RecordedLocalFile(const std::string& object) {
    std::string value;
    ReadRegistryString(hkLocalMachine, std::string(kRecordKey) + "\\" + object, "LocalFile", value, "<none>");
    return value;
  }

  TInstallDirectory* Directory(const std::string& name) {
    auto* dir = Create<TInstallDirectory>(form_.get());
    dir->SetName(name);
    dir->SetNetLocation(loc_.get());
    return dir;
  }

  static TempDir* www_;
  static HttpTestServer* server_;
  ComponentPtr<TForm> form_;
  size_t seen_ = 0;
  std::set<std::string> temp_before_;
};

TempDir* NetInstallTest::www_ = nullptr;
HttpTestServer* NetInstallTest::server_ = nullptr;

// ---- DownloadArchive ---------------------------------------------------------

TEST_F(NetInstallTest, ArchiveIsFetchedByTheObjectsNameAndRemembered) {
  www_->Write("pub/setup/Data.1", Pattern(20000));
  TInstallDirectory* dir = Directory("Data");
  std::vector<int> totals;
  dir->OnDataReceived.Assign([&](TObject*, const std::string& name, int, int total, int size, const char*) {
    EXPECT_EQ(name, "Data.1");
    EXPECT_EQ(size, 20000);
    totals.push_back(total);
  });

  dir->DownloadArchive();

  const std::string local = dir->LocalArchive();
  EXPECT_THAT(local, StartsWith(platform::GetTempPath()));
  EXPECT_EQ(ExtractFileExt(local), ".1");
  EXPECT_EQ(prefix_->ReadFile(local), Pattern(20000));
  EXPECT_THAT(totals, ElementsAre(8192, 16384, 20000));
  EXPECT_EQ(RecordedLocalFile("Data"), local);
  EXPECT_TRUE(dir->IsArchiveDownloaded());
  EXPECT_THAT(NewRequestLines(), ElementsAre("GET /pub/setup/Data.1 HTTP/1.1"));
  EXPECT_FALSE(loc_->OnDataReceived) << "the handler is removed again";

  // Recorded and present: a later download asks the server nothing.
  dir->SetLocalArchive("");
  dir->DownloadArchive();
  EXPECT_EQ(dir->LocalArchive(), local);
  EXPECT_EQ(NewRequestLines().size(), 1u);
}

TEST_F(NetInstallTest, CancelledArchiveDownloadLeavesNothingBehind) {
  www_->Write("pub/setup/SlowData.1", Pattern(40000));  // sent at 8 KiB every 0.2 s
  TInstallDirectory* dir = Directory("SlowData");
  dir->OnDataReceived.Assign([](TObject*, const std::string&, int, int, int, const char*) {
    SetDownloadAborted(true);  // what the copy dialog's Cancel does
  });
  try {
    dir->DownloadArchive();
    ADD_FAILURE() << "no exception";
  } catch (const EAIUserAbort& e) {
    EXPECT_EQ(std::string(e.what()), "Installation aborted by the user");
  }
  EXPECT_EQ(dir->LocalArchive(), "");
  EXPECT_FALSE(dir->IsArchiveDownloaded());
  EXPECT_EQ(RecordedLocalFile("SlowData"), "<none>");
  EXPECT_THAT(NewTempFiles(), IsEmpty());
  EXPECT_THAT(NewRequestLines(), ElementsAre("GET /pub/setup/SlowData.1 HTTP/1.1"));

  // Asked again, the object fetches its archive.
  SetDownloadAborted(false);
  dir->OnDataReceived.Clear();
  dir->DownloadArchive();
  EXPECT_EQ(prefix_->ReadFile(dir->LocalArchive()), Pattern(40000));
  EXPECT_EQ(RecordedLocalFile("SlowData"), dir->LocalArchive());
}

TEST_F(NetInstallTest, FailedArchiveDownloadIsNotTakenForADownloadedOne) {
  TInstallDirectory* dir = Directory("Later");
  EXPECT_THROW(dir->DownloadArchive(), ENIL_FileNotFound);
  EXPECT_EQ(dir->LocalArchive(), "");
  EXPECT_FALSE(dir->IsArchiveDownloaded()) << "the next file of the directory must not read a missing archive";
  EXPECT_EQ(RecordedLocalFile("Later"), "<none>");
  EXPECT_THAT(NewTempFiles(), IsEmpty());

  // Once the archive is on the server, the same object fetches it.
  www_->Write("pub/setup/Later.1", "late archive");
  dir->DownloadArchive();
  EXPECT_EQ(prefix_->ReadFile(dir->LocalArchive()), "late archive");
  EXPECT_THAT(NewRequestLines(), ElementsAre("GET /pub/setup/Later.1 HTTP/1.1", "GET /pub/setup/Later.1 HTTP/1.1"));
}

TEST_F(NetInstallTest, ArchiveDownloadNeedsAFilledInLocation) {
  TInstallDirectory* own = Directory("Own");
  auto* inherited = Create<TInstallDirectory>(form_.get());
  inherited->SetName("Inherited");
  SetCurrentNetLocation(loc_.get());
  Login().SetHostname("  ");
  const std::pair<TInstallDirectory*, std::string> cases[] = {
      {own, "Own could not install itself because the TNetLocation component's properties, in the NetLocation "
            "property, have not been filled in"},
      {inherited, "Inherited could not install itself because the LoginInformation property of the TInstall "
                  "component has not been properly filled in"},
  };
  for (const auto& [dir, message] : cases) {
    try {
      dir->DownloadArchive();
      ADD_FAILURE() << "no exception for " << dir->Name();
    } catch (const IEFileRelated& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  }
  SetCurrentNetLocation(nullptr);
  try {
    inherited->DownloadArchive();
    ADD_FAILURE() << "no exception without a location";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Could not find a net install location for Inherited");
  }
  EXPECT_THAT(NewRequestLines(), IsEmpty());
}

// ---- the remote list of files ------------------------------------------------

// An install file of the script with the information a build has read from
// its source.
TCustomInstallFile* ListedFile(TComponent* owner, const std::string& name, int compress_state, int64_t size,
                               TDateTime date, const std::string& version) {
  auto* f = Create<TInstallFile>(owner);
  f->SetName(name);
  f->SetCompressState(compress_state);
  f->TakeListedInfo(size, date, version);
  return f;
}

std::string Record(int32_t size, double date, const std::string& name, const std::string& version) {
  std::string r(80, '\0');
  std::memcpy(r.data(), &size, 4);
  std::memcpy(r.data() + 8, &date, 8);
  std::memcpy(r.data() + 16, name.data(), std::min<size_t>(name.size(), 40));
  std::memcpy(r.data() + 56, version.data(), std::min<size_t>(version.size(), 24));
  return r;
}

std::string Count(int32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

class FileListTest : public NetInstallTest {
 protected:
  void SetUp() override {
    NetInstallTest::SetUp();
    install_ = Create<TInstall>(form_.get());
    install_->SetNetLocation(loc_.get());
  }
  TCustomInstall* install_ = nullptr;
};

TEST_F(FileListTest, BuildWritesTheCompressedFilesAndAnInstallationReadsThemBack) {
  ListedFile(form_.get(), "Readme", 1, 1234, 36526.5, "1.2.3.4");
  ListedFile(form_.get(), "NotBuilt", 0, 99, 1.0, "9");
  ListedFile(form_.get(), "Library", 2, 70000, 40000.25, "5.20.0.0");
  install_->SetArchiveFileType(nullptr);
  install_->SetArchiveFile("C:\\build\\files.1");

  const std::string list = WriteFileList(*install_);

  // The net directory: host and directory without the characters a file
  // name cannot carry.
  std::string host = server_->HostPort();
  host.erase(host.find(':'), 1);
  EXPECT_EQ(list, "C:\\build\\" + host + "\\pubsetup\\filelist.lst");
  EXPECT_EQ(prefix_->ReadFile(list), Count(2) + Record(1234, 36526.5, "Readme", "1.2.3.4") +
                                         Record(70000, 40000.25, "Library", "5.20.0.0"));

  // Uploaded to the server; the installing side starts from nothing.
  www_->Write("pub/setup/filelist.lst", prefix_->ReadFile(list));
  for (int i = 0; i < AllInstallFiles().Count(); ++i) AllInstallFiles().Items(i)->TakeListedInfo(0, 0, "");

  ReadRemoteFileList(*install_);

  auto* readme = dynamic_cast<TCustomInstallFile*>(form_->FindComponent("Readme"));
  auto* library = dynamic_cast<TCustomInstallFile*>(form_->FindComponent("Library"));
  auto* not_built = dynamic_cast<TCustomInstallFile*>(form_->FindComponent("NotBuilt"));
  ASSERT_TRUE(readme && library && not_built);
  EXPECT_EQ(readme->Size(), 1234);
  EXPECT_EQ(readme->FileDate(), 36526.5);
  EXPECT_EQ(readme->FileVersion(), "1.2.3.4");
  EXPECT_EQ(library->Size(), 70000);
  EXPECT_EQ(library->FileVersion(), "5.20.0.0");
  EXPECT_EQ(not_built->Size(), 0);
  EXPECT_THAT(NewRequestLines(), ElementsAre("GET /pub/setup/filelist.lst HTTP/1.1"));
  EXPECT_THAT(NewTempFiles(), IsEmpty()) << "the downloaded list is deleted";
}

TEST_F(FileListTest, RecordsMatchNamesWithoutRegardToCaseAndCutTheVersion) {
  TCustomInstallFile* readme = ListedFile(form_.get(), "Readme", 0, 0, 0, "");
  www_->Write("pub/setup/filelist.lst", Count(3) + Record(1, 1.0, "Unknown", "1") +
                                            Record(77, 2.5, "README", "1234567890123456789012") +
                                            Record(88, 3.5, "readme", "second") + "trailing bytes are ignored");
  ReadRemoteFileList(*install_);
  EXPECT_EQ(readme->Size(), 88) << "every record naming the file is applied in turn";
  EXPECT_EQ(readme->FileDate(), 3.5);

  www_->Write("pub/setup/filelist.lst", Count(1) + Record(77, 2.5, "README", "1234567890123456789012"));
  ReadRemoteFileList(*install_);
  EXPECT_EQ(readme->Size(), 77);
  EXPECT_EQ(readme->FileVersion(), "12345678901234567890") << "at most 20 characters of the version";
}

TEST_F(FileListTest, ShortOrCorruptListIsRefusedAndDeleted) {
  TCustomInstallFile* readme = ListedFile(form_.get(), "Readme", 0, 5, 0, "");
  const std::string bad[] = {
      "\x01\x00",                                                    // not even a count
      Count(2) + Record(1, 1.0, "Readme", "1"),                      // fewer records than counted
      Count(1) + Record(1, 1.0, "Readme", "1").substr(0, 79),        // a record cut short
      Count(-1),                                                     // a negative count
      Count(1) + Record(-5, 1.0, "Readme", "1"),                     // a negative size
      Count(1) + Record(5, std::numeric_limits<double>::quiet_NaN(), "Readme", "1"),  // no date
  };
  for (const std::string& list : bad) {
    SCOPED_TRACE(::testing::PrintToString(list.size()));
    www_->Write("pub/setup/filelist.lst", list);
    try {
      ReadRemoteFileList(*install_);
      ADD_FAILURE() << "no exception";
    } catch (const IEInstall& e) {
      const std::string message = e.what();
      ASSERT_THAT(message, StartsWith("Cannot read the remote list of files: " + platform::GetTempPath()));
      EXPECT_FALSE(platform::FileExists(message.substr(message.find(": ") + 2))) << "the list is deleted";
    }
    EXPECT_THAT(NewTempFiles(), IsEmpty());
  }
  EXPECT_EQ(readme->Size(), 5) << "a list that is not whole changes no file";
}

TEST_F(FileListTest, CancelWhileTheListComesIsTheUsersAbort) {
  TCustomInstallFile* readme = ListedFile(form_.get(), "Readme", 0, 5, 0, "");
  std::string list = Count(200);
  for (int i = 0; i < 200; ++i) list += Record(77, 2.5, "Readme", "1");
  www_->Write("pub/setup/filelist.lst", list);
  on_block_ = [](const ReceivedBlock&) { SetDownloadAborted(true); };
  EXPECT_THROW(ReadRemoteFileList(*install_), EAIUserAbort);
  EXPECT_EQ(readme->Size(), 5);
  EXPECT_THAT(NewTempFiles(), IsEmpty());
}

TEST_F(FileListTest, ListMissingOnTheServerPassesTheDownloadErrorOn) {
  Login().SetDirectory("nowhere");
  const std::string message = MessageOf<ENIL_FileNotFound>([&] { ReadRemoteFileList(*install_); });
  EXPECT_THAT(message, StartsWith("Could not find the file filelist.lst on the server. "));
  EXPECT_THAT(NewRequestLines(), ElementsAre("GET /nowhere/filelist.lst HTTP/1.1"));
  EXPECT_THAT(NewTempFiles(), IsEmpty());
}

}  // namespace
}  // namespace wenmoor::test
