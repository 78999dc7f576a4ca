#include "vcl/ExtCtrls.h"
#include "vcl/GdiGuards.h"
#include "vcl/Menus.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TGroupButton

TGroupButton::TGroupButton(TCustomRadioGroup* AGroup) : TRadioButton(AGroup), FGroup(AGroup) {
  SetEnabled(AGroup->Enabled());
  SetParentShowHint(false);
  SetParent(AGroup);
}

TGroupButton::~TGroupButton() {
  auto& List = FGroup->FButtons;
  List.erase(std::remove(List.begin(), List.end(), this), List.end());
}

void TGroupButton::Click() {
  TRadioButton::Click();
  FGroup->ButtonClick(this);
}

void TGroupButton::DblClick() {
  TRadioButton::DblClick();
  FGroup->DblClick();
}

ORV_IMPLEMENT_CLASS(TGroupButton, TRadioButton)

// ---------------------------------------------------------------------------------------------
// TCustomRadioGroup

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  FItems = New<TStringList>();
  FItems->OnChange = TNotifyEvent::Bind<&TCustomRadioGroup::ItemsChange>(this);
}

TCustomRadioGroup::~TCustomRadioGroup() {
  FItems->OnChange = nullptr;
  FUpdating = true;
  while (!FButtons.empty()) TObject::Free(FButtons.back());
  TObject::Free(FItems);
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomRadioGroup::SetItemIndex(int Value) {
  if (HasState(csLoading)) {
    FItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, -1, ButtonCount() - 1);
  if (FItemIndex == Value) return;
  if (FItemIndex >= 0) FButtons[size_t(FItemIndex)]->SetChecked(false);
  FItemIndex = Value;
  if (FItemIndex >= 0) FButtons[size_t(FItemIndex)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int Value) {
  Value = std::clamp(Value, 1, 16);
  if (FColumns == Value) return;
  FColumns = Value;
  if (HasState(csLoading)) return;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::Loaded() {
  inherited::Loaded();
  FItemIndex = std::clamp(FItemIndex, -1, FItems->Count() - 1);
  UpdateButtons();
}

void TCustomRadioGroup::Resize() {
  ArrangeButtons();
  inherited::Resize();
}

void TCustomRadioGroup::ButtonClick(TGroupButton* Button) {
  if (FUpdating) return;
  auto It = std::find(FButtons.begin(), FButtons.end(), Button);
  if (It == FButtons.end()) return;
  FItemIndex = int(It - FButtons.begin());
  Click();
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  for (TGroupButton* B : FButtons) B->SetEnabled(Enabled());
}

void TCustomRadioGroup::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  ArrangeButtons();
}

void TCustomRadioGroup::WMLButtonDblClk(TMessage& Message) {
  // The group takes no clicks of its own (they would read as a change of item), so the double
  // click is passed on here.
  DblClick();
  inherited::Dispatch(Message);
}

void TCustomRadioGroup::ItemsChange(TObject*) {
  if (HasState(csLoading)) return;
  FItemIndex = std::min(FItemIndex, FItems->Count() - 1);
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  FUpdating = true;
  try {
    const size_t N = size_t(FItems->Count());
    while (FButtons.size() > N) TObject::Free(FButtons.back());
    while (FButtons.size() < N) FButtons.push_back(New<TGroupButton>(this));
    for (size_t I = 0; I < N; ++I) FButtons[I]->SetCaption(FItems->Get(int(I)));
    for (size_t I = 0; I < N; ++I) FButtons[I]->SetChecked(int(I) == FItemIndex);
  } catch (...) {
    FUpdating = false;
    throw;
  }
  FUpdating = false;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty() || HasState(csLoading)) return;
  TEXTMETRICA Metrics{};
  {
    TWindowDC DC;
    TSelectGuard Select(DC, Font()->Handle());
    GetTextMetricsA(DC, &Metrics);
  }
  // The caption's line at the top, the rest shared out evenly, the spare pixels above and below.
  const int Count = ButtonCount();
  const int PerColumn = (Count + FColumns - 1) / FColumns;
  const int ButtonWidth = std::max(0, (Width() - 10) / FColumns);
  const int TextHeight = int(Metrics.tmHeight);
  const int Room = std::max(0, Height() - TextHeight - 5);
  const int ButtonHeight = Room / PerColumn;
  const int TopMargin = TextHeight + 1 + (Room % PerColumn) / 2;
  for (int I = 0; I < Count; ++I) {
    TGroupButton* B = FButtons[size_t(I)];
    B->SetBiDiMode(BiDiMode());
    int Left = (I / PerColumn) * ButtonWidth + 8;
    if (UseRightToLeftAlignment()) Left = ClientWidth() - Left - ButtonWidth;
    B->SetBounds(Left, (I % PerColumn) * ButtonHeight + TopMargin, ButtonWidth, ButtonHeight);
  }
}

ORV_IMPLEMENT_CLASS(TCustomRadioGroup, TCustomGroupBox)

static constinit const TPropInfo TRadioGroup_Props[] = {
    TControlProps::Align(),
    TControlProps::Anchors(),
    TControlProps::Caption(),
    TControlProps::Color(clWindow),
    PropInt<&TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns>("Columns", 1),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropInt<&TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex>("ItemIndex", -1),
    PropObject<&TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems>("Items"),
    TControlProps::ParentColor(),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(false),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TRadioGroup, TCustomRadioGroup, TRadioGroup_Props)

namespace {
struct TRadioGroupRegistration {
  TRadioGroupRegistration() { RegisterClasses({TRadioGroup::StaticClass()}); }
} RadioGroupRegistration;
}  // namespace
