// The grid's cell stream reader raises only EReadError on any input, never reads past its
// buffer, and the cells it accepts written out again read back as the same cells.
#include "coolctrls/CoolGridStream.h"

#include <cstddef>
#include <cstdint>

namespace {
void Check(bool Condition) {
  if (!Condition) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TReadOnlyMemoryStream In(Data, int64_t(Size));
  std::vector<TGridStreamCell> Cells;
  try {
    Cells = ReadGridCells(&In);
  } catch (const EReadError&) {
    return 0;
  }
  for (const TGridStreamCell& C : Cells) Check(C.Col >= 0 && C.Row >= 0);
  TMemoryStream Out;
  {
    TGridCellWriter W(&Out);
    for (const TGridStreamCell& C : Cells) W.Write(C.Col, C.Row, C.Text);
  }
  Out.SetPosition(0);
  Check(ReadGridCells(&Out) == Cells);
  return 0;
}
