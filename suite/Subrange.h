// Integer subrange types of the suite's units: a type is an int (or narrower) with its bounds
// declared next to it; setters clamp into them or reject what lies outside, and a published
// property of the type names it, as PropIntType does.
#pragma once
#include "rtl/TypInfo.h"

#include <algorithm>
#include <cstdint>

struct TSubrangeType {
  const char* Name;
  int Min, Max;
  constexpr int Clamp(int Value) const { return std::clamp(Value, Min, Max); }
  constexpr bool Contains(int64_t Value) const { return Value >= Min && Value <= Max; }
};

// A published property of a subrange type.
template <auto G, auto S>
constexpr TPropInfo PropSubrange(const char* Name, const TSubrangeType& Type, int64_t Default,
                                 bool (*Stored)(const TObject*) = nullptr) {
  return PropIntType<G, S>(Name, Type.Name, Default, Stored);
}
