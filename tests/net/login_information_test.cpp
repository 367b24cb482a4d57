// The login settings of a net install location and the names built from
// them; the location's place in the process-wide lists.
#include "net/login_information.h"

#include <gtest/gtest.h>

#include "net/cmp_TNetInstallLocation.h"
#include "net/net_exceptions.h"
#include "net/net_location_list.h"
#include "platform/rtl/form_reader.h"

namespace wenmoor {
namespace {

TEST(LoginInformationTest, DefaultsAreAnAnonymousHttpLoginWithNothingElse) {
  TLoginInformation login;
  EXPECT_TRUE(login.Anonymous());
  EXPECT_EQ(login.Protocol(), ipHTTP);
  EXPECT_EQ(login.Hostname(), "");
  EXPECT_EQ(login.Directory(), "");
  EXPECT_FALSE(login.IsValid());
}

TEST(LoginInformationTest, IsValidAsksForTheHostOrForAnyCredentialOfANamedLogin) {
  struct Case {
    bool anonymous;
    const char* host;
    const char* user;
    const char* password;
    bool valid;
  };
  const Case cases[] = {
      {true, "ftp.example.org", "", "", true},
      {true, "   ", "", "", false},  // blank after trimming
      {true, "", "me", "secret", false},  // an anonymous login needs the host
      {false, "", "", "", false},
      {false, " \t", " ", " ", false},
      {false, "", "me", "", true},
      {false, "", "", "secret", true},
      {false, "host", "", "", true},
  };
  for (const Case& c : cases) {
    TLoginInformation login;
    login.SetAnonymous(c.anonymous);
    login.SetHostname(c.host);
    login.SetUsername(c.user);
    login.SetPassword(c.password);
    EXPECT_EQ(login.IsValid(), c.valid) << "anonymous=" << c.anonymous << " host='" << c.host << "' user='"
                                        << c.user << "' password='" << c.password << "'";
  }
}

TEST(LoginInformationTest, AssignCopiesAllSixValues) {
  TLoginInformation from;
  from.SetAnonymous(false);
  from.SetDirectory("pub\\setup");
  from.SetHostname("ftp.example.org");
  from.SetPassword("secret");
  from.SetProtocol(ipFTP);
  from.SetUsername("me");
  TLoginInformation to;
  to.Assign(from);
  EXPECT_FALSE(to.Anonymous());
  EXPECT_EQ(to.Directory(), "pub\\setup");
  EXPECT_EQ(to.Hostname(), "ftp.example.org");
  EXPECT_EQ(to.Password(), "secret");
  EXPECT_EQ(to.Protocol(), ipFTP);
  EXPECT_EQ(to.Username(), "me");
}

TEST(LoginInformationTest, URLFormOfDirectories) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "/"},
      {"  ", "/"},
      {"pub\\setup", "pub/setup"},
      {"\\pub\\setup\\", "/pub/setup/"},
      {"pub/setup", "pub/setup"},
      {" a b\\c ", " a b/c "},  // only the separators change
  };
  for (const auto& [dir, url] : cases) EXPECT_EQ(ToURLPath(dir), url) << "'" << dir << "'";
}

TEST(LoginInformationTest, HttpObjectNames) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"", "Files.1", "/Files.1"},
      {"   ", "Files.1", "/Files.1"},
      {"dir", "Files.1", "dir/Files.1"},
      {"pub\\setup", "Files.1", "pub/setup/Files.1"},
      {"\\pub\\setup\\", "Files.1", "/pub/setup/Files.1"},
      {"pub/setup/", "Files.1", "pub/setup/Files.1"},  // no second separator
  };
  for (const auto& [dir, name, object] : cases) EXPECT_EQ(HttpObjectName(dir, name), object) << "'" << dir << "'";
}

TEST(LoginInformationTest, HostnameMayCarryAPort) {
  struct Case {
    const char* hostname;
    const char* host;
    uint16_t port;
  };
  const Case cases[] = {
      {"ftp.example.org", "ftp.example.org", 0},
      {"ftp.example.org:2121", "ftp.example.org", 2121},
      {" 127.0.0.1:80 ", "127.0.0.1", 80},
      {"[::1]:2121", "::1", 2121},
      {"[::1]", "::1", 0},
      {"::1", "::1", 0},
      {"fe80::1:21", "fe80::1:21", 0},  // without brackets the colons are the address's
      {"host:0", "host:0", 0},          // not a port: left for the lookup to refuse
      {"host:65536", "host:65536", 0},
      {"host:21x", "host:21x", 0},
      {"host:", "host:", 0},
      {"[::1]:x", "[::1]:x", 0},
  };
  for (const Case& c : cases) {
    const NetServerAddress a = SplitHostPort(c.hostname);
    EXPECT_EQ(a.host, c.host) << c.hostname;
    EXPECT_EQ(a.port, c.port) << c.hostname;
  }
}

TEST(NetLocationTest, ScriptSetsTheLoginThroughLoginInformation) {
  ComponentPtr<> root = ReadComponentFromText(
      "object WebSite: TNetInstallLocation\n"
      "  LoginInformation.Anonymous = False\n"
      "  LoginInformation.Directory = 'pub\\setup'\n"
      "  LoginInformation.Hostname = 'ftp.example.org'\n"
      "  LoginInformation.Protocol = ipFTP\n"
      "  LoginInformation.Username = 'me'\n"
      "end\n",
      "site.dfm");
  auto* loc = dynamic_cast<TNetInstallLocation*>(root.get());
  ASSERT_NE(loc, nullptr);
  EXPECT_EQ(loc->LoginInformation()->Hostname(), "ftp.example.org");
  EXPECT_EQ(loc->LoginInformation()->Directory(), "pub\\setup");
  EXPECT_EQ(loc->LoginInformation()->Protocol(), ipFTP);
  EXPECT_FALSE(loc->LoginInformation()->Anonymous());
  EXPECT_EQ(loc->LoginInformation()->Username(), "me");
  EXPECT_EQ(loc->LoginInformation()->Location(), loc);
}

TEST(NetLocationTest, SetLoginInformationCopiesIntoTheOwnedObject) {
  ComponentPtr<TNetInstallLocation> loc = CreateUnowned<TNetInstallLocation>();
  TLoginInformation given;
  given.SetHostname("www.example.org");
  given.SetDirectory("setup");
  loc->SetLoginInformation(&given);
  EXPECT_NE(loc->LoginInformation(), &given);
  EXPECT_EQ(loc->LoginInformation()->Hostname(), "www.example.org");
  EXPECT_EQ(loc->LoginInformation()->Directory(), "setup");
}

TEST(NetLocationTest, LocationsEnterAndLeaveTheProcessWideLists) {
  const int before = NetLocations().Count();
  ComponentPtr<TNetInstallLocation> a = CreateUnowned<TNetInstallLocation>();
  ComponentPtr<TNetInstallLocation> b = CreateUnowned<TNetInstallLocation>();
  EXPECT_EQ(NetLocations().Count(), before + 2);
  EXPECT_GE(NetLocations().IndexOf(a.get()), 0);

  SetCurrentNetLocation(a.get());
  a.reset();
  EXPECT_EQ(CurrentNetLocation(), nullptr) << "the current location is cleared when it is destroyed";
  EXPECT_EQ(NetLocations().Count(), before + 1);
  EXPECT_EQ(NetLocations().IndexOf(b.get()), before);
  b.reset();
  EXPECT_EQ(NetLocations().Count(), before);
}

TEST(NetLocationTest, ABlankLocationIsRefusedByTheList) {
  TCustomNetInstallLocationList list;
  try {
    list.Add(nullptr);
    FAIL() << "no exception";
  } catch (const IENetList& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot add a blank location to the global net location list. ", 0), 0u)
        << e.what();
  }
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.Items(0), EListError);
}

}  // namespace
}  // namespace wenmoor
