// Helpers of the suite tests: forms read from text form resources, non-client pixels.
#pragma once
#include "rtl/Streaming.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <memory>
#include <string>

namespace suitetest {

// The folder of the running test program, with its trailing separator; helper programs are
// built there.
inline std::string ModuleDir() {
  char Path[MAX_PATH];
  DWORD N = GetModuleFileNameA(nullptr, Path, sizeof Path);
  std::string S(Path, N);
  return S.substr(0, S.find_last_of("\\/") + 1);
}

// A form read from a text form ("object Form1: TForm ... end"), its Loaded steps run.
inline TForm* LoadForm(const char* Text) {
  TStringStream In(Text);
  TMemoryStream Bin;
  ObjectTextToBinary(&In, &Bin);
  Bin.SetPosition(0);
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  try {
    ReadComponentRes(&Bin, Form);
  } catch (...) {
    TObject::Free(Form);
    throw;
  }
  return Form;
}

struct TFormFree {
  void operator()(TCustomForm* F) const { TObject::Free(F); }
};
using TFormPtr = std::unique_ptr<TForm, TFormFree>;

// Pixel of a window's whole area (frame included), after the pending painting.
inline TColor WindowPixel(HWND Wnd, int X, int Y) {
  vcltest::PumpMessages();
  HDC DC = GetWindowDC(Wnd);
  TColor C = TColor(GetPixel(DC, X, Y));
  ReleaseDC(Wnd, DC);
  return C;
}

// Repaints the frame and client of a window now.
inline void RedrawAll(HWND Wnd) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  vcltest::PumpMessages();
}

inline TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

// "$BBGGRR" for failure messages.
inline std::string Hex(TColor C) {
  char B[16];
  std::snprintf(B, sizeof B, "$%06X", unsigned(C) & 0xFFFFFFu);
  return B;
}

}  // namespace suitetest
