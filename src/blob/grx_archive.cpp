#include "blob/grx_archive.h"

#include <cstring>

#include "platform/code_page.h"

namespace {

constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000;
constexpr std::uint16_t kWideMarker = 0xFFFE;

} // namespace

CGRXArchive::CGRXArchive() : m_storing(true) {}

CGRXArchive::CGRXArchive(std::span<const std::uint8_t> bytes) : m_storing(false), m_reader(bytes) {}

CGRXArchive::~CGRXArchive() = default;

void CGRXArchive::WriteString(const std::string& text) {
  const std::size_t length = text.size();
  if (length < 0xFF) {
    WriteU8(static_cast<std::uint8_t>(length));
  } else if (length < 0xFFFE) {
    WriteU8(0xFF);
    WriteU16(static_cast<std::uint16_t>(length));
  } else {
    WriteU8(0xFF);
    WriteU16(0xFFFF);
    WriteU32(static_cast<std::uint32_t>(length));
  }
  WriteBytes({reinterpret_cast<const std::uint8_t*>(text.data()), length});
}

void CGRXArchive::WriteObjectStart(const char* className) {
  for (const auto& [name, index] : m_storedClasses) {
    if (name == className) {
      if (index < kBigObjectTag) {
        WriteU16(static_cast<std::uint16_t>(kClassTag | index));
      } else {
        WriteU16(kBigObjectTag);
        WriteU32(kBigClassTag | index);
      }
      ++m_nextIndex; // the object takes the next index
      return;
    }
  }
  const std::size_t length = std::strlen(className);
  WriteU16(kNewClassTag);
  WriteU16(0); // schema
  WriteU16(static_cast<std::uint16_t>(length));
  WriteBytes({reinterpret_cast<const std::uint8_t*>(className), length});
  m_storedClasses.emplace_back(className, m_nextIndex++);
  ++m_nextIndex;
}

std::uint32_t CGRXArchive::ReadCount() {
  return Need(m_reader.Count(), "a count");
}

void CGRXArchive::RequireFits(std::uint64_t count, std::size_t elementSize) const {
  if (!m_reader.Holds(count, elementSize)) {
    throw CBlobFormatError("a count of " + std::to_string(count) + " beyond the end of the data");
  }
}

std::string CGRXArchive::ReadString() {
  bool wide = false;
  std::uint64_t length = ReadU8();
  if (length == 0xFF) {
    std::uint16_t word = ReadU16();
    if (word == kWideMarker) {
      wide = true;
      length = ReadU8();
      if (length == 0xFF) word = ReadU16();
    }
    if (length == 0xFF) length = word == 0xFFFF ? ReadU32() : word;
  }
  const std::size_t unit = wide ? 2 : 1;
  RequireFits(length, unit);
  const auto bytes = ReadBytes(static_cast<std::size_t>(length) * unit);
  if (!wide) return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::u16string units(static_cast<std::size_t>(length), u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return grx::platform::Utf16ToAnsi(units);
}

void CGRXArchive::ReadObjectStart(const char* className) {
  const std::uint16_t tag = ReadU16();
  std::uint32_t classIndex = 0;
  if (tag == 0) throw CBlobFormatError("a null object reference");
  if (tag == kNewClassTag) {
    ReadU16(); // schema
    const std::uint16_t length = ReadU16();
    const auto name = ReadBytes(length);
    m_loaded.push_back(Loaded{true, std::string(reinterpret_cast<const char*>(name.data()), name.size())});
    if (m_loaded.back().className != className) {
      throw CBlobFormatError("unknown class \"" + m_loaded.back().className + "\"");
    }
  } else {
    if (tag == kBigObjectTag) {
      const std::uint32_t big = ReadU32();
      if ((big & kBigClassTag) == 0) throw CBlobFormatError("a reference to an object stored before");
      classIndex = big & ~kBigClassTag;
    } else if (tag & kClassTag) {
      classIndex = tag & ~kClassTag;
    } else {
      // Every attribute is an object of its own: a reference to one stored before is refused.
      throw CBlobFormatError("a reference to an object stored before");
    }
    if (classIndex == 0 || classIndex > m_loaded.size()) throw CBlobFormatError("a dangling class reference");
    const Loaded& named = m_loaded[classIndex - 1];
    if (!named.isClass) throw CBlobFormatError("a class reference that names an object");
    if (named.className != className) throw CBlobFormatError("unknown class \"" + named.className + "\"");
  }
  m_loaded.push_back(Loaded{false, {}}); // the object takes the next index
}

namespace {

// Signed counts: zero or negative gives an empty value and nothing more is read.
std::uint32_t ReadListCount(CGRXArchive& a, std::size_t leastElementSize) {
  const auto count = static_cast<std::int32_t>(a.ReadU32());
  if (count <= 0) return 0;
  a.RequireFits(static_cast<std::uint32_t>(count), leastElementSize);
  return static_cast<std::uint32_t>(count);
}

void WriteText(CGRXArchive& a, const std::string& text) {
  const std::size_t n = text.size();
  a.WriteU32(static_cast<std::uint32_t>(n));
  // As many units as the text has bytes: zero units pad what the conversion leaves short.
  grx::platform::AnsiToUtf16Le(text, n, a.Extend(2 * n));
}

std::string ReadText(CGRXArchive& a) {
  const std::uint32_t n = ReadListCount(a, 2);
  const auto bytes = a.ReadBytes(2 * static_cast<std::size_t>(n));
  std::size_t length = 0; // the text ends at the first zero unit
  while (length < n && (bytes[2 * length] | bytes[2 * length + 1]) != 0) ++length;
  return grx::platform::Utf16LeToAnsi(bytes.data(), length);
}

void WriteGuid(CGRXArchive& a, const GUID& g) {
  a.WriteU32(g.data1);
  a.WriteU16(g.data2);
  a.WriteU16(g.data3);
  a.WriteBytes(g.data4);
}

GUID ReadGuid(CGRXArchive& a) {
  GUID g{};
  g.data1 = a.ReadU32();
  g.data2 = a.ReadU16();
  g.data3 = a.ReadU16();
  const auto tail = a.ReadBytes(8);
  std::memcpy(g.data4, tail.data(), 8);
  return g;
}

template <class T, class WriteOne>
void WriteList(CGRXArchive& a, const std::vector<T>& list, WriteOne writeOne) {
  a.WriteU32(static_cast<std::uint32_t>(list.size()));
  for (const auto& element : list) writeOne(a, element);
}

template <class T, class ReadOne>
std::vector<T> ReadList(CGRXArchive& a, std::size_t leastElementSize, ReadOne readOne) {
  const std::uint32_t n = ReadListCount(a, leastElementSize);
  std::vector<T> list;
  list.reserve(n);
  for (std::uint32_t i = 0; i < n; ++i) list.push_back(readOne(a));
  return list;
}

void WriteVariant(CGRXArchive& a, const BlobVariant& v) {
  a.WriteU16(v.vt);
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
      break;
    case VT_BOOL:
      a.WriteU16(v.integer ? 0xFFFF : 0);
      break;
    case VT_UI1:
      a.WriteU8(static_cast<std::uint8_t>(v.integer));
      break;
    case VT_I2:
      a.WriteU16(static_cast<std::uint16_t>(v.integer));
      break;
    case VT_I4:
    case VT_ERROR:
      a.WriteU32(static_cast<std::uint32_t>(v.integer));
      break;
    case VT_R4: {
      const float f = static_cast<float>(v.real);
      std::uint32_t bits = 0;
      std::memcpy(&bits, &f, 4);
      a.WriteU32(bits);
      break;
    }
    case VT_R8:
    case VT_DATE: {
      std::uint64_t bits = 0;
      std::memcpy(&bits, &v.real, 8);
      a.WriteU64(bits);
      break;
    }
    case VT_CY:
      a.WriteU32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v.integer)));
      a.WriteU32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v.integer) >> 32));
      break;
    case VT_BSTR: {
      const std::u16string& text = v.text ? *v.text : std::u16string();
      a.WriteU32(static_cast<std::uint32_t>(2 * text.size()));
      for (char16_t u : text) a.WriteU16(static_cast<std::uint16_t>(u));
      break;
    }
    default:
      throw CBlobFormatError("a VARIANT of type " + std::to_string(v.vt) + " cannot be stored");
  }
}

BlobVariant ReadVariant(CGRXArchive& a) {
  BlobVariant v;
  v.vt = a.ReadU16();
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
      break;
    case VT_BOOL:
      v.integer = a.ReadU16() ? -1 : 0;
      break;
    case VT_UI1:
      v.integer = a.ReadU8();
      break;
    case VT_I2:
      v.integer = static_cast<std::int16_t>(a.ReadU16());
      break;
    case VT_I4:
      v.integer = static_cast<std::int32_t>(a.ReadU32());
      break;
    case VT_ERROR:
      v.integer = a.ReadU32();
      break;
    case VT_R4: {
      const std::uint32_t bits = a.ReadU32();
      float f = 0;
      std::memcpy(&f, &bits, 4);
      v.real = f;
      break;
    }
    case VT_R8:
    case VT_DATE: {
      const std::uint64_t bits = a.ReadU64();
      std::memcpy(&v.real, &bits, 8);
      break;
    }
    case VT_CY: {
      const std::uint64_t low = a.ReadU32();
      const std::uint64_t high = a.ReadU32();
      v.integer = static_cast<std::int64_t>(low | (high << 32));
      break;
    }
    case VT_BSTR: {
      const std::uint32_t length = a.ReadU32();
      if (length == 0) break; // a null string
      if (length % 2 != 0) throw CBlobFormatError("a BSTR of an odd byte length");
      a.RequireFits(length, 1);
      const auto bytes = a.ReadBytes(length);
      std::u16string text(length / 2, u'\0');
      for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
      v.text = std::move(text);
      break;
    }
    default:
      throw CBlobFormatError("a VARIANT of unknown type " + std::to_string(v.vt));
  }
  return v;
}

// The archive data of a CTPAttribs: name, version, language id.
void WritePackage(CGRXArchive& a, const CTPAttribs& p) {
  a.WriteObjectStart(CTPAttribs::kClassName);
  a.WriteString(p.m_strName);
  a.WriteString(p.m_strTPVersion);
  a.WriteU32(p.m_nLanguageId);
}

std::unique_ptr<CTPAttribs> ReadPackage(CGRXArchive& a) {
  a.ReadObjectStart(CTPAttribs::kClassName);
  auto p = std::make_unique<CTPAttribs>();
  p->m_strName = a.ReadString();
  p->m_strTPVersion = a.ReadString();
  p->m_nLanguageId = a.ReadU32();
  return p;
}

} // namespace

template <BlobAttrType Tag>
void EncodeBlobValue(CGRXArchive& a, const BlobValueT<Tag>& value) {
  if constexpr (Tag == BLOB_ATTR_INT || Tag == BLOB_ATTR_ENUM || Tag == BLOB_ATTR_XML_ID || Tag == BLOB_ATTR_UINT) {
    a.WriteU32(static_cast<std::uint32_t>(value));
  } else if constexpr (Tag == BLOB_ATTR_BOOL) {
    a.WriteU8(value ? 1 : 0);
  } else if constexpr (Tag == BLOB_ATTR_INT_LIST) {
    WriteList(a, value, [](CGRXArchive& x, std::int32_t v) { x.WriteU32(static_cast<std::uint32_t>(v)); });
  } else if constexpr (Tag == BLOB_ATTR_TEXT) {
    WriteText(a, value);
  } else if constexpr (Tag == BLOB_ATTR_TEXT_LIST) {
    WriteList(a, value, WriteText);
  } else if constexpr (Tag == BLOB_ATTR_GUID) {
    WriteGuid(a, value);
  } else if constexpr (Tag == BLOB_ATTR_UINT64) {
    a.WriteU64(value);
  } else if constexpr (Tag == BLOB_ATTR_SIX_BYTES) {
    a.WriteU32(value.low);
    a.WriteU16(value.high);
  } else if constexpr (Tag == BLOB_ATTR_VARIANT) {
    WriteVariant(a, value);
  } else if constexpr (Tag == BLOB_ATTR_OBJECT_LIST) {
    a.WriteCount(static_cast<std::uint32_t>(value.size()));
    for (const auto& p : value) WritePackage(a, *p);
  } else if constexpr (Tag == BLOB_ATTR_STRING_MAP) {
    const auto& entries = value.Entries();
    std::vector<std::string_view> keys;
    for (const auto& e : entries) keys.push_back(e.first);
    a.WriteCount(static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i : BlobHashOrder(keys)) {
      a.WriteString(entries[i].first);
      a.WriteString(entries[i].second);
    }
  } else if constexpr (Tag == BLOB_ATTR_UINT64_LIST) {
    WriteList(a, value, [](CGRXArchive& x, std::uint64_t v) { x.WriteU64(v); });
  } else if constexpr (Tag == BLOB_ATTR_UINT_LIST) {
    WriteList(a, value, [](CGRXArchive& x, std::uint32_t v) { x.WriteU32(v); });
  } else if constexpr (Tag == BLOB_ATTR_GUID_LIST) {
    WriteList(a, value, WriteGuid);
  } else if constexpr (Tag == BLOB_ATTR_GUID_LIST_LIST) {
    WriteList(a, value, [](CGRXArchive& x, const std::vector<GUID>& inner) { WriteList(x, inner, WriteGuid); });
  } else if constexpr (Tag == BLOB_ATTR_BOOL_LIST) {
    a.WriteU32(static_cast<std::uint32_t>(value.size()));
    for (bool b : value) a.WriteU8(b ? 1 : 0);
  }
}

template <BlobAttrType Tag>
void DecodeBlobValue(CGRXArchive& a, BlobValueT<Tag>& value) {
  if constexpr (Tag == BLOB_ATTR_INT || Tag == BLOB_ATTR_ENUM || Tag == BLOB_ATTR_XML_ID) {
    value = static_cast<std::int32_t>(a.ReadU32());
  } else if constexpr (Tag == BLOB_ATTR_UINT) {
    value = a.ReadU32();
  } else if constexpr (Tag == BLOB_ATTR_BOOL) {
    value = a.ReadU8() != 0;
  } else if constexpr (Tag == BLOB_ATTR_INT_LIST) {
    value = ReadList<std::int32_t>(a, 4, [](CGRXArchive& x) { return static_cast<std::int32_t>(x.ReadU32()); });
  } else if constexpr (Tag == BLOB_ATTR_TEXT) {
    value = ReadText(a);
  } else if constexpr (Tag == BLOB_ATTR_TEXT_LIST) {
    value = ReadList<std::string>(a, 4, ReadText);
  } else if constexpr (Tag == BLOB_ATTR_GUID) {
    value = ReadGuid(a);
  } else if constexpr (Tag == BLOB_ATTR_UINT64) {
    value = a.ReadU64();
  } else if constexpr (Tag == BLOB_ATTR_SIX_BYTES) {
    value.low = a.ReadU32();
    value.high = a.ReadU16();
  } else if constexpr (Tag == BLOB_ATTR_VARIANT) {
    value = ReadVariant(a);
  } else if constexpr (Tag == BLOB_ATTR_OBJECT_LIST) {
    const std::uint32_t n = a.ReadCount();
    a.RequireFits(n, 2); // every element starts with a reference
    CTPAttribsList list;
    list.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) list.push_back(ReadPackage(a));
    value = std::move(list);
  } else if constexpr (Tag == BLOB_ATTR_STRING_MAP) {
    const std::uint32_t n = a.ReadCount();
    a.RequireFits(n, 2); // two string lengths at least
    CBlobStringMap map;
    for (std::uint32_t i = 0; i < n; ++i) {
      std::string key = a.ReadString();
      map.SetAt(key, a.ReadString());
    }
    value = std::move(map);
  } else if constexpr (Tag == BLOB_ATTR_UINT64_LIST) {
    value = ReadList<std::uint64_t>(a, 8, [](CGRXArchive& x) { return x.ReadU64(); });
  } else if constexpr (Tag == BLOB_ATTR_UINT_LIST) {
    value = ReadList<std::uint32_t>(a, 4, [](CGRXArchive& x) { return x.ReadU32(); });
  } else if constexpr (Tag == BLOB_ATTR_GUID_LIST) {
    value = ReadList<GUID>(a, 16, ReadGuid);
  } else if constexpr (Tag == BLOB_ATTR_GUID_LIST_LIST) {
    value = ReadList<std::vector<GUID>>(a, 4, [](CGRXArchive& x) { return ReadList<GUID>(x, 16, ReadGuid); });
  } else if constexpr (Tag == BLOB_ATTR_BOOL_LIST) {
    value = ReadList<bool>(a, 1, [](CGRXArchive& x) { return x.ReadU8() != 0; });
  }
}

#define GRX_BLOB_TAG(enumerator, number, type)                                            \
  template void EncodeBlobValue<enumerator>(CGRXArchive&, const BlobValueT<enumerator>&); \
  template void DecodeBlobValue<enumerator>(CGRXArchive&, BlobValueT<enumerator>&);
#include "blob/blob_attr_types.def"
