// The change-view broadcast: what each control below a page control's parent receives when a
// see-through page may show something new, and the repaints that colour changes, scrolling and
// the sheet's frame strips ask for.
#include "package/tests/pkgtest.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include <map>

namespace {

using namespace pkgtest;

// Counts the BM_CHANGEVIEW messages reaching a control, in front of its own window procedure.
class TChangeViewCounter : public TObject {
public:
  explicit TChangeViewCounter(TControl* C) : FControl(C), FSaved(C->WindowProc) {
    C->WindowProc = TWndMethod::Bind<&TChangeViewCounter::Proc>(this);
  }
  ~TChangeViewCounter() override { FControl->WindowProc = FSaved; }
  TChangeViewCounter(const TChangeViewCounter&) = delete;
  TChangeViewCounter& operator=(const TChangeViewCounter&) = delete;
  int Count = 0;

private:
  void Proc(TMessage& M) {
    if (M.Msg == BM_CHANGEVIEW) ++Count;
    FSaved(M);
  }
  TControl* FControl;
  TWndMethod FSaved;
};

// A form holding a panel with the outer page control (two sheets) and a button; on the first
// sheet an inner page control with one sheet.
struct TNested {
  TPageForm F{2};
  TPanel* Panel;
  TButton* Button;
  TTestPages* Inner;
  TBMTabSheet* InnerSheet;
  std::map<std::string, std::unique_ptr<TChangeViewCounter>> Counters;

  TNested() {
    Panel = TComponent::Create<TPanel>(F.Form.get());
    Panel->SetBounds(0, 0, 400, 280);
    Panel->SetParent(F.Form.get());
    F.Pages->SetParent(Panel);
    Button = TComponent::Create<TButton>(F.Form.get());
    Button->SetBounds(350, 250, 40, 20);
    Button->SetParent(Panel);
    Inner = TComponent::Create<TTestPages>(F.Form.get());
    Inner->SetBounds(10, 10, 200, 120);
    Inner->SetParent(F.Sheet[0]);
    InnerSheet = TComponent::Create<TBMTabSheet>(F.Form.get());
    InnerSheet->SetCaption("Inner");
    InnerSheet->SetPageControl(Inner);
    F.Show();
    const std::pair<const char*, TControl*> All[] = {
        {"Form", F.Form.get()}, {"Panel", Panel},   {"Pages", F.Pages},          {"Sheet0", F.Sheet[0]},
        {"Sheet1", F.Sheet[1]}, {"Button", Button}, {"Inner", Inner},            {"InnerSheet", InnerSheet},
    };
    for (const auto& [Name, C] : All) Counters[Name] = std::make_unique<TChangeViewCounter>(C);
  }
  ~TNested() { Counters.clear(); }
  std::map<std::string, int> Counts() const {
    std::map<std::string, int> R;
    for (const auto& [Name, C] : Counters) R[Name] = C->Count;
    return R;
  }
};

TEST(ChangeView, ReachesEveryControlBelowTheParentButNotTheParent) {
  using TCounts = std::map<std::string, int>;
  const TCounts Below = {{"Form", 0},   {"Panel", 0}, {"Pages", 1},      {"Sheet0", 1},
                         {"Sheet1", 1}, {"Button", 1}, {"Inner", 1}, {"InnerSheet", 1}};
  const TCounts InnerOnly = {{"Form", 0},   {"Panel", 0},  {"Pages", 0}, {"Sheet0", 0},
                             {"Sheet1", 0}, {"Button", 0}, {"Inner", 1}, {"InnerSheet", 1}};
  const struct {
    const char* What;
    void (*Act)(TNested&);
    TCounts Want;
  } Cases[] = {
      {"outer page control", [](TNested& N) { N.F.Pages->ViewChange(); }, Below},
      {"outer sheet", [](TNested& N) { N.F.Sheet[1]->ViewChange(); }, Below},
      {"inner page control", [](TNested& N) { N.Inner->ViewChange(); }, InnerOnly},
      {"inner sheet", [](TNested& N) { N.InnerSheet->ViewChange(); }, InnerOnly},
      {"inner see-through switched on", [](TNested& N) { N.Inner->SetTransparent(true); }, InnerOnly},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    TNested N;
    C.Act(N);
    EXPECT_EQ(N.Counts(), C.Want);
  }
}

TEST(ChangeView, AnUnparentedPageControlReachesItsSheetsOnly) {
  std::unique_ptr<TTestPages> Pages(TComponent::Create<TTestPages>(nullptr));
  auto* Sheet = TComponent::Create<TBMTabSheet>(Pages.get());
  Sheet->SetPageControl(Pages.get());
  TChangeViewCounter OnPages(Pages.get()), OnSheet(Sheet);
  Pages->ViewChange();
  Sheet->ViewChange();
  EXPECT_EQ(OnPages.Count, 0);
  EXPECT_EQ(OnSheet.Count, 2);
}

// An outer sheet keeps its buffer while the inner control changes what it shows.
TEST(ChangeView, TheOuterSheetKeepsItsBufferThroughInnerChanges) {
  TNested N;
  N.F.Sheet[0]->SetTransparent(true);
  vcltest::PumpRounds(2);
  TBitmap* Buffer = N.F.Sheet[0]->RefreshBuffer();
  ASSERT_NE(Buffer, nullptr);
  ASSERT_FALSE(Buffer->Empty());
  // A mark that only the kept buffer holds.
  Buffer->Canvas()->SetPixels(0, 0, TColor(0x123456));
  const int Before = N.Counters["Sheet0"]->Count;
  N.Inner->SetTransparent(true);
  N.Inner->SetTransparent(false);
  EXPECT_EQ(N.F.Sheet[0]->RefreshBuffer()->Canvas()->Pixels(0, 0), TColor(0x123456));
  EXPECT_EQ(N.Counters["Sheet0"]->Count, Before);
}

TEST(PageRepaints, ScrollingRepaintsOnlyASeeThroughControl) {
  TPageForm F(2);
  F.Show();
  for (bool SeeThrough : {false, true}) {
    SCOPED_TRACE(SeeThrough ? "see-through" : "opaque");
    F.Pages->SetTransparent(SeeThrough);
    vcltest::PumpMessages();
    const int Before = F.Pages->Invalidated;
    SendMessageA(F.Wnd(), WM_HSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(F.Pages->Invalidated - Before, SeeThrough ? 1 : 0);
  }
}

TEST(PageRepaints, AColourChangeRepaintsTheControlAndASheetTellsWhatLiesBelow) {
  TNested N;
  int Before = N.F.Pages->Invalidated;
  N.F.Pages->SetColor(clYellow);
  EXPECT_GE(N.F.Pages->Invalidated - Before, 1);

  // A see-through sheet drops its buffer, repaints its page control and broadcasts.
  TBMTabSheet* S = N.F.Sheet[0];
  S->SetTransparent(true);
  vcltest::PumpRounds(2);
  S->RefreshBuffer()->Canvas()->SetPixels(0, 0, TColor(0x123456));
  Before = N.F.Pages->Invalidated;
  const int ButtonBefore = N.Counters["Button"]->Count;
  S->SetColor(clAqua);
  EXPECT_EQ(S->Brush()->Color(), clAqua);
  EXPECT_NE(S->RefreshBuffer()->Canvas()->Pixels(0, 0), TColor(0x123456));
  EXPECT_GE(N.F.Pages->Invalidated - Before, 1);
  EXPECT_EQ(N.Counters["Button"]->Count - ButtonBefore, 1);
  EXPECT_EQ(N.Counters["Panel"]->Count, 0);
}

// The frame strips round the selected sheet are invalidated in its page control, the tabs are
// not.
TEST(PageRepaints, TheSheetInvalidatesTheFrameRoundIt) {
  TPageForm F(2);
  F.Show();
  TBMTabSheet* S = F.Sheet[0];
  ValidateRect(F.Wnd(), nullptr);
  S->InvalidateParentBorder();
  HRGN Update = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetUpdateRgn(F.Wnd(), Update, FALSE), ERROR);
  const int L = S->Left(), T = S->Top(), W = S->Width(), H = S->Height();
  const struct { const char* Where; int X, Y; bool Invalid; } Points[] = {
      {"left strip", L - 1, T + H / 2, true},
      {"right strip", L + W + 1, T + H / 2, true},
      {"top strip", L + W / 2, T - 1, true},
      {"bottom strip", L + W / 2, T + H + 1, true},
      {"above the frame (tabs)", L + 4, T - 4, false},
  };
  for (const auto& P : Points) EXPECT_EQ(bool(PtInRegion(Update, P.X, P.Y)), P.Invalid) << P.Where;
  DeleteObject(Update);
}

}  // namespace
