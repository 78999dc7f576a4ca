#include "package/design/BMWaveEditors.h"
#include "package/design/PackageReg.h"

void BMWaveReg::Register() {
  RegisterComponents(PackagePalettePage, {TBMWave::StaticClass()});
  RegisterPropertyEditor(TBMWaveData::StaticClass(), nullptr, "", PropertyEditorClass<TBMWaveDataProperty>());
  RegisterComponentEditor(TBMWave::StaticClass(), ComponentEditorClass<TBMWaveEditor>());
}
