#include "app/quarry_page.h"

#include "app/frmMain.h"

namespace quarry {

using namespace wenmoor;

namespace {

std::string ButtonStrip(bool completion) {
  std::string buttons = PageButton("BackBtn", "< Previous", 4, 208, 75, "      OnClick = BackBtnClick\n") +
                        PageButton("ProceedBtn", "Next >", 5, 288, 75,
                                   "      Default = True\n      OnClick = ProceedBtnClick\n");
  if (completion)
    return buttons + PageButton("FinishBtn", "Finish", 72, 368, 89, "      OnClick = ProceedBtnClick\n");
  return buttons + PageButton("CancelBtn", "Cancel", 6, 368, 89,
                              "      Cancel = True\n      NumGlyphs = 2\n      OnClick = CancelBtnClick\n");
}

}  // namespace

TQuarryPage::TQuarryPage(TComponent* owner) : TStandardInstallForm(owner) {}

void TQuarryPage::BuildPage(const Layout& layout, TManagerType type, int order) {
  const StandardPageLayout page{layout.name, layout.class_name, layout.caption, 470, false, layout.border,
                                layout.content, ButtonStrip(layout.completion)};
  Build(page, type, order);
}

void TQuarryPage::PrepareForm() {
  TStandardInstallForm::PrepareForm();
  ShowBackUnlessFirst();
  FocusIfShown(ProceedBtn());
}

TMainForm* TQuarryPage::Main() { return MainForm(); }

WENMOOR_REGISTER_CLASS(TQuarryPage) {}

}  // namespace quarry
