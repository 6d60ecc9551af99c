// CBlobMap: the keyed attribute map that is stored as one blob: the record version (u32), the
// identifier of the object it was written for (u64) and the archived map of attributes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "blob/blob_attribute.h"
#include "chartdb/q3jdbmox_types.h"

class CBlobMap {
public:
  CBlobMap() = default;
  virtual ~CBlobMap() = default;
  CBlobMap(const CBlobMap&) = delete;
  CBlobMap& operator=(const CBlobMap&) = delete;

  std::uint32_t GetVersion() const { return m_nVersion; }
  void SetVersion(std::uint32_t version) { m_nVersion = version; }
  GlObjectId GetObjectId() const { return m_objectId; }

  // Stores the value under the key; an attribute already there is replaced in its place.
  template <BlobAttrType Tag>
  void SetAt(const std::string& key, const BlobValueT<Tag>& value) {
    Put(key, CBlobAttribute::Make<Tag>(value));
  }
  // False, value untouched, when the key is missing, stored under another tag or undecodable.
  // Lists are appended to, string maps merged into; other values are replaced.
  template <BlobAttrType Tag>
  bool Lookup(const std::string& key, BlobValueT<Tag>& value) const {
    const CBlobAttribute* attribute = Find(key);
    BlobValueT<Tag> decoded{};
    if (!attribute || !attribute->Decode<Tag>(decoded)) return false;
    Merge(value, std::move(decoded));
    return true;
  }
  const CBlobAttribute* Find(const std::string& key) const;
  // The keys in the order they were first set.
  std::vector<std::string> Keys() const;
  std::size_t GetCount() const { return m_entries.size(); }

  // The blob: version, identifier and the map in the writer's hash order.
  std::vector<std::uint8_t> Encode(GlObjectId objectId);
  // Reads a blob's bytes. A map that cannot be decoded to its end keeps the entries decoded
  // before the failure; the answer then says what went wrong ("" when all went well).
  std::string Decode(std::span<const std::uint8_t> bytes);

  // Writes the blob with iec_BlobWrite (no retry); COpenDataException "iec_BlobWrite failed." on
  // an error.
  bool Write(GlObjectId objectId, GlTransactionId prevTransactionId);
  // Reads the blob: a busy object is asked once more after 500 ms, and a second busy answer goes
  // to gl_ErrorHandler and gives false; other errors throw COpenDataException. empty tells
  // whether there was a blob at all.
  bool Read(GlObjectId objectId, bool& empty, GlTransactionId prevTransactionId);

private:
  struct Entry {
    std::string key;
    std::unique_ptr<CBlobAttribute> attribute;
  };
  void Put(const std::string& key, CBlobAttribute attribute);

  template <class T>
  static void Merge(std::vector<T>& target, std::vector<T>&& more) {
    if (target.empty()) {
      target = std::move(more);
      return;
    }
    for (auto&& element : more) target.push_back(std::move(element));
  }
  static void Merge(CBlobStringMap& target, CBlobStringMap&& more) {
    for (const auto& [key, value] : more.Entries()) target.SetAt(key, value);
  }
  template <class T>
  static void Merge(T& target, T&& value) {
    target = std::move(value);
  }

  std::uint32_t m_nVersion = 0;
  GlObjectId m_objectId = 0;
  std::vector<Entry> m_entries;
  std::unordered_map<std::string, std::size_t> m_index; // key -> its place in m_entries
};
