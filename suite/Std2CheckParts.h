// Unit Std2, what the suite's owner-drawn check boxes and radio buttons share (the flat and the
// skinned ones): the owner-drawn window, their state, its cycle, the window's check mark, the
// radio group and the keys.
#pragma once
#include "vcl/StdCtrls.h"

// An owner-drawn system "BUTTON" window (the framework's visible and disabled bits kept) that
// paints itself whole with Paint on Canvas, for WM_PAINT and CN_DRAWITEM alike, and erases nothing.
class TqOwnerDrawnButton : public TButtonControl {
  ORV_CLASS(TqOwnerDrawnButton, TButtonControl)
public:
  explicit TqOwnerDrawnButton(TComponent* AOwner);
  ~TqOwnerDrawnButton() override;
  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;
  virtual void Paint() = 0;
  TControlCanvas* Canvas() const { return FCanvas; }

private:
  TControlCanvas* FCanvas;
};

// A check box: unchecked, grayed (with AllowGrayed) and checked, stepped by BN_CLICKED and by
// the caption's accelerator; every change of state tells the window and clicks.
template <class TBase> class TqCheckBoxParts : public TBase {
public:
  using TBase::TBase;

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
        break;
      case CM_DIALOGCHAR:
        if (!IsAccel((unsigned short)Message.WParam, this->Caption()) || !this->CanFocus()) {
          TBase::Dispatch(Message);
          break;
        }
        this->SetFocus();
        if (this->Focused()) Toggle();
        Message.Result = 1;
        break;
      default: TBase::Dispatch(Message);
    }
  }
  void Click() override {
    this->Perform(CM_CHANGED, 0, reinterpret_cast<intptr_t>(this));
    TBase::Click();
    this->Invalidate();
  }

  TCheckBoxState State() const { return FState; }
  // When changed: the window is told and Click runs.
  void SetState(TCheckBoxState Value) {
    if (FState == Value) return;
    FState = Value;
    if (this->HasState(csLoading)) return;
    if (this->HandleAllocated()) SendMessageA(this->WindowHandle(), BM_SETCHECK, WPARAM(FState), 0);
    if (!this->ClicksDisabled()) Click();
  }
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }

protected:
  bool GetChecked() const override { return Checked(); }
  void CreateWnd() override {
    TBase::CreateWnd();
    SendMessageA(this->WindowHandle(), BM_SETCHECK, WPARAM(FState), 0);
  }
  // Whether a click or the accelerator steps the state now.
  virtual bool CanToggle() const { return true; }
  // Unchecked, then grayed (with AllowGrayed) or checked; checked, then unchecked; grayed, then
  // checked.
  virtual void Toggle() {
    if (!CanToggle()) return;
    switch (FState) {
      case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
      case cbChecked: SetState(cbUnchecked); break;
      case cbGrayed: SetState(cbChecked); break;
    }
  }

private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
};

// A radio button: checking it unchecks the other TGroup buttons of its parent with the same
// GroupIndex; a click, the accelerator and taking the focus check it; only a checked one is a tab
// stop.
template <class TBase, class TGroup> class TqRadioButtonParts : public TBase {
public:
  using TBase::TBase;

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_SETFOCUS:
        SetChecked(true);
        TBase::Dispatch(Message);
        break;
      case CN_COMMAND:
        switch (HIWORD(Message.WParam)) {
          case BN_CLICKED: SetChecked(true); break;
          case BN_DOUBLECLICKED: this->DblClick(); break;
        }
        break;
      case CM_DIALOGCHAR:
        if (!IsAccel((unsigned short)Message.WParam, this->Caption()) || !this->CanFocus()) {
          TBase::Dispatch(Message);
          break;
        }
        this->SetFocus();
        Message.Result = 1;
        break;
      default: TBase::Dispatch(Message);
    }
  }

  bool Checked() const { return FChecked; }
  void SetChecked(bool Value) override {
    if (FChecked == Value) return;
    FChecked = Value;
    this->SetTabStop(Value);
    if (this->HasState(csLoading)) return;
    if (this->HandleAllocated()) SendMessageA(this->WindowHandle(), BM_SETCHECK, WPARAM(Value), 0);
    this->Invalidate();
    if (!Value) return;
    // A button without a parent has no group to walk.
    if (TWinControl* P = this->Parent())
      for (int I = 0; I < P->ControlCount(); ++I)
        if (auto* R = dynamic_cast<TGroup*>(P->Controls(I)); R && R != this && R->GroupIndex() == FGroupIndex)
          R->SetChecked(false);
    this->Perform(CM_CHANGED, 0, reinterpret_cast<intptr_t>(this));
    if (!this->ClicksDisabled()) this->Click();
  }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }

protected:
  bool GetChecked() const override { return FChecked; }
  void CreateWnd() override {
    TBase::CreateWnd();
    SendMessageA(this->WindowHandle(), BM_SETCHECK, WPARAM(FChecked), 0);
  }

private:
  bool FChecked = false;
  int FGroupIndex = 0;
};
