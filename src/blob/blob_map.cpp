#include "blob/blob_map.h"

const CBlobAttribute* CBlobMap::Find(const std::string& key) const {
  for (const Entry& e : m_entries) {
    if (e.key == key) return e.attribute.get();
  }
  return nullptr;
}

std::vector<std::string> CBlobMap::Keys() const {
  std::vector<std::string> keys;
  for (const Entry& e : m_entries) keys.push_back(e.key);
  return keys;
}

void CBlobMap::Put(const std::string& key, CBlobAttribute attribute) {
  auto owned = std::make_unique<CBlobAttribute>(std::move(attribute));
  for (Entry& e : m_entries) {
    if (e.key == key) {
      e.attribute = std::move(owned);
      return;
    }
  }
  m_entries.push_back(Entry{key, std::move(owned)});
}

std::vector<std::uint8_t> CBlobMap::Encode(GlObjectId objectId) {
  m_objectId = objectId;
  CGRXArchive archive;
  std::size_t size = 14;
  for (const Entry& e : m_entries) size += e.key.size() + 5 + 20 + 4 + e.attribute->Buffer().size();
  archive.Reserve(size);
  archive.WriteU32(m_nVersion);
  archive.WriteU64(m_objectId);
  std::vector<std::string_view> keys;
  for (const Entry& e : m_entries) keys.push_back(e.key);
  archive.WriteCount(static_cast<std::uint32_t>(m_entries.size()));
  for (std::size_t i : BlobHashOrder(keys)) {
    archive.WriteString(m_entries[i].key);
    archive.WriteObjectStart(CBlobAttribute::kClassName);
    m_entries[i].attribute->Serialize(archive);
  }
  return archive.Take();
}

std::string CBlobMap::Decode(std::span<const std::uint8_t> bytes) {
  CGRXArchive archive(bytes);
  try {
    m_nVersion = archive.ReadU32();
    m_objectId = archive.ReadU64();
    const std::uint32_t count = archive.ReadCount();
    // Every entry takes a key length, a reference and an attribute length at least.
    archive.RequireFits(count, 7);
    for (std::uint32_t i = 0; i < count; ++i) {
      std::string key = archive.ReadString();
      archive.ReadObjectStart(CBlobAttribute::kClassName);
      CBlobAttribute attribute;
      attribute.Deserialize(archive);
      Put(key, std::move(attribute));
    }
    return {};
  } catch (const CBlobFormatError& e) {
    return e.what();
  }
}
