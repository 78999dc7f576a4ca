// The framed edit on real windows: its non-client frame, looks, keys, paste, alignment, height.
#include "suite/qEdit.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace suitetest;

namespace {

constexpr TColor BoxColor = 0x00A05010;
constexpr TColor Frame = 0x000000FF;
constexpr TColor Shadow = 0x00008000;
constexpr TColor NonShadow = 0x00800080;

int BeepCount = 0;
void CountBeep(unsigned) { ++BeepCount; }

class QEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    BeepCount = 0;
    TqcCustomEdit::Beep = &CountBeep;
  }
  void TearDown() override { TqcCustomEdit::Beep = [](unsigned T) { MessageBeep(T); }; }

  TqcEdit* AddBox(int Left, int Top, int Width, int Height) {
    TqcEdit* E = Host.Add<TqcEdit>(Left, Top, Width, Height);
    E->SetColor(BoxColor);
    E->SetFrameColor(Frame);
    E->SetShadowColor(Shadow);
    E->SetNonShadowColor(NonShadow);
    E->HandleNeeded();
    // Taking the parent's font fitted the height to it; the tests want their own.
    E->SetBounds(Left, Top, Width, Height);
    vcltest::PumpMessages();
    return E;
  }

  vcltest::TTestHost Host{420, 240};
};

// A point of the window; negative coordinates count from the right or bottom edge (-1 = last).
struct TSpot {
  int X, Y;
  TColor Expected;
};

TEST(QEditDefaults, PublishedDefaultsMatchAFreshBox) { ExpectClassDefaultsMatch(TqcEdit::StaticClass()); }

TEST_F(QEditTest, FramesPaintedInTheNonClientArea) {
  const TColor BS = Sys(COLOR_BTNSHADOW), BH = Sys(COLOR_BTNHIGHLIGHT), L3 = Sys(COLOR_3DLIGHT),
               DK = Sys(COLOR_3DDKSHADOW), BF = Sys(COLOR_BTNFACE), C = BoxColor, F = Frame;
  const TqcEditFrameType Bottom = FrameSide(qcefBottom), LeftTop = FrameSide(qcefLeft) | FrameSide(qcefTop);
  struct TCase {
    const char* Name;
    TqcEditType Style;
    TqcEditFrameType Where;
    bool MouseInside;
    std::vector<TSpot> Spots;
  };
  const TCase Cases[] = {
      {"normal: sunken edge, black inner line", qcetNormal, Bottom, false,
       {{0, 0, BS}, {5, 0, BS}, {-1, -1, BH}, {-1, 5, BH}, {1, 1, 0}, {1, 6, 0}, {6, 1, 0}, {-2, -2, L3},
        {2, 2, C}, {-3, -3, C}}},
      {"flat, mouse outside: borderless", qcetFlat, Bottom, false,
       {{0, 0, C}, {-1, -1, C}, {1, 1, C}, {2, 2, C}, {5, -1, C}}},
      {"flat, mouse inside: sunken", qcetFlat, Bottom, true,
       {{0, 0, BS}, {-1, -1, BH}, {1, 1, 0}, {-2, -2, L3}, {2, 2, C}}},
      {"always flat stays flat with the mouse inside", qcetAlwaysFlat, Bottom, true,
       {{0, 0, C}, {-1, -1, C}, {1, 1, C}}},
      {"raised when active", qcetFlatRaised, Bottom, true,
       {{0, 0, L3}, {-1, -1, DK}, {1, 1, BF}, {-2, -2, BS}, {2, 2, C}}},
      {"raised, mouse outside: flat", qcetFlatRaised, Bottom, false, {{0, 0, C}, {-1, -1, C}}},
      {"always raised", qcetAlwaysFlatRaised, Bottom, false, {{0, 0, L3}, {-1, -1, DK}, {-2, -2, BS}}},
      {"always shadow: 2 pixels along bottom and right", qcetAlwaysFlatShadow, Bottom, false,
       {{0, 0, C}, {2, 2, C}, {2, -1, Shadow}, {2, -2, Shadow}, {-1, 2, Shadow}, {-2, 2, Shadow},
        {-1, -1, Shadow}, {1, -1, NonShadow}, {-1, 1, NonShadow}, {5, -3, NonShadow}, {-3, 5, NonShadow}}},
      {"shadow style, mouse outside: no shadow", qcetFlatShadow, Bottom, false,
       {{0, 0, C}, {-1, -1, NonShadow}, {5, -2, NonShadow}, {-2, 5, NonShadow}}},
      {"shadow style, mouse inside", qcetFlatShadow, Bottom, true, {{-1, -1, Shadow}, {1, -1, NonShadow}}},
      {"always focus frame: one rectangle", qcetAlwaysFlatFocusFrame, Bottom, false,
       {{0, 0, F}, {0, -1, F}, {-1, -1, F}, {-1, 0, F}, {7, 0, F}, {0, 7, F}, {1, 1, C}, {-2, -2, C}}},
      {"focus frame, mouse outside: none", qcetFlatFocusFrame, Bottom, false, {{0, 0, C}, {-1, -1, C}}},
      {"thick frame when active: two rectangles", qcetFlatThickFrame, Bottom, true,
       {{0, 0, F}, {1, 1, F}, {-1, -1, F}, {-2, -2, F}, {1, 7, F}, {2, 2, C}, {-3, -3, C}}},
      {"always thick frame", qcetAlwaysFlatThickFrame, Bottom, false, {{1, 1, F}, {-2, -2, F}, {2, 2, C}}},
      {"Adv focus frame on the bottom only", qcetAlwaysAdvFocusFrame, Bottom, false,
       {{0, -1, F}, {7, -1, F}, {-1, -1, F}, {7, -2, C}, {0, 0, C}, {-1, 0, C}, {0, 7, C}}},
      {"Adv focus frame, mouse outside: none", qcetAdvFocusFrame, Bottom, false, {{7, -1, C}}},
      {"Adv thick frame on the left and top", qcetAlwaysAdvThickFrame, LeftTop, false,
       {{0, 7, F}, {1, 7, F}, {2, 7, C}, {7, 0, F}, {7, 1, F}, {7, 2, C}, {-1, -1, C}, {7, -1, C}, {-1, 7, C}}},
      {"Adv thick frame when active, all sides", qcetAdvThickFrame, LeftTop | FrameSide(qcefRight) | Bottom, true,
       {{0, 7, F}, {-2, 7, F}, {7, -2, F}, {7, 1, F}, {-3, 7, C}}},
      {"Adv style without sides draws no lines", qcetAlwaysAdvFocusFrame, 0, false,
       {{0, 0, C}, {-1, -1, C}, {0, 7, C}, {7, -1, C}}},
  };
  TqcEdit* E = AddBox(10, 10, 200, 30);
  const HWND Wnd = E->Handle();
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    E->SetFrameStyle(Case.Style);
    E->SetFrameWhere(Case.Where);
    E->Perform(Case.MouseInside ? CM_MOUSEENTER : CM_MOUSELEAVE);
    RedrawAll(Wnd);
    for (const TSpot& S : Case.Spots) {
      const int X = S.X < 0 ? 200 + S.X : S.X, Y = S.Y < 0 ? 30 + S.Y : S.Y;
      EXPECT_EQ(Hex(WindowPixel(Wnd, X, Y)), Hex(S.Expected)) << "at (" << X << ", " << Y << ")";
    }
    // Whatever the style, the client area lies 3 pixels inside the window.
    RECT WR, CR;
    GetWindowRect(Wnd, &WR);
    GetClientRect(Wnd, &CR);
    POINT Origin{0, 0};
    ClientToScreen(Wnd, &Origin);
    EXPECT_EQ(Origin.x - WR.left, 3);
    EXPECT_EQ(Origin.y - WR.top, 3);
    EXPECT_EQ(CR.right, 200 - 6);
    EXPECT_EQ(CR.bottom, 30 - 6);
  }
}

struct TEnterLeave : TObject {
  std::vector<std::string> Events;
  void Enter(TObject*) { Events.push_back("enter"); }
  void Leave(TObject*) { Events.push_back("leave"); }
};

TEST_F(QEditTest, LookFollowsTheMouseAndTheFocus) {
  TqcEdit* E = AddBox(10, 10, 200, 30);
  TqcEdit* Other = AddBox(10, 80, 200, 30);
  TEnterLeave Log;
  E->OnMouseEnter = EVENT(&Log, TEnterLeave::Enter);
  E->OnMouseLeave = EVENT(&Log, TEnterLeave::Leave);
  const HWND Wnd = E->Handle();
  const TColor Sunken = Sys(COLOR_BTNSHADOW);
  ASSERT_EQ(E->FrameStyle(), qcetFlat);
  EXPECT_EQ(Hex(WindowPixel(Wnd, 0, 0)), Hex(BoxColor));

  E->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(E->MouseInside());
  EXPECT_EQ(Hex(WindowPixel(Wnd, 0, 0)), Hex(Sunken)) << "painted at once, without a repaint";
  E->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(E->MouseInside());
  EXPECT_EQ(Hex(WindowPixel(Wnd, 0, 0)), Hex(BoxColor));
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"enter", "leave"}));

  Host.Frame().Activate();
  E->SetFocus();
  ASSERT_TRUE(vcltest::PumpUntil([&] { return E->Focused(); }));
  EXPECT_EQ(Hex(WindowPixel(Wnd, 0, 0)), Hex(Sunken));
  Other->SetFocus();
  ASSERT_TRUE(vcltest::PumpUntil([&] { return Other->Focused(); }));
  EXPECT_EQ(Hex(WindowPixel(Wnd, 0, 0)), Hex(BoxColor));

  // Colour changes repaint the border in the new colour.
  E->SetColor(clTeal);
  EXPECT_EQ(Hex(WindowPixel(Wnd, 0, 0)), Hex(clTeal));
}

TEST_F(QEditTest, EnterAndCtrlEnterAreRefusedWithABeep) {
  for (TAlignment A : {taLeftJustify, taCenter, taRightJustify}) {
    SCOPED_TRACE(int(A));
    BeepCount = 0;
    TqcEdit* E = AddBox(10, 10, 200, 30);
    E->SetAlignment(A);
    E->SetText("ABC");
    const HWND Wnd = E->Handle();
    SendMessageA(Wnd, WM_CHAR, '\r', 0);
    SendMessageA(Wnd, WM_CHAR, '\n', 0);
    vcltest::PumpMessages();
    EXPECT_EQ(E->Text(), "ABC");
    EXPECT_EQ(SendMessageA(Wnd, EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(BeepCount, 2);
    SendMessageA(Wnd, EM_SETSEL, 3, 3);
    SendMessageA(Wnd, WM_CHAR, 'D', 0);
    EXPECT_EQ(E->Text(), "ABCD") << "other characters go in";
    EXPECT_EQ(BeepCount, 2);
    TObject::Free(E);
  }
}

TEST_F(QEditTest, PastedLineBreaksAreRemoved) {
  TqcEdit* E = AddBox(10, 10, 200, 30);
  E->SetAlignment(taCenter);  // a multi-line window underneath
  E->SetText("<>");
  const char* Pasted = "12\r\n34\n5\r";
  ASSERT_TRUE(OpenClipboard(Host.Window()));
  EmptyClipboard();
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, strlen(Pasted) + 1);
  std::memcpy(GlobalLock(Mem), Pasted, strlen(Pasted) + 1);
  GlobalUnlock(Mem);
  ASSERT_TRUE(SetClipboardData(CF_TEXT, Mem));
  CloseClipboard();
  SendMessageA(E->Handle(), EM_SETSEL, 1, 1);
  SendMessageA(E->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(E->Text(), "<12345>");
  EXPECT_EQ(SendMessageA(E->Handle(), EM_GETLINECOUNT, 0, 0), 1);

  E->SetReadOnly(true);
  SendMessageA(E->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(E->Text(), "<12345>");

  // A clipboard without text pastes nothing and keeps the selection's text.
  E->SetReadOnly(false);
  ASSERT_TRUE(OpenClipboard(Host.Window()));
  EmptyClipboard();
  CloseClipboard();
  SendMessageA(E->Handle(), EM_SETSEL, 1, 3);
  SendMessageA(E->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(E->Text(), "<12345>");
}

// Columns of the client area that hold a pixel other than the background.
std::pair<int, int> InkColumns(HWND Wnd) {
  auto Shot = vcltest::CaptureClient(Wnd);
  const TColor Back = Shot->Canvas()->Pixels(0, 0);
  int First = -1, Last = -1;
  for (int X = 0; X < Shot->Width(); ++X)
    for (int Y = 0; Y < Shot->Height(); ++Y)
      if (Shot->Canvas()->Pixels(X, Y) != Back) {
        if (First < 0) First = X;
        Last = X;
        break;
      }
  return {First, Last};
}

TEST_F(QEditTest, TextIsAlignedAsAsked) {
  TqcEdit* E = AddBox(10, 10, 300, 30);
  E->Font()->SetColor(clWhite);
  E->SetText("XXXX");
  const int ClientWidth = 300 - 6;
  struct { TAlignment A; const char* Name; } Cases[] = {
      {taLeftJustify, "left"}, {taCenter, "centre"}, {taRightJustify, "right"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    SendMessageA(E->Handle(), EM_SETSEL, 1, 3);
    E->SetAlignment(C.A);
    vcltest::PumpMessages();
    EXPECT_EQ(E->Text(), "XXXX") << "the text survives the new window";
    DWORD SelStart = 0, SelEnd = 0;
    SendMessageA(E->Handle(), EM_GETSEL, WPARAM(&SelStart), LPARAM(&SelEnd));
    EXPECT_EQ(SelStart, 1u) << "and so does the selection";
    EXPECT_EQ(SelEnd, 3u);
    const LONG Style = GetWindowLongA(E->Handle(), GWL_STYLE);
    EXPECT_EQ((Style & ES_MULTILINE) != 0, C.A != taLeftJustify);
    auto [First, Last] = InkColumns(E->Handle());
    ASSERT_GE(First, 0) << "no text drawn";
    const int Ink = Last - First;
    ASSERT_GT(Ink, 10);
    switch (C.A) {
      case taLeftJustify: EXPECT_LT(First, 6); break;
      case taCenter: EXPECT_NEAR((First + Last) / 2, ClientWidth / 2, 4); break;
      case taRightJustify: EXPECT_GT(Last, ClientWidth - 8); break;
    }
  }
}

int TextHeightOf(const char* Face, int Height, bool Bold) {
  HFONT F = CreateFontA(Height, 0, 0, 0, Bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, Face);
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, F);
  TEXTMETRICA M{};
  GetTextMetricsA(DC, &M);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  DeleteObject(F);
  return M.tmHeight;
}

TEST_F(QEditTest, HeightFollowsTheFont) {
  TqcEdit* E = AddBox(10, 10, 300, 50);
  EXPECT_EQ(E->Height(), 50) << "set bounds stand until the font changes";
  E->Font()->SetName("Courier New");
  E->Font()->SetHeight(-16);
  E->Font()->SetStyle(FontStyle(fsBold));
  EXPECT_EQ(E->Height(), TextHeightOf("Courier New", -16, true) + 8);
  EXPECT_EQ(E->Height(), 26) << "the main window's boxes";
  E->Font()->SetHeight(-24);
  EXPECT_EQ(E->Height(), TextHeightOf("Courier New", -24, true) + 8);

  // Without a window the height still follows, and no window is made for it.
  TqcEdit* Loose = TComponent::Create<TqcEdit>(nullptr);
  EXPECT_EQ(Loose->Height(), 21);
  Loose->Font()->SetHeight(-30);
  EXPECT_EQ(Loose->Height(), TextHeightOf(Loose->Font()->Name().c_str(), -30, false) + 8);
  Loose->SetFrameStyle(qcetAlwaysFlatThickFrame);
  Loose->SetFrameColor(clRed);
  Loose->SetFrameWhere(0);
  EXPECT_FALSE(Loose->HandleAllocated());
  TObject::Free(Loose);
}

TEST(QEditForm, StreamedBoxLikeTheMainWindowsOnes) {
  TFormPtr Form(LoadForm(R"(object Form1: TForm
  Left = 100
  Top = 100
  ClientHeight = 120
  ClientWidth = 467
  object HexTagID: TqcEdit
    Left = 8
    Top = 20
    Width = 450
    Height = 40
    Alignment = taCenter
    FrameStyle = qcetNormal
    Color = 16711808
    Font.Charset = ANSI_CHARSET
    Font.Color = clWhite
    Font.Height = -16
    Font.Name = 'Courier New'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 2
    Text = '303415E98C0A11800000A3C8'
    EditText = '303415E98C0A11800000A3C8'
  end
end
)"));
  auto* E = dynamic_cast<TqcEdit*>(Form->FindComponent("HexTagID"));
  ASSERT_TRUE(E);
  EXPECT_EQ(E->Height(), 26) << "Loaded overrides the streamed height";
  EXPECT_EQ(E->Alignment(), taCenter);
  EXPECT_EQ(E->FrameStyle(), qcetNormal);
  EXPECT_EQ(E->Color(), TColor(16711808));
  EXPECT_EQ(E->Text(), "303415E98C0A11800000A3C8");
  Form->Show();
  vcltest::PumpRounds(3);
  const HWND Wnd = E->Handle();
  RedrawAll(Wnd);
  EXPECT_EQ(Hex(WindowPixel(Wnd, 0, 0)), Hex(Sys(COLOR_BTNSHADOW)));
  EXPECT_EQ(Hex(WindowPixel(Wnd, 1, 1)), Hex(0));
  EXPECT_EQ(Hex(WindowPixel(Wnd, 2, 2)), Hex(TColor(16711808)));
  auto [First, Last] = InkColumns(Wnd);
  EXPECT_NEAR((First + Last) / 2, (450 - 6) / 2, 4) << "centred text";
}

}  // namespace
