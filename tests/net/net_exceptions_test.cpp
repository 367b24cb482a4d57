// The messages of download failures.
#include "net/net_exceptions.h"

#include <gtest/gtest.h>

#include "net/cmp_TNetInstallLocation.h"
#include "platform/win/curl_transfer.h"
#include "platform/win/internet.h"
#include "platform/win/win_error.h"

namespace wenmoor {
namespace {

class NetExceptionTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetLastInternetResponse(""); }
  void TearDown() override { platform::SetLastInternetResponse(""); }
};

TEST_F(NetExceptionTest, MessageNamesTheErrorTheConnectedServerAndItsResponse) {
  ComponentPtr<TNetInstallLocation> loc = CreateUnowned<TNetInstallLocation>();
  loc->LoginInformation()->SetHostname("www.example.org");
  loc->Connect();  // HTTP: nothing is sent before a request
  ASSERT_EQ(ConnectedLocation(), loc.get());

  platform::SetLastInternetResponse("HTTP/1.1 503 Service Unavailable");
  platform::SetLastError(platform::ERROR_INTERNET_TIMEOUT);
  const ENIL_ReadFile e("Could not read from file %s on the server", "Files.1");
  EXPECT_STREQ(e.what(),
               "Could not read from file Files.1 on the server. Error message ERROR_INTERNET_TIMEOUT. "
               "Server www.example.org. Response from server HTTP/1.1 503 Service Unavailable");

  loc.reset();
  EXPECT_EQ(ConnectedLocation(), nullptr) << "a destroyed location is no longer the connected one";
  platform::SetLastInternetResponse("");
  platform::SetLastError(platform::ERROR_INTERNET_CANNOT_CONNECT);
  EXPECT_STREQ(ENIL_OpenService("Cannot connect to host %s", "x").what(),
               "Cannot connect to host x. Error message ERROR_INTERNET_CANNOT_CONNECT. Server . Response from server ");
}

TEST_F(NetExceptionTest, CodesOutsideTheTableAreUnregistered) {
  const std::pair<uint32_t, const char*> cases[] = {
      {0, "Unregistered error code"},
      {platform::ERROR_INVALID_HANDLE, "ERROR_INVALID_HANDLE"},
      {platform::ERROR_INTERNET_EXTENDED_ERROR, "ERROR_INTERNET_EXTENDED_ERROR"},
      {12138, "ERROR_GOPHER_UNKNOWN_LOCATOR"},
      {platform::ERROR_HTTP_HEADER_ALREADY_EXISTS, "ERROR_HTTP_HEADER_ALREADY_EXISTS"},
      {platform::ERROR_HTTP_REDIRECT_FAILED, "Unregistered error code"},  // a real code the table lacks
      {platform::ERROR_NOT_ENOUGH_MEMORY, "Unregistered error code"},
      {platform::INTERNET_ERROR_UNMAPPED_BASE + 99, "Unregistered error code"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(NetErrorName(code), name) << code;
}

TEST_F(NetExceptionTest, AResponseTooLongForTheBufferIsNoServerResponse) {
  platform::SetLastInternetResponse(std::string(2999, 'x'));  // fits with its terminating zero
  std::string message = ENIL("T").what();
  EXPECT_TRUE(message.ends_with("Response from server " + std::string(2999, 'x'))) << message;

  platform::SetLastInternetResponse(std::string(3000, 'x'));
  message = ENIL("T").what();
  EXPECT_TRUE(message.ends_with("Response from server No server response")) << message;
}

TEST_F(NetExceptionTest, LocalAndLibraryFailuresKeepTheirPlainText) {
  platform::SetLastError(platform::ERROR_INTERNET_TIMEOUT);
  EXPECT_STREQ(ENIL_WriteDestFile("%s could not write to the local dest file %s", "Loc", "C:\\a.1").what(),
               "Loc could not write to the local dest file C:\\a.1");
  EXPECT_STREQ(ENIL_FailLoadDLLProc("Failed to load the procedure %s from WININET.DLL", "InternetOpen").what(),
               "Failed to load the procedure InternetOpen from WININET.DLL");
}

}  // namespace
}  // namespace wenmoor
