// Object paths: readable names for identifiers.
//   RES                    a controller
//   RES/CHART/SUB/BLOCK    charts, sub-charts and blocks
//   ...BLOCK.PARAM.ELEM    a parameter or interface variable, then structure elements
//   RES/@GLOBAL            a global variable
//   RES/#TASK, RES/#TASK/GROUP   tasks and processing groups
//   RES/%TYPE, RES/%TYPE.PARAM   block types and their parameter types
//   123, 0x1F              a raw identifier
#pragma once

#include <optional>
#include <string>

#include "project_store.h"

namespace q3 {

// The identifier a path names; throws ApiError (kErrObjectNotFound with the unresolved part).
GlObjectId ResolvePath(ProjectStore& store, const std::string& path);
// The path of an object; a raw hexadecimal identifier for objects that no path names.
std::string PathOf(ProjectStore& store, GlObjectId id);
// Parses a raw identifier (decimal or 0x hexadecimal).
std::optional<GlObjectId> ParseRawId(const std::string& text);

} // namespace q3
