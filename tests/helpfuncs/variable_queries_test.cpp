// The variable queries against a stand-in project: chains of chart interface connections (with a
// cycle), type names from the blob records of parameter types, display names, process-image
// addresses and compatibility codes.
#include "blob/blob_block_type.h"
#include "blob/blob_var_type.h"
#include "grx/w5lhlpax.h"
#include "opendata/iec_obj_factory.h"
#include "opendata/iec_obj_manager.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

class VariableQueriesTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R",
      "blockTypes": [{"name": "ADD", "kind": "function", "parameters": [{"name": "IN1", "type": "DINT"},
                                                                         {"name": "OUT", "direction": "out", "type": "LINT"}]},
                     {"name": "FB", "kind": "functionBlock", "parameters": [{"name": "U", "type": "UDINT"},
                       {"name": "Q", "direction": "out", "type": "DINT"}, {"name": "R", "direction": "out", "type": "REAL"},
                       {"name": "B", "direction": "out", "type": "BOOL"}]}],
      "globals": [{"name": "gA", "type": "REAL", "text": "second text"}],
      "charts": [{"name": "C", "interface": [{"name": "X", "type": "DINT"}, {"name": "Y", "direction": "out", "type": "DINT"},
                                             {"name": "Free", "type": "INT"}],
                  "blocks": [{"name": "A", "type": "ADD"}, {"name": "F", "type": "FB"}],
                  "charts": [{"name": "S", "interface": [{"name": "P", "type": "DINT"}]}]}],
      "tasks": [{"name": "T1", "groups": [{"name": "G"}]}],
      "connections": [{"from": "C.X", "to": "C/S.P"}, {"from": "C/S.P", "to": "C.X"}, {"from": "C/F.Q", "to": "C.Y"}]}]})");
  }
  GlObjectId found_ = 0;
  bool isBlockParam_ = true;
};

TEST_F(VariableQueriesTest, ConnectedVariablesFollowChartInterfaces) {
  EXPECT_TRUE(W5GRX_FindConnectedVar(Id("R/C.Y"), found_, isBlockParam_, kTr)); // fed by a block output
  EXPECT_EQ(found_, Id("R/C/F.Q"));
  EXPECT_TRUE(isBlockParam_);
  EXPECT_TRUE(W5GRX_FindConnectedVar(Id("R/C.Free"), found_, isBlockParam_, kTr)); // no partner
  EXPECT_EQ(found_, Id("R/C.Free"));
  EXPECT_FALSE(isBlockParam_);
  EXPECT_TRUE(W5GRX_FindConnectedVar(Id("R/C/A.IN1"), found_, isBlockParam_, kTr)); // a block parameter itself
  EXPECT_EQ(found_, Id("R/C/A.IN1"));
  // C.X feeds S.P, which feeds C.X again: the walk ends, with false.
  EXPECT_FALSE(W5GRX_FindConnectedVar(Id("R/C.X"), found_, isBlockParam_, kTr));
  EXPECT_FALSE(W5GRX_FindConnectedVar(Id("R/C"), found_, isBlockParam_, kTr)); // not a variable
  EXPECT_EQ(found_, 0u);
}

TEST_F(VariableQueriesTest, TypeNamesComeFromTheParameterTypesRecord) {
  CBlobVarType record(0, kTr);
  record.SetTypeName("DINT_T");
  record.Write(Id("R/%ADD.IN1"), kTr);
  GlDataType type = 0;
  std::string name;
  bool flag = true;
  EXPECT_TRUE(W5GRX_TypeNameFromVarId(Id("R/C/A.IN1"), type, name, flag, kTr));
  EXPECT_EQ(type, IEC_DINT);
  EXPECT_EQ(name, "DINT_T");
  EXPECT_FALSE(flag);
  EXPECT_FALSE(W5GRX_TypeNameFromVarId(Id("R/C/A.OUT"), type, name, flag, kTr)); // no record: no name
  EXPECT_EQ(type, IEC_LINT);
  // Through F.Q, a block output whose type has no record: the data type, but no name.
  EXPECT_FALSE(W5GRX_TypeNameFromVarId(Id("R/C.Y"), type, name, flag, kTr));
  EXPECT_EQ(type, IEC_DINT);
  EXPECT_TRUE(W5GRX_TypeNameFromVarId(Id("R/C.Free"), type, name, flag, kTr)); // a chart input: its own type
  EXPECT_EQ(type, IEC_INT);
  EXPECT_FALSE(W5GRX_TypeNameFromVarId(Id("R/@gA"), type, name, flag, kTr));
}

TEST_F(VariableQueriesTest, NamesOwnersAndGlobals) {
  std::string name;
  EXPECT_TRUE(W5GRX_NameFromVarId(Id("R/C/A.IN1"), name, kTr));
  EXPECT_EQ(name, "A:IN1");
  EXPECT_TRUE(W5GRX_NameFromVarId(Id("R/C.X"), name, kTr));
  EXPECT_EQ(name, "C:X");
  EXPECT_TRUE(W5GRX_NameFromVarId(Id("R/@gA"), name, kTr));
  EXPECT_EQ(name, "gA");
  EXPECT_FALSE(W5GRX_NameFromVarId(0x999999, name, kTr));
  EXPECT_EQ(name, "");
  std::string text;
  EXPECT_TRUE(W5GRX_GetGlobalVarFromVarId(Id("R/@gA"), name, text, kTr));
  EXPECT_EQ(text, "second text");
  EXPECT_FALSE(W5GRX_GetGlobalVarFromVarId(Id("R/C"), name, text, kTr));
}

// A factory that cannot make objects: what it raises is no library exception.
class FailingFactory : public OpenData::CIecObjFactory {
public:
  std::unique_ptr<OpenData::CIecObject> CreateIecObject(const OpenData::CIecObjId&,
                                                        OpenData::IEC_OBJECT_TYPE) override {
    throw std::length_error("no room for the object");
  }
};

TEST_F(VariableQueriesTest, TheThreadsTransactionSurvivesEveryFailure) {
  auto* manager = OpenData::CIecObjManager::GetInstance();
  manager->Clear_i();
  manager->SetTransactionId(42);
  std::string name = "old";
  EXPECT_FALSE(W5GRX_NameFromVarId(0x999999, name, 7)); // a library exception
  EXPECT_EQ(manager->GetTransactionId(), 42);
  FailingFactory failing;
  manager->SetFactory(&failing);
  bool answer = true;
  EXPECT_NO_THROW(answer = W5GRX_NameFromVarId(Id("R/C/A.IN1"), name, 7)); // any other exception
  EXPECT_FALSE(answer);
  EXPECT_EQ(name, "");
  EXPECT_EQ(manager->GetTransactionId(), 42);
  manager->Clear_i(); // clearing forgets the transaction too
  manager->SetFactory(OpenData::CIecObjFactory::GetInstance());
  manager->SetTransactionId(42);
  EXPECT_TRUE(W5GRX_NameFromVarId(Id("R/C/A.IN1"), name, kTr));
  EXPECT_EQ(name, "A:IN1");
  EXPECT_EQ(manager->GetTransactionId(), 42);
  manager->SetTransactionId(kTr);
}

TEST_F(VariableQueriesTest, FunctionBlockTypesByTheirCategory) {
  EXPECT_FALSE(W5GRX_IsFunctionBlockType(Id("R/C/F.U"), kTr)); // no record: BLKCAT_NDEF
  for (std::int32_t category : {BLKCAT_LIB, BLKCAT_PRG, BLKCAT_BUILD_IN_FB, BLKCAT_SYS}) {
    CBlobBlockType record(0, kTr);
    record.SetBlockCat(category);
    record.Write(Id("R/%FB"), kTr);
    EXPECT_EQ(W5GRX_IsFunctionBlockType(Id("R/C/F.U"), kTr), category != BLKCAT_SYS) << category;
  }
  EXPECT_FALSE(W5GRX_IsFunctionBlockType(Id("R/C/A.IN1"), kTr)); // a function, not a function block
}

TEST_F(VariableQueriesTest, CompatibilityCodes) {
  std::uint16_t code = 9;
  std::int32_t message = 9;
  const GlObjectId group = Id("R/#T1/G");
  EXPECT_FALSE(W5GRX_IsCompatible(0, 0, 0, 0, Id("R/C/F.R"), group, code, message, kTr)); // REAL to a group
  EXPECT_EQ(code, 4);
  EXPECT_EQ(message, 0);
  EXPECT_TRUE(W5GRX_IsCompatible(0, 0, 0, 0, Id("R/C/F.B"), group, code, message, kTr));
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(W5GRX_IsCompatible(0, 0, 0, 0, Id("R/C/F.Q"), Id("R/C/F.U"), code, message, kTr));      // DINT to UDINT
  EXPECT_FALSE(W5GRX_IsCompatible(0, 0, 0, 0, Id("R/C/A.OUT"), Id("R/C/A.IN1"), code, message, kTr)); // LINT to DINT
  EXPECT_EQ(code, 1);
  EXPECT_FALSE(W5GRX_IsCompatible(0, 0, 0, 0, Id("R/C"), Id("R/C/A.IN1"), code, message, kTr));
  // The type names cannot be read: the data types read before them decide.
  ASSERT_EQ(db.InjectFault("iec_BlobLengthGet", 0x20108, 1, 0), 0);
  GlDataType type = 0;
  std::string typeName;
  bool flag = true;
  EXPECT_FALSE(W5GRX_TypeNameFromVarId(Id("R/C/F.Q"), type, typeName, flag, kTr));
  EXPECT_EQ(type, IEC_DINT); // set before the failing step
  code = 9;
  EXPECT_TRUE(W5GRX_IsCompatible(0, 0, 0, 0, Id("R/C/F.Q"), Id("R/C/F.U"), code, message, kTr));
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(W5GRX_IsCompatible(0, 0, 0, 0, Id("R/C/F.R"), group, code, message, kTr));
  EXPECT_EQ(code, 4);
  db.ClearFaults();
}

TEST(ProcessImageTest, AddressesAcceptedAndRejected) {
  std::string address, typeName;
  std::uint32_t es = 0;
  GlDataType iec = 0;
  bool input = false;
  EXPECT_TRUE(W5GRX_IsProzessAbbild("  %i0.7 ", address, es, iec, typeName, input));
  EXPECT_EQ(address, "%I0.7");
  EXPECT_EQ(typeName, "BOOL");
  EXPECT_TRUE(input);
  EXPECT_TRUE(W5GRX_IsProzessAbbild("%qd100", address, es, iec, typeName, input));
  EXPECT_EQ(address, "%QD100");
  EXPECT_EQ(es, 4u);
  EXPECT_EQ(iec, IEC_DWORD);
  EXPECT_FALSE(input);
  EXPECT_TRUE(W5GRX_IsProzessAbbild("%IW12", address, es, iec, typeName, input));
  EXPECT_EQ(iec, IEC_WORD);
  EXPECT_TRUE(W5GRX_IsProzessAbbild("%ib0", address, es, iec, typeName, input));
  EXPECT_EQ(address, "%IB0");
  for (const char* bad : {"%M0.0", "%IX0.0", "%I0.", "%IW", "%IW2x", "I0.0", "", "%", "%Q", "%I0.1 x"}) {
    EXPECT_FALSE(W5GRX_IsProzessAbbild(bad, address, es, iec, typeName, input)) << bad;
  }
  // The address proper must be shorter than 64 characters: 63 pass, 64 do not.
  EXPECT_TRUE(W5GRX_IsProzessAbbild("%IB" + std::string(60, '1'), address, es, iec, typeName, input));
  EXPECT_FALSE(W5GRX_IsProzessAbbild("%IB" + std::string(61, '1'), address, es, iec, typeName, input));
}

} // namespace
} // namespace grx::testing
