// The installation object of the engineering system (w5tl::GetInstallation): which product
// (technology package) a block library belongs to, and the properties of installed products,
// such as the folder of their block help ("BI_HELP_PATH").
#pragma once

#include <cstdint>

#include "grx/com_types.h"

namespace w5tl {

// {7C1E5A30-2D4B-4F6A-8E19-3B0C6D2E4F51}
inline constexpr grx::platform::IID IID_IInstallationLibraries = {
    0x7C1E5A30, 0x2D4B, 0x4F6A, {0x8E, 0x19, 0x3B, 0x0C, 0x6D, 0x2E, 0x4F, 0x51}};
// {7C1E5A31-2D4B-4F6A-8E19-3B0C6D2E4F51}
inline constexpr grx::platform::IID IID_IInstallationProducts = {
    0x7C1E5A31, 0x2D4B, 0x4F6A, {0x8E, 0x19, 0x3B, 0x0C, 0x6D, 0x2E, 0x4F, 0x51}};

// The error (low 16 bits of a failed call's HRESULT, and its status) of a library, product or
// property the installation does not know.
inline constexpr std::uint32_t kInstallationNotFound = 10;
inline constexpr grx::platform::HRESULT kInstallationNotFoundResult =
    static_cast<grx::platform::HRESULT>(0x80040000u | kInstallationNotFound);

// The products of the libraries. Callers use slot 14 (counting IUnknown's methods as 0 to 2);
// the slots before it belong to other parts of the installation.
class IInstallationLibraries : public grx::platform::IUnknown {
public:
  GRX_COM_RESERVED_SLOT(3)
  GRX_COM_RESERVED_SLOT(4)
  GRX_COM_RESERVED_SLOT(5)
  GRX_COM_RESERVED_SLOT(6)
  GRX_COM_RESERVED_SLOT(7)
  GRX_COM_RESERVED_SLOT(8)
  GRX_COM_RESERVED_SLOT(9)
  GRX_COM_RESERVED_SLOT(10)
  GRX_COM_RESERVED_SLOT(11)
  GRX_COM_RESERVED_SLOT(12)
  GRX_COM_RESERVED_SLOT(13)
  // Slot 14: the product a library (narrow text) belongs to; status 0 when it was found.
  virtual grx::platform::HRESULT GetProductOfLibrary(const char* library, grx::platform::GUID* product,
                                                     std::uint32_t* status) = 0;
};

// The properties of installed products. Callers use slot 16.
class IInstallationProducts : public grx::platform::IUnknown {
public:
  GRX_COM_RESERVED_SLOT(3)
  GRX_COM_RESERVED_SLOT(4)
  GRX_COM_RESERVED_SLOT(5)
  GRX_COM_RESERVED_SLOT(6)
  GRX_COM_RESERVED_SLOT(7)
  GRX_COM_RESERVED_SLOT(8)
  GRX_COM_RESERVED_SLOT(9)
  GRX_COM_RESERVED_SLOT(10)
  GRX_COM_RESERVED_SLOT(11)
  GRX_COM_RESERVED_SLOT(12)
  GRX_COM_RESERVED_SLOT(13)
  GRX_COM_RESERVED_SLOT(14)
  GRX_COM_RESERVED_SLOT(15)
  // Slot 16: a property of a product; the value is allocated with SysAllocString and freed by
  // the caller. Status 0 when it was found.
  virtual grx::platform::HRESULT GetProductProperty(const grx::platform::GUID& product, grx::platform::BSTR name,
                                                    grx::platform::BSTR* value, std::uint32_t* status) = 0;
};

// The installation object with one reference (it answers IInstallationLibraries and
// IInstallationProducts), or null when the installation cannot be read.
grx::platform::IUnknown* GetInstallation();

} // namespace w5tl
