// Design-time registration of the package: a Register routine per unit, each in a scope of its
// own (the routines share one name, and a unit's class may already take the unit's name), all
// placing their components on one palette page.
#pragma once

inline constexpr const char* PackagePalettePage = "Package";

namespace TBitReg { void Register(); }
namespace TCaseTimerReg { void Register(); }
namespace TCBReg { void Register(); }
namespace TControlButtonReg { void Register(); }
namespace TcsRadioGroupReg { void Register(); }
namespace TcsCheckBoxReg { void Register(); }
namespace BMWaveReg { void Register(); }
namespace BMPAGEReg { void Register(); }
namespace BMMediaDialogsReg { void Register(); }
namespace TRejectsSystemReg { void Register(); }

// A unit of the package and its routine.
struct TPackageUnit {
  const char* Name;
  void (*Register)();
};
// The units in package order: TBit, TCaseTimer, TCB, TControlButton, TcsRadioGroup, TcsCheckBox,
// BMWave, BMPAGE, BMMediaDialogs, TRejectsSystem.
const TPackageUnit* PackageUnits(int& Count);
// Every unit's routine, in package order.
void RegisterPackage();
