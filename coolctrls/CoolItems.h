// The item part the cool list box and the cool combo box share (part of unit CoolCtrls; include
// "coolctrls/CoolCtrls.h"): what the control fills itself with, the check states kept in
// per-item wrappers, the colour and font values, the width of items and the drawing of one item.
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "vcl/ImgList.h"

#include <deque>
#include <memory>
#include <unordered_set>

// What the control lists and which image stands before each item.
enum TCoolControlStyle {
  ctCoolControl, ctColorControl, ctFontControl, ctPrinterControl, ctCheckControl, ctFolderControl,
};
extern const TEnumType TCoolControlStyleType;

// Entries the folder style lists (the bits of the file attributes, ftNormal all of them).
enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = unsigned;  // bit n = TFileAttr n
constexpr TFileType FileAttr(TFileAttr A) { return 1u << A; }
extern const TEnumType TFileAttrType;

// Whether a path has ".." as one of its components ("a..b" is a name, not a step up).
bool HasParentStep(const AnsiString& Path);
// Folder names as the folder style keeps them: ending in "\", a "..\" step resolved.
AnsiString NormalizeFolderName(const AnsiString& Value);

// The shared part over TCustomListBox or TCustomComboBox (TBase). The control in check mode
// (style ctCheckControl or ExtendedCheck) keeps each item's state in a TCheckWrapper that sits in
// the item's data slot; the item's own data then lives in the wrapper, so item data reads and
// writes the same whether or not an item has one.
template <class TBase>
class TCoolItemControl : public TBase {
public:
  TCoolItemControl(TComponent* AOwner, TCoolOptions DefaultOptions);
  ~TCoolItemControl() override;
  void BeforeDestruction() override;
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TCoolControlStyle ExtendedStyle() const { return FExtendedStyle; }
  void SetExtendedStyle(TCoolControlStyle Value);
  // Always false while the style is ctCheckControl.
  bool ExtendedCheck() const { return FExtendedCheck; }
  void SetExtendedCheck(bool Value);
  bool FlatCheckBox() const { return FFlatCheckBox; }
  void SetFlatCheckBox(bool Value);
  // The colour style offers the 16 basic colours only (else every colour the library names).
  bool LightColorControl() const { return FLightColorControl; }
  void SetLightColorControl(bool Value);
  // The font style lists TrueType fonts only.
  bool TrueType() const { return FTrueType; }
  void SetTrueType(bool Value);
  // The font style writes each item in its own font.
  bool FontAutoUpdate() const { return FFontAutoUpdate; }
  void SetFontAutoUpdate(bool Value);
  const AnsiString& FolderName() const { return FFolderName; }
  void SetFolderName(const AnsiString& Value);
  const AnsiString& FileMask() const { return FFileMask; }
  void SetFileMask(const AnsiString& Value);
  TFileType FileType() const { return FFileType; }
  void SetFileType(TFileType Value);
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value);
  // At most 2.
  TNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TColor SelColor() const { return FSelColor; }
  void SetSelColor(TColor Value);
  TFont* SelFont() const { return FSelFont; }
  void SetSelFont(TFont* Value);
  // ocPaintWallpaper and ocPaintTransparently exclude each other: the one switched on wins.
  TCoolOptions Options() const { return FOptions; }
  void SetOptions(TCoolOptions Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  TBitmap* SelWallpaper() const { return FSelWallpaper.Wallpaper(); }
  void SetSelWallpaper(TBitmap* Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  int idSelWallpaper() const { return FSelWallpaper.idWallpaper(); }
  void SetIdSelWallpaper(int Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  TBevelStyleEx BevelStyle() const { return FBevelStyle; }
  void SetBevelStyle(TBevelStyleEx Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  uint8_t ShadowSize() const { return FShadowSize; }
  void SetShadowSize(uint8_t Value);
  TShadowPosition ShadowPos() const { return FShadowPos; }
  void SetShadowPos(TShadowPosition Value);
  bool SimpleView() const { return FSimpleView; }
  void SetSimpleView(bool Value);
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);
  TPen* BorderPen() const { return FBorderPen; }
  void SetBorderPen(TPen* Value) { FBorderPen->Assign(Value); }
  TEdgeBorders EdgeBorders() const { return FEdgeBorders; }
  void SetEdgeBorders(TEdgeBorders Value);

  // The colour of the selected colour item; -1 after a search that found none, or for an item
  // that names no colour. Setting it selects the item naming the colour (colour style only).
  TColor ColorValue() const { return FColorValue; }
  void SetColorValue(TColor Value);
  // The font named by the selected font item; setting it selects the item of its name.
  TFont* FontValue();
  void SetFontValue(TFont* Value);
  // Item states; writes make the item's wrapper (also outside check mode). Exception "Unable to
  // obtain data" for an index outside the items.
  bool Checked(int Index);
  void SetChecked(int Index, bool Value);
  TCheckBoxState State(int Index);
  void SetState(int Index, TCheckBoxState Value);
  bool Locked(int Index);
  void SetLocked(int Index, bool Value);
  bool CheckMode() const { return FExtendedStyle == ctCheckControl || FExtendedCheck; }
  int WrapperCount() const { return FWrappers->Count(); }

  // The wider of the text in SelFont and in Font, plus the width of Glyph.
  int RealWidth(const AnsiString& S);
  // RealWidth of the item with the most characters (the first on a tie); 0 without items.
  int MaxWidth();

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  intptr_t GetItemData(int Index) override;
  void SetItemData(int Index, intptr_t AData) override;
  void ResetContent() override;
  void DeleteString(int Index) override;

  // What the list box and the combo box do each in their own way.
  virtual void DrawItemFrame() = 0;
  virtual bool IsSelectedState(TOwnerDrawState State) const = 0;
  // The rectangle item wallpapers are laid out over.
  virtual TRect WallpaperArea(bool Selected) = 0;
  virtual void AdjustItemRect(TRect& R) {}
  virtual void OptionsChanged() = 0;
  // After the font dialog set FontValue.
  virtual void FontChosen() = 0;
  // After an item's check state changed.
  virtual void CheckChanged(int Index) {}
  // A key went down, after the framework's handling and before the dialogs of Ctrl+Enter.
  virtual void CheckKeyDown(unsigned short Key) {}
  // Items wider than this set the horizontal extent.
  virtual int ExtentLimit() = 0;
  bool Loading() const { return this->HasState(csLoading); }
  // ocPaintWallpaper with a wallpaper that has a picture.
  bool WallpaperMode() const { return (FOptions & CoolOption(ocPaintWallpaper)) && FWallpaper.Source(); }
  bool SeeThrough() const { return FOptions & CoolOption(ocPaintTransparently); }
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode = cmSrcCopy) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }

  // The item's wrapper, or nullptr; Exception "Unable to obtain data" for a bad index.
  TCheckWrapper* ExtractWrapper(int Index);
  // A new wrapper in the item's slot, holding the slot's data.
  TCheckWrapper* CreateWrapper(int Index);
  TCheckWrapper* GetWrapper(int Index);
  bool HaveWrapper(int Index) { return ExtractWrapper(Index) != nullptr; }

  void FillColors();
  void FillFonts();
  void FillPrinters();
  // Folders, then files, each sorted; the application's messages are handled between additions.
  void FillFolder();
  // The style's fill, when it is one that fills itself.
  void Refill();

private:
  bool IsOwnWrapper(intptr_t Data) const;
  void FreeWrapper(TCheckWrapper* W);
  void FreeAllWrappers();
  void UpdateExtent(unsigned Msg, intptr_t LParam);
  void ShowColorDialog();
  void ShowFontDialog();
  void PaintItemBackground(TCanvas* C, const TRect& Rect, bool Selected);
  void LoadItemImage(TGlyph* G, int Index, const AnsiString& Text, TCanvas* C);
  void Changed();
  void WallpaperChanged(TObject*);
  void Redraw(TObject*);
  void SelFontChanged(TObject*);
  void FontValueChanged(TObject*) {}
  void CMMouse(TMessage& Message);
  void WMFocus(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);

  // Lets a fill that handles messages see whether the control still exists and still wants it.
  struct TFillToken {
    bool Alive = true;
    unsigned Generation = 0;
  };
  std::shared_ptr<TFillToken> FFillToken = std::make_shared<TFillToken>();
  // A running folder fill adds nothing more.
  void StopFill() { ++FFillToken->Generation; }

  TGlyph* FGlyph;
  TChangeLink* FImageChangeLink;
  TFont* FSelFont;
  TPen* FBorderPen;
  TCollection* FWrappers;
  std::unordered_set<const TCheckWrapper*> FWrapperSet;
  TFont* FFontValue;
  mutable TCoolWallpaper FWallpaper;
  mutable TCoolWallpaper FSelWallpaper;
  std::deque<TCheckBoxState> FSavedStates;
  TCustomImageList* FImages = nullptr;
  TCCAboutBox* FAbout = nullptr;
  AnsiString FFolderName;
  AnsiString FFileMask = "*.*";
  TFileType FFileType = FileAttr(ftDirectory) | FileAttr(ftArchive);
  TCoolControlStyle FExtendedStyle = ctCoolControl;
  TCoolOptions FOptions;
  TColor FSelColor = clHighlight;
  TColor FColorValue = 0;
  TColor FShadowColor = clBtnHighlight;
  TEdgeBorders FEdgeBorders = 0;
  int FMaxItemWidth = 0;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvNone;
  TBevelStyleEx FBevelStyle = bsBevelBoth;
  TShadowPosition FShadowPos = spLeftTop;
  uint8_t FShadowSize = 1;
  uint8_t FTransparencyLevel = 0;
  bool FExtendedCheck = false;
  bool FFlatCheckBox = false;
  bool FLightColorControl = true;
  bool FTrueType = false;
  bool FFontAutoUpdate = false;
  bool FSimpleView = false;
};

// The published properties the two classes share, for their tables (T: the class).
#define ORV_COOL_ITEM_PROPS(T)                                                                             \
  PropObject<&T::About, &T::SetAbout>("About"),                                                            \
      PropEnum<&T::BevelInner, &T::SetBevelInner>("BevelInner", TBevelCutType, bvNone),                    \
      PropEnum<&T::BevelOuter, &T::SetBevelOuter>("BevelOuter", TBevelCutType, bvNone),                    \
      PropEnum<&T::BevelStyle, &T::SetBevelStyle>("BevelStyle", TBevelStyleExType, bsBevelBoth),           \
      PropObject<&T::BorderPen, &T::SetBorderPen>("BorderPen"),                                            \
      PropRef<&T::CoolImages, &T::SetCoolImages>("CoolImages"),                                            \
      PropSet<&T::EdgeBorders, &T::SetEdgeBorders>("EdgeBorders", TEdgeBorderType, 0),                     \
      PropBool<&T::ExtendedCheck, &T::SetExtendedCheck>("ExtendedCheck", false),                           \
      PropEnum<&T::ExtendedStyle, &T::SetExtendedStyle>("ExtendedStyle", TCoolControlStyleType,            \
                                                        ctCoolControl),                                    \
      PropStr<&T::FileMask, &T::SetFileMask>("FileMask", AlwaysStored),                                    \
      PropSet<&T::FileType, &T::SetFileType>("FileType", TFileAttrType,                                    \
                                             FileAttr(ftDirectory) | FileAttr(ftArchive)),                 \
      PropBool<&T::FlatCheckBox, &T::SetFlatCheckBox>("FlatCheckBox", false),                              \
      PropStr<&T::FolderName, &T::SetFolderName>("FolderName"),                                            \
      PropBool<&T::FontAutoUpdate, &T::SetFontAutoUpdate>("FontAutoUpdate", false),                        \
      PropObject<&T::Glyph, &T::SetGlyph>("Glyph"),                                                        \
      PropInt<&T::idSelWallpaper, &T::SetIdSelWallpaper>("idSelWallpaper", -1),                            \
      PropInt<&T::idWallpaper, &T::SetIdWallpaper>("idWallpaper", -1),                                     \
      PropRef<&T::Images, &T::SetImages>("Images"),                                                        \
      PropBool<&T::LightColorControl, &T::SetLightColorControl>("LightColorControl", true),                \
      PropInt<&T::NumGlyphs, &T::SetNumGlyphs>("NumGlyphs", 1),                                            \
      PropColor<&T::SelColor, &T::SetSelColor>("SelColor", clHighlight),                                   \
      PropObject<&T::SelFont, &T::SetSelFont>("SelFont"),                                                  \
      PropObject<&T::SelWallpaper, &T::SetSelWallpaper>("SelWallpaper"),                                   \
      PropColor<&T::ShadowColor, &T::SetShadowColor>("ShadowColor", clBtnHighlight),                       \
      PropEnum<&T::ShadowPos, &T::SetShadowPos>("ShadowPos", TShadowPositionType, spLeftTop),              \
      PropInt<&T::ShadowSize, &T::SetShadowSize>("ShadowSize", 1),                                         \
      PropBool<&T::SimpleView, &T::SetSimpleView>("SimpleView", false),                                    \
      PropInt<&T::TransparencyLevel, &T::SetTransparencyLevel>("TransparencyLevel", 0),                    \
      PropBool<&T::TrueType, &T::SetTrueType>("TrueType", false),                                          \
      PropObject<&T::Wallpaper, &T::SetWallpaper>("Wallpaper"),                                            \
      PropEvent<&T::OnMouseEnter>("OnMouseEnter"), PropEvent<&T::OnMouseLeave>("OnMouseLeave")
