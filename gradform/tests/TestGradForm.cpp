#include "gradform/tests/gradtest.h"

static constinit const TPublishedField TGradTestForm_Fields[] = {
    PublishedField<&TGradTestForm::Label1>("Label1"),
};
ORV_IMPLEMENT_FORM(TGradTestForm, TgrdGradientForm, nullptr, TGradTestForm_Fields, nullptr)

static constinit const TPublishedField TGradFontForm_Fields[] = {
    PublishedField<&TGradFontForm::Probe1>("Probe1"),
};
ORV_IMPLEMENT_FORM(TGradFontForm, TgrdGradientForm, nullptr, TGradFontForm_Fields, nullptr)
ORV_IMPLEMENT_COMPONENT_NOPROPS(TGradLoadProbe, TComponent)

namespace {
struct TRegistration {
  TRegistration() { RegisterClasses({TGradTestForm::StaticClass(), TGradFontForm::StaticClass(), TGradLoadProbe::StaticClass(),
                     TLabel::StaticClass()}); }
} Registration;
}  // namespace
