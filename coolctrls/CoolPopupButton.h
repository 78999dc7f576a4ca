// Split buttons that open a menu or a list below themselves (part of unit CoolCtrls; include
// "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "vcl/Menus.h"

// A windowless button in two parts: the main part clicks (OnClick on the press), the arrow part
// of BtnAddSize pixels at the right opens something (ClickAdd). ButtonState: 0 main part
// pressed, 1 arrow part pressed (open), 2 hot, 3 at rest.
class TCustomPopupButton : public TGraphicControl {
  ORV_CLASS(TCustomPopupButton, TGraphicControl)
public:
  explicit TCustomPopupButton(TComponent* AOwner);
  ~TCustomPopupButton() override;
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  int BtnAddSize() const { return FBtnAddSize; }
  void SetBtnAddSize(int Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value) { FGlyph->SetGlyph(Value); }
  // At most 2.
  TNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLook.Layout; }
  void SetLayout(TButtonLayout Value) { if (FLook.SetLayout(Value)) Changed(this); }
  // Values below -1 are ignored.
  int Margin() const { return FLook.Margin; }
  void SetMargin(int Value) { if (FLook.SetMargin(Value)) Changed(this); }
  int Spacing() const { return FLook.Spacing; }
  void SetSpacing(int Value) { if (FLook.SetSpacing(Value)) Changed(this); }
  TColor ShadowColor() const { return FLook.ShadowColor; }
  void SetShadowColor(TColor Value) { if (FLook.SetShadowColor(Value)) Changed(this); }
  int ShadowSize() const { return FLook.ShadowSize; }
  void SetShadowSize(int Value) { if (FLook.SetShadowSize(Value)) Changed(this); }
  TShadowPosition ShadowPos() const { return FLook.ShadowPos; }
  void SetShadowPos(TShadowPosition Value) { if (FLook.SetShadowPos(Value)) Changed(this); }
  bool SimpleView() const { return FLook.SimpleView; }
  void SetSimpleView(bool Value) { if (FLook.SetSimpleView(Value)) Changed(this); }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);

  int ButtonState() const { return FButtonState; }
  // The hidden window that owns what the button opens; its messages go to PopupWndProc.
  HWND PopupWindow() const { return FPopupWindow; }

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

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // The framework's click on release fires nothing: OnClick came with the press.
  void Click() override {}
  // Opens the drop-down: nothing here.
  virtual void ClickAdd() {}
  // Messages of PopupWindow; what is left goes to DefWindowProcA.
  virtual void PopupWndProc(TMessage& Message);
  void SetButtonState(int Value);
  // After the drop-down closed: 3 with the cursor outside, 2 inside with the left button up.
  void DropDownClosed();

  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMTextChanged(TMessage& Message);

private:
  void Changed(TObject*) { if (!HasState(csLoading)) Invalidate(); }

  TGlyph* FGlyph;
  mutable TCoolWallpaper FWallpaper;
  HWND FPopupWindow = nullptr;
  int FBtnAddSize = 16;
  bool FFlat = false;
  TGlyphLook FLook;
  bool FTransparent = false;
  int FButtonState = 3;
  TCCAboutBox* FAbout = nullptr;
};

// Routes the owner-window messages of a menu shown by TrackPopupMenu to Menu: owner drawing and
// measuring, commands, submenus, hints, help and accelerators. Owner is the window the menu
// was shown for. True when the message was handled (Message.Result set).
bool RoutePopupMenuMessage(TPopupMenu* Menu, HWND Owner, TMessage& Message);
// TrackPopupMenu's alignment and button flags for Menu opened from Control.
unsigned PopupMenuFlags(const TControl* Control, const TPopupMenu* Menu);
// The control's lower left corner on the screen, where what it opens drops.
TPoint LowerLeftOnScreen(const TControl* Control);

// The split button whose arrow part opens DownMenu at its lower left corner.
class TCoolPopupButton : public TCustomPopupButton {
  ORV_CLASS(TCoolPopupButton, TCustomPopupButton)
public:
  explicit TCoolPopupButton(TComponent* AOwner) : TCustomPopupButton(AOwner) {}
  TPopupMenu* DownMenu() const { return FDownMenu; }
  void SetDownMenu(TPopupMenu* Value);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ClickAdd() override;
  void PopupWndProc(TMessage& Message) override;

private:
  TPopupMenu* FDownMenu = nullptr;
};

// The windowed twin: the whole button's click opens DownMenu; no frame while it is open.
class TCoolPopupButton2 : public TCoolBtn {
  ORV_CLASS(TCoolPopupButton2, TCoolBtn)
public:
  explicit TCoolPopupButton2(TComponent* AOwner);
  TPopupMenu* DownMenu() const { return FDownMenu; }
  void SetDownMenu(TPopupMenu* Value);
  void Click() override;
  // The edge is left out while the menu is open.
  bool MenuOpen() const { return NoFrame(); }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;

private:
  TPopupMenu* FDownMenu = nullptr;
};

// The published properties the popup buttons and boxes share (T: the class).
#define ORV_POPUP_BUTTON_PROPS(T)                                                                              \
  PropObject<&T::About, &T::SetAbout>("About"), PropRef<&TControl::Action, &TControl::SetAction>("Action"),    \
      TControlProps::Anchors(), TControlProps::BiDiMode(),                                                     \
      PropInt<&T::BtnAddSize, &T::SetBtnAddSize>("BtnAddSize", 16), TControlProps::Caption(),                  \
      TControlProps::Color(clWindow), TControlProps::Constraints(),                                            \
      PropRef<&T::CoolImages, &T::SetCoolImages>("CoolImages"), TControlProps::Enabled(),                     \
      PropBool<&T::Flat, &T::SetFlat>("Flat", false), TControlProps::Font(),                                 \
      PropObject<&T::Glyph, &T::SetGlyph>("Glyph"), PropInt<&T::idWallpaper, &T::SetIdWallpaper>("idWallpaper", -1), \
      PropEnum<&T::Layout, &T::SetLayout>("Layout", TButtonLayoutType, blGlyphLeft),                          \
      PropInt<&T::Margin, &T::SetMargin>("Margin", -1), PropInt<&T::NumGlyphs, &T::SetNumGlyphs>("NumGlyphs", 1), \
      TControlProps::ParentBiDiMode(), TControlProps::ParentColor(true), TControlProps::ParentFont(),        \
      TControlProps::ParentShowHint(), PopupMenuProp(),                                                        \
      PropColor<&T::ShadowColor, &T::SetShadowColor>("ShadowColor", clBtnHighlight),                          \
      PropEnum<&T::ShadowPos, &T::SetShadowPos>("ShadowPos", TShadowPositionType, spLeftTop),                 \
      PropInt<&T::ShadowSize, &T::SetShadowSize>("ShadowSize", 1), TControlProps::ShowHint(),                 \
      PropBool<&T::SimpleView, &T::SetSimpleView>("SimpleView", false),                                       \
      PropInt<&T::Spacing, &T::SetSpacing>("Spacing", 4),                                                     \
      PropBool<&T::Transparent, &T::SetTransparent>("Transparent", false), TControlProps::Visible(),          \
      PropObject<&T::Wallpaper, &T::SetWallpaper>("Wallpaper"), TControlProps::OnClick(),                     \
      TControlProps::OnDblClick(), TControlProps::OnMouseDown(), TControlProps::OnMouseMove(),                \
      TControlProps::OnMouseUp()
