#include "blob/blob_map.h"

#include <chrono>
#include <thread>

#include "dbaccess/chartdb_functions.h"
#include "foundation/object_trace.h"
#include "opendata/open_data_exception.h"

namespace {
constexpr const char* kSource = "BlobMap";
constexpr std::uint32_t kBusy = 0x20125;
constexpr auto kBusyPause = std::chrono::milliseconds(500);
} // namespace

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

bool CBlobMap::Write(GlObjectId objectId, GlTransactionId prevTransactionId) {
  const std::vector<std::uint8_t> blob = Encode(objectId);
  const GlResult result =
      iec_BlobWrite(objectId, static_cast<std::uint32_t>(blob.size()), blob.data(), prevTransactionId);
  if (gl_ErrorIdGet(result) != 0)
    throw OpenData::COpenDataException("iec_BlobWrite failed.", result, kSource, __LINE__);
  return true;
}

namespace {

// One call, and once more after a pause when the object is busy. nullopt: busy twice, reported.
template <class Call>
std::optional<GlResult> CallWithBusyRetry(Call call, const char* failure, std::uint32_t line) {
  GlResult result = call();
  if (gl_ErrorIdGet(result) == kBusy) {
    std::this_thread::sleep_for(kBusyPause);
    result = call();
    if (gl_ErrorIdGet(result) == kBusy) {
      gl_ErrorHandler(result);
      return std::nullopt;
    }
  }
  if (gl_ErrorIdGet(result) != 0) throw OpenData::COpenDataException(failure, result, kSource, line);
  return result;
}

} // namespace

bool CBlobMap::Read(GlObjectId objectId, bool& empty, GlTransactionId prevTransactionId) {
  empty = true;
  std::uint32_t length = 0;
  if (!CallWithBusyRetry([&] { return iec_BlobLengthGet(objectId, length, prevTransactionId); },
                         "iec_BlobLengthGet failed", __LINE__)) {
    return false;
  }
  if (length == 0) return true;
  std::vector<std::uint8_t> buffer(length);
  std::uint32_t actual = 0;
  if (!CallWithBusyRetry([&] { return iec_BlobRead(objectId, length, actual, buffer.data(), prevTransactionId); },
                         "iec_BlobRead failed", __LINE__)) {
    return false;
  }
  if (actual == 0) return true;
  empty = false;
  const std::string failure = Decode(std::span<const std::uint8_t>(buffer).first(std::min(actual, length)));
  if (!failure.empty()) {
    ZEB::CObject::Trace(3, "CBlobMap::Read", "Deserialization error occured.(copied unknown Blob");
  }
  return true;
}
