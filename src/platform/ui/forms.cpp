#include "platform/ui/forms.h"

#include <cstdio>

namespace wenmoor {

TCustomForm::TCustomForm(TComponent* owner) : TComponent(owner) {}

TCustomForm::~TCustomForm() {
  if (TApplication::Instance().MainForm() == this) TApplication::Instance().SetMainForm(nullptr);
}

void TCustomForm::Activate() { OnActivate(this); }

TApplication& TApplication::Instance() {
  static TApplication app;
  return app;
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) {
    OnException(e);
    return;
  }
  std::fprintf(stderr, "%s\n", e.what());
}

WENMOOR_REGISTER_CLASS(TCustomForm) {
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("Left", &T::Left, &T::SetLeft);
  c.Prop("Top", &T::Top, &T::SetTop);
  c.Prop("Width", &T::Width, &T::SetWidth);
  c.Prop("Height", &T::Height, &T::SetHeight);
  c.Prop("WindowState", &T::WindowState, &T::SetWindowState).Default(wsNormal);
  c.Prop("Visible", &T::Visible, &T::SetVisible).Default(false);
  c.Event("OnActivate", &T::OnActivate);
  c.Event("OnCreate", &T::OnCreate);
  c.Event("OnDestroy", &T::OnDestroy);
}
WENMOOR_REGISTER_CLASS(TForm) {}
WENMOOR_REGISTER_CLASS(TDataModule) {}

}  // namespace wenmoor
