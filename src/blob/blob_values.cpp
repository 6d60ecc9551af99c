#include "blob/blob_values.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/code_page.h"

std::int32_t BlobVariant::ChangeToInt32() {
  std::int32_t value = 0;
  switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_UI1:
    case VT_ERROR:
    case VT_BOOL:
      value = static_cast<std::int32_t>(integer);
      break;
    case VT_CY: // a currency value holds ten-thousandths
      value = static_cast<std::int32_t>(integer / 10000);
      break;
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      value = std::isfinite(real) && std::fabs(real) < 2147483647.0 ? static_cast<std::int32_t>(std::lround(real)) : 0;
      break;
    case VT_BSTR:
      if (text) value = static_cast<std::int32_t>(std::strtol(grx::platform::Utf16ToAnsi(*text).c_str(), nullptr, 0));
      break;
    default:
      break;
  }
  *this = Int32(value);
  return value;
}

void CBlobStringMap::SetAt(const std::string& key, const std::string& value) {
  for (auto& [k, v] : m_entries) {
    if (k == key) {
      v = value;
      return;
    }
  }
  m_entries.emplace_back(key, value);
}

bool CBlobStringMap::Lookup(const std::string& key, std::string& value) const {
  for (const auto& [k, v] : m_entries) {
    if (k == key) {
      value = v;
      return true;
    }
  }
  return false;
}

bool CBlobStringMap::RemoveKey(const std::string& key) {
  const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.first == key; });
  if (it == m_entries.end()) return false;
  m_entries.erase(it);
  return true;
}

std::uint32_t BlobHashBucket(std::string_view key) {
  std::uint32_t h = 0;
  for (char c : key) h = h * 33 + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
  return h % kBlobHashBuckets;
}

std::vector<std::size_t> BlobHashOrder(const std::vector<std::string_view>& keys) {
  std::vector<std::uint32_t> buckets(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) buckets[i] = BlobHashBucket(keys[i]);
  std::vector<std::size_t> order;
  order.reserve(keys.size());
  for (std::uint32_t bucket = 0; bucket < kBlobHashBuckets; ++bucket) {
    for (std::size_t i = keys.size(); i-- > 0;) {
      if (buckets[i] == bucket) order.push_back(i);
    }
  }
  return order;
}
