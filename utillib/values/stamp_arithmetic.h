// Arithmetic and checks on stamps and their halves: the distance in seconds,
// moving a stamp by seconds or a date by days, the validity tests, the
// present offset of local time from UTC, and a plain wait. Everything works
// field by field with the calendar rules of the stamp; no zone enters except
// in UtcOffsetHours.
#pragma once

#include <cstdint>

#include "utillib/values/stamp.h"

namespace utillib {

// Signed seconds from `from` to `to`, positive when `to` is later. Fits its
// 32 bits for stamps at most 24855 days apart.
std::int32_t SecondsBetween(const DateTimeStamp& from, const DateTimeStamp& to);

// Moves the stamp by seconds; its date half moves through AddDays. Returns 0.
int AddSeconds(DateTimeStamp* stamp, std::int32_t seconds);

// Moves the date by days; the year wraps with its 16-bit field (back from
// 01.01.0000 is 31.12.65535). Returns 0.
int AddDays(StampDate* date, std::int32_t days);

// The empty date, or a month 1 to 12 with a day 1 to the month's length; the
// year plays no part.
bool IsValidDate(const StampDate& date);
// Hour at most 23, minute and second at most 59; reserved is not looked at.
bool IsValidTime(const StampTime& time);
bool IsValidStamp(const DateTimeStamp& stamp);

// Local time minus UTC at this moment in whole hours, cut toward zero;
// daylight saving counts.
int UtcOffsetHours();

// Sleeps through the machine for that many milliseconds. Returns 0.
int Pause(std::uint32_t milliseconds);

}  // namespace utillib
