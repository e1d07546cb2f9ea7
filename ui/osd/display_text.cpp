#include "ui/osd/display_text.h"

#include <cstring>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/text.h"
#include "hitlist/hitlist.h"
#include "hitlist/time_text.h"

namespace spinox {

namespace {

constexpr size_t kMaxDisplay = kDisplaySize - 1;

std::string Count(int32_t n) {
  return std::to_string(n);
}

// A display tag: its name after the percent sign and what it stands for.
struct DisplayTag {
  const char* name;
  std::string (*value)(const SongInfo& s, const DisplayContext& c);
};

// In the order they are tried: the longer "hits..." names before "hits".
const DisplayTag kDisplayTags[] = {
    {"artist", [](const SongInfo& s, const DisplayContext&) { return FieldText(s.artist); }},
    {"title", [](const SongInfo& s, const DisplayContext&) { return FieldText(s.title); }},
    {"album", [](const SongInfo& s, const DisplayContext&) { return FieldText(s.album); }},
    {"hitsday", [](const SongInfo& s, const DisplayContext&) { return Count(s.hitsDay); }},
    {"hitsalbum", [](const SongInfo& s, const DisplayContext&) { return Count(s.hitsAlbum); }},
    {"hitsartist", [](const SongInfo& s, const DisplayContext&) { return Count(s.hitsArtist); }},
    {"hitsweek", [](const SongInfo& s, const DisplayContext&) { return Count(s.hitsWeek); }},
    {"hitsmonth", [](const SongInfo& s, const DisplayContext&) { return Count(s.hitsMonth); }},
    {"hitsyear", [](const SongInfo& s, const DisplayContext&) { return Count(s.hitsYear); }},
    {"hits", [](const SongInfo& s, const DisplayContext&) { return Count(s.hits); }},
    {"time",
     [](const SongInfo& s, const DisplayContext& c) {
       return FormatLocalTime(s.lastPlayed, c.time, kDisplaySize);
     }},
    {"date",
     [](const SongInfo& s, const DisplayContext& c) {
       return FormatLocalTime(s.lastPlayed, c.date, kDisplaySize);
     }},
    {"dayspast",
     [](const SongInfo& s, const DisplayContext& c) { return DaysPastText(s.lastPlayed, c.now); }},
    {"hourspast",
     [](const SongInfo& s, const DisplayContext& c) { return HoursPastText(s.lastPlayed, c.now); }},
    {"hitlistpos",
     [](const SongInfo&, const DisplayContext& c) {
       return c.playingRow < 0 ? std::string("-") : std::to_string(int64_t{c.playingRow} + 1);
     }},
};

// The tag whose name follows at text[at..size), null for none; its name's length in `length`.
const DisplayTag* Recognize(const char* text, size_t size, size_t at, size_t* length) {
  for (const DisplayTag& tag : kDisplayTags) {
    size_t n = std::strlen(tag.name);
    if (size - at >= n && std::memcmp(text + at, tag.name, n) == 0) {
      *length = n;
      return &tag;
    }
  }
  return nullptr;
}

// The bytes of the UTF-8 character that begins p[0..n); 1 for a byte that begins none.
size_t CharacterLength(const char* p, size_t n) {
  auto lead = static_cast<unsigned char>(p[0]);
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return length <= n && IsUtf8(p, length) ? length : 1;
}

// A count of whole units, cut toward zero and never negative.
int64_t Units(int64_t elapsed, int64_t unit) {
  return elapsed > 0 ? elapsed / unit : 0;
}

std::string Plural(int64_t count, const char* unit) {
  return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

}  // namespace

std::string ExpandDisplayText(const char* tmpl, size_t size, const SongInfo& song,
                              const DisplayContext& context) {
  size = strnlen(tmpl, size);
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    size_t length = 0;
    const DisplayTag* tag = tmpl[i] == '%' ? Recognize(tmpl, size, i + 1, &length) : nullptr;
    if (!tag) {
      // A character of the template is copied whole or not at all.
      size_t n = CharacterLength(tmpl + i, size - i);
      if (out.size() + n > kMaxDisplay) break;
      out.append(tmpl + i, n);
      i += n - 1;
      continue;
    }
    std::string value = tag->value(song, context);
    if (out.size() + value.size() > kMaxDisplay) break;
    out += value;
    i += length;
  }
  return out;
}

void ExpandTxtDisplay(const Settings& s, const SongInfo& song, int32_t playingRow,
                      DisplayState* display) {
  DisplayContext context{ClockNow(), playingRow, FieldText(s._date), FieldText(s._time)};
  std::string text = ExpandDisplayText(s._txt_text, sizeof s._txt_text, song, context);
  SetField(display->_txt_display, text);
}

std::string DaysPastText(int32_t lastPlayed, int32_t now) {
  if (lastPlayed == 0) return "N/A";
  return std::to_string(Units(int64_t{now} - lastPlayed, 86400));
}

std::string HoursPastText(int32_t lastPlayed, int32_t now) {
  if (lastPlayed == 0) return "N/A";
  int64_t elapsed = int64_t{now} - lastPlayed;
  int64_t days = Units(elapsed, 86400), hours = Units(elapsed, 3600);
  if (days != 0) return Plural(days, "day");
  if (hours != 0) return Plural(hours, "hour");
  return Plural(Units(elapsed, 60), "min");
}

int FindNL(const char* text) {
  const char* nl = std::strchr(text, '\n');
  return nl ? static_cast<int>(nl - text) : -1;
}

void RestoreDisplaySettings(const Settings& before, Settings* s) {
  SetField(s->_txt_text, FieldText(before._txt_text));
  SetField(s->_txt_font, FieldText(before._txt_font));
  s->_txt_timeEnd = before._txt_timeEnd;
  s->_txt_size = before._txt_size;
  s->_txt_bg = before._txt_bg;
  s->_txt_bold = before._txt_bold;
  s->_txt_x = before._txt_x;
  s->_txt_y = before._txt_y;
}

}  // namespace spinox
