// Unit BMPAGE, the page control (include "package/BMPAGE.h"): a page control that paints its
// tabs itself, with glyphs in four looks, colours or slices of the page backgrounds, a flashing
// hot-track cloud, raised, inset or shadowed hot text, turned text on side tabs, transparency to
// its parent, and sounds when a tab becomes hot, pulses or is selected.
#pragma once

#include "package/BMPageModule.h"
#include "package/BMWave.h"
#include "vcl/ComCtrls.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

#include <atomic>
#include <cstdint>
#include <vector>

enum TBMTabStyle { tabRightJustify, tabCenterText, tabLabelLeft, tabOwnerDraw };
using TBMTabStyles = unsigned;  // bit n = TBMTabStyle n
extern const TEnumType TBMTabStyleType;
enum TTabColorization { tcNone, tcPage, tcActive, tcActivePage };
extern const TEnumType TTabColorizationType;
enum TCloudColorization { ccNone, ccPage, ccMain };
extern const TEnumType TCloudColorizationType;
enum TDrawStyle { dsNormal, dsRaised, dsInset, dsShadow };
extern const TEnumType TDrawStyleType;

// Sent to every control below a page control's parent when what a see-through page shows may
// have changed (both parameters 0).
constexpr unsigned BM_CHANGEVIEW = 0xE000;
// Posted by the module timer to a page control whose flash phase moved: repaint the hot tab
// (WParam 1: and play the pulse sound). In the application range, below the class library's
// own messages, so no registered message can be taken for it.
constexpr unsigned BM_FLASHSTEP = 0xA001;

class TBMTabSheet;

// The highlight, pulse and select sounds of a page control or of one of its pages. A sound may
// belong to another form: it tells the holder when it goes (FreeNotification), and the holder's
// Notification passes that on to Forget.
struct TBMTabSounds {
  TBMCustomSound* Highlight = nullptr;
  TBMCustomSound* Pulse = nullptr;
  TBMCustomSound* Select = nullptr;
  static void Set(TComponent* Holder, TBMCustomSound*& Field, TBMCustomSound* Value);
  void Forget(TComponent* Gone);
};

class TBMPageControl : public TPageControl {
  ORV_CLASS(TBMPageControl, TPageControl)
public:
  explicit TBMPageControl(TComponent* AOwner);
  ~TBMPageControl() override;
  void BeforeDestruction() override;
  void Dispatch(TMessage& Message) override;
  // Also forgets the parent image and erases the whole client area.
  void Invalidate() override;

  // Published properties.
  TBMTabStyles Styles() const { return FStyles; }
  // tabRightJustify forces MultiLine (whose rows the system stretches to the full width);
  // tabCenterText centres text and glyph; tabLabelLeft puts the glyph after the text.
  void SetStyles(TBMTabStyles Value);
  bool ShowGlyphs() const { return FShowGlyphs; }
  void SetShowGlyphs(bool Value);
  TTabColorization TabColorization() const { return FTabColorization; }
  void SetTabColorization(TTabColorization Value);
  TCloudColorization CloudColorization() const { return FCloudColorization; }
  void SetCloudColorization(TCloudColorization Value);
  TColor ColorUnselected() const { return FColorUnselected; }
  void SetColorUnselected(TColor Value);
  TColor ColorSelected() const { return FColorSelected; }
  void SetColorSelected(TColor Value);
  TColor HotTrackColor() const { return FHotTrackColor; }
  void SetHotTrackColor(TColor Value);
  TColor HotTrackCloudColor() const { return FHotTrackCloudColor; }
  void SetHotTrackCloudColor(TColor Value);
  bool GrayInactive() const { return FGrayInactive; }
  void SetGrayInactive(bool Value);
  bool HighlightGlyphts() const { return FHighlightGlyphts; }
  void SetHighlightGlyphts(bool Value);
  bool Flashing() const { return FFlashing; }
  void SetFlashing(bool Value);
  // In ticks of 10 ms; values below 10 are stored as 10.
  int FlashedDelay() const { return FFlashedDelay; }
  void SetFlashedDelay(int Value);
  int FlashingDelay() const { return FFlashingDelay; }
  void SetFlashingDelay(int Value);
  int UnFlashedDelay() const { return FUnFlashedDelay; }
  void SetUnFlashedDelay(int Value);
  bool EnableSounds() const { return FEnableSounds; }
  void SetEnableSounds(bool Value) { FEnableSounds = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TBMCustomSound* HighlightSound() const { return FSounds.Highlight; }
  void SetHighlightSound(TBMCustomSound* Value) { TBMTabSounds::Set(this, FSounds.Highlight, Value); }
  TBMCustomSound* PulseSound() const { return FSounds.Pulse; }
  void SetPulseSound(TBMCustomSound* Value) { TBMTabSounds::Set(this, FSounds.Pulse, Value); }
  TBMCustomSound* SelectSound() const { return FSounds.Select; }
  void SetSelectSound(TBMCustomSound* Value) { TBMTabSounds::Set(this, FSounds.Select, Value); }
  TDrawStyle HotTrackTextStyle() const { return FHotTrackTextStyle; }
  void SetHotTrackTextStyle(TDrawStyle Value);
  TDrawStyle HotTrackGlyphtStyle() const { return FHotTrackGlyphtStyle; }
  void SetHotTrackGlyphtStyle(TDrawStyle Value);
  using TControl::Color;
  using TControl::SetColor;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  // Replaces all tab painting when set.
  TDrawTabEvent OnDrawItem;

  // The flash state the module timer advances. HotIndex counts visible tabs (-1: none).
  int HotIndex() const { return FHotIndex; }
  int FlashPhase() const { return FFlashPhase; }
  int FlashCountdown() const { return FFlashCountdown; }
  bool TabPainted() const { return FTabPainted != 0; }
  bool SkipNextPulse() const { return FSkipNextPulse != 0; }
  bool MouseInside() const { return FMouseInside != 0; }

  // Pages with a visible tab; GetPage is the inherited page.
  int GetPageCount() const;
  TTabSheet* GetPage(int Index) const { return Pages(Index); }
  // The page of a visible tab, when it is one of ours.
  TBMTabSheet* TabPage(int TabIndex) const;
  // The four image lists (normal, grayed, highlighted, selected-highlighted), rebuilt from the
  // pages' glyphs by UpdateGlyphs.
  TImageList* GlyphList(int Look) const { return FLists[Look]; }

  virtual void UpdateGlyphs();
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // One tick of the flash cycle, on the timer's thread with the module lock held: the state
  // moves, and a control with a window is posted BM_FLASHSTEP to repaint.
  void UpdateHighlighted();

  void PlaySelectWave();
  void PlayPulseWave();
  void PlayHighlightWave();
  bool HaveHighlightWave() const;
  bool HaveSelectWave() const;

  // What lies behind the control, painted once and kept until the next Invalidate.
  void ValidateParentImage();
  TBitmap* ParentImage() const { return FParentImage; }
  bool HasTransparentcy() const;
  // BM_CHANGEVIEW to every control below the parent (below the control itself without one).
  void ViewChange();
  // The selected page repaints the frame strips round it.
  void InvalidateBorder();
  // The selected tab (TCM_GETCURSEL, else TCM_GETCURFOCUS); -1 for none.
  int SelectedTab() const;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool CanChange() override;
  void Change() override;
  void TabsChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  void ValidateBtnRect(const TRect& Rect);
  void DrawGlyphtShadow(int Offset, int X, int Y);

  void WMMove(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMVHScroll(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void BMChangeView(TMessage& Message);
  void BMFlashStep(TMessage& Message);

private:
  // Colour and background source of a tab, as TabColorization says.
  void TabLook(int TabIndex, bool Selected, TColor& Color, TBitmap*& Source) const;
  // Invalidates a tab narrowed by 2 on the left and right, without erasing.
  void InvalidateTab(int TabIndex);
  // Starts the flash cycle again (module lock held).
  void RestartFlash();
  void SetTickWindow(HWND Wnd);
  std::vector<TTabSheet*> TabbedPages() const;

  TBMTabStyles FStyles = 0;
  bool FShowGlyphs = true;
  TTabColorization FTabColorization = tcPage;
  TCloudColorization FCloudColorization = ccMain;
  TColor FColorUnselected = clBtnShadow;
  TColor FColorSelected = clBtnFace;
  TColor FHotTrackColor = clHighlight;
  TColor FHotTrackCloudColor = 65535;
  bool FGrayInactive = true;
  bool FHighlightGlyphts = true;
  bool FFlashing = true;
  int FFlashedDelay = 6;
  int FFlashingDelay = 6;
  int FUnFlashedDelay = 200;
  bool FEnableSounds = true;
  bool FTransparent = false;
  TBMTabSounds FSounds;
  TDrawStyle FHotTrackTextStyle = dsRaised;
  TDrawStyle FHotTrackGlyphtStyle = dsRaised;

  TImageList* FLists[4];           // normal, grayed, highlighted, selected-highlighted
  TCanvas* FCanvas;                // bound to the DC of a draw-item or erase request
  TBitmap* FTabBitmap;             // one tab is composed here
  TBitmap* FBackBuffer;            // the whole control, for erasing
  TBitmap* FParentImage;           // what lies behind the control
  TBitmap* FWork[2];               // 16 by 16 glyph transforms
  TBitmap* FHotImage;              // the hot glyph, its mask and a copy of the mask in colour
  TBitmap* FHotMask;
  TBitmap* FHotMaskCopy;

  // Flash state: written under the module lock; painting reads the first two without it.
  std::atomic<int> FHotIndex{-1};
  std::atomic<int> FFlashPhase{0};
  int FFlashCountdown = 0;
  uint8_t FTabPainted = 0;
  uint8_t FSkipNextPulse = 0;
  uint8_t FMouseInside = 0;
  HWND FTickWindow = nullptr;      // the window the timer posts to (module lock)
  uint8_t FParentImageValid = 0;
  bool FGlyphSizePosted = false;   // UpdateGlyphs asked for a WM_SIZE to run it again
  std::vector<TTabSheet*> FGlyphPages;  // the pages the glyph lists were made for
};
