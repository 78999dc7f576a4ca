#include "package/BMTabSheet.h"

#include <algorithm>
#include <memory>

constexpr TEnumType TBackgroundStyleType{"TBackgroundStyle", {"bgsStretched", "bgsTailed"}};

namespace {

TBitmap* NewGlyphBitmap() {
  auto* B = new TBitmap;
  B->SetSize(16, 16);
  B->Canvas()->SetCopyMode(cmSrcCopy);
  return B;
}

void FillBlack(TBitmap* B) {
  TCanvas* C = B->Canvas();
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetColor(clBlack);
  C->Rectangle(0, 0, B->Width(), B->Height());
}

// Each channel c of the 32-bit pixels of Image becomes c * (256 - A) / 256 + k * A / 256, k the
// same channel of Over's pixel (or of Color when there is no Over); each term truncated.
void BlendTowards(TBitmap* Image, int A, TColor Color, TBitmap* Over) {
  uint8_t Keep[256], Mix[256];
  for (int C = 0; C < 256; ++C) {
    Keep[C] = uint8_t(C * (256 - A) / 256);
    Mix[C] = uint8_t(C * A / 256);
  }
  const uint8_t K[3] = {Mix[uint8_t(Color >> 16)], Mix[uint8_t(Color >> 8)], Mix[uint8_t(Color)]};
  const int W = Image->Width();
  for (int Y = 0; Y < Image->Height(); ++Y) {
    uint8_t* P = static_cast<uint8_t*>(Image->ScanLine(Y));
    if (Over) {
      const uint8_t* T = static_cast<const uint8_t*>(Over->ScanLine(Y));
      for (int X = 0; X < W; ++X, P += 4, T += 4) {
        P[0] = uint8_t(Keep[P[0]] + Mix[T[0]]);
        P[1] = uint8_t(Keep[P[1]] + Mix[T[1]]);
        P[2] = uint8_t(Keep[P[2]] + Mix[T[2]]);
        P[3] = 0;
      }
    } else {
      for (int X = 0; X < W; ++X, P += 4) {
        P[0] = uint8_t(Keep[P[0]] + K[0]);
        P[1] = uint8_t(Keep[P[1]] + K[1]);
        P[2] = uint8_t(Keep[P[2]] + K[2]);
        P[3] = 0;
      }
    }
  }
}

}  // namespace

TBMTabSheet::TBMTabSheet(TComponent* AOwner) : TTabSheet(AOwner) {
  auto* Canvas = new TControlCanvas;
  Canvas->SetControl(this);
  FCanvas = Canvas;
  Brush()->SetColor(Color());
  for (TBitmap*& G : FGlyphs) {
    G = new TBitmap;
    G->OnChange = TNotifyEvent::Bind<&TBMTabSheet::GlyphChanged>(this);
  }
  FBackgroundBitmap = new TBitmap;
  FBackgroundBitmap->OnChange = TNotifyEvent::Bind<&TBMTabSheet::ImageChange>(this);
  for (TBitmap*& T : FTabGlyphs) {
    T = NewGlyphBitmap();
    FillBlack(T);
  }
  FBuffer = new TBitmap;
  FBuffer->SetPixelFormat(pf32bit);
}

TBMTabSheet::~TBMTabSheet() {
  // Off the page control while every member is still there.
  if (PageControl()) SetPageControl(nullptr);
  for (TBitmap* G : FGlyphs) delete G;
  for (TBitmap* T : FTabGlyphs) delete T;
  delete FBackgroundBitmap;
  delete FBuffer;
  delete FCanvas;
}

void TBMTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOVE: WMMove(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case BM_CHANGEVIEW: BMChangeView(Message); break;
    default: inherited::Dispatch(Message);
  }
}

TBMPageControl* TBMTabSheet::BMPageControl() const { return dynamic_cast<TBMPageControl*>(PageControl()); }

// ----- properties

void TBMTabSheet::SetBackgroundBitmap(TBitmap* Value) {
  FBackgroundBitmap->Assign(Value);  // ImageChange drops the buffer and repaints
}

void TBMTabSheet::SetHotTrackCloudColor(TColor Value) {
  if (FHotTrackCloudColor == Value) return;
  FHotTrackCloudColor = Value;
  InvalidateFull();
}

void TBMTabSheet::SetBackgroundStyle(TBackgroundStyle Value) {
  if (FBackgroundStyle == Value) return;
  FBackgroundStyle = Value;
  DropBuffer();
  InvalidateFull();
}

void TBMTabSheet::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  DropBuffer();
  InvalidateFull();
}

void TBMTabSheet::SetTransparentLevel(int Value) {
  Value = std::clamp(Value, 1, 100);
  if (FTransparentLevel == Value) return;
  FTransparentLevel = Value;
  if (!FTransparent) return;
  DropBuffer();
  InvalidateFull();
}

void TBMTabSheet::Notification(TComponent* AComponent, TOperation Operation) {
  TTabSheet::Notification(AComponent, Operation);
  if (Operation == opRemove) FSounds.Forget(AComponent);
}

// ----- glyphs and background

void TBMTabSheet::GlyphChanged(TObject* Sender) {
  for (int Look = 0; Look < 4; ++Look)
    if (Sender == FGlyphs[Look]) TheChangeGlypht(Look);
}

void TBMTabSheet::TheChangeGlypht(int Look) {
  TBitmap* Glyph = FGlyphs[Look];
  TBitmap* Tab = FTabGlyphs[Look];
  FillBlack(Tab);
  if (!Glyph->Empty())
    BitBlt(Tab->Canvas()->Handle(), 0, 0, std::min(16, Glyph->Width()), std::min(16, Glyph->Height()),
           Glyph->Canvas()->Handle(), 0, 0, SRCCOPY);
  if (TBMPageControl* PC = BMPageControl()) PC->UpdateGlyphs();
}

void TBMTabSheet::ImageChange(TObject*) {
  DropBuffer();
  InvalidateFull();
}

void TBMTabSheet::DrawBackground(TBitmap* Target) {
  const int W = Target->Width(), H = Target->Height();
  const int BW = FBackgroundBitmap->Width(), BH = FBackgroundBitmap->Height();
  if (FBackgroundBitmap->Empty() || BW <= 0 || BH <= 0) return;
  HDC Dst = Target->Canvas()->Handle(), Src = FBackgroundBitmap->Canvas()->Handle();
  if (FBackgroundStyle == bgsTailed) {
    for (int X = 0; X < W; X += BW)
      for (int Y = 0; Y < H; Y += BH) BitBlt(Dst, X, Y, BW, BH, Src, 0, 0, SRCCOPY);
  } else {
    int OldMode = SetStretchBltMode(Dst, COLORONCOLOR);
    StretchBlt(Dst, 2, 2, W - 4, H - 4, Src, 0, 0, BW, BH, SRCCOPY);
    SetStretchBltMode(Dst, OldMode);
  }
}

TBitmap* TBMTabSheet::RefreshBuffer() {
  TBMPageControl* PC = BMPageControl();
  if (FBackgroundBitmap->Empty() && (!FTransparent || !PC)) return nullptr;
  TControl* Frame = PageControl() ? static_cast<TControl*>(PageControl()) : this;
  const int W = Frame->Width(), H = Frame->Height();
  if (!FBuffer->Empty() && FBuffer->Width() == W && FBuffer->Height() == H) return FBuffer;
  FBuffer->SetPixelFormat(pf32bit);
  FBuffer->SetSize(W, H);
  if (FBuffer->Empty()) return FBuffer;
  if (FTransparent && PC) {
    PC->ValidateParentImage();
    BitBlt(FBuffer->Canvas()->Handle(), 0, 0, W, H, PC->ParentImage()->Canvas()->Handle(), 0, 0, SRCCOPY);
    if (FTransparentLevel < 100) ProcessTransparentLevel();
  } else {
    DrawBackground(FBuffer);
  }
  return FBuffer;
}

void TBMTabSheet::ProcessTransparentLevel() {
  if (FBuffer->Empty()) return;
  const int A = (100 - FTransparentLevel) * 255 / 100;
  if (FBackgroundBitmap->Empty()) {
    BlendTowards(FBuffer, A, ColorToRGB(Color()), nullptr);
    return;
  }
  TBitmap Back;
  Back.SetPixelFormat(pf32bit);
  Back.SetSize(FBuffer->Width(), FBuffer->Height());
  DrawBackground(&Back);
  BlendTowards(FBuffer, A, clBlack, &Back);
}

void TBMTabSheet::DrawBkg(HDC DC) {
  struct TUnbind {
    TCanvas* C;
    ~TUnbind() { C->SetHandle(nullptr); }
  } Unbind{FCanvas};
  FCanvas->SetHandle(DC);
  TBitmap* B = nullptr;
  if (!FBackgroundBitmap->Empty() || (FTransparent && Parent())) B = RefreshBuffer();
  const TRect Client = ClientRect();
  if (B && !B->Empty()) {
    BitBlt(DC, 0, 0, Client.Right, Client.Bottom, B->Canvas()->Handle(), Left(), Top(), SRCCOPY);
    return;
  }
  // Neither background nor buffer: the sheet's colour.
  const TColor Old = FCanvas->Brush()->Color();
  FCanvas->Brush()->SetColor(Color());
  FCanvas->FillRect(Client);
  FCanvas->Brush()->SetColor(Old);
}

void TBMTabSheet::InvalidateParentBorder() {
  TBMPageControl* PC = BMPageControl();
  if (!PC || PC->Style() != tsTabs || !PC->HandleAllocated()) return;
  const TTabPosition Pos = PC->TabPosition();
  const int D = Pos == tpBottom ? 2 : 0;
  const int L = Left(), T = Top(), W = Width(), H = Height(), PW = PC->Width();
  auto Strip = [PC](const TRect& R) { InvalidateRect(PC->WindowHandle(), &AsRECT(R), TRUE); };
  if (Pos != tpLeft) Strip(Rect(L - 2, T - D - 2, L, T + H - D + 2));
  if (Pos != tpRight) Strip(Rect(L + W, T - 2, PW - 2, T + H - D + 2));
  Strip(Rect(L - 2, T - D - 2, PW - 2, T));
  if (Pos != tpBottom) Strip(Rect(L - 2, T + H, PW - 2, T + H + 2));
}

void TBMTabSheet::InvalidateFull() {
  if (HasState(csLoading | csDestroying)) return;
  Invalidate();
  if (TPageControl* PC = PageControl()) PC->Invalidate();
  ViewChange();
}

void TBMTabSheet::ViewChange() {
  if (TBMPageControl* PC = BMPageControl()) PC->ViewChange();
}

// ----- messages

void TBMTabSheet::WMPaint(TMessage& Message) {
  InvalidateParentBorder();
  inherited::Dispatch(Message);
}

void TBMTabSheet::WMEraseBkgnd(TMessage& Message) {
  InvalidateParentBorder();
  DrawBkg(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 1;
}

void TBMTabSheet::WMSize(TMessage& Message) {
  if (!FBackgroundBitmap->Empty()) Invalidate();
  inherited::Dispatch(Message);
}

void TBMTabSheet::WMMove(TMessage& Message) {
  if (!FBackgroundBitmap->Empty()) {
    if (FTransparent) DropBuffer();
    Invalidate();
  }
  inherited::Dispatch(Message);
}

void TBMTabSheet::CMColorChanged(TMessage& Message) {
  Brush()->SetColor(Color());
  if (FTransparent) DropBuffer();
  InvalidateFull();
  inherited::Dispatch(Message);
}

void TBMTabSheet::BMChangeView(TMessage& Message) {
  DropBuffer();
  inherited::Dispatch(Message);
  Invalidate();
}

// ----- published properties

static constinit const TPropInfo TBMTabSheet_Props[] = {
    PropObject<&TBMTabSheet::BackgroundBitmap, &TBMTabSheet::SetBackgroundBitmap>("BackgroundBitmap"),
    PropEnum<&TBMTabSheet::BackgroundStyle, &TBMTabSheet::SetBackgroundStyle>("BackgroundStyle",
                                                                             TBackgroundStyleType, bgsStretched),
    TControlProps::Color(clWindow),
    PropObject<&TBMTabSheet::Glyph, &TBMTabSheet::SetGlyph>("Glyph"),
    PropObject<&TBMTabSheet::GlyphHighlighted, &TBMTabSheet::SetGlyphHighlighted>("GlyphHighlighted"),
    PropObject<&TBMTabSheet::GlyphSelectedHighlighted, &TBMTabSheet::SetGlyphSelectedHighlighted>(
        "GlyphSelectedHighlighted"),
    PropObject<&TBMTabSheet::GlyphUnselected, &TBMTabSheet::SetGlyphUnselected>("GlyphUnselected"),
    PropRef<&TBMTabSheet::HighlightSound, &TBMTabSheet::SetHighlightSound>("HighlightSound"),
    PropColor<&TBMTabSheet::HotTrackCloudColor, &TBMTabSheet::SetHotTrackCloudColor>("HotTrackCloudColor", 65535),
    TControlProps::ParentColor(true),
    PropRef<&TBMTabSheet::PulseSound, &TBMTabSheet::SetPulseSound>("PulseSound"),
    PropRef<&TBMTabSheet::SelectSound, &TBMTabSheet::SetSelectSound>("SelectSound"),
    PropBool<&TBMTabSheet::Transparent, &TBMTabSheet::SetTransparent>("Transparent", false),
    PropInt<&TBMTabSheet::TransparentLevel, &TBMTabSheet::SetTransparentLevel>("TransparentLevel", 100),
};
ORV_IMPLEMENT_COMPONENT(TBMTabSheet, TTabSheet, TBMTabSheet_Props)

namespace {
struct TBMPageClasses {
  TBMPageClasses() { RegisterClasses({TBMPageControl::StaticClass(), TBMTabSheet::StaticClass()}); }
} BMPageClasses;
}  // namespace
