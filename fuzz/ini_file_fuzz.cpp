// INI text from outside (WININIT.INI and the like): any bytes parse; the
// text written back parses to the same entries and is written the same
// again; writes and deletes keep every other entry.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/win/ini_file.h"

using wenmoor::platform::IniFile;
using wenmoor::platform::IniWrite;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const IniFile ini = IniFile::Parse(text);
  const std::string once = ini.Text();
  const IniFile again = IniFile::Parse(once);
  if (again.Text() != once) std::abort();
  if (again.Sections() != ini.Sections()) std::abort();
  for (const std::string& section : ini.Sections())
    if (again.Entries(section) != ini.Entries(section)) std::abort();

  IniFile edited = again;
  const std::string section = ini.Sections().empty() ? std::string("Rename") : ini.Sections().front();
  const size_t before = edited.Entries(section).size();
  edited.Write(section, "NUL", "C:\\x", IniWrite::Append);
  if (edited.Entries(section).size() < before) std::abort();
  edited.Write(section, "Key", "Value");
  if (edited.Read(section, "KEY") != "Value" && !edited.Read(section, "KEY")) std::abort();
  edited.DeleteKey(section, "key");
  if (edited.Read(section, "key")) std::abort();
  edited.EraseSection(section);
  if (IniFile::Parse(edited.Text()).Text() != edited.Text()) std::abort();
  return 0;
}
