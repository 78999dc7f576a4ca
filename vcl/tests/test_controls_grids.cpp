// The string grid in a real window: sparse cells, counts and moves, scrolling by bar, keys and
// wheel, painting, the in-place editor, and sizing and moving with the mouse.
#include "vcl/Grids.h"
#include "vcl/tests/vcltest.h"
#include "rtl/tests/default_check.h"
#include "rtl/Streaming.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vcltest::PumpMessages;
using vcltest::TTestHost;

// The grid with its protected moves in reach.
class TTestGrid : public TStringGrid {
public:
  explicit TTestGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
  using TCustomGrid::DeleteRow;
  using TCustomGrid::MoveColumn;
  using TCustomGrid::MoveRow;
};

struct TMoveLog : TObject {
  std::vector<std::pair<int, int>> Moves;
  void Moved(TObject*, int From, int To) { Moves.push_back({From, To}); }
};

// Column texts of row R as one string, "|" between cells.
std::string RowText(TStringGrid* G, int R) {
  std::string S;
  for (int C = 0; C < G->ColCount(); ++C) S += (C ? "|" : "") + G->Cells(C, R).str();
  return S;
}

void Key(TWinControl* C, unsigned short VK) {
  SendMessageA(C->Handle(), WM_KEYDOWN, VK, 1);
  SendMessageA(C->Handle(), WM_KEYUP, VK, LPARAM(0xC0000001));
  PumpMessages();
}

TEST(StringGrid, DefaultsAndSparseCells) {
  auto* G = TComponent::Create<TTestGrid>(nullptr);
  ExpectDefaultsMatch(G);
  EXPECT_EQ(G->ColCount(), 5);
  EXPECT_EQ(G->RowCount(), 5);
  EXPECT_EQ(G->Col(), 1);
  EXPECT_EQ(G->Row(), 1);
  G->SetCells(2, 3, "x");
  G->SetCells(40, 4000, "far");
  EXPECT_EQ(G->CellsWithText(), 2) << "only cells with text take memory";
  EXPECT_EQ(G->Cells(40, 4000), "far") << "kept outside the grid";
  G->SetCells(2, 3, "");
  EXPECT_EQ(G->CellsWithText(), 1);
  for (auto Bad : {std::pair{-1, 0}, std::pair{0, -1}}) {
    EXPECT_THROW(G->SetCells(Bad.first, Bad.second, "y"), EInvalidGridOperation);
    EXPECT_THROW(G->Cells(Bad.first, Bad.second), EInvalidGridOperation);
  }
  EXPECT_THROW(G->ColWidths(5), EInvalidGridOperation);
  EXPECT_THROW(G->SetFixedCols(5), EInvalidGridOperation);
  EXPECT_THROW(G->SetFixedRows(5), EInvalidGridOperation);
  TObject::Free(G);
}

TEST(StringGrid, MovesAndDeletesCarryTextsWidthsAndTheCurrentCell) {
  auto* G = TComponent::Create<TTestGrid>(nullptr);
  TMoveLog Log;
  G->OnColumnMoved = EVENT(&Log, TMoveLog::Moved);
  for (int C = 0; C < 5; ++C) G->SetCells(C, 1, std::string(1, char('a' + C)));
  G->SetColWidths(1, 11);
  G->SetCol(3);
  G->MoveColumn(1, 3);
  EXPECT_EQ(RowText(G, 1), "a|c|d|b|e");
  EXPECT_EQ(G->ColWidths(3), 11);
  EXPECT_EQ(G->Col(), 2) << "the current column shifts with the others";
  G->MoveColumn(4, 0);
  EXPECT_EQ(RowText(G, 1), "e|a|c|d|b");
  EXPECT_EQ(Log.Moves, (std::vector<std::pair<int, int>>{{1, 3}, {4, 0}}));

  // A deleted row's texts go with it: rows added later start empty.
  for (int R = 0; R < 5; ++R) G->SetCells(0, R, "r" + std::to_string(R));
  G->DeleteRow(2);
  EXPECT_EQ(G->RowCount(), 4);
  EXPECT_EQ(G->Cells(0, 2), "r3");
  G->SetRowCount(5);
  EXPECT_EQ(G->Cells(0, 4), "") << "the deleted row does not come back";
  TObject::Free(G);
}

TEST(StringGrid, FormsKeepTheSizesThatDifferFromTheDefaults) {
  auto* G = TComponent::Create<TTestGrid>(nullptr);
  G->SetName("Grid1");
  G->SetColCount(3);
  G->SetColWidths(1, 90);
  TMemoryStream Bin;
  WriteComponentRes(&Bin, G);
  Bin.SetPosition(0);
  TStringStream Text;
  ObjectBinaryToText(&Bin, &Text);
  EXPECT_NE(Text.DataString().Pos("ColWidths = (\r\n    64\r\n    90\r\n    64)"), 0) << Text.DataString();
  EXPECT_EQ(Text.DataString().Pos("RowHeights"), 0) << "all rows at the default";
  Bin.SetPosition(0);
  auto* Back = TComponent::Create<TTestGrid>(nullptr);
  ReadComponentRes(&Bin, Back);
  EXPECT_EQ(Back->ColCount(), 3);
  EXPECT_EQ(Back->ColWidths(1), 90);
  EXPECT_EQ(Back->ColWidths(2), 64);
  TObject::Free(Back);
  TObject::Free(G);
}

class TGridWindow : public testing::Test {
protected:
  TTestHost Host{320, 240};
  TTestGrid* G = nullptr;
  void SetUp() override {
    G = Host.Add<TTestGrid>(0, 0, 300, 200);
    G->SetRowCount(100);
    G->SetColCount(20);
    for (int R = 0; R < 100; ++R) G->SetCells(0, R, std::to_string(R).c_str());
    Host.Frame().Activate();
    ::SetFocus(G->Handle());
    PumpMessages();
  }
  int ScrollPos(int Bar) {
    SCROLLINFO SI{};
    SI.cbSize = sizeof SI;
    SI.fMask = SIF_POS;
    GetScrollInfo(G->Handle(), Bar, &SI);
    return SI.nPos;
  }
  void Scroll(int Code) {
    SendMessageA(G->Handle(), WM_VSCROLL, WPARAM(Code), 0);
    PumpMessages();
  }
};

TEST_F(TGridWindow, ScrollsByBarKeysAndWheel) {
  const int Page = G->VisibleRowCount();
  ASSERT_GT(Page, 2);
  EXPECT_EQ(Page, (G->ClientHeight() - 25) / 25);
  EXPECT_NE(GetWindowLongA(G->Handle(), GWL_STYLE) & WS_VSCROLL, 0);

  Scroll(SB_LINEDOWN);
  EXPECT_EQ(G->TopRow(), 2);
  Scroll(SB_PAGEDOWN);
  EXPECT_EQ(G->TopRow(), 2 + Page);
  EXPECT_EQ(ScrollPos(SB_VERT), G->TopRow());
  Scroll(SB_BOTTOM);
  EXPECT_EQ(G->TopRow(), 100 - Page) << "the last row shows wholly at the bottom";
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(G->TopRow(), 100 - Page);
  Scroll(SB_TOP);
  EXPECT_EQ(G->TopRow(), 1);

  Key(G, VK_NEXT);
  EXPECT_EQ(G->Row(), 1 + Page);
  EXPECT_EQ(G->TopRow(), 1 + Page) << "a page down moves the view by a page too";
  Key(G, VK_UP);
  EXPECT_EQ(G->Row(), Page);
  EXPECT_EQ(G->TopRow(), Page) << "the view follows the current row";
  BYTE Keys[256] = {};
  GetKeyboardState(Keys);
  Keys[VK_CONTROL] = 0x80;
  SetKeyboardState(Keys);
  Key(G, VK_END);
  Keys[VK_CONTROL] = 0;
  SetKeyboardState(Keys);
  EXPECT_EQ(G->Row(), 99);
  EXPECT_EQ(G->TopRow(), 100 - Page);

  // The wheel moves the current row one per notch; the view follows.
  G->SetRow(1);
  EXPECT_EQ(G->TopRow(), 1);
  for (int I = 0; I < Page + 2; ++I) SendMessageA(G->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  EXPECT_EQ(G->Row(), Page + 3);
  EXPECT_EQ(G->TopRow(), 4);
  SendMessageA(G->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(3 * WHEEL_DELTA)), 0);
  EXPECT_EQ(G->Row(), Page);
}

TEST_F(TGridWindow, PaintsFixedSelectedAndPlainCells) {
  G->SetFixedColor(clTeal);
  G->SetColor(clYellow);
  G->SetCells(2, 2, "");
  G->SetRow(2);
  G->SetCol(2);
  ::SetFocus(Host.Window());
  PumpMessages();
  auto Shot = vcltest::CaptureClient(G->Handle());
  auto Pixel = [&](int C, int R) {
    const TRect Cell = G->CellRect(C, R);
    return Shot->Canvas()->Pixels(Cell.Right - 3, Cell.Bottom - 3);
  };
  EXPECT_EQ(Pixel(0, 2), clTeal);
  EXPECT_EQ(Pixel(2, 0), clTeal);
  EXPECT_EQ(Pixel(3, 3), clYellow);
  EXPECT_EQ(Pixel(2, 2), ColorToRGB(clHighlight)) << "the selection without the focus";
  const TRect Cell = G->CellRect(3, 3);
  EXPECT_EQ(Shot->Canvas()->Pixels(Cell.Right, Cell.Top + 5), clSilver) << "a grid line";
  EXPECT_EQ(Shot->Canvas()->Pixels(G->CellRect(0, 3).Right, Cell.Top + 5), clBlack) << "a line of the fixed column";
  // The text of a cell, drawn 2 pixels in.
  int Dark = 0;
  const TRect Label = G->CellRect(0, 5);
  for (int Y = Label.Top + 2; Y < Label.Bottom; ++Y)
    for (int X = Label.Left + 2; X < Label.Left + 12; ++X)
      if (Shot->Canvas()->Pixels(X, Y) == clBlack) ++Dark;
  EXPECT_GT(Dark, 5);
}

TEST_F(TGridWindow, EditorWritesCellsAndEscapePutsTheTextBack) {
  G->SetOptions(G->Options() | GridOption(goEditing));
  G->SetCells(1, 1, "old");
  Key(G, VK_F2);
  ASSERT_TRUE(G->EditorMode());
  TInplaceEdit* E = G->InplaceEditor();
  ASSERT_NE(E, nullptr);
  EXPECT_TRUE(IsWindowVisible(E->Handle()));
  EXPECT_EQ(GetFocus(), E->Handle());
  EXPECT_EQ(E->Text(), "old");
  const TRect Cell = G->CellRect(1, 1);
  EXPECT_EQ(E->BoundsRect(), Cell);

  for (char Ch : std::string("new")) SendMessageA(E->Handle(), WM_CHAR, WPARAM(Ch), 1);
  PumpMessages();
  EXPECT_EQ(G->Cells(1, 1), "new") << "the text goes to the cell as it changes";
  Key(E, VK_ESCAPE);
  EXPECT_FALSE(G->EditorMode());
  EXPECT_EQ(G->Cells(1, 1), "old");
  EXPECT_FALSE(IsWindowVisible(E->Handle()));
  EXPECT_EQ(GetFocus(), G->Handle());

  // Typing on the grid opens the editor with the character; Enter closes it, keeping the text.
  SendMessageA(G->Handle(), WM_CHAR, 'z', 1);
  PumpMessages();
  EXPECT_TRUE(G->EditorMode());
  EXPECT_EQ(E->Text(), "z");
  SendMessageA(E->Handle(), WM_CHAR, '\r', 1);
  PumpMessages();
  EXPECT_FALSE(G->EditorMode());
  EXPECT_EQ(G->Cells(1, 1), "z");
}

TEST_F(TGridWindow, MouseSizesAndMovesColumns) {
  G->SetOptions(G->Options() | GridOption(goColSizing) | GridOption(goColMoving));
  TMoveLog Log;
  G->OnColumnMoved = EVENT(&Log, TMoveLog::Moved);
  for (int C = 0; C < 4; ++C) G->SetCells(C, 0, std::string(1, char('A' + C)));
  const HWND W = G->Handle();
  // The line right of column 1, in the fixed row, dragged 30 pixels to the right.
  const int Line = G->CellRect(1, 0).Right;
  vcltest::SendMouse(W, WM_LBUTTONDOWN, Line, 5, MK_LBUTTON);
  vcltest::SendMouse(W, WM_MOUSEMOVE, Line + 30, 5, MK_LBUTTON);
  vcltest::SendMouse(W, WM_LBUTTONUP, Line + 30, 5);
  EXPECT_EQ(G->ColWidths(1), 94);
  EXPECT_TRUE(Log.Moves.empty());

  // Fixed cell of column 1 dropped on column 3.
  const TRect From = G->CellRect(1, 0), To = G->CellRect(3, 0);
  vcltest::SendMouse(W, WM_LBUTTONDOWN, From.Left + 20, 5, MK_LBUTTON);
  vcltest::SendMouse(W, WM_MOUSEMOVE, To.Left + 20, 5, MK_LBUTTON);
  vcltest::SendMouse(W, WM_LBUTTONUP, To.Left + 20, 5);
  EXPECT_EQ(Log.Moves, (std::vector<std::pair<int, int>>{{1, 3}}));
  EXPECT_EQ(RowText(G, 0), "A|C|D|B" + std::string(16, '|'));
  EXPECT_EQ(G->ColWidths(3), 94) << "the width goes with the column";
}

}  // namespace
