#include "utillib/values/decimal.h"

namespace utillib {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::int32_t ReadDecimal(const char* text, std::size_t limit) {
  std::size_t i = 0;
  while (i < limit && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < limit && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  while (i < limit && text[i] >= '0' && text[i] <= '9') {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    ++i;
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

}  // namespace utillib
