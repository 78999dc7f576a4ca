#include "suite/qEditFont.h"
#include "vcl/GdiGuards.h"
#include "vcl/Menus.h"
#include "vcl/Printers.h"

#include <cstdint>
#include <exception>
#include <type_traits>

constexpr TEnumType TqcFontTypeType{
    "TqcFontType",
    {"qcftWindowsOnly", "qcftSymbolOnly", "qcftDecorativeOnly", "qcftModernOnly", "qcftRomanOnly", "qcftScriptOnly",
     "qcftSwissOnly", "qcftTrueTypeOnly", "qcftFixedOnly", "qcftOEMOnly", "qcftNoOEM", "qcftScaleableOnly"}};
constexpr TEnumType TqcFontDevType{"TqcFontDev", {"qcfdScreen", "qcfdPrinter"}};

TBitmap* qcTrueTypeGlyph = nullptr;
TBitmap* qcDeviceGlyph = nullptr;
TBitmap* qcRasterGlyph = nullptr;

namespace {

// The glyphs, row by row: a character per pixel, a blank white.
struct TGlyphInk {
  char Key;
  TColor Color;
};
constexpr const char* TrueTypePicture[12] = {
    "111111119999", "119119119999", "199119919999", "199122222222", "999122922922", "999129922992",
    "999129922992", "999119922999", "911111122999", "999999922999", "999999922999", "999992222229"};
constexpr TGlyphInk TrueTypeInk[] = {{'1', clTeal}, {'2', clPurple}, {'9', clGreen}};
constexpr const char* DevicePicture[12] = {
    "992222222299", "9921    1299", "992 2222 299", "9921    1299", "992 2222 299", "9921    1299",
    "992 2222 299", "9921    1299", "922222222229", "233333333312", "211111114112", "922222222229"};
constexpr TGlyphInk DeviceInk[] = {{'1', clGray}, {'2', clBlack}, {'3', clSilver}, {'4', clRed}, {'9', clGreen}};
constexpr const char* RasterPicture[12] = {
    " 1 1 1 1 1 1", "            ", " 1 1 1 1 1 1", "            ", " 1 1 1 1 1 1", "            ",
    " 1 1 1 1 1 1", "            ", " 1 1 1 1 1 1", "            ", " 1 1 1 1 1 1", "            "};
constexpr TGlyphInk RasterInk[] = {{'1', clGray}};

template <size_t N> TBitmap* MakeGlyph(const char* const (&Picture)[12], const TGlyphInk (&Ink)[N]) {
  auto* B = new TBitmap;
  B->SetPixelFormat(pf24bit);
  B->SetSize(12, 12);
  TCanvas* C = B->Canvas();
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X) {
      TColor Color = clWhite;
      for (const TGlyphInk& I : Ink)
        if (Picture[Y][X] == I.Key) Color = I.Color;
      C->SetPixels(X, Y, Color);
    }
  return B;
}

struct TFontGlyphs {
  TFontGlyphs() {
    qcTrueTypeGlyph = MakeGlyph(TrueTypePicture, TrueTypeInk);
    qcDeviceGlyph = MakeGlyph(DevicePicture, DeviceInk);
    qcRasterGlyph = MakeGlyph(RasterPicture, RasterInk);
  }
  ~TFontGlyphs() {
    FreeAndNil(qcTrueTypeGlyph);
    FreeAndNil(qcDeviceGlyph);
    FreeAndNil(qcRasterGlyph);
  }
} FontGlyphs;

constexpr int FamilyOf(const LOGFONTA& F) { return F.lfPitchAndFamily & 0xF0; }

}  // namespace

bool FontPassesFilter(TqcFontTypes Options, const LOGFONTA& Font, DWORD Type) {
  auto Wants = [Options](TqcFontType T) { return (Options & FontType(T)) != 0; };
  struct TRule {
    TqcFontType Option;
    bool Pass;
  } const Rules[] = {
      {qcftSymbolOnly, Font.lfCharSet == SYMBOL_CHARSET},
      {qcftWindowsOnly, Font.lfCharSet == ANSI_CHARSET},
      {qcftTrueTypeOnly, (Type & TRUETYPE_FONTTYPE) != 0},
      {qcftFixedOnly, (Font.lfPitchAndFamily & FIXED_PITCH) != 0},
      {qcftDecorativeOnly, FamilyOf(Font) == FF_DECORATIVE},
      {qcftModernOnly, FamilyOf(Font) == FF_MODERN},
      {qcftRomanOnly, FamilyOf(Font) == FF_ROMAN},
      {qcftScriptOnly, FamilyOf(Font) == FF_SCRIPT},
      {qcftSwissOnly, FamilyOf(Font) == FF_SWISS},
      {qcftOEMOnly, Font.lfCharSet == OEM_CHARSET},
      {qcftNoOEM, Font.lfCharSet != OEM_CHARSET},
      {qcftScaleableOnly, (Type & RASTER_FONTTYPE) == 0},
  };
  for (const TRule& R : Rules)
    if (Wants(R.Option) && !R.Pass) return false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// TqcFontItems

namespace {
template <class TBase> constexpr bool IsCombo = std::is_base_of_v<TCustomComboBox, TBase>;
}

template <class TBase> TqcFontItems<TBase>::TqcFontItems(TComponent* AOwner) : TBase(AOwner) {
  if constexpr (IsCombo<TBase>) this->SetStyle(csOwnerDrawFixed);
  else this->SetStyle(lbOwnerDrawFixed);
  this->SetSorted(true);
  this->SetItemHeight(FontItemHeight());
}

template <class TBase> void TqcFontItems<TBase>::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_FONTCHANGE:
      TBase::Dispatch(Message);
      ReDoThis();
      break;
    case CM_FONTCHANGED:
      TBase::Dispatch(Message);
      this->SetItemHeight(FontItemHeight());
      this->RecreateWnd();
      break;
    default: TBase::Dispatch(Message);
  }
}

template <class TBase> int TqcFontItems<TBase>::FontItemHeight() {
  return std::max({FontTextHeight(this->Font()) + 3, 9, qcTrueTypeGlyph->Height()});
}

template <class TBase> void TqcFontItems<TBase>::CreateWnd() {
  if constexpr (IsCombo<TBase>) {
    if (this->Style() != csOwnerDrawFixed) this->SetStyle(csOwnerDrawFixed);
    this->SetItemHeight(FontItemHeight());
  }
  TBase::CreateWnd();
  FRebuilding = true;
  struct TDone {
    bool& F;
    ~TDone() { F = false; }
  } Done{FRebuilding};
  BuildFontList();
  SelectFace(FPendingName);
}

template <class TBase> void TqcFontItems<TBase>::DestroyWnd() {
  if (this->HandleAllocated()) FPendingName = FontName();
  TBase::DestroyWnd();
}

template <class TBase> TFontName TqcFontItems<TBase>::FontName() const {
  if (!this->HandleAllocated()) return FPendingName;
  const int I = this->ItemIndex();
  return I >= 0 && I < this->Items()->Count() ? this->Items()->Get(I) : TFontName();
}

template <class TBase> void TqcFontItems<TBase>::SelectFace(const TFontName& Name) {
  if (!this->HandleAllocated()) {
    FPendingName = Name;
    return;
  }
  this->SetItemIndex(this->Items()->IndexOf(Name));
}

template <class TBase> void TqcFontItems<TBase>::SetFontName(const TFontName& Value) {
  SelectFace(Value);
  if (!this->HasState(csLoading)) DoChange();
}

template <class TBase> void TqcFontItems<TBase>::DoChange() {
  if (!FRebuilding && OnChange) OnChange(this);
}

template <class TBase> void TqcFontItems<TBase>::ReDoThis() {
  const TFontName Kept = FontName();
  {
    FRebuilding = true;
    struct TDone {
      bool& F;
      ~TDone() { F = false; }
    } Done{FRebuilding};
    BuildFontList();
    SelectFace(Kept);
  }
  if constexpr (IsCombo<TBase>)
    if (lstrcmpiA(FontName().c_str(), Kept.c_str()) != 0) DoChange();
}

template <class TBase> void TqcFontItems<TBase>::SetDevice(TqcFontDevice Value) {
  if (!Value) Value = FontDev(qcfdScreen);
  if (FDevice == Value) return;
  FDevice = Value;
  if (this->HasState(csLoading)) return;
  ReDoThis();
}

template <class TBase> void TqcFontItems<TBase>::SetFontOptions(TqcFontTypes Value) {
  if (FFontOptions == Value) return;
  FFontOptions = Value;
  if (this->HasState(csLoading)) return;
  ReDoThis();
}

template <class TBase> DWORD TqcFontItems<TBase>::ItemFontType(int Index) const {
  return DWORD(reinterpret_cast<uintptr_t>(this->Items()->Objects(Index)));
}

namespace {
struct TEnumContext {
  void* Self;
  std::exception_ptr Error;
};
}  // namespace

template <class TBase>
int CALLBACK TqcFontItems<TBase>::EnumFace(const LOGFONTA* Font, const TEXTMETRICA*, DWORD FontType, LPARAM Data) {
  auto* Context = reinterpret_cast<TEnumContext*>(Data);
  auto* Self = static_cast<TqcFontItems*>(Context->Self);
  // Nothing may unwind through the system's enumeration: the error waits for its end.
  try {
    TStrings* Items = Self->Items();
    if (Items->IndexOf(Font->lfFaceName) < 0 && FontPassesFilter(Self->FFontOptions, *Font, FontType))
      Items->AddObject(Font->lfFaceName, reinterpret_cast<TObject*>(uintptr_t(FontType)));
    return 1;
  } catch (...) {
    Context->Error = std::current_exception();
    return 0;
  }
}

template <class TBase> void TqcFontItems<TBase>::Enumerate(HDC DC) {
  TEnumContext Context{this, nullptr};
  EnumFontsA(DC, nullptr, &EnumFace, reinterpret_cast<LPARAM>(&Context));
  if (Context.Error) std::rethrow_exception(Context.Error);
}

template <class TBase> void TqcFontItems<TBase>::BuildFontList() {
  if (!this->HandleAllocated()) return;
  TStrings* Items = this->Items();
  struct TUpdate {
    TStrings* S;
    ~TUpdate() { S->EndUpdate(); }
  } Update{Items};
  Items->BeginUpdate();
  Items->Clear();
  if (FDevice & FontDev(qcfdScreen)) {
    TWindowDC Screen;
    Enumerate(Screen);
  }
  if (FDevice & FontDev(qcfdPrinter)) {
    // No printer, or one that fails in any way, leaves the screen's faces.
    try {
      Enumerate(Printer()->Handle());
    } catch (...) {
    }
  }
}

template <class TBase> void TqcFontItems<TBase>::Click() {
  TBase::Click();
  DoChange();
}

template <class TBase> void TqcFontItems<TBase>::DrawItem(int Index, const TRect& Rect, TOwnerDrawState) {
  TCanvas* C = this->Canvas();
  C->FillRect(Rect);
  if (Index < 0 || Index >= this->Items()->Count()) return;
  const DWORD Type = ItemFontType(Index);
  TBitmap* Glyph = Type & TRUETYPE_FONTTYPE ? qcTrueTypeGlyph
                   : Type & DEVICE_FONTTYPE ? qcDeviceGlyph
                   : Type & RASTER_FONTTYPE ? qcRasterGlyph
                                            : nullptr;
  if (Glyph) {
    const int W = Glyph->Width(), H = Glyph->Height();
    const int X = Rect.Left + 2, Y = (Rect.Top + Rect.Bottom - H) / 2;
    C->BrushCopy(::Rect(X, Y, X + W, Y + H), Glyph, ::Rect(0, 0, W, H), Glyph->TransparentColor());
  }
  RECT T = AsRECT(Rect);
  T.left += qcTrueTypeGlyph->Width() + 6;
  const AnsiString Text = this->Items()->Get(Index);
  DrawTextA(C->Handle(), Text.c_str(), Text.Length(), &T, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}

template class TqcFontItems<TqcCustomComboBox>;
template class TqcFontItems<TqcCustomListBox>;

// ---------------------------------------------------------------------------------------------
// Published properties

namespace {
template <class C> struct TqcFontProps {
  static constexpr TPropInfo Device() {
    return PropSet<&C::Device, &C::SetDevice>("Device", TqcFontDevType, FontDev(qcfdScreen));
  }
  static constexpr TPropInfo FontName() { return PropStr<&C::FontName, &C::SetFontName>("FontName"); }
  static constexpr TPropInfo FontOptions() {
    return PropSet<&C::FontOptions, &C::SetFontOptions>("FontOptions", TqcFontTypeType, 0);
  }
  static constexpr TPropInfo OnChange() { return PropEvent<&C::OnChange>("OnChange"); }
};
}  // namespace

static constinit const TPropInfo TqcFontComboBox_Props[] = {
    TqcFrameProps<TqcFontComboBox>::FrameWhere(),
    TqcButtonHostProps<TqcFontComboBox>::ButtonFrame(),
    TqcButtonHostProps<TqcFontComboBox>::ButtonFlat(),
    TqcButtonHostProps<TqcFontComboBox>::ButtonColor(),
    TqcButtonHostProps<TqcFontComboBox>::ButtonShadowColor(),
    TqcButtonHostProps<TqcFontComboBox>::ButtonHighLightColor(),
    TqcFrameProps<TqcFontComboBox>::OnMouseEnter(),
    TqcFrameProps<TqcFontComboBox>::OnMouseLeave(),
    TqcFrameProps<TqcFontComboBox>::FrameStyle(),
    TqcFrameProps<TqcFontComboBox>::FrameColor(),
    TqcFrameProps<TqcFontComboBox>::ShadowColor(),
    TqcFrameProps<TqcFontComboBox>::NonShadowColor(),
    TqcFontProps<TqcFontComboBox>::Device(),
    TqcFontProps<TqcFontComboBox>::FontName(),
    TqcFontProps<TqcFontComboBox>::FontOptions(),
    TControlProps::Color(clWindow),
    TControlProps::DragMode(),
    TControlProps::DragCursor(),
    PropInt<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>("DropDownCount", 8),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(false),
    PropBool<&TqcFontComboBox::ParentCtl3D, &TqcFontComboBox::SetParentCtl3D>("ParentCtl3D", false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    TqcFontProps<TqcFontComboBox>::OnChange(),
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
ORV_IMPLEMENT_COMPONENT(TqcFontComboBox, TqcCustomComboBox, TqcFontComboBox_Props)

static constinit const TPropInfo TqcFontListBox_Props[] = {
    TqcFrameProps<TqcFontListBox>::FrameWhere(),
    TqcFrameProps<TqcFontListBox>::OnMouseEnter(),
    TqcFrameProps<TqcFontListBox>::OnMouseLeave(),
    TqcFrameProps<TqcFontListBox>::FrameStyle(),
    TqcFrameProps<TqcFontListBox>::FrameColor(),
    TqcFrameProps<TqcFontListBox>::ShadowColor(),
    TqcFrameProps<TqcFontListBox>::NonShadowColor(),
    TqcFontProps<TqcFontListBox>::Device(),
    TqcFontProps<TqcFontListBox>::FontName(),
    TqcFontProps<TqcFontListBox>::FontOptions(),
    TControlProps::Align(),
    TControlProps::Color(clWindow),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(false),
    PropBool<&TqcFontListBox::ParentCtl3D, &TqcFontListBox::SetParentCtl3D>("ParentCtl3D", false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    TqcFontProps<TqcFontListBox>::OnChange(),
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
ORV_IMPLEMENT_COMPONENT(TqcFontListBox, TqcCustomListBox, TqcFontListBox_Props)

namespace {
struct TqEditFontRegistration {
  TqEditFontRegistration() { RegisterClasses({TqcFontComboBox::StaticClass(), TqcFontListBox::StaticClass()}); }
} QEditFontRegistration;
}  // namespace
