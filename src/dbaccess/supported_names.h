// The supported-name table: the API function names that this binding layer knows to exist,
// made from the declaration table. It begins with the names of the overloaded functions,
// followed by the other names in ascending byte order; it holds no versioned name ("...V6_0").
#pragma once

#include <span>
#include <string_view>

namespace grx::dbaccess {

std::span<const std::string_view> SupportedNames();
bool IsSupportedName(std::string_view name);

} // namespace grx::dbaccess
