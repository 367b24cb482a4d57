#include "platform/win/reg_hive_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/win/reg_file_reader.h"
#include "platform/win/reg_file_writer.h"

namespace wenmoor::platform {

namespace {

constexpr uint64_t kMinFoldThreshold = 1u << 20;

// The one place where errno becomes the store's error.
[[noreturn]] void ThrowIo(const char* action, const std::filesystem::path& path, int err = errno) {
  throw RegistryIoError(std::string("Cannot ") + action + " " + path.string() + ": " + std::strerror(err));
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);  // no retry on EINTR: the descriptor is gone either way
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

void WriteAll(int fd, std::string_view bytes, uint64_t offset, const std::filesystem::path& path) {
  while (!bytes.empty()) {
    ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowIo("write", path);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
}

std::string ReadRange(int fd, uint64_t offset, uint64_t size, const std::filesystem::path& path) {
  std::string buf(size, '\0');
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::pread(fd, buf.data() + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowIo("read", path);
    }
    if (n == 0) break;  // shorter than stat said: take what is there
    done += static_cast<size_t>(n);
  }
  buf.resize(done);
  return buf;
}

void SyncDirectory(const std::filesystem::path& dir) {
  Fd fd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0 || ::fsync(fd.get()) != 0) ThrowIo("sync the directory", dir);
}

}  // namespace

HiveFile::HiveFile(std::filesystem::path reg_path, std::vector<std::string> header)
    : reg_path_(std::move(reg_path)),
      journal_path_(reg_path_.string() + ".journal"),
      temp_path_(reg_path_.string() + ".tmp"),
      default_header_(std::move(header)) {}

HiveFile::~HiveFile() {
  if (journal_fd_ >= 0) ::close(journal_fd_);
}

HiveFile::FileId HiveFile::Identify(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    ThrowIo("examine", path);
  }
  FileId id;
  id.exists = true;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  id.size = static_cast<uint64_t>(st.st_size);
  id.mtime_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  id.ctime_ns = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  return id;
}

uint64_t HiveFile::FoldThreshold() const { return std::max<uint64_t>(kMinFoldThreshold, reg_id_.size); }

RegHive& HiveFile::CatchUp() {
  // A journal that shrank or was replaced under us means that its records
  // are in a new hive file by now (or gone): the hive file is read again.
  for (int round = 0; round < 3; ++round) {
    const FileId id = Identify(reg_path_);
    if (!tree_ || !(id == reg_id_)) Load(id);
    if (ReadJournal()) return *tree_;
    tree_.reset();
  }
  throw RegistryIoError("The registry files of " + reg_path_.string() + " keep changing while being read");
}

void HiveFile::Load(const FileId& id) {
  tree_.reset();
  journal_size_ = 0;
  if (broken_ && id == broken_id_) throw *broken_;
  broken_.reset();
  if (!id.exists) {
    tree_ = std::make_unique<RegHive>();
    tree_->HeaderLines() = default_header_;
    tree_->Root().modified = FileTimeNow();
  } else {
    Fd fd(::open(reg_path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) ThrowIo("open", reg_path_);
    const std::string text = ReadRange(fd.get(), 0, id.size, reg_path_);
    try {
      tree_ = ReadRegFile(text, reg_path_.string());
    } catch (const RegistryFormatError& e) {
      broken_ = e;
      broken_id_ = id;
      throw;
    }
  }
  reg_id_ = id;
}

void HiveFile::OpenJournal(bool create) {
  if (journal_fd_ >= 0) ::close(journal_fd_);
  journal_fd_ = ::open(journal_path_.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
  if (journal_fd_ < 0) {
    if (!create && errno == ENOENT) return;
    ThrowIo("open", journal_path_);
  }
  struct stat st {};
  if (::fstat(journal_fd_, &st) != 0) ThrowIo("examine", journal_path_);
  journal_ino_ = st.st_ino;
}

bool HiveFile::ReadJournal() {
  struct stat st {};
  if (::stat(journal_path_.c_str(), &st) != 0) {
    if (errno != ENOENT) ThrowIo("examine", journal_path_);
    if (journal_fd_ >= 0) ::close(journal_fd_);
    journal_fd_ = -1;
    return journal_size_ == 0;  // gone after we applied some of it: reload
  }
  if (journal_fd_ < 0 || st.st_ino != journal_ino_) {
    if (journal_size_ > 0) return false;  // a different journal file than the one applied
    OpenJournal(false);
    if (journal_fd_ < 0) return true;
  }
  const auto size = static_cast<uint64_t>(st.st_size);
  if (size < journal_size_) return false;
  if (size == journal_size_) return true;

  uint64_t start = journal_size_;
  if (start == 0) {
    if (size < kJournalMagic.size()) {
      // A journal whose creation was interrupted before its first record.
      if (::ftruncate(journal_fd_, 0) != 0) ThrowIo("truncate", journal_path_);
      return true;
    }
    if (ReadRange(journal_fd_, 0, kJournalMagic.size(), journal_path_) != kJournalMagic) {
      throw RegistryFormatError(journal_path_.string(), 0, "not a registry journal");
    }
    start = kJournalMagic.size();
  }
  const std::string bytes = ReadRange(journal_fd_, start, size - start, journal_path_);
  std::vector<JournalRecord> records;
  const size_t valid = DecodeRecords(bytes, records);
  for (const JournalRecord& r : records) ApplyRecord(*tree_, r);
  journal_size_ = start + valid;
  if (journal_size_ < size) {
    // The torn tail of a writer that died; cut it off so that the next record
    // follows the last valid one.
    if (::ftruncate(journal_fd_, static_cast<off_t>(journal_size_)) != 0) ThrowIo("truncate", journal_path_);
  }
  return true;
}

void HiveFile::Append(const JournalRecord& record) {
  std::string bytes;
  if (journal_size_ == 0) bytes = std::string(kJournalMagic);
  bytes += EncodeRecord(record);
  if (journal_fd_ < 0) OpenJournal(true);
  try {
    WriteAll(journal_fd_, bytes, journal_size_, journal_path_);
  } catch (const RegistryIoError&) {
    // Take back a partial record (disk full): the journal must end on a
    // record boundary. If even that fails, the next reader cuts it off.
    if (::ftruncate(journal_fd_, static_cast<off_t>(journal_size_)) != 0) {
    }
    throw;
  }
  journal_size_ += bytes.size();
  ApplyRecord(*tree_, record);
  if (journal_size_ > FoldThreshold()) Fold();
}

bool HiveFile::Fold() {
  if (!tree_ || journal_size_ == 0) return false;
  const std::string text = WriteRegFile(*tree_);
  {
    Fd fd(::open(temp_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0) ThrowIo("create", temp_path_);
    try {
      WriteAll(fd.get(), text, 0, temp_path_);
      if (::fsync(fd.get()) != 0) ThrowIo("sync", temp_path_);
    } catch (...) {
      ::unlink(temp_path_.c_str());
      throw;
    }
  }
  if (::rename(temp_path_.c_str(), reg_path_.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp_path_.c_str());
    ThrowIo("replace", reg_path_, err);
  }
  // The rename must be on disk before the journal is emptied, or a power
  // loss could keep the empty journal and the old hive file.
  SyncDirectory(reg_path_.parent_path());
  reg_id_ = Identify(reg_path_);
  if (::ftruncate(journal_fd_, 0) != 0) ThrowIo("truncate", journal_path_);
  journal_size_ = 0;
  return true;
}

}  // namespace wenmoor::platform
