#include "suite/qAnimateBitmap.h"

#include <cstdint>

constexpr TEnumType qcBitmapDrawType{"qcBitmapDraw", {"bdDrawNormal", "bdDrawStretch", "bdDrawCenter"}};

// ---------------------------------------------------------------------------------------------
// TqcCustomBitmap

TqcCustomBitmap::TqcCustomBitmap(TComponent* AOwner) : TGraphicControl(AOwner), FBitMap(New<TBitmap>()) {
  IncludeStyle(csOpaque);
  SetBounds(Left(), Top(), 30, 30);
}

TqcCustomBitmap::~TqcCustomBitmap() { TObject::Free(FBitMap); }

void TqcCustomBitmap::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      inherited::Dispatch(Message);
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    default: inherited::Dispatch(Message);
  }
}

void TqcCustomBitmap::Invalidate() {
  // Pixels of the last painting would stay where the new one lets the parent through.
  if (SeeThrough()) RefreshParentArea();
  else inherited::Invalidate();
}

void TqcCustomBitmap::RefreshParentArea() {
  TWinControl* P = Parent();
  if (!P || !P->HandleAllocated()) return;
  const RECT R{Left(), Top(), Left() + Width(), Top() + Height()};
  InvalidateRect(P->WindowHandle(), &R, TRUE);
}

void TqcCustomBitmap::UpdateAutoColor() {
  if (!FAutoBackColor || FBitMap->Height() <= 0 || FBitMap->Width() <= 0) return;
  // The bitmap's own bottom-left pixel, whatever the control's size.
  FTransparentColor = ColorToRGB(FBitMap->Canvas()->Pixels(0, FBitMap->Height() - 1));
}

void TqcCustomBitmap::SetBitMap(TBitmap* Value) {
  FBitMap->Assign(Value);
  if (FDrawType == bdDrawNormal) {
    const int W = FBitMap->Width(), H = FBitMap->Height();
    SetBounds(Left(), Top(), W ? W : 30, H ? H : 30);
  }
  if (FBitMap->Height() > 0) {
    UpdateAutoColor();
    RefreshParentArea();
  }
  Invalidate();
}

void TqcCustomBitmap::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  RefreshParentArea();
  Invalidate();
}

void TqcCustomBitmap::SetRealTransparent(bool Value) {
  if (FRealTransparent == Value) return;
  FRealTransparent = Value;
  RefreshParentArea();
  Invalidate();
}

void TqcCustomBitmap::SetAutoBackColor(bool Value) {
  FAutoBackColor = Value;
  if (FBitMap->Height() > 0) {
    UpdateAutoColor();
    RefreshParentArea();
  }
  Invalidate();
}

void TqcCustomBitmap::SetTransparentColor(TColor Value) {
  if (FTransparentColor == Value) return;
  FAutoBackColor = false;
  FTransparentColor = Value;
  Invalidate();
}

void TqcCustomBitmap::SetDrawType(qcBitmapDraw Value) {
  if (FDrawType == Value) return;
  FDrawType = Value;
  RefreshParentArea();
  Invalidate();
}

TBitmap* TqcCustomBitmap::WorkImage(std::unique_ptr<TBitmap>& Owned) {
  const int W = Width(), H = Height(), BW = FBitMap->Width(), BH = FBitMap->Height();
  switch (FDrawType) {
    case bdDrawStretch:
      Owned.reset(New<TBitmap>());
      Owned->Assign(FBitMap);
      Owned->SetSize(W, H);
      Owned->Canvas()->CopyRect(Rect(0, 0, W, H), FBitMap->Canvas(), Rect(0, 0, BW, BH));
      return Owned.get();
    case bdDrawCenter:
      Owned.reset(New<TBitmap>());
      Owned->SetPixelFormat(pf24bit);
      Owned->SetSize(W, H);
      Owned->Canvas()->Brush()->SetColor(FTransparentColor);
      Owned->Canvas()->FillRect(Rect(0, 0, W, H));
      Owned->Canvas()->Draw((W - BW) / 2, (H - BH) / 2, FBitMap);
      return Owned.get();
    default: return FBitMap;
  }
}

void TqcCustomBitmap::PaintFrame(TBitmap* Work) {
  TCanvas* C = Canvas();
  const int W = Width(), H = Height();
  const TRect D(0, 0, W, H), S(W * FFrame, 0, W * FFrame + W, H);
  if (FTransparentColor < 0 || !FTransparent) {
    C->CopyRect(D, Work->Canvas(), S);
    return;
  }
  TBitmap Through;
  Through.SetPixelFormat(pf24bit);
  Through.SetSize(Work->Width(), Work->Height());
  if (FRealTransparent) {
    Through.Canvas()->CopyRect(D, Work->Canvas(), S);
    TransparentBlt(C, &Through, 0, 0, FTransparentColor);
  } else {
    TCanvas* T = Through.Canvas();
    T->Brush()->SetColor(Color());
    T->FillRect(Rect(0, 0, Through.Width(), Through.Height()));
    T->BrushCopy(D, Work, S, FTransparentColor);
    C->CopyRect(D, T, D);
  }
}

void TqcCustomBitmap::Paint() {
  TCanvas* C = Canvas();
  if (FBitMap->Height() <= 0 || FBitMap->Width() <= 0) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWhite);
    C->FillRect(ClientRect());
  } else {
    UpdateAutoColor();
    std::unique_ptr<TBitmap> Owned;
    PaintFrame(WorkImage(Owned));
  }
  if (HasState(csDesigning)) {
    C->Pen()->SetStyle(psDash);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(0, 0, Width(), Height());
  }
  if (OnPaint) OnPaint(this);
}

void TqcCustomBitmap::Darken(bool UseTransparent, TPercentType Percent) {
  Apply([&] { DarkenBMP(FBitMap, Percent, UseTransparent, FTransparentColor); });
}
void TqcCustomBitmap::Lighten(bool UseTransparent, TPercentType Percent) {
  Apply([&] { LightenBMP(FBitMap, Percent, UseTransparent, FTransparentColor); });
}
void TqcCustomBitmap::GreyScale(bool UseTransparent) {
  Apply([&] { GreyBMP(FBitMap, UseTransparent, FTransparentColor); });
}
void TqcCustomBitmap::ColorNoise(int Amount) { Apply([&] { AddColorNoise(FBitMap, Amount); }); }
void TqcCustomBitmap::BWNoise(int Amount) { Apply([&] { AddBWNoise(FBitMap, Amount); }); }
void TqcCustomBitmap::Contrast(int Amount) { Apply([&] { ::Contrast(FBitMap, Amount); }); }
void TqcCustomBitmap::Saturation(int Amount) { Apply([&] { ::Saturation(FBitMap, Amount); }); }
void TqcCustomBitmap::Sharpen(int Amount) { Apply([&] { ::Sharpen(FBitMap, Amount); }); }
void TqcCustomBitmap::Blur(int Amount) { Apply([&] { ::Blur(FBitMap, Amount); }); }
void TqcCustomBitmap::GaussianBlur(int Amount) { Apply([&] { ::GaussianBlur(FBitMap, Amount); }); }
void TqcCustomBitmap::Flip() { Apply([&] { FlipBMP(FBitMap); }); }
void TqcCustomBitmap::Mirror() { Apply([&] { MirrorBMP(FBitMap); }); }
void TqcCustomBitmap::ReplaceColor(TColor OldColor, TColor NewColor) {
  Apply([&] { ::ReplaceColor(FBitMap, OldColor, NewColor); });
}

void TqcCustomBitmap::Raster(TqRast Pattern) {
  UpdateAutoColor();
  RasterBMP(FBitMap, FTransparentColor, Pattern);
  if (FRealTransparent && Visible()) {
    SetVisible(false);
    Invalidate();
    SetVisible(true);
  } else {
    Invalidate();
  }
}

void TqcCustomBitmap::BW() {
  UpdateAutoColor();
  if (!FBitMap->Monochrome()) {
    FBitMap->SetMonochrome(true);
    FBitMap->SetMonochrome(false);
  }
  Invalidate();
}

void TqcCustomBitmap::Rotate(int Degrees) {
  UpdateAutoColor();
  TBitmap Turned;
  Turned.Assign(FBitMap);
  Turned.SetSize(Width(), Height());
  Turned.Canvas()->Brush()->SetColor(FTransparentColor);
  Turned.Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  BMPRotate(FBitMap, &Turned, Degrees);
  FBitMap->Assign(&Turned);
  Invalidate();
}

ORV_IMPLEMENT_CLASS(TqcCustomBitmap, TGraphicControl)

namespace {
// The published entries every bitmap control shares.
template <class C> struct TqcBitmapProps {
  static constexpr TPropInfo BitMap() { return PropObject<&C::BitMap, &C::SetBitMap>("BitMap"); }
  static constexpr TPropInfo Transparent() {
    return PropBool<&C::Transparent, &C::SetTransparent>("Transparent", true);
  }
  static constexpr TPropInfo RealTransparent() {
    return PropBool<&C::RealTransparent, &C::SetRealTransparent>("RealTransparent", false);
  }
  static constexpr TPropInfo AutoBackColor() {
    return PropBool<&C::AutoBackColor, &C::SetAutoBackColor>("AutoBackColor", false);
  }
  static constexpr TPropInfo TransparentColor() {
    return PropColor<&C::TransparentColor, &C::SetTransparentColor>("TransparentColor", clWhite);
  }
};
}  // namespace

#define ORV_BITMAP_CONTROL_PROPS(T)                                                                        \
  TqcBitmapProps<T>::BitMap(), TqcBitmapProps<T>::Transparent(), TqcBitmapProps<T>::RealTransparent(),     \
      TqcBitmapProps<T>::AutoBackColor(), TqcBitmapProps<T>::TransparentColor(),                           \
      PropInt<&TControl::Width, &TControl::SetWidth>("Width", 30),                                         \
      PropInt<&TControl::Height, &TControl::SetHeight>("Height", 30), TControlProps::Anchors(),            \
      TControlProps::DragCursor(), TControlProps::DragMode(), TControlProps::ShowHint(),                   \
      TControlProps::ParentShowHint(), TControlProps::Visible(), PropEvent<&T::OnPaint>("OnPaint"),        \
      TControlProps::OnMouseDown(), TControlProps::OnMouseMove(), TControlProps::OnMouseUp(),              \
      TControlProps::OnDragDrop(),                                                                         \
      TControlProps::OnDragOver(), TControlProps::OnEndDrag(), PropEvent<&T::OnMouseEnter>("OnMouseEnter"), \
      PropEvent<&T::OnMouseLeave>("OnMouseLeave")

// ---------------------------------------------------------------------------------------------
// TqBitmap

static constinit const TPropInfo TqBitmap_Props[] = {
    ORV_BITMAP_CONTROL_PROPS(TqBitmap),
    PropEnum<&TqBitmap::DrawType, &TqBitmap::SetDrawType>("DrawType", qcBitmapDrawType, bdDrawNormal),
};
ORV_IMPLEMENT_COMPONENT(TqBitmap, TqcCustomBitmap, TqBitmap_Props)

// ---------------------------------------------------------------------------------------------
// TqAnimated

TqAnimated::TqAnimated(TComponent* AOwner) : TqcCustomBitmap(AOwner) {}

TqAnimated::~TqAnimated() { StopTimer(); }

void TqAnimated::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FTimer) FTimer = nullptr;
}

void TqAnimated::Loaded() {
  inherited::Loaded();
  FitFrameWidth();
  if (FPlay && FInterval > 0 && !HasState(csDesigning)) StartTimer();
}

void TqAnimated::SetBitMap(TBitmap* Value) {
  inherited::SetBitMap(Value);
  FitFrameWidth();
}

void TqAnimated::FitFrameWidth() {
  if (const int W = BitMap()->Width() / Frames(); W > 0) SetWidth(W);
}

void TqAnimated::SetFrame(int Value) {
  const int N = Frames();
  const int F = Value < 0 ? N - 1 : Value % N;
  if (F == FrameIndex()) return;
  SetFrameIndex(F);
  if (OnChangeFrame) OnChangeFrame(this);
  Invalidate();
}

void TqAnimated::StartTimer() {
  StopTimer();
  FTimer = TComponent::Create<TTimer>(this);
  FTimer->OnTimer = TNotifyEvent::Bind<&TqAnimated::TimeHit>(this);
  FTimer->SetInterval(unsigned(FInterval));
}

void TqAnimated::StopTimer() {
  // The timer may be the one whose tick runs now: it is freed all the same, as its tick ends
  // without touching it.
  if (FTimer) TObject::Free(FTimer);
  FTimer = nullptr;
}

void TqAnimated::SetPlay(bool Value) {
  if (FPlay == Value) return;
  FPlay = Value;
  if (HasState(csLoading)) return;
  if (Value && FInterval > 0) StartTimer();
  else StopTimer();
}

void TqAnimated::SetInterval(int Value) {
  if (FInterval == Value) return;
  StopTimer();
  FInterval = Value;
  if (FPlay && Value > 0 && !HasState(csLoading)) StartTimer();
}

void TqAnimated::TimeHit(TObject*) {
  if (!FReverse) {
    SetFrame(Frame() + 1);
    if (Frame() == Frames() - 1 && !FLoop) SetPlay(false);
  } else {
    SetFrame(Frame() - 1);
    if (Frame() == 0 && !FLoop) SetPlay(false);
  }
}

static constinit const TPropInfo TqAnimated_Props[] = {
    ORV_BITMAP_CONTROL_PROPS(TqAnimated),
    PropInt<&TqAnimated::Interval, &TqAnimated::SetInterval>("Interval", 0),
    PropInt<&TqAnimated::FrameCount, &TqAnimated::SetFrameCount>("FrameCount", 1),
    PropInt<&TqAnimated::Frame, &TqAnimated::SetFrame>("Frame", 0),
    PropBool<&TqAnimated::Play, &TqAnimated::SetPlay>("Play", false),
    PropBool<&TqAnimated::Reverse, &TqAnimated::SetReverse>("Reverse", false),
    PropBool<&TqAnimated::Loop, &TqAnimated::SetLoop>("Loop", true),
    PropEvent<&TqAnimated::OnChangeFrame>("OnChangeFrame"),
};
ORV_IMPLEMENT_COMPONENT(TqAnimated, TqcCustomBitmap, TqAnimated_Props)

// ---------------------------------------------------------------------------------------------
// TqResBitmap

namespace {
void Put16(TStream* S, uint16_t V) {
  const uint8_t B[2] = {uint8_t(V), uint8_t(V >> 8)};
  S->WriteBuffer(B, 2);
}
void Put32(TStream* S, uint32_t V) {
  const uint8_t B[4] = {uint8_t(V), uint8_t(V >> 8), uint8_t(V >> 16), uint8_t(V >> 24)};
  S->WriteBuffer(B, 4);
}

struct TResourceLock {
  HGLOBAL Mem;
  ~TResourceLock() { FreeResource(Mem); }
};
}  // namespace

TqResBitmap::TqResBitmap(const char* ResName) {
  const HMODULE Module = GetModuleHandleA(nullptr);
  const HRSRC Res = FindResourceA(Module, ResName, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (!Res) throw EInvalidGraphic("Bitmap image is not valid");
  const DWORD Size = SizeofResource(Module, Res);
  TResourceLock Lock{LoadResource(Module, Res)};
  const void* Dib = Lock.Mem ? LockResource(Lock.Mem) : nullptr;
  if (!Dib || Size == 0) throw EInvalidGraphic("Bitmap image is not valid");
  // The packed DIB behind a BMP file header: "BM", the file's size, 0, the pixels' offset.
  std::unique_ptr<TMemoryStream> Stream(new TMemoryStream);
  Stream->SetSize(int64_t(Size) + 14);
  Put16(Stream.get(), 0x4D42);
  Put32(Stream.get(), uint32_t(Size + 14));
  Put32(Stream.get(), 0);
  Put32(Stream.get(), uint32_t(14 + DIBPixelOffset(Dib, Size)));
  Stream->WriteBuffer(Dib, int(Size));
  Stream->SetPosition(0);
  LoadFromStream(Stream.get());
}

ORV_IMPLEMENT_CLASS(TqResBitmap, TBitmap)

namespace {
struct TqAnimateBitmapRegistration {
  TqAnimateBitmapRegistration() { RegisterClasses({TqBitmap::StaticClass(), TqAnimated::StaticClass()}); }
} QAnimateBitmapRegistration;
}  // namespace
