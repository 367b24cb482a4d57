// A web distribution from end to end with the real programs: the developer
// builds it, puts the net directory on a loopback HTTP server, and a user's
// setup.exe downloads the remote list of files and the archives while it
// installs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "net/servers.h"
#include "tools/distribution_fixture.h"

namespace wenmoor::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// The smoke product's script distributed over the net: a location on the
// test server and the engine's DistributeType (`type`).
std::string NetScript(const std::string& host, const std::string& type) {
  std::string script = kSmokeScript;
  const std::string engine = "  object Install1: TInstall\n";
  script.replace(script.find(engine), engine.size(),
                 "  object Net1: TNetInstallLocation\n"
                 "    LoginInformation.Hostname = '" + host + "'\n"
                 "    LoginInformation.Directory = 'pub\\setup'\n"
                 "  end\n" + engine +
                 "    DistributeType = " + type + "\n"
                 "    NetLocation = Net1\n");
  return script;
}

class WebDistributionTest : public DistributionFixture {
 protected:
  WebDistributionTest() : server_(www_.Path()) {
    SetScript(NetScript(server_.HostPort(), "dtWeb"));
  }

  // The build's net directory: host and server directory without the
  // characters that a file name cannot carry.
  fs::path NetDir() const {
    std::string host = server_.HostPort();
    host.erase(host.find(':'), 1);
    return build_dir() / host / "pubsetup";
  }
  // What the developer uploads: the net directory, as pub/setup.
  void Upload(const std::set<std::string>& skip = {}) const {
    for (const auto& e : fs::directory_iterator(NetDir())) {
      const std::string name = e.path().filename().string();
      if (!skip.count(name)) www_.Write("pub/setup/" + name, ReadHostFile(e.path()));
    }
  }
  std::vector<std::string> RequestLines() const {
    std::vector<std::string> lines;
    for (const auto& r : server_.Requests()) lines.push_back(r.line);
    return lines;
  }
  // Files with the extension ".1" anywhere in the machine's temporary directory.
  std::vector<fs::path> LeftArchives() const {
    std::vector<fs::path> found;
    const fs::path temp = drive_c() / "windows" / "temp";
    if (fs::exists(temp))
      for (const auto& e : fs::recursive_directory_iterator(temp))
        if (e.path().extension() == ".1") found.push_back(e.path());
    return found;
  }

  TempDir www_;
  HttpTestServer server_;
};

TEST_F(WebDistributionTest, BuildPutsArchivesAndListInTheNetDirectoryAndSetupFetchesThem) {
  Outcome built = Build();
  ASSERT_EQ(built.status, 0) << built.output;
  ASSERT_TRUE(fs::exists(NetDir() / "filelist.lst")) << built.output;
  EXPECT_TRUE(fs::exists(NetDir() / "Dir1.1")) << "the directory's files travel in its own archive";
  const std::string list = ReadHostFile(NetDir() / "filelist.lst");
  ASSERT_GE(list.size(), 4u);
  int32_t count = 0;
  std::memcpy(&count, list.data(), 4);
  EXPECT_EQ(list.size(), 4u + 80u * static_cast<size_t>(count));
  EXPECT_THAT(list, HasSubstr("IFa_txt"));
  EXPECT_THAT(list, HasSubstr("IFb_bin"));

  Upload();
  Outcome run = Run(build_dir() / "setup.exe", "");
  ASSERT_EQ(run.status, 0) << run.output;

  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "a.txt"), ReadHostFile(src_dir() / "a.txt"));
  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "b.bin"), ReadHostFile(src_dir() / "b.bin"));
  EXPECT_TRUE(fs::exists(product_dir() / "Uninstall" / "uninstall.exe"));
  const std::vector<std::string> requests = RequestLines();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front(), "GET /pub/setup/filelist.lst HTTP/1.1") << "the list comes first";
  EXPECT_THAT(requests, Contains("GET /pub/setup/Dir1.1 HTTP/1.1"));
  EXPECT_TRUE(LeftArchives().empty()) << "downloaded archives go with the installation record";
}

TEST_F(WebDistributionTest, ArchiveMissingOnTheServerFailsTheRunAndARepeatInstalls) {
  ASSERT_EQ(Build().status, 0);
  Upload({"Dir1.1"});
  Outcome failed = Run(build_dir() / "setup.exe", "");
  EXPECT_EQ(failed.status, 1) << failed.output;
  EXPECT_THAT(failed.output, HasSubstr("Could not find the file Dir1.1 on the server"));
  EXPECT_FALSE(fs::exists(product_dir() / "Data" / "a.txt"));

  Upload();
  Outcome run = Run(build_dir() / "setup.exe", "");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "b.bin"), ReadHostFile(src_dir() / "b.bin"));
  EXPECT_TRUE(LeftArchives().empty());
}

// A traditional-net distribution keeps in files.1 what is not marked Net
// and fetches only the rest.
TEST_F(WebDistributionTest, TraditionalNetFetchesOnlyTheNetFiles) {
  std::string script = NetScript(server_.HostPort(), "dtTraditionalNet");
  const std::string b_bin = "    FileName = 'b.bin'\n";
  script.replace(script.find(b_bin), b_bin.size(), b_bin + "    Net = True\n");
  SetScript(script);
  Outcome built = Build();
  ASSERT_EQ(built.status, 0) << built.output;
  ASSERT_TRUE(fs::exists(NetDir() / "Dir1.1")) << built.output;
  const std::string net_archive = ReadHostFile(NetDir() / "Dir1.1");
  EXPECT_THAT(net_archive, HasSubstr("b.bin"));
  EXPECT_THAT(net_archive, ::testing::Not(HasSubstr("a.txt"))) << "a.txt stays in files.1";
  EXPECT_TRUE(fs::exists(NetDir() / "filelist.lst"));

  Upload();
  Outcome run = Run(build_dir() / "setup.exe", "");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "a.txt"), ReadHostFile(src_dir() / "a.txt"));
  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "b.bin"), ReadHostFile(src_dir() / "b.bin"));
  const std::vector<std::string> requests = RequestLines();
  EXPECT_THAT(requests, Contains("GET /pub/setup/filelist.lst HTTP/1.1"));
  EXPECT_THAT(requests, Contains("GET /pub/setup/Dir1.1 HTTP/1.1"));
  EXPECT_TRUE(LeftArchives().empty());
}

}  // namespace
}  // namespace wenmoor::test
