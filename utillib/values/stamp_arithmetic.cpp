#include "utillib/values/stamp_arithmetic.h"

#include "platform/machine.h"
#include "platform/time.h"

namespace utillib {
namespace {

constexpr std::int64_t SECONDS_PER_DAY = 86400;
constexpr std::int64_t DAYS_PER_400_YEARS = 146097;

int SecondOfDay(const StampTime& time) {
  return time.hour * 3600 + time.minute * 60 + time.second;
}

// Days from 01.01.0000 to 01.01.year (year 0 is a leap year).
constexpr std::int64_t DaysBeforeYear(std::int64_t year) {
  return 365 * year + (year + 3) / 4 - (year + 99) / 100 + (year + 399) / 400;
}

// The year field wraps after 65535, so the calendar of the dates repeats
// after this many days.
constexpr std::int64_t DAYS_PER_YEAR_CYCLE = DaysBeforeYear(65536);

std::int64_t DayNumber(const StampDate& date) {
  std::int64_t days = DaysBeforeYear(date.year);
  StampDate month = date;
  for (month.month = 1; month.month < date.month; ++month.month) days += DaysInMonth(month);
  return days + date.day - 1;
}

StampDate DateOfDayNumber(std::int64_t days) {
  StampDate date{};
  // An estimate from the mean year length, then corrected.
  std::int64_t year = days * 400 / DAYS_PER_400_YEARS;
  while (DaysBeforeYear(year) > days) --year;
  while (DaysBeforeYear(year + 1) <= days) ++year;
  days -= DaysBeforeYear(year);
  date.year = static_cast<std::uint16_t>(year);
  date.month = 1;
  while (days >= DaysInMonth(date)) {
    days -= DaysInMonth(date);
    ++date.month;
  }
  date.day = static_cast<std::uint8_t>(days + 1);
  return date;
}

bool HasRealDay(const StampDate& date) {
  return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= DaysInMonth(date);
}

void StepForward(StampDate* date) {
  ++date->day;
  if (date->day > DaysInMonth(*date)) {
    date->day = 1;
    if (++date->month > 12) {
      date->month = 1;
      ++date->year;
    }
  }
}

void StepBack(StampDate* date) {
  if (--date->day == 0) {
    if (date->month <= 1) {
      date->month = 12;
      --date->year;
    } else {
      --date->month;
    }
    date->day = static_cast<std::uint8_t>(DaysInMonth(*date));
  }
}

}  // namespace

std::int32_t SecondsBetween(const DateTimeStamp& from, const DateTimeStamp& to) {
  const std::int64_t seconds = DayDifference(from.date, to.date) * SECONDS_PER_DAY +
                               (SecondOfDay(to.time) - SecondOfDay(from.time));
  return static_cast<std::int32_t>(seconds);
}

int AddSeconds(DateTimeStamp* stamp, std::int32_t seconds) {
  if (seconds == 0) return 0;
  // The magnitude as unsigned, so that the most negative value has one too.
  const std::uint32_t magnitude =
      seconds < 0 ? 0u - static_cast<std::uint32_t>(seconds) : static_cast<std::uint32_t>(seconds);
  std::int32_t days = static_cast<std::int32_t>(magnitude / 86400);
  int hours = static_cast<int>(magnitude % 86400 / 3600);
  int minutes = static_cast<int>(magnitude % 3600 / 60);
  const int secs = static_cast<int>(magnitude % 60);
  int second = stamp->time.second;
  int minute = stamp->time.minute;
  int hour = stamp->time.hour;
  if (seconds > 0) {
    second += secs;
    while (second > 59) {
      second -= 60;
      ++minute;
    }
    minute += minutes;
    while (minute > 59) {
      minute -= 60;
      ++hour;
    }
    hour += hours;
    while (hour > 23) {
      hour -= 24;
      ++days;
    }
  } else {
    second -= secs;
    if (second < 0) {
      second += 60;
      ++minutes;
    }
    minute -= minutes;
    if (minute < 0) {
      minute += 60;
      ++hours;
    }
    hour -= hours;
    if (hour < 0) {
      hour += 24;
      ++days;
    }
    days = -days;
  }
  stamp->time.second = static_cast<std::uint8_t>(second);
  stamp->time.minute = static_cast<std::uint8_t>(minute);
  stamp->time.hour = static_cast<std::uint8_t>(hour);
  if (days != 0) AddDays(&stamp->date, days);
  return 0;
}

int AddDays(StampDate* date, std::int32_t days) {
  std::int64_t remaining = days;
  // A date that is no real calendar day moves one day per step until it is
  // one; from a real day on, every step moves one day along the calendar,
  // whose years repeat with the wrap of the year field, so the rest of the
  // move is taken at once on the day count.
  while (remaining != 0 && !HasRealDay(*date)) {
    if (remaining > 0) {
      StepForward(date);
      --remaining;
    } else {
      StepBack(date);
      ++remaining;
    }
  }
  if (remaining == 0) return 0;
  std::int64_t target = (DayNumber(*date) + remaining) % DAYS_PER_YEAR_CYCLE;
  if (target < 0) target += DAYS_PER_YEAR_CYCLE;
  *date = DateOfDayNumber(target);
  return 0;
}

bool IsValidDate(const StampDate& date) {
  if (date.year == 0 && date.month == 0 && date.day == 0) return true;
  return HasRealDay(date);
}

bool IsValidTime(const StampTime& time) {
  return time.hour <= 23 && time.minute <= 59 && time.second <= 59;
}

bool IsValidStamp(const DateTimeStamp& stamp) {
  return IsValidDate(stamp.date) && IsValidTime(stamp.time);
}

int UtcOffsetHours() {
  const platform::CalendarSeconds now = platform::CurrentTime();
  std::tm broken{};
  DateTimeStamp utc;
  StampFromTm(&utc, platform::UtcTime(now, &broken) ? &broken : nullptr);
  DateTimeStamp local;
  StampFromTm(&local, platform::LocalTime(now, &broken) ? &broken : nullptr);
  return SecondsBetween(utc, local) / 3600;
}

int Pause(std::uint32_t milliseconds) {
  platform::CurrentMachine().Sleep(milliseconds);
  return 0;
}

}  // namespace utillib
