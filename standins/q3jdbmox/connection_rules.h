// What makes a connection valid: which objects may be its ends, one real source per block
// input, no pair twice, both ends in one controller.
#pragma once

#include "project_store.h"

namespace q3 {

// Objects that can be fed (sinks) and objects that can feed (sources).
inline constexpr TypeMask kSinkTypes =
    MaskOf({IEC_OBJ_GLOBAL_VAR, IEC_OBJ_PROCESSING_GROUP, IEC_OBJ_IN_VAR, IEC_OBJ_IN_OUT_VAR, IEC_OBJ_CFC_IN_VAR,
            IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR});
inline constexpr TypeMask kSourceTypes =
    MaskOf({IEC_OBJ_GLOBAL_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_CFC_IN_VAR, IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR});

// Checks a new connection against the project and stores it; throws ApiError when it is not
// valid. A textual reference has source 0 and its text.
void AddCheckedConnection(ProjectStore& store, ConnectionRow row);

} // namespace q3
