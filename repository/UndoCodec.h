// The byte form of undo records: fixed-width little-endian numbers and
// length-prefixed texts, appended to one buffer per history entry. The
// same bytes live in memory and in the store file, so recording costs an
// append and saving a copy.
#ifndef GR_REPOSITORY_UNDOCODEC_H
#define GR_REPOSITORY_UNDOCODEC_H

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/repository.h"

namespace rep {

class ByteWriter {
 public:
  explicit ByteWriter(std::string& out) : out_(out) {}

  size_t size() const { return out_.size(); }
  void u8(uint8_t value) { out_.push_back(static_cast<char>(value)); }
  void u32(uint32_t value) { raw(&value, sizeof value); }
  void u64(uint64_t value) { raw(&value, sizeof value); }
  void text(std::string_view value) {
    u32(static_cast<uint32_t>(value.size()));
    out_.append(value);
  }
  void ids(const std::vector<RepId>& values) {
    u32(static_cast<uint32_t>(values.size()));
    for (RepId value : values) u32(value);
  }
  // Overwrites a number written earlier at OFFSET.
  void patch64(size_t offset, uint64_t value) { std::memcpy(&out_[offset], &value, sizeof value); }

 private:
  void raw(const void* data, size_t size) { out_.append(static_cast<const char*>(data), size); }

  std::string& out_;
};

// Reads what a ByteWriter wrote. Reading past the end yields zeros and
// marks the reader bad, so a damaged record is refused, never overrun.
class ByteReader {
 public:
  ByteReader(const char* data, size_t size) : data_(data), size_(size) {}

  bool good() const { return good_; }
  // Marks the data as damaged: a field read held no valid value.
  void spoil() { fail(); }
  bool atEnd() const { return pos_ == size_; }
  size_t position() const { return pos_; }

  uint8_t u8() {
    uint8_t value = 0;
    raw(&value, sizeof value);
    return value;
  }
  uint32_t u32() {
    uint32_t value = 0;
    raw(&value, sizeof value);
    return value;
  }
  uint64_t u64() {
    uint64_t value = 0;
    raw(&value, sizeof value);
    return value;
  }
  std::string_view text() {
    uint32_t length = u32();
    if (!good_ || length > size_ - pos_) return fail();
    std::string_view value(data_ + pos_, length);
    pos_ += length;
    return value;
  }
  std::vector<RepId> ids() {
    uint32_t count = u32();
    std::vector<RepId> values;
    if (!good_ || count > (size_ - pos_) / sizeof(RepId)) return fail(), values;
    values.reserve(count);
    for (uint32_t i = 0; i < count; ++i) values.push_back(u32());
    return values;
  }

 private:
  std::string_view fail() {
    good_ = false;
    pos_ = size_;
    return {};
  }
  void raw(void* out, size_t size) {
    if (!good_ || size > size_ - pos_) {
      fail();
      return;
    }
    std::memcpy(out, data_ + pos_, size);
    pos_ += size;
  }

  const char* data_;
  size_t size_;
  size_t pos_ = 0;
  bool good_ = true;
};

}  // namespace rep

#endif
