// Install files: one file of the script, compressed into an archive at build
// time and installed from it. This is the part the tree needs (identity,
// rank, the process-wide list of files); the file operations build on it.
#pragma once

#include <vector>

#include "script/cmp_TInstallContainer.h"

namespace wenmoor {

class TCustomInstallFile : public TFileRelated {
  WENMOOR_CLASS(TCustomInstallFile, TFileRelated)
 public:
  explicit TCustomInstallFile(TComponent* owner);
  ~TCustomInstallFile() override;
  int RegisteredType() const override { return kRankInstallFile; }
};

class TInstallFile : public TCustomInstallFile {
  WENMOOR_CLASS(TInstallFile, TCustomInstallFile)
 public:
  explicit TInstallFile(TComponent* owner) : TCustomInstallFile(owner) {}
};

// A list of install files in order of addition; it never owns them.
class TCustomInstallFileList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TCustomInstallFile* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  // IECustomInstallFileList "Cannot add a blank entry to the TCustomInstallFileList object" for nil.
  void Add(TCustomInstallFile* f);
  void Remove(TCustomInstallFile* f);
  void Clear() { items_.clear(); }

 private:
  std::vector<TCustomInstallFile*> items_;
};

// Every install file in existence, in order of creation.
TCustomInstallFileList& AllInstallFiles();
// Files whose ActiveX registration failed during a run, tried again at its end.
TCustomInstallFileList& DeferredRegistrations();

}  // namespace wenmoor
