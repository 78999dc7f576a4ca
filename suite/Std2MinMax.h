// Size limits of a form: its answer to WM_GETMINMAXINFO, kept clear of the task bar on request,
// and its place on the task bar.
#pragma once
#include "suite/Std2FormHook.h"

using TAskSize = TClosure<TObject* /*Sender*/, int& /*MinDragWidth*/, int& /*MinDragHeight*/, int& /*MaxWidth*/,
                          int& /*MaxHeight*/, int& /*MaxDragWidth*/, int& /*MaxDragHeight*/, int& /*Maxleft*/,
                          int& /*MaxTop*/>;

// The eight limits of a WM_GETMINMAXINFO answer.
struct TqSizeLimits {
  int MinDragWidth, MinDragHeight, MaxWidth, MaxHeight, MaxDragWidth, MaxDragHeight, MaxLeft, MaxTop;
};

// The answer with a task bar whose window rectangle is Bar on a ScreenW by ScreenH screen: the
// maximised position and the drag limits keep clear of it; the maximised size stays.
void FitToTaskBar(TqSizeLimits& L, const TRect& Bar, int ScreenW, int ScreenH);

class TqMinMax : public TComponent {
  ORV_CLASS(TqMinMax, TComponent)
public:
  explicit TqMinMax(TComponent* AOwner);
  ~TqMinMax() override;
  void Loaded() override;

  int MaxLeft() const { return FMaxLeft; }
  void SetMaxLeft(int Value) { SetLimit(FMaxLeft, Value); }
  int MaxTop() const { return FMaxTop; }
  void SetMaxTop(int Value) { SetLimit(FMaxTop, Value); }
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value) { SetLimit(FMaxWidth, Value); }
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value) { SetLimit(FMaxHeight, Value); }
  int MaxDragWidth() const { return FMaxDragWidth; }
  void SetMaxDragWidth(int Value) { SetLimit(FMaxDragWidth, Value); }
  int MaxDragHeight() const { return FMaxDragHeight; }
  void SetMaxDragHeight(int Value) { SetLimit(FMaxDragHeight, Value); }
  int MinDragWidth() const { return FMinDragWidth; }
  void SetMinDragWidth(int Value) { SetLimit(FMinDragWidth, Value); }
  int MinDragHeight() const { return FMinDragHeight; }
  void SetMinDragHeight(int Value) { SetLimit(FMinDragHeight, Value); }
  // The limits follow the system's proposal at each request; SetSize does nothing then.
  bool UseDefaultSize() const { return FUseDefaultSize; }
  void SetUseDefaultSize(bool Value);
  // A maximised form keeps clear of the task bar (it is maximised again when this changes).
  bool AutoTaskBarAjust() const { return FAutoTaskBarAjust; }
  void SetAutoTaskBarAjust(bool Value);
  // WS_EX_APPWINDOW on the form's window.
  bool ShowOnStatusBar() const { return FShowOnStatusBar; }
  void SetShowOnStatusBar(bool Value);

  bool Hooked() const { return FHook.Installed(); }
  HWND HookedWindow() const { return FHook.Window(); }

  // May change each answer (not the properties).
  TAskSize OnSizeChange;

protected:
  // Normalises the limits and brings the form within them.
  virtual void SetSize();

private:
  void SetLimit(int& Field, int Value);
  void ApplyAppWindow();
  void FormHooked(TObject* Sender);
  void HookProc(TMessage& Message);
  void Answer(MINMAXINFO& Info);

  int FMaxLeft = 0, FMaxTop = 0;
  int FMaxWidth = 600, FMaxHeight = 400;
  int FMaxDragWidth = 600, FMaxDragHeight = 400;
  int FMinDragWidth = 0, FMinDragHeight = 0;
  bool FUseDefaultSize = false;
  bool FAutoTaskBarAjust = false;
  bool FShowOnStatusBar = false;
  TqFormHook FHook;
};
