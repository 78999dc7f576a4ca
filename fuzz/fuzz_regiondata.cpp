// The stored-form reader of region data raises only EReadError on any input, never reads past its
// buffer, accepts only records whose rectangles lie within their bytes and are not inverted, and
// what it accepts written out again reads back as the same bytes.
#include "suite/Std2RgnData.h"

#include <cstddef>
#include <cstdint>

namespace {
void Check(bool Condition) {
  if (!Condition) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TReadOnlyMemoryStream In(Data, int64_t(Size));
  std::vector<uint8_t> Bytes;
  try {
    Bytes = rgndata::Read(&In);
  } catch (const EReadError&) {
    return 0;
  }
  Check(In.Position() == 4 + int64_t(Bytes.size()));
  if (!Bytes.empty()) {
    Check(rgndata::IsValid(Bytes.data(), Bytes.size()));
    for (const rgndata::TRgnRect& R : rgndata::Rects(Bytes)) Check(R.Left <= R.Right && R.Top <= R.Bottom);
  }
  TMemoryStream Out;
  rgndata::Write(&Out, Bytes);
  Out.SetPosition(0);
  Check(rgndata::Read(&Out) == Bytes);
  return 0;
}
