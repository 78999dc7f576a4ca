// A hook on a form's window that follows the form: a window the form makes in place of the
// hooked one (RecreateWnd) is hooked in its turn.
#pragma once
#include "vcl/Forms.h"

class TqFormHookLink;

class TqFormHook : public TObject {
  ORV_CLASS(TqFormHook, TObject)
public:
  TqFormHook() = default;
  ~TqFormHook() override;

  // The window of a form to hook (the form's own when none is given).
  using TTarget = HWND (*)(TForm* Form);

  // Hooks Form's window (made when it has none). Handler gets every message as a hook's
  // handler does; OnHooked runs after each install, the first one too.
  void Attach(TForm* Form, TWindowProcHook::THandler Handler, TNotifyEvent OnHooked = nullptr,
              TTarget Target = nullptr);
  // Takes the hook off (in any order with other hooks) and stops following the form.
  void Detach();

  bool Installed() const { return FHook.Installed(); }
  HWND Window() const { return FHook.Window(); }
  TForm* Form() const { return FForm; }
  // The previous procedure for the message being handled; take it in the handler.
  TWindowProcHook::TLink CurrentLink() const { return FHook.CurrentLink(); }
  LRESULT CallPrevious(TMessage& Message) const { return FHook.CallPrevious(Message); }

private:
  friend class TqFormHookLink;
  HWND TargetWindow() const;
  void Install(HWND Wnd);
  void HookProc(TMessage& Message);
  void Watch();
  void Unwatch();
  void FormMessage();

  TWindowProcHook FHook;
  TForm* FForm = nullptr;
  TWindowProcHook::THandler FHandler;
  TNotifyEvent FOnHooked;
  TTarget FTarget = nullptr;
  TqFormHookLink* FLink = nullptr;  // in the form's WindowProc chain while watching
};
