#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

#include <algorithm>

namespace {
UINT BevelEdge(TBevelCut Inner, TBevelCut Outer) {
  const UINT I = Inner == bvLowered ? BDR_SUNKENINNER : Inner == bvRaised ? BDR_RAISEDINNER : 0;
  const UINT O = Outer == bvLowered ? BDR_SUNKENOUTER : Outer == bvRaised ? BDR_RAISEDOUTER : 0;
  return I | O;
}

TAlignment Mirrored(TAlignment A) {
  return A == taLeftJustify ? taRightJustify : A == taRightJustify ? taLeftJustify : A;
}
}  // namespace

TCoolLabel::TCoolLabel(TComponent* AOwner)
    : TCustomLabel(AOwner),
      FGlyph(new TGlyph()),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolLabel::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolLabel::Redraw>(this)),
      FBorderPen(new TPen()) {
  FGlyph->OnChange = TNotifyEvent::Bind<&TCoolLabel::Redraw>(this);
  FBorderPen->OnChange = TNotifyEvent::Bind<&TCoolLabel::Redraw>(this);
}

TCoolLabel::~TCoolLabel() {
  FBorderPen->OnChange = nullptr;
  TObject::Free(FBorderPen);
  FGlyph->OnChange = nullptr;
  TObject::Free(FGlyph);
}

void TCoolLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolLabel::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  AdjustBounds();
}

// ----- properties

void TCoolLabel::SetEdgeBorders(TEdgeBorders Value) {
  if (FEdgeBorders == Value) return;
  FEdgeBorders = Value;
  if (!Loading()) Invalidate();
}

void TCoolLabel::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!Loading() && !HasState(csDestroying)) Invalidate();
}

void TCoolLabel::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolLabel::SetWallpaper(TBitmap* Value) {
  if (Value && Value == FWallpaper.WallpaperIfAny()) return;
  FWallpaper.SetWallpaper(Value);
  if (!Loading()) Repaint();
}

void TCoolLabel::SetGlyph(TBitmap* Value) {
  FGlyph->SetGlyph(Value);
  AdjustBounds();
}

void TCoolLabel::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp(Value, TNumGlyphs(1), TNumGlyphs(2));
  if (FGlyph->NumGlyphs() == Value) return;
  FGlyph->SetNumGlyphs(Value);
  if (Loading()) return;
  AdjustBounds();
  Invalidate();
}

// The shadow's size and place move the text, so an auto-sized label follows them. While
// loading they only store: a resource's SimpleView wins whatever order it is read in.
void TCoolLabel::ShadowChanged() {
  if (Loading()) return;
  AdjustBounds();
  Repaint();
}

void TCoolLabel::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  if (!Loading()) FSimpleView = false;
  ShadowChanged();
}

void TCoolLabel::SetShadowSize(uint8_t Value) {
  if (FShadowSize == Value) return;
  FShadowSize = Value;
  if (!Loading()) FSimpleView = false;
  ShadowChanged();
}

void TCoolLabel::SetShadowPos(TShadowPosition Value) {
  if (FShadowPos == Value) return;
  FShadowPos = Value;
  if (!Loading()) FSimpleView = false;
  ShadowChanged();
}

void TCoolLabel::SetSimpleView(bool Value) {
  if (FSimpleView == Value) return;
  FSimpleView = Value;
  ShadowChanged();
}

void TCoolLabel::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  if (!Loading()) Repaint();
}

void TCoolLabel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  if (!Loading()) Repaint();
}

void TCoolLabel::SetBevelsOffset(int Value) {
  if (FBevelsOffset == Value) return;
  FBevelsOffset = Value;
  if (Value != 0) SetAutoSize(false);
  if (!Loading()) Repaint();
}

int TCoolLabel::GlyphWidth() const {
  TBitmap* G = FGlyph->Glyph();
  if (!G || G->Empty()) return 0;
  return G->Width() / std::max(1, int(FGlyph->NumGlyphs()));
}

TAlignment TCoolLabel::DrawnAlignment() const {
  return UseRightToLeftAlignment() ? Mirrored(Alignment()) : Alignment();
}

// ----- notifications

void TCoolLabel::WallpaperChanged(TObject*) {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

// ----- text and size

void TCoolLabel::DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) {
  AnsiString Text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (Text.IsEmpty() || (ShowAccelChar() && Text == "&"))) Text += ' ';
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  Flags = DrawTextBiDiModeFlags(Flags);
  ACanvas->SetFont(Font());
  HDC DC = ACanvas->Handle();
  if (Flags & DT_CALCRECT) {
    // The text and its shadow (or the embossing's light edge) together, wherever the shadow lies.
    DrawTextA(DC, Text.c_str(), Text.Length(), &AsRECT(Rect), Flags);
    const int D = !Enabled() ? 1 : FSimpleView ? 0 : FShadowSize;
    Rect.Right += D;
    Rect.Bottom += D;
    return;
  }
  if (!Enabled()) {
    Draw3DText(DC, Rect, spRightBottom, Text, Flags, clBtnShadow, clBtnHighlight, 1);
  } else if (FSimpleView) {
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
    DrawTextA(DC, Text.c_str(), Text.Length(), &AsRECT(Rect), Flags);
  } else {
    Draw3DText(DC, Rect, FShadowPos, Text, Flags, Font()->Color(), FShadowColor, FShadowSize);
  }
}

void TCoolLabel::AdjustBounds() {
  if (HasState(csReading | csLoading | csDestroying) || !AutoSize() || !Parent()) return;
  TRect R = ClientRect();
  {
    TWindowDC DC(nullptr);
    TCanvas Measure;
    Measure.SetHandle(DC);  // unbound by the canvas going first
    DoDrawText(&Measure, R, DT_EXPANDTABS | DT_CALCRECT | (WordWrap() ? DT_WORDBREAK : 0));
  }
  if (const int GW = GlyphWidth()) {
    R.Right += GW + 2;
    R.Bottom = std::max(R.Bottom, FGlyph->Glyph()->Height());
  }
  int X = Left();
  const TAlignment A = UseRightToLeftReading() ? Mirrored(Alignment()) : Alignment();
  if (A == taRightJustify) X += Width() - R.Right;
  SetBounds(X, Top(), R.Right, R.Bottom);
}

// ----- painting

void TCoolLabel::Paint() {
  static const unsigned Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  if (!Transparent() && !FWallpaper.Draw(C->Handle(), Client, true, cmSrcCopy)) {
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(Client);
  }

  TRect R = Client;
  if (const UINT Edge = BevelEdge(FBevelInner, FBevelOuter)) {
    RECT E = AsRECT(R);
    DrawEdge(C->Handle(), &E, Edge, BF_RECT);
    R.Inflate(-FBevelsOffset, -FBevelsOffset);
  }

  C->Brush()->SetStyle(bsClear);
  const unsigned Flags = (WordWrap() ? DT_WORDBREAK : 0) | Alignments[Alignment()];
  if (Layout() != tlTop) {
    // Placed within what the bevels leave (the whole height without them).
    TRect Calc = R;
    DoDrawText(C, Calc, Flags | DT_EXPANDTABS | DT_CALCRECT);
    const int Room = R.Bottom - Calc.Bottom;
    R.Offset(0, Layout() == tlBottom ? Room : Room / 2);
  }

  if (const int GW = GlyphWidth()) {
    C->SetFont(Font());
    const int TW = C->TextWidth(Caption());
    int X = R.Left;
    // Beside the text as it is drawn: measured from the text rectangle, so the pair stays
    // together inside the bevels.
    switch (DrawnAlignment()) {
      case taLeftJustify: R.Left += GW + 2; break;
      case taRightJustify: X = R.Right - TW - GW - 2; break;
      case taCenter:
        X = R.Left + (R.Right - R.Left) / 2 - (TW + GW + 2) / 2;
        R.Left += GW + 2;
        break;
    }
    FGlyph->DrawImage(C, TPoint(X, R.Top), Enabled(), true, clNone);
  }

  DoDrawText(C, R, Flags | DT_EXPANDTABS);
  DrawClientBorders(C, Client, FEdgeBorders, FBorderPen);
}

// ----- published properties

static constinit const TPropInfo TCoolLabel_Props[] = {
    PropObject<&TCoolLabel::About, &TCoolLabel::SetAbout>("About"),
    TControlProps::Align(),
    PropEnum<&TCustomLabel::Alignment, &TCustomLabel::SetAlignment>("Alignment", TAlignmentType, taLeftJustify),
    TControlProps::Anchors(),
    TControlProps::AutoSize(true),
    PropEnum<&TCoolLabel::BevelInner, &TCoolLabel::SetBevelInner>("BevelInner", TBevelCutType, bvNone),
    PropEnum<&TCoolLabel::BevelOuter, &TCoolLabel::SetBevelOuter>("BevelOuter", TBevelCutType, bvNone),
    PropInt<&TCoolLabel::BevelsOffset, &TCoolLabel::SetBevelsOffset>("BevelsOffset", 0),
    TControlProps::BiDiMode(),
    PropObject<&TCoolLabel::BorderPen, &TCoolLabel::SetBorderPen>("BorderPen"),
    TControlProps::Caption(),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    PropRef<&TCoolLabel::CoolImages, &TCoolLabel::SetCoolImages>("CoolImages"),
    TControlProps::DragCursor(),
    TControlProps::DragKind(),
    TControlProps::DragMode(),
    PropSet<&TCoolLabel::EdgeBorders, &TCoolLabel::SetEdgeBorders>("EdgeBorders", TEdgeBorderType, 0),
    TControlProps::Enabled(),
    PropRef<&TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl>("FocusControl"),
    TControlProps::Font(),
    PropObject<&TCoolLabel::Glyph, &TCoolLabel::SetGlyph>("Glyph"),
    PropInt<&TCoolLabel::idWallpaper, &TCoolLabel::SetIdWallpaper>("idWallpaper", -1),
    PropEnum<&TCustomLabel::Layout, &TCustomLabel::SetLayout>("Layout", TTextLayoutType, tlTop),
    PropInt<&TCoolLabel::NumGlyphs, &TCoolLabel::SetNumGlyphs>("NumGlyphs", 1),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentColor(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropColor<&TCoolLabel::ShadowColor, &TCoolLabel::SetShadowColor>("ShadowColor", clBtnHighlight),
    PropEnum<&TCoolLabel::ShadowPos, &TCoolLabel::SetShadowPos>("ShadowPos", TShadowPositionType, spLeftTop),
    PropInt<&TCoolLabel::ShadowSize, &TCoolLabel::SetShadowSize>("ShadowSize", 1),
    PropBool<&TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar>("ShowAccelChar", true),
    TControlProps::ShowHint(),
    PropBool<&TCoolLabel::SimpleView, &TCoolLabel::SetSimpleView>("SimpleView", false),
    PropBool<&TCustomLabel::Transparent, &TCustomLabel::SetTransparent>("Transparent", false),
    TControlProps::Visible(),
    PropObject<&TCoolLabel::Wallpaper, &TCoolLabel::SetWallpaper>("Wallpaper"),
    PropBool<&TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap>("WordWrap", false),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDock(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDock(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TCoolLabel, TCustomLabel, TCoolLabel_Props)

namespace {
struct TCoolLabelUnit {
  TCoolLabelUnit() { RegisterClass(TCoolLabel::StaticClass()); }
} CoolLabelUnit;
}  // namespace
