// What the frames change, written as one flat run of bytes: captured in one call, compared whole,
// and read back by the code that wrote it, in the order it was written.
// Only types without padding go in whole; a record holds no pointers.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

class StateRecord {
 public:
  template <typename T>
  void write(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>, "only plain values go into a state record");
    const auto* const bytes = reinterpret_cast<const uint8_t*>(&value);
    bytes_.insert(bytes_.end(), bytes, bytes + sizeof(T));
  }
  // The count, then every value.
  template <typename T>
  void writeAll(const std::vector<T>& values) {
    write(static_cast<uint64_t>(values.size()));
    for (const T& value : values) {
      write(value);
    }
  }

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  bool operator==(const StateRecord& other) const { return bytes_ == other.bytes_; }
  bool operator!=(const StateRecord& other) const { return !(*this == other); }

 private:
  std::vector<uint8_t> bytes_;
};

// Reads a record back. Reading past its end leaves the value as it was and marks the reader
// failed: the reading side and the writing side disagree.
class StateReader {
 public:
  explicit StateReader(const StateRecord& record) : bytes_(record.bytes()) {}

  template <typename T>
  bool read(T& value) {
    static_assert(std::is_trivially_copyable_v<T>, "only plain values come out of a state record");
    if (failed_ || bytes_.size() - offset_ < sizeof(T)) {
      failed_ = true;
      return false;
    }
    std::memcpy(&value, bytes_.data() + offset_, sizeof(T));
    offset_ += sizeof(T);
    return true;
  }
  // Values written by writeAll; a count larger than what is left fails without allocating it.
  template <typename T>
  bool readAll(std::vector<T>& values) {
    uint64_t count = 0;
    if (!read(count) || count > (bytes_.size() - offset_) / sizeof(T)) {
      failed_ = true;
      return false;
    }
    values.resize(static_cast<std::size_t>(count));
    for (T& value : values) {
      read(value);
    }
    return !failed_;
  }

  bool failed() const { return failed_; }
  bool atEnd() const { return offset_ == bytes_.size(); }

 private:
  const std::vector<uint8_t>& bytes_;
  std::size_t offset_ = 0;
  bool failed_ = false;
};
