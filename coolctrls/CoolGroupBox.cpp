#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

namespace {
constexpr int CaptionIndent = 8;
}  // namespace

TCoolGroupBox::TCoolGroupBox(TComponent* AOwner)
    : TCustomGroupBox(AOwner),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolGroupBox::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolGroupBox::CoolImagesChange>(this)) {}

TCoolGroupBox::~TCoolGroupBox() = default;

void TCoolGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case CM_CHANGED: CMChanged(Message); break;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

// ----- properties

void TCoolGroupBox::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!Loading() && !HasState(csDestroying)) Invalidate();
}

void TCoolGroupBox::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolGroupBox::SetWallpaper(TBitmap* Value) {
  if (Value && Value == FWallpaper.WallpaperIfAny()) return;
  if (!Loading()) Perform(CM_COLORCHANGED, 0, 0);
  FWallpaper.SetWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolGroupBox::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  if (!Loading()) Perform(CM_COLORCHANGED, 0, 0);
  FTransparent = Value;
  if (!Loading()) Invalidate();
}

void TCoolGroupBox::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  if (!Loading()) Invalidate();
}

// While loading the shadow setters only store: a resource's SimpleView wins whatever order it
// is read in, and what derives from the group box takes its look once loaded.
void TCoolGroupBox::ShadowChanged() {
  if (Loading()) return;
  Invalidate();
  Changed();
}

void TCoolGroupBox::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  if (!Loading()) FSimpleView = false;
  ShadowChanged();
}

void TCoolGroupBox::SetShadowSize(uint8_t Value) {
  if (FShadowSize == Value) return;
  FShadowSize = Value;
  if (!Loading()) FSimpleView = false;
  ShadowChanged();
}

void TCoolGroupBox::SetShadowPos(TShadowPosition Value) {
  if (FShadowPos == Value) return;
  FShadowPos = Value;
  if (!Loading()) FSimpleView = false;
  ShadowChanged();
}

void TCoolGroupBox::SetSimpleView(bool Value) {
  if (FSimpleView == Value) return;
  FSimpleView = Value;
  ShadowChanged();
}

void TCoolGroupBox::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<intptr_t>(this)); }

// ----- notifications and messages

void TCoolGroupBox::WallpaperChanged(TObject*) {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolGroupBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

void TCoolGroupBox::WMEraseBkgnd(TMessage& Message) {
  if (FWallpaper.Erase(this, reinterpret_cast<HDC>(Message.WParam), FTransparent, FTransparencyLevel))
    Message.Result = 1;
  else
    inherited::Dispatch(Message);
}

void TCoolGroupBox::CMParentColorChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Perform(CM_COLORCHANGED, 0, 0);
  Invalidate();
}

void TCoolGroupBox::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TCoolGroupBox::WMMove(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TCoolGroupBox::CMChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Parent()) Parent()->Perform(CM_CHANGED, Message.WParam, Message.LParam);
}

void TCoolGroupBox::CMCtl3DChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

// ----- painting

TRect TCoolGroupBox::CaptionRect() const {
  const AnsiString Text = Caption();
  if (Text.IsEmpty()) return TRect();
  TWindowDC Screen(nullptr);
  TSelectGuard Sel(Screen, Font()->Handle());
  SIZE Zero{}, Extent{};
  GetTextExtentPoint32A(Screen, "0", 1, &Zero);
  GetTextExtentPoint32A(Screen, Text.c_str(), Text.Length(), &Extent);
  // Right to left: against the frame's right edge (one pixel in with the 3-D frame).
  const int FrameRight = Ctl3D() ? Width() - 1 : Width();
  TRect T(UseRightToLeftReading() ? FrameRight - Extent.cx - CaptionIndent : CaptionIndent, 0, 0, Zero.cy);
  T.Right = T.Left;
  DrawTextA(Screen, Text.c_str(), Text.Length(), &AsRECT(T), DrawTextBiDiModeFlags(DT_SINGLELINE) | DT_CALCRECT);
  T.Inflate(FShadowSize, 0);
  return T;
}

void TCoolGroupBox::Paint() {
  TCanvas* C = Canvas();
  C->SetFont(Font());
  const int H = C->TextHeight("0");
  TRect F(0, H / 2 - 1, Width(), Height());
  if (Ctl3D()) {
    F.Left++;
    F.Top++;
    C->Brush()->SetColor(clBtnHighlight);
    C->FrameRect(F);
    F.Offset(-1, -1);
    C->Brush()->SetColor(clBtnShadow);
  } else {
    C->Brush()->SetColor(clWindowFrame);
  }
  C->FrameRect(F);

  const AnsiString Text = Caption();
  if (Text.IsEmpty()) return;
  TRect T = CaptionRect();
  const unsigned Format = DrawTextBiDiModeFlags(DT_SINGLELINE);
  HDC DC = C->Handle();

  // What shows behind the caption, hiding the frame line there.
  SetBkMode(DC, TRANSPARENT);
  if (FTransparent) {
    TSaveDC Save(DC);
    IntersectClipRect(DC, T.Left, T.Top, T.Right, T.Bottom);
    PaintBackground(this, DC, FTransparencyLevel);
  } else if (TBitmap* W = FWallpaper.Source()) {
    // Tiles aligned with the rest of the background.
    DrawWallpaperEx(DC, W, ClientRect(), T, true, cmSrcCopy);
  } else {
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(T);
    DC = C->Handle();
    SetBkMode(DC, OPAQUE);
    SetBkColor(DC, COLORREF(ColorToRGB(Color())));
  }

  const COLORREF FontRGB = COLORREF(ColorToRGB(Font()->Color()));
  if (!Enabled()) {
    // Embossed where the plain text would stand.
    int X = T.Left;
    if (Format & DT_RIGHT) X = T.Right - C->TextWidth(Text);
    SetTextColor(DC, FontRGB);
    DrawStateA(DC, nullptr, nullptr, reinterpret_cast<LPARAM>(Text.c_str()), WPARAM(Text.Length()), X, T.Top, 0, 0,
               DST_PREFIXTEXT | DSS_DISABLED);
  } else if (FSimpleView) {
    SetTextColor(DC, FontRGB);
    DrawTextA(DC, Text.c_str(), Text.Length(), &AsRECT(T), Format);
  } else {
    Draw3DText(DC, T, FShadowPos, Text, Format, Font()->Color(), FShadowColor, FShadowSize);
  }
}

// ----- published properties

static constinit const TPropInfo TCoolGroupBox_Props[] = {
    PropObject<&TCoolGroupBox::About, &TCoolGroupBox::SetAbout>("About"),
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::BiDiMode(),
    TControlProps::Caption(),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    PropRef<&TCoolGroupBox::CoolImages, &TCoolGroupBox::SetCoolImages>("CoolImages"),
    TControlProps::Ctl3D(),
    TControlProps::DockSite(),
    TControlProps::DragCursor(),
    TControlProps::DragKind(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropInt<&TCoolGroupBox::idWallpaper, &TCoolGroupBox::SetIdWallpaper>("idWallpaper", -1),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentColor(),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropColor<&TCoolGroupBox::ShadowColor, &TCoolGroupBox::SetShadowColor>("ShadowColor", clBtnHighlight),
    PropEnum<&TCoolGroupBox::ShadowPos, &TCoolGroupBox::SetShadowPos>("ShadowPos", TShadowPositionType, spLeftTop),
    PropInt<&TCoolGroupBox::ShadowSize, &TCoolGroupBox::SetShadowSize>("ShadowSize", 1),
    TControlProps::ShowHint(),
    PropBool<&TCoolGroupBox::SimpleView, &TCoolGroupBox::SetSimpleView>("SimpleView", false),
    TControlProps::TabOrder(),
    TControlProps::TabStop(false),
    PropBool<&TCoolGroupBox::Transparent, &TCoolGroupBox::SetTransparent>("Transparent", false),
    PropInt<&TCoolGroupBox::TransparencyLevel, &TCoolGroupBox::SetTransparencyLevel>("TransparencyLevel", 0),
    TControlProps::Visible(),
    PropObject<&TCoolGroupBox::Wallpaper, &TCoolGroupBox::SetWallpaper>("Wallpaper"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDockDrop(),
    TControlProps::OnDockOver(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDock(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnGetSiteInfo(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDock(),
    TControlProps::OnStartDrag(),
    TControlProps::OnUnDock(),
};
ORV_IMPLEMENT_COMPONENT(TCoolGroupBox, TCustomGroupBox, TCoolGroupBox_Props)
