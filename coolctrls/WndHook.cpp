#include "coolctrls/WndHook.h"

#include <algorithm>
#include <vector>

THookList* HookList = nullptr;

namespace {
unsigned InstallCount = 0;
}

// ---------------------------------------------------------------------------------------------
// TWndHook

TWndHook::TWndHook(TComponent* AOwner) : TComponent(AOwner) {
  if (!HookList) HookList = new THookList;
  HookList->Add(this);
}

TWndHook::~TWndHook() {
  *FAlive = false;
  try {
    SetWinControl(nullptr);
  } catch (...) {
    HandleVclException(nullptr);
  }
  FLink.Remove();
  if (HookList) {
    HookList->Remove(this);
    if (HookList->Count() == 0) {
      delete HookList;
      HookList = nullptr;
    }
  }
}

void TWndHook::Loaded() {
  TComponent::Loaded();
  if (FActivateOnLoad) {
    FActivateOnLoad = false;
    SetActive(true);
  }
}

uintptr_t TWndHook::Handle() const {
  return FWinControl && FWinControl->HandleAllocated() ? reinterpret_cast<uintptr_t>(FWinControl->WindowHandle())
                                                       : NoHookHandle;
}

void TWndHook::SetActive(bool Value) {
  if (HasState(csLoading)) {
    FActivateOnLoad = Value;
    return;
  }
  if (Active() == Value) return;
  if (Value) HookWnd(Handle());
  else if (HookList)
    SendMessageA(HookList->Handle(), HookListUnhookRequest, WPARAM(FWinControl), reinterpret_cast<LPARAM>(this));
}

void TWndHook::SetWinControl(TWinControl* Value) {
  if (FWinControl == Value) return;
  if (HookList)
    SendMessageA(HookList->Handle(), HookListUnhookRequest, WPARAM(FWinControl), reinterpret_cast<LPARAM>(this));
  if (FWinControl) FWinControl->RemoveFreeNotification(this);
  FWinControl = Value;
  FRehookPending = false;
  if (Value) Value->FreeNotification(this);
  if (OnChangeWinControl) OnChangeWinControl(Value);
}

void TWndHook::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FWinControl) SetWinControl(nullptr);
}

void TWndHook::HookWnd(uintptr_t Handle) {
  if (Handle == NoHookHandle || !Handle) return;
  HWND Wnd = reinterpret_cast<HWND>(Handle);
  if (FLink.Installed()) {
    if (FLink.Window() == Wnd) return;
    FLink.Remove();
  }
  FLink.Install(Wnd, TWindowProcHook::THandler::Bind<&TWndHook::WndProc>(this));
  FOrder = ++InstallCount;
  FRehookPending = false;
}

void TWndHook::UnhookWnd(uintptr_t) { FLink.Remove(); }

void TWndHook::UnhookWndEx(uintptr_t) { FLink.Remove(); }

void TWndHook::RehookWnd() {
  if (HookList)
    SendMessageA(HookList->Handle(), HookListUnhookRequest, WPARAM(FWinControl), reinterpret_cast<LPARAM>(this));
  HookWnd(Handle());
}

void TWndHook::WndProc(TMessage& Msg) {
  // Both stay valid for this message even if an event frees the hook.
  const TWindowProcHook::TLink Link = FLink.CurrentLink();
  const std::shared_ptr<bool> Alive = FAlive;
  bool Handled = false;
  try {
    if (Msg.Msg == WM_DESTROY && HookList && FWinControl && !FWinControl->HasState(csDestroying)) {
      // The window goes under a living control: it comes back once the control has a new one.
      FRehookPending = true;
      PostMessageA(HookList->Handle(), HookListWindowDestroyed, 0, reinterpret_cast<LPARAM>(this));
    }
    if (OnBeforeMessage) OnBeforeMessage(this, Msg, Handled);
    if (!Handled) Msg.Result = Link.CallPrevious(Msg);
    if (*Alive && OnAfterMessage && HookList && HookList->IndexOf(this) >= 0) OnAfterMessage(this, Msg, Handled);
  } catch (...) {
    HandleVclException(*Alive ? this : nullptr);
  }
}

static constinit const TPropInfo TWndHook_Props[] = {
    PropBool<&TWndHook::Active, &TWndHook::SetActive>("Active", false),
    PropRef<&TWndHook::WinControl, &TWndHook::SetWinControl>("WinControl"),
    OrdinalProp<&TWndHook::Handle, nullptr>("Handle", tkInt64, "NativeUInt", nullptr, false, 0),
    PropEvent<&TWndHook::OnBeforeMessage>("OnBeforeMessage"),
    PropEvent<&TWndHook::OnAfterMessage>("OnAfterMessage"),
    PropEvent<&TWndHook::OnChangeWinControl>("OnChangeWinControl"),
};
ORV_IMPLEMENT_COMPONENT(TWndHook, TComponent, TWndHook_Props)

// ---------------------------------------------------------------------------------------------
// THookList

THookList::THookList() : FHandle(AllocateHWnd(TWndMethod::Bind<&THookList::WndProc>(this))) {}

THookList::~THookList() { DeallocateHWnd(FHandle); }

void THookList::WndProc(TMessage& Msg) {
  auto* Hook = reinterpret_cast<TWndHook*>(Msg.LParam);
  switch (Msg.Msg) {
    case HookListUnhookRequest:
      if (Hook && Hook->Active()) Hook->UnhookWnd(Hook->Handle());
      break;
    case HookListWindowDestroyed:
      if (Hook && IndexOf(Hook) >= 0 && Hook->FRehookPending) Rehook(Hook);
      break;
    default: Msg.Result = DefWindowProcA(FHandle, Msg.Msg, Msg.WParam, Msg.LParam);
  }
}

void THookList::Rehook(TWndHook* Hook) {
  std::vector<TWndHook*> Hooks;
  for (int I = 0; I < Count(); ++I) {
    auto* H = static_cast<TWndHook*>(Items(I));
    if (H->FRehookPending && H->FWinControl == Hook->FWinControl) Hooks.push_back(H);
  }
  std::sort(Hooks.begin(), Hooks.end(), [](TWndHook* A, TWndHook* B) { return A->FOrder < B->FOrder; });
  for (TWndHook* H : Hooks) H->FRehookPending = false;
  for (TWndHook* H : Hooks)
    if (IndexOf(H) >= 0) H->RehookWnd();  // an earlier one's rehooking may have freed it
}

ORV_IMPLEMENT_CLASS(THookList, TList)

namespace {
struct TWndHookUnit {
  TWndHookUnit() { RegisterClasses({TWndHook::StaticClass()}); }
} WndHookUnit;
}  // namespace
