#include "package/TCB.h"
#include "package/design/PackageReg.h"

void TCBReg::Register() { RegisterComponents(PackagePalettePage, {TCompleteBox::StaticClass()}); }
