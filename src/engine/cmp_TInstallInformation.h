// Information objects of the install component: the product's identity, the
// extra values of its uninstall entry, and the registration details.
#pragma once

#include <string>

#include "platform/rtl/persistent.h"

namespace wenmoor {

class TCustomInstallFile;

class TInstallInformation : public TPersistent {
  WENMOOR_CLASS(TInstallInformation, TPersistent)
 public:
  const std::string& CompanyName() const { return company_name_; }
  void SetCompanyName(const std::string& v) { company_name_ = v; }
  const std::string& ProductName() const { return product_name_; }
  void SetProductName(const std::string& v) { product_name_ = v; }
  const std::string& Version() const { return version_; }
  void SetVersion(const std::string& v) { version_ = v; }
  void Assign(const TPersistent& source) override;

 private:
  std::string company_name_, product_name_, version_;
};

class TControlPanelExtensionInformation : public TPersistent {
  WENMOOR_CLASS(TControlPanelExtensionInformation, TPersistent)
 public:
#define WENMOOR_TEXT_FIELD(Name, member)                    \
  const std::string& Name() const { return member; }        \
  void Set##Name(const std::string& v) { member = v; }
  WENMOOR_TEXT_FIELD(Comments, comments_)
  WENMOOR_TEXT_FIELD(Contact, contact_)
  WENMOOR_TEXT_FIELD(HelpLink, help_link_)
  WENMOOR_TEXT_FIELD(HelpTelephone, help_telephone_)
  WENMOOR_TEXT_FIELD(ProductID, product_id_)
  WENMOOR_TEXT_FIELD(URLInfoAbout, url_info_about_)
  WENMOOR_TEXT_FIELD(URLUpdateInfo, url_update_info_)
#undef WENMOOR_TEXT_FIELD
  TCustomInstallFile* DisplayIcon() const { return display_icon_; }
  void SetDisplayIcon(TCustomInstallFile* f) { display_icon_ = f; }
  TCustomInstallFile* ReadMe() const { return read_me_; }
  void SetReadMe(TCustomInstallFile* f) { read_me_ = f; }

 private:
  std::string comments_, contact_, help_link_, help_telephone_, product_id_, url_info_about_, url_update_info_;
  TCustomInstallFile* display_icon_ = nullptr;
  TCustomInstallFile* read_me_ = nullptr;
};

class TRegistrationInformation : public TPersistent {
  WENMOOR_CLASS(TRegistrationInformation, TPersistent)
 public:
  std::string RegCompany;
  std::string RegOwner;
};

}  // namespace wenmoor
