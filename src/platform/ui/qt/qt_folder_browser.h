// The folder browser of the Qt backend: a tree of the machine's drives and
// folders (read through the platform's file services, so it shows Windows
// paths), an optional button that creates a folder and an optional edit
// box in which a path can be typed.
//
// With the edit box, OK answers what was typed or selected last and
// creates it with its missing parents first (a path typed that does not
// exist yet is the new folder); without it, OK answers the selected folder
// as it is. The create button asks allow_create_folder, then creates the
// typed path when it does not exist, else asks for a name and creates it
// inside the selected folder; the tree is read again and the new folder
// selected.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "platform/ui/backend.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace wenmoor::qt {

class QtBackend;

class FolderBrowser : public QDialog {
 public:
  static constexpr const char* kCreateCaption = "&New Folder";
  static constexpr const char* kNewFolderCaption = "New Folder";
  static constexpr const char* kNewFolderPrompt = "Name of the new folder:";

  FolderBrowser(QtBackend& backend, const FolderBrowseRequest& request);

  // The folder chosen (a Windows path), after the dialog was accepted.
  const std::string& Chosen() const { return chosen_; }
  // The path the browser stands on: selected or typed.
  const std::string& CurrentPath() const { return current_; }
  // Selects `path` (or the nearest existing folder above it) in the tree;
  // true when the path itself was found.
  bool SelectPath(const std::string& path);

  void accept() override;

 private:
  void Fill();
  void Expand(QTreeWidgetItem* item);
  void SelectionChanged();
  void Typed(const QString& text);
  void CreateFolder();
  void UpdateButtons();
  void Error(const std::string& text);

  QtBackend& backend_;
  FolderBrowseRequest request_;
  QTreeWidget* tree_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QPushButton* create_ = nullptr;
  QPushButton* ok_ = nullptr;
  std::string current_;
  std::string chosen_;
  bool typing_ = false;
  bool selecting_ = false;
};

}  // namespace wenmoor::qt
