#include "hitlist/list_memory.h"

#include <algorithm>

#include "hitlist/hitlist.h"

namespace spinox {

namespace {
int32_t capacity = 0;
}  // namespace

void AllocateHitList(int32_t size, bool markEmpty) {
  FreeHitList();
  capacity = std::max(std::clamp(size, 0, kMaxListSize), 1);
  _hitlist = new HitListItem[static_cast<size_t>(capacity)]();
  if (markEmpty) _hitlist[0].id = -1;
}

void FreeHitList() {
  delete[] _hitlist;
  _hitlist = nullptr;
  capacity = 0;
}

int32_t HitListCapacity() {
  return _hitlist ? capacity : 0;
}

}  // namespace spinox
