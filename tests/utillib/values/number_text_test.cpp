#include "utillib/values/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace utillib {
namespace {

TEST(NumberText, FormatReal) {
  struct Case {
    double value;
    std::int32_t decimals;
    bool strip;
    bool pad;
    const char* text;
  };
  const Case cases[] = {
      {3.14159, 2, false, false, "3.14"}, {2.5, -1, false, false, "2.500000"},
      {2.5, 3, true, false, "2.5"},       {2.5, 3, true, true, "2.5  "},
      {3.0, 2, true, false, "3"},         {3.0, 2, true, true, "3   "},
      {100.0, 0, true, false, "100"},     {100.0, 2, true, false, "100"},
      {-0.5, 1, true, false, "-0.5"},     {10.0, -1, true, false, "10"},
      {0.0, 0, false, false, "0"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(c.text, FormatReal(c.value, c.decimals, c.strip, c.pad))
        << c.value << " " << c.decimals << " " << c.strip << c.pad;
  }
  // Texts beyond the buffer are cut.
  EXPECT_EQ(REAL_TEXT_SIZE - 1, std::strlen(FormatReal(1e300, 2, false, false)));
  EXPECT_EQ(REAL_TEXT_SIZE - 1, std::strlen(FormatReal(1.0, 2147483647, false, false)));
  EXPECT_EQ(REAL_TEXT_SIZE - 1, std::strlen(FormatReal(-1e95, -1, true, true)));
}

TEST(NumberText, HexToInt) {
  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"1F", 31},    {"FF", 255}, {"7FFFFFFF", 2147483647}, {"FFFFFFFF", -1},
      {"", 0},       {"ff", 799}, {"100000000", 0},         {"G", 16},
      {"\xFF", -49},  // a byte from 80 on counts with a negative code
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, HexToInt(c.text)) << c.text;
}

TEST(NumberText, HexByteValue) {
  char text[] = "1f";
  EXPECT_EQ(31, HexByteValue(text));
  EXPECT_STREQ("1F", text);
  char whole[] = "ffab";
  EXPECT_EQ(255, HexByteValue(whole));
  EXPECT_STREQ("FFAB", whole);
  char zero[] = "00";
  EXPECT_EQ(0, HexByteValue(zero));
  // Shorter texts read no further than their terminator.
  char one[] = "A";
  EXPECT_EQ(static_cast<std::uint8_t>(10 * 16 - 48), HexByteValue(one));
  char none[] = "";
  EXPECT_EQ(static_cast<std::uint8_t>(-48 * 16 - 48), HexByteValue(none));
}

TEST(NumberText, Rounding) {
  EXPECT_EQ(3, RoundHalfAway(2.5));
  EXPECT_EQ(-3, RoundHalfAway(-2.5));
  EXPECT_EQ(2, RoundHalfAway(2.4999));
  EXPECT_EQ(0, RoundHalfAway(-0.4));
  EXPECT_EQ(5000000000, RoundHalfAway(4999999999.5));
  EXPECT_EQ(std::numeric_limits<std::int64_t>::max(), RoundHalfAway(1e300));
  EXPECT_EQ(std::numeric_limits<std::int64_t>::min(), RoundHalfAway(-1e300));
  EXPECT_EQ(0, RoundHalfAway(std::numeric_limits<double>::quiet_NaN()));

  struct Case {
    double value;
    std::int32_t places;
    double result;
  };
  const Case cases[] = {
      {0.125, 2, 0.13},    {-0.125, 2, -0.13}, {1234.5, -2, 1200.0}, {1250.0, -2, 1300.0},
      {1.23456, 3, 1.235}, {7.5, 4, 8.0},      {1.005, 2, 1.0},      {1499.0, -3, 1000.0},
      {-2.5, 0, -3.0},     {2.45, 1, 2.5},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(c.result, RoundToPlaces(c.value, c.places)) << c.value << " " << c.places;
  }
  // The scaled value is held within 32 bits.
  EXPECT_DOUBLE_EQ(2147483647.0 / 1000.0, RoundToPlaces(1e12, 3));
}

}  // namespace
}  // namespace utillib
