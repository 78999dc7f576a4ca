// The cool check and radio box (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"

// One windowed control that is a check box or a radio box, painted by itself: the system box
// (or two glyph bitmaps), the caption beside it plain, shadowed or embossed, optional bevels,
// and a wallpaper or the background of its parents behind. Radio boxes of one parent and one
// GroupIndex exclude each other when one of them receives the focus.
class TCoolCheckRadioBox : public TCustomControl {
  ORV_CLASS(TCoolCheckRadioBox, TCustomControl)
public:
  explicit TCoolCheckRadioBox(TComponent* AOwner);
  ~TCoolCheckRadioBox() override;
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  // taRightJustify: box at the left, caption to its right; taLeftJustify: the other way.
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  // Non-zero switches AutoSize off.
  int BevelsOffset() const { return FBevelsOffset; }
  void SetBevelsOffset(int Value);
  // Also sets State to cbChecked or cbUnchecked.
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  // Also sets TabStop: true for a check box, false for a radio box.
  TCheckRadioType CheckRadioType() const { return FCheckRadioType; }
  void SetCheckRadioType(TCheckRadioType Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  // Created on first read.
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  TBitmap* GlyphMarked() const { return FGlyphMarked->Glyph(); }
  void SetGlyphMarked(TBitmap* Value);
  TBitmap* GlyphNormal() const { return FGlyphNormal->Glyph(); }
  void SetGlyphNormal(TBitmap* Value);
  // At most 2.
  TNumGlyphs NumGlyphsMarked() const { return FGlyphMarked->NumGlyphs(); }
  void SetNumGlyphsMarked(TNumGlyphs Value);
  TNumGlyphs NumGlyphsNormal() const { return FGlyphNormal->NumGlyphs(); }
  void SetNumGlyphsNormal(TNumGlyphs Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // True: the glyph bitmaps replace the system box.
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  uint8_t ShadowSize() const { return FShadowSize; }
  void SetShadowSize(uint8_t Value);
  TShadowPosition ShadowPos() const { return FShadowPos; }
  void SetShadowPos(TShadowPosition Value);
  // True: the caption is plain text, without shadow.
  bool SimpleView() const { return FSimpleView; }
  void SetSimpleView(bool Value);
  // True: the background is what lies behind, painted by the parent TransparencyLevel levels up.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);

  // Drawn pushed: from button-down or Space-down to the release, focus loss or the mouse
  // leaving with the button held.
  bool Pressed() const { return FPressed; }
  // Size of the box: 13, or the height of the glyph shown.
  int GetImageHeight() const;
  // The box, in client coordinates.
  TRect BoxRect() const;
  // Alignment as drawn: mirrored with right-to-left alignment (the box moves to the other side).
  TLeftRight DrawnAlignment() const;
  // Steps the state as a click does.
  virtual void Toggle();
  // Repaints the box only.
  virtual void InvalidateEx();
  // Toggle, then OnClick (or the action).
  void Click() override;

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

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // Checked is stored only when no action governs it.
  static bool CheckedStored(const TObject* Obj);

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void AssignTo(TPersistent* Dest) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  TControlActionLink* CreateActionLink() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void AdjustSize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void KeyUp(unsigned short& Key, TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;

  void CMTextChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CNCommand(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMMove(TMessage& Message);

private:
  void WallpaperChanged(TObject* Sender);
  void CoolImagesChange(TObject* Sender);
  void GlyphChanged(TObject* Sender);
  void SetPressed(bool Value);
  bool Loading() const { return HasState(csLoading); }
  friend class TCoolCheckRadioBoxActionLink;

  // Created before the other members; freed first in the destructor, their change events unbound.
  TGlyph* FGlyphMarked;
  TGlyph* FGlyphNormal;
  mutable TCoolWallpaper FWallpaper;
  bool FTransparent = false;
  TLeftRight FAlignment = taRightJustify;
  bool FChecked = false;
  bool FAllowGrayed = false;
  bool FPressed = false;
  TCheckRadioType FCheckRadioType = crCheckBox;
  int FGroupIndex = 0;
  bool FFlat = false;
  bool FOwnerDraw = false;
  TColor FShadowColor = clBtnHighlight;
  uint8_t FShadowSize = 1;
  TShadowPosition FShadowPos = spLeftTop;
  bool FSimpleView = false;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvNone;
  int FBevelsOffset = 0;
  uint8_t FTransparencyLevel = 0;
  TCCAboutBox* FAbout = nullptr;
  TCheckBoxState FState = cbUnchecked;
};

// The action link of the box: Checked follows the action while both agree.
class TCoolCheckRadioBoxActionLink : public TControlActionLink {
  ORV_CLASS(TCoolCheckRadioBoxActionLink, TControlActionLink)
public:
  // EInvalidCast "Invalid class typecast" for a client that is not a TCoolCheckRadioBox.
  void AssignClient(TObject* AClient) override;
  TCoolCheckRadioBox* Client() const { return FClient; }
  bool IsCheckedLinked() override;
  void SetChecked(bool Value) override;

private:
  TCoolCheckRadioBox* FClient = nullptr;
};
