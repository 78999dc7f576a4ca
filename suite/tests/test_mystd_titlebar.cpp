// The title bar switch on real forms of every border style: the style bits, the heights, the
// hit test that lets a caption-less form be dragged by its client area.
#include "rtl/tests/default_check.h"
#include "suite/Mystd.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <string>

using namespace suitetest;

namespace {

struct TCount : TObject {
  int N = 0;
  void Changed(TObject*) { ++N; }
};

TFormPtr TitleForm(TFormBorderStyle Style, const std::string& Props = "") {
  const std::string Text = std::string("object Form1: TForm\n  Left = 100\n  Top = 80\n  BorderStyle = ") +
                           TFormBorderStyleType.ValueToName(Style) +
                           "\n  ClientWidth = 300\n  ClientHeight = 200\n"
                           "  object qTitleBar1: TqTitleBar\n" + Props + "  end\nend\n";
  return TFormPtr(LoadForm(Text.c_str()));
}

TqTitleBar* TitleOf(TForm* F) { return dynamic_cast<TqTitleBar*>(F->FindComponent("qTitleBar1")); }

int ClientHeight(HWND Wnd) {
  RECT R;
  GetClientRect(Wnd, &R);
  return R.bottom;
}

int WindowHeight(HWND Wnd) {
  RECT R;
  GetWindowRect(Wnd, &R);
  return R.bottom - R.top;
}

LRESULT HitAtClientCentre(HWND Wnd) {
  POINT P{150, 100};
  ClientToScreen(Wnd, &P);
  return SendMessageA(Wnd, WM_NCHITTEST, 0, MAKELPARAM(P.x, P.y));
}

TEST(TitleBar, PublishedDefaultsMatchFreshComponents) { ExpectClassDefaultsMatch(TqTitleBar::StaticClass()); }

TEST(TitleBar, HideAndShowOnEveryBorderStyle) {
  constexpr LONG_PTR Caption = WS_CAPTION, Border = WS_BORDER, Frame = WS_DLGFRAME, Modal = DS_MODALFRAME;
  struct TCase {
    TFormBorderStyle Style;
    bool Changes;        // the caption really goes
    LONG_PTR On, Off;    // style bits with the caption hidden
    int ClientGrows;     // the client height gained with the caption hidden
  } Cases[] = {
      // A single border is thinner than the dialog frame the caption brought.
      {bsSingle, true, Border, Frame, 2 * (GetSystemMetrics(SM_CYFIXEDFRAME) - GetSystemMetrics(SM_CYBORDER))},
      {bsSizeable, true, Border | WS_THICKFRAME, Frame, 0},
      {bsDialog, true, Frame | Modal, Border, 0},
      {bsToolWindow, false, Caption, 0, 0},
      {bsSizeToolWin, false, Caption, 0, 0},
      {bsNone, false, 0, Caption, 0},
  };
  const int CY = GetSystemMetrics(SM_CYCAPTION);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(TFormBorderStyleType.ValueToName(C.Style));
    TFormPtr F = TitleForm(C.Style);
    TqTitleBar* T = TitleOf(F.get());
    const HWND Wnd = F->Handle();
    const LONG_PTR Style0 = GetWindowLongPtrA(Wnd, GWL_STYLE);
    const int Window0 = WindowHeight(Wnd), Client0 = ClientHeight(Wnd);
    EXPECT_EQ(Client0, 200);
    EXPECT_EQ(T->IsShowTitleBar(), C.Style != bsNone);
    for (int Round = 0; Round < 2; ++Round) {
      SCOPED_TRACE(Round ? "hidden again" : "hidden");
      T->SetTitleBar(false);
      const LONG_PTR Style = GetWindowLongPtrA(Wnd, GWL_STYLE);
      EXPECT_EQ(Style & C.On, C.On);
      EXPECT_EQ(Style & C.Off, 0);
      EXPECT_EQ(T->IsShowTitleBar(), C.Style != bsNone && !C.Changes);
      EXPECT_EQ(WindowHeight(Wnd), Window0 - (C.Changes ? CY : 0));
      EXPECT_EQ(ClientHeight(Wnd), Client0 + C.ClientGrows);
    }
    T->SetTitleBar(true);
    EXPECT_EQ(GetWindowLongPtrA(Wnd, GWL_STYLE) & Caption, Style0 & Caption);
    EXPECT_EQ(WindowHeight(Wnd), Window0);
    EXPECT_EQ(ClientHeight(Wnd), Client0);
  }
}

TEST(TitleBar, HitTestAndChangeCount) {
  TFormPtr F = TitleForm(bsSizeable, "    TitleBarOnFormShow = False\n");
  TqTitleBar* T = TitleOf(F.get());
  TCount Count;
  T->OnChange = EVENT(&Count, TCount::Changed);
  EXPECT_FALSE(T->IsShowTitleBar()) << "hidden when loaded";
  EXPECT_EQ(HitAtClientCentre(F->Handle()), HTCAPTION);
  T->SetAllowMoveWhitoutTitle(false);
  EXPECT_EQ(HitAtClientCentre(F->Handle()), HTCLIENT);
  T->SetAllowMoveWhitoutTitle(true);
  T->SetTitleBar(false);  // nothing to change, still reported
  T->SetTitleBar(true);
  EXPECT_EQ(HitAtClientCentre(F->Handle()), HTCLIENT);
  EXPECT_EQ(Count.N, 2);
  TFormPtr None = TitleForm(bsNone);
  TitleOf(None.get())->OnChange = EVENT(&Count, TCount::Changed);
  TitleOf(None.get())->SetTitleBar(false);
  EXPECT_EQ(Count.N, 2) << "a form without border is never changed";
}

// Drags with the real mouse from the centre of the form's client area by (40, 32); true when
// the form followed.
bool DragClient(TForm* F) {
  const HWND Wnd = F->Handle();
  Foreground(F);
  RECT Before, After;
  GetWindowRect(Wnd, &Before);
  return DragFromThread(Wnd, 150, 100, 8, 5, 4, [&] {
    GetWindowRect(Wnd, &After);
    return After.left == Before.left + 40 && After.top == Before.top + 32;
  });
}

TEST(TitleBar, RealDragInTheClientAreaMovesOnlyACaptionlessForm) {
  TMouseButtonGuard Mouse;
  TFormPtr F = TitleForm(bsSizeable, "    TitleBarOnFormShow = False\n");
  F->Show();
  EXPECT_TRUE(DragClient(F.get()));
  TitleOf(F.get())->SetTitleBar(true);
  EXPECT_FALSE(DragClient(F.get()));
}

}  // namespace
