// quarry-demo-prefix: prepares the machine named by WINEPREFIX (created when
// missing) for a demonstration of the Quarry setup program: Delphi 4 is
// registered there as installed, with a small IDE directory and its help
// contents file. Running it again changes nothing.
//
// Exit status 0 on success, 1 with one line on standard error on failure.
#include <cstdio>
#include <exception>

#include "app/demo_prefix.h"
#include "app/ide_table.h"
#include "platform/win/machine.h"

int main(int argc, char** argv) {
  if (argc > 1) {
    std::fprintf(stderr, "usage: %s (the machine is named by WINEPREFIX)\n", argv[0]);
    return 1;
  }
  try {
    wenmoor::platform::Machine& machine = wenmoor::platform::Machine::Current();
    const std::string root = quarry::DefaultDemoIdeRoot(quarry::ideDelphi4);
    quarry::RegisterDemoIde(quarry::ideDelphi4, root);
    std::printf("%s: Delphi 4 registered in %s\n", machine.Prefix().c_str(), root.c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
