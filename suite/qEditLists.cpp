#include "suite/qEditLists.h"
#include "vcl/Menus.h"

namespace {

// The framed controls' client lies 3 pixels inside what the system leaves them.
void ShrinkClient(TMessage& Message) {
  if (auto* R = reinterpret_cast<RECT*>(Message.LParam)) InflateRect(R, -3, -3);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TqcCustomMemo

TqcCustomMemo::TqcCustomMemo(TComponent* AOwner) : inherited(AOwner) {
  SetCtl3D(false);
  SetBorderStyle(bsNone);
  ExcludeStyle(csFramed);
}

void TqcCustomMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcCustomMemo::DrawNCArea() {
  const bool Corner = ScrollBars() == ssBoth;
  const TColor Fill = Color();
  PaintQcWindowFrame(this, FrameLook(), FrameActive(), [&](TCanvas* C, int W, int H) {
    if (!Corner) return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(Rect(W - GetSystemMetrics(SM_CXVSCROLL) - 3, H - GetSystemMetrics(SM_CYVSCROLL) - 3, W, H));
  });
}

void TqcCustomMemo::WMNCPaint(TMessage& Message) {
  DrawNCArea();
  inherited::Dispatch(Message);  // the scroll bars over the frame
}

void TqcCustomMemo::WMNCCalcSize(TMessage& Message) {
  inherited::Dispatch(Message);
  ShrinkClient(Message);
}

void TqcCustomMemo::WMPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  DrawNCArea();
}

ORV_IMPLEMENT_CLASS(TqcCustomMemo, TCustomMemo)

static constinit const TPropInfo TqcMemo_Props[] = {
    TqcFrameProps<TqcCustomMemo>::FrameWhere(),
    TqcFrameProps<TqcCustomMemo>::OnMouseEnter(),
    TqcFrameProps<TqcCustomMemo>::OnMouseLeave(),
    TqcFrameProps<TqcCustomMemo>::FrameStyle(),
    TqcFrameProps<TqcCustomMemo>::FrameColor(),
    TqcFrameProps<TqcCustomMemo>::ShadowColor(),
    TqcFrameProps<TqcCustomMemo>::NonShadowColor(),
    TControlProps::Align(),
    PropEnum<&TCustomMemo::Alignment, &TCustomMemo::SetAlignment>("Alignment", TAlignmentType, taLeftJustify),
    TControlProps::Color(clWindow),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropBool<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>("HideSelection", true),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropObject<&TCustomMemo::Lines, &TCustomMemo::SetLines>("Lines"),
    PropInt<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength", 0),
    PropBool<&TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert>("OEMConvert", false),
    TControlProps::ParentColor(false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropBool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly", false),
    PropEnum<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>("ScrollBars", TScrollStyleType, ssNone),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    PropBool<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>("WantReturns", true),
    PropBool<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>("WantTabs", false),
    PropBool<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>("WordWrap", true),
    PropEvent<&TCustomEdit::OnChange>("OnChange"),
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
ORV_IMPLEMENT_COMPONENT(TqcMemo, TqcCustomMemo, TqcMemo_Props)

// ---------------------------------------------------------------------------------------------
// TqcCustomListBox

TqcCustomListBox::TqcCustomListBox(TComponent* AOwner) : inherited(AOwner) {
  SetCtl3D(false);
  SetBorderStyle(bsNone);
  ExcludeStyle(csFramed);
  SetColumns(0);
}

void TqcCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcCustomListBox::WMNCPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  DrawNCArea();
}

void TqcCustomListBox::WMNCCalcSize(TMessage& Message) {
  inherited::Dispatch(Message);
  ShrinkClient(Message);
}

ORV_IMPLEMENT_CLASS(TqcCustomListBox, TCustomListBox)

static constinit const TPropInfo TqcListBox_Props[] = {
    TqcFrameProps<TqcCustomListBox>::FrameWhere(),
    TqcFrameProps<TqcCustomListBox>::OnMouseEnter(),
    TqcFrameProps<TqcCustomListBox>::OnMouseLeave(),
    TqcFrameProps<TqcCustomListBox>::FrameStyle(),
    TqcFrameProps<TqcCustomListBox>::FrameColor(),
    TqcFrameProps<TqcCustomListBox>::ShadowColor(),
    TqcFrameProps<TqcCustomListBox>::NonShadowColor(),
    TControlProps::Align(),
    TControlProps::Color(clWindow),
    PropInt<&TCustomListBox::Columns, &TCustomListBox::SetColumns>("Columns", 0),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropBool<&TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect>("ExtendedSelect", true),
    TControlProps::Font(),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropBool<&TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight>("IntegralHeight", false),
    PropInt<&TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight>("ItemHeight", 16),
    PropObject<&TCustomListBox::Items, &TCustomListBox::SetItems>("Items"),
    PropBool<&TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect>("MultiSelect", false),
    TControlProps::ParentColor(false),
    PropBool<&TqcCustomListBox::ParentCtl3D, &TqcCustomListBox::SetParentCtl3D>("ParentCtl3D", false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    PropBool<&TCustomListBox::Sorted, &TCustomListBox::SetSorted>("Sorted", false),
    PropEnum<&TCustomListBox::Style, &TCustomListBox::SetStyle>("Style", TListBoxStyleType, lbStandard),
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
ORV_IMPLEMENT_COMPONENT(TqcListBox, TqcCustomListBox, TqcListBox_Props)

// ---------------------------------------------------------------------------------------------
// TqcCustomComboBox

TqcCustomComboBox::TqcCustomComboBox(TComponent* AOwner) : inherited(AOwner) {
  SetHeight(21);
  SetCtl3D(false);
  ExcludeStyle(csFramed);
  TqNWBitColBtn* B = Button();
  const int W = GetSystemMetrics(SM_CXVSCROLL);
  B->SetBounds(Width() - W - 2, 2, W, Height() - 4);
  B->SetColor(clBtnFace);
  B->SetCaption("");
  // The system's combo arrow, copied into the glyph. Its background is the colour of its top-left
  // pixel: the bottom-left one, which the automatic choice takes, is the arrow's underline in some
  // systems' bitmaps.
  if (HBITMAP Arrow = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32738))) {
    TBitmap Glyph;
    Glyph.SetHandle(Arrow);
    B->SetGlyph(&Glyph);
    B->SetTransparentColor(Glyph.Canvas()->Pixels(0, 0));
  }
  B->SetGlyphMargin(unsigned(std::max(0, (W - B->Glyph()->Width()) / 2)));
  B->OnClick = TNotifyEvent::Bind<&TqcCustomComboBox::ButtonClick>(this);
  B->SetParent(this);
}

void TqcCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcCustomComboBox::Loaded() {
  inherited::Loaded();
  Adjust();
  DrawNCArea();
}

bool TqcCustomComboBox::FrameActive() const {
  return inherited::FrameActive() || (EditHandle() && GetFocus() == EditHandle());
}

void TqcCustomComboBox::DrawNCArea() {
  if (!HandleAllocated()) return;
  // A frame that cannot be painted now is painted with the next message that asks for it.
  try {
    inherited::DrawNCArea();
    Button()->Refresh();
  } catch (const Exception&) {
  }
}

void TqcCustomComboBox::PlaceButton() {
  const int W = Button()->Width(), H = Height() - 4;
  Button()->SetBounds(Width() - W - 2, Style() == csSimple ? -2 * H : 2, W, H);
}

void TqcCustomComboBox::Adjust() {
  if (Style() != csOwnerDrawFixed && Style() != csOwnerDrawVariable) SetHeight(FontTextHeight(Font()) + 8);
  PlaceButton();
}

void TqcCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (Value == Style()) return;
  TCustomComboBox::SetStyle(Value);
  if (HasState(csLoading)) return;
  Adjust();
  DrawNCArea();
}

void TqcCustomComboBox::ButtonClick(TObject*) { SetDroppedDown(true); }

void TqcCustomComboBox::ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
  // The frame follows the focus of the inner edit too.
  if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS || Message.Msg == WM_NCPAINT) DrawNCArea();
  inherited::ComboWndProc(Message, ComboWnd, ComboProc);
}

void TqcCustomComboBox::WMNCPaint(TMessage& Message) {
  DrawNCArea();
  Message.Result = 0;
}

void TqcCustomComboBox::WMPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  DrawNCArea();
}

void TqcCustomComboBox::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  PlaceButton();
  DrawNCArea();
}

void TqcCustomComboBox::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!(HasState(csDesigning) && HasState(csLoading))) Adjust();
}

ORV_IMPLEMENT_CLASS(TqcCustomComboBox, TCustomComboBox)

static constinit const TPropInfo TqcComboBox_Props[] = {
    TqcFrameProps<TqcCustomComboBox>::FrameWhere(),
    PropIntNoDefault<&TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight>(
        "ItemHeight", &TCustomComboBox::ItemHeightStored),
    PropEnum<&TqcCustomComboBox::Style, &TqcCustomComboBox::SetStyle>("Style", TComboBoxStyleType, csDropDown),
    TqcButtonHostProps<TqcCustomComboBox>::ButtonFrame(),
    TqcButtonHostProps<TqcCustomComboBox>::ButtonFlat(),
    TqcButtonHostProps<TqcCustomComboBox>::ButtonColor(),
    TqcButtonHostProps<TqcCustomComboBox>::ButtonShadowColor(),
    TqcButtonHostProps<TqcCustomComboBox>::ButtonHighLightColor(),
    TqcFrameProps<TqcCustomComboBox>::OnMouseEnter(),
    TqcFrameProps<TqcCustomComboBox>::OnMouseLeave(),
    TqcFrameProps<TqcCustomComboBox>::FrameStyle(),
    TqcFrameProps<TqcCustomComboBox>::FrameColor(),
    TqcFrameProps<TqcCustomComboBox>::ShadowColor(),
    TqcFrameProps<TqcCustomComboBox>::NonShadowColor(),
    TControlProps::Color(clWindow),
    TControlProps::DragMode(),
    TControlProps::DragCursor(),
    PropInt<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>("DropDownCount", 8),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropObject<&TCustomComboBox::Items, &TCustomComboBox::SetItems>("Items"),
    PropInt<&TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength>("MaxLength", 0),
    TControlProps::ParentColor(false),
    PropBool<&TqcCustomComboBox::ParentCtl3D, &TqcCustomComboBox::SetParentCtl3D>("ParentCtl3D", false),
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
ORV_IMPLEMENT_COMPONENT(TqcComboBox, TqcCustomComboBox, TqcComboBox_Props)

namespace {
struct TqEditListsRegistration {
  TqEditListsRegistration() {
    RegisterClasses({TqcMemo::StaticClass(), TqcListBox::StaticClass(), TqcComboBox::StaticClass()});
  }
} QEditListsRegistration;
}  // namespace
