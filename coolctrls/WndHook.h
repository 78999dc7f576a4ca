// Unit CoolUtils, window hooks: TWndHook watches and pre-empts every message of another
// control's window; THookList keeps all hooks of the process and, through a hidden window of its
// own, takes hooks out of their chains and puts them back after their window was made again.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Forms.h"

#include <cstdint>
#include <memory>

using TWinMessageEvent = TClosure<TObject* /*Sender*/, TMessage& /*Msg*/, bool& /*Handled*/>;

// The hook list window's messages.
constexpr unsigned HookListUnhookRequest = 1325;   // wParam: the hook's control, lParam: the hook
constexpr unsigned HookListWindowDestroyed = 1326;  // lParam: the hook whose window was destroyed

// Handle of a hook whose control has no window.
constexpr uintptr_t NoHookHandle = ~uintptr_t(0);

class TWndHook : public TComponent {
  ORV_CLASS(TWndHook, TComponent)
public:
  explicit TWndHook(TComponent* AOwner);
  ~TWndHook() override;
  void Loaded() override;

  // The hook sits in its window's chain. Set while loading, it is installed by Loaded.
  bool Active() const { return FLink.Installed(); }
  void SetActive(bool Value);
  // The control whose window is hooked. A change takes the hook out (the owner sets Active
  // again) and calls OnChangeWinControl with the new control as sender.
  TWinControl* WinControl() const { return FWinControl; }
  void SetWinControl(TWinControl* Value);
  // The control's window as a pointer-sized value, NoHookHandle when it has none (none is made).
  uintptr_t Handle() const;

  // Every message of the window, first (Handled True keeps it from the window, its Result
  // being what the event left) and after the window's procedure. Handled is the message's own.
  TWinMessageEvent OnBeforeMessage;
  TWinMessageEvent OnAfterMessage;
  TNotifyEvent OnChangeWinControl;

  // Installs the hook on the window Handle (nothing for NoHookHandle or where it sits already).
  virtual void HookWnd(uintptr_t Handle);
  // Takes the hook out of its chain and frees its procedure, also without a window: the window
  // gets the previous procedure back while it runs the hook's, a hook calling this one calls
  // what this one called, else this one passes messages on until the window is destroyed.
  virtual void UnhookWnd(uintptr_t Handle);
  virtual void UnhookWndEx(uintptr_t Handle);
  virtual void WndProc(TMessage& Msg);
  // Out of the chain, then installed on the control's window as it is now.
  virtual void RehookWnd();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class THookList;
  TWindowProcHook FLink;
  TWinControl* FWinControl = nullptr;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);  // false once destroyed
  unsigned FOrder = 0;            // when it was installed: the chain's order, bottom first
  bool FRehookPending = false;    // its window died under a living control
  bool FActivateOnLoad = false;
};

// The registry of every hook, in creation order, with its hidden window (AllocateHWnd).
class THookList : public TList {
  ORV_CLASS(THookList, TList)
public:
  THookList();
  ~THookList() override;
  HWND Handle() const { return FHandle; }
private:
  void WndProc(TMessage& Msg);
  // Puts the hooks of Hook's control whose window died back on its window, in their old order.
  void Rehook(TWndHook* Hook);
  HWND FHandle = nullptr;
};

// Null while no hook exists.
extern THookList* HookList;
