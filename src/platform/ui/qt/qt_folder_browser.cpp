#include "platform/ui/qt/qt_folder_browser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/rtl/format.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typeinfo.h"
#include "platform/ui/qt/qt_backend.h"
#include "platform/ui/qt/qt_convert.h"
#include "platform/win/files.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"

namespace wenmoor::qt {
namespace {

constexpr int kPathRole = Qt::UserRole;

std::string PathOf(const QTreeWidgetItem* item) {
  return item ? FromQt(item->data(0, kPathRole).toString()) : std::string();
}

// An item that has not been listed yet carries one empty child, so that
// it shows an expander.
void AddFolder(QTreeWidgetItem* parent_item, QTreeWidget* tree, const QString& text, const std::string& path) {
  auto* item = parent_item ? new QTreeWidgetItem(parent_item) : new QTreeWidgetItem(tree);
  item->setText(0, text);
  item->setData(0, kPathRole, ToQt(path));
  new QTreeWidgetItem(item);
}

}  // namespace

FolderBrowser::FolderBrowser(QtBackend& backend, const FolderBrowseRequest& request)
    : backend_(backend), request_(request) {
  setWindowTitle(ToQt(request.caption.empty() ? std::string("Browse for Folder") : request.caption));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* layout = new QVBoxLayout(this);
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("tree"));
  tree_->setHeaderHidden(true);
  tree_->setMinimumSize(320, 280);
  layout->addWidget(tree_, 1);
  if (request.show_path_edit) {
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("path"));
    layout->addWidget(edit_);
    QObject::connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) { Typed(text); });
  }
  auto* row = new QHBoxLayout;
  if (request.show_create_button) {
    create_ = new QPushButton(QString::fromLatin1(kCreateCaption), this);
    create_->setObjectName(QStringLiteral("create"));
    create_->setAutoDefault(false);
    row->addWidget(create_);
    QObject::connect(create_, &QPushButton::clicked, this, [this] { CreateFolder(); });
  }
  row->addStretch(1);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("ok"));
  ok_->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setAutoDefault(false);
  for (QPushButton* b : {ok_, cancel}) {
    b->setMinimumWidth(75);
    row->addWidget(b);
  }
  layout->addLayout(row);
  QObject::connect(ok_, &QPushButton::clicked, this, [this] { accept(); });
  QObject::connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  QObject::connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { Expand(item); });
  QObject::connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { SelectionChanged(); });
  Fill();
  if (!request.initial_directory.empty()) SelectPath(request.initial_directory);
  UpdateButtons();
}

void FolderBrowser::Fill() {
  selecting_ = true;
  tree_->clear();
  for (char drive : platform::Machine::Current().Paths().Drives()) {
    const std::string root = std::string(1, drive) + ":\\";
    AddFolder(nullptr, tree_, ToQt(root.substr(0, 2)), root);
  }
  selecting_ = false;
}

void FolderBrowser::Expand(QTreeWidgetItem* item) {
  if (item->childCount() != 1 || !item->child(0)->data(0, kPathRole).isNull()) return;  // listed already
  delete item->takeChild(0);
  const std::string dir = PathOf(item);
  for (const platform::FindData& entry : platform::FindFiles(IncludeTrailingBackslash(dir) + "*"))
    if (entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY)
      AddFolder(item, nullptr, ToQt(entry.name), IncludeTrailingBackslash(dir) + entry.name);
}

bool FolderBrowser::SelectPath(const std::string& path) {
  platform::PathMap& paths = platform::Machine::Current().Paths();
  const std::optional<platform::WinPath> parsed = paths.Parse(path);
  if (!parsed) return false;
  QTreeWidgetItem* item = nullptr;
  for (int i = 0; i < tree_->topLevelItemCount() && !item; ++i)
    if (PathOf(tree_->topLevelItem(i))[0] == parsed->drive) item = tree_->topLevelItem(i);
  if (!item) return false;
  bool found = true;
  for (const std::string& component : parsed->components) {
    item->setExpanded(true);
    Expand(item);
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < item->childCount() && !next; ++i)
      if (SameText(FromQt(item->child(i)->text(0)), component)) next = item->child(i);
    if (!next) {
      found = false;
      break;
    }
    item = next;
  }
  selecting_ = true;
  tree_->setCurrentItem(item);
  tree_->scrollToItem(item);
  selecting_ = false;
  SelectionChanged();
  return found;
}

void FolderBrowser::SelectionChanged() {
  if (selecting_) return;
  if (QTreeWidgetItem* item = tree_->currentItem()) current_ = PathOf(item);
  if (edit_ && !typing_) edit_->setText(ToQt(current_));
  UpdateButtons();
}

void FolderBrowser::Typed(const QString& text) {
  typing_ = true;
  const std::string typed = FromQt(text);
  if (platform::DirectoryExists(typed)) SelectPath(typed);
  current_ = typed;
  typing_ = false;
  UpdateButtons();
}

void FolderBrowser::UpdateButtons() {
  const bool chosen = edit_ ? !Trim(current_).empty() : tree_->currentItem() != nullptr;
  ok_->setEnabled(chosen);
  if (create_) create_->setEnabled(chosen);
}

void FolderBrowser::Error(const std::string& text) {
  MessageBoxRequest r;
  r.caption = FromQt(windowTitle());
  r.text = text;
  r.icon = TMessageIcon::Error;
  r.buttons = {{"OK", 1}};
  r.escape_result = 1;
  backend_.ShowMessageBox(r);
}

void FolderBrowser::CreateFolder() {
  if (request_.allow_create_folder && !request_.allow_create_folder()) return;
  std::string target;
  const std::string typed = edit_ ? Trim(FromQt(edit_->text())) : std::string();
  if (!typed.empty() && !platform::DirectoryExists(typed)) {
    target = typed;
  } else {
    if (current_.empty()) return;
    InputQueryRequest q;
    q.id = request_.id.empty() ? std::string() : request_.id + ".new-folder";
    q.caption = kNewFolderCaption;
    q.prompt = kNewFolderPrompt;
    const std::optional<std::string> name = backend_.InputQuery(q);
    if (!name || Trim(*name).empty()) return;
    target = IncludeTrailingBackslash(current_) + Trim(*name);
  }
  if (!platform::ForceDirectories(target)) {
    Error(Format("The folder \"%s\" cannot be created.", target));
    return;
  }
  // As the shell's browser is opened again on the new folder.
  Fill();
  SelectPath(target);
}

void FolderBrowser::accept() {
  std::string path = edit_ ? Trim(current_) : PathOf(tree_->currentItem());
  if (path.empty()) return;
  if (edit_) {
    const std::optional<std::string> full = platform::Machine::Current().Paths().FullPath(path);
    if (!full) {
      Error(Format("\"%s\" is not a valid folder path.", path));
      return;
    }
    path = *full;
    if (!platform::ForceDirectories(path)) {
      Error(Format("The folder \"%s\" cannot be created.", path));
      return;
    }
  }
  chosen_ = path;
  QDialog::accept();
}

}  // namespace wenmoor::qt
