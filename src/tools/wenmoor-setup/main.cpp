// wenmoor-setup: the generic setup program. It runs any product's install
// script, with no product code of its own: the main form is read from the
// form text file named like the program with the extension ".dfm", beside
// it; the install component on that form reads the command line and picks
// its mode (build, floppy transfer, resume, install).
//
// Exit status: 0 completed (or built), 1 failed, 2 aborted by the user,
// 3 a restart is pending.
#include <string>
#include <vector>

#include "setup_program.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return wenmoor::RunSetupProgram(args, /*script=*/nullptr);
}
