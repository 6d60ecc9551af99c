// Records are filled at the offsets callers read: checked on the raw bytes, not through the
// struct members, so that a field moved in the struct is caught.
#include <cstring>

#include "standin_fixture.h"

namespace grx::testing {
namespace {

template <class Record>
std::string TextAt(const Record& record, std::size_t offset) {
  return std::string(reinterpret_cast<const char*>(&record) + offset);
}

template <class T, class Record>
T ValueAt(const Record& record, std::size_t offset) {
  T value{};
  std::memcpy(&value, reinterpret_cast<const char*>(&record) + offset, sizeof value);
  return value;
}

class RecordsTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(SmallProjectJson());
  }
};

TEST_F(RecordsTest, PropertiesAndAttributes) {
  const GlObjectId c1 = Id("R/C1");
  GlProperties properties;
  std::memset(&properties, 0xCD, sizeof properties);
  ASSERT_EQ(Err(db.gl_ObjectPropertiesGet(c1, properties, kTr)), 0u);
  EXPECT_EQ(TextAt(properties, 0), "C1");
  EXPECT_EQ(TextAt(properties, 309), "first chart");

  Gl_Uda uda{};
  std::strcpy(uda.name, "Owner");
  std::strcpy(uda.value, "team a");
  ASSERT_EQ(Err(db.gl_UdaUpdate(c1, 0, uda, kTr)), 0u);
  Gl_Uda read{};
  std::strcpy(read.name, "Owner");
  ASSERT_EQ(Err(db.gl_UdaGet(c1, read, kTr)), 0u);
  EXPECT_EQ(TextAt(read, 25), "team a");
}

TEST_F(RecordsTest, ContainerRecords) {
  Iec_ProcessingGroup group;
  std::memset(&group, 0xCD, sizeof group);
  ASSERT_EQ(Err(db.iec_ProcessingGroupRead(Id("R/#T1/G1"), group, kTr)), 0u);
  EXPECT_EQ(TextAt(group, 0), "G1");
  EXPECT_EQ(TextAt(group, 23), "");
  EXPECT_EQ((ValueAt<std::uint16_t>(group, 104)), 1); // reduction
  EXPECT_EQ((ValueAt<std::uint16_t>(group, 106)), 0); // phase

  Iec_Resource resource{};
  ASSERT_EQ(Err(db.iec_ResourceRead(Id("R"), resource, kTr)), 0u);
  EXPECT_EQ(TextAt(resource, 0), "R");
  Iec_Task task{};
  ASSERT_EQ(Err(db.iec_TaskRead(Id("R/#T1"), task, kTr)), 0u);
  EXPECT_EQ(TextAt(task, 0), "T1");
  EXPECT_EQ(task.cycleTimeMs, 10);
  Iec_Cfc cfc{};
  ASSERT_EQ(Err(db.iec_CfcRead(Id("R/C1/S1/S11"), cfc, kTr)), 0u);
  EXPECT_EQ(TextAt(cfc, 0), "S11");
  EXPECT_EQ(cfc.depth, 2);
}

TEST_F(RecordsTest, GlobalVariableRecord) {
  Iec_GlobalVar global{};
  ASSERT_EQ(Err(db.iec_GlobalVarRead(Id("R/@gA"), global, kTr)), 0u);
  EXPECT_EQ(TextAt(global, 0), "gA");
  EXPECT_EQ(TextAt(global, 50), "global a");
  EXPECT_EQ((ValueAt<std::int32_t>(global, 132)), IEC_REAL);
  EXPECT_EQ((ValueAt<std::uint32_t>(global, 136)), 0u);
}

TEST_F(RecordsTest, TypeRecords) {
  Iec_FunctionBlockType fbType{};
  ASSERT_EQ(Err(db.iec_FunctionBlockTypeRead(Id("R/%AXIS"), fbType, kTr)), 0u);
  EXPECT_EQ(TextAt(fbType, 0), "AXIS");
  EXPECT_EQ((ValueAt<std::int32_t>(fbType, 112)), 1);
  Iec_FunctionType fnType{};
  ASSERT_EQ(Err(db.iec_FunctionTypeRead(Id("R/%ADD"), fnType, kTr)), 0u);
  EXPECT_EQ(TextAt(fnType, 0), "ADD");
  EXPECT_EQ(Err(db.iec_FunctionTypeRead(Id("R/%AXIS"), fnType, kTr)), 0x20102u);

  Iec_InVarType in{};
  in.next = &in; // poisoned: the read must leave no stale chain behind
  ASSERT_EQ(Err(db.iec_InVarTypeRead(Id("R/%ADD.IN1"), in, kTr)), 0u);
  EXPECT_EQ(TextAt(in, 0), "IN1");
  EXPECT_EQ((ValueAt<std::int32_t>(in, 108)), IEC_REAL);
  EXPECT_EQ((ValueAt<void*>(in, 400)), nullptr);
  Iec_OutVarType out{};
  ASSERT_EQ(Err(db.iec_OutVarTypeRead(Id("R/%ADD.OUT"), out, kTr)), 0u);
  EXPECT_EQ((ValueAt<std::int32_t>(out, 108)), IEC_REAL);
  EXPECT_EQ((ValueAt<void*>(out, 392)), nullptr);
  Iec_InOutVarType inOut{};
  ASSERT_EQ(Err(db.iec_InOutVarTypeRead(Id("R/%AXIS.REF"), inOut, kTr)), 0u);
  EXPECT_EQ((ValueAt<std::int32_t>(inOut, 108)), IEC_STRUCT);

  Iec_VarTypeElement element{};
  ASSERT_EQ(Err(db.iec_VarTypeElementRead(Id("R/%AXIS.REF.St.Ok"), element, kTr)), 0u);
  EXPECT_EQ(TextAt(element, 0), "Ok");
  EXPECT_EQ((ValueAt<std::int32_t>(element, 108)), IEC_BOOL);
  EXPECT_EQ((ValueAt<void*>(element, 116)), nullptr);
  EXPECT_EQ((ValueAt<void*>(element, 380)), nullptr);
  EXPECT_EQ(element.nestingLevel, 1);
}

TEST_F(RecordsTest, VariableRecords) {
  Iec_InVar var{};
  Iec_VarIdent ident{};
  ASSERT_EQ(Err(db.iec_InVarRead(Id("R/C1/A1.IN2"), var, ident, kTr)), 0u);
  EXPECT_EQ(TextAt(var, 92), "2.0");
  EXPECT_EQ(TextAt(ident, 0), "IN2");
  ASSERT_EQ(Err(db.iec_InOutVarRead(Id("R/C1/F1.REF"), var, ident, kTr)), 0u);
  EXPECT_EQ(TextAt(ident, 23), "Axis reference");
  EXPECT_EQ(Err(db.iec_OutVarRead(Id("R/C1/A1.IN2"), var, ident, kTr)), 0x20102u);

  Iec_CfcInVar cfcIn{};
  ASSERT_EQ(Err(db.iec_CfcInVarRead(Id("R/C1.X"), cfcIn, kTr)), 0u);
  EXPECT_EQ(TextAt(cfcIn, 0), "X");
  EXPECT_EQ((ValueAt<std::int32_t>(cfcIn, 108)), IEC_REAL);
  EXPECT_EQ(TextAt(cfcIn, 136), "1.5");
  Iec_CfcOutVar cfcOut{};
  ASSERT_EQ(Err(db.iec_CfcOutVarRead(Id("R/C1.Y"), cfcOut, kTr)), 0u);
  EXPECT_EQ((ValueAt<std::int32_t>(cfcOut, 108)), IEC_REAL);

  Iec_VarElement element{};
  ASSERT_EQ(Err(db.iec_VarElementRead(Id("R/C1/F1.REF.Nr"), element, kTr)), 0u);
  EXPECT_EQ((ValueAt<std::int32_t>(element, 108)), IEC_INT);
  EXPECT_EQ(TextAt(element, 120), "1");

  Gl_InterfaceItemAttributes attributes{};
  ASSERT_EQ(Err(db.gl_InterfaceItemAttributesGetV6_0(Id("R/C1.Y"), attributes, kTr)), 0u);
  EXPECT_EQ(TextAt(attributes, 6), "Y_ITEM");
  ASSERT_EQ(Err(db.gl_InterfaceItemAttributesGetV6_0(Id("R/C1.X"), attributes, kTr)), 0u);
  EXPECT_EQ(TextAt(attributes, 6), "X");
  EXPECT_EQ(TextAt(attributes, 997), "input x");
}

TEST_F(RecordsTest, RunSequenceRecord) {
  GlObjectId group = 0, task = 0;
  Gl_RunSeqRecord record;
  std::memset(&record, 0xCD, sizeof record);
  ASSERT_EQ(Err(db.gl_ObjectAsTasksGet(M_FIRST, Id("R/C1/S1"), group, task, record, kTr)), GL_ERR_LAST_ELEMENT);
  EXPECT_EQ(PathOf(group), "R/#T1/G1");
  EXPECT_EQ(PathOf(task), "R/#T1");
  EXPECT_EQ(TextAt(record, 0), "T1");
  EXPECT_EQ((ValueAt<std::int16_t>(record, 600)), 1); // G1 is the first group of T1
  EXPECT_EQ((ValueAt<std::int16_t>(record, 602)), 2); // S1 is the second member of G1
}

TEST_F(RecordsTest, DescriptorTimeAndVersions) {
  GlObjectDescriptor od{};
  ASSERT_EQ(Err(db.gl_ObjectId_2_OD(Id("R/C1/A1"), od, kTr)), 0u);
  EXPECT_EQ(od.word[4], 0x112002u); // the fifth word tells the controller family

  IEC_DateAndTime stamp{};
  ASSERT_EQ(Err(db.gl_TimeStampGet(Id("R/C1"), stamp, kTr)), 0u);
  GlSystemTime time{};
  ASSERT_EQ(Err(db.gl_TimestampIECtoSYS(stamp, time)), 0u);
  EXPECT_EQ(time.wYear, 2026);
  EXPECT_EQ(time.wMonth, 2);
  EXPECT_EQ(time.wDay, 3);
  EXPECT_EQ(time.wHour, 4);
  EXPECT_EQ(time.wSecond, 6);
  IEC_DateAndTime back{};
  ASSERT_EQ(Err(db.gl_TimestampSYStoIEC(time, back)), 0u);
  EXPECT_EQ(back.days, stamp.days);
  EXPECT_EQ(back.msOfDay, stamp.msOfDay);
  GlSystemTime bad = time;
  bad.wMonth = 2;
  bad.wDay = 30;
  EXPECT_EQ(Err(db.gl_TimestampSYStoIEC(bad, back)), 0x20103u);

  char version[kGlVersionSize] = {};
  ASSERT_EQ(Err(db.gl_SoftwareVersionGet(version)), 0u);
  EXPECT_STREQ(version, "V7.1");
  ASSERT_EQ(db.SetSoftwareVersion("V7.2"), 0);
  ASSERT_EQ(Err(db.gl_SoftwareVersionGet(version)), 0u);
  EXPECT_STREQ(version, "V7.2");

  char projectName[257] = {}, path[257] = {}, objectName[kGlNameSize] = {}, separator[2] = {'\\', 0};
  ASSERT_EQ(Err(db.gl_LogicalPathGetV6_0(Id("R/C1/S1/S11/A2"), projectName, path, objectName, separator, 1, kTr)), 0u);
  EXPECT_STREQ(projectName, "Small");
  EXPECT_STREQ(path, "Small\\R\\C1\\S1\\S11");
  EXPECT_STREQ(objectName, "A2");
  char file[257] = {};
  ASSERT_EQ(Err(db.gl_ProjectPathGet(Id("R"), path, file, kTr)), 0u);
  EXPECT_STREQ(path, "C:\\P");
  EXPECT_STREQ(file, "small.q3p");

  GlObjectId cpu = 0;
  OutCpu outCpu{};
  ASSERT_EQ(Err(db.gl_CpuIdGet(Id("R/C1/A1.IN1"), cpu, outCpu, kTr)), 0u);
  EXPECT_EQ(cpu, Id("R"));
  EXPECT_STREQ(outCpu.name, "R");
  std::uint64_t surrogate = 0;
  ASSERT_EQ(Err(db.gl_ObjectIdToSurrogate(Id("R/C1"), surrogate, kTr)), 0u);
  EXPECT_NE(surrogate, 0u);
}

} // namespace
} // namespace grx::testing
