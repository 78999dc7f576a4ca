#include "suite/Std2Fancy.h"

#include "rtl/TypInfo.h"
#include "suite/MystdRoutines.h"
#include "suite/Std2Shape.h"
#include "vcl/Forms.h"

namespace {

// The region of the data, else the rectangle (0, 0, W, H).
HRGN RegionOr(const TqcRgn& Region, int W, int H) {
  HRGN R = Region.ExsistData() ? Region.Handle() : CreateRectRgn(0, 0, W, H);
  if (!R) throw EOutOfResources("Out of system resources");
  return R;
}

// Sizes the control to the region's box where it stands.
void SizeToBox(TWinControl* Control, HRGN Region) {
  RECT Box{};
  GetRgnBox(Region, &Box);
  Control->SetBounds(Control->Left(), Control->Top(), Box.right - Box.left, Box.bottom - Box.top);
}

// Sizes the control to the region's box and hands the region to its window.
void Apply(TWinControl* Control, HRGN Region) {
  SizeToBox(Control, Region);
  std2shape::SetWindowRegion(Control->Handle(), Region, true);
}

}  // namespace

TqcFancyRegionBase::TqcFancyRegionBase(TComponent* AOwner) : TComponent(AOwner), FRegion(new TqcRgn) {}

TqcFancyRegionBase::~TqcFancyRegionBase() { TObject::Free(FRegion); }

void TqcFancyRegionBase::Loaded() {
  TComponent::Loaded();
  FLoaded = true;
  DoUpdate();
}

void TqcFancyRegionBase::SerRgnFromBmp(TBitmap* Bitmap, TColor TransparentColor) {
  FRegion->SerRgnFromBmp(Bitmap, TransparentColor);
  DoUpdate();
}

void TqcFancyRegionBase::SetRgn(TqcRgn* Value) {
  FRegion->Assign(Value);
  DoUpdate();
}

void TqcFancyRegionBase::Clear() { SetRgn(nullptr); }

void TqcFancyForm::DoUpdate() {
  if (HasState(csDesigning) || !FLoaded) return;
  TForm* Form = FindForm(this);
  HRGN Region = RegionOr(*FRegion, Form->ClientWidth(), Form->ClientHeight());
  try {
    Form->SetBorderStyle(bsNone);
  } catch (...) {
    DeleteObject(Region);
    throw;
  }
  Apply(Form, Region);
}

void TqcFancyControl::Clear() {
  TqcFancyRegionBase::Clear();
  DoUpdate();
}

void TqcFancyControl::SetControlComponent(TWinControl* Value) {
  if (FControl && FControl != Value) FControl->RemoveFreeNotification(this);
  FControl = Value;
  // A control of another owner tells this one when it goes.
  if (FControl) FControl->FreeNotification(this);
  DoUpdate();
}

void TqcFancyControl::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FControl) FControl = nullptr;
  TqcFancyRegionBase::Notification(AComponent, Operation);
}

void TqcFancyControl::DoUpdate() {
  const bool Designing = HasState(csDesigning);
  if (!FControl || (!FLoaded && !Designing)) return;
  HRGN Region = RegionOr(*FRegion, FControl->Width(), FControl->Height());
  if (Designing && !FControl->HandleAllocated()) {
    SizeToBox(FControl, Region);
    DeleteObject(Region);
    return;
  }
  Apply(FControl, Region);
}

static constinit const TPropInfo TqcFancyRegionBase_Props[] = {
    PropObject<&TqcFancyRegionBase::Region, &TqcFancyRegionBase::SetRgn>("Region"),
};
ORV_IMPLEMENT_ABSTRACT(TqcFancyRegionBase, TComponent, TqcFancyRegionBase_Props)
ORV_IMPLEMENT_COMPONENT_NOPROPS(TqcFancyForm, TqcFancyRegionBase)

static constinit const TPropInfo TqcFancyControl_Props[] = {
    PropRef<&TqcFancyControl::ControlComponent, &TqcFancyControl::SetControlComponent>("ControlComponent"),
};
ORV_IMPLEMENT_COMPONENT(TqcFancyControl, TqcFancyRegionBase, TqcFancyControl_Props)

namespace {
const struct TFancyRegistration {
  TFancyRegistration() { RegisterClasses({TqcFancyForm::StaticClass(), TqcFancyControl::StaticClass()}); }
} FancyRegistration;
}  // namespace
