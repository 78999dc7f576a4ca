// Unit CoolCtrls: the cool controls and what they share: option sets, the copy-mode table, the
// wallpaper library component with its change links, per-item check state of the list boxes,
// the flat border and edge-line painters, and the wallpaper and see-through background sources
// of every control.
#pragma once

#include "coolctrls/CoolUtils.h"
#include "vcl/ActnList.h"
#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"
#include "vcl/StdCtrls.h"

#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Shared types.

enum TCoolOption {
  ocPaintWallpaper, ocPaintSelWallpaper, ocPaintCaptionWallpaper, ocTileWallpaper,
  ocInvertWallpaperAsSelect, ocPaintGradiently, ocBevelOnlyIfSel, ocUseImageList, oc3dMDIForm,
  ocWallpaperForMDIChildren, ocGradientForMDIChildren, ocNoCaption, ocSmallCaption,
  ocNoMDIChildrensCaptions, ocDragUsingClientArea, ocNoDragUsingCaption, ocRoundedForm,
  ocFlatBorder, ocPaintFormSemiTransparently, ocPaintTransparently,
};
using TCoolOptions = uint32_t;  // bit n = TCoolOption n
constexpr TCoolOptions CoolOption(TCoolOption O) { return TCoolOptions(1) << O; }
extern const TEnumType TCoolOptionType;

enum TCheckRadioType { crCheckBox, crRadioBox };
extern const TEnumType TCheckRadioTypeType;

enum TGradientDirection { gdHorizontal, gdVertical };
extern const TEnumType TGradientDirectionType;

enum TCaptionBtnType { cbtClose, cbtHelp, cbtMaximize, cbtMinimize, cbtRestore };
extern const TEnumType TCaptionBtnTypeType;

using TTransparencyIntense = uint8_t;  // 0..255

// Edge lines: ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8.
enum TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = unsigned;
constexpr TEdgeBorders EdgeBorder(TEdgeBorder E) { return 1u << E; }
extern const TEnumType TEdgeBorderType;

// The About property of every cool control: a type only, nothing at run time.
class TCCAboutBox : public TPersistent {
  ORV_CLASS(TCCAboutBox, TPersistent)
};

// The raster operations a wallpaper can be copied with, by name.
struct TCopyModeEntry {
  TCopyMode Value;
  const char* Name;
};
extern const TCopyModeEntry CopyModes[15];
// Proc once with each name of CopyModes, in table order.
void GetCopyModeValues(const TGetStrProc& Proc);

// True when Obj's class name contains "Cool" (case-sensitive).
bool IsCoolControl(const TObject* Obj);

// ---------------------------------------------------------------------------------------------
// The wallpaper library.

class TCoolImages;
class TBitmaps;

// One wallpaper of a library.
class TBitmapItem : public TCollectionItem {
  ORV_CLASS(TBitmapItem, TCollectionItem)
public:
  explicit TBitmapItem(TCollection* Collection);
  // Announces the removal to the library first.
  ~TBitmapItem() override;
  void Assign(TPersistent* Source) override;

  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value) { FBitmap->Assign(Value); }

private:
  void BitmapChanged(TObject* Sender);
  TBitmap* FBitmap;
};

class TBitmaps : public TCollection {
  ORV_CLASS(TBitmaps, TCollection)
public:
  explicit TBitmaps(TCoolImages* AOwner);
  TPersistent* GetOwner() const override;
  TCoolImages* Images() const { return FImages; }
  TBitmapItem* Items(int Index) const { return static_cast<TBitmapItem*>(TCollection::Items(Index)); }
  void SetItems(int Index, TBitmapItem* Value) { Items(Index)->Assign(Value); }
  TBitmapItem* Add() { return static_cast<TBitmapItem*>(TCollection::Add()); }

private:
  TCoolImages* FImages;
};

// Registered with a library to hear of its changes; unregisters itself when freed.
class TCoolChangeLink : public TObject {
  ORV_CLASS(TCoolChangeLink, TObject)
public:
  TCoolChangeLink() = default;
  ~TCoolChangeLink() override;
  TCoolImages* Images() const { return FImages; }
  // OnChange with the library as sender.
  virtual void Change();
  TNotifyEvent OnChange;

private:
  TCoolImages* FImages = nullptr;
  friend class TCoolImages;
};

// A library of wallpaper bitmaps shared by controls that name an entry by index.
class TCoolImages : public TComponent {
  ORV_CLASS(TCoolImages, TComponent)
public:
  explicit TCoolImages(TComponent* AOwner);
  ~TCoolImages() override;

  TBitmaps* Bitmaps() const { return FBitmaps; }
  void SetBitmaps(TBitmaps* Value) { FBitmaps->Assign(Value); }
  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }

  // Link->Images() becomes this library.
  void RegisterChanges(TCoolChangeLink* Link);
  // The first registration of Link, when there is one, goes; Link->Images() becomes nullptr.
  void UnRegisterChanges(TCoolChangeLink* Link);
  int LinkCount() const { return int(FLinks.size()); }
  TCoolChangeLink* Links(int Index) const { return FLinks.at(size_t(Index)); }
  // The picture of entry Index when it exists and is not empty, else nullptr.
  TBitmap* Picture(int Index) const;

  // Change of every registered link, in registration order.
  virtual void Change();

private:
  TBitmaps* FBitmaps;
  std::vector<TCoolChangeLink*> FLinks;
  TCCAboutBox* FAbout = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Per-item check state of the cool list and combo boxes, kept in an entry's item-data slot.
class TCheckWrapper : public TCollectionItem {
  ORV_CLASS(TCheckWrapper, TCollectionItem)
public:
  explicit TCheckWrapper(TCollection* Collection) : TCollectionItem(Collection) {}

  // The entry's own data value (what ItemData reads and writes): pointer-sized, as a list
  // entry's data is.
  intptr_t Data() const { return FData; }
  void SetData(intptr_t Value) { FData = Value; }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value) { FState = Value; }
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value) { FLocked = Value; }
  bool Checked() const { return FState == cbChecked; }
  // Nothing changes while locked.
  void SetChecked(bool Value);

  // The state of an entry with or without a wrapper (none reads as unchecked).
  static TCheckBoxState StateOf(const TCheckWrapper* Wrapper) { return Wrapper ? Wrapper->FState : cbUnchecked; }

private:
  intptr_t FData = 0;
  TCheckBoxState FState = cbUnchecked;
  bool FLocked = false;
};

// ---------------------------------------------------------------------------------------------
// Painters.

// A flat frame in the non-client area of Control (DC 0: the window DC, released afterwards).
void DrawFlatBorder(HDC DC, TWinControl* Control, bool Focused);
// What a cool control does after the framework's CM_MOUSEENTER or CM_MOUSELEAVE for itself
// (LParam 0): with FlatBorder its flat border shown or hidden, unless a cool control has the
// focus (with EnterAlways shown on entering whatever has it); then OnEnter or OnLeave.
void CoolMouseEnterLeave(TWinControl* Control, const TMessage& Message, bool FlatBorder, bool EnterAlways,
                         const TNotifyEvent& OnEnter, const TNotifyEvent& OnLeave);
// Edge lines in the non-client area of Control, drawn with Pen (DC 0: the window DC).
void DrawBorders(HDC DC, TWinControl* Control, TEdgeBorders EdgeBorders, TPen* Pen);
// Edge lines inside R of a control's own canvas (the label's form of the lines).
void DrawClientBorders(TCanvas* Canvas, const TRect& R, TEdgeBorders EdgeBorders, TPen* Pen);

// ---------------------------------------------------------------------------------------------
// Wallpaper sources of one control: its own bitmap, made on first use, and an entry of a
// library, which wins when it holds a picture. The control forwards its Wallpaper, CoolImages
// and idWallpaper properties here.
class TCoolWallpaper {
public:
  // OnWallpaperChanged: the own bitmap changed; OnImagesChanged: the library changed.
  TCoolWallpaper(TComponent* Control, TNotifyEvent OnWallpaperChanged, TNotifyEvent OnImagesChanged);
  ~TCoolWallpaper();
  TCoolWallpaper(const TCoolWallpaper&) = delete;
  TCoolWallpaper& operator=(const TCoolWallpaper&) = delete;

  // The own bitmap, created (empty, bound to OnWallpaperChanged) on first use.
  TBitmap* Wallpaper();
  // The own bitmap when it exists.
  TBitmap* WallpaperIfAny() const { return FWallpaper; }
  // Creates the bitmap when missing and assigns a copy of Value.
  void SetWallpaper(TBitmap* Value);

  TCoolImages* CoolImages() const { return FLink->Images(); }
  // Unregisters from the old library, registers with Value; false when unchanged.
  bool SetCoolImages(TCoolImages* Value);
  int idWallpaper() const { return FIdWallpaper; }
  void SetIdWallpaper(int Value) { FIdWallpaper = Value; }
  TCoolChangeLink* ChangeLink() const { return FLink; }

  // The picture to draw: the library entry, else the own bitmap; nullptr when both are empty.
  TBitmap* Source() const;
  // DrawWallpaper with Source(); false (nothing drawn) when there is none.
  bool Draw(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode = cmSrcCopy) const;
  // A window's background erase: what lies behind Control at Level when Transparent, else this
  // picture tiled over its client area; false when neither is drawn (the window erases itself).
  bool Erase(TWinControl* Control, HDC DC, bool Transparent, int Level) const;

private:
  TComponent* FControl;
  TNotifyEvent FOnWallpaperChanged;
  TBitmap* FWallpaper = nullptr;
  TCoolChangeLink* FLink;
  int FIdWallpaper = -1;
};

// The options a control keeps after a write of Value over Old: when Value holds both
// ocPaintWallpaper and ocPaintTransparently, the one Old held goes (with neither, the wallpaper
// stays).
TCoolOptions ExcludeWallpaperOrSeeThrough(TCoolOptions Old, TCoolOptions Value);

// The caption bar a control with WS_CAPTION paints in its frame: its colours and wallpaper, each
// change of which has the frame computed and painted again.
class TCoolCaptionBar : public TObject {
  ORV_CLASS(TCoolCaptionBar, TObject)
public:
  // OneShort: the bar is one row less than a caption high.
  TCoolCaptionBar(TWinControl* Control, TColor DefaultColor, TColor DefaultTextColor, bool OneShort);

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  // False when unchanged.
  bool SetCoolImages(TCoolImages* Value);
  // A colour differs from its default.
  bool Coloured() const { return FColor != FDefaultColor || FTextColor != FDefaultTextColor; }

  // Answers WM_NCPAINT: the bar (the window rectangle inside the dialog frame, one caption
  // high, small with ocSmallCaption, or a row less) filled with the wallpaper tiled (with
  // ocPaintCaptionWallpaper, when it has a picture) or else with Color, and Text 2 pixels from
  // the left, vertically centred, transparent, in TextColor and the system's caption font; the
  // system paints the rest of the frame, also on a whole-frame paint.
  void Paint(TMessage& Message, const AnsiString& Text, TCoolOptions Options) const;
  // WM_NCHITTEST after the default answer: the bar does not drag with ocNoDragUsingCaption.
  static void HitTest(TMessage& Message, TCoolOptions Options);
  // SWP_FRAMECHANGED for the control's window, when it has one.
  void FrameChanged() const;

private:
  void Changed(TObject*) { FrameChanged(); }

  TWinControl* FControl;
  mutable TCoolWallpaper FWallpaper;
  TColor FColor, FTextColor;
  const TColor FDefaultColor, FDefaultTextColor;
  const bool FOneShort;
};

#include "coolctrls/CoolCheckRadioBox.h"
#include "coolctrls/CoolLabel.h"
#include "coolctrls/CoolGroupBox.h"
#include "coolctrls/CoolCheckRadioGroup.h"
#include "coolctrls/CoolFormHook.h"
#include "coolctrls/CoolListBox.h"
#include "coolctrls/CoolComboBox.h"
#include "coolctrls/CoolEdit.h"
#include "coolctrls/CoolMemo.h"
#include "coolctrls/CoolStringGrid.h"
#include "coolctrls/CoolBtn.h"
#include "coolctrls/CoolPopupButton.h"
#include "coolctrls/CoolPopupBox.h"
#include "coolctrls/CoolScrollingText.h"
#include "coolctrls/CoolBevel.h"
#include "coolctrls/CoolPanel.h"
#include "coolctrls/CoolSpeedButton.h"
#include "coolctrls/CoolTrackBar.h"
#include "coolctrls/CoolThumbTab.h"
