// Text forms of stamps and their halves. Display forms are day first with
// dots and colons (27.06.2007  14:05:09) and show the empty date as
// "__.__.____"; digit forms are fixed-width runs of digits used as file-name
// parts and sort keys (FormatStampCompact). The parsers read the display
// forms, the digit forms and a few looser variants without checking ranges;
// IsValidStamp and its kin do that.
#pragma once

#include <cstddef>

#include "utillib/values/stamp.h"

namespace utillib {

// Static buffers of the formatters, terminator included. A text that does
// not fit (fields beyond their ranges, a year above 9999) is cut.
inline constexpr std::size_t STAMP_TEXT_SIZE = 12;       // a date or a time alone
inline constexpr std::size_t STAMP_LONG_TEXT_SIZE = 24;  // a whole stamp

// Working buffers of the parsers: ParseStampDate and ParseStampTime take at
// most PARSE_PART_SIZE - 1 characters after trimming, ParseStamp at most
// STAMP_PART_SIZE - 1; longer texts are rejected.
inline constexpr std::size_t PARSE_PART_SIZE = 20;
inline constexpr std::size_t STAMP_PART_SIZE = 100;

// Each returns its own static buffer; composed forms overwrite the buffers of
// the forms they are built from.
char* FormatStampDate(const StampDate& date);                 // 27.06.2007
char* FormatStampTime(const StampTime& time);                 // 14:05:09
char* FormatStampDateTime(const DateTimeStamp& stamp);        // 27.06.2007  14:05:09
char* FormatDateDigitsDMY(const StampDate& date);             // 27062007
char* FormatDateDigitsDMYShort(const StampDate& date);        // 270607
char* FormatDateDigitsYMD(const StampDate& date);             // 20070627
char* FormatTimeDigits(const StampTime& time);                // 140509
char* FormatStampDigitsDMY(const DateTimeStamp& stamp);       // 27062007140509
char* FormatStampDigitsDMYShort(const DateTimeStamp& stamp);  // 270607140509
char* FormatStampCompact(const DateTimeStamp& stamp);         // 20070627140509

// True when a form was recognised; a failed parse leaves the output all
// zero. The date and time parsers trim the caller's text in place.
bool ParseStampDate(StampDate* date, char* text);
bool ParseStampTime(StampTime* time, char* text);
bool ParseStamp(DateTimeStamp* stamp, const char* text);

}  // namespace utillib
