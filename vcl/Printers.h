// The printer object: the printers installed on the system.
#pragma once

#include "vcl/Win.h"
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

class TPrinter : public TObject {
  ORV_CLASS(TPrinter, TObject)
public:
  TPrinter();
  ~TPrinter() override;
  // The names of the local and connected printers, as the system lists them now.
  TStrings* Printers();

private:
  TStringList* FPrinters;
};

// The application's printer object (made on first use).
TPrinter* Printer();
