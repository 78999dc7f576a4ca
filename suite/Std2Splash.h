// TqSplashForm: a picture painted straight onto the screen, centred, while its form loads, and
// taken away MainFormDelay milliseconds after the form's first paint. It has no window of its
// own: it hooks its form's window to see that paint.
#pragma once
#include "rtl/Classes.h"
#include "suite/Std2.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"

class TqSplashForm : public TComponent {
  ORV_CLASS(TqSplashForm, TComponent)
public:
  // Outside the designer, hooks the form among AOwner's owners (creating its window);
  // EComponentError "NoForm" when there is none.
  explicit TqSplashForm(TComponent* AOwner);
  ~TqSplashForm() override;
  void Loaded() override;

  // The splash's place and shape on the screen, and its picture offset inside it.
  virtual void MakeSplash();
  // Paints the splash on the screen, clipped to its region.
  virtual void DoSplash();
  // Lets the windows beneath repaint the splash's rectangle, and drops the region.
  virtual void DoRemove();

  TRect SplashRect() const { return Rect(FX, FY, FX + FSW, FY + FSH); }
  TPoint PictureOffset() const { return TPoint(FOX, FOY); }
  bool Removed() const { return FRemoved; }

  TBitmap* BitMap() const { return FBitMap; }
  void SetBitMap(TBitmap* Value);
  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value);
  bool MoveSplashUp() const { return FMoveSplashUp; }
  void SetMoveSplashUp(bool Value) { FMoveSplashUp = Value; }
  unsigned short MainFormDelay() const { return FMainFormDelay; }
  void SetMainFormDelay(unsigned short Value) { FMainFormDelay = Value; }
  qSplashStyleType Shape() const { return FShape; }
  void SetShape(qSplashStyleType Value) { FShape = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TColor HighligtColor() const { return FHighligtColor; }
  void SetHighligtColor(TColor Value) { FHighligtColor = Value; }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value) { FShadowColor = Value; }
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value) { FFrameColor = Value; }
  bool DrawFrame() const { return FDrawFrame; }
  void SetDrawFrame(bool Value) { FDrawFrame = Value; }
  unsigned short FrameThickness() const { return FFrameThickness; }
  void SetFrameThickness(unsigned short Value) { FFrameThickness = Value; }
  unsigned short FrameMargin() const { return FFrameMargin; }
  void SetFrameMargin(unsigned short Value) { FFrameMargin = Value; }
  bool Use3D() const { return FUse3D; }
  void SetUse3D(bool Value) { FUse3D = Value; }
  bool Fill() const { return FFill; }
  void SetFill(bool Value) { FFill = Value; }
  bool AutoBackColor() const { return FAutoBackColor; }
  void SetAutoBackColor(bool Value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value);
  bool RealTransparent() const { return FRealTransparent; }
  void SetRealTransparent(bool Value) { FRealTransparent = Value; }
  int AddWidth() const { return FAddWidth; }
  void SetAddWidth(int Value) { FAddWidth = Value; }
  int AddHeight() const { return FAddHeight; }
  void SetAddHeight(int Value) { FAddHeight = Value; }
  bool AdjustforFrame() const { return FAdjustforFrame; }
  void SetAdjustforFrame(bool Value) { FAdjustforFrame = Value; }

  TNotifyEvent OnCreate, OnBeforeShow, OnShow, OnBeforeDelay, OnBeforeClose, OnAfterClose;

private:
  void FormWindowProc(TMessage& Message);
  // The transparent colour from the bitmap's bottom-left pixel, with AutoBackColor.
  void ApplyAutoBackColor();

  TBitmap* FBitMap;
  TPicture* FPicture;
  bool FMoveSplashUp = true;
  unsigned short FMainFormDelay = 500;
  qSplashStyleType FShape = ssQRectangle;
  TColor FColor = clBtnFace;
  TColor FHighligtColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  TColor FFrameColor = 0xFF00FF;
  bool FDrawFrame = true;
  unsigned short FFrameThickness = 4;
  unsigned short FFrameMargin = 8;
  bool FUse3D = true;
  bool FFill = true;
  bool FAutoBackColor = false;
  TColor FTransparentColor = 0xFFFFFF;
  bool FRealTransparent = false;
  int FAddWidth = 0, FAddHeight = 0;
  bool FAdjustforFrame = true;

  int FX = 0, FY = 0, FSW = 0, FSH = 0, FOX = 0, FOY = 0;
  HRGN FRegion = nullptr;
  bool FRemoved = true;  // no splash shown yet
  TWindowProcHook FHook;
};
