// `wenmoor archive`: list, test, extract, create and split the installer's
// archives, in the manner of unzip and 7z.
//
//   wenmoor archive list    FILE [--offset N]
//   wenmoor archive test    FILE [--offset N]
//   wenmoor archive extract FILE [-d DIR] [-o always|never|version|date|versiondate] [--offset N] [MEMBER...]
//   wenmoor archive create  FILE [--id N] [--level 0|1|default|max] [--append] FILE-OR-DIR...
//   wenmoor archive split   FILE --size BYTES[k|M] [-d DIR] [--offset N]
//
// FILE, DIR and the files to add are host paths; they are seen through the
// emulated machine (a path outside its drives as Z:\...). Members are named
// as `list` shows them (their stored source paths), by their file names, or
// by wildcard masks ("*.dll"); without members, extract takes them all.
// Progress is drawn on standard error when it is a terminal. The exit
// status is 0 when everything succeeded and 1 after any failure, each
// failure reported on standard error.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_extractor.h"
#include "archive/cmp_TWnmrCompress.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/console.h"
#include "platform/win/file_stream.h"
#include "platform/win/file_time.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "tools/wenmoor/command.h"

namespace wenmoor::tool {

namespace {

struct UsageError {};

int Usage() {
  std::fprintf(stderr,
               "usage: wenmoor archive list FILE [--offset N]\n"
               "       wenmoor archive test FILE [--offset N]\n"
               "       wenmoor archive extract FILE [-d DIR] [-o always|never|version|date|versiondate]\n"
               "                               [--offset N] [MEMBER...]\n"
               "       wenmoor archive create FILE [--id N] [--level 0|1|default|max] [--append] FILE-OR-DIR...\n"
               "       wenmoor archive split FILE --size BYTES[k|M] [-d DIR] [--offset N]\n");
  return 1;
}

// The command line after the verb: positional arguments and options with
// their values.
struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;

  std::optional<std::string> Get(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
  }
};

Args Parse(const std::vector<std::string>& argv, const std::vector<std::string>& with_value,
           const std::vector<std::string>& flags) {
  Args args;
  for (size_t i = 1; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (std::find(with_value.begin(), with_value.end(), a) != with_value.end()) {
      if (i + 1 == argv.size()) throw UsageError{};
      args.options[a] = argv[++i];
    } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
      args.options[a] = "";
    } else if (a.size() > 1 && a[0] == '-' && a != "--") {
      throw UsageError{};
    } else if (a != "--") {
      args.positional.push_back(a);
    }
  }
  return args;
}

int64_t ParseNumber(const std::string& text, bool allow_suffix) {
  size_t used = 0;
  int64_t value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    throw UsageError{};
  }
  std::string rest = text.substr(used);
  if (allow_suffix && (rest == "k" || rest == "K")) value *= 1024, rest.clear();
  if (allow_suffix && (rest == "m" || rest == "M")) value *= 1024 * 1024, rest.clear();
  if (!rest.empty() || value < 0) throw UsageError{};
  return value;
}

std::string WinPath(const std::string& host) { return platform::Machine::Current().Paths().ToWindows(host); }

// One line of progress on a terminal, redrawn when the percentage moves.
class Progress {
 public:
  Progress() : enabled_(platform::StandardErrorIsTerminal()) {}
  ~Progress() { Clear(); }
  void Show(const std::string& what, int percent) {
    if (!enabled_ || (percent == last_percent_ && what == last_what_)) return;
    last_percent_ = percent;
    last_what_ = what;
    std::fprintf(stderr, "\r%3d%% %s\x1b[K", percent, what.c_str());
    std::fflush(stderr);
    drawn_ = true;
  }
  void Clear() {
    if (!drawn_) return;
    std::fprintf(stderr, "\r\x1b[K");
    std::fflush(stderr);
    drawn_ = false;
    last_percent_ = -1;
  }

 private:
  bool enabled_;
  bool drawn_ = false;
  int last_percent_ = -1;
  std::string last_what_;
};

// The component's texts, with a word more where they say little.
std::string Describe(const Exception& e) {
  if (e.Message() == "error") return "error: the compressed data is damaged";
  return e.Message();
}

ComponentPtr<TWnmrCompress> OpenArchive(const Args& args, size_t file_arg = 0) {
  if (args.positional.size() <= file_arg) throw UsageError{};
  auto c = CreateUnowned<TWnmrCompress>();
  c->SetCompressedFile(WinPath(args.positional[file_arg]));
  if (auto offset = args.Get("--offset")) c->SetOffset(static_cast<int>(ParseNumber(*offset, false)));
  c->ReadHeaders();
  return c;
}

std::string FormatDate(double date) {
  if (date == 0) return "-";
  const platform::DateTimeParts p = platform::DecodeDateTime(date);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", p.year, p.month, p.day, p.hour, p.minute);
  return buf;
}

std::string DiskSpan(const TFileHeaderRec& r, bool spanned) {
  if (!spanned) return "-";
  const int first = r.FirstDisk == 0 ? 1 : r.FirstDisk;
  return first == r.LastDisk ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(r.LastDisk);
}

int RunList(const Args& args) {
  auto c = OpenArchive(args);
  const TFileHeaders& headers = c->Headers();
  std::printf("Archive: %s (%d member%s, %s)\n", c->CompressedFile().c_str(), headers.Count(),
              headers.Count() == 1 ? "" : "s", headers.Spanned ? "spanned over disks" : "one file");
  std::printf("%6s %10s %10s %5s  %-16s  %-20s %-7s %s\n", "ID", "Size", "Packed", "Ratio", "Date", "Version",
              "Disks", "Name");
  int64_t total_size = 0, total_packed = 0;
  c->OnListing.Assign([&](TWnmrCompress*, const TlzhFileStats& s) {
    const TFileHeaderRec& r = s.Header;
    total_size += r.FileSize;
    total_packed += r.CompressedSize;
    std::printf("%6d %10d %10d %4d%%  %-16s  %-20s %-7s %s\n", r.FileID, r.FileSize, r.CompressedSize, s.FileRatio,
                FormatDate(r.FileDate).c_str(), r.FileVersion.c_str(), DiskSpan(r, headers.Spanned).c_str(),
                r.FileName.c_str());
  });
  c->List();
  std::printf("%6s %10" PRId64 " %10" PRId64 " %4d%%  %d file%s\n", "", total_size, total_packed,
              Percent(total_packed, total_size), headers.Count(), headers.Count() == 1 ? "" : "s");
  return 0;
}

int RunTest(const Args& args) {
  auto c = OpenArchive(args);
  const std::string archive = c->CompressedFile();  // extracting moves it on over the disks
  Progress progress;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { progress.Show(s.FileName, s.FilePercent); });
  int damaged = 0;
  for (int i = 0; i < c->FileCount(); ++i) {
    const std::string name = c->Headers().GetFileHeaders(i).Rec.FileName;
    try {
      c->TestMember(i);
      progress.Clear();
      std::printf("    testing: %-60s OK\n", name.c_str());
    } catch (const Exception& e) {
      progress.Clear();
      ++damaged;
      std::printf("    testing: %-60s DAMAGED\n", name.c_str());
      std::fprintf(stderr, "wenmoor archive: %s: %s\n", name.c_str(), Describe(e).c_str());
    }
  }
  if (damaged == 0) {
    std::printf("No errors detected in %s (%d members).\n", archive.c_str(), c->FileCount());
    return 0;
  }
  std::printf("%d of %d members damaged in %s.\n", damaged, c->FileCount(), archive.c_str());
  return 1;
}

TOverwriteType ParseOverwrite(const std::string& rule) {
  static const std::map<std::string, TOverwriteType> rules = {{"always", owAlways},   {"never", owNever},
                                                              {"version", owVersion}, {"date", owDate},
                                                              {"versiondate", owVersionDate}};
  auto it = rules.find(LowerCase(rule));
  if (it == rules.end()) throw UsageError{};
  return it->second;
}

// The members that `selectors` name: a stored name, a file name or a mask
// of either. Selectors that match nothing are reported and counted.
std::vector<int> SelectMembers(const TFileHeaders& headers, const std::vector<std::string>& selectors,
                               int& unmatched) {
  std::vector<int> chosen;
  if (selectors.empty()) {
    for (int i = 0; i < headers.Count(); ++i) chosen.push_back(i);
    return chosen;
  }
  for (const std::string& sel : selectors) {
    bool found = false;
    for (int i = 0; i < headers.Count(); ++i) {
      const std::string& stored = headers.GetFileHeaders(i).Rec.FileName;
      if (SameText(stored, sel) || platform::MatchesMask(stored, sel) ||
          platform::MatchesMask(ArchiveExtractor::FileNamePart(stored), sel)) {
        if (std::find(chosen.begin(), chosen.end(), i) == chosen.end()) chosen.push_back(i);
        found = true;
      }
    }
    if (!found) {
      ++unmatched;
      std::fprintf(stderr, "wenmoor archive: no member matches %s\n", sel.c_str());
    }
  }
  return chosen;
}

int RunExtract(const Args& args) {
  auto c = OpenArchive(args);
  const std::string dir = WinPath(args.Get("-d").value_or("."));
  c->SetOverwrite(ParseOverwrite(args.Get("-o").value_or("always")));
  int failures = 0;
  const std::vector<int> chosen =
      SelectMembers(c->Headers(), {args.positional.begin() + 1, args.positional.end()}, failures);
  std::vector<std::string> names;
  for (int i : chosen) names.push_back(c->Headers().GetFileHeaders(i).Rec.FileName);

  Progress progress;
  bool replaced = false;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { progress.Show(s.FileName, s.FilePercent); });
  c->OnReplace.Assign([&](TWnmrCompress*, const TlzhFileStats&) { replaced = true; });
  // One member at a time, so that a damaged member does not keep the others
  // from being extracted.
  for (const std::string& name : names) {
    const std::string target = dir + "\\" + ArchiveExtractor::FileNamePart(name);
    const bool existed = platform::FileExists(target);
    replaced = false;
    TStringList list{name};
    c->SetExtractDirectory(dir);
    c->SetFilesToProcess(list);
    try {
      c->Extract();
      progress.Clear();
      std::printf("%s: %s\n", existed && !replaced ? "  kept" : " extracted", target.c_str());
    } catch (const Exception& e) {
      progress.Clear();
      ++failures;
      std::fprintf(stderr, "wenmoor archive: %s: %s\n", name.c_str(), Describe(e).c_str());
    }
  }
  return failures == 0 ? 0 : 1;
}

// Adds `win_path`, or every file below it when it is a directory, in name order.
void CollectFiles(const std::string& win_path, std::vector<std::string>& out) {
  if (platform::FileExists(win_path)) {
    out.push_back(win_path);
    return;
  }
  if (!platform::DirectoryExists(win_path)) throw EWnmrCompress("Cannot open the file %s", win_path);
  for (const platform::FindData& f : platform::FindFiles(IncludeTrailingBackslash(win_path) + "*")) {
    const std::string child = IncludeTrailingBackslash(win_path) + f.name;
    if (f.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) CollectFiles(child, out);
    else out.push_back(child);
  }
}

TCompressionLevel ParseLevel(const std::string& level) {
  static const std::map<std::string, TCompressionLevel> levels = {
      {"0", colNone}, {"1", colFastest}, {"default", colDefault}, {"max", colMax}, {"9", colMax}};
  auto it = levels.find(LowerCase(level));
  if (it == levels.end()) throw UsageError{};
  return it->second;
}

int RunCreate(const Args& args) {
  if (args.positional.size() < 2) throw UsageError{};
  auto c = CreateUnowned<TWnmrCompress>();
  c->SetCompressedFile(WinPath(args.positional[0]));
  c->SetCompressionLevel(ParseLevel(args.Get("--level").value_or("max")));
  const int id = static_cast<int>(ParseNumber(args.Get("--id").value_or("0"), false));
  std::vector<std::string> files;
  for (size_t i = 1; i < args.positional.size(); ++i) CollectFiles(WinPath(args.positional[i]), files);
  TStringList list;
  for (const auto& f : files) list.Add(f);
  c->SetFilesToProcess(list);

  Progress progress;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { progress.Show(s.FileName, s.FilePercent); });
  c->OnAfterAdding.Assign([&](TWnmrCompress*, const TlzhFileStats& s) {
    progress.Clear();
    std::printf("  adding: %s (%d%%)\n", s.FileName.c_str(), s.FileRatio);
  });
  c->Compress(args.Get("--append") ? lzcOnlyAdd : lzcOverwrite, id);
  return 0;
}

// Output files of a split that hold at most `capacity` bytes each: the
// disks that the split fills one after the other.
class DiskSizedCompress : public TWnmrCompress {
 public:
  explicit DiskSizedCompress(TComponent* owner) : TWnmrCompress(owner) {}
  int64_t capacity = 0;

 protected:
  std::unique_ptr<TStream> CreateOutput(const std::string& path) override {
    class Capped : public TStream {
     public:
      Capped(std::unique_ptr<TStream> inner, int64_t capacity) : inner_(std::move(inner)), capacity_(capacity) {}
      int64_t Read(void* b, int64_t n) override { return inner_->Read(b, n); }
      int64_t Write(const void* b, int64_t n) override {
        return inner_->Write(b, std::min(n, std::max<int64_t>(0, capacity_ - inner_->Position())));
      }
      int64_t Seek(int64_t o, TSeekOrigin origin) override { return inner_->Seek(o, origin); }
      int64_t Size() override { return inner_->Size(); }
      void SetSize(int64_t s) override { inner_->SetSize(s); }

     private:
      std::unique_ptr<TStream> inner_;
      int64_t capacity_;
    };
    return std::make_unique<Capped>(TWnmrCompress::CreateOutput(path), capacity);
  }
};

int RunSplit(const Args& args) {
  if (args.positional.size() != 1 || !args.Get("--size")) throw UsageError{};
  auto c = CreateUnowned<DiskSizedCompress>();
  c->capacity = ParseNumber(*args.Get("--size"), true);
  c->SetCompressedFile(WinPath(args.positional[0]));
  if (auto offset = args.Get("--offset")) c->SetOffset(static_cast<int>(ParseNumber(*offset, false)));
  const std::string dir = WinPath(args.Get("-d").value_or("."));
  const std::string disk1 = ChangeFileExt(ExtractFileName(c->CompressedFile()), ".1");
  if (SameText(IncludeTrailingBackslash(dir) + disk1, c->CompressedFile()))
    throw EWnmrCompress("The first disk file would overwrite %s; choose another directory with -d",
                        c->CompressedFile());
  Progress progress;
  c->OnStatus.Assign([&](TWnmrCompress*, const TlzhFileStats& s) { progress.Show(s.FileName, s.TotalPercent); });
  std::printf("  disk 1: %s\n", (IncludeTrailingBackslash(dir) + disk1).c_str());
  c->OnNewDisk.Assign([&](TWnmrCompress*, int disk, std::string& path) {
    progress.Clear();
    std::printf("  disk %d: %s\n", disk,
                (IncludeTrailingBackslash(path) + ChangeFileExt(disk1, "." + std::to_string(disk))).c_str());
  });
  c->SplitToDisks(dir, disk1);
  return 0;
}

int RunArchive(const std::vector<std::string>& argv) {
  if (argv.empty()) return Usage();
  const std::string& verb = argv[0];
  try {
    if (verb == "list") return RunList(Parse(argv, {"--offset"}, {}));
    if (verb == "test") return RunTest(Parse(argv, {"--offset"}, {}));
    if (verb == "extract") return RunExtract(Parse(argv, {"-d", "-o", "--offset"}, {}));
    if (verb == "create") return RunCreate(Parse(argv, {"--id", "--level"}, {"--append"}));
    if (verb == "split") return RunSplit(Parse(argv, {"--size", "-d", "--offset"}, {}));
  } catch (const UsageError&) {
    return Usage();
  } catch (const Exception& e) {
    std::fprintf(stderr, "wenmoor archive: %s\n", e.what());
    return 1;
  }
  return Usage();
}

}  // namespace

WENMOOR_COMMAND("archive", "List, test, extract, create and split archives", RunArchive)

}  // namespace wenmoor::tool
