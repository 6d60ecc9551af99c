// The wrappers of the chart-database API. Library code includes this header and calls the API
// functions by their own names; every call goes through a wrapper (binding, call trace). The
// binding layer adds two functions of its own.
#pragma once

#include "chartdb/q3jdbmox_api.h"

// Whether the chart-database API knows a function: true from the supported-name table, or when
// the installed API library exports it.
extern "C" GlResult gl_isSupported(const char* functionName, GlBool* supported);
