// The drawing canvas lent on another control's window: drawing that reads back from the
// window, the errors, and the control going away or being made again mid-drawing.
#include "rtl/tests/default_check.h"
#include "suite/Mystd.h"
#include "suite/Std2.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <string>

using namespace suitetest;

namespace {

TColor WindowPixelNow(HWND Wnd, int X, int Y) {
  HDC DC = GetDC(Wnd);
  const TColor C = TColor(GetPixel(DC, X, Y));
  ReleaseDC(Wnd, DC);
  return C;
}

std::string ErrorOf(void (TqCompCanvas::*Call)(), TqCompCanvas* C) {
  try {
    (C->*Call)();
  } catch (const EqCompCanvasException& E) {
    return E.what();
  }
  return "";
}

struct TScene : TFormScene {
  TqCompCanvas* Canvas = TComponent::Create<TqCompCanvas>(Form.get());
  TqMovePanel* Target = Add<TqMovePanel>(20, 20, 120, 80);
  TScene() {
    Target->SetColor(clWhite);
    Show();
    AppPumpRounds(2);
  }
};

TEST(CompCanvas, PublishedDefaultsMatchAFreshComponent) { ExpectClassDefaultsMatch(TqCompCanvas::StaticClass()); }

TEST(CompCanvas, LinesReachTheControlsWindow) {
  TScene S;
  S.Canvas->SetControlComponent(S.Target);
  S.Canvas->StartPaint();
  ASSERT_TRUE(S.Canvas->Drawing());
  TCanvas* C = S.Canvas->Canvas();
  C->Pen()->SetColor(clRed);
  C->MoveTo(10, 40);
  C->LineTo(110, 40);
  C->Pen()->SetColor(clBlue);
  C->MoveTo(60, 5);
  C->LineTo(60, 75);
  S.Canvas->EndPaint();
  const HWND Wnd = S.Target->Handle();
  EXPECT_EQ(Hex(WindowPixelNow(Wnd, 30, 40)), Hex(clRed));
  EXPECT_EQ(Hex(WindowPixelNow(Wnd, 60, 20)), Hex(clBlue));
  EXPECT_EQ(Hex(WindowPixelNow(Wnd, 30, 20)), Hex(clWhite));
  EXPECT_NE(S.Canvas->Canvas(), C) << "a fresh canvas after the drawing";
  EXPECT_FALSE(S.Canvas->Canvas()->HandleAllocated());
}

TEST(CompCanvas, ErrorsLeaveTheStateAsItWas) {
  TScene S;
  EXPECT_EQ(ErrorOf(&TqCompCanvas::StartPaint, S.Canvas), "No component to draw on");
  EXPECT_FALSE(S.Canvas->Drawing());
  EXPECT_EQ(ErrorOf(&TqCompCanvas::EndPaint, S.Canvas), "We are not drawing");
  S.Canvas->SetControlComponent(S.Target);
  S.Canvas->StartPaint();
  TCanvas* C = S.Canvas->Canvas();
  const HDC DC = C->Handle();
  EXPECT_EQ(ErrorOf(&TqCompCanvas::StartPaint, S.Canvas), "We are allready drawing");
  EXPECT_TRUE(S.Canvas->Drawing());
  EXPECT_EQ(S.Canvas->Canvas(), C);
  EXPECT_EQ(C->Handle(), DC);
  S.Canvas->EndPaint();
  EXPECT_EQ(ErrorOf(&TqCompCanvas::EndPaint, S.Canvas), "We are not drawing");
}

TEST(CompCanvas, ControlReplacedOrFreedMidDrawing) {
  TScene S;
  // A control on another form, freed while the canvas draws on it.
  TFormPtr Other(TCustomForm::CreateNew<TForm>(nullptr));
  auto* Far = TComponent::Create<TqMovePanel>(Other.get());
  Far->SetParent(Other.get());
  S.Canvas->SetControlComponent(Far);
  S.Canvas->StartPaint();
  TObject::Free(Far);
  EXPECT_FALSE(S.Canvas->Drawing());
  EXPECT_EQ(S.Canvas->ControlComponent(), nullptr);
  // Replaced while drawing: the drawing on the old one ends.
  S.Canvas->SetControlComponent(S.Target);
  S.Canvas->StartPaint();
  auto* Second = S.Add<TqMovePanel>(200, 20, 50, 50);
  S.Canvas->SetControlComponent(Second);
  EXPECT_FALSE(S.Canvas->Drawing());
  S.Canvas->StartPaint();
  EXPECT_TRUE(S.Canvas->Drawing());
  // The same control again: the drawing under way ends too, with a fresh canvas.
  TCanvas* Used = S.Canvas->Canvas();
  S.Canvas->SetControlComponent(Second);
  EXPECT_FALSE(S.Canvas->Drawing());
  EXPECT_NE(S.Canvas->Canvas(), Used);
  EXPECT_EQ(S.Canvas->ControlComponent(), Second);
  S.Canvas->StartPaint();
  // Freed while drawing, the canvas gives the context back.
  TObject::Free(S.Canvas);
}

// The context goes back to the window it came from, also when the control made a new window
// meanwhile: no context is lost over many rounds.
TEST(CompCanvas, EndPaintAfterARecreatedWindow) {
  TScene S;
  S.Canvas->SetControlComponent(S.Target);
  const DWORD Before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int Round = 0; Round < 40; ++Round) {
    S.Canvas->StartPaint();
    const HWND Old = S.Target->Handle();
    S.Target->RecreateWnd();
    ASSERT_NE(S.Target->Handle(), Old);
    S.Canvas->EndPaint();
  }
  AppPumpRounds(2);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), Before + 8);
}

TEST(CompCanvas, NoWindowToBeHadLeavesItNotDrawing) {
  TScene S;
  auto* Orphan = TComponent::Create<TqMovePanel>(S.Form.get());
  S.Canvas->SetControlComponent(Orphan);
  EXPECT_ANY_THROW(S.Canvas->StartPaint());
  EXPECT_FALSE(S.Canvas->Drawing());
  EXPECT_FALSE(S.Canvas->Canvas()->HandleAllocated());
}

}  // namespace
