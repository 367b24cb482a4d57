// Cost of mapping Windows paths to host paths on a deep tree.
//
//   build/bin/paths_bench
//
// The tree: 8 levels of directories named "Level N Dir", each with 200
// files ("File Number NNN.txt"), under C:\ of a fresh prefix. Lookups:
//   Exact             the whole path spelled as stored (one stat())
//   CaseInsensitive   every component in other case, listings cached
//   ColdCache         the same with the cache cleared before each lookup
//                     (a readdir() scan of every directory on the way)
//   NewFile           an existing directory in other case plus a new name
//   ShortPathName     GetShortPathName of the deepest file
//   ToWindows         host path back to its Windows path
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/prefix.h"

namespace fs = std::filesystem;
using wenmoor::platform::Machine;
using wenmoor::platform::PathMap;

namespace {

constexpr int kDepth = 8;
constexpr int kFilesPerDir = 200;

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

// One prefix with the tree, made once for all benchmarks.
class Tree {
 public:
  Tree() {
    std::string pattern = (fs::temp_directory_path() / "wenmoor-bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    dir_ = pattern;
    wenmoor::platform::CreatePrefix(dir_ / "prefix");
    scope_ = std::make_unique<Machine::TestScope>(dir_ / "prefix");
    fs::path host = dir_ / "prefix" / "drive_c";
    win_dir_ = "C:";
    for (int level = 0; level < kDepth; ++level) {
      const std::string name = "Level " + std::to_string(level) + " Dir";
      host /= name;
      win_dir_ += "\\" + name;
      fs::create_directories(host);
      for (int f = 0; f < kFilesPerDir; ++f) std::ofstream(host / ("File Number " + std::to_string(f) + ".txt"));
    }
    deepest_host_ = host / "File Number 199.txt";
    // Listings taken within a second of a directory's change are checked
    // again on every miss; wait so the figures show the settled cost.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  }
  ~Tree() {
    scope_.reset();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string DeepestFile() const { return win_dir_ + "\\File Number 199.txt"; }
  const std::string& DeepestDir() const { return win_dir_; }
  const fs::path& DeepestHost() const { return deepest_host_; }

 private:
  fs::path dir_;
  std::unique_ptr<Machine::TestScope> scope_;
  std::string win_dir_;
  fs::path deepest_host_;
};

Tree& TheTree() {
  static Tree tree;
  return tree;
}

void BM_Exact(benchmark::State& state) {
  PathMap& paths = Machine::Current().Paths();
  const std::string path = TheTree().DeepestFile();
  for (auto _ : state) benchmark::DoNotOptimize(paths.ToHost(path));
}
BENCHMARK(BM_Exact);

void BM_CaseInsensitive(benchmark::State& state) {
  PathMap& paths = Machine::Current().Paths();
  const std::string path = Upper(TheTree().DeepestFile());
  if (paths.ToHost(path) != TheTree().DeepestHost()) state.SkipWithError("wrong resolution");
  for (auto _ : state) benchmark::DoNotOptimize(paths.ToHost(path));
}
BENCHMARK(BM_CaseInsensitive);

void BM_ColdCache(benchmark::State& state) {
  PathMap& paths = Machine::Current().Paths();
  const std::string path = Upper(TheTree().DeepestFile());
  for (auto _ : state) {
    paths.ClearCache();
    benchmark::DoNotOptimize(paths.ToHost(path));
  }
}
BENCHMARK(BM_ColdCache);

void BM_NewFile(benchmark::State& state) {
  PathMap& paths = Machine::Current().Paths();
  const std::string path = Upper(TheTree().DeepestDir()) + "\\Not There Yet.txt";
  for (auto _ : state) benchmark::DoNotOptimize(paths.ToHost(path));
}
BENCHMARK(BM_NewFile);

void BM_ShortPathName(benchmark::State& state) {
  PathMap& paths = Machine::Current().Paths();
  const std::string path = TheTree().DeepestFile();
  for (auto _ : state) benchmark::DoNotOptimize(paths.ShortPathName(path));
}
BENCHMARK(BM_ShortPathName);

void BM_ToWindows(benchmark::State& state) {
  PathMap& paths = Machine::Current().Paths();
  const fs::path host = TheTree().DeepestHost();
  for (auto _ : state) benchmark::DoNotOptimize(paths.ToWindows(host));
}
BENCHMARK(BM_ToWindows);

}  // namespace

BENCHMARK_MAIN();
