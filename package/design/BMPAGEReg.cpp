#include "package/design/BMPageEditor.h"
#include "package/design/PackageReg.h"

void BMPAGEReg::Register() {
  RegisterComponents(PackagePalettePage, {TBMPageControl::StaticClass()});
  // Sheets come by the page control's verb, not from the palette.
  RegisterClass(TBMTabSheet::StaticClass());
  RegisterComponentEditor(TBMPageControl::StaticClass(), ComponentEditorClass<TBMPageControlEditor>());
  RegisterComponentEditor(TBMTabSheet::StaticClass(), ComponentEditorClass<TBMPageControlEditor>());
}
