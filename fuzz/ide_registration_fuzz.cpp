// The IDE settings that the package registration reads and rewrites come
// from outside: the palette page's class list, the library search path and
// the IDE's help contents file. Any of them ends in a registration without
// a crash, with every class on the page, the package's directory on the
// search path once, and the help file linked. The input is the three texts
// separated by NUL bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/VCLInstall.h"
#include "app/demo_prefix.h"
#include "fuzz_machine.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/registry.h"

namespace fs = std::filesystem;
using namespace wenmoor;

namespace {

constexpr const char* kRoot = "C:\\IDE";
constexpr const char* kPackage = "C:\\Q\\Delphi4\\dclqry14d4.bpl";

// A machine with Delphi 4 for the whole run.
void EnterMachine() {
  static const bool ready = [] {
    fuzz::FuzzMachine::Get("wenmoor-ide-fuzz");
    quarry::RegisterDemoIde(quarry::ideDelphi4, kRoot);
    return true;
  }();
  static_cast<void>(ready);
}

std::vector<std::string> Split(std::string_view data) {
  std::vector<std::string> parts(3);
  size_t part = 0;
  for (char c : data) {
    if (c == '\0') {
      if (++part == parts.size()) break;
    } else {
      parts[part].push_back(c);
    }
  }
  return parts;
}

std::string Read(const std::string& path) {
  TFileStream in(path, fmOpenRead);
  std::string text(static_cast<size_t>(in.Size()), '\0');
  in.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  EnterMachine();
  const std::vector<std::string> parts = Split(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string key = quarry::IdeRegKey(quarry::ideDelphi4);
  {
    TRegistry user;
    user.SetRootKey(HKEY_CURRENT_USER);
    if (!user.OpenKey(key + "\\Palette", false)) std::abort();
    user.WriteString("Data Access", parts[0]);
    if (!user.OpenKey(key + "\\Library", false)) std::abort();
    user.WriteString("Search Path", parts[1]);
  }
  {
    TFileStream out(std::string(kRoot) + "\\Help\\delphi4.ohl", fmCreate);
    out.WriteBuffer(parts[2].data(), static_cast<int64_t>(parts[2].size()));
  }

  quarry::TInstallLog log;
  quarry::TPackageInstaller installer(log);
  const std::vector<std::string> classes{"TQryDatabase", "TQryTable", "TQryQuery"};
  installer.PreparePalette(quarry::ideDelphi4, "Data Access", classes);
  installer.InstallPackage(quarry::ideDelphi4, kPackage, {"dclqry13d4.bpl", "dclqry14d4.bpl"},
                           "Quarry Database Engine");
  installer.InstallHelp(quarry::ideDelphi4, "quarry.hlp");

  TRegistry user;
  user.SetRootKey(HKEY_CURRENT_USER);
  if (!user.OpenKeyReadOnly(key + "\\Palette")) std::abort();
  const std::vector<std::string> page = quarry::ListEntries(user.ReadString("Data Access"), ';');
  for (const std::string& c : classes) {
    int found = 0;
    for (const std::string& e : page) found += CompareText(e, c) == 0 ? 1 : 0;
    if (found == 0) std::abort();
  }
  if (!user.OpenKeyReadOnly(key + "\\Library")) std::abort();
  int listed = 0;
  for (const std::string& e : quarry::ListEntries(user.ReadString("Search Path"), ';'))
    listed += CompareText(ExcludeTrailingBackslash(e), "C:\\Q\\Delphi4") == 0 ? 1 : 0;
  if (listed == 0) std::abort();
  if (Read(std::string(kRoot) + "\\Help\\delphi4.ohl").find("quarry.hlp") == std::string::npos) std::abort();
  return 0;
}
