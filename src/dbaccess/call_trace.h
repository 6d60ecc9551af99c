// BEGIN and END lines of the call trace on the DB channel.
#pragma once

#include <cstdint>
#include <string>

#include "chartdb/q3jdbmox_types.h"

namespace grx::dbaccess {

void TraceCallBegin(const char* function);
// The END line for a result: "END name", or with the error id and one, two or five "#" by the
// severity class (bits 16-23).
std::string FormatCallEnd(const char* function, GlResult result);
// "END name", or with the error id of a failed result and one, two or five "#" by its class.
void TraceCallEnd(const char* function, GlResult result);
void TraceCallEndPlain(const char* function);
void TraceCallEndBool(const char* function, GlBool result);
void TraceCallEndPointer(const char* function, const void* result);

} // namespace grx::dbaccess
