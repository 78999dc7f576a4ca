// The cool list box.
#include "coolctrls/CoolCtrls.h"

TCoolListBox::TCoolListBox(TComponent* AOwner)
    : TCoolItemControl(AOwner, CoolOption(ocBevelOnlyIfSel) | CoolOption(ocNoCaption)) {
  SetStyle(lbOwnerDrawFixed);
  IncludeStyle(csSetCaption);
  ExcludeStyle(csOpaque);
}

void TCoolListBox::DrawItemFrame() {
  if (BorderStyle() == bsNone) DrawBorders(nullptr, this, EdgeBorders(), BorderPen());
  if (Options() & CoolOption(ocFlatBorder)) DrawFlatBorder(nullptr, this, true);
}

bool TCoolListBox::IsSelectedState(TOwnerDrawState State) const {
  constexpr TOwnerDrawState Sel = 1u << odSelected, Focus = 1u << odFocused;
  return State == Sel || State == (Sel | Focus);
}

void TCoolListBox::InvalidateCheck(int Index) {
  if (!HandleAllocated() || Index < 0 || Index >= Items()->Count()) return;
  TRect R = ItemRect(Index);
  R.Right = R.Left + ItemHeight() + 2;
  InvalidateRect(WindowHandle(), &AsRECT(R), !(ControlStyle() & StyleOf(csOpaque)));
}

static constinit const TPropInfo TCoolListBox_Props[] = {
    ORV_COOL_ITEM_PROPS(TCoolListBox),
    TControlProps::Align(),
    PropEnum<&TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle>("BorderStyle", TBorderStyleType,
                                                                              bsSingle),
    TControlProps::Caption(),
    TControlProps::Color(clWindow),
    PropInt<&TCustomListBox::Columns, &TCustomListBox::SetColumns>("Columns", 0),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropBool<&TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect>("ExtendedSelect", true),
    TControlProps::Font(),
    PropBool<&TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight>("IntegralHeight", false),
    PropInt<&TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight>("ItemHeight", 16),
    PropObject<&TCustomListBox::Items, &TCustomListBox::SetItems>("Items"),
    PropBool<&TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect>("MultiSelect", false),
    PropSet<&TCoolListBox::Options, &TCoolListBox::SetOptions>(
        "Options", TCoolOptionType, CoolOption(ocBevelOnlyIfSel) | CoolOption(ocNoCaption)),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropBool<&TCustomListBox::Sorted, &TCustomListBox::SetSorted>("Sorted", false),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    PropInt<&TCustomListBox::TabWidth, &TCustomListBox::SetTabWidth>("TabWidth", 0),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    PropEvent<&TCustomListBox::OnDrawItem>("OnDrawItem"),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    PropEvent<&TCustomListBox::OnMeasureItem>("OnMeasureItem"),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TCoolListBox, TCustomListBox, TCoolListBox_Props)
