#include "platform/text.h"

#include <windows.h>

#include <climits>

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(WideChar), "wide characters are 16-bit on Windows");

bool WideToAnsi(const WideChar* text, char* out, std::size_t capacity) {
  std::size_t length = 0;
  if (text != nullptr) {
    while (text[length] != 0) ++length;
  }
  if (capacity == 0) return length == 0;
  out[0] = '\0';
  if (length == 0) return true;
  const auto* wide = reinterpret_cast<const wchar_t*>(text);
  const std::size_t room = capacity - 1;
  const int roomBytes = room > INT_MAX ? INT_MAX : static_cast<int>(room);
  // Convert without the terminator; when the text does not fit, convert a
  // shorter and shorter head of it (a multi-byte code page may need more
  // than one byte per character).
  std::size_t count = length < room ? length : room;
  if (count > INT_MAX) count = INT_MAX;
  while (count > 0) {
    const int written = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(count), out,
                                            roomBytes, nullptr, nullptr);
    if (written > 0) {
      out[written] = '\0';
      return count == length;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    count /= 2;
  }
  out[0] = '\0';
  return false;
}

}  // namespace platform
