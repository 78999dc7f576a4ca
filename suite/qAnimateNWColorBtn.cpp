#include "suite/qAnimateNWColorBtn.h"
#include "suite/qAnimateFastBmp.h"
#include "vcl/Menus.h"

using namespace qanimate;

// ---------------------------------------------------------------------------------------------
// TqNWColorBtn

TqNWColorBtn::TqNWColorBtn(TComponent* AOwner) : TGraphicControl(AOwner) {
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
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqNWColorBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
}

void TqNWColorBtn::SetMouseIn() {
  if (!Enabled()) return;
  POINT P{};
  GetCursorPos(&P);
  if (FindDragTarget(TPoint(P), true) != this) {
    FHover = true;
    Perform(CM_MOUSELEAVE);
  } else {
    FHover = false;
    Perform(CM_MOUSEENTER);
  }
}

// ----- setters

void TqNWColorBtn::Changed(bool& Field, bool Value) {
  if (Field == Value) return;
  Field = Value;
  if (HasState(csLoading)) return;
  SetMouseIn();
  Invalidate();
}

void TqNWColorBtn::SetFlat(bool Value) { Changed(FFlat, Value); }
void TqNWColorBtn::SetFrame(bool Value) { Changed(FFrame, Value); }
void TqNWColorBtn::SetMovement(bool Value) { Changed(FMovement, Value); }

void TqNWColorBtn::SetHorzAlign(qbHorzAlign Value) {
  FHorzAlign = Value;
  Invalidate();
}

void TqNWColorBtn::SetMultipleLines(bool Value) {
  FMultipleLines = Value;
  Invalidate();
}

void TqNWColorBtn::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Invalidate();
}

void TqNWColorBtn::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TqNWColorBtn::SetHighLightColor(TColor Value) {
  if (FHighLightColor == Value) return;
  FHighLightColor = Value;
  Invalidate();
}

void TqNWColorBtn::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  Invalidate();
}

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
  FGlassValue = std::clamp(Value, 0, 255);
  Invalidate();
}

// ----- mouse and keys

void TqNWColorBtn::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FFlat && !FHover && Enabled()) {
    FHover = true;
    Repaint();
  }
  if (OnMouseEnter) OnMouseEnter(this);
}

void TqNWColorBtn::CMMouseLeave(TMessage& Message) {
  if (FFlat && !FHeld) {
    FHover = false;
    Invalidate();
  }
  inherited::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TqNWColorBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || X < 0 || X >= ClientWidth() || Y < 0 || Y >= ClientHeight()) return;
  if (!FPressed) {
    FHover = true;
    FPressed = true;
    Invalidate();
  }
  FHeld = true;
}

void TqNWColorBtn::WMMouseMove(TMessage& Message) {
  if (!FHover) SetMouseIn();
  if (!FHeld) {
    inherited::Dispatch(Message);
    return;
  }
  const int X = MessageX(Message), Y = MessageY(Message);
  const bool Inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
  if (Inside != FPressed) {
    FPressed = Inside;
    Invalidate();
  }
  MouseMove(KeysToShiftState(unsigned(Message.WParam)), X, Y);
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

void TqNWColorBtn::WMRButtonUp(TMessage& Message) {
  if (!FFlat || !PopupMenu()) {
    inherited::Dispatch(Message);
    return;
  }
  FHover = false;
  Repaint();
  inherited::Dispatch(Message);
  SetMouseIn();
}

void TqNWColorBtn::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

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

void TqNWColorBtn::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  SetMouseIn();
  Invalidate();
}

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
  if (FFrame && (!FFlat || (FHover && Enabled()) || FHeld || FPressed || HasState(csDesigning)))
    DrawButtonEdge(C, R, B, 0, FPressed, FShadowColor, FHighLightColor);
  TRect Text = Rect(FLeftOffSet, FTopOffSet, W - FLeftOffSet, H - FTopOffSet);
  Text.Offset(Shift(), Shift());
  C->SetFont(Font());
  PaintContent(C, Text, ButtonTextFlags(FAlignment, FHorzAlign, FMultipleLines, FWordWrap), R, B);
  Canvas()->CopyRect(Client, C, Client);
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqNWColorBtn_Props[] = {
    PropBool<&TqNWColorBtn::Flat, &TqNWColorBtn::SetFlat>("Flat", false),
    PropEnum<&TqNWColorBtn::HorzAlign, &TqNWColorBtn::SetHorzAlign>("HorzAlign", qbHorzAlignType, qbha_Center),
    PropBool<&TqNWColorBtn::MultipleLines, &TqNWColorBtn::SetMultipleLines>("MultipleLines", false),
    PropBool<&TqNWColorBtn::WordWrap, &TqNWColorBtn::SetWordWrap>("WordWrap", false),
    PropEnum<&TqNWColorBtn::Alignment, &TqNWColorBtn::SetAlignment>("Alignment", TAlignmentType, taCenter),
    PropBool<&TqNWColorBtn::Cancel, &TqNWColorBtn::SetCancel>("Cancel", false),
    TControlProps::Color(clWindow),
    PropColor<&TqNWColorBtn::HighLightColor, &TqNWColorBtn::SetHighLightColor>("HighLightColor", clBtnHighlight),
    PropColor<&TqNWColorBtn::ShadowColor, &TqNWColorBtn::SetShadowColor>("ShadowColor", clBtnShadow),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 89),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 33),
    PropBool<&TqNWColorBtn::Frame, &TqNWColorBtn::SetFrame>("Frame", true),
    PropBool<&TqNWColorBtn::Movement, &TqNWColorBtn::SetMovement>("Movement", true),
    PropInt<&TqNWColorBtn::LeftOffSet, &TqNWColorBtn::SetLeftOffSet>("LeftOffSet", 5),
    PropInt<&TqNWColorBtn::TopOffSet, &TqNWColorBtn::SetTopOffSet>("TopOffSet", 5),
    PropBool<&TqNWColorBtn::Transparent, &TqNWColorBtn::SetTransparent>("Transparent", false),
    PropInt<&TqNWColorBtn::GlassValue, &TqNWColorBtn::SetGlassValue>("GlassValue", 0),
    PropEvent<&TqNWColorBtn::OnPaint>("OnPaint"),
    PropEvent<&TqNWColorBtn::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqNWColorBtn::OnMouseLeave>("OnMouseLeave"),
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

TqNWBitColBtn::TqNWBitColBtn(TComponent* AOwner) : TqNWColorBtn(AOwner), FGlyph(New<TBitmap>()) {
  FGlyph->OnChange = TNotifyEvent::Bind<&TqNWBitColBtn::GlyphChanged>(this);
}

TqNWBitColBtn::~TqNWBitColBtn() {
  FGlyph->OnChange = nullptr;
  TObject::Free(FGlyph);
}

void TqNWBitColBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqNWBitColBtn::Loaded() {
  inherited::Loaded();
  SplitBitmap();
}

void TqNWBitColBtn::SplitBitmap() {
  FStates.Split(FGlyph, FNumGlyphs, Color());
  if (FAutoBackColor) FTransparentColor = FStates.AutoTransparentColor();
  Invalidate();
}

void TqNWBitColBtn::GlyphChanged(TObject*) {
  if (!HasState(csLoading)) SplitBitmap();
}

void TqNWBitColBtn::CMColorChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!HasState(csLoading)) SplitBitmap();
}

void TqNWBitColBtn::SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }

void TqNWBitColBtn::SetNumGlyphs(int Value) {
  FNumGlyphs = GlyphCount(Value);
  if (!HasState(csLoading)) SplitBitmap();
}

void TqNWBitColBtn::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FAutoBackColor = false;
  if (!HasState(csLoading)) SplitBitmap();
}

void TqNWBitColBtn::SetBitmapWhere(tBitWhere Value) {
  if (FBitmapWhere == Value) return;
  FBitmapWhere = Value;
  Invalidate();
}

void TqNWBitColBtn::SetAutoBackColor(bool Value) {
  FAutoBackColor = Value;
  if (!HasState(csLoading)) SplitBitmap();
}

void TqNWBitColBtn::SetTextOnTop(bool Value) {
  FTextOnTop = Value;
  if (!HasState(csLoading)) SplitBitmap();
}

void TqNWBitColBtn::SetGlyphMargin(unsigned Value) {
  FGlyphMargin = Value;
  if (!HasState(csLoading)) SplitBitmap();
}

void TqNWBitColBtn::PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) {
  TBitmap* Up = FStates.Up();
  const int GW = Up->Width(), GH = Up->Height(), Margin = int(FGlyphMargin);
  const bool Right = FBitmapWhere == q_BWRight;
  if (!FTextOnTop) {
    if (Right) TextRect.Right -= GW + Margin;
    else TextRect.Left += GW + Margin;
  }
  const int X = (Right ? R - GW - Margin : Margin) + Shift();
  const int Y = (B - GH) / 2 + 1 + (Pressed() && Movement() ? 1 : 0);
  TBitmap* Image = Pressed()     ? FStates.Down()
                   : !Enabled()  ? FStates.Disabled()
                   : Hover() && !HasState(csDesigning) ? FStates.Hot()
                                                      : Up;
  TransparentBlt(C, Image, X, Y, FTransparentColor);
  DrawCaption(C, Caption(), TextRect, Flags, Enabled());
}

static constinit const TPropInfo TqNWBitColBtn_Props[] = {
    PropObject<&TqNWBitColBtn::Glyph, &TqNWBitColBtn::SetGlyph>("Glyph"),
    PropInt<&TqNWBitColBtn::NumGlyphs, &TqNWBitColBtn::SetNumGlyphs>("NumGlyphs", 1),
    PropColor<&TqNWBitColBtn::TransparentColor, &TqNWBitColBtn::SetTransparentColor>("TransparentColor", clFuchsia),
    PropEnum<&TqNWBitColBtn::BitmapWhere, &TqNWBitColBtn::SetBitmapWhere>("BitmapWhere", tBitWhereType, q_BWLeft),
    PropBool<&TqNWBitColBtn::AutoBackColor, &TqNWBitColBtn::SetAutoBackColor>("AutoBackColor", false),
    PropBool<&TqNWBitColBtn::TextOnTop, &TqNWBitColBtn::SetTextOnTop>("TextOnTop", false),
    PropInt<&TqNWBitColBtn::GlyphMargin, &TqNWBitColBtn::SetGlyphMargin>("GlyphMargin", 5),
};
ORV_IMPLEMENT_COMPONENT(TqNWBitColBtn, TqNWColorBtn, TqNWBitColBtn_Props)

// ---------------------------------------------------------------------------------------------
// TqNWIconColBtn

TqNWIconColBtn::TqNWIconColBtn(TComponent* AOwner)
    : TqNWColorBtn(AOwner), FGlyphEnabled(New<TIcon>()), FGlyphDown(New<TIcon>()), FGlyphDisabled(New<TIcon>()) {
  SetBounds(Left(), Top(), 140, 44);
}

TqNWIconColBtn::~TqNWIconColBtn() {
  TObject::Free(FGlyphEnabled);
  TObject::Free(FGlyphDown);
  TObject::Free(FGlyphDisabled);
}

void TqNWIconColBtn::SetGlyphEnabled(TIcon* Value) {
  FGlyphEnabled->Assign(Value);
  SetIcons();
}

void TqNWIconColBtn::SetGlyphDown(TIcon* Value) {
  FGlyphDown->Assign(Value);
  SetIcons();
}

void TqNWIconColBtn::SetGlyphDisabled(TIcon* Value) {
  FGlyphDisabled->Assign(Value);
  SetIcons();
}

void TqNWIconColBtn::SetIconWhere(tBitWhere Value) {
  if (FIconWhere == Value) return;
  FIconWhere = Value;
  Invalidate();
}

void TqNWIconColBtn::SetGlyphMargin(unsigned Value) {
  FGlyphMargin = Value;
  Invalidate();
}

void TqNWIconColBtn::SetIcons() {
  if (!FAutoAllIcons) return;
  FillInIcons(FGlyphEnabled, FGlyphDown, FGlyphDisabled);
  Invalidate();
}

void TqNWIconColBtn::PaintContent(TCanvas* C, TRect TextRect, unsigned Flags, int R, int B) {
  const bool On = Enabled();
  TIcon* Icon = Pressed() && On ? FGlyphDown : On ? FGlyphEnabled : FGlyphDisabled;
  const int IW = Icon->Width(), IH = Icon->Height(), Margin = int(FGlyphMargin);
  const bool Right = FIconWhere == q_BWRight;
  if (Right) TextRect.Right -= IW;
  else TextRect.Left += IW;
  DrawCaption(C, Caption(), TextRect, Flags, On);
  const int X = (Right ? R - IW - Margin : Margin) + Shift();
  const int Y = (B - IH) / 2 + 1 + (Pressed() && Movement() ? 1 : 0);
  if (IW > 0) DrawIcon(C->Handle(), X, Y, Icon->Handle());
}

static constinit const TPropInfo TqNWIconColBtn_Props[] = {
    PropObject<&TqNWIconColBtn::GlyphEnabled, &TqNWIconColBtn::SetGlyphEnabled>("GlyphEnabled"),
    PropObject<&TqNWIconColBtn::GlyphDown, &TqNWIconColBtn::SetGlyphDown>("GlyphDown"),
    PropObject<&TqNWIconColBtn::GlyphDisabled, &TqNWIconColBtn::SetGlyphDisabled>("GlyphDisabled"),
    PropEnum<&TqNWIconColBtn::IconWhere, &TqNWIconColBtn::SetIconWhere>("IconWhere", tBitWhereType, q_BWLeft),
    PropBool<&TqNWIconColBtn::AutoAllIcons, &TqNWIconColBtn::SetAutoAllIcons>("AutoAllIcons", true),
    PropInt<&TqNWIconColBtn::GlyphMargin, &TqNWIconColBtn::SetGlyphMargin>("GlyphMargin", 5),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 140),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 44),
};
ORV_IMPLEMENT_COMPONENT(TqNWIconColBtn, TqNWColorBtn, TqNWIconColBtn_Props)

namespace {
struct TNWColorBtnRegistration {
  TNWColorBtnRegistration() {
    RegisterClasses({TqNWColorBtn::StaticClass(), TqNWBitColBtn::StaticClass(), TqNWIconColBtn::StaticClass()});
  }
} NWColorBtnRegistration;
}  // namespace
