// Unit Std2, what the shaped and skinned push buttons share: the keys and flags of a dialog push
// button. Space presses on the way down and clicks on the way up (not while the mouse holds the
// button); Enter clicks the focused button, or from elsewhere on the form the active one (the
// focused button of this kind, else the Default one); Escape clicks a Cancel button; a click
// sets the parent form's ModalResult. A release off the button (Down cleared by the move) makes
// no click.
#pragma once
#include "vcl/Controls.h"
#include "vcl/Forms.h"

template <class TBase> class TqDialogButton : public TBase {
public:
  explicit TqDialogButton(TComponent* AOwner) : TBase(AOwner) {}

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_LBUTTONUP:
        FReleasedOff = FMouseHeld && !FDown;
        TBase::Dispatch(Message);
        FReleasedOff = false;
        break;
      case WM_KEYDOWN:
        if (Message.WParam != VK_SPACE) {
          TBase::Dispatch(Message);
          break;
        }
        if (FDown) break;
        if (this->CanFocus()) this->SetFocus();
        FMouseHeld = false;
        FDown = true;
        this->Repaint();
        break;
      case WM_KEYUP:
        if (Message.WParam != VK_SPACE) {
          TBase::Dispatch(Message);
          break;
        }
        if (!FDown || FMouseHeld) break;
        Click();
        FDown = false;
        this->Repaint();
        break;
      case CN_KEYDOWN:
        if (Message.WParam == VK_RETURN && this->Focused() && this->CanFocus()) {
          Message.Result = 1;
          Click();
          break;
        }
        TBase::Dispatch(Message);
        break;
      case CN_COMMAND:
        if (HIWORD(Message.WParam) == 0) Click();
        break;
      case CM_DIALOGKEY: {
        const unsigned Key = unsigned(Message.WParam);
        const TShiftState Modifiers = ShiftOf(ssShift) | ShiftOf(ssCtrl) | ShiftOf(ssAlt);
        if (((Key == VK_RETURN && FActive) || (Key == VK_ESCAPE && FCancel)) &&
            (KeyDataToShiftState(Message.LParam) & Modifiers) == 0 && this->CanFocus()) {
          Click();
          Message.Result = 1;
          break;
        }
        TBase::Dispatch(Message);
        break;
      }
      case CM_DIALOGCHAR:
        if (IsAccel((unsigned short)Message.WParam, this->Caption()) && this->CanFocus()) {
          Click();
          Message.Result = 1;
          break;
        }
        TBase::Dispatch(Message);
        break;
      case CM_FOCUSCHANGED: {
        auto* Focus = reinterpret_cast<TControl*>(Message.LParam);
        FActive = Focus && dynamic_cast<TqDialogButton*>(Focus) ? Focus == this : FDefault;
        SetButtonStyle(FActive);
        if (!this->Focused()) {
          FDown = false;
          FMouseHeld = false;
        }
        FocusChanged();
        TBase::Dispatch(Message);
        this->Invalidate();
        break;
      }
      default: TBase::Dispatch(Message);
    }
  }

  void Click() override {
    FDown = false;
    FMouseHeld = false;
    this->Repaint();
    if (FReleasedOff) return;
    if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
    TBase::Click();
  }

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // With a window, the form's buttons re-evaluate which one takes Enter.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) {
    FDefault = Value;
    if (this->HasState(csLoading) || !this->HandleAllocated()) return;
    if (TCustomForm* Form = GetParentForm(this))
      Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(Form->ActiveControl()));
  }
  // Drawn pressed; the left button went down on the button and is held.
  bool Down() const { return FDown; }
  bool MouseHeld() const { return FMouseHeld; }
  // This button takes Enter now.
  bool Active() const { return FActive; }

protected:
  void CreateParams(TCreateParams& Params) override {
    TBase::CreateParams(Params);
    if (FDefault) Params.Style |= BS_DEFPUSHBUTTON;
  }
  void CreateWnd() override {
    TBase::CreateWnd();
    FActive = FDefault;
  }
  // Keeps the window's button style bits to BS_DEFPUSHBUTTON or BS_PUSHBUTTON (the window is of
  // its own class, not the system button's, so they are kept directly).
  virtual void SetButtonStyle(bool ADefault) {
    if (!this->HandleAllocated()) return;
    const HWND Wnd = this->WindowHandle();
    const LONG_PTR Style = GetWindowLongPtrA(Wnd, GWL_STYLE);
    const LONG_PTR Want = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((Style & 0xF) != Want) SetWindowLongPtrA(Wnd, GWL_STYLE, (Style & ~LONG_PTR(0xF)) | Want);
  }
  // After a focus change has settled the flags.
  virtual void FocusChanged() {}
  // The left button went down on the button: pressed (taking the focus) and held.
  void Press() {
    if (!FDown) {
      if (this->CanFocus()) this->SetFocus();
      FDown = true;
      this->Repaint();
    }
    FMouseHeld = true;
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TBase::MouseUp(Button, Shift, X, Y);
    if (!FMouseHeld) return;
    FDown = false;
    FMouseHeld = false;
    this->Repaint();
  }
  // Down follows whether the held mouse is over the button.
  void Follow(bool On) {
    if (!FMouseHeld || On == FDown) return;
    FDown = On;
    this->Repaint();
  }

  bool FDown = false, FMouseHeld = false;

private:
  bool FDefault = false, FCancel = false, FActive = false;
  TModalResult FModalResult = mrNone;
  bool FReleasedOff = false;
};
