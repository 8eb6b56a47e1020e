#include "utillib/listings/record_array.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace utillib {
namespace {

// The texts of an array of 4-byte records.
std::string Texts(const RecordArray& array) {
  std::string result;
  for (std::int32_t i = 0; i < array.Count(); ++i) {
    result += std::string(array.At(i), strnlen(array.At(i), 4)) + " ";
  }
  return result;
}

RecordArray& Fill(RecordArray& array, const char* texts) {
  for (const char* c = texts; *c != '\0'; ++c) {
    char record[4] = {*c, 0, 0, 0};
    EXPECT_TRUE(array.Append(record, 4));
  }
  return array;
}

int allocations = 0;
void* CountingAllocator(std::size_t bytes) {
  ++allocations;
  return std::malloc(bytes);
}
void* FailingAllocator(std::size_t) {
  return nullptr;
}

// Installs an allocator for the lifetime of a scope.
struct Allocator {
  explicit Allocator(ScratchAllocator allocator) : previous(SetRecordAllocator(allocator)) {}
  ~Allocator() { SetRecordAllocator(previous); }
  ScratchAllocator previous;
};

TEST(RecordArray, WidthComesFromTheFirstRecordOrSetWidth) {
  RecordArray array;
  const char record[4] = {'a', 0, 0, 0};
  EXPECT_EQ(array.Width(), 0u);
  EXPECT_FALSE(array.Append(record));
  EXPECT_TRUE(array.Append(record, 4));
  EXPECT_EQ(array.Count(), 1);
  EXPECT_EQ(array.Width(), 4u);
  // Removing the only record releases the block and the width.
  EXPECT_TRUE(array.Remove(0));
  EXPECT_EQ(array.Count(), 0);
  EXPECT_EQ(array.Width(), 0u);
  EXPECT_EQ(array.Handle(), nullptr);
  EXPECT_FALSE(array.Append(record));
  array.SetWidth(4);
  EXPECT_TRUE(array.Append(record));
  EXPECT_EQ(Texts(array), "a ");
}

TEST(RecordArray, InsertsAndRemovesInPlace) {
  RecordArray array;
  Fill(array, "abc");
  const char r[4] = {'r', 0, 0, 0};
  EXPECT_TRUE(array.Insert(1, r));
  EXPECT_EQ(Texts(array), "a r b c ");
  EXPECT_FALSE(array.Insert(array.Count() + 1, r));
  EXPECT_FALSE(array.Insert(-1, r));
  EXPECT_FALSE(array.Remove(4));
  EXPECT_FALSE(array.Set(-1, r));
  EXPECT_EQ(Texts(array), "a r b c ");
  EXPECT_TRUE(array.Insert(array.Count(), r));  // at Count: appends
  EXPECT_EQ(Texts(array), "a r b c r ");
  EXPECT_TRUE(array.Remove(0));
  EXPECT_TRUE(array.Remove(3));
  EXPECT_EQ(Texts(array), "r b c ");
  EXPECT_EQ(array.At(array.Count()), nullptr);
  EXPECT_EQ(array.At(-1), nullptr);
  // A record of the array itself as the source, before and after the slot.
  EXPECT_TRUE(array.Insert(0, array.At(2)));
  EXPECT_TRUE(array.Insert(4, array.At(1)));
  EXPECT_EQ(Texts(array), "c r b c r ");
}

TEST(RecordArray, AllocateAndGrowGiveZeroRecords) {
  RecordArray array;
  EXPECT_FALSE(array.Grow(0, 8));
  EXPECT_FALSE(array.Allocate(0, 8));
  EXPECT_FALSE(array.Allocate(1, 0));
  array.ZeroAll();  // nothing to do on an empty array
  ASSERT_TRUE(array.Grow(3, 8));
  EXPECT_EQ(array.Count(), 3);
  EXPECT_TRUE(array.Set(2, "1234567"));
  EXPECT_FALSE(array.Allocate(2, 8));  // holds records already
  EXPECT_FALSE(array.Grow(1, 4));      // not the array's width
  ASSERT_TRUE(array.Grow(2, 8));
  EXPECT_STREQ(array.At(2), "1234567");
  for (std::int32_t i : {3, 4}) EXPECT_EQ(std::memcmp(array.At(i), "\0\0\0\0\0\0\0\0", 8), 0);
  // Records removed and added again come back as zero bytes.
  EXPECT_TRUE(array.Remove(2));
  ASSERT_TRUE(array.Grow(1, 8));
  EXPECT_EQ(std::memcmp(array.At(4), "\0\0\0\0\0\0\0\0", 8), 0);
  array.ZeroAll();
  EXPECT_STREQ(array.At(2), "");
  array.Free();
  EXPECT_EQ(array.Count(), 0);
  EXPECT_EQ(array.Width(), 0u);
  EXPECT_EQ(array.Data(), nullptr);
  // Byte sizes beyond 32 bits are refused.
  EXPECT_FALSE(array.Allocate(0x7FFFFFFF, 4));
}

TEST(RecordArray, AppendsAreAmortised) {
  RecordArray array;
  allocations = 0;
  Allocator counting(CountingAllocator);
  char record[16] = {};
  for (int i = 0; i < 20000; ++i) {
    std::memcpy(record, &i, sizeof i);
    ASSERT_TRUE(array.Append(record, sizeof record));
  }
  EXPECT_LT(allocations, 40);
  for (int i : {0, 777, 19999}) {
    int stored = 0;
    std::memcpy(&stored, array.At(i), sizeof stored);
    EXPECT_EQ(stored, i);
  }
}

TEST(RecordArray, AnExhaustedHeapLosesNoRecords) {
  RecordArray array;
  Fill(array, "ab");
  std::string before = Texts(array);
  {
    Allocator failing(FailingAllocator);
    const char r[4] = {'r', 0, 0, 0};
    // Grow until the spare room is used up; the failing step changes nothing.
    bool failed = false;
    for (int i = 0; i < 64 && !failed; ++i) failed = !array.Append(r);
    EXPECT_TRUE(failed);
    std::string full = Texts(array);
    EXPECT_EQ(full.substr(0, before.size()), before);
    EXPECT_FALSE(array.Grow(1000, 4));
    EXPECT_EQ(Texts(array), full);
    RecordArray empty;
    EXPECT_FALSE(empty.Allocate(1, 4));
    EXPECT_EQ(empty.Count(), 0);
    HeapBlock block(16);
    EXPECT_EQ(block.Handle(), nullptr);
    EXPECT_EQ(block.Size(), 0);
  }
}

TEST(HeapBlock, HoldsOneZeroBlock) {
  HeapBlock block(5);
  ASSERT_NE(block.Handle(), nullptr);
  EXPECT_EQ(block.Size(), 5);
  EXPECT_EQ(std::memcmp(block.Data(), "\0\0\0\0\0", 5), 0);
  EXPECT_FALSE(block.Allocate(5));  // held already
  std::memcpy(block.Data(), "abcd", 5);
  block.ZeroAll();
  EXPECT_EQ(std::memcmp(block.Data(), "\0\0\0\0\0", 5), 0);
  block.Free();
  EXPECT_EQ(block.Handle(), nullptr);
  EXPECT_EQ(block.Size(), 0);
  EXPECT_FALSE(block.Allocate(0));
  HeapBlock empty;
  EXPECT_EQ(empty.Data(), nullptr);
}

}  // namespace
}  // namespace utillib
