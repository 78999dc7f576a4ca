// Colours, fonts, pens, brushes, the canvas, and the graphic classes (bitmap, icon, metafile,
// picture).
#pragma once

#include "rtl/Classes.h"
#include "rtl/TypInfo.h"
#include "vcl/Types.h"
#include "vcl/GdiGuards.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

ORV_EXCEPTION(EInvalidGraphic, Exception)
ORV_EXCEPTION(EInvalidGraphicOperation, Exception)
ORV_EXCEPTION(EOutOfResources, EOutOfMemory)

class TCanvas;
class TGraphic;
class TBitmap;
class TIcon;
class TMetafile;
class TPicture;

// ---------------------------------------------------------------------------------------------
// Colours: $00BBGGRR, or a system colour 0x80000000 + COLOR_xxx index.
using TColor = int32_t;

constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// A system colour resolves through GetSysColor; any other value is returned as it is.
TColor ColorToRGB(TColor Color);
// "clRed", or "$00BBGGRR" when the value has no name.
AnsiString ColorToString(TColor Color);
// A colour name or a number ("$FF", "255"); EConvertError for anything else.
TColor StringToColor(const AnsiString& S);
bool ColorToIdent(int Color, AnsiString& Ident);
bool IdentToColor(const AnsiString& Ident, int& Color);
void GetColorValues(const TGetStrProc& Proc);

// Character sets: the Win32 xxx_CHARSET values, with their names for streaming ("TFontCharset").
using TFontCharset = int;
bool CharsetToIdent(int Charset, AnsiString& Ident);
bool IdentToCharset(const AnsiString& Ident, int& Charset);
void GetCharsetValues(const TGetStrProc& Proc);

// ---------------------------------------------------------------------------------------------
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned;  // bit n = TFontStyle n
constexpr TFontStyles FontStyle(TFontStyle S) { return 1u << S; }
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontName = AnsiString;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
  pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFillStyle { fsSurface, fsBorder };

extern const TEnumType TFontStyleType;
extern const TEnumType TFontPitchType;
extern const TEnumType TPenStyleType;
extern const TEnumType TPenModeType;
extern const TEnumType TBrushStyleType;

// Base of fonts, pens and brushes: OnChange fires after every change.
class TGraphicsObject : public TPersistent {
  ORV_CLASS(TGraphicsObject, TPersistent)
public:
  TNotifyEvent OnChange;
protected:
  virtual void Changed();
};

// Text font. The handle is created on demand and owned; a handle given with SetHandle is taken
// over and its attributes read back into the properties.
class TFont : public TGraphicsObject {
  ORV_CLASS(TFont, TGraphicsObject)
public:
  TFont();
  ~TFont() override;
  void Assign(TPersistent* Source) override;

  HFONT Handle();
  void SetHandle(HFONT Value);
  bool HandleAllocated() const { return FHandle.Get() != nullptr; }

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // Points: -Height * 72 / PixelsPerInch (rounded).
  int Size() const;
  void SetSize(int Value);
  AnsiString Name() const { return FName; }
  void SetName(const AnsiString& Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { if (Value > 0) FPixelsPerInch = Value; }

private:
  void Modified();  // attributes changed: the handle is rebuilt on next use
  LOGFONTA LogFont() const;

  TFontOwner FHandle;
  std::optional<LOGFONTA> FForeign;  // full description of a handle given with SetHandle
  TColor FColor;
  int FHeight;
  AnsiString FName;
  TFontStyles FStyle = 0;
  TFontPitch FPitch = fpDefault;
  TFontCharset FCharset = DEFAULT_CHARSET;
  int FPixelsPerInch;
};

class TPen : public TGraphicsObject {
  ORV_CLASS(TPen, TGraphicsObject)
public:
  TPen() = default;
  void Assign(TPersistent* Source) override;

  HPEN Handle();
  void SetHandle(HPEN Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

private:
  void Modified();
  TPenOwner FHandle;
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

// Fill brush. Bitmap, when set, is a pattern the brush is made from; the brush does not own it.
class TBrush : public TGraphicsObject {
  ORV_CLASS(TBrush, TGraphicsObject)
public:
  TBrush() = default;
  void Assign(TPersistent* Source) override;

  HBRUSH Handle();
  void SetHandle(HBRUSH Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

private:
  void Modified();
  TBrushOwner FHandle;
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Raster operations for CopyRect and Draw.
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// Drawing surface over a device context. Pen, brush and font are selected into the context
// only when a drawing call needs them, and deselected (the context's previous objects put
// back) before they change or the context goes away, so their handles can always be freed.
// Handle can be bound to a foreign DC; subclasses create their own in CreateHandle.
class TCanvas : public TPersistent {
  ORV_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  ~TCanvas() override;

  // Selects pen, brush and font too, so the DC is ready for direct API calls.
  HDC Handle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen; }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush; }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  int TextFlags() const { return FTextFlags; }
  void SetTextFlags(int Value) { FTextFlags = Value; }

  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void DrawFocusRect(const TRect& R);
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polygon(std::span<const TPoint> Points);
  void Polygon(std::initializer_list<TPoint> Points) { Polygon(std::span<const TPoint>(Points.begin(), Points.size())); }
  void Polyline(std::span<const TPoint> Points);
  void Polyline(std::initializer_list<TPoint> Points) { Polyline(std::span<const TPoint>(Points.begin(), Points.size())); }
  void PolyBezier(std::span<const TPoint> Points);

  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  // Text at (X, Y) in the font; the pen position moves to the end of it.
  void TextOut(int X, int Y, const AnsiString& Text);
  // Text at (X, Y) clipped to R; R is filled with the brush unless its style is bsClear.
  void TextRect(const TRect& R, int X, int Y, const AnsiString& Text);
  TSize TextExtent(const AnsiString& Text);
  int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }

  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // Source of Canvas onto Dest of this canvas with CopyMode (stretched when sizes differ).
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  // Source of Bitmap onto Dest with every pixel of Color replaced by this canvas's brush.
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  TRect ClipRect();

  // Serialises use of the canvas between threads; re-entrant.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount; }

  // Deselects pen, brush and font (they are selected again when next needed).
  void Refresh() { DeselectHandles(); }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  enum : unsigned { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8,
                    csAllValid = 15 };
  virtual void Changing();
  virtual void Changed();
  // Called when a DC is needed and none is set; subclasses call SetHandle there.
  virtual void CreateHandle() {}
  void RequiredState(unsigned ReqState);
  void DeselectHandles();
  unsigned State() const { return FState; }
  HDC DCHandle() const { return FHandle; }  // the DC as it is, nothing selected

private:
  void FontChanged(TObject*);
  void PenChanged(TObject*);
  void BrushChanged(TObject*);
  void SelectFont();
  void SelectPen();
  void SelectBrush();

  HDC FHandle = nullptr;
  unsigned FState = 0;
  TFont* FFont;
  TPen* FPen;
  TBrush* FBrush;
  HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;  // the DC's own objects
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  int FTextFlags = 0;
  CRITICAL_SECTION FLock;
  int FLockCount = 0;
  friend class TBitmap;
  friend class TIcon;
  friend class TMetafile;
};

// Holds a canvas's lock for a scope.
struct TCanvasLock {
  TCanvas* C;
  explicit TCanvasLock(TCanvas* Canvas) : C(Canvas) { C->Lock(); }
  ~TCanvasLock() { C->Unlock(); }
  TCanvasLock(const TCanvasLock&) = delete;
  TCanvasLock& operator=(const TCanvasLock&) = delete;
};

// Keeps a canvas bound to a DC for a scope.
struct TCanvasBinding {
  TCanvas* C;
  TCanvasBinding(TCanvas* Canvas, HDC DC) : C(Canvas) { C->SetHandle(DC); }
  ~TCanvasBinding() { C->SetHandle(nullptr); }
  TCanvasBinding(const TCanvasBinding&) = delete;
  TCanvasBinding& operator=(const TCanvasBinding&) = delete;
};

// ---------------------------------------------------------------------------------------------
enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = TClosure<TObject* /*Sender*/, TProgressStage, unsigned char /*PercentDone*/,
                                bool /*RedrawNow*/, const TRect& /*R*/, const AnsiString& /*Msg*/>;

// An image that can draw itself onto a canvas and stream itself. Its "Data" property (written
// by DefineProperties) is what WriteData produces.
class TGraphic : public TPersistent {
  ORV_CLASS(TGraphic, TPersistent)
public:
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual int Height() const = 0;
  virtual void SetHeight(int Value) = 0;
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  virtual HPALETTE Palette() { return nullptr; }
  virtual void SetPalette(HPALETTE Value) {}
  bool Modified() const { return FModified; }
  void SetModified(bool Value);

  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual void LoadFromFile(const AnsiString& FileName);
  virtual void SaveToFile(const AnsiString& FileName);
  // The "Data" property: by default the plain stream form.
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }
  void DefineProperties(TFiler* Filer) override;

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

protected:
  virtual void Changed(TObject* Sender);
  virtual void Progress(TObject* Sender, TProgressStage Stage, unsigned char PercentDone, bool RedrawNow,
                        const TRect& R, const AnsiString& Msg);
private:
  bool FTransparent = false;
  bool FModified = false;
};

using TGraphicFactory = TGraphic* (*)();

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };
extern const TEnumType TPixelFormatType;

class TBitmapCanvas;
struct TDibImage;

// A bitmap held as a DIB section (bottom-up rows unless a top-down section was given). A new
// bitmap is pfDevice (the screen's depth); PixelFormat converts the pixels.
class TBitmap : public TGraphic {
  ORV_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool Empty() const override { return !FBits; }
  int Width() const override { return FWidth; }
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  int Height() const override { return FHeight; }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  // Keeps the overlapping top-left part; new pixels take the canvas brush colour.
  void SetSize(int AWidth, int AHeight);
  HPALETTE Palette() override;

  TCanvas* Canvas();
  // The DIB section (made again from the kept pixels of a dormant bitmap).
  HBITMAP Handle() const;
  bool HandleAllocated() const { return FDib.Get() != nullptr; }
  // Frees the DIB section, its DC, mask and palette and keeps the pixels in memory; the next
  // use of the handle or the canvas makes the section again.
  void Dormant();
  // Takes over Value (a DIB section is used as it is; a device bitmap is converted).
  void SetHandle(HBITMAP Value);
  // Gives up the DIB section to the caller; the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  // Monochrome mask: white where TransparentColor is, black elsewhere. Owned.
  HBITMAP MaskHandle();
  HBITMAP ReleaseMaskHandle();
  TBitmapHandleType HandleType() const { return FHandleType; }
  void SetHandleType(TBitmapHandleType Value);
  // Takes the DIB section out of the canvas's memory DC (the canvas makes a new DC when next
  // used), as GetDIBits and other calls that must not find the bitmap selected want it.
  void FreeContext();

  TPixelFormat PixelFormat() const;
  void SetPixelFormat(TPixelFormat Value);
  int BitsPerPixel() const { return FBpp; }
  // True for one bit per pixel. Setting it maps pixels equal to the canvas brush colour to
  // white and all others to black; clearing it maps black to the font colour and white to
  // the brush colour.
  bool Monochrome() const { return FBpp == 1; }
  void SetMonochrome(bool Value);
  // Row Y (0 = top) of the pixel memory. EInvalidGraphicOperation when out of range.
  void* ScanLine(int Y);
  // Row Y (0 = top) for reading only: unlike ScanLine it keeps the mask and its handle.
  const uint8_t* PixelRow(int Y) const;
  // The bitmap whose canvas Canvas is, or nil.
  static TBitmap* OfCanvas(TCanvas* Canvas);
  int RowStride() const { return FStride; }
  // Colour table of 1, 4 and 8 bit bitmaps.
  const std::vector<RGBQUAD>& Colors() const { return FColors; }

  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // A packed DIB (header, colours, bits) without the file header, as resources hold.
  void LoadFromDIB(const void* Data, size_t Size);
  // Bytes of a packed DIB before its pixels (header, masks and colour table): a BMP file's
  // pixel offset less its 14-byte file header. EInvalidGraphic when Data holds no DIB header.
  static size_t DIBPixelOffset(const void* Data, size_t Size);
  // RT_BITMAP resource; EResNotFound "Resource %s not found".
  void LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName);
  void LoadFromResourceID(HINSTANCE Instance, int ResID);
  // "Data": 32-bit little-endian byte count, then a BMP file.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

protected:
  void Changed(TObject* Sender) override;

private:
  void NewImage(int W, int H, int Bpp, bool Is565, const RGBQUAD* Colors, int ColorCount);
  void AdoptImage(TDibImage& Img);
  void Clear();
  void ConvertTo(int Bpp, bool Is565, const std::vector<RGBQUAD>& Colors);
  std::vector<COLORREF> ReadRGB();  // top-down, one COLORREF a pixel
  void CanvasChanged(TObject*);
  void CanvasChanging(TObject*);
  HDC SourceDC();
  // A dormant bitmap's section made again from FDormantBits.
  void Wake();

  TBitmapOwner FDib;
  uint8_t* FBits = nullptr;  // the section's pixels, or FDormantBits' while dormant
  std::vector<uint8_t> FDormantBits;
  int FWidth = 0, FHeight = 0;
  int FBpp = 32;           // depth of the pixels (also of a new image while empty)
  bool F565 = false;       // 16 bits: 5-6-5 rather than 5-5-5
  bool FTopDown = false;
  int FStride = 0;
  std::vector<RGBQUAD> FColors;
  TBitmapHandleType FHandleType = bmDDB;
  TBitmapCanvas* FCanvas = nullptr;
  TBitmapOwner FMask;
  TPaletteOwner FPalette;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  friend class TBitmapCanvas;
  friend class TCanvas;
};

// A 32-bit top-down DIB section; Bits receives its pixel memory. EOutOfResources when none.
TBitmapOwner NewDib32(int W, int H, uint32_t*& Bits);

// Icon (or cursor image) from an .ico stream or an HICON.
class TIcon : public TGraphic {
  ORV_CLASS(TIcon, TGraphic)
public:
  TIcon() = default;
  ~TIcon() override;
  void Assign(TPersistent* Source) override;

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool Empty() const override { return !FHandle && FData.empty(); }
  int Width() const override { return FWidth; }
  void SetWidth(int Value) override;    // EInvalidGraphicOperation "Cannot change the size of an icon"
  int Height() const override { return FHeight; }
  void SetHeight(int Value) override;
  bool Transparent() const override { return true; }

  HICON Handle();
  void SetHandle(HICON Value);  // taken over
  bool HandleAllocated() const { return FHandle.Get() != nullptr; }
  HICON ReleaseHandle();

  // .ico format; EInvalidGraphic "Icon image is not valid".
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

private:
  void Reset();
  TIconOwner FHandle;
  std::vector<uint8_t> FData;  // the .ico image as loaded
  int FWidth = 0, FHeight = 0;
};

// An enhanced metafile, drawn by playing it stretched over the destination rectangle. Loads .emf
// files and placeable .wmf files (which become enhanced metafiles) and saves .emf files.
// Width and Height are its picture frame in screen pixels; changing them records the picture
// again at the new size.
class TMetafile : public TGraphic {
  ORV_CLASS(TMetafile, TGraphic)
public:
  TMetafile() = default;
  ~TMetafile() override;
  void Assign(TPersistent* Source) override;

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool Empty() const override { return !FHandle; }
  int Width() const override { return FWidth; }
  // EInvalidGraphicOperation for an empty metafile or a size below 1.
  void SetWidth(int Value) override { Resize(Value, FHeight); }
  int Height() const override { return FHeight; }
  void SetHeight(int Value) override { Resize(FWidth, Value); }
  // The metafile's own palette (owned), null when it has none.
  HPALETTE Palette() override;
  // Held and saved as an enhanced metafile, whatever it was loaded from.
  bool Enhanced() const { return true; }

  HENHMETAFILE Handle() const { return FHandle.Get(); }
  // Takes over Value; EInvalidGraphic "Metafile is not valid" when it is none.
  void SetHandle(HENHMETAFILE Value);
  // Gives up the handle to the caller; the metafile becomes empty.
  HENHMETAFILE ReleaseHandle();
  void Clear();

  // An enhanced metafile, or a placeable Windows metafile; EInvalidGraphic "Metafile is not
  // valid" for anything else. Reads the metafile's bytes only.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

private:
  void Adopt(TEnhMetaFileOwner Handle);
  void Resize(int AWidth, int AHeight);
  TEnhMetaFileOwner FHandle;
  TPaletteOwner FPalette;
  bool FPaletteRead = false;
  int FWidth = 0, FHeight = 0;
};

// Holds one graphic of any registered class; loads files by extension.
class TPicture : public TPersistent {
  ORV_CLASS(TPicture, TPersistent)
public:
  TPicture() = default;
  ~TPicture() override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  TGraphic* Graphic() const { return FGraphic; }
  // Stores a copy of Value (nullptr empties the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap / icon / metafile; a graphic of another class is replaced by an
  // empty one.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
  TIcon* Icon();
  void SetIcon(TIcon* Value) { SetGraphic(Value); }
  TMetafile* Metafile();
  void SetMetafile(TMetafile* Value) { SetGraphic(Value); }
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // EInvalidGraphic "Unknown picture file extension (.xyz)" for an unregistered extension.
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);
  // "Data": the graphic's class name as a short string (empty: no graphic), then the graphic's
  // own data. An unregistered class raises EInvalidGraphic "Unknown picture class (TFoo)".
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

  // Extension without the dot ("bmp"); the class must derive from TGraphic (EInvalidGraphic).
  // The latest registration of an extension is the one used.
  static void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description,
                                 TClass GraphicClass, TGraphicFactory Factory);
  static void RegisterGraphicClass(TClass GraphicClass, TGraphicFactory Factory);
  // Removes every format and class registration of GraphicClass and its descendants.
  static void UnregisterGraphicClass(TClass GraphicClass);
  // Factory of a registered class by name (case-insensitive), null when none.
  static TGraphicFactory FindGraphicClass(const AnsiString& ClassName);
  // Factory for a file extension (without the dot), null when none.
  static TGraphicFactory FindExtension(const AnsiString& Extension);
  // "Bitmaps (*.bmp)|*.bmp|..." for the formats of GraphicClass and its descendants, led by
  // "All (*.bmp;*.ico)|*.bmp;*.ico|" when there is more than one.
  static AnsiString GraphicFilter(TClass GraphicClass);
  static AnsiString GraphicFileMask(TClass GraphicClass);  // "*.bmp;*.ico"
  static AnsiString GraphicExtension(TClass GraphicClass);  // first registered extension

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

protected:
  virtual void Changed(TObject* Sender);
  void AssignTo(TPersistent* Dest) override;

private:
  void ForceType(TClass C, TGraphicFactory Factory);
  void Take(TGraphic* G);  // installs G (owned) in place of the current graphic
  void GraphicProgress(TObject* Sender, TProgressStage Stage, unsigned char Percent, bool Redraw,
                       const TRect& R, const AnsiString& Msg);
  TGraphic* FGraphic = nullptr;
};

// Frees the memory DCs of all unlocked bitmap canvases (the message loop calls it when idle).
void FreeMemoryContexts();
