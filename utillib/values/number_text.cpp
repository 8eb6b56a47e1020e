#include "utillib/values/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace utillib {
namespace {

// A double's exact decimal expansion ends within 1074 places; printing
// more decimals only appends zeros, far beyond the buffer. Larger counts are
// printed with this many, which gives the same text without the work.
constexpr std::int32_t MAX_PRINTED_DECIMALS = 1100;

// 2^63: the first value beyond the 64-bit range.
constexpr double INT64_LIMIT = 9223372036854775808.0;

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int HexDigitOfByte(char c) {
  int digit = static_cast<signed char>(c) - 48;
  if (digit > 9) digit -= 7;
  return digit;
}

}  // namespace

char* FormatReal(double value, std::int32_t decimals, bool stripZeros, bool padWithSpaces) {
  static char buffer[REAL_TEXT_SIZE];
  buffer[0] = '\0';
  if (decimals >= 0) {
    char format[REAL_FORMAT_SIZE];
    const std::int32_t printed = decimals > MAX_PRINTED_DECIMALS ? MAX_PRINTED_DECIMALS : decimals;
    std::snprintf(format, sizeof(format), "%c.%ilf", '%', printed);
    std::snprintf(buffer, sizeof(buffer), format, value);
  } else {
    std::snprintf(buffer, sizeof(buffer), "%lf", value);
  }
  if (stripZeros && std::strchr(buffer, '.') != nullptr) {
    const char replacement = padWithSpaces ? ' ' : '\0';
    for (std::size_t i = std::strlen(buffer); i > 0; --i) {
      const char c = buffer[i - 1];
      if (c != '0' && c != '.') break;
      buffer[i - 1] = replacement;
      if (c == '.') break;
    }
  }
  return buffer;
}

std::int32_t HexToInt(const char* text) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; text[i] != '\0'; ++i) {
    const int code = static_cast<signed char>(text[i]);
    const int digit = code > '9' ? code - 55 : code - 48;
    value = value * 16u + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

std::uint8_t HexByteValue(char* text) {
  for (std::size_t i = 0; text[i] != '\0'; ++i) text[i] = UpperAscii(text[i]);
  const char first = text[0];
  const char second = first != '\0' ? text[1] : '\0';
  return static_cast<std::uint8_t>(HexDigitOfByte(first) * 16 + HexDigitOfByte(second));
}

std::int64_t RoundHalfAway(double value) {
  const double rounded = std::trunc(value < 0 ? value - 0.5 : value + 0.5);
  if (std::isnan(rounded)) return 0;
  if (rounded >= INT64_LIMIT) return INT64_MAX;
  if (rounded < -INT64_LIMIT) return INT64_MIN;
  return static_cast<std::int64_t>(rounded);
}

double RoundToPlaces(double value, std::int32_t places) {
  double factor = 1.0;
  switch (places) {
    case -3:
      factor = 0.001;
      break;
    case -2:
      factor = 0.01;
      break;
    case -1:
      factor = 0.1;
      break;
    case 1:
      factor = 10.0;
      break;
    case 2:
      factor = 100.0;
      break;
    case 3:
      factor = 1000.0;
      break;
    default:
      break;
  }
  std::int64_t rounded = RoundHalfAway(value * factor);
  if (rounded > INT32_MAX) rounded = INT32_MAX;
  if (rounded < INT32_MIN) rounded = INT32_MIN;
  return static_cast<std::int32_t>(rounded) / factor;
}

}  // namespace utillib
