#include "coolctrls/CoolCtrls.h"

constexpr TEnumType TCheckRadioTypeType{"TCheckRadioType", {"crCheckBox", "crRadioBox"}};

static constinit const TPropInfo TCoolCheckRadioBox_Props[] = {
    TControlProps::Caption(),
    PropEnum<&TCoolCheckRadioBox::CheckRadioType, &TCoolCheckRadioBox::SetCheckRadioType>(
        "CheckRadioType", TCheckRadioTypeType, crCheckBox),
    PropBool<&TCoolCheckRadioBox::SimpleView, &TCoolCheckRadioBox::SetSimpleView>("SimpleView", false),
    PropBool<&TCoolCheckRadioBox::Transparent, &TCoolCheckRadioBox::SetTransparent>("Transparent", false),
    PropBool<&TRadioButton::Checked, &TRadioButton::SetChecked>("Checked", false),
    PropEnum<&TCoolCheckRadioBox::State, &TCoolCheckRadioBox::SetState>("State", TCheckBoxStateType, cbUnchecked),
    TControlProps::Color(clBtnFace),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(true),
    TControlProps::ParentFont(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::UseDockManager(),
    TControlProps::Visible(),
    TControlProps::OnClick(),
};
ORV_IMPLEMENT_COMPONENT(TCoolCheckRadioBox, TRadioButton, TCoolCheckRadioBox_Props)

namespace {
struct TCoolRegistration {
  TCoolRegistration() { RegisterClasses({TCoolCheckRadioBox::StaticClass()}); }
} CoolRegistration;
}  // namespace
