#include "utillib/values/stamp_arithmetic.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "platform/emulated/emulated_machine.h"
#include "platform/machine.h"
#include "platform/time.h"
#include "utillib/values/values_support.h"

namespace utillib {
namespace {

using values_test::Date;
using values_test::Stamp;

TEST(StampArithmetic, SecondsBetween) {
  EXPECT_EQ(86401, SecondsBetween(Stamp(1, 1, 2007, 0, 0, 0), Stamp(2, 1, 2007, 0, 0, 1)));
  EXPECT_EQ(-86401, SecondsBetween(Stamp(2, 1, 2007, 0, 0, 1), Stamp(1, 1, 2007, 0, 0, 0)));
  EXPECT_EQ(1, SecondsBetween(Stamp(31, 12, 2006, 23, 59, 59), Stamp(1, 1, 2007, 0, 0, 0)));
  EXPECT_EQ(0, SecondsBetween(Stamp(27, 6, 2007, 14, 5, 9), Stamp(27, 6, 2007, 14, 5, 9)));
  // 24855 days apart still fit 32 bits.
  EXPECT_EQ(24855 * 86400, SecondsBetween(Stamp(1, 1, 1970, 0, 0, 0), Stamp(19, 1, 2038, 0, 0, 0)));
}

TEST(StampArithmetic, AddSeconds) {
  struct Case {
    DateTimeStamp from;
    std::int32_t seconds;
    DateTimeStamp to;
  };
  const Case cases[] = {
      {Stamp(31, 12, 2006, 23, 59, 59), 1, Stamp(1, 1, 2007, 0, 0, 0)},
      {Stamp(1, 1, 2007, 0, 0, 0), -1, Stamp(31, 12, 2006, 23, 59, 59)},
      {Stamp(28, 2, 2004, 12, 0, 0), 86400, Stamp(29, 2, 2004, 12, 0, 0)},
      {Stamp(28, 2, 2007, 12, 0, 0), 86400, Stamp(1, 3, 2007, 12, 0, 0)},
      {Stamp(10, 5, 2007, 22, 58, 59), 90061, Stamp(12, 5, 2007, 0, 0, 0)},
      {Stamp(12, 5, 2007, 0, 0, 0), -90061, Stamp(10, 5, 2007, 22, 58, 59)},
      {Stamp(27, 6, 2007, 14, 5, 9), 0, Stamp(27, 6, 2007, 14, 5, 9)},
      {Stamp(1, 1, 1970, 0, 0, 0), 2147483647, Stamp(19, 1, 2038, 3, 14, 7)},
      // The most negative count has a magnitude too.
      {Stamp(19, 1, 2038, 3, 14, 8), -2147483647 - 1, Stamp(1, 1, 1970, 0, 0, 0)},
  };
  for (const Case& c : cases) {
    DateTimeStamp stamp = c.from;
    AddSeconds(&stamp, c.seconds);
    EXPECT_EQ(c.to, stamp) << testing::PrintToString(c.from) << " + " << c.seconds;
    EXPECT_EQ(c.seconds, SecondsBetween(c.from, c.to));
  }
}

TEST(StampArithmetic, AddDays) {
  struct Case {
    StampDate from;
    std::int32_t days;
    StampDate to;
  };
  const Case cases[] = {
      {Date(31, 1, 2007), 1, Date(1, 2, 2007)},
      {Date(1, 3, 2004), -1, Date(29, 2, 2004)},
      {Date(1, 1, 2007), -1, Date(31, 12, 2006)},
      {Date(27, 6, 2007), 0, Date(27, 6, 2007)},
      // The year wraps with its 16-bit field.
      {Date(1, 1, 0), -1, Date(31, 12, 65535)},
      {Date(31, 12, 65535), 1, Date(1, 1, 0)},
      // Dates that are no calendar day move one day per step first.
      {Date(0, 0, 0), 1, Date(1, 0, 0)},
      {Date(0, 0, 0), 32, Date(1, 1, 0)},
      {Date(31, 13, 2007), 1, Date(1, 1, 2008)},
  };
  for (const Case& c : cases) {
    StampDate date = c.from;
    AddDays(&date, c.days);
    EXPECT_EQ(c.to, date) << testing::PrintToString(c.from) << " + " << c.days;
  }
}

TEST(StampArithmetic, LongMovesAreExactAndQuick) {
  // The calendar of the 16-bit years repeats after 23936532 days.
  constexpr std::int32_t kCycle = 23936532;
  const StampDate start = Date(29, 2, 2004);
  StampDate date = start;
  AddDays(&date, kCycle);
  EXPECT_EQ(start, date);
  AddDays(&date, 2147483647);
  AddDays(&date, -2147483647);
  EXPECT_EQ(start, date);
  AddDays(&date, -2147483647 - 1);
  AddDays(&date, 2147483647);
  AddDays(&date, 1);
  EXPECT_EQ(start, date);
  date = Date(1, 1, 2000);
  AddDays(&date, 7999 * 365 + 1940);  // to 01.01.9999
  EXPECT_EQ(Date(1, 1, 9999), date);
}

TEST(StampValidity, DatesTimesAndStamps) {
  struct DateCase {
    StampDate date;
    bool valid;
  };
  const DateCase dates[] = {
      {Date(29, 2, 2004), true},  {Date(29, 2, 2007), false}, {Date(29, 2, 2000), true},
      {Date(29, 2, 1900), false}, {Date(0, 0, 0), true},      {Date(1, 1, 0), true},
      {Date(0, 1, 2007), false},  {Date(31, 4, 2007), false}, {Date(1, 13, 2007), false},
      {Date(0, 0, 2007), false},  {Date(31, 12, 2007), true},
  };
  for (const DateCase& c : dates) {
    EXPECT_EQ(c.valid, IsValidDate(c.date)) << testing::PrintToString(c.date);
  }
  EXPECT_TRUE(IsValidTime({23, 59, 59, 0}));
  EXPECT_TRUE(IsValidTime({0, 0, 0, 77}));  // reserved is not looked at
  EXPECT_FALSE(IsValidTime({24, 0, 0, 0}));
  EXPECT_FALSE(IsValidTime({0, 60, 0, 0}));
  EXPECT_FALSE(IsValidTime({0, 0, 60, 0}));
  EXPECT_TRUE(IsValidStamp(DateTimeStamp{}));
  EXPECT_TRUE(IsValidStamp(Stamp(27, 6, 2007, 14, 5, 9)));
  EXPECT_FALSE(IsValidStamp(Stamp(27, 6, 2007, 24, 5, 9)));
  EXPECT_FALSE(IsValidStamp(Stamp(31, 6, 2007, 14, 5, 9)));
}

class UtcOffset : public values_test::CentralEuropeTest {};

TEST_F(UtcOffset, CentralEuropeanTimeIsOneHourAheadOrTwoInSummer) {
  std::tm local{};
  ASSERT_TRUE(platform::LocalTime(platform::CurrentTime(), &local));
  EXPECT_EQ(local.tm_isdst > 0 ? 2 : 1, UtcOffsetHours());
}

TEST(UtcOffsetZones, WholeHoursCutTowardZero) {
  const char* previous = std::getenv("TZ");
  const std::string saved = previous != nullptr ? previous : "";
  values_test::SetZone("IST-5:30");
  EXPECT_EQ(5, UtcOffsetHours());
  values_test::SetZone("NST3:30");
  EXPECT_EQ(-3, UtcOffsetHours());
  values_test::SetZone("UTC0");
  EXPECT_EQ(0, UtcOffsetHours());
  values_test::SetZone(previous != nullptr ? saved.c_str() : nullptr);
}

TEST(PauseTest, SleepsThroughTheMachine) {
  platform::EmulatedMachine machine;
  machine.SetRealSleep(false);
  platform::ScopedMachine installed(machine);
  EXPECT_EQ(0, Pause(0));
  EXPECT_EQ(0, Pause(1500));
  ASSERT_EQ(2u, machine.Calls().size());
  EXPECT_EQ("sleep 0", machine.Calls()[0]);
  EXPECT_EQ("sleep 1500", machine.Calls()[1]);
}

}  // namespace
}  // namespace utillib
