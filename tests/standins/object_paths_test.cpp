// Object paths: every object of the demo project that a path can name resolves to itself.
#include <nlohmann/json.hpp>

#include "standin_fixture.h"

namespace grx::testing {
namespace {

using ::testing::HasSubstr;

class ObjectPathsTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(DemoJson());
  }
  // Walks charts, blocks, parameters and elements below a chart through the API.
  void Walk(GlObjectId owner, int& count) {
    GlObjectId var = 0, element = 0, iter = 0, block = 0;
    GlObjectType type = IEC_OBJ_NULL;
    for (GlObjectId v : Collect([&](MODE m) { return db.iec_VarsGet(m, 0, owner, var, type, kTr); }, var)) {
      Check(v, count);
      GlObjectId elementIter = 0;
      for (GlObjectId e :
           Collect([&](MODE m) { return db.iec_StructureElementsGet(m, v, elementIter, element, kTr); }, element)) {
        Check(e, count);
      }
    }
    for (GlObjectId b :
         Collect([&](MODE m) { return db.iec_CfcBlocksGet(m, 0, owner, iter, block, type, kTr); }, block)) {
      Check(b, count);
      Walk(b, count);
    }
  }
  void Check(GlObjectId id, int& count) {
    const std::string path = PathOf(id);
    EXPECT_EQ(path.rfind("0x", 0), std::string::npos) << path;
    EXPECT_EQ(Id(path), id) << path;
    ++count;
  }
};

TEST_F(ObjectPathsTest, EveryPlacedObjectRoundTrips) {
  int count = 0;
  const GlObjectId cpu = Id("D445_AXES");
  GlObjectId chart = 0;
  GlObjectType type = IEC_OBJ_NULL;
  for (GlObjectId c : Collect([&](MODE m) { return db.iec_ChartsGet(m, 8, cpu, chart, type, kTr); }, chart)) {
    Check(c, count);
    Walk(c, count);
  }
  EXPECT_GT(count, 100);
}

TEST_F(ObjectPathsTest, KindsOfPaths) {
  EXPECT_EQ(PathOf(Id("D445_AXES/@gCamTable.Pts.P1")), "D445_AXES/@gCamTable.Pts.P1");
  EXPECT_EQ(PathOf(Id("D445_AXES/#TBackground/G_Old")), "D445_AXES/#TBackground/G_Old");
  EXPECT_EQ(PathOf(Id("D445_AXES/%TON.PT")), "D445_AXES/%TON.PT");
  const GlObjectId raw = Id("D445_AXES/Axis1");
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%llx", static_cast<unsigned long long>(raw));
  EXPECT_EQ(Id(hex), raw);
  EXPECT_EQ(Id(std::to_string(raw)), raw);
  EXPECT_EQ(PathOf(0x7777), "0x7777");
}

TEST_F(ObjectPathsTest, UnknownPartsAreNamed) {
  GlObjectId id = 0;
  EXPECT_NE(db.ResolvePath("D445_AXES/Axis1/Nope/Move1", &id), 0);
  EXPECT_THAT(std::string(db.LastError()), HasSubstr("\"Nope\""));
  EXPECT_NE(db.ResolvePath("NOPE", &id), 0);
  EXPECT_NE(db.ResolvePath("D445_AXES/Axis1/Move1.NOPE", &id), 0);
  EXPECT_NE(db.ResolvePath("D445_AXES/Axis1/@gEnable", &id), 0); // globals live in the controller
  EXPECT_NE(db.ResolvePath("D445_AXES/Axis1.SpeedSet/Move1", &id), 0);
}

} // namespace
} // namespace grx::testing
