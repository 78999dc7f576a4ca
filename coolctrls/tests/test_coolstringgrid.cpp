// The cool string grid: the cell stream byte for byte and against bad input, files, the real
// clipboard (read back by another process), the HTML table, cell attributes and their wrappers
// through moves, inserts and deletes, editing, painting, scrolling and the caption bar.
#include "coolctrls/CoolCtrls.h"
#include "coolctrls/CoolGridStream.h"
#include "rtl/tests/default_check.h"
#include "vcl/Clipbrd.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using vcltest::PumpMessages;
using vcltest::TTestHost;
using Bytes = std::vector<uint8_t>;

// The grid with its protected moves in reach.
class TTestCoolGrid : public TCoolStringGrid {
public:
  explicit TTestCoolGrid(TComponent* AOwner) : TCoolStringGrid(AOwner) {}
  using TCustomGrid::MoveColumn;
  using TCustomGrid::MoveRow;
};

struct TGridFree {
  void operator()(TObject* O) const { TObject::Free(O); }
};
using TGridPtr = std::unique_ptr<TTestCoolGrid, TGridFree>;
TGridPtr NewGrid() { return TGridPtr(TComponent::Create<TTestCoolGrid>(nullptr)); }

Bytes StreamBytes(TCoolStringGrid* G) {
  TMemoryStream S;
  G->SaveToStream(&S);
  const auto* P = static_cast<const uint8_t*>(S.Memory());
  return Bytes(P, P + S.Size());
}

void Load(TCoolStringGrid* G, const Bytes& B) {
  TReadOnlyMemoryStream S(B.data(), int64_t(B.size()));
  G->LoadFromStream(&S);
}

Bytes Cat(std::initializer_list<Bytes> Parts) {
  Bytes R;
  for (const Bytes& P : Parts) R.insert(R.end(), P.begin(), P.end());
  return R;
}
Bytes Text(const std::string& S) { return Bytes(S.begin(), S.end()); }

std::string TempFile(const char* Name) {
  char Dir[MAX_PATH];
  GetTempPathA(MAX_PATH, Dir);
  return std::string(Dir) + Name;
}

std::string ReadAll(const std::string& Path) {
  std::ifstream F(Path, std::ios::binary);
  std::stringstream S;
  S << F.rdbuf();
  return S.str();
}

TEST(CoolStringGrid, DefaultsAndTheClipboardFormat) {
  ExpectClassDefaultsMatch(TCoolStringGrid::StaticClass());
  auto G = NewGrid();
  EXPECT_EQ(G->GridDataFormat(), RegisterClipboardFormatA("GRID DATA"));
  EXPECT_GE(G->GridDataFormat(), 0xC000u);
}

// ----- the cell stream

TEST(CoolGridStream, WritesEachTextCellColumnByColumnInTheValueEncoding) {
  const std::string S255(255, 's'), S256(256, 't');
  struct Case {
    const char* Name;
    int Cols;
    std::vector<std::tuple<int, int, std::string>> Cells;
    Bytes Expected;
  } const Cases[] = {
      {"the example", 5, {{1, 2, "abc"}}, {0x02, 0x01, 0x02, 0x02, 0x06, 0x03, 'a', 'b', 'c'}},
      {"an empty grid", 5, {}, {}},
      {"column before row", 5, {{1, 0, "a"}, {0, 1, "b"}},
       {0x02, 0, 0x02, 1, 0x06, 1, 'b', 0x02, 1, 0x02, 0, 0x06, 1, 'a'}},
      {"127", 200, {{127, 0, "x"}}, {0x02, 0x7F, 0x02, 0, 0x06, 1, 'x'}},
      {"128", 200, {{128, 0, "x"}}, {0x03, 0x80, 0x00, 0x02, 0, 0x06, 1, 'x'}},
      {"32767", 32769, {{32767, 0, "x"}}, {0x03, 0xFF, 0x7F, 0x02, 0, 0x06, 1, 'x'}},
      {"32768", 32769, {{32768, 0, "x"}}, {0x04, 0x00, 0x80, 0x00, 0x00, 0x02, 0, 0x06, 1, 'x'}},
      {"255 characters", 5, {{0, 0, S255}}, Cat({{0x02, 0, 0x02, 0, 0x06, 0xFF}, Text(S255)})},
      {"256 characters", 5, {{0, 0, S256}}, Cat({{0x02, 0, 0x02, 0, 0x0C, 0x00, 0x01, 0x00, 0x00}, Text(S256)})},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    auto G = NewGrid();
    G->SetColCount(K.Cols);
    G->SetRowCount(3);
    G->SetCells(3, 7, "outside the grid: not written");
    for (auto& [C, R, T] : K.Cells) G->SetCells(C, R, T.c_str());
    G->SetColors(1, 1, clRed);
    EXPECT_EQ(StreamBytes(G.get()), K.Expected);
    auto Back = NewGrid();
    Load(Back.get(), K.Expected);
    for (auto& [C, R, T] : K.Cells) EXPECT_EQ(Back->Cells(C, R), T.c_str());
    EXPECT_EQ(Back->CellsWithText(), int(K.Cells.size()));
  }
  // Negative numbers take the same tags (a stream naming one is refused when read: below).
  TMemoryStream S;
  TGridCellWriter W(&S);
  W.Write(-128, -129, "n");
  const auto* P = static_cast<const uint8_t*>(S.Memory());
  EXPECT_EQ(Bytes(P, P + S.Size()), (Bytes{0x02, 0x80, 0x03, 0x7F, 0xFF, 0x06, 1, 'n'}));
}

TEST(CoolGridStream, FilesRoundTripTheTextsButNoAttributes) {
  auto G = NewGrid();
  G->SetCells(0, 0, "head");
  G->SetCells(4, 4, "corner");
  G->SetCells(2, 1, std::string(300, 'L').c_str());
  G->SetColors(2, 1, clRed);
  const std::string Path = TempFile("orvalen_grid.dat");
  G->SaveToFile(Path.c_str());
  auto Back = NewGrid();
  Back->SetCells(3, 3, "kept");
  Back->LoadFromFile(Path.c_str());
  EXPECT_EQ(Back->Cells(0, 0), "head");
  EXPECT_EQ(Back->Cells(4, 4), "corner");
  EXPECT_EQ(Back->Cells(2, 1).Length(), 300);
  EXPECT_EQ(Back->Cells(3, 3), "kept") << "loading does not clear the grid";
  EXPECT_EQ(Back->Colors(2, 1), Back->Color());
  EXPECT_EQ(Back->WrapperCount(), 0);
  DeleteFileA(Path.c_str());
  EXPECT_THROW(Back->LoadFromFile(Path.c_str()), EFOpenError);
}

TEST(CoolGridStream, BadInputRaisesAndChangesNothing) {
  const Bytes Good = {0x02, 1, 0x02, 1, 0x06, 2, 'a', 'b', 0x02, 2, 0x02, 2, 0x0C, 3, 0, 0, 0, 'x', 'y', 'z',
                      0x03, 0x00, 0x01, 0x02, 0, 0x06, 1, 'q'};
  std::vector<std::pair<std::string, Bytes>> Cases;
  for (size_t Cut = 1; Cut < Good.size(); ++Cut)
    if (Cut != 8 && Cut != 20) Cases.push_back({"cut at " + std::to_string(Cut), Bytes(Good.begin(), Good.begin() + Cut)});
  Cases.push_back({"a text with an identifier's tag", {0x02, 1, 0x02, 1, 0x07, 1, 'a'}});
  Cases.push_back({"an integer with a float's tag", {0x05, 1, 0x02, 1, 0x06, 1, 'a'}});
  Cases.push_back({"a length beyond the data", {0x02, 1, 0x02, 1, 0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}});
  Cases.push_back({"a negative length", {0x02, 1, 0x02, 1, 0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}});
  Cases.push_back({"a negative column", {0x02, 0xFF, 0x02, 1, 0x06, 1, 'a'}});
  Cases.push_back({"a negative row", {0x02, 1, 0x03, 0x00, 0x80, 0x06, 1, 'a'}});
  Cases.push_back({"one byte of garbage after the cells", Cat({Good, {0x01}})});
  Cases.push_back({"garbage after the padding", Cat({Good, {0, 0, 0, 0x02}})});
  for (auto& [Name, Input] : Cases) {
    SCOPED_TRACE(Name);
    auto G = NewGrid();
    G->SetCells(1, 1, "mine");
    G->SetColors(1, 1, clBlue);
    try {
      Load(G.get(), Input);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& E) {
      EXPECT_NE(E.Message().Pos(" at offset "), 0) << E.Message();
    }
    EXPECT_EQ(G->Cells(1, 1), "mine");
    EXPECT_EQ(G->CellsWithText(), 1);
    EXPECT_EQ(G->WrapperCount(), 1);
  }
  // Where a cell would start, zeros to the end are padding.
  auto G = NewGrid();
  Load(G.get(), Cat({Good, Bytes(16, 0)}));
  EXPECT_EQ(G->Cells(1, 1), "ab");
  EXPECT_EQ(G->Cells(2, 2), "xyz");
  EXPECT_EQ(G->Cells(256, 0), "q");
  EXPECT_EQ(G->CellsWithText(), 3);
  Load(G.get(), Bytes(5, 0));
  EXPECT_EQ(G->CellsWithText(), 3);
}

// ----- the clipboard

std::string ModuleDir() {
  char Path[MAX_PATH];
  GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string S = Path;
  return S.substr(0, S.find_last_of("\\/") + 1);
}

// The "GRID DATA" block as another process reads it: its exit code and the bytes.
std::pair<DWORD, std::string> ReadBackInAnotherProcess() {
  const std::string Out = TempFile("orvalen_clipread.bin");
  DeleteFileA(Out.c_str());
  std::string Cmd = "\"" + ModuleDir() + ORVALEN_CLIPREADER_EXE + "\" \"" + Out + "\"";
  STARTUPINFOA SI{};
  SI.cb = sizeof SI;
  PROCESS_INFORMATION PI{};
  if (!CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &SI, &PI)) return {~0u, ""};
  WaitForSingleObject(PI.hProcess, 60000);
  DWORD Code = ~0u;
  GetExitCodeProcess(PI.hProcess, &Code);
  CloseHandle(PI.hThread);
  CloseHandle(PI.hProcess);
  std::string Data = ReadAll(Out);
  DeleteFileA(Out.c_str());
  return {Code, Data};
}

// Puts B on the clipboard as "GRID DATA" by hand.
void PutGridBlock(const Bytes& B) {
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, B.size());
  std::memcpy(GlobalLock(Mem), B.data(), B.size());
  GlobalUnlock(Mem);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(RegisterClipboardFormatA("GRID DATA"), Mem);
  CloseClipboard();
}

bool ClipboardClosed() {
  if (!OpenClipboard(nullptr)) return false;
  CloseClipboard();
  return true;
}

TEST(CoolGridClipboard, TheBlockIsTheStreamAndAnotherProcessReadsIt) {
  auto G = NewGrid();
  G->SetCells(0, 0, "GS1");
  G->SetCells(3, 2, "303415E98C0A11800000A3C8");
  const Bytes Stream = StreamBytes(G.get());
  G->CopyToClipboard();
  EXPECT_TRUE(ClipboardClosed());
  {
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE H = GetClipboardData(G->GridDataFormat());
    ASSERT_NE(H, nullptr);
    ASSERT_EQ(GlobalSize(H), Stream.size());
    const auto* P = static_cast<const uint8_t*>(GlobalLock(H));
    EXPECT_EQ(Bytes(P, P + Stream.size()), Stream);
    GlobalUnlock(H);
    CloseClipboard();
  }
  const auto [Code, Data] = ReadBackInAnotherProcess();
  ASSERT_EQ(Code, 0u);
  EXPECT_EQ(Bytes(Data.begin(), Data.end()), Stream);

  auto Back = NewGrid();
  Back->PasteFromClipboard();
  EXPECT_EQ(Back->Cells(3, 2), "303415E98C0A11800000A3C8");
  EXPECT_EQ(Back->Cells(0, 0), "GS1");
  EXPECT_TRUE(ClipboardClosed());
}

TEST(CoolGridClipboard, PaddingIsIgnoredAndAHostileBlockChangesNothing) {
  auto G = NewGrid();
  PutGridBlock(Cat({{0x02, 1, 0x02, 2, 0x06, 3, 'a', 'b', 'c'}, Bytes(16, 0)}));
  G->PasteFromClipboard();
  EXPECT_EQ(G->Cells(1, 2), "abc");
  EXPECT_EQ(G->CellsWithText(), 1) << "the padding holds no cells";

  const Bytes Hostile = {0x02, 1, 0x02, 1, 0x06, 0xFF, 'x', 0, 0};
  PutGridBlock(Hostile);
  EXPECT_THROW(G->PasteFromClipboard(), EReadError);
  EXPECT_EQ(G->Cells(1, 2), "abc");
  EXPECT_EQ(G->Cells(1, 1), "");
  EXPECT_TRUE(ClipboardClosed());
  const auto [Code, Data] = ReadBackInAnotherProcess();
  EXPECT_EQ(Code, 0u);
  EXPECT_EQ(Bytes(Data.begin(), Data.end()), Hostile) << "the clipboard keeps its block";

  // Nothing of the format: nothing happens.
  Clipboard()->Clear();
  G->PasteFromClipboard();
  EXPECT_EQ(G->CellsWithText(), 1);
}

// A movable block of no bytes is born discarded: it cannot be locked.
HGLOBAL WINAPI UnlockableBlock(UINT Flags, SIZE_T) { return GlobalAlloc(Flags, 0); }

TEST(CoolGridClipboard, ABlockThatCannotBeLockedLeavesTheClipboardAlone) {
  auto G = NewGrid();
  G->SetCells(1, 1, "cell");
  Clipboard()->SetAsText("before");
  const TGridClipboardAlloc Old = SetGridClipboardAlloc(&UnlockableBlock);
  EXPECT_THROW(G->CopyToClipboard(), EOutOfMemory);
  SetGridClipboardAlloc(Old);
  EXPECT_TRUE(ClipboardClosed());
  EXPECT_FALSE(Clipboard()->HasFormat(G->GridDataFormat()));
  EXPECT_EQ(Clipboard()->AsText(), "before");
  {
    HGLOBAL Probe = UnlockableBlock(GMEM_MOVEABLE, 1);
    EXPECT_EQ(GlobalLock(Probe), nullptr) << "the stand-in block really cannot be locked";
    GlobalFree(Probe);
  }
  G->CopyToClipboard();
  EXPECT_TRUE(Clipboard()->HasFormat(G->GridDataFormat())) << "the system's allocator again";
}

TEST(CoolGridClipboard, CellTextCopyCutAndPaste) {
  auto G = NewGrid();
  G->SetCells(1, 1, "one");
  G->CopyToClipboardCell(1, 1);
  EXPECT_EQ(Clipboard()->AsText(), "one");
  G->PasteFromClipboardCell(2, 2);
  EXPECT_EQ(G->Cells(2, 2), "one");
  G->SetCells(3, 3, "moved");
  G->CutToClipboardCell(3, 3);
  EXPECT_EQ(G->Cells(3, 3), "");
  EXPECT_EQ(Clipboard()->AsText(), "moved");
  Clipboard()->SetAsText(std::string(70000, 'z').c_str());
  G->PasteFromClipboardCell(0, 0);
  EXPECT_EQ(G->Cells(0, 0).Length(), 65535);
  EXPECT_TRUE(ClipboardClosed());
}

// ----- the HTML table

std::string Hex(TColor C) {
  const TColor RGB = ColorToRGB(C);
  char B[8];
  std::snprintf(B, sizeof B, "%02X%02X%02X", unsigned(RGB & 0xFF), unsigned((RGB >> 8) & 0xFF),
                unsigned((RGB >> 16) & 0xFF));
  return B;
}

TEST(CoolGridHTML, TheWholeFileOfASmallGridWhateverIsScrolledIntoView) {
  TTestHost Host;
  auto* G = Host.Add<TCoolStringGrid>(0, 0, 100, 60);
  G->SetColCount(3);
  G->SetRowCount(3);
  G->SetFixedCols(0);
  G->SetColor(clWhite);
  G->SetFixedTextAlign(taCenter);
  G->SetTextAlign(taRightJustify);
  G->SetColWidths(1, 80);
  G->SetRowHeights(1, 30);
  G->SetCells(0, 0, "Hex");
  G->SetCells(1, 0, "EPC");
  G->SetCells(0, 1, "303415");
  G->SetColors(0, 1, clRed);
  G->SetCells(1, 1, "<b>x</b>");
  G->SetColors(1, 1, clBlue);
  G->SetCellTextAligns(1, 1, taLeftJustify);  // per-cell alignments are not exported
  G->SetCells(2, 2, "end");

  const std::string Face = Hex(clBtnFace);
  auto Td = [](const std::string& Colour, int W, int H, const char* Align, const std::string& Text) {
    return "<TD BGCOLOR=\"#" + Colour + "\" WIDTH=\"" + std::to_string(W) + "\" HEIGHT=\"" + std::to_string(H) +
           "\" ALIGN=\"" + Align + "\">" + Text + "</TD>\r\n";
  };
  const std::string Expected =
      "<HTML>\r\n<BODY>\r\n\r\n<TABLE CELLPADDING=\"1\" CELLSPACING=\"1\" WIDTH=100 HEIGHT=60 BORDER=\"1\">\r\n"
      "<TR>\r\n" + Td(Face, 64, 24, "CENTER", "Hex") + Td(Face, 80, 24, "CENTER", "EPC") +
      Td(Face, 64, 24, "CENTER", "&nbsp;") + "</TR>\r\n"
      "<TR>\r\n" + Td("FF0000", 64, 30, "RIGHT", "303415") + Td("0000FF", 80, 30, "RIGHT", "<b>x</b>") +
      Td("FFFFFF", 64, 30, "RIGHT", "&nbsp;") + "</TR>\r\n"
      "<TR>\r\n" + Td("FFFFFF", 64, 24, "RIGHT", "&nbsp;") + Td("FFFFFF", 80, 24, "RIGHT", "&nbsp;") +
      Td("FFFFFF", 64, 24, "RIGHT", "end") + "</TR>\r\n"
      "</TABLE>\r\n\r\n</BODY>\r\n</HTML>\r\n";
  const std::string Path = TempFile("orvalen_grid.html");
  G->SaveToHTMLFile(Path.c_str());
  EXPECT_EQ(ReadAll(Path), Expected);

  G->SetTopRow(2);
  G->SetLeftCol(2);
  ASSERT_TRUE(G->CellRect(0, 1).IsEmpty()) << "scrolled out of view";
  G->SaveToHTMLFile(Path.c_str());
  EXPECT_EQ(ReadAll(Path), Expected);
  DeleteFileA(Path.c_str());
}

// ----- attributes and wrappers

TEST(CoolGridCells, AttributesReadWithoutWrappersUntilWritten) {
  auto G = NewGrid();
  G->SetColor(clYellow);
  G->SetFixedColor(clTeal);
  EXPECT_EQ(G->Colors(2, 2), clYellow);
  EXPECT_EQ(G->Colors(0, 2), clTeal);
  EXPECT_FALSE(G->ReadOnlyCells(2, 2));
  EXPECT_FALSE(G->WallpaperForCells(2, 2));
  EXPECT_EQ(G->WrapperCount(), 0) << "reading those makes no wrapper";
  EXPECT_EQ(G->Fonts(2, 2)->Name(), G->Font()->Name());
  EXPECT_EQ(G->WrapperCount(), 1) << "Fonts makes one";
  EXPECT_TRUE(G->WallpaperForCells(2, 2)) << "a new wrapper takes the wallpaper";
  G->SetTextAlign(taCenter);
  G->SetFixedTextAlign(taRightJustify);
  EXPECT_EQ(G->CellTextAligns(3, 3), taCenter);
  EXPECT_EQ(G->CellTextAligns(3, 0), taRightJustify);
  EXPECT_EQ(G->Colors(3, 0), clTeal);
}

TEST(CoolGridCells, ColumnAndRowParametersSkipTheFixedCellsUnlessAsked) {
  auto G = NewGrid();
  G->SetFixedCols(2);
  TFont Bold;
  Bold.SetStyle(FontStyle(fsBold));
  G->SetColumnParameters(3, false, taCenter, &Bold, false, true, clRed);
  EXPECT_FALSE(G->HaveWrapper(3, 0)) << "the fixed row is left alone";
  for (int R = 1; R < G->RowCount(); ++R) {
    SCOPED_TRACE(R);
    EXPECT_EQ(G->Colors(3, R), clRed);
    EXPECT_TRUE(G->ReadOnlyCells(3, R));
    EXPECT_FALSE(G->WallpaperForCells(3, R));
    EXPECT_EQ(G->CellTextAligns(3, R), taCenter);
    EXPECT_EQ(G->Fonts(3, R)->Style(), FontStyle(fsBold));
  }
  G->SetRowParameters(2, false, taRightJustify, nullptr, true, false, clLime);
  EXPECT_FALSE(G->HaveWrapper(0, 2));
  EXPECT_FALSE(G->HaveWrapper(1, 2)) << "both fixed columns are left alone";
  EXPECT_EQ(G->Colors(2, 2), clLime);
  EXPECT_EQ(G->Fonts(3, 2)->Style(), FontStyle(fsBold)) << "no font given: the font stays";
  G->SetColumnParameters(4, true, taLeftJustify, nullptr, true, false, clAqua);
  EXPECT_EQ(G->Colors(4, 0), clAqua);
}

TEST(CoolGridCells, MovesCarryWrappersAsAnIndexTable) {
  struct Case {
    bool Columns;
    int From, To;
    std::vector<int> Order;  // which original index stands at each place afterwards
  } const Cases[] = {
      {true, 1, 3, {0, 2, 3, 1, 4}}, {true, 3, 0, {3, 0, 1, 2, 4}}, {true, 4, 4, {0, 1, 2, 3, 4}},
      {false, 0, 4, {1, 2, 3, 4, 0}}, {false, 2, 1, {0, 2, 1, 3, 4}},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(std::string(K.Columns ? "column " : "row ") + std::to_string(K.From) + " to " + std::to_string(K.To));
    auto G = NewGrid();
    for (int I = 0; I < 5; ++I) {
      const int C = K.Columns ? I : 2, R = K.Columns ? 2 : I;
      G->SetColors(C, R, TColor(0x100 + I));
      G->SetCells(C, R, std::to_string(I).c_str());
    }
    if (K.Columns) G->MoveColumn(K.From, K.To);
    else G->MoveRow(K.From, K.To);
    for (int I = 0; I < 5; ++I) {
      const int C = K.Columns ? I : 2, R = K.Columns ? 2 : I;
      EXPECT_EQ(G->Colors(C, R), TColor(0x100 + K.Order[size_t(I)])) << I;
      EXPECT_EQ(G->Cells(C, R), std::to_string(K.Order[size_t(I)]).c_str()) << I;
      EXPECT_EQ(G->ExtractWrapper(C, R)->Col(), C);
    }
    EXPECT_EQ(G->WrapperCount(), 5);
  }
}

TEST(CoolGridCells, DeletedRowsTakeTheirWrappersAndInsertedRowsStartPlain) {
  auto G = NewGrid();
  G->SetRowCount(6);
  for (int R = 1; R < 6; ++R) {
    G->SetColors(1, R, TColor(0x200 + R));
    G->SetCells(1, R, std::to_string(R).c_str());
  }
  G->DeleteRows(2, 2);
  EXPECT_EQ(G->RowCount(), 4);
  EXPECT_EQ(G->WrapperCount(), 3);
  EXPECT_EQ(G->Colors(1, 2), TColor(0x204));
  EXPECT_EQ(G->Cells(1, 3), "5");
  G->InsertRows(1, 2);
  EXPECT_EQ(G->RowCount(), 6);
  for (int R : {1, 2}) {
    EXPECT_FALSE(G->HaveWrapper(1, R)) << R;
    EXPECT_EQ(G->Cells(1, R), "") << R;
  }
  EXPECT_EQ(G->Colors(1, 3), TColor(0x201));
  EXPECT_EQ(G->Colors(1, 5), TColor(0x205));
  EXPECT_EQ(G->WrapperCount(), 3);
  G->SetColCount(1);
  EXPECT_EQ(G->WrapperCount(), 0) << "cut off by a smaller count";
  EXPECT_THROW(G->DeleteRows(5, 2), EInvalidGridOperation);
  EXPECT_THROW(G->InsertRows(-1, 1), EInvalidGridOperation);
  EXPECT_THROW(G->DeleteCols(-1, 1), EInvalidGridOperation);

  // Past the count, insertions append empty ones at the end; negative counts delete nothing.
  G->InsertCols(3, 1);
  EXPECT_EQ(G->ColCount(), 2);
  G->SetCells(1, 5, "last");
  G->InsertRows(9, 2);
  EXPECT_EQ(G->RowCount(), 8);
  EXPECT_EQ(G->Cells(1, 5), "last");
  EXPECT_EQ(G->Cells(1, 6), "");
  EXPECT_EQ(G->Cells(1, 7), "");
  G->DeleteRows(2, -1);
  G->DeleteCols(0, -1);
  EXPECT_EQ(G->RowCount(), 8);
  EXPECT_EQ(G->ColCount(), 2);
  EXPECT_EQ(G->Cells(1, 5), "last");
}

TEST(CoolGridCells, PosCellAnswersTheLastMatchingRowAndClearKeepsAttributes) {
  auto G = NewGrid();
  G->SetCells(2, 1, "a");
  G->SetCells(0, 2, "A");
  G->SetCells(1, 3, "a");
  G->SetCells(3, 3, "a");
  G->SetColors(3, 3, clRed);
  int C = -1, R = -1;
  ASSERT_TRUE(G->PosCell("a", C, R));
  EXPECT_EQ(C, 1);
  EXPECT_EQ(R, 3);
  EXPECT_FALSE(G->PosCell("b", C, R));
  G->Clear();
  EXPECT_EQ(G->CellsWithText(), 0);
  EXPECT_EQ(G->Colors(3, 3), clRed);
}

// ----- in a window: editing, painting, scrolling, the caption

struct TGridWindow : testing::Test {
  TTestHost Host{360, 260};
  TTestCoolGrid* G = nullptr;
  void SetUp() override {
    G = Host.Add<TTestCoolGrid>(10, 10, 330, 230);
    G->SetColCount(8);
    G->SetRowCount(40);
    Host.Frame().Activate();
    ::SetFocus(G->Handle());
    PumpMessages();
  }
  void Key(HWND W, unsigned short VK) {
    SendMessageA(W, WM_KEYDOWN, VK, 1);
    SendMessageA(W, WM_KEYUP, VK, LPARAM(0xC0000001));
    PumpMessages();
  }
  bool EditorShown() {
    TInplaceEdit* E = G->InplaceEditor();
    return E && E->HandleAllocated() && IsWindowVisible(E->WindowHandle());
  }
};

TEST_F(TGridWindow, ReadOnlyCellsDoNotEditAndTheEditorKeepsOneLine) {
  G->SetOptions(G->Options() | GridOption(goEditing));
  G->SetReadOnlyCells(2, 2, true);
  G->SetCol(2);
  G->SetRow(2);
  Key(G->Handle(), VK_F2);
  EXPECT_FALSE(EditorShown()) << "read-only";
  G->SetCol(3);
  Key(G->Handle(), VK_F2);
  ASSERT_TRUE(EditorShown());
  auto* E = dynamic_cast<TCoolInplaceEdit*>(G->InplaceEditor());
  ASSERT_NE(E, nullptr);
  for (char Ch : std::string("ab")) SendMessageA(E->Handle(), WM_CHAR, WPARAM(Ch), 1);
  SendMessageA(E->Handle(), WM_CHAR, '\r', 1);
  SendMessageA(E->Handle(), WM_CHAR, '\n', 1);  // Ctrl+Enter
  PumpMessages();
  EXPECT_TRUE(EditorShown()) << "Enter only beeps";
  EXPECT_EQ(E->Text(), "ab");
  EXPECT_EQ(G->Cells(3, 2), "ab");

  // The same cell made read-only stops editing there.
  Key(E->Handle(), VK_ESCAPE);
  EXPECT_FALSE(EditorShown());
  G->SetReadOnlyCells(3, 2, true);
  Key(G->Handle(), VK_F2);
  EXPECT_FALSE(EditorShown());
}

struct TEndLog : TObject {
  std::vector<std::vector<int>> Calls;
  void Ended(TObject*, int C, int R, int& W, int& H) {
    Calls.push_back({C, R, W, H});
    W = 150;
    H = 40;
  }
};

TEST_F(TGridWindow, EndingAnEditResizesTheCellAfterwards) {
  TEndLog Log;
  G->OnEndCellEditing = EVENT(&Log, TEndLog::Ended);
  G->SetOptions(G->Options() | GridOption(goEditing));
  G->SetColWidths(1, 90);
  Key(G->Handle(), VK_F2);
  ASSERT_TRUE(EditorShown());
  SendMessageA(G->InplaceEditor()->Handle(), WM_CHAR, 'q', 1);
  PumpMessages();
  EXPECT_TRUE(Log.Calls.empty()) << "not while the editor is shown";
  ::SetFocus(Host.Window());
  PumpMessages();
  EXPECT_FALSE(EditorShown());
  EXPECT_EQ(G->Cells(1, 1), "q");
  ASSERT_FALSE(Log.Calls.empty());
  EXPECT_EQ(Log.Calls.front(), (std::vector<int>{1, 1, G->DefaultColWidth(), G->DefaultRowHeight()}));
  EXPECT_EQ(G->ColWidths(1), 150);
  EXPECT_EQ(G->RowHeights(1), 40);
}

// A window's client area as it shows now, nothing pending painted first.
std::unique_ptr<TBitmap> ClientAsShown(HWND Wnd) {
  RECT R;
  GetClientRect(Wnd, &R);
  auto B = vcltest::MakeBitmap(R.right, R.bottom, clFuchsia);
  HDC DC = GetDC(Wnd);
  BitBlt(B->Canvas()->Handle(), 0, 0, R.right, R.bottom, DC, 0, 0, SRCCOPY);
  ReleaseDC(Wnd, DC);
  return B;
}

int DifferingPixels(TBitmap* A, TBitmap* B) {
  int N = 0;
  for (int Y = 0; Y < A->Height(); ++Y)
    for (int X = 0; X < A->Width(); ++X) N += A->Canvas()->Pixels(X, Y) != B->Canvas()->Pixels(X, Y);
  return N;
}

// A see-through editor with edge lines is composed again after every typed character: it shows
// at once what a cool edit with the same settings shows, edge lines included.
TEST(CoolGridEditor, ASeeThroughEditorShowsItsEdgeLinesAfterEveryCharacter) {
  TTestHost Host{360, 320};
  auto* G = Host.Add<TTestCoolGrid>(10, 10, 330, 200);
  G->SetOptions(G->Options() | GridOption(goEditing));
  G->SetDefaultColWidth(120);
  G->SetColor(clYellow);  // the editor's own colour, which see-through does not show
  Host.Frame().Activate();
  ::SetFocus(G->Handle());
  PumpMessages();
  SendMessageA(G->Handle(), WM_KEYDOWN, VK_F2, 1);
  PumpMessages();
  auto* E = dynamic_cast<TCoolInplaceEdit*>(G->InplaceEditor());
  ASSERT_TRUE(E && E->HandleAllocated() && IsWindowVisible(E->WindowHandle()));
  const TEdgeBorders All = EdgeBorder(ebLeft) | EdgeBorder(ebTop) | EdgeBorder(ebRight) | EdgeBorder(ebBottom);
  E->SetOptions(CoolOption(ocPaintTransparently));
  E->SetTransparencyLevel(1);  // what the grid's parent shows
  E->SetEdgeBorders(All);
  E->Font()->SetColor(clBlack);

  auto* Same = Host.Add<TCoolEdit>(10, 240, E->Width(), E->Height());
  Same->SetAutoSize(false);
  Same->SetBorderStyle(bsNone);
  Same->SetBounds(10, 240, E->Width(), E->Height());
  Same->SetFont(E->Font());
  Same->SetOptions(CoolOption(ocPaintTransparently));
  Same->SetEdgeBorders(All);
  Same->HandleNeeded();
  PumpMessages();
  ASSERT_EQ(Same->ClientRect(), E->ClientRect());
  RedrawWindow(Host.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();

  auto Type = [](TWinControl* C, char Ch) { SendMessageA(C->Handle(), WM_CHAR, WPARAM(Ch), 1); };
  for (char Ch : std::string("WaW\b\bx")) {
    SCOPED_TRACE(Ch == '\b' ? std::string("backspace") : std::string(1, Ch));
    Type(E, Ch);
    Type(Same, Ch);
    HideCaret(E->Handle());  // the editor has the focus, the edit not
    auto Editor = ClientAsShown(E->Handle());
    ShowCaret(E->Handle());
    auto Edit = ClientAsShown(Same->Handle());
    const int W = Editor->Width(), H = Editor->Height();
    for (auto [X, Y] : {std::pair{0, H / 2}, {W / 2, 0}, {W - 1, H / 2}, {W / 2, H - 1}})
      EXPECT_EQ(Editor->Canvas()->Pixels(X, Y), clBlack) << "edge line at " << X << ", " << Y;
    EXPECT_EQ(DifferingPixels(Editor.get(), Edit.get()), 0);
  }
  EXPECT_EQ(E->Text(), "Wx");
  EXPECT_EQ(Same->Text(), "Wx");
  EXPECT_NE(ClientAsShown(E->Handle())->Canvas()->Pixels(E->Width() - 4, E->Height() / 2), clYellow);
}

// Text measured as the grid's cells measure it: word-wrapped at Width.
TRect Measured(TCoolStringGrid* G, const char* Text, int Width) {
  TWindowDC DC(nullptr);
  TCanvas C;
  TCanvasBinding Bind(&C, DC);
  C.SetFont(G->Font());
  RECT R{0, 0, Width, 0};
  DrawTextA(C.Handle(), Text, -1, &R, DT_WORDBREAK | DT_CALCRECT);
  return R;
}

TEST_F(TGridWindow, TextThatDoesNotFitWidensItsColumnAndHeightensItsRow) {
  const char* Long = "WWWWWWWWWWWWWWWWWWWW";
  const char* Lines = "one two three four five six seven";
  G->SetCells(1, 1, Long);
  G->SetCells(2, 2, Lines);
  const TRect L = Measured(G, Long, 64), M = Measured(G, Lines, 64);
  ASSERT_GT(L.Width(), 64);
  ASSERT_GT(M.Height(), 24);
  G->Repaint();
  PumpMessages();
  EXPECT_EQ(G->ColWidths(1), L.Width() + 10);
  EXPECT_EQ(G->RowHeights(2), M.Height() + 10);
  EXPECT_EQ(G->ColWidths(2), 64);
}

TEST_F(TGridWindow, CellsPaintTheirColoursSelectionBevelsAndWallpaper) {
  auto Wall = vcltest::MakeBitmap(16, 16, clRed);
  Wall->Canvas()->Brush()->SetColor(clBlue);
  Wall->Canvas()->FillRect(Rect(8, 0, 16, 8));
  Wall->Canvas()->FillRect(Rect(0, 8, 8, 16));
  auto CheckerAt = [](int X, int Y) { return ((X % 16 < 8) == (Y % 16 < 8)) ? clRed : clBlue; };
  G->SetColors(2, 3, clLime);
  G->SetSelColor(clPurple);
  G->SetOuterCellsBevel(bvRaised);
  G->SetCol(4);
  G->SetRow(4);
  ::SetFocus(Host.Window());
  PumpMessages();
  auto Shot = vcltest::CaptureClient(G->Handle());
  const TRect Lime = G->CellRect(2, 3), Sel = G->CellRect(4, 4), Plain = G->CellRect(3, 5);
  EXPECT_EQ(Shot->Canvas()->Pixels(Lime.Left + 30, Lime.Top + 12), clLime);
  EXPECT_EQ(Shot->Canvas()->Pixels(Sel.Left + 30, Sel.Top + 12), clPurple) << "selected, not focused";
  EXPECT_EQ(Shot->Canvas()->Pixels(Plain.Right - 1, Plain.Top + 12), TColor(GetSysColor(COLOR_3DDKSHADOW)))
      << "the outer bevel";

  G->SetWallpaper(Wall.get());
  G->SetExOptions(G->ExOptions() | CoolOption(ocPaintWallpaper) | CoolOption(ocTileWallpaper));
  G->SetWallpaperForCells(2, 3, false);
  Shot = vcltest::CaptureClient(G->Handle());
  for (int X : {Plain.Left + 20, Plain.Left + 29})
    EXPECT_EQ(Shot->Canvas()->Pixels(X, Plain.Top + 12), CheckerAt(X, Plain.Top + 12)) << X;
  EXPECT_EQ(Shot->Canvas()->Pixels(Lime.Left + 30, Lime.Top + 12), clLime) << "a cell without the wallpaper";

  // The wallpaper keeps its place in the client area as rows and columns scroll.
  const int Top = G->TopRow();
  SendMessageA(G->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  SendMessageA(G->Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
  ::SetFocus(G->Handle());
  Key(G->Handle(), VK_NEXT);
  SendMessageA(G->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  EXPECT_GT(G->TopRow(), Top + 1);
  ::SetFocus(Host.Window());
  PumpMessages();
  Shot = vcltest::CaptureClient(G->Handle());
  const TRect Cell = G->CellRect(G->LeftCol() + 1, G->TopRow() + 1);
  for (int X : {Cell.Left + 20, Cell.Left + 29})
    EXPECT_EQ(Shot->Canvas()->Pixels(X, Cell.Top + 12), CheckerAt(X, Cell.Top + 12)) << X;
}

TEST_F(TGridWindow, TheCaptionBarStaysThroughAWholeFrameRedraw) {
  G->SetCaption("Cells");
  G->SetCaptionColor(clRed);
  G->SetCaptionTextColor(clWhite);
  G->SetExOptions(0);
  ASSERT_NE(GetWindowLongA(G->Handle(), GWL_STYLE) & WS_CAPTION, 0);
  const int Top = GetSystemMetrics(SM_CYDLGFRAME);
  auto CaptionPixel = [&](int Y = GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2) {
    RECT W;
    GetWindowRect(G->Handle(), &W);
    HDC DC = GetWindowDC(G->Handle());
    const TColor C = TColor(GetPixel(DC, (W.right - W.left) - 40, Y));
    ReleaseDC(G->Handle(), DC);
    return C;
  };
  RedrawWindow(G->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages();
  EXPECT_EQ(CaptionPixel(), clRed);
  EXPECT_EQ(CaptionPixel(Top), clRed) << "the band's first row";
  EXPECT_EQ(CaptionPixel(Top + GetSystemMetrics(SM_CYCAPTION) - 1), clRed) << "a whole caption high";
  SetWindowPos(G->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  PumpMessages();
  EXPECT_EQ(CaptionPixel(), clRed);
  // The rest of the frame is the system's: the scroll bar is not red.
  RECT W;
  GetWindowRect(G->Handle(), &W);
  HDC DC = GetWindowDC(G->Handle());
  EXPECT_NE(TColor(GetPixel(DC, (W.right - W.left) - 8, (W.bottom - W.top) / 2)), clRed);
  ReleaseDC(G->Handle(), DC);
  EXPECT_EQ(SendMessageA(G->Handle(), WM_NCHITTEST, 0, MAKELPARAM(W.right - 40, W.top + GetSystemMetrics(SM_CYDLGFRAME) + 4)),
            HTCAPTION);
  G->SetExOptions(CoolOption(ocNoDragUsingCaption));
  GetWindowRect(G->Handle(), &W);
  EXPECT_EQ(SendMessageA(G->Handle(), WM_NCHITTEST, 0, MAKELPARAM(W.right - 40, W.top + GetSystemMetrics(SM_CYDLGFRAME) + 4)),
            HTNOWHERE);
}

}  // namespace
