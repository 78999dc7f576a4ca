// Extra controls: the image control showing a picture, the panel and the timer.
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

// ---------------------------------------------------------------------------------------------
// Draws Width nested frames inside Rect, each with its left and top edges in TopColor and its
// right and bottom edges in BottomColor (pen width 1), and shrinks Rect by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

using TBevelWidth = int;   // 1..MaxInt
using TBorderWidth = int;  // 0..MaxInt

// A windowed control that paints its colour, its outer bevel, a border of BorderWidth pixels in
// its colour, its inner bevel and its caption (one band of text centred vertically, aligned by
// Alignment). Aligned children go inside the bevels and the border. A lowered bevel has its
// shadow at the top left; raised and space bevels have it at the bottom right.
class TCustomPanel : public TCustomControl {
  ORV_CLASS(TCustomPanel, TCustomControl)
public:
  explicit TCustomPanel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

protected:
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // DT_LEFT, DT_RIGHT or DT_CENTER, for Alignment.
  unsigned AlignmentFlags() const;
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  // Values below 1 are taken as 1.
  TBevelWidth BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth Value);
  // Values below 0 are taken as 0.
  TBorderWidth BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TBorderWidth Value);
  // bsSingle: a window border (the 3-D client edge with Ctl3D).
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // Stored for a container that asks whether the panel may be replaced; no effect of its own.
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value) { FLocked = Value; }

  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void CMCtl3DChanged(TMessage& Message);

private:
  // Realigns the children (the bevels and the border frame them) and repaints.
  void FrameChanged();

  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  TBevelWidth FBevelWidth = 1;
  TBorderWidth FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  bool FLocked = false;
};

// ---------------------------------------------------------------------------------------------
// The panel with its properties published.
class TPanel : public TCustomPanel {
  ORV_CLASS(TPanel, TCustomPanel)
public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
  using TCustomPanel::Alignment;
  using TCustomPanel::SetAlignment;
  using TCustomPanel::BevelInner;
  using TCustomPanel::SetBevelInner;
  using TCustomPanel::BevelOuter;
  using TCustomPanel::SetBevelOuter;
  using TCustomPanel::BevelWidth;
  using TCustomPanel::SetBevelWidth;
  using TCustomPanel::BorderWidth;
  using TCustomPanel::SetBorderWidth;
  using TCustomPanel::BorderStyle;
  using TCustomPanel::SetBorderStyle;
  using TCustomPanel::Locked;
  using TCustomPanel::SetLocked;
  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::AutoSize;
  using TControl::SetAutoSize;
};

// ---------------------------------------------------------------------------------------------
// Calls OnTimer every Interval milliseconds while Enabled, through WM_TIMER on a hidden window of
// its own (so the ticks come from the message loop of the thread that made it). No system timer
// runs while Interval is 0 or the timer is disabled.
class TTimer : public TComponent {
  ORV_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  // The window that receives the timer's WM_TIMER messages.
  HWND WindowHandle() const { return FWindowHandle; }

  TNotifyEvent OnTimer;

  void Loaded() override;

protected:
  // Runs OnTimer.
  virtual void Timer();

private:
  // Kills the system timer and sets it again when it should run. EOutOfResources "Not enough
  // timers available" when the system has none left.
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool FEnabled = true;
  unsigned FInterval = 1000;
  HWND FWindowHandle = nullptr;
};

#include "vcl/HeaderCtrl.h"  // THeader
