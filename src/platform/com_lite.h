// COM-lite: the small part of COM that the library needs on this platform. HRESULTs, a
// reference-counted IUnknown, the error-information object of a failed call (IErrorInfo), and
// ComError, which holds an HRESULT with an optional error-information reference (the _com_error
// of a Win32 build).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

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

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as the registry names classes.
std::string GuidToString(const GUID& guid);

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

// COM's string: wide, allocated and freed by these two.
using BSTR = wchar_t*;
BSTR SysAllocString(const wchar_t* text);
void SysFreeString(BSTR text);

// A BSTR freed when it goes out of scope.
struct BstrFree {
  void operator()(wchar_t* text) const { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<wchar_t, BstrFree>;
inline UniqueBstr MakeBstr(const wchar_t* text) {
  return UniqueBstr(SysAllocString(text));
}

// Creates a component by its class identifier (CoCreateInstance). In-process servers are found
// through the registry (HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32, default value: the module
// name); the module creates the object through its exported grx_CreateComponent.
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context, const IID& iid, void** object);

// What an in-process component library exports.
using CreateComponentFn = HRESULT (*)(const CLSID& clsid, const IID& iid, void** object);

// What a failed call tells about itself; texts are wide, as COM's.
class IErrorInfo : public IUnknown {
public:
  virtual std::wstring GetDescription() const = 0;
  virtual std::uint32_t GetHelpContext() const = 0;
  virtual std::wstring GetHelpFile() const = 0;
  virtual std::wstring GetSource() const = 0;
};

// A reference-counted error-information object; created with one reference.
class ErrorInfo final : public IErrorInfo {
public:
  static ErrorInfo* Create(std::wstring description, std::uint32_t helpContext, std::wstring helpFile,
                           std::wstring source);
  HRESULT QueryInterface(const IID& iid, void** object) override;
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override;
  std::wstring GetDescription() const override { return description_; }
  std::uint32_t GetHelpContext() const override { return helpContext_; }
  std::wstring GetHelpFile() const override { return helpFile_; }
  std::wstring GetSource() const override { return source_; }
  static int LiveObjects();

private:
  ErrorInfo() = default;
  ~ErrorInfo() override;
  std::atomic<std::uint32_t> references_{1};
  std::wstring description_, helpFile_, source_;
  std::uint32_t helpContext_ = 0;
};

// An HRESULT and, optionally, a reference to its error information.
class ComError {
public:
  explicit ComError(HRESULT hr, IErrorInfo* info = nullptr, bool addRef = false);
  ComError(const ComError& other);
  ComError& operator=(const ComError& other);
  ~ComError();

  HRESULT Error() const { return hr_; }
  IErrorInfo* ErrorInfoPtr() const { return info_; }
  // The description of the error information; empty without one.
  std::wstring Description() const { return info_ ? info_->GetDescription() : std::wstring(); }

private:
  HRESULT hr_;
  IErrorInfo* info_;
};

// Wide text to the narrow code page (UTF-8 here) and back.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

} // namespace grx::platform
