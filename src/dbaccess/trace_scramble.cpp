#include "dbaccess/trace_scramble.h"

#include <array>
#include <cstdint>

namespace grx::dbaccess {
namespace {

constexpr std::string_view kMarker = "@3#C3";

// T: a permutation of 0..127 with T[0] = 0. A substituted index is never 0 for a line without
// zero bytes, so a scrambled line never holds a zero byte and stays a C text.
constexpr std::array<std::uint8_t, 128> MakeTable() {
  std::array<std::uint8_t, 128> t{};
  for (unsigned i = 0; i < 128; ++i) t[i] = static_cast<std::uint8_t>(i == 0 ? 0 : (i * 37 + 11) % 127 + 1);
  return t;
}
constexpr std::array<std::uint8_t, 128> kT = MakeTable();

constexpr bool IsPermutation(const std::array<std::uint8_t, 128>& t) {
  std::array<bool, 128> seen{};
  for (auto v : t) {
    if (v >= 128 || seen[v]) return false;
    seen[v] = true;
  }
  return true;
}
static_assert(IsPermutation(kT), "the scrambling table must be a permutation of 0..127");
static_assert(kT[0] == 0);

struct Substitution {
  std::array<std::uint8_t, 256> forward{};
  std::array<std::uint8_t, 256> backward{};
  constexpr Substitution() {
    for (unsigned i = 0; i < 128; ++i) {
      forward[i] = kT[i];
      forward[i + 128] = static_cast<std::uint8_t>(kT[i] + 128);
    }
    for (unsigned i = 0; i < 256; ++i) backward[forward[i]] = static_cast<std::uint8_t>(i);
  }
};
constexpr Substitution kS;

unsigned Shift(std::size_t n) {
  return static_cast<unsigned>((n + 128) % 255);
}

} // namespace

std::string ScrambleTraceLine(std::string_view line) {
  const std::size_t n = line.size();
  if (n == 0) return {};
  std::uint64_t sum = 0;
  for (unsigned char c : line) sum += c;
  const std::size_t k = sum % n;
  std::string body(n, '\0');
  for (std::size_t i = 0; i < n; ++i) body[(i + k) % n] = line[i];
  const unsigned s = Shift(n);
  std::string out(kMarker);
  out.reserve(kMarker.size() + n);
  for (std::size_t j = n; j-- > 0;) { // reversed
    unsigned t = static_cast<unsigned char>(body[j]) + s;
    if (t > 255) t -= 255;
    out.push_back(static_cast<char>(kS.forward[t]));
  }
  return out;
}

std::optional<std::string> DecodeTraceLine(std::string_view text) {
  if (text.substr(0, kMarker.size()) != kMarker || text.size() == kMarker.size()) return std::nullopt;
  const std::string_view scrambled = text.substr(kMarker.size());
  const std::size_t n = scrambled.size();
  const unsigned s = Shift(n);
  std::string body(n, '\0');
  for (std::size_t j = 0; j < n; ++j) {
    const unsigned t = kS.backward[static_cast<unsigned char>(scrambled[j])];
    // t = b + s, less 255 when that exceeded 255; a line holds no zero bytes, so b >= 1.
    const unsigned b = t > s ? t - s : t + 255 - s;
    if (b == 0 || b > 255) return std::nullopt;
    body[n - 1 - j] = static_cast<char>(b);
  }
  std::uint64_t sum = 0;
  for (unsigned char c : body) sum += c;
  const std::size_t k = sum % n;
  std::string line(n, '\0');
  for (std::size_t i = 0; i < n; ++i) line[i] = body[(i + k) % n];
  return line;
}

} // namespace grx::dbaccess
