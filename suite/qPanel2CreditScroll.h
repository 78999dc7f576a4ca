// Unit qPanel2, credit scroll: lines of text rising through a panel like film credits.
#pragma once
#include "suite/qPanel2Base.h"
#include "suite/Std2Timers.h"
#include "vcl/ExtCtrls.h"

// Lines scroll upward by Step pixels every tick of its own thread timer (Interval ms); once the
// last line has left the top, the text starts again from the bottom edge. A disabled panel
// stands still.
class TqcCreditScroll : public TqcPanel2<TCustomPanel> {
  ORV_CLASS(TqcCreditScroll, TqcPanel2<TCustomPanel>)
public:
  explicit TqcCreditScroll(TComponent* AOwner);
  // Both stop and free the timer before anything else goes.
  void BeforeDestruction() override;
  ~TqcCreditScroll() override;

  TThreadPriority Priority() const { return FTimer->Priority(); }
  void SetPriority(TThreadPriority Value) { FTimer->SetPriority(Value); }
  int Interval() const { return int(FTimer->Interval()); }
  // A negative value is 0: no ticks.
  void SetInterval(int Value) { FTimer->SetInterval(uint32_t(std::max(Value, 0))); }
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  // Pixels per tick; values below 1 are ignored.
  int Step() const { return FStep; }
  void SetStep(int Value);

  // Back to the start: the first line at the bottom edge.
  void Reset();
  // How far the text has risen, in pixels.
  int Offset() const { return FOffset; }
  // The timer (for tests).
  TqcTimer* Timer() const { return FTimer; }

  using TCustomPanel::Alignment;
  using TCustomPanel::SetAlignment;
  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TControl::DragMode;
  using TControl::SetDragMode;
  using TControl::DragCursor;
  using TControl::SetDragCursor;

protected:
  void Paint() override;

private:
  void DoTimer(TObject* Sender);
  void LinesChanged(TObject* Sender);

  TqcTimer* FTimer;
  TStringList* FLines;
  int FOffset = 0;
  int FStep = 1;
};
