// The last error and the one errno conversion.
#include "platform/win/win_error.h"

#include <cerrno>

namespace wenmoor::platform {

namespace {
thread_local uint32_t last_error = ERROR_SUCCESS;

struct Text {
  uint32_t code;
  const char* text;
};

// The system's English texts, as FormatMessage gives them.
constexpr Text kTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, "Incorrect function."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough storage is available to process this command."},
    {ERROR_BAD_FORMAT, "An attempt was made to load a program with an incorrect format."},
    {ERROR_INVALID_DATA, "The data is invalid."},
    {ERROR_INVALID_DRIVE, "The system cannot find the drive specified."},
    {ERROR_CURRENT_DIRECTORY, "The directory cannot be removed."},
    {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive."},
    {ERROR_NO_MORE_FILES, "There are no more files."},
    {ERROR_WRITE_PROTECT, "The media is write protected."},
    {ERROR_NOT_READY, "The device is not ready."},
    {ERROR_SEEK, "The drive cannot locate a specific area or track on the disk."},
    {ERROR_WRITE_FAULT, "The system cannot write to the specified device."},
    {ERROR_READ_FAULT, "The system cannot read from the specified device."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used by another process."},
    {ERROR_LOCK_VIOLATION,
     "The process cannot access the file because another process has locked a portion of the file."},
    {ERROR_HANDLE_EOF, "Reached the end of the file."},
    {ERROR_HANDLE_DISK_FULL, "The disk is full."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_FILE_EXISTS, "The file exists."},
    {ERROR_CANNOT_MAKE, "The directory or file cannot be created."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, "The pipe has been ended."},
    {ERROR_OPEN_FAILED, "The system cannot open the device or file specified."},
    {ERROR_BUFFER_OVERFLOW, "The file name is too long."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_CALL_NOT_IMPLEMENTED, "This function is not supported on this system."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_MOD_NOT_FOUND, "The specified module could not be found."},
    {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found."},
    {ERROR_WAIT_NO_CHILDREN, "There are no child processes to wait for."},
    {ERROR_NEGATIVE_SEEK, "An attempt was made to move the file pointer before the beginning of the file."},
    {ERROR_DIR_NOT_EMPTY, "The directory is not empty."},
    {ERROR_BUSY, "The requested resource is in use."},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists."},
    {ERROR_BAD_EXE_FORMAT, "%1 is not a valid Win32 application."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_DIRECTORY, "The directory name is invalid."},
    {ERROR_NOACCESS, "Invalid access to memory location."},
    {ERROR_RESOURCE_DATA_NOT_FOUND, "The specified image file did not contain a resource section."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, "The specified resource type cannot be found in the image file."},
    {ERROR_CANT_RESOLVE_FILENAME, "The name of the file cannot be resolved by the system."},
};
}  // namespace

uint32_t GetLastError() { return last_error; }
void SetLastError(uint32_t code) { last_error = code; }

uint32_t ErrorFromErrno(int err) {
  switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EBUSY:
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case ELOOP: return ERROR_CANT_RESOLVE_FILENAME;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    case ECHILD: return ERROR_WAIT_NO_CHILDREN;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    case ENOSYS: return ERROR_CALL_NOT_IMPLEMENTED;
    case EIO: return ERROR_GEN_FAILURE;
    default: return ERROR_GEN_FAILURE;
  }
}

bool FailFromErrno() { return Fail(ErrorFromErrno(errno)); }

bool Fail(uint32_t code) {
  SetLastError(code);
  return false;
}

std::string FormatMessage(uint32_t code) {
  for (const Text& t : kTexts)
    if (t.code == code) return t.text;
  return "Unknown error " + std::to_string(code) + ".";
}

std::string SysErrorMessage(uint32_t code) {
  std::string text = FormatMessage(code);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.')) text.pop_back();
  return text;
}

EOSError::EOSError(uint32_t code)
    : Exception(Format("System Error.  Code: %d.\n%s", code, SysErrorMessage(code))), code_(code) {}

void RaiseLastOSError() { throw EOSError(GetLastError()); }

}  // namespace wenmoor::platform
