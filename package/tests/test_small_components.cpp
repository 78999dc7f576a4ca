// The bit operations, the case timer on an injected clock and on the real one, and the radio
// group whose mouse events a form resource binds by name, driven by the real mouse.
#include "package/TBit.h"
#include "package/TCaseTimer.h"
#include "package/TRejectsSystem.h"
#include "package/TcsRadioGroup.h"
#include "package/tests/pkgtest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

class TCsRadioTestForm : public TForm {
  ORV_CLASS(TCsRadioTestForm, TForm)
public:
  explicit TCsRadioTestForm(TComponent* AOwner) : TForm(AOwner) {}
  TcsRadioGroup* Choices = nullptr;
  TBit* Bits = nullptr;
  TCaseTimer* Deadline = nullptr;
  TRejectsSystem* Rejects = nullptr;

  std::vector<std::string> Log;
  void ChoicesClick(TObject*) { Log.push_back("click " + std::to_string(Choices->ItemIndex())); }
  void ChoicesDblClick(TObject*) { Log.push_back("dblclick"); }
  void ChoicesMouseDown(TObject*, TMouseButton B, TShiftState S, int X, int Y) {
    Log.push_back(std::string("down") + (B == mbLeft ? " left" : " other") + (S & ShiftOf(ssDouble) ? " double" : "") +
                  At(X, Y));
  }
  void ChoicesMouseMove(TObject*, TShiftState, int X, int Y) { Log.push_back("move" + At(X, Y)); }
  void ChoicesMouseUp(TObject*, TMouseButton B, TShiftState, int X, int Y) {
    Log.push_back(std::string("up") + (B == mbLeft ? " left" : " other") + At(X, Y));
  }
  static std::string At(int X, int Y) { return " " + std::to_string(X) + "," + std::to_string(Y); }
  // The log without the moves.
  std::vector<std::string> Presses() const {
    std::vector<std::string> P;
    for (const std::string& L : Log)
      if (L.rfind("move", 0) != 0) P.push_back(L);
    return P;
  }
};

static constinit const TPublishedField TCsRadioTestForm_Fields[] = {
    PublishedField<&TCsRadioTestForm::Choices>("Choices"),
    PublishedField<&TCsRadioTestForm::Bits>("Bits"),
    PublishedField<&TCsRadioTestForm::Deadline>("Deadline"),
    PublishedField<&TCsRadioTestForm::Rejects>("Rejects"),
};
static constinit const TPublishedMethod TCsRadioTestForm_Methods[] = {
    PublishedMethod<&TCsRadioTestForm::ChoicesClick>("ChoicesClick"),
    PublishedMethod<&TCsRadioTestForm::ChoicesDblClick>("ChoicesDblClick"),
    PublishedMethod<&TCsRadioTestForm::ChoicesMouseDown>("ChoicesMouseDown"),
    PublishedMethod<&TCsRadioTestForm::ChoicesMouseMove>("ChoicesMouseMove"),
    PublishedMethod<&TCsRadioTestForm::ChoicesMouseUp>("ChoicesMouseUp"),
};
ORV_IMPLEMENT_FORM(TCsRadioTestForm, TForm, nullptr, TCsRadioTestForm_Fields, TCsRadioTestForm_Methods)

namespace {

using pkgtest::Bytes;
using pkgtest::TFormPtr;

// ---------------------------------------------------------------------------------------------
TEST(Bit, OperationsOnEveryKindOfBitNumber) {
  TBit B(nullptr);
  const int Min = INT_MIN;
  const struct {
    int Value, Bit, Test, Set, Flip, Reset;
  } Cases[] = {
      {0, 0, 0, 1, 1, 0},
      {5, 1, 0, 7, 7, 5},
      {5, 2, 1, 5, 1, 1},
      {Min, 31, 1, Min, 0, 0},
      {-1, 31, 1, -1, INT_MAX, INT_MAX},
      {0, 40, 0, 1, 1, 0},                    // above 31: bit 0
      {1, 32, 1, 1, 0, 0},
      {4, INT_MAX, 0, 5, 5, 4},
      {0, -1, 0, Min, Min, 0},                // negative: the low five bits, 31
      {1, -32, 1, 1, 0, 0},                   // -32: bit 0
      {0x40, -26, 1, 0x40, 0, 0},             // -26: bit 6
      {0x12345678, INT_MIN, 0, 0x12345679, 0x12345679, 0x12345678},  // INT_MIN: bit 0
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Value) + " bit " + std::to_string(C.Bit));
    EXPECT_EQ(B.BITTest(C.Value, C.Bit), C.Test);
    EXPECT_EQ(B.BITSet(C.Value, C.Bit), C.Set);
    EXPECT_EQ(B.BITFlip(C.Value, C.Bit), C.Flip);
    EXPECT_EQ(B.BITReset(C.Value, C.Bit), C.Reset);
  }
}

// ---------------------------------------------------------------------------------------------
TEST(CaseTimer, DeadlinesOnAnInjectedClockAcross32Bits) {
  uint64_t Now = 0;
  TCaseTimer T(nullptr);
  T.SetClock([&] { return Now; });
  EXPECT_EQ(T.Expiry(), 0u);
  EXPECT_FALSE(T.Expired()) << "a new timer at clock 0";
  EXPECT_EQ(GetOrdProp(&T, "Expired"), 0);
  Now = 1;
  EXPECT_TRUE(T.Expired()) << "a new timer once the clock is above 0";
  EXPECT_EQ(GetOrdProp(&T, "Expired"), 1);

  const uint64_t Wrap = uint64_t(1) << 32;
  const struct {
    uint64_t SetAt;
    unsigned Ticks;
    uint64_t LastWaiting;  // the deadline itself: expired one tick later
  } Cases[] = {
      {5, 0, 5},
      {Wrap - 1, 0, Wrap - 1},
      {Wrap - 10, 20, Wrap + 10},              // a 32-bit expiry would wrap to 10
      {Wrap, 0xFFFFFFFFu, 2 * Wrap - 1},
      {(uint64_t(1) << 31) + 5, 10, (uint64_t(1) << 31) + 15},  // past the runtime clock's end
      {7 * Wrap + 3, 1000, 7 * Wrap + 1003},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.SetAt);
    Now = C.SetAt;
    T.Set(C.Ticks);
    EXPECT_EQ(T.Expiry(), C.LastWaiting);
    EXPECT_FALSE(T.HasTimeExpired());
    if (C.LastWaiting > C.SetAt + 1) {
      Now = C.SetAt + 1;
      EXPECT_FALSE(T.HasTimeExpired());
      Now = (C.SetAt + C.LastWaiting) / 2;
      EXPECT_FALSE(T.HasTimeExpired()) << "half way";
    }
    Now = C.LastWaiting;
    EXPECT_FALSE(T.HasTimeExpired());
    Now = C.LastWaiting + 1;
    EXPECT_TRUE(T.HasTimeExpired());
    Now = C.LastWaiting + Wrap;
    EXPECT_TRUE(T.HasTimeExpired()) << "a 32-bit clock would have come round again";
  }
  // Without a clock of its own, the process clock.
  T.SetClock(nullptr);
  T.Set(60000);
  EXPECT_FALSE(T.Expired());
}

TEST(CaseTimer, TheRealClockCountsMillisecondsFromTheProcessStart) {
  // The process clock started no earlier than the process.
  FILETIME Created, Ended, Kernel, User, Now;
  ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &Created, &Ended, &Kernel, &User));
  const uint64_t Clock = TCaseTimer::ProcessClock();
  GetSystemTimeAsFileTime(&Now);
  auto Ms = [](FILETIME F) { return (uint64_t(F.dwHighDateTime) << 32 | F.dwLowDateTime) / 10000; };
  EXPECT_LE(Clock, Ms(Now) - Ms(Created) + 50);

  TCaseTimer T(nullptr);
  EXPECT_TRUE(T.Expired()) << "the clock has run since the start";
  const DWORD Start = GetTickCount();
  const uint64_t From = TCaseTimer::ProcessClock();
  T.Set(300);
  EXPECT_GE(T.Expiry(), From + 300);
  EXPECT_FALSE(T.HasTimeExpired());
  while (!T.HasTimeExpired() && GetTickCount() - Start < 20000) Sleep(5);
  EXPECT_TRUE(T.HasTimeExpired());
  EXPECT_GE(GetTickCount() - Start, 300u - 20u) << "ms until the deadline passed";
  EXPECT_GT(TCaseTimer::ProcessClock(), From + 300);
}

// ---------------------------------------------------------------------------------------------
struct TShownForm {
  TFormPtr Form;
  TCsRadioTestForm* F;
  TShownForm() : Form(TComponent::Create<TCsRadioTestForm>(nullptr)), F(static_cast<TCsRadioTestForm*>(Form.get())) {
    vcltest::MoveMouse(GetDesktopWindow(), 1000, 740);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    vcltest::PumpUntil([&] { return GetActiveWindow() == Form->Handle(); }, 100);
    vcltest::PumpRounds(3);
    F->Log.clear();
  }
  HWND Group() { return F->Choices->Handle(); }
  // A click the system cannot take for the second of a double click.
  void Click(HWND Wnd, int X, int Y, TMouseButton B = mbLeft, int Times = 1) {
    Sleep(GetDoubleClickTime() + 50);
    vcltest::RealClick(Wnd, X, Y, B, Times);
  }
  HWND Button(int I) { return F->Choices->Buttons(I)->Handle(); }
  int Check(int I) { return int(SendMessageA(Button(I), BM_GETCHECK, 0, 0)); }
};

TEST(CsRadioGroup, LoadsFromItsFormAndWritesBackTheSame) {
  TFormPtr Form(TComponent::Create<TCsRadioTestForm>(nullptr));
  auto* F = static_cast<TCsRadioTestForm*>(Form.get());
  TcsRadioGroup* G = F->Choices;
  ASSERT_NE(G, nullptr);
  ASSERT_NE(F->Bits, nullptr);
  ASSERT_NE(F->Deadline, nullptr);
  ASSERT_NE(F->Rejects, nullptr);
  EXPECT_EQ(G->Columns(), 2);
  ASSERT_EQ(G->ButtonCount(), 3);
  EXPECT_EQ(G->ItemIndex(), 1);
  EXPECT_EQ(SendMessageA(G->Buttons(0)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(G->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(G->Buttons(2)->Left(), G->Buttons(0)->Left() + G->Buttons(0)->Width()) << "Plum opens the second column";
  EXPECT_TRUE(G->OnDblClick);
  EXPECT_TRUE(G->OnMouseDown);
  EXPECT_TRUE(G->OnMouseMove);
  EXPECT_TRUE(G->OnMouseUp);
  EXPECT_TRUE(F->Log.empty()) << "loading clicks nothing";

  HRSRC Res = FindResourceA(nullptr, "TCSRADIOTESTFORM", MAKEINTRESOURCEA(10));
  ASSERT_NE(Res, nullptr);
  const auto* Compiled = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, Res)));
  const Bytes Original(Compiled, Compiled + SizeofResource(nullptr, Res));
  TMemoryStream Out;
  WriteComponentRes(&Out, Form.get());
  const auto* W = static_cast<const uint8_t*>(Out.Memory());
  EXPECT_EQ(Bytes(W, W + Out.Size()), Original) << "the group's buttons are not written";
}

TEST(CsRadioGroup, RealClicksAndDoubleClicksFireTheBoundEvents) {
  TShownForm S;
  TcsRadioGroup* G = S.F->Choices;
  // The empty cell under Plum, in the second column: the group's own surface.
  TControl* Plum = G->Buttons(2);
  const int X = Plum->Left() + Plum->Width() / 2, Y = Plum->Top() + Plum->Height() * 3 / 2;
  const std::string At = TCsRadioTestForm::At(X, Y);
  ASSERT_EQ(ChildWindowFromPoint(S.Group(), POINT{X, Y}), S.Group());

  S.Click(S.Group(), X, Y);
  EXPECT_EQ(S.F->Presses(), (std::vector<std::string>{"down left" + At, "up left" + At}));
  ASSERT_FALSE(S.F->Log.empty());
  EXPECT_EQ(S.F->Log.front(), "move" + At) << "the mouse came there first";
  EXPECT_EQ(G->ItemIndex(), 1) << "the surface is no item";

  S.F->Log.clear();
  S.Click(S.Group(), X, Y, mbLeft, 2);
  EXPECT_EQ(S.F->Presses(), (std::vector<std::string>{"down left" + At, "up left" + At, "dblclick",
                                                      "down left double" + At, "up left" + At}));

  S.F->Log.clear();
  S.Click(S.Group(), X, Y, mbRight);
  EXPECT_EQ(S.F->Presses(), (std::vector<std::string>{"down other" + At, "up other" + At}));

  // Items: a click picks one; a double click picks it and is the group's double click.
  S.F->Log.clear();
  S.Click(S.Button(0), 6, G->Buttons(0)->Height() / 2);
  EXPECT_EQ(S.F->Presses(), (std::vector<std::string>{"click 0"}));
  EXPECT_EQ(S.Check(0), BST_CHECKED);
  EXPECT_EQ(S.Check(1), BST_UNCHECKED);
  S.F->Log.clear();
  S.Click(S.Button(2), 6, G->Buttons(2)->Height() / 2, mbLeft, 2);
  EXPECT_EQ(S.F->Presses(), (std::vector<std::string>{"click 2", "dblclick"}));
  EXPECT_EQ(G->ItemIndex(), 2);
}

TEST(SmallComponents, DefaultsMatchTheirTables) {
  for (TClass C : {TBit::StaticClass(), TCaseTimer::StaticClass(), TRejectsSystem::StaticClass(),
                   TcsRadioGroup::StaticClass()}) {
    SCOPED_TRACE(C->Name);
    EXPECT_EQ(FindClass(C->Name), C) << "registered for form resources";
    ExpectClassDefaultsMatch(C);
  }
}

}  // namespace
