// Unit TCaseTimer: a deadline some milliseconds ahead.
#pragma once

#include "rtl/Classes.h"

#include <cstdint>
#include <functional>

// A deadline on a 64-bit millisecond clock counted from the process start, so it never wraps
// (the runtime's 32-bit processor clock gives up after 24.8 days). The expiry is 0 until Set.
class TCaseTimer : public TComponent {
  ORV_CLASS(TCaseTimer, TComponent)
public:
  using TClock = std::function<uint64_t()>;

  explicit TCaseTimer(TComponent* AOwner) : TComponent(AOwner) {}

  // Milliseconds since the process started.
  static uint64_t ProcessClock();
  // The clock the deadline counts on: ProcessClock unless another is given (null: ProcessClock).
  void SetClock(TClock Clock) { FClock = std::move(Clock); }

  // The deadline: Ticks milliseconds from now.
  void Set(unsigned Ticks) { FExpiry = Now() + Ticks; }
  // True once the clock has passed the deadline.
  bool HasTimeExpired() const { return Now() > FExpiry; }
  bool Expired() const { return HasTimeExpired(); }
  uint64_t Expiry() const { return FExpiry; }

private:
  uint64_t Now() const { return FClock ? FClock() : ProcessClock(); }

  uint64_t FExpiry = 0;
  TClock FClock;
};
