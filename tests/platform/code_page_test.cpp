// The ANSI code page: conversions, case and comparison in Windows-1252 and in a multi-byte code
// page, independent of the C library's locale.
#include <gtest/gtest.h>

#include <clocale>

#include "platform/code_page.h"

namespace grx::platform {
namespace {

class CodePageTest : public ::testing::Test {
protected:
  void TearDown() override { ASSERT_TRUE(SelectAnsiCodePage(1252)); }
};

TEST_F(CodePageTest, TheDefaultIsWindows1252) {
  EXPECT_EQ(AnsiCodePage(), 1252u);
  EXPECT_FALSE(AnsiIsMultiByte());
  EXPECT_FALSE(SelectAnsiCodePage(4242));
  EXPECT_EQ(AnsiCodePage(), 1252u);
}

TEST_F(CodePageTest, EveryByteConvertsToUnicodeAndBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(AnsiToUtf8("W\xE4rme \x80"), "W\xC3\xA4rme \xE2\x82\xAC");
  EXPECT_EQ(AnsiToUtf16("\x9F"), u"\u0178");
}

TEST_F(CodePageTest, WhatTheCodePageCannotHoldIsRefusedOrReplaced) {
  EXPECT_EQ(Utf8ToAnsi("Gr\xC3\xBC\xC3\x9F"
                       "e"),
            "Gr\xFC\xDF"
            "e");
  EXPECT_EQ(Utf8ToAnsi("\xE5\x90\x8D"), std::nullopt); // a CJK character
  EXPECT_EQ(Utf8ToAnsi("\xC3"), std::nullopt);         // cut sequence
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), std::nullopt);     // overlong form
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), std::nullopt); // a surrogate
  EXPECT_EQ(Utf8ToAnsiLossy("a\xE5\x90\x8D"
                            "b"),
            "a?b");
  EXPECT_EQ(Utf8ToAnsiLossy("a\xFF"
                            "b"),
            "a?b");
  EXPECT_EQ(Utf16ToAnsi(u"\U0001D11E \xD800"), "? ?");
  EXPECT_TRUE(AnsiCanHold(U'\u20AC'));
  EXPECT_FALSE(AnsiCanHold(U'\u0100'));
}

TEST_F(CodePageTest, CaseFollowsTheCodePageAndNotTheLocale) {
  // A locale of the C library that would fold bytes differently plays no part.
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(AnsiUpper("w\xE4rme \xFF \xDF 1_a"), "W\xC4RME \x9F \xDF 1_A");
  EXPECT_EQ(AnsiLower("\xC4\xD6\xDC ABC \x8A"), "\xE4\xF6\xFC abc \x9A");
  EXPECT_EQ(AnsiUpper("\xB5"), "\xB5"); // the micro sign's capital is not in the code page
  EXPECT_EQ(AnsiCompareNoCase("W\xC4RME", "w\xE4rme"), 0);
  EXPECT_LT(AnsiCompareNoCase("Axis1", "axis2"), 0);
  EXPECT_GT(AnsiCompareNoCase("axis10", "AXIS1"), 0);
  EXPECT_TRUE(AnsiEqualNoCase("", ""));
  EXPECT_FALSE(AnsiEqualNoCase("\xE4", "a"));
}

TEST_F(CodePageTest, AMultiByteCodePageKeepsItsCharactersWhole) {
  ASSERT_TRUE(SelectAnsiCodePage(932));
  EXPECT_TRUE(AnsiIsMultiByte());
  // "名前" (name) and a full-width A in Shift-JIS.
  const std::string name = "\x96\xBC\x91\x4F";
  EXPECT_EQ(AnsiToUtf16(name), u"\u540D\u524D");
  EXPECT_EQ(Utf16ToAnsi(u"\u540D\u524D"), name);
  EXPECT_EQ(AnsiCharLength(name, 0), 2u);
  EXPECT_EQ(AnsiCharLength("a", 0), 1u);
  EXPECT_EQ(AnsiCharLength("\x96", 0), 1u); // a lead byte at the end
  // Katakana A is 0x83 0x41, its second byte the letter A on its own: case mapping leaves the
  // character alone, also where a pair stands for nothing (0x88 0x61).
  EXPECT_EQ(AnsiLower("\x83\x41"
                      "A"),
            "\x83\x41"
            "a");
  EXPECT_EQ(AnsiUpper("\x88\x61"
                      "a"),
            "\x88\x61"
            "A");
  EXPECT_EQ(AnsiToUtf16("\x88\x61"), u"\uFFFD");
  EXPECT_EQ(AnsiLower("\x82\x60"), "\x82\x81"); // full-width A -> full-width a
  EXPECT_EQ(Utf8ToAnsi("\xE5\x90\x8D"), "\x96\xBC");
}

} // namespace
} // namespace grx::platform
