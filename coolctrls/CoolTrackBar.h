// The cool track bar (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "vcl/ComCtrls.h"

#include <cstdint>

enum TTrackOrientation { toHorizontal, toVertical };
extern const TEnumType TTrackOrientationType;

// The layers a track bar paints; poDrawThumbStates shows the second thumb while dragging.
enum TPaintOption { poDrawFocusRect, poDrawTrackBar, poDrawTicks, poDrawThumb, poDrawThumbStates };
using TPaintOptions = unsigned;  // bit n = TPaintOption n
constexpr TPaintOptions PaintOption(TPaintOption O) { return 1u << O; }
constexpr TPaintOptions AllPaintOptions = 31;
extern const TEnumType TPaintOptionType;

// A track bar painted entirely by itself: a sunken bar 10 pixels in from each end, a tick per
// value and a thumb bitmap (the built-in ones or the user's, with a second look while dragged or
// disabled); over a wallpaper or what lies behind it, with optional bevels. Taller than wide, it
// turns vertical. The mouse moves the thumb by dragging it or one step per press beside it; the
// arrow, page, Home and End keys move it too.
class TCoolTrackBar : public TCustomControl {
  ORV_CLASS(TCoolTrackBar, TCustomControl)
public:
  explicit TCoolTrackBar(TComponent* AOwner);
  ~TCoolTrackBar() override;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TColor BarColor() const { return FBarColor; }
  void SetBarColor(TColor Value);
  int BarSize() const { return FBarSize; }
  void SetBarSize(int Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  // Created on first read.
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  TTrackOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackOrientation Value);
  // Kept at most MaxValue; Position follows.
  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value);
  // Kept at least MinValue; Position follows.
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value);
  // Honours ocPaintWallpaper, ocTileWallpaper and ocPaintTransparently.
  TCoolOptions Options() const { return FOptions; }
  void SetOptions(TCoolOptions Value);
  TPaintOptions PaintOptions() const { return FPaintOptions; }
  void SetPaintOptions(TPaintOptions Value);
  // What Page Up and Page Down move.
  uint16_t PageSize() const { return FPageSize; }
  void SetPageSize(uint16_t Value) { FPageSize = Value; }
  int Position() const { return FPosition; }
  // Clamped to MinValue..MaxValue; when that differs from Position: stored, OnChange, and the
  // control painted again at once.
  void SetPosition(int Value);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark Value);
  // The user's thumbs (empty: the built-in ones). Each is created on first read; a write
  // assigns a copy.
  TBitmap* ThumbHorz() const { return OwnBitmap(FThumbHorz); }
  void SetThumbHorz(TBitmap* Value);
  TBitmap* ThumbVert() const { return OwnBitmap(FThumbVert); }
  void SetThumbVert(TBitmap* Value);
  // The thumbs shown while dragged or disabled.
  TBitmap* ThumbHorzSelected() const { return OwnBitmap(FThumbHorzSelected); }
  void SetThumbHorzSelected(TBitmap* Value);
  TBitmap* ThumbVertSelected() const { return OwnBitmap(FThumbVertSelected); }
  void SetThumbVertSelected(TBitmap* Value);
  // True: the thumb's bottom-left colour shows what lies under it.
  bool TransparentThumb() const { return FTransparentThumb; }
  void SetTransparentThumb(bool Value);
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);

  // The thumb bitmap in use.
  TBitmap* Thumb() const { return FThumb; }
  // The bar (inside its sunken edge) and the thumb as last drawn, in client coordinates.
  const TRect& TrackRect() const { return FTrackRect; }
  const TRect& ThumbRect() const { return FThumbRect; }
  // The thumb is being dragged.
  bool ThumbDragging() const { return FDragging; }
  // The x (horizontal) or y (vertical) of the thumb's centre for Value, and of tick I.
  int ThumbCentre(int Value) const;
  int TickPos(int I) const;

  // Chooses the thumb in use: the selected look while dragged or disabled, the user's bitmap
  // when it holds a picture, else the built-in resource.
  virtual void LoadImages();
  virtual void DrawTrack(TCanvas* Canvas);
  virtual void DrawTicks(TCanvas* Canvas);
  virtual void DrawThumb(TCanvas* Canvas);

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

  TNotifyEvent OnChange;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoEnter() override;
  void DoExit() override;

  void WMGetDlgCode(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

private:
  bool Loading() const { return HasState(csLoading); }
  bool Vertical() const { return FOrientation == toVertical; }
  // Width (horizontal) or height (vertical).
  int Length() const { return Vertical() ? Height() : Width(); }
  // No scale: MinValue = MaxValue, or no room between the margins.
  bool Degenerate() const;
  static TBitmap* OwnBitmap(TBitmap*& Field);
  void AssignThumb(TBitmap*& Field, TBitmap* Value, bool Reload);
  // The layers of Paint on Canvas: bar, ticks, thumb, bevel and (with Focus) the focus mark.
  void PaintLayers(TCanvas* Canvas, bool Focus);
  // The control painted now onto its window (SetPosition's repaint).
  void PaintNow();
  void InvalidateThumb();
  void WallpaperChanged(TObject* Sender);
  void CoolImagesChange(TObject* Sender);

  mutable TCoolWallpaper FWallpaper;
  TBitmap* FThumb;
  mutable TBitmap* FThumbHorz = nullptr;
  mutable TBitmap* FThumbVert = nullptr;
  mutable TBitmap* FThumbHorzSelected = nullptr;
  mutable TBitmap* FThumbVertSelected = nullptr;
  TCCAboutBox* FAbout = nullptr;
  TColor FBarColor = clWindow;
  int FBarSize = 10;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvNone;
  TTrackOrientation FOrientation = toHorizontal;
  int FMinValue = 0;
  int FMaxValue = 10;
  int FPosition = 0;
  TCoolOptions FOptions = 0;
  TPaintOptions FPaintOptions = AllPaintOptions;
  uint16_t FPageSize = 1;
  TTickMark FTickMarks = tmBottomRight;
  bool FTransparentThumb = true;
  uint8_t FTransparencyLevel = 0;
  bool FDragging = false;
  TRect FTrackRect;
  TRect FThumbRect;
};
