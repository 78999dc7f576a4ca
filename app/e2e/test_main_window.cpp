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

  // Texts that are no tag: the application's handler shows the error; both boxes keep their
  // texts.
  const struct {
    bool FromEpc;
    const char* Text;
    const char* Message;
  } Refused[] = {
      {true, "x.1.5", "'x' is not a valid floating point value."},
      {true, "48.9.5.0359011.010310.41928", "Filter value 9 is out of range (0 to 7)."},
      {true, "48.1.5.99999999.010310.41928", "Company prefix 99999999 is out of range for partition 5 (0 to 9999999)."},
      {true, "48.1.5.0359011.010310.274877906944", "Serial number 274877906944 is out of range (0 to 274877906943)."},
      {true, "48.1.5.0359011.010310.-1", "Serial number -1 is out of range (0 to 274877906943)."},
      {true, "48.1.5..010310.41928", "'' is not a valid floating point value."},
      {true, "48.1.5.1.2.3.4", "An SGTIN-96 EPC has six fields; '48.1.5.1.2.3.4' has 7."},
      {true, "48.1.5.0359011.010310.1.5", "An SGTIN-96 EPC has six fields; '48.1.5.0359011.010310.1.5' has 7."},
      {false, "303415E98C0A11800000A3C8303415E98C0A11",
       "A SGTIN-96 tag ID has 24 hexadecimal digits; this one has 38."},
  };
  for (const auto& R : Refused) {
    SCOPED_TRACE(R.Text);
    const std::string Hex = R.FromEpc ? Sample : R.Text, Epc = R.FromEpc ? R.Text : SampleEpc;
    SetText(M.Hex, Hex);
    SetText(M.Epc, Epc);
    Click(R.FromEpc ? M.FromEpc : M.ToEpc, true);
    HWND Box = WaitForErrorBox(M.Proc.Info.dwProcessId);
    ASSERT_NE(Box, nullptr) << "no error box";
    EXPECT_EQ(MessageBoxText(Box), R.Message);
    HWND Ok = ChildWithText(Box, "OK");
    ASSERT_NE(Ok, nullptr);
    Click(Ok, true);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(Box); }, 5000));
    EXPECT_EQ(TextOf(M.Epc), Epc);
    EXPECT_EQ(TextOf(M.Hex), Hex);
  }

  // An empty or blank source box writes the empty text into the other box, with no error box.
  for (const char* Empty : {"", "   "}) {
    for (bool FromEpc : {false, true}) {
      SCOPED_TRACE(std::string(FromEpc ? "from EPC, source \"" : "to EPC, source \"") + Empty + "\"");
      HWND Source = FromEpc ? M.Epc : M.Hex, Target = FromEpc ? M.Hex : M.Epc;
      SetText(Source, Empty);
      SetText(Target, "stale");
      Click(FromEpc ? M.FromEpc : M.ToEpc, true);
      EXPECT_TRUE(WaitUntil([&] { return TextOf(Target).empty(); }, 5000)) << "target holds " << TextOf(Target);
      HWND Box = FindWindowOf(M.Proc.Info.dwProcessId, "Orvalen");
      EXPECT_EQ(Box, nullptr) << "an error box opened: " << (Box ? MessageBoxText(Box) : "");
      if (Box) Click(ChildWithText(Box, "OK"), true);
      EXPECT_EQ(TextOf(Source), Empty);
    }
  }

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

// Start-up time over five runs, medians printed: process start to the first window of the
// process, and from there to the main window being visible.
TEST(MainWindow, StartUpTime) {
  std::vector<double> ToFirst, ToMain, Total;
  LARGE_INTEGER Freq;
  QueryPerformanceFrequency(&Freq);
  auto Now = [] {
    LARGE_INTEGER T;
    QueryPerformanceCounter(&T);
    return T.QuadPart;
  };
  auto Ms = [&](LONGLONG From, LONGLONG To) { return double(To - From) * 1000.0 / double(Freq.QuadPart); };
  for (int Run = 0; Run < 5; ++Run) {
    Process P;
    const LONGLONG T0 = Now();
    ASSERT_TRUE(P.Start("\"" + ProgramPath() + "\""));
    const DWORD Pid = P.Info.dwProcessId;
    // Polled closely: the figures are a few hundred milliseconds.
    auto Poll = [&](const char* Caption, bool Visible) {
      HWND W;
      const DWORD Start = GetTickCount();
      while (!(W = FindWindowOf(Pid, Caption, Visible)) && GetTickCount() - Start < 30000) Sleep(1);
      return W;
    };
    ASSERT_NE(Poll("", false), nullptr);
    const LONGLONG T1 = Now();
    const HWND Main = Poll("Orvalen...", true);
    ASSERT_NE(Main, nullptr);
    const LONGLONG T2 = Now();
    ToFirst.push_back(Ms(T0, T1));
    ToMain.push_back(Ms(T1, T2));
    Total.push_back(Ms(T0, T2));
    PostMessageA(Main, WM_CLOSE, 0, 0);
    DWORD Code = 1;
    ASSERT_TRUE(P.WaitExit(10000, &Code));
    EXPECT_EQ(Code, 0u);
  }
  auto Median = [](std::vector<double> V) {
    std::sort(V.begin(), V.end());
    return V[V.size() / 2];
  };
  std::printf("start-up to visible main window: median %.0f ms (process start to first window %.0f ms, "
              "first window to visible main window %.0f ms)\n",
              Median(Total), Median(ToFirst), Median(ToMain));
  RecordProperty("StartUpMedianMs", int(Median(Total)));
}
