// The cool list box.
#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

TCoolListBox::TCoolListBox(TComponent* AOwner)
    : TCoolItemControl(AOwner, CoolOption(ocBevelOnlyIfSel) | CoolOption(ocNoCaption)),
      FCaption(this, clActiveCaption, clCaptionText, true) {
  SetStyle(lbOwnerDrawFixed);
  IncludeStyle(csSetCaption);
  ExcludeStyle(csOpaque);
}

void TCoolListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case LB_GETTOPINDEX: LBGetTopIndex(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDblClk(Message); break;
    case WM_SETTEXT: WMSetText(Message); break;
    default: inherited::Dispatch(Message);
  }
}

// ----- properties

void TCoolListBox::SetCoolImages(TCoolImages* Value) {
  inherited::SetCoolImages(Value);
  FCaption.SetCoolImages(Value);
}

void TCoolListBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FCaption.CoolImages()) SetCoolImages(nullptr);
}

// ----- window

void TCoolListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (Options() & CoolOption(ocNoCaption)) Params.Style &= ~DWORD(WS_CAPTION);
  else Params.Style |= WS_CAPTION;
  if (Columns() == 0) Params.Style |= WS_HSCROLL;
  if (Options() & CoolOption(ocSmallCaption)) Params.ExStyle |= WS_EX_TOOLWINDOW;
  else Params.ExStyle &= ~DWORD(WS_EX_TOOLWINDOW);
}

void TCoolListBox::WMSetText(TMessage& Message) {
  inherited::Dispatch(Message);
  NCCtlChanged();
}

void TCoolListBox::WMNCPaint(TMessage& Message) {
  const TCoolOptions O = Options();
  if ((O & CoolOption(ocNoCaption)) || !(FCaption.Coloured() || (O & CoolOption(ocPaintCaptionWallpaper))))
    return inherited::Dispatch(Message);
  FCaption.Paint(Message, Caption(), O);
}

void TCoolListBox::WMNCHitTest(TMessage& Message) {
  inherited::Dispatch(Message);
  TCoolCaptionBar::HitTest(Message, Options());
}

void TCoolListBox::WMNCLButtonDblClk(TMessage& Message) {
  if (Message.WParam == HTCAPTION) return;  // no maximising by the caption
  inherited::Dispatch(Message);
}

// ----- background and painting

void TCoolListBox::LBGetTopIndex(TMessage& Message) {
  inherited::Dispatch(Message);
  const int Top = int(Message.Result);
  if (Top == FLastTopIndex || !PaintsBehind()) return;
  // The items moved: the background behind all of them is drawn again where it belongs.
  InvalidateRectEx(WindowHandle(), nullptr, false);
  FLastTopIndex = Top;
}

void TCoolListBox::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (SeeThrough()) {
    PaintBackground(this, DC, TransparencyLevel());
    Message.Result = 1;
  } else if (Items()->Count() > 0 && WallpaperMode() &&
             CTLDrawWallpaper(DC, ClientRect(), Options() & CoolOption(ocTileWallpaper))) {
    Message.Result = 1;
  } else {
    inherited::Dispatch(Message);
  }
}

void TCoolListBox::WMPaint(TMessage& Message) {
  if (PaintsBehind()) {
    Perform(LB_GETTOPINDEX, 0, 0);
    inherited::Dispatch(Message);
    if (Items()->Count() == 0) {
      // Nothing drawn the background of items: it is drawn over the whole client.
      TWindowDC DC(WindowHandle());
      if (SeeThrough()) PaintBackground(this, DC, TransparencyLevel());
      else CTLDrawWallpaper(DC, ClientRect(), Options() & CoolOption(ocTileWallpaper));
    }
  } else {
    inherited::Dispatch(Message);
  }
  if (BorderStyle() == bsNone) DrawBorders(nullptr, this, EdgeBorders(), BorderPen());
  if (Options() & CoolOption(ocFlatBorder)) DrawFlatBorder(nullptr, this, Focused());
}

void TCoolListBox::DrawItemFrame() {
  if (BorderStyle() == bsNone) DrawBorders(nullptr, this, EdgeBorders(), BorderPen());
  if (Options() & CoolOption(ocFlatBorder)) DrawFlatBorder(nullptr, this, true);
}

bool TCoolListBox::IsSelectedState(TOwnerDrawState State) const {
  constexpr TOwnerDrawState Sel = 1u << odSelected, Focus = 1u << odFocused;
  return State == Sel || State == (Sel | Focus);
}

// ----- check areas and the mouse

TRect TCoolListBox::CheckRect(int Index) {
  TRect R = ItemRect(Index);
  if (DrawTextBiDiModeFlags(0) & DT_RIGHT) R.Left = R.Right - ItemHeight() - 2;
  else R.Right = R.Left + ItemHeight() + 2;
  return R;
}

void TCoolListBox::InvalidateCheck(int Index) {
  if (!HandleAllocated() || Index < 0 || Index >= Items()->Count()) return;
  InvalidateRectEx(WindowHandle(), CheckRect(Index), !(ControlStyle() & StyleOf(csOpaque)));
}

void TCoolListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (!CheckMode() || !HandleAllocated()) return;
  // Items above the top one lie above the client.
  for (int I = TopIndex(), N = Items()->Count(); I < N; ++I)
    if (CheckRect(I).Contains(Point(X, Y))) {
      SetChecked(I, !Checked(I));  // repaints the check area
      return;
    }
}

void TCoolListBox::CheckKeyDown(unsigned short Key) {
  if (Key != VK_SPACE || !CheckMode()) return;
  const int I = ItemIndex();
  if (I >= 0) SetChecked(I, !Checked(I));
}

void TCoolListBox::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (FHotTray) SetItemIndex(ItemAtPos(Point(X, Y), false));
}

static constinit const TPropInfo TCoolListBox_Props[] = {
    ORV_COOL_ITEM_PROPS(TCoolListBox),
    TControlProps::Align(),
    TControlProps::Anchors(),
    PropEnum<&TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle>("BorderStyle", TBorderStyleType,
                                                                              bsSingle),
    TControlProps::Caption(),
    PropColor<&TCoolListBox::CaptionColor, &TCoolListBox::SetCaptionColor>("CaptionColor", clActiveCaption),
    PropColor<&TCoolListBox::CaptionTextColor, &TCoolListBox::SetCaptionTextColor>("CaptionTextColor",
                                                                                   clCaptionText),
    PropObject<&TCoolListBox::CaptionWallpaper, &TCoolListBox::SetCaptionWallpaper>("CaptionWallpaper"),
    TControlProps::Color(clWindow),
    PropInt<&TCustomListBox::Columns, &TCustomListBox::SetColumns>("Columns", 0),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragKind(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropBool<&TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect>("ExtendedSelect", true),
    TControlProps::Font(),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropBool<&TCoolListBox::HotTray, &TCoolListBox::SetHotTray>("HotTray", false),
    PropInt<&TCoolListBox::idCaptionWallpaper, &TCoolListBox::SetIdCaptionWallpaper>("idCaptionWallpaper", -1),
    PropBool<&TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight>("IntegralHeight", false),
    PropInt<&TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight>("ItemHeight", 16),
    PropObject<&TCustomListBox::Items, &TCustomListBox::SetItems>("Items"),
    PropBool<&TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect>("MultiSelect", false),
    PropSet<&TCoolListBox::Options, &TCoolListBox::SetOptions>(
        "Options", TCoolOptionType, CoolOption(ocBevelOnlyIfSel) | CoolOption(ocNoCaption)),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::BiDiMode(),
    TControlProps::ParentBiDiMode(),
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
    TControlProps::OnEndDock(),
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
    TControlProps::OnStartDock(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TCoolListBox, TCustomListBox, TCoolListBox_Props)
