#include "app/demo_prefix.h"

#include "app/ide_table.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "platform/win/registry.h"

namespace quarry {

using namespace wenmoor;

namespace {

void WriteIfMissing(TRegistry& registry, const std::string& key, const std::string& name, const std::string& value) {
  if (!registry.OpenKey(key, true)) throw ERegistryException("Failed to create key %s", key);
  if (!registry.ValueExists(name)) registry.WriteString(name, value);
  registry.CloseKey();
}

void WriteFileIfMissing(const std::string& path, const std::string& text) {
  if (platform::FileExists(path)) return;
  TFileStream out(path, fmCreate);
  out.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

}  // namespace

std::string DefaultDemoIdeRoot(int ide) {
  const TIdeVersion& v = kIdeVersions[static_cast<size_t>(ide)];
  const std::string product = std::string(v.letter) == "b" ? "CBuilder" : "Delphi";
  return "C:\\Program Files\\Borland\\" + product + std::to_string(v.number);
}

void RegisterDemoIde(int ide, const std::string& root_dir) {
  const TIdeVersion& v = kIdeVersions[static_cast<size_t>(ide)];
  const std::string root = ExcludeTrailingBackslash(root_dir);
  for (const char* sub : {"\\Bin", "\\Lib", "\\Help"}) {
    if (!platform::ForceDirectories(root + sub))
      throw EInOutError("Cannot create directory \"%s\"", root + sub);
  }
  // The contents file lists the IDE's own help files first; third-party
  // products link theirs below the marker.
  WriteFileIfMissing(root + v.help_contents,
                     ":Title " + std::string(v.name) + " Help\r\n:Link del" + std::to_string(v.number) +
                         "vcl.hlp\r\n:Link del" + std::to_string(v.number) + "prog.hlp\r\n;Third-party Help\r\n");

  const std::string key = IdeRegKey(ide);
  TRegistry machine(KEY_ALL_ACCESS);
  machine.SetRootKey(HKEY_LOCAL_MACHINE);
  WriteIfMissing(machine, key, "RootDir", root);

  TRegistry user(KEY_ALL_ACCESS);
  user.SetRootKey(HKEY_CURRENT_USER);
  const std::string standard_package = "$(DELPHI)\\Bin\\dclstd" + std::to_string(v.number) + "0" + v.package_ext;
  WriteIfMissing(user, key + "\\Known Packages", standard_package, "Standard Components");
  if (!user.OpenKey(key + "\\Disabled Packages", true)) throw ERegistryException("Failed to create key %s", key);
  user.CloseKey();
  WriteIfMissing(user, key + "\\Library", v.search_path, "$(DELPHI)\\Lib;$(DELPHI)\\Bin;$(DELPHI)\\Imports");
  WriteIfMissing(user, key + "\\Palette", "Standard", "TMainMenu;TPopupMenu;TLabel;TEdit;TMemo;TButton;");
}

}  // namespace quarry
