#include "blob/blob_map.h"

#include <algorithm>

const CBlobAttribute* CBlobMap::Find(const std::string& key) const {
  const auto it = m_index.find(key);
  return it == m_index.end() ? nullptr : m_entries[it->second].attribute.get();
}

std::vector<std::string> CBlobMap::Keys() const {
  std::vector<std::string> keys;
  for (const Entry& e : m_entries) keys.push_back(e.key);
  return keys;
}

void CBlobMap::Put(const std::string& key, CBlobAttribute attribute) {
  auto owned = std::make_unique<CBlobAttribute>(std::move(attribute));
  const auto [it, added] = m_index.emplace(key, m_entries.size());
  if (!added) {
    m_entries[it->second].attribute = std::move(owned);
    return;
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
    // Entry by entry: a count that claims more entries than the bytes hold keeps those before the
    // fault (each entry takes at least a byte, so the loop ends with the bytes).
    const std::uint32_t count = archive.ReadCount();
    // Room for as many entries as the bytes can hold (each takes 7 at least), never more.
    const std::size_t room = std::min<std::size_t>(count, archive.Remaining() / 7);
    m_entries.reserve(m_entries.size() + room);
    m_index.reserve(m_index.size() + room);
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
