#include "blob/blob_bytes.h"

namespace grx::blob {

namespace {
template <class T>
void AppendLittle(std::vector<std::uint8_t>& out, T value) {
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
  }
}
constexpr std::uint16_t kLongCount = 0xFFFF;
} // namespace

void BlobWriter::U8(std::uint8_t value) {
  bytes_.push_back(value);
}
void BlobWriter::U16(std::uint16_t value) {
  AppendLittle(bytes_, value);
}
void BlobWriter::U32(std::uint32_t value) {
  AppendLittle(bytes_, value);
}
void BlobWriter::U64(std::uint64_t value) {
  AppendLittle(bytes_, value);
}
void BlobWriter::Bytes(std::span<const std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}
void BlobWriter::Count(std::uint32_t count) {
  if (count < kLongCount) {
    U16(static_cast<std::uint16_t>(count));
  } else {
    U16(kLongCount);
    U32(count);
  }
}

template <class T>
std::optional<T> BlobReader::Little() {
  if (Remaining() < sizeof(T)) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<std::uint64_t>(bytes_[position_ + i]) << (8 * i);
  position_ += sizeof(T);
  return static_cast<T>(value);
}

std::optional<std::uint8_t> BlobReader::U8() {
  return Little<std::uint8_t>();
}
std::optional<std::uint16_t> BlobReader::U16() {
  return Little<std::uint16_t>();
}
std::optional<std::uint32_t> BlobReader::U32() {
  return Little<std::uint32_t>();
}
std::optional<std::uint64_t> BlobReader::U64() {
  return Little<std::uint64_t>();
}

std::optional<std::span<const std::uint8_t>> BlobReader::Bytes(std::size_t n) {
  if (Remaining() < n) return std::nullopt;
  const auto bytes = bytes_.subspan(position_, n);
  position_ += n;
  return bytes;
}

std::optional<std::uint32_t> BlobReader::Count() {
  const std::size_t start = position_;
  const auto shortCount = U16();
  if (!shortCount) return std::nullopt;
  if (*shortCount != kLongCount) return *shortCount;
  const auto longCount = U32();
  if (!longCount) position_ = start;
  return longCount;
}

bool BlobReader::Holds(std::uint64_t count, std::size_t elementSize) const {
  if (elementSize == 0) return true;
  return count <= Remaining() / elementSize;
}

} // namespace grx::blob
