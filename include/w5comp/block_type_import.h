// The engineering system's block-type import: the import host, which opens a controller for the
// import and keeps its log (its log view answers w5comp::IID_ILogView), and the import runner,
// which reads the block-type catalogue and brings its block types into the controller. Both are
// in-process components of w5imcmpx.
//
// The runner answers RESPONSE_OTHER when the catalogue holds nothing the controller does not have
// already (nothing was changed); RESPONSE_FAILED when a type could not be written or a package of
// the controller is not in the catalogue (each an error line of the log); RESPONSE_OK otherwise.
// It fails (a negative HRESULT) when the host is not opened for the object, or when the catalogue
// cannot be found or read.
#pragma once

#include <cstdint>

#include "chartdb/q3jdbmox_types.h"
#include "grx/com_types.h"
#include "grx/import_response.h"
#include "grx/window_handle.h"

namespace w5comp {

// {6A3D2F40-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::CLSID CLSID_ImportHost = {
    0x6A3D2F40, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
// {6A3D2F41-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::IID IID_IImportHost = {
    0x6A3D2F41, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
// {6A3D2F42-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::CLSID CLSID_ImportRunner = {
    0x6A3D2F42, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
// {6A3D2F43-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::IID IID_IImportRunner = {
    0x6A3D2F43, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};

// Slots count IUnknown's methods as 0 to 2.
class IImportHost : public grx::platform::IUnknown {
public:
  GRX_COM_RESERVED_SLOT(3)
  // Slot 4: opens the host for an object's import within a transaction (or kNoTransaction).
  virtual grx::platform::HRESULT Open(GlObjectId objectId, GlTransactionId tr) = 0;
  // Slot 5: the object and transaction it is open for (E_UNEXPECTED when it is not open).
  virtual grx::platform::HRESULT GetOpened(GlObjectId* objectId, GlTransactionId* tr) = 0;
  GRX_COM_RESERVED_SLOT(6)
  // Slot 7: ends the import; the log stays readable.
  virtual grx::platform::HRESULT Close() = 0;
};

class IImportRunner : public grx::platform::IUnknown {
public:
  GRX_COM_RESERVED_SLOT(3)
  GRX_COM_RESERVED_SLOT(4)
  GRX_COM_RESERVED_SLOT(5)
  GRX_COM_RESERVED_SLOT(6)
  GRX_COM_RESERVED_SLOT(7)
  GRX_COM_RESERVED_SLOT(8)
  // Slot 9: imports the catalogue's block types into the object (a controller) through the host,
  // which must be open for it, within the transaction *tr.
  virtual grx::platform::HRESULT Run(grx::platform::WindowHandle window, grx::platform::IUnknown* host,
                                     GlObjectId objectId, GlTransactionId* tr, RESPONSE* result) = 0;
};

} // namespace w5comp
