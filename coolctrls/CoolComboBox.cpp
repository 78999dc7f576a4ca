// The cool combo box.
#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

namespace {
constexpr unsigned CM_PAINTLISTBOXPART = WM_USER + 409;
}  // namespace

TCoolComboBox::TCoolComboBox(TComponent* AOwner)
    : TCoolItemControl(AOwner, CoolOption(ocBevelOnlyIfSel)), FListBoxWidth(Width()) {
  SetStyle(csOwnerDrawVariable);
}

TCoolComboBox::~TCoolComboBox() { ReleaseList(); }

void TCoolComboBox::BeforeDestruction() {
  ReleaseList();
  inherited::BeforeDestruction();
}

void TCoolComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CB_GETTOPINDEX: CBGetTopIndex(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case CM_PAINTLISTBOXPART: Message.Result = 0; break;  // accepted and ignored
    default: inherited::Dispatch(Message);
  }
}

void TCoolComboBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (!Loading()) Invalidate();
}

int TCoolComboBox::TopIndex() { return int(Perform(CB_GETTOPINDEX, 0, 0)); }

void TCoolComboBox::SetTopIndex(int Value) {
  if (TopIndex() != Value) Perform(CB_SETTOPINDEX, WPARAM(Value), 0);
}

void TCoolComboBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_HSCROLL;  // the dropped list scrolls sideways when its extent needs it
}

void TCoolComboBox::DestroyWnd() {
  ReleaseList();
  inherited::DestroyWnd();
}

void TCoolComboBox::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (HasState(csDesigning) && !Loading()) FListBoxWidth = Width();
}

void TCoolComboBox::WMPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  DrawItemFrame();
}

void TCoolComboBox::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == CBN_CLOSEUP) ReleaseList();
  inherited::Dispatch(Message);
}

// ----- the dropped list

void TCoolComboBox::WndProc(TMessage& Message) {
  inherited::WndProc(Message);
  try {
    switch (Message.Msg) {
      case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE && CheckMode()) ToggleSelected();
        break;
      case WM_CTLCOLORLISTBOX: TakeOverList(reinterpret_cast<HWND>(Message.LParam)); break;
      default: break;
    }
  } catch (...) {
    HandleVclException(this);
  }
}

void TCoolComboBox::ToggleSelected() {
  const int I = ItemIndex();
  if (I < 0) return;
  SetChecked(I, !Checked(I));
  // The check cell of the selection field, drawn as an item inside the combo's own frame.
  // Both at the right end with right-to-left alignment.
  const bool AtRight = DrawTextBiDiModeFlags(0) & DT_RIGHT;
  TRect Field = ClientRect();
  Field.Top += 2;
  if (AtRight) {
    Field.Right -= 2;
    Field.Left = Field.Right - ItemHeight();
  } else {
    Field.Left += 2;
    Field.Right = Field.Left + ItemHeight();
  }
  InvalidateRectEx(WindowHandle(), Field, false);
  if (!FListHandle) return;
  RECT R{};
  if (SendMessageA(FListHandle, LB_GETITEMRECT, WPARAM(I), LPARAM(&R)) == LB_ERR) return;
  if (AtRight) R.left = R.right - ItemHeight() - 2;
  else R.right = R.left + ItemHeight() + 2;
  InvalidateRectEx(FListHandle, TRect(R), false);
}

void TCoolComboBox::TakeOverList(HWND List) {
  if (List == FListHandle) return;
  ReleaseList();  // a new list while the old one still runs ours
  FListHandle = List;
  if (!List) return;
  RECT R{};
  GetWindowRect(List, &R);
  const int W = R.right - R.left;
  if (FListBoxWidth != Width() && FListBoxWidth != W) {
    int X = R.left;
    if (FAlignment == paRight) X = R.right - FListBoxWidth;
    else if (FAlignment == paCenter) X = R.left + W / 2 - FListBoxWidth / 2;
    MoveWindow(List, X, R.top, FListBoxWidth, R.bottom - R.top, TRUE);
    GetWindowRect(List, &R);
  }
  POINT TopLeft{R.left, R.top}, BottomRight{R.right, R.bottom};
  ::ScreenToClient(List, &TopLeft);
  ::ScreenToClient(List, &BottomRight);
  FListRect = TRect(TopLeft.x, TopLeft.y, BottomRight.x, BottomRight.y);
  if (GetWindowLongPtrA(List, GWL_STYLE) & WS_HSCROLL) {
    int Min = 0, Max = 0;
    GetScrollRange(List, SB_HORZ, &Min, &Max);
    FListRect.Left = Min;
    FListRect.Right = Max;
  }
  FListHook.Install(List, TWindowProcHook::THandler::Bind<&TCoolComboBox::ListWndProc>(this));
  if (FBorderStyle == bsNone) Invalidate();
}

void TCoolComboBox::ReleaseList() {
  FListHook.Remove();
  FListHandle = nullptr;
}

void TCoolComboBox::ListWndProc(TMessage& Message) {
  const TWindowProcHook::TLink Link = FListHook.CurrentLink();  // the message may close the list
  if (Message.Msg == WM_PAINT) {
    try {
      Perform(CB_GETTOPINDEX, 0, 0);
    } catch (...) {
      HandleVclException(this);
    }
  }
  Message.Result = Link.CallPrevious(Message);
}

void TCoolComboBox::CBGetTopIndex(TMessage& Message) {
  inherited::Dispatch(Message);
  const int Top = int(Message.Result);
  if (Top == FLastTopIndex || !(WallpaperMode() || SeeThrough())) return;
  // The items moved: the wallpaper behind all of them is drawn again where it belongs.
  if (FListHandle) InvalidateRectEx(FListHandle, FListRect, false);
  FLastTopIndex = Top;
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
    PropEnum<&TCoolComboBox::Alignment, &TCoolComboBox::SetAlignment>("Alignment", TPopupAlignmentType, paLeft),
    TControlProps::Anchors(),
    PropEnum<&TCoolComboBox::BorderStyle, &TCoolComboBox::SetBorderStyle>("BorderStyle", TBorderStyleType, bsSingle),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragKind(),
    TControlProps::DragMode(),
    PropInt<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>("DropDownCount", 8),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropInt<&TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight>("ItemHeight", 16),
    PropObject<&TCustomComboBox::Items, &TCustomComboBox::SetItems>("Items"),
    PropIntNoDefault<&TCoolComboBox::ListBoxWidth, &TCoolComboBox::SetListBoxWidth>("ListBoxWidth"),
    PropInt<&TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength>("MaxLength", 0),
    PropSet<&TCoolComboBox::Options, &TCoolComboBox::SetOptions>("Options", TCoolOptionType,
                                                                CoolOption(ocBevelOnlyIfSel)),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::BiDiMode(),
    TControlProps::ParentBiDiMode(),
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
    TControlProps::OnEndDock(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    PropEvent<&TCustomComboBox::OnMeasureItem>("OnMeasureItem"),
    TControlProps::OnStartDock(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TCoolComboBox, TCustomComboBox, TCoolComboBox_Props)
