#include "package/TRejectsSystem.h"
#include "package/design/PackageReg.h"

void TRejectsSystemReg::Register() { RegisterComponents(PackagePalettePage, {TRejectsSystem::StaticClass()}); }
