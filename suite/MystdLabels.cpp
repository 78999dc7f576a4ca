#include "suite/MystdLabels.h"

#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"

#include <shellapi.h>

#include <cmath>
#include <numbers>

namespace {

// Round to nearest, ties to even.
int RoundInt(long double V) { return int(std::nearbyintl(V)); }

void DrawCaption(TCanvas* ACanvas, const AnsiString& Text, TRect& Rect, unsigned Flags) {
  DrawTextA(ACanvas->Handle(), Text.c_str(), Text.Length(), &AsRECT(Rect), Flags);
}

// The dashed frame that shows an invisible control at design time.
void DrawDesignFrame(TCanvas* C, int Width, int Height) {
  C->Pen()->SetStyle(psDash);
  C->Pen()->SetColor(clBlack);
  C->Pen()->SetWidth(1);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(0, 0, Width, Height);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TqBigLabel

TqBigLabel::TqBigLabel(TComponent* AOwner) : TLabel(AOwner) {}

void TqBigLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

AnsiString TqBigLabel::PrepareText(TCanvas* ACanvas, unsigned& Flags) {
  AnsiString Text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (Text.IsEmpty() || (ShowAccelChar() && Text == "&"))) Text = " ";
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  // A long caption is laid out in lines both when measured and when painted.
  if (Text.Length() > LongCaption) Flags |= DT_WORDBREAK;
  ACanvas->SetFont(Font());
  return Text;
}

TColor TqBigLabel::TextColor() const { return Enabled() ? Font()->Color() : clGrayText; }

void TqBigLabel::DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) {
  AnsiString Text = PrepareText(ACanvas, Flags);
  ACanvas->Font()->SetColor(TextColor());
  DrawCaption(ACanvas, Text, Rect, Flags);
}

void TqBigLabel::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TqBigLabel::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

static constinit const TPropInfo TqBigLabel_Props[] = {
    PropEvent<&TqBigLabel::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqBigLabel::OnMouseLeave>("OnMouseLeave"),
};
ORV_IMPLEMENT_COMPONENT(TqBigLabel, TLabel, TqBigLabel_Props)

// ---------------------------------------------------------------------------------------------
// Tq3DLabel

void Tq3DLabel::DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) {
  AnsiString Text = PrepareText(ACanvas, Flags);
  // The extra copies only add ink; a measurement needs the plain text alone.
  if (FUse3D && !(Flags & DT_CALCRECT)) {
    TRect R = Rect;
    TFont* F = ACanvas->Font();
    if (FUseDropShadow) {
      R.Offset(FDropShadowSize, FDropShadowSize);
      F->SetColor(FShadowColor);
      DrawCaption(ACanvas, Text, R, Flags);
    } else {
      R.Offset(-1, -1);
      F->SetColor(FRaised ? FHighlightColor : FShadowColor);
      DrawCaption(ACanvas, Text, R, Flags);
      R.Offset(2, 2);
      F->SetColor(FRaised ? FShadowColor : FHighlightColor);
      DrawCaption(ACanvas, Text, R, Flags);
    }
  }
  ACanvas->Font()->SetColor(TextColor());
  DrawCaption(ACanvas, Text, Rect, Flags);
}

void Tq3DLabel::Changed() {
  if (HasState(csLoading)) return;
  Refresh();
}

void Tq3DLabel::SetRaised(bool Value) {
  if (FRaised == Value) return;
  FRaised = Value;
  Changed();
}

void Tq3DLabel::SetUse3D(bool Value) {
  if (FUse3D == Value) return;
  FUse3D = Value;
  Changed();
}

void Tq3DLabel::SetHighlightColor(TColor Value) {
  if (FHighlightColor == Value) return;
  FHighlightColor = Value;
  Changed();
}

void Tq3DLabel::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  Changed();
}

void Tq3DLabel::SetUseDropShadow(bool Value) {
  if (FUseDropShadow == Value) return;
  FUseDropShadow = Value;
  Changed();
}

void Tq3DLabel::SetDropShadowSize(int Value) {
  if (FDropShadowSize == Value) return;
  FDropShadowSize = Value;
  Changed();
}

static constinit const TPropInfo Tq3DLabel_Props[] = {
    PropBool<&Tq3DLabel::Raised, &Tq3DLabel::SetRaised>("Raised", true),
    PropBool<&Tq3DLabel::Use3D, &Tq3DLabel::SetUse3D>("Use3D", true),
    PropColor<&Tq3DLabel::HighlightColor, &Tq3DLabel::SetHighlightColor>("HighlightColor", clBtnHighlight),
    PropColor<&Tq3DLabel::ShadowColor, &Tq3DLabel::SetShadowColor>("ShadowColor", clBtnShadow),
    PropBool<&Tq3DLabel::UseDropShadow, &Tq3DLabel::SetUseDropShadow>("UseDropShadow", false),
    PropInt<&Tq3DLabel::DropShadowSize, &Tq3DLabel::SetDropShadowSize>("DropShadowSize", 2),
};
ORV_IMPLEMENT_COMPONENT(Tq3DLabel, TqBigLabel, Tq3DLabel_Props)

// ---------------------------------------------------------------------------------------------
// TqcURLLabel

TqcURLLabel::TqcURLLabel(TComponent* AOwner) : Tq3DLabel(AOwner) {
  TFont* F = Font();
  F->SetColor(clGreen);
  F->SetHeight(-16);
  F->SetName("Arial");
  F->SetStyle(FontStyle(fsUnderline));
  SetCursor(crHandPoint);
  SetUse3D(false);
}

void TqcURLLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcURLLabel::Click() {
  inherited::Click();
  if (FURL.IsEmpty()) return;
  HWND Owner = Application ? Application->Handle() : nullptr;
  FLastClickOK = ShellExecuteSucceeded(ShellExecuteA(Owner, nullptr, FURL.c_str(), nullptr, nullptr, SW_SHOW));
}

void TqcURLLabel::CMDialogChar(TMessage& Message) {
  if (Enabled() && IsAccel(static_cast<unsigned short>(Message.WParam), Caption())) {
    Click();
    Message.Result = 1;
  }
  inherited::Dispatch(Message);
}

static constinit const TPropInfo TqcURLLabel_Props[] = {
    PropStr<&TqcURLLabel::URL, &TqcURLLabel::SetURL>("URL", AlwaysStored),  // starts at the example URL
    PropBool<&TqcURLLabel::LastClickOK, &TqcURLLabel::SetLastClickOK>("LastClickOK", true),
    PropIntType<&TControl::Cursor, &TControl::SetCursor>("Cursor", "TCursor", crHandPoint),
    PropBool<&Tq3DLabel::Use3D, &Tq3DLabel::SetUse3D>("Use3D", false),
    // The link's own font makes ParentFont false from the start.
    TControlProps::ParentFont(false),
};
ORV_IMPLEMENT_COMPONENT(TqcURLLabel, Tq3DLabel, TqcURLLabel_Props)

// ---------------------------------------------------------------------------------------------
// TqAngleLabel

TqAngleLabel::TqAngleLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
  // The control is kept square for its caption, never fitted to the text box.
  TCustomLabel::SetAutoSize(false);
  SetTransparent(true);
}

void TqAngleLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      if (!HasState(csLoading) && Parent()) UpdateSquare();
      break;
    default: inherited::Dispatch(Message);
  }
}

void TqAngleLabel::Loaded() {
  inherited::Loaded();
  if (Parent()) UpdateSquare();
}

void TqAngleLabel::SetAngle(int Value) {
  if (!TqAngleRange.Contains(Value)) throw ERangeError("Range check error");
  if (FAngle == Value) return;
  FAngle = TqAngle(Value);
  const long double Rad = Value * std::numbers::pi_v<long double> / 180;
  FCos = std::cos(Rad);
  FSin = std::sin(Rad);
  // Without a parent there is nothing to measure on or repaint; Loaded and Paint size it.
  if (HasState(csLoading) || !Parent()) return;
  UpdateSquare();
}

int TqAngleLabel::SquareSide() const {
  TWindowDC DC(nullptr);
  TCanvas Measure;
  Measure.SetHandle(DC);
  Measure.SetFont(Font());
  int Side = Measure.TextWidth(GetLabelText()) + 16;
  Measure.SetHandle(nullptr);
  return Side;
}

void TqAngleLabel::UpdateSquare() {
  int Side = SquareSide();
  SetBounds(Left(), Top(), Side, Side);
  TWinControl* P = Parent();
  if (P && P->HandleAllocated()) {
    TRect R = BoundsRect();
    InvalidateRect(P->WindowHandle(), &AsRECT(R), TRUE);
  }
}

void TqAngleLabel::Changed() {
  if (HasState(csLoading)) return;
  Invalidate();
}

void TqAngleLabel::SetRaised(bool Value) {
  if (FRaised == Value) return;
  FRaised = Value;
  Changed();
}

void TqAngleLabel::SetUse3D(bool Value) {
  if (FUse3D == Value) return;
  FUse3D = Value;
  Changed();
}

void TqAngleLabel::SetHighlightColor(TColor Value) {
  if (FHighlightColor == Value) return;
  FHighlightColor = Value;
  Changed();
}

void TqAngleLabel::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  Changed();
}

void TqAngleLabel::SetUseDropShadow(bool Value) {
  if (FUseDropShadow == Value) return;
  FUseDropShadow = Value;
  Changed();
}

void TqAngleLabel::SetDropShadowSize(int Value) {
  if (FDropShadowSize == Value) return;
  FDropShadowSize = Value;
  Changed();
}

void TqAngleLabel::Paint() {
  TCanvas* C = Canvas();
  const AnsiString Text = GetLabelText();
  C->SetFont(Font());
  const int Side = C->TextWidth(Text) + 16;
  SetBounds(Left(), Top(), Side, Side);
  const int Cx = Side / 2, Cy = Side / 2;
  C->Brush()->SetStyle(bsClear);

  // The label's font turned to the angle; TrueType only, as only outlines rotate.
  LOGFONTA LF{};
  GetObjectA(C->Font()->Handle(), sizeof LF, &LF);
  LF.lfEscapement = FAngle * 10;
  LF.lfOrientation = FAngle * 10;
  LF.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  C->Font()->SetHandle(CreateFontIndirectA(&LF));

  const TSize Ext = C->TextExtent(Text);
  const long double Tw = Ext.cx, Th = Ext.cy, Co = FCos, Si = FSin;
  const int X = Cx - RoundInt(Tw / 2 * Co) - RoundInt(Th / 2 * Si);
  const int Y = Cy + RoundInt(Tw / 2 * Si) - RoundInt(Th / 2 * Co);

  if (!Transparent()) {
    const long double W = Tw + 7, H = Th + 5;
    const int WC = RoundInt(W / 2 * Co), WS = RoundInt(W / 2 * Si);
    const int HC = RoundInt(H / 2 * Co), HS = RoundInt(H / 2 * Si);
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->Pen()->SetColor(Color());
    C->Pen()->SetStyle(psSolid);
    C->Polygon({Point(Cx - WC - HS, Cy + WS - HC), Point(Cx + WC - HS, Cy - WS - HC),
                Point(Cx + WC + HS, Cy - WS + HC), Point(Cx - WC + HS, Cy + WS + HC)});
  }

  C->Brush()->SetStyle(bsClear);
  if (FUse3D) {
    if (FUseDropShadow) {
      C->Font()->SetColor(FShadowColor);
      C->TextOut(X + FDropShadowSize, Y + FDropShadowSize, Text);
    } else {
      C->Font()->SetColor(FRaised ? FHighlightColor : FShadowColor);
      C->TextOut(X - 1, Y - 1, Text);
      C->Font()->SetColor(FRaised ? FShadowColor : FHighlightColor);
      C->TextOut(X + 1, Y + 1, Text);
    }
  }
  C->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
  C->TextOut(X, Y, Text);

  if (HasState(csDesigning)) DrawDesignFrame(C, Width(), Height());
  if (OnPaint) OnPaint(this);
}

static constinit const TPropInfo TqAngleLabel_Props[] = {
    TControlProps::Anchors(),
    TControlProps::Caption(),
    TControlProps::Color(clWindow),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropBool<&TCustomLabel::Transparent, &TCustomLabel::SetTransparent>("Transparent", true),
    TControlProps::Visible(),
    PropInt<&TqAngleLabel::DropShadowSize, &TqAngleLabel::SetDropShadowSize>("DropShadowSize", 2),
    PropBool<&TqAngleLabel::UseDropShadow, &TqAngleLabel::SetUseDropShadow>("UseDropShadow", false),
    PropSubrange<&TqAngleLabel::Angle, &TqAngleLabel::SetAngle>("Angle", TqAngleRange, 0),
    PropEvent<&TqAngleLabel::OnPaint>("OnPaint"),
    PropBool<&TqAngleLabel::Raised, &TqAngleLabel::SetRaised>("Raised", true),
    PropBool<&TqAngleLabel::Use3D, &TqAngleLabel::SetUse3D>("Use3D", false),
    PropColor<&TqAngleLabel::HighlightColor, &TqAngleLabel::SetHighlightColor>("HighlightColor", clBtnHighlight),
    PropColor<&TqAngleLabel::ShadowColor, &TqAngleLabel::SetShadowColor>("ShadowColor", clBtnShadow),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqAngleLabel, TCustomLabel, TqAngleLabel_Props)

// ---------------------------------------------------------------------------------------------
// TqMouseSpot

TqMouseSpot::TqMouseSpot(TComponent* AOwner) : TCustomLabel(AOwner) {
  ExcludeStyle(csOpaque);
  TCustomLabel::SetAutoSize(false);
  SetBounds(Left(), Top(), 20, 20);
  SetTransparent(true);
  SetCaption("");
}

void TqMouseSpot::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqMouseSpot::Paint() {
  if (HasState(csDesigning)) DrawDesignFrame(Canvas(), Width(), Height());
  if (OnParentPaint) OnParentPaint(this);
}

void TqMouseSpot::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TqMouseSpot::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

static constinit const TPropInfo TqMouseSpot_Props[] = {
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 20),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 20),
    TControlProps::Anchors(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropEvent<&TqMouseSpot::OnParentPaint>("OnParentPaint"),
    PropEvent<&TqMouseSpot::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqMouseSpot::OnMouseLeave>("OnMouseLeave"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqMouseSpot, TCustomLabel, TqMouseSpot_Props)

namespace {
struct TMystdLabelsRegistration {
  TMystdLabelsRegistration() {
    RegisterClasses({TqBigLabel::StaticClass(), Tq3DLabel::StaticClass(), TqcURLLabel::StaticClass(),
                     TqAngleLabel::StaticClass(), TqMouseSpot::StaticClass()});
  }
} MystdLabelsRegistration;
}  // namespace
