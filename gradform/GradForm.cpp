#include "gradform/GradForm.h"

#include "vcl/GdiGuards.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

constexpr TEnumType TGFPaintWhenType{"TGFPaintWhen", {"gfpAlways", "gfpActive", "gfpNever"}};
constexpr TEnumType TGFLogoAlignType{"TGFLogoAlign", {"laLeft", "laRight"}};

TGFSetWindowRgn GradSetWindowRgn = &SetWindowRgn;

namespace {

// Set while the caption text is being set, so the WM_SETTEXT it sends does not set it again.
bool SettingCaption = false;

// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED
constexpr UINT FrameChangedFlags = 55;
// The MDI client posts it to itself when its children's extent may have changed.
constexpr UINT WM_MDICALCCHILDSCROLL = 0x3F;
// Size of the non-client metrics record without the padded-border field.
constexpr UINT NonClientMetricsSize = 340;
static_assert(sizeof(NONCLIENTMETRICSA) >= NonClientMetricsSize);

template <class F> struct TFinally {
  F Fn;
  ~TFinally() { Fn(); }
};
template <class F> TFinally(F) -> TFinally<F>;

int Red(TColor C) { return C & 0xFF; }
int Green(TColor C) { return (C >> 8) & 0xFF; }
int Blue(TColor C) { return (C >> 16) & 0xFF; }
TColor MakeColor(int R, int G, int B) { return TColor((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16)); }

bool ScreenIs16Color() {
  TWindowDC DC(nullptr);
  return GetDeviceCaps(DC, PLANES) * GetDeviceCaps(DC, BITSPIXEL) == 4;
}

bool WindowsIsNewer() {
  OSVERSIONINFOA Info{};
  Info.dwOSVersionInfoSize = sizeof Info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&Info)) return false;
#pragma GCC diagnostic pop
  return Info.dwMajorVersion > 4 || (Info.dwMajorVersion == 4 && Info.dwMinorVersion != 0);
}

void SolidFill(HDC DC, int X, int Y, int W, int H, TColor Color) {
  if (W <= 0 || H <= 0) return;
  // The DC's own brush in the band's colour: no brush made and deleted per band.
  TSelectGuard Sel(DC, GetStockObject(DC_BRUSH));
  const COLORREF Old = SetDCBrushColor(DC, COLORREF(Color));
  PatBlt(DC, X, Y, W, H, PATCOPY);
  SetDCBrushColor(DC, Old);
}

TRect Intersect(const TRect& A, const TRect& B) {
  TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
  if (R.Right < R.Left) R.Right = R.Left;
  if (R.Bottom < R.Top) R.Bottom = R.Top;
  return R;
}

// A GDI call failed: EOSError with the system's text.
[[noreturn]] void RaiseLastOSError() {
  const DWORD Code = GetLastError();
  char Buf[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Code, 0, Buf, sizeof Buf,
                 nullptr);
  throw EOSError("System Error.  Code: %d.\r\n%s", {int(Code), AnsiString(Buf)});
}

bool IsEmptyRect(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

TCustomForm* MainForm() { return Application ? Application->MainForm() : nullptr; }

// The application's main form's window, null when it has none.
HWND MainFormWindow() {
  TCustomForm* Main = MainForm();
  return Main && Main->HandleAllocated() ? Main->WindowHandle() : nullptr;
}

}  // namespace

// What painting keeps between paints, so that no paint makes a bitmap for the screen: the
// caption image (a memory DC holding a bitmap compatible with the window, made again when the
// caption's size or the screen's format changes) and the two dither masks, each selected in a
// memory DC of its own.
struct TgrdGradientForm::TCaptionCache {
  HDC ImageDC = nullptr;
  TBitmapOwner Image;
  HGDIOBJ ImageOld = nullptr;
  int Width = 0, Height = 0;
  HDC MaskDC[2] = {};
  TBitmapOwner Mask[2];
  HGDIOBJ MaskOld[2] = {};

  TCaptionCache() = default;
  TCaptionCache(const TCaptionCache&) = delete;
  TCaptionCache& operator=(const TCaptionCache&) = delete;
  ~TCaptionCache() {
    DropImage();
    for (int I = 0; I < 2; ++I)
      if (MaskDC[I]) {
        SelectObject(MaskDC[I], MaskOld[I]);
        DeleteDC(MaskDC[I]);
      }
  }
  void DropImage() {
    if (!ImageDC) return;
    SelectObject(ImageDC, ImageOld);
    DeleteDC(ImageDC);
    ImageDC = nullptr;
    Image.Reset();
    Width = Height = 0;
  }
  // A memory DC with an image of W by H compatible with DC (its contents undefined).
  HDC ImageFor(HDC DC, int W, int H) {
    if (ImageDC && W == Width && H == Height) return ImageDC;
    DropImage();
    TBitmapOwner Bmp(CreateCompatibleBitmap(DC, W, H));
    HDC Mem = Bmp ? CreateCompatibleDC(DC) : nullptr;
    if (!Mem) RaiseLastOSError();
    ImageOld = SelectObject(Mem, Bmp.Get());
    ImageDC = Mem;
    Image = std::move(Bmp);
    Width = W;
    Height = H;
    return ImageDC;
  }
  // A memory DC holding dither mask 1 or 2.
  HDC MaskFor(int Which) {
    const int I = Which - 1;
    if (MaskDC[I]) return MaskDC[I];
    const char* Name = Which == 2 ? "GRD_DITHGRADMASK2" : "GRD_DITHGRADMASK1";
    TBitmapOwner Bmp(LoadBitmapA(GetModuleHandleA(nullptr), Name));
    if (!Bmp) throw EResNotFound("Resource %s not found", {AnsiString(Name)});
    HDC Mem = CreateCompatibleDC(nullptr);
    if (!Mem) RaiseLastOSError();
    MaskOld[I] = SelectObject(Mem, Bmp.Get());
    MaskDC[I] = Mem;
    Mask[I] = std::move(Bmp);
    return Mem;
  }
};

// ---------------------------------------------------------------------------------------------
// Construction

TgrdGradientForm::TgrdGradientForm(TComponent* AOwner) : TForm(AOwner), FCache(std::make_unique<TCaptionCache>()) {
  FLogo = new TBitmap();
  FInactiveLogo = new TBitmap();
  FLogoLayered = false;
  FLogoAlign = laRight;
  FIsNewWindows = WindowsIsNewer();
  FIs16Color = ScreenIs16Color();
  FPaint16Color = false;
  FUseWin98Gradient = false;
  FUseDithering = true;
  FStopColorIsDefault = FInactiveStopColorIsDefault = true;
  FCaptionTextColor = FInactiveCaptionTextColor = 0xFFFFFF;
  FGradientStartColor = FGradientInactiveStartColor = 0;
  FGradientStopColor = clActiveCaption;
  FGradientInactiveStopColor = clInactiveCaption;
  FGradientColors = 64;
  FPaintGradient = gfpAlways;
  FUseSystemCaptionFont = true;
  FCaptionFont = new TFont();
  UpdateCaptionFont();
  CalculateColors();
}

TgrdGradientForm::~TgrdGradientForm() {
  delete FLogo;
  delete FInactiveLogo;
  delete FCaptionFont;
}

TClass TgrdGradientForm::FormResourceRoot() const { return StaticClass(); }

void TgrdGradientForm::AfterConstruction() {
  // The constructor reached only this class's versions: a descendant's run here, before the
  // form resources are read.
  UpdateCaptionFont();
  CalculateColors();
  // Loading from the first resource read until every component's Loaded ran (DoCreate); also
  // cleared when reading fails.
  TFinally Clear{[this] { FIsLoading = false; }};
  inherited::AfterConstruction();
}

void TgrdGradientForm::ReadState(TReader* Reader) {
  FIsLoading = true;
  inherited::ReadState(Reader);
}

void TgrdGradientForm::DoCreate() {
  FIsLoading = false;
  inherited::DoCreate();
}

void TgrdGradientForm::CreateWnd() {
  inherited::CreateWnd();
  if (!GetInhibitGradient() && FormStyle() == fsMDIForm && ClientHandle())
    FClientHook.Install(ClientHandle(), TWindowProcHook::THandler::Bind<&TgrdGradientForm::GradClientWndProc>(this));
}

void TgrdGradientForm::DestroyWnd() {
  FClientHook.Remove();
  inherited::DestroyWnd();
}

void TgrdGradientForm::GradClientWndProc(TMessage& Message) {
  const TWindowProcHook::TLink Link = FClientHook.CurrentLink();
  Message.Result = Link.CallPrevious(Message);
  if (Message.Msg == WM_MDICALCCHILDSCROLL) Draw(IsActiveWindow());
}

// ---------------------------------------------------------------------------------------------
// Properties

void TgrdGradientForm::SetCaptionFont(TFont* Value) {
  if (Value) FCaptionFont->Assign(Value);
  FUseSystemCaptionFont = false;
  UpdateCaptionFont();
}

void TgrdGradientForm::SetUseSystemCaptionFont(bool Value) {
  if (FUseSystemCaptionFont == Value) return;
  FUseSystemCaptionFont = Value;
  UpdateCaptionFont();
}

void TgrdGradientForm::SetGradientColors(int Value) {
  if (Value == FGradientColors || Value < MinGradientColors || Value > MaxGradientColors) return;
  FGradientColors = Value;
  CalculateColors();
  InvalidateCaption();
}

void TgrdGradientForm::SetCaptionTextColor(TColor Value) {
  if (FCaptionTextColor == Value) return;
  FCaptionTextColor = Value;
  InvalidateCaption();
}

void TgrdGradientForm::SetInactiveCaptionTextColor(TColor Value) {
  if (FInactiveCaptionTextColor == Value) return;
  FInactiveCaptionTextColor = Value;
  InvalidateCaption();
}

void TgrdGradientForm::SetGradientStartColor(TColor Value) {
  FGradientStartColor = Value;
  CalculateColors();
  InvalidateCaption();
}

void TgrdGradientForm::SetGradientStopColor(TColor Value) {
  FGradientStopColor = Value;
  FStopColorIsDefault = Value == clActiveCaption;
  CalculateColors();
  InvalidateCaption();
}

void TgrdGradientForm::SetGradientInactiveStartColor(TColor Value) {
  FGradientInactiveStartColor = Value;
  CalculateColors();
  InvalidateCaption();
}

void TgrdGradientForm::SetGradientInactiveStopColor(TColor Value) {
  FGradientInactiveStopColor = Value;
  FInactiveStopColorIsDefault = Value == clInactiveCaption;
  CalculateColors();
  InvalidateCaption();
}

void TgrdGradientForm::SetPaintGradient(TGFPaintWhen Value) {
  if (FPaintGradient == Value) return;
  FPaintGradient = Value;
  InvalidateCaption();
}

void TgrdGradientForm::SetUseWin98Gradient(bool Value) {
  if (FUseWin98Gradient == Value) return;
  FUseWin98Gradient = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) RecreateWnd();
}

void TgrdGradientForm::SetUseDithering(bool Value) {
  if (FUseDithering == Value) return;
  FUseDithering = Value;
  InvalidateCaption();
}

void TgrdGradientForm::SetLogo(TBitmap* Value) {
  FLogo->Assign(Value);
  InvalidateCaption();
}

void TgrdGradientForm::SetInactiveLogo(TBitmap* Value) {
  FInactiveLogo->Assign(Value);
  InvalidateCaption();
}

void TgrdGradientForm::SetLogoAlign(TGFLogoAlign Value) {
  if (FLogoAlign == Value) return;
  FLogoAlign = Value;
  InvalidateCaption();
}

void TgrdGradientForm::SetLogoLayered(bool Value) {
  if (FLogoLayered == Value) return;
  FLogoLayered = Value;
  InvalidateCaption();
}

void TgrdGradientForm::SetPaint16Color(bool Value) {
  if (FPaint16Color == Value) return;
  FPaint16Color = Value;
  InvalidateCaption();
}

TColor TgrdGradientForm::ColorTable(bool Active, int Index) const {
  if (Index < 0 || Index >= FGradientColors) throw EListError("List index out of bounds (%d)", {Index});
  return FColors[Active ? 1 : 0][Index];
}

// ---------------------------------------------------------------------------------------------
// State

bool TgrdGradientForm::Win98Check() { return FUseWin98Gradient && FIsNewWindows; }

bool TgrdGradientForm::GetInhibitGradient() { return Win98Check() || (FIs16Color && !FPaint16Color); }

bool TgrdGradientForm::IsActiveWindow() {
  if (FormStyle() != fsMDIChild) return HandleAllocated() && GetActiveWindow() == WindowHandle();
  HWND Main = MainFormWindow();
  return Main && GetActiveWindow() == Main && MainForm()->ActiveMDIChild() == this;
}

bool TgrdGradientForm::IsMaximizedMDIChild() {
  return FormStyle() == fsMDIChild && HandleAllocated() && IsZoomed(WindowHandle());
}

AnsiString TgrdGradientForm::CaptionDisplayText() {
  if (FormStyle() == fsMDIForm)
    if (TCustomForm* Child = ActiveMDIChild(); Child && Child->HandleAllocated() && IsZoomed(Child->WindowHandle()))
      return FCaption + " - [" + Child->Caption() + "]";
  return FCaption;
}

void TgrdGradientForm::InvalidateCaption() {
  if (!HandleAllocated() || GetInhibitGradient()) return;
  SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0, FrameChangedFlags);
}

void TgrdGradientForm::SetCaptionText(const AnsiString& Value) {
  if (SettingCaption) return;
  SettingCaption = true;
  TFinally Clear{[] { SettingCaption = false; }};
  TForm::SetCaption(Value);
  FCaption = Value;
  if (GetInhibitGradient() || !HandleAllocated() || !IsWindowVisible(WindowHandle())) return;
  if (FormStyle() != fsMDIChild) {
    Draw(IsActiveWindow());
  } else if (IsZoomed(WindowHandle())) {
    // The frame's caption shows this one.
    if (HWND Main = MainFormWindow()) SetWindowPos(Main, nullptr, 0, 0, 0, 0, FrameChangedFlags);
  } else {
    InvalidateCaption();
  }
}

// ---------------------------------------------------------------------------------------------
// Colour tables

void TgrdGradientForm::CalculateColors() {
  const int N = FGradientColors;
  for (int T = 0; T < 2; ++T) {
    const TColor S = ColorToRGB(T ? FGradientStartColor : FGradientInactiveStartColor);
    const TColor E = ColorToRGB(T ? FGradientStopColor : FGradientInactiveStopColor);
    const double StepR = double(Red(E) - Red(S)) / (N - 1);
    const double StepG = double(Green(E) - Green(S)) / (N - 1);
    const double StepB = double(Blue(E) - Blue(S)) / (N - 1);
    for (int D = 0; D < N; ++D)
      FColors[T][D] = MakeColor(Red(S) + int(std::nearbyint(D * StepR)), Green(S) + int(std::nearbyint(D * StepG)),
                                Blue(S) + int(std::nearbyint(D * StepB)));
  }
}

// ---------------------------------------------------------------------------------------------
// Fills

void TgrdGradientForm::FillRectSolid(HDC DC, const TRect& R, bool Active, TColor ActiveColor, TColor InactiveColor) {
  SolidFill(DC, R.Left, R.Top, R.Width(), R.Height(), ColorToRGB(Active ? ActiveColor : InactiveColor));
}

TGFFillMethod TgrdGradientForm::GradientFillMethod(HDC DC, int W, bool Active, bool Dither) {
  if (W < 1) return gfmNone;
  const bool Palette = GetDeviceCaps(DC, SIZEPALETTE) > 0;
  if (Dither && !Palette) {
    const TColor S = ColorToRGB(Active ? FGradientStartColor : FGradientInactiveStartColor);
    const TColor E = ColorToRGB(Active ? FGradientStopColor : FGradientInactiveStopColor);
    const int D = std::abs(Red(E) - Red(S)) + std::abs(Green(E) - Green(S)) + std::abs(Blue(E) - Blue(S));
    const int MaskWidth = 7 * D >= 5 * W ? Mask2Width : Mask1Width;
    if (W >= 2 * MaskWidth) return gfmDithered;
  }
  return Palette || W < FGradientColors ? gfmBands : gfmStretched;
}

void TgrdGradientForm::FillRectGradient(HDC DC, const TRect& R, bool Active, bool Dither) {
  const TColor* Table = FColors[Active ? 1 : 0];
  switch (GradientFillMethod(DC, R.Width(), Active, Dither)) {
    case gfmNone: return;
    case gfmDithered: {
      const TColor S = ColorToRGB(Active ? FGradientStartColor : FGradientInactiveStartColor);
      const TColor E = ColorToRGB(Active ? FGradientStopColor : FGradientInactiveStopColor);
      const int D = std::abs(Red(E) - Red(S)) + std::abs(Green(E) - Green(S)) + std::abs(Blue(E) - Blue(S));
      FillDithered(DC, R, Active, 7 * D >= 5 * R.Width() ? 2 : 1);
      return;
    }
    case gfmBands: FillBands(DC, R, Table); return;
    case gfmStretched: FillStretched(DC, R, Table); return;
  }
}

namespace {

// A table colour as a pixel of a 32-bit DIB.
uint32_t DibPixel(TColor C) { return uint32_t(Blue(C)) | uint32_t(Green(C)) << 8 | uint32_t(Red(C)) << 16; }

// One row of N pixels stretched over R.
void StretchRow(HDC DC, const TRect& R, const uint32_t* Row, int N) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = N;
  Info.bmiHeader.biHeight = 1;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  const int OldMode = SetStretchBltMode(DC, COLORONCOLOR);
  StretchDIBits(DC, R.Left, R.Top, R.Width(), R.Height(), 0, 0, N, 1, Row, &Info, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(DC, OldMode);
}

}  // namespace

void TgrdGradientForm::FillBands(HDC DC, const TRect& R, const TColor* Table) {
  const int N = FGradientColors, W = R.Width();
  if (W <= 0 || R.Height() <= 0) return;
  const double Step = double(W) / N;
  auto Edge = [&](int I) { return std::clamp(int(std::nearbyint(I * Step)), 0, W); };
  if (GetDeviceCaps(DC, RASTERCAPS) & RC_PALETTE) {
    // Brushes, so that a palette device maps each band's colour as a brush.
    for (int I = 0; I < N; ++I)
      SolidFill(DC, R.Left + Edge(I), R.Top, Edge(I + 1) - Edge(I), R.Height(), Table[I]);
    return;
  }
  // The same bands as one row of pixels, copied down the rectangle in one call.
  std::vector<uint32_t> Row(static_cast<size_t>(W));
  for (int I = 0; I < N; ++I)
    std::fill(Row.begin() + Edge(I), Row.begin() + std::max(Edge(I), Edge(I + 1)), DibPixel(Table[I]));
  StretchRow(DC, R, Row.data(), W);
}

void TgrdGradientForm::FillStretched(HDC DC, const TRect& R, const TColor* Table) {
  // One row of the n table colours, stretched over the rectangle.
  const int N = FGradientColors;
  uint32_t Row[MaxGradientColors];
  for (int I = 0; I < N; ++I) Row[I] = DibPixel(Table[I]);
  StretchRow(DC, R, Row, N);
}

void TgrdGradientForm::FillDithered(HDC DC, const TRect& R, bool Active, int Mask) {
  const int W = R.Width(), H = R.Height();
  const int MW = Mask == 2 ? Mask2Width : Mask1Width;
  const int MH = Mask == 2 ? Mask2Height : Mask1Height;
  const TColor S = ColorToRGB(Active ? FGradientStartColor : FGradientInactiveStartColor);
  const TColor E = ColorToRGB(Active ? FGradientStopColor : FGradientInactiveStopColor);
  HDC MaskDC = FCache->MaskFor(Mask);

  // Straight onto DC, clipped to the rectangle: the last band and the last row of mask tiles
  // reach past it.
  const int Q = W / MW, Count = Q + 1, Rem = W % MW;
  TSaveDC Saved(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  // Mask pixels as colours: 0 (black) -> all bits clear, 1 (white) -> all bits set.
  SetTextColor(DC, RGB(0, 0, 0));
  SetBkColor(DC, RGB(255, 255, 255));

  auto Channel = [Q](int K, int From, int To) { return std::clamp(From + MulDiv(K, To - From, Q), 0, 255); };
  int X = R.Left;
  TColor Prev = S;
  for (int K = 1; K <= Count; ++K) {
    const TColor C = MakeColor(Channel(K, Red(S), Red(E)), Channel(K, Green(S), Green(E)),
                               Channel(K, Blue(S), Blue(E)));
    SolidFill(DC, X, R.Top, MW, H, C);
    // Each mask tile down the band: the band's colour stays where the mask is white, the
    // previous colour shows where it is black.
    {
      TSelectGuard BrushSel(DC, GetStockObject(DC_BRUSH));
      SetDCBrushColor(DC, COLORREF(Prev));
      for (int Y = 0; Y < H; Y += MH) {
        BitBlt(DC, X, R.Top + Y, MW, MH, MaskDC, 0, 0, SRCAND);
        BitBlt(DC, X, R.Top + Y, MW, MH, MaskDC, 0, 0, 0x00BA0B09 /* DPSnao: D | (P & ~S) */);
      }
    }
    X += MW;
    if (Rem > 0) {
      const int Extra = Rem / (Q - 1) + (Rem % (Q - 1) > K ? 1 : 0);
      SolidFill(DC, X, R.Top, Extra, H, C);
      X += Extra;
    }
    Prev = C;
  }
}

// ---------------------------------------------------------------------------------------------
// Caption painting

TRect TgrdGradientForm::GetCaptionRect() {
  RECT WR{};
  if (HandleAllocated()) GetWindowRect(WindowHandle(), &WR);
  else WR = RECT{Left(), Top(), Left() + Width(), Top() + Height()};
  TRect R{0, 0, int(WR.right - WR.left), int(WR.bottom - WR.top)};
  int CaptionHeight = GetSystemMetrics(SM_CYCAPTION);
  auto Shrink = [&R](int DX, int DY) {
    R.Left += DX;
    R.Right -= DX;
    R.Top += DY;
    R.Bottom -= DY;
  };
  if (HasState(csDesigning)) {
    Shrink(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME));
  } else {
    const TFormBorderStyle BS = BorderStyle();
    if (BS == bsNone) return TRect{0, 0, 0, 0};
    const bool Iconic = HandleAllocated() && IsIconic(WindowHandle());
    if (Iconic || BS == bsSingle || BS == bsDialog || BS == bsToolWindow)
      Shrink(GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME));
    else
      Shrink(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME));
    if (BS == bsToolWindow || BS == bsSizeToolWin) CaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
  }
  R.Bottom = R.Top + CaptionHeight - 1;
  return R;
}

bool TgrdGradientForm::HasSystemMenuIcon() const {
  if (HasState(csDesigning)) return true;
  return (BorderIcons() & (1u << biSystemMenu)) && (BorderStyle() == bsSingle || BorderStyle() == bsSizeable);
}

void TgrdGradientForm::PaintMenuIcon(HDC DC, TRect& R, bool Active) {
  // The form's own icon, else the application's, else the icon the form's window or the
  // application's window shows (theirs or their class's), else the system's.
  HICON Source = !Icon()->Empty() ? Icon()->Handle() : nullptr;
  if (!Source && Application && !Application->Icon()->Empty()) Source = Application->Icon()->Handle();
  if (!Source && HandleAllocated()) {
    HWND W = WindowHandle();
    Source = reinterpret_cast<HICON>(SendMessageA(W, WM_GETICON, ICON_SMALL, 0));
    if (!Source) Source = reinterpret_cast<HICON>(SendMessageA(W, WM_GETICON, ICON_BIG, 0));
    if (!Source) Source = reinterpret_cast<HICON>(GetClassLongPtrA(W, GCLP_HICONSM));
    if (!Source) Source = reinterpret_cast<HICON>(GetClassLongPtrA(W, GCLP_HICON));
  }
  if (!Source && Application) {
    HWND App = Application->Handle();
    Source = reinterpret_cast<HICON>(SendMessageA(App, WM_GETICON, ICON_BIG, 0));
    if (!Source) Source = reinterpret_cast<HICON>(GetClassLongPtrA(App, GCLP_HICON));
  }
  if (!Source) Source = LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */);
  const int Size = GetSystemMetrics(SM_CXSMICON);
  TIconOwner Small(static_cast<HICON>(CopyImage(Source, IMAGE_ICON, Size, Size, LR_COPYFROMRESOURCE)));
  if (Small) DrawIconEx(DC, R.Left + 1, R.Top + 1, Small.Get(), Size, Size, 0, nullptr, DI_NORMAL);
  R.Left += Size + 1;
}

std::vector<TGFCaptionButton> TgrdGradientForm::CaptionButtonLayout(TRect& R) {
  std::vector<TGFCaptionButton> Buttons;
  const bool Designing = HasState(csDesigning);
  const TFormBorderStyle BS = Designing ? bsSizeable : BorderStyle();
  const TBorderIcons Icons =
      Designing ? (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize) : BorderIcons();
  const bool Zoomed = HandleAllocated() && IsZoomed(WindowHandle());
  const bool Iconic = HandleAllocated() && IsIconic(WindowHandle());
  TRect B{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};

  if (BS == bsToolWindow || BS == bsSizeToolWin) {
    B.Left = B.Right - GetSystemMetrics(SM_CXSMSIZE) + 2;
    const bool NoClose = HandleAllocated() && (GetClassLongA(WindowHandle(), GCL_STYLE) & CS_NOCLOSE);
    Buttons.push_back({unsigned(DFCS_CAPTIONCLOSE | (NoClose ? DFCS_INACTIVE : 0)), B});
    R.Right = B.Left - 5;
    return Buttons;
  }
  int W = GetSystemMetrics(SM_CXSMICON) - 2;
  if ((W & 1) != (R.Height() & 1)) ++W;
  B.Left = B.Right - W - 2;
  auto MoveLeft = [&B](int D) {
    B.Left -= D;
    B.Right -= D;
  };
  if (Icons & (1u << biSystemMenu)) {
    const bool NoClose = HandleAllocated() && (GetClassLongA(WindowHandle(), GCL_STYLE) & CS_NOCLOSE);
    Buttons.push_back({unsigned(DFCS_CAPTIONCLOSE | (NoClose ? DFCS_INACTIVE : 0)), B});
    MoveLeft(W + 4);
    R.Right -= W + 4;
  }
  const bool Boxes = BS == bsSingle || BS == bsSizeable;
  const bool MinMax = Icons & ((1u << biMinimize) | (1u << biMaximize));
  if (Boxes && MinMax) {
    Buttons.push_back({unsigned((Zoomed ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) |
                                (Icons & (1u << biMaximize) ? 0 : DFCS_INACTIVE)),
                       B});
    MoveLeft(W + 2);
    R.Right -= W + 2;
    Buttons.push_back({unsigned((Iconic ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) |
                                (Icons & (1u << biMinimize) ? 0 : DFCS_INACTIVE)),
                       B});
    MoveLeft(W + 2);
    R.Right -= W + 2;
  }
  if ((Icons & (1u << biHelp)) && ((Boxes && !MinMax) || BS == bsDialog)) {
    Buttons.push_back({unsigned(DFCS_CAPTIONHELP), B});
    R.Right -= W + 2;
  }
  R.Right -= 3;
  return Buttons;
}

void TgrdGradientForm::PaintCaptionButtons(HDC DC, TRect& R) {
  for (TGFCaptionButton& Button : CaptionButtonLayout(R))
    DrawFrameControl(DC, &AsRECT(Button.Bounds), DFC_CAPTION, Button.State);
}

void TgrdGradientForm::PaintCaptionText(HDC DC, TRect R, bool Active) {
  R.Left += 2;
  const COLORREF OldColor =
      SetTextColor(DC, COLORREF(ColorToRGB(Active ? FCaptionTextColor : FInactiveCaptionTextColor)));
  const int OldMode = SetBkMode(DC, TRANSPARENT);
  TSelectGuard Font(DC, FCaptionFont->Handle());
  const AnsiString Text = CaptionDisplayText();
  DrawTextA(DC, Text.c_str(), Text.Length(), &AsRECT(R), DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  Font.Restore();
  SetBkMode(DC, OldMode);
  SetTextColor(DC, OldColor);
}

void TgrdGradientForm::DrawCaption(HDC DC, bool Active, TRect& Rect) {
  Rect = GetCaptionRect();
  TRect R{0, 0, Rect.Width(), Rect.Height()};
  if (IsEmptyRect(R)) return;
  HDC Mem = FCache->ImageFor(DC, R.Right, R.Bottom);
  // Whatever the steps leave in the DC goes with this paint.
  TSaveDC Saved(Mem);

  bool LogoUsed = false;
  if (FPaintGradient == gfpAlways || (FPaintGradient == gfpActive && Active)) {
    if (!FLogo->Empty()) {
      FillRectSolid(Mem, R, Active, FGradientStartColor, FGradientInactiveStartColor);
      LogoUsed = true;
    } else {
      FillRectGradient(Mem, R, Active, FUseDithering);
    }
  } else {
    SolidFill(Mem, R.Left, R.Top, R.Width(), R.Height(),
              TColor(GetSysColor(Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION)));
  }
  R.Left += 1;

  const bool SysMenu = HasSystemMenuIcon();
  if (IsMaximizedMDIChild()) {
    // Its icon and buttons are on the frame's menu bar.
  } else if (!LogoUsed) {
    if (SysMenu) PaintMenuIcon(Mem, R, Active);
    PaintCaptionButtons(Mem, R);
  } else {
    if (FLogoAlign == laRight) {
      FillRectSolid(Mem, R, Active, FGradientStopColor, FGradientInactiveStopColor);
      PaintCaptionButtons(Mem, R);
    } else if (SysMenu) {
      FillRectSolid(Mem, R, Active, FGradientStartColor, FGradientInactiveStartColor);
      PaintMenuIcon(Mem, R, Active);
    }
    TBitmap* Picture = !Active && !FInactiveLogo->Empty() ? FInactiveLogo : FLogo;
    const int LW = Picture->Width(), LH = Picture->Height();
    TRect L = FLogoAlign == laRight ? TRect{R.Right - LW, R.Top, R.Right, R.Bottom}
                                    : TRect{R.Left, R.Top, R.Left + LW, R.Bottom};
    L = Intersect(L, R);
    TRect G = FLogoAlign == laRight ? TRect{R.Left, R.Top, L.Left, R.Bottom} : TRect{L.Right, R.Top, R.Right, R.Bottom};
    if (G.Right < G.Left) G.Right = G.Left;
    if (!IsEmptyRect(G)) FillRectGradient(Mem, G, Active, FUseDithering);
    if (!IsEmptyRect(L)) {
      const int Offset = (L.Height() - LH) / 2;
      HDC Src = Picture->Canvas()->Handle();
      if (Offset >= 0) BitBlt(Mem, L.Left, L.Top + Offset, L.Width(), LH, Src, 0, 0, SRCCOPY);
      else BitBlt(Mem, L.Left, L.Top, L.Width(), L.Height(), Src, 0, -Offset, SRCCOPY);
    }
    if (FLogoAlign == laLeft) PaintCaptionButtons(Mem, R);
    else if (SysMenu) PaintMenuIcon(Mem, R, Active);
    if (!FLogoLayered) R = Intersect(R, G);
  }

  if (OnCaptionPaint) {
    TCanvas Canvas;
    Canvas.SetHandle(Mem);
    TFinally Unbind{[&Canvas] { Canvas.SetHandle(nullptr); }};
    Canvas.Font()->Assign(FCaptionFont);
    OnCaptionPaint(this, &Canvas, R);
  }
  PaintCaptionText(Mem, R, Active);
  BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Mem, 0, 0, SRCCOPY);
}

void TgrdGradientForm::Draw(bool Active) {
  if (HasState(csDestroying) || !HandleAllocated()) return;
  HWND W = WindowHandle();
  HDC DC = GetWindowDC(W);
  if (!DC) return;
  TFinally Release{[W, DC] { ReleaseDC(W, DC); }};
  TRect R;
  DrawCaption(DC, Active, R);
}

void TgrdGradientForm::UpdateCaptionFont() {
  NONCLIENTMETRICSA Metrics;
  std::memset(&Metrics, 0, sizeof Metrics);
  Metrics.cbSize = NonClientMetricsSize;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NonClientMetricsSize, &Metrics, 0)) {
    const bool Small = BorderStyle() == bsToolWindow || BorderStyle() == bsSizeToolWin;
    const LOGFONTA& F = Small ? Metrics.lfSmCaptionFont : Metrics.lfCaptionFont;
    if (FUseSystemCaptionFont) {
      FCaptionFont->SetCharset(F.lfCharSet);
      FCaptionFont->SetName(AnsiString(std::string(F.lfFaceName, strnlen(F.lfFaceName, LF_FACESIZE))));
      FCaptionFont->SetHeight(F.lfHeight);
      const int Pitch = F.lfPitchAndFamily & 3;
      FCaptionFont->SetPitch(Pitch == FIXED_PITCH ? fpFixed : Pitch == VARIABLE_PITCH ? fpVariable : fpDefault);
      TFontStyles Style = 0;
      if (F.lfWeight >= FW_BOLD) Style |= FontStyle(fsBold);
      if (F.lfItalic == 1) Style |= FontStyle(fsItalic);
      if (F.lfUnderline == 1) Style |= FontStyle(fsUnderline);
      if (F.lfStrikeOut == 1) Style |= FontStyle(fsStrikeOut);
      FCaptionFont->SetStyle(Style);
    } else {
      FCaptionFont->SetHeight(F.lfHeight);
    }
  }
  InvalidateCaption();
}

// ---------------------------------------------------------------------------------------------
// Messages

void TgrdGradientForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCACTIVATE: WMNCActivate(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_SYSCOLORCHANGE: WMSysColorChange(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_SETTEXT: WMSetText(Message); break;
    case WM_GETTEXT: WMGetText(Message); break;
    case WM_GETTEXTLENGTH: WMGetTextLength(Message); break;
    case WM_SETTINGCHANGE: WMSettingChange(Message); break;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(Message); break;
    case WM_SYSCOMMAND: WMSysCommand(Message); break;
    case WM_ENTERIDLE: WMEnterIdle(Message); break;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(Message); break;
    case WM_DISPLAYCHANGE: WMDisplayChange(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TgrdGradientForm::WMNCActivate(TMessage& Message) {
  if (GetInhibitGradient()) {
    inherited::Dispatch(Message);
    return;
  }
  Message.Result = 1;
  Draw(Message.WParam != 0);
}

void TgrdGradientForm::WMNCPaint(TMessage& Message) {
  if (GetInhibitGradient() || !HandleAllocated()) {
    inherited::Dispatch(Message);
    return;
  }
  HWND W = WindowHandle();
  RECT WR{};
  GetWindowRect(W, &WR);
  // The part of the frame to paint, in screen coordinates: the update region, or the whole
  // window when the system asks for all of it (wParam 1).
  TRgnOwner Clip(CreateRectRgn(0, 0, 0, 0));
  if (!Clip) RaiseLastOSError();
  HRGN Update = reinterpret_cast<HRGN>(Message.WParam);
  if (Message.WParam <= 1 || CombineRgn(Clip, Update, nullptr, RGN_COPY) == ERROR)
    SetRectRgn(Clip, WR.left, WR.top, WR.right, WR.bottom);
  {
    HDC DC = GetWindowDC(W);
    if (!DC) RaiseLastOSError();
    TFinally Release{[W, DC] { ReleaseDC(W, DC); }};
    OffsetRgn(Clip, -WR.left, -WR.top);
    SelectClipRgn(DC, Clip);
    TRect Caption;
    DrawCaption(DC, IsActiveWindow(), Caption);
    ExcludeClipRect(DC, Caption.Left, Caption.Top, Caption.Right, Caption.Bottom);
    PaintBorderStrip(DC);
    if (GetClipRgn(DC, Clip) != 1) SetRectRgn(Clip, 0, 0, 0, 0);
    SelectClipRgn(DC, nullptr);
    OffsetRgn(Clip, WR.left, WR.top);
  }
  // The system paints the rest of the frame, never the caption.
  TMessage Rest = Message;
  Rest.WParam = reinterpret_cast<uintptr_t>(Clip.Get());
  DefaultHandler(Rest);
  Message.Result = Rest.Result;
}

void TgrdGradientForm::WMSysColorChange(TMessage& Message) {
  FIs16Color = ScreenIs16Color();
  if (!GetInhibitGradient()) {
    SysColorsChanged();
    ForEachGradientMDIChild(&TgrdGradientForm::SysColorsChanged);
  }
  inherited::Dispatch(Message);
}

void TgrdGradientForm::ForEachGradientMDIChild(void (TgrdGradientForm::*Step)()) {
  // The system tells top-level windows only.
  for (int I = 0; I < MDIChildCount(); ++I)
    if (auto* Child = dynamic_cast<TgrdGradientForm*>(MDIChildren(I))) (Child->*Step)();
}

void TgrdGradientForm::SysColorsChanged() {
  if (FStopColorIsDefault) FGradientStopColor = clActiveCaption;
  if (FInactiveStopColorIsDefault) FGradientInactiveStopColor = clInactiveCaption;
  CalculateColors();
  // The system repaints client areas only.
  InvalidateCaption();
}

void TgrdGradientForm::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!GetInhibitGradient() && (Message.WParam == SIZE_RESTORED || Message.WParam == SIZE_MAXIMIZED))
    Draw(IsActiveWindow());
}

void TgrdGradientForm::WMSetCursor(TMessage& Message) {
  if (GetInhibitGradient()) {
    inherited::Dispatch(Message);
    return;
  }
  const char* Cursor = nullptr;
  switch (short(LOWORD(Message.LParam))) {
    case HTLEFT:
    case HTRIGHT: Cursor = IDC_SIZEWE; break;
    case HTTOP:
    case HTBOTTOM: Cursor = IDC_SIZENS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: Cursor = IDC_SIZENWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: Cursor = IDC_SIZENESW; break;
    default: break;
  }
  if (Cursor) {
    Message.Result = 1;
    ::SetCursor(LoadCursorA(nullptr, Cursor));
    return;
  }
  Message.Result = 0;
  inherited::Dispatch(Message);
}

void TgrdGradientForm::WMSetText(TMessage& Message) {
  const AnsiString Text =
      Message.LParam ? AnsiString(reinterpret_cast<const char*>(Message.LParam)) : AnsiString();
  HWND Target = HandleAllocated() ? WindowHandle() : nullptr;
  // A maximised MDI child's text shows in the frame's caption.
  if (IsMaximizedMDIChild()) Target = MainFormWindow();
  if (!GetInhibitGradient() && Target && IsWindowVisible(Target)) {
    // An empty window region for the default processing: the system's caption drawing shows
    // nothing. The region the window had is put back afterwards. A region the system does not
    // take stays ours to delete.
    auto SetRegion = [Target](HRGN Region) {
      if (!GradSetWindowRgn(Target, Region, FALSE) && Region) DeleteObject(Region);
    };
    TRgnOwner Saved(CreateRectRgn(0, 0, 0, 0));
    const bool HadRegion = Saved && GetWindowRgn(Target, Saved) != ERROR;
    if (HRGN Empty = CreateRectRgn(0, 0, 0, 0)) SetRegion(Empty);
    TFinally Restore{[&] { SetRegion(HadRegion ? Saved.Release() : nullptr); }};
    DefaultHandler(Message);
  } else {
    DefaultHandler(Message);
  }
  if (!SettingCaption) SetCaptionText(Text);
}

void TgrdGradientForm::WMGetText(TMessage& Message) {
  auto* Buffer = reinterpret_cast<char*>(Message.LParam);
  const int Size = int(std::min<uintptr_t>(Message.WParam, uintptr_t(INT32_MAX)));
  if (!Buffer || Size <= 0) {
    Message.Result = 0;
    return;
  }
  const int Count = std::min(FCaption.Length(), Size - 1);
  if (Count > 0) std::memcpy(Buffer, FCaption.c_str(), size_t(Count));
  Buffer[Count] = '\0';
  Message.Result = Count;
}

void TgrdGradientForm::WMGetTextLength(TMessage& Message) { Message.Result = FCaption.Length(); }

void TgrdGradientForm::WMSettingChange(TMessage& Message) {
  if (!GetInhibitGradient() && Message.WParam == SPI_SETNONCLIENTMETRICS) UpdateCaptionFont();
  inherited::Dispatch(Message);
}

void TgrdGradientForm::WMNCLButtonDown(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!GetInhibitGradient()) Draw(IsActiveWindow());
}

void TgrdGradientForm::WMSysCommand(TMessage& Message) {
  if ((Message.WParam & 0xFFF0) == SC_CONTEXTHELP || GetInhibitGradient()) {
    inherited::Dispatch(Message);
    return;
  }
  Draw(IsActiveWindow());
  inherited::Dispatch(Message);
  Draw(IsActiveWindow());
}

void TgrdGradientForm::WMEnterIdle(TMessage& Message) {
  if (!GetInhibitGradient()) Draw(IsActiveWindow());
  inherited::Dispatch(Message);
}

void TgrdGradientForm::WMWindowPosChanging(TMessage& Message) {
  if (FIsLoading && !GetInhibitGradient()) {
    auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
    if (Pos && (Pos->flags & SWP_HIDEWINDOW)) Pos->flags |= SWP_NOREDRAW;
  }
  inherited::Dispatch(Message);
}

void TgrdGradientForm::WMDisplayChange(TMessage& Message) {
  // Another screen format: the kept caption images are made again for it.
  DropCaptionImage();
  ForEachGradientMDIChild(&TgrdGradientForm::DropCaptionImage);
  inherited::Dispatch(Message);
}

void TgrdGradientForm::DropCaptionImage() { FCache->DropImage(); }

// ---------------------------------------------------------------------------------------------
// Published properties

static constinit const TPropInfo TgrdGradientForm_Props[] = {
    PropStr<&TgrdGradientForm::Version, &TgrdGradientForm::SetVersion>("Version", &NeverStored),
    PropStr<&TgrdGradientForm::Caption, &TgrdGradientForm::SetCaption>("Caption"),
    // Constructed from the system's caption font, away from a new font's defaults: stored whole.
    PropObject<&TgrdGradientForm::CaptionFont, &TgrdGradientForm::SetCaptionFont>("CaptionFont", AlwaysStored),
    OrdinalProp<&TgrdGradientForm::UseSystemCaptionFont, &TgrdGradientForm::SetUseSystemCaptionFont>(
        "UseSystemCaptionFont", tkEnumeration, "Boolean", &BooleanType, false, 0),
    PropInt<&TgrdGradientForm::GradientColors, &TgrdGradientForm::SetGradientColors>("GradientColors", 64),
    PropColor<&TgrdGradientForm::CaptionTextColor, &TgrdGradientForm::SetCaptionTextColor>("CaptionTextColor",
                                                                                          0xFFFFFF),
    PropColor<&TgrdGradientForm::InactiveCaptionTextColor, &TgrdGradientForm::SetInactiveCaptionTextColor>(
        "InactiveCaptionTextColor", 0xFFFFFF),
    PropColor<&TgrdGradientForm::GradientStartColor, &TgrdGradientForm::SetGradientStartColor>(
        "GradientStartColor", 0),
    PropColor<&TgrdGradientForm::GradientStopColor, &TgrdGradientForm::SetGradientStopColor>("GradientStopColor",
                                                                                            clActiveCaption),
    PropColor<&TgrdGradientForm::GradientInactiveStartColor, &TgrdGradientForm::SetGradientInactiveStartColor>(
        "GradientInactiveStartColor", 0),
    PropColor<&TgrdGradientForm::GradientInactiveStopColor, &TgrdGradientForm::SetGradientInactiveStopColor>(
        "GradientInactiveStopColor", clInactiveCaption),
    PropEnum<&TgrdGradientForm::PaintGradient, &TgrdGradientForm::SetPaintGradient>("PaintGradient",
                                                                                   TGFPaintWhenType, gfpAlways),
    PropBool<&TgrdGradientForm::UseWin98Gradient, &TgrdGradientForm::SetUseWin98Gradient>("UseWin98Gradient",
                                                                                         false),
    PropBool<&TgrdGradientForm::UseDithering, &TgrdGradientForm::SetUseDithering>("UseDithering", true),
    PropObject<&TgrdGradientForm::Logo, &TgrdGradientForm::SetLogo>("Logo"),
    PropObject<&TgrdGradientForm::InactiveLogo, &TgrdGradientForm::SetInactiveLogo>("InactiveLogo"),
    PropEnum<&TgrdGradientForm::LogoAlign, &TgrdGradientForm::SetLogoAlign>("LogoAlign", TGFLogoAlignType, laRight),
    PropBool<&TgrdGradientForm::LogoLayered, &TgrdGradientForm::SetLogoLayered>("LogoLayered", false),
    PropEvent<&TgrdGradientForm::OnCaptionPaint>("OnCaptionPaint"),
};

ORV_IMPLEMENT_FORM(TgrdGradientForm, TForm, TgrdGradientForm_Props, nullptr, nullptr)

namespace {
struct TGradFormRegistration {
  TGradFormRegistration() { RegisterClasses({TgrdGradientForm::StaticClass()}); }
} GradFormRegistration;
}  // namespace
