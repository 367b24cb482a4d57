// Shutting down the emulated machine: ExitWindowsEx with the privilege that
// the NT family asks for.
//
// ExitWindowsEx does not stop anything: it marks the machine as waiting for
// a restart (the file "restart-pending" in the prefix, holding the flags)
// and answers true. The calling program then ends by itself; the restart
// is `wenmoor restart`, which carries out what Windows does at start-up and
// then clears the mark (ClearRestartPending).
//
// On the NT family the call fails with ERROR_PRIVILEGE_NOT_HELD unless the
// process has enabled "SeShutdownPrivilege" in its token, as Windows
// refuses it; the 9x family has no privileges.
#pragma once

#include <cstdint>
#include <string_view>

namespace wenmoor::platform {

inline constexpr uint32_t EWX_LOGOFF = 0;
inline constexpr uint32_t EWX_SHUTDOWN = 1;
inline constexpr uint32_t EWX_REBOOT = 2;
inline constexpr uint32_t EWX_FORCE = 4;
inline constexpr uint32_t EWX_POWEROFF = 8;

inline constexpr uint32_t TOKEN_ADJUST_PRIVILEGES = 0x20;
inline constexpr uint32_t TOKEN_QUERY = 0x08;
inline constexpr uint32_t SE_PRIVILEGE_ENABLED = 2;
inline constexpr uint32_t ERROR_NO_SUCH_PRIVILEGE = 1313;
inline constexpr uint32_t ERROR_PRIVILEGE_NOT_HELD = 1314;

// The process's own token; `access` must include TOKEN_ADJUST_PRIVILEGES to
// change privileges through it. This process has exactly one token.
struct TokenHandle {
  uint32_t access = 0;
};
bool OpenProcessToken(uint32_t access, TokenHandle& token);
// The locally unique identifier of a privilege by its name; false and
// ERROR_NO_SUCH_PRIVILEGE for a name Windows does not know.
bool LookupPrivilegeValue(std::string_view name, uint64_t& luid);
// Sets the attributes of one privilege (SE_PRIVILEGE_ENABLED or 0); false
// and ERROR_ACCESS_DENIED without TOKEN_ADJUST_PRIVILEGES, or
// ERROR_NO_SUCH_PRIVILEGE for an unknown identifier.
bool AdjustTokenPrivileges(const TokenHandle& token, uint64_t luid, uint32_t attributes);

// See above. False with the last error when it is refused or the mark
// cannot be written.
bool ExitWindowsEx(uint32_t flags, uint32_t reason);

// Whether the current machine waits for a restart, and the end of that.
bool RestartPending();
void ClearRestartPending();

}  // namespace wenmoor::platform
