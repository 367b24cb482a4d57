// A native self-registering server for the registration tests of install
// files. DllRegisterServer appends one line, "registered", to the file that
// WENMOOR_TEST_SERVER_MARK names and answers the number in
// WENMOOR_TEST_SERVER_RESULT (0 when unset). Built without
// WENMOOR_REGISTERS it exports nothing of the kind, as a plain library.
#include <cstdio>
#include <cstdlib>

#ifdef WENMOOR_REGISTERS
extern "C" __attribute__((visibility("default"))) int DllRegisterServer() {
  if (const char* mark = std::getenv("WENMOOR_TEST_SERVER_MARK")) {
    if (std::FILE* f = std::fopen(mark, "a")) {
      std::fputs("registered\n", f);
      std::fclose(f);
    }
  }
  const char* result = std::getenv("WENMOOR_TEST_SERVER_RESULT");
  return result ? static_cast<int>(std::strtol(result, nullptr, 0)) : 0;
}
#endif

extern "C" __attribute__((visibility("default"))) int TestServerVersion() { return 1; }
