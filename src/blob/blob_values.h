// The values a blob attribute can hold, one C++ type per type tag of the stored format, and the
// variant of the archive's VARIANT convention.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "grx/com_types.h"

using GUID = grx::platform::GUID;

// The type tag stored before every attribute value.
enum BlobAttrType : std::uint32_t {
#define GRX_BLOB_TAG(enumerator, number, type) enumerator = number,
#include "blob/blob_attr_types.def"
};
inline constexpr std::uint32_t kBlobAttrTypeCount = 0
#define GRX_BLOB_TAG(enumerator, number, type) +1
#include "blob/blob_attr_types.def"
    ;

// A six-byte value: a u32 followed by a u16.
struct CBlobSixBytes {
  std::uint32_t low = 0;
  std::uint16_t high = 0;
  bool operator==(const CBlobSixBytes&) const = default;
};

// VARTYPEs of the archive's VARIANT convention.
enum VarType : std::uint16_t {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_UI1 = 17,
};

// An OLE Automation VARIANT as the archive stores it. Numbers live in the member of their type;
// a BSTR is UTF-16 text, nullopt for a null string.
struct BlobVariant {
  std::uint16_t vt = VT_EMPTY;
  std::int64_t integer = 0; // VT_I2, VT_I4, VT_UI1, VT_ERROR, VT_BOOL (-1 true, 0 false), VT_CY
  double real = 0;          // VT_R4, VT_R8, VT_DATE
  std::optional<std::u16string> text;

  static BlobVariant Int32(std::int32_t value) { return BlobVariant{VT_I4, value, 0, std::nullopt}; }
  bool operator==(const BlobVariant&) const = default;
  // The value as a 32-bit integer, as a change of its type to VT_I4 gives it (0 when it has
  // none); the variant becomes that VT_I4.
  std::int32_t ChangeToInt32();
};

// A technology package of a resource: the element of the old resource record's object list.
// Only name, version and language id are archived; the rest is zero after reading.
struct CTPAttribs {
  static constexpr const char* kClassName = "CTPAttribs";
  std::string m_strName;
  std::string m_strTPVersion;
  std::uint32_t m_nLanguageId = 0;
  GUID m_rtTypeGuid{};
  GUID m_interfaceGuid{};
  bool m_bIsLib = false;
  std::vector<GUID> m_typeIDMappedTPs;
};
using CTPAttribsList = std::vector<std::unique_ptr<CTPAttribs>>;

// A string-to-string map (the archive's CMapStringToString). It remembers the order in which keys
// came, because the writer's hash order puts the most recent key of a bucket first.
class CBlobStringMap {
public:
  using Entry = std::pair<std::string, std::string>;
  void SetAt(const std::string& key, const std::string& value);
  bool Lookup(const std::string& key, std::string& value) const;
  bool RemoveKey(const std::string& key);
  void RemoveAll() {
    m_entries.clear();
    m_index.clear();
  }
  std::size_t GetCount() const { return m_entries.size(); }
  bool IsEmpty() const { return m_entries.empty(); }
  // In the order the keys came.
  const std::vector<Entry>& Entries() const { return m_entries; }
  bool operator==(const CBlobStringMap& other) const { return m_entries == other.m_entries; }

private:
  std::vector<Entry> m_entries;
  std::unordered_map<std::string, std::size_t> m_index; // key -> its place in m_entries
};

// The bucket of a key in the writer's 17-bucket hash table: h becomes h x 33 + c for each
// character c read as a signed byte, with 32-bit wrap-around.
std::uint32_t BlobHashBucket(std::string_view key);
inline constexpr std::uint32_t kBlobHashBuckets = 17;
// The order in which the writer emits keys given in the order they were first inserted: buckets
// ascending, the most recently inserted key of a bucket first. Answers indexes into keys.
std::vector<std::size_t> BlobHashOrder(const std::vector<std::string_view>& keys);

// The C++ type of each tag.
template <BlobAttrType Tag>
struct BlobValue;
#define GRX_BLOB_TAG(enumerator, number, type) \
  template <>                                  \
  struct BlobValue<enumerator> {               \
    using Type = type;                         \
  };
#include "blob/blob_attr_types.def"
template <BlobAttrType Tag>
using BlobValueT = typename BlobValue<Tag>::Type;
