#include "package/design/PackageReg.h"

namespace {
// A unit's row goes in its place in package order.
constexpr TPackageUnit Units[] = {
    {"TcsCheckBox", &TcsCheckBoxReg::Register},
    {"BMWave", &BMWaveReg::Register},
    {"BMPAGE", &BMPAGEReg::Register},
    {"BMMediaDialogs", &BMMediaDialogsReg::Register},
};
}  // namespace

const TPackageUnit* PackageUnits(int& Count) {
  Count = int(sizeof Units / sizeof Units[0]);
  return Units;
}

void RegisterPackage() {
  for (const TPackageUnit& U : Units) U.Register();
}
