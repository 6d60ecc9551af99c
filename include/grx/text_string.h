// CString: the narrow text class of the exports and of the library's code, with the part of the
// MFC interface that the library uses. Texts are narrow strings in the platform's code page.
#pragma once

#include <string>
#include <string_view>

class CString {
public:
  CString() = default;
  CString(const char* text) : text_(text ? text : "") {} // NOLINT: converts like the MFC class
  CString(std::string text) : text_(std::move(text)) {}  // NOLINT
  CString(std::string_view text) : text_(text) {}        // NOLINT

  int GetLength() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }
  const char* GetString() const { return text_.c_str(); }
  operator const char*() const { return text_.c_str(); } // NOLINT: as LPCTSTR
  const std::string& str() const { return text_; }

  // Index of the first occurrence from start on, or -1.
  int Find(char c, int start = 0) const;
  int Find(const char* text, int start = 0) const;
  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString& MakeUpper();
  int Compare(const char* other) const;
  int CompareNoCase(const char* other) const;

  CString& operator+=(const CString& other) {
    text_ += other.text_;
    return *this;
  }
  friend CString operator+(CString a, const CString& b) { return a += b; }
  friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
  friend bool operator==(const CString& a, const char* b) { return a.text_ == (b ? b : ""); }

private:
  std::string text_;
};
