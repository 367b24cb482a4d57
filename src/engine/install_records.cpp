// Installation records: one key per distribution that has run on this
// machine and not yet finished, below \SOFTWARE\OAK\Install (HKEY_LOCAL_MACHINE).
// A record is found again by the setup program's file size and date (not by
// its path: the same program copied elsewhere is the same distribution), and
// holds what must survive a restart: the unfinished business, the local
// copies of downloaded archives and the chosen language.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/cmp_TInstall.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/forms.h"
#include "platform/win/files.h"
#include "registry/cmp_TWnmrRegistry.h"
#include "registry/routines_Registry.h"
#include "script/script_exceptions.h"

namespace wenmoor {
namespace {

constexpr char kRecordsKey[] = "\\SOFTWARE\\OAK\\Install";
constexpr char kFrameworkKey[] = "\\Software\\Wenmoor";
constexpr char kUnfinished[] = "Unfinished";
constexpr char kNoRecord[] = "The TInstall could not either write or read unfinished business from the registry";
// Two dates closer than this (in days, about 9 ms) are the same file date.
constexpr double kSameDate = 1e-7;

std::vector<uint8_t> DateBytes(TDateTime value) {
  const auto bits = std::bit_cast<uint64_t>(value);
  std::vector<uint8_t> bytes(8);
  for (size_t i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
  return bytes;
}

// A date stored as an 8-byte binary value; nullopt when it is missing or of
// another kind or size.
std::optional<TDateTime> ReadDate(TRegistry& registry, const std::string& name) {
  if (registry.GetDataType(name) != rdBinary) return std::nullopt;
  const std::vector<uint8_t> bytes = registry.ReadBinaryData(name);
  if (bytes.size() != 8) return std::nullopt;
  uint64_t bits = 0;
  for (size_t i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  return std::bit_cast<double>(bits);
}

// The setup program's file: its path, size and last-write date.
struct ProgramFile {
  std::string path;
  int32_t size = 0;
  TDateTime date = 0;
};

ProgramFile OwnProgram() {
  ProgramFile f;
  f.path = TApplication::Instance().ExeName();
  f.size = static_cast<int32_t>(platform::GetFileSize(f.path).value_or(0));
  f.date = platform::GetFileDate(f.path).value_or(0);
  return f;
}

std::string RequireRecord() {
  const std::string& key = CurrentRecordKey();
  if (key.empty()) throw IEInstall(kNoRecord);
  return key;
}

// Deletes `key` when it opens and has no sub-keys left; false when it stays.
bool DeleteIfEmpty(const std::string& key) {
  TwnmrRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(key, false)) return false;
  const bool empty = !registry.HasSubKeys();
  registry.CloseKey();
  return empty && registry.DeleteKeyTree(key);
}

}  // namespace

bool SplitUnfinishedEntry(std::string_view entry, std::string& name, int& kind) {
  const size_t split = entry.rfind(';');
  if (split == std::string_view::npos) return false;
  const std::string text = Trim(entry.substr(split + 1));
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), kind);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
  name = std::string(entry.substr(0, split));
  return true;
}

TDateTime& RunStartTime() {
  static TDateTime start = 0;
  return start;
}

std::string TCustomInstall::FindInstallRecord(bool create) {
  const ProgramFile program = OwnProgram();
  try {
    TwnmrRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(kRecordsKey, true)) return {};
    const std::vector<std::string> names = registry.KeyNames();
    for (const std::string& name : names) {
      TwnmrRegistry record;
      record.SetRootKey(HKEY_LOCAL_MACHINE);
      const std::string key = std::string(kRecordsKey) + "\\" + name;
      if (!record.OpenKey(key, false)) continue;
      std::optional<TDateTime> date = ReadDate(record, "CreationDate");
      if (!date || record.GetDataType("Size") != rdInteger) continue;
      if (std::fabs(program.date - *date) >= kSameDate || record.ReadInteger("Size") != program.size) continue;
      try {
        record.WriteBinaryData("LastRunDate", DateBytes(RunStartTime()));
        record.WriteString("Path", program.path);
      } catch (const std::exception&) {
        return {};
      }
      return key;
    }
    if (!create) return {};

    int n = 0;
    while (registry.KeyExists("Install" + std::to_string(n))) ++n;
    const std::string key = std::string(kRecordsKey) + "\\Install" + std::to_string(n);
    TwnmrRegistry record;
    record.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!record.OpenKey(key, true)) return {};
    try {
      record.WriteString("Path", program.path);
      record.WriteBinaryData("LastRunDate", DateBytes(RunStartTime()));
      record.WriteBinaryData("CreationDate", DateBytes(program.date));
      record.WriteInteger("Size", program.size);
      if (HasSwitch(kSwitchSelfExtractor))
        record.WriteString("SelfExtract",
                           IncludeTrailingBackslash(SwitchValue(kSwitchSource)) + SwitchValue(kSwitchSelfExtractor));
    } catch (const std::exception&) {
      return {};
    }
    return key;
  } catch (const std::exception&) {
    // A store that cannot be read is no record.
    return {};
  }
}

void TCustomInstall::RemoveInstallRecord() {
  const std::string record = CurrentRecordKey();
  if (record.empty()) return;
  try {
    TwnmrRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (registry.OpenKey(record, false)) {
      const std::vector<std::string> names = registry.KeyNames();
      registry.CloseKey();
      for (const std::string& name : names) {
        const std::string sub = record + "\\" + name;
        std::string local;
        ReadRegistryString(hkLocalMachine, sub, "LocalFile", local, "");
        if (!Trim(local).empty()) platform::DeleteFile(local);
        DeleteRegistryKey(hkLocalMachine, sub);
      }
    }
    DeleteRegistryKey(hkLocalMachine, record);
    if (DeleteIfEmpty(kRecordsKey)) DeleteIfEmpty(kFrameworkKey);
  } catch (const std::exception&) {
    // Removing what is left of a finished installation is best effort.
  }
  CurrentRecordKey().clear();
}

void TCustomInstall::ClearUnfinished() {
  const std::string record = RequireRecord();
  DeleteRegistryKey(hkLocalMachine, record + "\\" + kUnfinished);
}

void TCustomInstall::AddUnfinished(const std::string& name, int kind) {
  const std::string record = RequireRecord();
  ++unfinished_count_;
  WriteRegistryString(hkLocalMachine, record + "\\" + kUnfinished, name, IntToStr(kind));
}

void TCustomInstall::ReadUnfinished(TStrings& list) {
  list.Clear();
  const std::string record = RequireRecord();
  TwnmrRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(record + "\\" + kUnfinished, false)) return;
  for (const std::string& name : registry.ValueNames()) {
    std::string kind;
    try {
      kind = registry.ReadString(name);
    } catch (const ERegistryException&) {
      // A value that is no string keeps an empty kind, which the resumption
      // reports as an invalid entry rather than skipping it unseen.
    }
    list.Add(name + ";" + kind);
  }
}

}  // namespace wenmoor
