// Native libraries through dlopen.
#include "platform/win/library.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {

std::unique_ptr<Library> Library::Load(std::string_view win_path) {
  std::optional<std::string> found = SearchPath(win_path, ".dll");
  if (!found) found = SearchPath(win_path, "");
  if (!found) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  std::optional<std::filesystem::path> host = Machine::Current().Paths().ToHost(*found);
  if (!host) return nullptr;
  // Only an ELF object is handed to dlopen: a PE file or other content
  // gets Windows' answer for a foreign format.
  char magic[4] = {};
  const int fd = ::open(host->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const ssize_t n = ::read(fd, magic, sizeof magic);
  ::close(fd);
  if (n != 4 || std::memcmp(magic, "\x7f" "ELF", 4) != 0) {
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  void* handle = ::dlopen(host->c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    // An ELF object of another machine, or one whose dependencies are
    // missing: neither can be loaded into this process.
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  return std::unique_ptr<Library>(new Library(handle, *found));
}

Library::~Library() { ::dlclose(handle_); }

void* Library::ProcAddress(std::string_view name) const {
  void* symbol = ::dlsym(handle_, std::string(name).c_str());
  if (!symbol) SetLastError(ERROR_PROC_NOT_FOUND);
  return symbol;
}

}  // namespace wenmoor::platform
