// TVersionInfo: the values of a file's version resource as the install
// script sees them, all strings, empty when the file has no version
// resource or the value is missing. TVersionResource owns one and fills it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/persistent.h"
#include "support/pe_version_info.h"

namespace wenmoor {

class TVersionInfo : public TPersistent {
  WENMOOR_CLASS(TVersionInfo, TPersistent)
 public:
  // Empties every field.
  void Clear();
  // Clears, then takes the values of `info`: nothing at all when it has no
  // fixed file information (the platform's reader stops there); otherwise
  // the versions, the OS and type texts, and the strings of the table
  // `table_key` ("040904E4"). A "ProductVersion" string replaces the product
  // version of the fixed information; FileVersion always comes from it.
  void Fill(const PeVersionInfo& info, std::string_view table_key);

  // The texts of the fixed information's OS, type and subtype values.
  static std::string FileOSText(std::uint32_t file_os);
  static std::string FileTypeText(std::uint32_t file_type);
  // Empty for types other than drivers and fonts.
  static std::string FileSubTypeText(std::uint32_t file_type, std::uint32_t file_subtype);

  void Assign(const TPersistent& source) override;

  const std::string& Comment() const { return comment_; }
  const std::string& CompanyName() const { return company_name_; }
  const std::string& FileDescription() const { return file_description_; }
  const std::string& FileVersion() const { return file_version_; }
  const std::string& InternalName() const { return internal_name_; }
  const std::string& LegalCopyright() const { return legal_copyright_; }
  const std::string& LegalTradeMarks() const { return legal_trade_marks_; }
  const std::string& OriginalFileName() const { return original_file_name_; }
  const std::string& PrivateBuild() const { return private_build_; }
  const std::string& ProductName() const { return product_name_; }
  const std::string& ProductVersion() const { return product_version_; }
  const std::string& SpecialBuild() const { return special_build_; }
  const std::string& FileOS() const { return file_os_; }
  const std::string& FileType() const { return file_type_; }
  const std::string& FileSubType() const { return file_sub_type_; }

  // Setters, so that a stored script that carries values loads; the next
  // reading of the resource replaces them.
  void SetComment(const std::string& v) { comment_ = v; }
  void SetCompanyName(const std::string& v) { company_name_ = v; }
  void SetFileDescription(const std::string& v) { file_description_ = v; }
  void SetFileVersion(const std::string& v) { file_version_ = v; }
  void SetInternalName(const std::string& v) { internal_name_ = v; }
  void SetLegalCopyright(const std::string& v) { legal_copyright_ = v; }
  void SetLegalTradeMarks(const std::string& v) { legal_trade_marks_ = v; }
  void SetOriginalFileName(const std::string& v) { original_file_name_ = v; }
  void SetPrivateBuild(const std::string& v) { private_build_ = v; }
  void SetProductName(const std::string& v) { product_name_ = v; }
  void SetProductVersion(const std::string& v) { product_version_ = v; }
  void SetSpecialBuild(const std::string& v) { special_build_ = v; }
  void SetFileOS(const std::string& v) { file_os_ = v; }
  void SetFileType(const std::string& v) { file_type_ = v; }
  void SetFileSubType(const std::string& v) { file_sub_type_ = v; }

 private:
  std::string comment_;
  std::string company_name_;
  std::string file_description_;
  std::string file_version_;
  std::string internal_name_;
  std::string legal_copyright_;
  std::string legal_trade_marks_;
  std::string original_file_name_;
  std::string private_build_;
  std::string product_name_;
  std::string product_version_;
  std::string special_build_;
  std::string file_os_;
  std::string file_type_;
  std::string file_sub_type_;
};

}  // namespace wenmoor
