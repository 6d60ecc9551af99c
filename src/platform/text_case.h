// Comparing narrow texts without regard to case. Narrow texts are in the process's code page.
#pragma once

#include <string_view>

namespace grx::platform {

// <0, 0 or >0 as the texts compare ignoring case.
int CompareTextNoCase(std::string_view a, std::string_view b);

} // namespace grx::platform
