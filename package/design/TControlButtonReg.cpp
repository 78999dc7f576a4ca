#include "package/TControlButton.h"
#include "package/design/PackageReg.h"

void TControlButtonReg::Register() { RegisterComponents(PackagePalettePage, {TControlButton::StaticClass()}); }
