// Unit qPanel2 as a whole: published defaults, a form resource holding one panel of each kind,
// freeing panels whose timers tick, and a picture of the four panels.
#include "suite/tests/qpanel2test.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace suitetest;
using namespace qpanel2test;

namespace {

TEST(qPanel2Defaults, PublishedDefaultsMatchFreshPanels) {
  // The scroll and the clock set their own font colour; the meter's caption fonts are bold
  // 12-point and regular 8-point Arial.
  ExpectClassDefaultsMatch(TqcCreditScroll::StaticClass(), {"Font.Color"});
  ExpectClassDefaultsMatch(TqcAnalogClock::StaticClass(), {"Font.Color"});
  ExpectClassDefaultsMatch(TqcDinMeter::StaticClass(), {"Caption1Font.Style", "Caption1Font.Name", "Caption2Font.Name"});
  ExpectClassDefaultsMatch(TqcSpectrum::StaticClass());
  for (const char* Name : {"TqcCreditScroll", "TqcAnalogClock", "TqcDinMeter", "TqcSpectrum"})
    EXPECT_NE(FindClass(Name), nullptr) << Name;
  // Each publishes its anchors first.
  for (TClass C : {TqcCreditScroll::StaticClass(), TqcAnalogClock::StaticClass(), TqcDinMeter::StaticClass(),
                   TqcSpectrum::StaticClass()}) {
    ASSERT_GT(C->PropCount, 0) << C->Name;
    EXPECT_STREQ(C->Props[0].Name, "Anchors") << C->Name;
  }
}

TEST(qPanel2Defaults, FreshPanelsStartWithTheirOwnLook) {
  TClockAt At(9, 15, 0);
  auto* S = TComponent::Create<TqcCreditScroll>(nullptr);
  EXPECT_EQ(S->Lines()->Text(), "PellhamCollection\r\nBy\r\nPellhamSoft\r\n");
  EXPECT_EQ(S->Font()->Color(), clFuchsia);
  EXPECT_EQ(S->Timer()->Interval(), 50u);
  EXPECT_FALSE(S->ControlStyle() & StyleOf(csSetCaption));
  auto* C = TComponent::Create<TqcAnalogClock>(nullptr);
  EXPECT_EQ(C->Font()->Color(), clLime);
  EXPECT_EQ(C->Timer()->Interval(), 1000u);
  EXPECT_EQ(C->Hour(), 9);
  EXPECT_EQ(C->Minute(), 15);
  auto* M = TComponent::Create<TqcDinMeter>(nullptr);
  EXPECT_EQ(M->Caption1Font()->Name(), "Arial");
  EXPECT_EQ(M->Caption1Font()->Size(), 12);
  EXPECT_EQ(M->Caption1Font()->Style(), FontStyle(fsBold));
  EXPECT_EQ(M->Caption2Font()->Size(), 8);
  EXPECT_EQ(M->Caption2Font()->Style(), 0u);
  for (TControl* P : std::initializer_list<TControl*>{S, C, M}) {
    EXPECT_EQ(P->Height(), P == S ? 30 : 100);
    TObject::Free(P);
  }
}

// Painting goes through the off-screen picture alone: erasing paints nothing.
TEST(qPanel2Painting, EraseLeavesTheWindowAlone) {
  TClockAt At(9, 15, 0);
  vcltest::TTestHost Host;
  TWinControl* Panels[] = {Host.Add<TqcCreditScroll>(0, 0, 90, 30), Host.Add<TqcAnalogClock>(0, 40, 100, 100),
                           Host.Add<TqcDinMeter>(110, 40, 100, 100)};
  for (TWinControl* P : Panels) {
    SCOPED_TRACE(P->ClassName().c_str());
    auto B = vcltest::MakeBitmap(P->Width(), P->Height(), clTeal);
    EXPECT_EQ(P->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(B->Canvas()->Handle()), 0), 1);
    EXPECT_EQ(PictureOf(*B).Count(clTeal), P->Width() * P->Height());
  }
}

// ---------------------------------------------------------------------------------------------
const char* const PanelsForm = R"(object Form1: TForm
  Left = 30
  Top = 30
  BorderStyle = bsNone
  ClientWidth = 450
  ClientHeight = 130
  Color = clSilver
  object Credits: TqcCreditScroll
    Left = 10
    Top = 10
    Width = 100
    Height = 110
    Priority = tpHigher
    Lines.Strings = (
      'Orvalen'
      'SGTIN-96'
      'tag converter')
    Interval = 40
    Step = 2
    Alignment = taLeftJustify
  end
  object Clock: TqcAnalogClock
    Left = 120
    Top = 10
    Width = 110
    BevelInner = bvRaised
    ClockStyle = csNumberDot
    OffSetTime = 60
    HandTypeMin = htHand3
  end
  object Meter: TqcDinMeter
    Left = 240
    Top = 10
    Width = 110
    Value = 75
    Max = 150
    Min = -50
    SteelLook = True
    DigitsAfterPoint = 1
    Caption1 = 'kPa'
  end
  object Levels: TqcSpectrum
    Left = 360
    Top = 10
    Width = 80
    Height = 110
    NumberOfChannels = 10
    Max = 200
    UseSep = False
  end
end
)";

void ExpectPanelsAsStreamed(TForm* F) {
  auto* S = dynamic_cast<TqcCreditScroll*>(F->FindComponent("Credits"));
  auto* C = dynamic_cast<TqcAnalogClock*>(F->FindComponent("Clock"));
  auto* M = dynamic_cast<TqcDinMeter*>(F->FindComponent("Meter"));
  auto* L = dynamic_cast<TqcSpectrum*>(F->FindComponent("Levels"));
  ASSERT_TRUE(S && C && M && L);
  EXPECT_EQ(S->Lines()->Count(), 3);
  EXPECT_EQ(S->Lines()->Get(2), "tag converter");
  EXPECT_EQ(S->Interval(), 40);
  EXPECT_EQ(S->Timer()->Interval(), 40u);
  EXPECT_EQ(S->Priority(), tpHigher);
  EXPECT_EQ(S->Timer()->Priority(), tpHigher);
  EXPECT_EQ(S->Step(), 2);
  EXPECT_EQ(S->Alignment(), taLeftJustify);
  EXPECT_EQ(S->Height(), 110);
  EXPECT_EQ(C->Width(), 110);
  EXPECT_EQ(C->Height(), 110);
  EXPECT_EQ(C->BevelInner(), bvRaised);
  EXPECT_EQ(C->ClockStyle(), csNumberDot);
  EXPECT_EQ(C->OffSetTime(), 60);
  EXPECT_EQ(C->HandTypeMin(), htHand3);
  // Whatever the order in the resource, Value is taken within the final Min..Max.
  EXPECT_EQ(M->Min(), -50);
  EXPECT_EQ(M->Max(), 150);
  EXPECT_EQ(M->Value(), 75);
  EXPECT_EQ(M->Percent(), 62);
  EXPECT_TRUE(M->SteelLook());
  EXPECT_EQ(M->DigitsAfterPoint(), 1);
  EXPECT_EQ(M->Caption1(), "kPa");
  EXPECT_EQ(L->NumberOfChannels(), 10);
  EXPECT_EQ(L->Max(), 200);
  EXPECT_FALSE(L->UseSep());
  EXPECT_EQ(L->Height(), 110);
}

TEST(qPanel2Streaming, AFormOfTheFourPanelsLoadsAndWritesBack) {
  TClockAt At(8, 0, 0);
  TFormPtr Form(LoadForm(PanelsForm));
  ExpectPanelsAsStreamed(Form.get());
  TMemoryStream Bin, Text;
  WriteComponentRes(&Bin, Form.get());
  Bin.SetPosition(0);
  ObjectBinaryToText(&Bin, &Text);
  const std::string Written(static_cast<const char*>(Text.Memory()), size_t(Text.Size()));
  for (const char* Line : {"object Credits: TqcCreditScroll", "Interval = 40", "Step = 2", "Priority = tpHigher",
                           "'tag converter'", "OffSetTime = 60", "ClockStyle = csNumberDot", "Min = -50",
                           "Max = 150", "Value = 75", "Caption1 = 'kPa'", "NumberOfChannels = 10", "UseSep = False"})
    EXPECT_NE(Written.find(Line), std::string::npos) << Line << " missing from\n" << Written;
  // Defaults stay out; the panels' timers are their own, not components of the form.
  for (const char* Line : {"BevelOuter", "Use3D", "DrawScale", "TopSize", "TqcTimer", "Anchors"})
    EXPECT_EQ(Written.find(Line), std::string::npos) << Line << " written in\n" << Written;
  TFormPtr Again(LoadForm(Written.c_str()));
  ExpectPanelsAsStreamed(Again.get());
}

// ---------------------------------------------------------------------------------------------
// Freeing panels whose timers tick every millisecond.

// A second later at every read, so every clock tick shows a new time.
TDateTime Advancing() {
  static int Reads = 0;
  return double(EncodeDate(2024, 5, 17)) + (++Reads % 86400) / 86400.0;
}

struct TEventLog : TObject {
  std::set<TObject*> Live;
  int Events = 0;
  int FromFreed = 0;
  void Event(TObject* Sender) {
    ++Events;
    if (!Live.count(Sender)) ++FromFreed;
  }
};

TEST(qPanel2Freeing, RunningPanelsAreFreedWithTicksInFlight) {
  const TqcClockTimeSource Old = SetqcClockTimeSource(&Advancing);
  TFormPtr Form(LoadForm("object Form1: TForm\n  Left = 20\n  Top = 20\n  ClientWidth = 240\n  ClientHeight = 120\nend\n"));
  Form->Show();
  vcltest::PumpRounds(2);
  TEventLog Log;
  const TNotifyEvent Event = EVENT(&Log, TEventLog::Event);
  for (int Round = 0; Round < 100; ++Round) {
    auto* S = TComponent::Create<TqcCreditScroll>(Form.get());
    auto* C = TComponent::Create<TqcAnalogClock>(Form.get());
    Log.Live = {S, C};
    S->SetBounds(10, 10, 100, 100);
    C->SetBounds(120, 10, 100, 100);
    S->OnPaint = Event;
    C->OnPaint = Event;
    C->OnTimeChange = Event;
    S->SetInterval(1);
    C->Timer()->SetInterval(1);
    S->SetParent(Form.get());
    C->SetParent(Form.get());
    // Ticks come in while the pump runs; the last ones are still queued when the two go.
    vcltest::PumpMessages(Round % 7);
    Sleep(DWORD(Round % 3));
    TObject::Free(Round % 2 ? static_cast<TObject*>(S) : C);
    vcltest::PumpMessages(Round % 5);
    TObject::Free(Round % 2 ? static_cast<TObject*>(C) : S);
    Log.Live.clear();
    vcltest::PumpMessages();
  }
  vcltest::PumpRounds(5);
  SetqcClockTimeSource(Old);
  EXPECT_GT(Log.Events, 0);
  EXPECT_EQ(Log.FromFreed, 0);
}

// ---------------------------------------------------------------------------------------------
TEST(qPanel2Screenshot, TheFourPanelsOnAForm) {
  TClockAt At(10, 8, 30);
  TFormPtr Form(LoadForm(PanelsForm));
  auto* S = dynamic_cast<TqcCreditScroll*>(Form->FindComponent("Credits"));
  auto* M = dynamic_cast<TqcDinMeter*>(Form->FindComponent("Meter"));
  auto* L = dynamic_cast<TqcSpectrum*>(Form->FindComponent("Levels"));
  HoldTimer(S->Timer());
  M->SetCaption2("inlet");
  M->SetCaption2X(40);
  M->SetCaption2Y(58);
  Tick(S->Timer(), 45);
  for (int I = 1; I <= 10; ++I) L->SetChannel(I, (I * 73) % 200);
  Form->Show();
  vcltest::PumpRounds(5);
  auto Shot = vcltest::CaptureClient(Form->Handle());
  // The clock's face, below left of its centre, where no hand is at 10:08:30.
  EXPECT_EQ(Shot->Canvas()->Pixels(120 + 55 - 20, 10 + 55 + 20), clBlack);
  const AnsiString Path = AnsiString(ORVALEN_SHOTS) + "/panels.bmp";
  Shot->SaveToFile(Path);
  TBitmap Back;
  Back.LoadFromFile(Path);
  EXPECT_EQ(Back.Width(), 450);
  EXPECT_EQ(Back.Height(), 130);
}

}  // namespace
