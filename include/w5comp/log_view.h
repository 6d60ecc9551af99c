// A log of messages with severities and their counters, as hosts keep the compiler's and the
// import's messages: the library appends lines, asks for the counters, closes and shows it.
// The log component (CLSID_Log) is such a log kept in memory, which a host or grx creates; the
// import host's log view is another.
#pragma once

#include <cstdint>

#include "chartdb/q3jdbmox_types.h"
#include "grx/com_types.h"
#include "grx/window_handle.h"

namespace w5comp {

// {6A3D2F30-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::CLSID CLSID_Log = {
    0x6A3D2F30, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
// {6A3D2F31-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::IID IID_ILogView = {
    0x6A3D2F31, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};

enum LogSeverity : std::int32_t { kLogInformation = 0, kLogWarning = 1, kLogError = 2 };

// Slots count IUnknown's methods as 0 to 2. The library calls 3 (import only), 8, 14, 15 and 16;
// 17 to 19 let a log's own host read and keep it.
class ILogView : public grx::platform::IUnknown {
public:
  // Slot 3: empties the log for an object's import (object, 0, transaction).
  virtual grx::platform::HRESULT Reset(GlObjectId objectId, std::uint32_t reserved, GlTransactionId tr) = 0;
  GRX_COM_RESERVED_SLOT(4)
  GRX_COM_RESERVED_SLOT(5)
  GRX_COM_RESERVED_SLOT(6)
  GRX_COM_RESERVED_SLOT(7)
  // Slot 8: appends a line (text in the ANSI code page as a COM string); the library passes
  // severity 0 and two zeros.
  virtual grx::platform::HRESULT AddLine(grx::platform::BSTR text, std::int32_t severity, std::int32_t reserved1,
                                         std::int32_t reserved2) = 0;
  GRX_COM_RESERVED_SLOT(9)
  GRX_COM_RESERVED_SLOT(10)
  GRX_COM_RESERVED_SLOT(11)
  GRX_COM_RESERVED_SLOT(12)
  GRX_COM_RESERVED_SLOT(13)
  // Slot 14: ends writing.
  virtual grx::platform::HRESULT CloseLog() = 0;
  // Slot 15: shows the log to the user (owner window, a value the caller passes through).
  virtual grx::platform::HRESULT ShowLog(grx::platform::WindowHandle owner, std::uint32_t value) = 0;
  // Slot 16: the number of errors and of warnings.
  virtual grx::platform::HRESULT GetCounts(std::int32_t* errors, std::int32_t* warnings) = 0;
  // Slot 17: the number of lines; slot 18: one line (text allocated with SysAllocString, freed by
  // the caller); slot 19: writes the log to a file (path in the ANSI code page).
  virtual grx::platform::HRESULT GetLineCount(std::uint32_t* count) = 0;
  virtual grx::platform::HRESULT GetLine(std::uint32_t index, grx::platform::BSTR* text, std::int32_t* severity) = 0;
  virtual grx::platform::HRESULT SaveAs(const char* file) = 0;
};

} // namespace w5comp
