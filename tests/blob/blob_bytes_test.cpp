#include "blob/blob_bytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace grx::blob {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BlobBytesTest, IntegersAreLittleEndianAndReadBackInOrder) {
  BlobWriter w;
  w.U32(1);
  w.U64(0x0001000100000075ull);
  w.U16(0xABCD);
  w.U8(0x7F);
  EXPECT_EQ(w.Data(), (Bytes{1, 0, 0, 0, 0x75, 0, 0, 0, 1, 0, 1, 0, 0xCD, 0xAB, 0x7F}));

  const Bytes bytes = w.Take();
  BlobReader r(bytes);
  EXPECT_EQ(r.U32(), 1u);
  EXPECT_EQ(r.U64(), 0x0001000100000075ull);
  EXPECT_EQ(r.U16(), 0xABCD);
  EXPECT_EQ(r.U8(), 0x7F);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_FALSE(r.U8());
}

TEST(BlobBytesTest, CountsEscapeToFourBytesFromFFFF) {
  for (std::uint32_t count : {0u, 1u, 0xFFFEu, 0xFFFFu, 0x12345678u}) {
    BlobWriter w;
    w.Count(count);
    EXPECT_EQ(w.Size(), count < 0xFFFF ? 2u : 6u) << count;
    const Bytes bytes = w.Take();
    BlobReader r(bytes);
    EXPECT_EQ(r.Count(), count);
    EXPECT_TRUE(r.AtEnd());
  }
}

TEST(BlobBytesTest, AShortReadAnswersNothingAndKeepsThePosition) {
  const Bytes bytes{0x01, 0x02, 0x03, 0xFF, 0xFF, 0x01};
  BlobReader r(bytes);
  EXPECT_EQ(r.U16(), 0x0201);
  EXPECT_FALSE(r.U64());
  EXPECT_EQ(r.Position(), 2u);
  EXPECT_FALSE(r.Bytes(5));
  ASSERT_TRUE(r.Bytes(1));
  // An escaped count whose u32 is cut off leaves the escape unread.
  EXPECT_FALSE(r.Count());
  EXPECT_EQ(r.Position(), 3u);
  EXPECT_EQ(r.Remaining(), 3u);
}

TEST(BlobBytesTest, ACountIsCheckedAgainstTheBytesLeft) {
  const Bytes bytes(16);
  BlobReader r(bytes);
  EXPECT_TRUE(r.Holds(4, 4));
  EXPECT_FALSE(r.Holds(5, 4));
  EXPECT_FALSE(r.Holds(0xFFFFFFFFull, 16));
  EXPECT_FALSE(r.Holds(0xFFFFFFFFFFFFFFFFull, 1));
  EXPECT_TRUE(r.Holds(0, 8));
}

} // namespace
} // namespace grx::blob
