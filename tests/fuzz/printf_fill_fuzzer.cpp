// Fuzzes the printf-style filling of resource texts: any text with any arguments gives a text,
// never a crash or undefined behaviour; each conversion adds at most its bounded width, and a
// text without "%" comes back as it was.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/printf_fill.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte says how many arguments follow the text, each 9 bytes: a kind and 8 bytes.
  if (size == 0) return 0;
  const std::size_t count = data[0] % 8;
  if (size < 1 + count * 9) return 0;
  std::vector<ZEB::FillArgument> arguments;
  const std::uint8_t* at = data + 1;
  for (std::size_t i = 0; i < count; ++i, at += 9) {
    std::int64_t value = 0;
    std::memcpy(&value, at + 1, sizeof value);
    if (at[0] & 1) {
      arguments.emplace_back(std::string(reinterpret_cast<const char*>(at + 1), 8));
    } else {
      arguments.emplace_back(value);
    }
  }
  const std::string text(reinterpret_cast<const char*>(at), size - (at - data));
  const std::string filled = ZEB::FillPrintf(text, arguments);
  if (filled.size() > text.size() + count * (4096 + 64)) __builtin_trap();
  if (text.find('%') == std::string::npos && filled != text) __builtin_trap();
  return 0;
}
