// Item drawing of the cool list and combo boxes, pixel by pixel, as the system asks for an
// item (CN_DRAWITEM into a bitmap): backgrounds by state and options, wallpapers, the see-through
// background, colour swatches, check images against the system's, bevels; and the colour and font
// dialogs that Ctrl+Enter opens, worked by a timer as a user would.
#include "coolctrls/CoolCtrls.h"
#include "vcl/tests/vcltest.h"
#include "coolctrls/tests/itemtest.h"

#include <gtest/gtest.h>

#include <colordlg.h>
#include <dlgs.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

namespace {

using vcltest::PumpMessages;
using vcltest::TTestHost;
using itemtest::DrawItemImage;
using itemtest::ItemH;
using itemtest::ItemW;
using itemtest::TListedFolder;

constexpr TOwnerDrawState Sel = 1u << odSelected, Focus = 1u << odFocused, Grayed = 1u << odGrayed,
                          Edit = 1u << odComboBoxEdit;


TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

// A checker wallpaper of 8 x 8 squares: red and blue.
std::unique_ptr<TBitmap> Checker() {
  auto B = vcltest::MakeBitmap(16, 16, clRed);
  B->Canvas()->Brush()->SetColor(clBlue);
  B->Canvas()->FillRect(Rect(8, 0, 16, 8));
  B->Canvas()->FillRect(Rect(0, 8, 8, 16));
  return B;
}
TColor CheckerAt(int X, int Y) { return ((X % 16 < 8) == (Y % 16 < 8)) ? clRed : clBlue; }

struct TListFixture : testing::Test {
  TTestHost Host{400, 300};
  TCoolListBox* L = nullptr;
  void SetUp() override {
    L = Host.Add<TCoolListBox>(20, 30, ItemW + 30, 150);
    L->SetColor(clYellow);
    L->Items()->Add("x");
    L->Items()->Add("clRed");
  }
};
using CoolItemDraw = TListFixture;

TEST_F(CoolItemDraw, BackgroundsByStateAndOptions) {
  auto Checkers = Checker();
  const TColor HL = Sys(COLOR_HIGHLIGHT);
  struct Case {
    const char* Name;
    TCoolOptions Options;
    TOwnerDrawState State;
    std::function<TColor(int X, int Y)> Expected;
  } const Cases[] = {
      {"plain", 0, 0, [](int, int) { return clYellow; }},
      {"selected", 0, Sel, [&](int, int) { return HL; }},
      {"selected and focused", 0, Sel | Focus, [&](int, int) { return HL; }},
      {"selected and grayed counts as not selected", 0, Sel | Grayed, [](int, int) { return clYellow; }},
      {"tiled wallpaper", CoolOption(ocPaintWallpaper) | CoolOption(ocTileWallpaper), 0, CheckerAt},
      {"wallpaper, not tiled: the part under the item", CoolOption(ocPaintWallpaper), 0,
       [](int X, int Y) { return X < 16 && Y < 16 ? CheckerAt(X, Y) : clFuchsia; }},
      {"inverted wallpaper when selected", CoolOption(ocInvertWallpaperAsSelect) | CoolOption(ocTileWallpaper), Sel,
       [](int X, int Y) { return TColor(0xFFFFFF ^ CheckerAt(X, Y)); }},
      {"selection wallpaper, always tiled", CoolOption(ocPaintSelWallpaper), Sel, CheckerAt},
      {"the selection wallpaper only when selected", CoolOption(ocPaintSelWallpaper), 0,
       [](int, int) { return clYellow; }},
  };
  L->SetWallpaper(Checkers.get());
  L->SetSelWallpaper(Checkers.get());
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    L->SetOptions(K.Options);
    auto B = DrawItemImage(L, 0, K.State);
    // Away from the glyph and the text: the right part of the item.
    for (int X : {60, 77, 90, 118})
      for (int Y : {1, 7, 14}) EXPECT_EQ(B->Canvas()->Pixels(X, Y), K.Expected(X, Y)) << X << "," << Y;
  }
}

TEST_F(CoolItemDraw, SeeThroughShowsTheParentsGradient) {
  itemtest::TGradientBackground Gradient(Host.Control());
  auto Behind = Gradient.Picture();

  L->SetOptions(CoolOption(ocPaintTransparently));
  auto B = DrawItemImage(L, 0, 0);
  const TPoint Origin = L->ScreenToClient(Host.Control()->ClientToScreen(TPoint(0, 0)));
  for (int X : {60, 90, 118})
    EXPECT_EQ(B->Canvas()->Pixels(X, 8), Behind->Canvas()->Pixels(X - Origin.X, 8 - Origin.Y)) << X;
  EXPECT_NE(B->Canvas()->Pixels(60, 8), B->Canvas()->Pixels(118, 8)) << "a gradient, not one colour";
}

// The first pixel of the glyph: margin 4, centred in the item's height.
constexpr int GlyphLeft = 4;

TEST_F(CoolItemDraw, SwatchesShowTheItemsColourAndNothingForOthers) {
  L->SetExtendedStyle(ctColorControl);
  L->Items()->Add("Bogus");
  L->SetItemHeight(ItemH);
  for (auto [Index, Colour] : {std::pair{9, clRed}, std::pair{0, clBlack}, std::pair{15, clWhite}}) {
    SCOPED_TRACE(Index);
    auto B = DrawItemImage(L, Index, 0);
    EXPECT_EQ(B->Canvas()->Pixels(GlyphLeft + 8, 8), Colour) << "inside";
    EXPECT_EQ(B->Canvas()->Pixels(GlyphLeft + 8, 2), clBlack) << "the black frame";
    EXPECT_EQ(B->Canvas()->Pixels(GlyphLeft + 8, 0), clYellow) << "above it the item's background shows";
  }
  // A swatch of the item's background colour still shows (the background went one bit off).
  L->SetColor(clRed);
  EXPECT_EQ(DrawItemImage(L, 9, 0)->Canvas()->Pixels(GlyphLeft + 8, 8), clRed);
  EXPECT_EQ(DrawItemImage(L, 9, 0)->Canvas()->Pixels(GlyphLeft + 8, 2), clBlack);
  auto Bogus = DrawItemImage(L, 16, 0);
  EXPECT_EQ(Bogus->Canvas()->Pixels(GlyphLeft + 8, 2), clRed) << "no swatch for an item naming no colour";
}

TEST_F(CoolItemDraw, CheckImagesAreTheSystemsCheckBoxes) {
  L->SetItemHeight(ItemH);
  L->SetColor(clWhite);
  struct Case {
    TCheckBoxState State;
    bool Flat;
    UINT Flags;
  } const Cases[] = {
      {cbUnchecked, false, 0}, {cbChecked, false, DFCS_CHECKED}, {cbGrayed, false, DFCS_CHECKED | DFCS_BUTTON3STATE},
      {cbChecked, true, DFCS_CHECKED | DFCS_FLAT},
  };
  for (bool Extended : {false, true}) {
    L->SetExtendedStyle(Extended ? ctCoolControl : ctCheckControl);
    L->SetExtendedCheck(Extended);
    for (const Case& K : Cases) {
      SCOPED_TRACE(std::to_string(K.State) + (K.Flat ? " flat" : "") + (Extended ? " extended" : " style"));
      L->SetFlatCheckBox(K.Flat);
      L->SetState(0, K.State);
      auto Ref = vcltest::MakeBitmap(ItemH, ItemH, clOlive);
      RECT R{1, 1, ItemH - 1, ItemH - 1};
      DrawFrameControl(Ref->Canvas()->Handle(), &R, DFC_BUTTON, DFCS_BUTTONCHECK | K.Flags);
      auto B = DrawItemImage(L, 0, 0);
      int Differ = 0, Compared = 0;
      for (int Y = 0; Y < ItemH; ++Y)
        for (int X = 0; X < ItemH; ++X) {
          const TColor Want = Ref->Canvas()->Pixels(X, Y);
          const TColor Got = B->Canvas()->Pixels(GlyphLeft + X, Y);
          ++Compared;
          if (Got != (Want == clOlive ? clWhite : Want)) ++Differ;
        }
      EXPECT_EQ(Differ, 0) << "of " << Compared;
    }
  }
}

TEST_F(CoolItemDraw, FolderItemsShowTheShellsSmallIcon) {
  TListedFolder Folder("orvalen_icons");
  L->SetItemHeight(ItemH);
  L->SetColor(clWhite);
  L->SetFolderName(Folder.Dir);
  L->SetExtendedStyle(ctFolderControl);
  const TColor Background = clWhite;
  for (const char* Name : {"alpha", "b.txt"}) {
    SCOPED_TRACE(Name);
    const int Index = L->Items()->IndexOf(Name);
    ASSERT_GE(Index, 0);
    SHFILEINFOA Info{};
    ASSERT_NE(SHGetFileInfoA((Folder.Dir + Name).c_str(), 0, &Info, sizeof Info, SHGFI_ICON | SHGFI_SMALLICON), 0u);
    auto Ref = vcltest::MakeBitmap(ItemH, ItemH, clOlive);
    DrawIconEx(Ref->Canvas()->Handle(), 0, 0, Info.hIcon, ItemH, ItemH, 0, nullptr, DI_NORMAL);
    DestroyIcon(Info.hIcon);
    auto B = DrawItemImage(L, Index, 0);
    int Differ = 0, Drawn = 0;
    for (int Y = 0; Y < ItemH; ++Y)
      for (int X = 0; X < ItemH; ++X) {
        const TColor Want = Ref->Canvas()->Pixels(X, Y);
        if (Want != clOlive) ++Drawn;
        if (B->Canvas()->Pixels(GlyphLeft + X, Y) != (Want == clOlive ? Background : Want)) ++Differ;
      }
    EXPECT_GT(Drawn, 20);
    EXPECT_EQ(Differ, 0);
  }
  // No image for "..", nor for a name the shell knows nothing of: the text starts at the margin.
  L->Items()->Add("ghost");
  for (int Index : {L->Items()->IndexOf(".."), L->Items()->IndexOf("ghost")}) {
    auto B = DrawItemImage(L, Index, 0);
    int Dark = 0;
    for (int Y = 0; Y < ItemH; ++Y)
      for (int X = 0; X < GlyphLeft; ++X)
        if (B->Canvas()->Pixels(X, Y) != Background) ++Dark;
    EXPECT_EQ(Dark, 0) << Index;
    int Leftmost = ItemW;
    for (int Y = 0; Y < ItemH; ++Y)
      for (int X = 0; X < ItemW; ++X)
        if (B->Canvas()->Pixels(X, Y) != Background) Leftmost = std::min(Leftmost, X);
    EXPECT_LT(Leftmost, GlyphLeft + ItemH) << Index << ": the text where an image would stand";
  }
}

TEST_F(CoolItemDraw, BevelsOnlyOnTheSelectedItemWithBevelOnlyIfSel) {
  L->SetBevelOuter(bvRaised);
  L->SetBevelInner(bvRaised);
  // The inner ring: the focus rectangle of a focused item lies on the outer one.
  const TColor Shadow = Sys(COLOR_BTNSHADOW);
  auto HasBevel = [&](TOwnerDrawState State) {
    auto B = DrawItemImage(L, 0, State);
    return B->Canvas()->Pixels(ItemW - 2, ItemH / 2) == Shadow && B->Canvas()->Pixels(ItemW / 2, ItemH - 2) == Shadow;
  };
  ASSERT_TRUE(L->Options() & CoolOption(ocBevelOnlyIfSel));
  EXPECT_TRUE(HasBevel(Sel));
  EXPECT_TRUE(HasBevel(Sel | Focus));
  EXPECT_FALSE(HasBevel(0));
  EXPECT_FALSE(HasBevel(Sel | Grayed)) << "[odSelected, odGrayed] counts as not selected";
  L->SetOptions(0);
  EXPECT_TRUE(HasBevel(0));
  EXPECT_TRUE(HasBevel(Sel | Grayed));
}

TEST(CoolComboDraw, TheSelectionFieldIsSelectedButHasNoBevel) {
  TTestHost Host;
  auto* C = Host.Add<TCoolComboBox>(10, 10, ItemW + 30, 24);
  C->Items()->Add("x");
  C->SetBevelOuter(bvRaised);
  C->SetSelColor(clLime);
  // The combo's items are drawn one pixel larger on every side than the system asks.
  auto B = DrawItemImage(C, 0, Sel | Focus | Edit, 2);
  EXPECT_EQ(B->Canvas()->Pixels(80, 2 + ItemH / 2), clLime);
  EXPECT_EQ(B->Canvas()->Pixels(2 + ItemW, 2 + ItemH / 2), clLime) << "no bevel on the field";
  auto Dropped = DrawItemImage(C, 0, Sel, 2);
  EXPECT_EQ(Dropped->Canvas()->Pixels(2 + ItemW, 2 + ItemH / 2), Sys(COLOR_3DDKSHADOW)) << "a bevel on the item";
  EXPECT_EQ(Dropped->Canvas()->Pixels(2 + ItemW + 1, 2 + ItemH / 2), clFuchsia);
}

// ----- Ctrl+Enter dialogs

// Works the dialog the control opens: a thread timer finds the "#32770" window of this thread
// and hands it to Act, once.
struct TDialogDriver {
  static inline std::function<void(HWND)> Act;
  static inline bool Done = false;
  explicit TDialogDriver(std::function<void(HWND)> A) {
    Act = std::move(A);
    Done = false;
    Timer = SetTimer(nullptr, 0, 50, &Tick);
  }
  ~TDialogDriver() { KillTimer(nullptr, Timer); }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (Done) return;
    HWND Found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&Found));
    if (!Found) return;
    Done = true;
    Act(Found);
  }
  static BOOL CALLBACK FindDialog(HWND W, LPARAM P) {
    char Cls[16] = {};
    GetClassNameA(W, Cls, sizeof Cls);
    if (std::string(Cls) != "#32770" || !IsWindowVisible(W)) return TRUE;
    *reinterpret_cast<HWND*>(P) = W;
    return FALSE;
  }
  UINT_PTR Timer;
};

void PressCtrlEnter(TWinControl* C) {
  BYTE Keys[256] = {};
  GetKeyboardState(Keys);
  Keys[VK_CONTROL] = 0x80;
  SetKeyboardState(Keys);
  SendMessageA(C->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Keys[VK_CONTROL] = 0;
  SetKeyboardState(Keys);
  PumpMessages();
}

struct TEventCount : TObject {
  int Count = 0;
  void Notify(TObject*) { ++Count; }
};

template <class T> struct TDialogFixture : testing::Test {
  TTestHost Host{400, 300};
  T* C = nullptr;
  void SetUp() override {
    C = Host.Add<T>(10, 10, 200, 150);
    Host.Frame().Activate();
  }
};
using DialogControls = testing::Types<TCoolListBox, TCoolComboBox>;
template <class T> using CoolItemDialogs = TDialogFixture<T>;
TYPED_TEST_SUITE(CoolItemDialogs, DialogControls);

TYPED_TEST(CoolItemDialogs, ColourDialogAddsAndSelectsTheChosenColour) {
  auto* C = this->C;
  C->SetExtendedStyle(ctColorControl);
  {
    TDialogDriver Driver([](HWND Dlg) {
      SetDlgItemInt(Dlg, COLOR_RED, 18, FALSE);
      SetDlgItemInt(Dlg, COLOR_GREEN, 52, FALSE);
      SetDlgItemInt(Dlg, COLOR_BLUE, 86, FALSE);
      PostMessageA(GetDlgItem(Dlg, IDOK), BM_CLICK, 0, 0);
    });
    PressCtrlEnter(C);
    EXPECT_TRUE(TDialogDriver::Done);
  }
  ASSERT_EQ(C->Items()->Count(), 17);
  EXPECT_EQ(C->Items()->Get(16), "$00563412");
  EXPECT_EQ(C->ItemIndex(), 16);
  EXPECT_EQ(C->ColorValue(), 0x563412);
  EXPECT_EQ(C->ComponentCount(), 0) << "the dialog is freed";

  {
    TDialogDriver Driver([](HWND Dlg) {
      SetDlgItemInt(Dlg, COLOR_RED, 1, FALSE);
      PostMessageA(GetDlgItem(Dlg, IDCANCEL), BM_CLICK, 0, 0);
    });
    PressCtrlEnter(C);
    EXPECT_TRUE(TDialogDriver::Done);
  }
  EXPECT_EQ(C->Items()->Count(), 17) << "Cancel adds nothing";
  EXPECT_EQ(C->ColorValue(), 0x563412);
}

TYPED_TEST(CoolItemDialogs, FontDialogSetsTheFontValueAndTellsOnce) {
  auto* C = this->C;
  C->SetExtendedStyle(ctFontControl);
  TEventCount Events;
  if constexpr (std::is_same_v<TypeParam, TCoolListBox>) C->OnClick = EVENT(&Events, TEventCount::Notify);
  else C->OnChange = EVENT(&Events, TEventCount::Notify);
  {
    TDialogDriver Driver([](HWND Dlg) {
      HWND Face = GetDlgItem(Dlg, cmb1);
      SendMessageA(Face, CB_SELECTSTRING, WPARAM(-1), LPARAM("Liberation Mono"));
      SendMessageA(Dlg, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), LPARAM(Face));
      PostMessageA(GetDlgItem(Dlg, IDOK), BM_CLICK, 0, 0);
    });
    PressCtrlEnter(C);
    EXPECT_TRUE(TDialogDriver::Done);
  }
  EXPECT_EQ(C->FontValue()->Name(), "Liberation Mono");
  EXPECT_EQ(C->ItemIndex(), C->Items()->IndexOf("Liberation Mono"));
  EXPECT_EQ(Events.Count, 1);
}

}  // namespace
