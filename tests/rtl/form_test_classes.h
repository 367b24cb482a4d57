// Small component classes for the form reader and writer tests: one of each
// property kind, a form with published handlers, and classes that misbehave
// on purpose. They record what happens to them in FormTestLog, so that tests
// can check the order of construction, property setting, reference
// resolution and Loaded.
//
// Registered (WENMOOR_REGISTER_CLASS) once, in form_reader_test.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/picture.h"
#include "platform/rtl/strings.h"

namespace wenmoor {

enum TFormTestColor : uint8_t { ftcRed, ftcGreen, ftcBlue };
WENMOOR_ENUM(TFormTestColor, ftcRed, ftcGreen, ftcBlue)
using TFormTestColors = TSet<TFormTestColor>;

// What the test objects saw, in order: "construct TFormTestWidget",
// "set W1.Caption loading", "ref W1.Buddy=W2", "loaded W1", ...
std::vector<std::string>& FormTestLog();

class TFormTestFont : public TPersistent {
  WENMOOR_CLASS(TFormTestFont, TPersistent)
 public:
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v) { name_ = v; }
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }

 private:
  std::string name_ = "Arial";
  int size_ = 8;
};

class TFormTestWidget;

class TFormTestItem : public TCollectionItem {
  WENMOOR_CLASS(TFormTestItem, TCollectionItem)
 public:
  explicit TFormTestItem(TCollection* c) : TCollectionItem(c) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  int Value() const { return value_; }
  void SetValue(int v) { value_ = v; }
  TFormTestWidget* Target() const { return target_; }
  void SetTarget(TFormTestWidget* t) { target_ = t; }
  TOwnedCollection<TFormTestItem>* Children() const { return children_.get(); }

 private:
  std::string caption_;
  int value_ = 0;
  TFormTestWidget* target_ = nullptr;
  std::unique_ptr<TOwnedCollection<TFormTestItem>> children_ = std::make_unique<TOwnedCollection<TFormTestItem>>();
};

class TFormTestWidget : public TComponent {
  WENMOOR_CLASS(TFormTestWidget, TComponent)
 public:
  explicit TFormTestWidget(TComponent* owner);

  int Count() const { return count_; }
  void SetCount(int v) { count_ = v; }
  int Shade() const { return shade_; }  // with named values shDark (16), shLight (32)
  void SetShade(int v) { shade_ = v; }
  int64_t Big() const { return big_; }
  void SetBig(int64_t v) { big_ = v; }
  uint8_t Small() const { return small_; }
  void SetSmall(uint8_t v) { small_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TFormTestColor Color() const { return color_; }
  void SetColor(TFormTestColor v) { color_ = v; }
  TFormTestColors Colors() const { return colors_; }
  void SetColors(TFormTestColors v) { colors_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  int Serial() const { return 7; }  // read-only
  TFormTestFont* Font() const { return font_.get(); }
  TStringList* Lines() const { return lines_.get(); }
  TPicture* Picture() const { return picture_.get(); }
  TOwnedCollection<TFormTestItem>* Items() const { return items_.get(); }
  TFormTestWidget* Buddy() const { return buddy_; }
  void SetBuddy(TFormTestWidget* b);

  TNotifyEvent OnClick;
  TEvent<TObject*, int> OnChange;

  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  int count_ = 0;
  int shade_ = 0;
  int64_t big_ = 0;
  uint8_t small_ = 0;
  bool enabled_ = true;
  TFormTestColor color_ = ftcRed;
  TFormTestColors colors_;
  double ratio_ = 0;
  std::string caption_;
  std::unique_ptr<TFormTestFont> font_ = std::make_unique<TFormTestFont>();
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
  std::unique_ptr<TPicture> picture_ = std::make_unique<TPicture>();
  std::unique_ptr<TOwnedCollection<TFormTestItem>> items_ = std::make_unique<TOwnedCollection<TFormTestItem>>();
  TFormTestWidget* buddy_ = nullptr;
};

// A form: the root of a loaded text, with handlers that a text may name
// ("ButtonClick" for TNotifyEvent, "ValueChanged" for OnChange).
class TFormTestForm : public TComponent {
  WENMOOR_CLASS(TFormTestForm, TComponent)
 public:
  explicit TFormTestForm(TComponent* owner);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  TFormTestFont* Font() const { return font_.get(); }
  TNotifyEvent OnCreate;
  void Loaded() override;

  int clicks = 0;
  int last_change = 0;

 private:
  std::string caption_;
  int width_ = 100;
  std::unique_ptr<TFormTestFont> font_ = std::make_unique<TFormTestFont>();
};

// Owns a widget "Inner" of its own, for "Frame1.Inner" references.
class TFormTestFrame : public TComponent {
  WENMOOR_CLASS(TFormTestFrame, TComponent)
 public:
  explicit TFormTestFrame(TComponent* owner);
};

// Adds a helper component to its owner when constructed, as script objects
// add the standard path specifiers their form lacks.
class TFormTestSpawner : public TComponent {
  WENMOOR_CLASS(TFormTestSpawner, TComponent)
 public:
  explicit TFormTestSpawner(TComponent* owner);
};

// Its Loaded fails.
class TFormTestBadLoaded : public TComponent {
  WENMOOR_CLASS(TFormTestBadLoaded, TComponent)
 public:
  explicit TFormTestBadLoaded(TComponent* owner) : TComponent(owner) {}
  void Loaded() override;
};

// Registered but not creatable (no constructor taking the owner).
class TFormTestAbstract : public TComponent {
  WENMOOR_CLASS(TFormTestAbstract, TComponent)
 public:
  TFormTestAbstract(TComponent* owner, int) : TComponent(owner) {}
};

}  // namespace wenmoor
