#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

#include <algorithm>

TPoint LowerLeftOnScreen(const TControl* C) {
  const TPoint P{C->Left(), C->Top() + C->Height()};
  return C->Parent() ? C->Parent()->ClientToScreen(P) : P;
}

namespace {
// A canvas on a menu item's DC in the menu font, SYSTEM_FONT selected under it meanwhile.
struct TMenuItemCanvas {
  explicit TMenuItemCanvas(HDC DC) : Font(DC, GetStockObject(SYSTEM_FONT)) {
    Canvas.SetHandle(DC);
    GetMenuDefaultFont(Canvas.Font());
  }
  ~TMenuItemCanvas() { Canvas.SetHandle(nullptr); }
  TSelectGuard Font;
  TCanvas Canvas;
};
}  // namespace

// ---------------------------------------------------------------------------------------------
// Menu routing

unsigned PopupMenuFlags(const TControl* Control, const TPopupMenu* Menu) {
  const bool Mirrored = Control->UseRightToLeftAlignment();
  unsigned Flags = TPM_LEFTALIGN;
  switch (Menu->Alignment()) {
    case paLeft: Flags = Mirrored ? TPM_RIGHTALIGN : TPM_LEFTALIGN; break;
    case paRight: Flags = Mirrored ? TPM_LEFTALIGN : TPM_RIGHTALIGN; break;
    case paCenter: Flags = TPM_CENTERALIGN; break;
  }
  if (Menu->TrackButton() == tbRightButton) Flags |= TPM_RIGHTBUTTON;
  return Flags;
}

static void MenuHelp(TPopupMenu* Menu, const HELPINFO& Info) {
  int Context = Menu->GetHelpContext(Info.iCtrlId, true);
  if (Context == 0) Context = Menu->GetHelpContext(reinterpret_cast<intptr_t>(Info.hItemHandle), false);
  TCustomForm* Form = Screen ? Screen->ActiveForm() : nullptr;
  if (!Form) return;
  if (Context == 0) Context = Form->HelpContext();
  if (Form->BorderIcons() & (1u << biHelp)) Application->HelpCommand(HELP_CONTEXTPOPUP, Context);
  else Application->HelpContext(Context);
}

bool RoutePopupMenuMessage(TPopupMenu* Menu, HWND Owner, TMessage& Message) {
  switch (Message.Msg) {
    case WM_DRAWITEM: {
      const auto& Dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      if (Dis.CtlType != ODT_MENU) return false;
      TMenuItem* Item = Menu->FindItem(intptr_t(Dis.itemID), fkCommand);
      if (!Item) return false;
      TMenuItemCanvas On(Dis.hDC);
      const bool Selected = (Dis.itemState & ODS_SELECTED) != 0;
      On.Canvas.Brush()->SetColor(Selected ? clHighlight : clMenu);
      On.Canvas.Font()->SetColor(Selected ? clHighlightText : clMenuText);
      Item->DrawItem(&On.Canvas, TRect(Dis.rcItem), Selected);
      Message.Result = 1;
      return true;
    }
    case WM_MEASUREITEM: {
      auto& Mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      if (Mis.CtlType != ODT_MENU) return false;
      TMenuItem* Item = Menu->FindItem(intptr_t(Mis.itemID), fkCommand);
      if (!Item) return false;
      TWindowDC DC(Owner);
      TMenuItemCanvas On(DC);
      int W = int(Mis.itemWidth), H = int(Mis.itemHeight);
      Item->MeasureItem(&On.Canvas, W, H);
      Mis.itemWidth = UINT(std::max(W, 0));
      Mis.itemHeight = UINT(std::max(H, 0));
      Message.Result = 1;
      return true;
    }
    case WM_HELP: {
      const auto& Info = *reinterpret_cast<const HELPINFO*>(Message.LParam);
      const intptr_t Handle = reinterpret_cast<intptr_t>(Info.hItemHandle);
      // Wine leaves the menu handle out (null): the item's command still names it.
      const bool Found = Info.hItemHandle == Menu->Handle() || Menu->FindItem(Handle, fkHandle) ||
                         (!Info.hItemHandle && Menu->FindItem(Info.iCtrlId, fkCommand));
      if (!Found) return false;
      MenuHelp(Menu, Info);
      Message.Result = 1;
      return true;
    }
    case WM_COMMAND:
      if (!Menu->DispatchCommand((unsigned short)(Message.WParam & 0xFFFF))) return false;
      Message.Result = 0;
      return true;
    case WM_INITMENUPOPUP:
      if (!Menu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return false;
      Message.Result = 0;
      return true;
    case WM_MENUSELECT: {
      const unsigned Flags = unsigned(Message.WParam >> 16) & 0xFFFF;
      const unsigned Id = unsigned(Message.WParam & 0xFFFF);
      TMenuItem* Item;
      if (Flags & MF_POPUP) {
        const HMENU Sub = Message.LParam ? GetSubMenu(reinterpret_cast<HMENU>(Message.LParam), int(Id))
                                         : reinterpret_cast<HMENU>(intptr_t(-1));
        Item = Menu->FindItem(reinterpret_cast<intptr_t>(Sub), fkHandle);
      } else {
        Item = Menu->FindItem(intptr_t(Id), fkCommand);
      }
      Application->SetHint(Item ? GetLongHint(Item->Hint()) : AnsiString());
      if (!Item) return false;
      Message.Result = 0;
      return true;
    }
    case WM_MENUCHAR: {
      const HMENU M = reinterpret_cast<HMENU>(Message.LParam);
      if (M != Menu->Handle() && !Menu->FindItem(Message.LParam, fkHandle)) return false;
      Menu->ProcessMenuChar(Message);
      return true;
    }
    default: return false;
  }
}

// ---------------------------------------------------------------------------------------------
// TCustomPopupButton

TCustomPopupButton::TCustomPopupButton(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FGlyph(new TGlyph()),
      FWallpaper(this, TNotifyEvent::Bind<&TCustomPopupButton::Changed>(this),
                 TNotifyEvent::Bind<&TCustomPopupButton::Changed>(this)) {
  FGlyph->OnChange = TNotifyEvent::Bind<&TCustomPopupButton::Changed>(this);
  SetBounds(0, 0, 119, 19);
  FPopupWindow = AllocateHWnd(TWndMethod::Bind<&TCustomPopupButton::PopupWndProc>(this));
}

TCustomPopupButton::~TCustomPopupButton() {
  DeallocateHWnd(FPopupWindow);
  FGlyph->OnChange = nullptr;
  TObject::Free(FGlyph);
}

void TCustomPopupButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomPopupButton::PopupWndProc(TMessage& Message) {
  Message.Result = DefWindowProcA(FPopupWindow, Message.Msg, WPARAM(Message.WParam), LPARAM(Message.LParam));
}

void TCustomPopupButton::SetBtnAddSize(int Value) {
  if (FBtnAddSize == Value) return;
  FBtnAddSize = Value;
  Changed(this);
}

void TCustomPopupButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Changed(this);
}

void TCustomPopupButton::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::min(Value, TNumGlyphs(2));
  if (FGlyph->NumGlyphs() == Value) return;
  FGlyph->SetNumGlyphs(Value);
  Changed(this);
}

void TCustomPopupButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Changed(this);
}

void TCustomPopupButton::SetCoolImages(TCoolImages* Value) {
  if (!FWallpaper.SetCoolImages(Value)) return;
  if (!HasState(csDestroying)) Changed(this);
}

void TCustomPopupButton::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  Changed(this);
}

void TCustomPopupButton::SetWallpaper(TBitmap* Value) {
  if (Value && Value == FWallpaper.WallpaperIfAny()) return;
  FWallpaper.SetWallpaper(Value);
  Changed(this);
}

void TCustomPopupButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

void TCustomPopupButton::SetButtonState(int Value) {
  if (FButtonState == Value) return;
  FButtonState = Value;
}

void TCustomPopupButton::DropDownClosed() {
  TPoint P{};
  GetCursorPos(reinterpret_cast<POINT*>(&P));
  if (Parent()) P = Parent()->ScreenToClient(P);
  const TRect B = BoundsRect();
  if (!B.Contains(P)) SetButtonState(3);
  else if ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0) SetButtonState(2);
  Invalidate();
}

void TCustomPopupButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (X > ClientWidth() - FBtnAddSize) {
    SetButtonState(FButtonState == 1 ? 2 : 1);
    Invalidate();
    if (FButtonState == 1) ClickAdd();
  } else {
    SetButtonState(0);
    Invalidate();
    if (OnClick) OnClick(this);
  }
}

void TCustomPopupButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (X <= ClientWidth() - FBtnAddSize) SetButtonState(2);
  Invalidate();
}

void TCustomPopupButton::CMMouseEnter(TMessage& Message) {
  inherited::Dispatch(Message);
  SetButtonState(2);
  if (FFlat) Invalidate();
}

void TCustomPopupButton::CMMouseLeave(TMessage& Message) {
  inherited::Dispatch(Message);
  SetButtonState(3);
  if (FFlat) Invalidate();
}

void TCustomPopupButton::CMTextChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TCustomPopupButton::Paint() {
  TCanvas* C = Canvas();
  C->SetFont(Font());
  const TRect Client = ClientRect();
  const int W = ClientWidth(), H = ClientHeight();
  if (!FTransparent) {
    if (!FWallpaper.Draw(C->Handle(), Client, true, cmSrcCopy)) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Color());
      C->FillRect(Client);
    }
  }

  const bool Down = FButtonState == 0 || FButtonState == 1;
  {
    TBitmap Arrow;
    Arrow.LoadFromResourceName(GetModuleHandleA(nullptr), "BTN_DOWN");
    Arrow.SetTransparent(true);
    C->Draw(W - FBtnAddSize + (FBtnAddSize - Arrow.Width()) / 2 + (Down ? 1 : 0),
            (Height() - Arrow.Height()) / 2 + (Down ? 1 : 0), &Arrow);
  }

  TRect Main = Rect(0, 0, W - FBtnAddSize, H);
  if (FButtonState == 0) Main.Offset(1, 1);
  FGlyph->Draw(C, Main, TPoint{0, 0}, Caption(), FLook.Layout, FLook.Margin, FLook.Spacing, Enabled(), true,
               clNone, FLook.SimpleView, FLook.ShadowPos, FLook.ShadowColor, FLook.ShadowSize,
               DrawTextBiDiModeFlags(0));

  UINT MainEdge = BDR_RAISEDINNER, ArrowEdge = BDR_RAISEDINNER;
  switch (FButtonState) {
    case 0: MainEdge = ArrowEdge = BDR_SUNKENOUTER; break;
    case 1: ArrowEdge = BDR_SUNKENOUTER; break;
    case 2: break;
    default:
      if (FFlat && !HasState(csDesigning)) MainEdge = ArrowEdge = 0;
  }
  RECT M{0, 0, W - FBtnAddSize, H}, A{W - FBtnAddSize, 0, W, H};
  if (MainEdge) DrawEdge(C->Handle(), &M, MainEdge, BF_RECT | BF_ADJUST);
  if (ArrowEdge) DrawEdge(C->Handle(), &A, ArrowEdge, BF_RECT | BF_ADJUST);
  inherited::Paint();
}

// ---------------------------------------------------------------------------------------------
// TCoolPopupButton

void TCoolPopupButton::SetDownMenu(TPopupMenu* Value) {
  if (FDownMenu == Value) return;
  FDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TCoolPopupButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FDownMenu) FDownMenu = nullptr;
}

void TCoolPopupButton::ClickAdd() {
  const TPoint P = LowerLeftOnScreen(this);
  if (!FDownMenu) return;
  // The menu takes the mouse; nothing of the press may keep it afterwards.
  SetMouseCapture(false);
  TrackPopupMenu(FDownMenu->Handle(), PopupMenuFlags(this, FDownMenu), P.X, P.Y, 0, PopupWindow(), nullptr);
}

void TCoolPopupButton::PopupWndProc(TMessage& Message) {
  if (FDownMenu) {
    try {
      if (RoutePopupMenuMessage(FDownMenu, PopupWindow(), Message)) return;
      if (Message.Msg == WM_EXITMENULOOP) DropDownClosed();
    } catch (...) {
      Application->HandleException(this);
    }
  }
  inherited::PopupWndProc(Message);
}

static constinit const TPropInfo TCustomPopupButton_Props[] = {
    PropObject<&TCustomPopupButton::About, &TCustomPopupButton::SetAbout>("About"),
};
ORV_IMPLEMENT_COMPONENT(TCustomPopupButton, TGraphicControl, TCustomPopupButton_Props)

static constinit const TPropInfo TCoolPopupButton_Props[] = {
    PropRef<&TCoolPopupButton::DownMenu, &TCoolPopupButton::SetDownMenu>("DownMenu"),
    ORV_POPUP_BUTTON_PROPS(TCoolPopupButton),
};
ORV_IMPLEMENT_COMPONENT(TCoolPopupButton, TCustomPopupButton, TCoolPopupButton_Props)

// ---------------------------------------------------------------------------------------------
// TCoolPopupButton2

TCoolPopupButton2::TCoolPopupButton2(TComponent* AOwner) : TCoolBtn(AOwner) { SetWidth(119); }

void TCoolPopupButton2::SetDownMenu(TPopupMenu* Value) {
  if (FDownMenu == Value) return;
  FDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TCoolPopupButton2::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FDownMenu) FDownMenu = nullptr;
}

void TCoolPopupButton2::Click() {
  inherited::Click();
  const TPoint P = LowerLeftOnScreen(this);
  if (!FDownMenu) return;
  SetNoFrame(true);
  Update();
  TrackPopupMenu(FDownMenu->Handle(), PopupMenuFlags(this, FDownMenu), P.X, P.Y, 0, Handle(), nullptr);
}

void TCoolPopupButton2::WndProc(TMessage& Message) {
  if (FDownMenu) {
    try {
      if (RoutePopupMenuMessage(FDownMenu, Handle(), Message)) return;
      if (Message.Msg == WM_EXITMENULOOP) SetNoFrame(false);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  inherited::WndProc(Message);
}

static constinit const TPropInfo TCoolPopupButton2_Props[] = {
    PropRef<&TCoolPopupButton2::DownMenu, &TCoolPopupButton2::SetDownMenu>("DownMenu"),
};
ORV_IMPLEMENT_COMPONENT(TCoolPopupButton2, TCoolBtn, TCoolPopupButton2_Props)
