#include "app/DemoWelcomeDlg.h"

#include "app/frmMain.h"

namespace quarry {

using namespace wenmoor;

namespace {

// An empty line between the paragraphs.
const char* const kSpacer = "";

std::string Content() {
  return PageLabel("lblIntro", "This program will install a copy of the Product onto your computer.", 10, 30, 8) +
         PageLabel("Label4", kSpacer, 0, 10, 8) +
         PageLabel("Label2",
                  "It is strongly recommended that you exit all Windows programs before running this setup. If you "
                  "need to close any programs, click Cancel to quit the setup and then close the programs.",
                  11, 58, 8) +
         PageLabel("Label5", kSpacer, 0, 10, 8) +
         PageLabel("TranslateLabel1",
                  "Ensure that neither Delphi nor C++ Builder are currently running on your system before "
                  "proceeding with the installation. In addition, ensure that your version of Delphi is up to date.",
                  0, 58, 8) +
         PageLabel("Label6", kSpacer, 0, 10, 8) +
         PageLabel("Label3", "Click Next to continue with the installation.", 12, 30, 8);
}

[[maybe_unused]] const bool registered = (BareFormEntry<TWelcomeForm>(BIFList()), true);

}  // namespace

TWelcomeForm::TWelcomeForm(TComponent* owner) : TQuarryPage(owner) {
  BuildPage({"WelcomeForm", "TWelcomeForm", "Welcome", 8, Content()}, dmBeforeInstall, 5);
  // The sentence names what this program installs.
  if (TMainForm* main = Main()) {
    if (auto* intro = Find<TTranslateLabel>("lblIntro")) {
      std::string caption = intro->Caption();
      if (size_t at = caption.find("Product"); at != std::string::npos) {
        caption.replace(at, 7, main->ProductDescription());
        intro->SetCaption(caption);
      }
    }
  }
}

WENMOOR_REGISTER_CLASS(TWelcomeForm) {}

}  // namespace quarry
