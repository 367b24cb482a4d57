// Sub-commands of the `wenmoor` tool register themselves by name:
//
//   int RunReg(const std::vector<std::string>& args);   // args after "reg"
//   WENMOOR_COMMAND("reg", "Query and edit the emulated registry", RunReg)
//
// A command returns the exit status: 0 on success, 1 on failure after one
// clear line on standard error.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wenmoor::tool {

using CommandFn = std::function<int(const std::vector<std::string>& args)>;

struct Command {
  std::string summary;
  CommandFn run;
};

std::map<std::string, Command>& Commands();

struct CommandRegistrar {
  CommandRegistrar(const std::string& name, const std::string& summary, CommandFn run) {
    Commands()[name] = Command{summary, std::move(run)};
  }
};

}  // namespace wenmoor::tool

#define WENMOOR_COMMAND_CAT2(a, b) a##b
#define WENMOOR_COMMAND_CAT(a, b) WENMOOR_COMMAND_CAT2(a, b)
#define WENMOOR_COMMAND(name, summary, fn) \
  static ::wenmoor::tool::CommandRegistrar WENMOOR_COMMAND_CAT(wenmoor_command_, __LINE__)(name, summary, fn);
