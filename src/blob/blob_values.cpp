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
  const auto [it, added] = m_index.emplace(key, m_entries.size());
  if (!added) {
    m_entries[it->second].second = value;
    return;
  }
  m_entries.emplace_back(key, value);
}

bool CBlobStringMap::Lookup(const std::string& key, std::string& value) const {
  const auto it = m_index.find(key);
  if (it == m_index.end()) return false;
  value = m_entries[it->second].second;
  return true;
}

bool CBlobStringMap::RemoveKey(const std::string& key) {
  const auto it = m_index.find(key);
  if (it == m_index.end()) return false;
  const std::size_t place = it->second;
  m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(place));
  m_index.erase(it);
  for (auto& [k, index] : m_index) {
    if (index > place) --index;
  }
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
