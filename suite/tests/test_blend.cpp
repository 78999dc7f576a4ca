// Blended, tiled and steel backgrounds on forms and in the paint controls, checked on the
// pixels of real windows.
#include "suite/Blend.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>

using namespace suitetest;

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int RoundedMulDiv(int A, int B, int C) { return int(std::llround((long double)A * B / C)); }

TColor Band(TColor Start, TColor End, int I, int N) {
  auto Ch = [&](int Shift) {
    int S = (Start >> Shift) & 0xFF, E = (End >> Shift) & 0xFF;
    return S + (N ? RoundedMulDiv(I, E - S, N) : 0);
  };
  return TColor(Ch(0) | (Ch(8) << 8) | (Ch(16) << 16));
}

// A shown form of the given client size whose components come from Body.
TFormPtr ShowForm(int W, int H, const std::string& Body, TColor FormColor = clYellow) {
  std::string Text = "object Form1: TForm\n  Left = 30\n  Top = 30\n  BorderStyle = bsNone\n  ClientWidth = " +
                     std::to_string(W) + "\n  ClientHeight = " + std::to_string(H) + "\n  Color = " +
                     std::to_string(FormColor) + "\n" + Body + "end\n";
  TFormPtr Form(LoadForm(Text.c_str()));
  Form->Show();
  vcltest::PumpRounds(3);
  RECT R;
  GetClientRect(Form->Handle(), &R);
  EXPECT_EQ(R.right, W);
  EXPECT_EQ(R.bottom, H);
  return Form;
}

std::string Background(const std::string& Props) {
  return "  object qBackground1: TqBackground\n" + Props + "  end\n";
}

TqBackground* BackgroundOf(TForm* Form, const char* Name = "qBackground1") {
  return dynamic_cast<TqBackground*>(Form->FindComponent(Name));
}

using TPixel = std::function<TColor(int, int)>;

TPixel ClientPixels(HWND Wnd, int DX = 0, int DY = 0) {
  auto Shot = std::shared_ptr<TBitmap>(vcltest::CaptureClient(Wnd).release());
  return [Shot, DX, DY](int X, int Y) { return Shot->Canvas()->Pixels(X + DX, Y + DY); };
}

constexpr TColor StartColor = 0x0000FF;  // red
constexpr TColor EndColor = 0xFF0000;    // blue

// The band a point of a W by H area gets, from the geometry of each direction. Diagonal bands
// end on slanted polygon edges, so there Fuzzy allows the neighbouring band.
int BandAt(gradType Fill, int W, int H, int Bands, int X, int Y, bool& Fuzzy) {
  Fuzzy = false;
  switch (Fill) {
    case gVert:
    case gHorz: {
      const int Pos = Fill == gVert ? Y : X, Len = Fill == gVert ? H : W;
      int I = 0;
      while (RoundedMulDiv(I + 1, Len, Bands + 1) <= Pos) ++I;
      return I;
    }
    case gCenter: {
      const int N = std::min({Bands, W / 2, H / 2});
      const int BW = std::max(W / 2 / N, 1), BH = std::max(H / 2 / N, 1);
      return std::min({std::min(X, W - 1 - X) / BW, std::min(Y, H - 1 - Y) / BH, N});
    }
    case gTopLeftBottomRight:
    case gTopRightBottomLeft: {
      const int N = std::min({Bands, W, H});
      const int BW = std::max(W / N, 1), BH = std::max(H / N, 1);
      const int DX = Fill == gTopLeftBottomRight ? W - 1 - X : X;
      return std::max(N - std::min(DX / BW, (H - 1 - Y) / BH), 0);
    }
    case gDiagLeft:
    case gDiagRight: {
      Fuzzy = true;
      const int N = std::min({Bands, W, H});
      const int BW = std::max(W / N, 1), BH = std::max(H / N, 1);
      const double CX = X + 0.5, CY = Y + 0.5, Step = double(H) * BW + double(W) * BH;
      const double U = Fill == gDiagLeft ? H * CX + W * CY : W * CY - H * CX + double(H) * W;
      return std::min(int(U / Step), N);
    }
  }
  return -1;
}

int BandCount(gradType Fill, int W, int H, int Bands) {
  switch (Fill) {
    case gVert:
    case gHorz: return Bands;
    case gCenter: return std::min({Bands, W / 2, H / 2});
    default: return std::min({Bands, W, H});
  }
}

// Checks a grid of points (corners included) against the geometry.
void ExpectDirection(gradType Fill, int W, int H, int Bands, const TPixel& Px, TColor Start = StartColor,
                     TColor End = EndColor) {
  SCOPED_TRACE(gradTypeType.ValueToName(Fill));
  const int N = BandCount(Fill, W, H, Bands);
  int Misses = 0;
  for (int GY = 0; GY <= 8; ++GY)
    for (int GX = 0; GX <= 12; ++GX) {
      const int X = GX * (W - 1) / 12, Y = GY * (H - 1) / 8;
      bool Fuzzy;
      const int I = BandAt(Fill, W, H, Bands, X, Y, Fuzzy);
      const TColor Got = Px(X, Y);
      bool Ok = Got == Band(Start, End, I, N);
      if (Fuzzy && !Ok)
        Ok = (I > 0 && Got == Band(Start, End, I - 1, N)) || (I < N && Got == Band(Start, End, I + 1, N));
      if (!Ok && ++Misses <= 5)
        ADD_FAILURE() << "at (" << X << ", " << Y << ") " << Hex(Got) << ", band " << I << " of " << N
                      << " is " << Hex(Band(Start, End, I, N));
    }
  EXPECT_EQ(Misses, 0);
}

// ---------------------------------------------------------------------------------------------
TEST(BlendDefaults, PublishedDefaultsMatchFreshObjects) {
  // The blend controls set their own Color, which clears ParentColor: their default is False.
  for (TClass C : {TqBackground::StaticClass(), TqTileMap::StaticClass(), TqNWTileMap::StaticClass(),
                   TqBlendPaint::StaticClass(), TqNWBlendPaint::StaticClass()})
    ExpectClassDefaultsMatch(C);
  TqBlendPaint* P = TComponent::Create<TqBlendPaint>(nullptr);
  EXPECT_EQ(P->Width(), 30);
  EXPECT_EQ(P->Height(), 30);
  EXPECT_EQ(P->ControlStyle(), StyleOf(csAcceptsControls) | StyleOf(csCaptureMouse) | StyleOf(csClickEvents) |
                                   StyleOf(csDoubleClicks));
  const TqColorRamp& R = P->Ramp();
  EXPECT_EQ(R.StartR, 255);
  EXPECT_EQ(R.StartG, 0);
  EXPECT_EQ(R.StartB, 255);
  EXPECT_EQ(R.DiffR, -255);
  EXPECT_EQ(R.DiffB, -255);
  TObject::Free(P);
}

TEST(BlendRamp, BandColoursRoundHalvesAwayFromZero) {
  TqColorRamp R = TqColorRamp::From(clSilver, TColor(5832793));
  EXPECT_EQ(R.DiffR, 89 - 192);
  EXPECT_EQ(R.DiffG, -192);
  for (int I : {0, 1, 2, 127, 128, 254, 255})
    EXPECT_EQ(Hex(R.Band(I, 255)), Hex(Band(clSilver, TColor(5832793), I, 255))) << I;
  EXPECT_EQ(R.Band(0, 255), clSilver);
  EXPECT_EQ(R.Band(255, 255), TColor(0x590059));
  EXPECT_EQ(R.Band(5, 0), clSilver) << "no band count divides by zero";
  // System colours resolve when the ramp is computed.
  TqColorRamp S = TqColorRamp::From(clBtnFace, clBtnFace);
  EXPECT_EQ(S.Band(0, 1), TColor(GetSysColor(COLOR_BTNFACE)));
}

// The main window's background: 256 strips from silver to $590059 over 312 rows.
TEST(BlendBackground, MainWindowBlendHas256Strips) {
  TFormPtr Form = ShowForm(467, 312, Background("    BackType = btBlend\n    Color = clSilver\n    EndColor = 5832793\n"));
  TqBackground* B = BackgroundOf(Form.get());
  ASSERT_TRUE(B);
  ASSERT_TRUE(B->Hooked());
  EXPECT_EQ(B->HookedWindow(), Form->Handle());
  TPixel Px = ClientPixels(Form->Handle());
  std::set<int> Strips;
  for (int Y = 0; Y < 312; ++Y) {
    int I = 0;
    while (RoundedMulDiv(I + 1, 312, 256) <= Y) ++I;
    Strips.insert(I);
    const TColor Want = TColor(RGB(192 + RoundedMulDiv(I, -103, 255), 192 + RoundedMulDiv(I, -192, 255),
                                   192 + RoundedMulDiv(I, -103, 255)));
    ASSERT_EQ(Hex(Px(3, Y)), Hex(Want)) << "row " << Y;
    ASSERT_EQ(Hex(Px(463, Y)), Hex(Want)) << "row " << Y;
  }
  EXPECT_EQ(Strips.size(), 256u);
  EXPECT_EQ(Px(200, 0), clSilver);
  EXPECT_EQ(Px(200, 311), TColor(0x590059));
}

TEST(BlendBackground, EveryDirectionOnAForm) {
  for (int F = gHorz; F <= gDiagRight; ++F) {
    const char* Name = gradTypeType.ValueToName(F);
    TFormPtr Form = ShowForm(200, 100, Background(std::string("    BackType = btBlend\n    Color = clRed\n") +
                                                  "    EndColor = clBlue\n    FillType = " + Name + "\n"));
    ExpectDirection(gradType(F), 200, 100, 255, ClientPixels(Form->Handle()));
  }
}

TEST(BlendBackground, CentreBandsOnA100By40Client) {
  // N = 20, bands 2 wide and 1 high. At exactly 100 by 40 the 20 frames use up the area and the
  // 21st fill is empty: the two middle rows keep band 19. One pixel more each way leaves a
  // 21 by 1 centre for the end colour.
  TFormPtr Form = ShowForm(100, 40, Background("    BackType = btBlend\n    Color = clRed\n    EndColor = clBlue\n    FillType = gCenter\n"));
  TPixel Px = ClientPixels(Form->Handle());
  for (int I = 0; I < 20; ++I) {
    EXPECT_EQ(Hex(Px(2 * I, 20)), Hex(Band(StartColor, EndColor, I, 20))) << "left side of band " << I;
    EXPECT_EQ(Hex(Px(99 - 2 * I, 20)), Hex(Band(StartColor, EndColor, I, 20))) << "right side of band " << I;
    EXPECT_EQ(Hex(Px(50, I)), Hex(Band(StartColor, EndColor, I, 20))) << "top side of band " << I;
  }
  for (int X = 40; X < 60; ++X) EXPECT_EQ(Hex(Px(X, 20)), Hex(Band(StartColor, EndColor, 19, 20))) << X;

  TFormPtr Odd = ShowForm(101, 41, Background("    BackType = btBlend\n    Color = clRed\n    EndColor = clBlue\n    FillType = gCenter\n"));
  TPixel OddPx = ClientPixels(Odd->Handle());
  for (int X = 40; X < 61; ++X) EXPECT_EQ(Hex(OddPx(X, 20)), Hex(EndColor)) << X;
  EXPECT_EQ(Hex(OddPx(39, 20)), Hex(Band(StartColor, EndColor, 19, 20)));
  ExpectDirection(gCenter, 101, 41, 255, OddPx);
}

TEST(BlendBackground, BitmapIsTiledAndAnEmptyOneLeavesTheFormsOwnErase) {
  TFormPtr Form = ShowForm(30, 20, Background("    BackType = btBitmap\n"));
  TqBackground* B = BackgroundOf(Form.get());
  EXPECT_EQ(Hex(ClientPixels(Form->Handle())(10, 10)), Hex(clYellow)) << "empty bitmap";
  TBitmap Tile;
  Tile.SetSize(7, 5);
  Tile.Canvas()->Brush()->SetColor(clGreen);
  Tile.Canvas()->FillRect(Rect(0, 0, 7, 5));
  Tile.Canvas()->SetPixels(0, 0, clRed);
  B->SetBitMap(&Tile);
  TPixel Px = ClientPixels(Form->Handle());
  for (auto [X, Y] : {std::pair{0, 0}, {7, 5}, {14, 10}, {28, 15}, {21, 0}})
    EXPECT_EQ(Hex(Px(X, Y)), Hex(clRed)) << X << "," << Y;
  for (auto [X, Y] : {std::pair{1, 0}, {8, 5}, {6, 4}, {29, 19}})
    EXPECT_EQ(Hex(Px(X, Y)), Hex(clGreen)) << X << "," << Y;
  B->SetBackType(btNormal);
  EXPECT_EQ(Hex(ClientPixels(Form->Handle())(8, 5)), Hex(clYellow)) << "btNormal";
}

TEST(BlendBackground, SteelPattern) {
  TFormPtr Form = ShowForm(40, 24, Background("    BackType = btSteel\n"));
  TPixel Px = ClientPixels(Form->Handle());
  for (int Y = 0; Y < 24; ++Y)
    for (int X = 0; X < 40; ++X)
      ASSERT_EQ(Hex(Px(X, Y)), Hex((X % 2) && (Y % 2) ? clWhite : clSilver)) << X << "," << Y;
}

struct TPaintLog : TObject {
  int Paints = 0, Resizes = 0;
  TObject* Sender = nullptr;
  void Paint(TCanvas* Canvas, TObject* S) {
    ++Paints;
    Sender = S;
    Canvas->Brush()->SetColor(clLime);
    Canvas->FillRect(Rect(10, 10, 20, 20));
  }
  void Resize(TObject*) { ++Resizes; }
};

TEST(BlendBackground, OnPaintDrawsOverTheBackgroundUnlessMinimised) {
  TFormPtr Form = ShowForm(100, 60, Background("    BackType = btSteel\n"));
  TqBackground* B = BackgroundOf(Form.get());
  TPaintLog Log;
  B->OnPaint = EVENT(&Log, TPaintLog::Paint);
  RedrawAll(Form->Handle());
  TPixel Px = ClientPixels(Form->Handle());
  EXPECT_GT(Log.Paints, 0);
  EXPECT_EQ(Log.Sender, B);
  EXPECT_EQ(Px(15, 15), clLime);
  EXPECT_EQ(Px(1, 1), clWhite);

  ShowWindow(Form->Handle(), SW_MINIMIZE);
  vcltest::PumpRounds(3);
  ASSERT_TRUE(IsIconic(Form->Handle()));
  const int Before = Log.Paints;
  HDC DC = GetDC(Form->Handle());
  EXPECT_EQ(SendMessageA(Form->Handle(), WM_ERASEBKGND, WPARAM(DC), 0), 1);
  ReleaseDC(Form->Handle(), DC);
  EXPECT_EQ(Log.Paints, Before) << "a minimised window is erased by its own procedure";
  ShowWindow(Form->Handle(), SW_RESTORE);
  vcltest::PumpRounds(2);
}

TEST(BlendBackground, RuntimeChangesRepaintAndUnchangedValuesDoNot) {
  TFormPtr Form = ShowForm(120, 80, Background("    BackType = btBlend\n    Color = clRed\n    EndColor = clBlue\n"));
  TqBackground* B = BackgroundOf(Form.get());
  const HWND Wnd = Form->Handle();
  B->SetColor(clLime);
  vcltest::PumpMessages();
  ExpectDirection(gVert, 120, 80, 255, ClientPixels(Wnd), clLime, clBlue);
  ValidateRect(Wnd, nullptr);
  B->SetColor(clLime);
  B->SetEndColor(clBlue);
  B->SetBands(255);
  B->SetBackType(btBlend);
  EXPECT_FALSE(GetUpdateRect(Wnd, nullptr, FALSE)) << "same values again invalidate nothing";
  B->SetGrad(gHorz);
  EXPECT_TRUE(GetUpdateRect(Wnd, nullptr, FALSE)) << "FillType always repaints";
  vcltest::PumpMessages();
  ExpectDirection(gHorz, 120, 80, 255, ClientPixels(Wnd), clLime, clBlue);
}

TEST(BlendBackground, SettersBeforeTheHookLeaveOtherWindowsAlone) {
  vcltest::TTestWindow Other(100, 60, 600, 400);
  ValidateRect(Other.Handle(), nullptr);
  TqBackground* B = TComponent::Create<TqBackground>(nullptr);
  B->SetColor(clRed);
  B->SetEndColor(clNavy);
  B->SetBackType(btBlend);
  B->SetGrad(gCenter);
  B->SetBands(3);
  TBitmap Bmp;
  B->SetBitMap(&Bmp);
  EXPECT_FALSE(B->Hooked());
  EXPECT_FALSE(GetUpdateRect(Other.Handle(), nullptr, FALSE));
  // Without a form among its owners nothing is hooked, and loading says why.
  try {
    B->Loaded();
    ADD_FAILURE() << "no error";
  } catch (const EComponentError& E) {
    EXPECT_STREQ(E.what(), "NoForm");
  }
  EXPECT_FALSE(B->Hooked());
  TObject::Free(B);
}

TEST(BlendBackground, ResizeRedrawsTheWholeGradient) {
  TFormPtr Form = ShowForm(120, 100, Background("    BackType = btBlend\n    Color = clRed\n    EndColor = clBlue\n"));
  TqBackground* B = BackgroundOf(Form.get());
  TPaintLog Log;
  B->OnResize = EVENT(&Log, TPaintLog::Resize);
  Form->SetClientHeight(200);
  vcltest::PumpRounds(3);
  EXPECT_GT(Log.Resizes, 0);
  TPixel Px = ClientPixels(Form->Handle());
  ExpectDirection(gVert, 120, 200, 255, Px);
  // Every row of the old area was repainted to the new scale.
  int I = 0;
  while (RoundedMulDiv(I + 1, 200, 256) <= 50) ++I;
  EXPECT_EQ(Hex(Px(60, 50)), Hex(Band(StartColor, EndColor, I, 255)));
  // The window-update lock taken around the size change is gone.
  vcltest::TTestWindow Other(50, 50, 700, 400);
  EXPECT_TRUE(LockWindowUpdate(Other.Handle()));
  LockWindowUpdate(nullptr);
}

TEST(BlendBackground, AThrowingResizeHandlerStillLetsTheWindowResize) {
  TFormPtr Form = ShowForm(120, 100, Background("    BackType = btBlend\n    Color = clRed\n    EndColor = clBlue\n"));
  struct TThrower : TObject {
    int Calls = 0;
    void Resize(TObject*) { ++Calls; throw EConvertError("resize failed"); }
    void Caught(TObject*, Exception& E) { Message = E.Message(); }
    AnsiString Message;
  } Thrower;
  BackgroundOf(Form.get())->OnResize = EVENT(&Thrower, TThrower::Resize);
  TExceptionEvent Saved = Application->OnException;
  Application->OnException = EVENT(&Thrower, TThrower::Caught);
  Form->SetClientWidth(160);
  vcltest::PumpRounds(2);
  Application->OnException = Saved;
  EXPECT_GT(Thrower.Calls, 0);
  EXPECT_EQ(Thrower.Message, "resize failed");
  RECT R;
  GetClientRect(Form->Handle(), &R);
  EXPECT_EQ(R.right, 160);
  ExpectDirection(gVert, 160, 100, 255, ClientPixels(Form->Handle()));
  vcltest::TTestWindow Other(50, 50, 700, 400);
  EXPECT_TRUE(LockWindowUpdate(Other.Handle()));
  LockWindowUpdate(nullptr);
}

// Two backgrounds on one form: the later one paints; removing them in either order leaves no
// dangling procedure.
TEST(BlendBackground, TwoHooksRemovedInEitherOrder) {
  const std::string Two = Background("    BackType = btSteel\n") +
                          "  object qBackground2: TqBackground\n    BackType = btBlend\n    Color = clRed\n"
                          "    EndColor = clRed\n  end\n";
  for (bool FirstLoadedGoesFirst : {true, false}) {
    SCOPED_TRACE(FirstLoadedGoesFirst ? "first hook removed first" : "last hook removed first");
    TFormPtr Form = ShowForm(60, 40, Two);
    const HWND Wnd = Form->Handle();
    TqBackground* A = BackgroundOf(Form.get(), "qBackground1");
    TqBackground* B = BackgroundOf(Form.get(), "qBackground2");
    ASSERT_TRUE(A->Hooked());
    ASSERT_TRUE(B->Hooked());
    EXPECT_EQ(Hex(ClientPixels(Wnd)(1, 1)), Hex(clRed)) << "the later hook answers the erase";
    if (FirstLoadedGoesFirst) {
      TObject::Free(A);
      EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0) << "B calls what A called";
      RedrawAll(Wnd);
      EXPECT_EQ(Hex(ClientPixels(Wnd)(1, 1)), Hex(clRed));
      TObject::Free(B);
      RedrawAll(Wnd);
      EXPECT_EQ(Hex(ClientPixels(Wnd)(1, 1)), Hex(clYellow)) << "the form erases itself again";
    } else {
      TObject::Free(B);
      EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
      RedrawAll(Wnd);
      EXPECT_EQ(Hex(ClientPixels(Wnd)(1, 1)), Hex(clWhite)) << "A's steel again";
      TObject::Free(A);
      EXPECT_EQ(GetWindowLongPtrA(Wnd, GWLP_WNDPROC) != 0, true);
      RedrawAll(Wnd);
      EXPECT_EQ(Hex(ClientPixels(Wnd)(1, 1)), Hex(clYellow));
    }
    // The form still answers messages and is destroyed cleanly.
    Form->SetClientHeight(50);
    vcltest::PumpRounds(2);
    Form.reset();
    vcltest::PumpMessages();
    EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0) << "a pass-through goes with its window";
  }
}

TEST(BlendBackground, FormDestroyedWithItsHooks) {
  TFormPtr Form = ShowForm(60, 40, Background("    BackType = btSteel\n") +
                                       "  object qBackground2: TqBackground\n    BackType = btBlend\n  end\n");
  Form.reset();
  vcltest::PumpMessages();
  EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
}

// A window the form makes again (a border style change at run time) is hooked in its turn.
TEST(BlendBackground, FollowsTheFormsRecreatedWindow) {
  TFormPtr Form = ShowForm(120, 80, Background("    BackType = btBlend\n    Color = clRed\n    EndColor = clBlue\n"));
  TqBackground* B = BackgroundOf(Form.get());
  const TWndMethod FormsOwn = Form->WindowProc;
  for (TFormBorderStyle Style : {bsSizeable, bsToolWindow, bsNone}) {
    SCOPED_TRACE(TFormBorderStyleType.ValueToName(Style));
    const HWND Old = Form->Handle();
    Form->SetBorderStyle(Style);
    vcltest::PumpRounds(3);
    ASSERT_NE(Form->Handle(), Old) << "the window was made again";
    EXPECT_TRUE(B->Hooked());
    EXPECT_EQ(B->HookedWindow(), Form->Handle());
    EXPECT_TRUE(Form->WindowProc == FormsOwn) << "the form runs its own WindowProc again";
    RECT R;
    GetClientRect(Form->Handle(), &R);
    RedrawAll(Form->Handle());
    ExpectDirection(gVert, R.right, R.bottom, 255, ClientPixels(Form->Handle()));
  }
  // Setters repaint the new window.
  B->SetEndColor(clRed);
  vcltest::PumpRounds(2);
  EXPECT_EQ(Hex(ClientPixels(Form->Handle())(60, 70)), Hex(clRed));
}

// A foreign WindowProc that keeps the procedure it replaced.
struct TForeignProc : TObject {
  TWndMethod Saved;
  int Calls = 0;
  void Proc(TMessage& Message) {
    ++Calls;
    Saved(Message);
  }
};

// The background watches for the form's next window; a foreign WindowProc installed over the
// watch keeps it. Freed, the background leaves the link passing messages on, and the form works.
TEST(BlendBackground, AForeignWindowProcOverTheWatchOutlivesTheBackground) {
  TFormPtr Form = ShowForm(60, 40, Background("    BackType = btBlend\n    Color = clRed\n    EndColor = clRed\n"));
  TqBackground* B = BackgroundOf(Form.get());
  // Its window goes; a hidden form makes the next one when shown.
  Form->Hide();
  Form->SetBorderStyle(bsSingle);
  ASSERT_FALSE(Form->HandleAllocated());
  TForeignProc Foreign;
  Foreign.Saved = Form->WindowProc;
  Form->WindowProc = TWndMethod::Bind<&TForeignProc::Proc>(&Foreign);
  TObject::Free(B);
  Form->Show();
  vcltest::PumpRounds(3);
  EXPECT_GT(Foreign.Calls, 0);
  RedrawAll(Form->Handle());
  EXPECT_EQ(Hex(ClientPixels(Form->Handle())(1, 1)), Hex(clYellow)) << "the form erases itself";
  // Made once more, and taken off again by its owner: the form's own procedure is left.
  Form->SetBorderStyle(bsToolWindow);
  vcltest::PumpRounds(3);
  RedrawAll(Form->Handle());
  EXPECT_EQ(Hex(ClientPixels(Form->Handle())(1, 1)), Hex(clYellow));
  Form->WindowProc = Foreign.Saved;
  Form->Perform(WM_NULL, 0, 0);
  Form.reset();
  vcltest::PumpMessages();
  EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
}

// Two backgrounds on a form whose window is made again, removed in either order, also while
// the form has no window; the form is left with its own procedures.
TEST(BlendBackground, TwoHooksFollowARecreatedWindowAndGoInEitherOrder) {
  const std::string Two = Background("    BackType = btSteel\n") +
                          "  object qBackground2: TqBackground\n    BackType = btBlend\n    Color = clRed\n"
                          "    EndColor = clRed\n  end\n";
  struct TCase {
    const char* Name;
    bool FirstLoadedGoesFirst;
    bool WithoutWindow;  // removed while the form waits for its next window
  };
  const TCase Cases[] = {{"first removed first", true, false},
                         {"last removed first", false, false},
                         {"first removed first, no window", true, true},
                         {"last removed first, no window", false, true}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TFormPtr Form = ShowForm(60, 40, Two);
    const TWndMethod FormsOwn = Form->WindowProc;
    TqBackground* A = BackgroundOf(Form.get(), "qBackground1");
    TqBackground* B = BackgroundOf(Form.get(), "qBackground2");
    Form->SetBorderStyle(bsToolWindow);
    vcltest::PumpRounds(3);
    ASSERT_TRUE(A->Hooked());
    ASSERT_TRUE(B->Hooked());
    EXPECT_TRUE(Form->WindowProc == FormsOwn);
    RedrawAll(Form->Handle());
    EXPECT_EQ(Hex(ClientPixels(Form->Handle())(1, 1)), Hex(clRed)) << "the later hook still answers the erase";

    TqBackground* First = Case.FirstLoadedGoesFirst ? A : B;
    TqBackground* Second = Case.FirstLoadedGoesFirst ? B : A;
    if (Case.WithoutWindow) {
      Form->Hide();
      Form->SetBorderStyle(bsNone);
      ASSERT_FALSE(Form->HandleAllocated()) << "a hidden form makes its window when shown";
      EXPECT_FALSE(A->Hooked());
      EXPECT_FALSE(B->Hooked());
      TObject::Free(First);
      Form->Show();
      vcltest::PumpRounds(3);
      EXPECT_TRUE(Second->Hooked());
      EXPECT_EQ(Second->HookedWindow(), Form->Handle());
      RedrawAll(Form->Handle());
      EXPECT_EQ(Hex(ClientPixels(Form->Handle())(1, 1)), Hex(Second == B ? clRed : clWhite));
    } else {
      TObject::Free(First);
      RedrawAll(Form->Handle());
      EXPECT_EQ(Hex(ClientPixels(Form->Handle())(1, 1)), Hex(Second == B ? clRed : clWhite));
    }
    TObject::Free(Second);
    EXPECT_TRUE(Form->WindowProc == FormsOwn);
    RedrawAll(Form->Handle());
    EXPECT_EQ(Hex(ClientPixels(Form->Handle())(1, 1)), Hex(clYellow)) << "the form erases itself again";
    // The window is made once more with nothing hooked, and the form goes cleanly.
    Form->SetBorderStyle(bsSingle);
    vcltest::PumpRounds(2);
    EXPECT_TRUE(Form->WindowProc == FormsOwn);
    Form.reset();
    vcltest::PumpMessages();
    EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
  }
  // A form destroyed with both backgrounds waiting for a window.
  TFormPtr Form = ShowForm(60, 40, Two);
  Form->Hide();
  Form->SetBorderStyle(bsSingle);
  ASSERT_FALSE(Form->HandleAllocated());
  Form.reset();
  vcltest::PumpMessages();
  EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
}

// ---------------------------------------------------------------------------------------------
// The paint controls.

template <class T> T* AddBlend(vcltest::TTestHost& Host, int L, int T0, int W, int H, gradType Fill, int Bands = 255) {
  T* C = Host.Add<T>(L, T0, W, H);
  C->SetColor(StartColor);
  C->SetEndColor(EndColor);
  C->SetBands(Bands);
  C->SetGrad(Fill);
  return C;
}

TEST(BlendControls, EveryDirectionInBothControls) {
  for (int F = gHorz; F <= gDiagRight; ++F) {
    vcltest::TTestHost Host(400, 160);
    auto* Win = AddBlend<TqBlendPaint>(Host, 10, 10, 160, 90, gradType(F));
    AddBlend<TqNWBlendPaint>(Host, 200, 20, 160, 90, gradType(F));
    vcltest::PumpMessages();
    {
      SCOPED_TRACE("windowed");
      ExpectDirection(gradType(F), 160, 90, 255, ClientPixels(Win->Handle()));
    }
    {
      SCOPED_TRACE("non-windowed");
      ExpectDirection(gradType(F), 160, 90, 255, ClientPixels(Host.Control()->Handle(), 200, 20));
    }
  }
}

// OnPaint finds the canvas as the fills leave it: the brush in the last band's colour, and after
// a diagonal fill the pen as well; a fill painting backwards from the end ends on the start.
struct TCanvasSeen : TObject {
  TColor Brush = clNone, Pen = clNone;
  template <class T> void Paint(TObject* Sender) {
    Brush = static_cast<T*>(Sender)->Canvas()->Brush()->Color();
    Pen = static_cast<T*>(Sender)->Canvas()->Pen()->Color();
  }
};

TEST(BlendControls, OnPaintFindsTheLastBandsBrushAndPen) {
  const struct {
    gradType Fill;
    TColor Brush, Pen;
  } Cases[] = {
      {gVert, EndColor, clBlack},          {gHorz, EndColor, clBlack},
      {gCenter, EndColor, clBlack},        {gTopLeftBottomRight, StartColor, clBlack},
      {gDiagLeft, EndColor, EndColor},     {gDiagRight, EndColor, EndColor},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(gradTypeType.ValueToName(C.Fill));
    vcltest::TTestHost Host(300, 100);
    auto* Win = AddBlend<TqBlendPaint>(Host, 10, 10, 80, 60, C.Fill, 20);
    auto* NW = AddBlend<TqNWBlendPaint>(Host, 150, 10, 80, 60, C.Fill, 20);
    TCanvasSeen SeenWin, SeenNW;
    Win->OnPaint = TNotifyEvent::Bind<&TCanvasSeen::Paint<TqBlendPaint>>(&SeenWin);
    NW->OnPaint = TNotifyEvent::Bind<&TCanvasSeen::Paint<TqNWBlendPaint>>(&SeenNW);
    Win->Invalidate();
    NW->Invalidate();
    vcltest::PumpMessages();
    EXPECT_EQ(Hex(SeenWin.Brush), Hex(C.Brush)) << "windowed";
    EXPECT_EQ(Hex(SeenWin.Pen), Hex(C.Pen)) << "windowed";
    EXPECT_EQ(Hex(SeenNW.Brush), Hex(C.Brush)) << "non-windowed";
    EXPECT_EQ(Hex(SeenNW.Pen), Hex(C.Pen)) << "non-windowed";
  }
}

TEST(BlendControls, FewBandsAndDegenerateSizes) {
  vcltest::TTestHost Host(400, 200);
  // Bands 1: two strips, start then end.
  auto* Two = AddBlend<TqNWBlendPaint>(Host, 0, 0, 50, 40, gVert, 1);
  auto* None = AddBlend<TqNWBlendPaint>(Host, 60, 0, 50, 40, gCenter, 0);
  auto* Negative = AddBlend<TqNWBlendPaint>(Host, 120, 0, 50, 40, gDiagRight, -5);
  auto* Thin = AddBlend<TqNWBlendPaint>(Host, 180, 0, 1, 40, gTopLeftBottomRight);
  auto* Flat = AddBlend<TqNWBlendPaint>(Host, 200, 0, 40, 1, gDiagLeft);
  vcltest::PumpMessages();
  TPixel Px = ClientPixels(Host.Control()->Handle());
  EXPECT_EQ(Px(25, 5), StartColor);
  EXPECT_EQ(Px(25, 35), EndColor);
  EXPECT_EQ(Px(85, 20), StartColor) << "no bands: one fill";
  EXPECT_EQ(Px(145, 20), StartColor);
  EXPECT_EQ(Px(180, 20), EndColor) << "one pixel wide: one band of the end colour down the right edge";
  EXPECT_EQ(Px(220, 0), StartColor) << "one pixel high";
  (void)Two, (void)None, (void)Negative, (void)Thin, (void)Flat;
}

TEST(BlendControls, SteelLookAndColourChanges) {
  vcltest::TTestHost Host(300, 120);
  auto* Win = AddBlend<TqBlendPaint>(Host, 8, 8, 64, 40, gVert);
  auto* NW = AddBlend<TqNWBlendPaint>(Host, 96, 16, 64, 40, gVert);
  Win->SetSteel(true);
  NW->SetSteel(true);
  vcltest::PumpMessages();
  TPixel W = ClientPixels(Win->Handle());
  TPixel N = ClientPixels(Host.Control()->Handle(), 96, 16);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) {
      TColor Want = (X % 2) && (Y % 2) ? clWhite : clSilver;
      ASSERT_EQ(Hex(W(X, Y)), Hex(Want)) << "windowed " << X << "," << Y;
      ASSERT_EQ(Hex(N(X, Y)), Hex(Want)) << "non-windowed " << X << "," << Y;
    }
  Win->SetSteel(false);
  Win->SetColor(clLime);
  vcltest::PumpMessages();
  EXPECT_EQ(Win->Ramp().StartG, 255);
  {
    SCOPED_TRACE("the start colour is the control's Color");
    ExpectDirection(gVert, 64, 40, 255, ClientPixels(Win->Handle()), clLime, EndColor);
  }
}

TEST(BlendControls, AFreshControlStartsFromItsOwnColourNotItsParents) {
  vcltest::TTestHost Host(200, 100);
  auto* Parent = Host.Add<TqTileMap>(0, 0, 200, 100);
  Parent->SetColor(clYellow);
  auto* Win = TComponent::Create<TqBlendPaint>(Host.Control());
  Win->SetBounds(10, 10, 60, 40);
  Win->SetParent(Parent);
  auto* NW = TComponent::Create<TqNWBlendPaint>(Host.Control());
  NW->SetBounds(100, 10, 60, 40);
  NW->SetParent(Parent);
  Win->SetBands(1);  // two strips: the start colour above, the end colour below
  NW->SetBands(1);
  vcltest::PumpMessages();
  EXPECT_FALSE(Win->ParentColor());
  EXPECT_FALSE(NW->ParentColor());
  EXPECT_EQ(Hex(Win->Color()), Hex(TColor(0xFF00FF)));
  EXPECT_EQ(Hex(NW->Color()), Hex(TColor(0xFF00FF)));
  EXPECT_EQ(Hex(ClientPixels(Win->Handle())(30, 0)), Hex(TColor(0xFF00FF)));
  EXPECT_EQ(Hex(ClientPixels(Win->Handle())(30, 39)), Hex(clBlack));
  EXPECT_EQ(Hex(ClientPixels(Parent->Handle())(130, 10)), Hex(TColor(0xFF00FF)));
  // Asked to, it follows the parent.
  NW->SetParentColor(true);
  vcltest::PumpMessages();
  EXPECT_EQ(Hex(NW->Color()), Hex(clYellow));
  EXPECT_EQ(Hex(ClientPixels(Parent->Handle())(130, 10)), Hex(clYellow));
}

// The fills leave the DC as they found it: what a canvas has selected, and the DC's own brush
// and pen colours.
TEST(BlendGeometry, PaintingRestoresTheDC) {
  TBitmap Target;
  Target.SetSize(40, 30);
  HDC DC = Target.Canvas()->Handle();
  TBrushOwner Brush(CreateSolidBrush(RGB(1, 2, 3)));
  TPenOwner Pen(CreatePen(PS_DASH, 1, RGB(4, 5, 6)));
  TSelectGuard SelBrush(DC, Brush.Get()), SelPen(DC, Pen.Get());
  SetDCBrushColor(DC, RGB(7, 8, 9));
  SetDCPenColor(DC, RGB(10, 11, 12));
  const TqColorRamp Ramp = TqColorRamp::From(StartColor, EndColor);
  for (int F = gHorz; F <= gDiagRight; ++F) {
    SCOPED_TRACE(gradTypeType.ValueToName(F));
    PatBlt(DC, 0, 0, 40, 30, WHITENESS);
    PaintBlend(DC, 40, 30, gradType(F), 255, Ramp);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), Brush.Get());
    EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), Pen.Get());
    EXPECT_EQ(GetDCBrushColor(DC), RGB(7, 8, 9));
    EXPECT_EQ(GetDCPenColor(DC), RGB(10, 11, 12));
    EXPECT_NE(Hex(TColor(GetPixel(DC, 20, 15))), Hex(clWhite)) << "it painted";
  }
}

struct TClickLog : TObject {
  int Upper = 0, Lower = 0;
  void UpperClick(TObject*) { ++Upper; }
  void LowerClick(TObject*) { ++Lower; }
};

TEST(BlendControls, PassMouseOnLetsTheClickThrough) {
  vcltest::TTestHost Host(200, 120);
  TClickLog Log;
  auto* Lower = Host.Add<TqNWTileMap>(10, 10, 100, 80);
  Lower->OnClick = EVENT(&Log, TClickLog::LowerClick);
  auto* Upper = AddBlend<TqNWBlendPaint>(Host, 20, 20, 60, 40, gVert);
  Upper->OnClick = EVENT(&Log, TClickLog::UpperClick);
  vcltest::PumpMessages();
  EXPECT_NE(Upper->Perform(CM_HITTEST, 0, PointToLParam(Point(5, 5))), 0);
  vcltest::Click(Host.Control()->Handle(), 40, 40);
  vcltest::PumpMessages();
  EXPECT_EQ(Log.Upper, 1);
  EXPECT_EQ(Log.Lower, 0);
  Upper->SetPassMouseOn(true);
  EXPECT_EQ(Upper->Perform(CM_HITTEST, 0, PointToLParam(Point(5, 5))), 0);
  vcltest::Click(Host.Control()->Handle(), 40, 40);
  vcltest::PumpMessages();
  EXPECT_EQ(Log.Upper, 1);
  EXPECT_EQ(Log.Lower, 1);
  Lower->SetPassOn(true);
  EXPECT_EQ(Lower->Perform(CM_HITTEST, 0, PointToLParam(Point(5, 5))), 0);
}

TEST(BlendControls, TileMapsTileTheirBitmap) {
  vcltest::TTestHost Host(300, 120);
  TBitmap Tile;
  Tile.SetSize(6, 4);
  Tile.Canvas()->Brush()->SetColor(clNavy);
  Tile.Canvas()->FillRect(Rect(0, 0, 6, 4));
  Tile.Canvas()->SetPixels(5, 3, clYellow);
  auto* Win = Host.Add<TqTileMap>(10, 10, 40, 30);
  auto* NW = Host.Add<TqNWTileMap>(100, 10, 40, 30);
  Win->SetBitmap(&Tile);
  NW->SetBitmap(&Tile);
  vcltest::PumpMessages();
  EXPECT_TRUE(GetWindowLongA(Win->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  TPixel W = ClientPixels(Win->Handle());
  TPixel N = ClientPixels(Host.Control()->Handle(), 100, 10);
  for (auto [X, Y] : {std::pair{5, 3}, {11, 7}, {35, 27}, {29, 11}}) {
    EXPECT_EQ(Hex(W(X, Y)), Hex(clYellow)) << X << "," << Y;
    EXPECT_EQ(Hex(N(X, Y)), Hex(clYellow)) << X << "," << Y;
  }
  for (auto [X, Y] : {std::pair{0, 0}, {6, 4}, {39, 29}, {36, 28}}) {
    EXPECT_EQ(Hex(W(X, Y)), Hex(clNavy)) << X << "," << Y;
    EXPECT_EQ(Hex(N(X, Y)), Hex(clNavy)) << X << "," << Y;
  }
}

}  // namespace
