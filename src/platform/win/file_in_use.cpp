// Holders of files: this process's table and the other processes' /proc.
#include "platform/win/file_in_use.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace wenmoor::platform {

namespace {

struct Entry {
  uint64_t ticket;
  FileId file;
  uint32_t access;
  uint32_t share;
};

struct Table {
  std::mutex mutex;
  std::vector<Entry> entries;
  uint64_t next_ticket = 1;
};

Table& TheTable() {
  static Table* table = new Table;  // never destroyed: streams may close during exit
  return *table;
}

bool IsNumber(const char* s) {
  if (!*s) return false;
  for (; *s; ++s)
    if (*s < '0' || *s > '9') return false;
  return true;
}

// Whether one of the descriptors in /proc/<pid>/fd is the file.
bool DescriptorsHold(const std::string& pid, FileId file) {
  const std::string dir = "/proc/" + pid + "/fd";
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return false;  // gone, or not ours to see
  DIR* d = ::fdopendir(dfd);
  if (!d) {
    ::close(dfd);
    return false;
  }
  bool found = false;
  while (const dirent* e = ::readdir(d)) {
    if (!IsNumber(e->d_name)) continue;
    struct stat st {};
    // Following the link stats the open file itself, deleted or not.
    if (::fstatat(dfd, e->d_name, &st, 0) == 0 && st.st_ino == file.ino && st.st_dev == file.dev) {
      found = true;
      break;
    }
  }
  ::closedir(d);
  return found;
}

// Whether the process runs the file. Following /proc/<pid>/exe stats the
// file as its own path does, while the device numbers in maps are those of
// the layer below on stacked file systems (overlayfs).
bool RunsFile(const std::string& pid, FileId file) {
  struct stat st {};
  const std::string exe = "/proc/" + pid + "/exe";
  return ::stat(exe.c_str(), &st) == 0 && st.st_ino == file.ino && st.st_dev == file.dev;
}

// Whether /proc/<pid>/maps has a mapping of the file.
bool MapsHold(const std::string& pid, FileId file, const std::string& host) {
  const std::string path = "/proc/" + pid + "/maps";
  FILE* f = std::fopen(path.c_str(), "re");
  if (!f) return false;
  bool found = false;
  char* line = nullptr;
  size_t cap = 0;
  while (!found && ::getline(&line, &cap, f) > 0) {
    // address perms offset major:minor inode [path]
    unsigned major_no = 0, minor_no = 0;
    unsigned long long inode = 0;
    int name_at = 0;
    if (std::sscanf(line, "%*s %*s %*s %x:%x %llu %n", &major_no, &minor_no, &inode, &name_at) < 3 || inode == 0)
      continue;
    if (inode != file.ino) continue;
    if (makedev(major_no, minor_no) == file.dev) {
      found = true;
      break;
    }
    std::string name = name_at > 0 ? std::string(line + name_at) : std::string();
    while (!name.empty() && (name.back() == '\n' || name.back() == ' ')) name.pop_back();
    found = name == host;
  }
  std::free(line);
  std::fclose(f);
  return found;
}

}  // namespace

uint64_t OpenFileTable::Add(FileId file, uint32_t access, uint32_t share) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  const uint64_t ticket = t.next_ticket++;
  t.entries.push_back({ticket, file, access, share});
  return ticket;
}

void OpenFileTable::Remove(uint64_t ticket) noexcept {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  for (auto it = t.entries.begin(); it != t.entries.end(); ++it) {
    if (it->ticket == ticket) {
      t.entries.erase(it);
      return;
    }
  }
}

bool OpenFileTable::Conflicts(FileId file, uint32_t access, uint32_t share) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  for (const Entry& e : t.entries) {
    if (!(e.file == file)) continue;
    // The new handle must share what the open one does, and the open one
    // must share what the new one does.
    if ((access & GENERIC_READ) && !(e.share & FILE_SHARE_READ)) return true;
    if ((access & GENERIC_WRITE) && !(e.share & FILE_SHARE_WRITE)) return true;
    if ((e.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
    if ((e.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
  }
  return false;
}

bool OpenFileTable::BlocksDelete(FileId file) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  for (const Entry& e : t.entries)
    if (e.file == file && !(e.share & FILE_SHARE_DELETE)) return true;
  return false;
}

void OpenFileTable::ForgetAllAfterFork() noexcept {
  // After fork() only this thread exists; the mutex may have been copied
  // locked by a thread that is gone, so it is rebuilt rather than taken.
  Table& t = TheTable();
  new (&t.mutex) std::mutex();
  t.entries.clear();
}

bool HeldByOtherProcess(FileId file, const std::filesystem::path& host) {
  const std::string self = std::to_string(::getpid());
  DIR* proc = ::opendir("/proc");
  if (!proc) return false;
  bool found = false;
  while (!found) {
    const dirent* e = ::readdir(proc);
    if (!e) break;
    if (!IsNumber(e->d_name) || self == e->d_name) continue;
    found = RunsFile(e->d_name, file) || DescriptorsHold(e->d_name, file) ||
            MapsHold(e->d_name, file, host.string());
  }
  ::closedir(proc);
  return found;
}

bool FileInUse(FileId file, const std::filesystem::path& host) {
  return OpenFileTable::BlocksDelete(file) || HeldByOtherProcess(file, host);
}

}  // namespace wenmoor::platform
