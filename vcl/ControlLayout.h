// ControlLayout: anchors and size constraints of controls.
//
// Anchors. A child with Align = alNone keeps its distances to the edges of its parent's client
// area that it is anchored to: anchored left and right it stretches, right only it moves with the
// right edge, neither left nor right it keeps its centre's relative place (the same for top and
// bottom). The rules are taken when the control is placed, loaded or given bounds by the program,
// together with the parent's client size at that time; every later layout computes the bounds
// from those, never from the previous layout, so no rounding accumulates over many resizes.
//
// Constraints. Every size change asks CanResize (OnCanResize may refuse it), then
// ConstrainedResize (OnConstrainedResize may change the limits), then applies the limits;
// 0 means no limit. Forms answer WM_GETMINMAXINFO from the same limits.
#pragma once

#include "vcl/Types.h"
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

class TControl;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = unsigned;   // bit n = TAnchorKind n
constexpr TAnchors AnchorOf(TAnchorKind K) { return 1u << K; }
constexpr TAnchors DefaultAnchors = AnchorOf(akLeft) | AnchorOf(akTop);
extern const TEnumType TAnchorKindType;

// What a control keeps of its place among its parent's edges.
struct TAnchorRules {
  bool Valid = false;   // taken (and not for the default anchors, which need none)
  int X = 0, Y = 0;     // per axis: the width (both sides), the left edge (far side) or the centre
  TPoint ParentSize;    // the parent's client size the rules were taken with
};

// The rules for a control at Bounds in a parent whose client area is ParentSize.
TAnchorRules TakeAnchorRules(TAnchors Anchors, const TRect& Bounds, TPoint ParentSize);
// The bounds the rules give in a parent whose client area is now ParentSize (Present: the
// control's present bounds; its size holds on an axis anchored to one side or to none).
TRect AnchoredBounds(TAnchors Anchors, const TAnchorRules& Rules, const TRect& Present, TPoint ParentSize);

// The size limits of a control (published as Constraints); 0 is no limit. Raising a minimum above
// the maximum raises the maximum, and lowering a maximum below the minimum lowers the minimum.
// Negative values raise ERangeError.
class TSizeConstraints : public TPersistent {
  ORV_CLASS(TSizeConstraints, TPersistent)
public:
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value);
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value);
  int MinHeight() const { return FMinHeight; }
  void SetMinHeight(int Value);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value);
  // Any limit set.
  bool Any() const { return FMaxHeight || FMaxWidth || FMinHeight || FMinWidth; }
  void Assign(TPersistent* Source) override;
  // Fired after any limit changed.
  TNotifyEvent OnChange;
private:
  void Change();
  int FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

// Applies the limits (0: none) to a size: the maximum first, then the minimum.
void ConstrainSize(int MinWidth, int MinHeight, int MaxWidth, int MaxHeight, int& Width, int& Height);

using TCanResizeEvent = TClosure<TObject* /*Sender*/, int& /*NewWidth*/, int& /*NewHeight*/, bool& /*Resize*/>;
using TConstrainedResizeEvent = TClosure<TObject* /*Sender*/, int& /*MinWidth*/, int& /*MinHeight*/,
                                         int& /*MaxWidth*/, int& /*MaxHeight*/>;
