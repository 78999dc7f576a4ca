// The scrolling button panel (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "vcl/Buttons.h"

#include <vector>

class TCoolSpeedButton;

// What a cool speed button tells the panel it sits on (sent to the panel).
enum : unsigned {
  CM_BUTTONDESTROYED = WM_USER + 405,     // LParam: the button, which is going
  CM_BUTTONMOUSEUP = WM_USER + 406,       // the listed button under the cursor gets CM_MOUSEENTER
  CM_PARENTBACKCOLOR = WM_USER + 407,     // Result: the panel's background colour
  CM_MOUSECAPTURECHANGE = WM_USER + 408,  // WParam 1 (entered) or 0 (left), LParam: the button
};

// A narrow panel holding a column of equal cool speed buttons, ButtonWidth by ButtonHeight, with
// two arrow buttons ("BTN_UP", "BTN_DOWN") at its top and bottom edge that scroll the column by
// one button height; each arrow shows only while buttons lie beyond its edge. The background is
// Color, a wallpaper (tiled) or, when Transparent, what lies behind it.
class TCoolPanel : public TCustomPanel {
  ORV_CLASS(TCoolPanel, TCustomPanel)
public:
  explicit TCoolPanel(TComponent* AOwner);
  ~TCoolPanel() override;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int Value);
  // The panel becomes Value + 2 wide.
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  // Created on first read.
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  // Ignores the bitmap the panel holds; otherwise Transparent goes off and a copy is taken.
  void SetWallpaper(TBitmap* Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);

  // A new button owned by the panel's owner, at the end of the column; nullptr when making it
  // fails.
  TCoolSpeedButton* CreateButton();
  // The listed buttons (column order); Index out of range: EListError.
  TCoolSpeedButton* GetButton(int Index) const;
  int GetButtonCount() const { return int(FButtons.size()); }
  // Lists Button at the end of the column, unless it is listed already.
  void AddButton(TCoolSpeedButton* Button);
  // Button i at (1, i * ButtonHeight); the arrows at the top and bottom edge. Scrolling is lost.
  void ReorderButtons();
  // Scrolls the column by one button height down (ScrollUp) or up (ScrollDown), then
  // OnScrollUp or OnScrollDown; the arrows' clicks.
  void ScrollUp(TObject* Sender);
  void ScrollDown(TObject* Sender);
  // Moves every child but the arrows by (DX, DY), the pixels of Rect scrolled with them.
  void ScrollByEx(int DX, int DY, const TRect& Rect);
  TSpeedButton* UpButton() const { return FUpButton; }
  TSpeedButton* DownButton() const { return FDownButton; }

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
  using TCustomPanel::FullRepaint;
  using TCustomPanel::SetFullRepaint;
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

  TNotifyEvent OnScrollUp;
  TNotifyEvent OnScrollDown;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void Resize() override;

  void CMButtonDestroyed(TMessage& Message);
  void CMButtonMouseUp(TMessage& Message);
  void CMParentBackColor(TMessage& Message);
  void CMMouseCaptureChange(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMControlChange(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);

private:
  void WallpaperChanged(TObject* Sender);
  void CoolImagesChange(TObject* Sender);
  TSpeedButton* MakeArrow(const char* ResName, TNotifyEvent Click);
  bool IsArrow(const TControl* C) const { return C && (C == FUpButton || C == FDownButton); }
  void RemoveButton(TControl* Button);
  // Each arrow shows while buttons lie beyond its edge.
  void UpdateArrows();
  // The arrows above every other graphic child (only when they are not already).
  void ArrowsToFront();

  std::vector<TCoolSpeedButton*> FButtons;  // not owned
  TSpeedButton* FUpButton = nullptr;
  TSpeedButton* FDownButton = nullptr;
  mutable TCoolWallpaper FWallpaper;
  TCCAboutBox* FAbout = nullptr;
  bool FTransparent = false;
  uint8_t FTransparencyLevel = 0;
  int FButtonWidth = 64;
  int FButtonHeight = 64;
};
