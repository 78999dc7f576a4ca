#include "vcl/ActnList.h"

#include <algorithm>

namespace {
[[noreturn]] void InvalidCast() { throw EInvalidCast("Invalid class typecast"); }
}  // namespace

// ---------------------------------------------------------------------------------------------
// TBasicActionLink

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  if (Value) Value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  struct TReset {
    TBasicAction* A;
    ~TReset() { A->SetActionComponent(nullptr); }
  } Reset{FAction};
  FAction->SetActionComponent(AComponent);
  return Reset.A->Execute();
}

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

ORV_IMPLEMENT_CLASS(TBasicActionLink, TObject)

// ---------------------------------------------------------------------------------------------
// TBasicAction

TBasicAction::~TBasicAction() {
  while (!FClients.empty()) FClients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link) {
  if (!Link || std::find(FClients.begin(), FClients.end(), Link) != FClients.end()) return;
  Link->FAction = this;
  FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link) {
  auto It = std::find(FClients.begin(), FClients.end(), Link);
  if (It == FClients.end()) return;
  Link->FAction = nullptr;
  FClients.erase(It);
}

void TBasicAction::Change() {
  // A handler may unregister links: walk a copy, skipping those gone meanwhile.
  std::vector<TBasicActionLink*> Links = FClients;
  for (TBasicActionLink* L : Links)
    if (std::find(FClients.begin(), FClients.end(), L) != FClients.end()) L->Change();
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

ORV_IMPLEMENT_CLASS(TBasicAction, TComponent)

// ---------------------------------------------------------------------------------------------
// TCustomAction: each setter tells the links first (they compare the client with the old
// value), then stores and announces the change.

namespace {
template <class F> void ForEachActionLink(TBasicAction* Action, F Fn) {
  for (int I = 0; I < Action->ClientCount(); ++I)
    if (auto* L = dynamic_cast<TActionLink*>(Action->Clients(I))) Fn(L);
}
}  // namespace

TCustomAction::~TCustomAction() { SetActionList(nullptr); }

bool TCustomAction::Execute() { return FEnabled && TBasicAction::Execute(); }

void TCustomAction::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  ForEachActionLink(this, [&](TActionLink* L) { L->SetCaption(Value); });
  FCaption = Value;
  Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value) return;
  ForEachActionLink(this, [&](TActionLink* L) { L->SetChecked(Value); });
  FChecked = Value;
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  ForEachActionLink(this, [&](TActionLink* L) { L->SetEnabled(Value); });
  FEnabled = Value;
  Change();
}

void TCustomAction::SetHint(const AnsiString& Value) {
  if (FHint == Value) return;
  ForEachActionLink(this, [&](TActionLink* L) { L->SetHint(Value); });
  FHint = Value;
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  ForEachActionLink(this, [&](TActionLink* L) { L->SetVisible(Value); });
  FVisible = Value;
  Change();
}

void TCustomAction::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Change();
}

void TCustomAction::SetActionList(TCustomActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) {
    auto& A = FActionList->FActions;
    A.erase(std::remove(A.begin(), A.end(), this), A.end());
  }
  FActionList = Value;
  if (Value) Value->FActions.push_back(this);
}

TComponent* TCustomAction::GetParentComponent() const {
  if (FActionList) return FActionList;
  return TBasicAction::GetParentComponent();
}

void TCustomAction::SetParentComponent(TComponent* Value) {
  if (auto* List = dynamic_cast<TCustomActionList*>(Value)) SetActionList(List);
}

ORV_IMPLEMENT_CLASS(TCustomAction, TBasicAction)

static constinit const TPropInfo TAction_Props[] = {
    PropStr<&TCustomAction::Caption, &TCustomAction::SetCaption>("Caption"),
    PropBool<&TCustomAction::Checked, &TCustomAction::SetChecked>("Checked", false),
    PropBool<&TCustomAction::Enabled, &TCustomAction::SetEnabled>("Enabled", true),
    PropStr<&TCustomAction::Hint, &TCustomAction::SetHint>("Hint"),
    PropInt<&TCustomAction::ImageIndex, &TCustomAction::SetImageIndex>("ImageIndex", -1),
    PropBool<&TCustomAction::Visible, &TCustomAction::SetVisible>("Visible", true),
    PropEvent<&TBasicAction::OnExecute>("OnExecute"),
};
ORV_IMPLEMENT_COMPONENT(TAction, TCustomAction, TAction_Props)

// ---------------------------------------------------------------------------------------------
// TCustomActionList

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner), FImageChangeLink(new TChangeLink()) {
  FImageChangeLink->OnChange = TNotifyEvent::Bind<&TCustomActionList::ImagesChanged>(this);
}

TCustomActionList::~TCustomActionList() {
  while (!FActions.empty()) TObject::Free(FActions.back());
  TObject::Free(FImageChangeLink);
}

TCustomAction* TCustomActionList::Actions(int Index) const {
  if (Index < 0 || Index >= ActionCount()) throw EListError("List index out of bounds (%d)", {Index});
  return FActions[size_t(Index)];
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageChangeLink);
    FImages->RemoveFreeNotification(this);
  }
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink);
    FImages->FreeNotification(this);
  }
  Change();
}

void TCustomActionList::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (TCustomAction* A : FActions)
    if (A->Owner() == Root) Proc(A);
}

void TCustomActionList::Change() {
  if (OnChange && !HasState(csDestroying)) OnChange(this);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FImages) SetImages(nullptr);
}

ORV_IMPLEMENT_CLASS(TCustomActionList, TComponent)

static constinit const TPropInfo TActionList_Props[] = {
    PropRef<&TCustomActionList::Images, &TCustomActionList::SetImages>("Images"),
    PropEvent<&TCustomActionList::OnChange>("OnChange"),
};
ORV_IMPLEMENT_COMPONENT(TActionList, TCustomActionList, TActionList_Props)

// ---------------------------------------------------------------------------------------------
// TActionLink

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }

ORV_IMPLEMENT_CLASS(TActionLink, TBasicActionLink)

// ---------------------------------------------------------------------------------------------
// TControlActionLink

void TControlActionLink::AssignClient(TObject* AClient) {
  auto* C = dynamic_cast<TControl*>(AClient);
  if (!C) InvalidCast();
  FClient = C;
}

bool TControlActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && FClient && FClient->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && FClient && FClient->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && FClient && FClient->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && FClient && FClient->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() {
  return Action() && FClient && FClient->OnClick == Action()->OnExecute;
}

void TControlActionLink::SetCaption(const AnsiString& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

ORV_IMPLEMENT_CLASS(TControlActionLink, TActionLink)

namespace {
struct TActnListUnit {
  TActnListUnit() { RegisterClasses({TAction::StaticClass(), TActionList::StaticClass()}); }
} ActnListUnit;
}  // namespace
