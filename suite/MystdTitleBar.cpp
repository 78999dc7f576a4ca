#include "suite/MystdTitleBar.h"

#include "rtl/TypInfo.h"
#include "suite/MystdRoutines.h"

namespace {
bool CaptionIn(LONG_PTR Style) { return (Style & WS_CAPTION) == WS_CAPTION; }
}  // namespace

TqTitleBar::TqTitleBar(TComponent* AOwner) : TComponent(AOwner) {}

TqTitleBar::~TqTitleBar() { FHook.Detach(); }

bool TqTitleBar::IsShowTitleBar() {
  TForm* Form = FindForm(this);
  return CaptionIn(GetWindowLongPtrA(Form->Handle(), GWL_STYLE));
}

void TqTitleBar::SetTitleBar(bool Show) {
  TForm* Form = FindForm(this);
  if (!HasState(csDesigning) && Form->BorderStyle() != bsNone) {
    HWND Wnd = Form->Handle();
    const LONG_PTR Old = GetWindowLongPtrA(Wnd, GWL_STYLE);
    LONG_PTR Style = Old;
    const bool Dialog = Form->BorderStyle() == bsDialog;
    const bool Plain = Form->BorderStyle() == bsSingle || Form->BorderStyle() == bsSizeable;
    if (Show && !CaptionIn(Old)) {
      if (Plain) Style |= WS_CAPTION;
      if (Dialog) Style |= WS_CAPTION | DS_MODALFRAME;
    } else if (!Show && CaptionIn(Old)) {
      if (Plain) Style = (Style & ~LONG_PTR(WS_CAPTION)) | WS_BORDER;
      if (Dialog) Style = (Style & ~LONG_PTR(WS_CAPTION | DS_MODALFRAME)) | WS_DLGFRAME | DS_MODALFRAME;
    }
    if (Style != Old) {
      SetWindowLongPtrA(Wnd, GWL_STYLE, Style);
      SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The height follows only a caption that really came or went.
    if (CaptionIn(Style) != CaptionIn(Old))
      Form->SetHeight(Form->Height() + (CaptionIn(Style) ? 1 : -1) * GetSystemMetrics(SM_CYCAPTION));
    DoOnChange();
    Form->Refresh();
  }
  FShown = IsShowTitleBar();
}

void TqTitleBar::DoOnChange() {
  if (OnChange) OnChange(this);
}

void TqTitleBar::Loaded() {
  TComponent::Loaded();
  if (HasState(csDesigning) || FHook.Installed()) return;
  SetTitleBar(FTitleBarOnFormShow);
  FHook.Attach(FindForm(this), TWindowProcHook::THandler::Bind<&TqTitleBar::HookProc>(this),
               TNotifyEvent::Bind<&TqTitleBar::FormHooked>(this));
}

// A window the form makes again has the form's own caption: read it again.
void TqTitleBar::FormHooked(TObject*) { FShown = CaptionIn(GetWindowLongPtrA(FHook.Window(), GWL_STYLE)); }

void TqTitleBar::HookProc(TMessage& Message) {
  Message.Result = FHook.CurrentLink().CallPrevious(Message);
  if (Message.Msg == WM_NCHITTEST && FAllowMove && !FShown && Message.Result == HTCLIENT) Message.Result = HTCAPTION;
}

static constinit const TPropInfo TqTitleBar_Props[] = {
    PropBool<&TqTitleBar::AllowMoveWhitoutTitle, &TqTitleBar::SetAllowMoveWhitoutTitle>("AllowMoveWhitoutTitle", true),
    PropEvent<&TqTitleBar::OnChange>("OnChange"),
    PropBool<&TqTitleBar::TitleBarOnFormShow, &TqTitleBar::SetTitleBarOnFormShow>("TitleBarOnFormShow", true),
};
ORV_IMPLEMENT_COMPONENT(TqTitleBar, TComponent, TqTitleBar_Props)

namespace {
const struct TTitleBarRegistration {
  TTitleBarRegistration() { RegisterClass(TqTitleBar::StaticClass()); }
} TitleBarRegistration;
}  // namespace
