#include "platform/com_lite.h"

#include <cstdio>
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
  std::string out;
  for (wchar_t wc : text) {
    const auto c = static_cast<std::uint32_t>(wc);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::wstring Widen(const std::string& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::uint32_t code = c;
    std::size_t extra = 0;
    if (c >= 0xF0) {
      code = c & 0x07;
      extra = 3;
    } else if (c >= 0xE0) {
      code = c & 0x0F;
      extra = 2;
    } else if (c >= 0xC0) {
      code = c & 0x1F;
      extra = 1;
    }
    ++i;
    for (std::size_t k = 0; k < extra && i < text.size(); ++k, ++i) {
      code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    out += static_cast<wchar_t>(code);
  }
  return out;
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
