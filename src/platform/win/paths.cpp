// Windows paths <-> host paths. See paths.h for the rules and costs.
#include "platform/win/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/win/name_rules.h"
#include "platform/win/win_error.h"

namespace fs = std::filesystem;

namespace wenmoor::platform {

// A cached listing of one host directory.
//
// Invariant: `names` is what readdir() gave when the directory's mtime was
// `mtime`. Because file systems stamp mtime with a coarse clock, a change in
// the same tick as the listing would go unnoticed; a listing taken less than
// kRacyWindow after the mtime is therefore "racy" and is trusted only after
// a check (see FindEntry).
struct PathMap::Listing {
  struct timespec mtime {};
  struct timespec listed_at {};
  std::vector<std::string> names;
  std::unordered_map<std::string, std::string> by_fold;  // FoldFileName(name) -> name
  std::map<std::string, std::string> short_of;            // name -> short name, filled lazily
  std::unordered_map<std::string, std::string> by_short;  // FoldFileName(short) -> name
  bool shorts_ready = false;

  bool Racy() const {
    const int64_t listed = int64_t{listed_at.tv_sec} * 1'000'000'000 + listed_at.tv_nsec;
    const int64_t changed = int64_t{mtime.tv_sec} * 1'000'000'000 + mtime.tv_nsec;
    return listed - changed < kRacyWindowNs;
  }
  void MakeShortNames() {
    if (shorts_ready) return;
    short_of = AssignShortNames(names);
    for (const auto& [name, short_name] : short_of) by_short.emplace(FoldFileName(short_name), name);
    shorts_ready = true;
  }
  static constexpr int64_t kRacyWindowNs = 1'000'000'000;
};

namespace {

constexpr size_t kMaxCachedListings = 4096;

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool LExists(const fs::path& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0;
}

char UpperDrive(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::vector<std::string> Split(std::string_view s) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find('\\', start);
    if (end == std::string_view::npos) end = s.size();
    if (end > start) parts.emplace_back(s.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::string WinPath::ToString() const {
  std::string s(1, drive);
  s += ":\\";
  for (size_t i = 0; i < components.size(); ++i) {
    if (i) s += '\\';
    s += components[i];
  }
  return s;
}

PathMap::PathMap(fs::path prefix) : prefix_(std::move(prefix)) {}
PathMap::~PathMap() = default;

void PathMap::LoadDrives() const {
  drives_.clear();
  resolved_roots_.clear();
  drives_loaded_ = true;
  ReadDosDevices();
  for (const auto& [letter, root] : drives_) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(root, ec);
    resolved_roots_[letter] = ec ? root : resolved;
  }
}

void PathMap::ReadDosDevices() const {
  const fs::path dosdevices = prefix_ / "dosdevices";
  std::error_code ec;
  if (!fs::is_directory(dosdevices, ec)) {
    // Wine makes these two when it starts in a prefix without them.
    drives_['C'] = (prefix_ / "drive_c").lexically_normal();
    drives_['Z'] = "/";
    return;
  }
  for (const fs::directory_entry& e : fs::directory_iterator(dosdevices, ec)) {
    const std::string name = e.path().filename().string();
    if (name.size() != 2 || name[1] != ':' || !IsLetter(name[0])) continue;  // "c::" is a raw device
    fs::path target = e.path();
    std::error_code link_ec;
    if (fs::is_symlink(e.symlink_status(link_ec))) {
      fs::path t = fs::read_symlink(e.path(), link_ec);
      if (link_ec) continue;
      target = t.is_absolute() ? t : dosdevices / t;
    }
    drives_[UpperDrive(name[0])] = target.lexically_normal();
  }
}

std::optional<fs::path> PathMap::DriveRoot(char letter) const {
  letter = UpperDrive(letter);
  if (!drives_loaded_) LoadDrives();
  auto it = drives_.find(letter);
  if (it == drives_.end()) {
    LoadDrives();  // perhaps added since
    it = drives_.find(letter);
    if (it == drives_.end()) return std::nullopt;
  }
  return it->second;
}

std::string PathMap::Drives() const {
  if (!drives_loaded_) LoadDrives();
  std::string letters;
  for (const auto& [letter, root] : drives_) letters += letter;
  return letters;
}

std::optional<WinPath> PathMap::Parse(std::string_view input) const {
  std::string s(input);
  std::replace(s.begin(), s.end(), '/', '\\');
  // The NT and long-path forms of a drive path: \\?\C:\x and \??\C:\x.
  if (s.rfind("\\\\?\\", 0) == 0 || s.rfind("\\??\\", 0) == 0) s.erase(0, 4);
  if (s.empty() || s.rfind("\\\\", 0) == 0) {  // nothing, or UNC / device paths
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  WinPath result;
  std::string_view rest = s;
  if (s.size() >= 2 && s[1] == ':' && IsLetter(s[0])) {
    result.drive = UpperDrive(s[0]);
    rest.remove_prefix(2);
    if (rest.empty() || rest[0] != '\\') {
      // "C:dir": relative to the current directory when it is on that drive.
      const std::optional<WinPath> cwd = Parse(CurrentDirectory());
      if (cwd && cwd->drive == result.drive) result.components = cwd->components;
    }
  } else {
    const std::optional<WinPath> cwd = Parse(CurrentDirectory());
    if (!cwd) return std::nullopt;
    result.drive = cwd->drive;
    if (rest[0] != '\\') result.components = cwd->components;
  }
  for (std::string& part : Split(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!result.components.empty()) result.components.pop_back();
      continue;
    }
    // Win32 normalisation: a segment loses one final dot ("dir." is "dir").
    if (part.size() > 1 && part.back() == '.' && part[part.size() - 2] != '.') part.pop_back();
    if (!IsValidComponent(part)) {
      SetLastError(ERROR_INVALID_NAME);
      return std::nullopt;
    }
    result.components.push_back(std::move(part));
  }
  // ... and the last one all trailing dots and blanks. Done after ".." is
  // folded, so that the full path of a full path is itself.
  while (!result.components.empty()) {
    std::string& last = result.components.back();
    while (!last.empty() && (last.back() == '.' || last.back() == ' ')) last.pop_back();
    if (!last.empty()) break;
    result.components.pop_back();
  }
  return result;
}

std::optional<std::string> PathMap::FullPath(std::string_view win_path) const {
  std::optional<WinPath> p = Parse(win_path);
  if (!p) return std::nullopt;
  return p->ToString();
}

PathMap::Listing* PathMap::CachedListing(const fs::path& dir, bool force_rescan, bool* scanned) {
  struct stat st {};
  const std::string key = dir.native();
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    listings_.erase(key);
    return nullptr;
  }
  auto it = listings_.find(key);
  if (it != listings_.end() && !force_rescan && SameTime(it->second->mtime, st.st_mtim)) return it->second.get();
  if (scanned) *scanned = true;

  auto listing = std::make_unique<Listing>();
  listing->mtime = st.st_mtim;
  clock_gettime(CLOCK_REALTIME, &listing->listed_at);
  DIR* d = ::opendir(dir.c_str());
  if (!d) return nullptr;
  while (const dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string fold = FoldFileName(name);
    auto [pos, inserted] = listing->by_fold.emplace(std::move(fold), name);
    // Two names differing only in case: take the smaller one, so the
    // answer does not depend on the order readdir() gives.
    if (!inserted && name < pos->second) pos->second = name;
    listing->names.push_back(std::move(name));
  }
  ::closedir(d);
  if (listings_.size() >= kMaxCachedListings) listings_.clear();
  Listing* raw = listing.get();
  listings_[key] = std::move(listing);
  return raw;
}

std::optional<std::string> PathMap::FindEntry(const fs::path& dir, const std::string& name) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    bool scanned = false;
    Listing* listing = CachedListing(dir, attempt > 0, &scanned);
    if (!listing) return std::nullopt;
    const std::string fold = FoldFileName(name);
    std::optional<std::string> found;
    if (auto it = listing->by_fold.find(fold); it != listing->by_fold.end()) {
      found = it->second;
    } else if (name.find('~') != std::string::npos) {
      listing->MakeShortNames();
      if (auto s = listing->by_short.find(fold); s != listing->by_short.end()) found = s->second;
    }
    if (scanned || !listing->Racy()) return found;  // read just now: as current as it gets
    // A racy listing may have missed a change made in the same clock tick:
    // trust a hit only when the entry is still there, and rescan on a miss.
    if (found && LExists(dir / *found)) return found;
  }
  return std::nullopt;
}

std::optional<fs::path> PathMap::ToHost(std::string_view win_path) {
  const std::optional<WinPath> p = Parse(win_path);
  if (!p) return std::nullopt;
  std::optional<fs::path> root = DriveRoot(p->drive);
  if (!root) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  fs::path spelled = *root;
  for (const std::string& c : p->components) spelled /= c;
  struct stat st {};
  if (::stat(spelled.c_str(), &st) == 0) return spelled;  // exists as spelled: one system call

  fs::path host = *root;
  size_t i = 0;
  for (; i < p->components.size(); ++i) {
    const std::string& c = p->components[i];
    if (LExists(host / c)) {
      host /= c;
      continue;
    }
    std::optional<std::string> entry = FindEntry(host, c);
    if (!entry) break;
    host /= *entry;
  }
  for (; i < p->components.size(); ++i) host /= p->components[i];  // new: as given
  return host;
}

std::string PathMap::ToWindows(const fs::path& host) const {
  std::error_code ec;
  fs::path abs = host.is_absolute() ? host : fs::current_path(ec) / host;
  abs = abs.lexically_normal();
  if (!drives_loaded_) LoadDrives();

  // The path and its drives' roots may each be spelled through links
  // (dosdevices/c:/x, or a prefix under a linked directory): compare the
  // literal and the resolved forms, and take the deepest root that holds
  // the path; on a tie the literal spelling wins.
  char best_drive = 0;
  size_t best_depth = 0;
  fs::path best_rest;
  const fs::path resolved = fs::weakly_canonical(abs, ec);
  std::vector<fs::path> spellings = {abs};
  if (!ec && resolved != abs) spellings.push_back(resolved);
  for (const fs::path& path : spellings) {
    for (const auto& [letter, root] : drives_) {
      for (const fs::path& r : {root, resolved_roots_[letter]}) {
        fs::path rel = path.lexically_relative(r);
        if (rel.empty() || *rel.begin() == "..") continue;
        const auto depth = static_cast<size_t>(std::distance(r.begin(), r.end()));
        if (best_drive == 0 || depth > best_depth) {
          best_drive = letter;
          best_depth = depth;
          best_rest = rel;
        }
      }
    }
  }
  if (best_drive == 0) {  // no Z: drive: still give a usable name
    best_drive = 'Z';
    best_rest = abs.relative_path();
  }
  std::string out(1, best_drive);
  out += ":\\";
  bool first = true;
  for (const fs::path& part : best_rest) {
    const std::string s = part.string();
    if (s.empty() || s == ".") continue;
    if (!first) out += '\\';
    out += s;
    first = false;
  }
  return out;
}

std::string PathMap::CurrentDirectory() const {
  std::error_code ec;
  const fs::path cwd = fs::current_path(ec);
  return ToWindows(ec ? fs::path("/") : cwd);
}

bool PathMap::SetCurrentDirectory(std::string_view win_path) {
  const std::optional<fs::path> host = ToHost(win_path);
  if (!host) return false;
  if (::chdir(host->c_str()) != 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return false;
  }
  return true;
}

std::string PathMap::ProgramDirectory() const {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ToWindows(ec ? fs::path("/") : exe.parent_path());
}

std::optional<std::string> PathMap::ShortPathName(std::string_view win_path) {
  const std::optional<std::string> long_path = LongPathName(win_path);
  if (!long_path) return std::nullopt;
  const std::optional<WinPath> p = Parse(*long_path);
  fs::path host = *DriveRoot(p->drive);
  WinPath out{p->drive, {}};
  for (const std::string& c : p->components) {
    Listing* listing = CachedListing(host, false);
    if (!listing) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return std::nullopt;
    }
    listing->MakeShortNames();
    auto it = listing->short_of.find(c);
    out.components.push_back(it != listing->short_of.end() ? it->second : c);
    host /= c;
  }
  std::string result = out.ToString();
  if (!out.components.empty() && (win_path.back() == '\\' || win_path.back() == '/')) result += '\\';
  return result;
}

std::optional<std::string> PathMap::LongPathName(std::string_view win_path) {
  const std::optional<WinPath> p = Parse(win_path);
  if (!p) return std::nullopt;
  std::optional<fs::path> root = DriveRoot(p->drive);
  if (!root) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  fs::path host = *root;
  WinPath out{p->drive, {}};
  for (size_t i = 0; i < p->components.size(); ++i) {
    const std::string& c = p->components[i];
    std::optional<std::string> entry = LExists(host / c) ? std::optional<std::string>(c) : FindEntry(host, c);
    if (!entry) {
      SetLastError(i + 1 == p->components.size() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
      return std::nullopt;
    }
    host /= *entry;
    out.components.push_back(*entry);
  }
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) {  // a dangling link
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
  }
  std::string result = out.ToString();
  if (!out.components.empty() && (win_path.back() == '\\' || win_path.back() == '/')) result += '\\';
  return result;
}

void PathMap::ClearCache() { listings_.clear(); }

}  // namespace wenmoor::platform
