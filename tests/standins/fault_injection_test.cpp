// Faults injected into named API functions: next call, n-th call, a number of calls, always.
#include "platform/process.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

class FaultInjectionTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(SmallProjectJson());
  }
  std::uint32_t TypeOf(GlObjectId id) {
    GlObjectType type = IEC_OBJ_NULL;
    return Err(db.iec_ObjectTypeGet(id, type, kTr));
  }
};

TEST_F(FaultInjectionTest, NextNthCountedAndPermanentFaults) {
  const GlObjectId c1 = Id("R/C1");
  ASSERT_EQ(db.InjectFault("iec_ObjectTypeGet", GL_ERR_OBJECT_BUSY, 1, 1), 0);
  EXPECT_EQ(TypeOf(c1), GL_ERR_OBJECT_BUSY);
  EXPECT_EQ(TypeOf(c1), 0u);

  ASSERT_EQ(db.InjectFault("iec_ObjectTypeGet", 0x777, 3, 2), 0);
  EXPECT_EQ(TypeOf(c1), 0u);
  EXPECT_EQ(TypeOf(c1), 0u);
  EXPECT_EQ(TypeOf(c1), 0x777u);
  EXPECT_EQ(TypeOf(c1), 0x777u);
  EXPECT_EQ(TypeOf(c1), 0u);

  ASSERT_EQ(db.InjectFault("iec_ObjectTypeGet", 0x778, 1, 0), 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(TypeOf(c1), 0x778u);
  ASSERT_EQ(db.ClearFaults(), 0);
  EXPECT_EQ(TypeOf(c1), 0u);
}

TEST_F(FaultInjectionTest, AFaultChangesNothingAndKeepsTheIteration) {
  const std::string before = db.Export();
  ASSERT_EQ(db.InjectFault("gl_ObjectCommentSet", 0x20125, 1, 1), 0);
  EXPECT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C1"), "x", kTr)), GL_ERR_OBJECT_BUSY);
  EXPECT_EQ(db.Export(), before);

  const GlObjectId r = Id("R");
  GlObjectId task = 0;
  ASSERT_EQ(Err(db.iec_TasksGet(M_FIRST, r, task, kTr)), 0u);
  ASSERT_EQ(db.InjectFault("iec_TasksGet", 0x555, 1, 1), 0);
  EXPECT_EQ(Err(db.iec_TasksGet(M_NEXT, r, task, kTr)), 0x555u);
  ASSERT_EQ(Err(db.iec_TasksGet(M_NEXT, r, task, kTr)), GL_ERR_LAST_ELEMENT);
  EXPECT_EQ(PathOf(task), "R/#T9");
}

TEST_F(FaultInjectionTest, CountersAndTheErrorHandler) {
  ASSERT_EQ(db.ResetCallCounts(), 0);
  const GlObjectId c1 = Id("R/C1");
  TypeOf(c1);
  TypeOf(c1);
  EXPECT_EQ(db.CallCount("iec_ObjectTypeGet"), 2u);
  EXPECT_EQ(db.CallCount("iec_CfcRead"), 0u);
  std::uint32_t last = 0;
  const auto before = db.ErrorHandlerCalls(&last);
  GlObjectType type = 0;
  const GlResult failed = db.iec_ObjectTypeGet(0x42, type, kTr);
  EXPECT_EQ(db.gl_ErrorHandler(failed), 1);
  EXPECT_EQ(db.ErrorHandlerCalls(&last), before + 1);
  EXPECT_EQ(last, 0x20101u);
  EXPECT_NE(db.InjectFault("", 1, 1, 1), 0);
  EXPECT_NE(db.InjectFault("iec_TasksGet", 0, 1, 1), 0);
}

// A process started with Q3JDBMOX_FAULTS has its faults from the opening of each project on; a
// malformed text makes the opening fail.
TEST_F(FaultInjectionTest, FaultsNamedInTheEnvironment) {
  struct Restore {
    ~Restore() { platform::RemoveEnvironmentValue("Q3JDBMOX_FAULTS"); }
  } restore;
  platform::SetEnvironmentValue("Q3JDBMOX_FAULTS", "iec_ObjectTypeGet:0x20125:2, gl_ObjectCommentSet:7");
  Load(SmallProjectJson());
  const GlObjectId c1 = Id("R/C1");
  EXPECT_EQ(TypeOf(c1), 0u);
  EXPECT_EQ(TypeOf(c1), GL_ERR_OBJECT_BUSY);
  EXPECT_EQ(TypeOf(c1), 0u);
  EXPECT_EQ(Err(db.gl_ObjectCommentSet(c1, "x", kTr)), 7u);
  EXPECT_EQ(Err(db.gl_ObjectCommentSet(c1, "x", kTr)), 0u);
  for (const char* malformed : {"iec_ObjectTypeGet", "iec_ObjectTypeGet:0", "iec_ObjectTypeGet:x", ":5",
                                "iec_ObjectTypeGet:5:1:1:1", "iec_ObjectTypeGet:0x1000000"}) {
    platform::SetEnvironmentValue("Q3JDBMOX_FAULTS", malformed);
    EXPECT_THROW(db.Open(":memory:"), dbclient::ChartDbError) << malformed;
  }
  platform::SetEnvironmentValue("Q3JDBMOX_FAULTS", "iec_ObjectTypeGet:5:1:0,");
  Load(SmallProjectJson());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(TypeOf(Id("R/C1")), 5u);
}

TEST_F(FaultInjectionTest, ResultLayout) {
  GlObjectType type = 0;
  const GlResult failed = db.iec_ObjectTypeGet(0x42, type, kTr);
  EXPECT_EQ(failed & 0xFFFFFF, 0x20101u);
  EXPECT_EQ((failed >> 36) & 0xF, 0u); // reserved bits
  EXPECT_NE(failed >> 40, 0u);         // origin
  EXPECT_EQ(db.gl_ErrorClassGet(failed), 0x20000u);
  EXPECT_EQ(db.gl_ErrorIdGet(0), 0u);
}

} // namespace
} // namespace grx::testing
