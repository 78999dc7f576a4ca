#include "package/BMMediaDialogs.h"
#include "package/design/PackageReg.h"

void BMMediaDialogsReg::Register() {
  RegisterComponents(PackagePalettePage, {TBMOpenMediaDialog::StaticClass(), TBMSaveMediaDialog::StaticClass()});
}
