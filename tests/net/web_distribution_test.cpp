// A web distribution from end to end with the real programs: the developer
// builds it, puts the net directory on a loopback HTTP or FTP server, and a
// user's setup.exe downloads the remote list of files and the archives while
// it installs. Every test runs over both protocols.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <random>
#include <set>

#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "dialogs/ordlg_CopyFile.h"
#include "engine/cmp_TInstall.h"
#include "net/servers.h"
#include "platform/rtl/form_reader.h"
#include "platform/ui/application.h"
#include "tools/distribution_fixture.h"

namespace wenmoor::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// What differs between the protocols: the location's setting, what the
// server logs for a file fetched from pub/setup, and how a file missing on
// the server is reported.
struct Protocol {
  const char* name;
  const char* value;  // LoginInformation.Protocol
  std::string (*fetch)(const std::string& file);
  const char* missing;  // the text for a missing Dir1.1
  const char* missing_request;  // what the server logs when asked for it
};

const Protocol kProtocols[] = {
    {"Http", "ipHTTP", [](const std::string& file) { return "GET /pub/setup/" + file + " HTTP/1.1"; },
     "Could not find the file Dir1.1 on the server", "GET /pub/setup/Dir1.1 HTTP/1.1"},
    {"Ftp", "ipFTP", [](const std::string& file) { return "RETR " + file; }, "Cannot open file Dir1.1 on server",
     "SIZE Dir1.1"},  // the size is asked first, and its refusal ends the attempt
};

void PrintTo(const Protocol& protocol, std::ostream* out) { *out << protocol.name; }

// The smoke product's script distributed over the net: a location on the
// test server and the engine's DistributeType (`type`).
std::string NetScript(const std::string& host, const Protocol& protocol, const std::string& type) {
  std::string script = kSmokeScript;
  const std::string engine = "  object Install1: TInstall\n";
  script.replace(script.find(engine), engine.size(),
                 "  object Net1: TNetInstallLocation\n"
                 "    LoginInformation.Hostname = '" + host + "'\n"
                 "    LoginInformation.Directory = 'pub\\setup'\n"
                 "    LoginInformation.Protocol = " + protocol.value + "\n"
                 "  end\n" + engine +
                 "    DistributeType = " + type + "\n"
                 "    NetLocation = Net1\n");
  return script;
}

class WebDistributionTest : public DistributionFixture, public ::testing::WithParamInterface<Protocol> {
 protected:
  WebDistributionTest() {
    if (IsFtp()) ftp_.emplace(www_.Path());
    else http_.emplace(www_.Path());
    SetScript(NetScript(HostPort(), GetParam(), "dtWeb"));
  }

  bool IsFtp() const { return std::string(GetParam().value) == "ipFTP"; }
  std::string HostPort() const { return http_ ? http_->HostPort() : ftp_->HostPort(); }
  // The log line of the server for fetching `file` from pub/setup.
  std::string Fetch(const std::string& file) const { return GetParam().fetch(file); }

  // The build's net directory: host and server directory without the
  // characters that a file name cannot carry.
  fs::path NetDir() const {
    std::string host = HostPort();
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
  // What the server received: HTTP request lines, or the FTP commands
  // with the one that logs in.
  std::vector<std::string> RequestLines() const {
    if (ftp_) return ftp_->Commands();
    std::vector<std::string> lines;
    for (const auto& r : http_->Requests()) lines.push_back(r.line);
    return lines;
  }
  // The files fetched, in order, from the server's log.
  std::vector<std::string> Fetched() const {
    std::vector<std::string> files;
    for (const std::string& line : RequestLines())
      for (const char* file : {"filelist.lst", "Dir1.1", "UninstallDir.1", "Install1.1"})
        if (line == Fetch(file)) files.push_back(file);
    return files;
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
  std::optional<HttpTestServer> http_;
  std::optional<FtpTestServer> ftp_;
};

TEST_P(WebDistributionTest, BuildPutsArchivesAndListInTheNetDirectoryAndSetupFetchesThem) {
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
  const std::vector<std::string> fetched = Fetched();
  ASSERT_FALSE(fetched.empty());
  EXPECT_EQ(fetched.front(), "filelist.lst") << "the list comes first";
  EXPECT_THAT(fetched, Contains("Dir1.1"));
  if (IsFtp()) {
    const std::vector<std::string> commands = RequestLines();
    EXPECT_THAT(commands, Contains("USER anonymous"));
    const auto cwd = std::find(commands.begin(), commands.end(), "CWD pub/setup");
    EXPECT_TRUE(cwd < std::find(commands.begin(), commands.end(), "TYPE I") &&
                cwd < std::find(commands.begin(), commands.end(), Fetch("filelist.lst")))
        << "the server's directory is set before a binary transfer";
  }
  EXPECT_TRUE(LeftArchives().empty()) << "downloaded archives go with the installation record";
}

TEST_P(WebDistributionTest, ArchiveMissingOnTheServerFailsTheRunAndARepeatFetchesOnlyWhatIsMissing) {
  ASSERT_EQ(Build().status, 0);
  Upload({"Dir1.1"});
  Outcome failed = Run(build_dir() / "setup.exe", "");
  EXPECT_EQ(failed.status, 1) << failed.output;
  EXPECT_THAT(failed.output, HasSubstr(GetParam().missing));
  EXPECT_THAT(RequestLines(), Contains(GetParam().missing_request));
  EXPECT_FALSE(fs::exists(product_dir() / "Data" / "a.txt"));

  const std::vector<std::string> first = Fetched();
  Upload();
  Outcome run = Run(build_dir() / "setup.exe", "");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "b.bin"), ReadHostFile(src_dir() / "b.bin"));
  EXPECT_THAT(first, Contains("UninstallDir.1"));
  const std::vector<std::string> all = Fetched();
  EXPECT_THAT(std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(first.size()), all.end()),
              ::testing::ElementsAre("filelist.lst", "Dir1.1"))
      << "the archive that the failed run downloaded is recorded and not fetched again";
  EXPECT_TRUE(LeftArchives().empty());
}

// A traditional-net distribution keeps in files.1 what is not marked Net
// and fetches only the rest.
TEST_P(WebDistributionTest, TraditionalNetFetchesOnlyTheNetFiles) {
  std::string script = NetScript(HostPort(), GetParam(), "dtTraditionalNet");
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
  // The uninstaller is a net file unless the script says otherwise.
  EXPECT_THAT(Fetched(), ::testing::UnorderedElementsAre("filelist.lst", "Dir1.1", "UninstallDir.1"));
  EXPECT_TRUE(LeftArchives().empty());
}

// The copy-progress window of a script that has one, looked at each time
// the program lets the user interface paint: while an archive arrives it
// names the archive and shows the share received, with the transfer
// picture; then it shows the files being unpacked.
TEST_P(WebDistributionTest, CopyProgressWindowFollowsTheDownload) {
  std::string script = NetScript(HostPort(), GetParam(), "dtWeb");
  script.replace(script.rfind("end"), 3,
                 "  object DuringCopy: TDialogManager\n"
                 "    Container = Install1\n"
                 "    ManagerType = dmDuringCopyFiles\n"
                 "  end\n"
                 "  object CopyFileDlg: TCopyFileDlg\n"
                 "    Container = Install1\n"
                 "    DialogManager = DuringCopy\n"
                 "  end\n"
                 "end");
  SetScript(script);
  // Bytes that do not compress, so that the archive takes several blocks.
  std::mt19937 random(7);
  std::string noise(60000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  WriteHostFile(src_dir() / "b.bin", noise);
  ASSERT_EQ(Build().status, 0);
  Upload();
  const size_t archive_size = fs::file_size(NetDir() / "Dir1.1");
  ASSERT_GT(archive_size, 2u * 8192u) << "several blocks, so that the progress can be seen to move";

  // The user's run, in this process so that the window can be looked at.
  struct Seen {
    std::string file;
    int file_percent = 0;
    int total_percent = 0;
    bool transfer = false;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  TCopyFileDlg* dialog = nullptr;
  platform::Machine::TestScope machine(prefix());
  TApplication& app = TApplication::Instance();
  app.SetExeName(WinOf(program()));
  app.SetParams({"-s" + WinOf(build_dir())});  // as the loading program starts it
  // Leaves the application as the next test expects it, however this one ends.
  struct Restore {
    std::function<void()> hook;
    ~Restore() {
      SetProcessMessagesHook(hook);
      TApplication::Instance().SetMainForm(nullptr);
      TApplication::Instance().ClearTerminated();
    }
  } restore{SetProcessMessagesHook([&] {
    auto* form = dialog ? dynamic_cast<TCopyFileForm*>(dialog->Form()) : nullptr;
    if (!form || !form->Visible()) return;
    const Seen now{form->CopyingFile()->Caption(), form->FileProgress()->Position(),
                   form->TotalProgress()->Position(), form->TransferBitmap()->Visible()};
    if (seen.empty() || !(seen.back() == now)) seen.push_back(now);
  })};
  {
    ComponentPtr<TForm> form = CreateUnowned<TForm>();
    app.SetMainForm(form.get());
    ReadRootComponentFromText(ReadHostFile(prog_dir() / "wenmoor-setup.dfm"), "wenmoor-setup.dfm", *form);
    dialog = dynamic_cast<TCopyFileDlg*>(form->FindComponent("CopyFileDlg"));
    ASSERT_NE(dialog, nullptr);
    form->SetVisible(true);
    form->Activate();
    EXPECT_EQ(ExitStatusOf(CurrentInstall()->Result()), 0);
    dialog = nullptr;
  }
  EXPECT_TRUE(ReadHostFile(product_dir() / "Data" / "b.bin") == noise) << "b.bin is installed";

  std::vector<int> download;
  for (const Seen& s : seen)
    if (s.file == "Dir1.1") {
      EXPECT_TRUE(s.transfer) << "the transfer picture shows while an archive arrives";
      download.push_back(s.file_percent);
    }
  std::vector<int> expected;
  for (size_t total = 8192; total < archive_size; total += 8192)
    expected.push_back(static_cast<int>((total * 100 + archive_size / 2) / archive_size));
  expected.push_back(100);
  EXPECT_EQ(download, expected) << "one step for each block received";

  // The unpacking: the transfer picture gone, the file's share rising to
  // the whole, and the total somewhere on its way.
  std::vector<int> unpacked;
  bool total_between = false;
  for (const Seen& s : seen) {
    if (s.transfer) continue;
    if (s.file == "b.bin") unpacked.push_back(s.file_percent);
    total_between = total_between || (s.total_percent > 0 && s.total_percent < 100);
  }
  ASSERT_GT(unpacked.size(), 1u) << "the unpacking of b.bin is shown after the download";
  EXPECT_TRUE(std::is_sorted(unpacked.begin(), unpacked.end()));
  EXPECT_EQ(unpacked.back(), 100);
  EXPECT_TRUE(total_between) << "the total progress moves";
}

INSTANTIATE_TEST_SUITE_P(Protocols, WebDistributionTest, ::testing::ValuesIn(kProtocols),
                         [](const ::testing::TestParamInfo<Protocol>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wenmoor::test
