#include "suite/qEditColor.h"
#include "vcl/Menus.h"

#include <cstdint>
#include <type_traits>

constexpr TEnumType TqcColorMType{"TqcColorM",
                                  {"qcmColors", "qcmNames", "qcmStdColors", "qcmExtraColors", "qcmPellhamColor",
                                   "qcmSysColors", "qcmOtherColors"}};

const char* const qcColorNames[qcColorCount] = {
    // standard
    "Black", "Maroon", "Green", "Olive", "Navy", "Purple", "Teal", "Gray", "Silver", "Red", "Lime", "Yellow",
    "Blue", "Fuchsia", "Aqua", "White",
    // named, alphabetical
    "Aliceblue", "Anitquewhite", "Aquamarine", "Azure", "Beige", "Bisque", "Blancedalmomd", "Blueviolet",
    "Brown", "Burlywood", "Cadetblue", "Chartreuse", "Chocolate", "Coral", "Cornflowerblue", "Cornsilk",
    "Crimson", "Darkblue", "Darkcyan", "Darkgoldenrod", "Darkgray", "Darkgreen", "Darkkhaki", "Darkmagenta",
    "Darkolivegreen", "Darkorange", "Darkorchid", "Darkred", "Darksalmon", "Darkseagreen", "Darkslateblue",
    "Darkslategray", "Darkturquoise", "Darkviolet", "Deeppink", "Deepskyblue", "Dimgray", "Dodgerblue",
    "Firebrick", "Floralwhite", "Forestgreen", "Gainsboro", "Ghostwhite", "Gold", "Goldenrod", "Greenyellow",
    "Honeydew", "Hotpink", "Indianred", "Indigo", "Ivory", "Khaki", "Lavender", "Lavenderblush", "Lawngreen",
    "Lemonciffon", "Lightblue", "Lightcoral", "Lightcyan", "Lightgoldenrodyellow", "Lightgreen", "Lightgray",
    "Lightpink", "Lightsalmon", "Lightseagreen", "Lightskyblue", "Lightslategray", "Lightsteelblue",
    "Lightyellow", "Limegreen", "Linen", "Mediumaquamarine", "Mediumblue", "Mediumorchid", "Mediumpurple",
    "Mediumseagreen", "Mediumslateblue", "Mediumspringgreen", "Mediumturquoise", "Mediumvioletred",
    "Midnightblue", "Mintcream", "Mistyrose", "Moccasin", "Navajowhite", "Oldlace", "Olivedrab", "Orange",
    "Orangered", "Orchid", "Palegoldenrod", "Palegreen", "Paleturquoise", "Palevioletred", "Papayawhip",
    "Peachpuff", "Peru", "Pink", "Plum", "Powderblue", "Rosybrown", "Royalblue", "Saddlebrown", "Salmon",
    "Sandybrown", "Seagreen", "Seashell", "Sienna", "Skyblue", "Slateblue", "Slategray", "Snow",
    "Springgreen", "Steelblue", "Tan", "Thistle", "Tomato", "Turquoise", "Violet", "Wheat", "Whitesmoke",
    "Yellowgreen",
    // the suite's own
    "PellhamSoft",
    // system
    "clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu", "clWindow",
    "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText", "clActiveBorder", "clInactiveBorder",
    "clAppWorkSpace", "clHighlight", "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
    "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText", "clInfoBk",
};

const TColor qcColors[qcColorCount] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080, 0xC0C0C0, 0x0000FF,
    0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    0xFFF8F0, 0xD7EBFA, 0xD4FF7F, 0xFFFFF0, 0xDCF5F5, 0xC4E4FF, 0xCDEBFF, 0xE22B8A, 0x2A2AA5, 0x87B8DE,
    0xA09E5F, 0x00FF7F, 0x1E69D2, 0x507FFF, 0xED9564, 0xDCF8FF, 0x3C14DC, 0x8B0000, 0x8B8B00, 0x0B86B8,
    0xA9A9A9, 0x006400, 0x6BB7BD, 0x8B008B, 0x2F6B55, 0x008CFF, 0xCC3299, 0x00008B, 0x7A96E9, 0x8FBC8F,
    0x8B3D48, 0x4F4F2F, 0xD1CE00, 0xD30094, 0x9314FF, 0xFFBF00, 0x696969, 0xFF901E, 0x2222B2, 0xF0FAFF,
    0x228B22, 0xDCDCDC, 0xFFF8F8, 0x00D7FF, 0x20A5DA, 0x2FFFAD, 0xF0FFF0, 0xB469FF, 0x5C5CCD, 0x82004B,
    0xF0FFFF, 0x8CE6F0, 0xFAE6E6, 0xF5F0FF, 0x00FC7C, 0xCDFAFF, 0xE6D8AD, 0x8080F0, 0xFFFFE0, 0xD2FAFA,
    0x90EE90, 0xD3D3D3, 0xC1B6FF, 0x7AA0FF, 0xAAB220, 0xFACE87, 0x998877, 0xDEC4B0, 0xE0FFFF, 0x32CD32,
    0xE6F0FA, 0xAACD66, 0xCD0000, 0xD355BA, 0xDB7093, 0x71B33C, 0xEE687B, 0x9AFA00, 0xCCD148, 0x8515C7,
    0x701919, 0xFAFFF5, 0xE1E4FF, 0xB5E4FF, 0xADDEFF, 0xE6F5FD, 0x238E6B, 0x00A5FF, 0x0045FF, 0xD670DA,
    0xAAE8EE, 0x98FB98, 0xEEEEAF, 0x9370DB, 0xD5EFFF, 0xB9DAFF, 0x3F85CD, 0xCBC0FF, 0xDDA0DD, 0xE6E0B0,
    0x8F8FBC, 0xE16941, 0x13458B, 0x7280FA, 0x60A4F4, 0x578B2E, 0xEEF5FF, 0x2D52A0, 0xEBCE87, 0xCD5A6A,
    0x908070, 0xFAFAFF, 0x7FFF00, 0xB48246, 0x8CB4D2, 0xD8BFD8, 0x4763FF, 0xD0E040, 0xEE82EE, 0xB3DEF5,
    0xF5F5F5, 0x32CD9A,
    0xFF99FF,
    clScrollBar, clBackground, clActiveCaption, clInactiveCaption, clMenu, clWindow, clWindowFrame,
    clMenuText, clWindowText, clCaptionText, clActiveBorder, clInactiveBorder, clAppWorkSpace, clHighlight,
    clHighlightText, clBtnFace, clBtnShadow, clGrayText, clBtnText, clInactiveCaptionText, clBtnHighlight,
    cl3DDkShadow, cl3DLight, clInfoText, clInfoBk,
};

namespace {

// The table's sections: first entry, entry count, option.
struct TColorSection {
  int First, Count;
  TqcColorM Option;
};
constexpr TColorSection ColorSections[] = {
    {0, 16, qcmStdColors}, {16, 122, qcmExtraColors}, {138, 1, qcmPellhamColor}, {139, 25, qcmSysColors}};
constexpr TcqColorMode SectionOptions = ColorMode(qcmStdColors) | ColorMode(qcmExtraColors) |
                                        ColorMode(qcmPellhamColor) | ColorMode(qcmSysColors) |
                                        ColorMode(qcmOtherColors);
constexpr TcqColorMode ShowOptions = ColorMode(qcmColors) | ColorMode(qcmNames);

// A colour in an item's data slot: its 32 bits, whatever the slot's width, so system colours
// ($800000nn) read back unchanged on 64-bit Windows.
TObject* ColorData(TColor C) { return reinterpret_cast<TObject*>(uintptr_t(uint32_t(C))); }
TColor DataColor(TObject* D) { return TColor(uint32_t(reinterpret_cast<uintptr_t>(D))); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TqcColorItems

template <class TBase> TqcColorItems<TBase>::TqcColorItems(TComponent* AOwner) : TBase(AOwner) {
  if constexpr (std::is_base_of_v<TCustomComboBox, TBase>) this->SetStyle(csOwnerDrawFixed);
  else this->SetStyle(lbOwnerDrawFixed);
  this->SetItemHeight(ColorItemHeight());
  // The items exist from the start, so a colour chosen before the window is kept.
  BuildColorList();
}

template <class TBase> void TqcColorItems<TBase>::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_FONTCHANGED) {
    TBase::Dispatch(Message);
    this->SetItemHeight(ColorItemHeight());
    this->RecreateWnd();
    return;
  }
  TBase::Dispatch(Message);
}

template <class TBase> int TqcColorItems<TBase>::ColorItemHeight() {
  return std::max(FontTextHeight(this->Font()) + 3, 9);
}

template <class TBase> void TqcColorItems<TBase>::CreateWnd() {
  if constexpr (std::is_base_of_v<TCustomComboBox, TBase>) {
    if (this->Style() != csOwnerDrawFixed) this->SetStyle(csOwnerDrawFixed);
    this->SetItemHeight(ColorItemHeight());
  }
  TBase::CreateWnd();
  BuildColorList();
  SelectColor(FColorValue);
}

template <class TBase> void TqcColorItems<TBase>::Loaded() {
  TBase::Loaded();
  BuildColorList();
  SelectColor(FColorValue);
}

template <class TBase> void TqcColorItems<TBase>::BuildColorList() {
  TStrings* Items = this->Items();
  struct TUpdate {
    TStrings* S;
    ~TUpdate() { S->EndUpdate(); }
  } Update{Items};
  Items->BeginUpdate();
  Items->Clear();
  if (!(FColorOptions & SectionOptions)) FColorOptions |= ColorMode(qcmStdColors);
  if (!(FColorOptions & ShowOptions)) FColorOptions |= ColorMode(qcmColors);
  for (const TColorSection& S : ColorSections)
    if (FColorOptions & ColorMode(S.Option))
      for (int I = S.First; I < S.First + S.Count; ++I) Items->AddObject(qcColorNames[I], ColorData(qcColors[I]));
  if (!(FColorOptions & ColorMode(qcmOtherColors)) || !OnUserColor) return;
  // A handler that never refuses stops at the cap.
  for (int N = 0; N < MaxUserColors; ++N) {
    AnsiString Name = "-User-";
    TColor Color = 0;
    bool Add = true;
    OnUserColor(this, N, Name, Color, Add);
    if (!Add) break;
    Items->AddObject(Name, ColorData(Color));
  }
}

template <class TBase> TColor TqcColorItems<TBase>::ItemColor(int Index) const {
  return DataColor(this->Items()->Objects(Index));
}

template <class TBase> bool TqcColorItems<TBase>::SelectColor(TColor C) {
  TStrings* Items = this->Items();
  for (int I = 0, N = Items->Count(); I < N; ++I)
    if (ItemColor(I) == C) {
      this->SetItemIndex(I);
      FColorValue = C;
      return true;
    }
  this->SetItemIndex(-1);
  FColorValue = 0;
  return false;
}

template <class TBase> void TqcColorItems<TBase>::SetColorValue(TColor Value) {
  if (this->HasState(csLoading)) {
    FColorValue = Value;
    return;
  }
  if (SelectColor(Value)) DoChange();
}

template <class TBase> AnsiString TqcColorItems<TBase>::ColorName() const {
  const int I = this->ItemIndex();
  return I >= 0 && I < this->Items()->Count() ? this->Items()->Get(I) : AnsiString();
}

template <class TBase> void TqcColorItems<TBase>::SetColorName(const AnsiString& Value) {
  TStrings* Items = this->Items();
  if (Items->Count() == 0) {
    this->SetItemIndex(-1);
    if constexpr (std::is_base_of_v<TCustomComboBox, TBase>) this->SetText(AnsiString());
    return;
  }
  const int I = Items->IndexOf(Value);
  this->SetItemIndex(I);
  if (I < 0) {
    SetColorValue(0);
    return;
  }
  FColorValue = ItemColor(I);
  DoChange();
}

template <class TBase> void TqcColorItems<TBase>::SetColorOptions(TcqColorMode Value) {
  if (FColorOptions == Value) return;
  FColorOptions = Value;
  if (this->HasState(csLoading)) return;
  BuildColorList();
  SelectColor(FColorValue);
  this->Invalidate();
}

template <class TBase> void TqcColorItems<TBase>::ResetColor() {
  if (this->HandleAllocated()) this->RecreateWnd();
}

template <class TBase> void TqcColorItems<TBase>::Click() {
  const int I = this->ItemIndex();
  if (I >= 0 && I < this->Items()->Count() && ItemColor(I) != FColorValue) {
    FColorValue = ItemColor(I);
    DoChange();
  }
  TBase::Click();
}

template <class TBase>
void TqcColorItems<TBase>::DrawItem(int Index, const TRect& Rect, TOwnerDrawState) {
  TCanvas* C = this->Canvas();
  C->FillRect(Rect);
  if (Index < 0 || Index >= this->Items()->Count()) return;
  const TColor Item = ItemColor(Index);
  const int H = this->ItemHeight();
  const bool Swatch = FColorOptions & ColorMode(qcmColors), Name = FColorOptions & ColorMode(qcmNames);
  const TColor Back = C->Brush()->Color();
  if (Swatch) {
    TRect S(Rect.Left + 1, Rect.Top + 1, Name ? Rect.Left + 2 * H : Rect.Right - 2, Rect.Bottom - 1);
    C->Pen()->SetColor(C->Font()->Color());
    C->Rectangle(S);
    C->Brush()->SetColor(Item);
    C->FillRect(::Rect(S.Left + 1, S.Top + 1, S.Right - 1, S.Bottom - 1));
  }
  if (Name) {
    // Without swatches the name takes the item's own colour.
    if (!Swatch) C->Font()->SetColor(Item);
    C->Brush()->SetColor(Back);
    RECT T = AsRECT(Rect);
    T.left += Swatch ? 2 * H + 4 : 4;
    const AnsiString Text = this->Items()->Get(Index);
    DrawTextA(C->Handle(), Text.c_str(), Text.Length(), &T, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  }
}

template class TqcColorItems<TqcCustomComboBox>;
template class TqcColorItems<TqcCustomListBox>;

// ---------------------------------------------------------------------------------------------
// Published properties

namespace {
template <class C> struct TqcColorProps {
  static constexpr TPropInfo ColorName() {
    return PropStr<&C::ColorName, &C::SetColorName>("ColorName", &NeverStored);
  }
  static constexpr TPropInfo ColorValue() { return PropColor<&C::ColorValue, &C::SetColorValue>("ColorValue", 0); }
  static constexpr TPropInfo ColorOptions() {
    return PropSet<&C::ColorOptions, &C::SetColorOptions>("ColorOptions", TqcColorMType, DefaultColorMode);
  }
  static constexpr TPropInfo OnChange() { return PropEvent<&C::OnChange>("OnChange"); }
  static constexpr TPropInfo OnUserColor() { return PropEvent<&C::OnUserColor>("OnUserColor"); }
};
}  // namespace


static constinit const TPropInfo TqcColorComboBox_Props[] = {
    TqcFrameProps<TqcColorComboBox>::FrameWhere(),
    TqcButtonHostProps<TqcColorComboBox>::ButtonFrame(),
    TqcButtonHostProps<TqcColorComboBox>::ButtonFlat(),
    TqcButtonHostProps<TqcColorComboBox>::ButtonColor(),
    TqcButtonHostProps<TqcColorComboBox>::ButtonShadowColor(),
    TqcButtonHostProps<TqcColorComboBox>::ButtonHighLightColor(),
    TqcFrameProps<TqcColorComboBox>::OnMouseEnter(),
    TqcFrameProps<TqcColorComboBox>::OnMouseLeave(),
    TqcFrameProps<TqcColorComboBox>::FrameStyle(),
    TqcFrameProps<TqcColorComboBox>::FrameColor(),
    TqcFrameProps<TqcColorComboBox>::ShadowColor(),
    TqcFrameProps<TqcColorComboBox>::NonShadowColor(),
    TqcColorProps<TqcColorComboBox>::ColorOptions(),
    TqcColorProps<TqcColorComboBox>::ColorValue(),
    TqcColorProps<TqcColorComboBox>::ColorName(),
    TControlProps::Color(clWindow),
    TControlProps::DragMode(),
    TControlProps::DragCursor(),
    PropInt<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>("DropDownCount", 8),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(false),
    PropBool<&TqcColorComboBox::ParentCtl3D, &TqcColorComboBox::SetParentCtl3D>("ParentCtl3D", false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    TqcColorProps<TqcColorComboBox>::OnChange(),
    TqcColorProps<TqcColorComboBox>::OnUserColor(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    PropEvent<&TCustomComboBox::OnDropDown>("OnDropDown"),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqcColorComboBox, TqcCustomComboBox, TqcColorComboBox_Props)

static constinit const TPropInfo TqcColorListBox_Props[] = {
    TqcFrameProps<TqcColorListBox>::FrameWhere(),
    TqcFrameProps<TqcColorListBox>::OnMouseEnter(),
    TqcFrameProps<TqcColorListBox>::OnMouseLeave(),
    TqcFrameProps<TqcColorListBox>::FrameStyle(),
    TqcFrameProps<TqcColorListBox>::FrameColor(),
    TqcFrameProps<TqcColorListBox>::ShadowColor(),
    TqcFrameProps<TqcColorListBox>::NonShadowColor(),
    TqcColorProps<TqcColorListBox>::ColorOptions(),
    TqcColorProps<TqcColorListBox>::ColorValue(),
    TqcColorProps<TqcColorListBox>::ColorName(),
    TControlProps::Align(),
    TControlProps::Color(clWindow),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(false),
    PropBool<&TqcColorListBox::ParentCtl3D, &TqcColorListBox::SetParentCtl3D>("ParentCtl3D", false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    TqcColorProps<TqcColorListBox>::OnChange(),
    TqcColorProps<TqcColorListBox>::OnUserColor(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqcColorListBox, TqcCustomListBox, TqcColorListBox_Props)

namespace {
struct TqEditColorRegistration {
  TqEditColorRegistration() { RegisterClasses({TqcColorComboBox::StaticClass(), TqcColorListBox::StaticClass()}); }
} QEditColorRegistration;
}  // namespace
