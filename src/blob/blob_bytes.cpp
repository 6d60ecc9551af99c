#include "blob/blob_bytes.h"

namespace grx::blob {

namespace {
constexpr std::uint16_t kLongCount = 0xFFFF;
} // namespace

void BlobWriter::Count(std::uint32_t count) {
  if (count < kLongCount) {
    U16(static_cast<std::uint16_t>(count));
  } else {
    U16(kLongCount);
    U32(count);
  }
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
