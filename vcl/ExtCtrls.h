// Extra controls: the image control showing a picture.
#pragma once

#include "vcl/Controls.h"

// The cut of a bevel edge: none, sunken, raised, or an empty edge.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
extern const TEnumType TBevelCutType;

// Shows a picture at its top-left corner, centred (Center) or stretched over the control
// (Stretch); with AutoSize the control takes the picture's size.
class TImage : public TGraphicControl {
  ORV_CLASS(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  // The canvas of the picture's bitmap (an empty picture first gets a bitmap of the control's
  // size); EInvalidOperation "Can only modify an image if it contains a bitmap" otherwise.
  TCanvas* Canvas();

  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  // Sets the picture's Transparent (an icon is always transparent).
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Repaints while a graphic reports loading progress with RedrawNow.
  bool IncrementalDisplay() const { return FIncrementalDisplay; }
  void SetIncrementalDisplay(bool Value) { FIncrementalDisplay = Value; }
  using TControl::AutoSize;
  void SetAutoSize(bool Value) override;
  // With AutoSize and a picture, the size stays the picture's.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;

  void Loaded() override;

  TProgressEvent OnProgress;

protected:
  void Paint() override;
  void AdjustSize() override;

private:
  void PictureChanged(TObject* Sender);
  void PictureProgress(TObject* Sender, TProgressStage Stage, unsigned char PercentDone, bool RedrawNow,
                       const TRect& R, const AnsiString& Msg);
  bool SizeFromPicture(int& AWidth, int& AHeight) const;

  TPicture* FPicture;
  bool FCenter = false;
  bool FStretch = false;
  bool FTransparent = false;
  bool FIncrementalDisplay = false;
  bool FDrawing = false;
};
