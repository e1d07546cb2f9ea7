#include "hitlist/shown_list.h"

#include <algorithm>

namespace spinox {

void AllocateHitList(ShownList& list, int32_t size, bool markEmpty) {
  size_t n = static_cast<size_t>(std::max(std::clamp(size, 0, kMaxListSize), 1));
  list._hitlist.assign(n, HitListItem{0, 0, 0});
  if (markEmpty) list._hitlist[0].id = -1;
}

const HitListItem* ShownItem(const ShownList& list, int32_t row) {
  if (row < 0 || row >= list._hitlistsize) return nullptr;
  if (static_cast<size_t>(row) >= list._hitlist.size()) return nullptr;
  return &list._hitlist[static_cast<size_t>(row)];
}

HitListQuery QueryOf(const ShownList& list, HitListProgress* progress) {
  const HitListSettings& s = list.settings;
  HitListQuery q;
  q.type = s._type;
  q.from = s._start;
  q.to = s._end;
  q.filterType = list._filter;
  q.filterValue = list._theFilter;
  q.mode = s._period != kPeriodAll && (s._pos || s._change) ? kPosCompare : kPosNone;
  q.progress = progress;
  return q;
}

}  // namespace spinox
