#include "utillib/values/stamp_text.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "utillib/values/decimal.h"
#include "utillib/values/text.h"

namespace utillib {
namespace {

constexpr char EMPTY_DATE_TEXT[] = "__.__.____";
constexpr int SHORT_YEAR_BASE = 1900;

// The two-digit year: 1900 to 1999 and 2000 to 2099 both give 00 to 99.
int ShortYear(const StampDate& date) {
  int year = date.year - SHORT_YEAR_BASE;
  if (year >= 100) year -= 100;
  return year;
}

#if defined(__MINGW32__)
#define STAMP_TEXT_PRINTF __attribute__((format(gnu_printf, 3, 4)))
#else
#define STAMP_TEXT_PRINTF __attribute__((format(printf, 3, 4)))
#endif

// Formats into a formatter's buffer. Fields beyond their ranges make texts
// longer than the buffer is sized for; those are cut.
STAMP_TEXT_PRINTF void PrintCut(char* buffer, std::size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, size, format, arguments);
  va_end(arguments);
}

std::uint8_t Low8(std::int32_t value) {
  return static_cast<std::uint8_t>(value);
}
std::uint16_t Low16(std::int32_t value) {
  return static_cast<std::uint16_t>(value);
}

std::size_t CountOf(const char* text, char c) {
  std::size_t count = 0;
  for (; *text != '\0'; ++text) {
    if (*text == c) ++count;
  }
  return count;
}

// The number in text[begin, end) as atoi reads it.
std::int32_t NumberBetween(const char* begin, const char* end) {
  return ReadDecimal(begin, static_cast<std::size_t>(end - begin));
}

// Copies the trimmed text into work, or rejects it as too long.
bool TakeTrimmed(char* text, char (&work)[PARSE_PART_SIZE]) {
  TrimBlanks(text);
  const std::size_t length = strnlen(text, PARSE_PART_SIZE);
  if (length >= PARSE_PART_SIZE) return false;
  std::memcpy(work, text, length + 1);
  return true;
}

// Puts a zero in front of a text that is one character short of a form.
void PrependZero(char (&work)[PARSE_PART_SIZE]) {
  const std::size_t length = std::strlen(work);
  std::memmove(work + 1, work, length + 1);
  work[0] = '0';
}

}  // namespace

char* FormatStampDate(const StampDate& date) {
  static char buffer[STAMP_TEXT_SIZE];
  if (date.year == 0) {
    PrintCut(buffer, sizeof(buffer), "%s", EMPTY_DATE_TEXT);
  } else {
    PrintCut(buffer, sizeof(buffer), "%02i.%02i.%04i", date.day, date.month, date.year);
  }
  return buffer;
}

char* FormatStampTime(const StampTime& time) {
  static char buffer[STAMP_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%02i:%02i:%02i", time.hour, time.minute, time.second);
  return buffer;
}

char* FormatStampDateTime(const DateTimeStamp& stamp) {
  static char buffer[STAMP_LONG_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%10s  %8s", FormatStampDate(stamp.date),
           FormatStampTime(stamp.time));
  return buffer;
}

char* FormatDateDigitsDMY(const StampDate& date) {
  static char buffer[STAMP_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%02i%02i%04i", date.day, date.month, date.year);
  return buffer;
}

char* FormatDateDigitsDMYShort(const StampDate& date) {
  static char buffer[STAMP_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%02i%02i%02i", date.day, date.month, ShortYear(date));
  return buffer;
}

char* FormatDateDigitsYMD(const StampDate& date) {
  static char buffer[STAMP_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%04i%02i%02i", date.year, date.month, date.day);
  return buffer;
}

char* FormatTimeDigits(const StampTime& time) {
  static char buffer[STAMP_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%02i%02i%02i", time.hour, time.minute, time.second);
  return buffer;
}

char* FormatStampDigitsDMY(const DateTimeStamp& stamp) {
  static char buffer[STAMP_LONG_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%s%s", FormatDateDigitsDMY(stamp.date),
           FormatTimeDigits(stamp.time));
  return buffer;
}

char* FormatStampDigitsDMYShort(const DateTimeStamp& stamp) {
  static char buffer[STAMP_LONG_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%s%s", FormatDateDigitsDMYShort(stamp.date),
           FormatTimeDigits(stamp.time));
  return buffer;
}

char* FormatStampCompact(const DateTimeStamp& stamp) {
  static char buffer[STAMP_LONG_TEXT_SIZE];
  PrintCut(buffer, sizeof(buffer), "%s%s", FormatDateDigitsYMD(stamp.date),
           FormatTimeDigits(stamp.time));
  return buffer;
}

bool ParseStampDate(StampDate* date, char* text) {
  *date = StampDate{};
  char work[PARSE_PART_SIZE];
  if (!TakeTrimmed(text, work)) return false;

  if (CountOf(work, '.') == 2) {
    const char* firstDot = std::strchr(work, '.');
    const char* secondDot = std::strchr(firstDot + 1, '.');
    date->day = Low8(NumberBetween(work, firstDot));
    date->month = Low8(NumberBetween(firstDot + 1, secondDot));
    const std::uint16_t y = Low16(ReadDecimal(secondDot + 1));
    // 0.0.0 and "__.__.____" are the empty date.
    if ((date->day != 0 && date->month != 0) || y != 0) {
      if (y >= 100) {
        date->year = y;
      } else if (y >= 51) {
        date->year = static_cast<std::uint16_t>(y + 1900);
      } else {
        date->year = static_cast<std::uint16_t>(y + 2000);
      }
    }
    return true;
  }

  switch (std::strlen(work)) {
    case 6: {
      date->day = Low8(NumberBetween(work, work + 2));
      date->month = Low8(NumberBetween(work + 2, work + 4));
      const std::int32_t y = NumberBetween(work + 4, work + 6);
      date->year = Low16(y > 50 ? y + 1900 : y + 2000);
      return true;
    }
    case 8: {
      const std::int32_t trailingYear = NumberBetween(work + 4, work + 8);
      if (trailingYear < 1900) {
        date->year = Low16(NumberBetween(work, work + 4));
        date->month = Low8(NumberBetween(work + 4, work + 6));
        date->day = Low8(NumberBetween(work + 6, work + 8));
      } else {
        date->day = Low8(NumberBetween(work, work + 2));
        date->month = Low8(NumberBetween(work + 2, work + 4));
        date->year = Low16(trailingYear);
      }
      return true;
    }
    case 9:
      PrependZero(work);
      break;
    default:
      break;
  }
  if (std::strlen(work) == 10) {
    // Fixed places; characters 3 and 6 may be any separator.
    date->day = Low8(NumberBetween(work, work + 2));
    date->month = Low8(NumberBetween(work + 3, work + 5));
    date->year = Low16(NumberBetween(work + 6, work + 10));
    return true;
  }
  return false;
}

bool ParseStampTime(StampTime* time, char* text) {
  *time = StampTime{};
  char work[PARSE_PART_SIZE];
  if (!TakeTrimmed(text, work)) return false;

  if (CountOf(work, ':') == 2) {
    const char* firstColon = std::strchr(work, ':');
    const char* secondColon = std::strchr(firstColon + 1, ':');
    time->hour = Low8(NumberBetween(work, firstColon));
    time->minute = Low8(NumberBetween(firstColon + 1, secondColon));
    time->second = Low8(ReadDecimal(secondColon + 1));
    return true;
  }

  const std::size_t length = std::strlen(work);
  if (length == 6) {
    time->hour = Low8(NumberBetween(work, work + 2));
    time->minute = Low8(NumberBetween(work + 2, work + 4));
    time->second = Low8(NumberBetween(work + 4, work + 6));
    return true;
  }
  if (length == 7) PrependZero(work);
  if (std::strlen(work) == 8) {
    // Fixed places; characters 3 and 6 may be any separator.
    time->hour = Low8(NumberBetween(work, work + 2));
    time->minute = Low8(NumberBetween(work + 3, work + 5));
    time->second = Low8(NumberBetween(work + 6, work + 8));
    return true;
  }
  return false;
}

bool ParseStamp(DateTimeStamp* stamp, const char* text) {
  *stamp = DateTimeStamp{};
  const std::size_t length = strnlen(text, STAMP_PART_SIZE);
  if (length >= STAMP_PART_SIZE) return false;
  char datePart[STAMP_PART_SIZE] = "";
  char timePart[STAMP_PART_SIZE] = "";

  // The digit forms are split at a fixed place, the rest at the first space
  // that follows a non-space character.
  std::size_t split = 0;
  if (length == 12) {
    split = 6;
  } else if (length == 14) {
    split = 8;
  } else {
    for (std::size_t i = 1; i < length; ++i) {
      if (text[i] == ' ' && text[i - 1] != ' ') {
        split = i;
        break;
      }
    }
  }
  if (split > 0) {
    std::memcpy(datePart, text, split);
    datePart[split] = '\0';
    std::memcpy(timePart, text + split, length - split + 1);
    TrimBlanks(datePart);
    TrimBlanks(timePart);
  }

  const bool parsed = datePart[0] != '\0' && timePart[0] != '\0' &&
                      ParseStampDate(&stamp->date, datePart) &&
                      ParseStampTime(&stamp->time, timePart);
  if (!parsed) *stamp = DateTimeStamp{};
  return parsed;
}

}  // namespace utillib
