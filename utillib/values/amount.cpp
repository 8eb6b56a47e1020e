#include "utillib/values/amount.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "utillib/values/decimal.h"

namespace utillib {
namespace {

// Rounding threshold of SetDouble: a fraction of a hundredth from 0.51 on
// goes away from zero.
constexpr double ROUNDING_ADDEND = 0.49;
constexpr double MAX_HUNDREDTHS = 2147483647.0;

std::uint32_t Magnitude(std::int32_t value) {
  return value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
}

// Rounded magnitude of a non-negative count of hundredths, held within the
// 32-bit range that the amount's hundredths have.
std::int32_t RoundMagnitude(double hundredths) {
  const double rounded = std::trunc(hundredths + ROUNDING_ADDEND);
  return rounded >= MAX_HUNDREDTHS ? 0x7FFFFFFF : static_cast<std::int32_t>(rounded);
}

}  // namespace

Amount& Amount::SetUnits(std::int32_t n) {
  negative = n < 0;
  units = static_cast<std::int32_t>(Magnitude(n));
  cents = 0;
  return *this;
}

Amount& Amount::SetHundredths(std::int32_t h) {
  negative = h < 0;
  const std::uint32_t magnitude = Magnitude(h);
  units = static_cast<std::int32_t>(magnitude / 100);
  cents = static_cast<std::uint8_t>(magnitude % 100);
  return *this;
}

Amount& Amount::SetDouble(double x) {
  const double hundredths = x * 100.0;
  std::int32_t h = 0;
  if (std::isfinite(hundredths)) {
    h = hundredths < 0 ? -RoundMagnitude(-hundredths) : RoundMagnitude(hundredths);
  }
  return SetHundredths(h);
}

Amount& Amount::Assign(const Amount& other) {
  units = other.units;
  cents = other.cents;
  negative = other.negative;
  return *this;
}

void Amount::Parse(const char* text) {
  units = 0;
  cents = 0;
  negative = false;
  // The digits without dots and commas, with room for a leading minus.
  char work[AMOUNT_PARSE_SIZE + 1];
  std::size_t length = 0;
  for (std::size_t i = 0; text[i] != '\0'; ++i) {
    if (text[i] == '.' || text[i] == ',') continue;
    if (length + 1 >= sizeof(work)) return;  // too long: zero
    work[length++] = text[i];
  }
  work[length] = '\0';
  const char* digits = work;
  if (digits[0] == '-') {
    ++digits;
    --length;
  }
  if (length >= AMOUNT_PARSE_SIZE) return;
  negative = digits != work;
  if (length < 3) {
    cents = static_cast<std::uint8_t>(ReadDecimal(digits));
  } else {
    units = ReadDecimal(digits, length - 2);
    cents = static_cast<std::uint8_t>(ReadDecimal(digits + length - 2));
  }
}

std::int32_t Amount::AsHundredths() const {
  const std::uint32_t magnitude = static_cast<std::uint32_t>(units) * 100u + cents;
  return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

double Amount::AsDouble() const {
  return AsHundredths() / 100.0;
}

char* Amount::Format() const {
  static char buffer[AMOUNT_TEXT_SIZE];
  if (IsZero()) {
    std::snprintf(buffer, sizeof(buffer), "0,00");
    return buffer;
  }
  char digits[12];
  std::snprintf(digits, sizeof(digits), "%i", units);
  // Groups of three from the right, a dot before each group but the first.
  const std::size_t length = std::strlen(digits);
  const std::size_t offset = (3 - length % 3) % 3;
  char grouped[16];
  std::size_t out = 0;
  for (std::size_t p = 0; p < length; ++p) {
    if (p > 0 && (p + offset) % 3 == 0) grouped[out++] = '.';
    grouped[out++] = digits[p];
  }
  grouped[out] = '\0';
  std::snprintf(buffer, sizeof(buffer), negative ? "-%s,%02i" : "%s,%02i", grouped, cents);
  return buffer;
}

char* Amount::FormatDigits() const {
  static char buffer[AMOUNT_TEXT_SIZE];
  if (IsZero()) {
    buffer[0] = '\0';
  } else {
    std::snprintf(buffer, sizeof(buffer), negative ? "-%i%02i" : "%i%02i", units, cents);
  }
  return buffer;
}

bool Amount::IsEqual(const Amount& other) const {
  return units == other.units && cents == other.cents && negative == other.negative;
}

void Amount::Add(const Amount& other) {
  std::int64_t sumUnits = 0;
  int sumCents = 0;
  bool sumNegative = negative;
  if (negative == other.negative) {
    sumUnits = static_cast<std::int64_t>(units) + other.units;
    sumCents = cents + other.cents;
    if (sumCents >= 100) {
      sumCents -= 100;
      ++sumUnits;
    }
  } else {
    // Magnitude difference; the larger magnitude gives the sign.
    std::int64_t du = static_cast<std::int64_t>(units) - other.units;
    int dc = cents - other.cents;
    if (du > 0) {
      if (dc < 0) {
        --du;
        dc += 100;
      }
      sumUnits = du;
      sumCents = dc;
    } else if (du == 0) {
      sumCents = dc >= 0 ? dc : -dc;
      sumNegative = dc >= 0 ? negative : !negative;
    } else if (dc <= 0) {
      sumUnits = -du;
      sumCents = -dc;
      sumNegative = !negative;
    } else {
      sumUnits = -du - 1;
      sumCents = 100 - dc;
      sumNegative = !negative;
    }
  }
  units = static_cast<std::int32_t>(sumUnits);
  cents = static_cast<std::uint8_t>(sumCents);
  // A zero sum has no sign, so that equal amounts never compare as greater
  // or less through their difference.
  negative = (sumUnits == 0 && sumCents == 0) ? false : sumNegative;
}

void Amount::Subtract(const Amount& other) {
  Amount inverted = other;
  inverted.negative = !inverted.negative;
  Add(inverted);
}

void Amount::MultiplyBy(double factor) {
  Amount product;
  product.SetDouble(AsDouble() * factor);
  Assign(product);
}

void Amount::MultiplyByInt(std::int32_t factor) {
  MultiplyBy(static_cast<double>(factor));
}

void Amount::DivideBy(double divisor) {
  // The reciprocal of zero is infinite, and so is the product: zero.
  if (divisor == 0.0) {
    SetHundredths(0);
    return;
  }
  MultiplyBy(1.0 / divisor);
}

void Amount::DivideByInt(std::int32_t divisor) {
  DivideBy(static_cast<double>(divisor));
}

bool Amount::IsGreater(const Amount& other) const {
  Amount difference = other;
  difference.Subtract(*this);
  return difference.negative;
}

bool Amount::IsLess(const Amount& other) const {
  Amount difference = *this;
  difference.Subtract(other);
  return difference.negative;
}

bool Amount::IsGreaterOrEqual(const Amount& other) const {
  return IsEqual(other) || IsGreater(other);
}

bool Amount::IsLessOrEqual(const Amount& other) const {
  return IsEqual(other) || IsLess(other);
}

}  // namespace utillib
