#include "app/ordlg_SelectDestination.h"

#include <vector>

#include "engine/cmp_TInstall.h"
#include "platform/rtl/cleanup.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/files.h"
#include "support/cmp_TOpenFolderDialog.h"

namespace quarry {

using namespace wenmoor;

namespace {

std::string Content() {
  return PageLabel("lblText1", "Which directory do you want to install this program into?", 85, 30) +
         PageLabel("lblText2", "To install to the directory displayed below, click Next.", 86, 30) +
         PageLabel("lblText3", "To install to a different directory, click Browse and select another directory.", 87,
                  30) +
         "    object gbDirectory: TGroupBox\n"
         "      Left = 5\n"
         "      Top = 246\n"
         "      Width = 324\n"
         "      Height = 65\n"
         "      Align = alBottom\n"
         "      Caption = 'Destination Directory'\n"
         "      TabOrder = 0\n"
         "      object edDestDir: TEdit\n"
         "        Left = 12\n"
         "        Top = 27\n"
         "        Width = 217\n"
         "        Height = 22\n"
         "        TabOrder = 0\n"
         "        OnChange = edDestDirChange\n"
         "      end\n"
         "      object BrowseBtn: TTranslateBitBtn\n"
         "        Left = 236\n"
         "        Top = 22\n"
         "        Width = 75\n"
         "        Height = 33\n"
         "        Caption = '&Browse'\n"
         "        TabOrder = 1\n"
         "        OnClick = BrowseBtnClick\n"
         "        GLID = 26\n"
         "      end\n"
         "    end\n";
}

[[maybe_unused]] const bool registered = (BareFormEntry<TSelectDestinationForm>(BIFList()), true);

}  // namespace

TSelectDestinationForm::TSelectDestinationForm(TComponent* owner) : TQuarryPage(owner), install_(CurrentInstall()) {
  PublishMethod("edDestDirChange", std::function<void(TObject*)>([this](TObject* s) { DestDirChange(s); }));
  PublishMethod("BrowseBtnClick", std::function<void(TObject*)>([this](TObject* s) { BrowseBtnClick(s); }));
  updating_ = true;  // the stored (empty) text is no choice of the user's
  BuildPage({"SelectDestinationForm", "TSelectDestinationForm", "Choose Destination Location", 5, Content()},
            dmBeforeInstall, 45);
  updating_ = false;
  if (install_) FreeNotification(install_);
}

void TSelectDestinationForm::Notification(TComponent* c, TOperation operation) {
  TQuarryPage::Notification(c, operation);
  if (operation == opRemove && c == install_) install_ = nullptr;
}

void TSelectDestinationForm::ShowDestination(const std::string& text) {
  updating_ = true;
  if (TEdit* edit = DestDirEdit()) edit->SetText(text);
  updating_ = false;
}

void TSelectDestinationForm::PrepareForm() {
  TStandardInstallForm::PrepareForm();
  updating_ = true;
  ShowBackUnlessFirst();
  const std::string full = install_ ? install_->GetDestinationDir() : std::string();
  if (TGroupBox* group = DirectoryGroup()) group->SetVisible(!full.empty());
  ShowDestination(full);
  updating_ = false;
  FocusIfShown(ProceedBtn());
}

void TSelectDestinationForm::DestDirChange(TObject*) {
  if (updating_ || !install_ || !DestDirEdit()) return;
  install_->SetDestDirType(nullptr);
  install_->SetDestDir(DestDirEdit()->Text());
}

void TSelectDestinationForm::BrowseBtnClick(TObject*) {
  if (!install_) return;
  const std::string dest_dir = ExcludeTrailingBackslash(install_->DestDir());
  const size_t slash = dest_dir.rfind('\\');
  const std::string tail = slash == std::string::npos ? std::string() : dest_dir.substr(slash);

  // The browser opens on the destination, which may not exist yet: it is
  // made for the browser and removed again afterwards, every level of it
  // that this made and that is still empty.
  const std::string full = ExcludeTrailingBackslash(install_->GetDestinationDir());
  std::vector<std::string> made;
  if (!Trim(full).empty() && !platform::DirectoryExists(full)) {
    for (std::string dir = full; !dir.empty() && !platform::DirectoryExists(dir);) {
      made.push_back(dir);
      const std::string parent = ExtractFileDir(dir);
      if (parent == dir) break;
      dir = parent;
    }
    if (!platform::ForceDirectories(full)) made.clear();
  }

  TOpenFolderDialog browser(nullptr);
  browser.SetName("DestinationBrowser");
  browser.SetDirectory(full);
  bool chosen = false;
  WithCleanup([&] { chosen = browser.Execute(); },
              [&] {
                for (const std::string& dir : made)
                  if (!platform::RemoveDirectory(dir)) break;
              });
  if (!chosen) return;

  install_->SetDestDirType(nullptr);
  install_->SetDestDir(ExcludeTrailingBackslash(browser.Directory()) + tail);
  ShowDestination(install_->DestDir());
}

WENMOOR_REGISTER_CLASS(TSelectDestinationForm) {}

}  // namespace quarry
