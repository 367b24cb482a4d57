#include "platform/win/registry.h"

#include <algorithm>

#include "platform/win/machine.h"

namespace wenmoor {

using platform::RegValue;

namespace {

std::string WithoutLeadingBackslash(const std::string& key) {
  return TRegistry::IsRelative(key) ? key : key.substr(1);
}

TRegDataType DataTypeOf(uint32_t type) {
  switch (type) {
    case platform::REG_SZ: return rdString;
    case platform::REG_EXPAND_SZ: return rdExpandString;
    case platform::REG_DWORD: return rdInteger;
    case platform::REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

[[noreturn]] void ReadError(const std::string& name) {
  throw ERegistryException("Invalid data type for '%s'", name);
}

}  // namespace

TRegistry::TRegistry() : TRegistry(platform::CurrentRegistry()) {}

TRegistry::TRegistry(uint32_t access) : TRegistry(platform::CurrentRegistry(), access) {}

TRegistry::TRegistry(platform::RegistryStore& store, uint32_t access) : store_(&store), access_(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY value) {
  CloseKey();
  root_key_ = value;
}

HKEY TRegistry::GetBaseKey(bool relative) const {
  return current_key_ == 0 || !relative ? root_key_ : current_key_;
}

void TRegistry::ChangeKey(HKEY key, std::string path) {
  CloseKey();
  current_key_ = key;
  current_path_ = std::move(path);
}

HKEY TRegistry::GetKey(const std::string& key) {
  return RegHandles::Open(*store_, GetBaseKey(IsRelative(key)), WithoutLeadingBackslash(key), access_, false);
}

bool TRegistry::OpenKey(const std::string& key, bool can_create) {
  const bool relative = IsRelative(key);
  std::string path = WithoutLeadingBackslash(key);
  const HKEY opened = RegHandles::Open(*store_, GetBaseKey(relative), path, access_, can_create && !path.empty());
  if (opened == 0) return false;
  if (current_key_ != 0 && relative) path = current_path_ + "\\" + path;
  ChangeKey(opened, std::move(path));
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  const bool relative = IsRelative(key);
  std::string path = WithoutLeadingBackslash(key);
  const HKEY opened = RegHandles::Open(*store_, GetBaseKey(relative), path, KEY_READ, false);
  if (opened == 0) return false;
  access_ = KEY_READ;
  if (current_key_ != 0 && relative) path = current_path_ + "\\" + path;
  ChangeKey(opened, std::move(path));
  return true;
}

void TRegistry::CloseKey() {
  if (current_key_ != 0) {
    // Every change is already durable in the store: closing has nothing to flush.
    RegHandles::Close(current_key_);
    current_key_ = 0;
    current_path_.clear();
  }
}

bool TRegistry::CreateKey(const std::string& key) {
  const HKEY created =
      RegHandles::Open(*store_, GetBaseKey(IsRelative(key)), WithoutLeadingBackslash(key), KEY_ALL_ACCESS, true);
  if (created == 0) throw ERegistryException("Failed to create key %s", key);
  RegHandles::Close(created);
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  const bool relative = IsRelative(key);
  const std::string path = WithoutLeadingBackslash(key);
  const HKEY old_key = current_key_;
  const HKEY doomed = GetKey(key);
  if (doomed != 0) {
    // Delete the subkeys first, each below the key being deleted; the list
    // is taken once, so deleting one cannot make the walk skip another.
    SetCurrentKey(doomed);
    try {
      for (const std::string& sub : KeyNames()) DeleteKey(sub);
    } catch (...) {
      SetCurrentKey(old_key);
      RegHandles::Close(doomed);
      throw;
    }
    SetCurrentKey(old_key);
    RegHandles::Close(doomed);
  }
  return RegHandles::DeleteSubKey(*store_, GetBaseKey(relative), path);
}

bool TRegistry::KeyExists(const std::string& key) {
  const uint32_t old_access = access_;
  access_ = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
  const HKEY opened = GetKey(key);
  access_ = old_access;
  if (opened != 0) RegHandles::Close(opened);
  return opened != 0;
}

std::optional<RegKeyInfoOfHandle> TRegistry::Current(uint32_t right) {
  if (current_key_ == 0) return std::nullopt;
  auto info = RegHandles::Lookup(*store_, current_key_);
  if (!info || (info->access & right) != right) return std::nullopt;
  return info;
}

bool TRegistry::HasSubKeys() {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& info) {
  info = TRegKeyInfo{};
  auto key = Current(KEY_QUERY_VALUE);
  if (!key || !store_->KeyExists(key->root, key->path)) return false;
  for (const std::string& sub : store_->SubKeyNames(key->root, key->path)) {
    ++info.NumSubKeys;
    info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, static_cast<int>(sub.size()));
  }
  for (const std::string& name : store_->ValueNames(key->root, key->path)) {
    ++info.NumValues;
    info.MaxValueLen = std::max(info.MaxValueLen, static_cast<int>(name.size()));
    if (auto v = store_->QueryValue(key->root, key->path, name)) {
      info.MaxDataLen = std::max(info.MaxDataLen, static_cast<int>(v->data.size()));
    }
  }
  return true;
}

std::vector<std::string> TRegistry::KeyNames() {
  auto key = Current(KEY_ENUMERATE_SUB_KEYS);
  return key ? store_->SubKeyNames(key->root, key->path) : std::vector<std::string>{};
}

std::vector<std::string> TRegistry::ValueNames() {
  auto key = Current(KEY_QUERY_VALUE);
  return key ? store_->ValueNames(key->root, key->path) : std::vector<std::string>{};
}

void TRegistry::GetKeyNames(TStrings& names) {
  names.Clear();
  for (std::string& n : KeyNames()) names.Add(std::move(n));
}

void TRegistry::GetValueNames(TStrings& names) {
  names.Clear();
  for (std::string& n : ValueNames()) names.Add(std::move(n));
}

std::optional<RegValue> TRegistry::Query(const std::string& name) {
  auto key = Current(KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  return store_->QueryValue(key->root, key->path, name);
}

void TRegistry::Put(const std::string& name, const RegValue& value) {
  auto key = Current(KEY_SET_VALUE);
  if (!key || !store_->KeyExists(key->root, key->path) || !store_->SetValue(key->root, key->path, name, value)) {
    throw ERegistryException("Failed to set data for '%s'", name);
  }
}

bool TRegistry::ValueExists(const std::string& name) { return Query(name).has_value(); }

TRegDataType TRegistry::GetDataType(const std::string& name) {
  auto v = Query(name);
  return v ? DataTypeOf(v->type) : rdUnknown;
}

int TRegistry::GetDataSize(const std::string& name) {
  auto v = Query(name);
  return v ? static_cast<int>(v->data.size()) : -1;
}

bool TRegistry::DeleteValue(const std::string& name) {
  auto key = Current(KEY_SET_VALUE);
  return key && store_->DeleteValue(key->root, key->path, name);
}

std::string TRegistry::ReadString(const std::string& name) {
  auto v = Query(name);
  if (!v || v->data.empty()) return {};
  if (auto text = v->AsString()) return *text;
  ReadError(name);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  Put(name, RegValue::String(value, platform::REG_SZ));
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  Put(name, RegValue::String(value, platform::REG_EXPAND_SZ));
}

int32_t TRegistry::ReadInteger(const std::string& name) {
  auto v = Query(name);
  if (!v) throw ERegistryException("Failed to get data for '%s'", name);
  if (v->type != platform::REG_DWORD || v->data.size() != 4) ReadError(name);
  return static_cast<int32_t>(*v->AsDWord());
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  Put(name, RegValue::DWord(static_cast<uint32_t>(value)));
}

std::vector<uint8_t> TRegistry::ReadBinaryData(const std::string& name) {
  auto v = Query(name);
  if (!v) return {};
  const TRegDataType type = DataTypeOf(v->type);
  if (type != rdBinary && type != rdUnknown) ReadError(name);
  return v->data;
}

void TRegistry::WriteBinaryData(const std::string& name, const std::vector<uint8_t>& data) {
  Put(name, RegValue::Binary(data));
}

}  // namespace wenmoor
