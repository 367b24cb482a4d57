// The contents of a file's version resource (VS_VERSIONINFO), as a value:
// the fixed file information, the string tables and the translation table.
// PeVersionReader fills it; Query() looks values up by the paths of the
// platform's VerQueryValue.
//
// Strings are UTF-8. Names and table keys keep the spelling stored in the
// file; lookups compare them without regard to ASCII case, as the platform does.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "support/pe_resource_locator.h"

namespace wenmoor {

// VS_FIXEDFILEINFO, field for field.
struct FixedFileInfo {
  static constexpr std::uint32_t kSignature = 0xFEEF04BDu;
  static constexpr std::uint32_t kSize = 52;  // bytes in the resource

  std::uint32_t signature = 0;
  std::uint32_t struct_version = 0;
  std::uint32_t file_version_ms = 0;
  std::uint32_t file_version_ls = 0;
  std::uint32_t product_version_ms = 0;
  std::uint32_t product_version_ls = 0;
  std::uint32_t flags_mask = 0;
  std::uint32_t flags = 0;
  std::uint32_t file_os = 0;
  std::uint32_t file_type = 0;
  std::uint32_t file_subtype = 0;
  std::uint32_t file_date_ms = 0;
  std::uint32_t file_date_ls = 0;

  // The four 16-bit parts, most significant first (5.0.0.12 -> {5, 0, 0, 12}).
  std::array<std::uint16_t, 4> FileVersion() const { return Parts(file_version_ms, file_version_ls); }
  std::array<std::uint16_t, 4> ProductVersion() const {
    return Parts(product_version_ms, product_version_ls);
  }
  // The parts joined by "." in decimal, as "5.0.0.12".
  static std::string Dotted(const std::array<std::uint16_t, 4>& parts);

  bool operator==(const FixedFileInfo&) const = default;

 private:
  static std::array<std::uint16_t, 4> Parts(std::uint32_t ms, std::uint32_t ls);
};

// One pair of VarFileInfo\Translation.
struct VersionTranslation {
  std::uint16_t language = 0;
  std::uint16_t code_page = 0;
  bool operator==(const VersionTranslation&) const = default;
};

struct VersionString {
  std::string name;   // "FileVersion"
  std::string value;  // up to the first NUL of the stored value
  bool operator==(const VersionString&) const = default;
};

// One block of StringFileInfo, keyed by language and code page in
// hexadecimal ("040904E4").
struct VersionStringTable {
  std::string key;
  std::vector<VersionString> strings;  // in file order
  bool operator==(const VersionStringTable&) const = default;
};

class PeVersionInfo {
 public:
  using Value = std::variant<FixedFileInfo, std::vector<VersionTranslation>, std::string>;

  // Where the resource came from (left at the defaults for a bare block).
  std::uint16_t resource_language = 0;
  PeFormat format = PeFormat::Pe32;

  // Absent when the root carries no value, or one that is too short or
  // lacks the signature.
  std::optional<FixedFileInfo> fixed;
  std::vector<VersionStringTable> string_tables;  // in file order
  // Absent when there is no VarFileInfo\Translation; present but empty when
  // it holds no complete pair.
  std::optional<std::vector<VersionTranslation>> translations;

  // Looks a value up as VerQueryValue does. Components are separated by
  // backslashes; empty components are skipped, names compare without regard
  // to ASCII case, and the first match wins.
  //   "\"                                   -> FixedFileInfo
  //   "\VarFileInfo\Translation"            -> the translation pairs
  //   "\StringFileInfo\040904E4\FileVersion" -> the string
  // Any other path, or a value that is absent, gives nullopt.
  std::optional<Value> Query(std::string_view sub_block) const;

  // The string `name` of the table `table_key`, or nullptr.
  const std::string* FindString(std::string_view table_key, std::string_view name) const;

  // The string table's key for a language and code page: "llllcccc" in
  // upper-case hexadecimal.
  static std::string TableKey(std::uint16_t language, std::uint16_t code_page);

  // Whether two names or keys are the same for a lookup (ASCII case ignored).
  static bool SameName(std::string_view a, std::string_view b);

  bool operator==(const PeVersionInfo&) const = default;
};

}  // namespace wenmoor
