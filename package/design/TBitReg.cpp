#include "package/TBit.h"
#include "package/design/PackageReg.h"

void TBitReg::Register() { RegisterComponents(PackagePalettePage, {TBit::StaticClass()}); }
