#include "suite/Blend.h"

#include "vcl/Forms.h"
#include "vcl/Menus.h"

#include <algorithm>

constexpr TEnumType TqBackTypeType{"TqBackType", {"btBitmap", "btBlend", "btNormal", "btSteel"}};

// ---------------------------------------------------------------------------------------------
// Colour ramp and gradient geometry

TqColorRamp TqColorRamp::From(TColor Start, TColor End) {
  const COLORREF S = COLORREF(ColorToRGB(Start)), E = COLORREF(ColorToRGB(End));
  TqColorRamp R;
  R.StartR = short(GetRValue(S));
  R.StartG = short(GetGValue(S));
  R.StartB = short(GetBValue(S));
  R.DiffR = short(GetRValue(E) - R.StartR);
  R.DiffG = short(GetGValue(E) - R.StartG);
  R.DiffB = short(GetBValue(E) - R.StartB);
  return R;
}

TColor TqColorRamp::Band(int I, int N) const {
  if (N <= 0) return TColor(RGB(StartR, StartG, StartB));
  auto Channel = [&](int Start, int Diff) { return std::clamp(Start + MulDiv(I, Diff, N), 0, 255); };
  return TColor(RGB(Channel(StartR, DiffR), Channel(StartG, DiffG), Channel(StartB, DiffB)));
}

TColor PaintBlend(HDC DC, int W, int H, gradType Fill, int Bands, const TqColorRamp& Ramp) {
  if (!DC || W <= 0 || H <= 0) return clNone;
  const int B = std::clamp(Bands, 0, MaxBlendBands);
  const bool Diagonal = Fill == gDiagLeft || Fill == gDiagRight;
  TBandPainter P(DC, Diagonal);
  switch (Fill) {
    case gVert:
      for (int I = 0; I <= B; ++I) {
        int Y = MulDiv(I, H, B + 1);
        P.SetColor(Ramp.Band(I, B));
        P.Fill(0, Y, W, MulDiv(I + 1, H, B + 1) - Y);
      }
      break;
    case gHorz:
      for (int I = 0; I <= B; ++I) {
        int X = MulDiv(I, W, B + 1);
        P.SetColor(Ramp.Band(I, B));
        P.Fill(X, 0, MulDiv(I + 1, W, B + 1) - X, H);
      }
      break;
    case gCenter: {
      const int N = std::min({B, W / 2, H / 2});
      const int BW = N > 0 ? std::max(W / 2 / N, 1) : 1;
      const int BH = N > 0 ? std::max(H / 2 / N, 1) : 1;
      TRect R(0, 0, W, H);
      for (int I = 0; I <= N; ++I) {
        P.SetColor(Ramp.Band(I, N));
        if (I < N) {
          P.Fill(TRect(R.Left, R.Top, R.Right, R.Top + BH));
          P.Fill(TRect(R.Left, R.Top + BH, R.Left + BW, R.Bottom - BH));
          P.Fill(TRect(R.Left, R.Bottom - BH, R.Right, R.Bottom));
          P.Fill(TRect(R.Right - BW, R.Top + BH, R.Right, R.Bottom - BH));
        } else {
          P.Fill(R);
        }
        R = TRect(R.Left + BW, R.Top + BH, R.Right - BW, R.Bottom - BH);
      }
      break;
    }
    case gTopLeftBottomRight:
    case gTopRightBottomLeft: {
      const int N = std::min({B, W, H});
      const int BW = N > 0 ? std::max(W / N, 1) : 1;
      const int BH = N > 0 ? std::max(H / N, 1) : 1;
      TRect R(0, 0, W, H);
      for (int I = N; I >= 0; --I) {
        P.SetColor(Ramp.Band(I, N));
        if (Fill == gTopLeftBottomRight) {
          P.Fill(TRect(R.Left, R.Bottom - BH, R.Right, R.Bottom));
          P.Fill(TRect(R.Right - BW, R.Top, R.Right, R.Bottom));
          R = TRect(0, 0, R.Right - BW, R.Bottom - BH);
        } else {
          P.Fill(TRect(R.Left, R.Top, R.Left + BW, R.Bottom));
          P.Fill(TRect(R.Left, R.Bottom - BH, R.Right, R.Bottom));
          R = TRect(R.Left + BW, R.Top, R.Right, R.Bottom - BH);
        }
      }
      P.SetColor(Ramp.Band(0, N));
      P.Fill(R);
      break;
    }
    case gDiagLeft: {
      const int N = std::min({B, W, H});
      const int BW = N > 0 ? std::max(W / N, 1) : 1;
      const int BH = N > 0 ? std::max(H / N, 1) : 1;
      int X1 = -W, Y1 = H, X2 = W, Y2 = -H;
      for (int I = 0; I <= N; ++I) {
        P.SetColor(Ramp.Band(I, N));
        P.Polygon({{X1, Y1}, {X2, Y2}, {X2 + BW, Y2 + BH}, {X1 + BW, Y1 + BH}});
        X1 += BW;
        X2 += BW;
        Y1 += BH;
        Y2 += BH;
      }
      P.SetColor(Ramp.Band(N, N));
      P.Polygon({{X1, Y1}, {X2, Y2}, {X2 + BW, Y2 + BH}, {W, H}});
      break;
    }
    case gDiagRight: {
      const int N = std::min({B, W, H});
      const int BW = N > 0 ? std::max(W / N, 1) : 1;
      const int BH = N > 0 ? std::max(H / N, 1) : 1;
      int X1 = 0, Y1 = -H, X2 = 2 * W, Y2 = H;
      for (int I = 0; I <= N; ++I) {
        P.SetColor(Ramp.Band(I, N));
        P.Polygon({{X1, Y1}, {X2, Y2}, {X2 - BW, Y2 + BH}, {X1 - BW, Y2 + BH}});
        X1 -= BW;
        X2 -= BW;
        Y1 += BH;
        Y2 += BH;
      }
      P.SetColor(Ramp.Band(N, N));
      P.Polygon({{X1, Y1}, {X2, Y2}, {X2 - BW, Y2 + BH}, {X1 - BW, Y2 + BH}});
      break;
    }
  }
  return P.Color();
}

namespace {

// The dashed outline a control shows while a designer edits its form.
void DrawDesignFrame(TCanvas* Canvas, int W, int H) {
  Canvas->Pen()->SetStyle(psDash);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(0, 0, W, H);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Brush()->SetStyle(bsSolid);
}

void PaintBlendControl(TCanvas* Canvas, int W, int H, bool Steel, gradType Fill, int Bands,
                       const TqColorRamp& Ramp) {
  if (Steel) {
    Canvas->Brush()->SetBitmap(TSteel);
    Canvas->FillRect(Rect(0, 0, W, H));
    Canvas->Brush()->SetBitmap(nullptr);
  } else {
    Canvas->Brush()->SetStyle(bsSolid);
    // The bands paint with the DC's own brush (and pen); the canvas is left as drawing with the
    // canvas's would leave it, in the last band's colour.
    const TColor Last = PaintBlend(Canvas->Handle(), W, H, Fill, Bands, Ramp);
    if (Last == clNone) return;
    Canvas->Brush()->SetColor(Last);
    if (Fill == gDiagLeft || Fill == gDiagRight) Canvas->Pen()->SetColor(Last);
  }
}

// LockWindowUpdate for a scope; unlocks only a lock it took.
class TUpdateLock {
public:
  explicit TUpdateLock(HWND Wnd) : FLocked(LockWindowUpdate(Wnd) != FALSE) {}
  ~TUpdateLock() { if (FLocked) LockWindowUpdate(nullptr); }
  TUpdateLock(const TUpdateLock&) = delete;
  TUpdateLock& operator=(const TUpdateLock&) = delete;
private:
  bool FLocked;
};

}  // namespace

void TileBitmap(TCanvas* Canvas, TBitmap* Bitmap, int W, int H) {
  if (Bitmap->Empty() || Bitmap->Width() <= 0 || Bitmap->Height() <= 0) return;
  for (int X = 0; X < W; X += Bitmap->Width())
    for (int Y = 0; Y < H; Y += Bitmap->Height()) Canvas->Draw(X, Y, Bitmap);
}

// ---------------------------------------------------------------------------------------------
// TqBackground

TqBackground::TqBackground(TComponent* AOwner) : TComponent(AOwner), FBitMap(new TBitmap) { DoColor(); }

TqBackground::~TqBackground() {
  FHook.Detach();
  TObject::Free(FBitMap);
}

void TqBackground::Loaded() {
  TComponent::Loaded();
  if (HasState(csDesigning) || FHook.Installed()) return;
  FHook.Attach(FindForm(this), TWindowProcHook::THandler::Bind<&TqBackground::WPWindowProc>(this), nullptr,
               &TqBackground::TargetWindow);
}

HWND TqBackground::TargetWindow(TForm* Form) {
  return Form->FormStyle() == fsMDIForm && Form->ClientHandle() ? Form->ClientHandle() : Form->WindowHandle();
}

void TqBackground::DoColor() { FRamp = TqColorRamp::From(FColor, FEndColor); }

void TqBackground::Changed() {
  DoColor();
  if (!HasState(csDesigning) && FHook.Installed()) InvalidateRect(FHook.Window(), nullptr, TRUE);
}

void TqBackground::SetBackType(TqBackType Value) {
  if (FBackType == Value) return;
  FBackType = Value;
  Changed();
}

void TqBackground::SetBands(int Value) {
  if (FBands == Value) return;
  FBands = Value;
  Changed();
}

void TqBackground::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TqBackground::SetEndColor(TColor Value) {
  if (FEndColor == Value) return;
  FEndColor = Value;
  Changed();
}

void TqBackground::SetGrad(gradType Value) {
  FFillType = Value;
  Changed();
}

void TqBackground::SetBitMap(TBitmap* Value) {
  if (Value == FBitMap) return;
  FBitMap->Assign(Value);
  if (!HasState(csDesigning) && FHook.Installed()) InvalidateRect(FHook.Window(), nullptr, TRUE);
}

void TqBackground::DoResize() {
  if (OnResize) OnResize(this);
}

void TqBackground::DoPaint(HDC DC) {
  if (!OnPaint) return;
  TControlCanvas Canvas;
  Canvas.SetControl(FindForm(this));
  Canvas.SetHandle(DC);
  struct TUnbind {
    TCanvas& C;
    ~TUnbind() { C.SetHandle(nullptr); }
  } Unbind{Canvas};
  OnPaint(&Canvas, this);
}

void TqBackground::PassErase(HDC DC) {
  TMessage M;
  M.Msg = WM_ERASEBKGND;
  M.WParam = uintptr_t(DC);
  FHook.CallPrevious(M);
}

void TqBackground::PaintWallPaper(HDC DC) {
  HWND Wnd = FHook.Window();
  if (IsIconic(Wnd)) {
    PassErase(DC);
    return;
  }
  RECT Client{};
  GetClientRect(Wnd, &Client);
  const int W = Client.right, H = Client.bottom;
  switch (FBackType) {
    case btBitmap:
      if (FBitMap->Empty() || FBitMap->Width() <= 0 || FBitMap->Height() <= 0) {
        PassErase(DC);
      } else {
        const int BW = FBitMap->Width(), BH = FBitMap->Height();
        HDC Source = FBitMap->Canvas()->Handle();
        for (int Row = 0; Row <= H / BH; ++Row)
          for (int Col = 0; Col <= W / BW; ++Col) BitBlt(DC, Col * BW, Row * BH, BW, BH, Source, 0, 0, SRCCOPY);
      }
      break;
    case btBlend:
      PaintBlend(DC, W, H, FFillType, FBands, FRamp);
      break;
    case btSteel: {
      TBrushOwner Brush(CreatePatternBrush(TSteel->Handle()));
      ::FillRect(DC, &Client, Brush.Get());
      break;
    }
    case btNormal:
      PassErase(DC);
      break;
  }
  DoPaint(DC);
}

void TqBackground::WPWindowProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      PaintWallPaper(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_SIZE:
      try {
        DoResize();
      } catch (...) {
        HandleVclException(this);
      }
      [[fallthrough]];
    case WM_HSCROLL:
    case WM_VSCROLL: {
      HWND Wnd = FHook.Window();
      TUpdateLock Lock(Wnd);
      Message.Result = FHook.CallPrevious(Message);
      if (FHook.Installed()) InvalidateRect(Wnd, nullptr, FALSE);
      return;
    }
    default:
      Message.Result = FHook.CallPrevious(Message);
  }
}

static constinit const TPropInfo TqBackground_Props[] = {
    PropEnum<&TqBackground::BackType, &TqBackground::SetBackType>("BackType", TqBackTypeType, btBitmap),
    PropInt<&TqBackground::Bands, &TqBackground::SetBands>("Bands", 255),
    PropObject<&TqBackground::BitMap, &TqBackground::SetBitMap>("BitMap"),
    PropColor<&TqBackground::Color, &TqBackground::SetColor>("Color", 0xFF00FF),
    PropColor<&TqBackground::EndColor, &TqBackground::SetEndColor>("EndColor", 0),
    PropEnum<&TqBackground::FillType, &TqBackground::SetGrad>("FillType", gradTypeType, gVert),
    PropEvent<&TqBackground::OnPaint>("OnPaint"),
    PropEvent<&TqBackground::OnResize>("OnResize"),
};
ORV_IMPLEMENT_COMPONENT(TqBackground, TComponent, TqBackground_Props)

// ---------------------------------------------------------------------------------------------
// TqBlendPaint, TqNWBlendPaint

template <class Base> void TqBlendControl<Base>::Paint() {
  TCanvas* C = this->Canvas();
  PaintBlendControl(C, this->Width(), this->Height(), FSteelLook, FFillType, FBands, FRamp);
  if (this->HasState(csDesigning)) DrawDesignFrame(C, this->Width(), this->Height());
  if (OnPaint) OnPaint(this);
}
template class TqBlendControl<TCustomControl>;
template class TqBlendControl<TGraphicControl>;

TqBlendPaint::TqBlendPaint(TComponent* AOwner) : TqBlendControl(AOwner) {
  SetControlStyle(StyleOf(csAcceptsControls) | StyleOf(csCaptureMouse) | StyleOf(csClickEvents) |
                  StyleOf(csDoubleClicks));
  InitBlend();
}

void TqBlendPaint::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

TqNWBlendPaint::TqNWBlendPaint(TComponent* AOwner) : TqBlendControl(AOwner) {
  IncludeStyle(csOpaque);
  InitBlend();
}

void TqNWBlendPaint::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_HITTEST: CMHitTest(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqNWBlendPaint::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TqNWBlendPaint::CMHitTest(TMessage& Message) {
  if (FPassMouseOn) Message.Result = 0;
  else inherited::Dispatch(Message);
}

#define BLEND_CONTROL_PROPS(T)                                                                   \
  PropBool<&T::SteelLook, &T::SetSteel>("SteelLook", false),                                     \
      PropEnum<&T::FillType, &T::SetGrad>("FillType", gradTypeType, gVert),                       \
      PropEvent<&T::OnPaint>("OnPaint"), TControlProps::Color(TColor(0xFF00FF)),                  \
      TControlProps::ParentColor(false), PropColor<&T::EndColor, &T::SetEndColor>("EndColor", 0), \
      PropInt<&T::Bands, &T::SetBands>("Bands", 255), TControlProps::Align(),                     \
      TControlProps::ParentShowHint(), PopupMenuProp(), TControlProps::ShowHint(),                \
      TControlProps::Visible(), TControlProps::OnClick(), TControlProps::OnDblClick(),            \
      TControlProps::OnDragDrop(), TControlProps::OnDragOver(), TControlProps::OnMouseDown(),     \
      TControlProps::OnMouseMove(), TControlProps::OnMouseUp(), TControlProps::DragCursor(),      \
      TControlProps::DragMode()

static constinit const TPropInfo TqBlendPaint_Props[] = {BLEND_CONTROL_PROPS(TqBlendPaint)};
ORV_IMPLEMENT_COMPONENT(TqBlendPaint, TCustomControl, TqBlendPaint_Props)

static constinit const TPropInfo TqNWBlendPaint_Props[] = {
    PropBool<&TqNWBlendPaint::PassMouseOn, &TqNWBlendPaint::SetPassMouseOn>("PassMouseOn", false),
    BLEND_CONTROL_PROPS(TqNWBlendPaint)};
ORV_IMPLEMENT_COMPONENT(TqNWBlendPaint, TGraphicControl, TqNWBlendPaint_Props)

// ---------------------------------------------------------------------------------------------
// TqTileMap, TqNWTileMap

TqTileMap::TqTileMap(TComponent* AOwner) : TCustomControl(AOwner), FBitmap(new TBitmap) {
  SetControlStyle(StyleOf(csAcceptsControls) | StyleOf(csCaptureMouse) | StyleOf(csClickEvents) |
                  StyleOf(csDoubleClicks));
  SetBounds(Left(), Top(), 30, 30);
}

TqTileMap::~TqTileMap() { TObject::Free(FBitmap); }

void TqTileMap::SetBitmap(TBitmap* Value) {
  FBitmap->Assign(Value);
  Invalidate();
}

void TqTileMap::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.ExStyle |= WS_EX_TRANSPARENT;
}

void TqTileMap::Paint() {
  TileBitmap(Canvas(), FBitmap, Width(), Height());
  if (HasState(csDesigning)) DrawDesignFrame(Canvas(), Width(), Height());
  if (OnPaint) OnPaint(this);
}

TqNWTileMap::TqNWTileMap(TComponent* AOwner) : TGraphicControl(AOwner), FBitmap(new TBitmap) {
  IncludeStyle(csOpaque);
  SetBounds(Left(), Top(), 30, 30);
}

TqNWTileMap::~TqNWTileMap() { TObject::Free(FBitmap); }

void TqNWTileMap::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_HITTEST: CMHitTest(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqNWTileMap::SetBitmap(TBitmap* Value) {
  FBitmap->Assign(Value);
  Invalidate();
}

void TqNWTileMap::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TqNWTileMap::CMHitTest(TMessage& Message) {
  if (FPassMouseOn) Message.Result = 0;
  else inherited::Dispatch(Message);
}

void TqNWTileMap::Paint() {
  TileBitmap(Canvas(), FBitmap, Width(), Height());
  if (HasState(csDesigning)) DrawDesignFrame(Canvas(), Width(), Height());
  if (OnPaint) OnPaint(this);
}

#define TILE_CONTROL_PROPS(T)                                                                    \
  PropEvent<&T::OnPaint>("OnPaint"), PropObject<&T::Bitmap, &T::SetBitmap>("Bitmap"),             \
      TControlProps::Color(clWindow), TControlProps::ParentColor(true), TControlProps::Align(),   \
      TControlProps::ParentShowHint(), PopupMenuProp(), TControlProps::ShowHint(),                \
      TControlProps::Visible(), TControlProps::OnClick(), TControlProps::OnDblClick(),            \
      TControlProps::OnDragDrop(), TControlProps::OnDragOver(), TControlProps::OnMouseDown(),     \
      TControlProps::OnMouseMove(), TControlProps::OnMouseUp(), TControlProps::DragCursor(),      \
      TControlProps::DragMode()

static constinit const TPropInfo TqTileMap_Props[] = {TILE_CONTROL_PROPS(TqTileMap)};
ORV_IMPLEMENT_COMPONENT(TqTileMap, TCustomControl, TqTileMap_Props)

static constinit const TPropInfo TqNWTileMap_Props[] = {
    PropBool<&TqNWTileMap::PassMouseOn, &TqNWTileMap::SetPassOn>("PassMouseOn", false),
    TILE_CONTROL_PROPS(TqNWTileMap)};
ORV_IMPLEMENT_COMPONENT(TqNWTileMap, TGraphicControl, TqNWTileMap_Props)

namespace {
struct TBlendRegistration {
  TBlendRegistration() {
    RegisterClasses({TqBackground::StaticClass(), TqBlendPaint::StaticClass(), TqNWBlendPaint::StaticClass(),
                     TqTileMap::StaticClass(), TqNWTileMap::StaticClass()});
  }
} BlendRegistration;
}  // namespace
