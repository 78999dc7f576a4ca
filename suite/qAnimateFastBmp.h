// Unit qAnimate, image routines: a 24-bit pixel buffer in a DIB section with direct row access and
// in-place filters, a canvas on the whole screen, and routines that change a TBitmap in place.
#pragma once
#include "suite/Subrange.h"
#include "vcl/Graphics.h"

#include <cstdint>
#include <vector>

using TPercentType = int;
inline constexpr TSubrangeType TPercentTypeRange{"TPercentType", 0, 100};
enum TqRast { Rast25, Rast50, Rast75 };
extern const TEnumType TqRastType;
// Read by RasterBMP: the Rast25 and Rast50 patterns take the other pixels. False at start.
extern bool RasterOfset;

// A top-down 24-bit DIB section: 3 bytes a pixel (blue, green, red), rows of 3 * Width bytes
// rounded up to a multiple of 4. Colours in and out are RGB TColor values. A 0 by 0 buffer holds
// nothing and every routine leaves it alone.
class TqFastBmp : public TObject {
  ORV_CLASS(TqFastBmp, TObject)
public:
  // All pixels black. EOutOfResources for a negative size, a pixel store past 2^31 - 1 bytes or a
  // section the system refuses.
  TqFastBmp(int AWidth, int AHeight);
  // The bitmap's pixels converted by GetDIBits; an empty (or null) bitmap gives an empty buffer.
  explicit TqFastBmp(TBitmap* Bitmap);
  ~TqFastBmp() override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Height times RowInc: the bytes of the pixel store.
  int Size() const { return FSize; }
  // Row stride in bytes.
  int RowInc() const { return FRowInc; }
  uint8_t* Bits() const { return FBits; }
  const std::vector<uint8_t*>& Lines() const { return FLines; }
  const BITMAPINFOHEADER& Info() const { return FInfo; }
  const BITMAPINFO& BitmapInfo() const { return FBitmapInfo; }
  HBITMAP Handle() const { return FHandle.Get(); }

  // Outside the buffer nothing happens; a system colour is resolved first.
  void SetPixel(int X, int Y, TColor Color);
  // -1 outside the buffer.
  TColor GetPixel(int X, int Y) const;
  // Rows outside 0..Height - 1 raise EInvalidGraphicOperation "Scan line index out of range".
  // Copies 3 * Width bytes from Source into row Y.
  void SetLine(int Y, const void* Source);
  uint8_t* GetLine(int Y) const;
  // Copies 3 * Width bytes of row Y to Dest.
  void GetScanLine(int Y, void* Dest) const;
  // A 1:1 copy with its top-left corner at (X, Y).
  void Draw(TCanvas* Canvas, int X, int Y) const;

  // Filters, in place. The noises draw from the runtime's Random (red, green, blue per pixel for
  // ColorNoise, one draw per pixel for BWNoise); amounts of 0 or below change nothing.
  void ColorNoise(int Amount);
  void BWNoise(int Amount);
  // 255 leaves the colours, 0 makes them grey, more strengthens them, less turns them over.
  void Saturation(int Amount);
  // Channels above 127 move up, the others down, by |127 - c| * Amount / 255.
  void Contrast(int Amount);
  // (left + right + above + below + Amount * centre) / (Amount + 4), left to right and top to
  // bottom on the pixels already sharpened; a neighbour outside the buffer is the pixel itself.
  // -4 changes nothing.
  void Sharpen(int Amount);
  // Each pixel becomes the mean of its four diagonal neighbours at distance Amount (kept to
  // 0..Height - 1 and 0..Width - 1), in place; 0 changes nothing.
  void Blur(int Amount);
  // Blur(Amount), Blur(Amount - 1), ... Blur(1).
  void GaussianBlur(int Amount);

private:
  void DoCalcLines();
  // True when (X, Y) is a pixel.
  bool Inside(int X, int Y) const { return X >= 0 && X < FWidth && Y >= 0 && Y < FHeight; }
  void CheckRow(int Y) const;
  // Every byte of every row's pixels (not the padding) through a 256-entry table.
  void MapChannels(const uint8_t (&Table)[256]);

  int FWidth = 0, FHeight = 0;
  int FSize = 0;
  int FRowInc = 0;
  uint8_t* FBits = nullptr;
  std::vector<uint8_t*> FLines;
  BITMAPINFOHEADER FInfo{};
  BITMAPINFO FBitmapInfo{};
  TBitmapOwner FHandle;
};

// A canvas on the whole screen (the screen DC from construction to destruction).
class TqDesktop : public TCanvas {
  ORV_CLASS(TqDesktop, TCanvas)
public:
  TqDesktop();
  ~TqDesktop() override;
  // HORZRES and VERTRES of the screen DC, read on every access.
  int Width() const;
  int Height() const;
private:
  HDC FDC;
};

// ---------------------------------------------------------------------------------------------
// Routines that change a TBitmap in place, each through one TqFastBmp of it drawn back at (0, 0).

// Dest takes Source turned by Degrees about the two centres, over a square about Dest's centre
// as wide as Dest's larger side; pixels that map outside Source keep their colour.
void BMPRotate(TBitmap* Source, TBitmap* Dest, int Degrees);
// Every channel less (more) Round(Percent * 2.55), halves to even; with UseTransparent, pixels
// whose RGB value equals TransparentColor stay.
void DarkenBMP(TBitmap* Bitmap, TPercentType Percent, bool UseTransparent, TColor TransparentColor);
void LightenBMP(TBitmap* Bitmap, TPercentType Percent, bool UseTransparent, TColor TransparentColor);
// Colours one pixel in four (Rast25), a checkerboard (Rast50) or three in four (Rast75).
void RasterBMP(TBitmap* Bitmap, TColor Color, TqRast Pattern);
// Grey Round(0.3 red + 0.59 green + 0.11 blue), halves to even; the exemption as DarkenBMP's.
void GreyBMP(TBitmap* Bitmap, bool UseTransparent, TColor TransparentColor);
// The filters of TqFastBmp on a bitmap.
void AddColorNoise(TBitmap* Bitmap, int Amount);
void AddBWNoise(TBitmap* Bitmap, int Amount);
void Contrast(TBitmap* Bitmap, int Amount);
void Saturation(TBitmap* Bitmap, int Amount);
void Sharpen(TBitmap* Bitmap, int Amount);
void Blur(TBitmap* Bitmap, int Amount);
void GaussianBlur(TBitmap* Bitmap, int Amount);

// An ellipse of radii (RX, RY) about (X, Y) turned by Angle radians, as an eight-arc Bezier path
// stroked with the canvas's pen and filled with its brush.
void DrawEllipse(TCanvas* Canvas, double X, double Y, double RX, double RY, double Angle);
// Draws Bitmap at (X, Y) with its pixels of Color (as given) left out, through monochrome
// masks; the bitmap itself is not written.
void TransparentBlt(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y, TColor Color);
// Upside down, and left to right, in place.
void FlipBMP(TBitmap* Bitmap);
void MirrorBMP(TBitmap* Bitmap);
// Every pixel of OldColor becomes NewColor.
void ReplaceColor(TBitmap* Bitmap, TColor OldColor, TColor NewColor);
