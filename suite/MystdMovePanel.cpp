#include "suite/MystdMovePanel.h"

#include "rtl/TypInfo.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

#include <windowsx.h>

constexpr TEnumType TqStickTypeType{"TqStickType", {"stNone", "stleft", "stTop", "stRight", "stBottom", "stBoth"}};

TqMovePanel::TqMovePanel(TComponent* AOwner) : TCustomPanel(AOwner) { BringToFront(); }

TqMovePanel::~TqMovePanel() { CancelDrag(); }

void TqMovePanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
    case WM_DESTROY:
      CancelDrag();
      inherited::Dispatch(Message);
      break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqMovePanel::CreateParams(TCreateParams& Params) { TCustomPanel::CreateParams(Params); }

void TqMovePanel::Click() { TCustomPanel::Click(); }

void TqMovePanel::Loaded() {
  TCustomPanel::Loaded();
  DoStick();
}

void TqMovePanel::SetStickWhere(TqStickType Value) {
  FStickWhere = Value;
  DoStick();
}

void TqMovePanel::SetStickOldStyle(bool Value) {
  if (FStickOldStyle == Value) return;
  FStickOldStyle = Value;
  DoStick();
}

TRect TqMovePanel::ScreenBounds(int DX, int DY) const {
  TRect R = BoundsRect();
  if (TWinControl* P = Parent()) {
    const TPoint O = P->ClientToScreen(TPoint(0, 0));
    R = TRect(R.Left + O.X, R.Top + O.Y, R.Right + O.X, R.Bottom + O.Y);
  }
  return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

void TqMovePanel::DrawOutline() {
  const RECT R = FOutline;
  DrawFocusRect(FScreenDC, &R);
}

void TqMovePanel::WMLButtonDown(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FDragging || !HandleAllocated()) return;
  HDC DC = GetDC(nullptr);
  if (!DC) return;
  SetCapture(WindowHandle());
  FScreenDC = DC;
  FOutline = ScreenBounds(0, 0);
  FPress = TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  FLast = FPress;
  FDragging = true;
  DrawOutline();
}

void TqMovePanel::WMMouseMove(TMessage& Message) {
  if (FDragging) {
    FLast = TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    DrawOutline();
    FOutline = ScreenBounds(FLast.X - FPress.X, FLast.Y - FPress.Y);
    DrawOutline();
  }
  inherited::Dispatch(Message);
}

void TqMovePanel::WMLButtonUp(TMessage& Message) {
  if (FDragging) {
    FDragging = false;  // before the capture goes, so its message finds no drag to cancel
    ReleaseCapture();
    DrawOutline();
    const TPoint At(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    if (At.X != FPress.X || At.Y != FPress.Y) {
      const bool WasVisible = Visible();
      SetVisible(false);
      SetBounds(Left() + At.X - FPress.X, Top() + At.Y - FPress.Y, Width(), Height());
      SetVisible(WasVisible);
    }
    try {
      DoUpdate();
    } catch (...) {
      ReleaseDC(nullptr, FScreenDC);
      FScreenDC = nullptr;
      throw;
    }
    ReleaseDC(nullptr, FScreenDC);
    FScreenDC = nullptr;
    DoStick();
  }
  inherited::Dispatch(Message);
}

void TqMovePanel::CancelDrag() {
  if (!FDragging) return;
  FDragging = false;
  DrawOutline();
  ReleaseDC(nullptr, FScreenDC);
  FScreenDC = nullptr;
  if (HandleAllocated() && GetCapture() == WindowHandle()) ReleaseCapture();
}

void TqMovePanel::DoUpdate() {
  const bool WasVisible = Visible();
  SetVisible(false);
  int X = Left(), Y = Top(), W = Width(), H = Height();
  if (OnBeforeUpdate) OnBeforeUpdate(this, X, Y, W, H);
  SetHeight(H);
  SetWidth(W);
  SetTop(Y);
  SetLeft(X);
  if (Top() < 0) SetTop(0);
  if (Left() < 0) SetLeft(0);
  TWinControl* P = Parent();
  if (P && !dynamic_cast<TCustomForm*>(P)) {
    if (Left() + Width() > P->Width()) SetLeft(P->Width() - Width() - 1);
    if (Top() + Height() > P->Height()) SetTop(P->Height() - Height() - 1);
  }
  SetVisible(WasVisible);
}

void TqMovePanel::DoStick() {
  BringToFront();
  if (!FStickOldStyle) {
    static const TAlign Aligns[] = {alNone, alLeft, alTop, alRight, alBottom, alTop};
    SetAlign(Aligns[FStickWhere]);
    if (FStickWhere == stBoth) SetLeft(0);
    return;
  }
  SetAlign(alNone);
  TWinControl* P = Parent();
  switch (FStickWhere) {
    case stleft: SetLeft(0); break;
    case stTop: SetTop(0); break;
    case stRight: if (P) SetLeft(P->ClientWidth() - Width()); break;
    case stBottom: if (P) SetTop(P->ClientHeight() - Height()); break;
    case stBoth: SetTop(0); SetLeft(0); break;
    case stNone: break;
  }
}

void TqMovePanel::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TqMovePanel::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

static constinit const TPropInfo TqMovePanel_Props[] = {
    PropEnum<&TqMovePanel::StickWhere, &TqMovePanel::SetStickWhere>("StickWhere", TqStickTypeType, stNone),
    PropBool<&TqMovePanel::StickOldStyle, &TqMovePanel::SetStickOldStyle>("StickOldStyle", true),
    PropEvent<&TqMovePanel::OnBeforeUpdate>("OnBeforeUpdate"),
    PropEvent<&TqMovePanel::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqMovePanel::OnMouseLeave>("OnMouseLeave"),
    PropEnum<&TqMovePanel::Alignment, &TqMovePanel::SetAlignment>("Alignment", TAlignmentType, taCenter),
    PropEnum<&TqMovePanel::BevelInner, &TqMovePanel::SetBevelInner>("BevelInner", TBevelCutType, bvNone),
    PropEnum<&TqMovePanel::BevelOuter, &TqMovePanel::SetBevelOuter>("BevelOuter", TBevelCutType, bvRaised),
    PropInt<&TqMovePanel::BevelWidth, &TqMovePanel::SetBevelWidth>("BevelWidth", 1),
    PropInt<&TqMovePanel::BorderWidth, &TqMovePanel::SetBorderWidth>("BorderWidth", 0),
    PropEnum<&TqMovePanel::BorderStyle, &TqMovePanel::SetBorderStyle>("BorderStyle", TBorderStyleType, bsNone),
    TControlProps::Enabled(),
    TControlProps::Caption(),
    TControlProps::Color(clBtnFace),
    TControlProps::Ctl3D(),
    TControlProps::Font(),
    PropBool<&TqMovePanel::Locked, &TqMovePanel::SetLocked>("Locked", false),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(false),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnResize(),
};
ORV_IMPLEMENT_COMPONENT(TqMovePanel, TCustomPanel, TqMovePanel_Props)

namespace {
const struct TMovePanelRegistration {
  TMovePanelRegistration() { RegisterClass(TqMovePanel::StaticClass()); }
} MovePanelRegistration;
}  // namespace
