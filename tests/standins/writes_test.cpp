// Writes, their rules, and transactions: every kind of write is rolled back by an abort and
// kept by a commit; writes outside an open transaction find the objects busy.
#include <cstring>
#include <functional>

#include "standin_fixture.h"

namespace grx::testing {
namespace {

using ::testing::ElementsAre;

class WritesTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(SmallProjectJson());
  }

  std::string Export() { return db.Export(); }

  GlTransactionId Begin() {
    GlTransactionId tr = 0;
    EXPECT_EQ(Err(db.gl_TransactionBegin(tr, kNoTransaction)), 0u);
    return tr;
  }

  Iec_GlobalVar GlobalRecord(const char* name, GlDataType type) {
    Iec_GlobalVar record{};
    std::strcpy(record.name, name);
    record.dataType = type;
    return record;
  }
};

// Every write, run inside a transaction: it must change the project, and the abort must undo it.
TEST_F(WritesTest, AbortRollsBackEveryKindOfWrite) {
  const std::vector<std::pair<std::string, std::function<std::uint32_t(GlTransactionId)>>> writes = {
      {"iec_TaskWrite",
       [&](GlTransactionId tr) {
         Iec_Task task{};
         std::strcpy(task.name, "TNew");
         GlObjectId id = 0;
         return Err(db.iec_TaskWrite(Id("R"), task, id, tr));
       }},
      {"iec_GlobalVarWrite",
       [&](GlTransactionId tr) {
         GlObjectId id = 0;
         return Err(db.iec_GlobalVarWrite(Id("R"), GlobalRecord("gNew", IEC_INT), id, tr));
       }},
      {"iec_GlobalVarUpdate",
       [&](GlTransactionId tr) {
         return Err(db.iec_GlobalVarUpdate(Id("R/@gB"), GlobalRecord("gRenamed", IEC_BOOL), tr));
       }},
      {"iec_InVarUpdate",
       [&](GlTransactionId tr) {
         Iec_InVar var{};
         std::strcpy(var.value, "42.0");
         return Err(db.iec_InVarUpdate(Id("R/C1/A1.IN2"), var, tr));
       }},
      {"iec_OutVarUpdate",
       [&](GlTransactionId tr) {
         Iec_OutVar var{};
         std::strcpy(var.value, "7");
         return Err(db.iec_OutVarUpdate(Id("R/C1/A1.OUT"), var, tr));
       }},
      {"iec_CfcInVarUpdate",
       [&](GlTransactionId tr) {
         Iec_CfcInVar var{};
         std::strcpy(var.value, "9.5");
         return Err(db.iec_CfcInVarUpdate(Id("R/C1.X"), var, tr));
       }},
      {"iec_TaskDelete", [&](GlTransactionId tr) { return Err(db.iec_TaskDelete(Id("R/#T9"), tr)); }},
      {"iec_ProcessingGroupDelete",
       [&](GlTransactionId tr) { return Err(db.iec_ProcessingGroupDelete(Id("R/#T1/G2"), tr)); }},
      {"iec_Connect",
       [&](GlTransactionId tr) {
         Iec_Connection c{};
         c.connectionType = IEC_CONNECTION;
         return Err(db.iec_Connect(Id("R/C1/A1.IN2"), Id("R/C1.X"), c, tr));
       }},
      {"iec_ConnectionDelete",
       [&](GlTransactionId tr) { return Err(db.iec_ConnectionDelete(Id("R/C1/A1.IN1"), Id("R/@gA"), tr)); }},
      {"gl_UdaUpdate",
       [&](GlTransactionId tr) {
         Gl_Uda uda{};
         std::strcpy(uda.name, "K");
         std::strcpy(uda.value, "V");
         return Err(db.gl_UdaUpdate(Id("R/C1"), 0, uda, tr));
       }},
      {"gl_ObjectCommentSet",
       [&](GlTransactionId tr) { return Err(db.gl_ObjectCommentSet(Id("R/C2"), "changed", tr)); }},
      {"iec_BlobWrite",
       [&](GlTransactionId tr) {
         const unsigned char bytes[] = {1, 2, 3};
         return Err(db.iec_BlobWrite(Id("R/C1/A1"), sizeof bytes, bytes, tr));
       }},
      {"gl_RunSeqElemsMove",
       [&](GlTransactionId tr) {
         const GlObjectId element = Id("R/C1/A1");
         return Err(db.gl_RunSeqElemsMove(&element, 1, Id("R/#T1/G1"), Id("R/#T1/G2"), 0, tr));
       }},
      {"gl_RunSeqPtrSet",
       [&](GlTransactionId tr) { return Err(db.gl_RunSeqPtrSet(Id("R"), Id("R/#T1/G1"), Id("R/C1/A1"), tr)); }},
  };
  for (const auto& [name, write] : writes) {
    SCOPED_TRACE(name);
    const std::string before = Export();
    const GlTransactionId tr = Begin();
    ASSERT_EQ(write(tr), 0u) << db.LastError();
    if (name != "gl_RunSeqPtrSet") { // the insertion point is not part of a description
      EXPECT_NE(Export(), before);
    }
    GlObjectSet set = nullptr;
    ASSERT_EQ(Err(db.gl_ObjectSetGet(tr, set)), 0u);
    EXPECT_GT(db.ObjectSetContents(set, nullptr, 0), 0u);
    ASSERT_EQ(Err(db.gl_TransactionAbort(tr)), 0u);
    EXPECT_EQ(Export(), before);
  }
}

TEST_F(WritesTest, CommitKeepsAndOutsideWritesAreBusy) {
  const GlTransactionId tr = Begin();
  GlObjectId id = 0;
  EXPECT_EQ(Err(db.iec_GlobalVarWrite(Id("R"), GlobalRecord("gOther", IEC_INT), id, kNoTransaction)),
            GL_ERR_OBJECT_BUSY);
  EXPECT_EQ(Err(db.iec_GlobalVarWrite(Id("R"), GlobalRecord("gKept", IEC_INT), id, tr)), 0u);
  EXPECT_EQ(Name(id), "gKept"); // reads outside the transaction see it
  EXPECT_EQ(Err(db.gl_TransactionCommit(tr)), 0u);
  EXPECT_EQ(Id("R/@gKept"), id);
  EXPECT_EQ(Err(db.gl_TransactionCommit(tr)), 0x20107u); // ended already
  EXPECT_EQ(Err(db.iec_GlobalVarWrite(Id("R"), GlobalRecord("gLate", IEC_INT), id, tr)), 0x20107u);
}

TEST_F(WritesTest, NestedTransactionsAndObjectSets) {
  const GlTransactionId outer = Begin();
  GlTransactionId inner = 0;
  ASSERT_EQ(Err(db.gl_TransactionBegin(inner, outer)), 0u);
  EXPECT_NE(inner, outer);
  GlTransactionId third = 0;
  EXPECT_EQ(Err(db.gl_TransactionBegin(third, kNoTransaction)), GL_ERR_OBJECT_BUSY);
  ASSERT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C2"), "inner", inner)), 0u);
  EXPECT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C1"), "outer", outer)), 0x20107u); // not the innermost
  EXPECT_EQ(Err(db.gl_TransactionCommit(outer)), 0x20107u);
  ASSERT_EQ(Err(db.gl_TransactionCommit(inner)), 0u);
  GlObjectSet set = nullptr;
  ASSERT_EQ(Err(db.gl_ObjectSetGet(outer, set)), 0u);
  GlObjectId touched[4] = {};
  ASSERT_EQ(db.ObjectSetContents(set, touched, 4), 1u);
  EXPECT_EQ(touched[0], Id("R/C2"));
  ASSERT_EQ(Err(db.gl_TransactionAbort(outer)), 0u);
  char comment[kGlTextSize] = {};
  ASSERT_EQ(Err(db.gl_ObjectCommentGet(Id("R/C2"), comment, kTr)), 0u);
  EXPECT_STREQ(comment, "");
  EXPECT_EQ(db.ObjectSetContents(set, touched, 4), 0u); // the set ended with its transaction
}

TEST_F(WritesTest, FailingCallInsideATransactionChangesNothing) {
  const GlTransactionId tr = Begin();
  const std::string before = Export();
  Iec_Connection c{};
  c.connectionType = IEC_CONNECTION;
  // A1.IN1 is fed by gA already: a second real source is refused.
  EXPECT_EQ(Err(db.iec_Connect(Id("R/C1/A1.IN1"), Id("R/C1.X"), c, tr)), 0x2010Au);
  EXPECT_EQ(Export(), before);
  GlObjectSet set = nullptr;
  ASSERT_EQ(Err(db.gl_ObjectSetGet(tr, set)), 0u);
  EXPECT_EQ(db.ObjectSetContents(set, nullptr, 0), 0u);
  ASSERT_EQ(Err(db.gl_TransactionCommit(tr)), 0u);
}

TEST_F(WritesTest, ErrorIdsCallersRelyOn) {
  GlObjectId chart = 0;
  EXPECT_EQ(Err(db.iec_BlockCfcGet(Id("R/C1"), chart, kTr)), GL_ERR_NOT_IN_CHART);
  EXPECT_EQ(Err(db.iec_BlockCfcGet(Id("R/C1/S1/S11"), chart, kTr)), 0u);
  EXPECT_EQ(PathOf(chart), "R/C1/S1");

  Iec_Task task{};
  std::strcpy(task.name, "T1");
  GlObjectId taskId = 0;
  EXPECT_EQ(Err(db.iec_TaskWrite(Id("R"), task, taskId, kTr)), GL_ERR_TASK_EXISTS);
  EXPECT_EQ(taskId, Id("R/#T1"));

  Gl_Uda uda{};
  std::strcpy(uda.name, "Missing");
  EXPECT_EQ(Err(db.gl_UdaGet(Id("R/C1"), uda, kTr)), GL_ERR_UDA_NOT_FOUND);
  EXPECT_EQ(Err(db.gl_UdaRemove(Id("R/C1"), uda, kTr)), GL_ERR_UDA_NOT_FOUND);
  EXPECT_EQ(Err(db.gl_UdaUpdate(Id("R/C1"), 1, uda, kTr)), GL_ERR_UDA_NOT_UPDATED);
  EXPECT_EQ(Err(db.gl_UdaUpdate(Id("R/C1"), 0, uda, kTr)), 0u);
  EXPECT_EQ(Err(db.gl_UdaRemove(Id("R/C1"), uda, kTr)), 0u);

  // A block in a sub-chart installed in a group runs where its chart runs.
  GlObjectId group = 0, asTask = 0;
  Gl_RunSeqRecord record{};
  EXPECT_EQ(Err(db.gl_ObjectAsTasksGet(M_FIRST, Id("R/C1/S1/S11/A2"), group, asTask, record, kTr)),
            GL_ERR_AS_TASK_INDIRECT);
  EXPECT_EQ(PathOf(group), "R/#T1/G1");
  EXPECT_EQ(Err(db.gl_ObjectAsTasksGet(M_NEXT, Id("R/C1/S1/S11/A2"), group, asTask, record, kTr)),
            GL_ERR_NO_MORE_ELEMENTS);
  EXPECT_EQ(Err(db.gl_ObjectAsTasksGet(M_FIRST, Id("R/C2"), group, asTask, record, kTr)), GL_ERR_NO_MORE_ELEMENTS);
}

TEST_F(WritesTest, DataVersionFollowsWritesUnlessSuppressed) {
  ASSERT_EQ(db.SetSoftwareVersion("V8.0"), 0);
  char version[kGlVersionSize] = {};
  ASSERT_EQ(Err(db.gl_DataVersionGet(Id("R/C2"), version, kTr)), 0u);
  EXPECT_STREQ(version, "V7.1");
  ASSERT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C2"), "touched", kTr)), 0u);
  ASSERT_EQ(Err(db.gl_DataVersionGet(Id("R/C2"), version, kTr)), 0u);
  EXPECT_STREQ(version, "V8.0");

  std::string json = SmallProjectJson();
  json.replace(json.find("\"created\""), 0, "\"suppressDataVersionUpdate\": true, ");
  Load(json); // its data is stamped V8.0, the software version at import
  ASSERT_EQ(db.SetSoftwareVersion("V7.1"), 0);
  EXPECT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C2"), "touched", kTr)), GL_ERR_DATA_VERSION_SUPPRESSED);
  ASSERT_EQ(db.SetSoftwareVersion("V8.0"), 0);
  EXPECT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C2"), "touched", kTr)), 0u);
}

TEST_F(WritesTest, RulesOfWrites) {
  GlObjectId id = 0;
  EXPECT_EQ(Err(db.iec_GlobalVarWrite(Id("R"), GlobalRecord("gA", IEC_INT), id, kTr)), 0x10104u);
  EXPECT_EQ(Err(db.iec_GlobalVarWrite(Id("R"), GlobalRecord("", IEC_INT), id, kTr)), 0x2010Eu);
  EXPECT_EQ(Err(db.iec_GlobalVarWrite(Id("R"), GlobalRecord("a/b", IEC_INT), id, kTr)), 0x2010Eu);
  EXPECT_EQ(Err(db.iec_TaskDelete(Id("R/#T1"), kTr)), 0x20105u);               // still has groups
  EXPECT_EQ(Err(db.iec_ProcessingGroupDelete(Id("R/#T1/G1"), kTr)), 0x20105u); // still has members
  EXPECT_EQ(Err(db.iec_ConnectionDelete(Id("R/C1/A1.IN2"), Id("R/@gA"), kTr)), 0x1010Bu);
  Iec_Connection c{};
  c.connectionType = IEC_CONNECTION;
  EXPECT_EQ(Err(db.iec_Connect(Id("R/C1/A1.OUT"), Id("R/@gA"), c, kTr)), 0x20102u); // an output is no sink
  std::string tooLong(300, 'x');
  EXPECT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C2"), tooLong.c_str(), kTr)), 0x20109u);

  // Moving a block behind the last member of another group, and back to the front.
  const GlObjectId a1 = Id("R/C1/A1"), g1 = Id("R/#T1/G1"), g2 = Id("R/#T1/G2");
  ASSERT_EQ(Err(db.gl_RunSeqElemsMove(&a1, 1, g1, g2, 0, kTr)), 0u);
  GlObjectId member = 0;
  GlObjectType type = IEC_OBJ_NULL;
  EXPECT_THAT(
      Paths(Collect([&](MODE m) { return db.iec_ProcessingGroupBlocksGet(m, 0, g2, member, type, kTr); }, member)),
      ElementsAre("R/C1/A1"));
  EXPECT_EQ(Err(db.gl_RunSeqElemsMove(&a1, 1, g1, g2, 0, kTr)), 0x2010Cu); // not in G1 any more
  const GlObjectId s1 = Id("R/C1/S1");
  ASSERT_EQ(Err(db.gl_RunSeqElemsMove(&s1, 1, g1, g2, a1, kTr)), 0u);
  EXPECT_THAT(
      Paths(Collect([&](MODE m) { return db.iec_ProcessingGroupBlocksGet(m, 0, g2, member, type, kTr); }, member)),
      ElementsAre("R/C1/A1", "R/C1/S1"));
  GlObjectId group = 0, task = 0;
  Gl_RunSeqRecord record{};
  ASSERT_EQ(Err(db.gl_ObjectAsTasksGet(M_FIRST, s1, group, task, record, kTr)), GL_ERR_LAST_ELEMENT);
  EXPECT_EQ(record.grPos, 2);
  EXPECT_EQ(record.blockPos, 2);
}

TEST_F(WritesTest, BlobsAndComments) {
  const GlObjectId a1 = Id("R/C1/A1");
  std::uint32_t length = 99;
  ASSERT_EQ(Err(db.iec_BlobLengthGet(a1, length, kTr)), 0u);
  EXPECT_EQ(length, 0u);
  std::vector<unsigned char> bytes(5000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7);
  ASSERT_EQ(Err(db.iec_BlobWrite(a1, static_cast<std::uint32_t>(bytes.size()), bytes.data(), kTr)), 0u);
  ASSERT_EQ(Err(db.iec_BlobLengthGet(a1, length, kTr)), 0u);
  EXPECT_EQ(length, bytes.size());
  std::vector<unsigned char> read(bytes.size() + 8, 0xEE);
  std::uint32_t actual = 0;
  ASSERT_EQ(Err(db.iec_BlobRead(a1, length, actual, read.data(), kTr)), 0u);
  EXPECT_EQ(actual, length);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), read.begin()));
  EXPECT_EQ(read[bytes.size()], 0xEE); // nothing written past the length asked for
  ASSERT_EQ(Err(db.iec_BlobRead(a1, 10, actual, read.data(), kTr)), 0u);
  EXPECT_EQ(actual, 10u);
  ASSERT_EQ(Err(db.iec_BlobDelete(a1, kTr)), 0u);
  ASSERT_EQ(Err(db.iec_BlobLengthGet(a1, length, kTr)), 0u);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(Err(db.iec_BlobWrite(a1, 3, nullptr, kTr)), 0x20103u);
}

} // namespace
} // namespace grx::testing
