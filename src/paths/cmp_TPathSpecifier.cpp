#include "paths/cmp_TPathSpecifier.h"

#include <algorithm>

#include "paths/specifiers_Office.h"
#include "paths/specifiers_windows.h"
#include "script/cmp_TFileContainer.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/script_exceptions.h"

namespace wenmoor {

// ---------------------------------------------------------------------------
// Lists

TPathSpecifierList& PathSpecifiers() {
  static TPathSpecifierList list;
  return list;
}

TStandardPathSpecList& StandardPathSpecifiers() {
  static TStandardPathSpecList list;
  return list;
}

TPathSpecifierClassList& PathSpecifierClasses() {
  // Filled on first use, in the documented group order, rather than by
  // static initialisers whose order between files C++ leaves open.
  static TPathSpecifierClassList list = [] {
    TPathSpecifierClassList l;
    RegisterWindowsSpecifierClasses(l);
    RegisterOfficeSpecifierClasses(l);
    return l;
  }();
  return list;
}

void TPathSpecifierList::Add(TCustomPathSpecifier* s) {
  if (!s) throw IEPathSpecifierList("Tried to add a nil object to the path specifier list");
  items_.push_back(s);
}

void TPathSpecifierList::Remove(TCustomPathSpecifier* s) {
  items_.erase(std::remove(items_.begin(), items_.end(), s), items_.end());
}

TCustomPathSpecifier* TPathSpecifierList::Find(const TClassInfo& cls) const {
  for (TCustomPathSpecifier* s : items_)
    if (s->InheritsFrom(cls)) return s;
  return nullptr;
}

TCustomPathSpecifier* TPathSpecifierList::FindSpecifier(const TClassInfo& cls) const {
  if (TCustomPathSpecifier* s = Find(cls)) return s;
  throw IEPathSpecifier("Could not find the path specifier");
}

void TPathSpecifierClassList::Add(const TClassInfo* cls) {
  if (!cls) throw IEPathSpecifierClassList("Tried to add a nil object to the path specifier list");
  items_.push_back(cls);
}

void CreateStandardSpecifiers(TComponent* owner, bool only_missing) {
  TPathSpecifierClassList& classes = PathSpecifierClasses();
  for (int i = 0; i < classes.Count(); ++i) {
    const TClassInfo& cls = *classes.Items(i);
    if (only_missing && PathSpecifiers().Find(cls)) continue;
    ComponentPtr<> made = cls.Create(owner);
    auto* specifier = static_cast<TCustomPathSpecifier*>(made.get());
    specifier->SetName(specifier->DefaultName());
    owner->InsertComponent(std::move(made));
  }
}

// ---------------------------------------------------------------------------
// TCustomPathSpecifier

TCustomPathSpecifier::TCustomPathSpecifier(TComponent* owner) : TComponent(owner) { PathSpecifiers().Add(this); }

TCustomPathSpecifier::~TCustomPathSpecifier() { PathSpecifiers().Remove(this); }

void TCustomPathSpecifier::CheckComponent(TComponent*) {}

void TCustomPathSpecifier::GetDescription(std::string& text) { text = "Unspecified"; }

void TCustomPathSpecifier::GetComponentDescription(TComponent*, std::string& text) { GetDescription(text); }

void TCustomPathSpecifier::GetPath(TComponent* component, std::string& path) {
  path.clear();
  OnGetPath(component, path);
}

void TCustomPathSpecifier::GetShortName(std::string& text) { GetDescription(text); }

void TCustomPathSpecifier::GetComponentShortName(TComponent* component, std::string& text) {
  GetComponentDescription(component, text);
}

std::string TCustomPathSpecifier::Path(TComponent* component) {
  std::string p;
  GetPath(component, p);
  return p;
}

std::string TCustomPathSpecifier::Description() {
  std::string t;
  GetDescription(t);
  return t;
}

std::string TCustomPathSpecifier::ShortName() {
  std::string t;
  GetShortName(t);
  return t;
}

// ---------------------------------------------------------------------------
// TPathSpecifier

TPathSpecifier::TPathSpecifier(TComponent* owner) : TCustomPathSpecifier(owner) {}

std::string TPathSpecifier::ExpandPathMacro(const std::string& text, const std::string& path) {
  std::string out;
  bool percent = false;
  for (char c : text) {
    if (!percent) {
      if (c == '%') percent = true;
      else out.push_back(c);
      continue;
    }
    percent = false;
    if (c == '%') out.push_back('%');
    else if (c == 'P' || c == 'p') out += path;
    else out.push_back(c);
  }
  return out;
}

// ---------------------------------------------------------------------------
// TStandardPathSpecifier

TStandardPathSpecifier::TStandardPathSpecifier(TComponent* owner) : TCustomPathSpecifier(owner) {
  StandardPathSpecifiers().Add(this);
}

TStandardPathSpecifier::~TStandardPathSpecifier() { StandardPathSpecifiers().Remove(this); }

// ---------------------------------------------------------------------------
// TpsFileContainer

namespace {
int& NameClashCounter() {
  static int counter = 0;
  return counter;
}
}  // namespace

TpsFileContainer::TpsFileContainer(TComponent* owner) : TCustomPathSpecifier(owner) {}

TpsFileContainer::~TpsFileContainer() {
  if (file_container_ && file_container_->FileContainerSpecifier() == this)
    file_container_->SetFileContainerSpecifier(nullptr);
}

void TpsFileContainer::SetFileContainer(TFileContainer* c) {
  if (file_container_ && file_container_ != c) RemoveFreeNotification(file_container_);
  file_container_ = c;
  if (c) FreeNotification(c);
}

void TpsFileContainer::TakeAutomaticName() {
  std::string name = "psFileContainer";
  for (int n = 1; !CanTakeName(name); ++n) name = "psFileContainer" + std::to_string(n);
  TComponent::SetName(name);
}

void TpsFileContainer::SetName(const std::string& name) {
  if (Owner() && !name.empty()) {
    TComponent* other = Owner()->FindComponent(name);
    if (other && other != this) {
      // The stored specifier takes its stored name; whoever had it moves aside.
      std::string fresh;
      do {
        fresh = "nameClash" + std::to_string(++NameClashCounter());
      } while (!other->CanTakeName(fresh));
      other->SetName(fresh);
    }
  }
  TComponent::SetName(name);
}

void TpsFileContainer::CheckComponent(TComponent* component) {
  if (dynamic_cast<TFileContainer*>(component) || dynamic_cast<TCustomInstallGroup*>(component) ||
      dynamic_cast<TCustomInstallFile*>(component))
    throw IEPathSpecifier("A file container cannot reference another file container or group");
}

void TpsFileContainer::GetPath(TComponent* component, std::string& path) {
  CheckComponent(component);
  path = file_container_ ? file_container_->GetDestinationDir() : std::string();
}

void TpsFileContainer::GetDescription(std::string& text) {
  text = file_container_ ? "Path into which " + file_container_->Description() + " will be installed"
                         : "Path specifier for unknown file container";
}

void TpsFileContainer::GetShortName(std::string& text) {
  text = file_container_ ? "<" + file_container_->Description() + ">" : "Path specifier for unknown file container";
}

void TpsFileContainer::Loaded() {
  TCustomPathSpecifier::Loaded();
  if (!file_container_) return;
  TpsFileContainer* automatic = file_container_->FileContainerSpecifier();
  if (automatic && automatic != this && automatic->Owner()) automatic->Free();
  file_container_->SetFileContainerSpecifier(this);
}

void TpsFileContainer::Notification(TComponent* c, TOperation operation) {
  TCustomPathSpecifier::Notification(c, operation);
  if (operation == opRemove && c && c == file_container_) file_container_ = nullptr;
}

WENMOOR_REGISTER_CLASS(TCustomPathSpecifier) {}
WENMOOR_REGISTER_CLASS(TPathSpecifier) {
  c.Prop("Description", &T::GetDescriptionText, &T::SetDescription);
  c.Event("OnGetPath", &T::OnGetPath);
}
WENMOOR_REGISTER_CLASS(TStandardPathSpecifier) {}
WENMOOR_REGISTER_CLASS(TpsFileContainer) { c.Prop("FileContainer", &T::FileContainer, &T::SetFileContainer); }

}  // namespace wenmoor
