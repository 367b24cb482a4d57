// INI files, read and written as GetPrivateProfileString and
// WritePrivateProfileString do, for WININIT.INI and the like.
//
// Every line of the file is kept, so a rewrite changes only what was
// written: comments, blank lines, unknown lines and duplicate keys
// survive. Sections and keys are found without regard to case; names and
// values are trimmed of blanks; a value in matching quotes is read without
// them. A line "key" without "=" is a key with an empty value. Lines before
// the first section belong to no section. Nothing in a file's text is an
// error: the format has no invalid input.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wenmoor::platform {

// How Write treats a key that is there already.
enum class IniWrite : uint8_t {
  Replace,  // the first entry of that key takes the value
  Append,   // a new entry is added at the end of the section (duplicates kept),
            // unless the same key=value is there already
};

class IniFile {
 public:
  IniFile() = default;
  // Any text; lines end in CR LF, LF or CR.
  static IniFile Parse(std::string_view text);
  // The text, lines ended as in the parsed text (CR LF for a new file).
  std::string Text() const;

  std::vector<std::string> Sections() const;
  // Every entry of the section in file order, duplicates included.
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;
  // The value of the first entry of that key.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  // Adds the section when missing (at the end of the file).
  void Write(std::string_view section, std::string_view key, std::string_view value,
             IniWrite mode = IniWrite::Replace);
  // Removes every entry of that key; false when there was none.
  bool DeleteKey(std::string_view section, std::string_view key);
  // Removes the section with its entries; false when there was none.
  bool EraseSection(std::string_view section);

 private:
  enum class Kind : uint8_t { Other, Section, Entry };
  struct Line {
    Kind kind = Kind::Other;
    std::string text;  // the line as read or written
    std::string name;  // section or key, trimmed
    std::string value; // entry value, trimmed
  };
  // Indexes of the section's header and of the line after its last entry.
  bool FindSection(std::string_view section, size_t& header, size_t& end) const;

  std::vector<Line> lines_;
  std::string eol_ = "\r\n";
};

// GetPrivateProfileString: the value, or `default_value` when the file,
// the section or the key is missing. A file name without a directory is
// taken in the Windows directory.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::string_view file);

// WritePrivateProfileString: writes key=value (creating the file and the
// section as needed); no key erases the section, no value deletes the key.
// The [Rename] section of WININIT.INI is appended to, never replaced in:
// it holds one line per pending operation and may hold the same key
// ("NUL") many times. The file is replaced atomically. False with the last
// error when it cannot be written.
bool WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                               std::optional<std::string_view> value, std::string_view file);

}  // namespace wenmoor::platform
