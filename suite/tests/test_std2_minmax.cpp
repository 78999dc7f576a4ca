// The form size limits on real forms: normalising the limits, the WM_GETMINMAXINFO answer, real
// maximising and sizing, the task bar, and hooks on one form coming off in any order.
#include "rtl/tests/default_check.h"
#include "suite/Blend.h"
#include "suite/Mystd.h"
#include "suite/Std2.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace suitetest;

namespace {

TFormPtr LimitedForm(const std::string& Props, int W = 500, int H = 300, const std::string& More = "") {
  const std::string Text = "object Form1: TForm\n  Left = 60\n  Top = 50\n  Width = " + std::to_string(W) +
                           "\n  Height = " + std::to_string(H) + "\n  object qMinMax1: TqMinMax\n" + Props + "  end\n" +
                           More + "end\n";
  return TFormPtr(LoadForm(Text.c_str()));
}

TqMinMax* LimitsOf(TForm* F) { return dynamic_cast<TqMinMax*>(F->FindComponent("qMinMax1")); }

MINMAXINFO Ask(HWND Wnd, MINMAXINFO Proposal = {}) {
  SendMessageA(Wnd, WM_GETMINMAXINFO, 0, LPARAM(&Proposal));
  return Proposal;
}

TRect WindowRect(HWND Wnd) {
  RECT R;
  GetWindowRect(Wnd, &R);
  return R;
}

TEST(MinMax, PublishedDefaultsMatchAFreshComponent) {
  TFormPtr F(TCustomForm::CreateNew<TForm>(nullptr));
  TqMinMax* M = TComponent::Create<TqMinMax>(F.get());
  ExpectDefaultsMatch(M);
}

TEST(MinMax, LimitsAreNormalisedAndTheFormFollows) {
  struct TCase {
    const char* Name;
    std::vector<std::pair<void (TqMinMax::*)(int), int>> Sets;
    int MaxWidth, MaxHeight, MaxDragWidth, MaxDragHeight;
    int FormW, FormH;  // from 500 by 300
  } Cases[] = {
      {"a minimum above the maximum widens the form", {{&TqMinMax::SetMinDragWidth, 800}}, 800, 400, 800, 400, 800, 300},
      {"a minimum height", {{&TqMinMax::SetMinDragHeight, 450}}, 600, 450, 600, 450, 500, 450},
      {"a drag maximum narrows the form", {{&TqMinMax::SetMaxWidth, 250}, {&TqMinMax::SetMaxDragWidth, 320}}, 250, 400,
       320, 400, 320, 300},
      {"a drag maximum below the maximum is raised", {{&TqMinMax::SetMaxDragHeight, 100}}, 600, 400, 600, 400, 500, 300},
      {"a maximum height drags the drag maximum", {{&TqMinMax::SetMaxHeight, 700}}, 600, 700, 600, 700, 500, 300},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TFormPtr F = LimitedForm("");
    TqMinMax* M = LimitsOf(F.get());
    for (auto [Set, Value] : C.Sets) (M->*Set)(Value);
    EXPECT_EQ(M->MaxWidth(), C.MaxWidth);
    EXPECT_EQ(M->MaxHeight(), C.MaxHeight);
    EXPECT_EQ(M->MaxDragWidth(), C.MaxDragWidth);
    EXPECT_EQ(M->MaxDragHeight(), C.MaxDragHeight);
    EXPECT_EQ(F->Width(), C.FormW);
    EXPECT_EQ(F->Height(), C.FormH);
  }
  // A form larger than the limits is brought within them when loaded.
  TFormPtr Big = LimitedForm("", 900, 700);
  EXPECT_EQ(Big->Width(), 600);
  EXPECT_EQ(Big->Height(), 400);
}

TEST(MinMax, AnswersWithItsLimits) {
  TFormPtr F = LimitedForm("    MaxLeft = 10\n    MaxTop = 20\n    MaxWidth = 450\n    MaxHeight = 260\n"
                           "    MaxDragWidth = 700\n    MaxDragHeight = 500\n    MinDragWidth = 200\n"
                           "    MinDragHeight = 120\n");
  const MINMAXINFO I = Ask(F->Handle());
  EXPECT_EQ(I.ptMaxPosition.x, 10);
  EXPECT_EQ(I.ptMaxPosition.y, 20);
  EXPECT_EQ(I.ptMaxSize.x, 450);
  EXPECT_EQ(I.ptMaxSize.y, 260);
  EXPECT_EQ(I.ptMaxTrackSize.x, 700);
  EXPECT_EQ(I.ptMaxTrackSize.y, 500);
  EXPECT_EQ(I.ptMinTrackSize.x, 200);
  EXPECT_EQ(I.ptMinTrackSize.y, 120);
}

TEST(MinMax, RealMaximiseAndSizing) {
  TFormPtr F = LimitedForm("    MaxLeft = 30\n    MaxTop = 40\n    MaxWidth = 520\n    MaxHeight = 330\n"
                           "    MaxDragWidth = 560\n    MaxDragHeight = 360\n    MinDragWidth = 300\n"
                           "    MinDragHeight = 200\n");
  F->Show();
  Foreground(F.get());
  F->SetWindowState(wsMaximized);
  AppPumpRounds(3);
  EXPECT_EQ(WindowRect(F->Handle()), TRect(30, 40, 550, 370));
  F->SetWindowState(wsNormal);
  AppPumpRounds(3);
  // The bottom-right corner dragged far out stops at the drag maximum, and far in at the
  // minimum.
  for (int Step : {12, -12}) {
    SCOPED_TRACE(Step);
    const HWND Wnd = F->Handle();
    const TRect R = WindowRect(Wnd);
    POINT Corner{R.Right - 3, R.Bottom - 3};
    ScreenToClient(Wnd, &Corner);
    // Wine: its sizing loop keeps the dragged corner one pixel inside the maximum tracking size
    // (Windows lets it reach it). Fails once Wine reaches 560 by 360.
    const TPoint Want = Step > 0 ? TPoint(559, 359) : TPoint(300, 200);
    EXPECT_TRUE(DragFromThread(Wnd, Corner.x, Corner.y, 24, Step, Step, [&] {
      const TRect Now = WindowRect(Wnd);
      return Now.Width() == Want.X && Now.Height() == Want.Y;
    })) << WindowRect(Wnd).Width() << " by " << WindowRect(Wnd).Height();
  }
}

TEST(MinMax, DefaultSizeFollowsTheSystemsProposal) {
  TFormPtr F = LimitedForm("    UseDefaultSize = True\n");
  TqMinMax* M = LimitsOf(F.get());
  MINMAXINFO P{};
  P.ptMaxSize = {1030, 780};
  P.ptMaxPosition = {-3, -4};
  P.ptMinTrackSize = {112, 27};
  P.ptMaxTrackSize = {1036, 788};
  const MINMAXINFO I = Ask(F->Handle(), P);
  EXPECT_EQ(M->MaxWidth(), 1030);
  EXPECT_EQ(M->MaxHeight(), 780);
  EXPECT_EQ(M->MaxLeft(), -3);
  EXPECT_EQ(M->MaxTop(), -4);
  EXPECT_EQ(M->MinDragWidth(), 112);
  EXPECT_EQ(M->MinDragHeight(), 27);
  EXPECT_EQ(M->MaxDragWidth(), 1036);
  EXPECT_EQ(M->MaxDragHeight(), 788);
  EXPECT_EQ(I.ptMaxTrackSize.x, 1036);
  // Limits set meanwhile leave the form alone.
  M->SetMinDragWidth(900);
  EXPECT_EQ(F->Width(), 500);
}

struct TSizeHandler : TObject {
  bool Raise = false;
  int Calls = 0;
  AnsiString Caught;
  void Ask(TObject*, int& MinW, int&, int& MaxW, int&, int&, int& MaxDragH, int& Left, int&) {
    ++Calls;
    MinW = 333;
    MaxW = 444;
    Left = 7;
    if (Raise) throw EConvertError("no size today");
    MaxDragH = 555;
  }
  void Exception(TObject*, ::Exception& E) { Caught = E.Message(); }
};

TEST(MinMax, SizeChangeHandlerChangesOnlyTheAnswer) {
  for (bool Raise : {false, true}) {
    SCOPED_TRACE(Raise);
    TFormPtr F = LimitedForm("");
    TqMinMax* M = LimitsOf(F.get());
    TSizeHandler H;
    H.Raise = Raise;
    M->OnSizeChange = EVENT(&H, TSizeHandler::Ask);
    TExceptionEvent Saved = Application->OnException;
    Application->OnException = EVENT(&H, TSizeHandler::Exception);
    const MINMAXINFO I = Ask(F->Handle());
    Application->OnException = Saved;
    EXPECT_EQ(H.Calls, 1);
    EXPECT_EQ(I.ptMinTrackSize.x, 333);
    EXPECT_EQ(I.ptMaxSize.x, 444);
    EXPECT_EQ(I.ptMaxPosition.x, 7);
    EXPECT_EQ(I.ptMaxTrackSize.y, Raise ? 400 : 555) << "what the handler set before it raised stays";
    EXPECT_EQ(H.Caught, Raise ? "no size today" : "");
    EXPECT_EQ(M->MinDragWidth(), 0);
    EXPECT_EQ(M->MaxWidth(), 600);
    EXPECT_EQ(M->MaxLeft(), 0);
  }
}

// A test task bar: a topmost "Shell_TrayWnd" window, found before any other of its class.
struct TTaskBar {
  HWND Wnd = nullptr;
  explicit TTaskBar(const TRect& R) {
    WNDCLASSA C{};
    C.lpfnWndProc = DefWindowProcA;
    C.hInstance = GetModuleHandleA(nullptr);
    C.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&C);
    Wnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, R.Left, R.Top, R.Width(),
                          R.Height(), nullptr, nullptr, C.hInstance, nullptr);
    ShowWindow(Wnd, SW_SHOWNOACTIVATE);
  }
  ~TTaskBar() { DestroyWindow(Wnd); }
};

TEST(MinMax, TaskBarAtEachEdge) {
  const int SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_EQ(SW, 1024);
  ASSERT_EQ(SH, 768);
  struct TCase {
    const char* Edge;
    TRect Bar;
    int Left, Top, DragW, DragH;
  } Cases[] = {
      {"bottom", {0, 738, 1024, 768}, 0, 0, 1024, 740},
      {"right", {994, 0, 1024, 768}, 0, 0, 996, 768},
      {"left", {0, 0, 30, 768}, 30, 0, 995, 768},
      {"top", {0, 0, 1024, 30}, 0, 30, 1024, 739},
  };
  TFormPtr F = LimitedForm("    AutoTaskBarAjust = True\n");
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Edge);
    TTaskBar Bar(C.Bar);
    ASSERT_EQ(FindWindowA("Shell_TrayWnd", nullptr), Bar.Wnd);
    const MINMAXINFO I = Ask(F->Handle());
    EXPECT_EQ(I.ptMaxPosition.x, C.Left);
    EXPECT_EQ(I.ptMaxPosition.y, C.Top);
    EXPECT_EQ(I.ptMaxTrackSize.x, C.DragW);
    EXPECT_EQ(I.ptMaxTrackSize.y, C.DragH);
    EXPECT_EQ(I.ptMaxSize.x, 600) << "the maximised size stays";
    EXPECT_EQ(I.ptMaxSize.y, 400);
  }
}

TEST(MinMax, ShowOnStatusBarSetsAndClearsTheAppWindowStyle) {
  TFormPtr F = LimitedForm("    ShowOnStatusBar = True\n");
  TqMinMax* M = LimitsOf(F.get());
  auto AppWindow = [&] { return (GetWindowLongPtrA(F->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0; };
  EXPECT_TRUE(AppWindow());
  M->SetShowOnStatusBar(false);
  EXPECT_FALSE(AppWindow());
  M->SetShowOnStatusBar(true);
  EXPECT_TRUE(AppWindow());
}

// ---------------------------------------------------------------------------------------------
// The size limits, the title bar switch and a background on one form.

const char* const ThreeHooks = "  object qTitleBar1: TqTitleBar\n    TitleBarOnFormShow = False\n  end\n"
                               "  object qBackground1: TqBackground\n    BackType = btBlend\n"
                               "    Color = clRed\n    EndColor = clRed\n  end\n";

struct TThree {
  TFormPtr F = LimitedForm("    MinDragWidth = 222\n    ShowOnStatusBar = True\n", 500, 300, ThreeHooks);
  TqMinMax* Limits = LimitsOf(F.get());
  TqTitleBar* Title = dynamic_cast<TqTitleBar*>(F->FindComponent("qTitleBar1"));
  TqBackground* Back = dynamic_cast<TqBackground*>(F->FindComponent("qBackground1"));

  bool LimitsAnswer() { return Ask(F->Handle()).ptMinTrackSize.x == 222; }
  bool TitleAnswers() {
    POINT P{40, 40};
    ClientToScreen(F->Handle(), &P);
    return SendMessageA(F->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.x, P.y)) == HTCAPTION;
  }
  bool BackgroundAnswers() {
    TBitmap B;
    B.SetSize(20, 20);
    B.Canvas()->Brush()->SetColor(clBlue);
    B.Canvas()->FillRect(Rect(0, 0, 20, 20));
    SendMessageA(F->Handle(), WM_ERASEBKGND, WPARAM(B.Canvas()->Handle()), 0);
    return B.Canvas()->Pixels(5, 5) == clRed;
  }
};

TEST(FormHooks, ThreeHooksComeOffInEveryOrder) {
  std::vector<int> Order{0, 1, 2};
  do {
    SCOPED_TRACE(testing::Message() << Order[0] << Order[1] << Order[2]);
    TThree T;
    TFormPtr Plain(TCustomForm::CreateNew<TForm>(nullptr));
    const LONG_PTR FormsOwn = GetWindowLongPtrA(Plain->Handle(), GWLP_WNDPROC);
    bool Alive[3] = {true, true, true};
    TComponent* Parts[3] = {T.Limits, T.Title, T.Back};
    for (int I : Order) {
      EXPECT_EQ(T.LimitsAnswer(), Alive[0]);
      EXPECT_EQ(T.TitleAnswers(), Alive[1]);
      EXPECT_EQ(T.BackgroundAnswers(), Alive[2]);
      TObject::Free(Parts[I]);
      Alive[I] = false;
    }
    EXPECT_FALSE(T.LimitsAnswer());
    EXPECT_FALSE(T.TitleAnswers());
    EXPECT_FALSE(T.BackgroundAnswers());
    EXPECT_EQ(GetWindowLongPtrA(T.F->Handle(), GWLP_WNDPROC), FormsOwn) << "the form's own procedure is back";
    EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
  } while (std::next_permutation(Order.begin(), Order.end()));
}

TEST(FormHooks, LimitsAndClientDragSurviveARecreatedWindow) {
  TThree T;
  const HWND Old = T.F->Handle();
  T.F->SetBorderStyle(bsSingle);
  vcltest::PumpRounds(3);
  ASSERT_NE(T.F->Handle(), Old);
  EXPECT_EQ(T.Limits->HookedWindow(), T.F->Handle());
  EXPECT_TRUE(T.LimitsAnswer());
  EXPECT_TRUE(GetWindowLongPtrA(T.F->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_TRUE(T.Title->TitleShown()) << "the new window has the form's caption";
  EXPECT_FALSE(T.TitleAnswers());
  T.Title->SetTitleBar(false);
  EXPECT_TRUE(T.TitleAnswers());
  EXPECT_TRUE(T.BackgroundAnswers());
  T.F.reset();
  EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
}

}  // namespace
