#include "utillib/values/stamp_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "utillib/values/values_support.h"

namespace utillib {
namespace {

using values_test::Date;
using values_test::Stamp;

TEST(StampFormat, DisplayAndDigitForms) {
  const DateTimeStamp stamp = Stamp(27, 6, 2007, 14, 5, 9);
  EXPECT_STREQ("27.06.2007", FormatStampDate(stamp.date));
  EXPECT_STREQ("14:05:09", FormatStampTime(stamp.time));
  EXPECT_STREQ("27.06.2007  14:05:09", FormatStampDateTime(stamp));
  EXPECT_STREQ("27062007", FormatDateDigitsDMY(stamp.date));
  EXPECT_STREQ("270607", FormatDateDigitsDMYShort(stamp.date));
  EXPECT_STREQ("20070627", FormatDateDigitsYMD(stamp.date));
  EXPECT_STREQ("140509", FormatTimeDigits(stamp.time));
  EXPECT_STREQ("27062007140509", FormatStampDigitsDMY(stamp));
  EXPECT_STREQ("270607140509", FormatStampDigitsDMYShort(stamp));
  EXPECT_STREQ("20070627140509", FormatStampCompact(stamp));
}

TEST(StampFormat, EmptyDateAndShortYears) {
  EXPECT_STREQ("__.__.____", FormatStampDate(Date(0, 0, 0)));
  EXPECT_STREQ("__.__.____", FormatStampDate(Date(0, 5, 0)));  // the year alone decides
  EXPECT_STREQ("__.__.____  00:00:00", FormatStampDateTime(DateTimeStamp{}));
  EXPECT_STREQ("00000000", FormatDateDigitsDMY(Date(0, 0, 0)));
  EXPECT_STREQ("00000000", FormatDateDigitsYMD(Date(0, 0, 0)));

  struct Case {
    int year;
    const char* text;
  };
  const Case cases[] = {
      {1999, "010199"}, {2007, "010107"}, {1900, "010100"}, {2100, "0101100"}, {1899, "0101-1"}};
  for (const Case& c : cases) {
    EXPECT_STREQ(c.text, FormatDateDigitsDMYShort(Date(1, 1, c.year))) << c.year;
  }
}

TEST(StampFormat, FieldsBeyondTheirRangesAreCutToTheBuffers) {
  const DateTimeStamp wide = {{65535, 255, 255}, {255, 255, 255, 0}};
  const std::vector<std::string> texts = {
      FormatStampDate(wide.date),      FormatStampTime(wide.time),
      FormatDateDigitsDMY(wide.date),  FormatDateDigitsDMYShort(wide.date),
      FormatDateDigitsYMD(wide.date),  FormatTimeDigits(wide.time),
      FormatStampDateTime(wide),       FormatStampDigitsDMY(wide),
      FormatStampDigitsDMYShort(wide), FormatStampCompact(wide),
  };
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_LT(texts[i].size(), i < 6 ? STAMP_TEXT_SIZE : STAMP_LONG_TEXT_SIZE) << texts[i];
  }
  EXPECT_EQ("255.255.655", texts[0]);
  EXPECT_EQ("65535255255", texts[4]);
  EXPECT_STREQ("31.12.10000", FormatStampDate(Date(31, 12, 10000)));
}

struct DateCase {
  const char* text;
  bool ok;
  StampDate date;
};

TEST(StampParse, Dates) {
  const DateCase cases[] = {
      {"1.2.07", true, Date(1, 2, 2007)},
      {"1.2.51", true, Date(1, 2, 1951)},
      {"1.2.50", true, Date(1, 2, 2050)},
      {"1.2.100", true, Date(1, 2, 100)},
      {"0.0.0", true, Date(0, 0, 0)},
      {"__.__.____", true, Date(0, 0, 0)},
      {"0.5.0", true, Date(0, 5, 0)},  // day zero and no year: the year stays 0
      {"1.2.-1", true, Date(1, 2, 65535)},
      {"311207", true, Date(31, 12, 2007)},
      {"311251", true, Date(31, 12, 1951)},
      {"311250", true, Date(31, 12, 2050)},
      {"31122007", true, Date(31, 12, 2007)},
      {"20071231", true, Date(31, 12, 2007)},
      {"01011899", true, Date(99, 18, 101)},
      {"1/12/2007", true, Date(1, 12, 2007)},
      {"01-12-2007", true, Date(1, 12, 2007)},
      {"2007-12-01", true, Date(20, 7, 2)},
      {"31.02.2007", true, Date(31, 2, 2007)},  // no range check
      {"300.1.2007", true, Date(300 - 256, 1, 2007)},
      {"12.2007", false, Date(0, 0, 0)},
      {"", false, Date(0, 0, 0)},
      {"1.2.3.4", false, Date(0, 0, 0)},
      {"1234567890123456789", false, Date(0, 0, 0)},    // 19 characters, no form
      {"1.2.20070000000000000", false, Date(0, 0, 0)},  // 21 characters: rejected
  };
  for (const DateCase& c : cases) {
    std::string text = c.text;
    StampDate date;
    std::memset(&date, 0x55, sizeof(date));
    EXPECT_EQ(c.ok, ParseStampDate(&date, text.data())) << c.text;
    EXPECT_EQ(c.date, date) << c.text;
  }
}

TEST(StampParse, DateTextIsTrimmedInPlace) {
  char text[] = "  1.2.2007 \t";
  StampDate date;
  EXPECT_TRUE(ParseStampDate(&date, text));
  EXPECT_STREQ("1.2.2007", text);
  EXPECT_EQ(Date(1, 2, 2007), date);
}

TEST(StampParse, Times) {
  struct Case {
    const char* text;
    bool ok;
    StampTime time;
  };
  const Case cases[] = {
      {"1:2:3", true, {1, 2, 3, 0}},       {"123456", true, {12, 34, 56, 0}},
      {"1.02.03", true, {1, 2, 3, 0}},     {"01.02.03", true, {1, 2, 3, 0}},
      {"25:61:99", true, {25, 61, 99, 0}}, {" 14:05:09 ", true, {14, 5, 9, 0}},
      {"12:30", false, {0, 0, 0, 0}},      {"", false, {0, 0, 0, 0}},
      {"1:2:3:4", true, {1, 2, 0, 0}},     {"                  1:2:3", true, {1, 2, 3, 0}},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    StampTime time;
    std::memset(&time, 0x55, sizeof(time));
    EXPECT_EQ(c.ok, ParseStampTime(&time, text.data())) << c.text;
    EXPECT_EQ(c.time, time) << c.text;
  }
}

TEST(StampParse, WholeStamps) {
  struct Case {
    const char* text;
    bool ok;
    DateTimeStamp stamp;
  };
  const Case cases[] = {
      {"20070627140509", true, Stamp(27, 6, 2007, 14, 5, 9)},
      {"27062007140509", true, Stamp(27, 6, 2007, 14, 5, 9)},
      {"270607140509", true, Stamp(27, 6, 2007, 14, 5, 9)},
      {"1.2.2007 10:11:12", true, Stamp(1, 2, 2007, 10, 11, 12)},
      {"  1.2.2007   10:11:12  ", true, Stamp(1, 2, 2007, 10, 11, 12)},
      {"27.06.2007  14:05:09", true, Stamp(27, 6, 2007, 14, 5, 9)},
      {"__.__.____  00:00:00", true, DateTimeStamp{}},
      {"1.2.2007", false, DateTimeStamp{}},
      {"1.1.07 12:30", false, DateTimeStamp{}},  // 12 characters: split after 6
      {"1.2.2007 10:11", false, DateTimeStamp{}},
      {"x 10:11:12", false, DateTimeStamp{}},
  };
  for (const Case& c : cases) {
    DateTimeStamp stamp;
    std::memset(&stamp, 0x55, sizeof(stamp));
    EXPECT_EQ(c.ok, ParseStamp(&stamp, c.text)) << c.text;
    EXPECT_EQ(c.stamp, stamp) << c.text;
  }
}

TEST(StampParse, FormattedStampsReadBack) {
  const DateTimeStamp stamps[] = {Stamp(27, 6, 2007, 14, 5, 9), Stamp(1, 1, 1900, 0, 0, 0),
                                  Stamp(31, 12, 9999, 23, 59, 59), DateTimeStamp{}};
  for (const DateTimeStamp& stamp : stamps) {
    DateTimeStamp back;
    EXPECT_TRUE(ParseStamp(&back, FormatStampDateTime(stamp)));
    EXPECT_EQ(stamp, back);
    EXPECT_TRUE(ParseStamp(&back, FormatStampCompact(stamp)));
    EXPECT_EQ(stamp, back);
  }
  DateTimeStamp back;
  EXPECT_TRUE(ParseStamp(&back, FormatStampDigitsDMY(Stamp(27, 6, 2007, 14, 5, 9))));
  EXPECT_EQ(Stamp(27, 6, 2007, 14, 5, 9), back);
}

TEST(StampParse, TextsBeyondTheWorkingBuffersAreRejected) {
  for (const std::string unit : {"1", "1.2.2007 ", " ", "12:30:00"}) {
    std::string text = values_test::HugeText(unit);
    StampDate date;
    EXPECT_FALSE(ParseStampDate(&date, text.data()));
    EXPECT_EQ(StampDate{}, date);
    text = values_test::HugeText(unit);
    StampTime time;
    EXPECT_FALSE(ParseStampTime(&time, text.data()));
    EXPECT_EQ(StampTime{}, time);
    DateTimeStamp stamp;
    EXPECT_FALSE(ParseStamp(&stamp, text.c_str()));
    EXPECT_EQ(DateTimeStamp{}, stamp);
  }
  // 99 characters are still read; one more is rejected.
  const std::string longest = "1.2.2007" + std::string(82, ' ') + "10:11:12 ";
  ASSERT_EQ(99u, longest.size());
  DateTimeStamp stamp;
  EXPECT_TRUE(ParseStamp(&stamp, longest.c_str()));
  EXPECT_FALSE(ParseStamp(&stamp, (longest + "x").c_str()));
}

}  // namespace
}  // namespace utillib
