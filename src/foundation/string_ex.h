// String utilities of the message dialogs: placeholder replacement.
#pragma once

#include <string>
#include <vector>

namespace ZEB {

// Replaces, for each argument in order, the first occurrence of the placeholder (searched from the
// start of the current text each time) by the argument; stops when the arguments are used up or
// no occurrence is left. A null placeholder throws CInvalidArgException "lpszPlaceHolder == NULL".
std::string ReplacePlaceholders(const std::string& text, const char* placeholder,
                                const std::vector<std::string>& arguments);

} // namespace ZEB
