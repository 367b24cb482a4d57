// Windows error codes for the emulated machine.
//
// The file and process services report failure as Windows does: the call
// answers false (or an empty result) and leaves a Windows error code in the
// calling thread's last-error slot (GetLastError). Every errno that the host
// gives is turned into a Windows code in one place, ErrorFromErrno, so the
// layers above see only Windows numbers and Windows texts.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/exceptions.h"

namespace wenmoor::platform {

// Windows' numbers (winerror.h).
inline constexpr uint32_t ERROR_SUCCESS = 0;
inline constexpr uint32_t ERROR_INVALID_FUNCTION = 1;
inline constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr uint32_t ERROR_PATH_NOT_FOUND = 3;
inline constexpr uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr uint32_t ERROR_ACCESS_DENIED = 5;
inline constexpr uint32_t ERROR_INVALID_HANDLE = 6;
inline constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr uint32_t ERROR_BAD_FORMAT = 11;
inline constexpr uint32_t ERROR_INVALID_DATA = 13;
inline constexpr uint32_t ERROR_INVALID_DRIVE = 15;
inline constexpr uint32_t ERROR_CURRENT_DIRECTORY = 16;
inline constexpr uint32_t ERROR_NOT_SAME_DEVICE = 17;
inline constexpr uint32_t ERROR_NO_MORE_FILES = 18;
inline constexpr uint32_t ERROR_WRITE_PROTECT = 19;
inline constexpr uint32_t ERROR_NOT_READY = 21;
inline constexpr uint32_t ERROR_SEEK = 25;
inline constexpr uint32_t ERROR_WRITE_FAULT = 29;
inline constexpr uint32_t ERROR_READ_FAULT = 30;
inline constexpr uint32_t ERROR_GEN_FAILURE = 31;
inline constexpr uint32_t ERROR_SHARING_VIOLATION = 32;
inline constexpr uint32_t ERROR_LOCK_VIOLATION = 33;
inline constexpr uint32_t ERROR_HANDLE_EOF = 38;
inline constexpr uint32_t ERROR_HANDLE_DISK_FULL = 39;
inline constexpr uint32_t ERROR_NOT_SUPPORTED = 50;
inline constexpr uint32_t ERROR_FILE_EXISTS = 80;
inline constexpr uint32_t ERROR_CANNOT_MAKE = 82;
inline constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr uint32_t ERROR_BROKEN_PIPE = 109;
inline constexpr uint32_t ERROR_OPEN_FAILED = 110;
inline constexpr uint32_t ERROR_BUFFER_OVERFLOW = 111;
inline constexpr uint32_t ERROR_DISK_FULL = 112;
inline constexpr uint32_t ERROR_CALL_NOT_IMPLEMENTED = 120;
inline constexpr uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr uint32_t ERROR_INVALID_NAME = 123;
inline constexpr uint32_t ERROR_MOD_NOT_FOUND = 126;
inline constexpr uint32_t ERROR_PROC_NOT_FOUND = 127;
inline constexpr uint32_t ERROR_WAIT_NO_CHILDREN = 128;
inline constexpr uint32_t ERROR_NEGATIVE_SEEK = 131;
inline constexpr uint32_t ERROR_DIR_NOT_EMPTY = 145;
inline constexpr uint32_t ERROR_BUSY = 170;
inline constexpr uint32_t ERROR_ALREADY_EXISTS = 183;
inline constexpr uint32_t ERROR_BAD_EXE_FORMAT = 193;
inline constexpr uint32_t ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr uint32_t ERROR_DIRECTORY = 267;
inline constexpr uint32_t ERROR_NOACCESS = 998;
inline constexpr uint32_t ERROR_CANT_RESOLVE_FILENAME = 1921;
inline constexpr uint32_t ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
inline constexpr uint32_t ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;

// The calling thread's last error, as GetLastError/SetLastError keep it.
uint32_t GetLastError();
void SetLastError(uint32_t code);

// The one conversion from the host's errno to a Windows error code.
uint32_t ErrorFromErrno(int err);
// ErrorFromErrno(errno) stored as the last error; always answers false so
// that a failing call can end with `return FailFromErrno();`.
bool FailFromErrno();
// SetLastError(code); answers false, for the same use.
bool Fail(uint32_t code);

// The system's text for an error, as FormatMessage gives it
// ("The system cannot find the file specified."), without the final line
// break; "Unknown error <n>." for numbers it does not know.
std::string FormatMessage(uint32_t code);
// The text as the component library's SysErrorMessage shows it: trailing
// blanks and dots removed ("Access is denied").
std::string SysErrorMessage(uint32_t code);

// The component library's error for a failed system call, carrying the code.
// Message: "System Error.  Code: %d.\n%s".
class EOSError : public Exception {
 public:
  explicit EOSError(uint32_t code);
  EOSError(std::string message, uint32_t code) : Exception(std::move(message)), code_(code) {}
  uint32_t ErrorCode() const { return code_; }

 private:
  uint32_t code_;
};

// Raises EOSError for GetLastError() (RaiseLastOSError).
[[noreturn]] void RaiseLastOSError();

}  // namespace wenmoor::platform
