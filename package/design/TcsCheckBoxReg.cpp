#include "package/TcsCheckBox.h"
#include "package/design/PackageReg.h"

void TcsCheckBoxReg::Register() { RegisterComponents(PackagePalettePage, {TcsCheckBox::StaticClass()}); }
