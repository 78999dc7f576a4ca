// The cool bevel (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"

// The framework's bevel that can fill its area with Color or a wallpaper (tiled) when not
// Transparent, leave its bevel lines out (Flat), and report the mouse coming and going. With
// Transparent and Flat both set it paints nothing.
class TCoolBevel : public TBevel {
  ORV_CLASS(TCoolBevel, TBevel)
public:
  explicit TCoolBevel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  // Created on first read.
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  // Always copies and repaints.
  void SetWallpaper(TBitmap* Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // A wallpaper to fill with: the library entry or the own bitmap, not empty.
  bool IsWallpaperAssigned() const { return FWallpaper.Source() != nullptr; }

  using TControl::Color;
  using TControl::SetColor;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

private:
  void WallpaperChanged(TObject* Sender);
  void CoolImagesChange(TObject* Sender);

  mutable TCoolWallpaper FWallpaper;
  TCCAboutBox* FAbout = nullptr;
  bool FTransparent = true;
  bool FFlat = false;
};
