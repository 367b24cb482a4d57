// Path specifiers: components that name a root location (the system
// directory, the program files, the destination of a container, the main
// archive...) and compute it at run time for the script object that asks.
//
// Script objects store a specifier and a fragment ("\Help"); the object's
// path is the specifier's GetPath for that object followed by the fragment.
//
// Process-wide lists (observers, in creation or registration order):
//   PathSpecifiers()          every specifier instance
//   StandardPathSpecifiers()  every built-in specifier instance
//   PathSpecifierClasses()    the built-in classes, in registration order
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/component.h"

namespace wenmoor {

class TFileContainer;

using TGetPathEvent = TEvent<TComponent*, std::string&>;

class TCustomPathSpecifier : public TComponent {
  WENMOOR_CLASS(TCustomPathSpecifier, TComponent)
 public:
  explicit TCustomPathSpecifier(TComponent* owner);
  ~TCustomPathSpecifier() override;

  // The component name a built-in specifier gets when created automatically.
  const std::string& DefaultName() const { return default_name_; }

  // Refuses (IEPathSpecifier) a component that cannot use this specifier.
  virtual void CheckComponent(TComponent* component);
  virtual void GetDescription(std::string& text);
  virtual void GetComponentDescription(TComponent* component, std::string& text);
  // The path for `component`, without trailing backslash. The base starts
  // from an empty path and lets OnGetPath fill it.
  virtual void GetPath(TComponent* component, std::string& path);
  virtual void GetShortName(std::string& text);
  virtual void GetComponentShortName(TComponent* component, std::string& text);

  // Convenience forms returning the value.
  std::string Path(TComponent* component);
  std::string Description();
  std::string ShortName();

  TGetPathEvent OnGetPath;

 protected:
  void SetDefaultName(std::string name) { default_name_ = std::move(name); }

 private:
  std::string default_name_;
};

// A specifier whose path comes from its OnGetPath handler.
class TPathSpecifier : public TCustomPathSpecifier {
  WENMOOR_CLASS(TPathSpecifier, TCustomPathSpecifier)
 public:
  explicit TPathSpecifier(TComponent* owner);
  const std::string& GetDescriptionText() const { return description_; }
  void SetDescription(const std::string& d) { description_ = d; }
  void GetDescription(std::string& text) override { text = description_; }

  // Substitutes `path` into `text`: %P or %p is the path, %% one percent
  // sign, % before any other character drops the percent sign, and a
  // percent sign at the very end adds nothing.
  static std::string ExpandPathMacro(const std::string& text, const std::string& path);

 private:
  std::string description_ = "My cool new path specifier";
};

// Base of the built-in specifiers.
class TStandardPathSpecifier : public TCustomPathSpecifier {
  WENMOOR_CLASS(TStandardPathSpecifier, TCustomPathSpecifier)
 public:
  explicit TStandardPathSpecifier(TComponent* owner);
  ~TStandardPathSpecifier() override;
};

// The destination directory of one file container. Every file container
// except the install component creates one at construction; a stored one
// replaces the automatic one when the script is loaded.
class TpsFileContainer : public TCustomPathSpecifier {
  WENMOOR_CLASS(TpsFileContainer, TCustomPathSpecifier)
 public:
  explicit TpsFileContainer(TComponent* owner);
  ~TpsFileContainer() override;

  TFileContainer* FileContainer() const { return file_container_; }
  void SetFileContainer(TFileContainer* c);

  // Taking a name that another component of the owner has renames that
  // other component "nameClash<n>" (n counting clashes in this process).
  void SetName(const std::string& name) override;
  // Used by the container for the automatic name: "psFileContainer",
  // "psFileContainer1", ...
  void TakeAutomaticName();

  void CheckComponent(TComponent* component) override;
  void GetPath(TComponent* component, std::string& path) override;
  void GetDescription(std::string& text) override;
  void GetShortName(std::string& text) override;
  void Loaded() override;
  void Notification(TComponent* c, TOperation operation) override;

 private:
  TFileContainer* file_container_ = nullptr;
};

class TPathSpecifierList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TCustomPathSpecifier* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  // IEPathSpecifierList "Tried to add a nil object to the path specifier list" for nil.
  void Add(TCustomPathSpecifier* s);
  void Remove(TCustomPathSpecifier* s);
  // The first specifier that is an instance of `cls` or a descendant;
  // IEPathSpecifier "Could not find the path specifier" when none.
  virtual TCustomPathSpecifier* FindSpecifier(const TClassInfo& cls) const;
  // Like FindSpecifier, but null when none.
  TCustomPathSpecifier* Find(const TClassInfo& cls) const;
  virtual ~TPathSpecifierList() = default;

 private:
  std::vector<TCustomPathSpecifier*> items_;
};

class TStandardPathSpecList : public TPathSpecifierList {};

class TPathSpecifierClassList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const TClassInfo* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  // IEPathSpecifierClassList "Tried to add a nil object to the path specifier list" for nil.
  void Add(const TClassInfo* cls);

 private:
  std::vector<const TClassInfo*> items_;
};

TPathSpecifierList& PathSpecifiers();
TStandardPathSpecList& StandardPathSpecifiers();
// The built-in classes: the Windows group, the shell folders, then Office.
TPathSpecifierClassList& PathSpecifierClasses();

// For each registered class in order, unless `only_missing` and an instance
// of it (or a descendant) exists already: creates one owned by `owner`,
// named by its default name.
void CreateStandardSpecifiers(TComponent* owner, bool only_missing);

}  // namespace wenmoor
