#include "suite/Std2FormHook.h"

TqFormHook::~TqFormHook() { Detach(); }

void TqFormHook::Attach(TForm* Form, TWindowProcHook::THandler Handler, TNotifyEvent OnHooked, TTarget Target) {
  Detach();
  Form->HandleNeeded();
  FForm = Form;
  FHandler = Handler;
  FOnHooked = OnHooked;
  FTarget = Target;
  Install(TargetWindow());
}

HWND TqFormHook::TargetWindow() const { return FTarget ? FTarget(FForm) : FForm->WindowHandle(); }

void TqFormHook::Detach() {
  Unwatch();
  FHook.Remove();
  FForm = nullptr;
  FHandler = nullptr;
  FOnHooked = nullptr;
  FTarget = nullptr;
}

void TqFormHook::Install(HWND Wnd) {
  FHook.Install(Wnd, TWindowProcHook::THandler::Bind<&TqFormHook::HookProc>(this));
  if (FOnHooked) FOnHooked(this);
}

void TqFormHook::HookProc(TMessage& Message) {
  const TWindowProcHook::THandler H = FHandler;
  if (H) H(Message);
  else Message.Result = FHook.CurrentLink().CallPrevious(Message);
  // The form lives on and may make a new window: hook that one when it comes.
  if (Message.Msg == WM_NCDESTROY && FForm && !FForm->HasState(csDestroying)) Watch();
}

// Watching the form's WindowProc follows the framework's chaining: the saved procedure is
// called for every message and put back once the new window is hooked.
void TqFormHook::Watch() {
  if (FWatching) return;
  FFormWindowProc = FForm->WindowProc;
  FForm->WindowProc = TWndMethod::Bind<&TqFormHook::FormWindowProc>(this);
  FWatching = true;
}

void TqFormHook::Unwatch() {
  if (!FWatching) return;
  const TWndMethod Mine = TWndMethod::Bind<&TqFormHook::FormWindowProc>(this);
  // Other form hooks may watch over this one: take this one out of the links.
  for (TWndMethod* Link = &FForm->WindowProc;;) {
    if (*Link == Mine) {
      *Link = FFormWindowProc;
      FWatching = false;
      return;
    }
    auto* Upper = dynamic_cast<TqFormHook*>(Link->Object());
    if (!Upper || !Upper->FWatching) return;  // under a foreign link that holds this one
    Link = &Upper->FFormWindowProc;
  }
}

void TqFormHook::FormWindowProc(TMessage& Message) {
  const TWndMethod Next = FFormWindowProc;
  Next(Message);
  if (!FWatching) return;
  if (!FHook.Installed()) {
    HWND Wnd = TargetWindow();
    if (!Wnd || !IsWindow(Wnd)) return;
    try {
      Install(Wnd);
    } catch (...) {
      Unwatch();
      throw;
    }
  }
  // Also tried again on later messages while a foreign link above holds this one.
  Unwatch();
}

ORV_IMPLEMENT_CLASS(TqFormHook, TObject)
