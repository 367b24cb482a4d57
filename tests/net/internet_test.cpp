// The Internet door (platform/win/internet.h) on its own, against the test
// HTTP server.
#include "platform/win/internet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/servers.h"
#include "platform/win/curl_transfer.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {
namespace {

using test::HttpTestServer;
using test::Pattern;
using test::TempDir;

class InternetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new TempDir;
    root_->Write("a.bin", Pattern(12000));
    server_ = new HttpTestServer(root_->Path());
  }
  static void TearDownTestSuite() {
    delete server_;
    delete root_;
  }
  void SetUp() override {
    ASSERT_NE(server_, nullptr) << "the test server did not start";
    session_ = InternetSession::Open("door-test");
    ASSERT_NE(session_, nullptr);
    session_->SetTimeouts({5000, 5000});
    connection_ = session_->Connect("127.0.0.1", server_->Port(), InternetService::Http, {});
    ASSERT_NE(connection_, nullptr);
  }
  std::unique_ptr<InternetFile> Send(const std::string& object) {
    std::unique_ptr<InternetFile> f = connection_->HttpOpenRequest("GET", object, 0);
    EXPECT_NE(f, nullptr);
    if (f) {
      EXPECT_TRUE(f->HttpSendRequest("")) << GetLastError();
    }
    return f;
  }

  static TempDir* root_;
  static HttpTestServer* server_;
  std::unique_ptr<InternetSession> session_;
  std::unique_ptr<InternetConnection> connection_;
};

TempDir* InternetTest::root_ = nullptr;
HttpTestServer* InternetTest::server_ = nullptr;

TEST_F(InternetTest, ReadFileFillsTheBufferUntilTheEnd) {
  std::unique_ptr<InternetFile> f = Send("/a.bin");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->HttpQueryInfo(HttpQuery::StatusCode), "200");
  EXPECT_EQ(f->HttpQueryInfo(HttpQuery::ContentLength), "12000");
  std::string data;
  std::vector<uint32_t> sizes;
  char buffer[5000];
  uint32_t got = 0;
  do {
    ASSERT_TRUE(f->InternetReadFile(buffer, sizeof buffer, got));
    sizes.push_back(got);
    data.append(buffer, got);
  } while (got > 0);
  EXPECT_THAT(sizes, ::testing::ElementsAre(5000, 5000, 2000, 0));
  EXPECT_EQ(data, Pattern(12000));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(InternetGetLastResponseInfo(3000), "HTTP/1.1 200 OK");
}

TEST_F(InternetTest, HandleStatesAreChecked) {
  std::unique_ptr<InternetFile> f = connection_->HttpOpenRequest("GET", "/a.bin", 0);
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(f->HttpQueryInfo(HttpQuery::StatusCode));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  char buffer[16];
  uint32_t got = 99;
  EXPECT_FALSE(f->InternetReadFile(buffer, sizeof buffer, got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);

  EXPECT_EQ(connection_->HttpOpenRequest("GET", "/a.bin", 0), nullptr) << "one open request per connection";
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  EXPECT_EQ(connection_->HttpOpenRequest("POST", "/a.bin", 0), nullptr);
  EXPECT_FALSE(connection_->FtpSetCurrentDirectory("/"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);

  EXPECT_TRUE(f->Close());
  EXPECT_FALSE(f->Close());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_NE(connection_->HttpOpenRequest("GET", "/a.bin", 0), nullptr) << "free again after the close";
}

TEST_F(InternetTest, AFileOutlivingItsConnectionIsCutOff) {
  std::unique_ptr<InternetFile> f = Send("/a.bin");
  ASSERT_NE(f, nullptr);
  connection_.reset();
  char buffer[16];
  uint32_t got = 0;
  EXPECT_FALSE(f->InternetReadFile(buffer, sizeof buffer, got));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(InternetTest, HostNamesThatWouldChangeTheUrlAreRefused) {
  for (const char* host : {"", "a/b", "user@host", "host?x", "host#x", "a b", "[::1]"}) {
    EXPECT_EQ(session_->Connect(host, 0, InternetService::Http, {}), nullptr) << host;
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_NAME_NOT_RESOLVED) << host;
  }
}

TEST_F(InternetTest, MissingHeaderIsHeaderNotFound) {
  std::unique_ptr<InternetFile> f = Send("/fault/nolength/10");
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(f->HttpQueryInfo(HttpQuery::ContentLength));
  EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
}

TEST(InternetErrorTest, CurlResultsMapOntoTheLibrarysCodes) {
  struct Case {
    CURLcode curl;
    InternetService service;
    uint32_t code;
  };
  const Case cases[] = {
      {CURLE_OK, InternetService::Http, 0},
      {CURLE_COULDNT_RESOLVE_HOST, InternetService::Http, ERROR_INTERNET_NAME_NOT_RESOLVED},
      {CURLE_COULDNT_CONNECT, InternetService::Ftp, ERROR_INTERNET_CANNOT_CONNECT},
      {CURLE_OPERATION_TIMEDOUT, InternetService::Ftp, ERROR_INTERNET_TIMEOUT},
      {CURLE_PARTIAL_FILE, InternetService::Http, ERROR_INTERNET_CONNECTION_ABORTED},
      {CURLE_RECV_ERROR, InternetService::Http, ERROR_INTERNET_CONNECTION_RESET},
      {CURLE_LOGIN_DENIED, InternetService::Ftp, ERROR_INTERNET_LOGIN_FAILURE},
      {CURLE_REMOTE_FILE_NOT_FOUND, InternetService::Ftp, ERROR_INTERNET_EXTENDED_ERROR},
      {CURLE_REMOTE_ACCESS_DENIED, InternetService::Ftp, ERROR_INTERNET_EXTENDED_ERROR},
      {CURLE_WEIRD_SERVER_REPLY, InternetService::Http, ERROR_HTTP_INVALID_SERVER_RESPONSE},
      {CURLE_WEIRD_SERVER_REPLY, InternetService::Ftp, ERROR_INTERNET_EXTENDED_ERROR},
      {CURLE_GOT_NOTHING, InternetService::Http, ERROR_HTTP_INVALID_SERVER_RESPONSE},
      {CURLE_TOO_MANY_REDIRECTS, InternetService::Http, ERROR_HTTP_REDIRECT_FAILED},
      {CURLE_FILESIZE_EXCEEDED, InternetService::Http, INTERNET_ERROR_UNMAPPED_BASE + CURLE_FILESIZE_EXCEEDED},
  };
  for (const Case& c : cases) EXPECT_EQ(InternetErrorFromCurl(c.curl, c.service), c.code) << c.curl;
}

}  // namespace
}  // namespace wenmoor::platform
