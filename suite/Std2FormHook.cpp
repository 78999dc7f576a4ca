#include "suite/Std2FormHook.h"

#include <utility>

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

// The link a watching hook puts into its form's WindowProc chain, following the framework's
// chaining: it calls the procedure it saved for every message, then lets its hook look for the
// new window. A foreign WindowProc may keep it after the hook is gone: it then only passes
// messages on, and goes with the form.
class TqFormHookLink : public TComponent {
  ORV_CLASS(TqFormHookLink, TComponent)
public:
  explicit TqFormHookLink(TComponent* AOwner) : TComponent(AOwner) {}

  TqFormHook* Hook = nullptr;  // null: passing messages on
  TWndMethod Saved;

  TWndMethod Method() { return TWndMethod::Bind<&TqFormHookLink::WindowProc>(this); }
  // Out of the chain (or the form gone): freed now, or once the message it handles returns.
  void Release() {
    Hook = nullptr;
    if (FDepth > 0) FReleased = true;
    else TObject::Free(this);
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != FForm) return;
    if (FForm->WindowProc == Method()) FForm->WindowProc = Saved;
    if (Hook) Hook->FLink = nullptr;
    Release();
  }

private:
  friend class TqFormHook;
  void WindowProc(TMessage& Message) {
    struct TDepth {
      TqFormHookLink* L;
      explicit TDepth(TqFormHookLink* Link) : L(Link) { ++L->FDepth; }
      ~TDepth() {
        if (--L->FDepth == 0 && L->FReleased) TObject::Free(L);
      }
    } Depth(this);
    const TWndMethod Next = Saved;
    Next(Message);
    if (Hook && !FReleased) Hook->FormMessage();
  }

  TForm* FForm = nullptr;
  int FDepth = 0;
  bool FReleased = false;
};

ORV_IMPLEMENT_CLASS(TqFormHookLink, TComponent)

void TqFormHook::Watch() {
  if (FLink) return;
  auto* Link = TComponent::Create<TqFormHookLink>(nullptr);
  Link->Hook = this;
  Link->FForm = FForm;
  Link->Saved = FForm->WindowProc;
  Link->FreeNotification(FForm);
  FForm->WindowProc = Link->Method();
  FLink = Link;
}

void TqFormHook::Unwatch() {
  TqFormHookLink* Link = std::exchange(FLink, nullptr);
  if (!Link) return;
  // Other form hooks' links may lie over this one: take it out of the chain.
  const TWndMethod Mine = Link->Method();
  for (TWndMethod* At = &FForm->WindowProc;;) {
    if (*At == Mine) {
      *At = Link->Saved;
      Link->Release();
      return;
    }
    auto* Upper = dynamic_cast<TqFormHookLink*>(At->Object());
    if (!Upper) break;
    At = &Upper->Saved;
  }
  // A foreign link holds this one: it passes messages on from now.
  Link->Hook = nullptr;
}

// After each message of the watched form: hooks the form's new window once it exists.
void TqFormHook::FormMessage() {
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
