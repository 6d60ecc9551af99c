// BEGIN and END lines of the call trace on the DB channel.
#pragma once

#include <cstdint>

#include "chartdb/q3jdbmox_types.h"

namespace grx::dbaccess {

void TraceCallBegin(const char* function);
// "END name", or with the error id of a failed result and one, two or five "#" by its class.
void TraceCallEnd(const char* function, GlResult result);
void TraceCallEndPlain(const char* function);
void TraceCallEndBool(const char* function, GlBool result);
void TraceCallEndPointer(const char* function, const void* result);

} // namespace grx::dbaccess
