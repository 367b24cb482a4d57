#include "platform/win/shutdown.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win/machine.h"
#include "platform/win/os_version.h"
#include "platform/win/win_error.h"

namespace wenmoor::platform {
namespace {

// The privileges this system knows by name, with the identifiers Windows
// gives them (their LUIDs are fixed numbers).
struct Privilege {
  std::string_view name;
  uint64_t luid;
};
constexpr std::array<Privilege, 3> kPrivileges{{
    {"SeShutdownPrivilege", 19},
    {"SeRemoteShutdownPrivilege", 24},
    {"SeBackupPrivilege", 17},
}};

// The process token: which of the known privileges are enabled.
std::array<bool, kPrivileges.size()>& EnabledPrivileges() {
  static std::array<bool, kPrivileges.size()> enabled{};
  return enabled;
}

int PrivilegeIndex(uint64_t luid) {
  for (size_t i = 0; i < kPrivileges.size(); ++i)
    if (kPrivileges[i].luid == luid) return static_cast<int>(i);
  return -1;
}

std::filesystem::path MarkFile() { return Machine::Current().Prefix() / "restart-pending"; }

}  // namespace

bool OpenProcessToken(uint32_t access, TokenHandle& token) {
  token.access = access;
  return true;
}

bool LookupPrivilegeValue(std::string_view name, uint64_t& luid) {
  for (const Privilege& p : kPrivileges) {
    if (name.size() == p.name.size() &&
        std::equal(name.begin(), name.end(), p.name.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                               std::tolower(static_cast<unsigned char>(b)); })) {
      luid = p.luid;
      return true;
    }
  }
  return Fail(ERROR_NO_SUCH_PRIVILEGE);
}

bool AdjustTokenPrivileges(const TokenHandle& token, uint64_t luid, uint32_t attributes) {
  if (!(token.access & TOKEN_ADJUST_PRIVILEGES)) return Fail(ERROR_ACCESS_DENIED);
  const int index = PrivilegeIndex(luid);
  if (index < 0) return Fail(ERROR_NO_SUCH_PRIVILEGE);
  EnabledPrivileges()[static_cast<size_t>(index)] = (attributes & SE_PRIVILEGE_ENABLED) != 0;
  SetLastError(ERROR_SUCCESS);
  return true;
}

bool ExitWindowsEx(uint32_t flags, uint32_t reason) {
  OsVersionInfo version;
  if (!GetVersionEx(version)) return false;
  if (!version.IsWin9x() && !EnabledPrivileges()[static_cast<size_t>(PrivilegeIndex(19))])
    return Fail(ERROR_PRIVILEGE_NOT_HELD);
  // Written under a temporary name and renamed, so that a mark is whole
  // or absent.
  const std::filesystem::path mark = MarkFile();
  std::filesystem::path partial = mark;
  partial += ".tmp";
  {
    std::ofstream out(partial, std::ios::trunc);
    out << "flags=" << flags << " reason=" << reason << "\n";
    out.flush();
    if (!out) return FailFromErrno();
  }
  std::error_code error;
  std::filesystem::rename(partial, mark, error);
  if (error) {
    std::filesystem::remove(partial, error);
    return Fail(ERROR_ACCESS_DENIED);
  }
  return true;
}

bool RestartPending() { return std::filesystem::exists(MarkFile()); }

void ClearRestartPending() {
  std::error_code ignored;
  std::filesystem::remove(MarkFile(), ignored);
}

}  // namespace wenmoor::platform
