// Blob records as the library's exports use them: against projects of the chart-database
// stand-in, attached by the extension factory, read lazily, with busy objects and foreign
// versions injected.
#include <chrono>
#include <map>

#include "blob/blob_block.h"
#include "blob/blob_block_type.h"
#include "blob/blob_cfc_var.h"
#include "blob/blob_global_var.h"
#include "blob/blob_processing_group.h"
#include "blob/blob_resource.h"
#include "blob/blob_task.h"
#include "blob/blob_top_level_cfc.h"
#include "blob/blob_var.h"
#include "blob/blob_var_element.h"
#include "blob/blob_var_type.h"
#include "blob/zeb_iec_obj_factory.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/open_data_exception.h"
#include "recording_trace.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

using ::testing::ElementsAre;

class BlobRecordsTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(SmallProjectJson());
    manager_ = OpenData::CIecObjManager::GetInstance();
    manager_->Clear_i();
    manager_->SetFactory(CZebIecObjFactory::GetInstance());
  }
  void TearDown() override {
    manager_->Clear_i();
    manager_->SetFactory(OpenData::CIecObjFactory::GetInstance());
    StandInTest::TearDown();
  }
  // The record the factory attached to the object of the path.
  template <class Record>
  Record* RecordOf(const std::string& path) {
    OpenData::CIecObject* object = manager_->FindIecObject(OpenData::CIecObjId(Id(path)));
    return object ? dynamic_cast<Record*>(object->GetExtension(EXTENSION_KEY_BLOB)) : nullptr;
  }
  std::vector<std::uint8_t> StoredBlob(GlObjectId id) {
    std::uint32_t length = 0;
    EXPECT_EQ(Err(db.iec_BlobLengthGet(id, length, kTr)), 0u);
    std::vector<std::uint8_t> bytes(length);
    std::uint32_t actual = 0;
    if (length) {
      EXPECT_EQ(Err(db.iec_BlobRead(id, length, actual, bytes.data(), kTr)), 0u);
    }
    return bytes;
  }
  void Store(GlObjectId id, const std::vector<std::uint8_t>& bytes) {
    ASSERT_EQ(Err(db.iec_BlobWrite(id, static_cast<std::uint32_t>(bytes.size()), bytes.data(), kTr)), 0u);
  }
  std::vector<std::uint8_t> MapWithVersion(std::uint32_t version) {
    CBlobMap map;
    map.SetVersion(version);
    map.SetAt<BLOB_ATTR_TEXT>("name", "stored");
    return map.Encode(0);
  }

  OpenData::CIecObjManager* manager_ = nullptr;
};

TEST_F(BlobRecordsTest, TheFactoryAttachesTheRecordOfEachKind) {
  EXPECT_NE(RecordOf<CBlobBlockType>("R/%AXIS"), nullptr);
  EXPECT_NE(RecordOf<CBlobBlockType>("R/%ADD"), nullptr);
  EXPECT_NE(RecordOf<CBlobVarType>("R/%AXIS.REF"), nullptr);
  EXPECT_NE(RecordOf<CBlobVarTypeElement>("R/%AXIS.REF.Nr"), nullptr);
  EXPECT_NE(RecordOf<CBlobGlobalVar>("R/@gA"), nullptr);
  EXPECT_NE(RecordOf<CBlobTask>("R/#T1"), nullptr);
  EXPECT_NE(RecordOf<CBlobProcessingGroup>("R/#T1/G1"), nullptr);
  EXPECT_NE(RecordOf<CBlobTopLevelCfc>("R/C1"), nullptr);
  EXPECT_EQ(RecordOf<CBlobTopLevelCfc>("R/C1/S1"), nullptr); // a sub-chart carries none
  EXPECT_NE(RecordOf<CBlobBlock>("R/C1/F1"), nullptr);
  EXPECT_EQ(RecordOf<CBlobObject>("R/C1/A1"), nullptr); // a function carries none
  EXPECT_NE(RecordOf<CBlobVar>("R/C1/A1.IN1"), nullptr);
  EXPECT_NE(RecordOf<CBlobVarElement>("R/C1/F1.REF.Nr"), nullptr);
  EXPECT_NE(RecordOf<CBlobCfcVar>("R/C1.X"), nullptr);
  EXPECT_EQ(RecordOf<CBlobObject>("R"), nullptr); // a resource's record is made by the exports
  // Attached, not read.
  ASSERT_EQ(db.ResetCallCounts(), 0);
  manager_->Clear_i();
  manager_->SetFactory(CZebIecObjFactory::GetInstance());
  EXPECT_FALSE(RecordOf<CBlobTask>("R/#T1")->IsLoaded());
  EXPECT_EQ(db.CallCount("iec_BlobLengthGet"), 0u);
}

// A factory derived from the extension factory sees every creation in its slots.
class CountingFactory : public CZebIecObjFactory {
public:
  std::map<std::string, int> calls;
#define GRX_COUNTED(slot)                                              \
  std::unique_ptr<OpenData::CIecObject> slot(GlObjectId id) override { \
    ++calls[#slot];                                                    \
    return CZebIecObjFactory::slot(id);                                \
  }
  GRX_COUNTED(CreateIecResource)
  GRX_COUNTED(CreateIecFunctionBlockType)
  GRX_COUNTED(CreateIecFunctionType)
  GRX_COUNTED(CreateIecInOutVarType)
  GRX_COUNTED(CreateIecGlobalVar)
  GRX_COUNTED(CreateIecTask)
  GRX_COUNTED(CreateIecProcessingGroup)
  GRX_COUNTED(CreateIecCfc)
  GRX_COUNTED(CreateIecFunctionBlock)
  GRX_COUNTED(CreateIecFunction)
  GRX_COUNTED(CreateIecInVar)
  GRX_COUNTED(CreateIecInOutVar)
  GRX_COUNTED(CreateIecVarTypeElement)
  GRX_COUNTED(CreateIecVarElement)
  GRX_COUNTED(CreateIecCfcInVar)
  GRX_COUNTED(CreateIecCfcOutVar)
#undef GRX_COUNTED
};

TEST_F(BlobRecordsTest, ADerivedFactorySeesEveryCreation) {
  CountingFactory factory;
  manager_->Clear_i();
  manager_->SetFactory(&factory);
  for (const char* path :
       {"R", "R/%AXIS", "R/%ADD", "R/%AXIS.REF", "R/@gA", "R/#T1", "R/#T1/G1", "R/C1", "R/C1/F1", "R/C1/A1",
        "R/C1/A1.IN1", "R/C1/F1.REF", "R/%AXIS.REF.Nr", "R/C1/F1.REF.Nr", "R/C1.X", "R/C1.Y"}) {
    ASSERT_NE(manager_->FindIecObject(OpenData::CIecObjId(Id(path))), nullptr) << path;
  }
  for (const char* slot :
       {"CreateIecResource", "CreateIecFunctionBlockType", "CreateIecFunctionType", "CreateIecInOutVarType",
        "CreateIecGlobalVar", "CreateIecTask", "CreateIecProcessingGroup", "CreateIecCfc", "CreateIecFunctionBlock",
        "CreateIecFunction", "CreateIecInVar", "CreateIecInOutVar", "CreateIecVarTypeElement", "CreateIecVarElement",
        "CreateIecCfcInVar", "CreateIecCfcOutVar"}) {
    EXPECT_EQ(factory.calls[slot], 1) << slot;
  }
  // The records were attached through the derived factory's base slots.
  EXPECT_NE(dynamic_cast<CBlobTask*>(
                manager_->FindIecObject(OpenData::CIecObjId(Id("R/#T1")))->GetExtension(EXTENSION_KEY_BLOB)),
            nullptr);
  manager_->Clear_i(); // the objects, with their records, go before the factory
  manager_->SetFactory(CZebIecObjFactory::GetInstance());
}

TEST_F(BlobRecordsTest, ObjectsWithoutBlobGiveTheDefaults) {
  auto* type = RecordOf<CBlobBlockType>("R/%AXIS");
  EXPECT_EQ(type->GetBlockCat(), BLKCAT_NDEF);
  EXPECT_EQ(type->GetInputCount(), 2);
  EXPECT_TRUE(type->IsLoaded());
  EXPECT_TRUE(type->IsEmpty());
  EXPECT_TRUE(type->IsVersionOk());
  auto* group = RecordOf<CBlobProcessingGroup>("R/#T1/G1");
  EXPECT_EQ(group->GetXMLid(), 65535);
  EXPECT_EQ(group->GetTaskId(), 0u);
  EXPECT_EQ(group->GetOwnerId(), 0u);
  EXPECT_EQ(RecordOf<CBlobTask>("R/#T1")->GetName(), "");
  EXPECT_TRUE(CBlobResource(Id("R"), kTr).GetNames().empty());
  CBlobResource unread(0, kTr); // identifier 0: loaded with the defaults, nothing read
  EXPECT_TRUE(unread.IsLoaded());
}

TEST_F(BlobRecordsTest, EveryKindWritesAndReadsBack) {
  const GlObjectId task = Id("R/#T1");
  {
    CBlobTask record(0, kTr);
    record.SetName("T1");
    record.SetTaskId(3);
    record.Write(task, kTr);
  }
  CBlobTask back(task, kTr);
  EXPECT_EQ(back.GetName(), "T1");
  EXPECT_EQ(back.GetTaskId(), 3u);
  EXPECT_FALSE(back.IsEmpty());

  auto* type = RecordOf<CBlobBlockType>("R/%AXIS");
  type->SetBlockCat(BLKCAT_LIB);
  type->SetLibrary("MCL");
  type->SetMajor(BlobVariant::Int32(4));
  type->SetInputCount(5);
  type->Write_i();
  CBlobBlockType typeBack(Id("R/%AXIS"), kTr);
  EXPECT_EQ(typeBack.GetBlockCat(), BLKCAT_LIB);
  EXPECT_EQ(typeBack.GetLibrary(), "MCL");
  EXPECT_EQ(typeBack.GetMajor(), BlobVariant::Int32(4));
  EXPECT_EQ(typeBack.GetInputCount(), 5);

  auto* chart = RecordOf<CBlobTopLevelCfc>("R/C1");
  chart->SetVersion("V7.1");
  chart->AddChangedPin(5);
  chart->AddChangedPin(5);
  chart->AddChangedPin(6);
  chart->RemoveChangedPin(5);
  chart->SetLibCommentOf("de", "Kommentar f\xFCr den Plan");
  chart->SetIsPlanProtected(true);
  chart->Write_i();
  CBlobTopLevelCfc chartBack(Id("R/C1"), kTr);
  EXPECT_THAT(chartBack.GetChangedPins(), ElementsAre(6u));
  EXPECT_EQ(chartBack.GetVersion(), "V7.1");
  std::string comment;
  EXPECT_TRUE(chartBack.LookupLibComment("de", comment));
  EXPECT_EQ(comment, "Kommentar f\xFCr den Plan");
  EXPECT_TRUE(chartBack.GetIsPlanProtected());

  CBlobResource resource(Id("R"), kTr);
  const GUID g{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  resource.AddLibElement("Motion", "V1", 7, g, g, true, {g});
  resource.AddLibElement("Motion", "V2", 7, {}, {}, false, {}); // another version: a new entry
  resource.AddLibElement("Motion", "V1", 9, {}, g, false, {});  // same name and version: updated
  resource.SetVersion("V7.1");
  resource.SetCfcOnlineState(true);
  resource.Write(Id("R"), kTr);
  CBlobResource resourceBack(Id("R"), kTr);
  EXPECT_THAT(resourceBack.GetNames(), ElementsAre("Motion", "Motion"));
  EXPECT_THAT(resourceBack.GetLanguageIds(), ElementsAre(9u, 7u));
  EXPECT_THAT(resourceBack.GetAreLibs(), ElementsAre(false, false));
  EXPECT_TRUE(resourceBack.GetCfcOnlineState());
  const CTPAttribsList& elements = resourceBack.GetLibElements();
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0]->m_strTPVersion, "V1");
  EXPECT_EQ(elements[0]->m_interfaceGuid, g);

  // Parameter and element records write nothing.
  const GlObjectId in1 = Id("R/C1/A1.IN1");
  CBlobVar(0, kTr).Write(in1, kTr);
  CBlobVarElement(0, kTr).Write(Id("R/C1/F1.REF.Nr"), kTr);
  EXPECT_TRUE(StoredBlob(in1).empty());
  EXPECT_TRUE(StoredBlob(Id("R/C1/F1.REF.Nr")).empty());
}

TEST_F(BlobRecordsTest, AVersionOneResourceIsReadIntoTheLists) {
  CBlobMap map;
  map.SetVersion(1);
  CTPAttribsList packages;
  for (const char* name : {"A", "B", "C"}) {
    auto p = std::make_unique<CTPAttribs>();
    p->m_strName = name;
    p->m_strTPVersion = std::string("V") + name;
    p->m_nLanguageId = 7;
    packages.push_back(std::move(p));
  }
  map.SetAt<BLOB_ATTR_OBJECT_LIST>("elements", packages);
  map.SetAt<BLOB_ATTR_TEXT>("version", "V5.0");
  Store(Id("R"), map.Encode(Id("R")));
  CBlobResource resource(Id("R"), kTr);
  EXPECT_TRUE(resource.IsVersionOk());
  EXPECT_THAT(resource.GetNames(), ElementsAre("A", "B", "C"));
  EXPECT_THAT(resource.GetTPVersions(), ElementsAre("VA", "VB", "VC"));
  EXPECT_THAT(resource.GetLanguageIds(), ElementsAre(7u, 7u, 7u));
  EXPECT_EQ(resource.GetRtTypeGuids(), std::vector<GUID>(3));
  EXPECT_EQ(resource.GetInterfaceGuids(), std::vector<GUID>(3));
  EXPECT_THAT(resource.GetAreLibs(), ElementsAre(false, false, false));
  EXPECT_EQ(resource.GetTypeIDMappedTPs(), std::vector<std::vector<GUID>>(3));
  EXPECT_EQ(resource.GetVersion(), "V5.0");

  // Read again, after the packages were asked for, it holds the three packages once.
  EXPECT_EQ(resource.GetLibElements().size(), 3u);
  resource.Read(Id("R"), kTr);
  EXPECT_THAT(resource.GetNames(), ElementsAre("A", "B", "C"));
  EXPECT_EQ(resource.GetLibElements().size(), 3u);
}

TEST_F(BlobRecordsTest, ParallelListsArePaddedAndCut) {
  CBlobMap map;
  map.SetVersion(2);
  map.SetAt<BLOB_ATTR_TEXT_LIST>("names", {"A", "B"});
  map.SetAt<BLOB_ATTR_TEXT_LIST>("TPVersions", {"V1", "V2", "V3"}); // one too many
  map.SetAt<BLOB_ATTR_UINT_LIST>("languageIds", {7});               // one too few
  Store(Id("R"), map.Encode(Id("R")));
  CBlobResource resource(Id("R"), kTr);
  EXPECT_THAT(resource.GetTPVersions(), ElementsAre("V1", "V2"));
  EXPECT_THAT(resource.GetLanguageIds(), ElementsAre(7u, 0u));
  EXPECT_THAT(resource.GetAreLibs(), ElementsAre(false, false));
}

TEST_F(BlobRecordsTest, AForeignVersionIsDeletedOnLazyLoadOnly) {
  const GlObjectId task = Id("R/#T1");
  Store(task, MapWithVersion(3));
  CBlobTask direct(task, kTr); // a direct read only marks the record
  EXPECT_FALSE(direct.IsVersionOk());
  EXPECT_FALSE(direct.IsEmpty());
  EXPECT_EQ(direct.GetName(), "");
  EXPECT_FALSE(StoredBlob(task).empty());
  auto* lazy = RecordOf<CBlobTask>("R/#T1");
  EXPECT_EQ(lazy->GetName(), ""); // loads, finds version 3, deletes the blob
  EXPECT_FALSE(lazy->IsVersionOk());
  EXPECT_TRUE(StoredBlob(task).empty());
  // The right version is read.
  manager_->Clear_i();
  manager_->SetFactory(CZebIecObjFactory::GetInstance());
  Store(task, MapWithVersion(4));
  EXPECT_EQ(RecordOf<CBlobTask>("R/#T1")->GetName(), "stored");
}

TEST_F(BlobRecordsTest, ABusyObjectIsAskedOnceMoreAfterAPause) {
  const GlObjectId task = Id("R/#T1");
  Store(task, MapWithVersion(4));
  ASSERT_EQ(db.InjectFault("iec_BlobLengthGet", GL_ERR_OBJECT_BUSY, 1, 1), 0);
  const auto start = std::chrono::steady_clock::now();
  CBlobTask once(task, kTr);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
  EXPECT_EQ(once.GetName(), "stored");

  // Busy twice: reported through the error handler, the record keeps its defaults.
  std::uint32_t lastError = 0;
  const std::uint64_t handled = db.ErrorHandlerCalls(&lastError);
  ASSERT_EQ(db.InjectFault("iec_BlobRead", GL_ERR_OBJECT_BUSY, 1, 2), 0);
  CBlobTask twice(task, kTr);
  EXPECT_EQ(twice.GetName(), "");
  EXPECT_TRUE(twice.IsEmpty());
  EXPECT_EQ(db.ErrorHandlerCalls(&lastError), handled + 1);
  EXPECT_EQ(lastError, static_cast<std::uint32_t>(GL_ERR_OBJECT_BUSY));

  // Any other error is thrown; writing is never retried.
  ASSERT_EQ(db.InjectFault("iec_BlobLengthGet", 0x2077, 1, 1), 0);
  EXPECT_THROW(CBlobTask(task, kTr), OpenData::COpenDataException);
  ASSERT_EQ(db.InjectFault("iec_BlobWrite", GL_ERR_OBJECT_BUSY, 1, 1), 0);
  EXPECT_THROW(CBlobTask(0, kTr).Write(task, kTr), OpenData::COpenDataException);
  EXPECT_EQ(db.CallCount("iec_BlobWrite"), 2u); // the Store above and the failed one
}

TEST_F(BlobRecordsTest, ReadingCostsOneLengthQueryAndOneRead) {
  const GlObjectId task = Id("R/#T1");
  Store(task, MapWithVersion(4));
  ASSERT_EQ(db.ResetCallCounts(), 0);
  CBlobTask record(task, kTr);
  EXPECT_EQ(db.CallCount("iec_BlobLengthGet"), 1u);
  EXPECT_EQ(db.CallCount("iec_BlobRead"), 1u);
}

TEST_F(BlobRecordsTest, ClearKeepsWhatTheKindSaysItKeeps) {
  auto* pin = RecordOf<CBlobCfcVar>("R/C1.X");
  CBlobStringMap comments;
  comments.SetAt("en", "speed");
  pin->SetLibPinComment(comments);
  pin->Read(Id("R/C1.X"), kTr); // the pin has no blob: Clear_i keeps the comments
  EXPECT_EQ(pin->GetLibPinComment(), comments);
  auto* chart = RecordOf<CBlobTopLevelCfc>("R/C1");
  chart->SetLibFamily("Drives");
  chart->SetVersion("V1");
  chart->Read(Id("R/C1"), kTr);
  EXPECT_EQ(chart->GetLibFamily(), "Drives");
  EXPECT_EQ(chart->GetVersion(), "");
}

TEST_F(BlobRecordsTest, TheDumpTracesEveryField) {
  RecordingTrace sink;
  ZEB::CObject::SetTrace(&sink);
  CBlobObject::SetDump(true);
  CBlobBlockType type(0, kTr);
  type.SetBlockCat(BLKCAT_SYS);
  type.Write(Id("R/%ADD"), kTr);
  CBlobObject::SetDump(false);
  ZEB::CObject::ResetTrace();
  EXPECT_THAT(sink.lines, ::testing::Contains("6 CBlobBlockType::Write: blockCat = BLKCAT_SYS"));
  EXPECT_THAT(sink.lines, ::testing::Contains("6 CBlobBlockType::Write: inputCount = 2"));
}

} // namespace
} // namespace grx::testing
