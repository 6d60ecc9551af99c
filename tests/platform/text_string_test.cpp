// The narrow text class: searches, parts and comparisons at and beyond the ends of a text, as the
// library's code relies on them.
#include <gtest/gtest.h>

#include "grx/text_string.h"

namespace {

TEST(TextStringTest, FindAnswersMinusOneOutsideTheText) {
  const CString s("RES/CHART/SUB");
  EXPECT_EQ(s.Find('/'), 3);
  EXPECT_EQ(s.Find('/', 4), 9);
  EXPECT_EQ(s.Find('/', 10), -1);
  EXPECT_EQ(s.Find('/', -1), -1);
  EXPECT_EQ(s.Find('/', 99), -1);
  EXPECT_EQ(s.Find("CHART"), 4);
  EXPECT_EQ(s.Find("CHART", 5), -1);
  EXPECT_EQ(s.Find(static_cast<const char*>(nullptr)), -1);
  EXPECT_EQ(s.Find("", 13), 13);
}

TEST(TextStringTest, PartsClampToTheText) {
  const CString s("Axis1");
  EXPECT_EQ(s.Left(2), "Ax");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(99), "Axis1");
  EXPECT_EQ(s.Mid(4), "1");
  EXPECT_EQ(s.Mid(-3), "Axis1");
  EXPECT_EQ(s.Mid(9), "");
  EXPECT_EQ(s.Mid(1, 2), "xi");
  EXPECT_EQ(s.Mid(3, 99), "s1");
  EXPECT_EQ(s.Mid(1, -2), "");
}

TEST(TextStringTest, NullTextsAreEmptyAndComparisonsOrderTexts) {
  const CString none(static_cast<const char*>(nullptr));
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_EQ(none, static_cast<const char*>(nullptr));
  EXPECT_STREQ(none.GetString(), "");
  const CString s("Home");
  EXPECT_EQ(s.Compare("Home"), 0);
  EXPECT_LT(s.Compare("Homing"), 0);
  EXPECT_GT(s.Compare(nullptr), 0);
  EXPECT_EQ(s.CompareNoCase("HOME"), 0);
  EXPECT_LT(s.CompareNoCase("homing"), 0);
  CString upper("axis_1");
  EXPECT_EQ(upper.MakeUpper(), "AXIS_1");
  EXPECT_EQ(CString("a") + CString("b") + "c", "abc");
  EXPECT_EQ(CString("abc").GetLength(), 3);
}

} // namespace
