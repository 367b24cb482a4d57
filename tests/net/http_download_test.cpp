// Downloads through a net install location from a real HTTP server on
// loopback (tests/data/net/http_server.py).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/download_fixture.h"
#include "net/net_exceptions.h"
#include "net/servers.h"
#include "platform/rtl/exceptions.h"

namespace wenmoor::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Each;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class HttpDownloadTest : public DownloadFixture {
 protected:
  static void SetUpTestSuite() {
    root_ = new TempDir;
    root_->Write("pub/setup/Files.1", Pattern(20000));
    root_->Write("pub/setup/Other.1", "second file");
    root_->Write("Root.1", "at the root");
    root_->Write("pub/setup/Empty.1", "");
    server_ = new HttpTestServer(root_->Path());
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
    Login().SetHostname(server_->HostPort());
    Login().SetDirectory("pub\\setup");
    seen_ = server_->Requests().size();
  }

  // The requests the server received during this test.
  std::vector<HttpTestServer::Request> NewRequests() const {
    std::vector<HttpTestServer::Request> all = server_->Requests();
    return {all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end()};
  }
  std::string Server() const { return server_->HostPort(); }

  static TempDir* root_;
  static HttpTestServer* server_;
  size_t seen_ = 0;
};

TempDir* HttpDownloadTest::root_ = nullptr;
HttpTestServer* HttpDownloadTest::server_ = nullptr;

TEST_F(HttpDownloadTest, DownloadsInBlocksWithAnEventAndAMessagePumpPerBlock) {
  loc_->Download("Files.1", Local("Files.1"));

  EXPECT_EQ(ReadLocal("Files.1"), Pattern(20000));
  EXPECT_THAT(BlockSizes(), ElementsAre(8192, 8192, 3616));
  ASSERT_EQ(blocks_.size(), 3u);
  EXPECT_EQ(blocks_[1].total, 16384);
  EXPECT_EQ(blocks_[2].total, 20000);
  EXPECT_THAT(blocks_, Each(Field(&ReceivedBlock::file_size, 20000)));
  EXPECT_THAT(blocks_, Each(Field(&ReceivedBlock::file_name, "Files.1")));
  EXPECT_THAT(blocks_, Each(Field(&ReceivedBlock::sender, static_cast<TObject*>(loc_.get()))));
  EXPECT_EQ(ReceivedData(), Pattern(20000));
  EXPECT_EQ(pumps_, 3);
  EXPECT_THAT(LocalDirEntries(), ElementsAre("Files.1")) << "no temporary file is left";
}

TEST_F(HttpDownloadTest, RequestIsAPlainGetWithAcceptAndNoCache) {
  loc_->Download("Files.1", Local("Files.1"));
  const auto requests = NewRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].line, "GET /pub/setup/Files.1 HTTP/1.1");
  EXPECT_THAT(requests[0].headers, Contains("Accept: */*"));
  EXPECT_THAT(requests[0].headers, Contains("Pragma: no-cache"));
  EXPECT_THAT(requests[0].headers, Contains("Cache-Control: no-cache"));
  EXPECT_THAT(requests[0].headers, Contains(StartsWith("Host: ")));
  int accepts = 0;
  for (const std::string& h : requests[0].headers) accepts += h.rfind("Accept:", 0) == 0 ? 1 : 0;
  EXPECT_EQ(accepts, 1) << "one Accept header, ours";
}

TEST_F(HttpDownloadTest, BlankDirectoryAsksForTheRoot) {
  Login().SetDirectory("  ");
  loc_->Download("Root.1", Local("Root.1"));
  EXPECT_EQ(ReadLocal("Root.1"), "at the root");
  ASSERT_EQ(NewRequests().size(), 1u);
  EXPECT_EQ(NewRequests()[0].line, "GET /Root.1 HTTP/1.1");
}

TEST_F(HttpDownloadTest, NamesThatAUrlCannotCarryAreEncoded) {
  root_->Write("odd dir/a b%#.1", "odd");
  Login().SetDirectory("odd dir");
  loc_->Download("a b%#.1", Local("odd.1"));
  EXPECT_EQ(ReadLocal("odd.1"), "odd");
  ASSERT_EQ(NewRequests().size(), 1u);
  EXPECT_EQ(NewRequests()[0].line, "GET /odd%20dir/a%20b%25%23.1 HTTP/1.1");
}

TEST_F(HttpDownloadTest, SecondDownloadReusesTheConnection) {
  loc_->Download("Files.1", Local("Files.1"));
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_EQ(ReadLocal("Other.1"), "second file");
  const auto requests = NewRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].line, "GET /pub/setup/Other.1 HTTP/1.1");
  EXPECT_EQ(requests[0].connection, requests[1].connection) << "one TCP connection for both";
}

TEST_F(HttpDownloadTest, MissingSizeIsReportedAsZero) {
  Login().SetDirectory("fault\\nolength");
  loc_->Download("30000", Local("NoLength.1"));
  EXPECT_EQ(ReadLocal("NoLength.1"), Pattern(30000));
  EXPECT_THAT(BlockSizes(), ElementsAre(8192, 8192, 8192, 5424));
  EXPECT_THAT(blocks_, Each(Field(&ReceivedBlock::file_size, 0)));
}

// Every way of "the server has no such file" ends the same way: the
// exception names the file, and no local file appears.
TEST_F(HttpDownloadTest, FileThatIsNotThereFailsWithoutALocalFile) {
  struct Case {
    const char* directory;
    const char* name;
    const char* response;
    const char* request;
  };
  const Case cases[] = {
      // the status says so
      {"pub\\setup", "Missing.1", "HTTP/1.1 404 File not found", "GET /pub/setup/Missing.1 HTTP/1.1"},
      // only the page says so
      {"fault", "page404", "HTTP/1.1 200 OK", "GET /fault/page404 HTTP/1.1"},
      {"fault\\status", "500", "HTTP/1.1 500 Internal Server Error", "GET /fault/status/500 HTTP/1.1"},
      // a redirect that names no place
      {"fault\\status", "302", "HTTP/1.1 302 Found", "GET /fault/status/302 HTTP/1.1"},
      // nothing at all
      {"pub\\setup", "Empty.1", "HTTP/1.1 200 OK", "GET /pub/setup/Empty.1 HTTP/1.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    blocks_.clear();
    seen_ = server_->Requests().size();
    Login().SetDirectory(c.directory);
    const std::string message =
        MessageOf<ENIL_FileNotFound>([&] { loc_->Download(c.name, Local("Result.1")); });
    EXPECT_THAT(message, StartsWith("Could not find the file " + std::string(c.name) + " on the server. Error message "));
    EXPECT_THAT(message, HasSubstr(". Server " + Server() + ". Response from server " + c.response));
    EXPECT_TRUE(blocks_.empty());
    EXPECT_TRUE(LocalDirEntries().empty());
    const auto requests = NewRequests();
    ASSERT_EQ(requests.size(), 1u) << "one request, not retried";
    EXPECT_EQ(requests[0].line, c.request);
  }
  // The same location fetches a file that is there.
  Login().SetDirectory("pub\\setup");
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_EQ(ReadLocal("Other.1"), "second file");
}

TEST_F(HttpDownloadTest, FailedDownloadLeavesAnOlderLocalFileAlone) {
  WriteLocal("Files.1", "the good old copy");
  Login().SetDirectory("fault\\drop");
  const std::string message = MessageOf<ENIL_ReadFile>([&] { loc_->Download("50000", Local("Files.1")); });
  EXPECT_EQ(message, "Could not read from file 50000 on the server. Error message ERROR_INTERNET_CONNECTION_ABORTED. "
                     "Server " + Server() + ". Response from server HTTP/1.1 200 OK");
  EXPECT_EQ(ReceivedData(), Pattern(25000)) << "every byte that came was reported";
  EXPECT_EQ(ReadLocal("Files.1"), "the good old copy");
  EXPECT_THAT(LocalDirEntries(), ElementsAre("Files.1"));

  // The location is still usable, and a complete download replaces the file.
  Login().SetDirectory("pub\\setup");
  loc_->Download("Files.1", Local("Files.1"));
  EXPECT_EQ(ReadLocal("Files.1"), Pattern(20000));
}

TEST_F(HttpDownloadTest, AbortFromTheDataEventStopsAtOnceWithoutException) {
  on_block_ = [](const ReceivedBlock&) { SetDownloadAborted(true); };
  Login().SetDirectory("fault\\slow");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NO_THROW(loc_->Download("400000", Local("Slow.1")));  // 10 s if it ran to the end
  EXPECT_LT(SecondsSince(start), 3.0);
  EXPECT_TRUE(DownloadAborted());
  EXPECT_EQ(blocks_.size(), 1u);
  EXPECT_TRUE(LocalDirEntries().empty()) << "a cancelled download leaves no file";

  on_block_ = nullptr;
  SetDownloadAborted(false);
  Login().SetDirectory("pub\\setup");
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_EQ(ReadLocal("Other.1"), "second file");
  const auto requests = NewRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].line, "GET /fault/slow/400000 HTTP/1.1");
  EXPECT_EQ(requests[1].line, "GET /pub/setup/Other.1 HTTP/1.1");
}

TEST_F(HttpDownloadTest, ServerThatIsNotRunning) {
  const std::string host = "127.0.0.1:" + std::to_string(UnusedPort());
  Login().SetHostname(host);
  EXPECT_EQ(MessageOf<ENIL_HTTPSendRequest>([&] { loc_->Download("Files.1", Local("Files.1")); }),
            "Cannot send request for file Files.1 to the server. Error message ERROR_INTERNET_CANNOT_CONNECT. "
            "Server " + host + ". Response from server ");
  EXPECT_TRUE(LocalDirEntries().empty());

  // Once the server is there, the same location gets the file.
  Login().SetHostname(Server());
  loc_->Download("Files.1", Local("Files.1"));
  EXPECT_EQ(ReadLocal("Files.1"), Pattern(20000));
}

TEST_F(HttpDownloadTest, NameThatDoesNotResolve) {
  Login().SetHostname("wenmoor-test.invalid");
  EXPECT_EQ(MessageOf<ENIL_HTTPSendRequest>([&] { loc_->Download("Files.1", Local("Files.1")); }),
            "Cannot send request for file Files.1 to the server. Error message ERROR_INTERNET_NAME_NOT_RESOLVED. "
            "Server wenmoor-test.invalid. Response from server ");
}

TEST_F(HttpDownloadTest, SilentServerTimesOut) {
  platform::SetDefaultInternetTimeouts({2000, 500});
  ComponentPtr<TNetInstallLocation> loc = CreateUnowned<TNetInstallLocation>();  // a session with these timeouts
  loc->LoginInformation()->SetHostname(Server());
  loc->LoginInformation()->SetDirectory("fault");
  const auto start = std::chrono::steady_clock::now();
  const std::string message = MessageOf<ENIL_HTTPSendRequest>([&] { loc->Download("silent", Local("x.1")); });
  EXPECT_THAT(message, HasSubstr("Error message ERROR_INTERNET_TIMEOUT"));
  EXPECT_LT(SecondsSince(start), 5.0);
}

TEST_F(HttpDownloadTest, LocalFileInAMissingDirectory) {
  const std::string local = "C:\\no such dir\\Files.1";
  EXPECT_EQ(MessageOf<EFCreateError>([&] { loc_->Download("Files.1", local); }).rfind(
                "Cannot create file \"" + local + "\". ", 0),
            0u);
}

TEST_F(HttpDownloadTest, ChangingTheServerClosesTheConnection) {
  loc_->Download("Other.1", Local("Other.1"));
  EXPECT_TRUE(loc_->HasConnection());
  Login().SetDirectory("pub");  // applied per request: the connection stays
  EXPECT_TRUE(loc_->HasConnection());
  Login().SetHostname("wenmoor-test.invalid");
  EXPECT_FALSE(loc_->HasConnection());
  EXPECT_TRUE(loc_->HasSession());
}

}  // namespace
}  // namespace wenmoor::test
