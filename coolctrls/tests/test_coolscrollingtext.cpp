// The thread timer and the scrolling text: the worker's priority and ticks on the GUI thread,
// freeing with ticks in flight, start and wrap positions per direction, the pixels of the plain,
// transparent and wallpapered steps against the control painted there, and the smaller rules.
#include "coolctrls/CoolCtrls.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"
#include "suite/tests/suitetest.h"
#include "vcl/Forms.h"
#include "vcl/GdiGuards.h"
#include "vcl/tests/vcltest.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <thread>
#include <vector>

namespace {

using vcltest::PumpRounds;
using vcltest::PumpUntil;

// Ends the test program when the guarded steps hang, so a deadlock fails at once.
class TWatchdog {
public:
  explicit TWatchdog(const char* What, DWORD Ms = 30000) : FDone(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    FThread = std::thread([this, What, Ms] {
      if (WaitForSingleObject(FDone, Ms) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "hung: %s\n", What);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
      }
    });
  }
  ~TWatchdog() {
    SetEvent(FDone);
    FThread.join();
    CloseHandle(FDone);
  }
private:
  HANDLE FDone;
  std::thread FThread;
};

int ThreadCount() {
  HANDLE Snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 E{};
  E.dwSize = sizeof E;
  int N = 0;
  if (Thread32First(Snap, &E)) do {
      if (E.th32OwnerProcessID == GetCurrentProcessId()) ++N;
    } while (Thread32Next(Snap, &E));
  CloseHandle(Snap);
  return N;
}

// Pumps for about Ms milliseconds.
void PumpFor(DWORD Ms) {
  const DWORD Start = GetTickCount();
  PumpUntil([&] { return GetTickCount() - Start >= Ms; }, 100000);
}

// The control with its step and measure at hand.
class TDriven : public TCoolScrollingText {
public:
  using TCoolScrollingText::TCoolScrollingText;
  using TCoolScrollingText::BusyRect;
  using TCoolScrollingText::DoPaintEvent;
  using TCoolScrollingText::SetTextCoordinates;
};

// What the ticks and events did: counts, threads, senders that were freed.
struct TLog : TObject {
  std::atomic<int> Ticks{0};
  std::atomic<int> OffGuiThread{0};
  int Scrolled = 0;
  int Raised = 0;
  bool SetInitial = false;
  bool Throw = false;
  TCoolScrollingText* FreeOnScroll = nullptr;
  std::set<TObject*> Freed;
  int AfterFree = 0;
  TNotifyEvent Inner;  // the control's own tick, wrapped by Tick
  void Tick(TObject* Sender) {
    ++Ticks;
    if (GetCurrentThreadId() != MainThreadID) ++OffGuiThread;
    if (Inner) Inner(Sender);
  }
  void TextScrolled(TObject* Sender, bool& InitialPosition) {
    if (Freed.count(Sender)) ++AfterFree;
    ++Scrolled;
    InitialPosition = SetInitial;
    if (Throw) throw EConvertError("scroll failed");
    if (Sender == FreeOnScroll) {
      FreeOnScroll = nullptr;
      Freed.insert(Sender);
      TObject::Free(Sender);
    }
  }
  void Caught(TObject*, Exception& E) {
    if (E.Message() == "scroll failed") ++Raised;
  }
};

// Counts the control's ticks (and still runs them).
void WrapTicks(TCoolScrollingText* C, TLog& Log) {
  Log.Inner = C->Timer()->OnTimer;
  C->Timer()->OnTimer = TNotifyEvent::Bind<&TLog::Tick>(&Log);
}

TEST(CoolScrollingText, PublishedDefaultsMatchFreshObjects) {
  ExpectClassDefaultsMatch(TCoolScrollingText::StaticClass());
}

// ----- the thread timer

TEST(ThreadTimer, IdleWorkerTicksOnTheGuiThreadOnlyWhileEnabled) {
  TWatchdog Dog("thread timer");
  TLog Log;
  TThreadTimer* T = New<TThreadTimer>();
  EXPECT_EQ(GetThreadPriority(reinterpret_cast<HANDLE>(T->Handle())), THREAD_PRIORITY_IDLE);
  EXPECT_FALSE(T->Enabled());
  EXPECT_EQ(T->Interval(), 100u);
  T->OnTimer = TNotifyEvent::Bind<&TLog::Tick>(&Log);
  T->SetInterval(25);
  PumpFor(100);
  EXPECT_EQ(Log.Ticks, 0) << "not enabled";
  EXPECT_TRUE(T->Suspended()) << "the thread starts with the first enabling";

  T->SetEnabled(true);
  const DWORD Start = GetTickCount();
  ASSERT_TRUE(PumpUntil([&] { return Log.Ticks >= 4; }));
  EXPECT_GE(GetTickCount() - Start, 4 * 25u - 20) << "four ticks take about four intervals";
  EXPECT_EQ(Log.OffGuiThread, 0);

  T->SetEnabled(false);
  PumpRounds(3);
  const int Now = Log.Ticks;
  PumpFor(150);
  EXPECT_EQ(Log.Ticks, Now) << "a disabled worker waits";

  // Intervals: 0 becomes 1; 65,536 is not cut to 16 bits (0: without pause).
  T->SetInterval(0);
  EXPECT_EQ(T->Interval(), 1u);
  T->SetInterval(65536);
  EXPECT_EQ(T->Interval(), 65536u);
  T->SetEnabled(true);
  PumpFor(150);
  EXPECT_EQ(Log.Ticks, Now) << "65,536 ms is a long wait";
  TObject::Free(T);
}

TEST(ThreadTimer, AnExceptionFromATickGoesToTheApplicationAndTickingGoesOn) {
  TWatchdog Dog("raising ticks");
  suitetest::TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  Form->SetBounds(100, 100, 200, 100);
  Form->Show();
  TLog Log;
  Log.Throw = true;
  const TExceptionEvent Saved = Application->OnException;
  Application->OnException = TExceptionEvent::Bind<&TLog::Caught>(&Log);
  auto* C = TComponent::Create<TCoolScrollingText>(Form.get());
  C->SetBounds(0, 0, 2, 15);
  C->SetScrollDirection(sdLeftToRight);  // leaves a 2-pixel control every 5 ticks
  C->OnTextScrolled = TTextScrolledEvent::Bind<&TLog::TextScrolled>(&Log);
  C->SetParent(Form.get());
  C->SetInterval(1);
  C->SetActive(true);
  const bool Three = vcltest::AppPumpUntil([&] { return Log.Raised >= 3; });
  Application->OnException = Saved;
  EXPECT_TRUE(Three) << Log.Raised << " reached OnException";
  EXPECT_EQ(Log.Raised, Log.Scrolled) << "each raise reached the application";
}

TEST(ThreadTimer, FreedActiveControlsEndTheirWorkersAndGetNoTick) {
  TWatchdog Dog("freeing active controls");
  vcltest::TTestHost Host(200, 100);
  PumpRounds(3);
  const int Before = ThreadCount();

  // Created, activated and freed in a loop at 1 ms, ticking or not.
  for (int I = 0; I < 100; ++I) {
    auto* C = Host.Add<TCoolScrollingText>(0, 0, 60, 15);
    C->SetInterval(1);
    C->SetActive(true);
    if (I % 2) Sleep(2);
    if (I % 3 == 0) PumpRounds(1);
    TObject::Free(C);
  }

  // Freed while its worker waits in Synchronize: the GUI thread is held first, so the tick is
  // queued; it never reaches the freed control.
  {
    TLog Log;
    auto* C = Host.Add<TCoolScrollingText>(0, 0, 60, 15);
    WrapTicks(C, Log);
    C->SetInterval(1);
    C->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return Log.Ticks >= 2; }));
    Sleep(30);
    const int Ticks = Log.Ticks;
    TObject::Free(C);
    PumpFor(60);
    EXPECT_EQ(Log.Ticks, Ticks) << "no tick after the free";
  }

  // Freed from its own tick (OnTextScrolled): the worker ends once the tick has returned.
  {
    TLog Log;
    auto* C = Host.Add<TCoolScrollingText>(0, 0, 2, 15);
    C->SetScrollDirection(sdLeftToRight);
    C->OnTextScrolled = TTextScrolledEvent::Bind<&TLog::TextScrolled>(&Log);
    Log.FreeOnScroll = C;
    C->SetInterval(1);
    C->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return !Log.Freed.empty(); }));
    PumpFor(60);
    EXPECT_EQ(Log.Scrolled, 1);
    EXPECT_EQ(Log.AfterFree, 0);
  }
  // A form with several active controls, one see-through, freed with their ticks queued: while
  // one control's worker is awaited the others' ticks run and find their form going.
  for (int Round = 0; Round < 5; ++Round) {
    TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
    Form->SetBounds(300, 100, 300, 150);
    for (int I = 0; I < 4; ++I) {
      auto* C = TComponent::Create<TCoolScrollingText>(Form);
      C->SetBounds(10, 10 + 30 * I, 200, 20);
      C->Strings()->SetText("Going");
      C->SetTransparent(I == 1);
      C->SetParent(Form);
      C->SetInterval(1);
      C->SetActive(true);
    }
    Form->Show();
    PumpRounds(2);
    Sleep(20);
    TObject::Free(Form);
  }
  PumpRounds(3);
  EXPECT_TRUE(PumpUntil([&] { return ThreadCount() <= Before; })) << ThreadCount() << " threads, " << Before
                                                                    << " before";
}

TEST(CoolScrollingText, RealTicksMoveTheTextOnePixelEachUnlessInactiveOrDesigning) {
  TWatchdog Dog("real ticks");
  vcltest::TTestHost Host(200, 100);
  auto* C = Host.Add<TCoolScrollingText>(10, 10, 97, 15);
  C->Strings()->SetText("Ticker");
  TLog Log;
  WrapTicks(C, Log);
  EXPECT_EQ(C->Interval(), 25u);
  EXPECT_EQ(C->Timer()->Interval(), 25u);
  C->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return Log.Ticks >= 5; }));
  C->SetActive(false);
  PumpRounds(2);
  EXPECT_EQ(C->TextX(), -Log.Ticks) << "sdRightToLeft from (0, 0), a pixel per tick";
  EXPECT_EQ(C->TextY(), 0);
  EXPECT_EQ(Log.OffGuiThread, 0);

  struct {
    const char* Name;
    bool Designing;
  } Cases[] = {{"inactive", false}, {"designing", true}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    auto* D = Host.Add<TCoolScrollingText>(10, 40, 97, 15);
    TLog Quiet;
    WrapTicks(D, Quiet);
    D->SetDesigning(Case.Designing);
    D->SetActive(Case.Designing);
    PumpFor(120);
    EXPECT_EQ(Quiet.Ticks, 0);
    EXPECT_FALSE(D->Timer()->Enabled());
    EXPECT_EQ(D->TextX(), 0);
    TObject::Free(D);
  }
}

// ----- positions

// The width and height of Text drawn as the control draws it (with its trailing space line).
TSize TextExtentOf(TCoolScrollingText* C) {
  TWindowDC DC(nullptr);
  TSelectGuard F(DC, C->Font()->Handle());
  RECT R{0, 0, C->Width(), C->Height()};
  const AnsiString Text = C->Strings()->Text() + " ";
  DrawTextA(DC, Text.c_str(), -1, &R, DT_CALCRECT | DT_EXPANDTABS);
  return TSize{R.right - R.left, R.bottom - R.top};
}

TEST(CoolScrollingText, EachDirectionEntersStepsAndStartsOverOnceTheTextHasLeft) {
  auto* C = TComponent::Create<TDriven>(nullptr);
  C->SetBounds(0, 0, 97, 15);
  C->Strings()->SetText("Scrolling");
  C->SetShadowSize(0);
  TLog Log;
  C->OnTextScrolled = TTextScrolledEvent::Bind<&TLog::TextScrolled>(&Log);
  const TSize Ext = TextExtentOf(C);
  const int W = 97, H = 15;
  const struct {
    TScrollDirection Dir;
    TPoint Start, Step;
    int StepsToLeave;  // steps until the text is wholly out
  } Cases[] = {
      {sdBottomToTop, {0, H}, {0, -1}, H + Ext.cy},
      {sdTopToBottom, {0, -H}, {0, 1}, 2 * H},
      {sdLeftToRight, {-W, 0}, {1, 0}, 2 * W},
      {sdRightToLeft, {W, 0}, {-1, 0}, W + Ext.cx},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(TScrollDirectionType.ValueToName(Case.Dir));
    for (bool Initial : {false, true}) {
      C->SetScrollDirection(Case.Dir);
      C->SetTextCoordinates(false);
      EXPECT_EQ(TPoint(C->TextX(), C->TextY()), Case.Start);
      Log.Scrolled = 0;
      Log.SetInitial = Initial;
      C->DoPaintEvent();
      EXPECT_EQ(TPoint(C->TextX(), C->TextY()), TPoint(Case.Start.X + Case.Step.X, Case.Start.Y + Case.Step.Y));
      for (int I = 1; I < Case.StepsToLeave; ++I) C->DoPaintEvent();
      EXPECT_EQ(Log.Scrolled, 0) << "not before the text has left";
      EXPECT_EQ(TPoint(C->TextX(), C->TextY()),
                TPoint(Case.Start.X + Case.StepsToLeave * Case.Step.X, Case.Start.Y + Case.StepsToLeave * Case.Step.Y));
      C->DoPaintEvent();
      EXPECT_EQ(Log.Scrolled, 1) << "when it has left";
      EXPECT_EQ(TPoint(C->TextX(), C->TextY()), Initial ? TPoint(0, 0) : Case.Start)
          << (Initial ? "at rest at the top-left" : "from the entry edge again");
    }
  }
  TObject::Free(C);
}

// ----- pixels of the three ways of showing a step

// A parent painting a horizontal gradient, for what a see-through control shows.
class TGradientParent : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  static TColor At(int X) { return TColor(RGB(X / 2 % 256, 96, 255 - X / 2 % 256)); }
protected:
  void Paint() override {
    for (int X = 0; X < Width(); ++X) {
      Canvas()->Brush()->SetColor(At(X));
      Canvas()->FillRect(Rect(X, 0, X + 1, Height()));
    }
  }
};

int Differences(TBitmap* A, TBitmap* B, const TRect& R) {
  int N = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X)
      if (A->Canvas()->Pixels(X, Y) != B->Canvas()->Pixels(X, Y)) ++N;
  return N;
}

struct TPathCase {
  const char* Name;
  bool Transparent, Wallpaper;
};

TEST(CoolScrollingText, StepsOnTheThreePathsLeaveWhatAFreshPaintShows) {
  const TPathCase Cases[] = {{"plain", false, false}, {"transparent", true, false}, {"wallpaper", false, true}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    vcltest::TTestHost Host(300, 120);
    auto* Back = Host.Add<TGradientParent>(0, 0, 300, 120);
    auto* C = TComponent::Create<TDriven>(Back);
    C->SetBounds(30, 40, 200, 24);
    C->SetParent(Back);
    C->Strings()->SetText("SGTIN 48.1.5");
    C->SetColor(clYellow);
    C->Font()->SetColor(clNavy);
    C->Font()->SetHeight(-16);
    C->SetTransparent(Case.Transparent);
    TBitmap Wall;
    if (Case.Wallpaper) {
      Wall.SetPixelFormat(pf24bit);
      Wall.SetSize(8, 8);
      for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) Wall.Canvas()->SetPixels(X, Y, TColor(RGB(40 * Y, 200, 30 * X)));
      C->SetWallpaper(&Wall);
    }
    C->SetTextCoordinates(true);
    auto Before = vcltest::CaptureClient(Host.Window());
    const TRect Area = C->BoundsRect();
    for (int I = 0; I < 25; ++I) {
      C->DoPaintEvent();
      if (!Case.Transparent && !Case.Wallpaper && I == 0) {
        // Only the strip the scroll uncovered waits for painting.
        RECT U{};
        ASSERT_TRUE(GetUpdateRect(Back->Handle(), &U, FALSE));
        EXPECT_EQ(TRect(U), Rect(Area.Right - 1, Area.Top, Area.Right, Area.Bottom));
      }
      UpdateWindow(Back->Handle());
    }
    EXPECT_EQ(C->TextX(), -25);
    auto Stepped = vcltest::CaptureClient(Host.Window());
    EXPECT_GT(Differences(Before.get(), Stepped.get(), Area), 20) << "the text moved";
    InvalidateRect(Back->Handle(), nullptr, TRUE);
    auto Fresh = vcltest::CaptureClient(Host.Window());
    EXPECT_EQ(Differences(Stepped.get(), Fresh.get(), Area), 0);
    EXPECT_EQ(Differences(Stepped.get(), Fresh.get(), Rect(0, 0, 300, 120)), 0) << "nothing around it changed";
    // A background pixel right of the text: the gradient, the wallpaper or the colour.
    const TColor Expected = Case.Transparent ? TGradientParent::At(Area.Right - 3)
                            : Case.Wallpaper ? Wall.Canvas()->Pixels((200 - 3) % 8, 20 % 8)
                                             : clYellow;
    EXPECT_EQ(Fresh->Canvas()->Pixels(Area.Right - 3, Area.Top + 20), Expected);
  }
}

TEST(CoolScrollingText, AHiddenControlLeavesItsParentAloneAndOneWithoutParentRaisesNothing) {
  vcltest::TTestHost Host(300, 120);
  auto* Back = Host.Add<TGradientParent>(0, 0, 300, 120);
  auto Wall = vcltest::MakeBitmap(8, 8, clLime);
  for (const auto& Case : {TPathCase{"plain", false, false}, TPathCase{"transparent", true, false},
                           TPathCase{"wallpaper", false, true}}) {
    SCOPED_TRACE(Case.Name);
    auto* C = TComponent::Create<TDriven>(Back);
    C->SetBounds(30, 40, 200, 24);
    C->Strings()->SetText("Hidden");
    C->SetTransparent(Case.Transparent);
    if (Case.Wallpaper) C->SetWallpaper(Wall.get());
    C->SetVisible(false);
    C->SetParent(Back);
    auto Before = vcltest::CaptureClient(Host.Window());
    for (int I = 0; I < 5; ++I) C->DoPaintEvent();
    auto After = vcltest::CaptureClient(Host.Window());
    EXPECT_EQ(Differences(Before.get(), After.get(), Rect(0, 0, 300, 120)), 0);
    EXPECT_EQ(C->TextX(), -5) << "the text still moves";
    TObject::Free(C);
  }

  for (TScrollDirection Dir : {sdBottomToTop, sdTopToBottom, sdLeftToRight, sdRightToLeft})
    for (bool Transparent : {false, true}) {
      auto* Alone = TComponent::Create<TDriven>(nullptr);
      Alone->Strings()->SetText("Alone");
      Alone->SetScrollDirection(Dir);
      Alone->SetTransparent(Transparent);
      EXPECT_NO_THROW(for (int I = 0; I < 300; ++I) Alone->DoPaintEvent());
      EXPECT_NE(TPoint(Alone->TextX(), Alone->TextY()), TPoint(0, 0));
      TObject::Free(Alone);
    }
}

// ----- from a form resource

const char* const TickerForm =
    "object TickerForm: TForm\n"
    "  Left = 100\n"
    "  Top = 100\n"
    "  Width = 300\n"
    "  Height = 120\n"
    "  object Ticker: TCoolScrollingText\n"
    "    Left = 10\n"
    "    Top = 10\n"
    "    Width = 200\n"
    "    Height = 30\n"
    "    Active = True\n"
    "    Interval = 5\n"
    "    ScrollDirection = sdBottomToTop\n"
    "    Strings.Strings = (\n"
    "      'First line'\n"
    "      'Second line')\n"
    "  end\n"
    "  object Empty: TCoolScrollingText\n"
    "    Left = 10\n"
    "    Top = 50\n"
    "  end\n"
    "end\n";

TEST(CoolScrollingText, ReadFromAFormResourceItEntersAndTicks) {
  TWatchdog Dog("form resource");
  TStringStream Text(TickerForm);
  TMemoryStream Bin;
  ObjectTextToBinary(&Text, &Bin);
  Bin.SetPosition(0);
  suitetest::TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  ReadComponentRes(&Bin, Form.get());
  auto* Ticker = dynamic_cast<TCoolScrollingText*>(Form->FindComponent("Ticker"));
  auto* Empty = dynamic_cast<TCoolScrollingText*>(Form->FindComponent("Empty"));
  ASSERT_NE(Ticker, nullptr);
  ASSERT_NE(Empty, nullptr);
  EXPECT_EQ(Ticker->Strings()->Text(), "First line\r\nSecond line\r\n");
  EXPECT_EQ(Empty->Strings()->Count(), 0) << "a loaded control does not take its name";
  EXPECT_EQ(Ticker->TextY(), 30) << "below the control, ready to enter";
  EXPECT_EQ(Ticker->Timer()->Interval(), 5u);
  EXPECT_TRUE(Ticker->Timer()->Enabled());
  Form->Show();
  EXPECT_TRUE(PumpUntil([&] { return Ticker->TextY() <= 25; }));
}

// ----- glyph, accelerator and the smaller rules

// Columns of Bmp (in row band Y0..Y1) holding a pixel of Colour: the first and last, -1 for none.
std::pair<int, int> ColumnsOf(TBitmap* Bmp, TColor Colour, int Y0, int Y1, bool Equal = true) {
  int First = -1, Last = -1;
  for (int X = 0; X < Bmp->Width(); ++X)
    for (int Y = Y0; Y < Y1; ++Y)
      if ((Bmp->Canvas()->Pixels(X, Y) == Colour) == Equal) {
        if (First < 0) First = X;
        Last = X;
        break;
      }
  return {First, Last};
}

// The control painted on a white bitmap of its size.
std::unique_ptr<TBitmap> Painted(TCoolScrollingText* C) {
  auto B = vcltest::MakeBitmap(C->Width(), C->Height(), clWhite);
  C->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(B->Canvas()->Handle()), 0);
  return B;
}

TEST(CoolScrollingText, ACentredGlyphMovesWithItsTextAndARightJustifiedOneStandsBeforeIt) {
  vcltest::TTestHost Host(300, 60);
  auto* C = Host.Add<TDriven>(0, 0, 240, 20);
  C->Strings()->SetText("Centre");
  C->SetColor(clWhite);
  C->SetSimpleView(true);
  C->Font()->SetColor(clBlack);
  TBitmap G;
  G.SetPixelFormat(pf24bit);
  G.SetSize(12, 12);
  G.Canvas()->Brush()->SetColor(clRed);
  G.Canvas()->FillRect(Rect(0, 0, 12, 12));
  G.Canvas()->SetPixels(0, 11, clOlive);  // the transparent colour, bottom-left
  C->SetGlyph(&G);
  C->SetAlignment(taCenter);
  int Gap = 0;
  for (int Step = 0; Step <= 40; Step += 10) {
    SCOPED_TRACE(Step);
    C->SetTextCoordinates(true);
    for (int I = 0; I < Step; ++I) C->DoPaintEvent();
    auto B = Painted(C);
    const int GlyphLeft = ColumnsOf(B.get(), clRed, 0, 12).first;
    const int TextLeft = ColumnsOf(B.get(), clBlack, 0, 20).first;
    ASSERT_GE(GlyphLeft, 0);
    ASSERT_GT(TextLeft, GlyphLeft);
    if (Step == 0) Gap = TextLeft - GlyphLeft;
    EXPECT_EQ(TextLeft - GlyphLeft, Gap) << "glyph and text keep their distance";
  }

  // Right-justified, the glyph stands just before the lines (placed by their width).
  C->SetScrollDirection(sdTopToBottom);
  C->SetAlignment(taRightJustify);
  C->SetTextCoordinates(true);
  auto B = Painted(C);
  const int GlyphRight = ColumnsOf(B.get(), clRed, 0, 12).second;
  const int TextLeft = ColumnsOf(B.get(), clBlack, 0, 20).first;
  EXPECT_GE(TextLeft - GlyphRight, 2);
  EXPECT_LE(TextLeft - GlyphRight, 5);
}

TEST(CoolScrollingText, PropertyRules) {
  vcltest::TTestHost Host(300, 100);
  auto* C = Host.Add<TDriven>(0, 0, 97, 15);
  C->SetNumGlyphs(3);
  EXPECT_EQ(C->NumGlyphs(), 2);
  C->SetScrollDirection(sdTopToBottom);
  C->SetAlignment(taCenter);
  C->SetScrollDirection(sdLeftToRight);
  EXPECT_EQ(C->Alignment(), taLeftJustify) << "the horizontal directions align left";
  C->SetSimpleView(true);
  C->SetShadowPos(spRightBottom);
  EXPECT_FALSE(C->SimpleView()) << "a shadow setting leaves the simple view";

  // A fresh control shows its own name; given lines of its own it keeps them.
  C->SetName("Ticker1");
  EXPECT_EQ(C->Strings()->Text(), "Ticker1\r\n");
  C->SetName("Ticker2");
  EXPECT_EQ(C->Strings()->Text(), "Ticker2\r\n");
  C->Strings()->SetText("Own text");
  C->SetName("Ticker3");
  EXPECT_EQ(C->Strings()->Text(), "Own text\r\n");

  // AutoSize: the text's extent; right-justified the right edge stays, also read right to left
  // (where the left edge stays instead).
  C->Strings()->SetText("Sized");
  C->SetShadowSize(0);
  C->SetBounds(100, 10, 150, 40);
  C->SetScrollDirection(sdTopToBottom);
  C->SetAlignment(taRightJustify);
  C->SetAutoSize(true);
  C->Strings()->Add("two");
  TRect R;
  C->BusyRect(R);
  EXPECT_EQ(C->Width(), R.Right);
  EXPECT_EQ(C->Height(), R.Bottom);
  EXPECT_EQ(C->Left() + C->Width(), 250);
  C->SetBiDiMode(bdRightToLeft);
  C->Strings()->Add("three three");
  EXPECT_EQ(C->Left(), 100 + 150 - R.Right);
}

// A right-justified auto-sized text keeps its right edge when read left to right, and its left
// edge whenever it is read right to left, aligned so or not.
TEST(CoolScrollingText, AutoSizeKeepsTheEdgeOfTheReadingOrder) {
  vcltest::TTestHost Host(300, 100);
  const struct {
    TBiDiMode Mode;
    bool KeepsLeft;
  } Cases[] = {{bdLeftToRight, false}, {bdRightToLeft, true}, {bdRightToLeftNoAlign, true},
               {bdRightToLeftReadingOnly, true}};
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Mode);
    auto* C = Host.Add<TDriven>(0, 0, 97, 15);
    C->Strings()->SetText("Sized");
    C->SetBounds(100, 10, 150, 40);
    C->SetScrollDirection(sdTopToBottom);
    C->SetAlignment(taRightJustify);
    C->SetBiDiMode(K.Mode);
    C->SetAutoSize(true);
    C->Strings()->Add("a longer line");
    TRect R;
    C->BusyRect(R);
    ASSERT_EQ(C->Width(), R.Right);
    if (K.KeepsLeft) EXPECT_EQ(C->Left(), 100);
    else EXPECT_EQ(C->Left() + C->Width(), 250);
    TObject::Free(C);
  }
}

TEST(CoolScrollingText, AltAccelFocusesTheFocusControlAndWithoutShowAccelCharTheAmpersandShows) {
  suitetest::TFormPtr Form{TCustomForm::CreateNew<TForm>(nullptr)};
  Form->SetBounds(100, 100, 300, 160);
  auto* C = TComponent::Create<TCoolScrollingText>(Form.get());
  C->SetBounds(10, 10, 120, 20);
  C->Strings()->SetText("&File");
  C->SetParent(Form.get());
  auto* Target = TComponent::Create<TEdit>(Form.get());
  Target->SetBounds(10, 40, 100, 22);
  Target->SetParent(Form.get());
  auto* Other = TComponent::Create<TEdit>(Form.get());
  Other->SetBounds(10, 70, 100, 22);
  Other->SetParent(Form.get());
  C->SetFocusControl(Target);
  Form->Show();
  Form->SetActiveControl(Other);
  SetForegroundWindow(Form->Handle());
  vcltest::AppPumpUntil([] { return false; }, 100);
  ASSERT_EQ(GetFocus(), Other->Handle());
  // Typed while the application's own loop runs, which turns Alt+F into the dialog character.
  std::atomic<bool> Typed{false};
  std::thread User([&] {
    for (INPUT In : {vcltest::KeyInput(VK_MENU, true), vcltest::KeyInput('F', true), vcltest::KeyInput('F', false),
                     vcltest::KeyInput(VK_MENU, false)}) {
      SendInput(1, &In, sizeof In);
      Sleep(40);
    }
    Typed = true;
  });
  vcltest::AppPumpUntil([&] { return Typed.load(); }, 10000);
  User.join();
  vcltest::AppPumpUntil([&] { return GetFocus() == Target->Handle(); }, 1000);
  EXPECT_EQ(GetFocus(), Target->Handle());

  // The underline under F with the accelerator; the ampersand itself without.
  C->SetSimpleView(true);
  C->SetColor(clWhite);
  C->Font()->SetColor(clBlack);
  auto With = Painted(C);
  C->SetShowAccelChar(false);
  auto Without = Painted(C);
  const auto InkWith = ColumnsOf(With.get(), clWhite, 0, 20, false);
  const auto InkWithout = ColumnsOf(Without.get(), clWhite, 0, 20, false);
  TWindowDC DC(nullptr);
  TSelectGuard F(DC, C->Font()->Handle());
  SIZE Amp{};
  GetTextExtentPoint32A(DC, "&", 1, &Amp);
  // Ink, not advance: the ampersand's side bearings may differ by a pixel or two.
  EXPECT_NEAR((InkWithout.second - InkWithout.first) - (InkWith.second - InkWith.first), Amp.cx, 2);
  Target->SetFocus();
  Other->SetFocus();
  EXPECT_EQ(C->Perform(CM_DIALOGCHAR, 'F', 0), 0) << "no accelerator without ShowAccelChar";
  C->SetShowAccelChar(true);
  EXPECT_NE(C->Perform(CM_DIALOGCHAR, 'f', 0), 0);
  TObject::Free(Target);
  EXPECT_EQ(C->FocusControl(), nullptr);
}

// ----- a picture for people

TEST(CoolScrollingText, Screenshot) {
  TWatchdog Dog("screenshot");
  vcltest::TTestHost Host(420, 200);
  auto* Back = Host.Add<TGradientParent>(0, 0, 420, 200);
  auto Add = [&](int Top, const char* Text) {
    auto* C = TComponent::Create<TCoolScrollingText>(Back);
    C->SetBounds(10, Top, 400, 40);
    C->Font()->SetHeight(-20);
    C->Font()->SetStyle(FontStyle(fsBold));
    C->Strings()->SetText(Text);
    C->SetParent(Back);
    return C;
  };
  auto* Plain = Add(10, "Plain: 303415E98C0A11800000A3C8");
  Plain->SetColor(clNavy);
  Plain->Font()->SetColor(clYellow);
  Plain->SetShadowColor(clBlack);
  auto* Walled = Add(60, "Wallpaper: 48.1.5.0359011.010310.41928");
  TBitmap Wall;
  Wall.SetPixelFormat(pf24bit);
  Wall.SetSize(16, 16);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) Wall.Canvas()->SetPixels(X, Y, TColor(RGB(200 + 3 * Y, 220, 180 + 4 * X)));
  Walled->SetWallpaper(&Wall);
  auto* Clear = Add(110, "Transparent over a gradient");
  Clear->SetTransparent(true);
  Clear->Font()->SetColor(clWhite);
  Clear->SetShadowColor(clBlack);
  Clear->SetShadowPos(spRightBottom);
  Clear->SetShadowSize(2);
  auto* Glyphed = Add(155, "Centred, with a glyph");
  TBitmap G;
  G.SetPixelFormat(pf24bit);
  G.SetSize(20, 20);
  G.Canvas()->Brush()->SetColor(clOlive);
  G.Canvas()->FillRect(Rect(0, 0, 20, 20));
  G.Canvas()->Brush()->SetColor(clRed);
  G.Canvas()->Ellipse(1, 1, 19, 19);
  Glyphed->SetGlyph(&G);
  Glyphed->SetColor(clBtnFace);
  Glyphed->SetScrollDirection(sdTopToBottom);
  Glyphed->SetAlignment(taCenter);
  TLog Log;
  WrapTicks(Glyphed, Log);
  for (auto* C : {Plain, Walled, Clear, Glyphed}) C->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return Log.Ticks >= 10; }));
  for (auto* C : {Plain, Walled, Clear, Glyphed}) C->SetActive(false);
  PumpRounds(3);
  auto Shot = vcltest::CaptureClient(Host.Window());
  EXPECT_EQ(Shot->Canvas()->Pixels(405, 15), clNavy);
  Shot->SaveToFile(AnsiString(ORVALEN_SHOTS) + "/cool-scrolling-text.bmp");
}

}  // namespace
