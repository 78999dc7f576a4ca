// The string grid's cell stream (portable): each cell with text as its column, its row and its
// text in the binary form's value encoding, one after the other, nothing before or after.
#pragma once

#include "rtl/Streaming.h"

#include <vector>

struct TGridStreamCell {
  int Col = 0, Row = 0;
  AnsiString Text;
  friend bool operator==(const TGridStreamCell&, const TGridStreamCell&) = default;
};

// Every cell from Stream's position to its end, all read before any is returned. Zero bytes
// where a cell would start, up to the end, end the cells (a clipboard block's padding). A
// truncated or malformed stream, a negative column or row, or a length beyond the data raise
// EReadError with the offset (from where reading began).
std::vector<TGridStreamCell> ReadGridCells(TStream* Stream);

// Appends cells to a stream.
class TGridCellWriter {
public:
  explicit TGridCellWriter(TStream* Stream) : FWriter(Stream) {}
  void Write(int Col, int Row, const AnsiString& Text);
private:
  TWriter FWriter;
};
