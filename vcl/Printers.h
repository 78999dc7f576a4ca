// The printer object: the printers installed on the system.
#pragma once

#include "vcl/Win.h"
#include "rtl/Classes.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"

ORV_EXCEPTION(EPrinter, Exception)

class TPrinter : public TObject {
  ORV_CLASS(TPrinter, TObject)
public:
  TPrinter();
  ~TPrinter() override;
  // The names of the local and connected printers, as the system lists them now.
  TStrings* Printers();
  // A device context of the system's default printer, kept while that stays the default.
  // EPrinter "There is no default printer currently selected" without one, "Printer selected is
  // not valid" when its driver makes no device context.
  HDC Handle();

private:
  void FreeDC();
  TStringList* FPrinters;
  HDC FDC = nullptr;
  AnsiString FDevice;  // the printer FDC was made for
};

// The application's printer object (made on first use).
TPrinter* Printer();
