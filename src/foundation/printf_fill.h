// printf-style filling of texts that come from resource modules. Such a text is not trusted as a
// format: its conversions are read here and filled from the given arguments only, never handed to
// the C library, so a text with more conversions than arguments cannot read what was not given.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ZEB {

// One argument of a filled text: a whole number or a text.
using FillArgument = std::variant<std::int64_t, std::string>;

// Fills the conversions of the text in turn from the arguments. Understood: the flags "-+ #0", a
// width and a precision given as digits, the length modifiers hh h l ll j z t L I I32 I64 and the
// conversions d i u x X c s, and "%%" for "%". A number meets its conversion as printf would
// format it (u, x and X take it unsigned, in 8, 16, 32 or 64 bits as the length says); a text
// given for a number conversion is padded as it stands. A conversion beyond the arguments, one
// with "*" for its width or precision, or one this does not understand stays as it is.
std::string FillPrintf(const std::string& text, const std::vector<FillArgument>& arguments);

} // namespace ZEB
