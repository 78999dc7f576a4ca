// End to end: the real orvalen.exe, driven as a user would.
#include "app/e2e/Driver.h"
#include <gtest/gtest.h>
#include <string>

using namespace e2e;

namespace {
// The build's paths are host paths; Wine sees the host's root as drive Z:.
std::string WinePath(std::string P) {
  if (!P.empty() && P[0] == '/') P = "Z:" + P;
  for (char& C : P)
    if (C == '/') C = '\\';
  return P;
}
std::string ProgramPath() { return WinePath(ORVALEN_EXE); }
std::string ShotDir() { return WinePath(ORVALEN_SHOTS); }

const char* const Sample = "303415E98C0A11800000A3C8";

// The control of the main window whose client rectangle holds the client point (X, Y).
HWND ControlAt(HWND Main, int X, int Y) {
  POINT P{X, Y};
  return ChildWindowFromPointEx(Main, P, CWP_SKIPINVISIBLE);
}

struct MainWindow {
  Process Proc;
  HWND Main = nullptr, Hex = nullptr, Epc = nullptr, ToEpc = nullptr, FromEpc = nullptr;

  void Start() {
    ASSERT_TRUE(Proc.Start("\"" + ProgramPath() + "\""));
    Main = WaitForWindow(Proc.Info.dwProcessId, "Orvalen...", 30000);
    ASSERT_NE(Main, nullptr) << "main window did not appear";
    Hex = ControlAt(Main, 8 + 225, 120 + 13);
    Epc = ControlAt(Main, 8 + 225, 247 + 13);
    ToEpc = ChildWithText(Main, "v   Convert To EPC   v");
    FromEpc = ChildWithText(Main, "^   Convert From EPC   ^");
    ASSERT_TRUE(Hex && Epc && Hex != Main && Epc != Main && Hex != Epc);
    ASSERT_TRUE(ToEpc && FromEpc);
  }
};

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
  EXPECT_EQ(TextOf(M.Epc), "48.1.5.0359011.010310.41928");
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
  SetText(M.Epc, "48.1.5.0359011.010310.41928");
  SetText(M.Hex, "");
  Click(M.FromEpc);
  EXPECT_EQ(TextOf(M.Hex), Sample);

  EXPECT_TRUE(SaveDesktopBmp(ShotDir() + "\\main-window.bmp"));

  // File / Exit through the keyboard, as a user would: Alt, Down, Enter.
  ASSERT_TRUE(Foreground(M.Main));
  Keys({VK_MENU, VK_DOWN, VK_RETURN});
  DWORD Code = 1;
  ASSERT_TRUE(M.Proc.WaitExit(10000, &Code)) << "program did not end after File / Exit";
  EXPECT_EQ(Code, 0u);
}
