#include "engine/cmp_TInstallInformation.h"

#include "script/cmp_TCustomInstallFile.h"

namespace wenmoor {

void TInstallInformation::Assign(const TPersistent& source) {
  if (auto* o = dynamic_cast<const TInstallInformation*>(&source)) {
    company_name_ = o->company_name_;
    product_name_ = o->product_name_;
    version_ = o->version_;
    return;
  }
  TPersistent::Assign(source);
}

WENMOOR_REGISTER_CLASS(TInstallInformation) {
  c.Prop("CompanyName", &T::CompanyName, &T::SetCompanyName);
  c.Prop("ProductName", &T::ProductName, &T::SetProductName);
  c.Prop("Version", &T::Version, &T::SetVersion);
}

WENMOOR_REGISTER_CLASS(TControlPanelExtensionInformation) {
  c.Prop("Comments", &T::Comments, &T::SetComments);
  c.Prop("Contact", &T::Contact, &T::SetContact);
  c.Prop("DisplayIcon", &T::DisplayIcon, &T::SetDisplayIcon);
  c.Prop("HelpLink", &T::HelpLink, &T::SetHelpLink);
  c.Prop("HelpTelephone", &T::HelpTelephone, &T::SetHelpTelephone);
  c.Prop("ProductID", &T::ProductID, &T::SetProductID);
  c.Prop("ReadMe", &T::ReadMe, &T::SetReadMe);
  c.Prop("URLInfoAbout", &T::URLInfoAbout, &T::SetURLInfoAbout);
  c.Prop("URLUpdateInfo", &T::URLUpdateInfo, &T::SetURLUpdateInfo);
}

WENMOOR_REGISTER_CLASS(TRegistrationInformation) {}

}  // namespace wenmoor
