#include "suite/MystdHintWindow.h"

#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"

#include <algorithm>

namespace {
// The frame and text margin: 6 pixels with the 3-D look, 4 without.
int Margin() { return HintSettings->Use3D ? 6 : 4; }

UINT TextFlags() { return DT_NOPREFIX | DT_EXPANDTABS | (HintSettings->MultiLine ? DT_WORDBREAK : 0); }

[[noreturn]] void RangeError() { throw ERangeError("Range check error"); }
}  // namespace

// ---------------------------------------------------------------------------------------------
// TqHintWindow

void TqHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style = WS_POPUP | WS_DISABLED;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TqHintWindow::ShowHintRect(const TRect& Rect, const AnsiString& Hint) {
  const TqHintSettings& S = *HintSettings;
  bool CanShow = true;
  if (S.OnHintShow) S.OnHintShow(this, CanShow);
  if (!CanShow) return;
  FMoves = 0;
  const int M = Margin();
  const int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  RECT Text{M, M, ScreenW / TqHintDivRange.Clamp(S.PartOfScreen) - M, -M};
  {
    TWindowDC Screen;
    TCanvasBinding Bind(Canvas(), Screen);
    Canvas()->Font()->Assign(S.Font);
    DrawTextA(Canvas()->Handle(), Hint.c_str(), Hint.Length(), &Text, DT_CALCRECT | TextFlags());
  }
  SetCaption(Hint);
  const int Width = Text.right - Text.left + 2 * M, Height = Text.bottom - Text.top + 2 * M;
  POINT At{Rect.Left, Rect.Top};
  if (S.HintPosition != hpNormal) GetCursorPos(&At);
  int Left = At.x, Top = At.y;
  switch (S.HintPosition) {
    case hpLeftAbove: Left -= Width + 4; Top -= Height + 4; break;
    case hpLeftUnder: Left -= Width + 4; Top += 24; break;
    case hpRightAbove: Left += 4; Top -= Height + 4; break;
    case hpRightUnder: Left += 4; Top += 24; break;
    case hpNormal: break;
  }
  if (Top + Height + 8 > ScreenH) Top = ScreenH - Height - 8;
  if (Left + Width + 8 > ScreenW) Left = ScreenW - Width - 8;
  Left = std::max(Left, 8);
  Top = std::max(Top, 8);
  SetBounds(Left, Top, Width, Height);
  SetWindowPos(Handle(), HWND_TOPMOST, Left, Top, Width, Height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

bool TqHintWindow::IsHintEndMessage(const MSG& Msg) {
  if (Msg.message == WM_MOUSEMOVE && ++FMoves > HintSettings->MoveBeforeOff) {
    FMoves = 0;
    return true;
  }
  return THintWindow::IsHintEndMessage(Msg);
}

void TqHintWindow::Paint() {
  const TqHintSettings& S = *HintSettings;
  TCanvas* C = Canvas();
  const TRect R = ClientRect();
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetColor(Color());
  if (S.Use3D) {
    C->FillRect(R);
    C->Polyline({TPoint(Rt - 1, T), TPoint(Rt - 1, B - 1), TPoint(L, B - 1)});
    C->Pen()->SetColor(S.ShadowColor);
    C->Polyline({TPoint(L, B - 1), TPoint(L, T), TPoint(Rt - 1, T)});
    C->Polyline({TPoint(Rt - 2, T + 1), TPoint(Rt - 2, B - 2), TPoint(L, B - 2)});
    C->Pen()->SetColor(S.HighLightColor);
    C->Polyline({TPoint(L + 1, B - 3), TPoint(L + 1, T + 1), TPoint(Rt - 2, T + 1)});
  } else {
    C->Rectangle(R);
  }
  const int M = Margin();
  RECT Text{L + M, T + M, Rt - M, B - M};
  C->Font()->Assign(S.Font);
  const AnsiString Hint = Caption();
  DrawTextA(C->Handle(), Hint.c_str(), Hint.Length(), &Text, TextFlags());
  if (S.OnHintPaint) S.OnHintPaint(this);
}

ORV_IMPLEMENT_COMPONENT_NOPROPS(TqHintWindow, THintWindow)

// ---------------------------------------------------------------------------------------------
// TqHint

TqHint::TqHint(TComponent* AOwner) : TComponent(AOwner) { HintSettings->Reset(); }

TqHint::~TqHint() {
  if (!HintSettings) return;
  if (FSetHintPaint && HintSettings->OnHintPaint == FSetHintPaint) HintSettings->OnHintPaint = nullptr;
  if (FSetHintShow && HintSettings->OnHintShow == FSetHintShow) HintSettings->OnHintShow = nullptr;
}

void TqHint::Loaded() {
  TComponent::Loaded();
  UpDate();
}

void TqHint::UpDate() {
  if (Application && Application->ShowHint()) {
    Application->SetShowHint(false);
    HintWindowClass = TqHintWindow::StaticClass();
    Application->SetShowHint(true);
  }
  HintWindowClass = TqHintWindow::StaticClass();
}

void TqHint::SetPartOfScreen(TqHintDiv Value) {
  if (!TqHintDivRange.Contains(Value)) RangeError();
  Store(HintSettings->PartOfScreen, Value);
}

void TqHint::SetMoveBeforeOff(TqMoveDist Value) {
  if (!TqMoveDistRange.Contains(Value)) RangeError();
  Store(HintSettings->MoveBeforeOff, Value);
}

void TqHint::SetFont(TFont* Value) {
  TFont* F = HintSettings->Font;
  if (Value && Value != F) {
    F->SetName(Value->Name());
    F->SetColor(Value->Color());
    F->SetHeight(Value->Height());
    F->SetPitch(Value->Pitch());
    F->SetStyle(Value->Style());
  }
  if (!HasState(csLoading)) UpDate();
}

void TqHint::SetOnHintPaint(TNotifyEvent Value) {
  HintSettings->OnHintPaint = Value;
  FSetHintPaint = Value;
}

void TqHint::SetOnHintShow(TqHintShowEvent Value) {
  HintSettings->OnHintShow = Value;
  FSetHintShow = Value;
}

static constinit const TPropInfo TqHint_Props[] = {
    PropColor<&TqHint::HighLightColor, &TqHint::SetHighLightColor>("HighLightColor", clBtnHighlight),
    PropColor<&TqHint::ShadowColor, &TqHint::SetShadowColor>("ShadowColor", clBtnShadow),
    PropEnum<&TqHint::HintPosition, &TqHint::SetHintPosition>("HintPosition", TqHintPosType, hpLeftAbove),
    PropSubrange<&TqHint::PartOfScreen, &TqHint::SetPartOfScreen>("PartOfScreen", TqHintDivRange, 2),
    PropSubrange<&TqHint::MoveBeforeOff, &TqHint::SetMoveBeforeOff>("MoveBeforeOff", TqMoveDistRange, 5),
    PropBool<&TqHint::MultiLine, &TqHint::SetMultiLine>("MultiLine", true),
    PropBool<&TqHint::Use3D, &TqHint::SetUse3D>("Use3D", true),
    PropEvent<&TqHint::OnHintPaint, &TqHint::SetOnHintPaint>("OnHintPaint"),
    PropEvent<&TqHint::OnHintShow, &TqHint::SetOnHintShow>("OnHintShow"),
    PropObject<&TqHint::Font, &TqHint::SetFont>("Font"),
};
ORV_IMPLEMENT_COMPONENT(TqHint, TComponent, TqHint_Props)

namespace {
const struct THintRegistration {
  THintRegistration() { RegisterClasses({TqHint::StaticClass(), TqHintWindow::StaticClass()}); }
} HintRegistration;
}  // namespace
