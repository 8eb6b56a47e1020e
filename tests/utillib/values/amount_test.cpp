#include "utillib/values/amount.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "utillib/values/values_support.h"

namespace utillib {
namespace {

std::string Fields(const Amount& a) {
  char text[40];
  std::snprintf(text, sizeof(text), "%c%d,%d", a.negative ? '-' : '+', a.units, a.cents);
  return text;
}

Amount Of(std::int32_t hundredths) {
  return Amount().SetHundredths(hundredths);
}

TEST(AmountText, Format) {
  struct Case {
    Amount amount;
    const char* text;
    const char* digits;
  };
  const Case cases[] = {
      {Amount(), "0,00", ""},
      {Amount(0, 0, true), "0,00", ""},
      {Amount(0, 5, false), "0,05", "005"},
      {Amount(0, 5, true), "-0,05", "-005"},
      {Amount(12, 34, false), "12,34", "1234"},
      {Amount(100, 0, false), "100,00", "10000"},
      {Amount(1000, 0, false), "1.000,00", "100000"},
      {Amount(1234567, 89, false), "1.234.567,89", "123456789"},
      {Amount(1234567, 89, true), "-1.234.567,89", "-123456789"},
      {Amount(2147483647, 99, false), "2.147.483.647,99", "214748364799"},
      {Amount(2147483647, 99, true), "-2.147.483.647,99", "-214748364799"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(c.text, c.amount.Format()) << Fields(c.amount);
    EXPECT_STREQ(c.digits, c.amount.FormatDigits()) << Fields(c.amount);
  }
  // Outside the data model the texts still fit their buffers.
  const Amount odd(std::numeric_limits<std::int32_t>::min(), 255, true);
  EXPECT_LT(std::string(odd.Format()).size(), AMOUNT_TEXT_SIZE);
  EXPECT_LT(std::string(odd.FormatDigits()).size(), AMOUNT_TEXT_SIZE);
}

TEST(AmountText, Parse) {
  struct Case {
    const char* text;
    std::int32_t units;
    int cents;
    bool negative;
  };
  const Case cases[] = {
      {"1.234,56", 1234, 56, false},
      {"-1.234,56", 1234, 56, true},
      {"123456", 1234, 56, false},
      {"5", 0, 5, false},
      {"1,5", 0, 15, false},
      {"15", 0, 15, false},
      {"12", 0, 12, false},
      {"", 0, 0, false},
      {"-", 0, 0, true},
      {"12a4", 12, 0, false},
      {"0,05", 0, 5, false},
      {"-0,05", 0, 5, true},
      {"21.474.836,47", 21474836, 47, false},
      // 19 digits are read (the units then wrap); 20 are too many.
      {"1234567890123456789", static_cast<std::int32_t>(12345678901234567ll % 4294967296ll), 89,
       false},
      {"12345678901234567890", 0, 0, false},
      {"-12345678901234567890", 0, 0, false},
  };
  for (const Case& c : cases) {
    Amount amount(7, 7, true);
    amount.Parse(c.text);
    EXPECT_EQ(c.units, amount.units) << c.text;
    EXPECT_EQ(c.cents, amount.cents) << c.text;
    EXPECT_EQ(c.negative, amount.negative) << c.text;
  }
  Amount amount;
  amount.Parse(values_test::HugeText("9").c_str());
  EXPECT_TRUE(amount.IsEqual(Amount()));
  amount.Parse(values_test::HugeText(".,").c_str());
  EXPECT_TRUE(amount.IsEqual(Amount()));
}

TEST(AmountValue, SettersAndReaders) {
  Amount a;
  a.SetHundredths(-1234);
  EXPECT_EQ("-12,34", Fields(a));
  EXPECT_EQ(-1234, a.AsHundredths());
  EXPECT_DOUBLE_EQ(-12.34, a.AsDouble());
  EXPECT_EQ("-0,5", Fields(a.SetHundredths(-5)));
  EXPECT_EQ("-7,0", Fields(a.SetUnits(-7)));
  EXPECT_EQ("+21474836,47", Fields(a.SetHundredths(2147483647)));
  EXPECT_EQ("-21474836,48", Fields(a.SetHundredths(-2147483647 - 1)));
  Amount copy;
  copy.Assign(Amount(3, 4, true));
  EXPECT_EQ("-3,4", Fields(copy));
}

TEST(AmountValue, SetDoubleRoundsWithPointFortyNine) {
  struct Case {
    double x;
    std::int32_t hundredths;
  };
  const Case cases[] = {
      {0.125, 12},   {-0.125, -12}, {0.375, 37},         {0.0075, 1},
      {0.0025, 0},   {1.005, 100},  {0.0051, 1},         {0.0049, 0},
      {-0.0051, -1}, {12.34, 1234}, {1e300, 2147483647}, {-1e300, -2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.hundredths, Amount().SetDouble(c.x).AsHundredths()) << c.x;
  }
  const double undefined[] = {std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN()};
  for (double x : undefined) {
    EXPECT_TRUE(Amount(5, 0, true).SetDouble(x).IsEqual(Amount())) << x;
  }
}

TEST(AmountArithmetic, AddAndSubtractAreExact) {
  struct Case {
    std::int32_t a;
    std::int32_t b;
  };
  const Case cases[] = {
      {550, 460},  {-550, -460}, {210, -130},  {130, -210}, {130, -310}, {-130, 210},
      {100, -1},   {0, -1},      {-1, 1},      {99, 1},     {-99, -1},   {12345, -12399},
      {-500, 500}, {500, -500},  {-500, -500}, {0, 0},
  };
  for (const Case& c : cases) {
    Amount sum = Of(c.a);
    sum.Add(Of(c.b));
    EXPECT_EQ(c.a + c.b, sum.AsHundredths()) << c.a << " + " << c.b;
    EXPECT_LT(sum.cents, 100);
    Amount difference = Of(c.a);
    difference.Subtract(Of(c.b));
    EXPECT_EQ(c.a - c.b, difference.AsHundredths()) << c.a << " - " << c.b;
  }
  Amount a = Of(130);
  a.Add(Of(-210));
  EXPECT_EQ("-0,80", std::string(a.Format()));
  a = Of(100);
  a.Subtract(Of(1));
  EXPECT_EQ("0,99", std::string(a.Format()));
  a = Of(0);
  a.Subtract(Of(1));
  EXPECT_EQ("-0,01", std::string(a.Format()));
}

TEST(AmountArithmetic, ZeroResultsCarryNoSign) {
  Amount a = Of(-500);
  a.Add(Of(500));
  EXPECT_TRUE(a.IsEqual(Amount()));
  a = Of(-500);
  a.Subtract(Of(-500));
  EXPECT_TRUE(a.IsEqual(Amount()));
  a = Amount(0, 0, true);
  a.Add(Amount(0, 0, true));
  EXPECT_TRUE(a.IsEqual(Amount()));
}

TEST(AmountArithmetic, MultiplyAndDivide) {
  Amount a = Of(10);
  a.MultiplyByInt(3);
  EXPECT_EQ(30, a.AsHundredths());
  a = Of(1000);
  a.DivideByInt(3);
  EXPECT_EQ(333, a.AsHundredths());
  a = Of(2000);
  a.DivideByInt(3);
  EXPECT_EQ(667, a.AsHundredths());
  a = Of(-2000);
  a.DivideBy(3.0);
  EXPECT_EQ(-667, a.AsHundredths());
  a = Of(250);
  a.MultiplyBy(0.5);
  EXPECT_EQ(125, a.AsHundredths());
  for (std::int32_t start : {500, -500, 0}) {
    a = Of(start);
    a.DivideByInt(0);
    EXPECT_TRUE(a.IsEqual(Amount())) << start;
    a = Of(start);
    a.DivideBy(0.0);
    EXPECT_TRUE(a.IsEqual(Amount())) << start;
  }
}

TEST(AmountCompare, OrderAndEquality) {
  EXPECT_TRUE(Amount(0, 0, true).IsZero());
  EXPECT_FALSE(Amount(0, 0, true).IsEqual(Amount()));
  EXPECT_TRUE(Of(100).IsLess(Of(200)));
  EXPECT_TRUE(Of(200).IsGreater(Of(100)));
  EXPECT_FALSE(Of(100).IsGreater(Of(200)));
  EXPECT_TRUE(Of(-300).IsLess(Of(-200)));
  EXPECT_TRUE(Of(-1).IsLess(Of(0)));
  EXPECT_TRUE(Of(1).IsGreater(Of(-1)));
  for (std::int32_t value : {500, -500, 0, 1, -1}) {
    EXPECT_TRUE(Of(value).IsGreaterOrEqual(Of(value))) << value;
    EXPECT_TRUE(Of(value).IsLessOrEqual(Of(value))) << value;
    // Equal amounts are neither greater nor less, whatever their sign.
    EXPECT_FALSE(Of(value).IsGreater(Of(value))) << value;
    EXPECT_FALSE(Of(value).IsLess(Of(value))) << value;
  }
  const Amount negativeZero(0, 0, true);
  EXPECT_FALSE(negativeZero.IsLess(Amount()));
  EXPECT_FALSE(Amount().IsGreater(negativeZero));
  EXPECT_FALSE(negativeZero.IsGreater(Amount()));
}

}  // namespace
}  // namespace utillib
