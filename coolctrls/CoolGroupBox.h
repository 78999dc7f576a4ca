// The cool group box (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"

// A group box that paints its frame (3-D or a single line) and its caption (plain, shadowed or
// embossed when disabled) itself, over a wallpaper or over the background of its parents.
class TCoolGroupBox : public TCustomGroupBox {
  ORV_CLASS(TCoolGroupBox, TCustomGroupBox)
public:
  explicit TCoolGroupBox(TComponent* AOwner);
  ~TCoolGroupBox() override;
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  // Created on first read.
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  // True: the background is what lies behind, painted by the parent TransparencyLevel levels up.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);
  // The shadow setters leave the simple view; each of the four announces a change (CM_CHANGED).
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  uint8_t ShadowSize() const { return FShadowSize; }
  void SetShadowSize(uint8_t Value);
  TShadowPosition ShadowPos() const { return FShadowPos; }
  void SetShadowPos(TShadowPosition Value);
  bool SimpleView() const { return FSimpleView; }
  void SetSimpleView(bool Value);

  // Where the caption is drawn (client coordinates, grown by the shadow); empty without one.
  TRect CaptionRect() const;

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TWinControl::Ctl3D;
  using TWinControl::SetCtl3D;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  // CM_CHANGED to itself, which the group box hands on to its parent.
  void Changed();
  bool Loading() const { return HasState(csLoading); }

  void WMEraseBkgnd(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void WMMove(TMessage& Message);
  void CMChanged(TMessage& Message);
  // The frame's look follows Ctl3D.
  void CMCtl3DChanged(TMessage& Message);

private:
  void WallpaperChanged(TObject* Sender);
  void CoolImagesChange(TObject*) { Invalidate(); }
  void ShadowChanged();

  mutable TCoolWallpaper FWallpaper;
  bool FTransparent = false;
  TColor FShadowColor = clBtnHighlight;
  uint8_t FShadowSize = 1;
  TShadowPosition FShadowPos = spLeftTop;
  bool FSimpleView = false;
  uint8_t FTransparencyLevel = 0;
  TCCAboutBox* FAbout = nullptr;
};
