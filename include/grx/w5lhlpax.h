// The exports of the helper library w5lhlpax. A host loads the library and calls these; every
// export runs in the library's own module state for the whole call. The exports themselves are
// declared from their table, w5lhlpax_exports.def, which documents each one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chartdb/q3jdbmox_types.h"
#include "grx/table_macros.h"
#include "grx/text_string.h"
#include "grx/window_handle.h"

// The rules of the name checks, in the order of their numbers.
enum Syntax_Err_TypeEnum : std::int32_t {
  SYNTAX_ERR_NONE = 0,
  SYNTAX_ERR_INVALID_CHAR = 1,
  SYNTAX_ERR_DOUBLE_UNDERSCORE = 2,
  SYNTAX_ERR_LEADING_UNDERSCORE = 3,
  SYNTAX_ERR_TRAILING_UNDERSCORE = 4,
  SYNTAX_ERR_UNDERSCORE = 5,
  SYNTAX_ERR_FIRST_NOT_LETTER = 6,
  SYNTAX_ERR_UNDERSCORE_LETTER = 7,
  SYNTAX_ERR_FIRST_DIGIT = 8,
  SYNTAX_ERR_KEYWORD = 9,
  SYNTAX_ERR_TOO_LONG = 10,
};

// An interface item of a chart (40 bytes on the platform of origin; the rest is not filled).
struct BLOCK {
  std::string name;
  GlObjectId id = 0;
  unsigned char rest[16] = {};
};

struct PARAM {
  std::string name;     // the item's name in its attribute record
  std::string itemText; // the second text of that record
  GlObjectId id = 0;
};

#define GRX_EXPORT(result, name, family, policy, summary, ...) \
  result name(GRX_PP_MAP(GRX_EXPORT_PARAM_DECL, GRX_PP_COMMA, __VA_ARGS__));
#include "grx/w5lhlpax_exports.def"
