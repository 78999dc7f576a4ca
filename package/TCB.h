// Unit TCB: a combo box that completes what the user types from its items. Each typed character
// extends the text typed so far; the first item that starts with it (ignoring case) is selected,
// and the part not yet typed is shown selected, so typing on replaces it. Only texts that start
// some item can be typed.
#pragma once

#include "vcl/StdCtrls.h"

class TCustomCompleteBox : public TCustomComboBox {
  ORV_CLASS(TCustomCompleteBox, TCustomComboBox)
public:
  explicit TCustomCompleteBox(TComponent* AOwner);
  // Without an owner, in a window of other code.
  explicit TCustomCompleteBox(HWND AParentWindow);

  bool UseComplete() const { return FUseComplete; }
  void SetUseComplete(bool Value) { FUseComplete = Value; }

  // Runs first for every key typed into the box; it may change the key (0 drops it).
  TKeyPressEvent OnKeyPress;

protected:
  // The box's key-press handler: the own OnKeyPress, then the completion.
  void KeyPressEvent(TObject* Sender, char& Key);

private:
  void Init();
  bool FUseComplete = true;
};

class TCompleteBox : public TCustomCompleteBox {
  ORV_CLASS(TCompleteBox, TCustomCompleteBox)
public:
  explicit TCompleteBox(TComponent* AOwner) : TCustomCompleteBox(AOwner) {}
  explicit TCompleteBox(HWND AParentWindow) : TCustomCompleteBox(AParentWindow) {}
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
};
