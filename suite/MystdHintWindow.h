// TqHint: makes the application show its hints in TqHintWindow, a hint placed at a corner of the
// mouse cursor, measured against a part of the screen width, drawn flat or with a 3-D frame in
// a font of its own, and closed after a number of mouse moves. Every setting lives in the
// process-wide hint settings (HintSettings): several TqHint share, and overwrite, one set.
#pragma once
#include "suite/MystdRoutines.h"
#include "vcl/Controls.h"

class TqHintWindow : public THintWindow {
  ORV_CLASS(TqHintWindow, THintWindow)
public:
  explicit TqHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
  // Asks OnHintShow, then shows Hint next to the cursor (hpNormal: at Rect's top-left corner),
  // at least 8 pixels inside the screen.
  void ShowHintRect(const TRect& Rect, const AnsiString& Hint) override;
  // The mouse move after MoveBeforeOff of them ends the hint too.
  bool IsHintEndMessage(const MSG& Msg) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  int FMoves = 0;
};

class TqHint : public TComponent {
  ORV_CLASS(TqHint, TComponent)
public:
  // Puts the shared settings back to their defaults.
  explicit TqHint(TComponent* AOwner);
  // Clears the shared events this component set and that are still there.
  ~TqHint() override;
  void Loaded() override;

  TColor HighLightColor() const { return HintSettings->HighLightColor; }
  void SetHighLightColor(TColor Value) { Store(HintSettings->HighLightColor, Value); }
  TColor ShadowColor() const { return HintSettings->ShadowColor; }
  void SetShadowColor(TColor Value) { Store(HintSettings->ShadowColor, Value); }
  TqHintPos HintPosition() const { return HintSettings->HintPosition; }
  void SetHintPosition(TqHintPos Value) { Store(HintSettings->HintPosition, Value); }
  // 1..10: hints wrap at that part of the screen width; ERangeError "Range check error" outside.
  TqHintDiv PartOfScreen() const { return HintSettings->PartOfScreen; }
  void SetPartOfScreen(TqHintDiv Value);
  // 2..20 mouse moves keep a hint; ERangeError "Range check error" outside.
  TqMoveDist MoveBeforeOff() const { return HintSettings->MoveBeforeOff; }
  void SetMoveBeforeOff(TqMoveDist Value);
  bool MultiLine() const { return HintSettings->MultiLine; }
  void SetMultiLine(bool Value) { Store(HintSettings->MultiLine, Value); }
  bool Use3D() const { return HintSettings->Use3D; }
  void SetUse3D(bool Value) { Store(HintSettings->Use3D, Value); }
  TFont* Font() const { return HintSettings->Font; }
  void SetFont(TFont* Value);
  TNotifyEvent OnHintPaint() const { return HintSettings->OnHintPaint; }
  void SetOnHintPaint(TNotifyEvent Value);
  TqHintShowEvent OnHintShow() const { return HintSettings->OnHintShow; }
  void SetOnHintShow(TqHintShowEvent Value);

  // Makes TqHintWindow the application's hint window class (and its hint window one).
  void UpDate();

private:
  template <class T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (!HasState(csLoading)) UpDate();
  }
  TNotifyEvent FSetHintPaint;
  TqHintShowEvent FSetHintShow;
};
