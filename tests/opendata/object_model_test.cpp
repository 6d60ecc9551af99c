// The IEC object model against stand-in projects, as the exports use it.
#include <thread>

#include "opendata/iec_block.h"
#include "opendata/iec_block_type.h"
#include "opendata/iec_cfc.h"
#include "opendata/iec_cfc_var.h"
#include "opendata/iec_connection.h"
#include "opendata/iec_global_var.h"
#include "opendata/iec_obj_factory.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_processing_group.h"
#include "opendata/iec_resource.h"
#include "opendata/iec_task.h"
#include "opendata/iec_var.h"
#include "opendata/iec_var_element.h"
#include "opendata/iec_var_type.h"
#include "opendata/iec_visitor.h"
#include "opendata/open_data_exception.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

using namespace OpenData;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ObjectModelTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(SmallProjectJson());
    manager_ = CIecObjManager::GetInstance();
    manager_->Clear_i();
    // The plain factory: an export earlier in this thread may have left the blob records' one.
    manager_->SetFactory(CIecObjFactory::GetInstance());
  }
  void TearDown() override {
    manager_->Clear_i();
    StandInTest::TearDown();
  }

  template <class T>
  T* Object(const std::string& path, IEC_OBJECT_TYPE type = IEC_OBJ_NULL) {
    T* object = dynamic_cast<T*>(manager_->FindIecObject(CIecObjId(Id(path)), type));
    EXPECT_NE(object, nullptr) << path;
    return object;
  }

  template <class Exception, class Call>
  std::string MessageOf(Call&& call) {
    try {
      call();
    } catch (const Exception& e) {
      return e.GetMessage();
    }
    ADD_FAILURE() << "no exception";
    return {};
  }

  std::vector<std::string> Names(const std::vector<CIecObject*>& objects) {
    std::vector<std::string> names;
    for (CIecObject* o : objects) names.push_back(o ? o->GetName() : "(null)");
    return names;
  }

  CIecObjManager* manager_ = nullptr;
};

TEST_F(ObjectModelTest, OneObjectPerIdentifierUntilCleared) {
  CIecObject* byLookup = manager_->FindIecObject(CIecObjId(Id("R/C1/A1")));
  CIecObject* explicitType = manager_->FindIecObject(CIecObjId(Id("R/C1/A1")), IEC_OBJ_FUNCTION);
  EXPECT_EQ(byLookup, explicitType);
  EXPECT_NE(dynamic_cast<CIecFunction*>(byLookup), nullptr);
  manager_->SetTransactionId(7);
  EXPECT_EQ(manager_->GetTransactionId(), 7);
  manager_->Clear_i();
  EXPECT_EQ(manager_->GetTransactionId(), kNoTransaction);
  ASSERT_EQ(db.ResetCallCounts(), 0);
  manager_->FindIecObject(CIecObjId(Id("R/C1/A1")));
  EXPECT_EQ(db.CallCount("iec_ObjectTypeGet"), 2u); // asked again: once by the manager, once by the factory
}

TEST_F(ObjectModelTest, WrongTypesNewIdentifiersAndUnsupportedTypes) {
  const GlObjectId a1 = Id("R/C1/A1");
  EXPECT_EQ(
      MessageOf<ZEB::CInvalidArgException>([&] { manager_->FindIecObject(CIecObjId(a1), IEC_OBJ_CFC); }),
      "Invalid argument exception: The object identified by <roid> is not of the type specified in <iecObjectType>.");
  EXPECT_NE(dynamic_cast<CIecFunction*>(manager_->FindIecObject(CIecObjId(a1), IEC_OBJ_FUNCTION)), nullptr);
  EXPECT_EQ(MessageOf<ZEB::CIllegalStateException>([&] { manager_->FindIecObject(CIecObjId(a1, true)); }),
            "Illegal state exception: Cannot determine the type of a persistent object, that doesn't exist in the "
            "persistent storage.");
  EXPECT_EQ(MessageOf<ZEB::CIllegalStateException>([&] { manager_->FindIecObject(CIecObjId(a1, true), IEC_OBJ_CFC); }),
            "Illegal state exception: <roid> with IsNew() = true is currently not supported.");
  EXPECT_EQ(MessageOf<ZEB::CIllegalStateException>([&] { manager_->FindIecObject(CIecObjId(a1), 20); }),
            "Illegal state exception: No mapper available for IEC_OBJECT_TYPE = 20.");
  try {
    manager_->FindIecObject(CIecObjId(0x999));
    ADD_FAILURE();
  } catch (const OpenData::COpenDataException& e) {
    EXPECT_EQ(e.GetMessage(), "OPEN-DATA exception: iec_ObjectTypeGet failed.");
    EXPECT_EQ(e.GetApiResult() & 0xFFFFFF, 0x20101u);
  }
  EXPECT_THROW(manager_->SetFactory(nullptr), ZEB::CInvalidArgException);
}

TEST_F(ObjectModelTest, NamesAndRecordsAreReadLazilyAndAgainAfterAFailure) {
  auto* chart = Object<CIecCfc>("R/C1");
  ASSERT_EQ(db.InjectFault("iec_CfcRead", 0x777, 1, 1), 0);
  EXPECT_EQ(MessageOf<OpenData::COpenDataException>([&] { chart->GetName(); }),
            "OPEN-DATA exception: iec_CfcRead failed.");
  EXPECT_EQ(chart->GetName(), "C1");
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_EQ(chart->GetName(), "C1");
  EXPECT_EQ(db.CallCount("iec_CfcRead"), 0u);
  EXPECT_EQ(chart->GetComment(), "first chart");
  EXPECT_NE(chart->GetTimeStamp(), nullptr);
  EXPECT_EQ(Object<CIecGlobalVar>("R/@gA")->GetName(), "gA");
  EXPECT_EQ(Object<CIecTask>("R/#T1")->GetName(), "T1");
  EXPECT_EQ(Object<CIecResource>("R")->GetName(), "R");
  EXPECT_TRUE(Object<CIecFunctionBlockType>("R/%AXIS")->IsRecordFlagSet());
  EXPECT_EQ(Object<CIecFunctionType>("R/%ADD")->GetName(), "ADD");
}

TEST_F(ObjectModelTest, ControllerWithTheBusyRetry) {
  auto* block = Object<CIecFunction>("R/C1/A1");
  ASSERT_EQ(db.InjectFault("gl_CpuIdGet", GL_ERR_OBJECT_BUSY, 1, 1), 0);
  EXPECT_EQ(block->GetCpuId(), Id("R"));
  EXPECT_EQ(block->GetResource()->GetName(), "R");
  auto* other = Object<CIecFunctionBlock>("R/C1/F1");
  ASSERT_EQ(db.InjectFault("gl_CpuIdGet", GL_ERR_OBJECT_BUSY, 1, 2), 0);
  EXPECT_EQ(MessageOf<OpenData::COpenDataException>([&] { other->GetCpuId(); }),
            "OPEN-DATA exception: gl_CpuIdGet failed.");
}

TEST_F(ObjectModelTest, AttributesPathsAndExtensions) {
  auto* chart = Object<CIecCfc>("R/C1");
  EXPECT_EQ(chart->GetUda("Owner"), nullptr);
  EXPECT_EQ(chart->UpdateUda("Owner", "team", true), 0u);   // created
  EXPECT_EQ(chart->UpdateUda("Missing", "x", false), 223u); // only updated: there is none
  EXPECT_EQ(chart->UpdateUda("Second", "y", true), 0u);
  ASSERT_NE(chart->GetUda("Owner"), nullptr);
  EXPECT_EQ(chart->GetUda("Owner")->GetValue(), "team");
  // A name beyond the 24 characters the database keeps finds the attribute those 24 name, from
  // the cache, and leaves the attribute handed out before alive.
  const std::string stored = "Responsible_engineer_123";
  ASSERT_EQ(stored.size(), 24u);
  EXPECT_EQ(chart->UpdateUda(stored, "mk", true), 0u);
  CUda* first = chart->GetUda(stored + "4");
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_EQ(chart->GetUda(stored + "45"), first);
  EXPECT_EQ(chart->GetUda(stored), first);
  EXPECT_EQ(first->GetName(), stored);
  EXPECT_EQ(db.CallCount("gl_UdaGet"), 0u);
  auto udas = chart->GetUdas();
  ASSERT_EQ(udas->size(), 3u);
  EXPECT_EQ((*udas)[0]->GetName(), "Owner"); // in name order
  EXPECT_TRUE(chart->RemoveUda("Owner"));
  EXPECT_FALSE(chart->RemoveUda("Owner"));
  EXPECT_EQ(chart->GetLogicalPath(1, true)->GetPath(), "Small.R");
  EXPECT_EQ(chart->GetLogicalPath(1, true), chart->GetLogicalPath(1, true));
  std::string file;
  EXPECT_EQ(chart->GetProjectPath(&file), "C:\\P");
  EXPECT_EQ(file, "small.q3p");

  auto extension = std::make_unique<CIecObjExtension>();
  CIecObjExtension* raw = extension.get();
  chart->AddExtension(1, std::move(extension));
  EXPECT_EQ(raw->GetSubject(), chart);
  EXPECT_EQ(chart->GetExtension(1), raw);
  EXPECT_THROW(chart->AddExtension(1, std::make_unique<CIecObjExtension>()), ZEB::CIllegalStateException);
  EXPECT_EQ(chart->GetExtension(1), raw);
  // An extension that another object owns is refused and stays with its owner, alive (ASan
  // watches for the use after free and the double free this once caused).
  auto* other = Object<CIecCfc>("R/C2");
  std::unique_ptr<CIecObjExtension> owned(chart->GetExtension(1));
  EXPECT_EQ(MessageOf<ZEB::CIllegalStateException>([&] { other->AddExtension(2, std::move(owned)); }),
            "Illegal state exception: This extension already has an owning subject.");
  EXPECT_EQ(chart->GetExtension(1), raw);
  EXPECT_EQ(raw->GetSubject(), chart);
  EXPECT_EQ(other->GetExtension(2), nullptr);
  EXPECT_TRUE(chart->RemoveExtension(1));
  EXPECT_FALSE(chart->RemoveExtension(1));
  EXPECT_THROW(CIecObjExtension().GetSubject(), ZEB::CIllegalStateException);
}

TEST_F(ObjectModelTest, ContainersListTheirMembers) {
  auto* resource = Object<CIecResource>("R");
  EXPECT_THAT(Names(*resource->GetChildren(nullptr)), ElementsAre("gA", "gB", "C1", "C2", "T1", "T9"));
  const std::vector<IEC_OBJECT_TYPE> tasksOnly{IEC_OBJ_TASK};
  EXPECT_THAT(Names(*resource->GetChildren(&tasksOnly)), ElementsAre("T1", "T9"));
  const std::vector<IEC_OBJECT_TYPE> none;
  EXPECT_TRUE(resource->GetChildren(&none)->empty());
  EXPECT_EQ(MessageOf<ZEB::CInvalidArgException>([&] { resource->GetChartIds(0); }),
            "Invalid argument exception: <Filter> must be IEC_SELECT_IS_CFC.");

  auto* task = Object<CIecTask>("R/#T1");
  EXPECT_THAT(Names(*task->GetChildren(nullptr)), ElementsAre("G1", "G2"));
  EXPECT_THROW(task->GetChildren(&none), ZEB::CInvalidArgException);
  auto* group = Object<CIecProcessingGroup>("R/#T1/G1");
  EXPECT_THAT(Names(*group->GetChildren(nullptr)), ElementsAre("A1", "S1"));
  EXPECT_EQ(group->GetTask(), task);
  EXPECT_EQ(group->GetReduction(), 1);
  EXPECT_EQ(group->GetProcGroupElements()->size(), 2u);

  auto* chart = Object<CIecCfc>("R/C1");
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_EQ(chart->GetBlockIds(IEC_SELECT_IS_FUNCTION_BLOCK)->size(), 1u);
  EXPECT_EQ(chart->GetBlockIds(IEC_SELECT_IS_FUNCTION)->size(), 1u);
  EXPECT_EQ(chart->GetBlockIds(IEC_SELECT_IS_FUNCTION_BLOCK)->size(), 1u);
  EXPECT_EQ(db.CallCount("iec_CfcBlocksGet"), 2u); // one enumeration per filter, then the cache
  EXPECT_THROW(chart->GetBlockIds(0), ZEB::CInvalidArgException);
  EXPECT_THAT(Names(*chart->GetChildren(nullptr)), ElementsAre("X", "Y", "S1", "S2", "F1", "A1"));
  EXPECT_TRUE(Object<CIecCfc>("R/C2")->GetBlockIds(IEC_SELECT_IS_CFC)->empty());
}

TEST_F(ObjectModelTest, BlocksKnowTheirChartsAndTypes) {
  auto* a2 = Object<CIecFunction>("R/C1/S1/S11/A2");
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_EQ(a2->GetCfcIdRoot(), Id("R/C1"));
  EXPECT_EQ(db.CallCount("iec_BlockCfcGet"), 4u); // S11, S1, C1, then "in no chart"
  EXPECT_EQ(a2->GetCfc()->GetName(), "S11");
  EXPECT_EQ(a2->GetRootCfc()->GetName(), "C1");
  auto* root = Object<CIecCfc>("R/C1");
  EXPECT_EQ(root->GetCfcId(), 0u);
  EXPECT_EQ(root->GetCfc(), nullptr);
  EXPECT_EQ(root->GetRootCfc(), root);
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_EQ(root->GetCfcId(), 0u);
  EXPECT_EQ(db.CallCount("iec_BlockCfcGet"), 0u); // "in no chart" is remembered
  EXPECT_EQ(a2->GetBlockType()->GetName(), "ADD");
  EXPECT_THROW(a2->GetVarIds(16), ZEB::CInvalidArgException);
  EXPECT_THAT(Names(*a2->GetChildren(nullptr)), ElementsAre("IN1", "IN2", "OUT"));
  auto* fb = Object<CIecFunctionBlock>("R/C1/F1");
  fb->SetName("renamed");
  EXPECT_EQ(fb->GetName(), "renamed");
  fb->ResetName();
  EXPECT_EQ(fb->GetName(), "F1");
  EXPECT_TRUE(Object<CIecFunctionType>("R/%ADD")->GetChildren(nullptr)->empty());
}

TEST_F(ObjectModelTest, VariablesValuesAndTypes) {
  auto* in2 = Object<CIecInVar>("R/C1/A1.IN2");
  EXPECT_STREQ(in2->GetValue(), "2.0");
  EXPECT_EQ(in2->GetDataType(), IEC_REAL);
  EXPECT_EQ(in2->GetBlock()->GetName(), "A1");
  const std::string longValue(300, 'v');
  in2->SetValue(longValue);
  EXPECT_EQ(std::string(in2->GetValue()), std::string(256, 'v'));
  EXPECT_EQ(std::string(in2->RefreshValue()), std::string(256, 'v'));
  auto* ref = Object<CIecInOutVar>("R/C1/F1.REF");
  EXPECT_EQ(ref->GetIdentText2(), "Axis reference");
  EXPECT_EQ(ref->GetVarType()->GetName(), "REF");
  EXPECT_EQ(ref->GetVarType()->GetStructureElementIds()->size(), 2u);
  auto* x = Object<CIecCfcInVar>("R/C1.X");
  EXPECT_STREQ(x->GetValue(), "1.5");
  EXPECT_EQ(x->SetValue("3.5"), 0u);
  // A value the chart database refuses never reaches the cache.
  ASSERT_EQ(db.InjectFault("iec_CfcInVarUpdate", GL_ERR_OBJECT_BUSY, 1, 1), 0);
  EXPECT_THROW(x->SetValue("9.9"), OpenData::COpenDataException);
  EXPECT_STREQ(x->GetValue(), "3.5");
  ASSERT_EQ(db.InjectFault("iec_InVarUpdate", GL_ERR_OBJECT_BUSY, 1, 1), 0);
  EXPECT_THROW(in2->SetValue("7.0"), OpenData::COpenDataException);
  EXPECT_EQ(std::string(in2->GetValue()), std::string(256, 'v'));
  EXPECT_EQ(x->GetBlock()->GetName(), "C1");
  auto* y = Object<CIecCfcOutVar>("R/C1.Y");
  EXPECT_EQ(MessageOf<ZEB::CIllegalStateException>([&] { y->GetValue(); }),
            "Illegal state exception: A CFC output variable doesn't have a value.");
  auto* ga = Object<CIecGlobalVar>("R/@gA");
  EXPECT_EQ(MessageOf<ZEB::CIllegalStateException>([&] { ga->GetValue(); }),
            "Illegal state exception: A global variable doesn't have a value.");
  EXPECT_EQ(ga->GetBlock(), nullptr);
  EXPECT_TRUE(Object<CIecInVar>("R/C1/A1.IN1")->GetStructureElementIds()->empty());
  const std::vector<IEC_OBJECT_TYPE> none;
  EXPECT_TRUE(ref->GetChildren(&none)->empty());
}

TEST_F(ObjectModelTest, ElementsAndTheirRootVariable) {
  auto* ok = Object<CIecVarElement>("R/C1/F1.REF.St.Ok");
  EXPECT_EQ(ok->GetVar()->GetName(), "St");
  EXPECT_EQ(ok->GetRootVar()->GetName(), "REF");
  EXPECT_EQ(ok->GetBlock()->GetName(), "F1");
  EXPECT_STREQ(ok->GetValue(), "FALSE");
  EXPECT_EQ(ok->GetDataType(), IEC_BOOL);
  auto* typeElement = Object<CIecVarTypeElement>("R/%AXIS.REF.St");
  EXPECT_EQ(typeElement->GetDataType(), IEC_STRUCT);
  EXPECT_THAT(Names(*typeElement->GetChildren(nullptr)), ElementsAre("Ok"));
  EXPECT_TRUE(Object<CIecInVarType>("R/%ADD.IN1")->GetChildren(nullptr)->empty());
}

TEST_F(ObjectModelTest, ConnectionsComeFromListings) {
  auto* in1 = Object<CIecInVar>("R/C1/A1.IN1");
  auto* ga = Object<CIecGlobalVar>("R/@gA");
  EXPECT_THROW(manager_->FindIecConnection(CIecObjId(ga->GetId()), CIecObjId(in1->GetId())), ZEB::CInvalidArgException);
  ASSERT_EQ(db.ResetCallCounts(), 0);
  auto connections = in1->GetSourceConnections();
  ASSERT_EQ(connections->size(), 1u);
  EXPECT_EQ((*connections)[0]->GetSource()->GetName(), "gA");
  EXPECT_EQ((*connections)[0]->GetSink()->GetName(), "IN1");
  EXPECT_EQ((*connections)[0]->GetConnectionType(), IEC_CONNECTION_REAL);
  EXPECT_THROW((*connections)[0]->GetTextualRef(), ZEB::CIllegalStateException);
  in1->GetSourceConnections();
  EXPECT_EQ(db.CallCount("iec_SourcesGetV6_0"), 1u); // one call delivered the only source (166); then the cache
  EXPECT_NE(manager_->FindIecConnection(CIecObjId(ga->GetId()), CIecObjId(in1->GetId())), nullptr);

  auto* out = Object<CIecFunction>("R/C1/A1");
  (void)out;
  auto* aOut = Object<CIecOutVar>("R/C1/A1.OUT");
  auto sinks = aOut->GetSinks();
  ASSERT_EQ(sinks->size(), 2u);
  EXPECT_EQ((*sinks)[0]->GetName(), "Y");
  EXPECT_EQ((*sinks)[1]->GetName(), "gA");
  EXPECT_EQ((*aOut->GetSinkConnections())[1]->GetConnectionType(), IEC_CONNECTION_NONE);

  auto* textual = Object<CIecInVar>("R/C1/S1/S11/A2.IN1");
  auto sources = textual->GetSources();
  ASSERT_EQ(sources->size(), 1u);
  EXPECT_EQ((*sources)[0], nullptr);
  auto textualConnections = textual->GetSourceConnections();
  EXPECT_EQ((*textualConnections)[0]->GetSource(), nullptr);
  EXPECT_EQ((*textualConnections)[0]->GetConnectionType(), IEC_TEXTUAL_REF_TYPE);
  EXPECT_EQ((*textualConnections)[0]->GetTextualRef(), "OTHER.OUT");
}

TEST_F(ObjectModelTest, EveryTextualReferenceIntoOneSinkIsKept) {
  Load(R"({"controllers": [{"name": "R",
    "blockTypes": [{"name": "ADD", "kind": "function", "parameters": [{"name": "IN1"}, {"name": "OUT", "direction": "out"}]}],
    "charts": [{"name": "C", "blocks": [{"name": "A", "type": "ADD"}, {"name": "B", "type": "ADD"}]}],
    "connections": [{"text": "FIRST.OUT", "to": "C/A.IN1"}, {"from": "C/B.OUT", "to": "C/A.IN1", "kind": "no-connection"},
                    {"text": "SECOND.OUT", "to": "C/A.IN1"}]}]})");
  manager_->Clear_i();
  auto* in1 = Object<CIecInVar>("R/C/A.IN1");
  std::vector<std::string> seen;
  const auto connections = in1->GetSourceConnections();
  for (CIecConnection* c : *connections) {
    seen.push_back(c->GetConnectionType() == IEC_TEXTUAL_REF_TYPE ? c->GetTextualRef() : c->GetSource()->GetName());
  }
  EXPECT_THAT(seen, ElementsAre("FIRST.OUT", "OUT", "SECOND.OUT"));
  // Each reference is its own connection; the first of the pair is the one found without an
  // occurrence.
  EXPECT_EQ(manager_->FindIecConnection(CIecObjId(0), CIecObjId(in1->GetId()))->GetTextualRef(), "FIRST.OUT");
  EXPECT_EQ(manager_->FindIecConnection(CIecObjId(0), CIecObjId(in1->GetId()), 1)->GetTextualRef(), "SECOND.OUT");
  EXPECT_THROW(manager_->FindIecConnection(CIecObjId(0), CIecObjId(in1->GetId()), 2), ZEB::CInvalidArgException);
}

// Hosts reach connection ends through IIecSource and IIecSink; every kind of variable answers
// there with its own lists.
TEST_F(ObjectModelTest, ConnectionEndsAnswerThroughTheirInterfaces) {
  struct End {
    std::string path;
    bool source, sink;
  };
  for (const End& end :
       {End{"R/@gA", true, true}, End{"R/C1.X", true, true}, End{"R/C1.Y", true, true}, End{"R/C1/A1.OUT", true, false},
        End{"R/C1/A1.IN1", false, true}, End{"R/C1/F1.REF", false, true}}) {
    auto* object = Object<CIecObject>(end.path);
    ASSERT_NE(object, nullptr);
    auto* source = dynamic_cast<IIecSource*>(object);
    auto* sink = dynamic_cast<IIecSink*>(object);
    EXPECT_EQ(source != nullptr, end.source) << end.path;
    EXPECT_EQ(sink != nullptr, end.sink) << end.path;
    if (source) {
      EXPECT_EQ(source->GetName(), object->GetName()) << end.path;
    }
    if (sink) {
      EXPECT_EQ(sink->GetName(), object->GetName()) << end.path;
    }
  }

  auto NamesOf = [](const auto& ends) {
    std::vector<std::string> names;
    for (auto* e : *ends) names.push_back(e ? e->GetName() : "(null)");
    return names;
  };
  auto* global = dynamic_cast<IIecSource*>(Object<CIecObject>("R/@gA"));
  EXPECT_THAT(NamesOf(global->GetSources()), ElementsAre("OUT"));
  EXPECT_EQ(global->GetSourceConnections()->size(), 1u);
  EXPECT_THAT(NamesOf(dynamic_cast<IIecSink*>(global)->GetSinks()), ElementsAre("IN1"));
  auto* chartOutput = dynamic_cast<IIecSource*>(Object<CIecObject>("R/C1.Y"));
  EXPECT_THAT(NamesOf(chartOutput->GetSources()), ElementsAre("OUT"));
  EXPECT_TRUE(dynamic_cast<IIecSink*>(chartOutput)->GetSinks()->empty());
  auto* blockOutput = dynamic_cast<IIecSource*>(Object<CIecObject>("R/C1/A1.OUT"));
  EXPECT_TRUE(blockOutput->GetSources()->empty());
  auto* blockInput = dynamic_cast<IIecSink*>(Object<CIecObject>("R/C1/A1.IN1"));
  EXPECT_TRUE(blockInput->GetSinks()->empty());
  EXPECT_TRUE(blockInput->GetSinkConnections()->empty());
}

// Walks a controller through the typed lists and the visitor hook, each object to the operation
// of its class.
class RecordingVisitor : public IIecVisitor {
public:
  std::vector<std::string> seen;
  void VisitResource(CIecResource& o) override { Add("resource", o); }
  void VisitInVarType(CIecInVarType& o) override { Add("inVarType", o); }
  void VisitOutVarType(CIecOutVarType& o) override { Add("outVarType", o); }
  void VisitInOutVarType(CIecInOutVarType& o) override { Add("inOutVarType", o); }
  void VisitVarTypeElement(CIecVarTypeElement& o) override { Add("varTypeElement", o); }
  void VisitFunctionBlockType(CIecFunctionBlockType& o) override { Add("functionBlockType", o); }
  void VisitFunctionType(CIecFunctionType& o) override { Add("functionType", o); }
  void VisitCfcInVar(CIecCfcInVar& o) override { Add("cfcInVar", o); }
  void VisitCfcOutVar(CIecCfcOutVar& o) override { Add("cfcOutVar", o); }
  void VisitCfcInOutVar(CIecCfcInOutVar& o) override { Add("cfcInOutVar", o); }
  void VisitGlobalVar(CIecGlobalVar& o) override { Add("globalVar", o); }
  void VisitInVar(CIecInVar& o) override { Add("inVar", o); }
  void VisitOutVar(CIecOutVar& o) override { Add("outVar", o); }
  void VisitInOutVar(CIecInOutVar& o) override { Add("inOutVar", o); }
  void VisitVarElement(CIecVarElement& o) override { Add("varElement", o); }
  void VisitTask(CIecTask& o) override { Add("task", o); }
  void VisitCfc(CIecCfc& o) override { Add("cfc", o); }
  void VisitFunctionBlock(CIecFunctionBlock& o) override { Add("functionBlock", o); }
  void VisitFunction(CIecFunction& o) override { Add("function", o); }
  void VisitProcessingGroup(CIecProcessingGroup& o) override { Add("processingGroup", o); }

private:
  void Add(const char* kind, CIecObject& o) { seen.push_back(std::string(kind) + " " + o.GetName()); }
};

TEST_F(ObjectModelTest, TypedListsAndTheVisitorReachEveryKind) {
  RecordingVisitor visitor;
  auto* resource = Object<CIecResource>("R");
  resource->Accept(visitor);
  const auto globals = resource->GetGlobalVars();
  for (CIecGlobalVar* global : *globals) global->Accept(visitor);
  const auto tasks = resource->GetTasks();
  for (CIecTask* task : *tasks) task->Accept(visitor);
  const auto charts = resource->GetCharts();
  for (CIecCfc* chart : *charts) chart->Accept(visitor);
  auto* adder = Object<CIecFunction>("R/C1/A1");
  adder->Accept(visitor);
  const auto inputs = adder->GetInVars();
  for (CIecInVar* input : *inputs) input->Accept(visitor);
  const auto outputs = adder->GetOutVars();
  for (CIecOutVar* output : *outputs) output->Accept(visitor);
  auto* axis = Object<CIecFunctionBlock>("R/C1/F1");
  axis->Accept(visitor);
  const auto references = axis->GetInOutVars();
  for (CIecInOutVar* reference : *references) reference->Accept(visitor);
  Object<CIecObject>("R/#T1/G1")->Accept(visitor);
  Object<CIecObject>("R/C1.X")->Accept(visitor);
  Object<CIecObject>("R/C1.Y")->Accept(visitor);
  EXPECT_THAT(visitor.seen,
              ElementsAre("resource R", "globalVar gA", "globalVar gB", "task T1", "task T9", "cfc C1", "cfc C2",
                          "function A1", "inVar IN1", "inVar IN2", "outVar OUT", "functionBlock F1", "inOutVar REF",
                          "processingGroup G1", "cfcInVar X", "cfcOutVar Y"));
}

// A processing group is a sink: what drives its enable input, its record and the controller's time
// stamps, read once and again after a failure.
TEST_F(ObjectModelTest, ProcessingGroupsAsSinksAndControllerTimeStamps) {
  manager_->Clear_i();
  Load(R"({"controllers": [{"name": "R", "globals": [{"name": "gRun", "type": "BOOL"}],
    "tasks": [{"name": "T1", "groups": [{"name": "G", "comment": "slow part", "reduction": 4, "phase": 2}]}],
    "connections": [{"from": "@gRun", "to": "#T1/G"}]}]})");
  auto* group = Object<CIecProcessingGroup>("R/#T1/G");
  EXPECT_EQ(group->GetComment(), "slow part");
  EXPECT_EQ(group->GetPhase(), 2);
  auto* sink = dynamic_cast<IIecSink*>(static_cast<CIecObject*>(group));
  ASSERT_NE(sink, nullptr);
  EXPECT_TRUE(sink->GetSinks()->empty());
  EXPECT_TRUE(sink->GetSinkConnections()->empty());
  auto sources = group->GetSources();
  ASSERT_EQ(sources->size(), 1u);
  EXPECT_EQ((*sources)[0]->GetName(), "gRun");
  auto connections = group->GetSourceConnections();
  ASSERT_EQ(connections->size(), 1u);
  EXPECT_EQ((*connections)[0]->GetSink()->GetName(), "G");
  group->ClearSources();
  EXPECT_EQ(group->GetSources()->size(), 1u);

  auto* resource = Object<CIecResource>("R");
  ASSERT_EQ(db.InjectFault("gl_TimeStampAlterationGet", 0x777, 1, 1), 0);
  EXPECT_EQ(MessageOf<OpenData::COpenDataException>([&] { resource->GetAlterationTime(); }),
            "OPEN-DATA exception: gl_TimeStampAlterationGet failed.");
  ASSERT_EQ(db.InjectFault("gl_TimeStampAsStructureAlterationGet", 0x777, 1, 1), 0);
  EXPECT_EQ(MessageOf<OpenData::COpenDataException>([&] { resource->GetStructureAlterationTime(); }),
            "OPEN-DATA exception: gl_TimeStampAsStructureAlterationGet failed.");
  const IEC_DateAndTime altered = resource->GetAlterationTime();
  resource->GetStructureAlterationTime();
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_EQ(resource->GetAlterationTime().days, altered.days);
  resource->GetStructureAlterationTime();
  EXPECT_EQ(db.CallCount("gl_TimeStampAlterationGet") + db.CallCount("gl_TimeStampAsStructureAlterationGet"), 0u);
}

TEST_F(ObjectModelTest, FactoryChecksConnectionEnds) {
  CIecObjFactory* factory = CIecObjFactory::GetInstance();
  const CIecTypedObjId global{CIecObjId(1), IEC_OBJ_GLOBAL_VAR}, nullSource{CIecObjId(0), IEC_OBJ_NULL},
      input{CIecObjId(2), IEC_OBJ_IN_VAR}, output{CIecObjId(3), IEC_OBJ_OUT_VAR};
  EXPECT_THROW(factory->CreateIecConnection(global, input, IEC_TEXTUAL_REF_TYPE, false, "x"),
               ZEB::CInvalidArgException);
  EXPECT_NE(factory->CreateIecConnection(nullSource, input, IEC_TEXTUAL_REF_TYPE, false, "x"), nullptr);
  EXPECT_THROW(factory->CreateIecConnection(input, input, IEC_CONNECTION_REAL, false, ""), ZEB::CInvalidArgException);
  EXPECT_THROW(factory->CreateIecConnection(global, output, IEC_CONNECTION_REAL, false, ""), ZEB::CInvalidArgException);
  EXPECT_EQ(factory, CIecObjFactory::GetInstance());
}

TEST_F(ObjectModelTest, EachThreadHasItsOwnManager) {
  const GlObjectId a1 = Id("R/C1/A1");
  CIecObject* here = manager_->FindIecObject(CIecObjId(a1));
  CIecObjManager* other = nullptr;
  CIecObject* there = nullptr;
  std::thread worker([&] {
    other = CIecObjManager::GetInstance();
    there = other->FindIecObject(CIecObjId(a1));
    EXPECT_EQ(there->GetName(), "A1");
  });
  worker.join();
  EXPECT_NE(other, manager_);
  EXPECT_NE(there, here);
  EXPECT_EQ(CIecObjManager::GetInstance(), manager_);
}

} // namespace
} // namespace grx::testing
