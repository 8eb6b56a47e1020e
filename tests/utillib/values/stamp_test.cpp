#include "utillib/values/stamp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "platform/time.h"
#include "utillib/foundation/startup.h"
#include "utillib/values/stamp_arithmetic.h"
#include "utillib/values/values_support.h"

namespace utillib {
namespace {

using namespace std::chrono;
using values_test::Date;
using values_test::Stamp;

StampDate FromChrono(const year_month_day& ymd) {
  return Date(static_cast<int>(static_cast<unsigned>(ymd.day())),
              static_cast<int>(static_cast<unsigned>(ymd.month())), static_cast<int>(ymd.year()));
}

TEST(StampLayout, FieldsLieInTheirBytes) {
  const DateTimeStamp stamp = Stamp(27, 6, 2007, 14, 5, 9);
  unsigned char bytes[8];
  std::memcpy(bytes, &stamp, sizeof(bytes));
  const unsigned char expected[8] = {0xD7, 0x07, 6, 27, 14, 5, 9, 0};  // 2007 = 0x07D7
  EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof(bytes)));
}

TEST(CalendarRules, PartExamples) {
  EXPECT_EQ(29, DaysInMonth(Date(1, 2, 2000)));
  EXPECT_EQ(28, DaysInMonth(Date(1, 2, 1900)));
  EXPECT_EQ(29, DaysInMonth(Date(1, 2, 2004)));
  EXPECT_EQ(31, DaysInMonth(Date(1, 13, 2007)));
  EXPECT_EQ(31, DaysInMonth(Date(1, 0, 2007)));

  EXPECT_EQ(60, DayDifference(Date(1, 1, 2000), Date(1, 3, 2000)));
  EXPECT_EQ(-28, DayDifference(Date(1, 3, 1900), Date(1, 2, 1900)));
  EXPECT_EQ(0, DayDifference(Date(27, 6, 2007), Date(27, 6, 2007)));
  EXPECT_EQ(1, DayDifference(Date(31, 12, 2047), Date(1, 1, 2048)));
  EXPECT_EQ(-1, DayDifference(Date(1, 1, 2048), Date(31, 12, 2047)));

  EXPECT_EQ(0, Weekday(Date(19, 9, 2005)));
  EXPECT_EQ(6, Weekday(Date(18, 9, 2005)));
  EXPECT_EQ(5, Weekday(Date(1, 1, 2000)));
  EXPECT_EQ(2, Weekday(Date(27, 6, 2007)));
}

TEST(CalendarRules, EmptyDateAndFarYears) {
  // The empty date is the earliest of all: its month 0 counts 31 days.
  EXPECT_EQ(32 + 366, DayDifference(Date(0, 0, 0), Date(1, 1, 1)));
  EXPECT_EQ(-(32 + 366), DayDifference(Date(1, 1, 1), Date(0, 0, 0)));
  const auto far = sys_days{year{9999} / 12 / 31} - sys_days{year{2005} / 9 / 19};
  EXPECT_EQ(far.count(), DayDifference(WEEKDAY_REFERENCE, Date(31, 12, 9999)));
}

TEST(CalendarRules, LaterDateWithMonthOutsideTheYearEndsTheWalk) {
  // Such dates are no calendar days; the walk must still come to an end.
  const std::int32_t toMonth13 = DayDifference(Date(1, 1, 2007), Date(1, 13, 2007));
  EXPECT_EQ(365, toMonth13);  // stops at the first month past it: January 2008
  EXPECT_EQ(-DayDifference(Date(1, 1, 2007), Date(5, 0, 2008)),
            DayDifference(Date(5, 0, 2008), Date(1, 1, 2007)));
  EXPECT_GE(Weekday(Date(1, 200, 65535)), 0);
}

// Every date of 1901 to 2099 against the C++ calendar.
TEST(CalendarRules, AgreeWithTheStandardCalendarFrom1901To2099) {
  const sys_days first = year{1901} / 1 / 1;
  const sys_days last = year{2099} / 12 / 31;
  const sys_days referenceDay = year{2005} / 9 / 19;
  constexpr int kSteps[] = {1, 59, 366, 10000};
  int failures = 0;
  for (sys_days day = first; day <= last && failures < 10; day += days{1}) {
    const year_month_day ymd{day};
    const StampDate date = FromChrono(ymd);
    const auto monthEnd = year_month_day_last{ymd.year(), month_day_last{ymd.month()}};
    const int expectedWeekday = static_cast<int>(weekday{day}.iso_encoding()) - 1;
    bool ok = DaysInMonth(date) == static_cast<int>(static_cast<unsigned>(monthEnd.day())) &&
              Weekday(date) == expectedWeekday &&
              DayDifference(WEEKDAY_REFERENCE, date) == (day - referenceDay).count();
    std::tm broken;
    TmFromStamp(&broken, {date, {}});
    ok = ok && broken.tm_wday == static_cast<int>(weekday{day}.c_encoding());
    for (int step : kSteps) {
      for (int sign : {1, -1}) {
        const sys_days other = day + days{step * sign};
        if (other < first || other > last) continue;
        const StampDate otherDate = FromChrono(year_month_day{other});
        StampDate moved = date;
        AddDays(&moved, step * sign);
        ok = ok && moved == otherDate && DayDifference(date, otherDate) == step * sign;
        if (step <= 366) {
          const DateTimeStamp from{date, {23, 0, 1, 0}};
          const DateTimeStamp to{otherDate, {12, 34, 56, 0}};
          const std::int32_t expected = step * sign * 86400 + (12 * 3600 + 34 * 60 + 56) - 82801;
          ok = ok && SecondsBetween(from, to) == expected && SecondsBetween(to, from) == -expected;
        }
      }
    }
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "calendar rules disagree at " << static_cast<int>(ymd.year()) << '-'
                    << static_cast<unsigned>(ymd.month()) << '-'
                    << static_cast<unsigned>(ymd.day());
    }
  }
}

class StampConversion : public values_test::CentralEuropeTest {};

TEST_F(StampConversion, FromCalendarSeconds) {
  DateTimeStamp stamp;
  StampFromTime(&stamp, 0);
  EXPECT_EQ(Stamp(1, 1, 1970, 1, 0, 0), stamp);

  std::memset(&stamp, 0x55, sizeof(stamp));
  StampFromTime(&stamp, -1);
  EXPECT_EQ(DateTimeStamp{}, stamp);

  // 27.06.2007 12:05:09 UTC is 14:05:09 summer time.
  const auto summer = sys_days{year{2007} / 6 / 27} + hours{12} + minutes{5} + seconds{9};
  const auto summerSeconds = static_cast<std::int32_t>(summer.time_since_epoch().count());
  StampFromTime(&stamp, summerSeconds);
  EXPECT_EQ(Stamp(27, 6, 2007, 14, 5, 9), stamp);

  std::tm broken;
  TmFromTime(&broken, summerSeconds);
  EXPECT_EQ(107, broken.tm_year);
  EXPECT_EQ(5, broken.tm_mon);
  EXPECT_EQ(3, broken.tm_wday);
  EXPECT_EQ(177, broken.tm_yday);
  EXPECT_GT(broken.tm_isdst, 0);

  std::memset(&broken, 0x55, sizeof(broken));
  TmFromTime(&broken, -1);
  EXPECT_EQ(0, broken.tm_year);
  EXPECT_EQ(0, broken.tm_mday);
  EXPECT_EQ(0, broken.tm_isdst);

  SystemTime fields;
  SystemTimeFromTime(&fields, -1);
  EXPECT_EQ(1900, fields.wYear);
  EXPECT_EQ(1, fields.wMonth);
  EXPECT_EQ(0, fields.wDay);
  EXPECT_EQ(0, fields.wHour);

  // Day 0 has no file time: the output stays as it was.
  FileTime fileTime{0x12345678, 0x9ABC};
  FileTimeFromTime(&fileTime, -1);
  EXPECT_EQ(0x12345678u, fileTime.dwLowDateTime);
  EXPECT_EQ(0x9ABCu, fileTime.dwHighDateTime);
}

TEST_F(StampConversion, ToCalendarSecondsReadsLocalTimeWithin32Bits) {
  struct Case {
    DateTimeStamp stamp;
    std::int32_t seconds;
  };
  const Case cases[] = {
      {Stamp(1, 1, 1970, 1, 0, 0), 0},
      {Stamp(1, 1, 1970, 0, 59, 59), -1},  // before the epoch in UTC
      {Stamp(19, 1, 2038, 4, 14, 7), 2147483647},
      {Stamp(19, 1, 2038, 4, 14, 8), -1},
      {DateTimeStamp{}, -1},
      {Stamp(15, 1, 2007, 12, 0, 0), 1168858800},
      // tm_isdst 0 reads a summer date as standard time: 14:05:09 CET.
      {Stamp(27, 6, 2007, 14, 5, 9), 1182949509},
  };
  for (const Case& c : cases) {
    std::int32_t seconds = 12345;
    TimeFromStamp(&seconds, c.stamp);
    EXPECT_EQ(c.seconds, seconds) << testing::PrintToString(c.stamp);
  }

  // mktime normalises the record in place.
  std::tm broken{};
  broken.tm_year = 107;
  broken.tm_mon = 0;
  broken.tm_mday = 32;
  broken.tm_hour = 12;
  std::int32_t seconds = 0;
  TimeFromTm(&seconds, &broken);
  EXPECT_EQ(1, broken.tm_mon);
  EXPECT_EQ(1, broken.tm_mday);
  EXPECT_EQ(1170327600, seconds);
}

TEST_F(StampConversion, BrokenDownForms) {
  const DateTimeStamp stamp = Stamp(24, 6, 2007, 23, 59, 58);  // a Sunday
  std::tm broken;
  std::memset(&broken, 0x55, sizeof(broken));
  TmFromStamp(&broken, stamp);
  EXPECT_EQ(107, broken.tm_year);
  EXPECT_EQ(5, broken.tm_mon);
  EXPECT_EQ(24, broken.tm_mday);
  EXPECT_EQ(23, broken.tm_hour);
  EXPECT_EQ(59, broken.tm_min);
  EXPECT_EQ(58, broken.tm_sec);
  EXPECT_EQ(0, broken.tm_wday);
  EXPECT_EQ(0, broken.tm_yday);
  EXPECT_EQ(0, broken.tm_isdst);
  TmFromStamp(&broken, Stamp(23, 6, 2007, 0, 0, 0));
  EXPECT_EQ(6, broken.tm_wday);

  SystemTime fields;
  SystemTimeFromStamp(&fields, stamp);
  EXPECT_EQ(2007, fields.wYear);
  EXPECT_EQ(6, fields.wMonth);
  EXPECT_EQ(0, fields.wDayOfWeek);
  EXPECT_EQ(24, fields.wDay);
  EXPECT_EQ(23, fields.wHour);
  EXPECT_EQ(59, fields.wMinute);
  EXPECT_EQ(58, fields.wSecond);
  EXPECT_EQ(0, fields.wMilliseconds);

  fields.wMilliseconds = 999;
  fields.wDayOfWeek = 4;
  TmFromSystemTime(&broken, fields);
  EXPECT_EQ(4, broken.tm_wday);
  EXPECT_EQ(0, broken.tm_yday);
  DateTimeStamp back;
  StampFromSystemTime(&back, fields);
  EXPECT_EQ(stamp, back);

  std::memset(&back, 0x55, sizeof(back));
  StampFromTm(&back, nullptr);
  EXPECT_EQ(DateTimeStamp{}, back);

  // Values wider than their fields keep their low bits; reserved is 0.
  std::tm wide{};
  wide.tm_year = 70000 - 1900;
  wide.tm_mon = 299;
  wide.tm_mday = 300;
  wide.tm_hour = 256 + 7;
  StampFromTm(&back, &wide);
  EXPECT_EQ(70000 - 65536, back.date.year);
  EXPECT_EQ(300 - 256, back.date.month);
  EXPECT_EQ(300 - 256, back.date.day);
  EXPECT_EQ(7, back.time.hour);
  EXPECT_EQ(0, back.time.reserved);
}

TEST_F(StampConversion, FileTimesMakeNoZoneChange) {
  const DateTimeStamp stamp = Stamp(27, 6, 2007, 14, 5, 9);
  const auto wall = sys_days{year{2007} / 6 / 27} + hours{14} + minutes{5} + seconds{9};
  const auto ticks = static_cast<std::uint64_t>((wall - sys_days{year{1601} / 1 / 1}).count() *
                                                std::int64_t{10000000});

  FileTime fileTime{};
  FileTimeFromStamp(&fileTime, stamp);
  EXPECT_EQ(ticks, (std::uint64_t{fileTime.dwHighDateTime} << 32) | fileTime.dwLowDateTime);

  DateTimeStamp back;
  StampFromFileTime(&back, fileTime);
  EXPECT_EQ(stamp, back);
  std::int32_t seconds = 0;
  TimeFromFileTime(&seconds, fileTime);
  EXPECT_EQ(1182949509, seconds);  // read as standard time, like TimeFromStamp

  SystemTime fields{};
  SystemTimeFromFileTime(&fields, fileTime);
  EXPECT_EQ(3, fields.wDayOfWeek);  // a Wednesday
  FileTime again{};
  FileTimeFromSystemTime(&again, fields);
  EXPECT_EQ(fileTime.dwLowDateTime, again.dwLowDateTime);
  EXPECT_EQ(fileTime.dwHighDateTime, again.dwHighDateTime);

  // The file time of calendar seconds reads as the local wall clock.
  FileTimeFromTime(&fileTime, 0);
  EXPECT_EQ(116444736000000000ull + 36000000000ull,
            (std::uint64_t{fileTime.dwHighDateTime} << 32) | fileTime.dwLowDateTime);

  // The empty stamp (day 0) has no file time; a file time with its top bit
  // set has no broken-down form and gives the empty stamp.
  FileTime untouched{1, 2};
  FileTimeFromStamp(&untouched, DateTimeStamp{});
  EXPECT_EQ(1u, untouched.dwLowDateTime);
  EXPECT_EQ(2u, untouched.dwHighDateTime);
  StampFromFileTime(&back, FileTime{0, 0x80000000u});
  EXPECT_EQ(DateTimeStamp{}, back);
  TimeFromFileTime(&seconds, FileTime{0, 0x80000000u});
  EXPECT_EQ(-1, seconds);
}

TEST_F(StampConversion, NowFollowsTheClockAndTheFixedDateFlag) {
  const bool saved = fixedDate;
  for (bool fixed : {false, true}) {
    fixedDate = fixed;
    // Retry when the clock ticks between the two readings.
    for (int attempt = 0; attempt < 5; ++attempt) {
      std::tm local{};
      ASSERT_TRUE(platform::LocalTime(platform::CurrentTime(), &local));
      DateTimeStamp now;
      GetNowStamp(&now);
      StampDate date;
      GetNowDate(&date);
      StampTime time;
      std::memset(&time, 0xFF, sizeof(time));
      GetNowTime(&time);
      DateTimeStamp expected;
      StampFromTm(&expected, &local);
      if (!(expected.time == now.time) || !(now.time == time)) continue;
      if (fixed) {
        expected.date.year = 1980;
        expected.date.month = 1;
      }
      EXPECT_EQ(expected, now);
      EXPECT_EQ(expected.date, date);
      EXPECT_EQ(0, time.reserved);
      break;
    }
  }
  fixedDate = saved;
}

}  // namespace
}  // namespace utillib
