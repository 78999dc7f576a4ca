// End to end: the real orvalen.exe's main window, driven as a user would.
#include "app/e2e/App.h"
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace e2e;

namespace {
HWND WaitForErrorBox(DWORD Pid) { return WaitForWindow(Pid, "Orvalen", 10000); }

// The static text of a message box (its longest static child).
std::string MessageBoxText(HWND Box) {
  std::string Best;
  for (HWND W : Children(Box, "Static"))
    if (TextOf(W).size() > Best.size()) Best = TextOf(W);
  return Best;
}

}  // namespace

TEST(MainWindow, ConvertsShowsErrorsAndExits) {
  MainWindow M;
  M.Start();
  if (HasFatalFailure()) return;

  RECT Client = ClientScreenRect(M.Main);
  EXPECT_EQ(Client.right - Client.left, 467);
  EXPECT_EQ(Client.bottom - Client.top, 312);
  EXPECT_EQ(TextOf(M.Hex), Sample);
  EXPECT_EQ(TextOf(M.Epc), "");

  Click(M.ToEpc);
  EXPECT_EQ(TextOf(M.Epc), SampleEpc);
  EXPECT_EQ(TextOf(M.Hex), Sample);

  // A bad field: the application's handler shows the error; both boxes keep their texts.
  SetText(M.Epc, "x.1.5");
  Click(M.FromEpc, true);
  HWND Box = WaitForErrorBox(M.Proc.Info.dwProcessId);
  ASSERT_NE(Box, nullptr) << "no error box";
  EXPECT_EQ(MessageBoxText(Box), "'x' is not a valid floating point value.");
  HWND Ok = ChildWithText(Box, "OK");
  ASSERT_NE(Ok, nullptr);
  Click(Ok, true);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(Box); }, 5000));
  EXPECT_EQ(TextOf(M.Epc), "x.1.5");
  EXPECT_EQ(TextOf(M.Hex), Sample);

  // Back to a good text, and the reverse conversion.
  SetText(M.Epc, SampleEpc);
  SetText(M.Hex, "");
  Click(M.FromEpc);
  EXPECT_EQ(TextOf(M.Hex), Sample);

  EXPECT_EQ(M.Exit(), 0u);
}

TEST(MainWindow, LooksAsDesigned) {
  MainWindow M;
  M.Start();
  if (HasFatalFailure()) return;
  ASSERT_TRUE(Foreground(M.Main));
  Click(M.ToEpc);
  ASSERT_EQ(TextOf(M.Epc), SampleEpc);
  RedrawWindow(M.Main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(300);

  // The blended background: silver at the top, deep purple ($590059) at the bottom.
  EXPECT_TRUE(Near(ClientPixel(M.Main, 2, 1), RGB(0xC0, 0xC0, 0xC0), 2)) << Hex(ClientPixel(M.Main, 2, 1));
  EXPECT_TRUE(Near(ClientPixel(M.Main, 2, 310), RGB(0x59, 0x00, 0x59), 2)) << Hex(ClientPixel(M.Main, 2, 310));

  // The framed boxes: the box colour ($FF0080) inside, a frame of another colour around it.
  for (HWND Edit : {M.Hex, M.Epc}) {
    RECT R = ScreenRect(Edit);
    EXPECT_EQ(R.right - R.left, 450);
    EXPECT_EQ(R.bottom - R.top, 26);
    const int Mid = (R.top + R.bottom) / 2;
    EXPECT_EQ(ScreenPixel(R.left + 20, Mid), RGB(0x80, 0x00, 0xFF));
    EXPECT_NE(ScreenPixel(R.left, Mid), RGB(0x80, 0x00, 0xFF));
  }

  // The two tag-type radio boxes at their resource positions, drawn over the background.
  struct TBox {
    int Top;
    const char* Caption;
    bool Enabled;
  };
  for (const TBox& B : {TBox{15, "GTIN64 Tag Type", false}, TBox{40, "GTIN96 Tag Type", true}}) {
    SCOPED_TRACE(B.Caption);
    HWND W = ControlAt(M.Main, 11 + 100, B.Top + 8);
    ASSERT_NE(W, M.Main);
    RECT R = ScreenRect(W);
    POINT Origin{0, 0};
    ClientToScreen(M.Main, &Origin);
    EXPECT_EQ(R.left - Origin.x, 11);
    EXPECT_EQ(R.top - Origin.y, B.Top);
    EXPECT_EQ(R.right - R.left, 200);
    EXPECT_EQ(R.bottom - R.top, 17);
    EXPECT_EQ(TextOf(W), B.Caption);
    EXPECT_EQ(IsWindowEnabled(W) != 0, B.Enabled);
    // The 13-pixel box sits at (4, 2); its centre holds the mark only when checked.
    const COLORREF Centre = ClientPixel(W, 10, 8);
    if (B.Enabled) {
      EXPECT_TRUE(Dark(Centre)) << "checked box without its mark: " << Hex(Centre);
    } else {
      EXPECT_EQ(Centre, GetSysColor(COLOR_BTNFACE)) << "disabled box not greyed";
    }
    // Caption: black text when enabled; embossed in the shadow colour, with no black, when not.
    const bool HasDark = AnyPixel(W, RECT{21, 2, 140, 15}, Dark);
    const bool HasShadow = AnyPixel(W, RECT{21, 2, 140, 15}, [](COLORREF C) { return C == GetSysColor(COLOR_BTNSHADOW); });
    EXPECT_EQ(HasDark, B.Enabled);
    if (!B.Enabled) {
      EXPECT_TRUE(HasShadow);
    }
    // See-through: beside the caption the box shows the window's background at the same height.
    EXPECT_EQ(ClientPixel(W, 190, 8), ClientPixel(M.Main, 240, B.Top + 8));
  }

  EXPECT_TRUE(SaveDesktopBmp(ShotDir() + "\\main-window.bmp"));
  EXPECT_EQ(M.Exit(), 0u);
}

// Start-up time: process start to the main window being visible, five runs, median printed.
TEST(MainWindow, StartUpTime) {
  std::vector<double> Ms;
  LARGE_INTEGER Freq;
  QueryPerformanceFrequency(&Freq);
  for (int Run = 0; Run < 5; ++Run) {
    Process P;
    LARGE_INTEGER T0, T1;
    QueryPerformanceCounter(&T0);
    ASSERT_TRUE(P.Start("\"" + ProgramPath() + "\""));
    HWND Main = WaitForWindow(P.Info.dwProcessId, "Orvalen...", 30000);
    ASSERT_NE(Main, nullptr);
    QueryPerformanceCounter(&T1);
    Ms.push_back(double(T1.QuadPart - T0.QuadPart) * 1000.0 / double(Freq.QuadPart));
    PostMessageA(Main, WM_CLOSE, 0, 0);
    DWORD Code = 1;
    ASSERT_TRUE(P.WaitExit(10000, &Code));
    EXPECT_EQ(Code, 0u);
  }
  std::sort(Ms.begin(), Ms.end());
  std::printf("start-up to visible main window: median %.0f ms (runs %.0f to %.0f ms)\n", Ms[2], Ms[0], Ms[4]);
  RecordProperty("StartUpMedianMs", int(Ms[2]));
}
