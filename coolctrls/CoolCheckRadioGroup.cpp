#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

#include <algorithm>

namespace {
constexpr int MaxColumns = 16;

// The box and the form it is on can take the focus now (a hidden form cannot).
bool CanTakeFocus(TWinControl* Box) {
  if (!Box->CanFocus()) return false;
  TCustomForm* Form = GetParentForm(Box);
  return Form ? Form->CanFocus() && Form->Showing() : Box->Showing();
}
}  // namespace

TCoolCheckRadioGroup::TCoolCheckRadioGroup(TComponent* AOwner) : TCoolGroupBox(AOwner), FItems(new TStringList()) {
  SetControlStyle(StyleOf(csSetCaption) | StyleOf(csDoubleClicks));
  FItems->OnChange = TNotifyEvent::Bind<&TCoolCheckRadioGroup::ItemsChange>(this);
}

TCoolCheckRadioGroup::~TCoolCheckRadioGroup() {
  SetButtonCount(0);
  FItems->OnChange = nullptr;
  TObject::Free(FItems);
  TObject::Free(FGlyphMarked);
  TObject::Free(FGlyphNormal);
}

void TCoolCheckRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case CM_CHANGED: CMChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

// ----- properties

void TCoolCheckRadioGroup::SetCheckRadioType(TCheckRadioType Value) {
  if (FCheckRadioType == Value) return;
  FCheckRadioType = Value;
  for (auto* Box : FButtons) Box->SetCheckRadioType(Value);
}

void TCoolCheckRadioGroup::SetColumns(int Value) {
  Value = std::clamp(Value, 1, MaxColumns);
  if (FColumns == Value) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

void TCoolCheckRadioGroup::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  for (auto* Box : FButtons) Box->SetFlat(Value);
}

TBitmap* TCoolCheckRadioGroup::GlyphMarked() const {
  if (!FGlyphMarked) FGlyphMarked = new TBitmap();
  return FGlyphMarked;
}

TBitmap* TCoolCheckRadioGroup::GlyphNormal() const {
  if (!FGlyphNormal) FGlyphNormal = new TBitmap();
  return FGlyphNormal;
}

void TCoolCheckRadioGroup::SetGlyphMarked(TBitmap* Value) {
  GlyphMarked()->Assign(Value);
  if (!Loading()) Changed();
}

void TCoolCheckRadioGroup::SetGlyphNormal(TBitmap* Value) {
  GlyphNormal()->Assign(Value);
  if (!Loading()) Changed();
}

bool TCoolCheckRadioGroup::HasGlyphs() const {
  return (FGlyphMarked && !FGlyphMarked->Empty()) || (FGlyphNormal && !FGlyphNormal->Empty());
}

void TCoolCheckRadioGroup::SetItemIndex(int Value) {
  if (FReading) {
    FItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, -1, ButtonCount() - 1);
  if (FItemIndex == Value) return;
  if (FItemIndex >= 0 && FItemIndex < ButtonCount()) {
    TCoolCheckRadioBox* Old = FButtons[size_t(FItemIndex)];
    Old->SetChecked(false);
    if (FCheckRadioType == crRadioBox) Old->SetTabStop(false);
  }
  FItemIndex = Value;
  if (Value < 0) return;
  TCoolCheckRadioBox* Box = FButtons[size_t(Value)];
  Box->SetChecked(true);
  Box->SetTabStop(true);
  // On a hidden or disabled form the box is only checked.
  if (CanTakeFocus(Box)) Box->SetFocus();
}

// ----- the boxes

// Shadow values first: each of them would leave the simple view.
void TCoolCheckRadioGroup::ApplyLook(TCoolCheckRadioBox* Box) const {
  Box->SetShadowSize(ShadowSize());
  Box->SetShadowColor(ShadowColor());
  Box->SetShadowPos(ShadowPos());
  Box->SetSimpleView(SimpleView());
  Box->SetOwnerDraw(HasGlyphs());
  Box->SetGlyphMarked(FGlyphMarked);
  Box->SetGlyphNormal(FGlyphNormal);
}

void TCoolCheckRadioGroup::SetButtonCount(int Count) {
  while (ButtonCount() < Count) {
    auto* Box = TComponent::Create<TCoolCheckRadioBox>(this);
    Box->SetCheckRadioType(FCheckRadioType);
    Box->SetTransparent(true);
    ApplyLook(Box);
    Box->SetEnabled(Enabled());
    Box->SetFlat(FFlat);
    Box->OnClick = TNotifyEvent::Bind<&TCoolCheckRadioGroup::ButtonClick>(this);
    FButtons.push_back(Box);
    Box->SetParent(this);
  }
  while (ButtonCount() > Count) TObject::Free(FButtons.back());  // Notification takes it off
}

void TCoolCheckRadioGroup::UpdateButtons() {
  SetButtonCount(FItems->Count());
  for (int I = 0; I < ButtonCount(); ++I) FButtons[size_t(I)]->SetCaption(FItems->Strings(I));
  // A streamed index may lie beyond the streamed lines.
  FItemIndex = std::clamp(FItemIndex, -1, ButtonCount() - 1);
  if (FItemIndex >= 0) {
    FUpdating = true;
    try {
      FButtons[size_t(FItemIndex)]->SetChecked(true);
    } catch (...) {
      FUpdating = false;
      throw;
    }
    FUpdating = false;
  }
  ArrangeButtons();
  Invalidate();
}

void TCoolCheckRadioGroup::ArrangeButtons() {
  if (FButtons.empty() || FReading) return;
  TEXTMETRICA TM{};
  {
    TWindowDC Screen(nullptr);
    TSelectGuard Sel(Screen, Font()->Handle());
    GetTextMetricsA(Screen, &TM);
  }
  const int Count = ButtonCount();
  const int Rows = (Count + FColumns - 1) / FColumns;
  // A group too small for its boxes gives them no room rather than a negative size.
  const int ButtonWidth = std::max(0, (Width() - 10) / FColumns);
  const int Room = std::max(0, Height() - int(TM.tmHeight) - 5);
  const int ButtonHeight = Room / Rows;
  const int TopMargin = int(TM.tmHeight) + 1 + (Room % Rows) / 2;

  std::vector<TRect> Bounds(static_cast<size_t>(Count));
  bool Windows = HandleAllocated();
  for (int I = 0; I < Count; ++I) {
    TCoolCheckRadioBox* Box = FButtons[size_t(I)];
    Box->SetBiDiMode(BiDiMode());
    int L = (I / Rows) * ButtonWidth + 8;
    if (Box->UseRightToLeftReading()) L = ClientWidth() - L - ButtonWidth;
    const int T = (I % Rows) * ButtonHeight + TopMargin;
    Bounds[size_t(I)] = TRect(L, T, L + ButtonWidth, T + ButtonHeight);
    Windows = Windows && Box->HandleAllocated();
  }

  // Every window moved in one step; boxes without windows yet only store their bounds.
  bool Moved = false;
  if (Windows) {
    HDWP Batch = BeginDeferWindowPos(Count);
    for (int I = 0; I < Count && Batch; ++I) {
      const TRect& B = Bounds[size_t(I)];
      Batch = DeferWindowPos(Batch, FButtons[size_t(I)]->Handle(), nullptr, B.Left, B.Top, B.Width(), B.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Moved = Batch && EndDeferWindowPos(Batch);
  }
  for (int I = 0; I < Count; ++I) {
    TCoolCheckRadioBox* Box = FButtons[size_t(I)];
    const TRect& B = Bounds[size_t(I)];
    if (!Moved) Box->SetBounds(B.Left, B.Top, B.Width(), B.Height());
    Box->SetVisible(true);
  }
}

// ----- events

void TCoolCheckRadioGroup::ButtonClick(TObject* Sender) {
  if (FUpdating || HasState(csDestroying)) return;
  auto It = std::find(FButtons.begin(), FButtons.end(), Sender);
  if (It == FButtons.end()) return;
  // Moving the focus onto a radio box clicks every box of the group; only the checked one
  // names the selection.
  if (FCheckRadioType == crRadioBox && !(*It)->Checked()) return;
  FItemIndex = int(It - FButtons.begin());
  Changed();
  Click();
}

void TCoolCheckRadioGroup::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  auto It = std::find(FButtons.begin(), FButtons.end(), AComponent);
  if (It != FButtons.end()) FButtons.erase(It);
}

void TCoolCheckRadioGroup::ItemsChange(TObject*) {
  if (FReading) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TCoolCheckRadioGroup::ReadState(TReader* Reader) {
  FReading = true;
  try {
    inherited::ReadState(Reader);
  } catch (...) {
    FReading = false;
    throw;
  }
  FReading = false;
  UpdateButtons();
}

void TCoolCheckRadioGroup::Loaded() {
  inherited::Loaded();
  Changed();
  if (FItemIndex >= 0 && FItemIndex < ButtonCount()) FButtons[size_t(FItemIndex)]->SetTabStop(true);
}

// ----- messages

void TCoolCheckRadioGroup::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  for (auto* Box : FButtons) Box->SetEnabled(Enabled());
}

void TCoolCheckRadioGroup::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  ArrangeButtons();
}

void TCoolCheckRadioGroup::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  ArrangeButtons();
}

void TCoolCheckRadioGroup::CMChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  for (auto* Box : FButtons) ApplyLook(Box);
}

// ----- published properties

static constinit const TPropInfo TCoolCheckRadioGroup_Props[] = {
    PropEnum<&TCoolCheckRadioGroup::CheckRadioType, &TCoolCheckRadioGroup::SetCheckRadioType>(
        "CheckRadioType", TCheckRadioTypeType, crRadioBox),
    PropInt<&TCoolCheckRadioGroup::Columns, &TCoolCheckRadioGroup::SetColumns>("Columns", 1),
    PropBool<&TCoolCheckRadioGroup::Flat, &TCoolCheckRadioGroup::SetFlat>("Flat", false),
    PropObject<&TCoolCheckRadioGroup::GlyphMarked, &TCoolCheckRadioGroup::SetGlyphMarked>("GlyphMarked"),
    PropObject<&TCoolCheckRadioGroup::GlyphNormal, &TCoolCheckRadioGroup::SetGlyphNormal>("GlyphNormal"),
    PropInt<&TCoolCheckRadioGroup::ItemIndex, &TCoolCheckRadioGroup::SetItemIndex>("ItemIndex", -1),
    PropObject<&TCoolCheckRadioGroup::Items, &TCoolCheckRadioGroup::SetItems>("Items"),
};
ORV_IMPLEMENT_COMPONENT(TCoolCheckRadioGroup, TCoolGroupBox, TCoolCheckRadioGroup_Props)

namespace {
struct TCoolGroupUnit {
  TCoolGroupUnit() { RegisterClasses({TCoolGroupBox::StaticClass(), TCoolCheckRadioGroup::StaticClass()}); }
} CoolGroupUnit;
}  // namespace
