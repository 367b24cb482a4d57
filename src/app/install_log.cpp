#include "app/install_log.h"

#include <exception>

#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"

namespace quarry {

using namespace wenmoor;

std::string TInstallLog::Save() const noexcept {
  try {
    std::string dir = log_dir_;
    if (dir.empty() || !platform::DirectoryExists(ExcludeTrailingBackslash(dir))) dir = platform::GetTempPath();
    const std::string path = IncludeTrailingBackslash(dir) + kFileName;
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    TFileStream out(path, fmCreate);
    out.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    return path;
  } catch (const std::exception&) {
    return {};
  }
}

TInstallLog& InstallLog() {
  static TInstallLog log;
  return log;
}

}  // namespace quarry
