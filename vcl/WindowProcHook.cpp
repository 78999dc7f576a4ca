// Window-procedure hooks that can be taken out of a chain in any order.
#include "vcl/Forms.h"

#include <algorithm>
#include <vector>

// A hook's place in its window's chain. It outlives its hook while it still passes messages on
// or is handling one.
struct TWindowProcHook::TSlot : TObject {
  WNDPROC Code = nullptr;              // this slot's object instance
  HWND Wnd = nullptr;
  WNDPROC Prev = nullptr;
  TWindowProcHook* Owner = nullptr;    // null: passing messages on
  THandler Handler;
  bool InChain = false;                // the stub is (or may be) in the window's chain
  int Depth = 0;                       // messages being handled now

  void WndProc(TMessage& Message);
};

namespace {

using TSlot = TWindowProcHook::TSlot;

// Every slot in a chain, to find the one that calls a slot being removed.
std::vector<TSlot*>& ChainSlots() {
  static std::vector<TSlot*> Slots;
  return Slots;
}
int PassThroughs = 0;

void LeaveChain(TSlot* S) {
  S->InChain = false;
  auto& Slots = ChainSlots();
  Slots.erase(std::remove(Slots.begin(), Slots.end(), S), Slots.end());
}

void FreeSlot(TSlot* S) {
  FreeObjectInstance(S->Code);
  delete S;
}

}  // namespace

int TWindowProcHook::PassThroughCount() { return PassThroughs; }

HWND TWindowProcHook::Window() const { return FSlot ? FSlot->Wnd : nullptr; }

WNDPROC TWindowProcHook::Procedure() const { return FSlot ? FSlot->Code : nullptr; }

WNDPROC TWindowProcHook::Previous() const { return FSlot ? FSlot->Prev : nullptr; }

void TWindowProcHook::Install(HWND Wnd, THandler Handler) {
  if (FSlot) throw EInvalidOperation("The window procedure is already replaced");
  if (!Wnd || !IsWindow(Wnd)) throw EInvalidOperation("Cannot replace the procedure of a window that does not exist");
  auto* S = new TSlot;
  try {
    S->Code = MakeObjectInstance(TWndMethod::Bind<&TSlot::WndProc>(S));
  } catch (...) {
    delete S;
    throw;
  }
  S->Wnd = Wnd;
  S->Owner = this;
  S->Handler = Handler;
  S->Prev = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd, GWLP_WNDPROC));
  SetLastError(0);
  LONG_PTR Old = SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(S->Code));
  if (!Old && GetLastError()) {
    DWORD Err = GetLastError();
    FreeSlot(S);
    throw EOSError("Cannot replace the window procedure (error %d)", {int(Err)});
  }
  S->Prev = reinterpret_cast<WNDPROC>(Old);
  S->InChain = true;
  ChainSlots().push_back(S);
  FSlot = S;
}

void TWindowProcHook::Remove() {
  TSlot* S = FSlot;
  if (!S) return;
  FSlot = nullptr;
  S->Owner = nullptr;
  S->Handler = nullptr;
  if (S->InChain) {
    if (!IsWindow(S->Wnd)) {
      LeaveChain(S);
    } else if (GetWindowLongPtrA(S->Wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(S->Code)) {
      SetWindowLongPtrA(S->Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(S->Prev));
      LeaveChain(S);
    } else {
      auto& Slots = ChainSlots();
      auto Caller = std::find_if(Slots.begin(), Slots.end(),
                                 [S](TSlot* C) { return C->Wnd == S->Wnd && C->Prev == S->Code; });
      if (Caller != Slots.end()) {
        (*Caller)->Prev = S->Prev;
        LeaveChain(S);
      }
    }
  }
  if (S->InChain) ++PassThroughs;
  else if (S->Depth == 0) FreeSlot(S);
}

LRESULT TWindowProcHook::CallPrevious(TMessage& Message) const {
  if (!FSlot) return 0;
  return CallWindowProcA(FSlot->Prev, FSlot->Wnd, Message.Msg, WPARAM(Message.WParam), LPARAM(Message.LParam));
}

TWindowProcHook::TLink TWindowProcHook::CurrentLink() const {
  TLink L;
  L.FSlot = FSlot;
  return L;
}

LRESULT TWindowProcHook::TLink::CallPrevious(TMessage& Message) const {
  if (!FSlot) return 0;
  return CallWindowProcA(FSlot->Prev, FSlot->Wnd, Message.Msg, WPARAM(Message.WParam), LPARAM(Message.LParam));
}

void TSlot::WndProc(TMessage& Message) {
  ++Depth;
  if (Owner) {
    const THandler H = Handler;  // the owner may remove the hook while it runs
    try {
      H(Message);
    } catch (...) {
      HandleVclException(H.Object());
    }
  } else {
    Message.Result = CallWindowProcA(Prev, Wnd, Message.Msg, WPARAM(Message.WParam), LPARAM(Message.LParam));
  }
  --Depth;
  if (Message.Msg == WM_NCDESTROY && InChain) {
    // The last message of the window: nothing will call the stub again.
    LeaveChain(this);
    if (Owner) {
      Owner->FSlot = nullptr;
      Owner = nullptr;
      Handler = nullptr;
    } else {
      --PassThroughs;
    }
  }
  if (!InChain && !Owner && Depth == 0) FreeSlot(this);
}
