#include "dialogs/ordlg_Reboot.h"

#include "engine/cmp_TInstall.h"

namespace wenmoor {

namespace {

const StandardPageLayout& Layout() {
  static const StandardPageLayout layout{
      "RebootForm", "TRebootForm", "Reboot windows", 475, false, 5,
      PageLabel("Label1",
                "Several components could not be installed on your system because they were in use. For the "
                "installation to proceed, you will need to reboot your computer. If you decide not to reboot now, "
                "the software will probably not work until you do reboot.",
                52, 84) +
          PageLabel("Label2", "", 0, 12) +
          "    object RG: TRadioGroup\n"
          "      Left = 5\n"
          "      Top = 101\n"
          "      Width = 329\n"
          "      Height = 64\n"
          "      Align = alTop\n"
          "      Items.Strings = (\n"
          "        'Yes, I would like to reboot windows'\n"
          "        'No, I would not like to reboot windows')\n"
          "      TabOrder = 0\n"
          "      OnClick = RGClick\n"
          "    end\n",
      ReportPageButtons()};
  return layout;
}

[[maybe_unused]] const bool registered = (BareFormEntry<TRebootForm>(BIFList()), true);

}  // namespace

TRebootForm::TRebootForm(TComponent* owner) : TStandardInstallForm(owner) {
  PublishMethod("RGClick", std::function<void(TObject*)>([this](TObject* s) { RGClick(s); }));
  Build(Layout(), dmReboot, 10);
}

void TRebootForm::PrepareForm() {
  TStandardInstallForm::PrepareForm();
  PrepareReportPage(false);
  TRadioGroup* rg = RG();
  if (!rg) return;
  updating_ = true;
  rg->SetItemIndex(1);
  if (TCustomInstall* install = CurrentInstall(); install && install->Reboot()) rg->SetItemIndex(0);
  updating_ = false;
}

void TRebootForm::RGClick(TObject*) {
  if (updating_) return;
  if (TCustomInstall* install = CurrentInstall()) install->SetReboot(RG()->ItemIndex() == 0);
}

WENMOOR_REGISTER_CLASS(TRebootForm) {}

}  // namespace wenmoor
