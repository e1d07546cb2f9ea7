#include "hitlist/hitlist.h"

namespace spinox {

HitListItem* _hitlist = nullptr;
int32_t _hitlistsize = 0;
int32_t _size = 0;
int32_t _type = 0;
int32_t _period = 0;
int32_t _start = 0;
int32_t _end = 0;
int32_t _filter = 0;
char _theFilter[kFilterSize] = {};
int32_t _pos = 0;
int32_t _change = 0;
int32_t _check = 0;
int32_t _pivot = 0;
int32_t _pivoti = 0;
int32_t _first = 0;
int32_t _last = 0;
int32_t lvPlaying = -1;
int32_t lvSelect = -1;

HitListSettings ListSettingsFromGlobals() {
  return HitListSettings{_type, _period, _check, _start, _end, _size, _pos, _change};
}

void SetListGlobals(const HitListSettings& s) {
  _type = s._type;
  _period = s._period;
  _check = s._check;
  _start = s._start;
  _end = s._end;
  _size = s._size;
  _pos = s._pos;
  _change = s._change;
}

}  // namespace spinox
