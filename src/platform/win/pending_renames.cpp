// PendingFileRenameOperations, read and written byte for byte.
#include "platform/win/pending_renames.h"

#include "platform/win/reg_text.h"

namespace wenmoor::platform {

namespace {
constexpr std::string_view kNtPrefix = "\\??\\";

std::string StripNtPrefix(std::string s) {
  if (s.rfind(kNtPrefix, 0) == 0) s.erase(0, kNtPrefix.size());
  return s;
}
}  // namespace

std::vector<std::string> DecodeMultiSz(const std::vector<uint8_t>& data) {
  std::u16string text(data.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  // Every string ends with a NUL; a last string without one still counts.
  std::vector<std::string> items;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\0', start);
    if (end == std::u16string::npos) end = text.size();
    items.push_back(Utf16ToUtf8(std::u16string_view(text).substr(start, end - start)));
    start = end + 1;
  }
  return items;
}

std::vector<uint8_t> EncodeMultiSz(const std::vector<std::string>& items) {
  std::vector<uint8_t> out;
  auto put = [&out](char16_t c) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  };
  for (const std::string& item : items) {
    for (char16_t c : Utf8ToUtf16(item)) put(c);
    put(u'\0');
  }
  put(u'\0');  // the empty string that ends the list
  return out;
}

std::vector<PendingRename> ParsePendingRenames(const std::vector<std::string>& items) {
  std::vector<PendingRename> renames;
  for (size_t i = 0; i + 1 < items.size(); i += 2) {
    if (items[i].empty()) break;  // the end of the list
    PendingRename r;
    r.source = StripNtPrefix(items[i]);
    std::string target = items[i + 1];
    if (!target.empty() && target[0] == '!') {
      r.replace_existing = true;
      target.erase(0, 1);
    }
    r.target = StripNtPrefix(target);
    renames.push_back(std::move(r));
  }
  return renames;
}

std::vector<std::string> FormatPendingRenames(const std::vector<PendingRename>& renames) {
  std::vector<std::string> items;
  for (const PendingRename& r : renames) {
    items.push_back(std::string(kNtPrefix) + r.source);
    if (r.target.empty()) {
      items.emplace_back();
    } else {
      items.push_back((r.replace_existing ? "!" : "") + std::string(kNtPrefix) + r.target);
    }
  }
  return items;
}

std::vector<PendingRename> ReadPendingRenames(RegistryStore& registry) {
  std::optional<RegValue> v = registry.QueryValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue);
  if (!v || (v->type != REG_MULTI_SZ && v->type != REG_SZ && v->type != REG_EXPAND_SZ)) return {};
  return ParsePendingRenames(DecodeMultiSz(v->data));
}

void AddPendingRename(RegistryStore& registry, const PendingRename& rename) {
  // The pairs recorded so far are kept as they are stored (whatever their
  // spelling); only the end of the list moves behind the new pair.
  std::vector<std::string> items;
  std::optional<RegValue> v = registry.QueryValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue);
  if (v && v->type == REG_MULTI_SZ) items = DecodeMultiSz(v->data);
  size_t keep = 0;
  while (keep + 1 < items.size() && !items[keep].empty()) keep += 2;
  items.resize(keep);
  for (std::string& item : FormatPendingRenames({rename})) items.push_back(std::move(item));
  registry.SetValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue,
                    RegValue::Binary(EncodeMultiSz(items), REG_MULTI_SZ));
}

void ClearPendingRenames(RegistryStore& registry) {
  registry.DeleteValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue);
}

}  // namespace wenmoor::platform
