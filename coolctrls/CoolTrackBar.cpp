#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

#include <algorithm>
#include <climits>

constexpr TEnumType TTrackOrientationType{"TTrackOrientation", {"toHorizontal", "toVertical"}};
constexpr TEnumType TPaintOptionType{
    "TPaintOption", {"poDrawFocusRect", "poDrawTrackBar", "poDrawTicks", "poDrawThumb", "poDrawThumbStates"}};

namespace {

// The bar ends this far from each end of the control.
constexpr int TrackMargin = 10;

// The module these controls (and their bitmap resources) are linked into.
HINSTANCE ThisModule() {
  static const HINSTANCE Module = [] {
    HMODULE M = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &M);
    return M ? M : GetModuleHandleA(nullptr);
  }();
  return Module;
}

// Num / Den (Den > 0) rounded to the nearest integer, halves to the even one.
int64_t RoundHalfEven(int64_t Num, int64_t Den) {
  int64_t Q = Num / Den, R = Num % Den;
  if (R < 0) {
    --Q;
    R += Den;
  }
  if (2 * R > Den || (2 * R == Den && (Q & 1))) ++Q;
  return Q;
}

UINT InnerEdge(TBevelCut B) { return B == bvLowered ? BDR_SUNKENINNER : B == bvRaised ? BDR_RAISEDINNER : 0; }
UINT OuterEdge(TBevelCut B) { return B == bvLowered ? BDR_SUNKENOUTER : B == bvRaised ? BDR_RAISEDOUTER : 0; }

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCoolTrackBar

TCoolTrackBar::TCoolTrackBar(TComponent* AOwner)
    : TCustomControl(AOwner),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolTrackBar::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolTrackBar::CoolImagesChange>(this)),
      FThumb(new TBitmap()) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csClickEvents) | StyleOf(csDoubleClicks));
  SetTabStop(true);
  SetBounds(0, 0, 150, 40);
  FThumb->SetHandle(LoadBitmapA(ThisModule(), "THUMB_HORZ"));
}

TCoolTrackBar::~TCoolTrackBar() {
  for (TBitmap* B : {FThumb, FThumbHorz, FThumbVert, FThumbHorzSelected, FThumbVertSelected}) TObject::Free(B);
}

void TCoolTrackBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolTrackBar::Loaded() {
  inherited::Loaded();
  // The range and the position as streamed, in whatever order they came.
  FMinValue = std::min(FMinValue, FMaxValue);
  FPosition = std::clamp(FPosition, FMinValue, FMaxValue);
  LoadImages();
}

// ----- properties

void TCoolTrackBar::SetBarColor(TColor Value) {
  if (FBarColor == Value) return;
  FBarColor = Value;
  if (!Loading()) Invalidate();
}

void TCoolTrackBar::SetBarSize(int Value) {
  if (FBarSize == Value) return;
  FBarSize = Value;
  if (!Loading()) Invalidate();
}

void TCoolTrackBar::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  if (!Loading()) Invalidate();
}

void TCoolTrackBar::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  if (!Loading()) Invalidate();
}

void TCoolTrackBar::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!Loading() && !HasState(csDestroying)) Invalidate();
}

void TCoolTrackBar::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolTrackBar::SetWallpaper(TBitmap* Value) {
  if (Value && Value == FWallpaper.WallpaperIfAny()) return;
  FWallpaper.SetWallpaper(Value);
  if (!Loading()) Invalidate();
}

void TCoolTrackBar::SetOrientation(TTrackOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  if (Loading()) return;
  if (!HasState(csDesigning)) SetBounds(Left(), Top(), Width(), Height());
  LoadImages();
  Invalidate();
}

void TCoolTrackBar::SetMinValue(int Value) {
  if (Loading()) {
    FMinValue = Value;
    return;
  }
  Value = std::min(Value, FMaxValue);
  if (FMinValue == Value) return;
  FMinValue = Value;
  if (FPosition < Value) SetPosition(Value);
  Invalidate();
}

void TCoolTrackBar::SetMaxValue(int Value) {
  if (Loading()) {
    FMaxValue = Value;
    return;
  }
  Value = std::max(Value, FMinValue);
  if (FMaxValue == Value) return;
  FMaxValue = Value;
  if (FPosition > Value) SetPosition(Value);
  Invalidate();
}

void TCoolTrackBar::SetOptions(TCoolOptions Value) {
  if (FOptions == Value) return;
  FOptions = Value;
  if (Loading()) return;
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolTrackBar::SetPaintOptions(TPaintOptions Value) {
  if (FPaintOptions == Value) return;
  FPaintOptions = Value;
  if (!Loading()) Invalidate();
}

void TCoolTrackBar::SetPosition(int Value) {
  if (Loading()) {
    FPosition = Value;  // Loaded clamps it
    return;
  }
  Value = std::clamp(Value, FMinValue, FMaxValue);
  if (FPosition == Value) return;
  FPosition = Value;
  if (OnChange) OnChange(this);
  PaintNow();
}

void TCoolTrackBar::SetTickMarks(TTickMark Value) {
  if (FTickMarks == Value) return;
  FTickMarks = Value;
  if (!Loading()) Invalidate();
}

TBitmap* TCoolTrackBar::OwnBitmap(TBitmap*& Field) {
  if (!Field) Field = new TBitmap();
  return Field;
}

void TCoolTrackBar::AssignThumb(TBitmap*& Field, TBitmap* Value, bool Reload) {
  OwnBitmap(Field)->Assign(Value);
  if (Loading()) return;
  if (Reload) LoadImages();
  Invalidate();
}

void TCoolTrackBar::SetThumbHorz(TBitmap* Value) { AssignThumb(FThumbHorz, Value, true); }
void TCoolTrackBar::SetThumbVert(TBitmap* Value) { AssignThumb(FThumbVert, Value, true); }
void TCoolTrackBar::SetThumbHorzSelected(TBitmap* Value) { AssignThumb(FThumbHorzSelected, Value, false); }
void TCoolTrackBar::SetThumbVertSelected(TBitmap* Value) { AssignThumb(FThumbVertSelected, Value, false); }

void TCoolTrackBar::SetTransparentThumb(bool Value) {
  if (FTransparentThumb == Value) return;
  FTransparentThumb = Value;
  if (!Loading()) Invalidate();
}

void TCoolTrackBar::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  if (!Loading()) Invalidate();
}

// ----- change notifications

void TCoolTrackBar::WallpaperChanged(TObject*) {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TCoolTrackBar::CoolImagesChange(TObject*) { Invalidate(); }

void TCoolTrackBar::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

// ----- geometry

bool TCoolTrackBar::Degenerate() const { return FMaxValue <= FMinValue || Length() - 2 * TrackMargin <= 0; }

int TCoolTrackBar::TickPos(int I) const {
  if (Degenerate()) return TrackMargin;
  const int64_t Span = Length() - 2 * TrackMargin, N = int64_t(FMaxValue) - FMinValue;
  return TrackMargin + int(int64_t(I) * Span / N);
}

int TCoolTrackBar::ThumbCentre(int Value) const {
  if (Degenerate()) return TrackMargin;
  // trunc(10 + trunc(Value * s) - MinValue * s) with s = Span / N, in exact arithmetic.
  const int64_t Span = Length() - 2 * TrackMargin, N = int64_t(FMaxValue) - FMinValue;
  const int64_t A = TrackMargin + int64_t(Value) * Span / N;
  return int((A * N - int64_t(FMinValue) * Span) / N);
}

void TCoolTrackBar::InvalidateThumb() {
  if (HandleAllocated() && !HasState(csDestroying)) InvalidateRectEx(WindowHandle(), FThumbRect, true);
}

// ----- images and painting

void TCoolTrackBar::LoadImages() {
  const bool Selected = FDragging || !Enabled();
  TBitmap* User = Vertical() ? (Selected ? FThumbVertSelected : FThumbVert)
                             : (Selected ? FThumbHorzSelected : FThumbHorz);
  if (User && !User->Empty()) {
    FThumb->Assign(User);
    return;
  }
  const char* Name = Vertical() ? (Selected ? "THUMB_VERT_INVERT" : "THUMB_VERT")
                                : (Selected ? "THUMB_HORZ_INVERT" : "THUMB_HORZ");
  FThumb->SetHandle(LoadBitmapA(ThisModule(), Name));
}

void TCoolTrackBar::DrawTrack(TCanvas* Canvas) {
  TRect R;
  if (Vertical()) {
    R.Left = (Width() - FBarSize) / 2;
    R.Right = R.Left + FBarSize;
    R.Top = TrackMargin;
    R.Bottom = Height() - TrackMargin;
  } else {
    R.Top = (Height() - FBarSize) / 2;
    R.Bottom = R.Top + FBarSize;
    R.Left = TrackMargin;
    R.Right = Width() - TrackMargin;
  }
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(FBarColor);
  Canvas->FillRect(R);
  DrawEdge(Canvas->Handle(), &AsRECT(R), EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FTrackRect = R;
}

void TCoolTrackBar::DrawTicks(TCanvas* Canvas) {
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetColor(clBlack);
  const bool After = FTickMarks == tmBottomRight || FTickMarks == tmBoth;
  const bool Before = FTickMarks == tmTopLeft || FTickMarks == tmBoth;
  auto Tick = [&](int P) {
    if (Vertical()) {
      if (After) Line(Canvas, FTrackRect.Right + 8, P, FTrackRect.Right + 12, P);
      if (Before) Line(Canvas, FTrackRect.Left - 12, P, FTrackRect.Left - 8, P);
    } else {
      if (After) Line(Canvas, P, FTrackRect.Bottom + 8, P, FTrackRect.Bottom + 12);
      if (Before) Line(Canvas, P, FTrackRect.Top - 12, P, FTrackRect.Top - 8);
    }
  };
  if (Degenerate()) {
    Tick(TrackMargin);
    return;
  }
  const int64_t Span = Length() - 2 * TrackMargin, N = int64_t(FMaxValue) - FMinValue;
  if (N >= Span) {
    // Ticks at least as dense as the pixels: every pixel of the span holds one.
    for (int64_t P = 0; P <= Span; ++P) Tick(TrackMargin + int(P));
    return;
  }
  for (int64_t I = 0; I <= N; ++I) Tick(TickPos(int(I)));
}

void TCoolTrackBar::DrawThumb(TCanvas* Canvas) {
  const int C = ThumbCentre(FPosition);
  const int W = FThumb->Width(), H = FThumb->Height();
  FThumbRect = Vertical() ? Bounds((Width() - W) / 2, C - H / 2, W, H) : Bounds(C - W / 2, (Height() - H) / 2, W, H);
  if (FThumb->Empty()) return;
  FThumb->SetTransparent(FTransparentThumb);
  Canvas->StretchDraw(FThumbRect, FThumb);
}

void TCoolTrackBar::PaintLayers(TCanvas* Canvas, bool Focus) {
  if (FPaintOptions & PaintOption(poDrawTrackBar)) DrawTrack(Canvas);
  if (FPaintOptions & PaintOption(poDrawTicks)) DrawTicks(Canvas);
  if (FPaintOptions & PaintOption(poDrawThumb)) DrawThumb(Canvas);
  TRect R = ClientRect();
  if (const UINT Edge = InnerEdge(FBevelInner) | OuterEdge(FBevelOuter)) {
    DrawEdge(Canvas->Handle(), &AsRECT(R), Edge, BF_RECT);
    InflateRect(&AsRECT(R), -2, -2);
  }
  if (Focus && (FPaintOptions & PaintOption(poDrawFocusRect)) && CanFocus() && Focused()) Canvas->DrawFocusRect(R);
}

void TCoolTrackBar::Paint() { PaintLayers(Canvas(), true); }

void TCoolTrackBar::PaintNow() {
  // Without a window, or hidden, the next paint shows the position; so does one already under
  // way on the canvas.
  if (!HandleAllocated() || !Showing() || HasState(csDestroying) || Canvas()->LockCount() > 0) {
    Invalidate();
    return;
  }
  const int W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  TBitmap Image;
  Image.SetSize(W, H);
  {
    TWindowDC Window(WindowHandle());
    TMemoryDC Mem(Window);
    TBitmapOwner Surface(CreateCompatibleBitmap(Window, W, H));
    if (!Mem || !Surface) {
      Invalidate();
      return;
    }
    TSelectGuard Select(Mem, Surface);
    PaintTo(Mem, 0, 0);
    BitBlt(Image.Canvas()->Handle(), 0, 0, W, H, Mem, 0, 0, SRCCOPY);
  }
  // The layers again over the picture; the focus mark, drawn by inverting, stays as PaintTo
  // left it.
  PaintLayers(Image.Canvas(), false);
  TCanvas* C = Canvas();
  struct TReleaseCanvas {
    TCanvas* C;
    ~TReleaseCanvas() {
      if (auto* CC = dynamic_cast<TControlCanvas*>(C)) CC->FreeHandle();
    }
  } Release{C};
  C->Draw(0, 0, &Image);
}

// ----- behaviour

void TCoolTrackBar::KeyDown(unsigned short& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (!Enabled()) return;
  auto MoveBy = [this](int64_t Delta) {
    SetPosition(int(std::clamp<int64_t>(int64_t(FPosition) + Delta, FMinValue, FMaxValue)));
  };
  switch (Key) {
    case VK_PRIOR: MoveBy(-int64_t(FPageSize)); break;
    case VK_NEXT: MoveBy(FPageSize); break;
    case VK_END: SetPosition(FMaxValue); break;
    case VK_HOME: SetPosition(FMinValue); break;
    case VK_LEFT:
    case VK_UP: MoveBy(-1); break;
    case VK_RIGHT:
    case VK_DOWN: MoveBy(1); break;
    default: break;
  }
}

void TCoolTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (CanFocus()) SetFocus();
  const POINT P{X, Y};
  if (PtInRect(&AsRECT(FThumbRect), P)) {
    FDragging = true;
    if (FPaintOptions & PaintOption(poDrawThumbStates)) LoadImages();
    InvalidateThumb();
    return;
  }
  if (!PtInRect(&AsRECT(ClientRect()), P)) return;
  const int Along = Vertical() ? Y : X;
  const int Start = Vertical() ? FThumbRect.Top : FThumbRect.Left;
  const int End = Vertical() ? FThumbRect.Bottom : FThumbRect.Right;
  if (Along < Start && FPosition > FMinValue) SetPosition(FPosition - 1);
  else if (Along >= End && FPosition < FMaxValue) SetPosition(FPosition + 1);
}

void TCoolTrackBar::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FDragging || Degenerate()) return;
  // (MaxValue - MinValue) / Span * (mouse - thumb start - thumb size / 2), exactly.
  const int64_t Span = Length() - 2 * TrackMargin, N = int64_t(FMaxValue) - FMinValue;
  const int64_t Offset = Vertical() ? int64_t(Y) - FThumbRect.Top : int64_t(X) - FThumbRect.Left;
  const int64_t Size = Vertical() ? FThumbRect.Height() : FThumbRect.Width();
  const int64_t Delta = RoundHalfEven(N * (2 * Offset - Size), 2 * Span);
  SetPosition(int(std::clamp<int64_t>(int64_t(FPosition) + Delta, FMinValue, FMaxValue)));
}

void TCoolTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FDragging = false;
  if (FPaintOptions & PaintOption(poDrawThumbStates)) LoadImages();
  InvalidateThumb();
}

void TCoolTrackBar::DoEnter() {
  inherited::DoEnter();
  Repaint();
}

void TCoolTrackBar::DoExit() {
  inherited::DoExit();
  Repaint();
}

// ----- messages

void TCoolTrackBar::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TCoolTrackBar::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  SetOrientation(Width() < Height() ? toVertical : toHorizontal);
}

void TCoolTrackBar::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (FOptions & CoolOption(ocPaintTransparently)) {
    PaintBackground(this, DC, FTransparencyLevel);
    Message.Result = 1;
    return;
  }
  if ((FOptions & CoolOption(ocPaintWallpaper)) &&
      FWallpaper.Draw(DC, ClientRect(), (FOptions & CoolOption(ocTileWallpaper)) != 0, cmSrcCopy)) {
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TCoolTrackBar::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  LoadImages();
  Invalidate();
}

void TCoolTrackBar::CMParentColorChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FOptions & CoolOption(ocPaintTransparently)) Invalidate();
}

void TCoolTrackBar::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
}

void TCoolTrackBar::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
}

// ----- published properties

static constinit const TPropInfo TCoolTrackBar_Props[] = {
    PropObject<&TCoolTrackBar::About, &TCoolTrackBar::SetAbout>("About"),
    PropRef<&TControl::Action, &TControl::SetAction>("Action"),
    TControlProps::Anchors(),
    PropColor<&TCoolTrackBar::BarColor, &TCoolTrackBar::SetBarColor>("BarColor", clWindow),
    PropInt<&TCoolTrackBar::BarSize, &TCoolTrackBar::SetBarSize>("BarSize", 10),
    PropEnum<&TCoolTrackBar::BevelInner, &TCoolTrackBar::SetBevelInner>("BevelInner", TBevelCutType, bvNone),
    PropEnum<&TCoolTrackBar::BevelOuter, &TCoolTrackBar::SetBevelOuter>("BevelOuter", TBevelCutType, bvNone),
    TControlProps::BiDiMode(),
    TControlProps::Caption(),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    PropRef<&TCoolTrackBar::CoolImages, &TCoolTrackBar::SetCoolImages>("CoolImages"),
    TControlProps::Ctl3D(),
    TControlProps::UseDockManager(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropInt<&TCoolTrackBar::idWallpaper, &TCoolTrackBar::SetIdWallpaper>("idWallpaper", -1),
    PropInt<&TCoolTrackBar::MaxValue, &TCoolTrackBar::SetMaxValue>("MaxValue", 10),
    PropInt<&TCoolTrackBar::MinValue, &TCoolTrackBar::SetMinValue>("MinValue", 0),
    PropSet<&TCoolTrackBar::Options, &TCoolTrackBar::SetOptions>("Options", TCoolOptionType, 0),
    PropEnum<&TCoolTrackBar::Orientation, &TCoolTrackBar::SetOrientation>("Orientation", TTrackOrientationType,
                                                                        toHorizontal),
    PropInt<&TCoolTrackBar::PageSize, &TCoolTrackBar::SetPageSize>("PageSize", 1),
    PropSet<&TCoolTrackBar::PaintOptions, &TCoolTrackBar::SetPaintOptions>("PaintOptions", TPaintOptionType,
                                                                         AllPaintOptions),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentColor(true),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PropRef<&TControl::PopupMenu, &TControl::SetPopupMenu>("PopupMenu"),
    PropInt<&TCoolTrackBar::Position, &TCoolTrackBar::SetPosition>("Position", 0),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    PropObject<&TCoolTrackBar::ThumbHorz, &TCoolTrackBar::SetThumbHorz>("ThumbHorz"),
    PropObject<&TCoolTrackBar::ThumbHorzSelected, &TCoolTrackBar::SetThumbHorzSelected>("ThumbHorzSelected"),
    PropObject<&TCoolTrackBar::ThumbVert, &TCoolTrackBar::SetThumbVert>("ThumbVert"),
    PropObject<&TCoolTrackBar::ThumbVertSelected, &TCoolTrackBar::SetThumbVertSelected>("ThumbVertSelected"),
    PropEnum<&TCoolTrackBar::TickMarks, &TCoolTrackBar::SetTickMarks>("TickMarks", TTickMarkType, tmBottomRight),
    PropInt<&TCoolTrackBar::TransparencyLevel, &TCoolTrackBar::SetTransparencyLevel>("TransparencyLevel", 0),
    PropBool<&TCoolTrackBar::TransparentThumb, &TCoolTrackBar::SetTransparentThumb>("TransparentThumb", true),
    TControlProps::Visible(),
    PropObject<&TCoolTrackBar::Wallpaper, &TCoolTrackBar::SetWallpaper>("Wallpaper"),
    PropEvent<&TCoolTrackBar::OnChange>("OnChange"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnResize(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TCoolTrackBar, TCustomControl, TCoolTrackBar_Props)

namespace {
struct TCoolTrackBarUnit {
  TCoolTrackBarUnit() { RegisterClasses({TCoolTrackBar::StaticClass()}); }
} CoolTrackBarUnit;
}  // namespace
