// Forms and data modules: the windows of the installation and the
// containers that own a script's components.
//
// A form is a windowed control without a parent (a top-level window) or,
// embedded in another form, with one (a wizard page inside the wizard
// window). Its native window, if any, belongs to the user-interface backend
// (backend.h): the form asks for it when it is first shown and gives it up
// when it is destroyed.
//
// Modal showing (ShowModal) follows the component library:
//   1. refuse a form that is visible, disabled or modal already
//      (EInvalidOperation "Cannot make a visible window modal");
//   2. show it (OnShow), reset ModalResult to mrNone, activate it (OnActivate);
//   3. the backend runs the modal loop: whenever ModalResult is set (a
//      button with a ModalResult, Close, code), ModalDone() asks
//      OnCloseQuery and OnClose; a refusal (CanClose false or the action
//      caNone) sets ModalResult back to mrNone and the loop goes on;
//   4. hide the form and answer the modal result.
// Exceptions raised by event handlers inside the loop go to
// TApplication::HandleException and the loop continues, as in a message
// loop; exceptions of the backend itself (a headless operator that cannot
// go on) leave ShowModal after the form was hidden.
//
// Close on a modal form only sets ModalResult to mrCancel (the loop then
// asks OnCloseQuery); on a modeless one it asks OnCloseQuery, raises OnClose
// and hides the form (caHide), minimises it (caMinimize) or releases it
// (caFree: destroyed at the next ProcessMessages when the form has an owner,
// else only hidden).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/component.h"
#include "platform/rtl/events.h"
#include "platform/ui/application.h"
#include "platform/ui/win_control.h"

namespace wenmoor {

enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
WENMOOR_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)

enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
WENMOOR_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// The border of panels and edits: bsNone or bsSingle.
using TBorderStyle = TFormBorderStyle;

enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
WENMOOR_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;

enum TPosition : uint8_t {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
WENMOOR_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
             poMainFormCenter, poOwnerFormCenter)

enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
WENMOOR_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)

enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
WENMOOR_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)

using TModalResult = int32_t;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

class TCustomForm : public TWinControl {
  WENMOOR_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Loads the form's stored description (see form_reader.h; raises
  // EFormError and leaves the form as it was), then raises OnCreate, and
  // shows the form if the description made it visible. Derived forms call
  // it from their constructor after publishing their handlers.
  void LoadFromText(std::string_view text, const std::string& file_name);
  // Raises OnCreate (LoadFromText does; a form built in code may).
  void DoCreate() { OnCreate(this); }

  // --- Window ---------------------------------------------------------------
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle s);
  TBorderIcons BorderIcons() const { return border_icons_; }
  void SetBorderIcons(TBorderIcons i);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TFormStyle FormStyle() const { return form_style_; }
  void SetFormStyle(TFormStyle s);
  TWindowState WindowState() const { return window_state_; }
  void SetWindowState(TWindowState s);
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool v) { key_preview_ = v; }
  // Stored by forms designed elsewhere; kept for the round trip.
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  int PixelsPerInch() const { return pixels_per_inch_; }
  void SetPixelsPerInch(int v) { pixels_per_inch_ = v; }
  int TextHeight() const { return text_height_; }
  void SetTextHeight(int v) { text_height_ = v; }
  bool OldCreateOrder() const { return old_create_order_; }
  void SetOldCreateOrder(bool v) { old_create_order_ = v; }
  bool AutoScroll() const { return auto_scroll_; }
  void SetAutoScroll(bool v) { auto_scroll_ = v; }

  // The frame and caption around the client area: a top-level form's from
  // its border style and the screen's metrics; an embedded form has none.
  TRect NonClientInsets() const;
  TRect ClientRect() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;

  // --- Focus ----------------------------------------------------------------
  TWinControl* ActiveControl() const { return active_control_; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
  // for a control that is not on this form, or (once loaded) cannot take
  // the focus. Null clears the focus.
  void SetActiveControl(TWinControl* c);
  void FocusControl(TWinControl* c) { SetActiveControl(c); }

  // --- Showing --------------------------------------------------------------
  // A top-level form gets its window at the first showing and is placed
  // by Position then; OnShow / OnHide are raised when the value changes.
  // While the form is loaded the value is only noted: LoadFromText shows
  // the form once it is complete.
  void SetVisible(bool v) override;
  bool Showing() const override;
  bool HandleAllocated() const { return window_created_; }
  // Brings the form's window to the front (a top-level form) or the form
  // to the top of its parent's z-order.
  void BringToFrontWindow();
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult r);
  bool IsModal() const { return modal_; }
  int ShowModal();
  // The modal loop's check (see above): false while ModalResult is mrNone
  // or the close was refused.
  bool ModalDone();
  void Close();
  // OnCloseQuery with CanClose preset to true; its answer.
  virtual bool CloseQuery();
  // Destroys an owned form at the next ProcessMessages; an unowned one is
  // only hidden (whoever holds it frees it).
  void Release();
  virtual void Activate();
  virtual void Deactivate();

  // --- Events ---------------------------------------------------------------
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  void Destroying() override;
  virtual void DoShow() { OnShow(this); }
  virtual void DoHide() { OnHide(this); }
  virtual void DoClose(TCloseAction& action) { OnClose(this, action); }

 private:
  friend class TControl;
  // A control left the form: it may have held the focus.
  void ControlRemoved(const TControl* c);
  void PlaceOnScreen();
  void CloseModal();

  TFormBorderStyle border_style_ = bsSizeable;
  TBorderIcons border_icons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TFormStyle form_style_ = fsNormal;
  TWindowState window_state_ = wsNormal;
  bool key_preview_ = false;
  bool scaled_ = true;
  int pixels_per_inch_ = 96;
  int text_height_ = 13;
  bool old_create_order_ = false;
  bool auto_scroll_ = true;
  TWinControl* active_control_ = nullptr;
  TModalResult modal_result_ = mrNone;
  bool modal_ = false;
  bool window_created_ = false;
  bool show_after_load_ = false;
};

class TForm : public TCustomForm {
  WENMOOR_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TDataModule : public TComponent {
  WENMOOR_CLASS(TDataModule, TComponent)
 public:
  explicit TDataModule(TComponent* owner) : TComponent(owner) {}
};

}  // namespace wenmoor
