// The reader never trusts the bytes: valid blobs of every record kind, cut at every byte, with
// every byte flipped and with huge counts, decode without reading past the data, without
// endless loops or unchecked allocations, keeping what was decoded before the fault.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "blob/blob_block.h"
#include "blob/blob_block_type.h"
#include "blob/blob_cfc_var.h"
#include "blob/blob_global_var.h"
#include "blob/blob_processing_group.h"
#include "blob/blob_resource.h"
#include "blob/blob_task.h"
#include "blob/blob_top_level_cfc.h"
#include "blob/blob_var_type.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// One valid blob per record kind that stores fields, with every field set.
std::vector<std::pair<std::string, Bytes>> ValidBlobs() {
  std::vector<std::pair<std::string, Bytes>> blobs;
  const GUID g{0x6A3D2F10, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
  CBlobResource resource(0, 0xFFFF);
  resource.AddLibElement("Motion", "V1.2", 7, g, g, true, {g, g});
  resource.AddLibElement("Dr\xE4hte", "V3", 9, {}, g, false, {});
  resource.SetVersion("V7.1");
  resource.SetBuildVersion("B12");
  resource.SetCfcOnlineState(true);
  blobs.emplace_back("resource", resource.Encode(1));
  CBlobTask task(0, 0xFFFF);
  task.SetName("T1");
  task.SetTaskId(3);
  blobs.emplace_back("task", task.Encode(2));
  CBlobTopLevelCfc chart(0, 0xFFFF);
  chart.AddChangedPin(5);
  chart.SetVersion("V7.1");
  chart.SetLibIconPath("icons\\a.ico");
  chart.SetLibCommentOf("de", "Kommentar");
  chart.SetLibCommentOf("en", "comment");
  chart.SetLibHelpPathOf("en", "help.chm");
  chart.SetIsPlanCopied(true);
  blobs.emplace_back("chart", chart.Encode(3));
  CBlobProcessingGroup group(0, 0xFFFF);
  group.SetTaskId(9);
  group.SetOwnerId(10);
  blobs.emplace_back("group", group.Encode(4));
  CBlobBlock block(0, 0xFFFF);
  block.SetFullName("C1.B1");
  blobs.emplace_back("block", block.Encode(5));
  CBlobBlockType type(0, 0xFFFF);
  type.SetBlockCat(BLKCAT_LIB);
  type.SetLibrary("MCL");
  type.SetMajor(BlobVariant::Int32(4));
  type.SetMinor(BlobVariant{VT_BSTR, 0, 0, u"1.0"});
  type.SetDOClass(BlobVariant{VT_R8, 0, 2.5, std::nullopt});
  type.SetProperties(BlobVariant{VT_CY, 123456789, 0, std::nullopt});
  blobs.emplace_back("block type", type.Encode(6));
  CBlobVarType varType(0, 0xFFFF);
  varType.SetTypeName("REAL");
  varType.SetMinimumValue(BlobVariant{VT_I2, -5, 0, std::nullopt});
  varType.SetMaximumValue(BlobVariant{VT_BOOL, -1, 0, std::nullopt});
  blobs.emplace_back("parameter type", varType.Encode(7));
  CBlobGlobalVar global(0, 0xFFFF);
  global.SetFullPath("R.gA");
  blobs.emplace_back("global", global.Encode(8));
  CBlobCfcVar pin(0, 0xFFFF);
  CBlobStringMap comments;
  comments.SetAt("de", "Geschwindigkeit");
  pin.SetLibPinComment(comments);
  blobs.emplace_back("pin", pin.Encode(9));
  return blobs;
}

// Decodes and looks every key up under every tag, as the records of any kind would.
std::vector<std::string> DecodeAll(const Bytes& bytes) {
  CBlobMap map;
  map.Decode(bytes);
  for (const std::string& key : map.Keys()) {
    const CBlobAttribute* a = map.Find(key);
    std::string text;
    std::vector<std::string> texts;
    std::vector<std::vector<GUID>> guids;
    CTPAttribsList packages;
    CBlobStringMap strings;
    BlobVariant variant;
    std::vector<bool> flags;
    a->Decode<BLOB_ATTR_TEXT>(text);
    a->Decode<BLOB_ATTR_TEXT_LIST>(texts);
    a->Decode<BLOB_ATTR_GUID_LIST_LIST>(guids);
    a->Decode<BLOB_ATTR_OBJECT_LIST>(packages);
    a->Decode<BLOB_ATTR_STRING_MAP>(strings);
    a->Decode<BLOB_ATTR_VARIANT>(variant);
    a->Decode<BLOB_ATTR_BOOL_LIST>(flags);
  }
  return map.Keys();
}

bool IsPrefix(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

TEST(BlobMutationTest, TruncationAtEveryByteKeepsTheEntriesBeforeIt) {
  for (const auto& [kind, blob] : ValidBlobs()) {
    const std::vector<std::string> keys = DecodeAll(blob);
    ASSERT_FALSE(keys.empty()) << kind;
    for (std::size_t length = 0; length < blob.size(); ++length) {
      const Bytes cut(blob.begin(), blob.begin() + static_cast<std::ptrdiff_t>(length));
      const std::vector<std::string> decoded = DecodeAll(cut);
      EXPECT_TRUE(IsPrefix(decoded, keys)) << kind << " cut at " << length;
      EXPECT_LT(decoded.size(), keys.size()) << kind << " cut at " << length;
    }
  }
}

TEST(BlobMutationTest, FlippedBytesNeverCrashTheReader) {
  for (const auto& [kind, blob] : ValidBlobs()) {
    for (std::size_t at = 0; at < blob.size(); ++at) {
      for (std::uint8_t flip : {std::uint8_t{0xFF}, std::uint8_t{0x80}, std::uint8_t{0x01}}) {
        Bytes mutated = blob;
        mutated[at] ^= flip;
        DecodeAll(mutated);
      }
      Bytes saturated = blob;
      saturated[at] = 0xFF;
      DecodeAll(saturated);
    }
  }
}

TEST(BlobMutationTest, HugeCountsAreCheckedBeforeAnythingIsReserved) {
  // A map claiming 0xFFFFFFFF entries, a list claiming 2^31 - 1 texts, a string of 4 GiB.
  const Bytes huge = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_THAT(DecodeAll(huge), ::testing::IsEmpty());
  CBlobMap map;
  map.SetAt<BLOB_ATTR_TEXT_LIST>("k", {"a"});
  Bytes blob = map.Encode(0);
  // The list count sits behind the attribute's tag, at the end minus text count, unit and count.
  const std::size_t count = blob.size() - 2 - 4 - 4;
  blob[count] = 0xFF;
  blob[count + 1] = 0xFF;
  blob[count + 2] = 0xFF;
  blob[count + 3] = 0x7F;
  CBlobMap back;
  ASSERT_EQ(back.Decode(blob), "");
  std::vector<std::string> texts{"kept"};
  EXPECT_FALSE(back.Lookup<BLOB_ATTR_TEXT_LIST>("k", texts));
  EXPECT_THAT(texts, ::testing::ElementsAre("kept"));
  const Bytes longString = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_NE(CBlobMap().Decode(longString), "");
}

TEST(BlobMutationTest, AMapClaimingMoreEntriesThanItHoldsKeepsThoseItHas) {
  CBlobMap map;
  map.SetAt<BLOB_ATTR_TEXT>("name", "T1");
  map.SetAt<BLOB_ATTR_INT>("taskId", 7);
  Bytes blob = map.Encode(3);
  ASSERT_EQ(blob[12], 2); // the count of entries, behind version and identifier
  blob[12] = 5;
  CBlobMap back;
  EXPECT_NE(back.Decode(blob), "") << "the missing entries are a fault";
  EXPECT_EQ(back.GetCount(), 2u);
  std::string name;
  std::int32_t taskId = 0;
  EXPECT_TRUE(back.Lookup<BLOB_ATTR_TEXT>("name", name));
  EXPECT_EQ(name, "T1");
  EXPECT_TRUE(back.Lookup<BLOB_ATTR_INT>("taskId", taskId));
  EXPECT_EQ(taskId, 7);
  EXPECT_EQ(back.GetVersion(), map.GetVersion());
}

TEST(BlobMutationTest, BadReferencesAreRefused) {
  const Bytes header = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 'k'};
  auto withReference = [&](const Bytes& reference) {
    Bytes blob = header;
    blob.insert(blob.end(), reference.begin(), reference.end());
    for (std::uint8_t b : {4, 0, 0, 0, 1, 0, 0, 0}) blob.push_back(b);
    return CBlobMap().Decode(blob);
  };
  EXPECT_THAT(withReference({0x00, 0x00}), ::testing::HasSubstr("null"));
  EXPECT_THAT(withReference({0x01, 0x80}), ::testing::HasSubstr("dangling"));
  EXPECT_THAT(withReference({0x01, 0x00}), ::testing::HasSubstr("stored before"));
  EXPECT_THAT(withReference({0xFF, 0x7F, 0x05, 0, 0, 0x80}), ::testing::HasSubstr("dangling"));
  EXPECT_THAT(withReference({0xFF, 0xFF, 0, 0, 3, 0, 'C', 'O', 'b'}), ::testing::HasSubstr("unknown class"));
}

} // namespace
