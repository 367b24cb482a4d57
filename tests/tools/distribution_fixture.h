// A developer's build of a small product and a user's machine, for tests that
// run the real programs: the generic setup program (without debugging
// information, as a product would ship it) with its script beside it, a few
// source files, a fresh prefix, and helpers that run programs headless and
// look at the prefix afterwards.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "common/script_fixture.h"
#include "platform/win/machine.h"
#include "platform/win/registry.h"

namespace wenmoor::test {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string output;  // standard output and error together
};

inline std::string ReadHostFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteHostFile(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

// The Windows path under which the machine sees a host path (drive Z:).
inline std::string WinOf(const fs::path& host) {
  std::string s = "Z:" + host.string();
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

inline fs::path FrameworkDir() { return fs::path(WENMOOR_BIN_DIR).parent_path() / "framework"; }

// The script of the product "Smoke Product": two files in "\Data" below
// "C:\Program Files\Smoke", the uninstaller in "\Uninstall", one registry
// key with two values. `SRC`, `PROG` and `FW` stand for the source,
// program and framework directories.
inline const char* kSmokeScript = R"(object MainForm: TForm
  Caption = 'Smoke setup'
  object Install1: TInstall
    DestDir = '\Smoke'
    DestDirType = psProgramFiles
    Information.CompanyName = 'Example Company'
    Information.ProductName = 'Smoke Product'
    Information.Version = '1.0'
    PresetupFiles.Strings = (
      'PROG\wenmoor-setup.dfm')
  end
  object Dir1: TInstallDirectory
    Container = Install1
    DestDirType = psContainerDestDir
    DestDir = '\Data'
    ArchiveFileType = psContainerArchiveFile
  end
  object UninstallDir: TInstallDirectory
    Container = Install1
    DestDirType = psContainerDestDir
    DestDir = '\Uninstall'
    ArchiveFileType = psContainerArchiveFile
  end
  object IFa_txt: TInstallFile
    Container = Dir1
    FileName = 'a.txt'
    DestName = 'a.txt'
    IncludeFromDir = 'SRC'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    UniqueID = 10
  end
  object IFb_bin: TInstallFile
    Container = Dir1
    FileName = 'b.bin'
    DestName = 'b.bin'
    IncludeFromDir = 'SRC'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    UniqueID = 11
  end
  object Uninstaller: TUninstallEXE
    Container = UninstallDir
    FileName = 'uninstall.exe'
    DestName = 'uninstall.exe'
    IncludeFromDir = 'FW'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object Reg1: TInstallRegistry
    Container = Install1
    Key = '\Software\Example Company\Smoke'
    Entries = <
      item
        Ident = 'Ver'
        Text = '1.0'
      end
      item
        Ident = 'Count'
        Integer = 7
        EntryType = retInteger
      end>
  end
end
)";

class DistributionFixture : public ::testing::Test {
 protected:
  DistributionFixture() : dir_(testing::MakeTempDir()) {
    fs::create_directories(prog_dir());
    fs::create_directories(build_dir());
    // A product ships its program without debugging information; it keeps
    // the archives small and the tests quick.
    const fs::path setup = fs::path(WENMOOR_BIN_DIR) / "wenmoor-setup";
    const std::string strip = "objcopy --strip-debug '" + setup.string() + "' '" + program().string() + "' 2>/dev/null";
    if (std::system(strip.c_str()) != 0) fs::copy_file(setup, program(), fs::copy_options::overwrite_existing);
    WriteHostFile(src_dir() / "a.txt", "hello from a\r\n");
    std::string binary;
    for (int i = 0; i < 100000; ++i) binary.push_back(static_cast<char>((i * 7919) ^ (i >> 5)));
    WriteHostFile(src_dir() / "b.bin", binary);
    SetScript(kSmokeScript);
    WriteHostFile(prog_dir() / "BUILD.INF", WinOf(build_dir()) + "\r\n");
  }
  ~DistributionFixture() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  fs::path prefix() const { return dir_ / "prefix"; }
  fs::path prog_dir() const { return dir_ / "prog"; }
  fs::path program() const { return prog_dir() / "wenmoor-setup"; }
  fs::path src_dir() const { return dir_ / "src"; }
  fs::path build_dir() const { return dir_ / "out"; }
  fs::path drive_c() const { return prefix() / "drive_c"; }
  fs::path product_dir() const { return drive_c() / "Program Files" / "Smoke"; }

  // The script with its placeholders filled in.
  void SetScript(std::string text) {
    auto replace_all = [&](const std::string& what, const std::string& with) {
      for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
    };
    replace_all("'SRC'", "'" + WinOf(src_dir()) + "'");
    replace_all("'FW'", "'" + WinOf(FrameworkDir()) + "'");
    replace_all("'PROG\\", "'" + WinOf(prog_dir()) + "\\");
    WriteHostFile(prog_dir() / "wenmoor-setup.dfm", text);
  }

  // Runs `program` with `args` on this machine, headless, with `env`
  // (assignments) before it.
  Outcome Run(const fs::path& prog, const std::string& args, const std::string& env = "") const {
    const std::string command = "cd '" + dir_.string() + "' && env WINEPREFIX='" + prefix().string() +
                                "' WENMOOR_UI=headless TZ=UTC " + env + " '" + prog.string() + "' " + args + " 2>&1";
    Outcome out;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.output.append(buf.data(), n);
    const int raw = pclose(pipe);
    out.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
  }
  Outcome Build() const { return Run(program(), "-b"); }
  Outcome Wenmoor(const std::string& args) const { return Run(fs::path(WENMOOR_BIN_DIR) / "wenmoor", args); }

  // A string or integer value of the machine's registry, read afresh; nullopt when missing.
  std::optional<std::string> RegValue(HKEY root, const std::string& key, const std::string& name) const {
    platform::Machine::TestScope scope(prefix());
    TRegistry reg;
    reg.SetRootKey(root);
    if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(name)) return std::nullopt;
    if (reg.GetDataType(name) == rdInteger) return std::to_string(reg.ReadInteger(name));
    return reg.ReadString(name);
  }
  bool KeyExists(HKEY root, const std::string& key) const {
    platform::Machine::TestScope scope(prefix());
    TRegistry reg;
    reg.SetRootKey(root);
    return reg.KeyExists(key);
  }

 private:
  fs::path dir_;
};

}  // namespace wenmoor::test
