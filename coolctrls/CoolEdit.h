// The cool edit and the edit with a button, and what they share with the cool memo (part of unit
// CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "vcl/Buttons.h"

// Composes Edit off-screen (PaintTo, its frame included) with the flat border (Flat) and the edge
// lines (Edges), and copies its client area to the window in one step, so text drawn without a
// background of its own leaves no trace; nothing while Painting, which it sets meanwhile.
void PaintEditOffScreen(TWinControl* Edit, bool Flat, bool Edges, TEdgeBorders EdgeBorders, TPen* Pen, bool& Painting);

// What the cool edit and the cool memo share over TCustomEdit or TCustomMemo (TBase): a wallpaper
// (ocPaintWallpaper) or see-through (ocPaintTransparently) background behind text drawn without
// one of its own, the whole client composed off-screen after every paint and every change of the
// text; text alignment; the flat border; edge lines with BorderStyle bsNone.
template <class TBase>
class TCoolEditControl : public TBase {
public:
  TCoolEditControl(TComponent* AOwner, TCoolOptions DefaultOptions);
  ~TCoolEditControl() override;
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TPen* BorderPen() const { return FBorderPen; }
  void SetBorderPen(TPen* Value) { FBorderPen->Assign(Value); }
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  TEdgeBorders EdgeBorders() const { return FEdgeBorders; }
  void SetEdgeBorders(TEdgeBorders Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  // ocPaintWallpaper and ocPaintTransparently exclude each other: the one switched on wins. A
  // change makes the window again.
  TCoolOptions Options() const { return FOptions; }
  void SetOptions(TCoolOptions Value);
  // Makes the window again.
  TAlignment TextAlign() const { return FTextAlign; }
  void SetTextAlign(TAlignment Value);
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);
  TAlignment GetControlsAlignment() const override { return FTextAlign; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change() override;
  // Composes the control off-screen (PaintTo) with its flat border and edge lines and copies its
  // client area to the window in one step: in wallpaper mode or see-through only.
  virtual void DoPaint();
  // ocPaintWallpaper with a wallpaper that has a picture.
  bool WallpaperMode() const { return (FOptions & CoolOption(ocPaintWallpaper)) && FWallpaper.Source(); }
  bool SeeThrough() const { return FOptions & CoolOption(ocPaintTransparently); }
  // The ES_ alignment style of TextAlign, mirrored with right-to-left alignment.
  DWORD AlignStyle() const;
  bool Painting() const { return FPainting; }

private:
  static constexpr bool Memo = std::is_base_of_v<TCustomMemo, TBase>;
  void Redraw(TObject*);
  void WallpaperChanged(TObject*);
  void WMEraseBkgnd(TMessage& Message);
  void WMPaint(TMessage& Message);
  void CNCtlColor(TMessage& Message);
  void WMFocus(TMessage& Message);
  void CMMouse(TMessage& Message);

  TPen* FBorderPen;
  mutable TCoolWallpaper FWallpaper;
  TCCAboutBox* FAbout = nullptr;
  TCoolOptions FOptions;
  TEdgeBorders FEdgeBorders = 0;
  TAlignment FTextAlign = taLeftJustify;
  uint8_t FTransparencyLevel = 0;
  bool FPainting = false;
};

// The published properties both share, for their tables (T: the class).
#define ORV_COOL_EDIT_PROPS(T)                                                                             \
  PropObject<&T::About, &T::SetAbout>("About"), PropObject<&T::BorderPen, &T::SetBorderPen>("BorderPen"),  \
      PropRef<&T::CoolImages, &T::SetCoolImages>("CoolImages"),                                            \
      PropSet<&T::EdgeBorders, &T::SetEdgeBorders>("EdgeBorders", TEdgeBorderType, 0),                     \
      PropInt<&T::idWallpaper, &T::SetIdWallpaper>("idWallpaper", -1),                                     \
      PropEnum<&T::TextAlign, &T::SetTextAlign>("TextAlign", TAlignmentType, taLeftJustify),               \
      PropInt<&T::TransparencyLevel, &T::SetTransparencyLevel>("TransparencyLevel", 0),                    \
      PropObject<&T::Wallpaper, &T::SetWallpaper>("Wallpaper"), PropEvent<&T::OnMouseEnter>("OnMouseEnter"), \
      PropEvent<&T::OnMouseLeave>("OnMouseLeave")

// The framework's events the edit and the memo publish.
#define ORV_COOL_EDIT_EVENTS                                                                                \
  PropEvent<&TCustomEdit::OnChange>("OnChange"), TControlProps::OnClick(), TControlProps::OnDblClick(),     \
      TControlProps::OnDragDrop(), TControlProps::OnDragOver(), TControlProps::OnEndDock(),                 \
      TControlProps::OnEndDrag(), TControlProps::OnEnter(), TControlProps::OnExit(),                        \
      TControlProps::OnKeyDown(), TControlProps::OnKeyPress(), TControlProps::OnKeyUp(),                    \
      TControlProps::OnMouseDown(), TControlProps::OnMouseMove(), TControlProps::OnMouseUp(),               \
      TControlProps::OnStartDock(), TControlProps::OnStartDrag()

// A one-line edit of the cool controls: Enter and Ctrl+Enter are refused with a beep, the text
// is aligned by TextAlign (the window is a multi-line edit kept to one line), and focusing it
// selects its text with AutoSelect.
class TCoolEdit : public TCoolEditControl<TCustomEdit> {
  ORV_CLASS(TCoolEdit, TCoolEditControl<TCustomEdit>)
public:
  explicit TCoolEdit(TComponent* AOwner);

  // The beep for a refused key (MessageBeep by default).
  static void (*Beep)(unsigned Type);

  using TControl::AutoSize;
  using TControl::SetAutoSize;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TWinControl::Ctl3D;
  using TWinControl::SetCtl3D;

protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  // The last key went down as Ctrl+Enter.
  bool CtrlEnterDown() const { return FCtrlEnterDown; }

private:
  bool FCtrlEnterDown = false;
};

// The cool edit with a speed button inside its right end (its left end with right-to-left
// alignment): the button's click and Ctrl+Enter fire OnBtnClick; the text ends before the
// button; the edit is never lower than its font needs.
class TCoolEditBtn : public TCoolEdit {
  ORV_CLASS(TCoolEditBtn, TCoolEdit)
public:
  explicit TCoolEditBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TSpeedButton* Button() const { return FButton; }
  TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
  TCaption BtnCaption() const { return FButton->Caption(); }
  void SetBtnCaption(const TCaption& Value);
  TNumGlyphs NumGlyphs() const { return FButton->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value);
  // The lowest the edit may be: the font's height with a quarter of the smaller of it and the
  // system font's height, four borders and two pixels.
  int GetMinHeight();

  TNotifyEvent OnBtnClick;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  // An action whose list has images gives an empty glyph its image, on clFuchsia.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  // The formatting rectangle: the client area less 2 pixels at the left and the button and 2
  // pixels at the right (the sides swapped with right-to-left alignment).
  void SetEditRect();
  void BtnClick(TObject*);
  void WMSize(TMessage& Message);

private:
  TSpeedButton* FButton;
  // The button inside the right end of the edit, or the left end with right-to-left alignment.
  void PlaceButton();
};
