// Replacement of a window's procedure by a component, in a chain that other code may also
// hook. Each hook gets its own procedure (a small thunk bound to the hook); removing a hook puts
// the previous procedure back only while the window still runs the hook's own. Otherwise some
// later hook has the hook's procedure as its "previous" one, so the thunk stays in place and
// passes every message on until the window is destroyed.
#pragma once
#include "rtl/Classes.h"
#include "vcl/Win.h"

class TqWindowProcHook {
public:
  // Gets every message of the window; it sets Message.Result, calling CallPrevious for what it
  // leaves to the window. Exceptions it lets out are handed to the framework's handler.
  using THandler = TClosure<TMessage&>;

  TqWindowProcHook() = default;
  ~TqWindowProcHook() { Remove(); }
  TqWindowProcHook(const TqWindowProcHook&) = delete;
  TqWindowProcHook& operator=(const TqWindowProcHook&) = delete;

  // EInvalidOperation when already installed or Wnd is not a window; EOSError when the
  // procedure cannot be replaced.
  void Install(HWND Wnd, THandler Handler);
  void Remove();
  bool Installed() const { return FSlot != nullptr; }
  HWND Window() const;
  // The hook's own procedure while installed (what GWLP_WNDPROC shows while it is on top).
  WNDPROC Procedure() const;
  // The procedure that was in place when the hook was installed.
  LRESULT CallPrevious(TMessage& Message) const;

  // Hooks still passing messages on for their removed owners (for tests).
  static int PassThroughCount();

private:
  struct TSlot;
  // A window procedure whose window argument is the slot (the window is the slot's).
  static LRESULT CALLBACK SlotProc(TSlot* Slot, UINT Msg, WPARAM WParam, LPARAM LParam);
  static TSlot* NewSlot();
  static void FreeSlot(TSlot* Slot);
  TSlot* FSlot = nullptr;
};
