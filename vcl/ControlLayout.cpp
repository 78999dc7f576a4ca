#include "vcl/ControlLayout.h"
#include "vcl/Controls.h"
#include "rtl/SysUtils.h"

#include <algorithm>

constexpr TEnumType TAnchorKindType{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};

namespace {

// One axis of the rules: the near side (left/top), the far side (right/bottom).
int TakeAxis(bool Near, bool Far, int Pos, int Size) {
  if (Far) return Near ? Size : Pos;
  return Pos + Size / 2;
}

// One axis of the layout: Pos and Size in, the anchored ones out.
void PlaceAxis(bool Near, bool Far, int Rule, int OldParent, int NewParent, int& Pos, int& Size) {
  if (Far) {
    if (Near) Size = std::max(0, NewParent - (OldParent - Rule));
    else Pos = NewParent - (OldParent - Rule);
  } else if (!Near) {
    Pos = int((int64_t(Rule) * NewParent + OldParent / 2) / OldParent) - Size / 2;
  }
}

}  // namespace

TAnchorRules TakeAnchorRules(TAnchors Anchors, const TRect& Bounds, TPoint ParentSize) {
  TAnchorRules R;
  if (Anchors == DefaultAnchors || ParentSize.X <= 0 || ParentSize.Y <= 0) return R;
  R.Valid = true;
  R.X = TakeAxis(Anchors & AnchorOf(akLeft), Anchors & AnchorOf(akRight), Bounds.Left, Bounds.Width());
  R.Y = TakeAxis(Anchors & AnchorOf(akTop), Anchors & AnchorOf(akBottom), Bounds.Top, Bounds.Height());
  R.ParentSize = ParentSize;
  return R;
}

TRect AnchoredBounds(TAnchors Anchors, const TAnchorRules& Rules, const TRect& Present, TPoint ParentSize) {
  if (!Rules.Valid) return Present;
  int L = Present.Left, T = Present.Top, W = Present.Width(), H = Present.Height();
  PlaceAxis(Anchors & AnchorOf(akLeft), Anchors & AnchorOf(akRight), Rules.X, Rules.ParentSize.X, ParentSize.X, L, W);
  PlaceAxis(Anchors & AnchorOf(akTop), Anchors & AnchorOf(akBottom), Rules.Y, Rules.ParentSize.Y, ParentSize.Y, T, H);
  return Bounds(L, T, W, H);
}

void ConstrainSize(int MinWidth, int MinHeight, int MaxWidth, int MaxHeight, int& Width, int& Height) {
  if (MaxWidth > 0 && Width > MaxWidth) Width = MaxWidth;
  else if (MinWidth > 0 && Width < MinWidth) Width = MinWidth;
  if (MaxHeight > 0 && Height > MaxHeight) Height = MaxHeight;
  else if (MinHeight > 0 && Height < MinHeight) Height = MinHeight;
}

// ---------------------------------------------------------------------------------------------
// TSizeConstraints

namespace {
void CheckConstraint(int Value) {
  if (Value < 0) throw ERangeError("Size constraint out of range: %d", {Value});
}
}  // namespace

void TSizeConstraints::SetMaxHeight(int Value) {
  CheckConstraint(Value);
  if (Value == FMaxHeight) return;
  FMaxHeight = Value;
  if (Value > 0 && Value < FMinHeight) FMinHeight = Value;
  Change();
}

void TSizeConstraints::SetMaxWidth(int Value) {
  CheckConstraint(Value);
  if (Value == FMaxWidth) return;
  FMaxWidth = Value;
  if (Value > 0 && Value < FMinWidth) FMinWidth = Value;
  Change();
}

void TSizeConstraints::SetMinHeight(int Value) {
  CheckConstraint(Value);
  if (Value == FMinHeight) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && Value > FMaxHeight) FMaxHeight = Value;
  Change();
}

void TSizeConstraints::SetMinWidth(int Value) {
  CheckConstraint(Value);
  if (Value == FMinWidth) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && Value > FMaxWidth) FMaxWidth = Value;
  Change();
}

void TSizeConstraints::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TSizeConstraints*>(Source);
  if (!S) return TPersistent::Assign(Source);
  FMaxHeight = S->FMaxHeight;
  FMaxWidth = S->FMaxWidth;
  FMinHeight = S->FMinHeight;
  FMinWidth = S->FMinWidth;
  Change();
}

void TSizeConstraints::Change() {
  if (OnChange) OnChange(this);
}

static constinit const TPropInfo TSizeConstraints_Props[] = {
    PropInt<&TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight>("MaxHeight", 0),
    PropInt<&TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth>("MaxWidth", 0),
    PropInt<&TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight>("MinHeight", 0),
    PropInt<&TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth>("MinWidth", 0),
};
ORV_IMPLEMENT_ABSTRACT(TSizeConstraints, TPersistent, TSizeConstraints_Props)

// ---------------------------------------------------------------------------------------------
// TControl: anchors, size checks

void TControl::SetAnchors(TAnchors Value) {
  Value &= AnchorOf(akLeft) | AnchorOf(akTop) | AnchorOf(akRight) | AnchorOf(akBottom);
  if (FAnchors == Value) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (FAnchorMove || HasState(csLoading)) return;
  FAnchorRules = TAnchorRules{};
  if (!FParent || FAnchors == DefaultAnchors) return;
  TRect C = FParent->ClientRect();
  FAnchorRules = TakeAnchorRules(FAnchors, BoundsRect(), Point(C.Width(), C.Height()));
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
  bool Resize = true;
  if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, Resize);
  return Resize;
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
  if (OnConstrainedResize) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

bool TControl::CheckNewSize(int& NewWidth, int& NewHeight) {
  NewWidth = std::max(0, NewWidth);
  NewHeight = std::max(0, NewHeight);
  // While streaming only the values are stored; Loaded applies the limits once.
  if (HasState(csLoading | csDestroying)) return true;
  const bool Sized = NewWidth != FWidth || NewHeight != FHeight;
  if (!Sized && !FConstraints->Any()) return true;
  int W = NewWidth, H = NewHeight;
  if (Sized && !CanResize(W, H)) return false;
  int MinW = FConstraints->MinWidth(), MinH = FConstraints->MinHeight();
  int MaxW = FConstraints->MaxWidth(), MaxH = FConstraints->MaxHeight();
  ConstrainedResize(MinW, MinH, MaxW, MaxH);
  ConstrainSize(MinW, MinH, MaxW, MaxH, W, H);
  NewWidth = std::max(0, W);
  NewHeight = std::max(0, H);
  return true;
}

void TControl::ConstraintsChanged(TObject*) {
  if (HasState(csLoading | csDestroying)) return;
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

// ---------------------------------------------------------------------------------------------
// TWinControl: the anchor layout and the system's own size changes

void TWinControl::AnchorControls() {
  // A minimised window has no client area to keep distances to.
  if (FHandle && IsIconic(FHandle)) return;
  const TRect C = ClientRect();
  const TPoint Size(C.Width(), C.Height());
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* Ctl = Controls(I);
    if (Ctl->FAlign != alNone || Ctl->FAnchors == DefaultAnchors || Ctl->HasState(csLoading | csDestroying))
      continue;
    // Placed while this parent had no size: the rules start from where it is now.
    if (!Ctl->FAnchorRules.Valid) {
      Ctl->UpdateAnchorRules();
      continue;
    }
    const TRect Old = Ctl->BoundsRect();
    const TRect New = AnchoredBounds(Ctl->FAnchors, Ctl->FAnchorRules, Old, Size);
    if (New == Old) continue;
    Ctl->FAnchorMove = true;
    try {
      Ctl->SetBounds(New.Left, New.Top, New.Width(), New.Height());
    } catch (...) {
      Ctl->FAnchorMove = false;
      throw;
    }
    Ctl->FAnchorMove = false;
  }
}

void TWinControl::WMWindowPosChanging(TMessage& Message) {
  // A size from outside (a frame drag, the system): the same checks as SetBounds.
  auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (Pos && !(Pos->flags & SWP_NOSIZE) && !FApplyingBounds && FHandle && !IsIconic(FHandle)) {
    int W = Pos->cx, H = Pos->cy;
    if (!CheckNewSize(W, H)) {
      Pos->flags |= SWP_NOSIZE;
    } else {
      Pos->cx = W;
      Pos->cy = H;
    }
  }
  DefaultHandler(Message);
}
