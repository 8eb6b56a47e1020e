#include "utillib/listings/record_array.h"

#include <cstdlib>
#include <cstring>

namespace utillib {
namespace {

void* DefaultAllocate(std::size_t bytes) {
  return std::malloc(bytes);
}

ScratchAllocator recordAllocator = DefaultAllocate;

// Byte sizes up to what 32 bits hold.
constexpr std::int64_t kMaxBytes = 0xFFFFFFFFll;

char* TakeBlock(std::int64_t bytes) {
  if (bytes <= 0 || bytes > kMaxBytes) return nullptr;
  return static_cast<char*>(recordAllocator(static_cast<std::size_t>(bytes)));
}

}  // namespace

ScratchAllocator SetRecordAllocator(ScratchAllocator allocator) {
  ScratchAllocator previous = recordAllocator;
  recordAllocator = allocator != nullptr ? allocator : DefaultAllocate;
  return previous;
}

bool RecordArray::Reserve(std::int64_t records) {
  if (records <= capacity_) return true;
  if (records * width_ > kMaxBytes) return false;
  // Doubling keeps a run of appends linear; the last step is cut to what
  // 32 bits hold.
  std::int64_t wanted = capacity_ * 2 > records ? capacity_ * 2 : records;
  if (wanted * width_ > kMaxBytes) wanted = records;
  char* block = TakeBlock(wanted * width_);
  if (block == nullptr && wanted > records) {
    wanted = records;
    block = TakeBlock(wanted * width_);
  }
  if (block == nullptr) return false;
  std::size_t used = static_cast<std::size_t>(count_) * width_;
  if (used > 0) std::memcpy(block, data_, used);
  std::free(data_);
  data_ = block;
  capacity_ = wanted;
  return true;
}

bool RecordArray::Allocate(std::int32_t count, std::uint32_t width) {
  if (data_ != nullptr || count <= 0 || width == 0) return false;
  char* block = TakeBlock(static_cast<std::int64_t>(count) * width);
  if (block == nullptr) return false;
  std::memset(block, 0, static_cast<std::size_t>(count) * width);
  data_ = block;
  width_ = width;
  count_ = count;
  capacity_ = count;
  return true;
}

bool RecordArray::Grow(std::int32_t added, std::uint32_t width) {
  if (added <= 0 || width == 0) return false;
  if (data_ == nullptr) return Allocate(added, width);
  if (width != width_) return false;
  std::int64_t total = static_cast<std::int64_t>(count_) + added;
  if (total > INT32_MAX || !Reserve(total)) return false;
  std::memset(data_ + static_cast<std::size_t>(count_) * width_, 0,
              static_cast<std::size_t>(added) * width_);
  count_ = static_cast<std::int32_t>(total);
  return true;
}

void RecordArray::Free() {
  std::free(data_);
  data_ = nullptr;
  count_ = 0;
  width_ = 0;
  capacity_ = 0;
}

void RecordArray::ZeroAll() {
  if (data_ != nullptr) std::memset(data_, 0, static_cast<std::size_t>(count_) * width_);
}

char* RecordArray::At(std::int32_t index) const {
  if (data_ == nullptr || index < 0 || index >= count_) return nullptr;
  return data_ + static_cast<std::size_t>(index) * width_;
}

bool RecordArray::Set(std::int32_t index, const void* source) {
  char* record = At(index);
  if (record == nullptr || source == nullptr) return false;
  std::memmove(record, source, width_);
  return true;
}

bool RecordArray::Insert(std::int32_t index, const void* source, std::uint32_t width) {
  if (source == nullptr) return false;
  if (data_ == nullptr) {
    if (width == 0) width = width_;
    if (index != 0 || width == 0 || !Allocate(1, width)) return false;
    std::memcpy(data_, source, width_);
    return true;
  }
  if (index < 0 || index > count_ || count_ == INT32_MAX) return false;
  // The source may lie inside the array; keep a copy while records move.
  const char* base = data_;
  bool inside = source >= base && source < base + static_cast<std::size_t>(count_) * width_;
  std::size_t offset =
      inside ? static_cast<std::size_t>(static_cast<const char*>(source) - base) : 0;
  if (!Reserve(static_cast<std::int64_t>(count_) + 1)) return false;
  if (inside) source = data_ + offset;
  char* slot = data_ + static_cast<std::size_t>(index) * width_;
  std::size_t after = static_cast<std::size_t>(count_ - index) * width_;
  if (inside && static_cast<const char*>(source) >= slot) {
    source = static_cast<const char*>(source) + width_;  // it moves up with the tail
  }
  std::memmove(slot + width_, slot, after);
  std::memmove(slot, source, width_);
  ++count_;
  return true;
}

bool RecordArray::Remove(std::int32_t index) {
  if (index < 0 || index >= count_) return false;
  if (count_ == 1) {
    Free();
    return true;
  }
  char* slot = data_ + static_cast<std::size_t>(index) * width_;
  std::memmove(slot, slot + width_, static_cast<std::size_t>(count_ - index - 1) * width_);
  --count_;
  return true;
}

bool HeapBlock::Allocate(std::int32_t size) {
  if (data_ != nullptr || size <= 0) return false;
  char* block = TakeBlock(size);
  if (block == nullptr) return false;
  std::memset(block, 0, static_cast<std::size_t>(size));
  data_ = block;
  size_ = size;
  return true;
}

void HeapBlock::ZeroAll() {
  if (data_ != nullptr) std::memset(data_, 0, static_cast<std::size_t>(size_));
}

void HeapBlock::Free() {
  std::free(data_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace utillib
