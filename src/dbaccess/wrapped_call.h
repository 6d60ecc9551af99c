// The common member of the wrapper family: trace BEGIN and the parameters, bind lazily, call the
// API function, trace the parameters again and END. Instantiated once per API function from the
// declaration table (api_wrappers.cpp).
#pragma once

#include <atomic>
#include <type_traits>
#include <utility>

#include "dbaccess/api_binding.h"
#include "dbaccess/api_param_kinds.h"
#include "dbaccess/api_result_codes.h"
#include "dbaccess/call_trace.h"
#include "dbaccess/es_log_client.h"
#include "dbaccess/param_printers.h"

namespace grx::dbaccess {

enum class WrapperKind { Ordinary, ErrorId, ErrorClass, ErrorHandler, Int32, Bool, Pointer, NoResult };

// One entry-point slot per API function: empty until bound, never cleared.
struct ApiEntry {
  const char* name; // the exported name; decorated for overloads
  std::atomic<void*> slot{nullptr};
};

template <class Fn>
struct FunctionTraits;
template <class R, class... P>
struct FunctionTraits<R (*)(P...)> {
  using Result = R;
  static constexpr std::size_t arity = sizeof...(P);
};

// The value a wrapper answers when its function cannot be bound.
template <WrapperKind Kind, class R>
R UnboundResult(int outcome) {
  if constexpr (Kind == WrapperKind::Ordinary) {
    const std::uint32_t detail = outcome == WRAP_PRIV_FUNC_NOT_AVAIL  ? kFunctionMissingDetail
                                 : outcome == WRAP_PRIV_DLL_NOT_AVAIL ? kLibraryMissingDetail
                                                                      : kOtherBindDetail;
    return MakeApiResult(kNotAvailable, detail, kBindingOrigin);
  } else if constexpr (Kind == WrapperKind::ErrorId) {
    return kNotAvailable;
  } else if constexpr (Kind == WrapperKind::ErrorClass) {
    return 0x20000;
  } else if constexpr (Kind == WrapperKind::Int32) {
    return -1;
  } else if constexpr (Kind == WrapperKind::ErrorHandler) {
    return 1;
  } else {
    return R{}; // BOOL FALSE, null pointer
  }
}

template <class First, class... Rest>
const First& FirstOf(const First& first, const Rest&...) {
  return first;
}

template <const auto& Params, class... Args, std::size_t... I>
constexpr bool ParamsFit(std::index_sequence<I...>) {
  return (KindFits<std::remove_cvref_t<Args>>(Params[I].kind) && ...);
}

template <const auto& Params, class... Args, std::size_t... I>
void PrintParams(Direction d, std::index_sequence<I...>, const Args&... args) {
  (PrintParam(d, Params[I], args), ...);
}

template <WrapperKind Kind, class Fn, const auto& Params, class... Args>
typename FunctionTraits<Fn>::Result CallWrapped(ApiEntry& entry, Args&&... args) {
  using R = typename FunctionTraits<Fn>::Result;
  using Indexes = std::index_sequence_for<Args...>;
  static_assert(ParamsFit<Params, Args...>(Indexes{}), "a parameter's printer kind does not fit its type");
  // Two flag tests on the way in; a channel that switches itself off during the call drops its
  // later lines on its own.
  const bool db = DbTrace().on();
  const bool para = Kind != WrapperKind::ErrorId && Kind != WrapperKind::ErrorHandler && ParameterTrace().on();
  if (db) TraceCallBegin(entry.name);
  if constexpr (Kind == WrapperKind::ErrorHandler) {
    // A result of the binding layer was reported already when the binding failed: it is never
    // handed to the API's error handler.
    if ((FirstOf(args...) & 0xFFFFFF) == kNotAvailable) {
      if (db) TraceCallEndPlain(entry.name);
      return 1;
    }
  }
  if (para) PrintParams<Params>(Direction::In, Indexes{}, args...);
  void* target = entry.slot.load(std::memory_order_acquire);
  int outcome = kBound;
  if (!target) {
    outcome = BindApiFunction(entry.slot, entry.name, true);
    target = entry.slot.load(std::memory_order_acquire);
  }
  if constexpr (std::is_void_v<R>) {
    if (outcome == kBound) reinterpret_cast<Fn>(target)(std::forward<Args>(args)...);
    if (para) PrintParams<Params>(Direction::Out, Indexes{}, args...);
    if (db) TraceCallEndPlain(entry.name);
  } else {
    R result =
        outcome == kBound ? reinterpret_cast<Fn>(target)(std::forward<Args>(args)...) : UnboundResult<Kind, R>(outcome);
    if (para) PrintParams<Params>(Direction::Out, Indexes{}, args...);
    if (db) {
      if constexpr (Kind == WrapperKind::Ordinary) {
        TraceCallEnd(entry.name, result);
      } else if constexpr (Kind == WrapperKind::Bool) {
        TraceCallEndBool(entry.name, result);
      } else if constexpr (Kind == WrapperKind::Pointer) {
        TraceCallEndPointer(entry.name, result);
      } else {
        TraceCallEndPlain(entry.name);
      }
    }
    return result;
  }
}

} // namespace grx::dbaccess
