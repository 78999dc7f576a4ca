// Gradient caption on real windows: pixels read back from the window for the active and the
// inactive state, the logo, caption buttons against the system's hit tests, no system caption
// over the gradient, and a screenshot of a form built from its own resource.
#include "gradform/tests/gradtest.h"

#include <string>

using namespace gradtest;

namespace {

constexpr TColor TextColour = clYellow;

// Middle row of the caption (window coordinates).
int MidY(const TRect& Cap) { return (Cap.Top + Cap.Bottom) / 2; }

// A caption-rectangle part left of the caption buttons and right of the icon.
TRect TextArea(TgrdGradientForm* F) {
  TRect Cap = F->GetCaptionRect();
  TRect Buttons = Cap;
  F->CaptionButtonLayout(Buttons);
  return TRect{Cap.Left + 20, Cap.Top, Buttons.Right, Cap.Bottom};
}

TEST(GradCaption, DialogWithoutIconsIsGradientFromEdgeToEdge) {
  auto F = NewGradForm(bsDialog, 400, 120);
  F->SetBorderIcons(0);
  F->SetGradientStartColor(clMaroon);
  F->SetGradientStopColor(clNavy);
  F->SetCaptionTextColor(TextColour);
  F->SetUseDithering(false);
  F->SetCaption("Dialog caption");
  ShowActive(F.get());
  const TRect Cap = F->GetCaptionRect();
  ASSERT_GT(Cap.Width(), 300);
  TWindowShot Shot(F->Handle());
  for (int Y : {Cap.Top, MidY(Cap), Cap.Bottom - 1}) {
    EXPECT_EQ(Hex(Shot(Cap.Left, Y)), Hex(clMaroon)) << "row " << Y;
    EXPECT_EQ(Hex(Shot(Cap.Right - 1, Y)), Hex(clNavy)) << "row " << Y;
  }
  // Wider and narrower, the caption is painted to its new ends.
  for (int Width : {520, 260}) {
    F->SetBounds(F->Left(), F->Top(), Width, 120);
    vcltest::PumpRounds(3);
    const TRect Now = F->GetCaptionRect();
    ASSERT_EQ(Now.Width(), Cap.Width() + Width - 400);
    TWindowShot Resized(F->Handle());
    EXPECT_EQ(Hex(Resized(Now.Left, Now.Top)), Hex(clMaroon)) << Width;
    EXPECT_EQ(Hex(Resized(Now.Right - 1, Now.Top)), Hex(clNavy)) << Width;
  }
  // Text and no buttons or icon.
  EXPECT_GT(Shot.Count(Cap, TextColour), 10);
  EXPECT_EQ(Shot.Count(Cap, TColor(GetSysColor(COLOR_BTNFACE))), 0);
  TRect Empty = Cap;
  EXPECT_TRUE(F->CaptionButtonLayout(Empty).empty());
}

TEST(GradCaption, ActiveAndInactiveStates) {
  auto F = NewGradForm(bsSizeable, 420, 150);
  F->SetGradientStartColor(clBlack);
  F->SetGradientStopColor(clBlue);
  F->SetGradientInactiveStartColor(clGreen);
  F->SetGradientInactiveStopColor(clSilver);
  F->SetCaptionTextColor(TextColour);
  F->SetInactiveCaptionTextColor(clAqua);
  F->SetUseDithering(false);
  F->SetCaption("Active and inactive");
  ShowActive(F.get());
  ASSERT_TRUE(F->IsActiveWindow());
  const TRect Cap = F->GetCaptionRect();
  struct TExpect { TColor Left, Right, Text; };
  auto Check = [&](const TExpect& E) {
    TWindowShot Shot(F->Handle());
    EXPECT_EQ(Hex(Shot(Cap.Left, Cap.Top)), Hex(E.Left));
    EXPECT_EQ(Hex(Shot(Cap.Right - 1, Cap.Top)), Hex(E.Right));
    EXPECT_GT(Shot.Count(TextArea(F.get()), E.Text), 10);
  };
  {
    SCOPED_TRACE("active");
    Check({clBlack, clBlue, TextColour});
  }
  vcltest::TTestWindow Other(200, 100, 600, 400);
  Other.Activate();
  vcltest::PumpRounds(3);
  ASSERT_FALSE(F->IsActiveWindow());
  {
    SCOPED_TRACE("inactive");
    Check({clGreen, clSilver, clAqua});
  }
  SetForegroundWindow(F->Handle());
  vcltest::PumpUntil([&] { return F->IsActiveWindow(); }, 100);
  {
    SCOPED_TRACE("active again");
    Check({clBlack, clBlue, TextColour});
  }
}

TEST(GradCaption, PaintGradientWhenActiveOnly) {
  auto F = NewGradForm(bsSingle, 400, 120);
  F->SetPaintGradient(gfpActive);
  F->SetGradientStartColor(clRed);
  F->SetGradientStopColor(clRed);
  ShowActive(F.get());
  const TRect Cap = F->GetCaptionRect();
  EXPECT_EQ(Hex(TWindowShot(F->Handle())(Cap.Left, Cap.Top)), Hex(clRed));
  vcltest::TTestWindow Other(200, 100, 600, 400);
  Other.Activate();
  vcltest::PumpRounds(3);
  EXPECT_EQ(Hex(TWindowShot(F->Handle())(Cap.Left, Cap.Top)), Hex(TColor(GetSysColor(COLOR_INACTIVECAPTION))));
}

TEST(GradCaption, InhibitedFormLeavesTheCaptionToTheSystem) {
  auto F = NewGradForm(bsSingle, 400, 120);
  F->SetGradientStartColor(clLime);
  F->SetGradientStopColor(clLime);
  F->SetUseWin98Gradient(true);
  ASSERT_TRUE(F->GetInhibitGradient());
  ShowActive(F.get());
  const TRect Cap = F->GetCaptionRect();
  TWindowShot Shot(F->Handle());
  EXPECT_EQ(Shot.Count(Cap, clLime), 0);
  EXPECT_EQ(Hex(Shot(Cap.Left + 1, Cap.Top)), Hex(TColor(GetSysColor(COLOR_ACTIVECAPTION))));
  // Turning it off again recreates the window with the gradient caption.
  F->SetUseWin98Gradient(false);
  vcltest::PumpRounds(3);
  EXPECT_GT(TWindowShot(F->Handle()).Count(Cap, clLime), Cap.Width());
}

// Messages after which the form draws its caption again, unless the gradient is inhibited; the
// system then paints the caption, never in the gradient's colour.
TEST(GradCaption, MessagesRedrawTheGradientUnlessInhibited) {
  for (bool Inhibited : {false, true}) {
    SCOPED_TRACE(Inhibited ? "inhibited" : "gradient");
    auto F = NewGradForm(bsSingle, 400, 120);
    F->SetGradientStartColor(clLime);
    F->SetGradientStopColor(clLime);
    F->SetUseWin98Gradient(Inhibited);
    ASSERT_EQ(F->GetInhibitGradient(), Inhibited);
    ShowActive(F.get());
    HWND W = F->Handle();
    const TRect Cap = F->GetCaptionRect();
    struct TCase { const char* Name; UINT Msg; WPARAM WParam; LPARAM LParam; };
    const TCase Cases[] = {
        {"WM_SYSCOMMAND", WM_SYSCOMMAND, 0xF1F0 /* no command the system knows */, 0},
        {"WM_ENTERIDLE", WM_ENTERIDLE, MSGF_MENU, 0},
        {"WM_NCLBUTTONDOWN", WM_NCLBUTTONDOWN, HTNOWHERE, 0},
        {"WM_SIZE", WM_SIZE, SIZE_RESTORED, MAKELPARAM(F->ClientWidth(), F->ClientHeight())},
    };
    for (const TCase& C : Cases) {
      SCOPED_TRACE(C.Name);
      {
        HDC DC = GetWindowDC(W);
        TBrushOwner Fuchsia(CreateSolidBrush(RGB(255, 0, 255)));
        FillRect(DC, &AsRECT(const_cast<TRect&>(Cap)), Fuchsia);
        ReleaseDC(W, DC);
      }
      ASSERT_EQ(TWindowShot(W).Count(Cap, clLime), 0);
      SendMessageA(W, C.Msg, C.WParam, C.LParam);
      const int Lime = TWindowShot(W).Count(Cap, clLime);
      if (Inhibited) {
        EXPECT_EQ(Lime, 0);
      } else {
        EXPECT_GT(Lime, Cap.Width() * Cap.Height() / 2);
      }
    }
  }
}

TEST(GradCaption, HidingWhileLoadingSkipsTheRedrawUnlessInhibited) {
  TGradLoadProbe::SendHide = true;
  struct TReset {
    ~TReset() { TGradLoadProbe::SendHide = false; }
  } Reset;
  TFormPtr<TGradFontForm> F(TComponent::Create<TGradFontForm>(nullptr));
  EXPECT_EQ(F->Probe1->HideFlags, TGradLoadProbe::Hide | SWP_NOREDRAW);
  EXPECT_EQ(F->Probe1->InhibitedHideFlags, TGradLoadProbe::Hide) << "passed on unchanged";
  // Once loaded, nothing is added.
  WINDOWPOS Pos{F->Handle(), nullptr, 0, 0, 0, 0, TGradLoadProbe::Hide};
  SendMessageA(F->Handle(), WM_WINDOWPOSCHANGING, 0, LPARAM(&Pos));
  EXPECT_EQ(Pos.flags, TGradLoadProbe::Hide);
}

TEST(GradCaption, LogoAtTheRightCutsTheTextBeforeIt) {
  auto F = NewGradForm(bsSingle, 360, 120);
  TBitmap Logo;
  Logo.SetPixelFormat(pf24bit);
  Logo.SetSize(80, 8);
  Logo.Canvas()->Brush()->SetColor(clLime);
  Logo.Canvas()->FillRect(Rect(0, 0, 80, 8));
  F->SetLogo(&Logo);
  F->SetGradientStartColor(clBlack);
  F->SetGradientStopColor(clNavy);
  F->SetCaptionTextColor(TextColour);
  F->SetUseDithering(false);
  F->SetCaption(AnsiString(std::string(120, 'W')));
  ShowActive(F.get());
  TRect Cap = F->GetCaptionRect();
  TRect Beside = Cap;
  F->CaptionButtonLayout(Beside);
  const TRect LogoRect{Beside.Right - 80, Cap.Top, Beside.Right, Cap.Bottom};
  TWindowShot Shot(F->Handle());
  // The logo, centred vertically, and no text over it.
  const int LogoTop = Cap.Top + (Cap.Height() - 8) / 2;
  EXPECT_EQ(Hex(Shot(LogoRect.Left + 40, LogoTop + 4)), Hex(clLime));
  EXPECT_EQ(Shot.Count(LogoRect, clLime), 80 * 8);
  EXPECT_EQ(Shot.Count(LogoRect, TextColour), 0);
  // The text runs up to the logo, and the gradient fills the part left of it.
  EXPECT_GT(Shot.Count(TRect{LogoRect.Left - 60, Cap.Top, LogoRect.Left, Cap.Bottom}, TextColour), 10);
  EXPECT_EQ(Hex(Shot(Cap.Left, Cap.Top)), Hex(clBlack));
  EXPECT_EQ(Hex(Shot(LogoRect.Left - 1, Cap.Top)), Hex(clNavy));
  // Layered, the text may cover the logo.
  F->SetLogoLayered(true);
  vcltest::PumpRounds(3);
  EXPECT_GT(TWindowShot(F->Handle()).Count(LogoRect, TextColour), 10);
}

// ----- caption buttons and the system's hit tests

TEST(GradCaption, ButtonsSitWhereTheSystemHitTestsThem) {
  struct TCase {
    const char* Name;
    TFormBorderStyle Style;
    TBorderIcons Icons;
    std::vector<LRESULT> Hits;   // right to left
  };
  const unsigned Sys = 1u << biSystemMenu, Min = 1u << biMinimize, Max = 1u << biMaximize;
  const TCase Cases[] = {
      {"sizeable", bsSizeable, Sys | Min | Max, {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}},
      {"single", bsSingle, Sys | Min | Max, {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}},
      {"close only", bsSingle, Sys, {HTCLOSE}},
      {"dialog", bsDialog, Sys, {HTCLOSE}},
      {"tool window", bsToolWindow, Sys, {HTCLOSE}},
      {"sizeable tool window", bsSizeToolWin, Sys, {HTCLOSE}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto F = NewGradForm(C.Style, 400, 140);
    F->SetBorderIcons(C.Icons);
    F->SetCaption("Hit tests");
    ShowActive(F.get());
    RECT WR;
    GetWindowRect(F->Handle(), &WR);
    TRect R = F->GetCaptionRect();
    const TRect Cap = R;
    std::vector<TGFCaptionButton> Buttons = F->CaptionButtonLayout(R);
    ASSERT_EQ(Buttons.size(), C.Hits.size());
    TWindowShot Shot(F->Handle());
    auto HitAt = [&](int X, int Y) {
      return SendMessageA(F->Handle(), WM_NCHITTEST, 0, MAKELPARAM(WORD(WR.left + X), WORD(WR.top + Y)));
    };
    for (size_t I = 0; I < Buttons.size(); ++I) {
      const TRect& B = Buttons[I].Bounds;
      EXPECT_EQ(HitAt((B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2), C.Hits[I]) << "button " << I;
      // The button face is painted there.
      EXPECT_EQ(Hex(Shot(B.Left + 2, B.Top + 2)), Hex(TColor(GetSysColor(COLOR_BTNFACE)))) << "button " << I;
    }
    EXPECT_EQ(HitAt((Cap.Left + R.Right) / 2, MidY(Cap)), HTCAPTION);
    if (C.Style == bsSingle || C.Style == bsSizeable) {
      EXPECT_EQ(HitAt(Cap.Left + 8, MidY(Cap)), HTSYSMENU);
    }
  }
}

TEST(GradCaption, SizingCursorsOnTheFrame) {
  auto F = NewGradForm(bsSizeable, 300, 140);
  ShowActive(F.get());
  struct TCase { int Hit; const char* Cursor; };
  const TCase Cases[] = {{HTLEFT, IDC_SIZEWE},         {HTRIGHT, IDC_SIZEWE},        {HTTOP, IDC_SIZENS},
                         {HTBOTTOM, IDC_SIZENS},       {HTTOPLEFT, IDC_SIZENWSE},    {HTBOTTOMRIGHT, IDC_SIZENWSE},
                         {HTTOPRIGHT, IDC_SIZENESW},   {HTBOTTOMLEFT, IDC_SIZENESW}};
  for (const TCase& C : Cases) {
    SetCursor(nullptr);
    EXPECT_EQ(SendMessageA(F->Handle(), WM_SETCURSOR, WPARAM(F->Handle()), MAKELPARAM(C.Hit, WM_MOUSEMOVE)), 1)
        << C.Hit;
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, C.Cursor)) << C.Hit;
  }
}

// ----- the system's caption never shows over the gradient

// Records the caption pixel as it is just before each repaint of the gradient.
class TProbeForm : public TgrdGradientForm {
  ORV_CLASS(TProbeForm, TgrdGradientForm)
public:
  explicit TProbeForm(TComponent* AOwner) : TgrdGradientForm(AOwner) {}
  std::vector<TColor> Before;
  TPoint Probe{0, 0};
  void Draw(bool Active) override {
    if (HandleAllocated()) {
      HDC DC = GetWindowDC(WindowHandle());
      Before.push_back(TColor(GetPixel(DC, Probe.X, Probe.Y)));
      ReleaseDC(WindowHandle(), DC);
    }
    inherited::Draw(Active);
  }
};
ORV_IMPLEMENT_FORM(TProbeForm, TgrdGradientForm, nullptr, nullptr, nullptr)

TEST(GradCaption, SettingTheTextShowsNoSystemCaption) {
  TFormPtr<TProbeForm> F(TCustomForm::CreateNew<TProbeForm>(nullptr));
  F->SetBorderStyle(bsSingle);
  F->SetBounds(60, 60, 400, 120);
  F->SetGradientStartColor(clLime);
  F->SetGradientStopColor(clLime);
  F->SetCaption("First");
  ShowActive(F.get());
  const TRect Cap = F->GetCaptionRect();
  F->Probe = Point(Cap.Left + 60, Cap.Top + 1);
  ASSERT_EQ(Hex(TWindowShot(F->Handle())(F->Probe.X, F->Probe.Y)), Hex(clLime));
  for (const char* Text : {"Second", "A third caption text"}) {
    F->Before.clear();
    SetWindowTextA(F->Handle(), Text);
    ASSERT_FALSE(F->Before.empty());
    EXPECT_EQ(Hex(F->Before.front()), Hex(clLime)) << "the system painted its caption for " << Text;
    EXPECT_EQ(F->Caption(), Text);
  }
  EXPECT_EQ(Hex(TWindowShot(F->Handle())(F->Probe.X, F->Probe.Y)), Hex(clLime));
}

TEST(GradCaption, WholeFrameRepaintKeepsTheGradient) {
  auto F = NewGradForm(bsSizeable, 400, 140);
  F->SetGradientStartColor(clLime);
  F->SetGradientStopColor(clLime);
  ShowActive(F.get());
  const TRect Cap = F->GetCaptionRect();
  for (WPARAM Region : {WPARAM(1), WPARAM(0)}) {
    SendMessageA(F->Handle(), WM_NCPAINT, Region, 0);
    TWindowShot Shot(F->Handle());
    EXPECT_EQ(Hex(Shot(Cap.Left + 60, Cap.Top + 1)), Hex(clLime)) << "wParam " << Region;
    EXPECT_EQ(Hex(Shot(Cap.Right - 1, Cap.Top)), Hex(clLime)) << "wParam " << Region;
  }
  // The system still paints the rest of the frame: a mark on the left border goes.
  RECT WR;
  GetWindowRect(F->Handle(), &WR);
  const int BorderX = 1, BorderY = (WR.bottom - WR.top) / 2;
  auto Mark = [&] {
    HDC DC = GetWindowDC(F->Handle());
    SetPixel(DC, BorderX, BorderY, RGB(0xFF, 0, 0xFF));
    ReleaseDC(F->Handle(), DC);
    return TWindowShot(F->Handle())(BorderX, BorderY) == clFuchsia;
  };
  for (WPARAM Region : {WPARAM(1), WPARAM(0)}) {
    HRGN Whole = CreateRectRgn(WR.left, WR.top, WR.right, WR.bottom);
    ASSERT_TRUE(Mark());
    SendMessageA(F->Handle(), WM_NCPAINT, Region ? Region : WPARAM(Whole), 0);
    DeleteObject(Whole);
    TWindowShot Shot(F->Handle());
    EXPECT_NE(Hex(Shot(BorderX, BorderY)), Hex(clFuchsia)) << "wParam " << Region;
    EXPECT_EQ(Hex(Shot(Cap.Left + 60, Cap.Top + 1)), Hex(clLime));
  }
}

class TCaptionPainter : public TObject {
public:
  TRect Seen{};
  int Calls = 0;
  void Paint(TObject*, TCanvas* Canvas, TRect& R) {
    ++Calls;
    Seen = R;
    Canvas->Brush()->SetColor(clFuchsia);
    Canvas->FillRect(R);
  }
};

TEST(GradCaption, CaptionPaintEventDrawsUnderTheText) {
  auto F = NewGradForm(bsSingle, 400, 120);
  TCaptionPainter Handler;
  F->OnCaptionPaint = TGFOnCaptionPaint::Bind<&TCaptionPainter::Paint>(&Handler);
  F->SetCaptionTextColor(TextColour);
  F->SetCaption("Painted");
  ShowActive(F.get());
  ASSERT_GT(Handler.Calls, 0);
  const TRect Cap = F->GetCaptionRect();
  TWindowShot Shot(F->Handle());
  const TRect Text = Bounds(Cap.Left + Handler.Seen.Left, Cap.Top + Handler.Seen.Top, Handler.Seen.Width(),
                            Handler.Seen.Height());
  EXPECT_GT(Shot.Count(Text, clFuchsia), Text.Width() * Text.Height() / 2);
  EXPECT_GT(Shot.Count(Text, TextColour), 10);
}

// ----- a form derived from the gradient form, built from its resource

TEST(GradCaption, DerivedFormShowsItsGradientCaption) {
  TFormPtr<TGradTestForm> F(TComponent::Create<TGradTestForm>(nullptr));
  ShowActive(F.get());
  const TRect Cap = F->GetCaptionRect();
  vcltest::PumpRounds(5);
  TWindowShot Shot(F->Handle());
  EXPECT_EQ(Hex(Shot(Cap.Left, Cap.Top)), Hex(6891367));
  EXPECT_EQ(Hex(Shot(Cap.Right - 1, Cap.Top)), Hex(15703240));
  // In between the colours run from the start colour's channels to the stop colour's.
  const TColor Mid = Shot((Cap.Left + Cap.Right) / 2, Cap.Top);
  for (int Shift : {0, 8, 16}) {
    int C = (Mid >> Shift) & 0xFF, A = (6891367 >> Shift) & 0xFF, B = (15703240 >> Shift) & 0xFF;
    EXPECT_TRUE(C >= std::min(A, B) && C <= std::max(A, B)) << Hex(Mid);
  }
  EXPECT_GT(Shot.Count(TextArea(F.get()), clYellow), 10);
  AnsiString Path = AnsiString(ORVALEN_SHOTS) + "/gradient-form.bmp";
  Shot.Bitmap()->SaveToFile(Path);
  TBitmap Back;
  Back.LoadFromFile(Path);
  EXPECT_EQ(Back.Width(), Shot.Bitmap()->Width());
}

}  // namespace
