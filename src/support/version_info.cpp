#include "support/version_info.h"

#include <utility>

namespace wenmoor {

WENMOOR_REGISTER_CLASS(TVersionInfo) {
  c.Prop("Comment", &T::Comment, &T::SetComment);
  c.Prop("CompanyName", &T::CompanyName, &T::SetCompanyName);
  c.Prop("FileDescription", &T::FileDescription, &T::SetFileDescription);
  c.Prop("FileVersion", &T::FileVersion, &T::SetFileVersion);
  c.Prop("InternalName", &T::InternalName, &T::SetInternalName);
  c.Prop("LegalCopyright", &T::LegalCopyright, &T::SetLegalCopyright);
  c.Prop("LegalTradeMarks", &T::LegalTradeMarks, &T::SetLegalTradeMarks);
  c.Prop("OriginalFileName", &T::OriginalFileName, &T::SetOriginalFileName);
  c.Prop("PrivateBuild", &T::PrivateBuild, &T::SetPrivateBuild);
  c.Prop("ProductName", &T::ProductName, &T::SetProductName);
  c.Prop("ProductVersion", &T::ProductVersion, &T::SetProductVersion);
  c.Prop("SpecialBuild", &T::SpecialBuild, &T::SetSpecialBuild);
  c.Prop("FileOS", &T::FileOS, &T::SetFileOS);
  c.Prop("FileType", &T::FileType, &T::SetFileType);
  c.Prop("FileSubType", &T::FileSubType, &T::SetFileSubType);
}

namespace {

// Values of VS_FIXEDFILEINFO, as the Windows headers number them.
struct Named {
  std::uint32_t value;
  const char* text;
};

constexpr Named kFileOS[] = {
    {0x00000001, "Windows 3.0 or later"},                // VOS__WINDOWS16
    {0x00000002, "16 bit OS/2 Presentation Manager"},    // VOS__PM16
    {0x00000003, "32 bit OS/2 Presentation Manager"},    // VOS__PM32
    {0x00000004, "32 bit Windows"},                      // VOS__WINDOWS32
    {0x00010000, "MS-Dos"},                              // VOS_DOS
    {0x00010001, "Windows 3.0 or later with MS-Dos"},    // VOS_DOS_WINDOWS16
    {0x00010004, "32 bit Windows with MS-Dos"},          // VOS_DOS_WINDOWS32
    {0x00020000, "16 bit OS/2"},                         // VOS_OS216
    {0x00020002, "16 bit OS/2 with Presentation Manager"},  // VOS_OS216_PM16
    {0x00030000, "32 bit OS/2"},                         // VOS_OS232
    {0x00030003, "32 bit OS/2 with Presentation Manager"},  // VOS_OS232_PM32
    {0x00040000, "Windows NT"},                          // VOS_NT
    {0x00040004, "Windows NT with 32 bit Windows"},      // VOS_NT_WINDOWS32
};

constexpr std::uint32_t kTypeDriver = 3;  // VFT_DRV
constexpr std::uint32_t kTypeFont = 4;    // VFT_FONT

constexpr Named kFileType[] = {
    {1, "Application"},  {2, "Dynamic-Link Library"},  {kTypeDriver, "Device Driver"},
    {kTypeFont, "Font"}, {5, "Virtual Device Driver"}, {7, "Static-Link Library"},
};

constexpr Named kDriverSubType[] = {
    {1, "Printer"}, {2, "Keyboard"}, {3, "Language"},    {4, "Display"}, {5, "Mouse"},
    {6, "Network"}, {7, "System"},   {8, "Installable"}, {9, "Sound"},   {10, "Communications"},
};

constexpr Named kFontSubType[] = {{1, "Raster"}, {2, "Vector"}, {3, "TrueType"}};

template <std::size_t N>
std::string Lookup(const Named (&table)[N], std::uint32_t value) {
  for (const Named& entry : table) {
    if (entry.value == value) return entry.text;
  }
  return "Unknown";
}

}  // namespace

std::string TVersionInfo::FileOSText(std::uint32_t file_os) { return Lookup(kFileOS, file_os); }

std::string TVersionInfo::FileTypeText(std::uint32_t file_type) { return Lookup(kFileType, file_type); }

std::string TVersionInfo::FileSubTypeText(std::uint32_t file_type, std::uint32_t file_subtype) {
  if (file_type == kTypeDriver) return Lookup(kDriverSubType, file_subtype);
  if (file_type == kTypeFont) return Lookup(kFontSubType, file_subtype);
  return "";
}

void TVersionInfo::Clear() {
  for (std::string* field :
       {&comment_, &company_name_, &file_description_, &file_version_, &internal_name_, &legal_copyright_,
        &legal_trade_marks_, &original_file_name_, &private_build_, &product_name_, &product_version_,
        &special_build_, &file_os_, &file_type_, &file_sub_type_}) {
    field->clear();
  }
}

void TVersionInfo::Fill(const PeVersionInfo& info, std::string_view table_key) {
  Clear();
  if (!info.fixed) return;
  const FixedFileInfo& fixed = *info.fixed;
  file_version_ = FixedFileInfo::Dotted(fixed.FileVersion());
  product_version_ = FixedFileInfo::Dotted(fixed.ProductVersion());
  file_os_ = FileOSText(fixed.file_os);
  file_type_ = FileTypeText(fixed.file_type);
  file_sub_type_ = FileSubTypeText(fixed.file_type, fixed.file_subtype);

  const std::pair<const char*, std::string*> strings[] = {
      {"Comments", &comment_},
      {"CompanyName", &company_name_},
      {"FileDescription", &file_description_},
      {"InternalName", &internal_name_},
      {"LegalCopyright", &legal_copyright_},
      {"LegalTradeMarks", &legal_trade_marks_},
      {"OriginalFileName", &original_file_name_},
      {"PrivateBuild", &private_build_},
      {"ProductName", &product_name_},
      {"ProductVersion", &product_version_},
      {"SpecialBuild", &special_build_},
  };
  for (const auto& [name, field] : strings) {
    if (const std::string* value = info.FindString(table_key, name)) *field = *value;
  }
}

void TVersionInfo::Assign(const TPersistent& source) {
  if (const auto* other = dynamic_cast<const TVersionInfo*>(&source)) {
    comment_ = other->comment_;
    company_name_ = other->company_name_;
    file_description_ = other->file_description_;
    file_version_ = other->file_version_;
    internal_name_ = other->internal_name_;
    legal_copyright_ = other->legal_copyright_;
    legal_trade_marks_ = other->legal_trade_marks_;
    original_file_name_ = other->original_file_name_;
    private_build_ = other->private_build_;
    product_name_ = other->product_name_;
    product_version_ = other->product_version_;
    special_build_ = other->special_build_;
    file_os_ = other->file_os_;
    file_type_ = other->file_type_;
    file_sub_type_ = other->file_sub_type_;
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace wenmoor
