// An amount with exactly two decimals in sign-and-magnitude form, read and
// written in the German notation (1.234,56) and as a compact digit form
// (123456). Sums and differences are exact; products and quotients go through
// floating point and are rounded back to hundredths with a threshold of 0.49.
#pragma once

#include <cstddef>
#include <cstdint>

namespace utillib {

// Static buffers of Format and FormatDigits, terminator included.
inline constexpr std::size_t AMOUNT_TEXT_SIZE = 32;
// Parse's working buffer: at most AMOUNT_PARSE_SIZE - 1 characters once the
// dots, commas and a leading minus are removed; a longer text reads as zero.
inline constexpr std::size_t AMOUNT_PARSE_SIZE = 20;

class Amount {
 public:
  Amount() = default;
  // Stores the three fields unchanged.
  Amount(std::int32_t units, std::uint8_t cents, bool negative)
      : units(units), cents(cents), negative(negative) {}

  Amount& SetUnits(std::int32_t n);
  Amount& SetHundredths(std::int32_t h);
  // x rounded to hundredths: a fraction of a hundredth of 0.51 or more goes
  // away from zero. Infinite and undefined values give zero.
  Amount& SetDouble(double x);
  Amount& Assign(const Amount& other);
  // The last two digits are the hundredths; dots and commas are ignored.
  void Parse(const char* text);

  std::int32_t AsHundredths() const;
  double AsDouble() const;
  // "1.234,56", "-0,05"; every zero is "0,00". Returns a static buffer.
  char* Format() const;
  // "123456", "-005"; every zero is the empty text. Returns a static buffer.
  char* FormatDigits() const;
  bool IsZero() const { return units == 0 && cents == 0; }
  // All three fields equal, the sign flag included.
  bool IsEqual(const Amount& other) const;

  // Exact sum and difference. A zero result carries no sign.
  void Add(const Amount& other);
  void Subtract(const Amount& other);
  void MultiplyBy(double factor);
  void MultiplyByInt(std::int32_t factor);
  // Multiplication by the reciprocal; a divisor of zero gives zero.
  void DivideBy(double divisor);
  void DivideByInt(std::int32_t divisor);

  bool IsGreater(const Amount& other) const;
  bool IsLess(const Amount& other) const;
  bool IsGreaterOrEqual(const Amount& other) const;
  bool IsLessOrEqual(const Amount& other) const;

  std::int32_t units = 0;  // whole units of the magnitude
  std::uint8_t cents = 0;  // hundredths of the magnitude, 0 to 99
  bool negative = false;   // below zero
};

}  // namespace utillib
