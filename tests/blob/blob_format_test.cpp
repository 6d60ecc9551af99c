// The stored byte format, checked against bytes written out by hand: the blob header, the class
// announcement of the first attribute, texts, escapes, the writer's hash order and every tag.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blob/blob_map.h"
#include "platform/code_page.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}
Bytes Ascii(const std::string& text) {
  return Bytes(text.begin(), text.end());
}
// The header of a blob: version 2 and the object 0x0001000100000075.
const Bytes kHeader = {2, 0, 0, 0, 0x75, 0, 0, 0, 1, 0, 1, 0};
constexpr GlObjectId kObject = 0x0001000100000075ull;
// The class announcement of the first attribute of a blob.
const Bytes kAnnounce = Join({{0xFF, 0xFF, 0x00, 0x00, 0x0E, 0x00}, Ascii("CBlobAttribute")});

// The bytes of a map holding one attribute.
template <BlobAttrType Tag>
Bytes OneAttribute(const BlobValueT<Tag>& value) {
  CBlobMap map;
  map.SetVersion(2);
  map.SetAt<Tag>("k", value);
  return map.Encode(kObject);
}
// The tag and value bytes of an attribute written under "k": behind header, count, key, class and
// length.
Bytes ValueOf(const Bytes& blob) {
  const std::size_t start = kHeader.size() + 2 + 2 + kAnnounce.size() + 4;
  return Bytes(blob.begin() + static_cast<std::ptrdiff_t>(start), blob.end());
}

TEST(BlobFormatTest, AnEmptyMapIsFourteenBytes) {
  CBlobMap map;
  map.SetVersion(2);
  EXPECT_EQ(map.Encode(kObject), Join({kHeader, {0, 0}}));
}

TEST(BlobFormatTest, TheFirstAttributeAnnouncesItsClassAndTheNextOnesNameIt) {
  CBlobMap map;
  map.SetVersion(2);
  map.SetAt<BLOB_ATTR_UINT>("a", 7);
  map.SetAt<BLOB_ATTR_UINT>("b", 8);
  // "a" is in bucket 12 and "b" in bucket 13.
  EXPECT_EQ(map.Encode(kObject), Join({kHeader,
                                       {2, 0},
                                       {1, 'a'},
                                       kAnnounce,
                                       {8, 0, 0, 0, 1, 0, 0, 0, 7, 0, 0, 0},
                                       {1, 'b'},
                                       {0x01, 0x80},
                                       {8, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0}}));
}

TEST(BlobFormatTest, ATextIsItsByteCountAndUtf16Units) {
  const Bytes blob = OneAttribute<BLOB_ATTR_TEXT>("abc");
  // u32 14, then tag 5, count 3 and three units.
  EXPECT_EQ(Bytes(blob.end() - 18, blob.end()), (Bytes{14, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 'a', 0, 'b', 0, 'c', 0}));
  // An umlaut of Windows-1252 is one byte and one unit.
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_TEXT>("W\xE4rme")),
            (Bytes{5, 0, 0, 0, 5, 0, 0, 0, 'W', 0, 0xE4, 0, 'r', 0, 'm', 0, 'e', 0}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_TEXT>("")), (Bytes{5, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BlobFormatTest, AMultiByteCodePagePadsWithZeroUnits) {
  ASSERT_TRUE(grx::platform::SelectAnsiCodePage(932));
  // Two characters of two bytes each: count 4, two units, two zero units.
  const Bytes value = ValueOf(OneAttribute<BLOB_ATTR_TEXT>("\x96\xBC\x91\x4F"));
  EXPECT_EQ(value, (Bytes{5, 0, 0, 0, 4, 0, 0, 0, 0x0D, 0x54, 0x4D, 0x52, 0, 0, 0, 0}));
  CBlobMap back;
  ASSERT_EQ(back.Decode(OneAttribute<BLOB_ATTR_TEXT>("\x96\xBC\x91\x4F")), "");
  std::string text;
  EXPECT_TRUE(back.Lookup<BLOB_ATTR_TEXT>("k", text));
  EXPECT_EQ(text, "\x96\xBC\x91\x4F");
  ASSERT_TRUE(grx::platform::SelectAnsiCodePage(1252));
}

TEST(BlobFormatTest, LongKeysAreEscaped) {
  CBlobMap map;
  map.SetAt<BLOB_ATTR_BOOL>(std::string(255, 'x'), true);
  const Bytes blob = map.Encode(0);
  EXPECT_EQ(Bytes(blob.begin() + 14, blob.begin() + 17), (Bytes{0xFF, 0xFF, 0x00}));
  CBlobMap back;
  ASSERT_EQ(back.Decode(blob), "");
  bool value = false;
  EXPECT_TRUE(back.Lookup<BLOB_ATTR_BOOL>(std::string(255, 'x'), value));
  EXPECT_TRUE(value);
}

TEST(BlobFormatTest, KeysFollowTheHashOrderOfTheWriter) {
  // Buckets: "a" 12, "r" 12, "b" 13, "\xFF" "a" 13 (the byte counts as -1: 12 if it did not), "bb" 0.
  EXPECT_EQ(BlobHashBucket("a"), 12u);
  EXPECT_EQ(BlobHashBucket("r"), 12u);
  EXPECT_EQ(BlobHashBucket("b"), 13u);
  EXPECT_EQ(BlobHashBucket("\xFF"
                           "a"),
            13u);
  EXPECT_EQ(BlobHashBucket("bb"), 0u);
  // Ascending buckets; in a bucket the key inserted last comes first.
  EXPECT_THAT(BlobHashOrder({"a", "b", "r",
                             "\xFF"
                             "a",
                             "bb"}),
              ElementsAre(4u, 2u, 0u, 3u, 1u));
  CBlobMap map;
  for (const char* key : {"a", "b", "r"}) map.SetAt<BLOB_ATTR_INT>(key, 1);
  map.SetAt<BLOB_ATTR_INT>("a", 2); // replaced in its place
  const Bytes blob = map.Encode(0);
  EXPECT_EQ(blob[15], 'r'); // behind header, count and the key's length
  CBlobMap back;
  ASSERT_EQ(back.Decode(blob), "");
  EXPECT_THAT(back.Keys(), ElementsAre("r", "a", "b"));
  std::int32_t a = 0;
  EXPECT_TRUE(back.Lookup<BLOB_ATTR_INT>("a", a));
  EXPECT_EQ(a, 2);
}

TEST(BlobFormatTest, EveryTagHasItsEncoding) {
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_INT>(-2)), (Bytes{0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_BOOL>(true)), (Bytes{2, 0, 0, 0, 1}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_ENUM>(3)), (Bytes{3, 0, 0, 0, 3, 0, 0, 0}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_INT_LIST>({1, -1})),
            (Bytes{4, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_TEXT_LIST>({"a", ""})),
            (Bytes{6, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 'a', 0, 0, 0, 0, 0}));
  const GUID g{0x6A3D2F10, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
  const Bytes guid = {0x10, 0x2F, 0x3D, 0x6A, 0x7C, 0x4B, 0x21, 0x4E, 0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40};
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_GUID>(g)), Join({{7, 0, 0, 0}, guid}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_UINT64>(0x0102030405060708ull)),
            (Bytes{8, 0, 0, 0, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_SIX_BYTES>({0x11223344, 0x5566})),
            (Bytes{9, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0x66, 0x55}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_VARIANT>(BlobVariant::Int32(5))), (Bytes{10, 0, 0, 0, 3, 0, 5, 0, 0, 0}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_VARIANT>(BlobVariant{VT_BOOL, -1, 0, std::nullopt})),
            (Bytes{10, 0, 0, 0, 11, 0, 0xFF, 0xFF}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_VARIANT>(BlobVariant{VT_BSTR, 0, 0, u"ab"})),
            (Bytes{10, 0, 0, 0, 8, 0, 4, 0, 0, 0, 'a', 0, 'b', 0}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_VARIANT>(BlobVariant{VT_R8, 0, 1.5, std::nullopt})),
            (Bytes{10, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_XML_ID>(0xFFFF)), (Bytes{11, 0, 0, 0, 0xFF, 0xFF, 0, 0}));
  CBlobStringMap comments;
  comments.SetAt("a", "x");
  comments.SetAt("b", "yz");
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_STRING_MAP>(comments)),
            (Bytes{13, 0, 0, 0, 2, 0, 1, 'a', 1, 'x', 1, 'b', 2, 'y', 'z'}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_UINT64_LIST>({5})),
            (Bytes{14, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_UINT_LIST>({})), (Bytes{15, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_GUID_LIST>({g})), Join({{16, 0, 0, 0, 1, 0, 0, 0}, guid}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_GUID_LIST_LIST>({{}, {g}})),
            Join({{17, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}, guid}));
  EXPECT_EQ(ValueOf(OneAttribute<BLOB_ATTR_BOOL_LIST>({true, false})), (Bytes{18, 0, 0, 0, 2, 0, 0, 0, 1, 0}));
}

TEST(BlobFormatTest, LookupsAskForATagAndAppendToLists) {
  CBlobMap map;
  map.SetAt<BLOB_ATTR_UINT>("taskId", 7);
  map.SetAt<BLOB_ATTR_UINT_LIST>("ids", {1, 2});
  std::uint64_t wide = 99;
  EXPECT_FALSE(map.Lookup<BLOB_ATTR_UINT64>("taskId", wide)); // stored as a 32-bit unsigned integer
  EXPECT_EQ(wide, 99u);
  std::int32_t other = 5;
  EXPECT_FALSE(map.Lookup<BLOB_ATTR_INT>("taskId", other)); // the four 32-bit kinds differ by tag
  EXPECT_FALSE(map.Lookup<BLOB_ATTR_UINT>("missing", *reinterpret_cast<std::uint32_t*>(&other)));
  std::vector<std::uint32_t> ids{9};
  EXPECT_TRUE(map.Lookup<BLOB_ATTR_UINT_LIST>("ids", ids));
  EXPECT_THAT(ids, ElementsAre(9u, 1u, 2u));
}

TEST(BlobFormatTest, TheReaderTakesTheWideStringMarker) {
  const Bytes blob = Join({kHeader,
                           {1, 0},
                           {0xFF, 0xFE, 0xFF, 3, 'a', 0, 0xE4, 0, 'c', 0}, // "aäc" as UTF-16 units
                           kAnnounce,
                           {5, 0, 0, 0, 2, 0, 0, 0, 1}});
  CBlobMap map;
  ASSERT_EQ(map.Decode(blob), "");
  EXPECT_EQ(map.GetVersion(), 2u);
  EXPECT_EQ(map.GetObjectId(), kObject);
  bool value = false;
  EXPECT_TRUE(
      map.Lookup<BLOB_ATTR_BOOL>("a\xE4"
                                 "c",
                                 value));
  EXPECT_TRUE(value);
}

// A version-1 resource blob: "elements", an object list of three packages.
Bytes VersionOneResource() {
  auto package = [](const std::string& name, const std::string& version, std::uint8_t language) {
    return Join({{static_cast<std::uint8_t>(name.size())},
                 Ascii(name),
                 {static_cast<std::uint8_t>(version.size())},
                 Ascii(version),
                 {language, 0, 0, 0}});
  };
  const Bytes value = Join({{12, 0, 0, 0},
                            {3, 0},
                            {0xFF, 0xFF, 0, 0, 10, 0},
                            Ascii("CTPAttribs"),
                            package("Motion", "V1.2", 7),
                            {0x01, 0x80},
                            package("Drives", "V3.0", 9),
                            {0x01, 0x80},
                            package("Safety", "", 0)});
  return Join({{1, 0, 0, 0, 0x75, 0, 0, 0, 1, 0, 1, 0},
               {1, 0},
               {8},
               Ascii("elements"),
               kAnnounce,
               {static_cast<std::uint8_t>(value.size()), 0, 0, 0},
               value});
}

TEST(BlobFormatTest, AVersionOneObjectListReadsBack) {
  CBlobMap map;
  ASSERT_EQ(map.Decode(VersionOneResource()), "");
  EXPECT_EQ(map.GetVersion(), 1u);
  CTPAttribsList packages;
  ASSERT_TRUE(map.Lookup<BLOB_ATTR_OBJECT_LIST>("elements", packages));
  ASSERT_EQ(packages.size(), 3u);
  EXPECT_EQ(packages[1]->m_strName, "Drives");
  EXPECT_EQ(packages[1]->m_strTPVersion, "V3.0");
  EXPECT_EQ(packages[1]->m_nLanguageId, 9u);
  EXPECT_EQ(packages[2]->m_strTPVersion, "");
}

} // namespace
