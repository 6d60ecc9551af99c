#include "foundation/object_trace.h"

#include <cstdio>

#include "w5trace/trace_library.h"

namespace ZEB {
namespace {
// The process-wide sink; set and read without locking: install it before other threads trace.
ITrace* sink = nullptr;
} // namespace

void CObject::SetTrace(ITrace* trace) {
  if (!trace) {
    throw CInvalidArgException("<pITrace< must be a valid interface pointer", __FILE__, __LINE__);
  }
  sink = trace;
}

void CObject::ResetTrace() {
  sink = nullptr;
}

ITrace* CObject::GetTrace() {
  return sink;
}

void CObject::Trace(std::uint32_t level, const char* source, const char* format, ...) {
  if (!sink) return;
  va_list args;
  va_start(args, format);
  sink->VTrace(level, source, format, args);
  va_end(args);
}

void CObject::VTrace(std::uint32_t level, const char* source, const char* format, va_list args) {
  if (sink) sink->VTrace(level, source, format, args);
}

void CObject::TraceException(const CException& exception, std::uint32_t level) {
  if (sink) sink->TraceException(exception, level);
}

CTrace::CTrace(std::uint32_t component, std::uint32_t subcomponent, const char* name)
    : m_constructorComponent(component), m_constructorSubcomponent(subcomponent), m_name(name ? name : "") {}

CTrace::~CTrace() {
  std::lock_guard lock(m_lock);
  if (m_initialised) {
    traceapi_DeInit2(&m_handle);
    m_initialised = false;
  }
}

void CTrace::InitLocked() {
  if (m_initialised) return;
  m_handle = 0xFFFFFFFF;
  m_component = m_constructorComponent;
  m_subcomponent = m_constructorSubcomponent;
  traceapi_Init2(m_name.c_str(), 0, &m_handle, "ZEB::CTrace");
  if (m_handle == 0xFFFFFFFF) {
    throw CUnexpectedException("Initializing the ZEB Trace failed", __FILE__, __LINE__);
  }
  m_initialised = true;
}

void CTrace::VTrace(std::uint32_t level, const char* source, const char* format, va_list args) {
  std::lock_guard lock(m_lock);
  InitLocked();
  char text[1024];
  std::vsnprintf(text, sizeof text, format ? format : "", args);
  if (source) TraceMsg2(m_handle, m_component, m_subcomponent, level, source, text);
}

void CTrace::Trace(std::uint32_t level, const char* source, const char* format, ...) {
  va_list args;
  va_start(args, format);
  VTrace(level, source, format, args);
  va_end(args);
}

void CTrace::TraceException(const CException& exception, std::uint32_t level) {
  std::lock_guard lock(m_lock);
  InitLocked();
  std::string text = exception.GetMessage();
  if (exception.GetErrorCode() != kNoErrorCode) {
    char code[16];
    std::snprintf(code, sizeof code, "%x", exception.GetErrorCode());
    text += std::string(" (0x") + code + ")";
  }
  if (const auto* com = dynamic_cast<const CComException*>(&exception)) {
    text += "; Method Call: " + com->GetMethod();
  }
  TraceMsg2(m_handle, m_component, m_subcomponent, level, exception.GetFile().c_str(), text.c_str());
}

} // namespace ZEB
