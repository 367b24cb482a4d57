// TComponent: owner, name, owned components, state flags, free notifications.
//
// Ownership. An owner owns its components. Create<T>(owner, ...) constructs a
// component and hands it to its owner, returning an observer pointer;
// CreateUnowned<T>(...) returns the owning ComponentPtr. Every other link
// between components is an observer pointer, cleared by notifications:
//  - when a component is freed through its owner, the owner and all of the
//    owner's components receive Notification(c, opRemove);
//  - every component that asked c->FreeNotification(this) receives it too.
//
// Destruction. A component is destroyed through ComponentDeleter (Free(), the
// owner, or a ComponentPtr going out of scope). The deleter first runs the
// whole "before destruction" protocol while the object is still complete, so
// that overrides of Destroying() and Notification() take part: the
// csDestroying flag, Destroying(), notifications, then the owned components
// (last created first), then the C++ destructor.
#pragma once

#include <any>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/persistent.h"

namespace wenmoor {

enum TComponentStateFlag : uint8_t {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
WENMOOR_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
             csFixups, csFreeNotification, csInline, csDesignInstance)
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation : uint8_t { opInsert, opRemove };

bool IsValidIdent(std::string_view ident);

class TComponent : public TPersistent {
  WENMOOR_CLASS(TComponent, TPersistent)
 public:
  // Records the owner; the owner takes the object over after construction
  // (Create<T>). The loader constructs through TClassInfo::Create the same way.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Renames; raises EComponentError "'%s' is not a valid component name" or
  // "A component named %s already exists" (names are unique per owner,
  // compared without regard to case; the empty name is always allowed).
  virtual void SetName(const std::string& name);
  // Whether `name` could be taken: a valid identifier that no other
  // component of the owner carries.
  bool CanTakeName(std::string_view name) const;

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  TComponent* FindComponent(std::string_view name) const;
  int ComponentIndex() const;  // position in the owner's list; -1 when unowned

  // A number free for the program's own use.
  int Tag() const { return tag_; }
  void SetTag(int v) { tag_ = v; }

  const TComponentState& ComponentState() const { return state_; }
  bool IsLoading() const { return state_.Contains(csLoading); }
  bool IsDesigning() const { return state_.Contains(csDesigning); }
  bool IsDestroying() const { return state_.Contains(csDestroying); }
  // Marks this component and everything it owns as being designed.
  void SetDesigning(bool value);
  // Loader's flags: set before properties are read; Loaded() clears them.
  void BeginLoading();
  // Clears the loader's flags after a failed load, without calling Loaded().
  void CancelLoading();

  // The component under which this one is nested in a stored description (a
  // control's parent); null when it stands at the top. The loader sets it
  // right after construction; the writer nests objects by it. An observer
  // link, cleared when that component is destroyed. Controls may override
  // both to map the link to their own parent (and must call the inherited
  // setter when they keep using this one).
  virtual TComponent* GetParentComponent() const { return parent_component_; }
  virtual void SetParentComponent(TComponent* parent);

  // Called once after the whole stored script has been read and every
  // reference resolved; the base clears csLoading and csReading.
  virtual void Loaded();
  // `c` is being inserted (opInsert) or removed (opRemove).
  virtual void Notification(TComponent* c, TOperation operation);
  // Asks to be told (Notification opRemove) when `c` is destroyed; two-way.
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

  // Destroys this component. It must be owned (an unowned component is
  // destroyed by its ComponentPtr).
  void Free();

  // Handlers that the install script may name (a form's methods). The
  // handler is a std::function of the event's exact parameters.
  template <class... A>
  void PublishMethod(std::string name, std::function<void(A...)> handler) {
    methods_.push_back({std::move(name), std::any(std::move(handler))});
  }
  // The published handler of that name (case-insensitive), or null.
  const std::any* MethodAddress(std::string_view name) const;

  // Takes over `c` as an owned component (used by Create<T> and the loader).
  TComponent* InsertComponent(ComponentPtr<> c);
  // Gives up ownership of `c`, telling the owner's components.
  ComponentPtr<> RemoveComponent(TComponent* c);

 protected:
  // The object is about to be destroyed; it is still complete, and so are
  // the components it owns (they are all marked csDestroying already, and
  // each gets its own Destroying() when its turn comes). Called once.
  // Overrides must call the inherited one.
  virtual void Destroying();
  // Rename hook: the base validates `new_name`.
  virtual void ValidateRename(TComponent* c, std::string_view current_name, std::string_view new_name) const;

 private:
  friend struct ComponentDeleter;
  void BeforeDestruction() noexcept;
  // Marks this component and what it owns, then runs Destroying() once.
  void StartDestruction();
  void MarkDestroying();
  void DestroyComponents() noexcept;

  TComponent* owner_;
  std::string name_;
  std::vector<ComponentPtr<>> components_;
  std::vector<TComponent*> free_notifies_;
  TComponentState state_;
  int tag_ = 0;
  bool destroying_hook_run_ = false;
  TComponent* parent_component_ = nullptr;
  struct Method {
    std::string name;
    std::any handler;
  };
  std::vector<Method> methods_;
};

// Constructs a T owned by `owner` (which must not be null) and returns it.
template <class T, class... Args>
T* Create(TComponent* owner, Args&&... args) {
  if (!owner) throw EComponentError("A component created with Create needs an owner");
  ComponentPtr<> c(new T(owner, std::forward<Args>(args)...));
  return static_cast<T*>(owner->InsertComponent(std::move(c)));
}

template <class T, class... Args>
ComponentPtr<T> CreateUnowned(Args&&... args) {
  return ComponentPtr<T>(new T(nullptr, std::forward<Args>(args)...));
}

}  // namespace wenmoor
