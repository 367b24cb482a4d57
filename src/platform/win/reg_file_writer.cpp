#include "platform/win/reg_file_writer.h"

#include <cstdio>

#include "platform/win/reg_text.h"

namespace wenmoor::platform {

namespace {

constexpr uint64_t kTicks1601To1970 = 116444736000000000ULL;
constexpr uint64_t kTicksPerSecond = 10000000ULL;
constexpr char kHex[] = "0123456789abcdef";

// The string of a string-kind value when Wine writes it as text: a whole
// number of UTF-16 units ending in a NUL (which is not written).
bool AsWritableString(const RegValue& v, std::u16string& text) {
  if (v.type != REG_SZ && v.type != REG_EXPAND_SZ && v.type != REG_MULTI_SZ) return false;
  if (v.data.size() < 2 || v.data.size() % 2) return false;
  const size_t units = v.data.size() / 2;
  if (v.data[v.data.size() - 1] != 0 || v.data[v.data.size() - 2] != 0) return false;
  text.resize(units - 1);
  for (size_t i = 0; i + 1 < units; ++i) {
    text[i] = static_cast<char16_t>(v.data[2 * i] | (v.data[2 * i + 1] << 8));
  }
  return true;
}

void AppendPath(std::string& out, const RegNode& node) {
  if (!node.parent) return;
  if (node.parent->parent) {
    AppendPath(out, *node.parent);
    out += "\\\\";
  }
  AppendEscaped(out, Utf8ToUtf16(node.name), "[]");
}

void AppendValue(std::string& out, const RegNamedValue& v) {
  const size_t line_start = out.size();
  if (v.name.empty()) {
    out += "@=";
  } else {
    out += '"';
    AppendEscaped(out, Utf8ToUtf16(v.name), "\"");
    out += "\"=";
  }
  char buf[32];
  std::u16string text;
  if (AsWritableString(v.value, text)) {
    if (v.value.type != REG_SZ) {
      snprintf(buf, sizeof buf, "str(%x):", v.value.type);
      out += buf;
    }
    out += '"';
    AppendEscaped(out, text, "\"");
    out += "\"\n";
    return;
  }
  if (v.value.type == REG_DWORD && v.value.data.size() == 4) {
    const auto& d = v.value.data;
    snprintf(buf, sizeof buf, "dword:%08x\n",
             static_cast<unsigned>(d[0] | (d[1] << 8) | (d[2] << 16)) | (static_cast<unsigned>(d[3]) << 24));
    out += buf;
    return;
  }
  if (v.value.type == REG_BINARY) {
    out += "hex:";
  } else {
    snprintf(buf, sizeof buf, "hex(%x):", v.value.type);
    out += buf;
  }
  // Wine breaks the line once it is longer than 76 characters.
  size_t count = out.size() - line_start;
  const auto& data = v.value.data;
  for (size_t i = 0; i < data.size(); ++i) {
    out += kHex[data[i] >> 4];
    out += kHex[data[i] & 15];
    count += 2;
    if (i + 1 < data.size()) {
      out += ',';
      if (++count > 76) {
        out += "\\\n  ";
        count = 2;
      }
    }
  }
  out += '\n';
}

void AppendKey(std::string& out, const RegNode& node) {
  if (!node.values.empty() || node.subkeys.empty() || node.klass || node.link) {
    out += "\n[";
    AppendPath(out, node);
    char buf[64];
    const auto seconds = static_cast<uint32_t>((node.modified - kTicks1601To1970) / kTicksPerSecond);
    snprintf(buf, sizeof buf, "] %u\n#time=%x%08x\n", static_cast<unsigned>(seconds),
             static_cast<unsigned>(node.modified >> 32), static_cast<unsigned>(node.modified & 0xFFFFFFFFu));
    out += buf;
    if (node.klass) {
      out += "#class=\"";
      AppendEscaped(out, *node.klass, "\"");
      out += "\"\n";
    }
    if (node.link) out += "#link\n";
    for (const std::string& line : node.extra_lines) {
      out += line;
      out += '\n';
    }
    for (const RegNamedValue& v : node.values) AppendValue(out, v);
  }
  for (const auto& sub : node.subkeys) AppendKey(out, *sub);
}

}  // namespace

std::string WriteRegFile(const RegHive& hive) {
  std::string out;
  out.reserve(1 << 20);
  out += "WINE REGISTRY Version 2\n";
  // Comment lines first, then a blank line and the option lines (#arch=...),
  // which is where Wine puts them.
  bool any_option = false;
  for (const std::string& line : hive.HeaderLines()) {
    if (line.front() == ';') {
      out += line;
      out += '\n';
    } else {
      any_option = true;
    }
  }
  if (any_option) {
    out += '\n';
    for (const std::string& line : hive.HeaderLines()) {
      if (line.front() != ';') {
        out += line;
        out += '\n';
      }
    }
  }
  AppendKey(out, hive.Root());
  return out;
}

}  // namespace wenmoor::platform
