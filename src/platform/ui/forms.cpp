#include "platform/ui/forms.h"

#include "platform/rtl/form_reader.h"
#include "platform/ui/backend.h"
#include "platform/ui/screen.h"

namespace wenmoor {

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetDefaultVisible(false);
  SetDefaultSize(640, 480);
  SetDefaultColor(clBtnFace, false);
  SetParentFont(false);
  SetControlStyle({csAcceptsControls, csOpaque});
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::Destroying() {
  TApplication& app = TApplication::Instance();
  OnDestroy(this);
  if (window_created_)
    if (UiBackend* backend = app.ActiveBackend()) backend->DestroyForm(*this);
  window_created_ = false;
  if (app.MainForm() == this) app.SetMainForm(nullptr);
  app.ForgetRelease(this);
  TWinControl::Destroying();
}

void TCustomForm::LoadFromText(std::string_view text, const std::string& file_name) {
  ReadRootComponentFromText(text, file_name, *this);
  DoCreate();
  if (show_after_load_) {
    show_after_load_ = false;
    Show();
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
  if (s == border_style_) return;
  border_style_ = s;
  Changed(TControlChange::Appearance);
  Realign();
}

void TCustomForm::SetBorderIcons(TBorderIcons i) {
  if (i == border_icons_) return;
  border_icons_ = i;
  Changed(TControlChange::Appearance);
}

void TCustomForm::SetFormStyle(TFormStyle s) {
  if (s == form_style_) return;
  form_style_ = s;
  Changed(TControlChange::Appearance);
}

void TCustomForm::SetWindowState(TWindowState s) {
  if (s == window_state_) return;
  window_state_ = s;
  Changed(TControlChange::State);
}

TRect TCustomForm::NonClientInsets() const {
  if (Parent() || border_style_ == bsNone) return {};
  const TScreenMetrics m = CurrentScreenMetrics();
  const bool sizing = border_style_ == bsSizeable || border_style_ == bsSizeToolWin;
  const bool tool = border_style_ == bsToolWindow || border_style_ == bsSizeToolWin;
  const int frame = sizing ? m.sizing_frame : m.fixed_frame;
  const int caption = tool ? m.small_caption_height : m.caption_height;
  return TRect{frame, frame + caption, frame, frame};
}

TRect TCustomForm::ClientRect() const {
  const TRect in = NonClientInsets();
  return TRect{0, 0, std::max(0, Width() - in.left - in.right), std::max(0, Height() - in.top - in.bottom)};
}

void TCustomForm::SetClientWidth(int v) {
  const TRect in = NonClientInsets();
  SetWidth(v + in.left + in.right);
}

void TCustomForm::SetClientHeight(int v) {
  const TRect in = NonClientInsets();
  SetHeight(v + in.top + in.bottom);
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  if (c == active_control_) return;
  if (c && (c == this || GetParentForm(*c) != this || (!IsLoading() && !c->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  active_control_ = c;
  Changed(TControlChange::Focus);
}

void TCustomForm::ControlRemoved(const TControl* c) {
  for (const TControl* p = active_control_; p; p = p->Parent()) {
    if (p == c) {
      active_control_ = nullptr;
      Changed(TControlChange::Focus);
      return;
    }
  }
}

void TCustomForm::SetVisible(bool v) {
  if (IsLoading()) {
    show_after_load_ = v;
    return;
  }
  if (v == Visible()) return;
  if (v) {
    TWinControl::SetVisible(true);
    if (!Parent()) {
      if (!window_created_) {
        PlaceOnScreen();
        window_created_ = true;
      }
      TApplication::Instance().Backend().ShowForm(*this);
    }
    DoShow();
  } else {
    DoHide();
    TWinControl::SetVisible(false);
    if (!Parent() && window_created_)
      if (UiBackend* backend = TApplication::Instance().ActiveBackend()) backend->HideForm(*this);
  }
}

bool TCustomForm::Showing() const {
  if (!Visible()) return false;
  return Parent() ? Parent()->Showing() : true;
}

void TCustomForm::PlaceOnScreen() {
  TCustomForm* center_on = nullptr;
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
      break;
    case poMainFormCenter:
      center_on = TApplication::Instance().MainForm();
      break;
    case poOwnerFormCenter:
      center_on = dynamic_cast<TCustomForm*>(Owner());
      break;
    default:
      return;
  }
  if (center_on == this) center_on = nullptr;
  int x, y;
  if (center_on) {
    x = (center_on->Width() - Width()) / 2 + center_on->Left();
    y = (center_on->Height() - Height()) / 2 + center_on->Top();
  } else {
    x = (Screen().Width() - Width()) / 2;
    y = (Screen().Height() - Height()) / 2;
  }
  SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
}

void TCustomForm::BringToFrontWindow() {
  if (Parent()) BringToFront();
  else Changed(TControlChange::ZOrder);
}

void TCustomForm::SetModalResult(TModalResult r) {
  modal_result_ = r;
  Changed(TControlChange::ModalResult);
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  UiBackend& backend = TApplication::Instance().Backend();
  modal_ = true;
  TModalResult result = mrNone;
  try {
    Show();
    modal_result_ = mrNone;  // what OnShow set does not count
    Activate();
    backend.RunModal(*this);
    result = modal_result_;
    Deactivate();
  } catch (...) {
    try {
      Hide();
    } catch (...) {
      // The first error is the one to report.
    }
    modal_ = false;
    throw;
  }
  try {
    Hide();
  } catch (...) {
    modal_ = false;
    throw;
  }
  modal_ = false;
  return result;
}

bool TCustomForm::ModalDone() {
  if (TApplication::Instance().Terminated()) {
    if (modal_result_ == mrNone) modal_result_ = mrCancel;
    return true;
  }
  if (modal_result_ == mrNone) return false;
  CloseModal();
  return modal_result_ != mrNone;
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone) modal_result_ = mrNone;
    else if (action == caFree) Release();
  } catch (const EUiBackendError&) {
    modal_result_ = mrNone;
    throw;
  } catch (const std::exception& e) {
    modal_result_ = mrNone;
    TApplication::Instance().HandleException(e);
  }
}

bool TCustomForm::CloseQuery() {
  bool can_close = true;
  OnCloseQuery(this, can_close);
  return can_close;
}

void TCustomForm::Close() {
  if (modal_) {
    SetModalResult(mrCancel);
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  TApplication& app = TApplication::Instance();
  if (app.MainForm() == this) return app.Terminate();
  switch (action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree:
      Release();
      break;
    default:
      break;
  }
}

void TCustomForm::Release() {
  Hide();
  if (Owner()) TApplication::Instance().QueueRelease(this);
}

void TCustomForm::Activate() { OnActivate(this); }

void TCustomForm::Deactivate() { OnDeactivate(this); }

WENMOOR_REGISTER_CLASS(TCustomForm) {
  c.Prop("ActiveControl", &T::ActiveControl, &T::SetActiveControl);
  c.Prop("AutoScroll", &T::AutoScroll, &T::SetAutoScroll).Default(true);
  c.Prop("BorderIcons", &T::BorderIcons, &T::SetBorderIcons).Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  c.Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).Default(bsSizeable);
  c.Prop("Caption", &T::Caption, &T::SetCaption);
  c.Prop("ClientHeight", &T::ClientHeight, &T::SetClientHeight).Stored(false);
  c.Prop("ClientWidth", &T::ClientWidth, &T::SetClientWidth).Stored(false);
  c.Prop("FormStyle", &T::FormStyle, &T::SetFormStyle).Default(fsNormal);
  c.Prop("KeyPreview", &T::KeyPreview, &T::SetKeyPreview).Default(false);
  c.Prop("OldCreateOrder", &T::OldCreateOrder, &T::SetOldCreateOrder).Default(false);
  c.Prop("PixelsPerInch", &T::PixelsPerInch, &T::SetPixelsPerInch).Default(96);
  c.Prop("Position", &T::Position, &T::SetPosition).Default(poDesigned);
  c.Prop("Scaled", &T::Scaled, &T::SetScaled).Default(true);
  c.Prop("TextHeight", &T::TextHeight, &T::SetTextHeight).Default(13);
  c.Prop("Visible", &T::Visible, &T::SetVisible).Default(false);
  c.Prop("WindowState", &T::WindowState, &T::SetWindowState).Default(wsNormal);
  c.Event("OnActivate", &T::OnActivate);
  c.Event("OnClose", &T::OnClose);
  c.Event("OnCloseQuery", &T::OnCloseQuery);
  c.Event("OnCreate", &T::OnCreate);
  c.Event("OnDeactivate", &T::OnDeactivate);
  c.Event("OnDestroy", &T::OnDestroy);
  c.Event("OnHide", &T::OnHide);
  c.Event("OnShow", &T::OnShow);
}
WENMOOR_REGISTER_CLASS(TForm) {}
WENMOOR_REGISTER_CLASS(TDataModule) {}

}  // namespace wenmoor
