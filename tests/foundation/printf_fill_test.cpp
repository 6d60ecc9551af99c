// printf-style filling of resource texts: what the C library makes of the same conversion and
// number, without ever handing the text to it, and texts that are not to be trusted.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation/printf_fill.h"

namespace {

using ZEB::FillArgument;
using ZEB::FillPrintf;

std::string Printf(const char* format, long long value) {
  char text[128];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

TEST(PrintfFillTest, NumbersAsTheCLibraryFormatsThem) {
  const char* formats[] = {"%lld",    "%5lld",    "%-5lld|", "%05lld",  "%+lld", "% lld",   "%.3lld",
                           "%8.3lld", "%-+8lld|", "%0+6lld", "%llx",    "%llX",  "%#llx",   "%#10llX",
                           "%08llx",  "%.0lld",   "%llu",    "%#.5llx", "%lli",  "%-#8llx|"};
  const long long values[] = {0, 7, -7, 255, -255, 65535, 4294967295LL, -4294967296LL, 1234567890123LL};
  for (const char* format : formats) {
    // The same conversion with the 64-bit length of the C library's, and with the I64 one.
    std::string i64 = format;
    i64.replace(i64.find("ll"), 2, "I64");
    for (long long value : values) {
      const std::string expected = Printf(format, value);
      EXPECT_EQ(FillPrintf(format, {FillArgument{std::int64_t{value}}}), expected) << format << " " << value;
      EXPECT_EQ(FillPrintf(i64, {FillArgument{std::int64_t{value}}}), expected) << i64 << " " << value;
    }
  }
}

TEST(PrintfFillTest, LengthsCutNumbersAsTheyWouldBePassed) {
  EXPECT_EQ(FillPrintf("%d %u %x %X", {std::int64_t{-1}, std::int64_t{-1}, std::int64_t{-1}, std::int64_t{255}}),
            "-1 4294967295 ffffffff FF");
  EXPECT_EQ(
      FillPrintf("%hd %hu %hhx %hhd", {std::int64_t{70000}, std::int64_t{-1}, std::int64_t{0x1FF}, std::int64_t{200}}),
      "4464 65535 ff -56");
  EXPECT_EQ(FillPrintf("%ld %lu %I32d %zu", {std::int64_t{-2}, std::int64_t{-2}, std::int64_t{-3}, std::int64_t{-1}}),
            "-2 4294967294 -3 18446744073709551615");
}

TEST(PrintfFillTest, TextsAndCharacters) {
  EXPECT_EQ(FillPrintf("[%s] [%8s] [%-8s] [%.3s] [%8.2s]", {"abcde", "ab", "ab", "abcde", "abcde"}),
            "[abcde] [      ab] [ab      ] [abc] [      ab]");
  EXPECT_EQ(FillPrintf("%c%c|%3c|%-3c|", {std::int64_t{'O'}, "K!", "x", std::int64_t{'y'}}), "OK|  x|y  |");
  EXPECT_EQ(FillPrintf("%05s|%s", {"ab", std::int64_t{-12}}), "   ab|-12");   // zeros pad numbers only
  EXPECT_EQ(FillPrintf("%d runs, %5d", {"12:00", "a"}), "12:00 runs,     a"); // a text for a number stands
  EXPECT_EQ(FillPrintf("100%% done, %d%%", {std::int64_t{3}}), "100% done, 3%");
}

TEST(PrintfFillTest, TextsThatAreNotToBeTrusted) {
  // Conversions beyond the arguments, and those not understood, stay as they are.
  EXPECT_EQ(FillPrintf("%d %s %x", {std::int64_t{1}}), "1 %s %x");
  EXPECT_EQ(FillPrintf("%n %p %f %*d %.*s %q", {std::int64_t{1}, std::int64_t{2}}), "%n %p %f %*d %.*s %q");
  EXPECT_EQ(FillPrintf("%n then %d", {std::int64_t{4}}), "%n then 4");
  EXPECT_EQ(FillPrintf("trailing %", {std::int64_t{1}}), "trailing %");
  EXPECT_EQ(FillPrintf("%-0+ #", {std::int64_t{1}}), "%-0+ #");
  EXPECT_EQ(FillPrintf("%ll", {std::int64_t{1}}), "%ll");
  // An argument is never read as a format.
  EXPECT_EQ(FillPrintf("%s and %s", {"%s%n%d", "x"}), "%s%n%d and x");
  // A width too large to be meant is capped, not trusted: the text stays bounded.
  const std::string wide = FillPrintf("%99999999999999999999d", {std::int64_t{5}});
  EXPECT_EQ(wide.size(), 4096u);
  EXPECT_EQ(wide.back(), '5');
  EXPECT_EQ(FillPrintf("", {std::int64_t{1}}), "");
}

} // namespace
