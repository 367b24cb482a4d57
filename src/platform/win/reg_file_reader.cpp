#include "platform/win/reg_file_reader.h"

#include <cstdint>

#include "platform/win/reg_text.h"

namespace wenmoor::platform {

namespace {

constexpr std::string_view kVersionLine = "WINE REGISTRY Version 2";
constexpr uint64_t kTicks1601To1970 = 116444736000000000ULL;
constexpr uint64_t kTicksPerSecond = 10000000ULL;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

bool OnlyBlanks(std::string_view s) { return TrimLeft(s).empty(); }

// Reads up to `max_digits` hex digits at s[pos]; false when there is none.
bool ReadHex(std::string_view s, size_t& pos, size_t max_digits, uint64_t& value) {
  value = 0;
  size_t digits = 0;
  while (pos < s.size() && digits < max_digits && HexDigit(s[pos]) >= 0) {
    value = value * 16 + static_cast<uint64_t>(HexDigit(s[pos++]));
    ++digits;
  }
  return digits > 0;
}

std::vector<uint8_t> StringBytes(const std::u16string& text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() * 2 + 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

class Reader {
 public:
  Reader(std::string_view text, const std::string& file) : text_(text), file_(file) {}

  std::unique_ptr<RegHive> Run() {
    auto hive = std::make_unique<RegHive>();
    hive->Root().modified = FileTimeNow();
    std::string_view line;
    if (!NextLine(line) || line != kVersionLine) {
      Fail(line.rfind("WINE REGISTRY Version ", 0) == 0 ? "unsupported registry file version"
                                                        : "not a Wine registry file");
    }
    RegNode* key = nullptr;
    while (NextLine(line)) {
      if (OnlyBlanks(line)) continue;
      switch (line.front()) {
        case '[':
          key = &ReadKeyLine(*hive, line);
          break;
        case '#':
        case ';':
          if (!key) {
            hive->HeaderLines().emplace_back(line);
          } else {
            ReadOptionLine(*key, line);
          }
          break;
        case '"':
        case '@':
          if (!key) Fail("value outside of a key");
          ReadValueLine(*key, line);
          break;
        default:
          Fail("unrecognised line");
      }
    }
    return hive;
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const {
    throw RegistryFormatError(file_, line_no_, reason);
  }

  bool NextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++line_no_;
    return true;
  }

  RegNode& ReadKeyLine(RegHive& hive, std::string_view line) {
    size_t pos = 1;
    std::u16string path;
    if (!ReadEscaped(line, pos, ']', path)) Fail("key line without closing ']'");
    std::string_view rest = TrimLeft(line.substr(pos));
    uint64_t seconds = 0;
    size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
      seconds = seconds * 10 + static_cast<uint64_t>(rest[digits] - '0');
      if (++digits > 19) Fail("key time out of range");
    }
    if (!OnlyBlanks(rest.substr(digits))) Fail("unexpected text after key path");
    const uint64_t time = kTicks1601To1970 + seconds * kTicksPerSecond;
    RegNode& node = hive.Create(Utf16ToUtf8(path), time, RegHive::ParentTime::Keep);
    node.modified = time;
    return node;
  }

  void ReadOptionLine(RegNode& key, std::string_view line) {
    if (line.rfind("#time=", 0) == 0) {
      size_t pos = 6;
      uint64_t time = 0;
      if (!ReadHex(line, pos, 16, time) || !OnlyBlanks(line.substr(pos))) Fail("invalid #time line");
      key.modified = time;
    } else if (line.rfind("#class=\"", 0) == 0) {
      size_t pos = 8;
      std::u16string klass;
      if (!ReadEscaped(line, pos, '"', klass) || !OnlyBlanks(line.substr(pos))) {
        Fail("invalid #class line");
      }
      key.klass = std::move(klass);
    } else if (line == "#link") {
      key.link = true;
    } else {
      key.extra_lines.emplace_back(line);
    }
  }

  void ReadValueLine(RegNode& key, std::string_view line) {
    size_t pos = 0;
    std::u16string name;
    if (line[0] == '@') {
      pos = 1;
    } else {
      pos = 1;
      if (!ReadEscaped(line, pos, '"', name)) Fail("value name without closing quote");
    }
    if (pos >= line.size() || line[pos] != '=') Fail("'=' expected after the value name");
    ++pos;
    RegHive::PutValue(key, Utf16ToUtf8(name), ReadData(line, pos));
  }

  RegValue ReadData(std::string_view line, size_t pos) {
    std::string_view rest = line.substr(pos);
    RegValue value;
    if (rest.rfind("\"", 0) == 0) {
      value.type = REG_SZ;
      return ReadStringData(line, pos + 1, REG_SZ);
    }
    if (rest.rfind("str(", 0) == 0) {
      pos += 4;
      uint64_t type = 0;
      if (!ReadHex(line, pos, 8, type) || line.substr(pos, 3) != "):\"") Fail("invalid str() value");
      return ReadStringData(line, pos + 3, static_cast<uint32_t>(type));
    }
    if (rest.rfind("dword:", 0) == 0) {
      pos += 6;
      uint64_t v = 0;
      if (!ReadHex(line, pos, 8, v) || !OnlyBlanks(line.substr(pos))) Fail("invalid dword value");
      value = RegValue::DWord(static_cast<uint32_t>(v));
      return value;
    }
    if (rest.rfind("hex:", 0) == 0) {
      value.type = REG_BINARY;
      pos += 4;
    } else if (rest.rfind("hex(", 0) == 0) {
      pos += 4;
      uint64_t type = 0;
      if (!ReadHex(line, pos, 8, type) || line.substr(pos, 2) != "):") Fail("invalid hex() value");
      value.type = static_cast<uint32_t>(type);
      pos += 2;
    } else {
      Fail("unknown value type");
    }
    ReadHexBytes(line, pos, value.data);
    return value;
  }

  RegValue ReadStringData(std::string_view line, size_t pos, uint32_t type) {
    std::u16string text;
    if (!ReadEscaped(line, pos, '"', text)) Fail("string value without closing quote");
    if (!OnlyBlanks(line.substr(pos))) Fail("unexpected text after string value");
    RegValue value;
    value.type = type;
    value.data = StringBytes(text);
    return value;
  }

  // Bytes "01,ab,..." possibly continued over lines that end in a backslash.
  void ReadHexBytes(std::string_view line, size_t pos, std::vector<uint8_t>& out) {
    for (;;) {
      while (pos < line.size() && IsBlank(line[pos])) ++pos;
      if (pos >= line.size()) return;
      if (line[pos] == '\\' && OnlyBlanks(line.substr(pos + 1))) {
        if (!NextLine(line)) Fail("continuation line missing at end of file");
        pos = 0;
        continue;
      }
      uint64_t byte = 0;
      if (!ReadHex(line, pos, 2, byte)) Fail("invalid hex data");
      out.push_back(static_cast<uint8_t>(byte));
      while (pos < line.size() && IsBlank(line[pos])) ++pos;
      if (pos < line.size() && line[pos] == ',') {
        ++pos;
      } else if (pos < line.size() && line[pos] != '\\') {
        Fail("invalid hex data");
      }
    }
  }

  std::string_view text_;
  const std::string& file_;
  size_t pos_ = 0;
  int line_no_ = 0;
};

}  // namespace

std::unique_ptr<RegHive> ReadRegFile(std::string_view text, const std::string& file) {
  return Reader(text, file).Run();
}

}  // namespace wenmoor::platform
