#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

constexpr TEnumType TCoolThumbTabPositionType{"TCoolThumbTabPosition",
                                              {"tpLeftBottom", "tpRightBottom", "tpLeftTop", "tpRightTop"}};

namespace {
void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// TCoolThumbTab

TCoolThumbTab::TCoolThumbTab(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FHook(TComponent::Create<TWndHook>(nullptr)),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolThumbTab::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolThumbTab::CoolImagesChange>(this)) {
  FHook->OnAfterMessage = TWinMessageEvent::Bind<&TCoolThumbTab::AfterMessage>(this);
  SetBounds(0, 0, 49, 49);
}

TCoolThumbTab::~TCoolThumbTab() {
  FHook->OnAfterMessage = nullptr;
  TObject::Free(FHook);
}

void TCoolThumbTab::Loaded() {
  inherited::Loaded();
  UpdateHook();
}

void TCoolThumbTab::SetParent(TWinControl* AParent) {
  inherited::SetParent(AParent);
  UpdateHook();
}

void TCoolThumbTab::UpdateHook() {
  if (Loading() || HasState(csDestroying)) return;
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form->HasState(csDestroying)) Form = nullptr;
  if (FHook->WinControl() != Form) FHook->SetWinControl(Form);
  if (Form && !FHook->Active()) {
    Form->HandleNeeded();
    FHook->SetActive(true);
  }
}

// ----- properties

void TCoolThumbTab::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!Loading() && !HasState(csDestroying)) Invalidate();
}

void TCoolThumbTab::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolThumbTab::SetWallpaper(TBitmap* Value) {
  if (Value && Value == FWallpaper.WallpaperIfAny()) return;
  FWallpaper.SetWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolThumbTab::SetThumbPosition(TCoolThumbTabPosition Value) {
  if (FThumbPosition == Value) return;
  FThumbPosition = Value;
  if (!Loading()) Invalidate();
}

void TCoolThumbTab::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (!Loading()) Invalidate();
}

void TCoolThumbTab::WallpaperChanged(TObject*) {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolThumbTab::CoolImagesChange(TObject*) { Invalidate(); }

void TCoolThumbTab::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

// ----- hit test

TRect TCoolThumbTab::SubRect() const {
  const int DX = Width() / 8, DY = Height() / 8;
  return Rect(DX, DY, Width() - DX, Height() - DY);
}

void TCoolThumbTab::AfterMessage(TObject*, TMessage& Msg, bool&) {
  if (Msg.Msg != WM_NCHITTEST || !Enabled() || HasState(csDesigning) || HasState(csDestroying)) return;
  // A hidden grip sizes nothing.
  for (const TControl* C = this; C; C = C->Parent())
    if (!C->Visible() && C != FHook->WinControl()) return;
  const TPoint P = ScreenToClient(TPoint(short(LOWORD(Msg.LParam)), short(HIWORD(Msg.LParam))));
  if (!PtInRect(&AsRECT(SubRect()), POINT{P.X, P.Y})) return;
  switch (FThumbPosition) {
    case tpLeftBottom: Msg.Result = HTBOTTOMLEFT; break;
    case tpRightBottom: Msg.Result = HTBOTTOMRIGHT; break;
    case tpLeftTop: Msg.Result = HTTOPLEFT; break;
    case tpRightTop: Msg.Result = HTTOPRIGHT; break;
  }
}

// ----- painting

void TCoolThumbTab::Paint() {
  TCanvas* C = Canvas();
  const TRect R = ClientRect();
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const TRect S = SubRect();
  TRect S2 = S;
  InflateRect(&AsRECT(S2), -2, -2);
  TPen* Pen = C->Pen();
  Pen->SetStyle(psSolid);
  Pen->SetWidth(1);
  auto Fold = [&](int HX1, int HY1, int HX2, int HY2, int SX1, int SY1, int SX2, int SY2) {
    Pen->SetColor(clBtnHighlight);
    Line(C, HX1, HY1, HX2, HY2);
    Pen->SetColor(clBtnShadow);
    Line(C, SX1, SY1, SX2, SY2);
  };
  POINT Triangle[3];
  UINT Sides = 0;
  switch (FThumbPosition) {
    case tpLeftBottom:
      Fold(L, T + 1, Rt - 1, B, L, T + 2, Rt - 2, B);
      Triangle[0] = {S2.Left, S2.Top};
      Triangle[1] = {S2.Right, S2.Bottom};
      Triangle[2] = {S2.Right, S2.Top};
      Sides = BF_TOP | BF_RIGHT;
      break;
    case tpRightBottom:
      Fold(L, B + 1, Rt + 1, T, L, B, Rt, T);
      Triangle[0] = {S2.Left, S2.Top};
      Triangle[1] = {S2.Left, S2.Bottom};
      Triangle[2] = {S2.Right, S2.Top};
      Sides = BF_LEFT | BF_TOP;
      break;
    case tpLeftTop:
      Fold(L, B - 1, Rt - 1, T, L, B - 2, Rt - 2, T);
      Triangle[0] = {S2.Left, S2.Bottom};
      Triangle[1] = {S2.Right, S2.Top};
      Triangle[2] = {S2.Right, S2.Bottom};
      Sides = BF_RIGHT | BF_BOTTOM;
      break;
    case tpRightTop:
      Fold(L, T, Rt, B, L + 1, T, Rt, B - 1);
      Triangle[0] = {S2.Left, S2.Top};
      Triangle[1] = {S2.Right, S2.Bottom};
      Triangle[2] = {S2.Left, S2.Bottom};
      Sides = BF_LEFT | BF_BOTTOM;
      break;
  }
  C->Brush()->SetStyle(bsClear);
  HDC DC = C->Handle();
  TRect Edge = S;
  DrawEdge(DC, &AsRECT(Edge), EDGE_ETCHED, Sides);
  if (FTransparent) return;

  // The folded part: S filled inside the triangle only. Clip regions are in device units, so
  // the triangle goes where the DC's origin (the control's place on its parent) puts it.
  LPtoDP(DC, Triangle, 3);
  TRgnOwner Clip(CreatePolygonRgn(Triangle, 3, WINDING));
  TRgnOwner Old(CreateRectRgn(0, 0, 0, 0));
  if (!Clip || !Old) throw EOutOfResources("Out of system resources");
  const int HadClip = GetClipRgn(DC, Old);
  ExtSelectClipRgn(DC, Clip, RGN_AND);
  struct TRestoreClip {
    HDC DC;
    HRGN Old;
    ~TRestoreClip() { SelectClipRgn(DC, Old); }
  } Restore{DC, HadClip == 1 ? HRGN(Old) : nullptr};
  if (!FWallpaper.Draw(DC, S, true, cmSrcCopy)) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(S);
  }
}

// ----- published properties

static constinit const TPropInfo TCoolThumbTab_Props[] = {
    PropObject<&TCoolThumbTab::About, &TCoolThumbTab::SetAbout>("About"),
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::Color(clWindow),
    PropRef<&TCoolThumbTab::CoolImages, &TCoolThumbTab::SetCoolImages>("CoolImages"),
    TControlProps::Enabled(),
    PropInt<&TCoolThumbTab::idWallpaper, &TCoolThumbTab::SetIdWallpaper>("idWallpaper", -1),
    TControlProps::ParentColor(true),
    PropRef<&TControl::PopupMenu, &TControl::SetPopupMenu>("PopupMenu"),
    PropEnum<&TCoolThumbTab::ThumbPosition, &TCoolThumbTab::SetThumbPosition>(
        "ThumbPosition", TCoolThumbTabPositionType, tpRightBottom),
    PropBool<&TCoolThumbTab::Transparent, &TCoolThumbTab::SetTransparent>("Transparent", false),
    TControlProps::Visible(),
    PropObject<&TCoolThumbTab::Wallpaper, &TCoolThumbTab::SetWallpaper>("Wallpaper"),
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
ORV_IMPLEMENT_COMPONENT(TCoolThumbTab, TGraphicControl, TCoolThumbTab_Props)

namespace {
struct TCoolThumbTabUnit {
  TCoolThumbTabUnit() { RegisterClasses({TCoolThumbTab::StaticClass()}); }
} CoolThumbTabUnit;
}  // namespace
