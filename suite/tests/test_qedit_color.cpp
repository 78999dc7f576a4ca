// The colour pickers: the colour table and its sections, the setters and their OnChange, the
// owner's colours, and the items' pixels in the list box, the combo box and its dropped list.
#include "suite/qEdit.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace suitetest;
using vcltest::PumpMessages;
using vcltest::PumpUntil;

namespace {

constexpr TcqColorMode Modes(std::initializer_list<TqcColorM> L) {
  TcqColorMode M = 0;
  for (TqcColorM C : L) M |= ColorMode(C);
  return M;
}

TEST(QEditColor, PublishedDefaultsMatchFreshControls) {
  for (TClass C : {TqcColorComboBox::StaticClass(), TqcColorListBox::StaticClass()}) ExpectClassDefaultsMatch(C);
}

TEST(QEditColor, TableKeepsItsSpellingsOrderAndSections) {
  struct Entry {
    int Index;
    const char* Name;
    TColor Color;
  } const Entries[] = {
      {0, "Black", 0x000000},          {15, "White", 0xFFFFFF},         {16, "Aliceblue", 0xFFF8F0},
      {17, "Anitquewhite", 0xD7EBFA},  {22, "Blancedalmomd", 0xCDEBFF}, {27, "Chartreuse", 0x00FF7F},
      {71, "Lemonciffon", 0xCDFAFF},   {76, "Lightgreen", 0x90EE90},    {77, "Lightgray", 0xD3D3D3},
      {137, "Yellowgreen", 0x32CD9A},  {138, "PellhamSoft", 0xFF99FF},  {139, "clScrollBar", TColor(0x80000000)},
      {154, "clBtnFace", TColor(0x8000000F)}, {163, "clInfoBk", TColor(0x80000018)},
  };
  for (const Entry& E : Entries) {
    SCOPED_TRACE(E.Index);
    EXPECT_STREQ(qcColorNames[E.Index], E.Name);
    EXPECT_EQ(Hex(qcColors[E.Index]), Hex(E.Color));
    EXPECT_EQ(uint32_t(qcColors[E.Index]), uint32_t(E.Color));
  }
  for (int K = 0; K < 25; ++K) EXPECT_EQ(uint32_t(qcColors[139 + K]), 0x80000000u + K) << K;
  for (int I = 0; I < qcColorCount; ++I) EXPECT_LE(std::strlen(qcColorNames[I]), 24u) << I;
}

// ----- what both twins share

// What the tests hand the pickers' events.
struct TPickerEvents : TObject {
  int Changes = 0;
  std::vector<TColor> UserColors;  // offered by the owner in turn, then a refusal
  bool NeverRefuse = false;
  int Asked = 0;

  void Changed(TObject*) { ++Changes; }
  void OfferColors(TObject*, int N, AnsiString& Name, TColor& Color, bool& Add) {
    EXPECT_EQ(N, Asked);
    EXPECT_EQ(Name, "-User-");
    EXPECT_EQ(Color, 0);
    EXPECT_TRUE(Add);
    ++Asked;
    if (NeverRefuse) return;
    if (size_t(N) >= UserColors.size()) {
      Add = false;
      return;
    }
    Color = UserColors[N];
    if (N == 1) Name = "Mine";
  }
};

template <class T> struct ColorPicker : testing::Test {
  TFormScene S;
  T* C = nullptr;
  TPickerEvents E;

  ColorPicker() {
    S.Show();
    C = S.Add<T>(10, 10, 200, 120);
    C->OnChange = EVENT(&E, TPickerEvents::Changed);
    C->HandleNeeded();
  }
};
using PickerTypes = testing::Types<TqcColorComboBox, TqcColorListBox>;
TYPED_TEST_SUITE(ColorPicker, PickerTypes);

TYPED_TEST(ColorPicker, SectionsByOptions) {
  auto* C = this->C;
  EXPECT_EQ(C->Items()->Count(), 163) << "the default sections";
  EXPECT_EQ(C->Items()->IndexOf("PellhamSoft"), -1);
  struct Case {
    const char* What;
    TcqColorMode Options;
    int Count;
    const char* First;
    const char* Last;
    TcqColorMode Becomes;
  } const Cases[] = {
      {"every section", 0x7F, 164, "Black", "clInfoBk", 0x7F},
      {"none", 0, 16, "Black", "White", Modes({qcmColors, qcmStdColors})},
      {"names alone, no section", Modes({qcmNames}), 16, "Black", "White", Modes({qcmNames, qcmStdColors})},
      {"system colours alone", Modes({qcmColors, qcmSysColors}), 25, "clScrollBar", "clInfoBk",
       Modes({qcmColors, qcmSysColors})},
      {"the suite's own", Modes({qcmNames, qcmPellhamColor}), 1, "PellhamSoft", "PellhamSoft",
       Modes({qcmNames, qcmPellhamColor})},
      {"named colours", Modes({qcmNames, qcmExtraColors}), 122, "Aliceblue", "Yellowgreen",
       Modes({qcmNames, qcmExtraColors})},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.What);
    C->SetColorOptions(K.Options);
    ASSERT_EQ(C->Items()->Count(), K.Count);
    EXPECT_EQ(C->Items()->Get(0), K.First);
    EXPECT_EQ(C->Items()->Get(K.Count - 1), K.Last);
    EXPECT_EQ(C->ColorOptions(), K.Becomes);
  }
}

TYPED_TEST(ColorPicker, SettersSelectAndTellOnce) {
  auto* C = this->C;
  C->SetColorValue(TColor(0xFFF8F0));
  EXPECT_EQ(C->ColorName(), "Aliceblue");
  EXPECT_EQ(C->ItemIndex(), 16);
  EXPECT_EQ(this->E.Changes, 1);

  C->SetColorValue(TColor(0x123456));
  EXPECT_EQ(C->ItemIndex(), -1) << "an unlisted colour";
  EXPECT_EQ(C->ColorValue(), 0);
  EXPECT_EQ(C->ColorName(), "");
  EXPECT_EQ(this->E.Changes, 1);

  C->SetColorName("navy");
  EXPECT_EQ(C->ColorName(), "Navy");
  EXPECT_EQ(Hex(C->ColorValue()), Hex(clNavy));
  EXPECT_EQ(this->E.Changes, 2);

  C->SetColorName("Nowhere");
  EXPECT_EQ(C->ColorName(), "Black") << "an unlisted name selects colour 0";
  EXPECT_EQ(C->ColorValue(), 0);

  // System colours are kept whole in the items' data on both targets.
  for (TColor Sys : {clScrollBar, clBtnFace, clInfoBk}) {
    C->SetColorValue(Sys);
    EXPECT_EQ(uint32_t(C->ColorValue()), uint32_t(Sys));
    EXPECT_EQ(uint32_t(C->ItemColor(C->ItemIndex())), uint32_t(Sys));
  }
  EXPECT_EQ(C->ColorName(), "clInfoBk");

  // The choice survives a new section list when still listed.
  C->SetColorOptions(Modes({qcmColors, qcmSysColors}));
  EXPECT_EQ(C->ColorName(), "clInfoBk");
  C->SetColorOptions(Modes({qcmColors, qcmStdColors}));
  EXPECT_EQ(C->ItemIndex(), -1);
  EXPECT_EQ(C->ColorValue(), 0);
}

TYPED_TEST(ColorPicker, OwnerColorsFollowTheTableUntilRefused) {
  auto* C = this->C;
  this->E.UserColors = {TColor(0x010203), TColor(0x0A0B0C), TColor(0x112233)};
  C->OnUserColor = EVENT(&this->E, TPickerEvents::OfferColors);
  C->SetColorOptions(Modes({qcmNames, qcmStdColors, qcmOtherColors}));
  EXPECT_EQ(this->E.Asked, 4);
  ASSERT_EQ(C->Items()->Count(), 19);
  EXPECT_EQ(C->Items()->Get(16), "-User-");
  EXPECT_EQ(C->Items()->Get(17), "Mine");
  EXPECT_EQ(Hex(C->ItemColor(18)), "$112233");
  C->SetColorValue(TColor(0x0A0B0C));
  EXPECT_EQ(C->ColorName(), "Mine");

  // A handler that never refuses is asked a bounded number of times.
  this->E.NeverRefuse = true;
  this->E.Asked = 0;
  C->BuildColorList();
  EXPECT_EQ(this->E.Asked, TypeParam::MaxUserColors);
  EXPECT_EQ(C->Items()->Count(), 16 + TypeParam::MaxUserColors);
}

TYPED_TEST(ColorPicker, FontChangeRecreatesTheWindowKeepingTheChoice) {
  auto* C = this->C;
  C->SetColorValue(clTeal);
  const HWND Old = C->Handle();
  const int OldHeight = C->ItemHeight();
  C->Font()->SetSize(C->Font()->Size() * 2);
  PumpMessages();
  EXPECT_NE(C->Handle(), Old);
  EXPECT_GT(C->ItemHeight(), OldHeight);
  EXPECT_EQ(C->Items()->Count(), 163);
  EXPECT_EQ(C->ColorName(), "Teal");
  EXPECT_EQ(Hex(C->ColorValue()), Hex(clTeal));
}

// ----- pixels

constexpr TColor Back = 0x00F0E0D0;
constexpr TColor Ink = 0x00102030;

struct ColorListPixels : testing::Test {
  TFormScene S;
  TqcColorListBox* L = nullptr;
  ColorListPixels() {
    S.Show();
    L = S.Add<TqcColorListBox>(10, 10, 220, 200);
    L->SetColor(Back);
    L->Font()->SetColor(Ink);
    L->HandleNeeded();
  }
  RECT ItemRect(int I) {
    RECT R{};
    SendMessageA(L->Handle(), LB_GETITEMRECT, WPARAM(I), reinterpret_cast<LPARAM>(&R));
    return R;
  }
  std::unique_ptr<TBitmap> Shot() {
    RedrawAll(L->Handle());
    return vcltest::CaptureClient(L->Handle());
  }
};

// Pixels of colour C in the rectangle.
int CountIn(TBitmap* B, const RECT& R, TColor C) {
  int N = 0;
  for (int Y = R.top; Y < R.bottom; ++Y)
    for (int X = R.left; X < R.right; ++X) N += vcltest::PixelAt(B->Canvas()->Handle(), X, Y) == C;
  return N;
}

TEST_F(ColorListPixels, SwatchFrameFillAndName) {
  const int H = L->ItemHeight();
  EXPECT_EQ(H, std::max(FontTextHeight(L->Font()) + 3, 9));
  L->SetColorOptions(Modes({qcmColors, qcmNames, qcmStdColors, qcmSysColors}));
  const int Red = L->Items()->IndexOf("Red"), Face = L->Items()->IndexOf("clBtnFace");
  L->SetTopIndex(0);
  auto B = Shot();
  HDC DC = B->Canvas()->Handle();
  const RECT R = ItemRect(Red);
  const int Mid = (R.top + R.bottom) / 2;
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left, Mid)), Hex(Back)) << "left of the swatch";
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 1, Mid)), Hex(Ink)) << "the swatch's frame";
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 2 * H - 1, Mid)), Hex(Ink));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 3, R.top + 1)), Hex(Ink));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 3, R.bottom - 2)), Hex(Ink));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + H, Mid)), Hex(clRed)) << "the swatch's fill";
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 2, R.top + 2)), Hex(clRed));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 2 * H + 2, Mid)), Hex(Back)) << "between swatch and name";
  EXPECT_GT(CountIn(B.get(), {R.left + 2 * H + 4, R.top, R.right, R.bottom}, Ink), 5) << "the name";
  EXPECT_EQ(CountIn(B.get(), {R.left + 2 * H, R.top, R.left + 2 * H + 4, R.bottom}, Ink), 0);

  // A system colour's swatch shows what the system has now.
  L->SetTopIndex(Face);
  B = Shot();
  const RECT F = ItemRect(Face);
  EXPECT_EQ(Hex(vcltest::PixelAt(B->Canvas()->Handle(), F.left + H, (F.top + F.bottom) / 2)),
            Hex(Sys(COLOR_BTNFACE)));
}

TEST_F(ColorListPixels, SwatchesAloneOrNamesAlone) {
  const int H = L->ItemHeight();
  L->SetColorOptions(Modes({qcmColors, qcmStdColors}));
  const int Red = L->Items()->IndexOf("Red");
  auto B = Shot();
  RECT R = ItemRect(Red);
  HDC DC = B->Canvas()->Handle();
  const int Mid = (R.top + R.bottom) / 2;
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.right - 3, Mid)), Hex(Ink)) << "the swatch runs to the right";
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.right - 4, Mid)), Hex(clRed));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 2 * H + 10, Mid)), Hex(clRed));

  // Names alone are drawn in their own colour, from 4 pixels in.
  L->SetColorOptions(Modes({qcmNames, qcmStdColors}));
  B = Shot();
  R = ItemRect(Red);
  EXPECT_GT(CountIn(B.get(), R, clRed), 5);
  EXPECT_EQ(CountIn(B.get(), R, Ink), 0);
  EXPECT_EQ(CountIn(B.get(), {R.left, R.top, R.left + 4, R.bottom}, clRed), 0);
  EXPECT_GT(CountIn(B.get(), {R.left + 4, R.top, R.left + 2 * H, R.bottom}, clRed), 0)
      << "the name takes the swatch's place";
}

TEST_F(ColorListPixels, SelectedItemTakesTheHighlight) {
  L->SetColorValue(clLime);
  const RECT R = ItemRect(L->ItemIndex()), Other = ItemRect(L->ItemIndex() + 1);
  auto B = Shot();
  HDC DC = B->Canvas()->Handle();
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.right - 2, R.top + 1)), Hex(Sys(COLOR_HIGHLIGHT)));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 1, (R.top + R.bottom) / 2)), Hex(Sys(COLOR_HIGHLIGHTTEXT)))
      << "the frame in the highlighted font's colour";
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, R.left + 4, (R.top + R.bottom) / 2)), Hex(clLime));
  EXPECT_EQ(Hex(vcltest::PixelAt(DC, Other.right - 2, Other.top + 1)), Hex(Back));
}

TEST_F(ColorListPixels, ClickingAnItemChoosesItsColour) {
  TPickerEvents E;
  L->OnChange = EVENT(&E, TPickerEvents::Changed);
  const RECT R = ItemRect(4);
  for (int Round = 0; Round < 2; ++Round) {
    vcltest::Click(L->Handle(), R.left + 5, (R.top + R.bottom) / 2);
    PumpMessages();
  }
  EXPECT_EQ(L->ColorName(), "Navy");
  EXPECT_EQ(Hex(L->ColorValue()), Hex(clNavy));
  EXPECT_EQ(E.Changes, 1) << "the same colour again is no change";
}

TEST(QEditColorCombo, FaceAndDroppedListShowTheItems) {
  TFormScene S(420, 320);
  S.Show();
  auto* C = S.Add<TqcColorComboBox>(10, 10, 200, 21);
  C->SetColor(Back);
  C->Font()->SetColor(Ink);
  C->HandleNeeded();
  EXPECT_EQ(GetWindowLongPtrA(C->Handle(), GWL_STYLE) & (CBS_OWNERDRAWFIXED | CBS_DROPDOWNLIST),
            CBS_OWNERDRAWFIXED | CBS_DROPDOWNLIST);
  C->SetColorValue(clBlue);
  RedrawAll(C->Handle());
  // The face shows the chosen swatch.
  auto Face = vcltest::CaptureClient(C->Handle());
  EXPECT_GT(CountIn(Face.get(), {0, 0, Face->Width(), Face->Height()}, clBlue), 20);

  COMBOBOXINFO Info{};
  Info.cbSize = sizeof Info;
  ASSERT_TRUE(GetComboBoxInfo(C->Handle(), &Info));
  SendMessageA(C->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Info.hwndList) != 0; }));
  RedrawAll(Info.hwndList);
  auto List = vcltest::CaptureClient(Info.hwndList);
  const int H = C->ItemHeight(), Top = int(SendMessageA(Info.hwndList, LB_GETTOPINDEX, 0, 0));
  for (int I = Top; I < Top + 3; ++I) {
    RECT R{};
    SendMessageA(Info.hwndList, LB_GETITEMRECT, WPARAM(I), reinterpret_cast<LPARAM>(&R));
    const TColor Expected = I == C->ItemIndex() ? Sys(COLOR_HIGHLIGHTTEXT) : Ink;
    SCOPED_TRACE(C->Items()->Get(I).c_str());
    EXPECT_EQ(Hex(vcltest::PixelAt(List->Canvas()->Handle(), R.left + 1, (R.top + R.bottom) / 2)), Hex(Expected));
    EXPECT_EQ(Hex(vcltest::PixelAt(List->Canvas()->Handle(), R.left + H, (R.top + R.bottom) / 2)),
              Hex(C->ItemColor(I)));
  }
  SendMessageA(C->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  PumpMessages();
}

}  // namespace
