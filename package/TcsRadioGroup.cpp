#include "package/TcsRadioGroup.h"

static constinit const TPropInfo TcsRadioGroup_Props[] = {
    TControlProps::OnDblClick(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
};
ORV_IMPLEMENT_COMPONENT(TcsRadioGroup, TRadioGroup, TcsRadioGroup_Props)

namespace {
struct TcsRadioGroupUnit {
  TcsRadioGroupUnit() { RegisterClasses({TcsRadioGroup::StaticClass()}); }
} CsRadioGroupUnit;
}  // namespace
