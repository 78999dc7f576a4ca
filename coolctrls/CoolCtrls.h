// Cool controls.
#pragma once
#include "vcl/StdCtrls.h"

enum TCheckRadioType { crCheckBox, crRadioBox };
extern const TEnumType TCheckRadioTypeType;

// A check or radio box; a radio button of the system for now, keeping the look properties.
class TCoolCheckRadioBox : public TRadioButton {
  ORV_CLASS(TCoolCheckRadioBox, TRadioButton)
public:
  explicit TCoolCheckRadioBox(TComponent* AOwner) : TRadioButton(AOwner) {}

  TCheckRadioType CheckRadioType() const { return FCheckRadioType; }
  void SetCheckRadioType(TCheckRadioType Value) { FCheckRadioType = Value; }
  bool SimpleView() const { return FSimpleView; }
  void SetSimpleView(bool Value) { FSimpleView = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  TCheckBoxState State() const { return Checked() ? cbChecked : cbUnchecked; }
  void SetState(TCheckBoxState Value) { SetChecked(Value == cbChecked); }

  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

private:
  TCheckRadioType FCheckRadioType = crCheckBox;
  bool FSimpleView = false;
  bool FTransparent = false;
};
