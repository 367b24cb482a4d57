// quarry-setup: the setup program of the Quarry Database Engine. Its install
// script is built in (the product's main form with the engine, directories,
// files, registry entries and dialogs); it takes exactly the command line of
// the install component: -b builds the distribution from BUILD.INF beside
// the program, no switch installs.
//
// Exit status: 0 completed (or built), 1 failed, 2 aborted by the user,
// 3 a restart is pending.
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/frmMain.h"
#include "tools/wenmoor-setup/setup_program.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return wenmoor::RunSetupProgram(args, &quarry::BuiltInScript(), quarry::CreateMainForm);
}
