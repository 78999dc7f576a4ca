#include "package/TCB.h"

#include "rtl/SysUtils.h"
#include "vcl/Menus.h"

TCustomCompleteBox::TCustomCompleteBox(TComponent* AOwner) : TCustomComboBox(AOwner) { Init(); }

TCustomCompleteBox::TCustomCompleteBox(HWND AParentWindow) : TCustomComboBox(nullptr) {
  Init();
  SetParentWindow(AParentWindow);
}

void TCustomCompleteBox::Init() {
  OnKeyPress = nullptr;
  TWinControl::OnKeyPress = TKeyPressEvent::Bind<&TCustomCompleteBox::KeyPressEvent>(this);
  FUseComplete = true;
}

void TCustomCompleteBox::KeyPressEvent(TObject*, char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
  // Characters from 0x80 up are letters of the code page, not control characters.
  const unsigned char Ch = static_cast<unsigned char>(Key);
  if (!FUseComplete || (Ch < 32 && Ch != 8)) return;

  AnsiString S = Text();
  S.Delete(SelStart() + 1, SelLength());
  if (Ch == 8) {
    if (S.IsEmpty()) return;
    S.Delete(S.Length(), 1);
  } else {
    S += Key;
  }

  if (S.IsEmpty()) {
    SetItemIndex(-1);
    SetText(AnsiString());
  } else {
    TStrings* L = Items();
    for (int I = 0; I < L->Count(); ++I) {
      const AnsiString Item = L->Get(I);
      if (Item.Length() >= S.Length() && SameText(Item.SubString(1, S.Length()), S)) {
        SetItemIndex(I);
        SetSelStart(S.Length());
        SetSelLength(Item.Length() - S.Length());
        break;
      }
    }
  }
  Key = 0;
}

ORV_IMPLEMENT_CLASS(TCustomCompleteBox, TCustomComboBox)

namespace {
// UseComplete is written whatever its value: the constructor's true is not the stored default.
constexpr TPropInfo UseCompleteProp() {
  return OrdinalProp<&TCustomCompleteBox::UseComplete, &TCustomCompleteBox::SetUseComplete>(
      "UseComplete", tkEnumeration, "Boolean", &BooleanType, false, 0);
}
}  // namespace

static constinit const TPropInfo TCompleteBox_Props[] = {
    PropEnum<&TCustomComboBox::Style, &TCustomComboBox::SetStyle>("Style", TComboBoxStyleType, csDropDown),
    UseCompleteProp(),
    TControlProps::Color(clWindow),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    PropInt<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>("DropDownCount", 8),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropIntNoDefault<&TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight>(
        "ItemHeight", &TCustomComboBox::ItemHeightStored),
    PropObject<&TCustomComboBox::Items, &TCustomComboBox::SetItems>("Items"),
    PropInt<&TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength>("MaxLength", 0),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropBool<&TCustomComboBox::Sorted, &TCustomComboBox::SetSorted>("Sorted", false),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Text(),
    TControlProps::Visible(),
    PropEvent<&TCustomComboBox::OnChange>("OnChange"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    PropEvent<&TCustomComboBox::OnDrawItem>("OnDrawItem"),
    PropEvent<&TCustomComboBox::OnDropDown>("OnDropDown"),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyUp(),
    PropEvent<&TCustomComboBox::OnMeasureItem>("OnMeasureItem"),
    TControlProps::OnStartDrag(),
    PropEvent<&TCustomCompleteBox::OnKeyPress>("OnKeyPress"),
};
ORV_IMPLEMENT_COMPONENT(TCompleteBox, TCustomCompleteBox, TCompleteBox_Props)

namespace {
struct TCompleteBoxClasses {
  TCompleteBoxClasses() { RegisterClass(TCompleteBox::StaticClass()); }
} CompleteBoxClasses;
}  // namespace
