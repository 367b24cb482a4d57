// One hive in memory: the tree of keys and values of one hive file (or of
// the volatile HKEY_DYN_DATA), with the bookkeeping Wine's file format needs
// (modification times, class names, link flags, lines kept verbatim).
//
// Invariants
// - Subkeys and values of a key are sorted by the fold of their names
//   (FoldName), without duplicates: lookups are binary searches, and walking
//   the tree in order gives the order Wine writes.
// - Paths are key names separated by backslashes; empty components (a
//   leading, trailing or doubled backslash) are ignored. The empty path is
//   the hive's root.
// - Every change takes the time `now` from the caller, so that two processes
//   replaying the same journal build the same tree, times included.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/registry_store.h"

namespace wenmoor::platform {

struct RegNamedValue {
  std::string name;  // UTF-8 as stored; empty for the default value
  std::string fold;
  RegValue value;
};

struct RegNode {
  std::string name;  // UTF-8 as stored
  std::string fold;
  RegNode* parent = nullptr;
  uint64_t modified = 0;                 // FILETIME (100 ns since 1601)
  std::optional<std::u16string> klass;   // "#class=" line
  bool link = false;                     // "#link" line (a symbolic link key)
  std::vector<std::string> extra_lines;  // option lines we do not interpret, verbatim
  std::vector<RegNamedValue> values;
  std::vector<std::unique_ptr<RegNode>> subkeys;

  RegNode* FindSubkey(std::string_view name_fold) const;
  const RegNamedValue* FindValue(std::string_view name) const;
  // The node's path below the hive root (names joined by backslashes).
  std::string Path() const;
};

class RegHive {
 public:
  RegHive();

  RegNode& Root() { return *root_; }
  const RegNode& Root() const { return *root_; }

  // The lines written before the first key besides the version line
  // (";; All keys relative to ...", "#arch=..."), kept as read.
  std::vector<std::string>& HeaderLines() { return header_; }
  const std::vector<std::string>& HeaderLines() const { return header_; }

  RegNode* Find(std::string_view path) const;
  // Finds or creates the key and its missing parents. New keys get the time
  // `now`; with ParentTime::Touch a parent that gets a new subkey does too
  // (as Windows does), with ParentTime::Keep (loading a file) it keeps its own.
  enum class ParentTime { Touch, Keep };
  RegNode& Create(std::string_view path, uint64_t now, ParentTime parents = ParentTime::Touch);
  // Removes the key with everything below it; false when it is missing or
  // is the root (a hive's root cannot be deleted).
  bool DeleteTree(std::string_view path, uint64_t now);
  // Sets a value, creating the key when missing.
  void SetValue(std::string_view path, std::string_view name, const RegValue& value, uint64_t now);
  bool DeleteValue(std::string_view path, std::string_view name, uint64_t now);

  // Inserts a value into a node keeping the order; replaces a value of the
  // same name.
  static void PutValue(RegNode& node, std::string_view name, RegValue value);

 private:
  std::unique_ptr<RegNode> root_;
  std::vector<std::string> header_;
};

// Splits a key path into its non-empty components.
std::vector<std::string_view> SplitKeyPath(std::string_view path);

// The current time as a FILETIME.
uint64_t FileTimeNow();

}  // namespace wenmoor::platform
