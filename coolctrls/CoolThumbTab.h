// The cool thumb tab (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"

enum TCoolThumbTabPosition { tpLeftBottom, tpRightBottom, tpLeftTop, tpRightTop };
extern const TEnumType TCoolThumbTabPositionType;

// A corner grip drawn as a folded corner: over its central area (an eighth of its size in from
// each edge) the mouse sizes the form it sits on from the corner ThumbPosition names. It answers
// the form's hit test through a window hook on the form, which follows the control from form to
// form as it is parented.
class TCoolThumbTab : public TGraphicControl {
  ORV_CLASS(TCoolThumbTab, TGraphicControl)
public:
  explicit TCoolThumbTab(TComponent* AOwner);
  ~TCoolThumbTab() override;
  void Loaded() override;
  void SetParent(TWinControl* AParent) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  // Created on first read.
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  TCoolThumbTabPosition ThumbPosition() const { return FThumbPosition; }
  void SetThumbPosition(TCoolThumbTabPosition Value);
  // True: the folded part is not filled.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  // The central area, in client coordinates.
  TRect SubRect() const;
  // The hook on the form's window.
  TWndHook* Hook() const { return FHook; }

  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  // After the form's window answered a message: a hit test over the central area becomes the
  // corner's sizing code.
  void AfterMessage(TObject* Sender, TMessage& Msg, bool& Handled);

private:
  bool Loading() const { return HasState(csLoading); }
  // The hook onto the form the control now sits on (none without one).
  void UpdateHook();
  void WallpaperChanged(TObject* Sender);
  void CoolImagesChange(TObject* Sender);

  TWndHook* FHook;  // owned
  mutable TCoolWallpaper FWallpaper;
  TCCAboutBox* FAbout = nullptr;
  TCoolThumbTabPosition FThumbPosition = tpRightBottom;
  bool FTransparent = false;
};
