// A fresh emulated machine in a temporary directory for the archive's
// tests, with helpers to put files on its drive C: (below C:\t) and to read
// them back, deterministic test data, and a disk of limited size.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "archive/cmp_TWnmrCompress.h"
#include "platform/rtl/stream.h"
#include "platform/win/machine.h"

namespace wenmoor::test {

using Bytes = std::vector<uint8_t>;

// Text-like data: words from a small vocabulary, so that it compresses.
inline Bytes TextData(size_t size, uint32_t seed = 1) {
  static const char* const kWords[] = {"archive ", "member ", "header ", "disk ", "setup\r\n", "file ",
                                       "the ", "of ", "version ", "0x1F ", "install ", "Quarry "};
  Bytes out;
  out.reserve(size);
  uint32_t x = seed;
  while (out.size() < size) {
    x = x * 1103515245u + 12345u;
    const char* w = kWords[(x >> 16) % 12];
    for (; *w && out.size() < size; ++w) out.push_back(static_cast<uint8_t>(*w));
  }
  return out;
}

// Binary-like data: random bytes with some runs, compressing a little.
inline Bytes BinaryData(size_t size, uint32_t seed = 7) {
  Bytes out(size);
  uint32_t x = seed;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1664525u + 1013904223u;
    out[i] = (x >> 28) < 4 ? 0 : static_cast<uint8_t>(x >> 24);
  }
  return out;
}

inline Bytes ReadHostFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteHostFile(const std::filesystem::path& p, const Bytes& data) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// A stream that takes at most `capacity` bytes in all: a disk that fills.
class LimitedStream : public TStream {
 public:
  LimitedStream(std::unique_ptr<TStream> inner, int64_t capacity) : inner_(std::move(inner)), capacity_(capacity) {}
  int64_t Read(void* buffer, int64_t count) override { return inner_->Read(buffer, count); }
  int64_t Write(const void* buffer, int64_t count) override {
    const int64_t room = std::max<int64_t>(0, capacity_ - inner_->Size());
    return inner_->Write(buffer, std::min(count, room));
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override { return inner_->Seek(offset, origin); }
  int64_t Size() override { return inner_->Size(); }
  void SetSize(int64_t size) override { inner_->SetSize(size); }

 private:
  std::unique_ptr<TStream> inner_;
  int64_t capacity_;
};

// The component with every output file on a disk of `capacity` bytes.
class SmallDiskCompress : public TWnmrCompress {
 public:
  explicit SmallDiskCompress(TComponent* owner) : TWnmrCompress(owner) {}
  int64_t capacity = 1 << 30;

 protected:
  std::unique_ptr<TStream> CreateOutput(const std::string& path) override {
    return std::make_unique<LimitedStream>(TWnmrCompress::CreateOutput(path), capacity);
  }
};

class ArchiveFixture : public ::testing::Test {
 public:
  // Dates are compared in local time: it is pinned to UTC.
  ArchiveFixture() : dir_(MakeDir()), scope_(std::make_unique<platform::Machine::TestScope>(dir_ / "prefix")) {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  ~ArchiveFixture() override {
    scope_.reset();  // the machine lets go of its files before they go
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // "C:\t\<rel>" with "/" turned into "\".
  static std::string Win(std::string rel) {
    std::replace(rel.begin(), rel.end(), '/', '\\');
    return "C:\\t\\" + rel;
  }
  std::filesystem::path Host(const std::string& rel) const { return dir_ / "prefix" / "drive_c" / "t" / rel; }

  std::string Put(const std::string& rel, const Bytes& data) {
    WriteHostFile(Host(rel), data);
    return Win(rel);
  }
  Bytes Get(const std::string& rel) const { return ReadHostFile(Host(rel)); }
  bool Exists(const std::string& rel) const { return std::filesystem::exists(Host(rel)); }

  // Sets the host file's modification time (seconds since 1970).
  void SetMTime(const std::string& rel, int64_t unix_seconds) {
    std::filesystem::last_write_time(
        Host(rel), std::filesystem::file_time_type::clock::from_sys(
                       std::chrono::sys_seconds(std::chrono::seconds(unix_seconds))));
  }

  template <class T = TWnmrCompress>
  ComponentPtr<T> NewCompress() {
    return CreateUnowned<T>();
  }

  // Compresses `files` (relative names) into `archive` with one call.
  void Compress(TWnmrCompress& c, const std::string& archive, const std::vector<std::string>& files,
                TlzhCommand command = lzcOverwrite, int file_id = 0) {
    c.SetCompressedFile(Win(archive));
    TStringList list;
    for (const auto& f : files) list.Add(Win(f));
    c.SetFilesToProcess(list);
    c.Compress(command, file_id);
  }

  const std::filesystem::path& dir() const { return dir_; }

 private:
  static std::filesystem::path MakeDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "wenmoor-archive.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
  }
  std::filesystem::path dir_;
  std::unique_ptr<platform::Machine::TestScope> scope_;
};

// The message of the EWnmrCompress (or descendant) that `f` raises; a
// failure of the test when it raises none.
template <class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const EWnmrCompress& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no EWnmrCompress raised";
  return {};
}

}  // namespace wenmoor::test
