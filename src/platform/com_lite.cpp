#include "platform/com_lite.h"

#include "platform/code_page.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "platform/dynamic_library.h"
#include "platform/settings_store.h"

namespace grx::platform {
namespace {
std::atomic<int> liveErrorInfos{0};
} // namespace

ErrorInfo* ErrorInfo::Create(std::wstring description, std::uint32_t helpContext, std::wstring helpFile,
                             std::wstring source) {
  auto* info = new ErrorInfo();
  info->description_ = std::move(description);
  info->helpContext_ = helpContext;
  info->helpFile_ = std::move(helpFile);
  info->source_ = std::move(source);
  ++liveErrorInfos;
  return info;
}

HRESULT ErrorInfo::QueryInterface(const IID& iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown) {
    *object = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

std::uint32_t ErrorInfo::Release() {
  const std::uint32_t left = --references_;
  if (left == 0) delete this;
  return left;
}

ErrorInfo::~ErrorInfo() {
  --liveErrorInfos;
}

int ErrorInfo::LiveObjects() {
  return liveErrorInfos.load();
}

ComError::ComError(HRESULT hr, IErrorInfo* info, bool addRef) : hr_(hr), info_(info) {
  if (info_ && addRef) info_->AddRef();
}

ComError::ComError(const ComError& other) : hr_(other.hr_), info_(other.info_) {
  if (info_) info_->AddRef();
}

ComError& ComError::operator=(const ComError& other) {
  if (this != &other) {
    if (other.info_) other.info_->AddRef();
    if (info_) info_->Release();
    hr_ = other.hr_;
    info_ = other.info_;
  }
  return *this;
}

ComError::~ComError() {
  if (info_) info_->Release();
}

std::string Narrow(const std::wstring& text) {
  if constexpr (sizeof(wchar_t) == 2) {
    return Utf16ToAnsi(std::u16string(text.begin(), text.end()));
  } else {
    return Utf32ToAnsi(std::u32string(text.begin(), text.end()));
  }
}

std::wstring Widen(const std::string& text) {
  if constexpr (sizeof(wchar_t) == 2) {
    const std::u16string wide = AnsiToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
  } else {
    const std::u32string wide = AnsiToUtf32(text);
    return std::wstring(wide.begin(), wide.end());
  }
}

} // namespace grx::platform

namespace grx::platform {

bool operator==(const GUID& a, const GUID& b) {
  return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 && std::memcmp(a.data4, b.data4, 8) == 0;
}

std::string GuidToString(const GUID& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2, g.data3,
                g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
  return text;
}

std::optional<GUID> GuidFromString(const std::string& text) {
  std::string digits = text;
  if (digits.size() == 38 && digits.front() == '{' && digits.back() == '}') digits = digits.substr(1, 36);
  if (digits.size() != 36) return std::nullopt;
  std::uint8_t bytes[16];
  std::size_t n = 0;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (digits[i] != '-') return std::nullopt;
      continue;
    }
    const auto value = [](char c) -> int {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      return -1;
    };
    const int high = value(digits[i]), low = i + 1 < digits.size() ? value(digits[i + 1]) : -1;
    if (high < 0 || low < 0 || i + 1 == 8 || i + 1 == 13 || i + 1 == 18 || i + 1 == 23) return std::nullopt;
    bytes[n++] = static_cast<std::uint8_t>(high * 16 + low);
    ++i;
  }
  GUID guid{};
  guid.data1 =
      (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
  guid.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  guid.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.data4[i] = bytes[8 + i];
  return guid;
}

BSTR SysAllocString(const wchar_t* text) {
  if (!text) return nullptr;
  const std::size_t length = std::wcslen(text);
  auto* copy = new wchar_t[length + 1];
  std::wmemcpy(copy, text, length + 1);
  return copy;
}

void SysFreeString(BSTR text) {
  delete[] text;
}

namespace {
std::atomic<int> liveTaskMemBlocks{0};
} // namespace

void* CoTaskMemAlloc(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block) ++liveTaskMemBlocks;
  return block;
}

void CoTaskMemFree(void* block) {
  if (!block) return;
  --liveTaskMemBlocks;
  std::free(block);
}

int LiveTaskMemBlocks() {
  return liveTaskMemBlocks.load();
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return static_cast<HRESULT>(0x80040110); // CLASS_E_NOAGGREGATION
  if ((context & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
  const auto server = ReadSettingText(Hive::ClassesRoot, "CLSID\\" + GuidToString(clsid) + "\\InprocServer32", "@");
  if (!server || server->empty()) return REGDB_E_CLASSNOTREG;
  Module module = Module::Load(*server);
  if (!module) return CO_E_DLLNOTFOUND;
  auto create = reinterpret_cast<CreateComponentFn>(module.Find("grx_CreateComponent"));
  if (!create) return E_FAIL;
  module.Detach(); // in-process servers stay loaded
  return create(clsid, iid, object);
}

} // namespace grx::platform
