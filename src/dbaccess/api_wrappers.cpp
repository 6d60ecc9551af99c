// The wrappers: one per function of the declaration table, with the API's own name, parameters
// and result, so that the library's code calls them exactly as it would call the API.
#include "chartdb/q3jdbmox_api.h"
#include "dbaccess/wrapped_call.h"
#include "dbaccess/chartdb_functions.h"
#include "dbaccess/install_error_box.h"
#include "dbaccess/supported_names.h"

// The parts of a parameter the wrapper needs: its forwarding and its trace description.
#define GRX_API_PARAM_FORWARD(type, name, ...) static_cast<decltype(name)&&>(name)
#define GRX_API_PARAM_INFO(type, name, ...) ParamInfo(#name, PrinterKindOf<type>(__VA_OPT__(ParamKind::__VA_ARGS__)))

namespace grx::dbaccess {
namespace entries {
#define GRX_API_ENTRY(name, exported, ...) \
  ApiEntry name{exported};                 \
  constexpr ParamInfo name##_params[] = {GRX_PP_MAP(GRX_API_PARAM_INFO, GRX_PP_COMMA, __VA_ARGS__)};
#define GRX_API(kind, result, name, ...) GRX_API_ENTRY(name, #name, __VA_ARGS__)
#define GRX_API_OVERLOAD(result, name, decorated, ...) GRX_API_ENTRY(name, decorated, __VA_ARGS__)
#include "chartdb/q3jdbmox_functions.def"
#undef GRX_API_ENTRY
} // namespace entries
} // namespace grx::dbaccess

// One wrapper per function: the API's own name, parameters and result; the call goes through the
// wrapper family's common member.
#define GRX_API_WRAPPER(linkage, kind, result, name, ...)                             \
  linkage result name(GRX_API_PARAMS(__VA_ARGS__)) {                                  \
    using namespace grx::dbaccess;                                                    \
    return CallWrapped<WrapperKind::kind, chartdb::fn::name, entries::name##_params>( \
        entries::name, GRX_PP_MAP(GRX_API_PARAM_FORWARD, GRX_PP_COMMA, __VA_ARGS__)); \
  }
#define GRX_API(kind, result, name, ...) GRX_API_WRAPPER(extern "C", kind, result, name, __VA_ARGS__)
#define GRX_API_OVERLOAD(result, name, decorated, ...) GRX_API_WRAPPER(, Ordinary, result, name, __VA_ARGS__)
#include "chartdb/q3jdbmox_functions.def"

// Answers from the supported-name table; a name that is not in it is probed in the API library
// through a scratch slot, so that a later call of its wrapper binds on its own.
extern "C" GlResult gl_isSupported(const char* functionName, GlBool* supported) {
  using namespace grx::dbaccess;
  if (DbTrace().on()) TraceCallBegin("gl_isSupported");
  GlResult result = 0;
  if (supported) *supported = 0;
  const std::string_view name = functionName ? functionName : "";
  if (IsSupportedName(name)) {
    if (supported) *supported = 1;
    result = MakeApiResult(0, 0, kSupportedOrigin);
  } else {
    std::atomic<void*> scratch{nullptr};
    const std::string exported(name);
    switch (BindApiFunction(scratch, exported.c_str(), false)) {
      case kBound:
        if (supported) *supported = 1;
        result = MakeApiResult(0, kUnknownNameDetail, kSupportedOrigin);
        break;
      case WRAP_PRIV_FUNC_NOT_AVAIL:
        result = MakeApiResult(0, kUnknownNameDetail, kSupportedOrigin);
        break;
      default: {
        const char* args[] = {kApiLibraryName, kWrapperVersion};
        ShowInstallError(kLibraryNotLoaded, args, 2);
        result = MakeApiResult(kNotAvailable, 0, kSupportedOrigin);
      }
    }
  }
  if (DbTrace().on()) TraceCallEnd("gl_isSupported", result);
  return result;
}
