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

}  // namespace
