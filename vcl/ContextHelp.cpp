// Context help: WM_HELP (F1 in a focused window) climbs to the top-level control, which asks the
// application for the topic of the control the request is about, or of its nearest parent
// with one.
#include "vcl/Controls.h"
#include "vcl/Forms.h"

namespace {

// The control of a window, or of the nearest parent window that has one (a combo box's edit).
TControl* ControlOfWindow(HWND Wnd) {
  for (; Wnd; Wnd = GetParent(Wnd))
    if (TWinControl* C = FindControl(Wnd)) return C;
  return nullptr;
}

}  // namespace

void TWinControl::WMHelp(TMessage& Message) {
  auto* Info = reinterpret_cast<HELPINFO*>(Message.LParam);
  if (HasState(csDesigning) || !Info || Info->iContextType != HELPINFO_WINDOW) {
    DefaultHandler(Message);
    return;
  }
  // The parent chain decides, up to the top-level control.
  if (TWinControl* P = Parent()) {
    Message.Result = P->Perform(WM_HELP, Message.WParam, Message.LParam);
    return;
  }
  TControl* C = ControlOfWindow(static_cast<HWND>(Info->hItemHandle));
  if (!C || !ContainsControl(C)) C = this;
  while (C && C->HelpContext() == 0) C = C->Parent();
  Message.Result = 1;
  if (!C || !Application) return;
  auto* Form = dynamic_cast<TCustomForm*>(this);
  if (Form && (Form->BorderIcons() & (1u << biHelp)))
    Application->HelpCommand(HELP_CONTEXTPOPUP, C->HelpContext());
  else
    Application->HelpContext(C->HelpContext());
}
