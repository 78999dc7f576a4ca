// Unit qAnimate, the bitmap controls: graphic controls that show a bitmap with one colour
// transparent and apply the image routines to it (plain, stretched or centred, or frames of a
// strip stepped by a timer); and a bitmap loaded from a bitmap resource of the program.
#pragma once
#include "suite/qAnimateFastBmp.h"
#include "vcl/ExtCtrls.h"

#include <memory>

enum qcBitmapDraw { bdDrawNormal, bdDrawStretch, bdDrawCenter };
extern const TEnumType qcBitmapDrawType;

// What the bitmap controls share. The control is opaque: it paints all of itself, the parent's
// pixels included where RealTransparent lets them through.
class TqcCustomBitmap : public TGraphicControl {
  ORV_CLASS(TqcCustomBitmap, TGraphicControl)
public:
  explicit TqcCustomBitmap(TComponent* AOwner);
  ~TqcCustomBitmap() override;
  void Dispatch(TMessage& Message) override;
  // With the parent showing through, the parent repaints beneath too.
  void Invalidate() override;

  TBitmap* BitMap() const { return FBitMap; }
  // Takes a copy. Drawn normally, the control takes the bitmap's size (30 for a side of 0).
  virtual void SetBitMap(TBitmap* Value);
  // Pixels of TransparentColor show Color (or, with RealTransparent, the parent).
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool RealTransparent() const { return FRealTransparent; }
  void SetRealTransparent(bool Value);
  // TransparentColor follows the bitmap's bottom-left pixel.
  bool AutoBackColor() const { return FAutoBackColor; }
  void SetAutoBackColor(bool Value);
  // A system colour turns transparency off. Setting it turns AutoBackColor off.
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value);

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

  // The image routines on BitMap, each followed by a repaint.
  void Darken(bool UseTransparent, TPercentType Percent);
  void Lighten(bool UseTransparent, TPercentType Percent);
  void GreyScale(bool UseTransparent);
  // Dithers with TransparentColor.
  void Raster(TqRast Pattern);
  void ColorNoise(int Amount);
  void BWNoise(int Amount);
  void Contrast(int Amount);
  void Saturation(int Amount);
  void Sharpen(int Amount);
  void Blur(int Amount);
  void GaussianBlur(int Amount);
  void Flip();
  void Mirror();
  void ReplaceColor(TColor OldColor, TColor NewColor);
  // Two colours remain: white where the bitmap was white, black elsewhere.
  void BW();
  // BitMap becomes the control's size, turned by Degrees over TransparentColor.
  void Rotate(int Degrees);

  TNotifyEvent OnPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  qcBitmapDraw DrawType() const { return FDrawType; }
  void SetDrawType(qcBitmapDraw Value);
  int FrameIndex() const { return FFrame; }
  void SetFrameIndex(int Value) { FFrame = Value; }
  // TransparentColor from the bitmap's bottom-left pixel, with AutoBackColor and a bitmap.
  void UpdateAutoColor();
  // Repaints the parent where the control lies, so what shows through is fresh.
  void RefreshParentArea();
  void Paint() override;

private:
  // The image the frame is cut from, by the draw type: BitMap itself, or one made in Owned.
  TBitmap* WorkImage(std::unique_ptr<TBitmap>& Owned);
  // The frame of Work at (0, 0, Width, Height), with TransparentColor let through.
  void PaintFrame(TBitmap* Work);
  // An effect on BitMap, after the automatic colour and before a repaint.
  template <class F> void Apply(F&& Effect) {
    UpdateAutoColor();
    Effect();
    Invalidate();
  }
  bool SeeThrough() const { return FTransparent && FRealTransparent && FTransparentColor >= 0; }

  TBitmap* FBitMap;
  TColor FTransparentColor = clWhite;
  qcBitmapDraw FDrawType = bdDrawNormal;
  int FFrame = 0;
  bool FTransparent = true;
  bool FRealTransparent = false;
  bool FAutoBackColor = false;
};

// A bitmap drawn normally (the control takes its size), stretched to the control, or centred.
class TqBitmap : public TqcCustomBitmap {
  ORV_CLASS(TqBitmap, TqcCustomBitmap)
public:
  explicit TqBitmap(TComponent* AOwner) : TqcCustomBitmap(AOwner) {}
  using TqcCustomBitmap::DrawType;
  using TqcCustomBitmap::SetDrawType;
};

// Frames cut side by side from one strip, each as wide as the control (the strip's width div
// FrameCount), stepped by a timer while playing.
class TqAnimated : public TqcCustomBitmap {
  ORV_CLASS(TqAnimated, TqcCustomBitmap)
public:
  explicit TqAnimated(TComponent* AOwner);
  ~TqAnimated() override;
  void Loaded() override;
  void SetBitMap(TBitmap* Value) override;

  // Below 1 counts as 1. Only stored: the width follows at the next bitmap or Loaded.
  int FrameCount() const { return FFrameCount; }
  void SetFrameCount(int Value) { FFrameCount = Value; }
  int Frame() const { return FrameIndex(); }
  // A negative frame is the last; others wrap. A new frame fires OnChangeFrame.
  void SetFrame(int Value);
  bool Play() const { return FPlay; }
  // Runs a timer of Interval milliseconds while Interval is positive.
  void SetPlay(bool Value);
  int Interval() const { return FInterval; }
  void SetInterval(int Value);
  bool Reverse() const { return FReverse; }
  void SetReverse(bool Value) { FReverse = Value; }
  // Without it, play stops on the last frame (the first, in reverse).
  bool Loop() const { return FLoop; }
  void SetLoop(bool Value) { FLoop = Value; }

  TNotifyEvent OnChangeFrame;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // One step of the timer.
  void TimeHit(TObject* Sender);

private:
  int Frames() const { return std::max(FFrameCount, 1); }
  // Each frame as wide as the strip's width div FrameCount.
  void FitFrameWidth();
  void StartTimer();
  void StopTimer();

  TTimer* FTimer = nullptr;
  int FFrameCount = 1;
  int FInterval = 0;
  bool FPlay = false;
  bool FReverse = false;
  bool FLoop = true;
};

// A bitmap read from an RT_BITMAP resource of the program, by name or by number
// (MAKEINTRESOURCEA). EInvalidGraphic "Bitmap image is not valid" when there is none.
class TqResBitmap : public TBitmap {
  ORV_CLASS(TqResBitmap, TBitmap)
public:
  explicit TqResBitmap(const char* ResName);
};
