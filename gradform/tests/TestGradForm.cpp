#include "gradform/tests/gradtest.h"

static constinit const TPublishedField TGradTestForm_Fields[] = {
    PublishedField<&TGradTestForm::Label1>("Label1"),
};
ORV_IMPLEMENT_FORM(TGradTestForm, TgrdGradientForm, nullptr, TGradTestForm_Fields, nullptr)

namespace {
struct TRegistration {
  TRegistration() { RegisterClasses({TGradTestForm::StaticClass(), TLabel::StaticClass()}); }
} Registration;
}  // namespace
