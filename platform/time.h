// Time: the current calendar time, its local-time and UTC conversions and
// their inverse, and the machine's own broken-down time and file-time records
// with the conversions between them.
//
// Calendar seconds are a signed 32-bit count of seconds since 01.01.1970
// 00:00:00 UTC on every system, also where the C library counts in 64 bits.
// Negative values and instants after 19.01.2038 03:14:07 UTC have no 32-bit
// form: they are outside every conversion here.
//
// SystemTime and FileTime have the fields of the Windows records; the Win32
// backend converts them to and from the real ones. A FileTime counts
// 100-nanosecond intervals since 01.01.1601 00:00:00, in two 32-bit halves;
// the conversions between the two records make no zone change.
//
// Error contract: no function throws or prints; failure is reported through
// the result alone, and an output record is left untouched on failure.
#pragma once

#include <cstdint>
#include <ctime>

namespace platform {

using CalendarSeconds = std::int32_t;

// The result of a failed conversion to calendar seconds.
inline constexpr CalendarSeconds kNoCalendarTime = -1;

// Broken-down time. wMonth runs 1 to 12 and wDayOfWeek 0 (Sunday) to 6.
struct SystemTime {
  std::uint16_t wYear;
  std::uint16_t wMonth;
  std::uint16_t wDayOfWeek;
  std::uint16_t wDay;
  std::uint16_t wHour;
  std::uint16_t wMinute;
  std::uint16_t wSecond;
  std::uint16_t wMilliseconds;
};

struct FileTime {
  std::uint32_t dwLowDateTime;
  std::uint32_t dwHighDateTime;
};

// The current calendar time; kNoCalendarTime when the clock lies outside the
// 32-bit range.
CalendarSeconds CurrentTime();

// Local broken-down time of seconds (all nine fields, daylight saving
// applied). False for a negative time.
bool LocalTime(CalendarSeconds seconds, std::tm* out);

// UTC broken-down time of seconds. False for a negative time.
bool UtcTime(CalendarSeconds seconds, std::tm* out);

// Reads *local as local time (tm_isdst as the C library reads it) and returns
// its calendar seconds, normalising *local in place. kNoCalendarTime, with
// *local unchanged, when the instant lies outside 01.01.1970 00:00:00 to
// 19.01.2038 03:14:07 UTC.
CalendarSeconds MakeLocalTime(std::tm* local);

// FileTime to SystemTime with the day of the week and the milliseconds
// filled. False when the count has its top bit set.
bool DecodeFileTime(const FileTime& fileTime, SystemTime* fields);

// SystemTime to FileTime; wDayOfWeek is not read. False unless wYear is from
// 1601 on, wMonth 1 to 12, wDay 1 to the length of that month, wHour below
// 24, wMinute and wSecond below 60 and wMilliseconds below 1000, and the
// instant is not after the largest file time (14.09.30828 02:48:05.477).
bool EncodeFileTime(const SystemTime& fields, FileTime* fileTime);

}  // namespace platform
