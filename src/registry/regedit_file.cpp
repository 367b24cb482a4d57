#include "registry/regedit_file.h"

#include <cstdio>

#include "platform/win/reg_text.h"

namespace wenmoor {

using platform::RegistryFormatError;
using platform::RegValue;
using platform::RootKey;

namespace {

constexpr std::string_view kVersion5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kVersion4 = "REGEDIT4";

struct RootName {
  RootKey root;
  const char* full;
  const char* brief;
};
constexpr RootName kRoots[] = {
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"}, {RootKey::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},   {RootKey::Users, "HKEY_USERS", "HKU"},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"}, {RootKey::DynData, "HKEY_DYN_DATA", "HKDD"},
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The text of the file as UTF-8: UTF-16LE with its BOM is converted, a
// UTF-8 BOM is dropped, anything else is taken as it is.
std::string DecodeText(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
    std::u16string wide;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      wide += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    }
    return platform::Utf16ToUtf8(wide);
  }
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return std::string(bytes);
}

std::vector<uint8_t> Utf16Bytes(const std::u16string& text) {
  std::vector<uint8_t> out;
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

class Parser {
 public:
  Parser(std::string text, const std::string& file) : text_(std::move(text)), file_(file) {}

  std::vector<RegeditEntry> Run() {
    std::string_view line;
    bool version4 = false;
    while (NextLine(line) && Trim(line).empty()) {
    }
    if (Trim(line) == kVersion5) {
      version4 = false;
    } else if (Trim(line) == kVersion4) {
      version4 = true;
    } else {
      Fail("not a registry editor file (REGEDIT4 or \"Windows Registry Editor Version 5.00\" expected)");
    }
    version4_ = version4;
    bool in_key = false;
    RegeditEntry key;
    while (NextLine(line)) {
      std::string_view t = Trim(line);
      if (t.empty() || t.front() == ';') continue;
      if (t.front() == '[') {
        if (t.back() != ']') Fail("key line without closing ']'");
        std::string_view inner = t.substr(1, t.size() - 2);
        const bool remove = !inner.empty() && inner.front() == '-';
        if (remove) inner.remove_prefix(1);
        auto split = SplitRegistryPath(inner);
        if (!split) Fail("unknown root key in \"" + std::string(inner) + "\"");
        key = RegeditEntry{remove ? RegeditEntry::Kind::DeleteKey : RegeditEntry::Kind::CreateKey, split->first,
                           split->second, {}, {}, line_no_};
        out_.push_back(key);
        in_key = !remove;
      } else if (t.front() == '"' || t.front() == '@') {
        if (!in_key) Fail("value outside of a key");
        ReadValue(key, t);
      } else {
        Fail("unrecognised line");
      }
    }
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const { throw RegistryFormatError(file_, line_no_, reason); }

  bool NextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    line = std::string_view(text_).substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++line_no_;
    return true;
  }

  // A quoted string from s[pos] (after the opening quote) to its closing quote.
  std::string ReadQuoted(std::string_view s, size_t& pos) {
    std::string out;
    while (pos < s.size()) {
      const char c = s[pos++];
      if (c == '"') return out;
      if (c == '\\' && pos < s.size()) {
        const char e = s[pos++];
        out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == '0' ? '\0' : e;
      } else {
        out += c;
      }
    }
    Fail("string without closing quote");
  }

  void ReadValue(const RegeditEntry& key, std::string_view t) {
    RegeditEntry e{RegeditEntry::Kind::SetValue, key.root, key.path, {}, {}, line_no_};
    size_t pos = 1;
    if (t.front() == '"') e.name = ReadQuoted(t, pos);
    while (pos < t.size() && IsBlank(t[pos])) ++pos;
    if (pos >= t.size() || t[pos] != '=') Fail("'=' expected after the value name");
    std::string_view data = Trim(t.substr(pos + 1));
    if (data == "-") {
      e.kind = RegeditEntry::Kind::DeleteValue;
    } else if (!data.empty() && data.front() == '"') {
      size_t p = 1;
      std::string text = ReadQuoted(data, p);
      if (!Trim(data.substr(p)).empty()) Fail("unexpected text after string value");
      e.value = RegValue::String(text);
    } else if (data.substr(0, 6) == "dword:") {
      std::string_view digits = data.substr(6);
      uint32_t v = 0;
      if (digits.empty() || digits.size() > 8) Fail("invalid dword value");
      for (char c : digits) {
        if (HexDigit(c) < 0) Fail("invalid dword value");
        v = v * 16 + static_cast<uint32_t>(HexDigit(c));
      }
      e.value = RegValue::DWord(v);
    } else if (data.substr(0, 3) == "hex") {
      e.value = ReadHex(data);
    } else {
      Fail("unknown value type");
    }
    out_.push_back(std::move(e));
  }

  RegValue ReadHex(std::string_view data) {
    RegValue v;
    size_t pos = 3;
    if (data.substr(pos, 1) == "(") {
      ++pos;
      uint64_t type = 0;
      size_t digits = 0;
      while (pos < data.size() && HexDigit(data[pos]) >= 0 && digits < 8) {
        type = type * 16 + static_cast<uint64_t>(HexDigit(data[pos++]));
        ++digits;
      }
      if (!digits || data.substr(pos, 1) != ")") Fail("invalid hex() value");
      ++pos;
      v.type = static_cast<uint32_t>(type);
    } else {
      v.type = platform::REG_BINARY;
    }
    if (data.substr(pos, 1) != ":") Fail("':' expected after hex");
    std::string_view rest = data.substr(pos + 1);
    for (;;) {
      rest = Trim(rest);
      if (rest.empty()) break;
      if (rest == "\\") {
        std::string_view next;
        if (!NextLine(next)) Fail("continuation line missing at end of file");
        rest = next;
        continue;
      }
      if (rest.size() < 2 || HexDigit(rest[0]) < 0 || HexDigit(rest[1]) < 0) Fail("invalid hex data");
      v.data.push_back(static_cast<uint8_t>(HexDigit(rest[0]) * 16 + HexDigit(rest[1])));
      rest = Trim(rest.substr(2));
      if (!rest.empty() && rest.front() == ',') {
        rest.remove_prefix(1);
      } else if (!rest.empty() && rest != "\\") {
        Fail("invalid hex data");
      }
    }
    if (version4_ && (v.type == platform::REG_EXPAND_SZ || v.type == platform::REG_MULTI_SZ)) {
      // REGEDIT4 keeps these as ANSI bytes; the registry holds UTF-16.
      const std::string narrow(v.data.begin(), v.data.end());
      v.data = Utf16Bytes(platform::Utf8ToUtf16(narrow));
    }
    return v;
  }

  std::string text_;
  const std::string& file_;
  size_t pos_ = 0;
  int line_no_ = 0;
  bool version4_ = false;
  std::vector<RegeditEntry> out_;
};

void AppendQuoted(std::string& out, std::string_view s) {
  out += '"';
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

void AppendValue(std::string& out, const std::string& name, const RegValue& v) {
  const size_t line_start = out.size();
  if (name.empty()) {
    out += '@';
  } else {
    AppendQuoted(out, name);
  }
  out += '=';
  char buf[32];
  if (v.type == platform::REG_SZ) {
    // Text without control characters and with its NUL is written as text;
    // anything else as bytes, which every reader takes back unchanged.
    auto text = v.AsString();
    bool plain = text && RegValue::String(*text) == v;
    for (char c : text.value_or("")) plain &= static_cast<uint8_t>(c) >= 0x20;
    if (plain) {
      AppendQuoted(out, *text);
      out += "\r\n";
      return;
    }
  }
  if (v.type == platform::REG_DWORD && v.data.size() == 4) {
    snprintf(buf, sizeof buf, "dword:%08x\r\n", static_cast<unsigned>(*v.AsDWord()));
    out += buf;
    return;
  }
  if (v.type == platform::REG_BINARY) {
    out += "hex:";
  } else {
    snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
    out += buf;
  }
  size_t column = out.size() - line_start;
  for (size_t i = 0; i < v.data.size(); ++i) {
    snprintf(buf, sizeof buf, "%02x", v.data[i]);
    out += buf;
    column += 2;
    if (i + 1 < v.data.size()) {
      out += ',';
      if (++column > 76) {
        out += "\\\r\n  ";
        column = 2;
      }
    }
  }
  out += "\r\n";
}

void ExportKey(std::string& out, platform::RegistryStore& store, RootKey root, const std::string& path) {
  out += "\r\n[" + RootKeyName(root) + (path.empty() ? "" : "\\" + path) + "]\r\n";
  for (const std::string& name : store.ValueNames(root, path)) {
    if (auto v = store.QueryValue(root, path, name)) AppendValue(out, name, *v);
  }
  for (const std::string& sub : store.SubKeyNames(root, path)) {
    ExportKey(out, store, root, path.empty() ? sub : path + "\\" + sub);
  }
}

}  // namespace

std::optional<std::pair<RootKey, std::string>> SplitRegistryPath(std::string_view full) {
  while (!full.empty() && full.front() == '\\') full.remove_prefix(1);
  const size_t slash = full.find('\\');
  const std::string head = platform::FoldName(full.substr(0, slash));
  std::string rest = slash == std::string_view::npos ? "" : std::string(full.substr(slash + 1));
  while (!rest.empty() && rest.back() == '\\') rest.pop_back();
  for (const RootName& r : kRoots) {
    if (head == platform::FoldName(r.full) || head == platform::FoldName(r.brief)) {
      return std::make_pair(r.root, rest);
    }
  }
  return std::nullopt;
}

std::string RootKeyName(RootKey root) {
  for (const RootName& r : kRoots) {
    if (r.root == root) return r.full;
  }
  return {};
}

std::vector<RegeditEntry> ParseRegeditFile(std::string_view bytes, const std::string& file) {
  return Parser(DecodeText(bytes), file).Run();
}

std::optional<std::string> ExportRegeditFile(platform::RegistryStore& store, RootKey root, const std::string& path) {
  if (!store.KeyExists(root, path)) return std::nullopt;
  std::string text(kVersion5);
  text += "\r\n";
  ExportKey(text, store, root, path);
  text += "\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : platform::Utf8ToUtf16(text)) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

void ApplyRegeditEntries(platform::RegistryStore& store, const std::vector<RegeditEntry>& entries) {
  for (const RegeditEntry& e : entries) {
    bool ok = true;
    switch (e.kind) {
      case RegeditEntry::Kind::CreateKey: ok = store.CreateKey(e.root, e.path); break;
      case RegeditEntry::Kind::DeleteKey: store.DeleteTree(e.root, e.path); break;
      case RegeditEntry::Kind::SetValue: ok = store.SetValue(e.root, e.path, e.name, e.value); break;
      case RegeditEntry::Kind::DeleteValue: store.DeleteValue(e.root, e.path, e.name); break;
    }
    if (!ok) {
      throw platform::RegistryIoError("Cannot write " + RootKeyName(e.root) + "\\" + e.path + " (line " +
                                      std::to_string(e.line) + ")");
    }
  }
}

}  // namespace wenmoor
