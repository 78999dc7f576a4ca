// Drawing and utility routines of the cool controls: wallpapers, see-through backgrounds,
// gradients, shadowed text, disabled-look bitmaps, menus, small values; and the glyph cache.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"
#include "vcl/Menus.h"
#include "coolctrls/GlyphCache.h"
#include "coolctrls/WndHook.h"

#include <cstdint>

// "False", "True".
extern const char* const CoolBoolStrs[2];

// ---- Wallpaper and background ----------------------------------------------------------------
// Not tiled: the part of Bitmap under Rect (the bitmap sits at the DC's origin). Tiled: Bitmap
// repeated from Rect's top-left. An empty bitmap (or one of zero width or height) draws nothing.
void DrawWallpaper(HDC DC, TBitmap* Bitmap, const TRect& Rect, bool Tile, TCopyMode Rop = cmSrcCopy);
// Tiles aligned to FullRect, drawn only inside PartRect.
void DrawWallpaperEx(HDC DC, TBitmap* Bitmap, const TRect& FullRect, const TRect& PartRect, bool Tile,
                     TCopyMode Rop = cmSrcCopy);
// SourceRect of Bitmap stretched onto DestRect; Tile is not used.
void StretchDrawWallpaper(HDC DC, TBitmap* Bitmap, const TRect& DestRect, const TRect& SourceRect, bool Tile,
                          TCopyMode Rop = cmSrcCopy);
// Paints what lies behind Control into DC (in Control's client coordinates): the parent's
// background (WM_ERASEBKGND) and its non-windowed children.
void PaintBackground(TControl* Control, HDC DC);
// The background from Level parents up (the parent of TrControl(Control, Level)) aligned to
// Control's own place, the controls in between left out: what a see-through control with that
// TransparencyLevel shows. (PaintBackground(TrControl(C, n), DC) aligns it to the ancestor.)
void PaintBackground(TControl* Control, HDC DC, int Level);
void PaintBackgroundEx(TControl* Control, HDC DC, const TRect& Rect);
// Clipped to Rect1 combined with Rect2 by Mode (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY).
void PaintBackgroundCombineRgn(TControl* Control, HDC DC, const TRect& Rect1, const TRect& Rect2, int Mode);
// Control, or its parent Level levels up (stopping at the top); nullptr for nullptr.
TControl* TrControl(TControl* Control, int Level);
// The colour of the parent's background at Point (parent coordinates); clNone without parent.
TColor GetUnderlyingColor(TControl* Control, TPoint Point);
// Rect filled with a checker pattern of button highlight and button face.
void PaintPatternBackground(TCanvas* Canvas, const TRect& Rect);

// ---- Gradient ----------------------------------------------------------------------------------
// Colors + 1 bands from StartColor to EndColor, left to right (Horizontal) or top to bottom;
// nothing is painted outside Rect. Colors < 0 paints nothing; 0 fills Rect with EndColor.
void FillGradientRect(HDC DC, const TRect& Rect, TColor StartColor, TColor EndColor, int Colors, bool Horizontal);

// ---- Text --------------------------------------------------------------------------------------
// Text in ShadowColor offset by ShadowSize as ShadowPos says, then in TextColor; Rect keeps the
// move of the text (spLeftTop, spLeftBottom, spRightTop move it).
void Draw3DText(HDC DC, TRect& Rect, TShadowPosition ShadowPos, const AnsiString& Text, unsigned Format,
                TColor TextColor, TColor ShadowColor, int ShadowSize);
bool CheckTTFont(const AnsiString& FontName);
// Angle in degrees.
void SetAngledFont(TFont* Font, int Angle);
// Font := the menu font; returns its Height.
int GetMenuDefaultFont(TFont* Font);

// ---- Bitmaps and icons -------------------------------------------------------------------------
void GetBitmapFromIcon(TBitmap* Bitmap, TIcon* Icon, TColor BackColor);
// A bitmap resource, else the icon resource of that name on clOlive; 0 when neither. The caller
// owns the handle.
HBITMAP LoadBitmapIcon(HINSTANCE Instance, const AnsiString& Name);
// A ".bmp" or ".ico" file (extension compared case-sensitively); 0 otherwise. Caller owns it.
HBITMAP OpenBitmapIcon(const AnsiString& FileName);
// Replaces Bitmap by a disabled-looking copy on FaceColor. Mode bit 0: shade in button shadow
// rather than highlight.
void CreateMonoBitmap(TBitmap* Bitmap, TColor KeyColor, TColor FaceColor, bool FromMonochrome, int Mode);
// N + 1 clockwise quarter turns; negative N does nothing.
void BitmapRotate(TBitmap* Bitmap, int N);
// SrcRect of SrcDC stretched onto DstRect leaving pixels of MaskColor out.
void TransparentStretchBltEx(HDC DstDC, HDC SrcDC, const TRect& DstRect, const TRect& SrcRect, TColor MaskColor);
// OuterKind 4/8 and InnerKind 2/1 pick the pens (ColorB/ColorA) of the outer and inner edge.
void DrawRoundedEdge(TCanvas* Canvas, const TRect& Rect, TColor FaceColor, TColor ColorA, TColor ColorB,
                     int Round, int OuterKind, int InnerKind);

// ---- Colours and devices -----------------------------------------------------------------------
TColor GetInvertedColor(TColor Color);
// 2 ^ (bits per pixel) * planes of the canvas's DC (2^32 at 32 bits: hence 64 bits).
int64_t GetSysColorsNumber(TCanvas* Canvas);

// ---- Menus and windows -------------------------------------------------------------------------
// Shows Menu at the cursor (Popup) or at screen (X, Y) for Control's window; false for nullptr.
bool Popup(TControl* Control, TPopupMenu* Menu);
bool PopupEx(TControl* Control, TPopupMenu* Menu, int X, int Y);
TMenuItem* NewItemEx(const AnsiString& Caption, TShortCut ShortCut, bool Checked, bool Enabled, bool RadioItem,
                     TNotifyEvent OnClick, int HelpContext, TMenuBreak Break, const AnsiString& Name);
// Sets or clears MFT_RIGHTJUSTIFY of Item (by command) in Menu; false when it fails.
bool SetJustify(TMenu* Menu, TMenuItem* Item, bool RightJustify);
bool SetJustify(HMENU Menu, unsigned Command, bool RightJustify);
bool FakeStartBtnClick();
// A 256-byte key-state snapshot (GetKeyboardState): true when the down state of any virtual key
// now differs from it.
using TKeyboardState = unsigned char[256];
bool KeyboardChanged(const TKeyboardState& KeyStates);
bool MouseInCtl(TControl* Control);
bool DesignTime(TComponent* Component);
// Waits Milliseconds, handling messages meanwhile, without busy-waiting; returns early when the
// application terminates.
void Delay(unsigned Milliseconds);
// Clock Delay reads (GetTickCount by default); returns the previous one. For tests.
using TDelayTickSource = DWORD (*)();
TDelayTickSource SetDelayTickSource(TDelayTickSource Source);
bool InvalidateRectEx(HWND Wnd, const TRect& Rect, bool Erase);
bool InvalidateRectEx(HWND Wnd, const TRect* Rect, bool Erase);  // nullptr: the whole client

// ---- Small values ------------------------------------------------------------------------------
TRect& InflateRectEx(TRect& Rect, int DLeft, int DTop, int DRight, int DBottom);
void OffsetPoint(TPoint& Point, int DX, int DY);
bool PointsFakeEqual(TPoint P1, TPoint P2, int Tolerance);
constexpr int MinVal(int A, int B) { return A < B ? A : B; }
constexpr int MaxVal(int A, int B) { return A > B ? A : B; }
constexpr int PredEx(int A, int B) { return A - B; }
constexpr int SuccEx(int A, int B) { return A + B; }
// The runtime has BoolToStr(bool, bool); these two are the cool controls' own.
namespace CoolUtils {
AnsiString BoolToStr(bool B);
// True exactly for "True" in any case.
bool StrToBool(const AnsiString& S);
}  // namespace CoolUtils
// Position of the last SubStr counted from the end of S (1-based, 0 when absent).
int RPos(const AnsiString& SubStr, const AnsiString& S);
// "C:\a\b\" and "C:\a\b" give "C:\a\"; a path without "\" comes back whole.
AnsiString GetParentFolder(const AnsiString& Path);
