// Unit TcsRadioGroup: the radio group with its mouse events published.
#pragma once

#include "vcl/ExtCtrls.h"

class TcsRadioGroup : public TRadioGroup {
  ORV_CLASS(TcsRadioGroup, TRadioGroup)
public:
  explicit TcsRadioGroup(TComponent* AOwner) : TRadioGroup(AOwner) {}
};
