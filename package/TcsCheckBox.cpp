// The check box: TCheckBox publishes OnMouseDown, OnMouseMove and OnMouseUp; OnDblClick is added.
#include "package/TcsCheckBox.h"

void TcsCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TcsCheckBox::WMLButtonDblClk(TMessage& Message) {
  DblClick();
  inherited::Dispatch(Message);
}

static constinit const TPropInfo TcsCheckBox_Props[] = {
    TControlProps::OnDblClick(),
};
ORV_IMPLEMENT_COMPONENT(TcsCheckBox, TCheckBox, TcsCheckBox_Props)

namespace {
struct TcsCheckBoxUnit {
  TcsCheckBoxUnit() { RegisterClass(TcsCheckBox::StaticClass()); }
} csCheckBoxUnit;
}  // namespace
