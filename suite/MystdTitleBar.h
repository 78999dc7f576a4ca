// Shows or hides the caption bar of the owner form at run time, keeping its client height, and
// lets a caption-less form be dragged by its client area.
#pragma once
#include "suite/Std2FormHook.h"

class TqTitleBar : public TComponent {
  ORV_CLASS(TqTitleBar, TComponent)
public:
  explicit TqTitleBar(TComponent* AOwner);
  ~TqTitleBar() override;
  void Loaded() override;

  // Both bits of WS_CAPTION in the form window's style.
  bool IsShowTitleBar();
  // Nothing for a bsNone form; tool windows keep their style (and so their height).
  void SetTitleBar(bool Show);

  bool AllowMoveWhitoutTitle() const { return FAllowMove; }
  void SetAllowMoveWhitoutTitle(bool Value) { FAllowMove = Value; }
  bool TitleBarOnFormShow() const { return FTitleBarOnFormShow; }
  void SetTitleBarOnFormShow(bool Value) { FTitleBarOnFormShow = Value; }
  // The caption state as last read from the window.
  bool TitleShown() const { return FShown; }
  bool Hooked() const { return FHook.Installed(); }

  TNotifyEvent OnChange;

protected:
  virtual void DoOnChange();

private:
  void FormHooked(TObject* Sender);
  void HookProc(TMessage& Message);

  bool FTitleBarOnFormShow = true;
  bool FAllowMove = true;
  bool FShown = false;
  TqFormHook FHook;
};
