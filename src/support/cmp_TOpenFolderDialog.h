// The folder browser: lets the user pick a directory, optionally with a
// button that creates a folder and an edit box in which a path can be typed.
// The browser itself, with its two additions, is the user-interface
// backend's (FolderBrowseRequest); this component asks for it and settles
// the answer: a typed path that does not exist yet is created, with its
// missing parents, when the user confirms it.
#pragma once

#include <string>

#include "platform/rtl/component.h"
#include "platform/rtl/events.h"
#include "platform/ui/backend.h"

namespace wenmoor {

// The texts of the browser, from the system's own libraries where it has
// them, else in English.
struct TOFDResourceStrings {
  static std::string CreateFolderCaption();
  static std::string NewFolderPrompt();
  static std::string BrowseTitle();
};

// Sender: the dialog; Allow preset to true.
using TOFDCreateFolderEvent = TEvent<TObject*, bool&>;

class TOpenFolderDialog : public TComponent {
  WENMOOR_CLASS(TOpenFolderDialog, TComponent)
 public:
  explicit TOpenFolderDialog(TComponent* owner) : TComponent(owner) {}

  // In: the folder to select first. Out: the folder chosen.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& v) { directory_ = v; }
  bool ShowCreateButton() const { return show_create_button_; }
  void SetShowCreateButton(bool v) { show_create_button_ = v; }
  bool ShowPathEdit() const { return show_path_edit_; }
  void SetShowPathEdit(bool v) { show_path_edit_ = v; }
  // The folder last chosen or typed.
  const std::string& CurrentPath() const { return current_path_; }
  // May forbid creating a folder.
  TOFDCreateFolderEvent OnCreateFolder;

  // Shows the browser: true when a folder was chosen (then in Directory);
  // false when it was cancelled (Directory unchanged). With the path edit, a
  // chosen path that does not exist is created with its parents; one that
  // cannot be created raises EInOutError and leaves Directory unchanged.
  bool Execute();

  // What the browser is asked for.
  FolderBrowseRequest Request();
  // The folder the browser opens on for `directory`: its nearest existing
  // directory, a drive root with its backslash and any other without one;
  // empty for an empty path.
  static std::string InitialSelection(const std::string& directory);

 private:
  std::string directory_;
  bool show_create_button_ = true;
  bool show_path_edit_ = true;
  std::string current_path_;
};

}  // namespace wenmoor
