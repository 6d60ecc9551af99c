// The exception family of the library, rooted in ZEB::CException. Every exception records where
// it was thrown, an optional 32-bit error code (0xFFFFFFFF: none) and a message. Exceptions are
// thrown by value and caught by reference.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com_lite.h"

namespace ZEB {

inline constexpr std::uint32_t kNoErrorCode = 0xFFFFFFFF;

class CException {
public:
  CException(const char* message, std::uint32_t code, const char* file, std::uint32_t line);
  CException(std::uint32_t code, const char* file, std::uint32_t line);
  CException(const CException&) = default;
  CException& operator=(const CException&) = default;
  virtual ~CException();

  std::uint32_t GetErrorCode() const { return m_errorCode; }
  // The message; when it is empty and there is a code, filled once from the system's text.
  std::string GetMessage() const;
  std::string GetFile() const { return m_file; }
  std::uint32_t GetLine() const { return m_line; }
  bool HasMessage() const { return !m_message.empty(); }
  void SetMessage(const char* message) { m_message = message ? message : ""; }
  void SetMessage(const std::string& message) { m_message = message; }
  // "Error: MESSAGE (0xCODE)" and "FILE(LINE)", separated by a line feed.
  virtual std::string GetText() const;

protected:
  // Turns the message into "TITLE" or "TITLE: MESSAGE".
  void ApplyTitle(const char* title);
  const std::string& RawMessage() const { return m_message; }

private:
  std::uint32_t m_errorCode;
  mutable std::string m_message;
  std::string m_file;
  std::uint32_t m_line;
};

class CMemoryException : public CException {
public:
  CMemoryException(const char* message, const char* file, std::uint32_t line);
  static const char* Title();
};

class CUnexpectedException : public CException {
public:
  CUnexpectedException(const char* message, const char* file, std::uint32_t line);
  static const char* Title();
};

class CInvalidArgException : public CException {
public:
  CInvalidArgException(const char* message, const char* file, std::uint32_t line);
  static const char* Title();
};

class CIllegalStateException : public CException {
public:
  CIllegalStateException(const char* message, const char* file, std::uint32_t line);
  static const char* Title();
};

// A Win32 error code with the system's text for it.
class CSystemException : public CException {
public:
  CSystemException(std::uint32_t errorCode, const char* file, std::uint32_t line);
  static const char* Title();
};

// A message from the string table of a resource module (set once by the host or at load).
class CModuleException : public CException {
public:
  CModuleException(const char* message, std::uint32_t code, const char* file, std::uint32_t line);
  CModuleException(std::uint32_t messageId, const std::vector<std::string>* arguments, std::uint32_t code,
                   const char* file, std::uint32_t line);
  std::uint32_t GetMessageId() const { return m_messageId; }
  static void SetResourceHandle(void* module);
  static void* GetResourceHandle();

private:
  std::uint32_t m_messageId = 0;
};

// A failed COM call: its HRESULT, the method and, where present, the error information.
class CComException : public CException {
public:
  CComException(grx::platform::HRESULT hr, const char* method, const char* file, std::uint32_t line);
  CComException(const grx::platform::ComError& error, const char* method, const char* file, std::uint32_t line);
  CComException(const CComException& other);
  CComException& operator=(const CComException& other);
  ~CComException() override;

  std::string GetMethod() const { return m_method; }
  std::string GetDescription() const;
  std::uint32_t GetHelpContext() const;
  std::string GetHelpFile() const;
  std::string GetComSource() const;
  // The base report text, then "Method: ", "Help Context: ", "Help File: " and "Source: " lines.
  std::string GetText() const override;

private:
  std::string m_method;
  std::unique_ptr<grx::platform::ComError> m_comError;
};

// An error of the engineering system, whose text comes from its error-text library w5bx00ta.
class CBasisEsException : public CComException {
public:
  CBasisEsException(grx::platform::HRESULT hr, const char* method, const char* file, std::uint32_t line);
  // The text for the error code from w5bx00ta ("Unknown" when the library cannot be loaded).
  virtual std::string LoadErrorText() const;
};

} // namespace ZEB
