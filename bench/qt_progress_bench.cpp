// What showing progress costs an extraction in the Qt user interface.
//
// The same archive (about 6 MB in four members) is extracted three ways:
// with no user interface at all, with a progress form (two bars and the
// file's name, updated at every progress report of the archive component,
// one per 4 KB) under the headless backend, and with that form shown by the
// Qt backend (off-screen). At the end the Qt run's extra time over the
// other two is printed, and the time the Qt backend itself spent
// (ProcessMessages and repaints) as a share of the extraction's time: the
// aim is about 5 % at most.
//
//   build/bin/qt_progress_bench
#include <benchmark/benchmark.h>

#include "times_reporter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "platform/ui/application.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/labels.h"
#include "platform/ui/qt/qt_backend.h"
#include "platform/ui/qt/qt_display.h"
#include "platform/win/machine.h"

namespace {

using namespace wenmoor;
namespace fs = std::filesystem;

// Half text-like, half binary-like data, so that inflating runs at a
// typical pace.
std::string Data(size_t size, uint32_t seed) {
  std::string out(size, '\0');
  uint32_t x = seed;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1664525u + 1013904223u;
    const uint32_t r = x >> 24;
    out[i] = r < 128 ? static_cast<char>('a' + (r % 26)) : r < 192 ? ' ' : static_cast<char>(x >> 8);
  }
  return out;
}

struct World {
  fs::path dir;
  std::unique_ptr<platform::Machine::TestScope> scope;
  std::vector<std::string> sources;
  World() {
    std::string pattern = (fs::temp_directory_path() / "wenmoor-qt-bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    dir = pattern;
    scope = std::make_unique<platform::Machine::TestScope>(dir / "prefix");
    const fs::path c = dir / "prefix" / "drive_c" / "data";
    fs::create_directories(c);
    for (int i = 0; i < 4; ++i) {
      const std::string name = "member" + std::to_string(i) + ".bin";
      std::ofstream(c / name, std::ios::binary) << Data(1536 << 10, static_cast<uint32_t>(i + 1));
      sources.push_back("C:\\data\\" + name);
    }
    auto comp = CreateUnowned<TWnmrCompress>();
    comp->SetCompressedFile("C:\\arc\\files.1");
    TStringList list;
    for (const auto& s : sources) list.Add(s);
    comp->SetFilesToProcess(list);
    comp->Compress(lzcOverwrite, 0);
  }
  ~World() {
    scope.reset();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

World& TheWorld() {
  static World world;
  return world;
}

enum Ui { kNone, kHeadless, kQt };

std::unique_ptr<UiBackend> MakeBackend(Ui ui) {
  static std::ostringstream transcript;
  if (ui == kHeadless) return std::make_unique<HeadlessBackend>(std::nullopt, std::make_unique<Transcript>(transcript));
  qt::StartQt([](const char* name) -> std::optional<std::string> {
    if (std::string_view(name) == "QT_QPA_PLATFORM") return std::string("offscreen");
    return std::nullopt;
  });
  return std::make_unique<qt::QtBackend>();
}

void BM_ExtractWithProgress(benchmark::State& state) {
  World& w = TheWorld();
  const auto ui = static_cast<Ui>(state.range(0));
  TApplication& app = TApplication::Instance();
  std::unique_ptr<UiBackend> previous = app.SetBackend(ui == kNone ? nullptr : MakeBackend(ui));
  {
    ComponentPtr<TForm> form = CreateUnowned<TForm>();
    auto* file_bar = Create<TProgressBar>(form.get());
    auto* total_bar = Create<TProgressBar>(form.get());
    auto* name = Create<TLabel>(form.get());
    for (TControl* c : std::initializer_list<TControl*>{file_bar, total_bar, name}) c->SetParent(form.get());
    file_bar->SetBounds(10, 30, 300, 16);
    total_bar->SetBounds(10, 60, 300, 16);
    name->SetBounds(10, 8, 300, 16);
    if (ui != kNone) form->Show();

    auto c = CreateUnowned<TWnmrCompress>();
    c->SetCompressedFile("C:\\arc\\files.1");
    int64_t reports = 0;
    c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) {
      ++reports;
      if (ui == kNone) return;
      file_bar->SetPosition(s.FilePercent);
      total_bar->SetPosition(s.TotalPercent);
      name->SetCaption(s.FileName);
    });
    const fs::path out = w.dir / "prefix" / "drive_c" / "out";
    for (auto _ : state) {
      state.PauseTiming();
      fs::remove_all(out);
      state.ResumeTiming();
      c->SetExtractDirectory("C:\\out");
      TStringList list;
      for (const auto& s : w.sources) list.Add(s);
      c->SetFilesToProcess(list);
      c->Extract();
    }
    state.counters["reports"] = static_cast<double>(reports) / static_cast<double>(state.iterations());
    if (auto* qt_backend = dynamic_cast<qt::QtBackend*>(app.ActiveBackend())) {
      const double n = static_cast<double>(state.iterations());
      state.counters["flushes"] = static_cast<double>(qt_backend->FlushCount()) / n;
      // The user interface's own time per extraction, in milliseconds.
      state.counters["ui_ms"] = 1000.0 * qt_backend->BusySeconds() / n;
    }
  }
  app.SetBackend(std::move(previous));
}
BENCHMARK(BM_ExtractWithProgress)->ArgName("ui")->Arg(kNone)->Arg(kHeadless)->Arg(kQt)->Unit(benchmark::kMillisecond)->MinTime(3);

// Prints the Qt run's overhead.
class OverheadReporter : public bench::TimesReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (ui_share_ >= 0)
      std::printf("Qt backend's own time (ProcessMessages, repaints): %.1f%% of the extraction's wall time\n",
                  100.0 * ui_share_);
    const Times* qt = Find("BM_ExtractWithProgress/ui:2/");
    for (const char* base : {"BM_ExtractWithProgress/ui:0/", "BM_ExtractWithProgress/ui:1/"}) {
      const Times* b = Find(base);
      if (!qt || !b) continue;
      std::printf("Qt progress form over %s: %+.1f%% CPU time (%+.1f%% wall time)\n",
                  std::string(base).find("ui:0") != std::string::npos ? "no user interface" : "headless",
                  100.0 * (qt->cpu / b->cpu - 1), 100.0 * (qt->real / b->real - 1));
    }
  }

 private:
  void Kept(const Run& r) override {
    if (auto ui = r.counters.find("ui_ms"); ui != r.counters.end()) ui_share_ = ui->second.value / r.GetAdjustedRealTime();
  }
  double ui_share_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
  OverheadReporter reporter;
  return wenmoor::bench::RunWith(reporter, argc, argv);
}
