// Right-to-left drawing of the cool check and radio box, the list and combo items, and the cool
// edits: bdRightToLeft mirrors the layout (box, check area and drop-down button to the other end,
// text ending at the right margin) and reverses the reading; bdRightToLeftReadingOnly keeps the
// layout and reverses the reading only. The text is compared with DrawTextA's, flags as meant.
#include "coolctrls/CoolCtrls.h"
#include "coolctrls/tests/itemtest.h"
#include "vcl/ExtCtrls.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace {

using itemtest::DrawItemImage;
using itemtest::ItemH;
using itemtest::ItemW;
using vcltest::PumpMessages;
using vcltest::TTestHost;

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// Neutral characters at both ends: the reading order decides on which side they stand.
const char* const Caption = "Tag (96)!";
constexpr TColor Ink = clBlue;

// Bounding box of the pixels of colour C of B inside Area (empty when there are none).
TRect InkBox(TBitmap& B, const TRect& Area, TColor C = Ink) {
  TRect R(Area.Right, Area.Bottom, Area.Left, Area.Top);
  for (int Y = Area.Top; Y < Area.Bottom; ++Y)
    for (int X = Area.Left; X < Area.Right; ++X)
      if (B.Canvas()->Pixels(X, Y) == C) {
        R.Left = std::min(R.Left, X);
        R.Top = std::min(R.Top, Y);
        R.Right = std::max(R.Right, X + 1);
        R.Bottom = std::max(R.Bottom, Y + 1);
      }
  return R.Left < R.Right ? R : TRect();
}
TRect InkBox(TBitmap& B, TColor C = Ink) { return InkBox(B, Rect(0, 0, B.Width(), B.Height()), C); }

// The pixels of colour C inside Box as rows of '#' and '.'.
std::string Pattern(TBitmap& B, const TRect& Box, TColor C = Ink) {
  std::string S;
  for (int Y = Box.Top; Y < Box.Bottom; ++Y) {
    for (int X = Box.Left; X < Box.Right; ++X) S += B.Canvas()->Pixels(X, Y) == C ? '#' : '.';
    S += '\n';
  }
  return S;
}

// Text drawn by DrawTextA in Font (its colour Ink) with Flags on white: its ink pattern.
std::string DrawnText(TFont* Font, const char* Text, unsigned Flags) {
  auto B = vcltest::MakeBitmap(300, 40, clWhite);
  HDC DC = B->Canvas()->Handle();
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, RGB(0, 0, 255));
  RECT R{10, 10, 290, 30};
  DrawTextA(DC, Text, -1, &R, Flags | DT_SINGLELINE | DT_NOCLIP);
  SelectObject(DC, Old);
  return Pattern(*B, InkBox(*B));
}

// The pattern of S in F as each reading order gives it; the two must differ for the tests
// below to tell them apart.
struct TReadings {
  std::string LeftToRight, RightToLeft;
  explicit TReadings(TFont* F, const char* S = Caption)
      : LeftToRight(DrawnText(F, S, 0)), RightToLeft(DrawnText(F, S, DT_RTLREADING)) {
    EXPECT_NE(LeftToRight, RightToLeft) << "the reading order shows in the pixels";
  }
};

struct TModeCase {
  TBiDiMode Mode;
  bool Mirrored;  // layout and alignment to the other side
};
const TModeCase Modes[] = {{bdRightToLeft, true}, {bdRightToLeftReadingOnly, false}, {bdRightToLeftNoAlign, false}};

std::string Name(TBiDiMode M) { return TBiDiModeType.ValueToName(M); }

// Reading order always; the alignment flag when mirrored; the scroll bar at the left except for
// reading order only.
void ExpectBiDiExStyles(HWND Wnd, const TModeCase& K) {
  const DWORD Ex = DWORD(GetWindowLongPtrA(Wnd, GWL_EXSTYLE));
  EXPECT_EQ(Ex & WS_EX_RTLREADING, DWORD(WS_EX_RTLREADING));
  EXPECT_EQ(Ex & WS_EX_RIGHT, K.Mirrored ? DWORD(WS_EX_RIGHT) : 0u);
  EXPECT_EQ(Ex & WS_EX_LEFTSCROLLBAR, K.Mode != bdRightToLeftReadingOnly ? DWORD(WS_EX_LEFTSCROLLBAR) : 0u);
}

// ---------------------------------------------------------------------------------------------
// Check and radio box

TEST(CoolBiDi, CheckAndRadioBoxMirrorTheBoxAndReverseTheReading) {
  TTestHost Host(320, 120);
  for (TCheckRadioType Type : {crCheckBox, crRadioBox})
    for (const TModeCase& K : Modes) {
      SCOPED_TRACE(Name(K.Mode) + (Type == crRadioBox ? " radio" : " check"));
      auto* B = Host.Add<TCoolCheckRadioBox>(10, 10, 200, 20);
      B->SetCheckRadioType(Type);
      B->SetSimpleView(true);
      B->SetColor(clWhite);
      B->Font()->SetColor(Ink);
      B->SetCaption(Caption);
      B->SetChecked(true);
      B->SetBiDiMode(K.Mode);
      const TReadings Readings(B->Font());
      auto Shot = vcltest::CaptureClient(B->Handle());
      const int W = B->ClientWidth();

      // The box: 13 pixels, 4 from its end, at the right when mirrored.
      const TRect Box = B->BoxRect();
      EXPECT_EQ(Box.Left, K.Mirrored ? W - 4 - 13 : 4);
      auto Painted = [&](int X0, int X1) {
        int N = 0;
        for (int X = X0; X < X1; ++X)
          for (int Y = Box.Top; Y < Box.Bottom; ++Y) N += Shot->Canvas()->Pixels(X, Y) != clWhite;
        return N;
      };
      EXPECT_GT(Painted(Box.Left, Box.Right), 20) << "the box is drawn where it stands";

      // The caption ends 4 pixels before a box at the right, or starts 4 after one at the left,
      // and reads right to left in every mode.
      const TRect Text = InkBox(*Shot);
      ASSERT_FALSE(Text.IsEmpty());
      if (K.Mirrored) {
        EXPECT_LE(Text.Right, Box.Left - 4);
        EXPECT_GE(Text.Right, Box.Left - 6);
      } else {
        EXPECT_GE(Text.Left, Box.Right + 4);
        EXPECT_LE(Text.Left, Box.Right + 6);
      }
      EXPECT_EQ(Pattern(*Shot, Text), Readings.RightToLeft);
      TObject::Free(B);
    }
}

TEST(CoolBiDi, ADisabledCaptionIsEmbossedInItsReadingOrder) {
  TTestHost Host(320, 120);
  auto* B = Host.Add<TCoolCheckRadioBox>(10, 10, 200, 20);
  B->SetColor(clWhite);
  B->Font()->SetColor(Ink);
  B->SetCaption(Caption);
  B->SetEnabled(false);
  const TReadings Readings(B->Font());
  const TColor Shadow = ColorToRGB(clBtnShadow);
  for (const TModeCase& K : {TModeCase{bdLeftToRight, false}, TModeCase{bdRightToLeftReadingOnly, false}}) {
    SCOPED_TRACE(Name(K.Mode));
    B->SetBiDiMode(K.Mode);
    auto Shot = vcltest::CaptureClient(B->Handle());
    // The shadow colour draws the letters themselves (the highlight lies one pixel off).
    const TRect Text = InkBox(*Shot, Rect(B->BoxRect().Right + 1, 0, B->ClientWidth(), B->ClientHeight()), Shadow);
    ASSERT_FALSE(Text.IsEmpty());
    EXPECT_EQ(Pattern(*Shot, Text, Shadow), K.Mode == bdLeftToRight ? Readings.LeftToRight : Readings.RightToLeft);
  }
}

// ---------------------------------------------------------------------------------------------
// List and combo items

// A list or combo box with one checked item and its font.
struct TItems {
  TWinControl* Control;
  TFont* Font;
};

struct TItemCase {
  const char* Name;
  std::function<TItems(TTestHost&)> Make;
  int Grow;  // the combo box grows the item rectangle by 1 on every side
};

template <class T> TItems MakeItems(TTestHost& Host) {
  auto* C = Host.Add<T>(20, 20, ItemW + 40, 120);
  C->SetColor(clWhite);
  C->Font()->SetColor(Ink);
  C->SetSimpleView(true);
  C->SetExtendedCheck(true);
  C->Items()->Add(Caption);
  C->SetChecked(0, true);
  return {C, C->Font()};
}

const TItemCase ItemControls[] = {
    {"list box", MakeItems<TCoolListBox>, 0},
    {"combo box", MakeItems<TCoolComboBox>, 1},
};

TEST(CoolBiDi, ItemsPutTheCheckAreaAtTheRightAndReverseTheReading) {
  for (const TItemCase& C : ItemControls)
    for (const TModeCase& K : Modes) {
      SCOPED_TRACE(std::string(C.Name) + " " + Name(K.Mode));
      TTestHost Host(320, 200);
      const TItems Items = C.Make(Host);
      TWinControl* L = Items.Control;
      L->SetBiDiMode(K.Mode);
      const TReadings Readings(Items.Font);
      auto B = DrawItemImage(L, 0, 0);
      // Item rectangle as drawn, the check image (ItemHeight square) 4 pixels from its end.
      const int Left = -C.Grow, Right = ItemW + C.Grow;
      const int CheckLeft = K.Mirrored ? Right - 4 - ItemH : Left + 4;
      auto Drawn = [&](int X0, int X1) {
        int N = 0;
        for (int X = std::max(X0, 0); X < std::min(X1, ItemW); ++X)
          for (int Y = 0; Y < ItemH; ++Y) N += B->Canvas()->Pixels(X, Y) != clWhite;
        return N;
      };
      EXPECT_GT(Drawn(CheckLeft + 2, CheckLeft + ItemH - 2), 20) << "the check box";
      const int OtherEnd = K.Mirrored ? Left + 4 : Right - 4 - ItemH;
      EXPECT_EQ(Drawn(OtherEnd, OtherEnd + ItemH), 0) << "nothing at the other end";

      // The text: inside what the check area leaves (its width + 4 off both sides), 4 pixels
      // from the side where an image would stand.
      const TRect Text = InkBox(*B);
      ASSERT_FALSE(Text.IsEmpty());
      const int Taken = ItemH + 4;
      if (K.Mirrored) {
        EXPECT_LE(Text.Right, Right - Taken - 4);
        EXPECT_GE(Text.Right, Right - Taken - 6);
      } else {
        EXPECT_GE(Text.Left, Left + Taken + 4);
        EXPECT_LE(Text.Left, Left + Taken + 6);
      }
      EXPECT_EQ(Pattern(*B, Text), Readings.RightToLeft);
    }
}

// An item drawn by the program through the canvas reads as the control does.
struct TCanvasItem : TObject {
  TCoolListBox* List = nullptr;
  void Draw(TWinControl*, int Index, TRect R, TOwnerDrawState) {
    TCanvas* C = List->Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(R);
    C->Font()->SetColor(Ink);
    C->TextOut(R.Left + 10, R.Top, List->Items()->Get(Index));
  }
};

TEST(CoolBiDi, ACanvasDrawingItemsWritesInTheControlsReadingOrder) {
  TTestHost Host(320, 200);
  auto* L = static_cast<TCoolListBox*>(MakeItems<TCoolListBox>(Host).Control);
  TCanvasItem Item;
  Item.List = L;
  L->OnDrawItem = TDrawItemEvent::Bind<&TCanvasItem::Draw>(&Item);
  const TReadings Readings(L->Font());
  for (TBiDiMode Mode : {bdRightToLeftReadingOnly, bdLeftToRight}) {
    SCOPED_TRACE(Name(Mode));
    L->SetBiDiMode(Mode);
    auto B = DrawItemImage(L, 0, 0);
    EXPECT_EQ(Pattern(*B, InkBox(*B)), Mode == bdLeftToRight ? Readings.LeftToRight : Readings.RightToLeft);
  }
}

TEST(CoolBiDi, TheListBoxTogglesTheCheckAreaWhereItIsDrawn) {
  for (const TModeCase& K : Modes) {
    SCOPED_TRACE(Name(K.Mode));
    TTestHost Host(320, 200);
    auto* L = static_cast<TCoolListBox*>(MakeItems<TCoolListBox>(Host).Control);
    L->SetBiDiMode(K.Mode);
    L->HandleNeeded();
    const TRect Item = L->ItemRect(0);
    const int AtCheck = K.Mirrored ? Item.Right - 6 : Item.Left + 6;
    const int AtOtherEnd = K.Mirrored ? Item.Left + 6 : Item.Right - 6;
    vcltest::SendMouse(L->Handle(), WM_LBUTTONDOWN, AtOtherEnd, Item.Top + 5, MK_LBUTTON);
    vcltest::SendMouse(L->Handle(), WM_LBUTTONUP, AtOtherEnd, Item.Top + 5, 0);
    EXPECT_TRUE(L->Checked(0)) << "a click away from the check area leaves it";
    vcltest::SendMouse(L->Handle(), WM_LBUTTONDOWN, AtCheck, Item.Top + 5, MK_LBUTTON);
    vcltest::SendMouse(L->Handle(), WM_LBUTTONUP, AtCheck, Item.Top + 5, 0);
    EXPECT_FALSE(L->Checked(0)) << "a click on the check area toggles it";
  }
}

TEST(CoolBiDi, TheComboBoxsDropDownButtonMovesToTheLeft) {
  for (const TModeCase& K : Modes) {
    SCOPED_TRACE(Name(K.Mode));
    TTestHost Host(320, 200);
    auto* C = static_cast<TCoolComboBox*>(MakeItems<TCoolComboBox>(Host).Control);
    C->SetBiDiMode(K.Mode);
    ExpectBiDiExStyles(C->Handle(), K);
    COMBOBOXINFO Info{};
    Info.cbSize = sizeof Info;
    ASSERT_TRUE(GetComboBoxInfo(C->Handle(), &Info));
    const bool AtLeft = Info.rcButton.right <= C->ClientWidth() / 2;
    if (K.Mirrored && UnderWine()) {
      // Wine's combo box keeps its button at the right whatever the extended styles say.
      EXPECT_FALSE(AtLeft) << "Wine moves the button now: expect it at the left there too";
    } else {
      EXPECT_EQ(AtLeft, K.Mirrored);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Edits

struct TEditCase {
  const char* Name;
  std::function<TCustomEdit*(TTestHost&)> Make;
};

template <class T> TCustomEdit* MakeEdit(TTestHost& Host) {
  auto* E = Host.Add<T>(20, 20, 220, 26);
  E->SetText(Caption);
  E->Font()->SetColor(Ink);
  E->SetColor(clWhite);
  return E;
}

const TEditCase Edits[] = {
    {"edit", MakeEdit<TCoolEdit>},
    {"edit with button", MakeEdit<TCoolEditBtn>},
    {"memo", MakeEdit<TCoolMemo>},
};

TEST(CoolBiDi, EditsTakeTheExtendedStylesAndMirrorTheirText) {
  for (const TEditCase& C : Edits)
    for (const TModeCase& K : Modes) {
      SCOPED_TRACE(std::string(C.Name) + " " + Name(K.Mode));
      TTestHost Host(320, 200);
      TCustomEdit* E = C.Make(Host);
      const TReadings Readings(E->Font());
      E->HandleNeeded();
      const HWND Before = E->Handle();
      E->SetBiDiMode(K.Mode);  // the window is made again with the new styles
      EXPECT_NE(E->Handle(), Before);
      PumpMessages();
      ExpectBiDiExStyles(E->Handle(), K);
      const DWORD Style = DWORD(GetWindowLongPtrA(E->Handle(), GWL_STYLE));
      EXPECT_EQ(Style & (ES_RIGHT | ES_CENTER), K.Mirrored ? DWORD(ES_RIGHT) : 0u) << "TextAlign taLeftJustify mirrored";
      EXPECT_EQ(E->Text(), Caption);

      RECT Format{};
      SendMessageA(E->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Format));
      auto Shot = vcltest::CaptureClient(E->Handle());
      const TRect Text = InkBox(*Shot);
      ASSERT_FALSE(Text.IsEmpty());
      if (K.Mirrored) {
        EXPECT_LE(Text.Right, Format.right);
        EXPECT_GE(Text.Right, Format.right - 3) << "the text ends at the right margin";
      } else {
        EXPECT_GE(Text.Left, Format.left);
        EXPECT_LE(Text.Left, Format.left + 3) << "the text starts at the left margin";
      }
      if (auto* Btn = dynamic_cast<TCoolEditBtn*>(E)) {
        const int BL = Btn->Button()->Left(), BR = BL + Btn->Button()->Width();
        EXPECT_EQ(BL == 0, K.Mirrored) << "the button inside the left end when mirrored";
        EXPECT_TRUE(Text.Right <= BL || Text.Left >= BR) << "the text keeps clear of the button";
        EXPECT_TRUE(K.Mirrored ? Format.left >= BR : Format.right <= BL);
      }
      if (UnderWine()) {
        // Wine's edit control lays its text out left to right whatever WS_EX_RTLREADING says.
        EXPECT_EQ(Pattern(*Shot, Text), Readings.LeftToRight) << "Wine's edit reads right to left now";
      } else {
        EXPECT_EQ(Pattern(*Shot, Text), Readings.RightToLeft);
      }
    }
}

TEST(CoolBiDi, ChildrenFollowTheirParentsModeIntoNewWindows) {
  TTestHost Host(320, 200);
  auto* P = Host.Add<TPanel>(0, 0, 300, 100);
  auto* E = TComponent::Create<TCoolEdit>(P);
  E->SetBounds(10, 10, 200, 26);
  E->SetParent(P);
  E->SetText(Caption);
  E->HandleNeeded();
  ASSERT_TRUE(E->ParentBiDiMode());
  auto Ex = [&] { return DWORD(GetWindowLongPtrA(E->Handle(), GWL_EXSTYLE)) & (WS_EX_RTLREADING | WS_EX_RIGHT); };
  P->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(E->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(Ex(), DWORD(WS_EX_RTLREADING | WS_EX_RIGHT));
  P->SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(Ex(), DWORD(WS_EX_RTLREADING));
  P->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(Ex(), 0u);
  EXPECT_EQ(E->Text(), Caption);
}

}  // namespace
