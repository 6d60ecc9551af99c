#include "foundation/exceptions.h"

#include <cstdio>

#include "foundation/string_ex.h"
#include "platform/dynamic_library.h"
#include "platform/string_resources.h"
#include "platform/system_messages.h"

namespace ZEB {
namespace {

// The constant title texts of the plain subclasses, built when the library is loaded.
const std::string memoryTitle = "Memory exception";
const std::string unexpectedTitle = "Unexpected exception";
const std::string invalidArgTitle = "Invalid argument exception";
const std::string illegalStateTitle = "Illegal state exception";
const std::string systemTitle = "System exception";

void* resourceModule = nullptr;

std::string Hex(std::uint32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", code);
  return text;
}

} // namespace

CException::CException(const char* message, std::uint32_t code, const char* file, std::uint32_t line)
    : m_errorCode(code), m_message(message ? message : ""), m_file(file ? file : ""), m_line(line) {}

CException::CException(std::uint32_t code, const char* file, std::uint32_t line)
    : CException(nullptr, code, file, line) {}

CException::~CException() = default;

std::string CException::GetMessage() const {
  if (m_message.empty() && m_errorCode != 0) {
    if (auto text = grx::platform::SystemMessage(m_errorCode)) {
      if (text->size() >= 2 && text->back() == '\n') {
        text->pop_back();
        if (!text->empty() && text->back() == '\r') text->pop_back();
      }
      m_message = *text;
    }
  }
  return m_message;
}

std::string CException::GetText() const {
  std::string text = "Error: " + m_message;
  if (m_errorCode != kNoErrorCode) text += " (0x" + Hex(m_errorCode) + ")";
  return text + "\n" + m_file + "(" + std::to_string(m_line) + ")";
}

void CException::ApplyTitle(const char* title) {
  const std::string message = GetMessage();
  m_message = message.empty() ? std::string(title) : std::string(title) + ": " + message;
}

CMemoryException::CMemoryException(const char* message, const char* file, std::uint32_t line)
    : CException(message, kNoErrorCode, file, line) {
  ApplyTitle(Title());
}
const char* CMemoryException::Title() {
  return memoryTitle.c_str();
}

CUnexpectedException::CUnexpectedException(const char* message, const char* file, std::uint32_t line)
    : CException(message, kNoErrorCode, file, line) {
  ApplyTitle(Title());
}
const char* CUnexpectedException::Title() {
  return unexpectedTitle.c_str();
}

CInvalidArgException::CInvalidArgException(const char* message, const char* file, std::uint32_t line)
    : CException(message, kNoErrorCode, file, line) {
  ApplyTitle(Title());
}
const char* CInvalidArgException::Title() {
  return invalidArgTitle.c_str();
}

CIllegalStateException::CIllegalStateException(const char* message, const char* file, std::uint32_t line)
    : CException(message, kNoErrorCode, file, line) {
  ApplyTitle(Title());
}
const char* CIllegalStateException::Title() {
  return illegalStateTitle.c_str();
}

CSystemException::CSystemException(std::uint32_t errorCode, const char* file, std::uint32_t line)
    : CException(nullptr, errorCode, file, line) {
  ApplyTitle(Title());
}
const char* CSystemException::Title() {
  return systemTitle.c_str();
}

CModuleException::CModuleException(const char* message, std::uint32_t code, const char* file, std::uint32_t line)
    : CException(message, code, file, line) {}

CModuleException::CModuleException(std::uint32_t messageId, const std::vector<std::string>* arguments,
                                   std::uint32_t code, const char* file, std::uint32_t line)
    : CException(nullptr, code, file, line), m_messageId(messageId) {
  char buffer[256];
  if (resourceModule && grx::platform::LoadStringA(resourceModule, messageId, buffer, sizeof buffer) > 0) {
    std::string text = buffer;
    if (arguments) text = ReplacePlaceholders(text, "%s", *arguments);
    SetMessage(text);
  }
}

void CModuleException::SetResourceHandle(void* module) {
  resourceModule = module;
}
void* CModuleException::GetResourceHandle() {
  return resourceModule;
}

CComException::CComException(grx::platform::HRESULT hr, const char* method, const char* file, std::uint32_t line)
    : CException(nullptr, static_cast<std::uint32_t>(hr), file, line), m_method(method ? method : "") {
  m_comError = std::make_unique<grx::platform::ComError>(hr);
  SetMessage(grx::platform::Narrow(m_comError->Description()));
}

CComException::CComException(const grx::platform::ComError& error, const char* method, const char* file,
                             std::uint32_t line)
    : CException(nullptr, static_cast<std::uint32_t>(error.Error()), file, line), m_method(method ? method : "") {
  m_comError = std::make_unique<grx::platform::ComError>(error);
  SetMessage(grx::platform::Narrow(m_comError->Description()));
}

CComException::CComException(const CComException& other)
    : CException(other),
      m_method(other.m_method),
      m_comError(other.m_comError ? std::make_unique<grx::platform::ComError>(*other.m_comError) : nullptr) {}

CComException& CComException::operator=(const CComException& other) {
  if (this != &other) {
    CException::operator=(other);
    m_method = other.m_method;
    m_comError = other.m_comError ? std::make_unique<grx::platform::ComError>(*other.m_comError) : nullptr;
  }
  return *this;
}

CComException::~CComException() = default;

std::string CComException::GetDescription() const {
  auto* info = m_comError ? m_comError->ErrorInfoPtr() : nullptr;
  return info ? grx::platform::Narrow(info->GetDescription()) : std::string();
}

std::uint32_t CComException::GetHelpContext() const {
  auto* info = m_comError ? m_comError->ErrorInfoPtr() : nullptr;
  return info ? info->GetHelpContext() : 0;
}

std::string CComException::GetHelpFile() const {
  auto* info = m_comError ? m_comError->ErrorInfoPtr() : nullptr;
  return info ? grx::platform::Narrow(info->GetHelpFile()) : std::string();
}

std::string CComException::GetComSource() const {
  auto* info = m_comError ? m_comError->ErrorInfoPtr() : nullptr;
  return info ? grx::platform::Narrow(info->GetSource()) : std::string();
}

std::string CComException::GetText() const {
  return CException::GetText() + "\nMethod: " + m_method + "\nHelp Context: " + std::to_string(GetHelpContext()) +
         "\nHelp File: " + GetHelpFile() + "\nSource: " + GetComSource();
}

CBasisEsException::CBasisEsException(grx::platform::HRESULT hr, const char* method, const char* file,
                                     std::uint32_t line)
    : CComException(hr, method, file, line) {
  SetMessage(LoadErrorText());
}

std::string CBasisEsException::LoadErrorText() const {
  grx::platform::Module texts = grx::platform::Module::Load("w5bx00ta.dll");
  if (!texts) return "Unknown";
  void* handle = texts.Detach();
  char buffer[256];
  grx::platform::LoadStringA(handle, GetErrorCode(), buffer, sizeof buffer);
  grx::platform::FreeHandle(handle);
  return buffer;
}

} // namespace ZEB
