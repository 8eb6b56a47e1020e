// The umbrella header alone gives the whole public library.
#include "utillib/utillib.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Umbrella, ReachesEveryArea) {
  utillib::DateTimeStamp stamp{};
  ASSERT_TRUE(utillib::ParseStamp(&stamp, "20070627140509"));
  char path[64] = "C:\\archive\\";
  std::strcat(path, utillib::FormatStampCompact(stamp));
  std::strcat(path, ".log");
  EXPECT_STREQ(utillib::PathFileName(path), "20070627140509");
  utillib::Amount amount;
  amount.Parse("1.234,56");
  EXPECT_STREQ(amount.Format(), "1.234,56");
}

}  // namespace
