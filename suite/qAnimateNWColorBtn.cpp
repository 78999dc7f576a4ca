#include "suite/qAnimateNWColorBtn.h"
#include "suite/qAnimateFastBmp.h"
#include "vcl/Menus.h"

using namespace qanimate;

// ---------------------------------------------------------------------------------------------
// TqNWColorBtn

TqNWColorBtn::TqNWColorBtn(TComponent* AOwner) : inherited(AOwner) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csClickEvents) | StyleOf(csSetCaption) | StyleOf(csOpaque));
  SetParentColor(false);
  TControl::SetColor(clWindow);
  SetBounds(Left(), Top(), 89, 33);
}

void TqNWColorBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_SYSCOLORCHANGE: CMInvalidateOnly(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqNWColorBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
}

// ----- setters

void TqNWColorBtn::SetLeftOffSet(int Value) {
  if (FLeftOffSet == Value) return;
  FLeftOffSet = Value;
  Invalidate();
}

void TqNWColorBtn::SetTopOffSet(int Value) {
  if (FTopOffSet == Value) return;
  FTopOffSet = Value;
  Invalidate();
}

void TqNWColorBtn::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) ExcludeStyle(csOpaque);
  else IncludeStyle(csOpaque);
  FHover = false;
  if (HasState(csLoading)) return;
  SetMouseIn();
  Invalidate();
}

void TqNWColorBtn::SetGlassValue(TqGlassValue Value) {
  FGlassValue = TqGlassValueRange.Clamp(Value);
  Invalidate();
}

// ----- mouse and keys

void TqNWColorBtn::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  // Flat or not, hover follows the mouse: it picks the hot image as well as the flat edge.
  if (!FHover && Enabled()) {
    FHover = true;
    Repaint();
  }
  if (OnMouseEnter) OnMouseEnter(this);
}

void TqNWColorBtn::CMMouseLeave(TMessage& Message) {
  if (!FHeld) {
    FHover = false;
    Invalidate();
  }
  inherited::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TqNWColorBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || !Inside(X, Y)) return;
  if (!FPressed) {
    FHover = true;
    FPressed = true;
    Invalidate();
  }
  FHeld = true;
}

void TqNWColorBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (!FHeld) return;
  FPressed = false;
  FHeld = false;
  if (FTransparent) Repaint();
  else Invalidate();
  SetMouseIn();
}

void TqNWColorBtn::Click() {
  SetMouseIn();
  FPressed = false;
  FHeld = false;
  if (FTransparent) Invalidate();
  else Repaint();
  inherited::Click();
}

void TqNWColorBtn::CMDialogChar(TMessage& Message) {
  if (IsAccel((unsigned short)Message.WParam, Caption())) {
    Click();
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TqNWColorBtn::CNKeyDown(TMessage& Message) {
  if (Message.WParam == VK_RETURN) {
    Message.Result = 1;
    Click();
    return;
  }
  inherited::Dispatch(Message);
}

void TqNWColorBtn::CMInvalidateOnly(TMessage&) { Invalidate(); }

// ----- painting

void TqNWColorBtn::PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) {
  DrawCaption(C, Caption(), TextRect, Flags, Enabled());
}

void TqNWColorBtn::Paint() {
  const int W = Width(), H = Height(), R = W - 1, B = H - 1;
  const TRect Client = Rect(0, 0, W, H);
  TBitmap Bmp;
  Bmp.SetSize(W, H);
  TCanvas* C = Bmp.Canvas();
  C->Brush()->SetStyle(bsSolid);
  if (!FTransparent) {
    C->Brush()->SetColor(Color());
    C->FillRect(Client);
  } else {
    // What the parent painted beneath, lightened through the glass.
    C->CopyRect(Client, Canvas(), Client);
    if (FGlassValue > 0) {
      TBitmap Glass;
      Glass.SetSize(W, H);
      Glass.Canvas()->Brush()->SetColor(RGB(FGlassValue, FGlassValue, FGlassValue));
      Glass.Canvas()->FillRect(Client);
      C->SetCopyMode(cmSrcPaint);
      C->CopyRect(Client, Glass.Canvas(), Client);
      C->SetCopyMode(cmSrcCopy);
    }
  }
  if (FFrame && EdgeShown()) DrawButtonEdge(C, R, B, 0, FPressed, ShadowColor(), HighLightColor());
  TRect Text = Rect(FLeftOffSet, FTopOffSet, W - FLeftOffSet, H - FTopOffSet);
  Text.Offset(Shift(), Shift());
  C->SetFont(Font());
  PaintContent(C, Text, CaptionFlags(), R, B);
  Canvas()->CopyRect(Client, C, Client);
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqNWColorBtn_Props[] = {
    TqColorButtonProps<TqNWColorBtn>::Flat(),
    TqColorButtonProps<TqNWColorBtn>::HorzAlign(),
    TqColorButtonProps<TqNWColorBtn>::MultipleLines(),
    TqColorButtonProps<TqNWColorBtn>::WordWrap(),
    TqColorButtonProps<TqNWColorBtn>::Alignment(),
    TqColorButtonProps<TqNWColorBtn>::Cancel(),
    TControlProps::Color(clWindow),
    TqColorButtonProps<TqNWColorBtn>::HighLightColor(),
    TqColorButtonProps<TqNWColorBtn>::ShadowColor(),
    TqColorButtonProps<TqNWColorBtn>::Width(),
    TqColorButtonProps<TqNWColorBtn>::Height(),
    PropBool<&TqNWColorBtn::Frame, &TqNWColorBtn::SetFrame>("Frame", true),
    PropBool<&TqNWColorBtn::Movement, &TqNWColorBtn::SetMovement>("Movement", true),
    PropInt<&TqNWColorBtn::LeftOffSet, &TqNWColorBtn::SetLeftOffSet>("LeftOffSet", 5),
    PropInt<&TqNWColorBtn::TopOffSet, &TqNWColorBtn::SetTopOffSet>("TopOffSet", 5),
    PropBool<&TqNWColorBtn::Transparent, &TqNWColorBtn::SetTransparent>("Transparent", false),
    PropSubrange<&TqNWColorBtn::GlassValue, &TqNWColorBtn::SetGlassValue>("GlassValue", TqGlassValueRange, 0),
    TqColorButtonProps<TqNWColorBtn>::OnPaint(),
    TqColorButtonProps<TqNWColorBtn>::OnMouseEnter(),
    TqColorButtonProps<TqNWColorBtn>::OnMouseLeave(),
    PopupMenuProp(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Font(),
    TControlProps::ParentFont(),
    TControlProps::Caption(),
    TControlProps::ParentColor(false),
    TControlProps::Enabled(),
    TControlProps::ParentShowHint(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
};
ORV_IMPLEMENT_COMPONENT(TqNWColorBtn, TGraphicControl, TqNWColorBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqNWBitColBtn

void TqNWBitColBtn::SetGlyphMargin(unsigned Value) {
  FGlyphMargin = Value;
  Resplit();
}

void TqNWBitColBtn::PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) {
  qanimate::TGlyphStates& S = States();
  TBitmap* Up = S.Up();
  const int GW = Up->Width(), GH = Up->Height(), Margin = int(FGlyphMargin);
  const bool Right = BitmapWhere() == q_BWRight;
  if (!TextOnTop()) {
    if (Right) TextRect.Right -= GW + Margin;
    else TextRect.Left += GW + Margin;
  }
  const int X = (Right ? R - GW - Margin : Margin) + Shift();
  const int Y = (B - GH) / 2 + 1 + (Pressed() && Movement() ? 1 : 0);
  TBitmap* Image = Pressed()    ? S.Down()
                   : !Enabled() ? S.Disabled()
                   : Hover() && !HasState(csDesigning) ? S.Hot()
                                                      : Up;
  TransparentBlt(C, Image, X, Y, PaintTransparentColor());
  DrawCaption(C, Caption(), TextRect, Flags, Enabled());
}

static constinit const TPropInfo TqNWBitColBtn_Props[] = {
    TqGlyphProps<TqNWBitColBtn>::Glyph(),
    TqGlyphProps<TqNWBitColBtn>::NumGlyphs(),
    TqGlyphProps<TqNWBitColBtn>::TransparentColor(),
    TqGlyphProps<TqNWBitColBtn>::BitmapWhere(),
    TqGlyphProps<TqNWBitColBtn>::AutoBackColor(),
    TqGlyphProps<TqNWBitColBtn>::TextOnTop(),
    PropInt<&TqNWBitColBtn::GlyphMargin, &TqNWBitColBtn::SetGlyphMargin>("GlyphMargin", 5),
};
ORV_IMPLEMENT_COMPONENT(TqNWBitColBtn, TqNWColorBtn, TqNWBitColBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqNWIconColBtn

void TqNWIconColBtn::SetGlyphMargin(unsigned Value) {
  FGlyphMargin = Value;
  Invalidate();
}

void TqNWIconColBtn::PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) {
  const bool On = Enabled();
  TIcon* Icon = CurrentIcon();
  const int IW = Icon->Width(), IH = Icon->Height(), Margin = int(FGlyphMargin);
  const bool Right = IconWhere() == q_BWRight;
  if (Right) TextRect.Right -= IW;
  else TextRect.Left += IW;
  DrawCaption(C, Caption(), TextRect, Flags, On);
  const int X = (Right ? R - IW - Margin : Margin) + Shift();
  const int Y = (B - IH) / 2 + 1 + (Pressed() && Movement() ? 1 : 0);
  if (IW > 0) DrawIcon(C->Handle(), X, Y, Icon->Handle());
}

static constinit const TPropInfo TqNWIconColBtn_Props[] = {
    TqIconProps<TqNWIconColBtn>::GlyphEnabled(),
    TqIconProps<TqNWIconColBtn>::GlyphDown(),
    TqIconProps<TqNWIconColBtn>::GlyphDisabled(),
    TqIconProps<TqNWIconColBtn>::IconWhere(),
    TqIconProps<TqNWIconColBtn>::AutoAllIcons(),
    PropInt<&TqNWIconColBtn::GlyphMargin, &TqNWIconColBtn::SetGlyphMargin>("GlyphMargin", 5),
    TqIconProps<TqNWIconColBtn>::Width(),
    TqIconProps<TqNWIconColBtn>::Height(),
};
ORV_IMPLEMENT_COMPONENT(TqNWIconColBtn, TqNWColorBtn, TqNWIconColBtn_Props)

namespace {
struct TNWColorBtnRegistration {
  TNWColorBtnRegistration() {
    RegisterClasses({TqNWColorBtn::StaticClass(), TqNWBitColBtn::StaticClass(), TqNWIconColBtn::StaticClass()});
  }
} NWColorBtnRegistration;
}  // namespace
