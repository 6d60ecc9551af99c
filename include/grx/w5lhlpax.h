// The exports of the helper library w5lhlpax. A host loads the library and calls these; every
// export runs in the library's own module state for the whole call. The exports themselves are
// declared from their table, w5lhlpax_exports.def, which documents each one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chartdb/q3jdbmox_types.h"
#include "grx/import_response.h"
#include "grx/table_macros.h"
#include "grx/text_string.h"
#include "grx/window_handle.h"
#include "w5comp/log_view.h"

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

// Where a block runs: its processing group and its places there (48 bytes, packed as on the
// platform of origin).
struct MoveBlockInfoT {
  GlObjectId blockId = 0;     // offset 0
  GlObjectId procGroupId = 0; // offset 8: the group whose run sequence holds the block
  std::int16_t blockPos = 0;  // offset 16: the block's place in that run sequence
  std::int16_t grPos = 0;     // offset 18: the group's place in its task
  char tpName[28] = {};       // offset 20: the task's name, zero-terminated
};
static_assert(offsetof(MoveBlockInfoT, procGroupId) == 8);
static_assert(offsetof(MoveBlockInfoT, blockPos) == 16);
static_assert(offsetof(MoveBlockInfoT, grPos) == 18);
static_assert(offsetof(MoveBlockInfoT, tpName) == 20);
static_assert(sizeof(MoveBlockInfoT) == 48);

// One use of a global variable: a connected variable with its location text (40 bytes on the
// platform of origin, where each text is one pointer).
struct FIND {
  CString location;      // where the connected variable lies
  CString globalVarName; // the global variable's name
  CString rootChartName; // the root chart in which the connected variable lies
  std::int32_t kind = 0; // 0: the variable reads the global (a sink), 1: it writes it (a source)
  std::uint64_t rootChartId = 0;
  std::uint64_t varId = 0;
  std::uint64_t globalVarId = 0;
};

#define GRX_EXPORT(result, name, family, policy, summary, ...) \
  result name(GRX_PP_MAP(GRX_EXPORT_PARAM_DECL, GRX_PP_COMMA, __VA_ARGS__));
#include "grx/w5lhlpax_exports.def"
