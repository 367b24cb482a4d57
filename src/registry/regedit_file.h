// The .reg files of Windows' registry editor and reg.exe, for `wenmoor reg
// export` and `wenmoor reg import`:
//
//   Windows Registry Editor Version 5.00       (UTF-16LE with BOM, CR LF)
//                                               or REGEDIT4 (ANSI)
//   [HKEY_LOCAL_MACHINE\Software\Qry]          create the key
//   @="default"
//   "Name"="text with \\ and \""               REG_SZ
//   "Count"=dword:0000002a                     REG_DWORD
//   "Data"=hex:01,02,\                         REG_BINARY, continued
//     03
//   "Path"=hex(2):25,00,...                    any other kind as bytes
//   "Old"=-                                    delete the value
//   [-HKEY_CURRENT_USER\Software\Old]          delete the key and its subkeys
//
// Root names are the full ones (HKEY_LOCAL_MACHINE) or the short ones of
// reg.exe (HKLM). In a REGEDIT4 file the bytes of hex(2) and hex(7) values
// are ANSI text, which is widened on import.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/registry_store.h"

namespace wenmoor {

struct RegeditEntry {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind = Kind::CreateKey;
  platform::RootKey root = platform::RootKey::LocalMachine;
  std::string path;  // below the root
  std::string name;  // values only; empty for the default value
  platform::RegValue value;
  int line = 0;
};

// Splits "HKLM\Software\X" (or "HKEY_LOCAL_MACHINE\Software\X") into its
// root and the path below it; nullopt for an unknown root.
std::optional<std::pair<platform::RootKey, std::string>> SplitRegistryPath(std::string_view full);
// "HKEY_LOCAL_MACHINE" and so on.
std::string RootKeyName(platform::RootKey root);

// Parses a whole file (any of the encodings above). Throws
// platform::RegistryFormatError(file, line, reason) on anything it cannot
// interpret; nothing is returned then, so an import is all or nothing.
std::vector<RegeditEntry> ParseRegeditFile(std::string_view bytes, const std::string& file);

// The key `path` of `root` with all its subkeys and values as a version 5
// file (UTF-16LE with BOM, CR LF), as reg.exe exports it. nullopt when the
// key does not exist.
std::optional<std::string> ExportRegeditFile(platform::RegistryStore& store, platform::RootKey root,
                                             const std::string& path);

// The entries applied to the store in order.
void ApplyRegeditEntries(platform::RegistryStore& store, const std::vector<RegeditEntry>& entries);

}  // namespace wenmoor
