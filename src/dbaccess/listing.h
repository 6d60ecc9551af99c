// The one way to run a listing of the chart-database API: M_FIRST, then M_NEXT, until the answer
// says the listing ended. Error id 0 delivers an element and goes on, 166 delivers the last one,
// 36 delivers nothing and ends; any other error id is a failure. Every M_FIRST/M_NEXT loop of the
// library, of grx and of the tests goes through ForEachListed, so the call sequence is written
// down once.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "chartdb/q3jdbmox_types.h"
#include "dbaccess/chartdb_functions.h"

namespace grx::dbaccess {

// Error ids of a listing call.
inline constexpr std::uint32_t kListingDelivered = 0;
inline constexpr std::uint32_t kListingLastDelivered = GL_ERR_LAST_ELEMENT;
inline constexpr std::uint32_t kListingNothing = GL_ERR_NO_MORE_ELEMENTS;

// What the object-type out-value of a listing holds before a call: blocks, parameters and task
// elements are listed with 36 preset before each call, charts and group members with IEC_OBJ_NULL.
inline constexpr GlObjectType kPresetElementType = 36;
inline constexpr GlObjectType kPresetNullType = IEC_OBJ_NULL;

// Whether a listing call delivered an element (0, or 166 with the last one).
constexpr bool ListingDelivered(std::uint32_t errorId) {
  return errorId == kListingDelivered || errorId == kListingLastDelivered;
}

// Whether a listing call answered within the protocol: delivered, or ended without an element.
constexpr bool ListingAnswered(std::uint32_t errorId) {
  return ListingDelivered(errorId) || errorId == kListingNothing;
}

// What the caller's handler of a delivered element asks for next.
enum class ListingStep {
  Next,          // go on; the listing ends after the last element (166)
  NextAfterLast, // go on with one more M_NEXT even when this element was the last
  Stop,          // end the listing here
};

// How a listing ended.
enum class ListingEnd {
  Ended,   // the database said so: 36, or 166 after its element
  Failed,  // an error id outside the protocol; result and errorId say which
  Stopped, // the handler asked to stop
};

struct ListingOutcome {
  ListingEnd end = ListingEnd::Ended;
  GlResult result = 0;       // the answer of the last call made
  std::uint32_t errorId = 0; // its error id
  bool ended() const { return end == ListingEnd::Ended; }
  bool failed() const { return end == ListingEnd::Failed; }
  bool stopped() const { return end == ListingEnd::Stopped; }
};

// Runs a listing. call(MODE) makes one chart-database call, which delivers into the caller's
// out-variables (the caller presets them inside call where the listing wants that before every
// call); errorIdOf(GlResult) takes its error id; onItem() takes each delivered element and answers
// nothing (go on) or a ListingStep. Nothing else is called: the sequence of API calls is exactly
// call(M_FIRST), call(M_NEXT) ... and one errorIdOf per call.
template <class ErrorIdOf, class Call, class OnItem>
ListingOutcome ForEachListedWith(ErrorIdOf&& errorIdOf, Call&& call, OnItem&& onItem) {
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    ListingOutcome outcome;
    outcome.result = call(mode);
    outcome.errorId = static_cast<std::uint32_t>(errorIdOf(outcome.result));
    if (outcome.errorId == kListingNothing) return outcome;
    if (!ListingDelivered(outcome.errorId)) {
      outcome.end = ListingEnd::Failed;
      return outcome;
    }
    ListingStep step = ListingStep::Next;
    if constexpr (std::is_void_v<std::invoke_result_t<OnItem&>>) {
      onItem();
    } else {
      step = onItem();
    }
    if (step == ListingStep::Stop) {
      outcome.end = ListingEnd::Stopped;
      return outcome;
    }
    if (outcome.errorId == kListingLastDelivered && step != ListingStep::NextAfterLast) return outcome;
  }
}

// The same through the library's own wrappers: the error id comes from gl_ErrorIdGet.
template <class Call, class OnItem>
ListingOutcome ForEachListed(Call&& call, OnItem&& onItem) {
  return ForEachListedWith([](GlResult result) { return gl_ErrorIdGet(result); }, std::forward<Call>(call),
                           std::forward<OnItem>(onItem));
}

} // namespace grx::dbaccess
