// The exports of the library, defined from the export table: each enters its frame and calls its
// body.
#include "app/export_bodies.h"
#include "app/export_frame.h"

#define GRX_EXPORT(result, name, family, policy, summary, ...)                                   \
  result name(GRX_PP_MAP(GRX_EXPORT_PARAM_DECL, GRX_PP_COMMA, __VA_ARGS__)) {                    \
    return ::grx::app::RunExport<::grx::app::ExportPolicy::policy>(#name, [&]() -> result {      \
      return ::grx::body::name(GRX_PP_MAP(GRX_EXPORT_PARAM_FORWARD, GRX_PP_COMMA, __VA_ARGS__)); \
    });                                                                                          \
  }
#include "grx/w5lhlpax_exports.def"
