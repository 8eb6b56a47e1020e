#include "platform/time.h"

#include <cstdint>
#include <ctime>

namespace platform {
namespace {

constexpr std::int64_t kMaxCalendarSeconds = 0x7FFFFFFF;
constexpr std::int64_t kTicksPerMillisecond = 10000;
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 01.01.1601 to 01.01.1970.
constexpr std::int64_t kDays1601To1970 = 134774;
constexpr int kFirstFileTimeYear = 1601;
// The largest file time lies in this year; counts beyond it have their top
// bit set.
constexpr int kLastFileTimeYear = 30828;
constexpr std::uint64_t kMaxFileTimeTicks = 0x7FFFFFFFFFFFFFFFull;

bool IsLeapYear(std::int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysOfMonth(std::int64_t year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

// Days since 01.01.1970 of a proleptic Gregorian date, and back. The
// computation counts in 400-year eras starting on 1 March.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
  const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t* year, int* month, int* day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  *day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  *month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

}  // namespace

CalendarSeconds CurrentTime() {
  const std::time_t now = std::time(nullptr);
  if (now < 0 || static_cast<std::int64_t>(now) > kMaxCalendarSeconds) return kNoCalendarTime;
  return static_cast<CalendarSeconds>(now);
}

bool LocalTime(CalendarSeconds seconds, std::tm* out) {
  if (seconds < 0) return false;
  const std::time_t t = seconds;
  std::tm result{};
  if (localtime_r(&t, &result) == nullptr) return false;
  *out = result;
  return true;
}

bool UtcTime(CalendarSeconds seconds, std::tm* out) {
  if (seconds < 0) return false;
  const std::time_t t = seconds;
  std::tm result{};
  if (gmtime_r(&t, &result) == nullptr) return false;
  *out = result;
  return true;
}

CalendarSeconds MakeLocalTime(std::tm* local) {
  std::tm normalised = *local;
  const std::time_t t = std::mktime(&normalised);
  // mktime's own failure value -1 falls below the range as well.
  if (t < 0 || static_cast<std::int64_t>(t) > kMaxCalendarSeconds) return kNoCalendarTime;
  *local = normalised;
  return static_cast<CalendarSeconds>(t);
}

bool DecodeFileTime(const FileTime& fileTime, SystemTime* fields) {
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  if ((ticks >> 63) != 0) return false;
  const auto count = static_cast<std::int64_t>(ticks);
  const std::int64_t totalSeconds = count / kTicksPerSecond;
  const std::int64_t days = totalSeconds / kSecondsPerDay;
  const std::int64_t secondOfDay = totalSeconds % kSecondsPerDay;
  std::int64_t year = 0;
  int month = 0;
  int day = 0;
  CivilFromDays(days - kDays1601To1970, &year, &month, &day);
  SystemTime result{};
  result.wYear = static_cast<std::uint16_t>(year);
  result.wMonth = static_cast<std::uint16_t>(month);
  // 01.01.1601 was a Monday.
  result.wDayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);
  result.wDay = static_cast<std::uint16_t>(day);
  result.wHour = static_cast<std::uint16_t>(secondOfDay / 3600);
  result.wMinute = static_cast<std::uint16_t>(secondOfDay % 3600 / 60);
  result.wSecond = static_cast<std::uint16_t>(secondOfDay % 60);
  result.wMilliseconds = static_cast<std::uint16_t>(count % kTicksPerSecond / kTicksPerMillisecond);
  *fields = result;
  return true;
}

bool EncodeFileTime(const SystemTime& fields, FileTime* fileTime) {
  if (fields.wYear < kFirstFileTimeYear || fields.wYear > kLastFileTimeYear) return false;
  if (fields.wMonth < 1 || fields.wMonth > 12) return false;
  if (fields.wDay < 1 || fields.wDay > DaysOfMonth(fields.wYear, fields.wMonth)) return false;
  if (fields.wHour > 23 || fields.wMinute > 59 || fields.wSecond > 59) return false;
  if (fields.wMilliseconds > 999) return false;
  const std::int64_t days =
      DaysFromCivil(fields.wYear, fields.wMonth, fields.wDay) + kDays1601To1970;
  const auto seconds = static_cast<std::uint64_t>(days * kSecondsPerDay + fields.wHour * 3600 +
                                                  fields.wMinute * 60 + fields.wSecond);
  const std::uint64_t ticks =
      seconds * kTicksPerSecond + std::uint64_t{fields.wMilliseconds} * kTicksPerMillisecond;
  if (ticks > kMaxFileTimeTicks) return false;
  fileTime->dwLowDateTime = static_cast<std::uint32_t>(ticks);
  fileTime->dwHighDateTime = static_cast<std::uint32_t>(ticks >> 32);
  return true;
}

}  // namespace platform
