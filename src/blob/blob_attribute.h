// CBlobAttribute: one typed value of a blob's attribute map. Its buffer holds the u32 type tag
// and the value encoded as the tag says; it is encoded when the attribute is made, so writing a
// map only copies bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "blob/grx_archive.h"

class CBlobAttribute {
public:
  static constexpr const char* kClassName = "CBlobAttribute";

  // An empty attribute, for reading.
  CBlobAttribute() = default;
  virtual ~CBlobAttribute() = default;

  template <BlobAttrType Tag>
  static CBlobAttribute Make(const BlobValueT<Tag>& value) {
    CGRXArchive archive;
    archive.Reserve(64);
    archive.WriteU32(Tag);
    EncodeBlobValue<Tag>(archive, value);
    CBlobAttribute attribute;
    attribute.m_buffer = archive.Take();
    return attribute;
  }

  // The stored tag, or nothing when the buffer is too short to hold one.
  std::optional<std::uint32_t> Tag() const;
  // Decodes the value when the stored tag is Tag; false (value untouched) otherwise, and when the
  // value's bytes cannot be decoded.
  template <BlobAttrType Tag>
  bool Decode(BlobValueT<Tag>& value) const {
    if (this->Tag() != Tag) return false;
    try {
      CGRXArchive archive(std::span<const std::uint8_t>(m_buffer).subspan(4));
      BlobValueT<Tag> decoded{};
      DecodeBlobValue<Tag>(archive, decoded);
      value = std::move(decoded);
      return true;
    } catch (const CBlobFormatError&) {
      return false;
    }
  }

  // The attribute's data in a blob: the u32 length of the buffer and the buffer.
  void Serialize(CGRXArchive& archive) const;
  void Deserialize(CGRXArchive& archive);
  const std::vector<std::uint8_t>& Buffer() const { return m_buffer; }

private:
  std::vector<std::uint8_t> m_buffer;
};
