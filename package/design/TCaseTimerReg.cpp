#include "package/TCaseTimer.h"
#include "package/design/PackageReg.h"

void TCaseTimerReg::Register() { RegisterComponents(PackagePalettePage, {TCaseTimer::StaticClass()}); }
