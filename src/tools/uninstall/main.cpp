// uninstall.exe: removes what an installation made, as its records say.
//
//   uninstall.exe <product name>
//
// The product's uninstall entry is
// HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\<product>; the
// installation recorded below it
//   ActiveX        "Entries", "File<n>" = path;kind  (0 DLL, 1 program, 2 type library)
//   Files[<k>]     "Entries", "File<n>" = path
//   RegistryKeys   "Entries", RegistryKey<n>: "Key", "Root", Entries\<ident>
// Each server is unregistered, each file deleted (a shared DLL only when
// its SharedDLLs count falls to nothing; a file in use at the next
// restart), each recorded value deleted from its key and the key itself
// when nothing is left in it; then the directories that held the files,
// once empty, and the entry itself. Nothing that the records do not name is
// touched, and no standard folder of the machine is ever removed.
//
// Exit status 0 after a removal; 1 with one line on standard error when
// there is no entry for the product (an uninstalled product, or a second
// run) or the removal failed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <set>
#include <string>
#include <vector>

#include "platform/rtl/sysutils.h"
#include "platform/win/files.h"
#include "platform/win/library.h"
#include "platform/win/machine.h"
#include "platform/win/paths.h"
#include "platform/win/process.h"
#include "platform/win/registry.h"
#include "platform/win/win_error.h"
#include "registry/routines_Registry.h"

namespace wenmoor {
namespace {

constexpr const char* kUninstallRoot = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const char* kSharedDlls = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// As many "Files" keys as the installation may spread its list over.
constexpr int kMaxFileListKeys = 100;

struct Counts {
  int files = 0;
  int kept_shared = 0;
  int at_restart = 0;
  int values = 0;
  int keys = 0;
  int directories = 0;
};

// "Entries" of a record key; 0 when missing or not a whole number.
int EntriesOf(TRegistry& reg, const std::string& key) {
  if (!reg.OpenKeyReadOnly(key)) return 0;
  const std::string text = reg.ValueExists("Entries") ? reg.ReadString("Entries") : "0";
  reg.CloseKey();
  return static_cast<int>(std::clamp<int64_t>(StrToIntDef(Trim(text), 0), 0, INT32_MAX));
}

std::vector<std::string> ListOf(TRegistry& reg, const std::string& key) {
  std::vector<std::string> items;
  const int n = EntriesOf(reg, key);
  if (n == 0 || !reg.OpenKeyReadOnly(key)) return items;
  for (int i = 1; i <= n; ++i)
    if (reg.ValueExists("File" + IntToStr(i))) items.push_back(reg.ReadString("File" + IntToStr(i)));
  reg.CloseKey();
  return items;
}

class Uninstaller {
 public:
  explicit Uninstaller(std::string product) : product_(std::move(product)), key_(kUninstallRoot + product_) {
    reg_.SetRootKey(HKEY_LOCAL_MACHINE);
  }

  bool EntryExists() { return !Trim(product_).empty() && reg_.KeyExists(key_); }

  Counts Run() {
    for (const std::string& item : ListOf(reg_, key_ + "\\ActiveX")) {
      const size_t semi = item.rfind(';');
      const std::string path = semi == std::string::npos ? item : item.substr(0, semi);
      const std::string kind = semi == std::string::npos ? "0" : Trim(item.substr(semi + 1));
      Unregister(path, kind);
      RemoveFile(path);
    }
    for (int k = 0; k < kMaxFileListKeys; ++k) {
      const std::string list = key_ + "\\Files" + (k == 0 ? std::string() : IntToStr(k));
      if (!reg_.KeyExists(list)) {
        if (k > 0) break;
        continue;
      }
      for (const std::string& path : ListOf(reg_, list)) RemoveFile(path);
    }
    RemoveRegistryRecords();
    RemoveEmptyDirectories();
    DeleteRegistryKey(hkLocalMachine, key_);
    return counts_;
  }

 private:
  // Self-registered servers are unregistered before their files go. A
  // server that cannot be unregistered here (a Windows file) is still
  // removed: its registration is of no use without it.
  void Unregister(const std::string& path, const std::string& kind) {
    if (!platform::FileExists(path)) return;
    if (kind == "1") {
      if (auto p = platform::Process::Create(path, platform::QuoteArgument(path) + " /UNREGSERVER")) p->Wait();
    } else if (kind == "0") {
      if (auto lib = platform::Library::Load(path)) {
        using Fn = int32_t (*)();
        if (auto fn = reinterpret_cast<Fn>(lib->ProcAddress("DllUnregisterServer"))) fn();
      }
    }
    // A type library (kind 2) has no unregistration on this machine.
  }

  // A shared DLL's count: the value under its long or its short name.
  // True when the file may go (no count, or the count fell to nothing).
  bool ReleaseSharedCount(const std::string& path) {
    reg_.SetAccess(KEY_ALL_ACCESS);
    if (!reg_.OpenKey(kSharedDlls, false)) return true;
    std::vector<std::string> names{path};
    if (auto short_path = platform::Machine::Current().Paths().ShortPathName(path)) names.push_back(*short_path);
    bool may_delete = true;
    for (const std::string& name : names) {
      if (!reg_.ValueExists(name) || reg_.GetDataType(name) != rdInteger) continue;
      const int32_t count = reg_.ReadInteger(name) - 1;
      if (count > 0) {
        reg_.WriteInteger(name, count);
        may_delete = false;
      } else {
        reg_.DeleteValue(name);
      }
      break;
    }
    reg_.CloseKey();
    return may_delete;
  }

  void RemoveFile(const std::string& path) {
    if (Trim(path).empty()) return;
    directories_.insert(ExcludeTrailingBackslash(ExtractFilePath(path)));
    if (!ReleaseSharedCount(path)) {
      ++counts_.kept_shared;
      return;
    }
    if (!platform::FileExists(path)) return;
    // Read-only was the installation's choice, not a reason to stay.
    const uint32_t attributes = platform::GetFileAttributes(path);
    if (attributes != platform::INVALID_FILE_ATTRIBUTES && (attributes & platform::FILE_ATTRIBUTE_READONLY))
      platform::SetFileAttributes(path, attributes & ~platform::FILE_ATTRIBUTE_READONLY);
    if (platform::DeleteFile(path)) {
      ++counts_.files;
    } else if (platform::MoveFileEx(path, "", platform::MOVEFILE_DELAY_UNTIL_REBOOT)) {
      ++counts_.at_restart;
      pending_dirs_.insert(ExcludeTrailingBackslash(ExtractFilePath(path)));
    } else {
      std::fprintf(stderr, "uninstall: cannot remove %s: %s\n", path.c_str(),
                   platform::FormatMessage(platform::GetLastError()).c_str());
    }
  }

  void RemoveRegistryRecords() {
    const std::string list = key_ + "\\RegistryKeys";
    const int n = EntriesOf(reg_, list);
    for (int i = 1; i <= n; ++i) {
      const std::string record = list + "\\RegistryKey" + IntToStr(i);
      if (!reg_.OpenKeyReadOnly(record)) continue;
      const std::string key = reg_.ReadString("Key");
      const int root = reg_.ValueExists("Root") && reg_.GetDataType("Root") == rdInteger ? reg_.ReadInteger("Root") : -1;
      reg_.CloseKey();
      if (root < hkClassesRoot || root > hkUsers || Trim(key).empty()) continue;
      std::vector<std::string> idents;
      if (reg_.OpenKeyReadOnly(record + "\\Entries")) {
        idents = reg_.ValueNames();
        reg_.CloseKey();
      }
      RemoveValues(static_cast<TRootKeys>(root), key, idents);
    }
  }

  void RemoveValues(TRootKeys root, const std::string& key, const std::vector<std::string>& idents) {
    TRegistry target;
    target.SetRootKey(RootKeyHandleOf(root));
    const std::string absolute = "\\" + ExcludeTrailingBackslash(key[0] == '\\' ? key.substr(1) : key);
    if (!target.OpenKey(absolute, false)) return;
    for (const std::string& ident : idents)
      if (target.ValueExists(ident) && target.DeleteValue(ident)) ++counts_.values;
    const bool empty = target.ValueNames().empty() && !target.HasSubKeys();
    target.CloseKey();
    if (empty && target.DeleteKey(absolute)) ++counts_.keys;
  }

  // The machine's standard folders, which no uninstallation removes even
  // when a product left them empty.
  std::set<std::string> StandardFolders() {
    std::set<std::string> folders{UpperCase(platform::GetWindowsDirectory()),
                                  UpperCase(platform::GetSystemDirectory())};
    auto add_values = [&](HKEY root, const std::string& key) {
      TRegistry r;
      r.SetRootKey(root);
      if (!r.OpenKeyReadOnly(key)) return;
      for (const std::string& name : r.ValueNames())
        if (r.GetDataType(name) == rdString || r.GetDataType(name) == rdExpandString)
          folders.insert(UpperCase(ExcludeTrailingBackslash(
              platform::Machine::Current().ExpandEnvironmentStrings(r.ReadString(name)))));
      r.CloseKey();
    };
    add_values(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion");
    add_values(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    add_values(HKEY_CURRENT_USER, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    return folders;
  }

  // The parent of a directory; "" above a drive's root.
  static std::string Parent(const std::string& dir) {
    const std::string parent = ExcludeTrailingBackslash(ExtractFilePath(dir));
    return parent.size() < 3 || parent.size() >= dir.size() ? std::string() : parent;
  }
  static bool Within(const std::string& dir, const std::string& ancestor) {
    const std::string d = UpperCase(dir), a = UpperCase(ancestor);
    return d == a || d.starts_with(a + "\\");
  }

  // The directories that held the removed files and those between them and
  // the one all of them share, deepest first, when they are empty. One
  // that still holds a file removed at the restart goes at the restart too.
  void RemoveEmptyDirectories() {
    if (directories_.empty()) return;
    std::string common = *directories_.begin();
    for (const std::string& d : directories_)
      while (!common.empty() && !Within(d, common)) common = Parent(common);
    std::set<std::string> candidates;
    for (std::string d : directories_) {
      for (; !d.empty(); d = Parent(d)) {
        candidates.insert(d);
        if (common.empty() || !Within(d, common) || UpperCase(d) == UpperCase(common)) break;
      }
    }
    const std::set<std::string> standard = StandardFolders();
    std::vector<std::string> ordered(candidates.begin(), candidates.end());
    std::sort(ordered.begin(), ordered.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& d : ordered) {
      if (standard.count(UpperCase(d)) || !platform::DirectoryExists(d)) continue;
      if (platform::RemoveDirectory(d)) {
        ++counts_.directories;
        continue;
      }
      const bool holds_pending = std::any_of(pending_dirs_.begin(), pending_dirs_.end(),
                                             [&](const std::string& p) { return Within(p, d); });
      if (holds_pending) platform::MoveFileEx(d, "", platform::MOVEFILE_DELAY_UNTIL_REBOOT);
    }
  }

  std::string product_;
  std::string key_;
  TRegistry reg_;
  std::set<std::string> directories_;
  std::set<std::string> pending_dirs_;  // of files removed at the restart
  Counts counts_;
};

}  // namespace
}  // namespace wenmoor

int main(int argc, char** argv) {
  using namespace wenmoor;
  // The uninstall entry names the product after the program, unquoted, so
  // a name with blanks arrives in several arguments.
  std::string product;
  for (int i = 1; i < argc; ++i) product += (i > 1 ? " " : "") + std::string(argv[i]);
  product = Trim(product);
  try {
    if (product.empty()) {
      std::fprintf(stderr, "usage: uninstall.exe <product name>\n");
      return 1;
    }
    Uninstaller uninstaller(product);
    if (!uninstaller.EntryExists()) {
      std::fprintf(stderr, "uninstall: \"%s\" is not installed: there is nothing to remove\n", product.c_str());
      return 1;
    }
    const Counts c = uninstaller.Run();
    std::printf("\"%s\" was removed: %d files, %d registry values, %d registry keys, %d directories.\n",
                product.c_str(), c.files, c.values, c.keys, c.directories);
    if (c.kept_shared) std::printf("%d shared files are still used by other programs and stay.\n", c.kept_shared);
    if (c.at_restart) std::printf("%d files in use are removed when the machine restarts.\n", c.at_restart);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "uninstall: %s\n", e.what());
    return 1;
  }
}
