// The wrappers: one per function of the declaration table, with the API's own name, parameters
// and result, so that the library's code calls them exactly as it would call the API.
#include "chartdb/q3jdbmox_api.h"
#include "dbaccess/wrapped_call.h"
#include "dbaccess/chartdb_functions.h"
#include "dbaccess/install_error_box.h"
#include "dbaccess/supported_names.h"

namespace grx::dbaccess {
namespace entries {
#define GRX_API_FUNCTION(result, name, params, args) \
  ApiEntry name{#name};                              \
  constexpr auto name##_params = ParseParams<FunctionTraits<chartdb::fn::name>::arity>(#params);
#define GRX_API_OVERLOAD(result, name, decorated, params, args) \
  ApiEntry name{decorated};                                     \
  constexpr auto name##_params = ParseParams<FunctionTraits<chartdb::fn::name>::arity>(#params);
#define GRX_API_SPECIAL(kind, result, name, params, args) GRX_API_FUNCTION(result, name, params, args)
#include "chartdb/q3jdbmox_functions.def"
} // namespace entries
} // namespace grx::dbaccess

#define GRX_UNPAREN(...) __VA_ARGS__

#define GRX_API_FUNCTION(result, name, params, args)                                                        \
  extern "C" result name params {                                                                           \
    using namespace grx::dbaccess;                                                                          \
    return CallWrapped<WrapperKind::Ordinary, chartdb::fn::name, entries::name##_params>(entries::name,     \
                                                                                         GRX_UNPAREN args); \
  }
#define GRX_API_OVERLOAD(result, name, decorated, params, args)                                             \
  result name params {                                                                                      \
    using namespace grx::dbaccess;                                                                          \
    return CallWrapped<WrapperKind::Ordinary, chartdb::fn::name, entries::name##_params>(entries::name,     \
                                                                                         GRX_UNPAREN args); \
  }
#define GRX_API_SPECIAL_ErrorHandler(result, name, params, args)
#define GRX_API_SPECIAL_ErrorId(result, name, params, args) GRX_API_SPECIAL_GENERIC(ErrorId, result, name, params, args)
#define GRX_API_SPECIAL_ErrorClass(result, name, params, args) \
  GRX_API_SPECIAL_GENERIC(ErrorClass, result, name, params, args)
#define GRX_API_SPECIAL_Int32(result, name, params, args) GRX_API_SPECIAL_GENERIC(Int32, result, name, params, args)
#define GRX_API_SPECIAL_Bool(result, name, params, args) GRX_API_SPECIAL_GENERIC(Bool, result, name, params, args)
#define GRX_API_SPECIAL_Pointer(result, name, params, args) GRX_API_SPECIAL_GENERIC(Pointer, result, name, params, args)
#define GRX_API_SPECIAL_NoResult(result, name, params, args) \
  GRX_API_SPECIAL_GENERIC(NoResult, result, name, params, args)
#define GRX_API_SPECIAL_GENERIC(kind, result, name, params, args)                                                      \
  extern "C" result name params {                                                                                      \
    using namespace grx::dbaccess;                                                                                     \
    return CallWrapped<WrapperKind::kind, chartdb::fn::name, entries::name##_params>(entries::name, GRX_UNPAREN args); \
  }
#define GRX_API_SPECIAL(kind, result, name, params, args) GRX_API_SPECIAL_##kind(result, name, params, args)
#include "chartdb/q3jdbmox_functions.def"

// A result of the binding layer (0x201EA) was reported already when the binding failed: it is
// never handed to the API's error handler.
extern "C" std::int32_t gl_ErrorHandler(GlResult result) {
  using namespace grx::dbaccess;
  ApiEntry& entry = entries::gl_ErrorHandler;
  if (DbTrace().on()) TraceCallBegin(entry.name);
  std::int32_t answer = 1;
  if ((result & 0xFFFFFF) != kNotAvailable) {
    void* target = entry.slot.load(std::memory_order_acquire);
    if (target || BindApiFunction(entry.slot, entry.name, true) == kBound) {
      answer = reinterpret_cast<chartdb::fn::gl_ErrorHandler>(entry.slot.load())(result);
    }
  }
  if (DbTrace().on()) TraceCallEndPlain(entry.name);
  return answer;
}

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
