#include "blob/blob_record.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "platform/code_page.h"
#include "platform/com_lite.h"

namespace {

std::string Text(std::uint64_t v) {
  return std::to_string(v);
}
std::string Text(std::int32_t v) {
  return std::to_string(v);
}
std::string Text(std::uint32_t v) {
  return std::to_string(v);
}
std::string Text(bool v) {
  return v ? "true" : "false";
}
std::string Text(const std::string& v) {
  return "\"" + v + "\"";
}
std::string Text(const GUID& g) {
  return grx::platform::GuidToString(g);
}
std::string Text(const CBlobSixBytes& v) {
  return std::to_string(v.low) + ":" + std::to_string(v.high);
}
std::string Text(const BlobVariant& v) {
  std::ostringstream out;
  out << "VT " << v.vt;
  if (v.vt == VT_R4 || v.vt == VT_R8 || v.vt == VT_DATE) out << ": " << v.real;
  if (v.vt == VT_I2 || v.vt == VT_I4 || v.vt == VT_UI1 || v.vt == VT_ERROR || v.vt == VT_BOOL || v.vt == VT_CY) {
    out << ": " << v.integer;
  }
  if (v.vt == VT_BSTR) out << ": " << (v.text ? Text(grx::platform::Utf16ToAnsi(*v.text)) : std::string("null"));
  return out.str();
}
std::string Text(const CBlobStringMap& m) {
  std::string out = "{";
  for (const auto& [key, value] : m.Entries()) out += (out.size() > 1 ? ", " : "") + Text(key) + ": " + Text(value);
  return out + "}";
}
std::string Text(const std::unique_ptr<CTPAttribs>& p) {
  return "{" + Text(p->m_strName) + ", " + Text(p->m_strTPVersion) + ", " + Text(p->m_nLanguageId) + "}";
}
template <class T>
std::string Text(const std::vector<T>& list) {
  std::string out = "[";
  for (std::size_t i = 0; i < list.size(); ++i) {
    if constexpr (std::is_same_v<T, bool>) {
      out += (i ? ", " : "") + Text(static_cast<bool>(list[i]));
    } else {
      out += (i ? ", " : "") + Text(list[i]);
    }
  }
  return out + "]";
}

template <BlobAttrType Tag>
std::string TextOf(const void* value) {
  return Text(*static_cast<const BlobValueT<Tag>*>(value));
}

template <class T>
bool ParseInteger(const std::string& text, void* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  if constexpr (std::is_signed_v<T>) {
    const long long v = std::strtoll(text.c_str(), &end, 0);
    if (errno || *end || v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return false;
    *static_cast<T*>(value) = static_cast<T>(v);
  } else {
    if (text[0] == '-') return false;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (errno || *end || v > std::numeric_limits<T>::max()) return false;
    *static_cast<T*>(value) = static_cast<T>(v);
  }
  return true;
}

} // namespace

std::string BlobValueText(BlobAttrType tag, const void* value) {
  switch (tag) {
#define GRX_BLOB_TAG(enumerator, number, type) \
  case enumerator:                             \
    return TextOf<enumerator>(value);
#include "blob/blob_attr_types.def"
  }
  return "invalid value";
}

bool BlobValueFromText(BlobAttrType tag, const std::string& text, void* value) {
  switch (tag) {
    case BLOB_ATTR_TEXT:
      *static_cast<std::string*>(value) = text;
      return true;
    case BLOB_ATTR_INT:
    case BLOB_ATTR_ENUM:
    case BLOB_ATTR_XML_ID:
      return ParseInteger<std::int32_t>(text, value);
    case BLOB_ATTR_UINT:
      return ParseInteger<std::uint32_t>(text, value);
    case BLOB_ATTR_UINT64:
      return ParseInteger<std::uint64_t>(text, value);
    case BLOB_ATTR_BOOL:
      if (text == "true" || text == "1") {
        *static_cast<bool*>(value) = true;
        return true;
      }
      if (text == "false" || text == "0") {
        *static_cast<bool*>(value) = false;
        return true;
      }
      return false;
    default:
      return false;
  }
}
