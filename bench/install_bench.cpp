// An installation against the bare extraction of the same archive, side by
// side: 1,000 files of 10 KB in one archive, installed by the engine into a
// fresh machine (with every file's uninstall record, the engine's record and
// its events), and extracted by the archive component alone into another
// fresh machine.
//
//   Install   vs  ExtractOnly
//
// Each round gets a new machine (made while the clock is stopped), so every
// destination is new, as on a first installation. After the run the ratio
// of the two is printed:
//
//   build/bin/install_bench
//
// Figures (RelWithDebInfo, 2 shared cores, load average about 8; per round
// of 1,000 files): install 2.4 s wall / 1.3 s CPU, extraction alone 1.5 s /
// 0.8 s: a ratio of 1.65 by CPU time, 1.62 by wall time. Before the
// broadcasts stopped searching the child list for every child (each of the
// thousand files' notices went to its thousand siblings that way), the
// ratio was 2.46 by CPU time.
#include <benchmark/benchmark.h>

#include "times_reporter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "engine/cmp_TInstall.h"
#include "paths/specifiers_windows.h"
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/win/machine.h"
#include "script/cmp_TCustomInstallFile.h"

namespace {

using namespace wenmoor;
namespace fs = std::filesystem;

constexpr int kFiles = 1000;
constexpr size_t kFileSize = 10 * 1024;
const char kArchive[] = "C:\\build\\files.1";
const char kProgram[] = "C:\\build\\setup.exe";

// Text-like content (compresses as documentation does), different per file.
std::string Content(int seed) {
  std::string s;
  s.reserve(kFileSize);
  uint32_t x = static_cast<uint32_t>(seed) * 2654435761u + 1;
  while (s.size() < kFileSize) {
    x = x * 1103515245u + 12345u;
    const int len = 2 + static_cast<int>((x >> 16) % 9);
    for (int j = 0; j < len; ++j) s += static_cast<char>('a' + (x >> (j % 16)) % 26);
    s += (x >> 20) % 12 == 0 ? '\n' : ' ';
  }
  s.resize(kFileSize);
  return s;
}

void WriteHostFile(const fs::path& p, const std::string& data) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << data;
}

std::string ReadHostFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The script (an engine, one directory, the files), the sources and the
// archive, made once in a build machine.
struct World {
  fs::path dir;
  ComponentPtr<TForm> form;
  TCustomInstall* install = nullptr;
  std::vector<std::string> sources;
  std::string archive;
  int round = 0;

  World() {
    std::string pattern = (fs::temp_directory_path() / "wenmoor-install-bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    dir = pattern;
    platform::Machine::TestScope build(dir / "build");
    for (int i = 0; i < kFiles; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "file%04d.txt", i);
      WriteHostFile(dir / "build" / "drive_c" / "src" / name, Content(i));
      sources.push_back(std::string("C:\\src\\") + name);
    }
    TApplication::Instance().SetExeName(kProgram);
    TApplication::Instance().SetParams({});
    form = CreateUnowned<TForm>();
    form->SetName("MainForm");
    install = Create<TInstall>(form.get());
    install->BeginLoading();
    install->SetUseLoadingProgram(false);
    install->SetRunAutomatic(false);
    install->Loaded();
    install->Information()->SetProductName("Bench");
    auto* target = Create<TInstallDirectory>(form.get());
    target->SetName("AppDir");
    target->SetContainer(install);
    target->SetDestDirType(nullptr);
    target->SetDestDir("C:\\Program Files\\Bench");
    target->SetArchiveFileType(StandardPathSpecifiers().FindSpecifier(TpsContainerArchiveFile::StaticClass()));
    for (const std::string& s : sources) TCustomInstallFile::CreateInContainer(form.get(), target, s);
    install->Compress({coForceNetFilesLocal, coIncludeAll});
    archive = ReadHostFile(dir / "build" / "drive_c" / "build" / "files.1");
    if (archive.empty()) std::abort();
  }
  ~World() {
    form.reset();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  // A new machine holding the distribution; the previous one is removed.
  std::unique_ptr<platform::Machine::TestScope> FreshMachine() {
    const fs::path old = dir / ("target" + std::to_string(round));
    std::error_code ignored;
    fs::remove_all(old, ignored);
    const fs::path prefix = dir / ("target" + std::to_string(++round));
    auto scope = std::make_unique<platform::Machine::TestScope>(prefix);
    WriteHostFile(prefix / "drive_c" / "build" / "files.1", archive);
    WriteHostFile(prefix / "drive_c" / "build" / "setup.exe", "MZ");
    return scope;
  }
};

World& TheWorld() {
  static World world;
  return world;
}

void BM_Install(benchmark::State& state) {
  World& w = TheWorld();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<platform::Machine::TestScope> machine = w.FreshMachine();
    state.ResumeTiming();
    w.install->Process();
    if (w.install->Result() != RunResult::Completed) state.SkipWithError("the installation failed");
    state.PauseTiming();
    machine.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kFiles * static_cast<int64_t>(kFileSize));
}
BENCHMARK(BM_Install)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExtractOnly(benchmark::State& state) {
  World& w = TheWorld();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<platform::Machine::TestScope> machine = w.FreshMachine();
    state.ResumeTiming();
    auto c = CreateUnowned<TWnmrCompress>();
    c->SetCompressedFile(kArchive);
    c->SetExtractDirectory("C:\\Program Files\\Bench");
    TStringList list;
    for (const std::string& s : w.sources) list.Add(s);
    c->SetFilesToProcess(list);
    c->Extract();
    state.PauseTiming();
    c.reset();
    machine.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kFiles * static_cast<int64_t>(kFileSize));
}
BENCHMARK(BM_ExtractOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

// Prints the ratio of the two once both have run.
class RatioReporter : public bench::TimesReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    const Times* install = Find("BM_Install/");
    const Times* extract = Find("BM_ExtractOnly/");
    if (!install || !extract) return;
    std::printf("\ninstall / extract only: %.2f by CPU time, %.2f by wall time (goal <= 3)\n",
                install->cpu / extract->cpu, install->real / extract->real);
  }
};

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  return wenmoor::bench::RunWith(reporter, argc, argv);
}
