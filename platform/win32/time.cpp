#include "platform/time.h"

#include <windows.h>

#include <time.h>

#include <cstdint>

namespace platform {
namespace {

// The run-time's 64-bit calls serve the 32-bit calendar seconds: values
// outside 0 to 2^31 - 1 are mapped to failure here.
constexpr std::int64_t kMaxCalendarSeconds = 0x7FFFFFFF;

bool InRange(__time64_t t) {
  return t >= 0 && static_cast<std::int64_t>(t) <= kMaxCalendarSeconds;
}

}  // namespace

CalendarSeconds CurrentTime() {
  const __time64_t now = _time64(nullptr);
  return InRange(now) ? static_cast<CalendarSeconds>(now) : kNoCalendarTime;
}

bool LocalTime(CalendarSeconds seconds, std::tm* out) {
  if (seconds < 0) return false;
  const __time64_t t = seconds;
  const struct tm* result = _localtime64(&t);
  if (result == nullptr) return false;
  *out = *result;
  return true;
}

bool UtcTime(CalendarSeconds seconds, std::tm* out) {
  if (seconds < 0) return false;
  const __time64_t t = seconds;
  const struct tm* result = _gmtime64(&t);
  if (result == nullptr) return false;
  *out = *result;
  return true;
}

CalendarSeconds MakeLocalTime(std::tm* local) {
  struct tm normalised = *local;
  const __time64_t t = _mktime64(&normalised);
  if (!InRange(t)) return kNoCalendarTime;
  *local = normalised;
  return static_cast<CalendarSeconds>(t);
}

bool DecodeFileTime(const FileTime& fileTime, SystemTime* fields) {
  FILETIME source;
  source.dwLowDateTime = fileTime.dwLowDateTime;
  source.dwHighDateTime = fileTime.dwHighDateTime;
  SYSTEMTIME result;
  if (!FileTimeToSystemTime(&source, &result)) return false;
  fields->wYear = result.wYear;
  fields->wMonth = result.wMonth;
  fields->wDayOfWeek = result.wDayOfWeek;
  fields->wDay = result.wDay;
  fields->wHour = result.wHour;
  fields->wMinute = result.wMinute;
  fields->wSecond = result.wSecond;
  fields->wMilliseconds = result.wMilliseconds;
  return true;
}

bool EncodeFileTime(const SystemTime& fields, FileTime* fileTime) {
  SYSTEMTIME source;
  source.wYear = fields.wYear;
  source.wMonth = fields.wMonth;
  source.wDayOfWeek = fields.wDayOfWeek;
  source.wDay = fields.wDay;
  source.wHour = fields.wHour;
  source.wMinute = fields.wMinute;
  source.wSecond = fields.wSecond;
  source.wMilliseconds = fields.wMilliseconds;
  FILETIME result;
  if (!SystemTimeToFileTime(&source, &result)) return false;
  fileTime->dwLowDateTime = result.dwLowDateTime;
  fileTime->dwHighDateTime = result.dwHighDateTime;
  return true;
}

}  // namespace platform
