// The types of COM-lite that the interfaces of components carry: HRESULTs, GUIDs, IUnknown and
// BSTR. The platform layer creates components and owns the rest of COM-lite.
#pragma once

#include <cstdint>

namespace grx::platform {

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr bool FAILED(HRESULT hr) {
  return hr < 0;
}
constexpr bool SUCCEEDED(HRESULT hr) {
  return hr >= 0;
}

// A globally unique identifier, as it lies in memory (u32, u16, u16, 8 bytes).
struct GUID {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
  friend bool operator==(const GUID& a, const GUID& b);
};
using IID = GUID;
using CLSID = GUID;

inline constexpr GUID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr std::uint32_t CLSCTX_INPROC_SERVER = 1;
inline constexpr std::uint32_t CLSCTX_ALL = 7;
inline constexpr HRESULT CO_E_DLLNOTFOUND = static_cast<HRESULT>(0x800401F8);

class IUnknown {
public:
  virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

protected:
  virtual ~IUnknown() = default;
};

// COM's string: wide, allocated and freed by the platform's SysAllocString and SysFreeString.
using BSTR = wchar_t*;

} // namespace grx::platform

// Slots of an interface that belong to parts of a component its callers do not use: declared in
// the interface to keep the slot numbers, answered E_NOTIMPL by implementations.
#define GRX_COM_RESERVED_SLOT(n) virtual grx::platform::HRESULT Slot##n() = 0;
#define GRX_COM_UNUSED_SLOT(n)                \
  grx::platform::HRESULT Slot##n() override { \
    return grx::platform::E_NOTIMPL;          \
  }
