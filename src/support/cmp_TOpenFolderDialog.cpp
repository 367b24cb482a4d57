#include "support/cmp_TOpenFolderDialog.h"

#include "platform/rtl/format.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/dialogs.h"
#include "platform/win/files.h"
#include "support/routines_API.h"
#include "support/routines_FileSystem.h"

namespace wenmoor {

namespace {

// The library's text, or `fallback` where the library has none (native
// libraries carry no string resources).
std::string LibraryText(const char* library, uint32_t id, const char* fallback) {
  std::string text = LoadStringFromLibrary(library, id);
  return text.empty() ? fallback : text;
}

// Windows paths hold at most MAX_PATH characters.
constexpr size_t kMaxPath = 260;

}  // namespace

std::string TOFDResourceStrings::CreateFolderCaption() { return LibraryText("comdlg32.dll", 703, "Create Folder"); }

std::string TOFDResourceStrings::NewFolderPrompt() { return LibraryText("shell32.dll", 8977, "New folder name:"); }

std::string TOFDResourceStrings::BrowseTitle() {
  const std::string title = LoadStringFromLibrary("shell32.dll", 9248);
  return title.empty() ? std::string("Browse for Folder") : Format(title, std::string());
}

std::string TOpenFolderDialog::InitialSelection(const std::string& directory) {
  if (directory.empty()) return {};
  const std::string nearest = NearestExistingDirectory(directory);
  if (nearest.empty()) return {};
  return nearest.size() > 3 ? ExcludeTrailingBackslash(nearest) : IncludeTrailingBackslash(nearest);
}

FolderBrowseRequest TOpenFolderDialog::Request() {
  FolderBrowseRequest r;
  r.id = Name();
  r.caption = TOFDResourceStrings::BrowseTitle();
  r.initial_directory = InitialSelection(directory_);
  r.show_create_button = show_create_button_;
  r.show_path_edit = show_path_edit_;
  if (show_create_button_) {
    r.allow_create_folder = [this] {
      bool allow = true;
      OnCreateFolder(this, allow);
      return allow;
    };
  }
  return r;
}

bool TOpenFolderDialog::Execute() {
  const std::optional<std::string> chosen = BrowseForFolder(Request());
  if (!chosen) return false;
  if (!show_path_edit_) {
    current_path_ = chosen->substr(0, kMaxPath);
    directory_ = current_path_;
    return true;
  }
  // A typed path may name a folder that does not exist yet: it is made now.
  current_path_ = *chosen;
  if (!platform::ForceDirectories(current_path_))
    throw EInOutError(Format("The folder \"%s\" cannot be created", current_path_));
  directory_ = current_path_;
  return true;
}

WENMOOR_REGISTER_CLASS(TOpenFolderDialog) {}

}  // namespace wenmoor
