// Panel painting speed: one full repaint of each qPanel2 panel shown on a form, at its default
// size and at 400 by 400 (the spectrum with 20 and with 100 bars), beside a one-colour FillRect
// of the same area on the same window, in the same run. Two figures per panel: Repaint (the
// window system's invalidate and update, then the paint) and the paint alone (WM_PAINT on the
// window's DC: the off-screen picture and its copy). An empty window's invalidate and update
// shows the window system's own share. Prints microseconds and ratios; never judges them.
#include "suite/qPanel2.h"
#include "bench/BenchClock.h"
#include "suite/tests/suitetest.h"

#include <cstdio>
#include <functional>
#include <string>
#include <type_traits>

namespace {

using bench::Pump;
using bench::Seconds;
using bench::TFigures;

constexpr int Runs = 200;

// Runs Work and Fill alternately, Runs times each.
void Measure(const std::function<void()>& Work, const std::function<void()>& Fill, TFigures& W, TFigures& F) {
  Work();
  Fill();
  for (int I = 0; I < Runs; ++I) {
    const double T0 = Seconds();
    Work();
    GdiFlush();
    const double T1 = Seconds();
    Fill();
    GdiFlush();
    const double T2 = Seconds();
    W.Times.push_back(T1 - T0);
    F.Times.push_back(T2 - T1);
  }
}

void Line(const std::string& What, const TFigures& W, const TFigures& F) {
  std::printf("  %-42s %8.1f us (median %8.1f)  FillRect %6.1f us (median %6.1f)  ratio %5.1f (median %5.1f)\n",
              What.c_str(), W.Best() * 1e6, W.Median() * 1e6, F.Best() * 1e6, F.Median() * 1e6,
              W.Best() / F.Best(), W.Median() / F.Median());
}

// The FillRect on a window's DC over Area.
struct TPlainFill {
  HWND Wnd;
  RECT Area;
  HDC DC = GetDC(Wnd);
  HBRUSH Brush = CreateSolidBrush(RGB(0, 128, 128));
  TPlainFill(HWND W, RECT A) : Wnd(W), Area(A) {}
  TPlainFill(const TPlainFill&) = delete;
  TPlainFill& operator=(const TPlainFill&) = delete;
  ~TPlainFill() {
    DeleteObject(Brush);
    ReleaseDC(Wnd, DC);
  }
  void operator()() const { FillRect(DC, &Area, Brush); }
};

// One panel at (10, 10) on the form (W 0: its default size); Setup fills it. The FillRect goes
// to the window the panel paints on: its own, or the form's for the spectrum.
template <class T>
void Bench(TForm* Form, const char* Name, int W, const std::function<void(T*)>& Setup) {
  T* Panel = TComponent::Create<T>(Form);
  try {
    if (W > 0) Panel->SetBounds(10, 10, W, W);
    else Panel->SetBounds(10, 10, Panel->Width(), Panel->Height());
    Setup(Panel);
    Panel->SetParent(Form);
    Pump();
    HWND Wnd = Form->Handle();
    RECT Area = AsRECT(Panel->BoundsRect());
    if constexpr (std::is_base_of_v<TWinControl, T>) {
      Wnd = Panel->Handle();
      Area = RECT{0, 0, Panel->Width(), Panel->Height()};
    }
    const TPlainFill Fill{Wnd, Area};
    const std::string What =
        std::string(Name) + " " + std::to_string(Panel->Width()) + " x " + std::to_string(Panel->Height());
    TFigures R, RF, P, PF;
    Measure([&] { Panel->Repaint(); }, [&] { Fill(); }, R, RF);
    Measure([&] { Panel->Perform(WM_PAINT, WPARAM(Fill.DC), 0); }, [&] { Fill(); }, P, PF);
    Line(What + ", Repaint", R, RF);
    Line(What + ", paint", P, PF);
  } catch (...) {
    TObject::Free(Panel);
    throw;
  }
  TObject::Free(Panel);
  Pump();
}

// An empty child window of the given size: what invalidating and updating a window costs here.
void BenchEmptyWindow(TForm* Form, int W, int H) {
  HWND Wnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, W, H, Form->Handle(), nullptr,
                             nullptr, nullptr);
  Pump();
  {
    const TPlainFill Fill{Wnd, RECT{0, 0, W, H}};
    TFigures U, F;
    Measure(
        [&] {
          InvalidateRect(Wnd, nullptr, FALSE);
          UpdateWindow(Wnd);
        },
        [&] { Fill(); }, U, F);
    Line("empty window " + std::to_string(W) + " x " + std::to_string(H) + ", invalidate + update", U, F);
  }
  DestroyWindow(Wnd);
  Pump();
}

void HoldTimer(TqcTimer* Timer) { Timer->SetEnabled(false); }

void FillLevels(TqcSpectrum* S, int Bars) {
  S->SetNum(Bars);
  for (int I = 1; I <= Bars; ++I) S->SetChannel(I, (I * 37) % 101);
}

}  // namespace

int main() {
  try {
    suitetest::TFormPtr Form(suitetest::LoadForm("object Form1: TForm\n  Left = 0\n  Top = 0\n  BorderStyle = bsNone\n"
                                                 "  ClientWidth = 420\n  ClientHeight = 420\nend\n"));
    Form->Show();
    Pump();
    for (int Size : {0, 400}) {
      if (Size) std::printf("At 400 x 400, best of %d runs each (interleaved with the FillRect)\n", Runs);
      else std::printf("At the default sizes, best of %d runs each (interleaved with the FillRect)\n", Runs);
      Bench<TqcCreditScroll>(Form.get(), "credit scroll", Size, [](TqcCreditScroll* S) {
        HoldTimer(S->Timer());
        S->SetStep(12);
        S->Timer()->OnTimer()(S->Timer());
      });
      Bench<TqcAnalogClock>(Form.get(), "analog clock, numbers and dots", Size, [](TqcAnalogClock* C) {
        HoldTimer(C->Timer());
        C->SetClockStyle(csNumberDot);
      });
      Bench<TqcDinMeter>(Form.get(), "needle meter", Size, [](TqcDinMeter* M) {
        M->SetValue(65);
        M->SetCaption1("kPa");
      });
      Bench<TqcDinMeter>(Form.get(), "needle meter, steel", Size, [](TqcDinMeter* M) {
        M->SetValue(65);
        M->SetSteelLook(true);
      });
      Bench<TqcSpectrum>(Form.get(), "spectrum, 20 bars", Size, [](TqcSpectrum* S) { FillLevels(S, 20); });
      if (Size) Bench<TqcSpectrum>(Form.get(), "spectrum, 100 bars", Size, [](TqcSpectrum* S) { FillLevels(S, 100); });
      BenchEmptyWindow(Form.get(), Size ? Size : 100, Size ? Size : 100);
    }
  } catch (const std::exception& E) {
    std::fprintf(stderr, "panels_bench: %s\n", E.what());
    return 1;
  }
  return 0;
}
