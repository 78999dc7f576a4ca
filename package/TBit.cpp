#include "package/TBit.h"
#include "rtl/TypInfo.h"

#include <cstdint>

namespace {

uint32_t Mask(int Bit) {
  if (Bit > 31) Bit = 0;
  return uint32_t(1) << (unsigned(Bit) & 31u);
}

}  // namespace

int TBit::BITTest(int Value, int Bit) const { return (uint32_t(Value) & Mask(Bit)) != 0 ? 1 : 0; }

int TBit::BITSet(int Value, int Bit) const { return int(uint32_t(Value) | Mask(Bit)); }

int TBit::BITFlip(int Value, int Bit) const { return int(uint32_t(Value) ^ Mask(Bit)); }

int TBit::BITReset(int Value, int Bit) const { return BITTest(Value, Bit) ? BITFlip(Value, Bit) : Value; }

ORV_IMPLEMENT_COMPONENT_NOPROPS(TBit, TComponent)

namespace {
struct TBitUnit {
  TBitUnit() { RegisterClasses({TBit::StaticClass()}); }
} BitUnit;
}  // namespace
