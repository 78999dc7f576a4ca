// The font pickers against the faces Wine offers: the filters by the test's own enumeration, the
// glyph of each kind of face in drawn items, a PostScript printer's device fonts, keeping the
// chosen face through a new list, and the system's font set changing under a shown form.
#include "suite/qEdit.h"
#include "suite/tests/suitetest.h"
#include "rtl/tests/default_check.h"
#include "vcl/Printers.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

using namespace suitetest;

namespace {

TEST(QEditFont, PublishedDefaultsMatchFreshControls) {
  for (TClass C : {TqcFontComboBox::StaticClass(), TqcFontListBox::StaticClass()}) ExpectClassDefaultsMatch(C);
}

// Every face the screen offers, each with what its enumeration reported per character set.
struct TFaceEntry {
  BYTE CharSet, PitchAndFamily;
  DWORD Type;
};
using TFaces = std::map<std::string, std::vector<TFaceEntry>>;

int CALLBACK AddFamily(const LOGFONTA* F, const TEXTMETRICA*, DWORD Type, LPARAM Data) {
  (*reinterpret_cast<TFaces*>(Data))[F->lfFaceName].push_back({F->lfCharSet, F->lfPitchAndFamily, Type});
  return 1;
}

TFaces ScreenFaces() {
  TFaces Faces;
  LOGFONTA Any{};
  Any.lfCharSet = DEFAULT_CHARSET;
  HDC DC = GetDC(nullptr);
  EnumFontFamiliesExA(DC, &Any, &AddFamily, reinterpret_cast<LPARAM>(&Faces), 0);
  ReleaseDC(nullptr, DC);
  return Faces;
}

template <class T> std::vector<std::string> ItemsOf(T* C) {
  std::vector<std::string> V;
  for (int I = 0; I < C->Items()->Count(); ++I) V.push_back(C->Items()->Get(I).c_str());
  return V;
}
std::set<std::string> SetOf(const std::vector<std::string>& V) { return {V.begin(), V.end()}; }

// The glyph's transparent colour: its bottom-left pixel.
TColor KeyOf(TBitmap* Glyph) { return Glyph->Canvas()->Pixels(0, Glyph->Height() - 1) & 0xFFFFFF; }

// Pixels of the glyph drawn into item rectangle R of Shot that differ from the glyph, its
// transparent colour showing Back.
int GlyphMisses(TBitmap* Shot, const RECT& R, TBitmap* Glyph, TColor Back) {
  const int X0 = R.left + 2, Y0 = (R.top + R.bottom - Glyph->Height()) / 2;
  const TColor Key = KeyOf(Glyph);
  int Misses = 0;
  for (int Y = 0; Y < Glyph->Height(); ++Y)
    for (int X = 0; X < Glyph->Width(); ++X) {
      const TColor G = Glyph->Canvas()->Pixels(X, Y) & 0xFFFFFF;
      Misses += vcltest::PixelAt(Shot->Canvas()->Handle(), X0 + X, Y0 + Y) != (G == Key ? Back : G);
    }
  return Misses;
}

TEST(QEditFont, GlyphsFromTheirPictures) {
  struct Case {
    const char* What;
    TBitmap* Glyph;
    TColor Key;
    std::vector<std::pair<POINT, TColor>> Pixels;
  } const Cases[] = {
      {"outline", qcTrueTypeGlyph, clGreen, {{{0, 0}, clTeal}, {{8, 0}, clGreen}, {{4, 3}, clPurple}, {{0, 8}, clGreen}}},
      {"device", qcDeviceGlyph, clGreen,
       {{{2, 0}, clBlack}, {{3, 1}, clGray}, {{3, 2}, clWhite}, {{1, 9}, clSilver}, {{8, 10}, clRed}}},
      {"raster", qcRasterGlyph, clWhite, {{{0, 0}, clWhite}, {{1, 0}, clGray}, {{1, 1}, clWhite}, {{11, 10}, clGray}}},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.What);
    ASSERT_NE(K.Glyph, nullptr);
    EXPECT_EQ(K.Glyph->Width(), 12);
    EXPECT_EQ(K.Glyph->Height(), 12);
    EXPECT_EQ(Hex(KeyOf(K.Glyph)), Hex(K.Key));
    for (const auto& [P, C] : K.Pixels) EXPECT_EQ(Hex(K.Glyph->Canvas()->Pixels(P.x, P.y)), Hex(C)) << P.x << "," << P.y;
  }
}

// ----- the screen's faces

constexpr TColor Back = 0x00F4E8DC;

struct FontListScene : testing::Test {
  TFormScene S{420, 400};
  TqcFontListBox* L = nullptr;
  FontListScene() {
    S.Show();
    L = S.Add<TqcFontListBox>(10, 10, 260, 360);
    L->SetColor(Back);
    L->HandleNeeded();
  }
  // The list scrolled to Face and painted; its item's rectangle.
  std::unique_ptr<TBitmap> ShotOf(const char* Face, RECT& R) {
    const int I = L->Items()->IndexOf(Face);
    EXPECT_GE(I, 0) << Face;
    L->SetTopIndex(I);
    SendMessageA(L->Handle(), LB_GETITEMRECT, WPARAM(I), reinterpret_cast<LPARAM>(&R));
    RedrawAll(L->Handle());
    return vcltest::CaptureClient(L->Handle());
  }
};

TEST_F(FontListScene, ListsEveryScreenFaceOnceSorted) {
  const TFaces Faces = ScreenFaces();
  const std::vector<std::string> Items = ItemsOf(L);
  std::set<std::string> Expected;
  for (const auto& [Name, Entries] : Faces) Expected.insert(Name);
  EXPECT_EQ(SetOf(Items), Expected);
  EXPECT_EQ(Items.size(), SetOf(Items).size());
  EXPECT_TRUE(std::is_sorted(Items.begin(), Items.end(), [](const std::string& A, const std::string& B) {
    return lstrcmpiA(A.c_str(), B.c_str()) < 0;
  }));
  // Wine's bitmap faces are raster fonts, the outline faces TrueType.
  EXPECT_EQ(L->ItemFontType(L->Items()->IndexOf("MS Sans Serif")), DWORD(RASTER_FONTTYPE));
  EXPECT_EQ(L->ItemFontType(L->Items()->IndexOf("Tahoma")) & TRUETYPE_FONTTYPE, DWORD(TRUETYPE_FONTTYPE));
}

TEST_F(FontListScene, FiltersKeepOnlyFacesThatPass) {
  const TFaces Faces = ScreenFaces();
  auto Family = [](const TFaceEntry& E) { return E.PitchAndFamily & 0xF0; };
  struct Case {
    TqcFontType Option;
    std::function<bool(const TFaceEntry&)> Passes;
  } const Cases[] = {
      {qcftWindowsOnly, [](const TFaceEntry& E) { return E.CharSet == ANSI_CHARSET; }},
      {qcftSymbolOnly, [](const TFaceEntry& E) { return E.CharSet == SYMBOL_CHARSET; }},
      {qcftDecorativeOnly, [&](const TFaceEntry& E) { return Family(E) == FF_DECORATIVE; }},
      {qcftModernOnly, [&](const TFaceEntry& E) { return Family(E) == FF_MODERN; }},
      {qcftRomanOnly, [&](const TFaceEntry& E) { return Family(E) == FF_ROMAN; }},
      {qcftScriptOnly, [&](const TFaceEntry& E) { return Family(E) == FF_SCRIPT; }},
      {qcftSwissOnly, [&](const TFaceEntry& E) { return Family(E) == FF_SWISS; }},
      {qcftTrueTypeOnly, [](const TFaceEntry& E) { return (E.Type & TRUETYPE_FONTTYPE) != 0; }},
      {qcftFixedOnly, [](const TFaceEntry& E) { return (E.PitchAndFamily & FIXED_PITCH) != 0; }},
      {qcftOEMOnly, [](const TFaceEntry& E) { return E.CharSet == OEM_CHARSET; }},
      {qcftNoOEM, [](const TFaceEntry& E) { return E.CharSet != OEM_CHARSET; }},
      {qcftScaleableOnly, [](const TFaceEntry& E) { return (E.Type & RASTER_FONTTYPE) == 0; }},
  };
  std::map<TqcFontType, std::set<std::string>> Listed;
  for (const Case& K : Cases) {
    SCOPED_TRACE(TqcFontTypeType.ValueToName(K.Option));
    L->SetFontOptions(FontType(K.Option));
    Listed[K.Option] = SetOf(ItemsOf(L));
    std::set<std::string> Expected;
    for (const auto& [Name, Entries] : Faces)
      if (std::any_of(Entries.begin(), Entries.end(), K.Passes)) Expected.insert(Name);
    EXPECT_EQ(Listed[K.Option], Expected);
  }
  // What the prefix is known to hold.
  for (const char* Raster : {"MS Sans Serif", "Courier", "Small Fonts", "System"}) {
    EXPECT_FALSE(Listed[qcftTrueTypeOnly].count(Raster)) << Raster;
    EXPECT_FALSE(Listed[qcftScaleableOnly].count(Raster)) << Raster;
  }
  EXPECT_TRUE(Listed[qcftTrueTypeOnly].count("Tahoma"));
  EXPECT_TRUE(Listed[qcftSymbolOnly].count("Symbol"));
  EXPECT_TRUE(Listed[qcftSymbolOnly].count("Wingdings"));
  EXPECT_FALSE(Listed[qcftSymbolOnly].count("Tahoma"));
  EXPECT_TRUE(Listed[qcftRomanOnly].count("Liberation Serif"));
  EXPECT_FALSE(Listed[qcftRomanOnly].count("Liberation Mono")) << "a modern face";
  EXPECT_TRUE(Listed[qcftOEMOnly].empty()) << "no face of the OEM character set";
  EXPECT_TRUE(Listed[qcftModernOnly].count("Courier New"));

  // Options together: every one must accept.
  L->SetFontOptions(FontType(qcftTrueTypeOnly) | FontType(qcftFixedOnly));
  const std::set<std::string> Both = SetOf(ItemsOf(L));
  EXPECT_TRUE(Both.count("Liberation Mono"));
  EXPECT_FALSE(Both.count("Courier")) << "fixed, yet raster";
  EXPECT_FALSE(Both.count("Tahoma")) << "TrueType, yet proportional";
}

TEST_F(FontListScene, ItemsShowTheirKindsGlyph) {
  L->SetFontOptions(FontType(qcftTrueTypeOnly));
  for (int I = 0; I < L->Items()->Count(); ++I)
    EXPECT_TRUE(L->ItemFontType(I) & TRUETYPE_FONTTYPE) << L->Items()->Get(I).c_str();
  RECT R;
  auto Shot = ShotOf("Tahoma", R);
  EXPECT_EQ(GlyphMisses(Shot.get(), R, qcTrueTypeGlyph, Back), 0);
  EXPECT_EQ(Hex(vcltest::PixelAt(Shot->Canvas()->Handle(), R.left + 2, R.top)), Hex(Back));
  // The name from past the glyph, in the font's colour.
  int Ink = 0;
  for (int X = R.left + 18; X < R.left + 60; ++X)
    for (int Y = R.top; Y < R.bottom; ++Y) Ink += vcltest::PixelAt(Shot->Canvas()->Handle(), X, Y) == clBlack;
  EXPECT_GT(Ink, 5);

  L->SetFontOptions(0);
  Shot = ShotOf("MS Sans Serif", R);
  EXPECT_EQ(GlyphMisses(Shot.get(), R, qcRasterGlyph, Back), 0) << "white lets the item's brush through";

  // The selected item's glyph over the highlight.
  L->SetFontName("MS Sans Serif");
  Shot = ShotOf("MS Sans Serif", R);
  EXPECT_EQ(GlyphMisses(Shot.get(), R, qcRasterGlyph, Sys(COLOR_HIGHLIGHT)), 0);
}

struct TChangeLog : TObject {
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

TEST_F(FontListScene, ClickingAFaceChoosesIt) {
  TChangeLog Log;
  L->OnChange = EVENT(&Log, TChangeLog::Changed);
  L->SetTopIndex(0);
  RECT R{};
  SendMessageA(L->Handle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&R));
  vcltest::Click(L->Handle(), R.left + 20, (R.top + R.bottom) / 2);
  vcltest::PumpMessages();
  EXPECT_EQ(L->FontName(), L->Items()->Get(2));
  EXPECT_EQ(Log.Count, 1);
}

// ----- the chosen face through a new list

template <class T> struct FontPicker : testing::Test {
  TFormScene S;
  T* C = nullptr;
  TChangeLog Log;
  FontPicker() {
    S.Show();
    C = S.Add<T>(10, 10, 200, 120);
    C->HandleNeeded();
    C->OnChange = EVENT(&Log, TChangeLog::Changed);
  }
};
using FontPickerTypes = testing::Types<TqcFontComboBox, TqcFontListBox>;
TYPED_TEST_SUITE(FontPicker, FontPickerTypes);

TYPED_TEST(FontPicker, NewListKeepsTheFaceWhileListed) {
  auto* C = this->C;
  C->SetFontName("tahoma");
  EXPECT_EQ(C->FontName(), "Tahoma");
  EXPECT_EQ(this->Log.Count, 1);
  C->SetFontName("No Such Face");
  EXPECT_EQ(C->FontName(), "");
  EXPECT_EQ(this->Log.Count, 2);

  C->SetFontName("Tahoma");
  this->Log.Count = 0;
  C->SetFontOptions(FontType(qcftTrueTypeOnly));
  EXPECT_EQ(C->FontName(), "Tahoma");
  C->ReDoThis();
  EXPECT_EQ(C->FontName(), "Tahoma");
  EXPECT_EQ(this->Log.Count, 0);

  C->SetFontOptions(0);
  C->SetFontName("MS Sans Serif");
  this->Log.Count = 0;
  C->SetFontOptions(FontType(qcftTrueTypeOnly));
  EXPECT_EQ(C->FontName(), "");
  // The combo box tells the face is gone; the list box does not.
  EXPECT_EQ(this->Log.Count, (std::is_same_v<TypeParam, TqcFontComboBox> ? 1 : 0));
}

TYPED_TEST(FontPicker, OwnFontChangeRecreatesTheWindowKeepingTheFace) {
  auto* C = this->C;
  C->SetFontName("Tahoma");
  const HWND Old = C->Handle();
  const int Count = C->Items()->Count(), Height = C->ItemHeight();
  C->Font()->SetSize(C->Font()->Size() * 2);
  vcltest::PumpMessages();
  EXPECT_NE(C->Handle(), Old);
  EXPECT_GT(C->ItemHeight(), Height);
  EXPECT_EQ(C->Items()->Count(), Count);
  EXPECT_EQ(C->FontName(), "Tahoma");
}

// ----- the system's font set changes

// A copy of one of Wine's bitmap font files with its face renamed in place (same length).
std::string RenamedFontFile(const std::string& From, const std::string& To) {
  char Windows[MAX_PATH], Temp[MAX_PATH];
  GetWindowsDirectoryA(Windows, MAX_PATH);
  GetTempPathA(MAX_PATH, Temp);
  std::ifstream In(std::string(Windows) + "\\Fonts\\smalle.fon", std::ios::binary);
  std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  EXPECT_FALSE(Bytes.empty());
  int Renamed = 0;
  for (size_t At = Bytes.find(From); At != std::string::npos; At = Bytes.find(From, At + 1), ++Renamed)
    Bytes.replace(At, From.size(), To);
  EXPECT_GT(Renamed, 1);
  const std::string Path = std::string(Temp) + "orvalen-renamed.fon";
  std::ofstream(Path, std::ios::binary) << Bytes;
  return Path;
}

TYPED_TEST(FontPicker, SystemFontChangeListsTheNewFace) {
  auto* C = this->C;
  const std::string Face = "Orvalen Tst";  // as long as "Small Fonts"
  const std::string File = RenamedFontFile("Small Fonts", Face);
  C->SetFontName("Tahoma");
  ASSERT_EQ(C->Items()->IndexOf(Face.c_str()), -1);
  ASSERT_GT(AddFontResourceA(File.c_str()), 0);
  SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
  vcltest::PumpMessages();
  const int I = C->Items()->IndexOf(Face.c_str());
  EXPECT_GE(I, 0) << "the form passed the news on";
  if (I >= 0) {
    EXPECT_EQ(C->ItemFontType(I), DWORD(RASTER_FONTTYPE));
  }
  EXPECT_EQ(C->FontName(), "Tahoma");

  EXPECT_TRUE(RemoveFontResourceA(File.c_str()));
  SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
  vcltest::PumpMessages();
  EXPECT_EQ(C->Items()->IndexOf(Face.c_str()), -1);
  EXPECT_EQ(C->FontName(), "Tahoma");
  EXPECT_EQ(this->Log.Count, 1) << "only the first choice";
  DeleteFileA(File.c_str());
}

// ----- the printer's faces

// A PostScript printer with the project's printer description, the default while the scene
// lasts; the default before it comes back at the end.
struct PrinterScene : FontListScene {
  static constexpr const char* Name = "Orvalen Font Printer";
  std::string OldDefault;
  PrinterScene() {
    char Buf[512];
    DWORD N = sizeof Buf;
    if (GetDefaultPrinterA(Buf, &N)) OldDefault = Buf;
  }
  ~PrinterScene() override {
    vcltest::DeleteTestPrinter(Name);
    if (!OldDefault.empty()) SetDefaultPrinterA(OldDefault.c_str());
  }
  void Install() {
    ASSERT_TRUE(vcltest::AddTestPrinter(Name, "Orvalen Font Driver", ModuleDir() + "orvfonts.ppd"));
    ASSERT_TRUE(SetDefaultPrinterA(Name));
  }
};

TEST_F(PrinterScene, DeviceFontsOfThePrinter) {
  Install();
  ASSERT_NE(Printer()->Handle(), nullptr);
  L->SetDevice(FontDev(qcfdPrinter));
  const std::vector<std::string> Items = ItemsOf(L);
  const int Helvetica = L->Items()->IndexOf("Helvetica"), Courier = L->Items()->IndexOf("Courier");
  ASSERT_GE(Helvetica, 0);
  ASSERT_GE(Courier, 0);
  EXPECT_EQ(L->ItemFontType(Helvetica), DWORD(DEVICE_FONTTYPE));
  EXPECT_EQ(L->ItemFontType(Courier), DWORD(DEVICE_FONTTYPE));
  RECT R;
  auto Shot = ShotOf("Helvetica", R);
  EXPECT_EQ(GlyphMisses(Shot.get(), R, qcDeviceGlyph, Back), 0);

  // Screen and printer: a face both offer appears once, as the screen reported it.
  L->SetDevice(FontDev(qcfdScreen) | FontDev(qcfdPrinter));
  const std::vector<std::string> Both = ItemsOf(L);
  EXPECT_EQ(std::count(Both.begin(), Both.end(), "Courier"), 1);
  EXPECT_EQ(L->ItemFontType(L->Items()->IndexOf("Courier")), DWORD(RASTER_FONTTYPE));
  EXPECT_GE(L->Items()->IndexOf("Helvetica"), 0) << "the printer's own face";
  EXPECT_EQ(Both.size(), SetOf(Both).size());
}

TEST_F(PrinterScene, WithoutAPrinterTheScreensFacesAloneAndNoError) {
  Install();
  L->SetDevice(FontDev(qcfdScreen) | FontDev(qcfdPrinter));
  ASSERT_GE(L->Items()->IndexOf("Helvetica"), 0);
  // Every printer goes: this one and the other tests' own.
  for (const std::string& P : vcltest::SystemPrinters())
    if (P.rfind("Orvalen ", 0) == 0) {
      ASSERT_TRUE(vcltest::DeleteTestPrinter(P));
    }
  if (!vcltest::SystemPrinters().empty()) GTEST_SKIP() << "the system has printers of its own";
  try {
    Printer()->Handle();
    ADD_FAILURE() << "no error";
  } catch (const EPrinter& E) {
    EXPECT_EQ(E.Message(), "There is no default printer currently selected");
  }
  L->ReDoThis();
  EXPECT_EQ(L->Items()->IndexOf("Helvetica"), -1);
  EXPECT_GE(L->Items()->IndexOf("Courier"), 0);
  L->SetDevice(FontDev(qcfdPrinter));
  EXPECT_EQ(L->Items()->Count(), 0);
}

}  // namespace
