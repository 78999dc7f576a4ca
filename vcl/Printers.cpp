// The printer object over the spooler's printer list.
#include "vcl/Printers.h"

#include <winspool.h>

#include <memory>
#include <vector>

TPrinter::TPrinter() : FPrinters(new TStringList) {}

TPrinter::~TPrinter() { TObject::Free(FPrinters); }

TStrings* TPrinter::Printers() {
  FPrinters->Clear();
  const DWORD Flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD Needed = 0, Count = 0;
  EnumPrintersA(Flags, nullptr, 4, nullptr, 0, &Needed, &Count);
  if (Needed == 0) return FPrinters;
  std::vector<BYTE> Buffer(Needed);
  if (!EnumPrintersA(Flags, nullptr, 4, Buffer.data(), Needed, &Needed, &Count)) return FPrinters;
  const auto* Info = reinterpret_cast<const PRINTER_INFO_4A*>(Buffer.data());
  for (DWORD I = 0; I < Count; ++I)
    if (Info[I].pPrinterName) FPrinters->Add(Info[I].pPrinterName);
  return FPrinters;
}

ORV_IMPLEMENT_CLASS(TPrinter, TObject)

TPrinter* Printer() {
  static std::unique_ptr<TPrinter> Instance(new TPrinter);
  return Instance.get();
}
