// Helpers of the values tests: a fixed time zone, readable stamps in
// failure messages, and the stamp builders.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <ostream>
#include <string>

#include "utillib/values/stamp.h"

namespace utillib {

inline void PrintTo(const StampDate& d, std::ostream* os) {
  *os << int{d.day} << '.' << int{d.month} << '.' << d.year;
}
inline void PrintTo(const StampTime& t, std::ostream* os) {
  *os << int{t.hour} << ':' << int{t.minute} << ':' << int{t.second} << " r" << int{t.reserved};
}
inline void PrintTo(const DateTimeStamp& s, std::ostream* os) {
  PrintTo(s.date, os);
  *os << ' ';
  PrintTo(s.time, os);
}

}  // namespace utillib

namespace values_test {

inline utillib::StampDate Date(int day, int month, int year) {
  return {static_cast<std::uint16_t>(year), static_cast<std::uint8_t>(month),
          static_cast<std::uint8_t>(day)};
}

inline utillib::DateTimeStamp Stamp(int day, int month, int year, int hour, int minute,
                                    int second) {
  return {Date(day, month, year),
          {static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute),
           static_cast<std::uint8_t>(second), 0}};
}

// Central European Time with its daylight-saving rule.
inline constexpr char kCentralEurope[] = "CET-1CEST,M3.5.0,M10.5.0/3";

inline void SetZone(const char* zone) {
#ifdef _WIN32
  _putenv_s("TZ", zone == nullptr ? "" : zone);
  _tzset();
#else
  if (zone == nullptr) {
    unsetenv("TZ");
  } else {
    setenv("TZ", zone, 1);
  }
  tzset();
#endif
}

// Runs each test in Central European Time and restores the zone after it.
class CentralEuropeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("TZ");
    hadZone_ = previous != nullptr;
    if (hadZone_) previous_ = previous;
    SetZone(kCentralEurope);
  }
  void TearDown() override { SetZone(hadZone_ ? previous_.c_str() : nullptr); }

 private:
  bool hadZone_ = false;
  std::string previous_;
};

// A text far beyond every buffer of the values area.
inline std::string HugeText(const std::string& unit, std::size_t length = 100000) {
  std::string text;
  text.reserve(length + unit.size());
  while (text.size() < length) text += unit;
  text.resize(length);
  return text;
}

}  // namespace values_test
