#include "grx/text_string.h"
#include "platform/code_page.h"

#include <algorithm>

int CString::Find(char c, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  const auto at = text_.find(c, static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* text, int start) const {
  if (!text || start < 0 || start > GetLength()) return -1;
  const auto at = text_.find(text, static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const {
  return text_.substr(0, static_cast<std::size_t>(std::max(count, 0)));
}

CString CString::Mid(int first) const {
  first = std::clamp(first, 0, GetLength());
  return text_.substr(static_cast<std::size_t>(first));
}

CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, GetLength());
  return text_.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(std::max(count, 0)));
}

CString& CString::MakeUpper() {
  text_ = grx::platform::AnsiUpper(text_);
  return *this;
}

int CString::Compare(const char* other) const {
  return text_.compare(other ? other : "");
}

int CString::CompareNoCase(const char* other) const {
  return grx::platform::AnsiCompareNoCase(text_, other ? other : "");
}
