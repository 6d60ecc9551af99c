// Reading and writing a map through the chart database.
#include <chrono>
#include <thread>

#include "blob/blob_map.h"
#include "dbaccess/chartdb_functions.h"
#include "foundation/object_trace.h"
#include "opendata/open_data_exception.h"

namespace {
constexpr const char* kSource = "BlobMap";
constexpr std::uint32_t kBusy = 0x20125;
constexpr auto kBusyPause = std::chrono::milliseconds(500);
} // namespace

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
