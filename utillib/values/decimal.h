// Reading a decimal number the way the C library's atoi reads it, without
// its undefined behaviour on overflow. Internal to the values area.
#pragma once

#include <cstddef>
#include <cstdint>

namespace utillib {

// Reads at most `limit` characters of text (fewer when the text ends first):
// leading white space is skipped, an optional sign taken and digits read up
// to the first other character; no digits read as 0. A number beyond 32 bits
// wraps, so its low bits are kept.
std::int32_t ReadDecimal(const char* text, std::size_t limit = SIZE_MAX);

}  // namespace utillib
