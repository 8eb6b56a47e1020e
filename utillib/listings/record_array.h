// A growable array of fixed-width records in one zero-filled heap block,
// and a single zero-filled heap block.
//
// The array never looks inside a record; it copies raw bytes. Record i lies
// at Data() + i * Width(). Appends and inserts are amortised: the block keeps
// spare room that callers never see (Count() and At() cover the records
// only, and every record a change adds starts as zero bytes). Free() and the
// removal of the last record release the block.
//
// Error contract: nothing throws or prints; operations report success as a
// boolean. A failed operation leaves the array as it was, also when the heap
// is exhausted: records are never lost to a failed allocation. Byte sizes
// are limited to what 32 bits hold; larger arrays are refused.
#pragma once

#include <cstddef>
#include <cstdint>

#include "utillib/foundation/path_names.h"

namespace utillib {

class RecordArray {
 public:
  RecordArray() = default;
  ~RecordArray() { Free(); }
  RecordArray(const RecordArray&) = delete;
  RecordArray& operator=(const RecordArray&) = delete;

  // A block of count zero records of width bytes; fails when the array
  // already holds records, count <= 0 or width is 0.
  bool Allocate(std::int32_t count, std::uint32_t width);
  // Adds added zero records at the end. An empty array takes width; one
  // that holds records only accepts its own width.
  bool Grow(std::int32_t added, std::uint32_t width);
  // Releases the block; count and width become 0.
  void Free();
  void ZeroAll();
  // Record index, or null when the index is outside 0 .. Count() - 1.
  char* At(std::int32_t index) const;
  // The width the first Insert or Append of an empty array uses.
  void SetWidth(std::uint32_t width) { width_ = width; }
  // Copies Width() bytes from source into record index.
  bool Set(std::int32_t index, const void* source);
  // Inserts a copy of source at index (0 .. Count()); width 0 means the
  // array's own, and only matters for the first record of an empty array.
  bool Insert(std::int32_t index, const void* source, std::uint32_t width = 0);
  bool InsertAt(std::int32_t index, const void* source) { return Insert(index, source, 0); }
  bool Append(const void* source) { return Insert(count_, source, 0); }
  bool Append(const void* source, std::uint32_t width) { return Insert(count_, source, width); }
  bool Remove(std::int32_t index);

  // The block (null when empty), the number of records, their width and the
  // first record's address (null when empty).
  const void* Handle() const { return data_; }
  std::int32_t Count() const { return count_; }
  std::uint32_t Width() const { return width_; }
  char* Data() const { return data_; }

 private:
  // Room for at least records records of width_ bytes, keeping the
  // contents. False, unchanged, when it cannot be had.
  bool Reserve(std::int64_t records);

  char* data_ = nullptr;
  std::int32_t count_ = 0;
  std::uint32_t width_ = 0;
  std::int64_t capacity_ = 0;  // records the block has room for
};

// One zero-filled block of size bytes.
class HeapBlock {
 public:
  HeapBlock() = default;
  // Allocates size bytes; an empty Handle() tells a failure.
  explicit HeapBlock(std::int32_t size) { Allocate(size); }
  ~HeapBlock() { Free(); }
  HeapBlock(const HeapBlock&) = delete;
  HeapBlock& operator=(const HeapBlock&) = delete;

  // Fails when a block is held already or size <= 0.
  bool Allocate(std::int32_t size);
  void ZeroAll();
  void Free();

  std::int32_t Size() const { return size_; }
  const void* Handle() const { return data_; }
  char* Data() const { return data_; }

 private:
  std::int32_t size_ = 0;
  char* data_ = nullptr;
};

// Where RecordArray and HeapBlock take their blocks: an allocator whose
// blocks std::free releases (they are zero-filled after it returns), or null
// to restore std::malloc. Returns the allocator in use before. Tests install
// one that fails.
ScratchAllocator SetRecordAllocator(ScratchAllocator allocator);

}  // namespace utillib
