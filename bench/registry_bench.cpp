// The registry store at the size of a real Wine prefix.
//
//   build/bin/registry_bench
//
// BM_WriteRegistryString: 10,000 WriteRegistryString calls on a prefix whose
// system.reg is the Wine 8 fixture padded to 2 MB. Reports the time per call
// and the bytes the process handed to write(2) per call (wchar of
// /proc/self/io; folds of the journal into system.reg included), next to the
// size of system.reg: a call must cost far less than rewriting the file.
// The closing Sync (fold + fsync) is counted in the bytes and timed apart.
// BM_LoadWinePrefix: opening the fixture's store and reading one value.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win/machine.h"
#include "platform/win/registry_store.h"
#include "registry/routines_Registry.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFixture = fs::path(WENMOOR_SHARED_FIXTURES) / "wine8-prefix";

uint64_t WrittenChars() {
  std::ifstream io("/proc/self/io");
  std::string key;
  uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "wchar:") return value;
  }
  return 0;
}

fs::path MakePrefix(const std::string& tag, uint64_t pad_to) {
  const fs::path prefix = fs::temp_directory_path() / ("wenmoor-bench-" + tag + "-" + std::to_string(getpid()));
  fs::remove_all(prefix);
  fs::create_directories(prefix / "drive_c");
  for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
    fs::copy_file(kFixture / name, prefix / name);
    fs::permissions(prefix / name, fs::perms::owner_write, fs::perm_options::add);
  }
  // Pad system.reg with keys in Wine's form, as a prefix with many programs has.
  std::ofstream out(prefix / "system.reg", std::ios::app);
  for (int i = 0; fs::file_size(prefix / "system.reg") < pad_to; ++i) {
    for (int k = 0; k < 100; ++k, ++i) {
      out << "\n[Software\\\\Padding\\\\Vendor" << i / 100 << "\\\\Product" << i << "] 1796986036\n"
          << "#time=1dd895cfcbb5f0a\n\"InstallPath\"=\"C:\\\\Program Files\\\\Product" << i << "\"\n"
          << "\"Version\"=dword:" << std::hex << i << std::dec << "\n";
    }
    out.flush();
  }
  return prefix;
}

void BM_WriteRegistryString(benchmark::State& state) {
  const fs::path prefix = MakePrefix("write", 2u << 20);
  const auto hive_size = fs::file_size(prefix / "system.reg");
  {
    wenmoor::platform::Machine::TestScope scope(prefix);
    wenmoor::platform::CurrentRegistry().KeyExists(wenmoor::platform::RootKey::LocalMachine, "Software");
    const uint64_t before = WrittenChars();
    int n = 0;
    for (auto _ : state) {
      wenmoor::WriteRegistryString(wenmoor::hkLocalMachine, "\\Software\\Fennick Software\\Qry\\Files",
                                   "File" + std::to_string(n), "C:\\Program Files\\Qry\\file" + std::to_string(n));
      ++n;
    }
    // The fold of the journal into system.reg that ends the run belongs to
    // the cost of these calls: it is counted in the bytes and timed apart.
    const auto fold_start = std::chrono::steady_clock::now();
    wenmoor::platform::CurrentRegistry().Sync();
    const std::chrono::duration<double, std::milli> fold = std::chrono::steady_clock::now() - fold_start;
    const double calls = static_cast<double>(state.iterations());
    state.counters["write_bytes_per_call"] = static_cast<double>(WrittenChars() - before) / calls;
    state.counters["hive_bytes"] = static_cast<double>(hive_size);
    state.counters["final_sync_ms"] = fold.count();
  }
  fs::remove_all(prefix);
}
BENCHMARK(BM_WriteRegistryString)->Iterations(10000)->Unit(benchmark::kMicrosecond);

void BM_LoadWinePrefix(benchmark::State& state) {
  const fs::path prefix = MakePrefix("load", 0);
  for (auto _ : state) {
    wenmoor::platform::RegistryStore store(prefix);
    benchmark::DoNotOptimize(store.QueryValue(wenmoor::platform::RootKey::LocalMachine,
                                              "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion"));
  }
  state.counters["hive_bytes"] = static_cast<double>(fs::file_size(prefix / "system.reg"));
  fs::remove_all(prefix);
}
BENCHMARK(BM_LoadWinePrefix)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
