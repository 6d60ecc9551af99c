// COM-lite: the small part of COM that the library needs on this platform. HRESULTs, a
// reference-counted IUnknown, the error-information object of a failed call (IErrorInfo), and
// ComError, which holds an HRESULT with an optional error-information reference (the _com_error
// of a Win32 build).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "grx/com_types.h"

namespace grx::platform {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as the registry names classes.
std::string GuidToString(const GUID& guid);
// The GUID of such a text (CLSIDFromString), braces and case as GuidToString writes them or not;
// nullopt for any other text.
std::optional<GUID> GuidFromString(const std::string& text);

BSTR SysAllocString(const wchar_t* text);
void SysFreeString(BSTR text);

// COM's task memory: blocks handed between modules are allocated and freed by these two.
// CoTaskMemAlloc answers null when the block cannot be had; CoTaskMemFree takes null.
void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* block);
// The number of task-memory blocks allocated and not yet freed (for leak checks).
int LiveTaskMemBlocks();

// A BSTR freed when it goes out of scope.
struct BstrFree {
  void operator()(wchar_t* text) const { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<wchar_t, BstrFree>;
inline UniqueBstr MakeBstr(const wchar_t* text) {
  return UniqueBstr(SysAllocString(text));
}

// An interface reference released when it goes out of scope.
struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using ComReference = std::unique_ptr<Interface, ComRelease>;

// Creates a component by its class identifier (CoCreateInstance). In-process servers are found
// through the registry (HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32, default value: the module
// name); the module creates the object through its exported grx_CreateComponent.
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context, const IID& iid, void** object);

// The IUnknown part of a component class with one interface: QueryInterface answers that
// interface and IUnknown, and the object deletes itself when its last reference goes. Objects
// start with one reference.
template <class Interface, const IID* kInterfaceId>
class ComObject : public Interface {
public:
  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == *kInterfaceId || iid == IID_IUnknown) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

protected:
  ~ComObject() override = default;

private:
  std::atomic<std::uint32_t> references_{1};
};

// Creates an object of a component class and asks it for an interface (what an in-process
// component library's grx_CreateComponent does for its class).
template <class Component>
HRESULT CreateComponentObject(const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  auto* component = new Component();
  const HRESULT hr = component->QueryInterface(iid, object);
  component->Release();
  return hr;
}

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

// Wide text (UTF-16 on Windows, UTF-32 here) to the ANSI code page and back.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

} // namespace grx::platform
