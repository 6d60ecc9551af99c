// The type queries against the table of elementary types, written out here by hand.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "grx/w5lhlpax.h"

namespace {

struct Expected {
  const char* name;
  std::uint32_t esType;
  GlDataType iecType;
};

const Expected kTable[] = {
    {"BOOL", 1, 1},
    {"BYTE", 2, 2},
    {"WORD", 3, 4},
    {"DWORD", 4, 6},
    {"LWORD", 5, 72},
    {"SINT", 6, 65},
    {"INT", 7, 5},
    {"DINT", 8, 7},
    {"LINT", 9, 66},
    {"USINT", 10, 67},
    {"UINT", 11, 68},
    {"UDINT", 12, 69},
    {"ULINT", 13, 70},
    {"REAL", 14, 8},
    {"LREAL", 15, 71},
    {"ANYOBJECT", 16, 85},
    {"TIME", 18, 17},
    {"DATE", 19, 16},
    {"TOD", 20, 18},
    {"TIME_OF_DAY", 20, 18},
    {"DT", 21, 22},
    {"DATE_AND_TIME", 21, 22},
    {"StructAlarmId", 22, 83},
    {"StructTaskId", 23, 84},
    {"SDTIME", 14, 81},
};

TEST(TypeQueriesTest, EveryElementaryTypeIsFoundByNameInAnyCase) {
  for (const Expected& e : kTable) {
    std::string lower = e.name;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (const std::string& name : {std::string(e.name), lower}) {
      std::uint32_t es = 0;
      GlDataType iec = 0;
      EXPECT_TRUE(W5GRX_IsSimpleType(name.c_str(), es, iec)) << name;
      EXPECT_EQ(es, e.esType) << name;
      EXPECT_EQ(iec, e.iecType) << name;
    }
  }
  std::uint32_t es = 0;
  GlDataType iec = 9;
  EXPECT_FALSE(W5GRX_IsSimpleType("STRING", es, iec));
  EXPECT_EQ(es, 0xFFFFFFFFu);
  EXPECT_EQ(iec, 0);
  EXPECT_FALSE(W5GRX_IsSimpleType(nullptr, es, iec));
  EXPECT_FALSE(W5GRX_IsSimpleType(" BOOL", es, iec));
  // Only the first 95 characters are looked at: a name of 96 characters is never found.
  EXPECT_FALSE(W5GRX_IsSimpleType((std::string(95, 'A') + "BOOL").c_str(), es, iec));
}

// The cast relation as it is meant (equal types, the three integer families, REAL and SDTIME),
// built here independently of the table.
bool Related(GlDataType from, GlDataType to) {
  if (from == to) return true;
  const std::vector<std::set<GlDataType>> groups = {{2, 65, 67}, {4, 5, 68}, {6, 7, 69}, {8, 81}};
  for (const auto& g : groups) {
    if (g.count(from) && g.count(to)) return true;
  }
  return false;
}

TEST(TypeQueriesTest, TheCastRelation) {
  std::set<GlDataType> types;
  for (const Expected& e : kTable) types.insert(e.iecType);
  for (GlDataType from : types) {
    for (GlDataType to : types) {
      EXPECT_EQ(W5GRX_CanCast(&from, &to), Related(from, to)) << from << " -> " << to;
    }
  }
  const GlDataType unknown = 43, real = 8;
  EXPECT_FALSE(W5GRX_CanCast(&unknown, &unknown)); // no entry for STRUCT
  EXPECT_FALSE(W5GRX_CanCast(nullptr, &real));
  EXPECT_FALSE(W5GRX_CanCast(&real, nullptr));
}

TEST(TypeQueriesTest, IecTypesOfEsTypesByClass) {
  GlDataType iec = -1;
  EXPECT_TRUE(W5GRX_IECType_FromES(0, 14, iec));
  EXPECT_EQ(iec, 8); // the first entry in key order with code 14 is REAL, not SDTIME
  EXPECT_TRUE(W5GRX_IECType_FromES(0, 20, iec));
  EXPECT_EQ(iec, 18);
  iec = -1;
  EXPECT_FALSE(W5GRX_IECType_FromES(0, 17, iec)); // there is no code 17
  EXPECT_EQ(iec, -1);
  EXPECT_TRUE(W5GRX_IECType_FromES(1, 99, iec));
  EXPECT_EQ(iec, 7);
  for (std::int32_t structured : {2, 3, 6}) {
    iec = -1;
    EXPECT_TRUE(W5GRX_IECType_FromES(structured, 0, iec));
    EXPECT_EQ(iec, 43);
  }
  for (std::int32_t other : {4, 5, 7, -1}) {
    iec = -1;
    EXPECT_FALSE(W5GRX_IECType_FromES(other, 1, iec));
    EXPECT_EQ(iec, -1); // not written
  }
}

} // namespace

namespace {

// Element records as a host hands them in: linked by next, nested lists by firstNested.
Iec_VarTypeElement Element(const char* name, GlDataType type, Iec_VarTypeElement* next = nullptr,
                           Iec_VarTypeElement* nested = nullptr) {
  Iec_VarTypeElement e{};
  std::snprintf(e.name, sizeof e.name, "%s", name);
  e.dataType = type;
  e.next = next;
  e.firstNested = nested;
  return e;
}

TEST(TypeQueriesTest, ChainsAreCountedAndEndOnACycle) {
  Iec_InVarType in[3]{};
  in[0].next = &in[1];
  in[1].next = &in[2];
  EXPECT_EQ(W5GRX_CountInVarTypes(in), 3);
  EXPECT_EQ(W5GRX_CountInVarTypes(nullptr), 0);
  in[2].next = &in[0]; // a chain that comes back
  EXPECT_EQ(W5GRX_CountInVarTypes(in), 3);
  Iec_OutVarType out{};
  EXPECT_EQ(W5GRX_CountOutVarTypes(&out), 1);
}

TEST(TypeQueriesTest, StructListsCompareNamesWithoutCaseAndNestedListsAndTypes) {
  Iec_VarTypeElement okA = Element("Ok", IEC_BOOL), okB = Element("OK", IEC_BOOL);
  Iec_VarTypeElement stA = Element("St", IEC_STRUCT, nullptr, &okA), stB = Element("st", IEC_STRUCT, nullptr, &okB);
  Iec_VarTypeElement nrA = Element("Nr", IEC_INT, &stA), nrB = Element("NR", IEC_INT, &stB);
  EXPECT_TRUE(W5GRX_CompareStructTypeList(&nrA, &nrB));
  EXPECT_TRUE(W5GRX_CompareStructTypeList(nullptr, nullptr));
  EXPECT_FALSE(W5GRX_CompareStructTypeList(&nrA, nullptr));
  Iec_VarTypeElement extra = Element("More", IEC_INT);
  stB.next = &extra; // one more element at the end of b
  EXPECT_FALSE(W5GRX_CompareStructTypeList(&nrA, &nrB));
  EXPECT_FALSE(W5GRX_CompareStructTypeList(&nrB, &nrA));
  stB.next = nullptr;
  okB.dataType = IEC_INT; // a nested type differs
  EXPECT_FALSE(W5GRX_CompareStructTypeList(&nrA, &nrB));
  okB.dataType = IEC_BOOL;
  stA.next = &nrA; // a list that leads back into itself ends without endless recursion
  stB.next = &nrB;
  EXPECT_TRUE(W5GRX_CompareStructTypeList(&nrA, &nrB));
}

} // namespace
