#include "coolctrls/CoolCtrls.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------------------------
// TCoolListBoxEx

void TCoolListBoxEx::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE: WMMouseActivate(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolListBoxEx::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WndParent = Application->Handle();
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL;
}

void TCoolListBoxEx::WMMouseActivate(TMessage& Message) {
  if ((Message.LParam & 0xFFFF) == HTVSCROLL) {
    Message.Result = MA_NOACTIVATE;
    FClickedInList = false;
  } else {
    Message.Result = MA_NOACTIVATEANDEAT;
    FClickedInList = true;
  }
}

void TCoolListBoxEx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (ItemIndex() != -1) Click();
}

void TCoolListBoxEx::KeyUp(unsigned short& Key, TShiftState Shift) {
  inherited::KeyUp(Key, Shift);
  if (ItemIndex() != -1) Click();
}

ORV_IMPLEMENT_COMPONENT_NOPROPS(TCoolListBoxEx, TCoolListBox)

// ---------------------------------------------------------------------------------------------
// The watch

namespace {
class TWatch : public TObject {
  ORV_CLASS(TWatch, TObject)
public:
  std::vector<TMessageEvent> Boxes;  // oldest first
  TMessageEvent Previous;
  bool Installed = false;

  TMessageEvent Own() { return TMessageEvent::Bind<&TWatch::AppMessage>(this); }
  void AppMessage(MSG& Msg, bool& Handled) {
    // A box may go (or come) while another one handles the message: only live ones are called.
    const std::vector<TMessageEvent> Now = Boxes;
    for (auto It = Now.rbegin(); It != Now.rend(); ++It)
      if (std::find(Boxes.begin(), Boxes.end(), *It) != Boxes.end()) (*It)(Msg, Handled);
    if (Previous) Previous(Msg, Handled);
  }
};
ORV_IMPLEMENT_CLASS(TWatch, TObject)

TWatch& Watch() {
  static TWatch W;
  return W;
}
}  // namespace

void PopupBoxWatch::Add(const TMessageEvent& Box) {
  TWatch& W = Watch();
  W.Boxes.push_back(Box);
  if (W.Installed) return;
  W.Previous = Application->OnMessage;
  Application->OnMessage = W.Own();
  W.Installed = true;
}

void PopupBoxWatch::Remove(const TMessageEvent& Box) {
  TWatch& W = Watch();
  W.Boxes.erase(std::remove(W.Boxes.begin(), W.Boxes.end(), Box), W.Boxes.end());
  if (!W.Boxes.empty() || !W.Installed || !(Application->OnMessage == W.Own())) return;
  Application->OnMessage = W.Previous;
  W.Previous = nullptr;
  W.Installed = false;
}

int PopupBoxWatch::Count() { return int(Watch().Boxes.size()); }

// ---------------------------------------------------------------------------------------------
// TPopupBoxList

// The list is the box's own, not a component of its owner's tree: it goes with the box.
TPopupBoxList::TPopupBoxList(TNotifyEvent OnListClick) : FList(TComponent::Create<TCoolListBoxEx>(nullptr)) {
  FList->SetIntegralHeight(true);
  FList->SetHotTray(true);
  FList->OnClick = OnListClick;
}

TPopupBoxList::~TPopupBoxList() { TObject::Free(FList); }

void TPopupBoxList::Show(TPoint At, int Width, TFont* Font) {
  FList->SetFont(Font);
  SetWindowPos(FList->Handle(), HWND_TOP, At.X, At.Y, Width, 100, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TPopupBoxList::Hide() const {
  if (FList->HandleAllocated()) ShowWindow(FList->WindowHandle(), SW_HIDE);
}

bool TPopupBoxList::IsCloseMsg(const MSG& Msg) {
  switch (Msg.message) {
    case WM_SYSKEYDOWN:
    case WM_COMMAND:
    case CM_ACTIVATE:
    case CM_DEACTIVATE:
    case CM_APPKEYDOWN:
    case CM_APPSYSCOMMAND: return true;
    default:
      return (Msg.message >= WM_LBUTTONDOWN && Msg.message <= 0x020A) ||
             (Msg.message >= WM_NCLBUTTONDOWN && Msg.message <= WM_NCMBUTTONDBLCLK);
  }
}

bool TPopupBoxList::Forward(MSG& Msg, bool& Handled) const {
  if ((Msg.message == WM_LBUTTONDOWN || Msg.message == WM_LBUTTONUP) && Visible())
    FList->Perform(Msg.message, uintptr_t(Msg.wParam), intptr_t(Msg.lParam));
  if ((Msg.message == WM_KEYDOWN || Msg.message == WM_KEYUP) && Visible()) {
    switch (Msg.wParam) {
      case VK_PRIOR:
      case VK_NEXT:
      case VK_UP:
      case VK_DOWN: FList->Perform(Msg.message, uintptr_t(Msg.wParam), intptr_t(Msg.lParam)); break;
    }
    Handled = true;
    return Msg.message == WM_KEYDOWN && (Msg.wParam == VK_RETURN || Msg.wParam == VK_ESCAPE);
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// TCoolPopupBox

TCoolPopupBox::TCoolPopupBox(TComponent* AOwner)
    : TCustomPopupButton(AOwner), FDrop(TNotifyEvent::Bind<&TCoolPopupBox::Change>(this)) {
  SetWidth(150);
  if (!HasState(csDesigning)) {
    PopupBoxWatch::Add(TMessageEvent::Bind<&TCoolPopupBox::AppMessage>(this));
    FWatching = true;
  }
}

TCoolPopupBox::~TCoolPopupBox() {
  if (FWatching) PopupBoxWatch::Remove(TMessageEvent::Bind<&TCoolPopupBox::AppMessage>(this));
}

void TCoolPopupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      List()->SetEnabled(Enabled());
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      List()->SetFont(Font());
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // The arrow part stays pressed while the list is open.
      if (!DroppedDown()) inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolPopupBox::ClickAdd() { FDrop.Show(LowerLeftOnScreen(this), Width(), Font()); }

void TCoolPopupBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  FOpeningClick = true;
}

void TCoolPopupBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FOpeningClick = false;
}

void TCoolPopupBox::CloseUp() {
  FDrop.Hide();
  DropDownClosed();
}

void TCoolPopupBox::Change(TObject*) {
  if (OnChange) OnChange(this);
}

void TCoolPopupBox::AppMessage(MSG& Msg, bool& Handled) {
  if (FDrop.Visible() && TPopupBoxList::IsCloseMsg(Msg) && !FOpeningClick) CloseUp();
  if (FDrop.Forward(Msg, Handled)) CloseUp();
}

static constinit const TPropInfo TCoolPopupBox_Props[] = {
    PropObject<&TCoolPopupBox::Items, &TCoolPopupBox::SetItems>("Items"),
    PropEvent<&TCoolPopupBox::OnChange>("OnChange"),
    ORV_POPUP_BUTTON_PROPS(TCoolPopupBox),
};
ORV_IMPLEMENT_COMPONENT(TCoolPopupBox, TCustomPopupButton, TCoolPopupBox_Props)

// ---------------------------------------------------------------------------------------------
// TCoolPopupBox2

TCoolPopupBox2::TCoolPopupBox2(TComponent* AOwner)
    : TCoolBtn(AOwner), FDrop(TNotifyEvent::Bind<&TCoolPopupBox2::Change>(this)) {
  SetWidth(119);
  if (!HasState(csDesigning)) {
    PopupBoxWatch::Add(TMessageEvent::Bind<&TCoolPopupBox2::AppMessage>(this));
    FWatching = true;
  }
}

TCoolPopupBox2::~TCoolPopupBox2() {
  if (FWatching) PopupBoxWatch::Remove(TMessageEvent::Bind<&TCoolPopupBox2::AppMessage>(this));
}

void TCoolPopupBox2::Click() {
  inherited::Click();
  FDrop.Show(LowerLeftOnScreen(this), Width(), Font());
  SetNoFrame(true);
}

void TCoolPopupBox2::CloseUp() {
  FDrop.Hide();
  SetNoFrame(false);
}

void TCoolPopupBox2::Change(TObject*) {
  if (OnChange) OnChange(this);
}

void TCoolPopupBox2::AppMessage(MSG& Msg, bool& Handled) {
  if (FDrop.Visible() && TPopupBoxList::IsCloseMsg(Msg) &&
      !(Msg.hwnd == List()->WindowHandle() && !List()->ClickedInList()))
    CloseUp();
  if (FDrop.Forward(Msg, Handled)) CloseUp();
}

static constinit const TPropInfo TCoolPopupBox2_Props[] = {
    PropObject<&TCoolPopupBox2::Items, &TCoolPopupBox2::SetItems>("Items"),
    PropEvent<&TCoolPopupBox2::OnChange>("OnChange"),
};
ORV_IMPLEMENT_COMPONENT(TCoolPopupBox2, TCoolBtn, TCoolPopupBox2_Props)
