// The platform's file-time records and wide-text conversion, which the
// values area builds on.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/host.h"
#include "platform/text.h"
#include "platform/time.h"

namespace platform {
namespace {

std::uint64_t Ticks(const FileTime& t) {
  return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
}

FileTime FromTicks(std::uint64_t ticks) {
  return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

TEST(PlatformFileTime, KnownInstantsBothWays) {
  struct Case {
    SystemTime fields;
    std::uint64_t ticks;
  };
  const Case cases[] = {
      {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
      {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ull},
      {{2000, 2, 2, 29, 23, 59, 59, 999}, 125963423999990000ull},
      {{2007, 6, 3, 27, 14, 5, 9, 123}, 128274267091230000ull},
      {{30827, 12, 5, 31, 23, 59, 59, 999}, 0x7FFF35F4F06C58F0ull},
  };
  for (const Case& c : cases) {
    SystemTime fields{};
    ASSERT_TRUE(DecodeFileTime(FromTicks(c.ticks), &fields)) << c.ticks;
    EXPECT_EQ(0, std::memcmp(&c.fields, &fields, sizeof(fields)))
        << c.ticks << " " << fields.wYear << "-" << fields.wMonth << "-" << fields.wDay;
    FileTime fileTime{};
    ASSERT_TRUE(EncodeFileTime(c.fields, &fileTime)) << c.fields.wYear;
    EXPECT_EQ(c.ticks, Ticks(fileTime));
  }
  // Sub-millisecond ticks are dropped; the largest count lies in 30828.
  SystemTime fields{};
  ASSERT_TRUE(DecodeFileTime(FromTicks(0x7FFFFFFFFFFFFFFFull), &fields));
  EXPECT_EQ(30828, fields.wYear);
  EXPECT_EQ(9, fields.wMonth);
  EXPECT_EQ(14, fields.wDay);
  EXPECT_EQ(2, fields.wHour);
  EXPECT_EQ(48, fields.wMinute);
  EXPECT_EQ(5, fields.wSecond);
  EXPECT_EQ(477, fields.wMilliseconds);
}

TEST(PlatformFileTime, RejectionsLeaveTheOutputAlone) {
  const SystemTime invalid[] = {
      {2007, 1, 0, 0, 0, 0, 0, 0},
      {2007, 4, 0, 31, 0, 0, 0, 0},
      {2007, 0, 0, 1, 0, 0, 0, 0},
      {2007, 13, 0, 1, 0, 0, 0, 0},
      {1600, 12, 0, 31, 0, 0, 0, 0},
      {2007, 1, 0, 1, 24, 0, 0, 0},
      {2007, 1, 0, 1, 0, 60, 0, 0},
      {2007, 1, 0, 1, 0, 0, 60, 0},
      {2007, 1, 0, 1, 0, 0, 0, 1000},
#ifndef _WIN32
      // The POSIX backend's limits at the end of the range; on Windows the
      // system decides these.
      {30828, 9, 0, 14, 2, 48, 5, 478},
      {30828, 12, 0, 31, 23, 59, 59, 999},
      {65535, 12, 0, 31, 23, 59, 59, 999},
#endif
  };
  for (const SystemTime& fields : invalid) {
    FileTime fileTime{1, 2};
    EXPECT_FALSE(EncodeFileTime(fields, &fileTime))
        << fields.wYear << "-" << fields.wMonth << "-" << fields.wDay;
    EXPECT_EQ(1u, fileTime.dwLowDateTime);
    EXPECT_EQ(2u, fileTime.dwHighDateTime);
  }
  FileTime fileTime{};
  EXPECT_TRUE(EncodeFileTime({2000, 2, 6, 29, 0, 0, 0, 0}, &fileTime));  // weekday not read
#ifndef _WIN32
  EXPECT_TRUE(EncodeFileTime({30828, 9, 0, 14, 2, 48, 5, 477}, &fileTime));
  EXPECT_EQ(0x7FFFFFFFFFFFFFFFull - 5807, Ticks(fileTime));  // the largest, to the millisecond
#endif
  SystemTime fields{7, 7, 7, 7, 7, 7, 7, 7};
  EXPECT_FALSE(DecodeFileTime(FromTicks(0x8000000000000000ull), &fields));
  EXPECT_EQ(7, fields.wYear);
}

TEST(PlatformFileTime, RejectsTheLeapDayOfCommonYears) {
  if (RunningUnderWine())
    GTEST_SKIP() << "Wine's SystemTimeToFileTime accepts 29.02 of common years";
  for (std::uint16_t year : {2007, 1900, 2100}) {
    FileTime fileTime{1, 2};
    EXPECT_FALSE(EncodeFileTime({year, 2, 0, 29, 0, 0, 0, 0}, &fileTime)) << year;
    EXPECT_EQ(1u, fileTime.dwLowDateTime);
  }
}

TEST(PlatformCalendarTime, NegativeTimesHaveNoBrokenDownForm) {
  std::tm broken{};
  EXPECT_FALSE(LocalTime(-1, &broken));
  EXPECT_FALSE(UtcTime(-1, &broken));
  ASSERT_TRUE(UtcTime(2147483647, &broken));
  EXPECT_EQ(138, broken.tm_year);
  EXPECT_EQ(3, broken.tm_hour);
  EXPECT_EQ(14, broken.tm_min);
  EXPECT_EQ(7, broken.tm_sec);
  EXPECT_GT(CurrentTime(), 1167609600);  // after 2007
}

TEST(PlatformText, WideToWindows1252) {
  char out[16];
  EXPECT_TRUE(WideToAnsi(u"abc \u00E4\u00FF\u20AC\u0178", out, sizeof(out)));
  EXPECT_STREQ("abc \xE4\xFF\x80\x9F", out);
#ifndef _WIN32
  // Without a Windows-1252 byte: '?', one for a surrogate pair.
  EXPECT_TRUE(WideToAnsi(u"\u0100|\U0001F600|\xD800|\u0080|\u0081", out, sizeof(out)));
  EXPECT_STREQ("?|?|?|?|\x81", out);
#endif
  EXPECT_FALSE(WideToAnsi(u"abcdef", out, 4));
  EXPECT_STREQ("abc", out);
  EXPECT_TRUE(WideToAnsi(u"abc", out, 4));
  EXPECT_STREQ("abc", out);
  out[0] = 'x';
  EXPECT_FALSE(WideToAnsi(u"a", out, 0));
  EXPECT_EQ('x', out[0]);
}

}  // namespace
}  // namespace platform
