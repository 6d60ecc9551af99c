// The C interface of the library, written from its export table: the C header hosts of any
// language include, the source of the C functions the library is built with, and the table of
// those functions the Python package binds. Each export row becomes one C function named grx_
// and the export's name without the W5GRX_ prefix (overloads after the first get _2, _3, ...);
// each (direction, kind, C++ type) of a parameter has one way into C, from the table of
// parameter forms in c_interface_writer.cpp.
#pragma once

#include <string>
#include <vector>

namespace grx::cli {

struct ExportEntry;

// The name of an export's C function (the row's place among the overloads of its name counts).
std::string CFunctionName(const ExportEntry& entry);

std::string CInterfaceHeader();
std::string CInterfaceSource();
std::string CInterfacePythonTable();

// Parameters of the table whose (direction, kind, type) has no C form; empty when every one has.
std::vector<std::string> ParametersWithoutCForm();

} // namespace grx::cli
