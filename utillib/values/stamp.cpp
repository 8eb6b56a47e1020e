#include "utillib/values/stamp.h"

#include "platform/time.h"
#include "utillib/foundation/startup.h"

namespace utillib {
namespace {

constexpr std::uint16_t FIXED_DATE_YEAR = 1980;
constexpr std::uint8_t FIXED_DATE_MONTH = 1;
constexpr unsigned TM_YEAR_BASE = 1900;

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysOfMonth(int year, int month) {
  switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    default:
      return 31;
  }
}

int DaysOfYear(int year) {
  return IsLeapYear(year) ? 366 : 365;
}

// Chronological order by year, then month, then day: negative, 0 or
// positive.
int Compare(const StampDate& a, const StampDate& b) {
  if (a.year != b.year) return a.year < b.year ? -1 : 1;
  if (a.month != b.month) return a.month < b.month ? -1 : 1;
  if (a.day != b.day) return a.day < b.day ? -1 : 1;
  return 0;
}

// Days from the earlier date to the later one, walking month by month in
// whole-calendar steps: each month adds its days from the current day on,
// and the later date's day is added at the end. A January passed on the way
// to a later year is taken together with its year, which adds exactly what
// its twelve months would. The walk also ends when it would pass the later
// date's month, so that a month value outside 1 to 12 there cannot keep it
// going.
std::int64_t WalkDays(const StampDate& early, const StampDate& late) {
  int year = early.year;
  int month = early.month;
  int day = early.day;
  std::int64_t count = 0;
  while (year < late.year || (year == late.year && month < late.month)) {
    if (month == 1 && year < late.year) {
      count += DaysOfYear(year) - day + 1;
      day = 1;
      ++year;
      continue;
    }
    count += DaysOfMonth(year, month) - day + 1;
    day = 1;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return count + late.day - day;
}

// Field stores that keep the low bits of value + offset, as the records'
// fields do; the unsigned sum keeps a wide value free of overflow.
std::uint16_t Low16(int value, unsigned offset = 0) {
  return static_cast<std::uint16_t>(static_cast<unsigned>(value) + offset);
}
std::uint8_t Low8(int value, unsigned offset = 0) {
  return static_cast<std::uint8_t>(static_cast<unsigned>(value) + offset);
}

}  // namespace

int GetNowStamp(DateTimeStamp* stamp) {
  std::tm local{};
  if (platform::LocalTime(platform::CurrentTime(), &local)) {
    StampFromTm(stamp, &local);
  } else {
    StampFromTm(stamp, nullptr);
  }
  if (fixedDate) {
    stamp->date.year = FIXED_DATE_YEAR;
    stamp->date.month = FIXED_DATE_MONTH;
  }
  return 0;
}

int GetNowDate(StampDate* date) {
  DateTimeStamp now;
  GetNowStamp(&now);
  *date = now.date;
  return 0;
}

int GetNowTime(StampTime* time) {
  DateTimeStamp now;
  GetNowStamp(&now);
  *time = now.time;
  return 0;
}

int TmFromTime(std::tm* out, std::int32_t seconds) {
  *out = std::tm{};
  std::tm local{};
  if (platform::LocalTime(seconds, &local)) *out = local;
  return 0;
}

int TmFromSystemTime(std::tm* out, const SystemTime& in) {
  *out = std::tm{};
  out->tm_year = in.wYear - static_cast<int>(TM_YEAR_BASE);
  out->tm_mon = in.wMonth - 1;
  out->tm_mday = in.wDay;
  out->tm_hour = in.wHour;
  out->tm_min = in.wMinute;
  out->tm_sec = in.wSecond;
  out->tm_wday = in.wDayOfWeek;
  return 0;
}

int TmFromFileTime(std::tm* out, const FileTime& in) {
  // A file time without a broken-down form leaves the record all zero,
  // which reads as the empty stamp.
  SystemTime fields{};
  platform::DecodeFileTime(in, &fields);
  return TmFromSystemTime(out, fields);
}

int TmFromStamp(std::tm* out, const DateTimeStamp& in) {
  *out = std::tm{};
  out->tm_year = in.date.year - static_cast<int>(TM_YEAR_BASE);
  out->tm_mon = in.date.month - 1;
  out->tm_mday = in.date.day;
  out->tm_hour = in.time.hour;
  out->tm_min = in.time.minute;
  out->tm_sec = in.time.second;
  // Monday 0 ... Sunday 6 becomes Sunday 0 ... Saturday 6.
  out->tm_wday = (Weekday(in.date) + 1) % 7;
  return 0;
}

int TimeFromTm(std::int32_t* out, std::tm* in) {
  *out = platform::MakeLocalTime(in);
  return 0;
}

int TimeFromSystemTime(std::int32_t* out, const SystemTime& in) {
  std::tm broken;
  TmFromSystemTime(&broken, in);
  return TimeFromTm(out, &broken);
}

int TimeFromFileTime(std::int32_t* out, const FileTime& in) {
  std::tm broken;
  TmFromFileTime(&broken, in);
  return TimeFromTm(out, &broken);
}

int TimeFromStamp(std::int32_t* out, const DateTimeStamp& in) {
  std::tm broken;
  TmFromStamp(&broken, in);
  return TimeFromTm(out, &broken);
}

int SystemTimeFromTm(SystemTime* out, const std::tm& in) {
  *out = SystemTime{};
  out->wYear = Low16(in.tm_year, TM_YEAR_BASE);
  out->wMonth = Low16(in.tm_mon, 1);
  out->wDayOfWeek = Low16(in.tm_wday);
  out->wDay = Low16(in.tm_mday);
  out->wHour = Low16(in.tm_hour);
  out->wMinute = Low16(in.tm_min);
  out->wSecond = Low16(in.tm_sec);
  return 0;
}

int SystemTimeFromTime(SystemTime* out, std::int32_t seconds) {
  std::tm broken;
  TmFromTime(&broken, seconds);
  return SystemTimeFromTm(out, broken);
}

int SystemTimeFromFileTime(SystemTime* out, const FileTime& in) {
  platform::DecodeFileTime(in, out);
  return 0;
}

int SystemTimeFromStamp(SystemTime* out, const DateTimeStamp& in) {
  std::tm broken;
  TmFromStamp(&broken, in);
  return SystemTimeFromTm(out, broken);
}

int FileTimeFromTm(FileTime* out, const std::tm& in) {
  SystemTime fields;
  SystemTimeFromTm(&fields, in);
  platform::EncodeFileTime(fields, out);
  return 0;
}

int FileTimeFromTime(FileTime* out, std::int32_t seconds) {
  SystemTime fields;
  SystemTimeFromTime(&fields, seconds);
  platform::EncodeFileTime(fields, out);
  return 0;
}

int FileTimeFromSystemTime(FileTime* out, const SystemTime& in) {
  platform::EncodeFileTime(in, out);
  return 0;
}

int FileTimeFromStamp(FileTime* out, const DateTimeStamp& in) {
  std::tm broken;
  TmFromStamp(&broken, in);
  return FileTimeFromTm(out, broken);
}

int StampFromTm(DateTimeStamp* out, const std::tm* in) {
  *out = DateTimeStamp{};
  if (in == nullptr) return 0;
  out->date.year = Low16(in->tm_year, TM_YEAR_BASE);
  out->date.month = Low8(in->tm_mon, 1);
  out->date.day = Low8(in->tm_mday);
  out->time.hour = Low8(in->tm_hour);
  out->time.minute = Low8(in->tm_min);
  out->time.second = Low8(in->tm_sec);
  return 0;
}

int StampFromTime(DateTimeStamp* out, std::int32_t seconds) {
  std::tm local{};
  return StampFromTm(out, platform::LocalTime(seconds, &local) ? &local : nullptr);
}

int StampFromSystemTime(DateTimeStamp* out, const SystemTime& in) {
  std::tm broken;
  TmFromSystemTime(&broken, in);
  return StampFromTm(out, &broken);
}

int StampFromFileTime(DateTimeStamp* out, const FileTime& in) {
  std::tm broken;
  TmFromFileTime(&broken, in);
  return StampFromTm(out, &broken);
}

int DaysInMonth(const StampDate& date) {
  return DaysOfMonth(date.year, date.month);
}

std::int32_t DayDifference(const StampDate& from, const StampDate& to) {
  if (Compare(from, to) > 0) return static_cast<std::int32_t>(-WalkDays(to, from));
  return static_cast<std::int32_t>(WalkDays(from, to));
}

int Weekday(const StampDate& date) {
  const int remainder = DayDifference(WEEKDAY_REFERENCE, date) % 7;
  return remainder < 0 ? remainder + 7 : remainder;
}

}  // namespace utillib
