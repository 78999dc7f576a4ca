#include "package/design/PackageReg.h"

namespace {
constexpr TPackageUnit Units[] = {
    {"TBit", &TBitReg::Register},
    {"TCaseTimer", &TCaseTimerReg::Register},
    {"TCB", &TCBReg::Register},
    {"TControlButton", &TControlButtonReg::Register},
    {"TcsRadioGroup", &TcsRadioGroupReg::Register},
    {"TcsCheckBox", &TcsCheckBoxReg::Register},
    {"BMWave", &BMWaveReg::Register},
    {"BMPAGE", &BMPAGEReg::Register},
    {"BMMediaDialogs", &BMMediaDialogsReg::Register},
    {"TRejectsSystem", &TRejectsSystemReg::Register},
};
}  // namespace

const TPackageUnit* PackageUnits(int& Count) {
  Count = int(sizeof Units / sizeof Units[0]);
  return Units;
}

void RegisterPackage() {
  for (const TPackageUnit& U : Units) U.Register();
}
