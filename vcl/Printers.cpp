// The printer object over the spooler's printer list.
#include "vcl/Printers.h"

#include <winspool.h>

#include <memory>
#include <vector>

TPrinter::TPrinter() : FPrinters(new TStringList) {}

TPrinter::~TPrinter() {
  FreeDC();
  TObject::Free(FPrinters);
}

void TPrinter::FreeDC() {
  if (FDC) DeleteDC(FDC);
  FDC = nullptr;
  FDevice = AnsiString();
}

HDC TPrinter::Handle() {
  DWORD Size = 0;
  GetDefaultPrinterA(nullptr, &Size);
  std::vector<char> Buffer(Size + 1, '\0');
  if (Size == 0 || !GetDefaultPrinterA(Buffer.data(), &Size)) {
    FreeDC();
    throw EPrinter("There is no default printer currently selected");
  }
  const AnsiString Name(Buffer.data());
  if (FDC && FDevice == Name) return FDC;
  FreeDC();
  FDC = CreateDCA("WINSPOOL", Name.c_str(), nullptr, nullptr);
  if (!FDC) throw EPrinter("Printer selected is not valid");
  FDevice = Name;
  return FDC;
}

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
