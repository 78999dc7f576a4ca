#include "package/TControlButton.h"

#include <algorithm>

constexpr TEnumType TControlButtonStatesType{"TControlButtonStates",
                                             {"bsDefault", "bsInhibited", "bsInProcess", "bsState1", "bsState2"}};

namespace {
constexpr TColor Grey = TColor(0x808080);
constexpr TColor White = TColor(0xFFFFFF);
constexpr TColor Silver = TColor(0xC0C0C0);
constexpr TColor Black = TColor(0);

// One bevel level along Rect's edges: the bottom and right lines in BottomRight, then the top and
// left ones in TopLeft; Rect shrinks by 1.
void BevelLevel(TCanvas* C, TRect& R, TColor BottomRight, TColor TopLeft) {
  C->Pen()->SetColor(BottomRight);
  C->MoveTo(R.Left, R.Bottom - 1);
  C->LineTo(R.Right - 1, R.Bottom - 1);
  C->LineTo(R.Right - 1, R.Top);
  C->Pen()->SetColor(TopLeft);
  C->LineTo(R.Left, R.Top);
  C->LineTo(R.Left, R.Bottom - 1);
  R.Inflate(-1, -1);
}
}  // namespace

TControlButton::TControlButton(TComponent* AOwner) : TCustomControl(AOwner) {
  IncludeStyle(csOpaque);
  SetBounds(Left(), Top(), 75, 25);
  FCurBGColor = FDefaultBGColor;
  FCurTextColor = FDefaultTextColor;
  FCurText = FDefaultText;
  FBuffer = new TBitmap;
  FTimer = TComponent::Create<TTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(unsigned(FFlashRate));
  FTimer->OnTimer = TNotifyEvent::Bind<&TControlButton::OnTimer>(this);
}

TControlButton::~TControlButton() {
  TObject::Free(FTimer);
  delete FBuffer;
}

void TControlButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    default: inherited::Dispatch(Message);
  }
}

// The inherited handling keeps the window's own state (disabled, font) in step; the button then
// shows the change at once.
void TControlButton::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  PaintNow();
}

void TControlButton::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  PaintNow();
}

void TControlButton::CMTextChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  PaintNow();
}

void TControlButton::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TControlButton::PaintNow() {
  if (!HandleAllocated() || HasState(csLoading) || HasState(csDestroying)) return;
  Paint();
  // The DC a paint outside WM_PAINT took goes back at once.
  static_cast<TControlCanvas*>(Canvas())->FreeHandle();
}

void TControlButton::SetAndPaint(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  PaintNow();
}

void TControlButton::SetTextAndPaint(AnsiString& Field, const AnsiString& Value) {
  Field = Value;
  PaintNow();
}

void TControlButton::SetBevelWidth(int Value) {
  if (Value == FBevelWidth) return;
  FBevelWidth = std::clamp(Value, 1, 5);
  PaintNow();
}

void TControlButton::SetDefaultBGColor(TColor Value) {
  if (Value == FDefaultBGColor) return;
  FDefaultBGColor = Value;
  FCurBGColor = Value;
  PaintNow();
}

void TControlButton::SetDefaultText(const AnsiString& Value) { SetTextAndPaint(FDefaultText, Value); }

void TControlButton::SetDefaultTextColor(TColor Value) {
  if (Value == FDefaultTextColor) return;
  FDefaultTextColor = Value;
  FCurTextColor = Value;
  PaintNow();
}

void TControlButton::SetInProcessText(const AnsiString& Value) { SetTextAndPaint(FInProcessText, Value); }
void TControlButton::SetState1Text(const AnsiString& Value) { SetTextAndPaint(FState1Text, Value); }
void TControlButton::SetState2Text(const AnsiString& Value) { SetTextAndPaint(FState2Text, Value); }

void TControlButton::SetButtonState(TControlButtonStates State) {
  if (State == FButtonState) return;
  SetEnabled(true);
  FButtonState = State;
  if (State == bsInhibited) SetEnabled(false);
  PaintNow();
}

void TControlButton::SetFlashActive(bool On) {
  if (On == FFlashButton) return;
  if (HasState(csLoading)) {
    FFlashButton = On;  // Loaded starts it, from the state the resource gives
    return;
  }
  if (On) {
    FFlashPhase = 0;
    FSavedState = FButtonState;
    FFlashButton = true;
    FTimer->SetEnabled(true);
  } else {
    FTimer->SetEnabled(false);
    FFlashButton = false;
    SetButtonState(FSavedState);
  }
}

void TControlButton::Loaded() {
  inherited::Loaded();
  if (!FFlashButton) return;
  FFlashButton = false;
  SetFlashActive(true);
}

void TControlButton::SetFlashRate(int Value) {
  FFlashRate = std::max(Value, 1);
  FTimer->SetInterval(unsigned(FFlashRate));
}

void TControlButton::OnTimer(TObject*) {
  const TControlButtonStates Next = FFlashPhase == 0 ? FFlashButtonState : FSavedState;
  FFlashPhase ^= 1;
  SetButtonState(Next);
}

void TControlButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FMouseIsDown = true;
  PaintNow();
}

void TControlButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FMouseIsDown = false;
  PaintNow();
}

void TControlButton::BumpRect(TCanvas* Canvas, TRect& Rect, int Count) {
  for (int I = 0; I < Count; ++I) BevelLevel(Canvas, Rect, Grey, White);
}

void TControlButton::DimpRect(TCanvas* Canvas, TRect& Rect, int Count) {
  if (Count == 1) {
    BevelLevel(Canvas, Rect, White, Grey);
    return;
  }
  for (int I = 0; I < Count; ++I) BevelLevel(Canvas, Rect, Silver, Grey);
}

void TControlButton::DrawCaption(TCanvas* C, const TRect& R, bool Raise, bool Engraved) {
  TRect T = R;
  DrawTextA(C->Handle(), FCurText.c_str(), -1, AsRECTPtr(&T), DT_CALCRECT | DT_WORDBREAK);
  int DX = (R.Width() - T.Width()) / 2, DY = (R.Height() - T.Height()) / 2;
  if (Raise) {
    if (DX < 1) DX = 0;
    if (DY < 1) DY = 0;
  }
  T.Offset(DX, DY);
  const UINT Flags = DT_WORDBREAK | DT_VCENTER | DT_CENTER;
  if (!Engraved) {
    DrawTextA(C->Handle(), FCurText.c_str(), -1, AsRECTPtr(&T), Flags);
    return;
  }
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetColor(White);
  DrawTextA(C->Handle(), FCurText.c_str(), -1, AsRECTPtr(&T), Flags);
  T.Offset(-1, -1);
  C->Font()->SetColor(Grey);
  DrawTextA(C->Handle(), FCurText.c_str(), -1, AsRECTPtr(&T), Flags);
  C->Brush()->SetStyle(bsSolid);
}

void TControlButton::Paint() {
  const TRect Client = ClientRect();
  TRect R = Client;
  const int W = FBevelWidth;
  if (!(FBufferSize == Client.Size())) {
    FBuffer->SetSize(Client.Width(), Client.Height());
    FBufferSize = Client.Size();
  }

  switch (FButtonState) {
    case bsDefault:
      FCurBGColor = FDefaultBGColor;
      FCurText = FDefaultText;
      FCurTextColor = FDefaultTextColor;
      break;
    case bsInhibited: FCurText = FDefaultText; break;
    case bsInProcess:
      FCurBGColor = FInProcessBGColor;
      FCurText = FInProcessText;
      FCurTextColor = FInProcessTextColor;
      break;
    case bsState1:
      FCurBGColor = FState1BGColor;
      FCurText = FState1Text;
      FCurTextColor = FState1TextColor;
      break;
    case bsState2:
      FCurBGColor = FState2BGColor;
      FCurText = FState2Text;
      FCurTextColor = FState2TextColor;
      break;
  }
  if (FPressed && FMouseIsDown && FButtonState != bsInhibited) {
    FCurBGColor = FPressedBGColor;
    FCurTextColor = FPressedTextColor;
  }

  TCanvas* C = FBuffer->Canvas();
  C->Font()->Assign(Font());
  C->Font()->SetColor(FCurTextColor);
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Black);
  C->FrameRect(R);
  R.Inflate(-1, -1);
  const TRect R0 = R;
  C->Brush()->SetColor(Silver);
  C->FillRect(R);

  const auto OuterFrame = [&] {
    TRect F = R0;
    BumpRect(C, F, W);
    C->Brush()->SetColor(Silver);
    for (int I = 0; I < 4; ++I) {
      C->FrameRect(F);
      F.Inflate(-1, -1);
    }
    DimpRect(C, F, 1);
  };

  if (!Enabled()) {
    BumpRect(C, R, W);
    R.Inflate(-4, -4);
    C->Brush()->SetColor(Silver);
    C->FillRect(R);
    DimpRect(C, R, 1);
    R.Inflate(-1, -1);
    DrawCaption(C, R, true, true);
    OuterFrame();
  } else if (!FMouseIsDown) {
    BumpRect(C, R, W);
    R.Inflate(-4, -4);
    C->Brush()->SetColor(FCurBGColor);
    C->FillRect(R);
    DimpRect(C, R, 1);
    R.Inflate(-1, -1);
    DrawCaption(C, R, true, false);
    OuterFrame();
  } else {
    DimpRect(C, R, W);
    R.Inflate(-4, -4);
    const int O = W - 1 == 0 ? 1 : W - 1;
    R.Offset(O, O);
    C->Brush()->SetColor(FCurBGColor);
    C->FillRect(R);
    DimpRect(C, R, 1);
    R.Inflate(-1, -1);
    DrawCaption(C, R, false, false);
  }
  C->Brush()->SetColor(Black);
  C->FrameRect(Client);

  const TRect Clip = Canvas()->ClipRect();
  Canvas()->CopyRect(Clip, C, Clip);
}

static constinit const TPropInfo TControlButton_Props[] = {
    PropInt<&TControlButton::BevelWidth, &TControlButton::SetBevelWidth>("BevelWidth", 3),
    PropEnum<&TControlButton::ButtonState, &TControlButton::SetButtonState>("ButtonState", TControlButtonStatesType,
                                                                           bsDefault),
    PropColor<&TControlButton::DefaultBGColor, &TControlButton::SetDefaultBGColor>("DefaultBGColor", 0xC0C0C0),
    PropStr<&TControlButton::DefaultText, &TControlButton::SetDefaultText>("DefaultText", AlwaysStored),
    PropColor<&TControlButton::DefaultTextColor, &TControlButton::SetDefaultTextColor>("DefaultTextColor", 0x800000),
    PropBool<&TControlButton::FlashButton, &TControlButton::SetFlashActive>("FlashButton", false),
    PropEnum<&TControlButton::FlashButtonState, &TControlButton::SetFlashButtonState>(
        "FlashButtonState", TControlButtonStatesType, bsInProcess),
    PropInt<&TControlButton::FlashRate, &TControlButton::SetFlashRate>("FlashRate", 250),
    TControlProps::Font(),
    PropColor<&TControlButton::InProcessBGColor, &TControlButton::SetInProcessBGColor>("InProcessBGColor", 65280),
    PropStr<&TControlButton::InProcessText, &TControlButton::SetInProcessText>("InProcessText"),
    PropColor<&TControlButton::InProcessTextColor, &TControlButton::SetInProcessTextColor>("InProcessTextColor", 0),
    PropBool<&TControlButton::Pressed, &TControlButton::SetPressed>("Pressed", false),
    PropColor<&TControlButton::PressedBGColor, &TControlButton::SetPressedBGColor>("PressedBGColor", 65535),
    PropColor<&TControlButton::PressedTextColor, &TControlButton::SetPressedTextColor>("PressedTextColor", 0),
    PropColor<&TControlButton::State1BGColor, &TControlButton::SetState1BGColor>("State1BGColor", 8421504),
    PropStr<&TControlButton::State1Text, &TControlButton::SetState1Text>("State1Text"),
    PropColor<&TControlButton::State1TextColor, &TControlButton::SetState1TextColor>("State1TextColor", 65535),
    PropColor<&TControlButton::State2BGColor, &TControlButton::SetState2BGColor>("State2BGColor", 8421504),
    PropStr<&TControlButton::State2Text, &TControlButton::SetState2Text>("State2Text"),
    PropColor<&TControlButton::State2TextColor, &TControlButton::SetState2TextColor>("State2TextColor", 65535),
    TControlProps::OnClick(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseUp(),
};
ORV_IMPLEMENT_COMPONENT(TControlButton, TCustomControl, TControlButton_Props)

namespace {
struct TControlButtonClasses {
  TControlButtonClasses() { RegisterClass(TControlButton::StaticClass()); }
} ControlButtonClasses;
}  // namespace
