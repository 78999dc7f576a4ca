// FindForm and dialog-unit conversions of the suite.
#include "suite/MystdRoutines.h"

#include "vcl/Forms.h"

constexpr TEnumType gradTypeType{
    "gradType",
    {"gHorz", "gVert", "gCenter", "gTopLeftBottomRight", "gTopRightBottomLeft", "gDiagLeft", "gDiagRight"}};

TForm* FindForm(TComponent* Component) {
  for (TComponent* C = Component ? Component->Owner() : nullptr; C; C = C->Owner())
    if (C->Is<TForm>()) return static_cast<TForm*>(C);
  throw EComponentError("NoForm");
}

bool IsPrevius(bool) { return false; }

int DlgUnitsToPixelsX(unsigned short Units) { return int(Units) * LOWORD(GetDialogBaseUnits()) / 4; }
int DlgUnitsToPixelsY(unsigned short Units) { return int(Units) * HIWORD(GetDialogBaseUnits()) / 8; }

int PixelsToDlgUnitsX(unsigned short Pixels) {
  int Base = LOWORD(GetDialogBaseUnits());
  return Base ? int(Pixels) * 4 / Base : 0;
}

int PixelsToDlgUnitsY(unsigned short Pixels) {
  int Base = HIWORD(GetDialogBaseUnits());
  return Base ? int(Pixels) * 8 / Base : 0;
}
