#include "app/DemoDelphiVer.h"

#include "app/frmMain.h"
#include "platform/rtl/format.h"
#include "platform/ui/dialogs.h"

namespace quarry {

using namespace wenmoor;

namespace {

// The boxes by IDE index; on the page they stand in the order of the table
// below, 24 pixels apart.
constexpr const char* kBoxNames[kIdeCount] = {"D3CB", "D4CB", "D5CB", "D6CB", "B6CB", "D7CB"};
constexpr int kBoxOrder[kIdeCount] = {ideDelphi3, ideDelphi4, ideDelphi5, ideDelphi6, ideBuilder6, ideDelphi7};

std::string Content() {
  std::string boxes;
  for (int i = 0; i < kIdeCount; ++i) {
    const int ide = kBoxOrder[i];
    boxes += Format(
        "      object %s: TCheckBox\n"
        "        Left = 16\n"
        "        Top = %d\n"
        "        Width = 180\n"
        "        Height = 17\n"
        "        Caption = '%s'\n"
        "        TabOrder = %d\n"
        "      end\n",
        kBoxNames[ide], 24 + 24 * i, kIdeVersions[static_cast<size_t>(ide)].name, i);
  }
  return PageLabel("Label1",
                  "The component/s can install into the following Borland products if these are detected on your "
                  "computer. Select the versions you want to install into.",
                  0, 58, 8) +
         "    object gbProducts: TGroupBox\n"
         "      Left = 8\n"
         "      Top = 74\n"
         "      Width = 318\n"
         "      Height = 180\n"
         "      Caption = 'Borland Products'\n"
         "      TabOrder = 0\n" +
         boxes + "    end\n";
}

[[maybe_unused]] const bool registered = (BareFormEntry<TBeforeInstallDialog1>(BIFList()), true);

}  // namespace

TBeforeInstallDialog1::TBeforeInstallDialog1(TComponent* owner) : TQuarryPage(owner) {
  BuildPage({"BeforeInstallDialog1", "TBeforeInstallDialog1", "Delphi version selection", 8, Content()},
            dmBeforeInstall, 40);
  // Next checks the choice before it moves on.
  if (TTranslateBitBtn* next = ProceedBtn()) next->OnClick.Assign([this](TObject* s) { ProceedBtnClick(s); });
  // Every IDE, Delphi 7 included, is offered only where it is installed and
  // the script carries files for it.
  TMainForm* main = Main();
  for (int ide = 0; ide < kIdeCount; ++ide) {
    TCheckBox* box = IdeBox(ide);
    if (!box) continue;
    const bool found = main && main->PackageInstaller() && main->PackageInstaller()->GetInstallInfo(ide).Found;
    box->SetChecked(found);
    box->SetEnabled(found && main->CheckComponentSupportVersion(ide));
  }
}

TCheckBox* TBeforeInstallDialog1::IdeBox(int ide) const {
  if (ide < 0 || ide >= kIdeCount) return nullptr;
  return Find<TCheckBox>(kBoxNames[ide]);
}

void TBeforeInstallDialog1::ProceedBtnClick(TObject*) {
  TMainForm* main = Main();
  if (!main || !main->AnyProductPresent()) {
    MessageDlg(
        "No Delphi products are selected or the correct version of Delphi is not present on this system. "
        "Installation is unable to proceed.",
        mtWarning, TMsgDlgButtons{mbOK});
    return;
  }
  std::array<bool, kIdeCount> ticked{};
  bool any = false;
  for (int ide = 0; ide < kIdeCount; ++ide) {
    TCheckBox* box = IdeBox(ide);
    ticked[static_cast<size_t>(ide)] = box && box->Checked();
    any = any || (box && box->Enabled() && box->Checked());
  }
  if (!any) {
    MessageDlg("Either no products are selected or present on this system. Installation is unable to proceed.",
               mtWarning, TMsgDlgButtons{mbOK});
    return;
  }
  main->SelectIDEs(ticked);
  NextPage();
}

bool TBeforeInstallDialog1::SkipPage() {
  TMainForm* main = Main();
  if (!main) return false;
  bool skip = false;
  if (main->GetComponentInstallationCount() <= 1) skip = main->AnyProductPresent();
  if (skip) main->SelectIDEs({true, true, true, true, true, true});
  InstallLog().Add(std::string("Delphi Ver Dlg skip - ") + (skip ? "True" : "False"));
  InstallLog().Save();
  return skip;
}

WENMOOR_REGISTER_CLASS(TBeforeInstallDialog1) {}

}  // namespace quarry
