#include "platform/text.h"

#include <cstdint>

namespace platform {
namespace {

// Characters of the bytes 80 to 9F in Windows-1252. The five bytes without a
// character of their own (81, 8D, 8F, 90, 9D) stand for the control codes of
// the same number, as in the system's own table.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char kUnmapped = '?';

char ToWindows1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return kUnmapped;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

bool WideToAnsi(const WideChar* text, char* out, std::size_t capacity) {
  if (capacity == 0) return text == nullptr || text[0] == 0;
  std::size_t length = 0;
  if (text != nullptr) {
    for (std::size_t i = 0; text[i] != 0; ++i) {
      if (length + 1 >= capacity) {
        out[length] = '\0';
        return false;
      }
      if (IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1])) {
        // A character beyond the 16-bit range: one replacement for the pair.
        ++i;
        out[length++] = kUnmapped;
      } else {
        out[length++] = ToWindows1252(text[i]);
      }
    }
  }
  out[length] = '\0';
  return true;
}

}  // namespace platform
