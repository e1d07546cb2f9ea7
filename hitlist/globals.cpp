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

}  // namespace spinox
