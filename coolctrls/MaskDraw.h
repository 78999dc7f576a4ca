// Unit-internal drawing pieces of CoolUtils and the glyph cache: monochrome mask surfaces and
// painting a colour through a mask.
#pragma once
#include "vcl/GdiGuards.h"
#include "vcl/Graphics.h"

namespace cooldraw {

inline constexpr DWORD kRopDPSxax = 0x00E20746;   // brush where the mono source is white, else destination
inline constexpr DWORD kRopPSDPxax = 0x00B8074A;  // brush where the mono source is black, else destination

inline COLORREF RGBOf(TColor C) { return COLORREF(ColorToRGB(C)) & 0xFFFFFF; }

[[noreturn]] inline void NoResources() { throw EOutOfResources("Out of system resources"); }

// A W x H monochrome device bitmap in its own memory DC.
struct TMonoSurface {
  TMemoryDC DC;
  TBitmapOwner Bmp;
  HGDIOBJ Old = nullptr;
  TMonoSurface(int W, int H) : Bmp(CreateBitmap(W, H, 1, 1, nullptr)) {
    if (!DC || !Bmp) NoResources();
    Old = SelectObject(DC, Bmp);
  }
  ~TMonoSurface() { SelectObject(DC, Old); }
};

// Blits the mono mask onto Dest with Rop: white/black parts pick Brush or the destination
// (kRopDPSxax: Brush where the mask is white).
inline void BlitMask(HDC Dest, int X, int Y, int W, int H, HDC Mask, TColor Brush, DWORD Rop = kRopDPSxax) {
  TBrushOwner B(CreateSolidBrush(RGBOf(Brush)));
  if (!B) NoResources();
  TSelectGuard Sel(Dest, B);
  COLORREF OldText = SetTextColor(Dest, 0x000000), OldBk = SetBkColor(Dest, 0xFFFFFF);
  BitBlt(Dest, X, Y, W, H, Mask, 0, 0, Rop);
  SetTextColor(Dest, OldText);
  SetBkColor(Dest, OldBk);
}

}  // namespace cooldraw
