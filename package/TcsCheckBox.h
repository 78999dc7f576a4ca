// Unit TcsCheckBox: the check box with its double-click and mouse events published.
#pragma once

#include "vcl/StdCtrls.h"

// A double click runs OnDblClick (the system's check box takes it as a second click as well).
class TcsCheckBox : public TCheckBox {
  ORV_CLASS(TcsCheckBox, TCheckBox)
public:
  explicit TcsCheckBox(TComponent* AOwner) : TCheckBox(AOwner) {}
  void Dispatch(TMessage& Message) override;

protected:
  void WMLButtonDblClk(TMessage& Message);
};
