#include "hitlist/time_text.h"

#include <cstring>
#include <ctime>
#include <vector>

namespace spinox {

namespace {

bool IsBasicConversion(char ch) {
  return ch != '\0' && std::strchr("aAbBcdHIjmMpSUwWxXyYZ%", ch) != nullptr;
}

// The format with every conversion the basic set lacks escaped to literal text.
std::string SafeFormat(const std::string& format) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    char ch = format[i];
    if (ch == '\0') break;
    if (ch != '%') {
      out.push_back(ch);
    } else if (i + 1 < format.size() && IsBasicConversion(format[i + 1])) {
      out.push_back('%');
      out.push_back(format[++i]);
    } else {
      out += "%%";
    }
  }
  return out;
}

}  // namespace

std::string FormatLocalTime(int32_t t, const std::string& format, size_t limit) {
  if (limit == 0) return std::string();
  std::time_t tt = static_cast<std::time_t>(t);
  std::tm* tm = std::localtime(&tt);
  if (!tm) return std::string();
  std::string safe = SafeFormat(format);
  if (safe.empty()) return std::string();
  std::vector<char> buf(limit);
  size_t n = std::strftime(buf.data(), limit, safe.c_str(), tm);
  return std::string(buf.data(), n);
}

int32_t DaysBetween(int32_t then, int32_t now) {
  double seconds = std::difftime(static_cast<std::time_t>(now), static_cast<std::time_t>(then));
  return static_cast<int32_t>(static_cast<int64_t>(seconds) / 86400);
}

}  // namespace spinox
