// The object trace: ZEB::CObject, the root of the object model and the blob records, holds one
// process-wide trace sink (ZEB::ITrace); ZEB::CTrace is the sink that writes to the trace
// library w5wtrcax. No sink is installed by default, so object traces are dropped until a host
// installs one.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <mutex>
#include <string>

#include "foundation/exceptions.h"
#include "platform/export_macros.h"

namespace ZEB {

class ITrace {
public:
  virtual ~ITrace() = default;
  virtual void TraceException(const CException& exception, std::uint32_t level) = 0;
  virtual void VTrace(std::uint32_t level, const char* source, const char* format, va_list args) = 0;
  virtual void Trace(std::uint32_t level, const char* source, const char* format, ...) GRX_PRINTF_FORMAT(4, 5) = 0;
};

class CObject {
public:
  virtual ~CObject() = default;

  // Installs the sink (not owned); a null sink throws CInvalidArgException and keeps the old one.
  static void SetTrace(ITrace* trace);
  static void ResetTrace();
  static ITrace* GetTrace();
  static void Trace(std::uint32_t level, const char* source, const char* format, ...) GRX_PRINTF_FORMAT(3, 4);
  static void VTrace(std::uint32_t level, const char* source, const char* format, va_list args);
  static void TraceException(const CException& exception, std::uint32_t level);
};

// Writes to the trace library; opens its handle on the first message.
class CTrace : public ITrace {
public:
  CTrace(std::uint32_t component, std::uint32_t subcomponent, const char* name);
  ~CTrace() override;
  CTrace(const CTrace&) = delete;
  CTrace& operator=(const CTrace&) = delete;

  void TraceException(const CException& exception, std::uint32_t level) override;
  void VTrace(std::uint32_t level, const char* source, const char* format, va_list args) override;
  void Trace(std::uint32_t level, const char* source, const char* format, ...) override GRX_PRINTF_FORMAT(4, 5);

private:
  void InitLocked();

  std::uint32_t m_handle = 0xFFFFFFFF;
  std::uint32_t m_component = 0;
  std::uint32_t m_subcomponent = 0;
  bool m_initialised = false;
  std::uint32_t m_constructorComponent;
  std::uint32_t m_constructorSubcomponent;
  std::string m_name;
  std::mutex m_lock;
};

} // namespace ZEB
