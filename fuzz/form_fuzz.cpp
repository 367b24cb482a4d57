// Fuzzes the form text reader: lexer, parser and the loading of components
// through the real class registry; and, for every text that loads, the
// writer's round trip (the saved text loads again and saves the same).
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/rtl/collection.h"
#include "platform/rtl/form_reader.h"
#include "platform/rtl/form_writer.h"
#include "platform/rtl/picture.h"
#include "platform/rtl/strings.h"

namespace wenmoor {

// Besides the library's own classes, one with a property of every kind, so
// that the fuzzer reaches every branch of the setter, the writer and the
// rollback without depending on which script classes exist.
enum TFormFuzzKind : uint8_t { ffkA, ffkB, ffkC };
WENMOOR_ENUM(TFormFuzzKind, ffkA, ffkB, ffkC)
using TFormFuzzKinds = TSet<TFormFuzzKind>;

class TFormFuzzItem : public TCollectionItem {
  WENMOOR_CLASS(TFormFuzzItem, TCollectionItem)
 public:
  explicit TFormFuzzItem(TCollection* c) : TCollectionItem(c) {}
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v) { text_ = v; }
  TComponent* Link() const { return link_; }
  void SetLink(TComponent* v) { link_ = v; }  // read only while the tree lives
  TOwnedCollection<TFormFuzzItem>* Items() const { return items_.get(); }

 private:
  std::string text_;
  TComponent* link_ = nullptr;
  std::unique_ptr<TOwnedCollection<TFormFuzzItem>> items_ = std::make_unique<TOwnedCollection<TFormFuzzItem>>();
};

class TFormFuzzWidget : public TComponent {
  WENMOOR_CLASS(TFormFuzzWidget, TComponent)
 public:
  explicit TFormFuzzWidget(TComponent* owner) : TComponent(owner) {
    PublishMethod("Click", std::function<void(TObject*)>([](TObject*) {}));
  }
  int Int() const { return int_; }
  void SetInt(int v) { int_ = v; }
  int16_t Short() const { return short_; }
  void SetShort(int16_t v) { short_ = v; }
  bool Flag() const { return flag_; }
  void SetFlag(bool v) { flag_ = v; }
  TFormFuzzKind Kind() const { return kind_; }
  void SetKind(TFormFuzzKind v) { kind_ = v; }
  TFormFuzzKinds Kinds() const { return kinds_; }
  void SetKinds(TFormFuzzKinds v) { kinds_ = v; }
  double Real() const { return real_; }
  void SetReal(double v) { real_ = v; }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v) { text_ = v; }
  TFormFuzzWidget* Link() const { return link_; }
  void SetLink(TFormFuzzWidget* v) {
    link_ = v;
    if (v) v->FreeNotification(this);
  }
  TStringList* Lines() const { return lines_.get(); }
  TPicture* Picture() const { return picture_.get(); }
  TOwnedCollection<TFormFuzzItem>* Items() const { return items_.get(); }
  TNotifyEvent OnClick;

  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == link_) link_ = nullptr;
  }

 private:
  int int_ = 0;
  int16_t short_ = 0;
  bool flag_ = false;
  TFormFuzzKind kind_ = ffkA;
  TFormFuzzKinds kinds_;
  double real_ = 0;
  std::string text_;
  TFormFuzzWidget* link_ = nullptr;
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
  std::unique_ptr<TPicture> picture_ = std::make_unique<TPicture>();
  std::unique_ptr<TOwnedCollection<TFormFuzzItem>> items_ = std::make_unique<TOwnedCollection<TFormFuzzItem>>();
};

WENMOOR_REGISTER_CLASS(TFormFuzzItem) {
  c.Prop("Text", &T::Text, &T::SetText);
  c.Prop("Link", &T::Link, &T::SetLink);
  c.Object("Items", &T::Items);
}

WENMOOR_REGISTER_CLASS(TFormFuzzWidget) {
  c.Prop("Int", &T::Int, &T::SetInt).Default(0);
  c.Prop("Short", &T::Short, &T::SetShort).Default(0);
  c.Prop("Flag", &T::Flag, &T::SetFlag).Default(false);
  c.Prop("Kind", &T::Kind, &T::SetKind).Default(ffkA);
  c.Prop("Kinds", &T::Kinds, &T::SetKinds).Default(TFormFuzzKinds{});
  c.Prop("Real", &T::Real, &T::SetReal);
  c.Prop("Text", &T::Text, &T::SetText);
  c.Prop("Link", &T::Link, &T::SetLink);
  c.Object("Lines", &T::Lines);
  c.Object("Picture", &T::Picture);
  c.Object("Items", &T::Items);
  c.Event("OnClick", &T::OnClick);
}

}  // namespace wenmoor

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Script objects may look at the emulated machine when they are created:
  // give them a prefix of their own rather than the user's.
  static const std::string prefix = (std::filesystem::temp_directory_path() / "wenmoor-form-fuzz-prefix").string();
  setenv("WINEPREFIX", prefix.c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  wenmoor::ComponentPtr<> root;
  try {
    root = wenmoor::ReadComponentFromText(text, "fuzz.dfm");
  } catch (const wenmoor::EFormError&) {
    return 0;  // refused with a place and a reason: as it should be
  }
  std::string once;
  try {
    once = wenmoor::WriteComponentToText(*root);
  } catch (const wenmoor::EWriteError&) {
    return 0;  // a state that the text format cannot hold, refused
  }
  // What was saved must load (any exception here ends the run as a finding)
  // and save to the same text. The first tree goes first: some script
  // objects allow only one of their kind in a process.
  root.reset();
  wenmoor::ComponentPtr<> again = wenmoor::ReadComponentFromText(once, "once.dfm");
  if (wenmoor::WriteComponentToText(*again) != once) std::abort();
  return 0;
}
