// `wenmoor reg`: query and edit the emulated registry with the arguments and
// the output of Windows' reg.exe:
//
//   wenmoor reg query  KEY [/v Name | /ve] [/s]
//   wenmoor reg add    KEY [/v Name | /ve] [/t Type] [/s Separator] [/d Data] [/f]
//   wenmoor reg delete KEY [/v Name | /ve | /va] [/f]
//   wenmoor reg export KEY FILE [/y]
//   wenmoor reg import FILE
//
// KEY is ROOT\Path with ROOT one of HKLM, HKCU, HKCR, HKU, HKCC (or the
// full names). Without /f (or /y), a change that overwrites or deletes asks
// on standard input, as reg.exe does.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win/machine.h"
#include "platform/win/registry_store.h"
#include "registry/regedit_file.h"
#include "tools/wenmoor/command.h"

namespace wenmoor::tool {

namespace {

using platform::RegValue;
using platform::RootKey;

constexpr const char* kDone = "The operation completed successfully.";

// A failure reported as reg.exe reports it: one line, exit status 1.
struct RegFailure {
  std::string message;
};

[[noreturn]] void Fail(std::string message) { throw RegFailure{std::move(message)}; }
[[noreturn]] void Syntax() { Fail("ERROR: Invalid syntax. Type \"wenmoor reg\" for usage."); }
[[noreturn]] void NotFound() { Fail("ERROR: The system was unable to find the specified registry key or value."); }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return s;
}

// The parsed command line after the sub-command: positional arguments and
// switches (/x or -x, any case). Only the switches the operation knows are
// taken as switches, so that a host path such as /tmp/out.reg stays an
// argument.
struct Options {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::optional<std::string>>> switches;

  bool Has(const std::string& name) const {
    for (const auto& s : switches) {
      if (s.first == name) return true;
    }
    return false;
  }
  std::optional<std::string> Arg(const std::string& name) const {
    for (const auto& s : switches) {
      if (s.first == name) return s.second;
    }
    return std::nullopt;
  }
};

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

Options Parse(const std::vector<std::string>& args, const std::vector<std::string>& flags,
              const std::vector<std::string>& with_argument) {
  Options o;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const std::string name = a.size() >= 2 && (a[0] == '/' || a[0] == '-') ? Lower(a.substr(1)) : "";
    if (name == "reg:32" || name == "reg:64") continue;  // one view of the registry here
    if (Contains(flags, name) || Contains(with_argument, name)) {
      if (o.Has(name)) Syntax();
      std::optional<std::string> value;
      if (Contains(with_argument, name)) {
        if (++i >= args.size()) Syntax();
        value = args[i];
      }
      o.switches.emplace_back(name, value);
    } else {
      o.positional.push_back(a);
    }
  }
  return o;
}

std::pair<RootKey, std::string> KeyOf(const std::string& text) {
  auto split = SplitRegistryPath(text);
  if (!split) Fail("ERROR: Invalid key name.");
  return *split;
}

std::string DisplayName(RootKey root, const std::string& path) {
  return RootKeyName(root) + (path.empty() ? "" : "\\" + path);
}

bool Confirm(const std::string& question) {
  std::printf("%s (Yes/No)? ", question.c_str());
  std::fflush(stdout);
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void ConfirmOrCancel(const Options& o, const char* force, const std::string& question) {
  if (!o.Has(force) && !Confirm(question)) Fail("The operation was canceled by the user.");
}

std::string TypeName(uint32_t type) {
  static const char* const kNames[] = {"REG_NONE", "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY", "REG_DWORD",
                                       "REG_DWORD_BIG_ENDIAN", "REG_LINK", "REG_MULTI_SZ", "REG_RESOURCE_LIST",
                                       "REG_FULL_RESOURCE_DESCRIPTOR", "REG_RESOURCE_REQUIREMENTS_LIST",
                                       "REG_QWORD"};
  if (type < std::size(kNames)) return kNames[type];
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(type));
  return buf;
}

std::string DataText(const RegValue& v) {
  if (auto s = v.AsString()) return *s;
  if (v.type == platform::REG_MULTI_SZ) {
    std::string out;
    for (const std::string& item : v.AsMultiString().value_or(std::vector<std::string>{})) {
      out += (out.empty() ? "" : "\\0") + item;
    }
    return out;
  }
  char buf[32];
  if (v.type == platform::REG_DWORD && v.data.size() == 4) {
    std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(*v.AsDWord()));
    return buf;
  }
  if (v.type == platform::REG_QWORD && v.data.size() == 8) {
    unsigned long long q = 0;
    for (int i = 7; i >= 0; --i) q = (q << 8) | v.data[static_cast<size_t>(i)];
    std::snprintf(buf, sizeof buf, "0x%llx", q);
    return buf;
  }
  std::string out;
  for (uint8_t b : v.data) {
    std::snprintf(buf, sizeof buf, "%02X", b);
    out += buf;
  }
  return out;
}

void PrintValue(const std::string& name, const RegValue& v) {
  std::printf("    %s    %s    %s\n", name.empty() ? "(Default)" : name.c_str(), TypeName(v.type).c_str(),
              DataText(v).c_str());
}

void PrintKey(platform::RegistryStore& reg, RootKey root, const std::string& path, bool recurse) {
  std::printf("%s\n", DisplayName(root, path).c_str());
  for (const std::string& name : reg.ValueNames(root, path)) {
    if (auto v = reg.QueryValue(root, path, name)) PrintValue(name, *v);
  }
  std::printf("\n");
  for (const std::string& sub : reg.SubKeyNames(root, path)) {
    const std::string child = path.empty() ? sub : path + "\\" + sub;
    if (recurse) {
      PrintKey(reg, root, child, true);
    } else {
      std::printf("%s\n", DisplayName(root, child).c_str());
    }
  }
}

// The value name chosen by /v Name or /ve; nullopt for neither.
std::optional<std::string> ValueName(const Options& o) {
  if (o.Has("v") && o.Has("ve")) Syntax();
  if (o.Has("ve")) return std::string();
  return o.Arg("v");
}

int Query(const std::vector<std::string>& args) {
  const Options o = Parse(args, {"ve", "s"}, {"v"});
  if (o.positional.size() != 1) Syntax();
  auto [root, path] = KeyOf(o.positional[0]);
  platform::RegistryStore& reg = platform::CurrentRegistry();
  if (!reg.KeyExists(root, path)) NotFound();
  std::printf("\n");
  if (auto name = ValueName(o)) {
    auto v = reg.QueryValue(root, path, *name);
    if (!v) NotFound();
    std::printf("%s\n", DisplayName(root, path).c_str());
    PrintValue(*name, *v);
    std::printf("\n");
  } else {
    PrintKey(reg, root, path, o.Has("s"));
  }
  return 0;
}

RegValue DataOf(const Options& o) {
  const std::string type = o.Arg("t").value_or("REG_SZ");
  const std::string data = o.Arg("d").value_or("");
  if (type == "REG_SZ") return RegValue::String(data);
  if (type == "REG_EXPAND_SZ") return RegValue::String(data, platform::REG_EXPAND_SZ);
  if (type == "REG_MULTI_SZ") {
    const std::string sep = o.Arg("s").value_or("\\0");
    if (sep.empty()) Syntax();
    std::vector<std::string> items;
    size_t start = 0;
    while (!data.empty() && start <= data.size()) {
      size_t end = data.find(sep, start);
      if (end == std::string::npos) end = data.size();
      items.push_back(data.substr(start, end - start));
      start = end + sep.size();
    }
    return RegValue::MultiString(items);
  }
  if (type == "REG_DWORD") {
    char* end = nullptr;
    const bool hex = data.rfind("0x", 0) == 0 || data.rfind("0X", 0) == 0;
    const unsigned long long n = data.empty() ? 0 : std::strtoull(data.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if ((!data.empty() && (*end != '\0' || data[hex ? 2 : 0] == '\0' || data[0] == '-')) || n > 0xFFFFFFFFull) {
      Fail("ERROR: Invalid data for REG_DWORD: \"" + data + "\".");
    }
    return RegValue::DWord(static_cast<uint32_t>(n));
  }
  if (type == "REG_BINARY") {
    std::vector<uint8_t> bytes;
    const auto digit = [](char c) {
      return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    if (data.size() % 2) Fail("ERROR: Invalid data for REG_BINARY: an odd number of hex digits.");
    for (size_t i = 0; i < data.size(); i += 2) {
      if (digit(data[i]) < 0 || digit(data[i + 1]) < 0) Fail("ERROR: Invalid data for REG_BINARY: \"" + data + "\".");
      bytes.push_back(static_cast<uint8_t>(digit(data[i]) * 16 + digit(data[i + 1])));
    }
    return RegValue::Binary(bytes);
  }
  Fail("ERROR: Invalid type \"" + type + "\"; use REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD or REG_BINARY.");
}

int Add(const std::vector<std::string>& args) {
  const Options o = Parse(args, {"ve", "f"}, {"v", "t", "d", "s"});
  if (o.positional.size() != 1) Syntax();
  auto [root, path] = KeyOf(o.positional[0]);
  platform::RegistryStore& reg = platform::CurrentRegistry();
  const std::optional<std::string> name = ValueName(o);
  if (!name && (o.Has("t") || o.Has("d"))) Syntax();
  if (name) {
    const RegValue value = DataOf(o);
    if (reg.QueryValue(root, path, *name)) {
      ConfirmOrCancel(o, "f", "Value " + (name->empty() ? std::string("(Default)") : *name) + " exists, overwrite");
    }
    if (!reg.SetValue(root, path, *name, value)) Fail("ERROR: Access is denied.");
  } else if (!reg.CreateKey(root, path)) {
    Fail("ERROR: Access is denied.");
  }
  std::printf("%s\n", kDone);
  return 0;
}

int Delete(const std::vector<std::string>& args) {
  const Options o = Parse(args, {"ve", "va", "f"}, {"v"});
  if (o.positional.size() != 1) Syntax();
  auto [root, path] = KeyOf(o.positional[0]);
  platform::RegistryStore& reg = platform::CurrentRegistry();
  if (!reg.KeyExists(root, path)) NotFound();
  const std::optional<std::string> name = ValueName(o);
  if (name && o.Has("va")) Syntax();
  if (name) {
    if (!reg.QueryValue(root, path, *name)) NotFound();
    ConfirmOrCancel(o, "f", "Delete the registry value " + (name->empty() ? std::string("(Default)") : *name));
    reg.DeleteValue(root, path, *name);
  } else if (o.Has("va")) {
    ConfirmOrCancel(o, "f", "Delete all values under the registry key " + DisplayName(root, path));
    for (const std::string& n : reg.ValueNames(root, path)) reg.DeleteValue(root, path, n);
  } else {
    ConfirmOrCancel(o, "f", "Permanently delete the registry key " + DisplayName(root, path));
    if (!reg.DeleteTree(root, path)) Fail("ERROR: Access is denied.");
  }
  std::printf("%s\n", kDone);
  return 0;
}

int Export(const std::vector<std::string>& args) {
  const Options o = Parse(args, {"y"}, {});
  if (o.positional.size() != 2) Syntax();
  auto [root, path] = KeyOf(o.positional[0]);
  const std::string& file = o.positional[1];
  auto text = ExportRegeditFile(platform::CurrentRegistry(), root, path);
  if (!text) NotFound();
  if (std::ifstream(file).good()) ConfirmOrCancel(o, "y", "File " + file + " already exists. Overwrite");
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << *text;
  out.close();
  if (!out) Fail("ERROR: Cannot write " + file + ".");
  std::printf("%s\n", kDone);
  return 0;
}

int Import(const std::vector<std::string>& args) {
  const Options o = Parse(args, {}, {});
  if (o.positional.size() != 1) Syntax();
  const std::string& file = o.positional[0];
  std::ifstream in(file, std::ios::binary);
  if (!in) Fail("ERROR: Error opening the file " + file + ".");
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::vector<RegeditEntry> entries = ParseRegeditFile(bytes.str(), file);  // all or nothing
  ApplyRegeditEntries(platform::CurrentRegistry(), entries);
  std::printf("%s\n", kDone);
  return 0;
}

void Usage() {
  std::fprintf(stderr,
               "usage: wenmoor reg query KEY [/v Name | /ve] [/s]\n"
               "       wenmoor reg add KEY [/v Name | /ve] [/t REG_SZ|REG_EXPAND_SZ|REG_MULTI_SZ|REG_DWORD|REG_BINARY]"
               " [/s Separator] [/d Data] [/f]\n"
               "       wenmoor reg delete KEY [/v Name | /ve | /va] [/f]\n"
               "       wenmoor reg export KEY FILE [/y]\n"
               "       wenmoor reg import FILE\n"
               "KEY is ROOT\\Path, ROOT one of HKLM, HKCU, HKCR, HKU, HKCC.\n");
}

}  // namespace

int RunReg(const std::vector<std::string>& args) {
  if (args.empty()) {
    Usage();
    return 1;
  }
  const std::string op = Lower(args[0]);
  try {
    if (op == "query") return Query(args);
    if (op == "add") return Add(args);
    if (op == "delete") return Delete(args);
    if (op == "export") return Export(args);
    if (op == "import") return Import(args);
    if (op == "/?" || op == "-h" || op == "--help") {
      Usage();
      return 0;
    }
    Fail("ERROR: Invalid syntax. Unknown operation \"" + args[0] + "\".");
  } catch (const RegFailure& f) {
    std::fprintf(stderr, "%s\n", f.message.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ERROR: %s\n", e.what());
  }
  return 1;
}

WENMOOR_COMMAND("reg", "Query and edit the emulated registry", RunReg)

}  // namespace wenmoor::tool
