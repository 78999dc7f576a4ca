#include "gradform/design/GradFormReg.h"
#include "gradform/GradForm.h"

void GradFormReg::Register() {
  RegisterComponents(GradFormPalettePage, {});
  RegisterClass(TgrdGradientForm::StaticClass());
}
