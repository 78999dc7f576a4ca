// The string grid's cell stream.
#include "coolctrls/CoolGridStream.h"

#include <string>

std::vector<TGridStreamCell> ReadGridCells(TStream* Stream) {
  // The rest of the stream in memory: parsed whole before anything is handed out.
  const int64_t Left = Stream->Size() - Stream->Position();
  std::string Data(size_t(Left > 0 ? Left : 0), '\0');
  if (!Data.empty()) Stream->ReadBuffer(Data.data(), int(Data.size()));
  size_t End = Data.size();
  while (End > 0 && Data[End - 1] == 0) --End;  // the padding starts here

  TReadOnlyMemoryStream In(Data.data(), int64_t(Data.size()));
  TReader Reader(&In);
  std::vector<TGridStreamCell> Cells;
  while (size_t(Reader.Position()) < End) {
    const int64_t Start = Reader.Position();
    TGridStreamCell Cell;
    Cell.Col = Reader.ReadInteger();
    Cell.Row = Reader.ReadInteger();
    if (Cell.Col < 0 || Cell.Row < 0) {
      Reader.SetPosition(Start);
      Reader.Error("Invalid cell (" + IntToStr(Cell.Col) + ", " + IntToStr(Cell.Row) + ")");
    }
    Cell.Text = Reader.ReadString();
    Cells.push_back(std::move(Cell));
  }
  return Cells;
}

void TGridCellWriter::Write(int Col, int Row, const AnsiString& Text) {
  FWriter.WriteInteger(Col);
  FWriter.WriteInteger(Row);
  FWriter.WriteString(Text);
}
