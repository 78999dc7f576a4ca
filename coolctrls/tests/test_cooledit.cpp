// The cool edit, edit with button and memo on the screen: refused line breaks, the button's
// click, alignment, the minimum height, the formatting rectangle, the action's glyph, wallpaper
// and see-through backgrounds behind the letters; the memo's caption bar, mouse selection and
// page keys.
#include "coolctrls/CoolCtrls.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"
#include "coolctrls/tests/itemtest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using itemtest::GradientRow;
using vcltest::KeyInput;
using vcltest::PumpMessages;
using vcltest::TTestHost;

int Beeps = 0;

struct TEvents : TObject {
  int Clicks = 0;
  void BtnClick(TObject*) { ++Clicks; }
};

struct CoolEditFixture : testing::Test {
  TTestHost Host{480, 360};
  TEvents Events;
  void SetUp() override {
    Beeps = 0;
    TCoolEdit::Beep = [](unsigned) { ++Beeps; };
    Host.Frame().Activate();
  }
  void TearDown() override { TCoolEdit::Beep = [](unsigned Type) { MessageBeep(Type); }; }
  template <class T> T* AddEdit(int Top, const char* Text = "") {
    auto* E = Host.Add<T>(20, Top, 220, 26);
    E->SetText(Text);
    E->Font()->SetColor(clBlack);
    E->HandleNeeded();
    PumpMessages();
    return E;
  }
  // Enter, then Ctrl+Enter, typed on the real keyboard into E.
  void TypeEnters(TWinControl* E) {
    E->SetFocus();
    PumpMessages();
    vcltest::SendInputs({KeyInput(VK_RETURN, true), KeyInput(VK_RETURN, false), KeyInput(VK_CONTROL, true),
                         KeyInput(VK_RETURN, true), KeyInput(VK_RETURN, false), KeyInput(VK_CONTROL, false)});
  }
};

TEST(CoolEditClasses, PublishedDefaultsMatchFreshObjects) {
  ExpectClassDefaultsMatch(TCoolEdit::StaticClass());
  ExpectClassDefaultsMatch(TCoolEditBtn::StaticClass());
  ExpectClassDefaultsMatch(TCoolMemo::StaticClass());
  EXPECT_EQ(GetClass("TCoolMemo"), TCoolMemo::StaticClass());
}

TEST_F(CoolEditFixture, EnterAndCtrlEnterBeepAndInsertNothing) {
  auto* E = AddEdit<TCoolEdit>(20, "ABC");
  TypeEnters(E);
  EXPECT_EQ(E->SelLength(), 3) << "focusing selects the text (AutoSelect)";
  EXPECT_EQ(E->Text(), "ABC");
  EXPECT_EQ(SendMessageA(E->Handle(), EM_GETLINECOUNT, 0, 0), 1);
  EXPECT_EQ(Beeps, 2);
  SendMessageA(E->Handle(), EM_SETSEL, 1, 1);
  vcltest::SendInputs({KeyInput('D', true), KeyInput('D', false)});
  EXPECT_EQ(E->Text(), "AdBC") << "other characters go in";
  EXPECT_EQ(Beeps, 2);
  EXPECT_NE(GetWindowLongPtrA(E->Handle(), GWL_STYLE) & ES_MULTILINE, 0);
}

TEST_F(CoolEditFixture, TheButtonAndCtrlEnterFireOnBtnClickOnceEach) {
  auto* E = AddEdit<TCoolEditBtn>(20, "tag");
  E->OnBtnClick = TNotifyEvent::Bind<&TEvents::BtnClick>(&Events);
  TypeEnters(E);
  EXPECT_EQ(Events.Clicks, 1) << "Ctrl+Enter";
  EXPECT_EQ(E->Text(), "tag");
  TSpeedButton* B = E->Button();
  const TPoint At = Host.Control()->ScreenToClient(E->ClientToScreen(TPoint(B->Left() + 5, B->Top() + 5)));
  vcltest::RealClick(Host.Window(), At.X, At.Y);
  EXPECT_EQ(Events.Clicks, 2) << "a click on the button";
  // The text ends before the button.
  RECT R{};
  SendMessageA(E->Handle(), EM_GETRECT, 0, LPARAM(&R));
  EXPECT_LE(R.right, B->Left() - 2);
  EXPECT_GE(R.left, 2);
  EXPECT_EQ(B->Left() + B->Width(), E->ClientWidth()) << "the button at the right end";
}

TEST_F(CoolEditFixture, AnEditWithButtonSnapsBackToItsMinimumHeight) {
  auto* E = AddEdit<TCoolEditBtn>(20);
  E->SetAutoSize(false);
  E->Font()->SetSize(14);
  TEXTMETRICA System{}, Own{};
  {
    TWindowDC DC(nullptr);
    GetTextMetricsA(DC, &System);
    TSelectGuard Sel(DC, E->Font()->Handle());
    GetTextMetricsA(DC, &Own);
  }
  const int Min = Own.tmHeight + std::min(System.tmHeight, Own.tmHeight) / 4 + 4 * GetSystemMetrics(SM_CYBORDER) + 2;
  EXPECT_EQ(E->GetMinHeight(), Min);
  E->SetHeight(Min - 6);
  EXPECT_EQ(E->Height(), Min);
  E->SetHeight(Min + 10);
  EXPECT_EQ(E->Height(), Min + 10);
  EXPECT_EQ(E->Button()->Height(), Min + 10 - 4);
}

TEST_F(CoolEditFixture, AnActionsImageBecomesTheEmptyGlyph) {
  auto* Images = TComponent::Create<TImageList>(Host.Control());
  auto Image = vcltest::MakeBitmap(16, 16, clLime);
  Image->Canvas()->Brush()->SetColor(clRed);
  Image->Canvas()->FillRect(Rect(4, 4, 12, 12));
  Images->AddMasked(Image.get(), clLime);
  auto* List = TComponent::Create<TActionList>(Host.Control());
  List->SetImages(Images);
  auto* A = TComponent::Create<TAction>(Host.Control());
  A->SetActionList(List);
  A->SetImageIndex(0);
  auto* E = AddEdit<TCoolEditBtn>(20);
  E->SetAction(A);
  TBitmap* G = E->Glyph();
  ASSERT_EQ(G->Width(), 16);
  ASSERT_EQ(G->Height(), 16);
  EXPECT_EQ(G->Canvas()->Pixels(8, 8), clRed);
  EXPECT_EQ(G->Canvas()->Pixels(1, 1), clFuchsia) << "transparent parts on fuchsia";
  // A glyph of its own stays; so does one without an image.
  auto* Other = AddEdit<TCoolEditBtn>(60);
  A->SetImageIndex(5);
  Other->SetAction(A);
  EXPECT_TRUE(Other->Glyph()->Empty());
}

// The extent of the text's ink: the first and last column holding a pixel of Ink.
std::pair<int, int> InkColumns(TBitmap& B, TColor Ink) {
  int First = -1, Last = -1;
  for (int X = 0; X < B.Width(); ++X)
    for (int Y = 0; Y < B.Height(); ++Y)
      if (B.Canvas()->Pixels(X, Y) == Ink) {
        if (First < 0) First = X;
        Last = X;
      }
  return {First, Last};
}

TEST_F(CoolEditFixture, TextAlignPlacesTheLine) {
  auto* E = AddEdit<TCoolEdit>(20, "MMMM");
  E->Font()->SetColor(clBlue);
  auto Left = InkColumns(*vcltest::CaptureClient(E->Handle()), clBlue);
  E->SetTextAlign(taRightJustify);
  auto Right = InkColumns(*vcltest::CaptureClient(E->Handle()), clBlue);
  E->SetTextAlign(taCenter);
  auto Centre = InkColumns(*vcltest::CaptureClient(E->Handle()), clBlue);
  const int W = E->ClientWidth();
  EXPECT_LT(Left.first, 6);
  EXPECT_GT(Right.second, W - 8);
  EXPECT_NEAR((Centre.first + Centre.second) / 2, W / 2, 2);
  EXPECT_EQ(Right.second - Right.first, Left.second - Left.first);
  EXPECT_EQ(E->Text(), "MMMM") << "the window made again keeps the text";
}

// Every pixel of the client is the text's or the background's.
int Stray(TWinControl* E, const std::function<TColor(int, int)>& Background) {
  auto Shot = vcltest::CaptureClient(E->Handle());
  int N = 0;
  for (int Y = 0; Y < Shot->Height(); ++Y)
    for (int X = 0; X < Shot->Width(); ++X) {
      const TColor P = Shot->Canvas()->Pixels(X, Y);
      N += P != clBlack && P != Background(X, Y);
    }
  return N;
}

// A wallpaper whose every pixel has its own colour, so a shift either way shows.
TColor PlaneAt(int X, int Y) { return TColor(RGB(X & 0xFF, Y & 0xFF, 200)); }
std::unique_ptr<TBitmap> PlaneWallpaper(int W, int H) {
  auto B = vcltest::MakeBitmap(W, H, clBlack);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B->Canvas()->SetPixels(X, Y, PlaneAt(X, Y));
  return B;
}

TEST_F(CoolEditFixture, AWallpaperShowsBetweenTheLettersAfterEveryChange) {
  auto* E = AddEdit<TCoolEdit>(20, "303415");
  auto Wall = PlaneWallpaper(256, 64);
  E->SetWallpaper(Wall.get());
  E->SetOptions(CoolOption(ocPaintWallpaper));
  auto Row = PlaneAt;
  EXPECT_EQ(Stray(E, Row), 0);
  int Black = 0;
  {
    auto Shot = vcltest::CaptureClient(E->Handle());
    for (int Y = 0; Y < Shot->Height(); ++Y)
      for (int X = 0; X < Shot->Width(); ++X) Black += Shot->Canvas()->Pixels(X, Y) == clBlack;
  }
  EXPECT_GT(Black, 20) << "the text shows";
  SendMessageA(E->Handle(), EM_SETSEL, 6, 6);
  for (char C : std::string("E98C")) {
    SendMessageA(E->Handle(), WM_CHAR, WPARAM(C), 0);
    EXPECT_EQ(Stray(E, Row), 0) << C;
  }
  for (int I = 0; I < 3; ++I) {
    SendMessageA(E->Handle(), WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(Stray(E, Row), 0) << "backspace " << I;
  }
  EXPECT_EQ(E->Text(), "303415E");
  // Past the right end the system scrolls the text with what is behind it; the whole client is
  // composed again.
  for (int I = 0; I < 40; ++I) SendMessageA(E->Handle(), WM_CHAR, WPARAM('0' + I % 10), 0);
  EXPECT_EQ(Stray(E, Row), 0) << "scrolled sideways";
}

TEST_F(CoolEditFixture, SeeThroughShowsTheGradientParent) {
  itemtest::TGradientBackground Gradient(Host.Control());
  auto Behind = Gradient.Picture();
  auto* E = AddEdit<TCoolEdit>(20, "see");
  E->SetOptions(CoolOption(ocPaintTransparently));
  auto Parent = [&](int X, int Y) {
    const TPoint P = Host.Control()->ScreenToClient(E->ClientToScreen(TPoint(X, Y)));
    return Behind->Canvas()->Pixels(P.X, P.Y);
  };
  EXPECT_EQ(Stray(E, Parent), 0);
  SendMessageA(E->Handle(), EM_SETSEL, 3, 3);
  SendMessageA(E->Handle(), WM_CHAR, 'n', 0);
  EXPECT_EQ(Stray(E, Parent), 0);
  EXPECT_EQ(E->Text(), "seen");
}

// ----- the memo

TEST_F(CoolEditFixture, TheMemosWallpaperStaysPutWhileItsLinesScroll) {
  auto* M = Host.Add<TCoolMemo>(20, 20, 240, 150);
  std::string Text;
  for (int L = 0; L < 60; ++L) Text += "line " + std::to_string(L) + "\r\n";
  M->SetText(Text.c_str());
  M->Font()->SetColor(clBlack);
  auto Wall = PlaneWallpaper(256, 256);
  M->SetWallpaper(Wall.get());
  M->SetOptions(CoolOption(ocNoCaption) | CoolOption(ocPaintWallpaper));
  EXPECT_EQ(Stray(M, PlaneAt), 0);
  for (int Step = 0; Step < 3; ++Step) {
    SendMessageA(M->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Stray(M, PlaneAt), 0) << Step;
  }
  SendMessageA(M->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(Stray(M, PlaneAt), 0);
  EXPECT_GT(SendMessageA(M->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 3);
}

TEST_F(CoolEditFixture, TheMemosCaptionBarShowsInTheDefaultColours) {
  auto* M = Host.Add<TCoolMemo>(20, 20, 240, 160);
  M->SetCaption("Notes");
  EXPECT_EQ(GetWindowLongPtrA(M->Handle(), GWL_STYLE) & WS_CAPTION, 0) << "no caption by default";
  M->SetOptions(0);
  ASSERT_EQ(GetWindowLongPtrA(M->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(M->Text(), "") << "the caption is not the memo's text";
  const TRect Band = itemtest::CaptionBand(M->Handle());
  auto Expected = itemtest::ExpectedBand(Band, "Notes", clActiveCaption, clCaptionText);
  EXPECT_EQ(itemtest::DifferingPixels(*itemtest::CaptureBand(M->Handle(), Band), *Expected), 0);
  M->SetCaption("Other");
  EXPECT_EQ(itemtest::DifferingPixels(*itemtest::CaptureBand(M->Handle(), Band),
                                      *itemtest::ExpectedBand(Band, "Other", clActiveCaption, clCaptionText)),
            0);
}

TEST_F(CoolEditFixture, WithTheCaptionBarTheMouseSelectsFromThePressPointBothWays) {
  auto* M = Host.Add<TCoolMemo>(20, 20, 300, 200);
  M->SetOptions(0);
  M->SetWordWrap(false);
  M->Font()->SetName("Courier New");
  std::string Text;
  for (int L = 0; L < 2400; ++L) Text += "line " + std::to_string(1000 + L) + std::string(20, 'x') + "\r\n";
  M->SetText(Text.c_str());
  const HWND Wnd = M->Handle();
  for (bool Far : {false, true}) {
    SCOPED_TRACE(Far ? "past 65,535 characters" : "at the start");
    const int Line = Far ? 2300 : 2;
    SendMessageA(Wnd, EM_SETSEL, 0, 0);
    SendMessageA(Wnd, EM_LINESCROLL, 0, Line - 1 - SendMessageA(Wnd, EM_GETFIRSTVISIBLELINE, 0, 0));
    PumpMessages();
    const int Start = int(SendMessageA(Wnd, EM_LINEINDEX, WPARAM(Line), 0));
    if (Far) {
      ASSERT_GT(Start, 65535);
    }
    const LRESULT Pos = SendMessageA(Wnd, EM_POSFROMCHAR, WPARAM(Start + 20), 0);
    const int X = short(LOWORD(Pos)) + 1, Y = short(HIWORD(Pos)) + 4;
    const TPoint Press = Host.Control()->ScreenToClient(M->ClientToScreen(TPoint(X, Y)));
    const int CharWidth = short(LOWORD(SendMessageA(Wnd, EM_POSFROMCHAR, WPARAM(Start + 21), 0))) - (X - 1);
    ASSERT_GT(CharWidth, 3);
    // The other end: the boundary nearest to where the mouse let go (within a character).
    auto ExpectEndAtTheMouse = [&](int End) {
      POINT C;
      GetCursorPos(&C);
      ScreenToClient(Wnd, &C);
      const LRESULT P = SendMessageA(Wnd, EM_POSFROMCHAR, WPARAM(End), 0);
      EXPECT_EQ(short(HIWORD(P)), short(HIWORD(Pos))) << "on the line";
      EXPECT_LE(std::abs(short(LOWORD(P)) - C.x), CharWidth) << End;
    };
    vcltest::RealDrag(Host.Window(), Press.X, Press.Y, 48, 0);
    EXPECT_EQ(M->SelStart(), Start + 20) << "from the press point";
    EXPECT_GT(M->SelLength(), 2);
    ExpectEndAtTheMouse(M->SelStart() + M->SelLength());
    vcltest::RealDrag(Host.Window(), Press.X, Press.Y, -48, 0);
    EXPECT_EQ(M->SelStart() + M->SelLength(), Start + 20) << "leftwards from the press point";
    EXPECT_GT(M->SelLength(), 2);
    ExpectEndAtTheMouse(M->SelStart());
  }
}

TEST_F(CoolEditFixture, WithAFlatBorderPageUpAtTheTopAndPageDownAtTheEndDoNothing) {
  auto* M = Host.Add<TCoolMemo>(20, 20, 240, 120);
  std::string Text;
  for (int L = 0; L < 40; ++L) Text += "line " + std::to_string(L) + "\r\n";
  Text += "last";
  M->SetText(Text.c_str());
  HWND Wnd = M->Handle();
  auto Caret = [&] {
    DWORD S = 0, E = 0;
    SendMessageA(Wnd, EM_GETSEL, WPARAM(&S), LPARAM(&E));
    return int(E);
  };
  auto Key = [&](WORD K) {
    SendMessageA(Wnd, WM_KEYDOWN, K, 0);
    SendMessageA(Wnd, WM_KEYUP, K, 0);
    PumpMessages();
  };
  const int Line3 = int(SendMessageA(Wnd, EM_LINEINDEX, 3, 0));
  const int Last = int(SendMessageA(Wnd, EM_LINEINDEX, 40, 0)) + 1;
  const int Line38 = int(SendMessageA(Wnd, EM_LINEINDEX, 38, 0));
  for (bool Flat : {true, false}) {
    SCOPED_TRACE(Flat ? "flat" : "not flat");
    M->SetOptions(CoolOption(ocNoCaption) | (Flat ? CoolOption(ocFlatBorder) : 0));
    Wnd = M->Handle();  // made again
    M->SetFocus();
    SendMessageA(Wnd, EM_SETSEL, Line3, Line3);
    SendMessageA(Wnd, WM_VSCROLL, SB_TOP, 0);
    ASSERT_EQ(SendMessageA(Wnd, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    Key(VK_PRIOR);
    EXPECT_EQ(Caret() == Line3, Flat) << "PageUp at the top";
    SendMessageA(Wnd, EM_SETSEL, Last, Last);
    SendMessageA(Wnd, EM_SCROLLCARET, 0, 0);  // the last line shows
    SendMessageA(Wnd, EM_SETSEL, Line38, Line38);
    const LRESULT First = SendMessageA(Wnd, EM_GETFIRSTVISIBLELINE, 0, 0);
    ASSERT_GT(First, 0);
    const int Before = Caret();
    Key(VK_NEXT);
    EXPECT_EQ(Caret() == Before, Flat) << "PageDown at the end";
    if (Flat) {
      EXPECT_EQ(SendMessageA(Wnd, EM_GETFIRSTVISIBLELINE, 0, 0), First);
    }
    // Elsewhere the keys page.
    SendMessageA(Wnd, EM_SETSEL, Line3, Line3);
    SendMessageA(Wnd, EM_SCROLLCARET, 0, 0);
    Key(VK_NEXT);
    EXPECT_GT(Caret(), Line3);
  }
}

}  // namespace
