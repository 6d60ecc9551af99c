// The bodies of the library's exports, declared from the export table: each export's frame
// (export_frames.cpp) enters the module state, applies the exception policy and calls its body.
// Exports that call other exports call their bodies.
#pragma once

#include "grx/w5lhlpax.h"

namespace grx::body {

#define GRX_EXPORT(result, name, family, policy, summary, ...) \
  result name(GRX_PP_MAP(GRX_EXPORT_PARAM_DECL, GRX_PP_COMMA, __VA_ARGS__));
#include "grx/w5lhlpax_exports.def"

} // namespace grx::body
