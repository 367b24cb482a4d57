// RegValue and the store's error classes.
#include "platform/win/reg_text.h"
#include "platform/win/registry_store.h"

namespace wenmoor::platform {

namespace {

void AppendUtf16Le(std::vector<uint8_t>& out, std::string_view utf8) {
  for (char16_t c : Utf8ToUtf16(utf8)) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
}

std::u16string Utf16Units(const std::vector<uint8_t>& data) {
  std::u16string text(data.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return text;
}

}  // namespace

RegValue RegValue::String(std::string_view utf8, uint32_t type) {
  RegValue v;
  v.type = type;
  AppendUtf16Le(v.data, utf8);
  return v;
}

RegValue RegValue::DWord(uint32_t n) {
  RegValue v;
  v.type = REG_DWORD;
  v.data = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
            static_cast<uint8_t>(n >> 24)};
  return v;
}

RegValue RegValue::Binary(std::vector<uint8_t> bytes, uint32_t type) {
  RegValue v;
  v.type = type;
  v.data = std::move(bytes);
  return v;
}

RegValue RegValue::MultiString(const std::vector<std::string>& utf8) {
  RegValue v;
  v.type = REG_MULTI_SZ;
  for (const std::string& s : utf8) AppendUtf16Le(v.data, s);
  v.data.push_back(0);
  v.data.push_back(0);
  return v;
}

std::optional<std::string> RegValue::AsString() const {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::u16string text = Utf16Units(data);
  const size_t nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);
  return Utf16ToUtf8(text);
}

std::optional<uint32_t> RegValue::AsDWord() const {
  if ((type != REG_DWORD && type != REG_BINARY) || data.size() != 4) return std::nullopt;
  return static_cast<uint32_t>(data[0] | (data[1] << 8) | (data[2] << 16)) |
         (static_cast<uint32_t>(data[3]) << 24);
}

std::optional<std::vector<std::string>> RegValue::AsMultiString() const {
  if (type != REG_MULTI_SZ) return std::nullopt;
  std::vector<std::string> items;
  const std::u16string text = Utf16Units(data);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\0', start);
    if (end == std::u16string::npos) end = text.size();
    if (end == start) break;  // the empty string that ends the list
    items.push_back(Utf16ToUtf8(std::u16string_view(text).substr(start, end - start)));
    start = end + 1;
  }
  return items;
}

RegistryFormatError::RegistryFormatError(std::string file, int line, std::string reason)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + reason),
      file_(std::move(file)),
      line_(line),
      reason_(std::move(reason)) {}

}  // namespace wenmoor::platform
