// The array of the list on show (_hitlist): replaced as a whole by each refresh.
#pragma once
#include <cstdint>

namespace spinox {

// The largest list the array is ever made for; a larger "Show Top" is cut to it.
constexpr int32_t kMaxListSize = 1 << 20;

// Releases _hitlist and allocates `size` zeroed items (at least one; size cut to 0 ..
// kMaxListSize). With `markEmpty` the first item's id is -1 (the start-up array).
void AllocateHitList(int32_t size, bool markEmpty);
// Releases _hitlist (at shutdown).
void FreeHitList();
// Number of items _hitlist holds.
int32_t HitListCapacity();

}  // namespace spinox
