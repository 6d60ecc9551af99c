#include "blob/blob_attribute.h"

std::optional<std::uint32_t> CBlobAttribute::Tag() const {
  if (m_buffer.size() < 4) return std::nullopt;
  return static_cast<std::uint32_t>(m_buffer[0] | (m_buffer[1] << 8) | (m_buffer[2] << 16) |
                                    (static_cast<std::uint32_t>(m_buffer[3]) << 24));
}

void CBlobAttribute::Serialize(CGRXArchive& archive) const {
  archive.WriteU32(static_cast<std::uint32_t>(m_buffer.size()));
  archive.WriteBytes(m_buffer);
}

void CBlobAttribute::Deserialize(CGRXArchive& archive) {
  const std::uint32_t length = archive.ReadU32();
  archive.RequireFits(length, 1);
  const auto bytes = archive.ReadBytes(length);
  m_buffer.assign(bytes.begin(), bytes.end());
}
