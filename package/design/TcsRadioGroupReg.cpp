#include "package/TcsRadioGroup.h"
#include "package/design/PackageReg.h"

void TcsRadioGroupReg::Register() { RegisterComponents(PackagePalettePage, {TcsRadioGroup::StaticClass()}); }
