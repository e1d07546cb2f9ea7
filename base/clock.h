// The one source of "now" for the whole system, so tests and the tool can fix it.
#pragma once
#include <cstdint>

namespace spinox {

// Seconds since 1970-01-01 UTC, as a signed 32-bit value (the record files' time type).
int32_t ClockNow();

// Makes ClockNow() answer `now` until ClearClockOverride() is called.
void SetClockOverride(int32_t now);
void ClearClockOverride();

}  // namespace spinox
