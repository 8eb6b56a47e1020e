// The date-and-time stamp: a calendar date and a time of day to the second,
// without a zone, its conversions to and from calendar seconds, the C
// library's broken-down time and the machine's broken-down and file times,
// and the calendar rules that the date arithmetic rests on.
//
// Conversions take the output record first and the input second and return
// 0; no operation reports an error and none checks the ranges of the fields.
// A value wider than its field is cut to the field's width when stored.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/time.h"

namespace utillib {

using SystemTime = platform::SystemTime;
using FileTime = platform::FileTime;

// A date; year 0, month 0, day 0 is the empty date.
struct StampDate {
  std::uint16_t year;  // as written: 2007 is 2007
  std::uint8_t month;  // 1 to 12
  std::uint8_t day;    // 1 to 31

  friend bool operator==(const StampDate&, const StampDate&) = default;
};

struct StampTime {
  std::uint8_t hour;      // 0 to 23
  std::uint8_t minute;    // 0 to 59
  std::uint8_t second;    // 0 to 59
  std::uint8_t reserved;  // always 0

  friend bool operator==(const StampTime&, const StampTime&) = default;
};

// A date followed by a time; all zero is the empty stamp. A stamp made from
// the current time or from calendar seconds holds local time; one converted
// from a SystemTime, FileTime or tm holds whatever zone its source was in.
struct DateTimeStamp {
  StampDate date;
  StampTime time;

  friend bool operator==(const DateTimeStamp&, const DateTimeStamp&) = default;
};

static_assert(sizeof(StampDate) == 4, "StampDate is 4 bytes");
static_assert(sizeof(StampTime) == 4, "StampTime is 4 bytes");
static_assert(sizeof(DateTimeStamp) == 8, "DateTimeStamp is 8 bytes");

// The Monday that weekdays are counted from: 19.09.2005.
inline constexpr StampDate WEEKDAY_REFERENCE = {2005, 9, 19};

// Current local date and time; with fixedDate set, year 1980 and month 1
// replace the real ones. The empty stamp when the clock cannot be read.
int GetNowStamp(DateTimeStamp* stamp);
int GetNowDate(StampDate* date);
int GetNowTime(StampTime* time);

// To the C library's broken-down time. A negative time gives an all-zero tm.
int TmFromTime(std::tm* out, std::int32_t seconds);
int TmFromSystemTime(std::tm* out, const SystemTime& in);
int TmFromFileTime(std::tm* out, const FileTime& in);
// tm_wday from the weekday of the date; tm_yday and tm_isdst stay 0.
int TmFromStamp(std::tm* out, const DateTimeStamp& in);

// To calendar seconds: the broken-down time read as local time; -1 when it
// lies outside 01.01.1970 00:00:00 to 19.01.2038 03:14:07 UTC.
int TimeFromTm(std::int32_t* out, std::tm* in);  // *in is normalised in place
int TimeFromSystemTime(std::int32_t* out, const SystemTime& in);
int TimeFromFileTime(std::int32_t* out, const FileTime& in);
int TimeFromStamp(std::int32_t* out, const DateTimeStamp& in);

// To the machine's broken-down time; wMilliseconds is 0.
int SystemTimeFromTm(SystemTime* out, const std::tm& in);
int SystemTimeFromTime(SystemTime* out, std::int32_t seconds);
// Left unchanged when the file time has no broken-down form.
int SystemTimeFromFileTime(SystemTime* out, const FileTime& in);
int SystemTimeFromStamp(SystemTime* out, const DateTimeStamp& in);

// To a file time, with no zone change: the file time reads as the same wall
// clock as its input. Left unchanged when the input is no valid date and
// time (day 0, for one).
int FileTimeFromTm(FileTime* out, const std::tm& in);
int FileTimeFromTime(FileTime* out, std::int32_t seconds);
int FileTimeFromSystemTime(FileTime* out, const SystemTime& in);
int FileTimeFromStamp(FileTime* out, const DateTimeStamp& in);

// To a stamp. StampFromTm with a null record gives the empty stamp, and so
// does StampFromTime of a negative time.
int StampFromTm(DateTimeStamp* out, const std::tm* in);
int StampFromTime(DateTimeStamp* out, std::int32_t seconds);
int StampFromSystemTime(DateTimeStamp* out, const SystemTime& in);
int StampFromFileTime(DateTimeStamp* out, const FileTime& in);

// Days of the date's month: 28 to 31; month values outside 1 to 12 count 31.
int DaysInMonth(const StampDate& date);

// Signed number of days from `from` to `to`, positive when `to` is later.
// Defined for valid dates and the empty date.
std::int32_t DayDifference(const StampDate& from, const StampDate& to);

// 0 Monday, 1 Tuesday, ... 6 Sunday.
int Weekday(const StampDate& date);

}  // namespace utillib
