#include "platform/win/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/win/reg_hive_file.h"
#include "platform/win/reg_text.h"

namespace wenmoor::platform {

namespace {

constexpr std::string_view kUserSid = "S-1-5-21-0-0-0-1000";
constexpr std::string_view kDefaultUser = ".Default";
constexpr std::string_view kClasses = "Software\\Classes";
constexpr std::string_view kCurrentConfig = "System\\CurrentControlSet\\Hardware Profiles\\Current";
constexpr std::string_view kLockName = ".wenmoor-registry.lock";

std::string Join(std::string_view base, std::string_view path) {
  std::string out(base);
  for (std::string_view part : SplitKeyPath(path)) {
    if (!out.empty()) out += '\\';
    out += part;
  }
  return out;
}

// Merges name lists (first list first), dropping names that differ only in case.
std::vector<std::string> MergeNames(const std::vector<std::vector<std::string>>& lists) {
  std::vector<std::string> out;
  std::vector<std::string> folds;
  for (const auto& list : lists) {
    for (const std::string& name : list) {
      std::string fold = FoldName(name);
      if (std::find(folds.begin(), folds.end(), fold) == folds.end()) {
        folds.push_back(std::move(fold));
        out.push_back(name);
      }
    }
  }
  if (lists.size() > 1) {
    // Keep the stored (sorted) order across both sources.
    std::vector<size_t> idx(out.size());
    for (size_t i = 0; i < idx.size(); ++i) idx[i] = i;
    std::sort(idx.begin(), idx.end(), [&](size_t a, size_t b) { return folds[a] < folds[b]; });
    std::vector<std::string> sorted;
    for (size_t i : idx) sorted.push_back(out[i]);
    out = std::move(sorted);
  }
  return out;
}

}  // namespace

// One place of the stores that a key of a root maps to.
struct Target {
  HiveFile* file = nullptr;  // nullptr for the volatile hive
  RegHive* hive = nullptr;   // set by Impl::Prepare
  std::string path;
};

// Where a (root, path) lives: the virtual root of HKEY_USERS, or one or two
// places in the hives (two for HKEY_CLASSES_ROOT: user first, then machine).
struct Resolved {
  bool users_root = false;
  std::vector<Target> targets;
};

class RegistryStore::Impl {
 public:
  explicit Impl(std::filesystem::path prefix)
      : prefix_(std::move(prefix)),
        system_(prefix_ / "system.reg", {";; All keys relative to REGISTRY\\\\Machine", "#arch=win64"}),
        user_(prefix_ / "user.reg",
              {";; All keys relative to REGISTRY\\\\User\\\\" + std::string(kUserSid), "#arch=win64"}),
        userdef_(prefix_ / "userdef.reg", {";; All keys relative to REGISTRY\\\\User\\\\.Default", "#arch=win64"}) {}

  ~Impl() {
    if (lock_fd_ >= 0) ::close(lock_fd_);
  }

  // Holds the process's mutex and the prefix's lock file for one operation.
  class Guard {
   public:
    explicit Guard(Impl& impl) : impl_(impl), lock_(impl.mutex_) { impl_.LockFile(); }
    ~Guard() { impl_.UnlockFile(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    Impl& impl_;
    std::lock_guard<std::mutex> lock_;
  };

  Resolved Resolve(RootKey root, std::string_view path) {
    Resolved r;
    switch (root) {
      case RootKey::LocalMachine:
        r.targets.push_back({&system_, nullptr, Join("", path)});
        break;
      case RootKey::CurrentUser:
        r.targets.push_back({&user_, nullptr, Join("", path)});
        break;
      case RootKey::ClassesRoot:
        r.targets.push_back({&user_, nullptr, Join(kClasses, path)});
        r.targets.push_back({&system_, nullptr, Join(kClasses, path)});
        break;
      case RootKey::CurrentConfig:
        r.targets.push_back({&system_, nullptr, Join(kCurrentConfig, path)});
        break;
      case RootKey::DynData:
        r.targets.push_back({nullptr, &dyn_, Join("", path)});
        break;
      case RootKey::Users: {
        const auto parts = SplitKeyPath(path);
        if (parts.empty()) {
          r.users_root = true;
          break;
        }
        std::string rest;
        for (size_t i = 1; i < parts.size(); ++i) rest = Join(rest, parts[i]);
        const std::string first = FoldName(parts[0]);
        if (first == FoldName(kDefaultUser)) r.targets.push_back({&userdef_, nullptr, rest});
        if (first == FoldName(kUserSid)) r.targets.push_back({&user_, nullptr, rest});
        break;
      }
    }
    for (Target& t : r.targets) {
      if (t.file) t.hive = &t.file->CatchUp();
    }
    return r;
  }

  void Write(Target& t, const JournalRecord& record) {
    if (t.file) {
      t.file->Append(record);
    } else {
      ApplyRecord(*t.hive, record);
    }
  }

  // Folds every hive with pending changes. A hive file that does not parse
  // has nothing pending (it is never written) and is skipped; its error
  // belongs to the operations that use it. With `quiet` (the destructor),
  // I/O failures are swallowed too: a journal left behind is replayed later.
  void FoldAll(bool quiet) {
    Guard guard(*this);
    for (HiveFile* f : {&system_, &user_, &userdef_}) {
      try {
        f->CatchUp();
        f->Fold();
      } catch (const RegistryFormatError&) {
      } catch (const std::exception&) {
        if (!quiet) throw;
      }
    }
  }

  std::filesystem::path prefix_;
  HiveFile system_;
  HiveFile user_;
  HiveFile userdef_;
  RegHive dyn_;

 private:
  void LockFile() {
    if (lock_fd_ < 0) {
      std::error_code ec;
      std::filesystem::create_directories(prefix_, ec);
      const auto path = prefix_ / std::string(kLockName);
      lock_fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
      if (lock_fd_ < 0) {
        throw RegistryIoError("Cannot open the registry lock " + path.string() + ": " + std::strerror(errno));
      }
    }
    while (::flock(lock_fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        throw RegistryIoError("Cannot lock the registry of " + prefix_.string() + ": " + std::strerror(errno));
      }
    }
  }

  void UnlockFile() {
    if (lock_fd_ >= 0) ::flock(lock_fd_, LOCK_UN);
  }

  std::mutex mutex_;
  int lock_fd_ = -1;
};

RegistryStore::RegistryStore(std::filesystem::path prefix) : impl_(std::make_unique<Impl>(std::move(prefix))) {}

RegistryStore::~RegistryStore() { impl_->FoldAll(/*quiet=*/true); }

const std::filesystem::path& RegistryStore::Prefix() const { return impl_->prefix_; }

bool RegistryStore::KeyExists(RootKey root, std::string_view path) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  if (r.users_root) return true;
  return std::any_of(r.targets.begin(), r.targets.end(), [](const Target& t) { return t.hive->Find(t.path); });
}

bool RegistryStore::CreateKey(RootKey root, std::string_view path) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  if (r.users_root) return true;
  if (r.targets.empty()) return false;
  for (const Target& t : r.targets) {
    if (t.hive->Find(t.path)) return true;
  }
  // A new key of HKEY_CLASSES_ROOT goes to the machine's classes.
  Target& t = r.targets.back();
  impl_->Write(t, {JournalRecord::Op::CreateKey, FileTimeNow(), t.path, {}, {}});
  return true;
}

bool RegistryStore::DeleteKey(RootKey root, std::string_view path) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  bool found = false;
  for (const Target& t : r.targets) {
    const RegNode* node = t.hive->Find(t.path);
    if (!node) continue;
    if (!node->subkeys.empty() || !node->parent) return false;
    found = true;
  }
  if (!found) return false;
  const uint64_t now = FileTimeNow();
  for (Target& t : r.targets) {
    if (t.hive->Find(t.path)) impl_->Write(t, {JournalRecord::Op::DeleteTree, now, t.path, {}, {}});
  }
  return true;
}

bool RegistryStore::DeleteTree(RootKey root, std::string_view path) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  bool deleted = false;
  const uint64_t now = FileTimeNow();
  for (Target& t : r.targets) {
    const RegNode* node = t.hive->Find(t.path);
    if (!node || !node->parent) continue;
    impl_->Write(t, {JournalRecord::Op::DeleteTree, now, t.path, {}, {}});
    deleted = true;
  }
  return deleted;
}

std::vector<std::string> RegistryStore::SubKeyNames(RootKey root, std::string_view path) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  if (r.users_root) return {std::string(kDefaultUser), std::string(kUserSid)};
  std::vector<std::vector<std::string>> lists;
  for (const Target& t : r.targets) {
    if (const RegNode* node = t.hive->Find(t.path)) {
      auto& names = lists.emplace_back();
      for (const auto& sub : node->subkeys) names.push_back(sub->name);
    }
  }
  return MergeNames(lists);
}

std::vector<std::string> RegistryStore::ValueNames(RootKey root, std::string_view path) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  std::vector<std::vector<std::string>> lists;
  for (const Target& t : r.targets) {
    if (const RegNode* node = t.hive->Find(t.path)) {
      auto& names = lists.emplace_back();
      for (const auto& v : node->values) names.push_back(v.name);
    }
  }
  return MergeNames(lists);
}

std::optional<RegValue> RegistryStore::QueryValue(RootKey root, std::string_view path, std::string_view name) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  for (const Target& t : r.targets) {
    if (const RegNode* node = t.hive->Find(t.path)) {
      if (const RegNamedValue* v = node->FindValue(name)) return v->value;
    }
  }
  return std::nullopt;
}

bool RegistryStore::SetValue(RootKey root, std::string_view path, std::string_view name, const RegValue& value) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  if (r.targets.empty()) return false;
  // HKEY_CLASSES_ROOT writes to the user's classes only where the key is the user's.
  Target* t = &r.targets.back();
  if (r.targets.size() > 1 && r.targets.front().hive->Find(r.targets.front().path)) t = &r.targets.front();
  impl_->Write(*t, {JournalRecord::Op::SetValue, FileTimeNow(), t->path, std::string(name), value});
  return true;
}

bool RegistryStore::DeleteValue(RootKey root, std::string_view path, std::string_view name) {
  Impl::Guard guard(*impl_);
  Resolved r = impl_->Resolve(root, path);
  bool deleted = false;
  const uint64_t now = FileTimeNow();
  for (Target& t : r.targets) {
    const RegNode* node = t.hive->Find(t.path);
    if (!node || !node->FindValue(name)) continue;
    impl_->Write(t, {JournalRecord::Op::DeleteValue, now, t.path, std::string(name), {}});
    deleted = true;
  }
  return deleted;
}

void RegistryStore::Sync() { impl_->FoldAll(/*quiet=*/false); }

}  // namespace wenmoor::platform
