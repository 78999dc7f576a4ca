// End to end: the About dialog of the real orvalen.exe.
#include "app/e2e/App.h"
#include <cstdio>
#include <vector>

using namespace e2e;

namespace {
const char* const AboutCaption = "About This Software...";

// Help / About through the keyboard: Alt, Right to "Help", Down opens it, Enter chooses "About".
HWND OpenAbout(MainWindow& M) {
  EXPECT_TRUE(Foreground(M.Main));
  Keys({VK_MENU, VK_RIGHT, VK_DOWN, VK_RETURN});
  return WaitForWindow(M.Proc.Info.dwProcessId, AboutCaption, 10000);
}

// The committed picture the dialog's resource stores: pixel (X, Y) from the top-left.
struct TPicture {
  std::vector<unsigned char> Bytes;
  bool Load(const std::string& Path) {
    FILE* F = std::fopen(Path.c_str(), "rb");
    if (!F) return false;
    Bytes.resize(89962);
    const bool Ok = std::fread(Bytes.data(), 1, Bytes.size(), F) == Bytes.size();
    std::fclose(F);
    return Ok;
  }
  COLORREF At(int X, int Y) const {
    const unsigned char* P = &Bytes[54 + size_t(132 - Y) * 676 + size_t(X) * 3];
    return RGB(P[2], P[1], P[0]);
  }
};

bool Blue(COLORREF C) { return GetBValue(C) > 180 && GetRValue(C) < 80 && GetGValue(C) < 80; }

// Whether A lies above B in the z-order.
bool Above(HWND A, HWND B) {
  for (HWND W = GetWindow(A, GW_HWNDNEXT); W; W = GetWindow(W, GW_HWNDNEXT))
    if (W == B) return true;
  return false;
}
}  // namespace

TEST(AboutDialog, OpensOverTheMainWindowAndHides) {
  MainWindow M;
  M.Start();
  if (HasFatalFailure()) return;
  Click(M.ToEpc);

  HWND About = OpenAbout(M);
  ASSERT_NE(About, nullptr) << "Help / About did not open the dialog";
  Sleep(300);

  // Centred on the screen, on top of the main window.
  RECT R = ScreenRect(About), C = ClientScreenRect(About);
  EXPECT_EQ(C.right - C.left, 286);
  EXPECT_EQ(C.bottom - C.top, 263);
  EXPECT_NEAR((R.left + R.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((R.top + R.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  EXPECT_TRUE(GetWindowLongA(About, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(Above(About, M.Main));

  // The gradient caption: start colour $692767 at the left end, stop colour $EF9CC8 at the
  // right, the caption text in white (the form's default caption text colour) in between.
  const int CaptionTop = R.top + GetSystemMetrics(SM_CYDLGFRAME) + 1;
  const COLORREF Left = ScreenPixel(C.left + 1, CaptionTop), Right = ScreenPixel(C.right - 2, CaptionTop);
  EXPECT_TRUE(Near(Left, RGB(0x67, 0x27, 0x69), 8)) << Hex(Left);
  EXPECT_TRUE(Near(Right, RGB(0xC8, 0x9C, 0xEF), 8)) << Hex(Right);
  bool Text = false;
  for (int Y = CaptionTop; Y < C.top && !Text; ++Y)
    for (int X = C.left; X < C.left + 160 && !Text; ++X)
      Text = Near(ScreenPixel(X, Y), RGB(255, 255, 255), 24);
  EXPECT_TRUE(Text) << "no caption text";

  // The picture, pixel for pixel as stored, at Image3's place (31, 7).
  TPicture Pic;
  ASSERT_TRUE(Pic.Load(AppDir() + "\\res\\about.bmp"));
  for (POINT P : {POINT{0, 0}, POINT{224, 0}, POINT{0, 132}, POINT{224, 132}, POINT{75, 64}, POINT{150, 50},
                  POINT{112, 66}})
    EXPECT_EQ(ClientPixel(About, 31 + P.x, 7 + P.y), Pic.At(P.x, P.y)) << P.x << "," << P.y;

  // The texts: "Orvalen" and "Version:" in black, "1.12" and the link in blue, and OK.
  EXPECT_TRUE(AnyPixel(About, RECT{7, 165, 141, 181}, Dark));
  EXPECT_TRUE(AnyPixel(About, RECT{7, 190, 45, 203}, Dark));
  EXPECT_TRUE(AnyPixel(About, RECT{52, 190, 73, 203}, Blue));
  EXPECT_TRUE(AnyPixel(About, RECT{7, 235, 167, 248}, Blue));
  HWND Ok = ChildWithText(About, "OK");
  ASSERT_NE(Ok, nullptr);
  EXPECT_EQ(ScreenRect(Ok).right - ScreenRect(Ok).left, 71);

  EXPECT_TRUE(SaveDesktopBmp(ShotDir() + "\\about.bmp"));

  // The main window still converts while the dialog is open.
  SetText(M.Epc, "");
  Click(M.ToEpc);
  EXPECT_EQ(TextOf(M.Epc), SampleEpc);

  // Enter presses OK, which hides the dialog.
  ASSERT_TRUE(Foreground(About));
  KeyDownUp(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(About); }, 5000)) << "Enter did not hide the dialog";
  EXPECT_TRUE(IsWindow(About));

  // Opened again, it is the same window; chosen once more while it is open, it only comes to
  // the front; a click on the link hides it.
  ASSERT_EQ(OpenAbout(M), About);
  ASSERT_EQ(OpenAbout(M), About);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == About; }, 5000)) << "the dialog did not come forward";
  PostMessageA(About, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 241));
  PostMessageA(About, WM_LBUTTONUP, 0, MAKELPARAM(20, 241));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(About); }, 5000)) << "the link did not hide the dialog";

  // File / Exit while the dialog is open ends the program.
  ASSERT_EQ(OpenAbout(M), About);
  EXPECT_EQ(M.Exit(), 0u);
}
