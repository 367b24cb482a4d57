#include "platform/rtl/component.h"

#include <algorithm>
#include <cctype>

#include "platform/rtl/exceptions.h"

namespace wenmoor {

bool IsValidIdent(std::string_view ident) {
  if (ident.empty()) return false;
  auto alpha = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
  if (!alpha(ident[0])) return false;
  return std::all_of(ident.begin() + 1, ident.end(),
                     [&](char c) { return alpha(c) || std::isdigit(static_cast<unsigned char>(c)); });
}

void ComponentDeleter::operator()(TComponent* c) const noexcept {
  if (!c) return;
  c->BeforeDestruction();
  delete c;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner && owner->IsDesigning()) state_.Include(csDesigning);
}

TComponent::~TComponent() {
  // Through the deleter this has all been done and does nothing. A component
  // destroyed otherwise (a root on the stack) must still free what it owns
  // while its list is intact, and leave no dangling link behind.
  BeforeDestruction();
}

void TComponent::StartDestruction() {
  if (destroying_hook_run_) return;
  destroying_hook_run_ = true;
  MarkDestroying();
  Destroying();
}

void TComponent::MarkDestroying() {
  state_.Include(csDestroying);
  for (auto& c : components_) c->MarkDestroying();
}

void TComponent::BeforeDestruction() noexcept {
  StartDestruction();
  // Tell everyone who asked, then drop the links both ways.
  while (!free_notifies_.empty()) {
    TComponent* other = free_notifies_.back();
    free_notifies_.pop_back();
    auto& theirs = other->free_notifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  // An owned component reaching the deleter directly (not through Free or
  // its owner) still leaves its owner's list cleanly.
  if (owner_) {
    ComponentPtr<> self = owner_->RemoveComponent(this);
    static_cast<void>(self.release());  // we are being deleted by our caller
    owner_ = nullptr;  // also when the owner never took us in (a failed load)
  }
}

void TComponent::Destroying() {}

void TComponent::DestroyComponents() noexcept {
  while (!components_.empty()) {
    ComponentPtr<> c = std::move(components_.back());
    components_.pop_back();
    c->owner_ = nullptr;
    c.reset();
  }
}

void TComponent::Free() {
  if (!owner_) throw EComponentError("Free of the unowned component %s; its ComponentPtr owns it", name_);
  StartDestruction();
  ComponentPtr<> self = owner_->RemoveComponent(this);
  self.reset();
}

TComponent* TComponent::InsertComponent(ComponentPtr<> c) {
  TComponent* raw = c.get();
  if (raw->owner_ && raw->owner_ != this) {
    ComponentPtr<> released = raw->owner_->RemoveComponent(raw);
    static_cast<void>(released.release());  // `c` already owns it
  }
  raw->owner_ = this;
  components_.push_back(std::move(c));
  Notification(raw, opInsert);
  return raw;
}

ComponentPtr<> TComponent::RemoveComponent(TComponent* c) {
  Notification(c, opRemove);
  auto it = std::find_if(components_.begin(), components_.end(), [c](const ComponentPtr<>& p) { return p.get() == c; });
  if (it == components_.end()) return ComponentPtr<>();
  ComponentPtr<> out = std::move(*it);
  components_.erase(it);
  c->owner_ = nullptr;
  return out;
}

void TComponent::Notification(TComponent* c, TOperation operation) {
  if (operation == opRemove && c) {
    free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), c), free_notifies_.end());
    if (c == parent_component_) parent_component_ = nullptr;
  }
  // An owner passes what happens to one of its components on to all of them,
  // so that siblings clear their references.
  for (size_t i = 0; i < components_.size(); ++i) {
    TComponent* child = components_[i].get();
    if (child != c) child->Notification(c, operation);
  }
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), c) == free_notifies_.end()) free_notifies_.push_back(c);
  auto& theirs = c->free_notifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  if (!c) return;
  free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), c), free_notifies_.end());
  auto& theirs = c->free_notifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError("List index out of bounds (%d)", index);
  return components_[static_cast<size_t>(index)].get();
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : components_)
    if (SameText(c->name_, name)) return c.get();
  return nullptr;
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  for (size_t i = 0; i < owner_->components_.size(); ++i)
    if (owner_->components_[i].get() == this) return static_cast<int>(i);
  return -1;
}

bool TComponent::CanTakeName(std::string_view name) const {
  if (!IsValidIdent(name)) return false;
  if (!owner_) return true;
  TComponent* other = owner_->FindComponent(name);
  return !other || other == this;
}

void TComponent::ValidateRename(TComponent* c, std::string_view, std::string_view new_name) const {
  if (new_name.empty()) return;
  TComponent* other = FindComponent(new_name);
  if (other && other != c) throw EComponentError("A component named %s already exists", new_name);
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) throw EComponentError("''%s'' is not a valid component name", name);
  if (owner_) owner_->ValidateRename(this, name_, name);
  else ValidateRename(nullptr, name_, name);
  name_ = name;
}

void TComponent::SetDesigning(bool value) {
  if (value) state_.Include(csDesigning);
  else state_.Exclude(csDesigning);
  for (auto& c : components_) c->SetDesigning(value);
}

void TComponent::BeginLoading() {
  state_.Include(csLoading);
  state_.Include(csReading);
}

void TComponent::CancelLoading() {
  state_.Exclude(csLoading);
  state_.Exclude(csReading);
}

void TComponent::SetParentComponent(TComponent* parent) {
  parent_component_ = parent;
  // A sibling's removal reaches us through our owner's notifications, and an
  // owner outlives what it owns; only a parent elsewhere needs to tell us.
  if (parent && parent != owner_ && parent->owner_ != owner_) FreeNotification(parent);
}

void TComponent::Loaded() {
  state_.Exclude(csLoading);
  state_.Exclude(csReading);
}

const std::any* TComponent::MethodAddress(std::string_view name) const {
  for (const Method& m : methods_)
    if (SameText(m.name, name)) return &m.handler;
  return nullptr;
}

WENMOOR_REGISTER_CLASS(TComponent) {
  c.Prop("Name", &T::Name, &T::SetName).Stored(false);
  c.Prop("Tag", &T::Tag, &T::SetTag).Default(0);
}

}  // namespace wenmoor
