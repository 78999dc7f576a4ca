// Unit TBit: bit operations on 32-bit values.
#pragma once

#include "rtl/Classes.h"

// Bit numbers above 31 stand for bit 0; a negative bit number uses its low five bits.
class TBit : public TComponent {
  ORV_CLASS(TBit, TComponent)
public:
  explicit TBit(TComponent* AOwner) : TComponent(AOwner) {}

  // 1 when bit Bit of Value is set, else 0.
  int BITTest(int Value, int Bit) const;
  // Value with the bit set, inverted, cleared.
  int BITSet(int Value, int Bit) const;
  int BITFlip(int Value, int Bit) const;
  int BITReset(int Value, int Bit) const;
};
