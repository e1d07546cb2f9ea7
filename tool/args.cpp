#include "tool/args.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/file.h"
#include "db/convert_text.h"
#include "db/journal.h"
#include "db/paths.h"

namespace spinox::cli {

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

// Reads exactly `digits` decimal digits at text[pos].
bool Digits(const std::string& text, size_t pos, size_t digits, int* out) {
  if (pos + digits > text.size()) return false;
  int v = 0;
  for (size_t i = pos; i < pos + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  *out = v;
  return true;
}

// The forms of a date, checked for their form only: the value may lie outside 32 bits.
bool ParseUnixTime(const std::string& digits, int64_t* out) {
  if (digits.empty() || digits.size() > 18) return false;
  size_t i = digits[0] == '-' ? 1 : 0;
  if (i == digits.size() || digits.find_first_not_of("0123456789", i) != std::string::npos)
    return false;
  *out = std::strtoll(digits.c_str(), nullptr, 10);
  return true;
}

bool ParseLocal(const std::string& text, int64_t* out) {
  int y, mo, d, h = 0, mi = 0, s = 0;
  if (!Digits(text, 0, 4, &y) || text.size() < 10 || text[4] != '-' || text[7] != '-' ||
      !Digits(text, 5, 2, &mo) || !Digits(text, 8, 2, &d))
    return false;
  if (text.size() > 10) {
    if ((text[10] != 'T' && text[10] != ' ') || !Digits(text, 11, 2, &h) || text.size() < 16 ||
        text[13] != ':' || !Digits(text, 14, 2, &mi))
      return false;
    if (text.size() > 16 && (text.size() != 19 || text[16] != ':' || !Digits(text, 17, 2, &s)))
      return false;
  }
  static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (mo < 1 || mo > 12 || d < 1 || d > kDays[mo - 1] || (mo == 2 && d == 29 && !leap) || h > 23 ||
      mi > 59 || s > 59)
    return false;
  std::tm tm = {};
  tm.tm_year = y - 1900, tm.tm_mon = mo - 1, tm.tm_mday = d;
  tm.tm_hour = h, tm.tm_min = mi, tm.tm_sec = s, tm.tm_isdst = -1;
  long long t = static_cast<long long>(std::mktime(&tm));
  if (t == -1 && !(y == 1969 && mo == 12 && d == 31)) {
    // A run-time library whose clock cannot go that far: beyond what the files hold either.
    *out = y < 1970 ? int64_t{INT32_MIN} - 1 : int64_t{INT32_MAX} + 1;
    return true;
  }
  *out = t;
  return true;
}

bool ParseWide(const std::string& text, int64_t* out) {
  if (!text.empty() && text[0] == '@') return ParseUnixTime(text.substr(1), out);
  return ParseLocal(text, out);
}

}  // namespace

std::string ParsedArgs::Get(const std::string& name, const std::string& fallback) const {
  auto it = values.find(name);
  return it == values.end() ? fallback : it->second;
}

bool ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags, const char* command, ParsedArgs* out,
               Io& io) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-' || (a[1] >= '0' && a[1] <= '9')) {
      out->positional.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--help" || a == "-h") {
      out->help = true;
    } else if (Contains(flags, a)) {
      out->flags.insert(a);
    } else {
      size_t eq = a.find('=');
      std::string name = a.substr(0, eq);
      if (!Contains(valued, name)) {
        Fail(io, command, "unknown option '" + a + "' (see --help)", kBadUsage);
        return false;
      }
      if (eq != std::string::npos) {
        out->values[name] = a.substr(eq + 1);
      } else if (i + 1 < args.size()) {
        out->values[name] = args[++i];
      } else {
        Fail(io, command, "option '" + a + "' needs a value", kBadUsage);
        return false;
      }
    }
  }
  return true;
}

bool ParseDate(const std::string& text, int32_t* out) {
  int64_t t;
  if (!ParseWide(text, &t) || t < INT32_MIN || t > INT32_MAX) return false;
  *out = static_cast<int32_t>(t);
  return true;
}

std::string DateProblem(const std::string& option, const std::string& text) {
  int64_t t;
  if (ParseWide(text, &t))
    return option + " '" + text +
           "' is outside the times the files can hold: 1901-12-13 20:45:52 to 2038-01-19 "
           "03:14:07 UTC (@-2147483648 to @2147483647)";
  return "bad " + option + " '" + text + "' (want YYYY-MM-DD[THH:MM[:SS]] or @UNIXTIME)";
}

bool ReadDate(const ParsedArgs& args, const std::string& option, const char* command, Io& io,
              int32_t* out) {
  if (ParseDate(args.Get(option), out)) return true;
  Fail(io, command, DateProblem(option, args.Get(option)), kBadUsage);
  return false;
}

std::string FormatTime(int32_t t) {
  if (t == 0) return "";
  std::time_t tt = t;
  std::tm* tm = std::localtime(&tt);
  if (!tm) return "";
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", tm);
  return buf;
}

void SetDatabaseDir(const ParsedArgs& args) {
  std::string dir = args.Get("--db");
  if (dir.empty()) {
    const char* env = std::getenv("SPINOX_DB");
    dir = env && *env ? env : ".";
  }
  SetDataDir(dir);
}

bool UseDatabaseDir(const ParsedArgs& args, const char* command, Io& io) {
  SetDatabaseDir(args);
  PathKind kind = KindOf(DataDir());
  if (kind == PathKind::kFile || kind == PathKind::kOther) {
    Fail(io, command, DataDir() + " is not a folder");
    return false;
  }
  std::string refusal = DataFileRefusal();
  if (!refusal.empty()) {
    Fail(io, command, refusal + ", where a data file belongs");
    return false;
  }
  // A change left unfinished by a process that died is undone before the command reads or
  // writes anything (taking the lock would do it too; this says so).
  std::string report;
  if (ChangePending() && RecoverDatabase(&report) && !report.empty())
    std::fprintf(io.err, "spinox: %s", report.c_str());
  return true;
}

bool UseDatabaseForWriting(const ParsedArgs& args, const char* command, Io& io) {
  if (!UseDatabaseDir(args, command, io)) return false;
  std::string backup;
  TextConversion texts = EnsureUtf8Database(&backup);
  if (texts == TextConversion::kFailed) {
    Fail(
        io, command,
        "cannot convert the database's texts to UTF-8: " + LastIoError() + "; nothing was changed");
    return false;
  }
  if (texts == TextConversion::kConverted)
    std::fprintf(io.err, "spinox: converted the database's texts from %s to UTF-8 (backup: %s)\n",
                 AnsiCharset().c_str(), backup.c_str());
  return true;
}

bool ApplyNow(const ParsedArgs& args, const std::string& option, const char* command, Io& io) {
  if (!args.values.count(option)) return true;
  int32_t t;
  if (!ReadDate(args, option, command, io, &t)) return false;
  SetClockOverride(t);
  return true;
}

int Fail(Io& io, const char* command, const std::string& message, int code) {
  std::fprintf(io.err, "spinox %s: %s\n", command, message.c_str());
  return code;
}

}  // namespace spinox::cli
