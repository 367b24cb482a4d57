// `wenmoor prefix`: create the emulated machine and look at its paths.
//
//   wenmoor prefix create [DIR]             the prefix DIR, or $WINEPREFIX (~/.wine)
//   wenmoor prefix path "C:\Program Files"  the host path behind a Windows path
//   wenmoor prefix winpath /home/me/x       the Windows path of a host path
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/prefix.h"
#include "platform/win/win_error.h"
#include "tools/wenmoor/command.h"

namespace wenmoor::tool {

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: wenmoor prefix create [DIR]\n"
               "       wenmoor prefix path WINDOWS-PATH\n"
               "       wenmoor prefix winpath HOST-PATH\n");
  return 1;
}

int RunPrefix(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const std::string& verb = args[0];
  if (verb == "create" && args.size() <= 2) {
    const std::filesystem::path dir =
        args.size() == 2 ? std::filesystem::absolute(args[1]) : platform::Machine::DefaultPrefixPath();
    if (platform::CreatePrefix(dir)) std::printf("created %s\n", dir.c_str());
    else std::printf("%s exists; left as it is\n", dir.c_str());
    return 0;
  }
  if (verb == "path" && args.size() == 2) {
    std::optional<std::filesystem::path> host = platform::Machine::Current().Paths().ToHost(args[1]);
    if (!host) {
      std::fprintf(stderr, "wenmoor prefix: %s: %s\n", args[1].c_str(),
                   platform::FormatMessage(platform::GetLastError()).c_str());
      return 1;
    }
    std::printf("%s\n", host->c_str());
    return 0;
  }
  if (verb == "winpath" && args.size() == 2) {
    std::printf("%s\n", platform::Machine::Current().Paths().ToWindows(args[1]).c_str());
    return 0;
  }
  return Usage();
}

}  // namespace

WENMOOR_COMMAND("prefix", "Create the emulated machine and map its paths", RunPrefix)

}  // namespace wenmoor::tool
