// The cool combo box.
#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

TCoolComboBox::TCoolComboBox(TComponent* AOwner)
    : TCoolItemControl(AOwner, CoolOption(ocBevelOnlyIfSel)), FListBoxWidth(Width()) {
  SetStyle(csOwnerDrawVariable);
}

void TCoolComboBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (!Loading()) Invalidate();
}

void TCoolComboBox::DrawItemFrame() {
  if (Options() & CoolOption(ocFlatBorder)) DrawFlatBorder(nullptr, this, Screen && Screen->ActiveControl() == this);
  if (FBorderStyle != bsNone) return;
  // The 2-pixel ring inside the client is what lies behind the control.
  TControlCanvas Ring;
  Ring.SetControl(this);
  TRect Client = ClientRect(), Inner = Client;
  Inner.Inflate(-2, -2);
  PaintBackgroundCombineRgn(TrControl(this, TransparencyLevel()), Ring.Handle(), Client, Inner, RGN_DIFF);
  DrawBorders(nullptr, this, EdgeBorders(), BorderPen());
}

bool TCoolComboBox::IsSelectedState(TOwnerDrawState State) const {
  constexpr TOwnerDrawState Sel = 1u << odSelected, Focus = 1u << odFocused, Edit = 1u << odComboBoxEdit;
  return State == Sel || State == (Sel | Focus) || State == (Sel | Focus | Edit);
}

TRect TCoolComboBox::WallpaperArea(bool Selected) {
  // Until the dropped list reports its area the combo's client stands in for it; a selected
  // item keeps it.
  if (!FListRect.IsEmpty()) return FListRect;
  if (Selected) FListRect = ClientRect();
  return ClientRect();
}

static constinit const TPropInfo TCoolComboBox_Props[] = {
    ORV_COOL_ITEM_PROPS(TCoolComboBox),
    PropEnum<&TCoolComboBox::BorderStyle, &TCoolComboBox::SetBorderStyle>("BorderStyle", TBorderStyleType, bsSingle),
    TControlProps::Color(clWindow),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    PropInt<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>("DropDownCount", 8),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropInt<&TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight>("ItemHeight", 16),
    PropObject<&TCustomComboBox::Items, &TCustomComboBox::SetItems>("Items"),
    PropIntNoDefault<&TCoolComboBox::ListBoxWidth, &TCoolComboBox::SetListBoxWidth>("ListBoxWidth"),
    PropInt<&TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength>("MaxLength", 0),
    PropSet<&TCoolComboBox::Options, &TCoolComboBox::SetOptions>("Options", TCoolOptionType,
                                                                CoolOption(ocBevelOnlyIfSel)),
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
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    PropEvent<&TCustomComboBox::OnMeasureItem>("OnMeasureItem"),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TCoolComboBox, TCustomComboBox, TCoolComboBox_Props)
