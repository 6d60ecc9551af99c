// Names of the chart-database API functions that the library calls, from the declaration table.
#pragma once

#include <cstddef>
#include <string_view>

namespace grx::dbaccess {

// The exported name under which a function is bound (decorated for overloads), or an empty
// view for a name that is not in the table.
std::string_view ExportedNameOf(std::string_view apiName);
std::size_t ApiFunctionCount();

} // namespace grx::dbaccess
