#include "suite/qAnimateColorBtn.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

using namespace qanimate;

// ---------------------------------------------------------------------------------------------
// TqColorBtn

TqColorBtn::TqColorBtn(TComponent* AOwner) : inherited(AOwner) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csClickEvents) | StyleOf(csSetCaption) | StyleOf(csOpaque) |
                  StyleOf(csDoubleClicks));
  SetTabStop(true);
  SetParentColor(false);
  TControl::SetColor(clWindow);
  SetBounds(Left(), Top(), 89, 33);
}

void TqColorBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
    case CM_FONTCHANGED: CMRepaintAfter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP: WMKeyUp(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CN_COMMAND: CNCommand(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqColorBtn::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TqColorBtn::CreateWnd() {
  inherited::CreateWnd();
  FActive = FDefault;
}

void TqColorBtn::SetButtonStyle(bool ADefault) {
  if (!HandleAllocated()) return;
  // The window is of its own class, not the system button's: the style bits are kept directly.
  const LONG_PTR Style = GetWindowLongPtrA(WindowHandle(), GWL_STYLE);
  const LONG_PTR Want = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((Style & 0xF) != Want) SetWindowLongPtrA(WindowHandle(), GWL_STYLE, (Style & ~LONG_PTR(0xF)) | Want);
}

bool TqColorBtn::ShowsDefault() const { return Focused() || FDefault; }

// ----- setters

void TqColorBtn::SetShowFocus(bool Value) {
  FShowFocus = Value;
  Invalidate();
}

void TqColorBtn::SetDefaultLook(TqcDefLook Value) {
  if (FDefaultLook == Value) return;
  FDefaultLook = Value;
  Invalidate();
}

void TqColorBtn::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  if (HasState(csLoading) || !HandleAllocated()) return;
  if (TCustomForm* Form = GetParentForm(this))
    Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(Form->ActiveControl()));
}

// ----- mouse

void TqColorBtn::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Flat() && !FHover && Enabled()) {
    FHover = true;
    Repaint();
  }
  if (FAutoFocus && !Focused() && CanFocus()) SetFocus();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TqColorBtn::CMMouseLeave(TMessage& Message) {
  if (Flat() && FHover && !FHeld) {
    FHover = false;
    Invalidate();
  }
  inherited::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TqColorBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || !Inside(X, Y)) return;
  if (!FPressed) {
    if (CanFocus()) SetFocus();
    FPressed = true;
    Repaint();
  }
  FHeld = true;
}

void TqColorBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (!FHeld) return;
  FPressed = false;
  FHeld = false;
  Repaint();
  SetMouseIn();
}

void TqColorBtn::Click() {
  FHover = false;
  SetMouseIn();
  FPressed = false;
  FHeld = false;
  Repaint();
  if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
  inherited::Click();
}

// ----- keyboard

void TqColorBtn::WMKeyDown(TMessage& Message) {
  if (Message.WParam != VK_SPACE) {
    inherited::Dispatch(Message);
    return;
  }
  if (FPressed) return;
  if (CanFocus()) SetFocus();
  SetMouseIn();
  FHeld = false;
  FPressed = true;
  Repaint();
}

void TqColorBtn::WMKeyUp(TMessage& Message) {
  if (Message.WParam != VK_SPACE) {
    inherited::Dispatch(Message);
    return;
  }
  if (!FPressed || FHeld) return;
  Click();
  FPressed = false;
  SetMouseIn();
  Repaint();
}

void TqColorBtn::CNKeyDown(TMessage& Message) {
  if (Message.WParam == VK_RETURN && Focused() && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  inherited::Dispatch(Message);
}

void TqColorBtn::CMDialogKey(TMessage& Message) {
  const unsigned Key = unsigned(Message.WParam);
  const TShiftState Modifiers = ShiftOf(ssShift) | ShiftOf(ssCtrl) | ShiftOf(ssAlt);
  if (((Key == VK_RETURN && FActive) || (Key == VK_ESCAPE && Cancel())) &&
      (KeyDataToShiftState(Message.LParam) & Modifiers) == 0 && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TqColorBtn::CMDialogChar(TMessage& Message) {
  if (IsAccel((unsigned short)Message.WParam, Caption()) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TqColorBtn::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == 0) Click();
}

// ----- state notifications

void TqColorBtn::CMFocusChanged(TMessage& Message) {
  auto* Focus = reinterpret_cast<TControl*>(Message.LParam);
  FActive = Focus && Focus->Is<TqColorBtn>() ? Focus == this : FDefault;
  SetButtonStyle(FActive);
  if (!Focused()) {
    FPressed = false;
    FHeld = false;
  }
  SetMouseIn();
  inherited::Dispatch(Message);
  Invalidate();
}

void TqColorBtn::CMRepaintAfter(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

// ----- painting

void TqColorBtn::PaintFace(TCanvas* C, int R, int B) {
  C->Brush()->SetColor(Color());
  C->FillRect(Rect(0, 0, R + 1, B + 1));
}

void TqColorBtn::PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) {
  DrawCaption(C, Caption(), TextRect, Flags, Enabled());
}

void TqColorBtn::Paint() {
  const int W = Width(), H = Height(), R = W - 1, B = H - 1;
  const bool Framed = FDefaultLook == dlFrame && ShowsDefault();
  const int D = Framed ? 1 : 0;
  TBitmap Bmp;
  Bmp.SetSize(W, H);
  TCanvas* C = Bmp.Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Pen()->SetWidth(1);
  PaintFace(C, R, B);
  if (EdgeShown()) DrawButtonEdge(C, R, B, D, FPressed, ShadowColor(), HighLightColor());
  if (Framed) {
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(1);
    C->Polyline({Point(0, 0), Point(R, 0), Point(R, B), Point(0, B), Point(0, 0)});
  }
  TRect Text = Rect(5, 5, R - 4, B - 4);
  C->SetFont(Font());
  if (FDefaultLook == dlBold) C->Font()->SetStyle(ShowsDefault() ? FontStyle(fsBold) : 0);
  if (Enabled() && FPressed) Text.Offset(1, 1);
  PaintContent(C, Text, CaptionFlags(), R, B);
  if (Focused() && Enabled() && FShowFocus) {
    C->Brush()->SetStyle(bsSolid);
    TRect Focus = Rect(0, 0, W, H);
    Focus.Inflate(-(D + 3), -(D + 3));
    C->DrawFocusRect(Focus);
  }
  Canvas()->CopyRect(ClientRect(), C, ClientRect());
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqColorBtn_Props[] = {
    PropBool<&TqColorBtn::ShowFocus, &TqColorBtn::SetShowFocus>("ShowFocus", true),
    PropEnum<&TqColorBtn::DefaultLook, &TqColorBtn::SetDefaultLook>("DefaultLook", TqcDefLookType, dlBold),
    PropBool<&TqColorBtn::AutoFocus, &TqColorBtn::SetAutoFocus>("AutoFocus", false),
    TqColorButtonProps<TqColorBtn>::Flat(),
    TqColorButtonProps<TqColorBtn>::HorzAlign(),
    TqColorButtonProps<TqColorBtn>::MultipleLines(),
    TqColorButtonProps<TqColorBtn>::WordWrap(),
    TqColorButtonProps<TqColorBtn>::Alignment(),
    TqColorButtonProps<TqColorBtn>::Cancel(),
    PropInt<&TqColorBtn::ModalResult, &TqColorBtn::SetModalResult>("ModalResult", mrNone),
    PropBool<&TqColorBtn::Default, &TqColorBtn::SetDefault>("Default", false),
    TControlProps::Color(clWindow),
    TqColorButtonProps<TqColorBtn>::HighLightColor(),
    TqColorButtonProps<TqColorBtn>::ShadowColor(),
    TqColorButtonProps<TqColorBtn>::Width(),
    TqColorButtonProps<TqColorBtn>::Height(),
    TqColorButtonProps<TqColorBtn>::OnPaint(),
    TqColorButtonProps<TqColorBtn>::OnMouseEnter(),
    TqColorButtonProps<TqColorBtn>::OnMouseLeave(),
    TControlProps::Anchors(),
    PopupMenuProp(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Font(),
    TControlProps::ParentFont(),
    TControlProps::Caption(),
    TControlProps::ParentColor(false),
    TControlProps::HelpContext(),
    TControlProps::TabStop(true),
    TControlProps::TabOrder(),
    TControlProps::Enabled(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
};
ORV_IMPLEMENT_COMPONENT(TqColorBtn, TCustomControl, TqColorBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqGradBtn

TqGradBtn::TqGradBtn(TComponent* AOwner) : TqColorBtn(AOwner) { ColorSet(); }

void TqGradBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqGradBtn::ColorSet() { FRamp = TqColorRamp::From(Color(), FEndColor); }

void TqGradBtn::CMColorChanged(TMessage& Message) {
  ColorSet();
  inherited::Dispatch(Message);
}

void TqGradBtn::CMSysColorChange(TMessage& Message) {
  ColorSet();
  inherited::Dispatch(Message);
}

void TqGradBtn::SetFillType(gradType Value) {
  FFillType = Value;
  ColorSet();
  Invalidate();
}

void TqGradBtn::SetEndColor(TColor Value) {
  FEndColor = Value;
  ColorSet();
  Invalidate();
}

void TqGradBtn::SetBands(int Value) {
  FBands = Value;
  Invalidate();
}

void TqGradBtn::PaintFace(TCanvas* C, int R, int B) {
  // The plain face first: all of it without a gradient, the last column and row under one.
  TqColorBtn::PaintFace(C, R, B);
  PaintGradientFace(C, R, B, Pressed(), Color(), FEndColor, FFillType, FBands, FRamp);
}

static constinit const TPropInfo TqGradBtn_Props[] = {
    PropEnum<&TqGradBtn::FillType, &TqGradBtn::SetFillType>("FillType", gradTypeType, gVert),
    PropColor<&TqGradBtn::EndColor, &TqGradBtn::SetEndColor>("EndColor", clBtnFace),
    PropInt<&TqGradBtn::Bands, &TqGradBtn::SetBands>("Bands", 75),
};
ORV_IMPLEMENT_COMPONENT(TqGradBtn, TqColorBtn, TqGradBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqBitColBtn

void TqBitColBtn::PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) {
  const TColor Transparent = PaintTransparentColor();
  qanimate::TGlyphStates& S = States();
  TBitmap* Up = S.Up();
  const int GW = Up->Width(), GH = Up->Height();
  const bool Right = BitmapWhere() == q_BWRight, On = Enabled(), Down = Pressed() && On;
  if (!TextOnTop()) {
    if (Right) TextRect.Right -= GW;
    else TextRect.Left += GW;
  }
  const int X = Right ? R - GW - (Down ? 4 : 5) : (Down ? 6 : 5);
  const int Y = (B - GH) / 2 + 1 + (Pressed() ? 1 : 0);
  TBitmap* Image = Pressed() ? S.Down() : !On ? S.Disabled() : Hover() ? S.Hot() : Up;
  if (!On) DrawCaptionPass(C, Caption(), TextRect, Flags, clWhite, 1);
  if (!Image->Empty() && Image->Width() > 0) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->BrushCopy(Rect(X, Y, X + GW, Y + GH), Image, Rect(0, 0, Image->Width(), Image->Height()),
                 Transparent);
  }
  if (On) DrawCaption(C, Caption(), TextRect, Flags, true);
  else DrawCaptionPass(C, Caption(), TextRect, Flags, clGray, 0);
}

static constinit const TPropInfo TqBitColBtn_Props[] = {
    TqGlyphProps<TqBitColBtn>::Glyph(),
    TqGlyphProps<TqBitColBtn>::NumGlyphs(),
    TqGlyphProps<TqBitColBtn>::TransparentColor(),
    TqGlyphProps<TqBitColBtn>::BitmapWhere(),
    TqGlyphProps<TqBitColBtn>::AutoBackColor(),
    TqGlyphProps<TqBitColBtn>::TextOnTop(),
};
ORV_IMPLEMENT_COMPONENT(TqBitColBtn, TqColorBtn, TqBitColBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqIconColBtn

void TqIconColBtn::PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) {
  const bool On = Enabled(), Down = Pressed() && On;
  TIcon* Icon = CurrentIcon();
  const int IW = Icon->Width(), IH = Icon->Height();
  const bool Right = IconWhere() == q_BWRight;
  if (Right) TextRect.Right -= IW;
  else TextRect.Left += IW;
  DrawCaption(C, Caption(), TextRect, Flags, On);
  const int X = Right ? R - IW - (Down ? 4 : 5) : (Down ? 6 : 5);
  const int Y = (B - IH) / 2 + 1 + (Pressed() ? 1 : 0);
  if (IW > 0) DrawIcon(C->Handle(), X, Y, Icon->Handle());
}

static constinit const TPropInfo TqIconColBtn_Props[] = {
    TqIconProps<TqIconColBtn>::GlyphEnabled(),
    TqIconProps<TqIconColBtn>::GlyphDown(),
    TqIconProps<TqIconColBtn>::GlyphDisabled(),
    TqIconProps<TqIconColBtn>::IconWhere(),
    TqIconProps<TqIconColBtn>::AutoAllIcons(),
    TqIconProps<TqIconColBtn>::Width(),
    TqIconProps<TqIconColBtn>::Height(),
};
ORV_IMPLEMENT_COMPONENT(TqIconColBtn, TqColorBtn, TqIconColBtn_Props)

namespace {
struct TColorBtnRegistration {
  TColorBtnRegistration() {
    RegisterClasses({TqColorBtn::StaticClass(), TqGradBtn::StaticClass(), TqBitColBtn::StaticClass(),
                     TqIconColBtn::StaticClass()});
  }
} ColorBtnRegistration;
}  // namespace
