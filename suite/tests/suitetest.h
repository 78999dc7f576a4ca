// Helpers of the suite tests: forms read from text form resources, controls painted into
// bitmaps, non-client pixels.
#pragma once
#include "rtl/Streaming.h"
#include "vcl/Forms.h"
#include "vcl/tests/vcltest.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

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

// The pixels of a painting, row by row, as $00BBGGRR colours.
struct TPicture24 {
  int W = 0, H = 0;
  std::vector<TColor> Px;
  TColor At(int X, int Y) const { return Px[size_t(Y) * W + X]; }
  bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X < W && Y < H; }
  int Count(TColor C) const {
    int N = 0;
    for (TColor P : Px) N += P == C;
    return N;
  }
};

// The pixels of a bitmap.
inline TPicture24 PictureOf(TBitmap& B) {
  TPicture24 P;
  P.W = B.Width();
  P.H = B.Height();
  HDC DC = B.Canvas()->Handle();
  for (int Y = 0; Y < P.H; ++Y)
    for (int X = 0; X < P.W; ++X) P.Px.push_back(TColor(GetPixel(DC, X, Y)) & 0xFFFFFF);
  return P;
}

// The control painted into a bitmap of its size, its origin moved by (Shift, Shift).
inline TPicture24 Render(TControl* C, TColor Fill = clWhite, int Shift = 0) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(C->Width(), C->Height());
  B.Canvas()->Brush()->SetColor(Fill);
  B.Canvas()->Brush()->SetStyle(bsSolid);
  B.Canvas()->FillRect(Rect(0, 0, B.Width(), B.Height()));
  SetViewportOrgEx(B.Canvas()->Handle(), Shift, Shift, nullptr);
  C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(B.Canvas()->Handle()), 0);
  SetViewportOrgEx(B.Canvas()->Handle(), 0, 0, nullptr);
  return PictureOf(B);
}

// Bounding box and centre of the pixels of one colour.
struct TInk {
  int Left = 1 << 20, Top = 1 << 20, Right = -1, Bottom = -1, Count = 0;
  double SumX = 0, SumY = 0;
  int Width() const { return Right - Left + 1; }
  int Height() const { return Bottom - Top + 1; }
  double CentreX() const { return SumX / Count; }
  double CentreY() const { return SumY / Count; }
};

// Rows Top to Bottom - 1 only, when given.
inline TInk InkOf(const TPicture24& P, TColor C, int Top = 0, int Bottom = 1 << 20) {
  TInk I;
  for (int Y = std::max(Top, 0); Y < std::min(Bottom, P.H); ++Y)
    for (int X = 0; X < P.W; ++X)
      if (P.At(X, Y) == C) {
        I.Left = std::min(I.Left, X);
        I.Right = std::max(I.Right, X);
        I.Top = std::min(I.Top, Y);
        I.Bottom = std::max(I.Bottom, Y);
        I.SumX += X;
        I.SumY += Y;
        ++I.Count;
      }
  return I;
}

}  // namespace suitetest
