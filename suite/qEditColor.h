// Unit qEdit, the colour pickers: an owner-drawn drop-down list and list box offering a table of
// 164 named colours by sections, plus colours the owner supplies through an event. Each item
// shows a swatch, the colour's name, or both; the colour is the item's data.
#pragma once
#include "suite/qEditLists.h"

// What the items show (qcmColors, qcmNames) and which sections they list (the rest).
enum TqcColorM {
  qcmColors, qcmNames, qcmStdColors, qcmExtraColors, qcmPellhamColor, qcmSysColors, qcmOtherColors
};
extern const TEnumType TqcColorMType;
using TcqColorMode = unsigned char;  // bit n = TqcColorM n
constexpr TcqColorMode ColorMode(TqcColorM M) { return TcqColorMode(1u << M); }
constexpr TcqColorMode DefaultColorMode = ColorMode(qcmColors) | ColorMode(qcmNames) | ColorMode(qcmStdColors) |
                                          ColorMode(qcmExtraColors) | ColorMode(qcmSysColors);

// The colour table: 16 standard colours, 122 named ones in alphabetical order, one of the suite's
// own, the 25 system colours. Callers select by these names, spelt as they stand.
constexpr int qcColorCount = 164;
extern const char* const qcColorNames[qcColorCount];
extern const TColor qcColors[qcColorCount];

// Asked for user colour UserColNum = 0, 1, ... (ColName "-User-", ColColor 0, AddThisCol true on
// entry) until it clears AddThisCol.
using TqcOtherColors = TClosure<TObject* /*Sender*/, int /*UserColNum*/, AnsiString& /*ColName*/,
                                TColor& /*ColColor*/, bool& /*AddThisCol*/>;

// What the colour combo box and the colour list box share, over TqcCustomComboBox or
// TqcCustomListBox (TBase).
template <class TBase> class TqcColorItems : public TBase {
public:
  explicit TqcColorItems(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  // The selected item's name; empty without a selection.
  AnsiString ColorName() const;
  // Selects the first item of that name (any case); an unlisted name selects by colour 0.
  void SetColorName(const AnsiString& Value);
  // The selected colour; 0 without a selection.
  TColor ColorValue() const { return FColorValue; }
  // Selects the first item of that colour and fires OnChange; none listed: no selection, 0.
  void SetColorValue(TColor Value);
  TcqColorMode ColorOptions() const { return FColorOptions; }
  void SetColorOptions(TcqColorMode Value);
  // The colour of item Index.
  TColor ItemColor(int Index) const;
  // The table's sections and the user colours as ColorOptions asks; without a section the
  // standard colours, without swatches and names the swatches.
  void BuildColorList();
  // Recreates the window (with the list built again) when it exists.
  void ResetColor();

  TNotifyEvent OnChange;
  TqcOtherColors OnUserColor;

  // At most this many user colours are asked for.
  static constexpr int MaxUserColors = 1024;

protected:
  void CreateWnd() override;
  void Click() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  // The font's tmHeight + 3, at least 9.
  int ColorItemHeight();

private:
  // Selects the first item of colour C, or none; the stored value becomes C or 0.
  bool SelectColor(TColor C);
  void DoChange() { if (OnChange) OnChange(this); }

  TColor FColorValue = 0;
  TcqColorMode FColorOptions = DefaultColorMode;
};

// A drop-down list of colours (owner-drawn, its style forced whenever its window is made).
class TqcColorComboBox : public TqcColorItems<TqcCustomComboBox> {
  ORV_CLASS(TqcColorComboBox, TqcColorItems<TqcCustomComboBox>)
public:
  explicit TqcColorComboBox(TComponent* AOwner) : TqcColorItems(AOwner) {}
protected:
  // OnChange comes from Click alone.
  void Change() override {}
};

// A list box of colours.
class TqcColorListBox : public TqcColorItems<TqcCustomListBox> {
  ORV_CLASS(TqcColorListBox, TqcColorItems<TqcCustomListBox>)
public:
  explicit TqcColorListBox(TComponent* AOwner) : TqcColorItems(AOwner) {}
};
