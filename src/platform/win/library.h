// LoadLibrary / GetProcAddress / FreeLibrary on the emulated machine.
//
// A native shared object given by its Windows path is loaded with dlopen,
// so a self-registering server built for this platform registers natively.
// A Windows DLL (a PE file) cannot run here: loading it fails with
// ERROR_BAD_EXE_FORMAT (193), the code Windows gives for a library of a
// foreign format; so does any file that is not a loadable shared object.
// A library that is not there fails with ERROR_MOD_NOT_FOUND (126). A bare
// name is sought as SearchPath seeks it (files.h), ".dll" appended to a
// name without extension.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace wenmoor::platform {

class Library {
 public:
  // nullptr and the last error on failure.
  static std::unique_ptr<Library> Load(std::string_view win_path);
  // FreeLibrary (dlclose); never throws.
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // GetProcAddress: nullptr and ERROR_PROC_NOT_FOUND when not exported.
  void* ProcAddress(std::string_view name) const;
  // The full Windows path of the file that was loaded.
  const std::string& Path() const { return path_; }

 private:
  Library(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  void* handle_;
  std::string path_;
};

}  // namespace wenmoor::platform
