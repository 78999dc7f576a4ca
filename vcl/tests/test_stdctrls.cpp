// Standard controls on real windows: labels painted on their form, buttons, edits, masked edits,
// check boxes, radio buttons, list and combo boxes, checked through the system windows.
#include "vcl/StdCtrls.h"
#include "vcl/Mask.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"
#include "vcl/tests/vcltest.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using vcltest::PumpMessages;
using vcltest::PumpRounds;

constexpr TColor FormColor = 0x00804020;

// A shown form with a plain background colour, freed with the object.
class TFormHost {
public:
  explicit TFormHost(int W = 360, int H = 240) {
    Form = TForm::CreateNew<TForm>(nullptr);
    Form->SetBounds(60, 60, W, H);
    Form->SetColor(FormColor);
    Form->Show();
    Activate();
  }
  ~TFormHost() {
    TObject::Free(Form);
    PumpMessages();
  }
  TFormHost(const TFormHost&) = delete;
  TFormHost& operator=(const TFormHost&) = delete;

  template <class T> T* Add(int Left, int Top, int Width, int Height, TWinControl* Parent = nullptr) {
    T* C = TComponent::Create<T>(Form);
    C->SetBounds(Left, Top, Width, Height);
    C->SetParent(Parent ? Parent : Form);
    return C;
  }
  void Activate() {
    SetForegroundWindow(Form->Handle());
    SetActiveWindow(Form->Handle());
    PumpRounds(3);
  }
  HWND Wnd() { return Form->Handle(); }

  TForm* Form;
};

// Counts events and keeps their senders; Then runs inside the handler.
class TRecorder : public TObject {
public:
  void Notify(TObject* Sender) {
    Senders.push_back(Sender);
    if (Then) Then(Sender);
  }
  int Count() const { return int(Senders.size()); }
  TNotifyEvent Event() { return EVENT(this, TRecorder::Notify); }
  std::vector<TObject*> Senders;
  std::function<void(TObject*)> Then;
};

// Records the messages a control's WindowProc sees, passing them on.
class TMessageSpy : public TObject {
public:
  explicit TMessageSpy(TControl* C) : Control(C), Saved(C->WindowProc) {
    C->WindowProc = EVENT(this, TMessageSpy::Hook);
  }
  ~TMessageSpy() override { Control->WindowProc = Saved; }
  void Hook(TMessage& M) {
    Msgs.push_back(M.Msg);
    Saved(M);
  }
  bool Saw(unsigned Msg) const {
    for (unsigned M : Msgs)
      if (M == Msg) return true;
    return false;
  }
  TControl* Control;
  TWndMethod Saved;
  std::vector<unsigned> Msgs;
};

std::string WindowText(HWND H) {
  char Buf[512] = {};
  GetWindowTextA(H, Buf, int(sizeof Buf));
  return Buf;
}

void Type(HWND H, const std::string& Chars) {
  for (char C : Chars) SendMessageA(H, WM_CHAR, WPARAM((unsigned char)C), 1);
}

// Width of S and the line height in Font, measured on the screen.
TSize TextSize(TFont* Font, const char* S) {
  TWindowDC DC(nullptr);
  TSelectGuard Sel(DC, Font->Handle());
  SIZE Sz{};
  GetTextExtentPoint32A(DC, S, int(std::strlen(S)), &Sz);
  TEXTMETRICA Tm{};
  GetTextMetricsA(DC, &Tm);
  return TSize{Sz.cx, Tm.tmHeight};
}

struct TPixelCount {
  int Ink = 0;      // neither of the two colours below
  int Font = 0;
  int Back = 0;
  int Other = 0;    // the colour that must not show
};

TPixelCount CountPixels(TBitmap& B, const TRect& R, TColor FontColor, TColor Back, TColor Forbidden) {
  TPixelCount N;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) {
      TColor P = B.Canvas()->Pixels(X, Y);
      if (P == FontColor) ++N.Font;
      if (P == Back) ++N.Back;
      else ++N.Ink;
      if (P == Forbidden) ++N.Other;
    }
  return N;
}

// ---------------------------------------------------------------------------------------------
// Labels

TLabel* AddWhiteBoldLabel(TFormHost& H, const char* Caption) {
  TLabel* L = H.Add<TLabel>(20, 20, 10, 10);
  L->Font()->SetStyle(FontStyle(fsBold));
  L->Font()->SetColor(clWhite);
  L->SetColor(clRed);
  L->SetCaption(Caption);
  return L;
}

TEST(Label, TransparentShowsTheParentAroundWhiteBoldGlyphs) {
  TFormHost H;
  TLabel* L = AddWhiteBoldLabel(H, "Hex TagID");
  L->SetTransparent(true);
  auto Shot = vcltest::CaptureClient(H.Wnd());
  TRect R = L->BoundsRect();
  TPixelCount N = CountPixels(*Shot, R, clWhite, FormColor, clRed);
  EXPECT_GT(N.Font, 20) << "caption glyphs in the font colour";
  EXPECT_EQ(N.Other, 0) << "a transparent label paints no background";
  EXPECT_GT(N.Back, R.Width() * R.Height() / 2) << "the form's colour shows around the glyphs";
  // Nothing is drawn outside the label.
  TRect Around(R.Left - 10, R.Top - 10, R.Right + 10, R.Bottom + 10);
  int Outside = 0;
  for (int Y = Around.Top; Y < Around.Bottom; ++Y)
    for (int X = Around.Left; X < Around.Right; ++X)
      if (!R.Contains(Point(X, Y))) Outside += Shot->Canvas()->Pixels(X, Y) != FormColor;
  EXPECT_EQ(Outside, 0);

  L->SetTransparent(false);
  Shot = vcltest::CaptureClient(H.Wnd());
  N = CountPixels(*Shot, R, clWhite, FormColor, clRed);
  EXPECT_GT(N.Font, 20);
  EXPECT_EQ(N.Back, 0) << "an opaque label covers its parent";
  EXPECT_GT(N.Other, R.Width() * R.Height() / 2) << "filled with its Color";
}

TEST(Label, DisabledCaptionIsEmbossedInSystemColours) {
  TFormHost H;
  TLabel* L = AddWhiteBoldLabel(H, "Disabled");
  L->SetTransparent(true);
  L->SetEnabled(false);
  auto Shot = vcltest::CaptureClient(H.Wnd());
  TPixelCount N = CountPixels(*Shot, L->BoundsRect(), clWhite, FormColor, ColorToRGB(clBtnShadow));
  EXPECT_GT(N.Other, 20) << "shadow-coloured text";
  if (ColorToRGB(clBtnHighlight) != clWhite) {
    EXPECT_EQ(N.Font, 0) << "no text in the enabled colour";
  }
}

TEST(Label, AutoSizeFollowsTheCaption) {
  TFormHost H;
  TLabel* L = AddWhiteBoldLabel(H, "");
  struct TCase {
    const char* Caption;
    const char* Measured;  // what is drawn
    bool ShowAccel;
  } Cases[] = {
      {"Hex TagID", "Hex TagID", true},
      {"EPC Tag ID", "EPC Tag ID", true},
      {"W", "W", true},
      {"&File", "File", true},
      {"&File", "&File", false},
      {"A&&B", "A&B", true},
      {"", " ", true},
      {"&", " ", true},
  };
  for (const TCase& C : Cases) {
    L->SetShowAccelChar(C.ShowAccel);
    L->SetCaption(C.Caption);
    TSize S = TextSize(L->Font(), C.Measured);
    EXPECT_EQ(L->Width(), S.cx) << C.Caption;
    EXPECT_EQ(L->Height(), S.cy) << C.Caption;
    EXPECT_EQ(L->Left(), 20);
  }

  // A bigger font grows the label.
  L->SetShowAccelChar(true);
  L->SetCaption("Hex TagID");
  int Before = L->Width();
  L->Font()->SetSize(14);
  EXPECT_GT(L->Width(), Before);
  EXPECT_EQ(L->Width(), TextSize(L->Font(), "Hex TagID").cx);

  // Right-justified labels keep their right edge.
  L->SetAlignment(taRightJustify);
  int Right = L->Left() + L->Width();
  L->SetCaption("Hex");
  EXPECT_EQ(L->Left() + L->Width(), Right);
  EXPECT_EQ(L->Width(), TextSize(L->Font(), "Hex").cx);

  // Without AutoSize the bounds stay.
  L->SetAutoSize(false);
  L->SetBounds(20, 20, 200, 40);
  L->SetCaption("x");
  EXPECT_EQ(L->Width(), 200);
  EXPECT_EQ(L->Height(), 40);
  // Switching it back on fits the caption at once.
  L->SetAutoSize(true);
  EXPECT_EQ(L->Width(), TextSize(L->Font(), "x").cx);
}

TEST(Label, AcceleratorIsUnderlined) {
  TFormHost H;
  TLabel* Plain = AddWhiteBoldLabel(H, "File");
  TLabel* Accel = AddWhiteBoldLabel(H, "&File");
  Plain->SetTransparent(true);
  Accel->SetTransparent(true);
  Accel->SetTop(80);
  ASSERT_EQ(Plain->Width(), Accel->Width());
  ASSERT_EQ(Plain->Height(), Accel->Height());
  auto Shot = vcltest::CaptureClient(H.Wnd());
  int FWidth = TextSize(Accel->Font(), "F").cx;
  // Ink the accelerator label has where the plain one has none: one underline row under "F".
  std::vector<int> ExtraPerRow(size_t(Accel->Height()), 0);
  int Extra = 0, ExtraBeyondF = 0, Missing = 0;
  for (int Y = 0; Y < Accel->Height(); ++Y)
    for (int X = 0; X < Accel->Width(); ++X) {
      bool A = Shot->Canvas()->Pixels(Accel->Left() + X, Accel->Top() + Y) != FormColor;
      bool P = Shot->Canvas()->Pixels(Plain->Left() + X, Plain->Top() + Y) != FormColor;
      if (A && !P) {
        ++Extra;
        ++ExtraPerRow[size_t(Y)];
        if (X > FWidth) ++ExtraBeyondF;
      }
      if (P && !A) ++Missing;
    }
  EXPECT_GT(Extra, 0) << "an underline is drawn";
  EXPECT_EQ(ExtraBeyondF, 0) << "only under the accelerator";
  EXPECT_EQ(Missing, 0) << "the glyphs are the same";
  int Longest = 0;
  for (int N : ExtraPerRow) Longest = std::max(Longest, N);
  EXPECT_GE(Longest, FWidth - 3) << "a horizontal line as wide as the letter";

  // Without ShowAccelChar the '&' is drawn and nothing is underlined.
  Accel->SetShowAccelChar(false);
  EXPECT_EQ(Accel->Width(), TextSize(Accel->Font(), "&File").cx);
}

TEST(Label, DialogCharFocusesTheFocusControl) {
  TFormHost H;
  TLabel* L = H.Add<TLabel>(10, 10, 60, 17);
  L->SetCaption("&Name");
  TEdit* Target = H.Add<TEdit>(80, 10, 120, 24);
  TEdit* Other = H.Add<TEdit>(80, 50, 120, 24);
  L->SetFocusControl(Target);
  Other->SetFocus();
  PumpMessages();
  ASSERT_EQ(GetFocus(), Other->Handle());

  EXPECT_EQ(H.Form->Perform(CM_DIALOGCHAR, 'x', 0), 0) << "not the accelerator";
  EXPECT_EQ(GetFocus(), Other->Handle());

  EXPECT_NE(H.Form->Perform(CM_DIALOGCHAR, 'n', 0), 0) << "case-insensitive accelerator";
  PumpMessages();
  EXPECT_EQ(GetFocus(), Target->Handle());
  EXPECT_TRUE(Target->Focused());

  // Disabled labels and labels showing the '&' do not answer.
  Other->SetFocus();
  PumpMessages();
  L->SetEnabled(false);
  EXPECT_EQ(L->Perform(CM_DIALOGCHAR, 'N', 0), 0);
  L->SetEnabled(true);
  L->SetShowAccelChar(false);
  EXPECT_EQ(L->Perform(CM_DIALOGCHAR, 'N', 0), 0);
  EXPECT_EQ(GetFocus(), Other->Handle());
  L->SetShowAccelChar(true);

  // A focus control that cannot take the focus is not focused.
  Target->SetEnabled(false);
  EXPECT_EQ(L->Perform(CM_DIALOGCHAR, 'N', 0), 0);
  EXPECT_EQ(GetFocus(), Other->Handle());

  // The reference is cleared when the focus control goes.
  TObject::Free(Target);
  EXPECT_EQ(L->FocusControl(), nullptr);
  EXPECT_EQ(L->Perform(CM_DIALOGCHAR, 'N', 0), 0);
}

// ---------------------------------------------------------------------------------------------
// Buttons

TEST(Button, ClickMessageFiresOnClickThroughReflection) {
  TFormHost H;
  TButton* B = H.Add<TButton>(75, 177, 133, 25);
  B->SetCaption("v   Convert To EPC   v");
  TRecorder Clicks;
  B->OnClick = Clicks.Event();
  TMessageSpy Spy(B);
  EXPECT_EQ(WindowText(B->Handle()), "v   Convert To EPC   v");

  SendMessageA(B->Handle(), BM_CLICK, 0, 0);
  PumpMessages();
  ASSERT_EQ(Clicks.Count(), 1);
  EXPECT_EQ(Clicks.Senders[0], B);
  EXPECT_TRUE(Spy.Saw(CN_COMMAND)) << "the parent reflects BN_CLICKED to the button";

  // The form takes the button's modal result.
  B->SetModalResult(mrOk);
  SendMessageA(B->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks.Count(), 2);
  EXPECT_EQ(H.Form->ModalResult(), mrOk);
  H.Form->SetModalResult(mrNone);

  // Other notifications are not clicks.
  SendMessageA(H.Wnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(B->Handle()), BN_SETFOCUS), LPARAM(B->Handle()));
  EXPECT_EQ(Clicks.Count(), 2);
}

// ---------------------------------------------------------------------------------------------
// Edits

// PaintTo draws a group box into a bitmap as it is on the screen: its own face, its label (a
// graphic child) and the edit inside it (a windowed child, painted by the system edit into the
// DC it is given, with its sunken edge). Off-screen too: the bitmap is all that gets drawn.
TEST(PaintTo, AWindowItsFrameAndItsChildrenAsOnTheScreen) {
  TFormHost H;
  auto* Box = H.Add<TGroupBox>(10, 10, 220, 110);
  Box->SetCaption("Tag");
  Box->SetColor(clYellow);
  auto* L = TComponent::Create<TLabel>(H.Form);
  L->SetBounds(12, 20, 80, 16);
  L->SetCaption("Label");
  L->Font()->SetColor(clRed);
  L->SetParent(Box);
  auto* E = H.Add<TEdit>(12, 50, 180, 26, Box);
  E->SetText("303415E98C0A");
  E->Font()->SetColor(clBlue);
  PumpRounds(3);
  auto Screen = vcltest::CaptureClient(H.Wnd());

  auto Image = vcltest::MakeBitmap(Box->Width() + 20, Box->Height() + 20, clFuchsia);
  Box->PaintTo(Image->Canvas()->Handle(), 5, 7);
  int Differ = 0, Red = 0, Blue = 0;
  for (int Y = 0; Y < Box->Height(); ++Y)
    for (int X = 0; X < Box->Width(); ++X) {
      const TColor P = Image->Canvas()->Pixels(X + 5, Y + 7);
      Differ += P != Screen->Canvas()->Pixels(X + Box->Left(), Y + Box->Top());
      Red += P == clRed;
      Blue += P == clBlue;
    }
  EXPECT_EQ(Differ, 0);
  EXPECT_GT(Red, 20) << "the label";
  EXPECT_GT(Blue, 20) << "the edit's text";
  EXPECT_EQ(Image->Canvas()->Pixels(4, 6), clFuchsia) << "nothing outside the window";
  EXPECT_EQ(Image->Canvas()->Pixels(5 + Box->Width(), 7 + Box->Height()), clFuchsia);
  EXPECT_FALSE(Box->ControlState() & StateOf(csPaintCopy));
  // The edit alone: its frame is the sunken client edge.
  auto Edit = vcltest::MakeBitmap(E->Width(), E->Height(), clFuchsia);
  E->PaintTo(Edit->Canvas()->Handle(), 0, 0);
  const TPoint At = H.Form->ScreenToClient(E->ClientToScreen(TPoint(0, 0)));
  EXPECT_EQ(Edit->Canvas()->Pixels(0, 0), Screen->Canvas()->Pixels(At.X - 2, At.Y - 2));
  EXPECT_EQ(Edit->Canvas()->Pixels(E->Width() - 1, E->Height() - 1),
            Screen->Canvas()->Pixels(At.X - 2 + E->Width() - 1, At.Y - 2 + E->Height() - 1));
}

TEST(Edit, TextRoundTripsThroughTheWindow) {
  TFormHost H;
  TEdit* E = TComponent::Create<TEdit>(H.Form);
  E->SetText("303415E98C0A11800000A3C8");  // before the window exists
  E->SetBounds(8, 120, 300, 26);
  E->SetParent(H.Form);
  EXPECT_EQ(WindowText(E->Handle()), "303415E98C0A11800000A3C8");
  EXPECT_EQ(E->Text().str(), "303415E98C0A11800000A3C8");

  E->SetText("48.8888.1.2");
  EXPECT_EQ(WindowText(E->Handle()), "48.8888.1.2");
  SetWindowTextA(E->Handle(), "typed by the system");
  EXPECT_EQ(E->Text().str(), "typed by the system");
  E->SetText("");
  EXPECT_EQ(WindowText(E->Handle()), "");
  EXPECT_EQ(E->Text().str(), "");

  // Recreating the window keeps the text.
  E->SetText("kept");
  E->SetHideSelection(false);
  EXPECT_NE(GetWindowLongA(E->Handle(), GWL_STYLE) & ES_NOHIDESEL, 0);
  EXPECT_EQ(WindowText(E->Handle()), "kept");
}

TEST(Edit, OnChangeFiresWithTheNewText) {
  TFormHost H;
  TEdit* E = H.Add<TEdit>(8, 8, 200, 24);
  E->HandleNeeded();
  TRecorder Changes;
  std::vector<std::string> Seen;
  Changes.Then = [&](TObject*) { Seen.push_back(E->Text().str()); };
  E->OnChange = Changes.Event();

  E->SetText("abc");
  ASSERT_EQ(Changes.Count(), 1);
  EXPECT_EQ(Changes.Senders[0], E);
  EXPECT_EQ(Seen.back(), "abc");

  SendMessageA(E->Handle(), EM_SETSEL, 3, 3);
  Type(E->Handle(), "d");
  EXPECT_EQ(Changes.Count(), 2);
  EXPECT_EQ(Seen.back(), "abcd");
  EXPECT_TRUE(E->Modified());
  E->SetModified(false);
  EXPECT_FALSE(E->Modified());
}

TEST(Edit, MaxLengthLimitsTyping) {
  TFormHost H;
  TEdit* E = TComponent::Create<TEdit>(H.Form);
  E->SetMaxLength(5);  // applied when the window is made
  E->SetParent(H.Form);
  EXPECT_EQ(SendMessageA(E->Handle(), EM_GETLIMITTEXT, 0, 0), 5);
  Type(E->Handle(), "1234567");
  EXPECT_EQ(E->Text().str(), "12345");

  E->SetMaxLength(7);
  EXPECT_EQ(SendMessageA(E->Handle(), EM_GETLIMITTEXT, 0, 0), 7);
  Type(E->Handle(), "6789");
  EXPECT_EQ(E->Text().str(), "1234567");
}

TEST(Edit, ReadOnlyRefusesTyping) {
  TFormHost H;
  TEdit* E = H.Add<TEdit>(8, 8, 200, 24);
  E->SetText("fixed");
  E->SetReadOnly(true);
  EXPECT_NE(GetWindowLongA(E->Handle(), GWL_STYLE) & ES_READONLY, 0);
  SendMessageA(E->Handle(), EM_SETSEL, 5, 5);
  Type(E->Handle(), "xy\b\b\b");
  EXPECT_EQ(E->Text().str(), "fixed");

  E->SetReadOnly(false);
  EXPECT_EQ(GetWindowLongA(E->Handle(), GWL_STYLE) & ES_READONLY, 0);
  SendMessageA(E->Handle(), EM_SETSEL, 5, 5);
  Type(E->Handle(), "!");
  EXPECT_EQ(E->Text().str(), "fixed!");
}

TEST(Edit, SelectionFollowsTheWindow) {
  TFormHost H;
  TEdit* E = H.Add<TEdit>(8, 8, 200, 24);
  E->SetText("Hello world");
  E->SetSelStart(6);
  EXPECT_EQ(E->SelStart(), 6);
  EXPECT_EQ(E->SelLength(), 0);
  E->SetSelLength(5);
  DWORD S = 0, End = 0;
  SendMessageA(E->Handle(), EM_GETSEL, WPARAM(&S), LPARAM(&End));
  EXPECT_EQ(S, 6u);
  EXPECT_EQ(End, 11u);
  EXPECT_EQ(E->SelText().str(), "world");
  E->SetSelText("there");
  EXPECT_EQ(E->Text().str(), "Hello there");
  E->SelectAll();
  EXPECT_EQ(E->SelStart(), 0);
  EXPECT_EQ(E->SelLength(), 11);
  E->SetSelStart(2);
  E->SetSelLength(2);
  E->ClearSelection();
  EXPECT_EQ(E->Text().str(), "Heo there");
  E->Clear();
  EXPECT_EQ(WindowText(E->Handle()), "");
}

TEST(Edit, CharCaseAndAutoHeight) {
  TFormHost H;
  TEdit* E = H.Add<TEdit>(8, 8, 200, 40);
  E->SetCharCase(ecUpperCase);
  Type(E->Handle(), "abc");
  EXPECT_EQ(E->Text().str(), "ABC");

  // AutoSize: the font's line height plus the 3-D border.
  E->Font()->SetHeight(-16);
  TSize S = TextSize(E->Font(), "x");
  EXPECT_EQ(E->Height(), S.cy + GetSystemMetrics(SM_CYBORDER) * 8);
}

// ---------------------------------------------------------------------------------------------
// Masked edits

TEST(MaskEdit, WithoutMaskTextAndEditTextAreTheWindowText) {
  TFormHost H;
  TMaskEdit* E = H.Add<TMaskEdit>(8, 120, 450, 26);
  E->SetText("303415E98C0A11800000A3C8");
  EXPECT_FALSE(E->IsMasked());
  EXPECT_EQ(E->EditText().str(), "303415E98C0A11800000A3C8");
  EXPECT_EQ(WindowText(E->Handle()), "303415E98C0A11800000A3C8");
  SendMessageA(E->Handle(), EM_SETSEL, 24, 24);
  Type(E->Handle(), "zz");
  EXPECT_EQ(E->Text().str(), "303415E98C0A11800000A3C8zz");
  E->SetEditText("48.1");
  EXPECT_EQ(E->Text().str(), "48.1");
}

TEST(MaskEdit, TextAndEditTextUnderAMask) {
  struct TCase {
    const char* Mask;
    const char* Typed;      // typed from the start of an empty box
    const char* EditText;   // what the box shows
    const char* Text;       // what Text gives
  } Cases[] = {
      {"000-000;1;_", "", "___-___", "   -   "},
      {"000-000;1;_", "123456", "123-456", "123-456"},
      {"000-000;0;_", "123456", "123-456", "123456"},
      {"000-000;0;_", "12", "12_-___", "12"},
      {"00;1;*", "7", "7*", "7 "},
      {"(999) 000;0;_", "12345", "(123) 45_", "12345"},
      {"LL-00", "ab12", "ab-12", "ab-12"},
      {">LL", "ab", "AB", "AB"},
      {"<LL", "AB", "ab", "ab"},
      {">L<>L", "ab", "Ab", "Ab"},
      {">L<>L", "aB", "AB", "AB"},
      {"\\A0", "5", "A5", "A5"},
      {"aaa;0;_", "x y", "x_y", "x y"},
  };
  TFormHost H;
  for (const TCase& C : Cases) {
    TMaskEdit* E = H.Add<TMaskEdit>(8, 8, 200, 24);
    E->SetEditMask(C.Mask);
    EXPECT_TRUE(E->IsMasked());
    SendMessageA(E->Handle(), EM_SETSEL, 0, 0);
    Type(E->Handle(), C.Typed);
    EXPECT_EQ(E->EditText().str(), C.EditText) << C.Mask << " typed " << C.Typed;
    EXPECT_EQ(WindowText(E->Handle()), C.EditText) << C.Mask;
    EXPECT_EQ(E->Text().str(), C.Text) << C.Mask << " typed " << C.Typed;
    TObject::Free(E);
  }
}

TEST(MaskEdit, SettingTextLaysItOverTheMask) {
  struct TCase {
    const char* Mask;
    const char* Text;
    const char* EditText;
    const char* ReadBack;
  } Cases[] = {
      {"00-00;1;_", "12-34", "12-34", "12-34"},
      {"00-00;1;_", "1234", "12-34", "12-34"},
      {"00-00;0;_", "1234", "12-34", "1234"},
      {"00-00;0;_", "1 3", "1_-3_", "1 3"},
      {"!999;0;_", "12", "_12", "12"},
      {"999;0;_", "12", "12_", "12"},
  };
  TFormHost H;
  TMaskEdit* E = H.Add<TMaskEdit>(8, 8, 200, 24);
  for (const TCase& C : Cases) {
    E->SetEditMask(C.Mask);
    E->SetText(C.Text);
    EXPECT_EQ(E->EditText().str(), C.EditText) << C.Mask << " <- " << C.Text;
    EXPECT_EQ(E->Text().str(), C.ReadBack) << C.Mask << " <- " << C.Text;
  }
  EXPECT_EQ(FormatMaskText("000-000;0;_", "123456").str(), "123456");
  EXPECT_EQ(FormatMaskText("000-000;1;_", "123456").str(), "123-456");

  // Taking the mask away keeps the text.
  E->SetEditMask("00-00;1;_");
  E->SetText("12-34");
  E->SetEditMask("");
  EXPECT_FALSE(E->IsMasked());
  EXPECT_EQ(E->Text().str(), "12-34");
}

TEST(MaskEdit, InvalidInputIsRefused) {
  struct TCase {
    const char* Mask;
    const char* Typed;
    const char* EditText;
  } Cases[] = {
      {"00;1;_", "a", "__"},            // letter into a digit
      {"00;1;_", "4x", "4_"},           // stops at the refused character, caret stays
      {"LL;1;_", "1", "__"},            // digit into a letter
      {"AA;1;_", "-", "__"},            // sign into letter-or-digit
      {"##;1;_", "+x", "+_"},
      {"00;1;_", "123", "12"},          // past the end of the mask
      {"00;1;_", " ", "__"},            // a space into a required digit
      {"99;1;_", " 5", "_5"},           // an optional one takes it as a blank
  };
  TFormHost H;
  for (const TCase& C : Cases) {
    TMaskEdit* E = H.Add<TMaskEdit>(8, 8, 200, 24);
    E->SetEditMask(C.Mask);
    SendMessageA(E->Handle(), EM_SETSEL, 0, 0);
    Type(E->Handle(), C.Typed);
    EXPECT_EQ(E->EditText().str(), C.EditText) << C.Mask << " typed " << C.Typed;
    TObject::Free(E);
  }
}

TEST(MaskEdit, EditingKeysKeepTheLiterals) {
  TFormHost H;
  TMaskEdit* E = H.Add<TMaskEdit>(8, 8, 200, 24);
  E->SetEditMask("000-000;1;_");
  SendMessageA(E->Handle(), EM_SETSEL, 0, 0);
  Type(E->Handle(), "123456");
  ASSERT_EQ(E->EditText().str(), "123-456");

  // Backspace blanks the input position before the caret.
  SendMessageA(E->Handle(), EM_SETSEL, 7, 7);
  Type(E->Handle(), "\b");
  EXPECT_EQ(E->EditText().str(), "123-45_");
  // Across a literal.
  SendMessageA(E->Handle(), EM_SETSEL, 4, 4);
  Type(E->Handle(), "\b");
  EXPECT_EQ(E->EditText().str(), "12_-45_");
  // Typing on a literal goes to the next input position.
  SendMessageA(E->Handle(), EM_SETSEL, 3, 3);
  Type(E->Handle(), "9");
  EXPECT_EQ(E->EditText().str(), "12_-95_");
  // A selection is blanked, then the character goes at its start.
  SendMessageA(E->Handle(), EM_SETSEL, 1, 6);
  Type(E->Handle(), "7");
  EXPECT_EQ(E->EditText().str(), "17_-___");
  // Delete blanks without moving the rest.
  SendMessageA(E->Handle(), EM_SETSEL, 0, 0);
  SendMessageA(E->Handle(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(E->EditText().str(), "_7_-___");
  // WM_CLEAR blanks a selection.
  SendMessageA(E->Handle(), EM_SETSEL, 0, 7);
  SendMessageA(E->Handle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(E->EditText().str(), "___-___");

  // Read-only boxes take nothing.
  E->SetReadOnly(true);
  Type(E->Handle(), "1");
  EXPECT_EQ(E->EditText().str(), "___-___");
}

TEST(MaskEdit, ValidateEditRequiresEveryRequiredPosition) {
  TFormHost H;
  TMaskEdit* E = H.Add<TMaskEdit>(8, 8, 200, 24);
  E->SetEditMask("000-999;1;_");
  SendMessageA(E->Handle(), EM_SETSEL, 0, 0);
  Type(E->Handle(), "12");
  ASSERT_TRUE(E->Modified());
  try {
    E->ValidateEdit();
    ADD_FAILURE() << "an incomplete box validated";
  } catch (const EDBEditError& Ex) {
    EXPECT_EQ(Ex.Message().str(), "Invalid input value.  Use escape key to abandon changes");
  }
  EXPECT_EQ(E->SelStart(), 2) << "the caret goes to the missing position";
  Type(E->Handle(), "3");
  EXPECT_NO_THROW(E->ValidateEdit()) << "optional positions may stay blank";

  // A typed space fills a required any-character position.
  E->SetEditMask("CC;1;_");
  SendMessageA(E->Handle(), EM_SETSEL, 0, 0);
  Type(E->Handle(), " x");
  EXPECT_EQ(E->EditText().str(), " x");
  EXPECT_NO_THROW(E->ValidateEdit());

  // An unmodified box is not checked.
  E->SetEditMask("00;1;_");
  E->SetModified(false);
  EXPECT_NO_THROW(E->ValidateEdit());
}

TEST(MaskEdit, EscapeRestoresTheTextOnEntry) {
  TFormHost H;
  TEdit* Other = H.Add<TEdit>(8, 60, 100, 24);
  TMaskEdit* E = H.Add<TMaskEdit>(8, 8, 200, 24);
  E->SetEditMask("00-00;1;_");
  E->SetText("12-34");
  E->SetFocus();
  PumpMessages();
  SendMessageA(E->Handle(), EM_SETSEL, 0, 0);
  Type(E->Handle(), "99");
  ASSERT_EQ(E->EditText().str(), "99-34");
  Type(E->Handle(), "\x1b");
  EXPECT_EQ(E->EditText().str(), "12-34");
  EXPECT_FALSE(E->Modified());
  Other->SetFocus();
}

// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons

int CheckOf(TWinControl* C) { return int(SendMessageA(C->Handle(), BM_GETCHECK, 0, 0)); }

TEST(CheckBox, CheckedAndStateFollowTheWindow) {
  TFormHost H;
  TCheckBox* C = H.Add<TCheckBox>(10, 10, 150, 17);
  C->SetCaption("GTIN96 Tag Type");
  TRecorder Clicks;
  C->OnClick = Clicks.Event();
  EXPECT_EQ(CheckOf(C), BST_UNCHECKED);

  C->SetChecked(true);
  EXPECT_EQ(CheckOf(C), BST_CHECKED);
  EXPECT_EQ(C->State(), cbChecked);
  EXPECT_EQ(Clicks.Count(), 1);
  C->SetChecked(true);
  EXPECT_EQ(Clicks.Count(), 1) << "no change, no click";
  C->SetState(cbGrayed);
  EXPECT_EQ(CheckOf(C), BST_INDETERMINATE);
  EXPECT_FALSE(C->Checked());

  // Clicks on the window cycle the state.
  C->SetState(cbUnchecked);
  int Before = Clicks.Count();
  SendMessageA(C->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(C->Checked());
  EXPECT_EQ(CheckOf(C), BST_CHECKED);
  SendMessageA(C->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(C->State(), cbUnchecked);
  EXPECT_EQ(Clicks.Count(), Before + 2);
  C->SetAllowGrayed(true);
  TCheckBoxState Cycle[] = {cbGrayed, cbChecked, cbUnchecked};
  for (TCheckBoxState S : Cycle) {
    SendMessageA(C->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(C->State(), S);
  }

  // The state survives a recreated window.
  C->SetChecked(true);
  C->SetAlignment(taLeftJustify);
  EXPECT_NE(GetWindowLongA(C->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
  EXPECT_EQ(CheckOf(C), BST_CHECKED);
}

TEST(RadioButton, CheckingOneUnchecksItsSiblings) {
  TFormHost H;
  TRadioButton* A = H.Add<TRadioButton>(10, 10, 150, 17);
  TRadioButton* B = H.Add<TRadioButton>(10, 30, 150, 17);
  TGroupBox* Box = H.Add<TGroupBox>(170, 10, 160, 90);
  TRadioButton* C = H.Add<TRadioButton>(10, 20, 120, 17, Box);
  TRadioButton* D = H.Add<TRadioButton>(10, 45, 120, 17, Box);
  TCheckBox* Check = H.Add<TCheckBox>(10, 60, 150, 17);
  Check->SetChecked(true);
  TRecorder Clicks;
  B->OnClick = Clicks.Event();

  A->SetChecked(true);
  C->SetChecked(true);
  EXPECT_TRUE(A->Checked());
  EXPECT_TRUE(C->Checked()) << "another parent is another group";
  EXPECT_EQ(CheckOf(A), BST_CHECKED);
  EXPECT_TRUE(A->TabStop());
  EXPECT_FALSE(B->TabStop());

  B->SetChecked(true);
  EXPECT_FALSE(A->Checked());
  EXPECT_EQ(CheckOf(A), BST_UNCHECKED);
  EXPECT_EQ(CheckOf(B), BST_CHECKED);
  EXPECT_TRUE(C->Checked());
  EXPECT_TRUE(Check->Checked()) << "check boxes are not in the group";
  EXPECT_EQ(Clicks.Count(), 1);
  EXPECT_FALSE(A->TabStop());
  EXPECT_TRUE(B->TabStop());

  // A click on the window checks it.
  SendMessageA(D->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(D->Checked());
  EXPECT_FALSE(C->Checked());
  EXPECT_EQ(CheckOf(C), BST_UNCHECKED);
  EXPECT_TRUE(B->Checked());
  SendMessageA(A->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(A->Checked());
  EXPECT_FALSE(B->Checked());
  EXPECT_EQ(Clicks.Count(), 1) << "unchecking is no click";

  // Unchecking leaves the others alone.
  A->SetChecked(false);
  EXPECT_FALSE(A->Checked());
  EXPECT_FALSE(B->Checked());
  EXPECT_TRUE(D->Checked());
}

// ---------------------------------------------------------------------------------------------
// List and combo boxes

std::vector<std::string> ListBoxLines(HWND H) {
  std::vector<std::string> R;
  int N = int(SendMessageA(H, LB_GETCOUNT, 0, 0));
  for (int I = 0; I < N; ++I) {
    char Buf[256] = {};
    SendMessageA(H, LB_GETTEXT, WPARAM(I), LPARAM(Buf));
    R.push_back(Buf);
  }
  return R;
}

std::vector<std::string> ComboLines(HWND H) {
  std::vector<std::string> R;
  int N = int(SendMessageA(H, CB_GETCOUNT, 0, 0));
  for (int I = 0; I < N; ++I) {
    char Buf[256] = {};
    SendMessageA(H, CB_GETLBTEXT, WPARAM(I), LPARAM(Buf));
    R.push_back(Buf);
  }
  return R;
}

using Lines = std::vector<std::string>;

TEST(ListBox, ItemsLiveInTheWindow) {
  TFormHost H;
  TListBox* L = TComponent::Create<TListBox>(H.Form);
  TObject Tag;
  L->Items()->Add("one");
  L->Items()->AddObject("two", &Tag);
  L->SetItemIndex(1);
  L->SetBounds(10, 10, 150, 120);
  L->SetParent(H.Form);
  EXPECT_EQ(ListBoxLines(L->Handle()), (Lines{"one", "two"})) << "items given before the window";
  EXPECT_EQ(SendMessageA(L->Handle(), LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(L->Items()->Objects(1), &Tag);

  L->Items()->Add("three");
  L->Items()->Insert(0, "zero");
  L->Items()->Put(2, "TWO");
  EXPECT_EQ(ListBoxLines(L->Handle()), (Lines{"zero", "one", "TWO", "three"}));
  EXPECT_EQ(L->Items()->Objects(2), &Tag) << "Put keeps the object";
  EXPECT_EQ(L->Items()->IndexOf("THREE"), 3);
  EXPECT_EQ(L->Items()->Count(), 4);
  L->Items()->Delete(1);
  EXPECT_EQ(ListBoxLines(L->Handle()), (Lines{"zero", "TWO", "three"}));
  EXPECT_EQ(L->Items()->Text().str(), "zero\r\nTWO\r\nthree\r\n");

  try {
    L->Items()->Get(5);
    ADD_FAILURE() << "no error";
  } catch (const EStringListError& E) {
    EXPECT_EQ(E.Message().str(), "List index out of bounds (5)");
  }

  L->SetItemIndex(2);
  EXPECT_EQ(SendMessageA(L->Handle(), LB_GETCURSEL, 0, 0), 2);
  SendMessageA(L->Handle(), LB_SETCURSEL, 0, 0);
  EXPECT_EQ(L->ItemIndex(), 0);

  // A recreated window keeps the items, their objects and the selection.
  L->SetSorted(true);
  EXPECT_EQ(ListBoxLines(L->Handle()), (Lines{"three", "TWO", "zero"}));
  EXPECT_EQ(L->Items()->Objects(1), &Tag);
  L->Items()->Add("one");
  EXPECT_EQ(ListBoxLines(L->Handle()), (Lines{"one", "three", "TWO", "zero"})) << "sorted on insertion";

  L->Clear();
  EXPECT_EQ(SendMessageA(L->Handle(), LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(L->ItemIndex(), -1);
}

TEST(ListBox, MouseSelectionClicks) {
  TFormHost H;
  TListBox* L = H.Add<TListBox>(10, 10, 150, 120);
  L->Items()->SetText("alpha\nbeta\ngamma\n");
  TRecorder Clicks;
  L->OnClick = Clicks.Event();
  TRect R = L->ItemRect(1);
  vcltest::Click(L->Handle(), R.Left + 5, (R.Top + R.Bottom) / 2);
  PumpMessages();
  EXPECT_EQ(L->ItemIndex(), 1);
  EXPECT_EQ(Clicks.Count(), 1);
  EXPECT_EQ(L->ItemAtPos(Point(R.Left + 5, R.Top + 1), true), 1);
  EXPECT_EQ(L->ItemAtPos(Point(5, L->ItemRect(2).Bottom + 5), true), -1);
}

// A list box that logs its item operations and keeps data of its own beside the window's.
class TLoggingListBox : public TListBox {
public:
  explicit TLoggingListBox(TComponent* AOwner) : TListBox(AOwner) {}
  std::vector<std::string> Log;
protected:
  intptr_t GetItemData(int Index) override {
    Log.push_back("get " + std::to_string(Index));
    return TListBox::GetItemData(Index);
  }
  void SetItemData(int Index, intptr_t AData) override {
    Log.push_back("set " + std::to_string(Index) + "=" + std::to_string(AData));
    TListBox::SetItemData(Index, AData);
  }
  void ResetContent() override {
    Log.push_back("reset");
    TListBox::ResetContent();
  }
  void DeleteString(int Index) override {
    Log.push_back("delete " + std::to_string(Index));
    TListBox::DeleteString(Index);
  }
};

TEST(ListBox, ItemDataGoesThroughTheOverridableOperations) {
  TFormHost H;
  auto* L = H.Add<TLoggingListBox>(10, 10, 150, 120);
  L->Items()->Add("a");
  L->Items()->AddObject("b", reinterpret_cast<TObject*>(intptr_t(7)));
  L->Items()->Add("c");
  EXPECT_EQ(L->Log, (Lines{"set 1=7"})) << "an item added without data leaves its slot alone";
  L->Log.clear();
  EXPECT_EQ(L->Items()->Objects(1), reinterpret_cast<TObject*>(intptr_t(7)));
  EXPECT_EQ(L->Log, (Lines{"get 1"}));

  // A window made again reads every item's data and gives it back once per item, in order.
  L->Log.clear();
  L->RecreateWnd();
  L->HandleNeeded();
  EXPECT_EQ(L->Log, (Lines{"get 0", "get 1", "get 2", "set 0=0", "set 1=7", "set 2=0"}));

  L->Log.clear();
  L->Items()->Delete(0);
  L->Items()->Clear();
  EXPECT_EQ(L->Log, (Lines{"delete 0", "reset"}));
  EXPECT_EQ(SendMessageA(L->Handle(), LB_GETCOUNT, 0, 0), 0);
}

TEST(ComboBox, ItemsAndSelectionThroughTheWindow) {
  TFormHost H;
  TComboBox* C = TComponent::Create<TComboBox>(H.Form);
  C->Items()->Add("GTIN64");
  C->Items()->Add("GTIN96");
  C->SetItemIndex(1);
  C->SetBounds(10, 10, 150, 24);
  C->SetParent(H.Form);
  EXPECT_EQ(ComboLines(C->Handle()), (Lines{"GTIN64", "GTIN96"}));
  EXPECT_EQ(SendMessageA(C->Handle(), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(C->Text().str(), "GTIN96");
  // The control's height is the closed box's, whatever moves the window.
  const int Closed = C->Height();
  EXPECT_LT(Closed, 40);
  C->SetLeft(20);
  C->SetHeight(Closed);
  EXPECT_EQ(C->Height(), Closed);
  SendMessageA(C->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  RECT Dropped{};
  SendMessageA(C->Handle(), CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&Dropped));
  SendMessageA(C->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_GE(Dropped.bottom - Dropped.top, Closed + 2 * 16) << "room for the list below";

  C->Items()->Add("SGTIN");
  C->Items()->Delete(0);
  EXPECT_EQ(ComboLines(C->Handle()), (Lines{"GTIN96", "SGTIN"}));
  C->SetItemIndex(1);
  EXPECT_EQ(C->Text().str(), "SGTIN");

  // A selection reported by the window updates Text before OnChange runs.
  TRecorder Changes;
  std::string Seen;
  Changes.Then = [&](TObject*) { Seen = C->Text().str(); };
  C->OnChange = Changes.Event();
  SendMessageA(C->Handle(), CB_SETCURSEL, 0, 0);
  SendMessageA(H.Wnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(C->Handle()), CBN_SELCHANGE), LPARAM(C->Handle()));
  EXPECT_EQ(Changes.Count(), 1);
  EXPECT_EQ(Seen, "GTIN96");

  // Switching to a drop-down list recreates the window with the items and the selection.
  C->SetStyle(csDropDownList);
  EXPECT_NE(GetWindowLongA(C->Handle(), GWL_STYLE) & CBS_DROPDOWNLIST, 0);
  EXPECT_EQ(ComboLines(C->Handle()), (Lines{"GTIN96", "SGTIN"}));
  EXPECT_EQ(C->ItemIndex(), 0);
  EXPECT_EQ(C->Text().str(), "GTIN96");
  EXPECT_EQ(C->Height(), [&] {
    RECT R;
    GetWindowRect(C->Handle(), &R);
    return int(R.bottom - R.top);
  }()) << "the closed height";

  C->Clear();
  EXPECT_EQ(SendMessageA(C->Handle(), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(C->ItemIndex(), -1);
}

// A combo box that records what reaches ComboWndProc.
class TWatchedCombo : public TComboBox {
public:
  explicit TWatchedCombo(TComponent* AOwner) : TComboBox(AOwner) {}
  std::vector<std::pair<HWND, unsigned>> Seen;
protected:
  void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) override {
    Seen.push_back({ComboWnd, Message.Msg});
    TComboBox::ComboWndProc(Message, ComboWnd, ComboProc);
  }
};

struct TKeyCount : TObject {
  std::vector<unsigned short> Downs;
  std::string Chars;
  void Down(TObject*, unsigned short& Key, TShiftState) { Downs.push_back(Key); }
  void Press(TObject*, char& Key) {
    Chars += Key;
    if (Key == 'x') Key = 0;
  }
};

TEST(ComboBox, InnerEditAndListGoThroughComboWndProc) {
  TFormHost H;
  auto* C = H.Add<TWatchedCombo>(10, 10, 150, 24);
  auto* Other = H.Add<TEdit>(10, 60, 100, 21);
  const HWND Edit = C->EditHandle(), List = C->ListHandle();
  ASSERT_NE(Edit, nullptr);
  ASSERT_NE(List, nullptr);
  EXPECT_NE(Edit, C->Handle());
  const WNDPROC EditClassProc = [&] {
    WNDCLASSA Cls{};
    GetClassInfoA(nullptr, "Edit", &Cls);
    return Cls.lpfnWndProc;
  }();
  EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Edit, GWLP_WNDPROC)), EditClassProc);

  // The inner edit's focus is the combo box's for the form.
  Other->SetFocus();
  PumpMessages();
  SetFocus(Edit);
  PumpMessages();
  EXPECT_EQ(H.Form->FocusedControl(), C);
  EXPECT_NE(std::count(C->Seen.begin(), C->Seen.end(), std::pair<HWND, unsigned>{Edit, unsigned(WM_SETFOCUS)}), 0);

  // Keys typed in the edit run the combo box's key events; a key the handler clears stays out.
  TKeyCount Keys;
  C->OnKeyDown = EVENT(&Keys, TKeyCount::Down);
  C->OnKeyPress = EVENT(&Keys, TKeyCount::Press);
  for (unsigned Key : {'A', 'X', 'B'}) PostMessageA(Edit, WM_KEYDOWN, Key, 0x001E0001);  // translated to characters
  Application->ProcessMessages();
  EXPECT_EQ(Keys.Downs, (std::vector<unsigned short>{'A', 'X', 'B'}));
  EXPECT_EQ(Keys.Chars, "axb");
  EXPECT_EQ(C->Text().str(), "ab");

  // A new window (another style) hooks its new edit; the drop-down list style has none.
  C->SetStyle(csSimple);
  EXPECT_NE(C->EditHandle(), nullptr);
  EXPECT_NE(C->EditHandle(), Edit);
  C->SetStyle(csDropDownList);
  EXPECT_EQ(C->EditHandle(), nullptr);
  EXPECT_NE(C->ListHandle(), nullptr);
}

// A combo box that notes the characters its KeyPress sees.
class TKeyedCombo : public TComboBox {
public:
  explicit TKeyedCombo(TComponent* AOwner) : TComboBox(AOwner) {}
  std::string Pressed;
protected:
  void KeyPress(char& Key) override {
    Pressed += Key;
    TComboBox::KeyPress(Key);
  }
};

struct TPreviewKeys : TObject {
  std::string Form, Box;
  void FormPress(TObject*, char& Key) {
    Form += Key;
    if (Key == 'q') Key = 0;
  }
  void BoxPress(TObject*, char& Key) {
    Box += Key;
    if (Key == 'b') Key = 'B';
  }
};

// Presses and releases each key on the real keyboard, handled by the application's own loop.
void TypeThroughApplication(const std::string& Keys) {
  for (char K : Keys) {
    INPUT In[2] = {vcltest::KeyInput(WORD(K), true), vcltest::KeyInput(WORD(K), false)};
    SendInput(2, In, sizeof(INPUT));
    vcltest::AppPumpUntil([] { return false; }, 60);
  }
  vcltest::AppPumpUntil([] { return false; }, 60);
}

TEST(ComboBox, RealKeysInTheEditReachKeyPressAndTheFormsPreview) {
  TFormHost H;
  auto* C = H.Add<TKeyedCombo>(10, 10, 150, 24);
  TPreviewKeys Keys;
  H.Form->SetKeyPreview(true);
  H.Form->OnKeyPress = EVENT(&Keys, TPreviewKeys::FormPress);
  C->OnKeyPress = EVENT(&Keys, TPreviewKeys::BoxPress);
  C->SetFocus();
  PumpMessages();
  ASSERT_EQ(GetFocus(), C->EditHandle());

  // The form sees every key first and drops q; the box's KeyPress and OnKeyPress see the rest,
  // and the key OnKeyPress gives back is the one the edit takes.
  TypeThroughApplication("AQB");
  EXPECT_EQ(Keys.Form, "aqb");
  EXPECT_EQ(C->Pressed, "ab");
  EXPECT_EQ(Keys.Box, "ab");
  EXPECT_EQ(C->Text().str(), "aB");

  H.Form->SetKeyPreview(false);
  TypeThroughApplication("Q");
  EXPECT_EQ(Keys.Form, "aqb") << "no preview";
  EXPECT_EQ(C->Text().str(), "aBq");

  // A drop-down list has no edit: its keys come to the combo box's own window.
  H.Form->SetKeyPreview(true);
  C->SetStyle(csDropDownList);
  C->Items()->Add("alpha");
  C->Items()->Add("beta");
  C->SetFocus();
  PumpMessages();
  ASSERT_EQ(GetFocus(), C->Handle());
  TypeThroughApplication("B");
  EXPECT_EQ(Keys.Form, "aqbb");
  EXPECT_EQ(C->Pressed, "abqb");
  EXPECT_EQ(C->ItemIndex(), 1);
}

// ---------------------------------------------------------------------------------------------
// Published properties and streaming

TEST(StdCtrlsClasses, DefaultsMatchTheTablesAndClassesAreRegistered) {
  for (TClass C : {TLabel::StaticClass(), TButton::StaticClass(), TEdit::StaticClass(), TMemo::StaticClass(),
                   TCheckBox::StaticClass(), TRadioButton::StaticClass(), TGroupBox::StaticClass(),
                   TListBox::StaticClass(), TComboBox::StaticClass(), TScrollBar::StaticClass(),
                   TMaskEdit::StaticClass(), TMenuItem::StaticClass(), TMainMenu::StaticClass(),
                   TPopupMenu::StaticClass()}) {
    ExpectClassDefaultsMatch(C);
    EXPECT_EQ(GetClass(C->Name), C) << C->Name;
  }
}

// The main window's labels, a button, a box with text and the File/Help menu, read from a text
// form: everything set in the resource takes effect once loading ends.
TEST(StdCtrlsForm, MainWindowResourceLoads) {
  const char* Text =
      "object Form1: TForm\n"
      "  Left = 214\n  Top = 106\n  BorderStyle = bsSingle\n  Caption = 'Orvalen...'\n"
      "  ClientHeight = 312\n  ClientWidth = 467\n  Color = clBtnFace\n"
      "  Font.Charset = DEFAULT_CHARSET\n  Font.Color = clWindowText\n  Font.Height = -11\n"
      "  Font.Name = 'MS Sans Serif'\n  Font.Style = []\n  Menu = MainMenu1\n"
      "  OldCreateOrder = False\n  PixelsPerInch = 96\n  TextHeight = 13\n"
      "  object Label1: TLabel\n"
      "    Left = 203\n    Top = 104\n    Width = 100\n    Height = 30\n    Caption = 'Hex TagID'\n"
      "    Font.Charset = DEFAULT_CHARSET\n    Font.Color = clWhite\n    Font.Height = -11\n"
      "    Font.Name = 'MS Sans Serif'\n    Font.Style = [fsBold]\n    ParentFont = False\n"
      "    Transparent = True\n"
      "  end\n"
      "  object Button1: TButton\n"
      "    Left = 75\n    Top = 177\n    Width = 133\n    Height = 25\n"
      "    Caption = 'v   Convert To EPC   v'\n    TabOrder = 0\n"
      "  end\n"
      "  object HexTagID: TMaskEdit\n"
      "    Left = 8\n    Top = 120\n    Width = 450\n    Height = 26\n    Color = 16711808\n"
      "    Font.Charset = ANSI_CHARSET\n    Font.Color = clWhite\n    Font.Height = -16\n"
      "    Font.Name = 'Courier New'\n    Font.Style = [fsBold]\n    ParentFont = False\n"
      "    TabOrder = 2\n    Text = '303415E98C0A11800000A3C8'\n"
      "  end\n"
      "  object Phone: TMaskEdit\n"
      "    Left = 8\n    Top = 200\n    Width = 100\n    Height = 26\n    TabOrder = 3\n"
      "    Text = '1234567'\n    EditMask = '000-0000;0;_'\n"
      "  end\n"
      "  object MainMenu1: TMainMenu\n"
      "    Left = 398\n    Top = 39\n"
      "    object File1: TMenuItem\n      Caption = 'File'\n"
      "      object Exit1: TMenuItem\n        Caption = 'Exit'\n      end\n"
      "    end\n"
      "    object About1: TMenuItem\n      Caption = 'Help'\n"
      "      object About2: TMenuItem\n        Caption = 'About'\n      end\n"
      "    end\n"
      "  end\n"
      "end\n";
  TStringStream Source(Text);
  TMemoryStream Binary;
  ObjectTextToBinary(&Source, &Binary);
  Binary.SetPosition(0);
  TForm* Form = TForm::CreateNew<TForm>(nullptr);
  ReadComponentRes(&Binary, Form);

  auto* Label1 = dynamic_cast<TLabel*>(Form->FindComponent("Label1"));
  auto* Button1 = dynamic_cast<TButton*>(Form->FindComponent("Button1"));
  auto* HexTagID = dynamic_cast<TMaskEdit*>(Form->FindComponent("HexTagID"));
  auto* Phone = dynamic_cast<TMaskEdit*>(Form->FindComponent("Phone"));
  auto* MainMenu1 = dynamic_cast<TMainMenu*>(Form->FindComponent("MainMenu1"));
  ASSERT_TRUE(Label1 && Button1 && HexTagID && Phone && MainMenu1);

  EXPECT_TRUE(Label1->Transparent());
  EXPECT_FALSE(Label1->ParentFont());
  EXPECT_EQ(Label1->Font()->Color(), clWhite);
  EXPECT_EQ(Label1->Font()->Style(), FontStyle(fsBold));
  TSize S = TextSize(Label1->Font(), "Hex TagID");
  EXPECT_EQ(Label1->Width(), S.cx) << "AutoSize applies after loading";
  EXPECT_EQ(Label1->Height(), S.cy);
  EXPECT_EQ(Label1->Left(), 203);

  EXPECT_EQ(Button1->Caption().str(), "v   Convert To EPC   v");
  EXPECT_EQ(HexTagID->Text().str(), "303415E98C0A11800000A3C8");
  EXPECT_EQ(HexTagID->EditText().str(), "303415E98C0A11800000A3C8");
  EXPECT_EQ(Phone->EditText().str(), "123-4567") << "Text read before EditMask still takes the mask";
  EXPECT_EQ(Phone->Text().str(), "1234567");

  ASSERT_EQ(Form->Menu(), MainMenu1);
  ASSERT_EQ(MainMenu1->Items()->Count(), 2);
  EXPECT_EQ(MainMenu1->Items()->Items(0)->Items(0), Form->FindComponent("Exit1"));

  Form->Show();
  PumpRounds(2);
  EXPECT_EQ(WindowText(HexTagID->Handle()), "303415E98C0A11800000A3C8");
  EXPECT_EQ(WindowText(Phone->Handle()), "123-4567");
  HMENU Bar = GetMenu(Form->Handle());
  ASSERT_NE(Bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(Bar), 2);
  char Buf[64] = {};
  GetMenuStringA(GetSubMenu(Bar, 1), 0, Buf, int(sizeof Buf), MF_BYPOSITION);
  EXPECT_STREQ(Buf, "About");
  RECT Client;
  GetClientRect(Form->Handle(), &Client);
  EXPECT_EQ(Client.right, 467);
  EXPECT_EQ(Client.bottom, 312);

  // Written back, the form holds the same text for the boxes and the menu tree.
  TMemoryStream Out, OutText;
  WriteComponentRes(&Out, Form);
  Out.SetPosition(0);
  ObjectBinaryToText(&Out, &OutText);
  std::string Written(static_cast<const char*>(OutText.Memory()), size_t(OutText.Size()));
  EXPECT_NE(Written.find("Text = '303415E98C0A11800000A3C8'"), std::string::npos) << Written;
  EXPECT_NE(Written.find("object Exit1: TMenuItem"), std::string::npos) << Written;
  EXPECT_NE(Written.find("Transparent = True"), std::string::npos) << Written;
  TObject::Free(Form);
  PumpMessages();
}

}  // namespace
