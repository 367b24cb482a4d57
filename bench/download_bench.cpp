// A 100 MB file over loopback HTTP: the net install location's Download
// against the curl program fetching the same URL from the same server in
// the same run.
//
//   build/bin/download_bench
//
// BM_NetInstallLocation: TNetInstallLocation::Download into a file of a
// temporary emulated machine (8 KiB blocks, the data event, the message
// pump and the rename of the finished file included).
// BM_CurlTool: `curl -s -o FILE URL` (process start included, as a user
// would run it). Both report bytes per second.
// BM_LocationAgainstCurl: the two in turn, pair by pair (which goes first
// alternates), so that both meet the same load of the machine. At the end the program prints the median
// over the pairs of the throughput ratio (Download / curl), and the growth
// of the peak resident memory over the downloads (streaming keeps it flat:
// far below the file's size).
//
// The server is tests/data/net/http_server.py (it sends files with
// sendfile, so the clients are what is measured). The file and the machine
// live in a temporary directory removed at the end.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "net/cmp_TNetInstallLocation.h"
#include "platform/win/machine.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int64_t kFileSize = 100 << 20;

// Runs argv; returns the pid. `out_fd` >= 0 receives the child's stdout.
pid_t Spawn(const std::vector<std::string>& argv, int out_fd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (out_fd >= 0) posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
  return pid;
}

// The server, the file it serves and the machine the location writes into.
class Setup {
 public:
  Setup() {
    char pattern[] = "/tmp/wenmoor-download-bench-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    fs::create_directories(dir_ / "www");
    {
      std::ofstream out(dir_ / "www" / "big.1", std::ios::binary);
      std::vector<char> chunk(1 << 20);
      for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>((i * 7) % 251);
      for (int64_t done = 0; done < kFileSize; done += static_cast<int64_t>(chunk.size()))
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
    // The location writes into a machine of its own, never the user's ~/.wine;
    // the machine goes before its directory does.
    setenv("WINEPREFIX", (dir_ / "prefix").c_str(), 1);
    machine_ = std::make_unique<wenmoor::platform::Machine::TestScope>(dir_ / "prefix");
    fs::create_directories(dir_ / "prefix" / "drive_c" / "bench");

    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    const fs::path script = fs::path(__FILE__).parent_path().parent_path() / "tests/data/net/http_server.py";
    const std::string python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    server_ = Spawn({python, script.string(), (dir_ / "www").string(), (dir_ / "server.log").string()}, out[1]);
    close(out[1]);
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    char c = 0;
    while (poll(&p, 1, 20000) > 0 && read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    if (line.rfind("PORT ", 0) != 0) throw std::runtime_error("the HTTP server did not start");
    host_ = "127.0.0.1:" + line.substr(5);
  }
  ~Setup() {
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
    machine_.reset();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  const std::string& Host() const { return host_; }
  std::string Url() const { return "http://" + host_ + "/big.1"; }
  fs::path CurlOutput() const { return dir_ / "prefix" / "drive_c" / "bench" / "curl.1"; }
  fs::path LocationOutput() const { return dir_ / "prefix" / "drive_c" / "bench" / "location.1"; }

 private:
  fs::path dir_;
  std::unique_ptr<wenmoor::platform::Machine::TestScope> machine_;
  pid_t server_ = -1;
  std::string host_;
};

Setup* setup = nullptr;
long peak_rss_growth_kb = -1;

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// One download through the location into C:\bench\location.1.
void LocationDownload(wenmoor::TNetInstallLocation& loc) { loc.Download("big.1", "C:\\bench\\location.1"); }

// One run of the curl program; false when it failed.
bool CurlDownload() {
  const pid_t pid = Spawn({"curl", "-s", "-o", setup->CurlOutput().string(), setup->Url()}, -1);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

wenmoor::ComponentPtr<wenmoor::TNetInstallLocation> MakeLocation(int64_t* received) {
  auto loc = wenmoor::CreateUnowned<wenmoor::TNetInstallLocation>();
  loc->LoginInformation()->SetHostname(setup->Host());
  loc->OnDataReceived.Assign([received](wenmoor::TObject*, const std::string&, int bytes, int, int, const char*) {
    *received += bytes;
  });
  return loc;
}

void BM_NetInstallLocation(benchmark::State& state) {
  int64_t received = 0;
  auto loc = MakeLocation(&received);
  const long rss_before = PeakRssKb();
  for (auto _ : state) LocationDownload(*loc);
  peak_rss_growth_kb = PeakRssKb() - rss_before;
  if (fs::file_size(setup->LocationOutput()) != static_cast<uintmax_t>(kFileSize) ||
      received != kFileSize * static_cast<int64_t>(state.iterations()))
    state.SkipWithError("incomplete download");
  state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_CurlTool(benchmark::State& state) {
  for (auto _ : state) {
    if (!CurlDownload()) state.SkipWithError("curl failed");
  }
  if (fs::file_size(setup->CurlOutput()) != static_cast<uintmax_t>(kFileSize)) state.SkipWithError("curl: short file");
  state.SetBytesProcessed(state.iterations() * kFileSize);
}

// The two, one after the other in every iteration, so that both see the
// same load of the machine; the ratio is the median over the pairs.
std::vector<double> pair_ratios;

void BM_LocationAgainstCurl(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  int64_t received = 0;
  auto loc = MakeLocation(&received);
  auto seconds = [](auto&& download) {
    const auto start = Clock::now();
    download();
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  bool location_first = true;  // alternated, so that neither always meets the other's write-back
  for (auto _ : state) {
    double ours = 0, theirs = 0;
    auto run_ours = [&] { ours = seconds([&] { LocationDownload(*loc); }); };
    auto run_theirs = [&] {
      theirs = seconds([&] {
        if (!CurlDownload()) state.SkipWithError("curl failed");
      });
    };
    if (location_first) {
      run_ours();
      run_theirs();
    } else {
      run_theirs();
      run_ours();
    }
    location_first = !location_first;
    pair_ratios.push_back(theirs / ours);
  }
  state.SetBytesProcessed(state.iterations() * 2 * kFileSize);
}

BENCHMARK(BM_NetInstallLocation)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_CurlTool)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_LocationAgainstCurl)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Setup s;
  setup = &s;
  benchmark::RunSpecifiedBenchmarks();
  if (!pair_ratios.empty()) {
    std::sort(pair_ratios.begin(), pair_ratios.end());
    std::printf("throughput of Download relative to curl -o (median of %zu interleaved pairs): %.2f (range %.2f-%.2f)\n",
                pair_ratios.size(), pair_ratios[pair_ratios.size() / 2], pair_ratios.front(), pair_ratios.back());
  }
  if (peak_rss_growth_kb >= 0) std::printf("peak resident memory growth over the downloads: %ld KiB\n", peak_rss_growth_kb);
  benchmark::Shutdown();
  setup = nullptr;
  return 0;
}
