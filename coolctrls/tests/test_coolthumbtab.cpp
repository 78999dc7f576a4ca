// The cool thumb tab on real forms: its answer to the form's hit test inside and outside the
// central area and when it must not answer, following the form it is parented to, a real corner
// drag, living beside a form background in either freeing order, its painted fold; and a picture
// of the track bars and the tab together.
#include "coolctrls/CoolCtrls.h"
#include "coolctrls/tests/dragtest.h"
#include "rtl/tests/default_check.h"
#include "suite/Blend.h"
#include "suite/tests/suitetest.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using suitetest::Hex;
using suitetest::TFormPtr;
using vcltest::PumpMessages;
using vcltest::PumpRounds;
using vcltest::PumpUntil;

// A shown yellow form of 320 by 240 at (X, Y).
TFormPtr NewForm(int X = 100, int Y = 80) {
  TFormPtr F(TCustomForm::CreateNew<TForm>(nullptr));
  F->SetBounds(X, Y, 320, 240);
  F->SetColor(clYellow);
  F->Show();
  PumpRounds(3);
  return F;
}

// A tab made in code in the bottom-right corner of Parent's client area.
TCoolThumbTab* AddTab(TWinControl* Parent, TComponent* Owner = nullptr) {
  auto* Tab = TComponent::Create<TCoolThumbTab>(Owner);
  Tab->SetBounds(Parent->ClientWidth() - 49, Parent->ClientHeight() - 49, 49, 49);
  Tab->SetParent(Parent);
  return Tab;
}

// The form's answer to a hit test at a client point of the tab.
LRESULT Hit(TWinControl* Form, TControl* Tab, int X, int Y) {
  const TPoint P = Tab->ClientToScreen(TPoint(X, Y));
  return SendMessageA(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(WORD(short(P.X)), WORD(short(P.Y))));
}

struct TTabFree {
  void operator()(TCoolThumbTab* T) const { TObject::Free(T); }
};
using TTabPtr = std::unique_ptr<TCoolThumbTab, TTabFree>;

TEST(CoolThumbTab, StartsAsA49PixelRightBottomGrip) {
  auto* Tab = TComponent::Create<TCoolThumbTab>(nullptr);
  ExpectDefaultsMatch(Tab);
  EXPECT_EQ(Tab->Width(), 49);
  EXPECT_EQ(Tab->Height(), 49);
  EXPECT_EQ(Tab->ThumbPosition(), tpRightBottom);
  EXPECT_EQ(Tab->SubRect(), Rect(6, 6, 43, 43));
  EXPECT_EQ(Tab->Hook()->WinControl(), nullptr);
  EXPECT_EQ(GetClass("TCoolThumbTab"), TCoolThumbTab::StaticClass());
  TObject::Free(Tab);
}

TEST(CoolThumbTab, AnswersTheHitTestOnlyInsideItsCentralArea) {
  TFormPtr Form = NewForm();
  TCoolThumbTab* Tab = AddTab(Form.get(), Form.get());
  ASSERT_TRUE(Tab->Hook()->Active());
  struct TPoint2 {
    int X, Y;
    bool Inside;
  };
  const TPoint2 Points[] = {{24, 24, true}, {6, 6, true},   {42, 42, true},  {6, 42, true},   {5, 24, false},
                            {24, 5, false}, {43, 24, false}, {24, 43, false}, {0, 0, false},  {-30, -30, false}};
  struct TCase {
    TCoolThumbTabPosition Position;
    LRESULT Code;
  };
  for (const TCase& C : {TCase{tpLeftBottom, HTBOTTOMLEFT}, TCase{tpRightBottom, HTBOTTOMRIGHT},
                         TCase{tpLeftTop, HTTOPLEFT}, TCase{tpRightTop, HTTOPRIGHT}}) {
    Tab->SetThumbPosition(C.Position);
    for (const TPoint2& P : Points) {
      SCOPED_TRACE(std::to_string(C.Position) + " at " + std::to_string(P.X) + "," + std::to_string(P.Y));
      EXPECT_EQ(Hit(Form.get(), Tab, P.X, P.Y), P.Inside ? C.Code : HTCLIENT);
    }
  }
  Tab->SetThumbPosition(tpRightBottom);
  struct TState {
    const char* What;
    void (*Set)(TCoolThumbTab*, bool);
  };
  const TState States[] = {
      {"disabled", [](TCoolThumbTab* T, bool On) { T->SetEnabled(!On); }},
      {"designed", [](TCoolThumbTab* T, bool On) { T->SetDesigning(On); }},
      {"hidden", [](TCoolThumbTab* T, bool On) { T->SetVisible(!On); }},
  };
  for (const TState& S : States) {
    SCOPED_TRACE(S.What);
    S.Set(Tab, true);
    EXPECT_EQ(Hit(Form.get(), Tab, 24, 24), HTCLIENT);
    S.Set(Tab, false);
    EXPECT_EQ(Hit(Form.get(), Tab, 24, 24), HTBOTTOMRIGHT);
  }
}

TEST(CoolThumbTab, FollowsTheFormItIsParentedToAndLetsGoWhenItLeaves) {
  TFormPtr A = NewForm(60, 60);
  TFormPtr B = NewForm(420, 60);
  TTabPtr Tab(AddTab(A.get()));
  EXPECT_EQ(Tab->Hook()->WinControl(), A.get());
  EXPECT_EQ(Hit(A.get(), Tab.get(), 24, 24), HTBOTTOMRIGHT);

  Tab->SetParent(B.get());
  EXPECT_EQ(Tab->Hook()->WinControl(), B.get());
  EXPECT_EQ(Hit(B.get(), Tab.get(), 24, 24), HTBOTTOMRIGHT);
  const TPoint OnA = A->ClientToScreen(TPoint(A->ClientWidth() - 25, A->ClientHeight() - 25));
  EXPECT_EQ(SendMessageA(A->Handle(), WM_NCHITTEST, 0, MAKELPARAM(OnA.X, OnA.Y)), HTCLIENT) << "A is let go";

  // Inside a group box the form is still the one hooked.
  auto* Box = TComponent::Create<TGroupBox>(A.get());
  Box->SetBounds(10, 10, 200, 150);
  Box->SetParent(A.get());
  Tab->SetParent(Box);
  EXPECT_EQ(Tab->Hook()->WinControl(), A.get());
  EXPECT_TRUE(Tab->Hook()->Active());

  // A window made again keeps the hook once the queue reaches the notice.
  Tab->SetParent(A.get());
  Tab->SetBounds(A->ClientWidth() - 49, A->ClientHeight() - 49, 49, 49);
  A->RecreateWnd();
  A->HandleNeeded();
  PumpRounds(3);
  EXPECT_EQ(Hit(A.get(), Tab.get(), 24, 24), HTBOTTOMRIGHT);

  Tab->SetParent(nullptr);
  EXPECT_EQ(Tab->Hook()->WinControl(), nullptr);
  EXPECT_FALSE(Tab->Hook()->Active());
  EXPECT_EQ(Hit(A.get(), A.get(), A->ClientWidth() - 25, A->ClientHeight() - 25), HTCLIENT);
}

TEST(CoolThumbTab, AFormResourceHooksItsForm) {
  const char* Text =
      "object Form1: TForm\n  Left = 80\n  Top = 80\n  ClientWidth = 200\n  ClientHeight = 150\n"
      "  object Tab1: TCoolThumbTab\n    Left = 0\n    Top = 0\n    ThumbPosition = tpLeftTop\n"
      "    Transparent = True\n  end\nend\n";
  TFormPtr Form(suitetest::LoadForm(Text));
  Form->Show();
  PumpRounds(3);
  auto* Tab = dynamic_cast<TCoolThumbTab*>(Form->FindComponent("Tab1"));
  ASSERT_TRUE(Tab);
  EXPECT_TRUE(Tab->Transparent());
  EXPECT_EQ(Hit(Form.get(), Tab, 24, 24), HTTOPLEFT);
}

TEST(CoolThumbTab, ARealCornerDragSizesTheForm) {
  TFormPtr Form = NewForm(80, 60);
  TCoolThumbTab* Tab = AddTab(Form.get(), Form.get());
  const HWND Wnd = Form->Handle();
  SetForegroundWindow(Wnd);
  PumpUntil([&] { return GetForegroundWindow() == Wnd; }, 50);
  RECT Before;
  GetWindowRect(Wnd, &Before);
  dragtest::Drag(Wnd, Tab->Left() + 24, Tab->Top() + 24, 40, 32);
  RECT After{};
  const bool Sized = PumpUntil([&] {
    GetWindowRect(Wnd, &After);
    return After.right == Before.right + 40 && After.bottom == Before.bottom + 32;
  });
  GetWindowRect(Wnd, &After);
  EXPECT_TRUE(Sized) << "from " << Before.right - Before.left << " x " << Before.bottom - Before.top << " to "
                     << After.right - After.left << " x " << After.bottom - After.top;
  EXPECT_EQ(After.left, Before.left);
  EXPECT_EQ(After.top, Before.top);
  EXPECT_EQ(Form->Width(), After.right - After.left);
}

TEST(CoolThumbTab, LivesBesideAFormBackgroundFreedInEitherOrder) {
  for (bool TabFirst : {true, false}) {
    SCOPED_TRACE(TabFirst ? "tab freed first" : "background freed first");
    const char* Text =
        "object Form1: TForm\n  Left = 90\n  Top = 90\n  ClientWidth = 200\n  ClientHeight = 150\n"
        "  Color = clYellow\n"
        "  object Tab1: TCoolThumbTab\n    Left = 151\n    Top = 101\n  end\n"
        "  object qBackground1: TqBackground\n    BackType = btBlend\n    Color = clRed\n    EndColor = clRed\n"
        "  end\nend\n";
    TFormPtr Form(suitetest::LoadForm(Text));
    Form->Show();
    PumpRounds(3);
    auto* Tab = dynamic_cast<TCoolThumbTab*>(Form->FindComponent("Tab1"));
    auto* Background = dynamic_cast<TqBackground*>(Form->FindComponent("qBackground1"));
    ASSERT_TRUE(Tab && Background);
    ASSERT_TRUE(Background->Hooked());
    EXPECT_EQ(vcltest::CaptureClient(Form->Handle())->Canvas()->Pixels(20, 20), clRed);
    EXPECT_EQ(Hit(Form.get(), Tab, 24, 24), HTBOTTOMRIGHT);
    const TPoint Corner(175, 125);
    if (TabFirst) {
      TObject::Free(Tab);
      const TPoint S = Form->ClientToScreen(Corner);
      EXPECT_EQ(SendMessageA(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y)), HTCLIENT);
      Form->Invalidate();
      EXPECT_EQ(vcltest::CaptureClient(Form->Handle())->Canvas()->Pixels(20, 20), clRed) << "the background paints on";
      TObject::Free(Background);
    } else {
      TObject::Free(Background);
      Form->Invalidate();
      EXPECT_EQ(vcltest::CaptureClient(Form->Handle())->Canvas()->Pixels(20, 20), clYellow);
      EXPECT_EQ(Hit(Form.get(), Tab, 24, 24), HTBOTTOMRIGHT) << "the tab answers on";
      TObject::Free(Tab);
    }
    const TPoint S = Form->ClientToScreen(Corner);
    EXPECT_EQ(SendMessageA(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y)), HTCLIENT);
    Form.reset();
    PumpMessages();
    EXPECT_EQ(TWindowProcHook::PassThroughCount(), 0);
  }
}

TEST(CoolThumbTab, PaintsTheFoldFilledInsideItsTriangle) {
  TFormPtr Form = NewForm();
  TCoolThumbTab* Tab = AddTab(Form.get(), Form.get());
  Tab->SetColor(clRed);
  struct TCase {
    TCoolThumbTabPosition Position;
    TPoint In, Out;      // a point of the filled triangle, one of the central area beside it
    TPoint Light, Dark;  // a point of each fold line, outside the central area
  };
  const TCase Cases[] = {
      {tpLeftBottom, TPoint(36, 12), TPoint(12, 36), TPoint(2, 3), TPoint(2, 4)},
      {tpRightBottom, TPoint(12, 12), TPoint(36, 36), TPoint(2, 48), TPoint(2, 47)},
      {tpLeftTop, TPoint(36, 36), TPoint(12, 12), TPoint(2, 46), TPoint(2, 45)},
      {tpRightTop, TPoint(12, 36), TPoint(36, 12), TPoint(2, 2), TPoint(3, 2)},
  };
  const TColor Highlight = TColor(GetSysColor(COLOR_BTNHIGHLIGHT)), Shadow = TColor(GetSysColor(COLOR_BTNSHADOW));
  auto Wall = vcltest::MakeBitmap(8, 8, clTeal);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Position);
    Tab->SetThumbPosition(C.Position);
    Tab->SetTransparent(false);
    Tab->SetWallpaper(nullptr);
    auto Shot = vcltest::CaptureClient(Form->Handle());
    auto Px = [&](TPoint P) { return Shot->Canvas()->Pixels(Tab->Left() + P.X, Tab->Top() + P.Y); };
    EXPECT_EQ(Px(C.In), clRed);
    EXPECT_EQ(Px(C.Out), clYellow);
    EXPECT_EQ(Px(C.Light), Highlight);
    EXPECT_EQ(Px(C.Dark), Shadow);
    EXPECT_EQ(Px(TPoint(24, 1)), clYellow) << "between the fold lines and the etched edge: the form";
    Tab->SetWallpaper(Wall.get());
    EXPECT_EQ(vcltest::CaptureClient(Form->Handle())->Canvas()->Pixels(Tab->Left() + C.In.X, Tab->Top() + C.In.Y),
              clTeal);
    Tab->SetTransparent(true);
    EXPECT_EQ(vcltest::CaptureClient(Form->Handle())->Canvas()->Pixels(Tab->Left() + C.In.X, Tab->Top() + C.In.Y),
              clYellow);
  }
  // The etched edge on the central area, left and top for tpRightBottom.
  Tab->SetThumbPosition(tpRightBottom);
  Tab->SetTransparent(false);
  auto Shot = vcltest::CaptureClient(Form->Handle());
  EXPECT_EQ(Shot->Canvas()->Pixels(Tab->Left() + 6, Tab->Top() + 30), Shadow);
  EXPECT_EQ(Shot->Canvas()->Pixels(Tab->Left() + 7, Tab->Top() + 30), Highlight);
  EXPECT_EQ(Shot->Canvas()->Pixels(Tab->Left() + 30, Tab->Top() + 6), Shadow);
  EXPECT_EQ(Shot->Canvas()->Pixels(Tab->Left() + 42, Tab->Top() + 30), clYellow) << "no edge on the right";
}

TEST(CoolThumbTab, ScreenshotOfTrackBarsAndTheTab) {
  TFormPtr Form(TCustomForm::CreateNew<TForm>(nullptr));
  Form->SetBounds(40, 40, 460, 300);
  Form->SetCaption("Cool track bars");
  auto Add = [&](int L, int T, int W, int H) {
    auto* B = TComponent::Create<TCoolTrackBar>(Form.get());
    B->SetBounds(L, T, W, H);
    B->SetParent(Form.get());
    return B;
  };
  TCoolTrackBar* Plain = Add(10, 10, 300, 40);
  Plain->SetMaxValue(20);
  Plain->SetPosition(7);
  TCoolTrackBar* Both = Add(10, 60, 300, 44);
  Both->SetTickMarks(tmBoth);
  Both->SetBevelOuter(bvRaised);
  Both->SetBarColor(clAqua);
  Both->SetPosition(3);
  TCoolTrackBar* Wall = Add(10, 114, 300, 40);
  auto Picture = vcltest::MakeBitmap(16, 16, TColor(0xE0C8A0));
  for (int I = 0; I < 16; ++I) Picture->Canvas()->SetPixels(I, I, TColor(0xA08050));
  Wall->SetWallpaper(Picture.get());
  Wall->SetOptions(CoolOption(ocPaintWallpaper) | CoolOption(ocTileWallpaper));
  Wall->SetPosition(9);
  TCoolTrackBar* Off = Add(10, 164, 300, 40);
  Off->SetPosition(6);
  Off->SetEnabled(false);
  TCoolTrackBar* Up = Add(330, 10, 44, 200);
  Up->SetTickMarks(tmTopLeft);
  Up->SetPosition(4);
  auto* Tab = AddTab(Form.get(), Form.get());
  Tab->SetColor(clBtnShadow);
  Form->Show();
  SetForegroundWindow(Form->Handle());
  PumpRounds(5);
  Plain->SetFocus();
  PumpRounds(5);
  EXPECT_EQ(Up->Orientation(), toVertical);
  auto Shot = vcltest::CaptureClient(Form->Handle());
  EXPECT_EQ(Shot->Canvas()->Pixels(Up->Left() + 20, Up->Top() + 10 + 4 * 18 + 2), TColor(0xC0C0C0))
      << "the vertical thumb's face";
  Shot->SaveToFile(AnsiString(ORVALEN_SHOTS) + "/cool-track-bar.bmp");
}

}  // namespace
