#include "foundation/string_ex.h"

#include <cstring>

#include "foundation/exceptions.h"

namespace ZEB {

std::string ReplacePlaceholders(const std::string& text, const char* placeholder,
                                const std::vector<std::string>& arguments) {
  if (!placeholder) {
    throw CInvalidArgException("lpszPlaceHolder == NULL", __FILE__, __LINE__);
  }
  try {
    std::string result = text;
    const std::size_t length = std::strlen(placeholder);
    if (result.empty() || length == 0) return result;
    for (const std::string& argument : arguments) {
      const std::size_t at = result.find(placeholder);
      if (at == std::string::npos) break;
      result.replace(at, length, argument);
    }
    return result;
  } catch (const std::exception& e) {
    // A failure of the string operations (memory, length) is the library's own kind of exception.
    throw CIllegalStateException(e.what(), __FILE__, __LINE__);
  } catch (...) {
    throw CUnexpectedException(nullptr, __FILE__, __LINE__);
  }
}

} // namespace ZEB
