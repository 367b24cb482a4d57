#include "platform/win/executable.h"

#include <sys/stat.h>

#include <cstring>

#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {

bool MarkExecutable(std::string_view win_path) {
  const auto host = Machine::Current().Paths().ToHost(win_path);
  if (!host) return Fail(ERROR_PATH_NOT_FOUND);
  struct stat st {};
  if (::stat(host->c_str(), &st) != 0) return FailFromErrno();
  if (!S_ISREG(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  // Execute where read is allowed: r-- becomes r-x for owner, group, others.
  const mode_t mode = st.st_mode | ((st.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) >> 2);
  if (mode != st.st_mode && ::chmod(host->c_str(), mode & 07777) != 0) return FailFromErrno();
  return true;
}

bool IsHostProgramMagic(const char* first, long count) {
  return (count >= 4 && std::memcmp(first, "\x7f" "ELF", 4) == 0) || (count >= 2 && first[0] == '#' && first[1] == '!');
}

}  // namespace wenmoor::platform
