#include "base/clock.h"

#include <ctime>

namespace spinox {

namespace {
bool gOverridden = false;
int32_t gOverride = 0;
}  // namespace

int32_t ClockNow() {
  if (gOverridden) return gOverride;
  return static_cast<int32_t>(std::time(nullptr));
}

void SetClockOverride(int32_t now) {
  gOverridden = true;
  gOverride = now;
}

void ClearClockOverride() {
  gOverridden = false;
}

}  // namespace spinox
