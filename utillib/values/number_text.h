// Numbers and text outside the amount class: a floating-point number printed
// with a chosen number of decimals, hexadecimal digits read, and rounding
// half away from zero. The decimal point is '.'.
#pragma once

#include <cstddef>
#include <cstdint>

namespace utillib {

// FormatReal's static result and its format-string working buffer.
inline constexpr std::size_t REAL_TEXT_SIZE = 100;
inline constexpr std::size_t REAL_FORMAT_SIZE = 100;

// value with that many decimals ("%lf" when decimals is negative). With
// stripZeros, trailing zeros after the decimal point go, and the point with
// them when nothing follows it; with padWithSpaces they become spaces, so the
// text keeps its length. A text beyond the buffer is cut.
char* FormatReal(double value, std::int32_t decimals, bool stripZeros, bool padWithSpaces);

// The text read as upper-case hexadecimal digits, in wrapping 32-bit
// arithmetic; every character counts (code - 55 above '9', else code - 48).
std::int32_t HexToInt(const char* text);

// Upper-cases the whole text in place, then reads its first two characters
// as a hexadecimal byte. Characters missing from a shorter text count as the
// terminator.
std::uint8_t HexByteValue(char* text);

// value rounded to an integer, halves away from zero; held within the 64-bit
// range (0 for an undefined value).
std::int64_t RoundHalfAway(double value);

// value rounded to places decimals (-3 to 3; any other count rounds to an
// integer); the scaled value is held within the 32-bit range.
double RoundToPlaces(double value, std::int32_t places);

}  // namespace utillib
