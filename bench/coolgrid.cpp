// Cool string grid speed: a 1000 by 50 grid whose every cell has its attributes (a wrapper),
// filled, painted (the view once, and page by page through all rows), written as an HTML table and
// as the cell stream. Baselines in the same run: the plain string grid with the same texts (fill,
// paint) and the cool grid without wrappers (HTML, stream). Prints milliseconds (best and median
// of the runs) and the ratios; never judges the figures.
#include "bench/BenchClock.h"
#include "coolctrls/CoolCtrls.h"
#include "vcl/Forms.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::Pump;

constexpr int Cols = 50, Rows = 1000, Runs = 5;

void Compare(const char* What, const char* SubjectName, const std::function<void()>& Subject, const char* BaseName,
             const std::function<void()>& Baseline, const char* Goal) {
  bench::Compare(What, Runs, SubjectName, Subject, BaseName, Baseline, Goal);
}

std::string CellText(int C, int R) { return "r" + std::to_string(R) + "c" + std::to_string(C); }

template <class G> G* NewGrid(TForm* Form, int Left) {
  G* Grid = TComponent::Create<G>(Form);
  Grid->SetBounds(Left, 0, 500, 560);
  Grid->SetColCount(Cols);
  Grid->SetRowCount(Rows);
  Grid->SetParent(Form);
  return Grid;
}

void FillTexts(TStringGrid* G) {
  for (int C = 0; C < Cols; ++C)
    for (int R = 0; R < Rows; ++R) G->SetCells(C, R, CellText(C, R).c_str());
}

void FillCool(TCoolStringGrid* G) {
  FillTexts(G);
  for (int C = 0; C < Cols; ++C)
    for (int R = 0; R < Rows; ++R) G->SetColors(C, R, TColor(0x40C0F0 ^ ((C * 7 + R * 13) & 0x3F3F3F)));
}

// The view painted now.
void PaintView(TCustomGrid* G) {
  RedrawWindow(G->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// Every page of rows shown in turn, from the top.
void PageThrough(TCustomGrid* G) {
  G->SetTopRow(G->FixedRows());
  PaintView(G);
  const int Page = G->VisibleRowCount();
  for (int Top = G->FixedRows() + Page; Top < G->RowCount(); Top += Page) {
    G->SetTopRow(Top);
    UpdateWindow(G->Handle());
  }
}

void Run() {
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  Form->SetBounds(0, 0, 1020, 600);
  Form->Show();
  Pump();
  auto* Cool = NewGrid<TCoolStringGrid>(Form, 0);
  auto* Plain = NewGrid<TStringGrid>(Form, 510);
  auto* Bare = TComponent::Create<TCoolStringGrid>(Form);  // no window: export only
  Bare->SetColCount(Cols);
  Bare->SetRowCount(Rows);

  Compare("Fill 1000 x 50 cells", "cool grid, text and colour per cell", [&] { FillCool(Cool); },
          "string grid, text per cell", [&] { FillTexts(Plain); }, "none");
  FillTexts(Bare);
  std::printf("  wrappers: %d\n", Cool->WrapperCount());
  PaintView(Cool);
  PaintView(Plain);
  Pump();

  Compare("Paint the view", "cool grid, every cell a wrapper", [&] { PaintView(Cool); }, "string grid",
          [&] { PaintView(Plain); }, "within 2x");
  Compare("Page through all rows", "cool grid, every cell a wrapper", [&] { PageThrough(Cool); }, "string grid",
          [&] { PageThrough(Plain); }, "within 2x");

  char Dir[MAX_PATH];
  GetTempPathA(MAX_PATH, Dir);
  const std::string A = std::string(Dir) + "orvalen_bench_a.html", B = std::string(Dir) + "orvalen_bench_b.html";
  Compare("SaveToHTMLFile", "cool grid, every cell a wrapper", [&] { Cool->SaveToHTMLFile(A.c_str()); },
          "cool grid without wrappers", [&] { Bare->SaveToHTMLFile(B.c_str()); }, "within 1.5x");
  DeleteFileA(A.c_str());
  DeleteFileA(B.c_str());

  int64_t Size = 0;
  Compare("SaveToStream", "cool grid, every cell a wrapper",
          [&] {
            TMemoryStream S;
            Cool->SaveToStream(&S);
            Size = S.Size();
          },
          "cool grid without wrappers",
          [&] {
            TMemoryStream S;
            Bare->SaveToStream(&S);
          },
          "within 1.5x");
  std::printf("  stream: %lld bytes\n", (long long)Size);
  TObject::Free(Form);
}

}  // namespace

int main() {
  try {
    Run();
  } catch (const Exception& E) {
    std::fprintf(stderr, "coolgrid_bench: %s\n", E.Message().c_str());
    return 1;
  }
  return 0;
}
