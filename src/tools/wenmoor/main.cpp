// `wenmoor`: the tool for people who build and debug installations.
// Sub-commands in the style of git: wenmoor <command> [arguments].
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/wenmoor/command.h"

namespace wenmoor::tool {

std::map<std::string, Command>& Commands() {
  static std::map<std::string, Command> commands;
  return commands;
}

namespace {
void Usage(FILE* out) {
  std::fprintf(out, "usage: wenmoor <command> [arguments]\n\ncommands:\n");
  for (const auto& [name, cmd] : Commands()) std::fprintf(out, "  %-10s %s\n", name.c_str(), cmd.summary.c_str());
  std::fprintf(out, "\nThe emulated machine is the prefix named by WINEPREFIX (default ~/.wine).\n");
}
}  // namespace

}  // namespace wenmoor::tool

int main(int argc, char** argv) {
  using namespace wenmoor::tool;
  if (argc < 2) {
    Usage(stderr);
    return 1;
  }
  std::string name = argv[1];
  if (name == "-h" || name == "--help" || name == "help") {
    Usage(stdout);
    return 0;
  }
  auto it = Commands().find(name);
  if (it == Commands().end()) {
    std::fprintf(stderr, "wenmoor: '%s' is not a command; 'wenmoor help' lists them\n", name.c_str());
    return 1;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  try {
    return it->second.run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "wenmoor %s: %s\n", name.c_str(), e.what());
    return 1;
  }
}
