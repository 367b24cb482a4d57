// Downloads through a net install location from a real FTP server on
// loopback (tests/data/net/ftp_server.py, pyftpdlib).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "net/download_fixture.h"
#include "net/net_exceptions.h"
#include "net/servers.h"

namespace wenmoor::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Each;
using ::testing::Field;
using ::testing::StartsWith;

constexpr const char* kUser = "setup";
constexpr const char* kPassword = "s3cret";

class FtpDownloadTest : public DownloadFixture {
 protected:
  static void SetUpTestSuite() {
    root_ = new TempDir;
    root_->Write("pub/setup/Files.1", Pattern(20000));
    root_->Write("pub/setup/Other.1", "second file");
    root_->Write("pub/setup/Empty.1", "");
    root_->Write("pub/setup/Big.1", Pattern(4 << 20));
    root_->Write("pub/setup/Drop.1", Pattern(200000));  // the server breaks off after half
    root_->Write("Root.1", "at the root");
    server_ = new FtpTestServer(root_->Path(), kUser, kPassword);
  }
  static void TearDownTestSuite() {
    delete server_;
    delete root_;
    server_ = nullptr;
    root_ = nullptr;
  }

  void SetUp() override {
    DownloadFixture::SetUp();
    ASSERT_NE(server_, nullptr) << "the test server did not start";
    Login().SetProtocol(ipFTP);
    Login().SetHostname(server_->HostPort());
    Login().SetDirectory("pub\\setup");
    seen_commands_ = server_->Commands().size();
    seen_connections_ = server_->Connections();
  }

  std::vector<std::string> NewCommands() const {
    std::vector<std::string> all = server_->Commands();
    return {all.begin() + static_cast<std::ptrdiff_t>(seen_commands_), all.end()};
  }
  int NewConnections() const { return server_->Connections() - seen_connections_; }
  int CountOf(const std::string& command) const {
    const auto commands = NewCommands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
  }
  std::string Server() const { return server_->HostPort(); }

  static TempDir* root_;
  static FtpTestServer* server_;
  size_t seen_commands_ = 0;
  int seen_connections_ = 0;
};

TempDir* FtpDownloadTest::root_ = nullptr;
FtpTestServer* FtpDownloadTest::server_ = nullptr;

TEST_F(FtpDownloadTest, DownloadsBinaryInBlocksFromTheServerDirectory) {
  loc_->Download("Files.1", Local("Files.1"));

  EXPECT_EQ(ReadLocal("Files.1"), Pattern(20000));
  EXPECT_THAT(BlockSizes(), ElementsAre(8192, 8192, 3616));
  EXPECT_THAT(blocks_, Each(Field(&ReceivedBlock::file_size, 20000))) << "the size the server announced";
  ASSERT_EQ(blocks_.size(), 3u);
  EXPECT_EQ(blocks_[2].total, 20000);
  EXPECT_EQ(pumps_, 3);
  EXPECT_THAT(LocalDirEntries(), ElementsAre("Files.1"));

  const auto commands = NewCommands();
  EXPECT_THAT(commands, Contains("USER anonymous"));
  EXPECT_THAT(commands, Contains("CWD pub/setup"));
  EXPECT_THAT(commands, Contains("TYPE I"));
  EXPECT_THAT(commands, Contains("RETR Files.1"));
  const auto cwd = std::find(commands.begin(), commands.end(), "CWD pub/setup");
  const auto type = std::find(commands.begin(), commands.end(), "TYPE I");
  const auto retr = std::find(commands.begin(), commands.end(), "RETR Files.1");
  EXPECT_TRUE(cwd < type && type < retr) << "CWD, then TYPE I, then RETR";
}

TEST_F(FtpDownloadTest, DirectoryForms) {
  struct Case {
    const char* directory;
    const char* name;
    const char* cwd;
  };
  const Case cases[] = {
      {"", "Root.1", "CWD /"},
      {"\\pub\\setup", "Other.1", "CWD /pub/setup"},
      {"pub/setup", "Other.1", "CWD pub/setup"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    ComponentPtr<TNetInstallLocation> loc = CreateUnowned<TNetInstallLocation>();  // a connection of its own
    loc->LoginInformation()->SetProtocol(ipFTP);
    loc->LoginInformation()->SetHostname(Server());
    loc->LoginInformation()->SetDirectory(c.directory);
    const size_t before = server_->Commands().size();
    loc->Download(c.name, Local(c.name));
    const auto all = server_->Commands();
    EXPECT_THAT(std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()),
                Contains(c.cwd));
    EXPECT_FALSE(ReadLocal(c.name).empty());
  }
}

TEST_F(FtpDownloadTest, SecondDownloadReusesTheLoggedInConnection) {
  loc_->Download("Files.1", Local("Files.1"));
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_EQ(ReadLocal("Other.1"), "second file");
  EXPECT_EQ(NewConnections(), 1);
  EXPECT_EQ(CountOf("USER anonymous"), 1);
  EXPECT_EQ(CountOf("RETR Files.1"), 1);
  EXPECT_EQ(CountOf("RETR Other.1"), 1);
}

TEST_F(FtpDownloadTest, NamedLogin) {
  Login().SetAnonymous(false);
  Login().SetUsername(kUser);
  Login().SetPassword(kPassword);
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_EQ(ReadLocal("Other.1"), "second file");
  EXPECT_THAT(NewCommands(), Contains("USER setup"));
}

TEST_F(FtpDownloadTest, RefusedLogin) {
  Login().SetAnonymous(false);
  Login().SetUsername(kUser);
  Login().SetPassword("wrong");
  const std::string message = MessageOf<ENIL_OpenService>([&] { loc_->Download("Other.1", Local("Other.1")); });
  EXPECT_EQ(message, "Cannot connect to host " + Server() +
                         ". Error message ERROR_INTERNET_LOGIN_FAILURE. Server " + Server() +
                         ". Response from server 530 Authentication failed.");
  EXPECT_FALSE(loc_->HasConnection());
}

TEST_F(FtpDownloadTest, DirectoryThatIsNotThere) {
  Login().SetDirectory("nope\\deeper");
  const std::string message = MessageOf<ENIL_FTPSetDir>([&] { loc_->Download("Files.1", Local("Files.1")); });
  EXPECT_EQ(message, "Cannot set directory on server to nope/deeper. Error message ERROR_INTERNET_EXTENDED_ERROR. "
                     "Server " + Server() + ". Response from server 550 No such file or directory.");
  EXPECT_TRUE(loc_->HasConnection()) << "the connection stays for the next attempt";
}

TEST_F(FtpDownloadTest, FileThatIsNotThere) {
  const std::string message = MessageOf<ENIL_FTPOpenFile>([&] { loc_->Download("Missing.1", Local("Missing.1")); });
  EXPECT_THAT(message, StartsWith("Cannot open file Missing.1 on server. Error message ERROR_INTERNET_EXTENDED_ERROR. "
                                  "Server " + Server() + ". Response from server 550 "));
  EXPECT_TRUE(LocalDirEntries().empty());
  // The connection is still good.
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_EQ(ReadLocal("Other.1"), "second file");
  EXPECT_EQ(NewConnections(), 1);
}

TEST_F(FtpDownloadTest, EmptyFileIsAFileNotFound) {
  WriteLocal("Empty.1", "older copy");
  const std::string message = MessageOf<ENIL_FileNotFound>([&] { loc_->Download("Empty.1", Local("Empty.1")); });
  EXPECT_THAT(message, StartsWith("Could not find the file Empty.1 on the server. Error message "));
  EXPECT_EQ(ReadLocal("Empty.1"), "older copy");
  EXPECT_THAT(LocalDirEntries(), ElementsAre("Empty.1"));
}

TEST_F(FtpDownloadTest, ServerThatCannotBeReached) {
  const std::pair<std::string, const char*> cases[] = {
      {"127.0.0.1:" + std::to_string(UnusedPort()), "ERROR_INTERNET_CANNOT_CONNECT"},  // nothing listens
      {"wenmoor-test.invalid", "ERROR_INTERNET_NAME_NOT_RESOLVED"},
  };
  for (const auto& [host, error] : cases) {
    Login().SetHostname(host);
    EXPECT_EQ(MessageOf<ENIL_OpenService>([&] { loc_->Download("Files.1", Local("Files.1")); }),
              "Cannot connect to host " + host + ". Error message " + error + ". Server " + host +
                  ". Response from server ");
    EXPECT_FALSE(loc_->HasConnection());
  }
  EXPECT_TRUE(LocalDirEntries().empty());
}

TEST_F(FtpDownloadTest, TransferDroppedInTheMiddleLeavesAnOlderLocalFileAlone) {
  WriteLocal("Drop.1", "the good old copy");
  const std::string message = MessageOf<ENIL_ReadFile>([&] { loc_->Download("Drop.1", Local("Drop.1")); });
  EXPECT_THAT(message, StartsWith("Could not read from file Drop.1 on the server. Error message "
                                  "ERROR_INTERNET_CONNECTION_ABORTED. Server " + Server() + ". Response from server "));
  EXPECT_EQ(ReceivedData(), Pattern(100000)) << "every byte that came was reported";
  EXPECT_EQ(ReadLocal("Drop.1"), "the good old copy");
  EXPECT_THAT(LocalDirEntries(), ElementsAre("Drop.1"));
  EXPECT_EQ(CountOf("RETR Drop.1"), 1);

  // The location recovers: the next file comes whole.
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_EQ(ReadLocal("Other.1"), "second file");
  EXPECT_EQ(CountOf("RETR Other.1"), 1);
}

TEST_F(FtpDownloadTest, AbortInTheMiddleLeavesNothingAndTheLocationWorksOn) {
  on_block_ = [](const ReceivedBlock& b) {
    if (b.total >= 3 * 8192) SetDownloadAborted(true);
  };
  EXPECT_NO_THROW(loc_->Download("Big.1", Local("Big.1")));
  EXPECT_EQ(blocks_.size(), 3u);
  EXPECT_EQ(blocks_[0].file_size, 4 << 20);
  EXPECT_TRUE(LocalDirEntries().empty());

  on_block_ = nullptr;
  SetDownloadAborted(false);
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_EQ(ReadLocal("Other.1"), "second file");
}

}  // namespace
}  // namespace wenmoor::test
