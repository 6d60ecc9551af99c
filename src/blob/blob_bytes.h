// The bytes of a stored blob: little-endian integers written one after the other, and a reader
// that never reads past the end of what the chart database handed back. Every layer above
// (archive, attribute map, records) reads and writes through these two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace grx::blob {

class BlobWriter {
public:
  void U8(std::uint8_t value) { bytes_.push_back(value); }
  void U16(std::uint16_t value) { Append(value); }
  void U32(std::uint32_t value) { Append(value); }
  void U64(std::uint64_t value) { Append(value); }
  void Bytes(std::span<const std::uint8_t> bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
  void Reserve(std::size_t n) { bytes_.reserve(n); }
  // n more bytes at the end (zero), for the caller to fill.
  std::uint8_t* Extend(std::size_t n) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + n);
    return bytes_.data() + at;
  }
  // A count of the archive: u16 below 0xFFFF, else the u16 0xFFFF and the count as u32.
  void Count(std::uint32_t count);

  std::size_t Size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& Data() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
  template <class T>
  void Append(T value) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }

  std::vector<std::uint8_t> bytes_;
};

// Reads from a buffer it does not own. A read that does not fit in what is left answers nothing
// and leaves the position where it was, so that the caller can keep what it decoded before.
class BlobReader {
public:
  explicit BlobReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<std::uint8_t> U8() { return Little<std::uint8_t>(); }
  std::optional<std::uint16_t> U16() { return Little<std::uint16_t>(); }
  std::optional<std::uint32_t> U32() { return Little<std::uint32_t>(); }
  std::optional<std::uint64_t> U64() { return Little<std::uint64_t>(); }
  // The next n bytes, or nothing when fewer are left.
  std::optional<std::span<const std::uint8_t>> Bytes(std::size_t n);
  // A count written by BlobWriter::Count.
  std::optional<std::uint32_t> Count();
  // Whether count elements of elementSize bytes each can still follow; checked before anything is
  // reserved for them.
  bool Holds(std::uint64_t count, std::size_t elementSize) const;

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return bytes_.size() - position_; }
  bool AtEnd() const { return position_ == bytes_.size(); }

private:
  template <class T>
  std::optional<T> Little() {
    if (Remaining() < sizeof(T)) return std::nullopt;
    const std::uint8_t* p = bytes_.data() + position_;
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>(value | (static_cast<T>(p[i]) << (8 * i)));
    position_ += sizeof(T);
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

} // namespace grx::blob
