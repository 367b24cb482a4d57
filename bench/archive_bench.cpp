// The archive component against bare zlib, side by side on the same data:
//
//   Compress/colMax   vs  BareDeflate/9      (deflate, window bits 15, memory level 8)
//   Extract           vs  BareInflate        (the same member streams; progress events on)
//   AppendOneByOne    vs  AddAllInOneCall    (10,000 small files, lzcOnlyAdd per file)
//
// The data are several MB of text and binaries generated deterministically,
// kept as files of a throw-away emulated machine. After the run the ratios
// that matter are printed:
//
//   build/bin/archive_bench
//
// (--benchmark_filter and the other Google Benchmark flags work as usual; a
// ratio is printed only when both of its benchmarks ran.)
#include <benchmark/benchmark.h>

#include "times_reporter.h"
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "platform/win/machine.h"

namespace {

using namespace wenmoor;
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// ---- data ------------------------------------------------------------------

// Text: lines of words from a vocabulary of a few hundred, like source files
// and documentation.
Bytes Text(size_t size, uint32_t seed) {
  std::vector<std::string> vocabulary;
  uint32_t x = seed;
  auto next = [&] { return x = x * 1103515245u + 12345u; };
  for (int i = 0; i < 400; ++i) {
    std::string w;
    const int len = 2 + static_cast<int>((next() >> 16) % 9);
    for (int j = 0; j < len; ++j) w += static_cast<char>('a' + (next() >> 16) % 26);
    vocabulary.push_back(w);
  }
  Bytes out;
  out.reserve(size);
  int column = 0;
  while (out.size() < size) {
    const std::string& w = vocabulary[((next() >> 16) % 400 + (next() >> 16) % 400) / 2];
    out.insert(out.end(), w.begin(), w.end());
    column += static_cast<int>(w.size()) + 1;
    out.push_back(column > 70 ? '\n' : ' ');
    if (column > 70) column = 0;
  }
  out.resize(size);
  return out;
}

// Binary: records of small integers, repeated opcodes and noise, roughly the
// mix of an executable (compresses to about half).
Bytes Binary(size_t size, uint32_t seed) {
  Bytes out(size);
  uint32_t x = seed;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1664525u + 1013904223u;
    const uint32_t r = x >> 24;
    if (r < 64) out[i] = 0;
    else if (r < 128) out[i] = static_cast<uint8_t>(0x80 + (i % 16));
    else if (r < 176) out[i] = static_cast<uint8_t>(out[i > 64 ? i - 64 : 0]);
    else out[i] = static_cast<uint8_t>(x >> 8);
  }
  return out;
}

void WriteFile(const fs::path& p, const Bytes& data) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                           static_cast<std::streamsize>(data.size()));
}

Bytes ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The machine, the data files and an archive of them, made once.
struct World {
  fs::path dir;
  std::unique_ptr<platform::Machine::TestScope> scope;
  std::vector<std::string> sources;  // Windows paths
  std::vector<Bytes> contents;
  std::vector<Bytes> streams;  // the members' zlib streams in the archive
  std::vector<std::string> small;  // the 10,000 small files
  int64_t total = 0;

  World() {
    std::string pattern = (fs::temp_directory_path() / "wenmoor-bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    dir = pattern;
    scope = std::make_unique<platform::Machine::TestScope>(dir / "prefix");
    const fs::path c = dir / "prefix" / "drive_c";
    const std::pair<const char*, Bytes> files[] = {
        {"readme.txt", Text(3 << 20, 1)},  {"setup.exe", Binary(2 << 20, 2)}, {"help.hlp", Text(1 << 20, 3)},
        {"engine.dll", Binary(3 << 20, 4)}, {"data.dat", Binary(512 << 10, 5)},
    };
    for (const auto& [name, data] : files) {
      WriteFile(c / "data" / name, data);
      sources.push_back(std::string("C:\\data\\") + name);
      contents.push_back(data);
      total += static_cast<int64_t>(data.size());
    }
    for (int i = 0; i < 10000; ++i) {
      const std::string name = "f" + std::to_string(i) + ".txt";
      WriteFile(c / "small" / name, Text(100 + static_cast<size_t>(i % 400), static_cast<uint32_t>(i)));
      small.push_back("C:\\small\\" + name);
    }
    auto comp = CreateUnowned<TWnmrCompress>();
    comp->SetCompressedFile("C:\\arc\\files.1");
    TStringList list;
    for (const auto& s : sources) list.Add(s);
    comp->SetFilesToProcess(list);
    comp->Compress(lzcOverwrite, 0);
    const Bytes archive = ReadFile(c / "arc" / "files.1");
    comp->ReadHeaders();
    for (int i = 0; i < comp->FileCount(); ++i) {
      const TFileHeaderRec& r = comp->Headers().GetFileHeaders(i).Rec;
      streams.emplace_back(archive.begin() + r.FirstBytePos, archive.begin() + r.LastBytePos + 1);
    }
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

// ---- compressing -------------------------------------------------------------

void BM_Compress_colMax(benchmark::State& state) {
  World& w = TheWorld();
  auto c = CreateUnowned<TWnmrCompress>();
  int64_t reports = 0;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats&) { ++reports; });
  for (auto _ : state) {
    c->SetCompressedFile("C:\\bench\\compress.1");
    TStringList list;
    for (const auto& s : w.sources) list.Add(s);
    c->SetFilesToProcess(list);
    c->Compress(lzcOverwrite, 0);
  }
  state.SetBytesProcessed(state.iterations() * w.total);
  state.counters["reports"] = static_cast<double>(reports) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Compress_colMax)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_BareDeflate_9(benchmark::State& state) {
  World& w = TheWorld();
  Bytes out;
  for (auto _ : state) {
    for (const Bytes& data : w.contents) {
      z_stream z{};
      deflateInit2(&z, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
      out.resize(deflateBound(&z, data.size()));
      z.next_in = const_cast<uint8_t*>(data.data());
      z.avail_in = static_cast<uInt>(data.size());
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      if (deflate(&z, Z_FINISH) != Z_STREAM_END) state.SkipWithError("deflate");
      benchmark::DoNotOptimize(z.total_out);
      deflateEnd(&z);
    }
  }
  state.SetBytesProcessed(state.iterations() * w.total);
}
BENCHMARK(BM_BareDeflate_9)->Unit(benchmark::kMillisecond)->MinTime(3);

// ---- extracting --------------------------------------------------------------

// Extracting into an empty directory, as an installation does; with
// `replace`, over the files of the previous round (each replacement asks the
// machine whether a program holds the file, which costs a look at every
// process, so that case is shown on its own).
void BM_Extract(benchmark::State& state) {
  World& w = TheWorld();
  const bool replace = state.range(0) != 0;
  auto c = CreateUnowned<TWnmrCompress>();
  int64_t reports = 0;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats&) { ++reports; });
  c->SetCompressedFile("C:\\arc\\files.1");
  const fs::path out = w.dir / "prefix" / "drive_c" / "bench" / "out";
  for (auto _ : state) {
    if (!replace) {
      state.PauseTiming();
      fs::remove_all(out);
      state.ResumeTiming();
    }
    c->SetExtractDirectory("C:\\bench\\out");
    TStringList list;
    for (const auto& s : w.sources) list.Add(s);
    c->SetFilesToProcess(list);
    c->Extract();
  }
  state.SetBytesProcessed(state.iterations() * w.total);
  state.counters["reports"] = static_cast<double>(reports) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Extract)->ArgName("replace")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_BareInflate(benchmark::State& state) {
  World& w = TheWorld();
  Bytes out(1 << 16);
  for (auto _ : state) {
    for (const Bytes& stream : w.streams) {
      z_stream z{};
      inflateInit2(&z, 15);
      z.next_in = const_cast<uint8_t*>(stream.data());
      z.avail_in = static_cast<uInt>(stream.size());
      int rc;
      do {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        rc = inflate(&z, Z_NO_FLUSH);
        benchmark::DoNotOptimize(out.data());
      } while (rc == Z_OK);
      if (rc != Z_STREAM_END) state.SkipWithError("inflate");
      inflateEnd(&z);
    }
  }
  state.SetBytesProcessed(state.iterations() * w.total);
}
BENCHMARK(BM_BareInflate)->Unit(benchmark::kMillisecond)->MinTime(2);

// ---- appending -----------------------------------------------------------------

void BM_AppendOneByOne(benchmark::State& state) {
  World& w = TheWorld();
  for (auto _ : state) {
    auto c = CreateUnowned<TWnmrCompress>();
    c->SetCompressedFile("C:\\bench\\append.1");
    bool first = true;
    for (const auto& s : w.small) {
      TStringList list{s};
      c->SetFilesToProcess(list);
      c->Compress(first ? lzcOverwrite : lzcOnlyAdd, 0);
      first = false;
    }
  }
  state.counters["files"] = static_cast<double>(w.small.size());
}
BENCHMARK(BM_AppendOneByOne)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AddAllInOneCall(benchmark::State& state) {
  World& w = TheWorld();
  for (auto _ : state) {
    auto c = CreateUnowned<TWnmrCompress>();
    c->SetCompressedFile("C:\\bench\\all.1");
    TStringList list;
    for (const auto& s : w.small) list.Add(s);
    c->SetFilesToProcess(list);
    c->Compress(lzcOverwrite, 0);
  }
  state.counters["files"] = static_cast<double>(w.small.size());
}
BENCHMARK(BM_AddAllInOneCall)->Unit(benchmark::kMillisecond)->Iterations(3);

// ---- the ratios ------------------------------------------------------------------

class RatioReporter : public bench::TimesReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    // CPU time is the fairer measure on a busy machine; wall time is shown too.
    std::printf("\nratios (by CPU time; by wall time in brackets)\n");
    // Throughput of ours as a share of bare zlib's (time of bare / time of ours).
    Share("compress colMax / bare deflate 9, throughput (need >= 90%)", "BM_BareDeflate_9", "BM_Compress_colMax");
    Share("extract / bare inflate, throughput (need >= 85%)", "BM_BareInflate", "BM_Extract/replace:0");
    Share("extract over existing files / bare inflate, throughput", "BM_BareInflate", "BM_Extract/replace:1");
    // Time of one call per file as a multiple of one call for all.
    const Times* a = Find("BM_AppendOneByOne");
    const Times* b = Find("BM_AddAllInOneCall");
    if (a && b)
      std::printf("append one by one / all in one call, time (need <= 2.0): %.2f (%.2f)\n", a->cpu / b->cpu,
                  a->real / b->real);
  }

 private:
  void Share(const char* what, const std::string& bare, const std::string& ours) {
    const Times* b = Find(bare);
    const Times* o = Find(ours);
    if (b && o) std::printf("%s: %.1f%% (%.1f%%)\n", what, 100.0 * b->cpu / o->cpu, 100.0 * b->real / o->real);
  }
};

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  return wenmoor::bench::RunWith(reporter, argc, argv);
}
