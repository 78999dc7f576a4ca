#include "coolctrls/CoolUtils.h"
#include "coolctrls/MaskDraw.h"

#include <algorithm>
#include <vector>

using namespace cooldraw;

const char* const CoolBoolStrs[2] = {"False", "True"};

constexpr TEnumType TShadowPositionType{"TShadowPosition",
                                        {"spLeftTop", "spLeftBottom", "spRightBottom", "spRightTop"}};
constexpr TEnumType TBevelStyleExType{"TBevelStyleEx", {"bsBevelBoth", "bsBevelOnlyImage", "bsBevelOnlyText"}};

namespace {

template <class F> struct TScopeExit {
  F Fn;
  ~TScopeExit() { Fn(); }
};
template <class F> TScopeExit(F) -> TScopeExit<F>;

// Controls whose background is being painted now: a cycle of see-through parents stops here.
std::vector<const TControl*>& BackgroundPainting() {
  static std::vector<const TControl*> List;
  return List;
}

// Paints Parent's non-windowed children below Control (all of them for a windowed Control)
// into DC, whose logical coordinates are Parent's client coordinates.
void PaintSiblingsBelow(TWinControl* Parent, TControl* Control, HDC DC) {
  for (int I = 0; I < Parent->ControlCount(); ++I) {
    TControl* C = Parent->Controls(I);
    if (C == Control || dynamic_cast<TWinControl*>(C)) break;  // graphic children come first
    if (!C->Visible() || C->Width() <= 0 || C->Height() <= 0) continue;
    RECT R = AsRECT(C->BoundsRect());
    if (!RectVisible(DC, &R)) continue;
    TSaveDC Save(DC);
    POINT Org{};
    GetViewportOrgEx(DC, &Org);
    // The viewport moves in device units; the window origin stays as the caller set it.
    POINT P{C->Left(), C->Top()};
    POINT Zero{0, 0};
    LPtoDP(DC, &P, 1);
    LPtoDP(DC, &Zero, 1);
    SetViewportOrgEx(DC, Org.x + P.x - Zero.x, Org.y + P.y - Zero.y, nullptr);
    IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
    C->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(DC), 0);
  }
}

DWORD DefaultTicks() { return GetTickCount(); }
TDelayTickSource DelayTicks = &DefaultTicks;

}  // namespace

// ---- Wallpaper and background ----------------------------------------------------------------

void DrawWallpaper(HDC DC, TBitmap* Bitmap, const TRect& Rect, bool Tile, TCopyMode Rop) {
  if (!DC || !Bitmap || Bitmap->Empty()) return;
  const int BW = Bitmap->Width(), BH = Bitmap->Height();
  if (BW <= 0 || BH <= 0) return;
  HDC Src = Bitmap->Canvas()->Handle();
  if (!Tile) {
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Src, Rect.Left, Rect.Top, DWORD(Rop));
    return;
  }
  for (int Y = Rect.Top; Y < Rect.Bottom; Y += BH)
    for (int X = Rect.Left; X < Rect.Right; X += BW)
      BitBlt(DC, X, Y, std::min(BW, Rect.Right - X), std::min(BH, Rect.Bottom - Y), Src, 0, 0, DWORD(Rop));
}

void DrawWallpaperEx(HDC DC, TBitmap* Bitmap, const TRect& FullRect, const TRect& PartRect, bool Tile,
                     TCopyMode Rop) {
  if (FullRect == PartRect || !Tile) {
    DrawWallpaper(DC, Bitmap, PartRect, Tile, Rop);
    return;
  }
  if (!DC) return;
  TSaveDC Save(DC);
  IntersectClipRect(DC, PartRect.Left, PartRect.Top, PartRect.Right, PartRect.Bottom);
  DrawWallpaper(DC, Bitmap, FullRect, true, Rop);
}

void StretchDrawWallpaper(HDC DC, TBitmap* Bitmap, const TRect& DestRect, const TRect& SourceRect, bool Tile,
                          TCopyMode Rop) {
  if (!DC || !Bitmap || Bitmap->Empty() || Bitmap->Width() <= 0 || Bitmap->Height() <= 0) return;
  StretchBlt(DC, DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), Bitmap->Canvas()->Handle(),
             SourceRect.Left, SourceRect.Top, SourceRect.Width(), SourceRect.Height(), DWORD(Rop));
}

namespace {
// Has Parent paint its background and its graphic children below Below into DC, with the DC's
// origin at Origin (Parent's client coordinates).
void PaintParentBackground(TWinControl* Parent, TControl* Below, TPoint Origin, HDC DC) {
  auto& Busy = BackgroundPainting();
  if (std::find(Busy.begin(), Busy.end(), Below) != Busy.end()) return;
  Busy.push_back(Below);
  TScopeExit Pop{[&Busy] { Busy.pop_back(); }};

  TSaveDC Save(DC);
  // Logical coordinates become the parent's client coordinates.
  OffsetWindowOrgEx(DC, Origin.X, Origin.Y, nullptr);
  if (Parent->HandleAllocated())
    SendMessageA(Parent->WindowHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  else
    Parent->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(DC), 0);
  PaintSiblingsBelow(Parent, Below, DC);
}
}  // namespace

void PaintBackground(TControl* Control, HDC DC) {
  if (!Control || !DC || !Control->Parent()) return;
  TWinControl* Parent = Control->Parent();
  PaintParentBackground(Parent, Control, Parent->ScreenToClient(Control->ClientOrigin()), DC);
}

void PaintBackground(TControl* Control, HDC DC, int Level) {
  TControl* Ancestor = TrControl(Control, Level);
  if (!Ancestor || !DC || !Ancestor->Parent()) return;
  TWinControl* Parent = Ancestor->Parent();
  PaintParentBackground(Parent, Ancestor, Parent->ScreenToClient(Control->ClientOrigin()), DC);
}

void PaintBackgroundEx(TControl* Control, HDC DC, const TRect& Rect) {
  if (!Control || !DC) return;
  TSaveDC Save(DC);
  IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  PaintBackground(Control, DC);
}

void PaintBackgroundCombineRgn(TControl* Control, HDC DC, const TRect& Rect1, const TRect& Rect2, int Mode) {
  if (!Control || !DC) return;
  // Clip regions are in device units.
  TRect R1 = Rect1, R2 = Rect2;
  LPtoDP(DC, reinterpret_cast<POINT*>(&R1), 2);
  LPtoDP(DC, reinterpret_cast<POINT*>(&R2), 2);
  TRgnOwner A(CreateRectRgnIndirect(&AsRECT(R1))), B(CreateRectRgnIndirect(&AsRECT(R2)));
  if (!A || !B) NoResources();
  CombineRgn(A, A, B, Mode);
  TSaveDC Save(DC);
  ExtSelectClipRgn(DC, A, RGN_AND);
  PaintBackground(Control, DC);
}

TControl* TrControl(TControl* Control, int Level) {
  for (int I = 0; Control && I < Level && Control->Parent(); ++I) Control = Control->Parent();
  return Control;
}

TColor GetUnderlyingColor(TControl* Control, TPoint Point) {
  if (!Control || !Control->Parent()) return clNone;
  TWinControl* Parent = Control->Parent();
  TBitmap B;
  B.SetSize(std::max(1, Parent->ClientWidth()), std::max(1, Parent->ClientHeight()));
  HDC DC = B.Canvas()->Handle();
  if (Parent->HandleAllocated())
    SendMessageA(Parent->WindowHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  else
    Parent->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(DC), 0);
  return B.Canvas()->Pixels(Point.X, Point.Y);
}

void PaintPatternBackground(TCanvas* Canvas, const TRect& Rect) {
  FillPatternRect(Canvas, Rect, clBtnHighlight, clBtnFace);
}

// ---- Gradient ----------------------------------------------------------------------------------

void FillGradientRect(HDC DC, const TRect& Rect, TColor StartColor, TColor EndColor, int Colors, bool Horizontal) {
  if (!DC || Colors < 0 || Rect.IsEmpty()) return;
  COLORREF S = RGBOf(StartColor), E = RGBOf(EndColor);
  const int R0 = GetRValue(S), G0 = GetGValue(S), B0 = GetBValue(S);
  const int DR = GetRValue(E) - R0, DG = GetGValue(E) - G0, DB = GetBValue(E) - B0;
  auto Fill = [DC](const TRect& Band, COLORREF C) {
    TBrushOwner Brush(CreateSolidBrush(C));
    if (!Brush) NoResources();
    ::FillRect(DC, &AsRECT(Band), Brush);
  };
  if (Colors == 0) {
    Fill(Rect, E);
    return;
  }
  const int Size = Horizontal ? Rect.Width() : Rect.Height();
  for (int I = 0; I <= Colors; ++I) {
    int From = MulDiv(I, Size, Colors), To = MulDiv(I + 1, Size, Colors);
    if (From >= Size) break;  // the bands past the far edge stay outside
    To = std::min(To, Size);
    if (To <= From) continue;
    TRect Band = Horizontal ? TRect(Rect.Left + From, Rect.Top, Rect.Left + To, Rect.Bottom)
                            : TRect(Rect.Left, Rect.Top + From, Rect.Right, Rect.Top + To);
    COLORREF C = RGB(BYTE(R0 + MulDiv(I, DR, Colors)), BYTE(G0 + MulDiv(I, DG, Colors)),
                     BYTE(B0 + MulDiv(I, DB, Colors)));
    Fill(Band, C);
  }
}

// ---- Text --------------------------------------------------------------------------------------

void Draw3DText(HDC DC, TRect& Rect, TShadowPosition ShadowPos, const AnsiString& Text, unsigned Format,
                TColor TextColor, TColor ShadowColor, int ShadowSize) {
  if (!DC) return;
  TRect S = Rect;
  const int D = ShadowSize;
  switch (ShadowPos) {
    case spLeftTop: Rect.Offset(D, D); break;
    case spLeftBottom: Rect.Offset(D, 0); S.Offset(0, D); break;
    case spRightBottom: S.Offset(D, D); break;
    case spRightTop: Rect.Offset(0, D); S.Offset(D, 0); break;
  }
  // Transparent for both passes, so the text box never covers the shadow.
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, RGBOf(ShadowColor));
  DrawTextA(DC, Text.c_str(), -1, &AsRECT(S), Format);
  SetTextColor(DC, RGBOf(TextColor));
  DrawTextA(DC, Text.c_str(), -1, &AsRECT(Rect), Format);
}

bool CheckTTFont(const AnsiString& FontName) {
  TFont Font;
  Font.SetName(FontName);
  TWindowDC Screen;
  TSelectGuard Sel(Screen, Font.Handle());
  TEXTMETRICA TM{};
  if (!GetTextMetricsA(Screen, &TM)) return false;
  return (TM.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

void SetAngledFont(TFont* Font, int Angle) {
  if (!Font) return;
  LOGFONTA LF{};
  if (GetObjectA(Font->Handle(), sizeof LF, &LF) == 0) return;
  LF.lfEscapement = Angle * 10;
  HFONT H = CreateFontIndirectA(&LF);
  if (!H) NoResources();
  Font->SetHandle(H);
}

int GetMenuDefaultFont(TFont* Font) {
  if (!Font) return 0;
  NONCLIENTMETRICSA NCM{};
  NCM.cbSize = 340;  // without iPaddedBorderWidth: accepted by every version
  LOGFONTA LF{};
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &NCM, 0))
    LF = NCM.lfMenuFont;
  else
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof LF, &LF);
  HFONT H = CreateFontIndirectA(&LF);
  if (!H) NoResources();
  Font->SetHandle(H);
  return Font->Height();
}

// ---- Bitmaps and icons -------------------------------------------------------------------------

void GetBitmapFromIcon(TBitmap* Bitmap, TIcon* Icon, TColor BackColor) {
  if (!Bitmap || !Icon) return;
  Bitmap->Canvas()->Brush()->SetColor(BackColor);
  Bitmap->SetSize(Icon->Width(), Icon->Height());
  Bitmap->Canvas()->Brush()->SetStyle(bsSolid);
  Bitmap->Canvas()->FillRect(Rect(0, 0, Bitmap->Width(), Bitmap->Height()));
  if (Icon->Handle())
    DrawIconEx(Bitmap->Canvas()->Handle(), 0, 0, Icon->Handle(), Icon->Width(), Icon->Height(), 0, nullptr,
               DI_NORMAL);
}

namespace {
HBITMAP BitmapFromIcon(TIcon& Icon) {
  TBitmap B;
  GetBitmapFromIcon(&B, &Icon, clOlive);
  return B.ReleaseHandle();
}
}  // namespace

HBITMAP LoadBitmapIcon(HINSTANCE Instance, const AnsiString& Name) {
  if (HBITMAP B = LoadBitmapA(Instance, Name.c_str())) return B;
  HICON Shared = LoadIconA(Instance, Name.c_str());
  if (!Shared) return nullptr;
  HICON Own = CopyIcon(Shared);  // the loaded icon is shared: never destroyed here
  if (!Own) return nullptr;
  TIcon Icon;
  Icon.SetHandle(Own);
  return BitmapFromIcon(Icon);
}

HBITMAP OpenBitmapIcon(const AnsiString& FileName) {
  if (!FileExists(FileName)) return nullptr;
  AnsiString Ext = ExtractFileExt(FileName);
  if (Ext == ".bmp") {
    TBitmap B;
    B.LoadFromFile(FileName);
    return B.ReleaseHandle();
  }
  if (Ext == ".ico") {
    TIcon Icon;
    Icon.LoadFromFile(FileName);
    return BitmapFromIcon(Icon);
  }
  return nullptr;
}

namespace {

// A colour copy of Source (a monochrome one converted), so colour-to-mono blits compare colours.
void ColourCopy(TBitmap& Dest, TBitmap* Source) {
  Dest.Assign(Source);
  if (Dest.Monochrome()) Dest.SetPixelFormat(pf32bit);
}

}  // namespace

void CreateMonoBitmap(TBitmap* Bitmap, TColor KeyColor, TColor FaceColor, bool FromMonochrome, int Mode) {
  if (!Bitmap || Bitmap->Empty()) return;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  const TColor Shade = (Mode & 1) ? clBtnShadow : clBtnHighlight;
  TBitmap T;
  T.Canvas()->Brush()->SetColor(clBtnFace);
  T.SetSize(W, H);
  TBitmap D;
  ColourCopy(D, Bitmap);
  TMonoSurface M(W, H);
  HDC TDC = T.Canvas()->Handle();
  TBrushOwner Face(CreateSolidBrush(RGBOf(FaceColor)));
  if (!Face) NoResources();
  RECT All{0, 0, W, H};
  if (FromMonochrome) {
    // White where the picture is black.
    HDC DDC = D.Canvas()->Handle();
    COLORREF OldBk = SetBkColor(DDC, 0x000000);
    BitBlt(M.DC, 0, 0, W, H, DDC, 0, 0, SRCCOPY);
    SetBkColor(DDC, OldBk);
    ::FillRect(TDC, &All, Face);
    BlitMask(TDC, 1, 1, W - 1, H - 1, M.DC, Shade, kRopDPSxax);
    BlitMask(TDC, 0, 0, W - 1, H - 1, M.DC, clBtnShadow, kRopDPSxax);
  } else {
    // The row and column the shrunk copy leaves free count as background: key colour.
    TBrushOwner Key(CreateSolidBrush(RGBOf(KeyColor)));
    if (!Key) NoResources();
    ::FillRect(TDC, &All, Key);
    StretchBlt(TDC, 0, 0, W - 1, H - 1, D.Canvas()->Handle(), 0, 0, W, H, SRCCOPY);
    // White where T holds the key colour, white or silver.
    const COLORREF Keys[3] = {RGBOf(KeyColor), 0xFFFFFF, 0xC0C0C0};
    const DWORD Rops[3] = {SRCCOPY, SRCPAINT, SRCPAINT};
    COLORREF OldBk = GetBkColor(TDC);
    for (int I = 0; I < 3; ++I) {
      SetBkColor(TDC, Keys[I]);
      BitBlt(M.DC, 0, 0, W, H, TDC, 0, 0, Rops[I]);
    }
    SetBkColor(TDC, OldBk);
    ::FillRect(TDC, &All, Face);
    BlitMask(TDC, 1, 1, W - 1, H - 1, M.DC, Shade, kRopPSDPxax);
    BlitMask(TDC, 0, 0, W, H, M.DC, clBtnShadow, kRopPSDPxax);
  }
  Bitmap->Assign(&T);
}

void BitmapRotate(TBitmap* Bitmap, int N) {
  if (!Bitmap || N < 0 || Bitmap->Empty()) return;
  int Turns = (N + 1) % 4;
  if (Turns == 0) return;
  TBitmap Src;
  Src.Assign(Bitmap);
  Src.SetPixelFormat(pf32bit);
  for (int T = 0; T < Turns; ++T) {
    const int W = Src.Width(), H = Src.Height();
    TBitmap Dst;
    Dst.SetPixelFormat(pf32bit);
    Dst.SetSize(H, W);
    for (int Y = 0; Y < H; ++Y) {
      auto* Row = static_cast<const uint32_t*>(Src.ScanLine(Y));
      for (int X = 0; X < W; ++X) static_cast<uint32_t*>(Dst.ScanLine(X))[H - 1 - Y] = Row[X];
    }
    Src.Assign(&Dst);
  }
  Bitmap->Assign(&Src);
}

void TransparentStretchBltEx(HDC DstDC, HDC SrcDC, const TRect& DstRect, const TRect& SrcRect, TColor MaskColor) {
  if (!DstDC || !SrcDC || SrcRect.IsEmpty() || DstRect.IsEmpty()) return;
  const int SW = SrcRect.Width(), SH = SrcRect.Height();
  TMonoSurface Mask(SW, SH);
  COLORREF OldBk = SetBkColor(SrcDC, RGBOf(MaskColor));
  BitBlt(Mask.DC, 0, 0, SW, SH, SrcDC, SrcRect.Left, SrcRect.Top, SRCCOPY);
  SetBkColor(SrcDC, OldBk);
  // D xor S, keep it where the mask is white (transparent) and clear it elsewhere, xor S again:
  // D where transparent, S elsewhere.
  COLORREF OldText = SetTextColor(DstDC, 0x000000);
  OldBk = SetBkColor(DstDC, 0xFFFFFF);
  int OldMode = SetStretchBltMode(DstDC, COLORONCOLOR);
  const int DX = DstRect.Left, DY = DstRect.Top, DW = DstRect.Width(), DH = DstRect.Height();
  StretchBlt(DstDC, DX, DY, DW, DH, SrcDC, SrcRect.Left, SrcRect.Top, SW, SH, SRCINVERT);
  StretchBlt(DstDC, DX, DY, DW, DH, Mask.DC, 0, 0, SW, SH, SRCAND);
  StretchBlt(DstDC, DX, DY, DW, DH, SrcDC, SrcRect.Left, SrcRect.Top, SW, SH, SRCINVERT);
  SetStretchBltMode(DstDC, OldMode);
  SetTextColor(DstDC, OldText);
  SetBkColor(DstDC, OldBk);
}

void DrawRoundedEdge(TCanvas* Canvas, const TRect& Rect, TColor FaceColor, TColor ColorA, TColor ColorB, int Round,
                     int OuterKind, int InnerKind) {
  if (!Canvas) return;
  TRect R = Rect;
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Brush()->SetColor(FaceColor);
  Canvas->Pen()->SetWidth(1);
  if (OuterKind == 4 || OuterKind == 8) {
    Canvas->Pen()->SetColor(OuterKind == 4 ? ColorB : ColorA);
    Canvas->RoundRect(R.Left, R.Top, R.Right - 2, R.Bottom - 2, Round, Round);
  }
  R.Left += 1;
  if (InnerKind == 2 || InnerKind == 1) {
    Canvas->Pen()->SetColor(InnerKind == 2 ? ColorB : ColorA);
    Canvas->RoundRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1, Round, Round);
  }
  Canvas->Pen()->SetColor(FaceColor);
  Canvas->RoundRect(R.Left + 1, R.Top + 1, R.Right - 2, R.Bottom - 2, Round, Round);
}

// ---- Colours and devices -----------------------------------------------------------------------

TColor GetInvertedColor(TColor Color) { return TColor(0xFFFFFF - RGBOf(Color)); }

int64_t GetSysColorsNumber(TCanvas* Canvas) {
  if (!Canvas) return 0;
  HDC DC = Canvas->Handle();
  int Bits = GetDeviceCaps(DC, BITSPIXEL), Planes = GetDeviceCaps(DC, PLANES);
  if (Bits < 0 || Bits > 48) return 0;
  return (int64_t(1) << Bits) * Planes;
}

// ---- Menus and windows -------------------------------------------------------------------------

namespace {
UINT AlignFlags(TPopupMenu* Menu) {
  switch (Menu->Alignment()) {
    case paRight: return TPM_RIGHTALIGN;
    case paCenter: return TPM_CENTERALIGN;
    default: return TPM_LEFTALIGN;
  }
}
HWND WindowOf(TControl* Control) {
  for (TControl* C = Control; C; C = C->Parent())
    if (auto* W = dynamic_cast<TWinControl*>(C)) return W->Handle();
  return nullptr;
}
}  // namespace

bool Popup(TControl* Control, TPopupMenu* Menu) {
  if (!Control || !Menu) return false;
  POINT P{};
  GetCursorPos(&P);
  return TrackPopupMenu(Menu->Handle(), AlignFlags(Menu), P.x, P.y, 0, WindowOf(Control), nullptr) != 0;
}

bool PopupEx(TControl* Control, TPopupMenu* Menu, int X, int Y) {
  if (!Control || !Menu) return false;
  return TrackPopupMenuEx(Menu->Handle(), AlignFlags(Menu), X, Y, WindowOf(Control), nullptr) != 0;
}

TMenuItem* NewItemEx(const AnsiString& Caption, TShortCut ShortCut, bool Checked, bool Enabled, bool RadioItem,
                     TNotifyEvent OnClick, int HelpContext, TMenuBreak Break, const AnsiString& Name) {
  TMenuItem* Item = TComponent::Create<TMenuItem>(nullptr);
  try {
    Item->SetCaption(Caption);
    Item->SetShortCut(ShortCut);
    Item->SetChecked(Checked);
    Item->SetEnabled(Enabled);
    Item->OnClick = OnClick;
    Item->SetHelpContext(HelpContext);
    Item->SetName(Name);
    Item->SetRadioItem(RadioItem);
    Item->SetBreak(Break);
  } catch (...) {
    TObject::Free(Item);
    throw;
  }
  return Item;
}

bool SetJustify(HMENU Menu, unsigned Command, bool RightJustify) {
  if (!Menu) return false;
  // Only the type flags are read and written: the item's text is left as it is, whatever its length.
  MENUITEMINFOA Info{};
  Info.cbSize = sizeof Info;
  Info.fMask = MIIM_FTYPE;
  if (!GetMenuItemInfoA(Menu, Command, FALSE, &Info)) return false;
  if (RightJustify) Info.fType |= MFT_RIGHTJUSTIFY;
  else Info.fType &= ~UINT(MFT_RIGHTJUSTIFY);
  Info.fMask = MIIM_FTYPE;
  return SetMenuItemInfoA(Menu, Command, FALSE, &Info) != 0;
}

bool SetJustify(TMenu* Menu, TMenuItem* Item, bool RightJustify) {
  if (!Menu || !Item) return false;
  return SetJustify(Menu->Handle(), Item->Command(), RightJustify);
}

bool FakeStartBtnClick() { return SendMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_TASKLIST, 0) == 0; }

bool KeyboardChanged(const TKeyboardState& KeyStates) {
  for (int VK = 0; VK < 256; ++VK) {
    bool DownNow = (GetAsyncKeyState(VK) & 0x8000) != 0;
    bool DownThen = (KeyStates[VK] & 0x80) != 0;
    if (DownNow != DownThen) return true;
  }
  return false;
}

bool MouseInCtl(TControl* Control) {
  if (!Control || !Control->Parent()) return false;
  POINT P{};
  if (!GetCursorPos(&P)) return false;
  return Control->BoundsRect().Contains(Control->Parent()->ScreenToClient(TPoint(P)));
}

bool DesignTime(TComponent* Component) { return Component && Component->HasState(csDesigning); }

TDelayTickSource SetDelayTickSource(TDelayTickSource Source) {
  TDelayTickSource Old = DelayTicks;
  DelayTicks = Source ? Source : &DefaultTicks;
  return Old;
}

void Delay(unsigned Milliseconds) {
  const DWORD Start = DelayTicks();
  for (;;) {
    if (Application && Application->Terminated()) return;
    DWORD Elapsed = DelayTicks() - Start;  // unsigned: right across the wrap of the counter
    if (Elapsed >= Milliseconds) return;
    if (Application) {
      Application->ProcessMessages();
    } else {
      MSG M;
      while (PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&M);
        DispatchMessageA(&M);
      }
    }
    if (Application && Application->Terminated()) return;
    Elapsed = DelayTicks() - Start;
    if (Elapsed >= Milliseconds) return;
    // Sleeps until the time is up or input arrives.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, Milliseconds - Elapsed, QS_ALLINPUT);
  }
}

bool InvalidateRectEx(HWND Wnd, const TRect& Rect, bool Erase) {
  return InvalidateRect(Wnd, &AsRECT(Rect), Erase) != 0;
}

bool InvalidateRectEx(HWND Wnd, const TRect* Rect, bool Erase) {
  return InvalidateRect(Wnd, Rect ? &AsRECT(*Rect) : nullptr, Erase) != 0;
}

// ---- Small values ------------------------------------------------------------------------------

TRect& InflateRectEx(TRect& Rect, int DLeft, int DTop, int DRight, int DBottom) {
  Rect.Left += DLeft;
  Rect.Top += DTop;
  Rect.Right += DRight;
  Rect.Bottom += DBottom;
  return Rect;
}

void OffsetPoint(TPoint& Point, int DX, int DY) {
  Point.X = SuccEx(Point.X, DX);
  Point.Y = SuccEx(Point.Y, DY);
}

bool PointsFakeEqual(TPoint P1, TPoint P2, int Tolerance) {
  return TRect(P1.X - Tolerance, P1.Y - Tolerance, P1.X + Tolerance, P1.Y + Tolerance).Contains(P2);
}

namespace CoolUtils {
AnsiString BoolToStr(bool B) { return CoolBoolStrs[B ? 1 : 0]; }
bool StrToBool(const AnsiString& S) { return SameText(S, "True"); }
}  // namespace CoolUtils

int RPos(const AnsiString& SubStr, const AnsiString& S) {
  std::string Sub(SubStr.c_str(), size_t(SubStr.Length())), Str(S.c_str(), size_t(S.Length()));
  if (Sub.empty()) return 0;
  std::reverse(Sub.begin(), Sub.end());
  std::reverse(Str.begin(), Str.end());
  size_t P = Str.find(Sub);
  return P == std::string::npos ? 0 : int(P) + 1;
}

AnsiString GetParentFolder(const AnsiString& Path) {
  AnsiString P = Path;
  if (P.Length() > 0 && P[P.Length()] == '\\') P = P.SubString(1, P.Length() - 1);
  for (int I = P.Length(); I >= 1; --I)
    if (P[I] == '\\') return P.SubString(1, I);
  return P;
}
