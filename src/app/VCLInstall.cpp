#include "app/VCLInstall.h"

#include <algorithm>
#include <exception>

#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"

namespace quarry {

using namespace wenmoor;

namespace {

const char* IdeName(int ide) { return kIdeVersions[static_cast<size_t>(ide)].name; }

bool InList(const std::vector<std::string>& list, std::string_view name) {
  return std::any_of(list.begin(), list.end(), [&](const std::string& s) { return CompareText(s, name) == 0; });
}

bool SameDirectory(std::string_view a, std::string_view b) {
  return CompareText(ExcludeTrailingBackslash(a), ExcludeTrailingBackslash(b)) == 0;
}

std::string ReadTextFile(const std::string& path) {
  TFileStream in(path, fmOpenRead | fmShareDenyWrite);
  std::string text(static_cast<size_t>(in.Size()), '\0');
  in.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  TFileStream out(path, fmCreate);
  out.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

}  // namespace

std::vector<std::string> ListEntries(std::string_view text, char separator) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    std::string entry = Trim(text.substr(start, end - start));
    if (!entry.empty()) entries.push_back(std::move(entry));
    start = end + 1;
  }
  return entries;
}

TPackageInstaller::TPackageInstaller(TInstallLog& log) : log_(log), infos_(kIdeCount), registry_(KEY_ALL_ACCESS) {
  FindProducts();
}

TInstallInfo TPackageInstaller::GetInstallInfo(int ide) const {
  if (ide < 0 || ide >= kIdeCount) return {};
  return infos_[static_cast<size_t>(ide)];
}

void TPackageInstaller::FindProducts() {
  log_.Add("Starting find products");
  try {
    TRegistry reader(KEY_READ);
    reader.SetRootKey(HKEY_LOCAL_MACHINE);
    for (int ide : {ideDelphi4, ideDelphi5, ideDelphi6, ideDelphi7, ideDelphi3, ideBuilder6}) {
      const std::string key = IdeRegKey(ide);
      if (ide == ideBuilder6) log_.Add("Looking for: " + key);
      if (!reader.KeyExists(key)) continue;
      log_.Add(std::string("Found ") + IdeName(ide) + " installation");
      TInstallInfo& info = infos_[static_cast<size_t>(ide)];
      info.Found = true;
      if (reader.OpenKeyReadOnly(key)) {
        info.RootDir = reader.ReadString("RootDir");
        reader.CloseKey();
      }
      info.RegKey = key;
      // Without a root directory there is no contents file to edit (the bare
      // relative name would point at the root of the current drive).
      if (!info.RootDir.empty()) info.HelpFile = info.RootDir + kIdeVersions[static_cast<size_t>(ide)].help_contents;
    }
    log_.Add("Finished finding products");
  } catch (const std::exception& e) {
    log_.Add(std::string("Find products. Exception ") + e.what());
    log_.Save();
    throw;
  }
}

void TPackageInstaller::PreparePalette(int ide, const std::string& page, const std::vector<std::string>& classes) {
  const std::string prefix = std::string("Install into palette. Product - ") + IdeName(ide);
  try {
    registry_.SetRootKey(HKEY_CURRENT_USER);
    if (!registry_.OpenKey(IdeRegKey(ide) + "\\Palette", false)) return;
    log_.Add(prefix + ". Found Reg Key");
    if (!registry_.ValueExists(page)) {
      log_.Add(prefix + ". Updating Registry");
      std::string joined;
      for (const std::string& c : classes) joined += (joined.empty() ? "" : ";") + c;
      registry_.WriteString(page, joined);
    } else {
      std::string value = registry_.ReadString(page);
      log_.Add(prefix + ". Existing components: " + value);
      // A class counts as present when it is one of the page's entries; a
      // longer name that merely contains it ("TQryTableEx") does not.
      const std::vector<std::string> present = ListEntries(value, ';');
      bool appended = false;
      for (const std::string& c : classes) {
        if (InList(present, c)) continue;
        if (!value.empty() && value.back() != ';') value += ';';
        value += c + ";";
        appended = true;
      }
      if (appended) {
        log_.Add(prefix + ". Updating Registry");
        registry_.WriteString(page, value);
      }
    }
    registry_.CloseKey();
    log_.Add(prefix + ". Completed");
  } catch (const std::exception& e) {
    registry_.CloseKey();
    log_.Add(prefix + ". Exception " + e.what());
    log_.Save();
    throw;
  }
}

std::string TPackageInstaller::UpdatedSearchPath(const std::string& existing, const std::string& package_path,
                                                 const std::vector<std::string>& replace) {
  const std::string component_path = ExcludeTrailingBackslash(ExtractFilePath(package_path));
  const std::string package_name = ExtractFileName(package_path);
  std::vector<std::string> entries = ListEntries(existing, ';');
  // An entry that holds this package or one it replaces is an earlier
  // installation's directory: it goes, so that the IDE loads the new units.
  // Entries are directories with or without a trailing backslash.
  for (size_t i = entries.size(); i-- > 0;) {
    if (SameDirectory(entries[i], component_path)) continue;
    const std::string dir = IncludeTrailingBackslash(entries[i]);
    bool stale = platform::FileExists(dir + package_name);
    for (size_t r = 0; !stale && r < replace.size(); ++r) stale = platform::FileExists(dir + replace[r]);
    if (stale) entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
  }
  log_.Add("Install into VCL. Installing component path: " + component_path);
  if (std::none_of(entries.begin(), entries.end(),
                   [&](const std::string& e) { return SameDirectory(e, component_path); }))
    entries.push_back(component_path);
  std::string joined;
  for (const std::string& e : entries) joined += (joined.empty() ? "" : ";") + e;
  return joined;
}

void TPackageInstaller::InstallPackage(int ide, const std::string& package_path,
                                       const std::vector<std::string>& replace, const std::string& description) {
  const std::string name = IdeName(ide);
  const std::string key = IdeRegKey(ide);
  log_.Add("Install into VCL. Product - " + name + ".Installing component: " + package_path);
  try {
    registry_.SetRootKey(HKEY_CURRENT_USER);
    if (registry_.OpenKey(key + "\\Disabled Packages", false)) {
      for (const std::string& value : registry_.ValueNames())
        if (CompareText(value, package_path) == 0 || InList(replace, ExtractFileName(value)))
          registry_.DeleteValue(value);
      registry_.CloseKey();
    }

    if (!registry_.OpenKey(key + "\\Known Packages", false)) {
      log_.Add("Error: Unable to open key:" + key + "\\Known Packages");
      return;
    }
    for (const std::string& value : registry_.ValueNames()) {
      if (!InList(replace, ExtractFileName(value))) continue;
      registry_.DeleteValue(value);
      log_.Add("Deleting old package: " + value);
    }
    if (!InList(registry_.ValueNames(), package_path)) {
      try {
        registry_.WriteString(package_path, description);
        log_.Add("Adding package: " + package_path);
      } catch (const ERegistryException&) {
        log_.Add("Exception: Unable to insert package:" + package_path);
      }
    }
    registry_.CloseKey();

    log_.Add("Install into VCL. Updating library path");
    if (!registry_.OpenKey(key + "\\Library", false)) return;
    const std::string value_name = kIdeVersions[static_cast<size_t>(ide)].search_path;
    std::string existing;
    try {
      existing = registry_.ReadString(value_name);
    } catch (const ERegistryException&) {
      existing.clear();
    }
    log_.Add("Install into VCL. Existing search path: " + existing);
    const std::string updated = UpdatedSearchPath(existing, package_path, replace);
    if (updated != existing) {
      log_.Add("Install into VCL. Updating search path to: " + updated);
      try {
        registry_.WriteString(value_name, updated);
      } catch (const ERegistryException&) {
        // The package is registered; an unchanged search path only means the
        // user adds the directory by hand.
      }
    } else {
      log_.Add("Install into VCL. Search path not required to update");
    }
    registry_.CloseKey();
    log_.Add("Install into VCL. Product - " + name + ". Completed");
  } catch (const std::exception& e) {
    registry_.CloseKey();
    log_.Add("Install into VCL. Product - " + name + ". Exception " + e.what());
    log_.Save();
    throw;
  }
}

void TPackageInstaller::InstallHelp(int ide, const std::string& help_file) {
  const TInstallInfo info = GetInstallInfo(ide);
  if (info.HelpFile.empty() || !platform::FileExists(info.HelpFile)) return;
  TStringList lines;
  lines.SetText(ReadTextFile(info.HelpFile));
  // Only the third-party section, at the end of the contents, is ours to
  // look at; the IDE's own entries above it may mention anything.
  bool linked = false;
  for (int i = lines.Count() - 1; i >= 0; --i) {
    const std::string& line = lines[i];
    if (line.find(help_file) != std::string::npos) {
      linked = true;
      break;
    }
    if (UpperCase(line).find("THIRD-PARTY HELP") != std::string::npos) break;
  }
  if (!linked) {
    lines.Add(":Link " + help_file);
    WriteTextFile(info.HelpFile, lines.Text());
  }
  platform::DeleteFile(ChangeFileExt(info.HelpFile, ".gid"));
}

}  // namespace quarry
