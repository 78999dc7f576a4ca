// Unit qEdit, the font pickers: an owner-drawn drop-down list and list box of the font faces the
// screen and/or the printer offer, filtered by font-type options and sorted, each item with a
// glyph telling a TrueType, device or raster font; and those three glyphs.
#pragma once
#include "suite/qEditLists.h"

// Font-type filters: a face is listed when every option set accepts it.
enum TqcFontType {
  qcftWindowsOnly, qcftSymbolOnly, qcftDecorativeOnly, qcftModernOnly, qcftRomanOnly, qcftScriptOnly,
  qcftSwissOnly, qcftTrueTypeOnly, qcftFixedOnly, qcftOEMOnly, qcftNoOEM, qcftScaleableOnly
};
extern const TEnumType TqcFontTypeType;
using TqcFontTypes = unsigned short;  // bit n = TqcFontType n
constexpr TqcFontTypes FontType(TqcFontType T) { return TqcFontTypes(1u << T); }

// Where the faces come from.
enum TqcFontDev { qcfdScreen, qcfdPrinter };
extern const TEnumType TqcFontDevType;
using TqcFontDevice = unsigned char;  // bit n = TqcFontDev n
constexpr TqcFontDevice FontDev(TqcFontDev D) { return TqcFontDevice(1u << D); }

// The 12 x 12 glyphs of TrueType, device and raster faces, made at start-up and freed at exit.
// Their transparent colour is their bottom-left pixel: green, green and white.
extern TBitmap* qcTrueTypeGlyph;
extern TBitmap* qcDeviceGlyph;
extern TBitmap* qcRasterGlyph;

// Whether a font the system enumerates (its LOGFONT and its font type bits) passes the filters.
bool FontPassesFilter(TqcFontTypes Options, const LOGFONTA& Font, DWORD Type);

// What the font combo box and the font list box share, over TqcCustomComboBox or
// TqcCustomListBox (TBase). Each item's data is the font type bits its enumeration reported
// (RASTER_FONTTYPE, DEVICE_FONTTYPE, TRUETYPE_FONTTYPE).
template <class TBase> class TqcFontItems : public TBase {
public:
  explicit TqcFontItems(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TqcFontDevice Device() const { return FDevice; }
  // An empty set becomes [qcfdScreen].
  void SetDevice(TqcFontDevice Value);
  TqcFontTypes FontOptions() const { return FFontOptions; }
  void SetFontOptions(TqcFontTypes Value);
  // The chosen face (the selected item); empty without one.
  TFontName FontName() const;
  // Selects the first face of that name (any case), or none; then DoChange.
  void SetFontName(const TFontName& Value);
  // The font type bits of item Index.
  DWORD ItemFontType(int Index) const;
  // Clears the items and enumerates the devices again (only while the window exists). An error
  // of the printer (none installed, a broken driver) leaves its faces out.
  void BuildFontList();
  // Builds the list again keeping the chosen face when it is still listed. The combo box then
  // fires OnChange when the face is gone; the list box never does.
  void ReDoThis();

  TNotifyEvent OnChange;

protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void Click() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  // OnChange, except while the list is being built again.
  virtual void DoChange();
  // The font's tmHeight + 3, at least 9 and the glyph's height.
  int FontItemHeight();
  // Selects Name's item without DoChange; the face name chosen while there is no window.
  void SelectFace(const TFontName& Name);

private:
  // EnumFontsA's callback: adds each face not listed yet that passes the filters.
  static int CALLBACK EnumFace(const LOGFONTA* Font, const TEXTMETRICA* Metrics, DWORD FontType, LPARAM Data);
  void Enumerate(HDC DC);

  TqcFontDevice FDevice = FontDev(qcfdScreen);
  TqcFontTypes FFontOptions = 0;
  bool FRebuilding = false;
  // The chosen face while there is no window.
  TFontName FPendingName;
};

// A drop-down list of faces.
class TqcFontComboBox : public TqcFontItems<TqcCustomComboBox> {
  ORV_CLASS(TqcFontComboBox, TqcFontItems<TqcCustomComboBox>)
public:
  explicit TqcFontComboBox(TComponent* AOwner) : TqcFontItems(AOwner) {}
protected:
  // OnChange comes from Click alone.
  void Change() override {}
};

// A list box of faces.
class TqcFontListBox : public TqcFontItems<TqcCustomListBox> {
  ORV_CLASS(TqcFontListBox, TqcFontItems<TqcCustomListBox>)
public:
  explicit TqcFontListBox(TComponent* AOwner) : TqcFontItems(AOwner) {}
};
