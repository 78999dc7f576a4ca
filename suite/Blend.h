// Unit Blend: colour gradients, tiled bitmaps and the steel pattern as form backgrounds
// (TqBackground) and as controls (TqBlendPaint, TqNWBlendPaint, TqTileMap, TqNWTileMap).
#pragma once
#include "suite/Mystd.h"
#include "suite/Std2.h"
#include "vcl/Forms.h"
#include "vcl/Controls.h"

enum TqBackType { btBitmap, btBlend, btNormal, btSteel };
extern const TEnumType TqBackTypeType;

using TqBackPaintEvent = TClosure<TCanvas* /*Canvas*/, TObject* /*Sender*/>;

// Start colour and end-minus-start differences per channel, from ColorToRGB of both colours.
struct TqColorRamp {
  short StartR = 0, StartG = 0, StartB = 0;
  short DiffR = 0, DiffG = 0, DiffB = 0;
  static TqColorRamp From(TColor Start, TColor End);
  // Band I of N: start + MulDiv(I, diff, N) per channel (the start colour when N is 0).
  TColor Band(int I, int N) const;
};

// Band counts beyond this paint as this many bands.
constexpr int MaxBlendBands = 65535;

// Fills (0, 0, W, H) of DC with the gradient: Bands + 1 bands from the ramp's start to its end
// colour in direction Fill. The DC's selected objects and its DC brush and pen colours are
// restored. Returns the colour of the band painted last (clNone when nothing was painted).
TColor PaintBlend(HDC DC, int W, int H, gradType Fill, int Bands, const TqColorRamp& Ramp);
// Bitmap repeated over (0, 0, W, H) of Canvas from the top-left corner; an empty bitmap draws
// nothing.
void TileBitmap(TCanvas* Canvas, TBitmap* Bitmap, int W, int H);

// Paints shapes of one colour each with the DC's own brush (and, WithPen, its own pen) recoloured
// per shape: no GDI object is made per shape, and a fill that paints nothing costs no GDI call.
// The DC's selections and colours are restored.
class TBandPainter {
public:
  TBandPainter(HDC DC, bool WithPen)
      : FDC(DC),
        FWithPen(WithPen),
        FBrush(DC, GetStockObject(DC_BRUSH)),
        FPen(DC, WithPen ? GetStockObject(DC_PEN) : nullptr),
        FOldBrushColor(GetDCBrushColor(DC)),
        FOldPenColor(GetDCPenColor(DC)) {}
  ~TBandPainter() {
    SetDCBrushColor(FDC, FOldBrushColor);
    if (FWithPen) SetDCPenColor(FDC, FOldPenColor);
  }
  TBandPainter(const TBandPainter&) = delete;
  TBandPainter& operator=(const TBandPainter&) = delete;

  // A system colour is resolved.
  void SetColor(TColor Color) { FColor = COLORREF(ColorToRGB(Color)); }
  TColor Color() const { return TColor(FColor); }
  void Fill(int X, int Y, int W, int H) {
    if (W <= 0 || H <= 0) return;
    Apply();
    PatBlt(FDC, X, Y, W, H, PATCOPY);
  }
  void Fill(const TRect& R) { Fill(R.Left, R.Top, R.Width(), R.Height()); }
  void Polygon(std::initializer_list<TPoint> Points) {
    Apply();
    ::Polygon(FDC, AsPOINTPtr(Points.begin()), int(Points.size()));
  }
  // GDI's Rectangle, outlined and filled in the colour (WithPen).
  void Rectangle(int X1, int Y1, int X2, int Y2) {
    Apply();
    ::Rectangle(FDC, X1, Y1, X2, Y2);
  }

private:
  void Apply() {
    if (FApplied && FColor == FAppliedColor) return;
    SetDCBrushColor(FDC, FColor);
    if (FWithPen) SetDCPenColor(FDC, FColor);
    FAppliedColor = FColor;
    FApplied = true;
  }

  HDC FDC;
  bool FWithPen;
  TSelectGuard FBrush;
  TSelectGuard FPen;
  COLORREF FOldBrushColor;
  COLORREF FOldPenColor;
  COLORREF FColor = 0, FAppliedColor = 0;
  bool FApplied = false;
};

// ---------------------------------------------------------------------------------------------
// Paints the background of the form that owns it: replaces the form window's procedure when
// loaded and answers its WM_ERASEBKGND.
class TqBackground : public TComponent {
  ORV_CLASS(TqBackground, TComponent)
public:
  explicit TqBackground(TComponent* AOwner);
  ~TqBackground() override;
  void Loaded() override;

  TqBackType BackType() const { return FBackType; }
  void SetBackType(TqBackType Value);
  int Bands() const { return FBands; }
  void SetBands(int Value);
  TBitmap* BitMap() const { return FBitMap; }
  void SetBitMap(TBitmap* Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  gradType FillType() const { return FFillType; }
  void SetGrad(gradType Value);
  const TqColorRamp& Ramp() const { return FRamp; }

  // The window whose procedure is replaced (null until loaded, and once it is destroyed; a
  // window the form creates again in its place is hooked on its first message).
  bool Hooked() const { return FHook.Installed(); }
  HWND HookedWindow() const { return FHook.Window(); }

  TqBackPaintEvent OnPaint;
  TNotifyEvent OnResize;

protected:
  virtual void DoResize();
  // OnPaint over the finished background, on a canvas bound to DC.
  virtual void DoPaint(HDC DC);
  void WPWindowProc(TMessage& Message);
  void PaintWallPaper(HDC DC);
  void DoColor();

private:
  void Changed();
  void PassErase(HDC DC);
  // The window of Form that the background paints.
  static HWND TargetWindow(TForm* Form);

  gradType FFillType = gVert;
  TqBackType FBackType = btBitmap;
  TqFormHook FHook;
  TBitmap* FBitMap;
  TColor FColor = TColor(0xFF00FF);
  TColor FEndColor = 0;
  int FBands = 255;
  TqColorRamp FRamp;
};

// ---------------------------------------------------------------------------------------------
// A control filled with a gradient from its Color to EndColor, or the steel pattern; Base is
// TCustomControl (with a window) or TGraphicControl (without one).
template <class Base> class TqBlendControl : public Base {
public:
  explicit TqBlendControl(TComponent* AOwner) : Base(AOwner) {}

  bool SteelLook() const { return FSteelLook; }
  void SetSteel(bool Value) {
    if (FSteelLook == Value) return;
    FSteelLook = Value;
    this->Refresh();
  }
  gradType FillType() const { return FFillType; }
  void SetGrad(gradType Value) {
    FFillType = Value;
    this->Perform(CM_COLORCHANGED);
  }
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value) {
    if (FEndColor == Value) return;
    FEndColor = Value;
    this->Perform(CM_COLORCHANGED);
  }
  int Bands() const { return FBands; }
  void SetBands(int Value) {
    if (FBands == Value) return;
    FBands = Value;
    this->Perform(CM_COLORCHANGED);
  }
  const TqColorRamp& Ramp() const { return FRamp; }

  TNotifyEvent OnPaint;

protected:
  // Sets the size and colours every blend control starts with. Its own Color clears
  // ParentColor, so a fresh control starts from $FF00FF whatever its parent's colour.
  void InitBlend() {
    this->SetBounds(this->Left(), this->Top(), 30, 30);
    this->TControl::SetColor(TColor(0xFF00FF));
    this->Perform(CM_COLORCHANGED);
  }
  void Paint() override;
  void CMColorChanged(TMessage& Message) {
    Base::Dispatch(Message);
    FRamp = TqColorRamp::From(this->Color(), FEndColor);
  }

private:
  gradType FFillType = gVert;
  TColor FEndColor = 0;
  int FBands = 255;
  bool FSteelLook = false;
  TqColorRamp FRamp;
};

class TqBlendPaint : public TqBlendControl<TCustomControl> {
  ORV_CLASS(TqBlendPaint, TqBlendControl<TCustomControl>)
public:
  explicit TqBlendPaint(TComponent* AOwner);

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;

  void Dispatch(TMessage& Message) override;
};

// The same without a window; with PassMouseOn the mouse goes through it to what lies beneath.
class TqNWBlendPaint : public TqBlendControl<TGraphicControl> {
  ORV_CLASS(TqNWBlendPaint, TqBlendControl<TGraphicControl>)
public:
  explicit TqNWBlendPaint(TComponent* AOwner);

  bool PassMouseOn() const { return FPassMouseOn; }
  void SetPassMouseOn(bool Value) { FPassMouseOn = Value; }

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;

  void Dispatch(TMessage& Message) override;

protected:
  void WMEraseBkgnd(TMessage& Message);
  void CMHitTest(TMessage& Message);

private:
  bool FPassMouseOn = false;
};

// ---------------------------------------------------------------------------------------------
// A windowed control with Bitmap tiled over it.
class TqTileMap : public TCustomControl {
  ORV_CLASS(TqTileMap, TCustomControl)
public:
  explicit TqTileMap(TComponent* AOwner);
  ~TqTileMap() override;

  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;

  TNotifyEvent OnPaint;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  TBitmap* FBitmap;
};

// The same without a window.
class TqNWTileMap : public TGraphicControl {
  ORV_CLASS(TqNWTileMap, TGraphicControl)
public:
  explicit TqNWTileMap(TComponent* AOwner);
  ~TqNWTileMap() override;

  bool PassMouseOn() const { return FPassMouseOn; }
  void SetPassOn(bool Value) { FPassMouseOn = Value; }
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;

  TNotifyEvent OnPaint;
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void WMEraseBkgnd(TMessage& Message);
  void CMHitTest(TMessage& Message);

private:
  bool FPassMouseOn = false;
  TBitmap* FBitmap;
};
