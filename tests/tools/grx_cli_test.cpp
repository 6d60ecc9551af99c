// grx as a person runs it: import, info, export, demo, and the errors for bad input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>
#include "chartdb/q3jdbmox_decorated_names.h"
#include "grx_cli_fixture.h"
#include "platform/com_lite.h"
#include "platform/dynamic_library.h"
#include "platform/file_search.h"
#include "platform/file_version.h"
#include "platform/help_requests.h"
#include "platform/help_viewer.h"
#include "platform/process.h"
#include "platform/terminal_input.h"
#include "w5comp/log_view.h"

namespace grx::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

// One call of every export on the demo project, with its answer.
const std::vector<std::pair<std::string, std::string>> kExportCalls = {
    {"W5GRX_IsSimpleType name=time_of_day", R"({"result":true,"esType":20,"iecType":18})"},
    {"W5GRX_CanCast from=BYTE to=SINT", R"({"result":true})"},
    {"W5GRX_IECType_FromES typeClass=0 esType=14", R"({"result":true,"iecType":8})"},
    {"W5GRX_CountInVarTypes first=D445_AXES/%LIM_R.MN,D445_AXES/%LIM_R.IN,D445_AXES/%LIM_R.MX", R"({"result":3})"},
    {"W5GRX_CountOutVarTypes first=D445_AXES/%LIM_R.OUT", R"({"result":1})"},
    {"W5GRX_CompareStructTypeList a=D445_AXES/%MC_POWER.AXIS b=D445_AXES/%MC_MOVEABS.AXIS", R"({"result":true})"},
    {"W5GRX_FindConnectedVar varId=D445_AXES/Axis1.ActPos",
     R"({"result":true,"foundId":"D445_AXES/Axis1/Pos1.POS","isBlockParam":true})"},
    {"W5GRX_TypeNameFromVarId objectId=D445_AXES/Axis1.SpeedSet",
     R"({"result":false,"iecType":8,"typeName":"","flag":false})"},
    {"W5GRX_IsProzessAbbild text=%qd100",
     R"({"result":true,"address":"%QD100","esType":4,"iecType":6,"typeName":"DWORD","isInput":false})"},
    {"W5GRX_NameFromVarId objectId=D445_AXES/Axis1/Move1.POS", R"({"result":true,"name":"Move1:POS"})"},
    {"W5GRX_IsFunctionBlockType varId=D445_AXES/Axis1/Move1.POS", R"({"result":false})"},
    {"W5GRX_GetGlobalVarFromVarId globalVarId=D445_AXES/@gLineSpeed",
     R"({"result":true,"name":"gLineSpeed","text":"Line speed [m/min]"})"},
    {"W5GRX_IsCompatible source=D445_AXES/Axis1/Pos1.POS sink=D445_AXES/Axis1/Lim1.IN",
     R"({"result":true,"code":0,"message":0})"},
    {"W5GRX_RootPlanFromName cpuId=D445_AXES name=axis1",
     R"({"result":true,"name":"Axis1","chartId":"D445_AXES/Axis1"})"},
    {"W5GRX_RootPlanFromVarOrBlock objectId=D445_AXES/Axis1/Homing/HomeSeq/Search",
     R"({"result":true,"chartId":"D445_AXES/Axis1"})"},
    {"W5GRX_ActivePlanFromTitle cpuId=D445_AXES", R"({"result":false,"chartId":"0","name":""})"},
    {"W5GRX_RootPlansFromCPU cpuId=D445_AXES names=Old",
     R"({"result":true,"names":["Old","Axis1","Axis2","Safety","Monitor"]})"},
    {"W5GRX_RootPlanIDsFromCPU cpuId=CX32_LINE", R"({"result":true,"ids":["CX32_LINE/Line","CX32_LINE/Diag"]})"},
    {"W5GRX_IsRootPlan chartId=D445_AXES/Axis1/Homing", R"({"result":false})"},
    {R"(W5GRX_GetChart cpuId=D445_AXES 'path=Axis1\Homing\HomeSeq')",
     R"({"result":true,"chartId":"D445_AXES/Axis1/Homing/HomeSeq"})"},
    {R"(W5GRX_GetSubChart chartId=D445_AXES/Axis1 'path=Homing\HomeSeq')",
     R"({"result":true,"subChartId":"D445_AXES/Axis1/Homing/HomeSeq"})"},
    {"W5GRX_GetSubPlansByPlanID chartId=D445_AXES/Axis2", R"({"result":1,"ids":["D445_AXES/Axis2/Sync"]})"},
    {"W5GRX_CheckRootPlanName name=Axis_1", R"({"result":0,"position":0})"},
    {"W5GRX_CheckSubPlanName name=__x", R"({"result":5,"position":0})"},
    {"W5GRX_CheckBlockName name=Move1", R"({"result":0,"position":-1})"},
    {"W5GRX_CheckVarName name=IF", R"({"result":9,"position":-1})"},
    {"W5GRX_GetPlanInterface chartId=D445_AXES/Axis1",
     R"({"result":false,"blocks":[{"name":"SpeedSet","id":"D445_AXES/Axis1.SpeedSet"},)"
     R"({"name":"Enable","id":"D445_AXES/Axis1.Enable"},{"name":"ActPos","id":"D445_AXES/Axis1.ActPos"}]})"},
    {"W5GRX_GetPlanInterfaceParam chartId=D445_AXES/Axis1",
     R"({"result":false,"params":[{"name":"SpeedSet","itemText":"Speed setpoint [mm/s]",)"
     R"("id":"D445_AXES/Axis1.SpeedSet"},{"name":"Enable","itemText":"","id":"D445_AXES/Axis1.Enable"},)"
     R"({"name":"ACT_POS","itemText":"Actual position [mm]","id":"D445_AXES/Axis1.ActPos"}]})"},
    {"W5GRX_GetPlanInterfaceParentidAndLoc chartId=D445_AXES/Axis1 name=ENABLE",
     R"({"result":true,"parentId":"D445_AXES/Axis1","locId":"D445_AXES/Axis1.Enable"})"},
    {"W5GRX_GetTaskNamebyObjectId taskId=D445_AXES/#T1 objectId=D445_AXES/Axis1/Move1",
     R"({"result":true,"taskName":"T1"})"},
    {"W5GRX_TaskDelete cpuId=CX32_LINE", R"({"result":true})"},
    {"W5GRX_TaskElementsDelete taskId=CX32_LINE/#TSlow", R"({"result":true})"},
    {"W5GRX_ProcessingGroupDeleteEmpty taskId=CX32_LINE/#TSlow", R"({"result":true})"},
    {"W5GRX_GetTaskId cpuId=D445_AXES names=T1", R"({"result":true})"},
    {"ExistPlan objectId=D445_AXES/Axis1/Move1 names=Safety,Move1", R"({"result":true})"},
    {"FindGlobalVar resourceId=D445_AXES name=glinespeed",
     R"j({"result":true,"text":"Line speed [m/min]","globalVarId":"D445_AXES/@gLineSpeed"})j"},
    {"FindGlobal resourceId=D445_AXES name=gLineSpeed",
     R"j({"result":true,"text":"Line speed [m/min]","globalVarId":"D445_AXES/@gLineSpeed"})j"},
    {"FindGlobalVar resourceId=D445_AXES pattern=genable flags=1",
     R"j({"result":true,"results":[{"location":"\"._Axis1_Power1.ENABLE\"","globalVarName":"gEnable",)j"
     R"j("rootChartName":"Axis1","kind":0,"rootChartId":"D445_AXES/Axis1","varId":"D445_AXES/Axis1/Po)j"
     R"j(wer1.ENABLE","globalVarId":"D445_AXES/@gEnable"},{"location":"(Axis1<Enable>)","globalVarNam)j"
     R"j(e":"gEnable","rootChartName":"Axis1","kind":0,"rootChartId":"D445_AXES/Axis1","varId":"D445_)j"
     R"j(AXES/Axis1.Enable","globalVarId":"D445_AXES/@gEnable"},{"location":"\"._Axis2_Power2.ENABLE\)j"
     R"j("","globalVarName":"gEnable","rootChartName":"Axis2","kind":0,"rootChartId":"D445_AXES/Axis2)j"
     R"j(","varId":"D445_AXES/Axis2/Power2.ENABLE","globalVarId":"D445_AXES/@gEnable"}]})j"},
    {"W5GRX_FindSinksOrSources varId=D445_AXES/Axis1/Homing/HomeSeq/Search/SrchCnt.CU varName=CU",
     R"j({"result":true,"location":"\"._Axis1_Homing_HomeSeq_Search_SrchCnt.CU\"","rootChartId":"D445)j"
     R"j(_AXES/Axis1","rootChartName":"Axis1"})j"},
    {"W5GRX_Sort results=D445_AXES/Axis2/Ramp2.X,D445_AXES/Axis1/Ramp1.X",
     R"j({"result":true,"results":[{"location":"\"._Axis1_Ramp1.X\"","globalVarName":"","rootChartNam)j"
     R"j(e":"Axis1","kind":0,"rootChartId":"D445_AXES/Axis1","varId":"D445_AXES/Axis1/Ramp1.X","globa)j"
     R"j(lVarId":"0"},{"location":"\"._Axis2_Ramp2.X\"","globalVarName":"","rootChartName":"Axis2","k)j"
     R"j(ind":0,"rootChartId":"D445_AXES/Axis2","varId":"D445_AXES/Axis2/Ramp2.X","globalVarId":"0"}])j"
     R"j(})j"},
    {"W5GRX_ReplaceGlobVar resourceId=D445_AXES oldName=gEnable newName=gEnableAll", R"j({"result":true})j"},
    {"W5GRX_ReplaceGlobalVar newPart=Power oldPart=enable direction=0 connectedVarId=D445_AXES/Axis1/Power1.ENABLE "
     "resourceId=D445_AXES oldGlobalVarId=D445_AXES/@gEnable",
     R"j({"result":true})j"},
    {"W5GRX_SearchMoveBlocks chartId=D445_AXES/Axis2",
     R"j({"result":true,"blocks":[{"blockId":"D445_AXES/Axis2/Power2","procGroupId":"D445_AXES/#T1/G_)j"
     R"j(Axis2","blockPos":1,"grPos":2,"tpName":"T1"},{"blockId":"D445_AXES/Axis2/Move2","procGroupId)j"
     R"j(":"D445_AXES/#T1/G_Axis2","blockPos":4,"grPos":2,"tpName":"T1"},{"blockId":"D445_AXES/Axis2/)j"
     R"j(Gear2","procGroupId":"D445_AXES/#T1/G_Axis2","blockPos":3,"grPos":2,"tpName":"T1"},{"blockId)j"
     R"j(":"D445_AXES/Axis2/Ramp2","procGroupId":"D445_AXES/#T1/G_Axis2","blockPos":2,"grPos":2,"tpNa)j"
     R"j(me":"T1"},{"blockId":"D445_AXES/Axis2/Sync/Cam2","procGroupId":"D445_AXES/#TFast/G_Sync","bl)j"
     R"j(ockPos":1,"grPos":1,"tpName":"TFast"},{"blockId":"D445_AXES/Axis2/Sync/Add2","procGroupId":")j"
     R"j(D445_AXES/#TFast/G_Sync","blockPos":1,"grPos":1,"tpName":"TFast"}]})j"},
    {"W5GRX_SortBlock blocks=D445_AXES/Axis1/Pos1,D445_AXES/Axis1/Power1",
     R"j({"result":true,"blocks":[{"blockId":"D445_AXES/Axis1/Power1","procGroupId":"D445_AXES/#T1/G_)j"
     R"j(Axis1","blockPos":1,"grPos":1,"tpName":"T1"},{"blockId":"D445_AXES/Axis1/Pos1","procGroupId")j"
     R"j(:"D445_AXES/#T1/G_Axis1","blockPos":5,"grPos":1,"tpName":"T1"}]})j"},
    {"W5GRX_SortGrPos blocks=D445_AXES/Axis2/Move2,D445_AXES/Axis1/Power1",
     R"j({"result":true,"blocks":[{"blockId":"D445_AXES/Axis1/Power1","procGroupId":"D445_AXES/#T1/G_)j"
     R"j(Axis1","blockPos":1,"grPos":1,"tpName":"T1"},{"blockId":"D445_AXES/Axis2/Move2","procGroupId)j"
     R"j(":"D445_AXES/#T1/G_Axis2","blockPos":4,"grPos":2,"tpName":"T1"}]})j"},
    {"W5GRX_SortTpName blocks=D445_AXES/Monitor/TempPid,D445_AXES/Axis1/Power1",
     R"j({"result":true,"blocks":[{"blockId":"D445_AXES/Axis1/Power1","procGroupId":"D445_AXES/#T1/G_)j"
     R"j(Axis1","blockPos":1,"grPos":1,"tpName":"T1"},{"blockId":"D445_AXES/Monitor/TempPid","procGro)j"
     R"j(upId":"D445_AXES/#T3/G_Monitor","blockPos":1,"grPos":1,"tpName":"T3"}]})j"},
    {"W5GRX_MoveBlocks blocks=D445_AXES/Axis1/Pos1 destGroupId=D445_AXES/#T4/G_Spare",
     R"j({"result":true,"blocks":[{"blockId":"D445_AXES/Axis1/Pos1","procGroupId":"D445_AXES/#T1/G_Ax)j"
     R"j(is1","blockPos":5,"grPos":1,"tpName":"T1"}]})j"},
    {"W5GRX_GetLastBlockPos groupId=D445_AXES/#T1/G_Axis2",
     R"j({"result":true,"lastBlockId":"D445_AXES/Axis2/Move2"})j"},
    {"W5GRX_GetGroupPos blocks=D445_AXES/Axis2/Move2,D445_AXES/Monitor/MonLim,D445_AXES/Axis2/Power2 "
     "destGroupId=D445_AXES/#T4/G_Spare",
     R"j({"result":true,"blocks":[{"blockId":"D445_AXES/Monitor/MonLim","procGroupId":"D445_AXES/#T3/)j"
     R"j(G_Monitor","blockPos":5,"grPos":1,"tpName":"T3"},{"blockId":"D445_AXES/Axis2/Move2","procGro)j"
     R"j(upId":"D445_AXES/#T1/G_Axis2","blockPos":4,"grPos":2,"tpName":"T1"},{"blockId":"D445_AXES/Ax)j"
     R"j(is2/Power2","procGroupId":"D445_AXES/#T1/G_Axis2","blockPos":1,"grPos":2,"tpName":"T1"}]})j"},
    {"DoCfcMsgBox messageId=1054 style=16 buttons=0",
     R"j({"result":1,"dialogs":[{"caption":"Version check (jres:1054)","text":"The charts of this controller )j"
     R"j(were stamped by an older release.","text2":"Please convert them before editing them.","icon":"stop",)j"
     R"j("buttons":"OK","answer":"ok"}]})j"},
    {"DoCfcMsgBox title=509 text=one style=48 buttons=4",
     R"j({"result":6,"dialogs":[{"caption":"Help error (jres:509)","text":"one","icon":"exclamation",)j"
     R"j("buttons":"Yes/No","answer":"yes"}]})j"},
    {"DoCfcMsgBox title=4711 text=one text2=two style=64 buttons=0x4001",
     R"j({"result":1,"dialogs":[{"caption":"no Resource (jres:4711)","text":"one","text2":"two",)j"
     R"j("icon":"information","buttons":"OK/Cancel","helpContext":201319,"answer":"ok"}]})j"},
    {"DoCfcMsgBox messageId=1032 args=tasks style=32 buttons=1",
     R"j({"result":1,"dialogs":[{"caption":"Import (jres:1032)","text":"An import step failed:","text2":"tasks",)j"
     R"j("icon":"question","buttons":"OK/Cancel","answer":"ok"}]})j"},
    {"W5GRX_SetGRXVersion resourceId=D445_AXES chartId=D445_AXES/Axis1", R"({"result":true})"},
    {"W5GRX_CheckGRXVersion resourceId=D445_AXES chartId=0 showMessage=true",
     R"j({"result":false,"foreignStamp":true,"dialogs":[{"caption":"Version check (jres:1056)","text":"The )j"
     R"j(charts of this controller carry a foreign version stamp.","text2":"They cannot be edited with this )j"
     R"j(release.","icon":"stop","buttons":"OK","answer":"ok"}]})j"},
    {"W5GRX_CheckDataVersion objectId=D445_AXES/Axis1 update=false", R"({"result":true,"text":"V7.1"})"},
    {"W5GRX_GetVersionCFC", R"({"result":true,"version":"0701"})"},
    {"W5GRX_CheckVersionCFC_V70", R"({"result":false,"tooOld":false})"},
    {"W5GRX_IsCfcEditorInstalled", R"({"result":false})"},
    {"W5GRX_CheckResource resourceId=CX32_LINE showMessage=true", R"({"result":true,"servedKind":true})"},
    {"W5GRX_SetHelpFileName base=w5grxmhx", R"({"result":0,"path":""})"}, // no help directory is set up
    {"W5GRX_ShowHelp data=0x20123 command=1", R"({"result":-1})"},
    {"W5GRX_ShowFBHelp typeId=D445_AXES/%MC_POWER objectId=D445_AXES/Axis1", R"({"result":0})"},
    {"W5GRX_GetErrorLocation objectId=D445_AXES/Axis1 'location=at \".move1.pos\": unknown'",
     R"({"result":true,"firstId":"D445_AXES/Axis1/Move1","secondId":"D445_AXES/Axis1/Move1.POS"})"},
    {"W5GRX_GetErrorLocation objectId=D445_AXES location={G_Safety}",
     R"({"result":true,"firstId":"0","secondId":"D445_AXES/#T2/G_Safety"})"},
    {"W5GRX_GetError chartId=D445_AXES/Axis1 blockName=MOVE1",
     R"({"result":true,"blockId":"D445_AXES/Axis1/Move1","paramId":"0"})"},
    {"W5GRX_LogSummary first=start second=end",
     R"j({"result":true,"log":{"errors":0,"warnings":0,"lines":[{"severity":"info","text":"Started: start"},)j"
     R"j({"severity":"info","text":"Ended: end"},{"severity":"info","text":"0 error(s), 0 warning(s)"}]}})j"},
    {"W5GRX_AskShowProt ask=true titleId=3501 value=0",
     R"({"result":false,"log":{"errors":0,"warnings":0,"lines":[]}})"}, // nothing to show
    {"W5GRX_ASTaskImport resourceId=D445_AXES", R"({"result":0})"},
    {"W5GRX_ASBlockTypeImport resourceId=D445_AXES quiet=true",
     R"j({"result":0,"started":1,"log":{"errors":0,"warnings":0,"lines":[)j"
     R"j({"severity":"info","text":"Technology package MotionControl V4.2: 4 block type(s)"},)j"
     R"j({"severity":"info","text":"Block type MC_POWER updated (2 change(s))."},)j"
     R"j({"severity":"info","text":"Block type MC_MOVEABS updated (5 change(s))."},)j"
     R"j({"severity":"info","text":"Block type MC_HOME created."},{"severity":"info","text":"Block type MC_STOP created."},)j"
     R"j({"severity":"info","text":"Technology package DriveBasics V2.0: 3 block type(s)"},)j"
     R"j({"severity":"info","text":"Block type DRV_SPEED created."},)j"
     R"j({"severity":"info","text":"Block type DRV_STATE created."},)j"
     R"j({"severity":"info","text":"Block type DRV_SCALE created."},)j"
     R"j({"severity":"info","text":"Started: <time>"},{"severity":"info","text":"Ended: <time>"},)j"
     R"j({"severity":"info","text":"0 error(s), 0 warning(s)"}]}})j"},
    {"W5GRX_CopyBlockTypeImport targetId=CX32_LINE sourceId=D445_AXES",
     R"j({"result":true,"log":{"errors":0,"warnings":0,"lines":[)j"
     R"j({"severity":"info","text":"Technology package MotionControl V4.2: 4 block type(s)"},)j"
     R"j({"severity":"info","text":"Block type MC_POWER created."},{"severity":"info","text":"Block type MC_MOVEABS created."},)j"
     R"j({"severity":"info","text":"Block type MC_HOME created."},{"severity":"info","text":"Block type MC_STOP created."},)j"
     R"j({"severity":"info","text":"Technology package DriveBasics V2.0: 3 block type(s)"},)j"
     R"j({"severity":"info","text":"Block type DRV_SPEED created."},)j"
     R"j({"severity":"info","text":"Block type DRV_STATE created."},)j"
     R"j({"severity":"info","text":"Block type DRV_SCALE created."},)j"
     R"j({"severity":"info","text":"Started: <time>"},{"severity":"info","text":"Ended: <time>"},)j"
     R"j({"severity":"info","text":"0 error(s), 0 warning(s)"}]}})j"},
};

TEST_F(GrxCliTest, ImportThenInfoPrintsTheTree) {
  const std::string db = (folder_ / "d.db").string();
  const GrxRun imported = Grx("import " + DemoJsonPath() + " " + db);
  ASSERT_EQ(imported.exitCode, 0) << imported.out;
  const GrxRun info = Grx("info " + db);
  ASSERT_EQ(info.exitCode, 0) << info.out;
  EXPECT_THAT(info.out, HasSubstr("Controller D445_AXES"));
  EXPECT_THAT(info.out, HasSubstr("    Axis1  (5 blocks)\n      Homing  (3 blocks)\n        HomeSeq  (2 blocks)\n"
                                  "          Search  (2 blocks)\n"));
  EXPECT_THAT(info.out, HasSubstr("G_Safety: D445_AXES/Safety"));

  const GrxRun json = Grx("--json info " + db);
  ASSERT_EQ(json.exitCode, 0) << json.out;
  const auto summary = nlohmann::json::parse(json.out);
  EXPECT_EQ(summary["controllers"].size(), 2u);
  EXPECT_EQ(summary["controllers"][0]["counts"]["blocks"], 29);
  EXPECT_EQ(summary["controllers"][1]["counts"]["blocks"], 13);

  const GrxRun byOption = Grx("--project " + db + " info"); // the project of --project serves info and export
  EXPECT_EQ(byOption.exitCode, 0) << byOption.out;
  EXPECT_EQ(byOption.out, info.out);
  EXPECT_THAT(Grx("--project " + db + " export").out, HasSubstr("\"D445_AXES\""));
  const GrxRun none = Grx("info");
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_THAT(none.out, HasSubstr("a project file is required"));

  EXPECT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 3); // exists already
  EXPECT_EQ(Grx("import --force " + DemoJsonPath() + " " + db).exitCode, 0);
}

TEST_F(GrxCliTest, ExportRoundTrips) {
  const std::string db = (folder_ / "d.db").string();
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 0);
  const std::string exported = (folder_ / "d.json").string();
  ASSERT_EQ(Grx("export " + db + " -o " + exported).exitCode, 0);
  const std::string again = (folder_ / "again.db").string();
  ASSERT_EQ(Grx("import " + exported + " " + again).exitCode, 0);
  const GrxRun first = Grx("export " + db);
  const GrxRun second = Grx("export " + again);
  EXPECT_EQ(first.out, second.out);
  EXPECT_THAT(first.out, HasSubstr("\"format\": \"grx-project/1\""));
}

TEST_F(GrxCliTest, ClearErrors) {
  const GrxRun missing = Grx("import " + (folder_ / "nope.json").string() + " " + (folder_ / "x.db").string());
  EXPECT_EQ(missing.exitCode, 3);
  EXPECT_THAT(missing.out, HasSubstr("cannot read"));
  EXPECT_THAT(missing.out, HasSubstr("no such file"));

  const std::string bad =
      Write("bad.json",
            R"({"controllers": [{"name": "R", "charts": [{"name": "C", "blocks": [{"name": "B", "type": "X"}]}]}]})");
  const GrxRun invalid = Grx("import " + bad + " " + (folder_ / "x.db").string());
  EXPECT_EQ(invalid.exitCode, 3);
  EXPECT_THAT(invalid.out, HasSubstr("invalid project description"));
  EXPECT_THAT(invalid.out, HasSubstr("/controllers/0/charts/0/blocks/0/type: unknown block type \"X\""));
  EXPECT_FALSE(fs::exists(folder_ / "x.db"));

  const std::string notProject = Write("text.db", "hello");
  const GrxRun info = Grx("info " + notProject);
  EXPECT_EQ(info.exitCode, 3);
  EXPECT_THAT(info.out, HasSubstr("grx info: " + notProject + ": "));
  EXPECT_EQ(Grx("info " + (folder_ / "none.db").string()).exitCode, 3);
  EXPECT_EQ(Grx("frobnicate").exitCode, 2);
  EXPECT_EQ(Grx("--help").exitCode, 0);
}

TEST_F(GrxCliTest, CallRewritesTheNameToItsStoredCase) {
  const GrxRun call = Grx("call W5GRX_RootPlanFromName cpuId=D445_AXES name=aXiS2");
  ASSERT_EQ(call.exitCode, 0) << call.out;
  EXPECT_EQ(call.out, "result: true\nname: Axis2\nchartId: D445_AXES/Axis2\n");
  const GrxRun json = Grx("--json call W5GRX_RootPlanFromVarOrBlock objectId=D445_AXES/Axis1/Homing/HomeSeq/Step1.IN");
  ASSERT_EQ(json.exitCode, 0) << json.out;
  const auto result = nlohmann::json::parse(json.out);
  EXPECT_EQ(result["result"], true);
  EXPECT_EQ(result["chartId"], "D445_AXES/Axis1");
  EXPECT_FALSE(result.contains("dialogs"));
}

TEST_F(GrxCliTest, CallOnAProjectFileAndWithAWindow) {
  const std::string db = (folder_ / "d.db").string();
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 0);
  const GrxRun ids = Grx("--project " + db + " call W5GRX_RootPlanIDsFromCPU cpuId=CX32_LINE");
  EXPECT_EQ(ids.out, "result: true\nids:\n  CX32_LINE/Line\n  CX32_LINE/Diag\n");
  const GrxRun window = Grx("--project " + db +
                            " --window 'Safety -- CFC' --window 'child' call "
                            "W5GRX_ActivePlanFromTitle cpuId=D445_AXES");
  EXPECT_EQ(window.out, "result: true\nchartId: D445_AXES/Safety\nname: Safety\n");
  // The first --window is a top-level window: its own title counts.
  EXPECT_EQ(
      Grx("--project " + db + " --window 'Axis1 -- CFC [Line3]' call W5GRX_ActivePlanFromTitle cpuId=D445_AXES").out,
      "result: true\nchartId: D445_AXES/Axis1\nname: Axis1\n");
  const GrxRun none = Grx("--project " + db + " --window 'no title' call W5GRX_ActivePlanFromTitle cpuId=D445_AXES");
  EXPECT_THAT(none.out, HasSubstr("result: false"));
  const GrxRun plans = Grx("--project " + db + " plans D445_AXES");
  EXPECT_EQ(plans.out,
            "4 root chart(s) of D445_AXES\n  D445_AXES/Axis1\n  D445_AXES/Axis2\n  D445_AXES/Safety\n"
            "  D445_AXES/Monitor\n");
}

// Every export answers through grx call on the demo project; the table is also what grx offers
// when it is asked for an export it does not have.
TEST_F(GrxCliTest, EveryExportAnswersThroughCall) {
  const auto& calls = kExportCalls;
  const std::string offered = Grx("call NoSuchExport").out;
  for (const auto& [arguments, expected] : calls) {
    const GrxRun run = Grx("--json call " + arguments);
    ASSERT_EQ(run.exitCode, 0) << arguments << "\n" << run.out;
    EXPECT_EQ(nlohmann::json::parse(WithoutTimes(run.out)), nlohmann::json::parse(expected)) << arguments;
    const std::string name = arguments.substr(0, arguments.find(' '));
    EXPECT_THAT(offered, HasSubstr("\n  " + name + " ")) << name;
  }
  std::size_t offeredCount = 0;
  for (std::size_t at = offered.find("\n  "); at != std::string::npos; at = offered.find("\n  ", at + 1)) {
    ++offeredCount;
  }
  EXPECT_EQ(offeredCount, calls.size());
}

TEST_F(GrxCliTest, CallTraceDecodes) {
  const std::string log = (folder_ / "t.log").string();
  ASSERT_EQ(Grx("--call-trace " + log + " call W5GRX_IsRootPlan chartId=D445_AXES/Axis1/Homing").exitCode, 0);
  {
    // Closed again before the next runs: an open file cannot be started anew everywhere.
    std::ifstream raw(log);
    std::string first;
    std::getline(raw, first);
    EXPECT_THAT(first, HasSubstr("DB\t@3#C3")); // stored scrambled
  }
  const GrxRun decoded = Grx("trace decode " + log);
  ASSERT_EQ(decoded.exitCode, 0);
  EXPECT_THAT(decoded.out, HasSubstr("DB: [BEGIN EsLogClient DB, Version V6.2]\nDB: BEGIN iec_BlockCfcGet\n"
                                     "DB_PARATRACE:   IN: objectId = 0001:0001:1:"));
  EXPECT_THAT(decoded.out, HasSubstr("DB_PARATRACE:   OUT: chartId = 0001:0001:1:"));
  EXPECT_THAT(decoded.out, HasSubstr("DB: END iec_BlockCfcGet\n"));
  EXPECT_THAT(decoded.out, HasSubstr("DB: [END EsLogClient DB, Version V6.2]"));

  // A second run starts the file anew; --append adds to it.
  auto lineCount = [&] {
    std::ifstream in(log);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);) ++n;
    return n;
  };
  const std::size_t once = lineCount();
  ASSERT_GT(once, 0u);
  ASSERT_EQ(Grx("--call-trace " + log + " call W5GRX_IsRootPlan chartId=D445_AXES/Axis1/Homing").exitCode, 0);
  EXPECT_EQ(lineCount(), once);
  ASSERT_EQ(Grx("--append --call-trace " + log + " call W5GRX_IsRootPlan chartId=D445_AXES/Axis1/Homing").exitCode, 0);
  EXPECT_EQ(lineCount(), 2 * once);
}

TEST_F(GrxCliTest, CallUsageErrors) {
  EXPECT_EQ(Grx("call NoSuchExport").exitCode, 2);
  EXPECT_EQ(Grx("call W5GRX_IsRootPlan chartId=D445_AXES/Axis1 bogus=1").exitCode, 2);
  EXPECT_EQ(Grx("call W5GRX_IsRootPlan").exitCode, 2);
  EXPECT_EQ(Grx("call W5GRX_IsRootPlan chartId=D445_AXES/Axis1 prevTransactionId=70000").exitCode, 2);
  const GrxRun missing = Grx("call W5GRX_IsRootPlan chartId=D445_AXES/Nope");
  EXPECT_EQ(missing.exitCode, 3);
  EXPECT_THAT(missing.out, HasSubstr("no object \"Nope\""));
  EXPECT_EQ(Grx("--answer maybe call W5GRX_IsRootPlan chartId=D445_AXES/Axis1").exitCode, 2);
  // An exception of the library is reported with its class and message.
  const GrxRun raised = Grx("call W5GRX_GetTaskNamebyObjectId taskId=D445_AXES/Axis1 objectId=D445_AXES/Axis1");
  EXPECT_THAT(raised.out,
              HasSubstr("exception OpenData::COpenDataException: OPEN-DATA exception: iec_TaskElementsGet failed."));
  const GrxRun json = Grx("--json call W5GRX_GetTaskNamebyObjectId taskId=D445_AXES/Axis1 objectId=D445_AXES/Axis1");
  EXPECT_THAT(nlohmann::json::parse(json.out)["exception"].get<std::string>(),
              HasSubstr("OpenData::COpenDataException"));
}

TEST_F(GrxCliTest, SettingsAndWhereTheyComeFrom) {
  const std::string settings = Write("s.ini",
                                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvorn\\KELPO\\CFC]\nTechnVersion=V7.1.0.3\n"
                                     "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\n"
                                     "Current=GERMAN\n");
  const GrxRun run = Grx("settings", "GRX_SETTINGS_FILE=" + settings);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_THAT(run.out, HasSubstr("settings file: " + settings));
  EXPECT_THAT(
      run.out,
      HasSubstr(
          "TechnVersion: V7.1.0.3   [settings file: HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvorn\\KELPO\\CFC\\TechnVersion]"));
  EXPECT_THAT(run.out, HasSubstr("language: GERMAN (help letter a)"));
  EXPECT_THAT(run.out, HasSubstr("silent-trace: off   [default: off]"));
  const auto json = nlohmann::json::parse(Grx("--json settings").out);
  EXPECT_EQ(json["settings"][0]["name"], "install path");
}

TEST_F(GrxCliTest, TraceRoutesTheObjectTraceToAFile) {
  const std::string trace = (folder_ / "trace.log").string();
  ASSERT_EQ(Grx("--trace " + trace + " call W5GRX_IsRootPlan chartId=D445_AXES/Axis1").exitCode, 0);
  std::ifstream in(trace);
  std::string line;
  std::getline(in, line);
  EXPECT_THAT(line, HasSubstr("comp 22/7 level 1 grx: run: grx --trace "));
  EXPECT_EQ(Grx("--trace " + trace + " --trace-level 0 plans D445_AXES").exitCode, 0);
}

TEST_F(GrxCliTest, ShowDescribesAnObjectThroughTheModel) {
  const GrxRun block = Grx("show D445_AXES/Axis1/Move1");
  ASSERT_EQ(block.exitCode, 0) << block.out;
  EXPECT_THAT(block.out, HasSubstr("D445_AXES/Axis1/Move1  (CIecFunctionBlock, type 11)\n  name: Move1\n"));
  EXPECT_THAT(block.out, HasSubstr("  blockType: D445_AXES/%MC_MOVEABS\n  uda SafetyRelevant = yes\n"));
  EXPECT_THAT(block.out, HasSubstr("    D445_AXES/Axis1/Move1.POS  (CIecInVar)  REAL = 250.0\n"));
  const GrxRun textual = Grx("show D445_AXES/Axis2/Gear2.RATIO");
  EXPECT_THAT(textual.out, HasSubstr("<- \"CX32_LINE/Line/LineSpeed.Y\"  (textual reference)"));
  const GrxRun global = Grx("--json show D445_AXES/@gEnable");
  const auto j = nlohmann::json::parse(global.out);
  EXPECT_EQ(j["class"], "CIecGlobalVar");
  EXPECT_EQ(j["sinks"].size(), 3u);
  const GrxRun deep = Grx("--json show D445_AXES/Axis1/Homing --depth 2");
  const auto tree = nlohmann::json::parse(deep.out);
  bool foundSearch = false;
  for (const auto& child : tree["children"]) {
    if (child["path"] == "D445_AXES/Axis1/Homing/HomeSeq") {
      for (const auto& grandChild : child["children"])
        foundSearch |= grandChild["path"] == "D445_AXES/Axis1/Homing/HomeSeq/Search";
    }
  }
  EXPECT_TRUE(foundSearch);
  EXPECT_EQ(Grx("show D445_AXES/Nope").exitCode, 3);
}

TEST_F(GrxCliTest, ChartsNamesInterfacesAndTasks) {
  EXPECT_EQ(Grx("chart D445_AXES Axis1/Homing/HomeSeq").out, "D445_AXES/Axis1/Homing/HomeSeq\n");
  EXPECT_EQ(Grx("chart D445_AXES Axis1/Nope").exitCode, 3);
  EXPECT_EQ(Grx("subcharts D445_AXES/Axis1").out,
            "D445_AXES/Axis1\n  Homing\n    HomeSeq\n      Search\n3 sub-chart(s)\n");
  const GrxRun bad = Grx("check-name root Motor_A");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out,
            "Motor_A\n      ^\nSYNTAX_ERR_UNDERSCORE_LETTER (7): a letter follows an underscore, position 6\n");
  EXPECT_EQ(Grx("check-name var While").out,
            "While\nSYNTAX_ERR_KEYWORD (9): the name is a reserved word of the language, position -1\n");
  EXPECT_EQ(Grx("check-name block 1in_").exitCode, 0);
  EXPECT_EQ(Grx("check-name color x").exitCode, 2);
  EXPECT_THAT(Grx("interface D445_AXES/Axis1").out,
              HasSubstr("D445_AXES/Axis1.ActPos  [ACT_POS]  Actual position [mm]"));
  EXPECT_EQ(Grx("task-of D445_AXES/Axis1/Move1 'D445_AXES/#T1'").out, "D445_AXES/Axis1/Move1 runs in task T1\n");
  EXPECT_EQ(Grx("task-of D445_AXES/Axis1/Move1 'D445_AXES/#T2'").exitCode, 1);
  const GrxRun call = Grx("call W5GRX_GetChart 'path=Axis1\\Homing' cpuId=D445_AXES");
  EXPECT_EQ(call.out, "result: true\nchartId: D445_AXES/Axis1/Homing\n");
}

TEST_F(GrxCliTest, CleanUpsSayWhatTheyDeleteAndDryRunsChangeNothing) {
  const std::string db = (folder_ / "d.db").string();
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 0);
  const std::string before = Grx("export " + db).out;
  const GrxRun dry = Grx("--project " + db + " clean-groups D445_AXES --keep G_Old --dry-run");
  EXPECT_EQ(dry.out,
            "would delete 2 empty processing group(s)\n  D445_AXES/#T4/G_Spare\n  D445_AXES/#TBackground/G_Diag\n");
  EXPECT_EQ(Grx("export " + db).out, before);
  // A dry run that fails leaves neither its copy behind nor a changed project.
  const fs::path scratch = folder_ / "tmp";
  fs::create_directories(scratch);
  const GrxRun failed = Grx("--project " + db + " clean-tasks NO_SUCH_CPU --dry-run",
                            "TMPDIR=" + scratch.string() + " TMP=" + scratch.string() + " TEMP=" + scratch.string());
  EXPECT_EQ(failed.exitCode, 3);
  EXPECT_THAT(failed.out, HasSubstr("NO_SUCH_CPU"));
  EXPECT_TRUE(fs::is_empty(scratch));
  EXPECT_EQ(Grx("export " + db).out, before);
  const GrxRun real = Grx("--project " + db + " clean-groups D445_AXES --keep G_Old");
  EXPECT_EQ(real.out,
            "deleted 2 empty processing group(s)\n  D445_AXES/#T4/G_Spare\n  D445_AXES/#TBackground/G_Diag\n");
  EXPECT_NE(Grx("export " + db).out, before);
  const GrxRun tasks = Grx("--json --project " + db + " clean-tasks CX32_LINE");
  const auto j = nlohmann::json::parse(tasks.out);
  EXPECT_EQ(j["deleted"], (nlohmann::json{"CX32_LINE/#TSlow", "CX32_LINE/#TSlow/G_Unused"}));
}

TEST_F(GrxCliTest, DemoTours) {
  const GrxRun demo = Grx("demo");
  ASSERT_EQ(demo.exitCode, 0) << demo.out;
  EXPECT_THAT(demo.out, HasSubstr("== Export and import give the same project"));
  EXPECT_THAT(demo.out, HasSubstr("identical"));
  EXPECT_THAT(demo.out, HasSubstr("aborted: gDemoOnly is gone"));
  const GrxRun json = Grx("--json demo");
  ASSERT_EQ(json.exitCode, 0) << json.out;
  const auto tour = nlohmann::json::parse(json.out);
  EXPECT_GE(tour["tour"].size(), 7u);
  // Every family of exports has its call, and the whole-controller check its findings.
  std::string tourText;
  for (const auto& section : tour["tour"]) {
    for (const auto& line : section["lines"]) tourText += line.get<std::string>() + "\n";
  }
  for (const auto& entry : nlohmann::json::parse(Grx("--json exports").out)) {
    EXPECT_THAT(tourText, HasSubstr("\n" + entry["family"].get<std::string>() + ": ")) << entry["family"];
  }
  EXPECT_THAT(tourText, HasSubstr("D445_AXES/@gMode: unused-global: "));
  EXPECT_FALSE(fs::exists(tour["project"].get<std::string>()));
}

// The chart-database calls that each export makes, as the decoded call trace shows them, stay
// exactly as they are recorded in tests/tools/golden/call_traces.txt; the failure paths of the
// listings are recorded too. GRX_UPDATE_GOLDEN=1 writes the file anew.
TEST_F(GrxCliTest, CallTracesOfEveryExportStayAsRecorded) {
  std::vector<std::string> calls;
  for (const auto& entry : kExportCalls) calls.push_back(entry.first);
  calls.insert(calls.end(), {
                                "W5GRX_GetTaskNamebyObjectId taskId=D445_AXES/Axis1 objectId=D445_AXES/Axis1",
                                "W5GRX_GetSubPlansByPlanID chartId=D445_AXES/#T1",
                                "W5GRX_RootPlanFromName cpuId=D445_AXES name=NoSuchChart",
                                "W5GRX_RootPlansFromCPU cpuId=D445_AXES/Axis1",
                                R"(W5GRX_GetChart cpuId=D445_AXES 'path=Axis1\Nope')",
                                R"(W5GRX_GetSubChart chartId=D445_AXES/#T1 'path=Homing')",
                                "W5GRX_GetPlanInterfaceParentidAndLoc chartId=D445_AXES/Axis1 name=NOPE",
                                "W5GRX_GetPlanInterface chartId=D445_AXES/#T1",
                                "W5GRX_TaskDelete cpuId=D445_AXES",
                                "W5GRX_GetTaskId cpuId=D445_AXES/Axis1 names=T1",
                            });
  std::string traces;
  for (const std::string& arguments : calls) {
    const std::string log = (folder_ / "trace.log").string();
    fs::remove(log);
    Grx("--call-trace " + log + " call " + arguments);
    // Buffers passed by address show where they lie in memory, which differs from run to run; the
    // decorated names of overloads are the platform compiler's.
    static const std::regex address("= 0x[0-9A-Fa-f]{8,}");
    static const std::regex decorated(GRX_DECORATED_GL_CPUIDGET);
    traces += "== " + arguments + "\n" +
              (fs::exists(log)
                   ? std::regex_replace(std::regex_replace(Grx("trace decode " + log).out, address, "= <address>"),
                                        decorated, "<decorated gl_CpuIdGet>")
                   : "(no call)\n");
  }
  const fs::path golden = fs::path(GRX_SOURCE_DIR) / "tests" / "tools" / "golden" / "call_traces.txt";
  if (std::getenv("GRX_UPDATE_GOLDEN")) {
    fs::create_directories(golden.parent_path());
    std::ofstream(golden, std::ios::binary) << traces;
  }
  std::ifstream stored(golden, std::ios::binary);
  ASSERT_TRUE(stored) << golden;
  const std::string expected((std::istreambuf_iterator<char>(stored)), std::istreambuf_iterator<char>());
  // Compared call by call, so that a difference names the export.
  auto sections = [](const std::string& text) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < text.size();) {
      std::size_t next = text.find("\n== ", at);
      next = next == std::string::npos ? text.size() : next + 1;
      parts.push_back(text.substr(at, next - at));
      at = next;
    }
    return parts;
  };
  const auto want = sections(expected);
  const auto got = sections(traces);
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], want[i]);
}

// The reference in docs/ is the one the export table makes, with every export of the call table.
TEST_F(GrxCliTest, TheExportTableMakesTheReference) {
  const GrxRun reference = Grx("exports --markdown");
  ASSERT_EQ(reference.exitCode, 0);
  std::ifstream stored(fs::path(GRX_SOURCE_DIR) / "docs" / "exports.md", std::ios::binary);
  const std::string documented((std::istreambuf_iterator<char>(stored)), std::istreambuf_iterator<char>());
  EXPECT_EQ(reference.out, documented) << "run: grx exports --markdown > docs/exports.md";

  const auto listed = nlohmann::json::parse(Grx("--json exports").out);
  ASSERT_EQ(listed.size(), kExportCalls.size());

  // docs/hosting.md tells hosts which exports raise, as the table says.
  const GrxRun policies = Grx("exports --policies");
  ASSERT_EQ(policies.exitCode, 0);
  EXPECT_THAT(policies.out, HasSubstr("| PlanNavigation | `W5GRX_RootPlanFromName`"));
  EXPECT_THAT(policies.out, HasSubstr("| NameChecks | - | `W5GRX_CheckRootPlanName`"));
  std::ifstream hosting(fs::path(GRX_SOURCE_DIR) / "docs" / "hosting.md", std::ios::binary);
  const std::string guide((std::istreambuf_iterator<char>(hosting)), std::istreambuf_iterator<char>());
  EXPECT_THAT(guide,
              HasSubstr("<!-- policies: made by grx exports --policies -->\n" + policies.out + "<!-- /policies -->"))
      << "run grx exports --policies and put its table into docs/hosting.md";
}

// One version, the project's, in grx --version and in every file: Windows modules and programs
// carry it in their version resource, the Linux library in its file name and SONAME.
TEST_F(GrxCliTest, EveryFileCarriesTheProjectsVersion) {
  const GrxRun run = Grx("--version");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.out, ::testing::StartsWith("grx " GRX_PROJECT_VERSION "\n"));
  EXPECT_THAT(run.out, HasSubstr("library: w5lhlpax " GRX_PROJECT_VERSION));
  std::string why;
  if (platform::ModuleFileName("w5lhlpax") == "w5lhlpax.dll") {
    for (const char* file : {"w5lhlpax.dll", "Q3JDBMOX.dll", "ES_LOG.dll", "w5toolax.dll", "w5wtrcax.dll",
                             "w5bx00ta.dll", "w5kwcmpx.dll", "w5rccmpx.dll", "w5imcmpx.dll", "w5lresax.dll",
                             "w5lresax_de.dll", "libgrx_os.dll", "grx.exe", "FXBViewer.exe"}) {
      const auto version = platform::ReadFileVersion((BinDir() / file).string(), &why);
      ASSERT_TRUE(version) << why;
      EXPECT_EQ(version->version, GRX_PROJECT_VERSION ".0") << file;
      EXPECT_EQ(version->productVersion, GRX_PROJECT_VERSION) << file;
      EXPECT_EQ(version->originalName, file);
      EXPECT_FALSE(version->description.empty()) << file;
    }
    EXPECT_THAT(run.out, HasSubstr("(w5lhlpax.dll: Helper library of the CFC chart editor)"));
  } else {
    const auto version = platform::ReadFileVersion((BinDir() / "w5lhlpax.so").string(), &why);
    ASSERT_TRUE(version) << why;
    EXPECT_EQ(version->version, GRX_PROJECT_VERSION);
    EXPECT_EQ(version->originalName, "libw5lhlpax.so." GRX_PROJECT_VERSION_MAJOR);
    EXPECT_THAT(run.out, HasSubstr("(w5lhlpax.so, libw5lhlpax.so." GRX_PROJECT_VERSION_MAJOR ")"));
    // A module loaded by name carries no version in its name, and says so.
    EXPECT_FALSE(platform::ReadFileVersion((BinDir() / "Q3JDBMOX.so").string(), &why));
    EXPECT_THAT(why, HasSubstr("Q3JDBMOX.so: its file name carries no version"));
    EXPECT_FALSE(platform::ReadFileVersion((BinDir() / "registry.ini").string(), &why));
    EXPECT_THAT(why, HasSubstr("not a 64-bit ELF file"));
  }
}

} // namespace
} // namespace grx::testing

namespace grx::testing {
namespace {

// German names typed on a UTF-8 terminal reach the library as Windows-1252 text, and its answers
// come back as UTF-8.
TEST_F(GrxCliTest, NamesWithUmlautsAreCharactersOfTheCodePage) {
  const std::string db = (folder_ / "u.db").string();
  const std::string description =
      Write("u.json", R"({"controllers": [{"name": "R", "charts": [{"name": "Heizkreis", "comment": "Wärmetauscher",
                       "interface": [{"name": "Wärme", "type": "REAL"}]}]}]})");
  ASSERT_EQ(Grx("import " + description + " " + db).exitCode, 0);

  // The item is found by its upper-case name, umlaut included.
  const GrxRun found =
      Grx("--project " + db + " --json call W5GRX_GetPlanInterfaceParentidAndLoc chartId=R/Heizkreis name=WÄRME");
  ASSERT_EQ(found.exitCode, 0) << found.out;
  const auto answer = nlohmann::json::parse(found.out);
  EXPECT_EQ(answer["result"], true);
  EXPECT_EQ(answer["locId"], "R/Heizkreis.Wärme");
  EXPECT_EQ(nlohmann::json::parse(Grx("--project " + db +
                                      " --json call W5GRX_GetPlanInterfaceParentidAndLoc "
                                      "chartId=R/Heizkreis name=Wärme")
                                      .out)["result"],
            false); // the caller passes the name in upper case

  // Twelve umlauts are twelve characters: the first one breaks the character rule.
  const GrxRun checked = Grx("--json check-name root ääääääääääää");
  EXPECT_EQ(checked.exitCode, 1) << checked.out; // the name fails a rule
  EXPECT_EQ(nlohmann::json::parse(checked.out)["result"], 1);
  EXPECT_EQ(nlohmann::json::parse(checked.out)["position"], 0);

  // The comment leaves the project as UTF-8 again.
  EXPECT_THAT(Grx("export " + db).out, HasSubstr("\"comment\": \"Wärmetauscher\""));
  EXPECT_THAT(Grx("--project " + db + " show R/Heizkreis").out, HasSubstr("Wärmetauscher"));
}

TEST_F(GrxCliTest, TextsTheCodePageCannotHoldAreClearErrors) {
  const std::string description =
      Write("cjk.json", R"({"controllers": [{"name": "R", "charts": [{"name": "A"}, {"name": "名前"}]}]})");
  const GrxRun imported = Grx("import " + description + " " + (folder_ / "c.db").string());
  EXPECT_EQ(imported.exitCode, 3);
  EXPECT_THAT(imported.out, HasSubstr("/controllers/0/charts/1/name: a character that code page 1252 cannot hold"));
  EXPECT_FALSE(fs::exists(folder_ / "c.db"));

  const GrxRun argument = Grx("call W5GRX_CheckRootPlanName name=名前");
  EXPECT_EQ(argument.exitCode, 2);
  EXPECT_THAT(argument.out, HasSubstr("holds a character that code page 1252 cannot hold"));
}

TEST_F(GrxCliTest, TraceFilesDecodeFromTheCodePage) {
  const std::string db = (folder_ / "w.db").string();
  ASSERT_EQ(
      Grx("import " + Write("w.json", R"({"controllers": [{"name": "R", "charts": [{"name": "Wärme"}]}]})") + " " + db)
          .exitCode,
      0);
  const std::string log = (folder_ / "t.log").string();
  // The name as stored is an out-value of gl_ObjectNameGet in the parameter trace.
  const GrxRun call =
      Grx("--project " + db + " --call-trace " + log + " call W5GRX_RootPlanFromName cpuId=R name=WÄRME");
  ASSERT_THAT(call.out, HasSubstr("name: Wärme"));
  const GrxRun decoded = Grx("--json trace decode " + log);
  ASSERT_EQ(decoded.exitCode, 0) << decoded.out;
  const auto lines = nlohmann::json::parse(decoded.out);
  bool seen = false;
  for (const auto& line : lines) seen = seen || line["line"].get<std::string>().find("Wärme") != std::string::npos;
  EXPECT_TRUE(seen) << decoded.out;
}

// With a multi-byte code page chosen in the settings, names of two-byte characters work end to end.
TEST_F(GrxCliTest, AMultiByteCodePageChosenInTheSettings) {
  const std::string settings =
      Write("acp.ini", "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\nACP=932\n");
  const std::string environment = "GRX_SETTINGS_FILE=" + settings;
  const std::string db = (folder_ / "j.db").string();
  const std::string description =
      Write("j.json", R"({"controllers": [{"name": "R", "charts": [{"name": "制御", "interface": [
                       {"name": "名前", "type": "INT"}, {"name": "ｱ", "type": "INT"}]}]}]})");
  const GrxRun imported = Grx("import " + description + " " + db, environment);
  ASSERT_EQ(imported.exitCode, 0) << imported.out;
  const GrxRun found = Grx(
      "--project " + db + " --json call W5GRX_GetPlanInterfaceParentidAndLoc chartId=R/制御 name=名前", environment);
  ASSERT_EQ(found.exitCode, 0) << found.out;
  EXPECT_EQ(nlohmann::json::parse(found.out)["locId"], "R/制御.名前");
  EXPECT_THAT(Grx("export " + db, environment).out, HasSubstr("\"name\": \"制御\""));
  // Without the setting the same project's names are Windows-1252 bytes, shown as such.
  EXPECT_THAT(Grx("export " + db).out, Not(HasSubstr("制御")));
}

} // namespace
} // namespace grx::testing

namespace grx::testing {
namespace {

// grx blob reads the record of every kind the demo keeps, writes fields in one transaction and
// deletes; the bytes it writes are the bytes the demo's description holds.
TEST_F(GrxCliTest, BlobReadsWritesAndDeletesRecords) {
  const std::string db = (folder_ / "b.db").string();
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 0);
  const std::string project = "--project " + db + " ";
  const std::pair<const char*, const char*> kinds[] = {{"D445_AXES", "CBlobResource"},
                                                       {"D445_AXES/Axis1", "CBlobTopLevelCfc"},
                                                       {"D445_AXES/#T1", "CBlobTask"},
                                                       {"D445_AXES/#T1/G_Axis1", "CBlobProcessingGroup"},
                                                       {"D445_AXES/Axis1/Move1", "CBlobBlock"},
                                                       {"D445_AXES/@gLineSpeed", "CBlobGlobalVar"},
                                                       {"D445_AXES/Axis1.SpeedSet", "CBlobCfcVar"},
                                                       {"D445_AXES/%MC_POWER", "CBlobBlockType"},
                                                       {"D445_AXES/Axis1/Move1.POS", "CBlobVar"},
                                                       {"D445_AXES/%MC_POWER.AXIS", "CBlobVarType"}};
  for (const auto& [path, record] : kinds) {
    const GrxRun run = Grx(project + "--json blob " + path);
    ASSERT_EQ(run.exitCode, 0) << path << run.out;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["record"], record) << path;
    EXPECT_TRUE(j["versionOk"].get<bool>()) << path;
  }
  const auto resource = nlohmann::json::parse(Grx(project + "--json blob D445_AXES").out);
  EXPECT_EQ(resource["fields"]["names"], nlohmann::json::parse(R"(["MotionControl", "DriveBasics"])"));
  EXPECT_EQ(resource["libraryElements"][0]["rtTypeGuid"], "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}");
  const auto chart = nlohmann::json::parse(Grx(project + "--json blob D445_AXES/Axis1").out);
  EXPECT_EQ(chart["fields"]["libComment"]["de"], "Messerachse");
  EXPECT_EQ(Grx(project + "blob D445_AXES/Axis1/Homing").exitCode, 3); // a sub-chart carries none
  const auto parameterType = nlohmann::json::parse(Grx(project + "--json blob D445_AXES/%MC_POWER.AXIS").out);
  EXPECT_EQ(parameterType["fields"]["typeName"], "AXIS_REF");
  // The blobs of parameter types leave the project with its description.
  EXPECT_THAT(Grx("export " + db).out, HasSubstr("\"blob\": \"0900000000000000"));

  // Writing the record unchanged gives the stored bytes again, but for the identifier of the
  // object written for, which the description leaves 0.
  auto withoutIdentifier = [](std::string dump) {
    const auto line = dump.find("object identifier");
    return dump.erase(dump.rfind('\n', line), dump.find('\n', line) - dump.rfind('\n', line));
  };
  const GrxRun stored = Grx(project + "blob D445_AXES/#T1 --hex");
  const GrxRun again = Grx(project + "blob D445_AXES/#T1 --set taskId=1 --dry-run");
  EXPECT_EQ(withoutIdentifier(stored.out), withoutIdentifier(again.out));
  EXPECT_THAT(stored.out, HasSubstr("record version 4"));

  // Fields are set in one transaction; wrong keys and values change nothing.
  ASSERT_EQ(Grx(project + "blob D445_AXES/#T1 --set name=Zyklus --set taskId=7").exitCode, 0);
  auto task = nlohmann::json::parse(Grx(project + "--json blob D445_AXES/#T1").out);
  EXPECT_EQ(task["fields"]["name"], "Zyklus");
  EXPECT_EQ(task["fields"]["taskId"], 7);
  EXPECT_EQ(Grx(project + "blob D445_AXES/#T1 --set name=Other --set taskId=-1").exitCode, 2);
  EXPECT_EQ(Grx(project + "blob D445_AXES/#T1 --set nosuchkey=1").exitCode, 2);
  EXPECT_EQ(nlohmann::json::parse(Grx(project + "--json blob D445_AXES/#T1").out)["fields"]["name"], "Zyklus");
  EXPECT_EQ(Grx(project + "blob D445_AXES/Axis1.SpeedSet --set libPinComment=x").exitCode, 2); // a map

  EXPECT_THAT(Grx(project + "blob D445_AXES/#T1 --delete --dry-run").out, HasSubstr("would delete"));
  EXPECT_FALSE(nlohmann::json::parse(Grx(project + "--json blob D445_AXES/#T1").out)["empty"].get<bool>());
  ASSERT_EQ(Grx(project + "blob D445_AXES/#T1 --delete").exitCode, 0);
  EXPECT_TRUE(nlohmann::json::parse(Grx(project + "--json blob D445_AXES/#T1").out)["empty"].get<bool>());
}

} // namespace
} // namespace grx::testing

namespace grx::testing {
namespace {

TEST_F(GrxCliTest, TypesAndTheCastRelation) {
  const auto tod = nlohmann::json::parse(Grx("--json type time_of_day").out);
  EXPECT_EQ(tod["esType"], 20);
  EXPECT_EQ(tod["iecType"], 18);
  EXPECT_EQ(Grx("type STRING").exitCode, 1);
  EXPECT_EQ(Grx("cast REAL SDTIME").exitCode, 0);
  EXPECT_EQ(Grx("cast 66 7").exitCode, 1); // LINT to DINT
  EXPECT_EQ(Grx("cast FOO 7").exitCode, 2);
  const auto table = nlohmann::json::parse(Grx("--json cast --table").out);
  EXPECT_EQ(table["BYTE"], nlohmann::json::parse(R"(["BYTE", "SINT", "USINT"])"));
  EXPECT_EQ(table["LREAL"], nlohmann::json::parse(R"(["LREAL"])"));

  const auto address = nlohmann::json::parse(Grx("--json address ' %qd100'").out);
  EXPECT_EQ(address["normalized"], "%QD100");
  EXPECT_EQ(address["direction"], "output");
  EXPECT_EQ(Grx("address %IX0.0").exitCode, 1);
  EXPECT_EQ(Grx("compatible D445_AXES/Axis1/Pos1.POS D445_AXES/Axis1/Lim1.IN").exitCode, 0);
  const auto connected = nlohmann::json::parse(Grx("--json connected D445_AXES/Axis1.ActPos").out);
  EXPECT_EQ(connected["variable"], "D445_AXES/Axis1/Pos1.POS");
  EXPECT_TRUE(connected["isBlockParam"].get<bool>());
  EXPECT_EQ(Grx("connected D445_AXES/Axis1").exitCode, 2);
}

TEST_F(GrxCliTest, FindGlobalListsEveryUseByRootChart) {
  const auto uses = nlohmann::json::parse(Grx("--json find-global D445_AXES genable").out);
  ASSERT_EQ(uses.size(), 3u);
  EXPECT_EQ(uses[0]["location"], "\"._Axis1_Power1.ENABLE\"");
  EXPECT_EQ(uses[1]["location"], "(Axis1<Enable>)");
  EXPECT_EQ(uses[2]["rootChart"], "Axis2");
  EXPECT_EQ(uses[2]["direction"], "reads");
  EXPECT_EQ(uses[2]["variable"], "D445_AXES/Axis2/Power2.ENABLE");
  const GrxRun table = Grx("find-global D445_AXES gaxis1pos --whole");
  EXPECT_EQ(table.exitCode, 0);
  EXPECT_THAT(table.out, HasSubstr("gAxis1Pos  writes  \"._Axis1_Pos1.POS\"  Axis1"));
  EXPECT_EQ(Grx("find-global D445_AXES genable --case").exitCode, 1); // the name holds "gEnable"
  EXPECT_EQ(Grx("find-global D445_AXES gAxis --whole").exitCode, 1);
}

TEST_F(GrxCliTest, RenameGlobalMovesEveryConnectionInOneTransaction) {
  const std::string db = (folder_ / "d.db").string();
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 0);
  const std::string bytes = FileBytes(db);
  const std::string before = Grx("export " + db).out;
  const GrxRun dry = Grx("--project " + db + " rename-global D445_AXES genable gPowerOn --dry-run");
  ASSERT_EQ(dry.exitCode, 0) << dry.out;
  EXPECT_EQ(dry.out,
            "would move 3 connection(s) of D445_AXES/@gEnable to gPowerOn\n"
            "  reads   \"._Axis1_Power1.ENABLE\"\n  reads   \"._Axis2_Power2.ENABLE\"\n"
            "  reads   (Axis1<Enable>)\n");
  EXPECT_TRUE(FileBytes(db) == bytes) << "the dry run changed the file";

  // The second connect fails: its connection goes back to gEnable, the third one moves, and the
  // transaction around it all is rolled back.
  const GrxRun failed =
      Grx("--project " + db + " rename-global D445_AXES genable gPowerOn", "Q3JDBMOX_FAULTS=iec_Connect:0x20125:2");
  EXPECT_EQ(failed.exitCode, 3);
  EXPECT_THAT(failed.out, HasSubstr("1 of 3 connection(s) could not be moved; the project is as it was"));
  EXPECT_EQ(Grx("export " + db).out, before);
  const GrxRun noTarget = Grx("--project " + db + " rename-global D445_AXES genable gPowerOn",
                              "Q3JDBMOX_FAULTS=iec_GlobalVarWrite:0x20125");
  EXPECT_EQ(noTarget.exitCode, 3);
  EXPECT_THAT(noTarget.out, HasSubstr("was not created"));
  EXPECT_EQ(Grx("export " + db).out, before);
  EXPECT_TRUE(FileBytes(db) == bytes) << "a rolled-back rename changed the file";

  EXPECT_EQ(Grx("--project " + db + " rename-global D445_AXES gNoSuch gPowerOn").exitCode, 3);
  EXPECT_EQ(Grx("--project " + db + " rename-global D445_AXES genable GENABLE").exitCode, 2);
  EXPECT_EQ(Grx("--project " + db + " rename-global D445_AXES genable ''").exitCode, 2);
  EXPECT_TRUE(FileBytes(db) == bytes);

  const auto moved =
      nlohmann::json::parse(Grx("--json --project " + db + " rename-global D445_AXES genable gPowerOn").out);
  EXPECT_EQ(moved["to"], "D445_AXES/@gPowerOn");
  ASSERT_EQ(moved["moved"].size(), 3u);
  EXPECT_EQ(moved["moved"][0]["variable"], "D445_AXES/Axis1/Power1.ENABLE");
  const auto uses = nlohmann::json::parse(Grx("--json --project " + db + " find-global D445_AXES gPowerOn").out);
  EXPECT_EQ(uses.size(), 3u);
  EXPECT_EQ(Grx("--project " + db + " find-global D445_AXES gEnable").exitCode, 1);
  EXPECT_EQ(Grx("--project " + db + " show D445_AXES/@gEnable").exitCode, 0); // the old variable stays
}

TEST_F(GrxCliTest, MoveBlocksTakesTheBlocksIntoAGroupInRunOrder) {
  const std::string db = (folder_ / "d.db").string();
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 0);
  const std::string bytes = FileBytes(db);
  const GrxRun dry = Grx("--project " + db + " move-blocks D445_AXES/Axis2 --to 'D445_AXES/#T2/G_Safety' --dry-run");
  ASSERT_EQ(dry.exitCode, 0) << dry.out;
  EXPECT_THAT(dry.out, HasSubstr("would move 4 block(s) of D445_AXES/Axis2 into D445_AXES/#T2/G_Safety (2 run at the "
                                 "place of their chart and stay with it)"));
  EXPECT_THAT(dry.out, HasSubstr("T2         1.2    D445_AXES/Axis2/Power2  (D445_AXES/#T2/G_Safety)\n"
                                 "T2         1.3    D445_AXES/Axis2/Ramp2"));
  EXPECT_TRUE(FileBytes(db) == bytes) << "the dry run changed the file";

  const GrxRun failed = Grx("--project " + db + " move-blocks D445_AXES/Axis2 --to 'D445_AXES/#T2/G_Safety'",
                            "Q3JDBMOX_FAULTS=gl_RunSeqElemsMove:0x20125");
  EXPECT_EQ(failed.exitCode, 3);
  EXPECT_THAT(failed.out,
              HasSubstr("4 block(s) could not be moved into D445_AXES/#T2/G_Safety; the project is as it was"));
  EXPECT_TRUE(FileBytes(db) == bytes) << "a rolled-back move changed the file";
  EXPECT_EQ(Grx("--project " + db + " move-blocks D445_AXES/Axis2/Sync --to 'D445_AXES/#T2/G_Safety'").exitCode, 3);
  const GrxRun noGroup = Grx("--project " + db + " move-blocks D445_AXES/Axis2 --to 'D445_AXES/#T2/G_None'");
  EXPECT_EQ(noGroup.exitCode, 3);
  EXPECT_THAT(noGroup.out, HasSubstr("G_None"));
  EXPECT_TRUE(FileBytes(db) == bytes);

  const auto moved = nlohmann::json::parse(
      Grx("--json --project " + db + " move-blocks D445_AXES/Axis2 --to 'D445_AXES/#T2/G_Safety'").out);
  EXPECT_EQ(moved["moved"], 4);
  EXPECT_EQ(moved["withTheirChart"], (nlohmann::json{"D445_AXES/Axis2/Sync/Cam2", "D445_AXES/Axis2/Sync/Add2"}));
  // Read back: the group runs its own member (the Safety chart) first, then the moved blocks in
  // their old order.
  std::vector<std::string> order;
  for (const auto& b : nlohmann::json::parse(Grx("--json --project " + db + " run-sequence D445_AXES/Axis2").out)) {
    order.push_back(b["block"].get<std::string>() + "@" + b["group"].get<std::string>() + ":" +
                    std::to_string(b["blockPos"].get<int>()));
  }
  EXPECT_THAT(order, ::testing::ElementsAre("D445_AXES/Axis2/Power2@D445_AXES/#T2/G_Safety:2",
                                            "D445_AXES/Axis2/Ramp2@D445_AXES/#T2/G_Safety:3",
                                            "D445_AXES/Axis2/Gear2@D445_AXES/#T2/G_Safety:4",
                                            "D445_AXES/Axis2/Move2@D445_AXES/#T2/G_Safety:5",
                                            "D445_AXES/Axis2/Sync/Cam2@D445_AXES/#TFast/G_Sync:1",
                                            "D445_AXES/Axis2/Sync/Add2@D445_AXES/#TFast/G_Sync:1"));
}

TEST_F(GrxCliTest, GenerateMakesProjectsOfAKnownShape) {
  const std::string a = (folder_ / "a.db").string(), b = (folder_ / "b.db").string();
  const std::string args = " --charts 3 --depth 2 --blocks 4 --globals 5";
  const GrxRun made = Grx("generate " + a + args);
  ASSERT_EQ(made.exitCode, 0) << made.out;
  EXPECT_EQ(made.out, "Generated " + a +
                          ": 3 root chart(s) with 2 sub-chart level(s), 4 block(s) per chart, 5 global(s); "
                          "180 objects described\n");
  ASSERT_EQ(Grx("generate " + b + args).exitCode, 0);
  const std::string exported = Grx("export " + a).out;
  EXPECT_EQ(exported, Grx("export " + b).out); // the same arguments give the same project
  ASSERT_EQ(Grx("generate " + b + " --force --charts 3 --depth 2 --blocks 4 --globals 6").exitCode, 0);
  EXPECT_NE(exported, Grx("export " + b).out);
  EXPECT_EQ(Grx("generate " + a + args).exitCode, 3); // exists already

  const GrxRun info = Grx("info " + a);
  EXPECT_THAT(info.out, HasSubstr("    C00003  (4 blocks)\n      S1  (4 blocks)\n        S2  (4 blocks)\n"));
  EXPECT_THAT(info.out, HasSubstr("G_C00001: GEN/C00001/B001, GEN/C00001/B002, GEN/C00001/B003, GEN/C00001/B004, "
                                  "GEN/C00001/S1"));
  // Every block runs: root-chart blocks in their group, sub-chart blocks at their chart's place.
  const auto order = nlohmann::json::parse(Grx("--json --project " + a + " run-sequence GEN/C00002").out);
  ASSERT_EQ(order.size(), 12u);
  EXPECT_EQ(order[11]["block"], "GEN/C00002/S1/S2/B004");
  EXPECT_EQ(order[11]["group"], "GEN/#T2/G_C00002");
  // The globals are read in turn: g000001 by the first block of C00001 and by the second input of
  // every fifth ADD_R block after it.
  const auto uses = nlohmann::json::parse(Grx("--json --project " + a + " find-global GEN g000001 --whole").out);
  ASSERT_EQ(uses.size(), 5u);
  EXPECT_EQ(uses[0]["variable"], "GEN/C00001/B001.IN1");
  const auto chain = nlohmann::json::parse(Grx("--json --project " + a + " connected GEN/C00001/S1.IN").out);
  EXPECT_EQ(chain["variable"], "GEN/C00001/S1/B001.IN1"); // the sub-chart input feeds its first block

  for (const char* bad : {" --charts 0", " --depth -1", " --blocks 0", " --globals -2"}) {
    EXPECT_EQ(Grx("generate " + (folder_ / "c.db").string() + bad).exitCode, 2) << bad;
  }
  EXPECT_FALSE(fs::exists(folder_ / "c.db"));
}

TEST_F(GrxCliTest, MsgBoxShowsAMessageAndPrintsTheAnswer) {
  const auto noTerminal = platform::ScopedStandardInput::FromNullDevice();
  EXPECT_EQ(Grx("--answer no msgbox 1054 --style 16 --buttons 4").out, "answer: no (7)\n");
  EXPECT_EQ(Grx("--json --answer cancel msgbox 1032 tasks --buttons 3").out,
            "{\n  \"result\": 2,\n  \"answer\": \"cancel\"\n}\n");
  // Without a terminal the box is drawn and takes its first button.
  const GrxRun drawn = Grx("msgbox 1032 'the tasks' --style 48 --buttons 3");
  EXPECT_THAT(drawn.out, HasSubstr("+- Import (jres:1032) ---"));
  EXPECT_THAT(drawn.out, HasSubstr("| the tasks "));
  EXPECT_THAT(drawn.out, HasSubstr("| 1 Yes   2 No   3 Cancel "));
  EXPECT_THAT(drawn.out, HasSubstr("answer: yes (6)"));
  EXPECT_THAT(Grx("msgbox 9999").out, HasSubstr("Fatal Error (jres:9999)"));
  // The German library's texts (Windows-1252) reach the terminal in UTF-8, converted once.
  const std::string german = Write("de.ini",
                                   "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\n"
                                   "Current=GERMAN\n");
  const GrxRun drawnGerman = Grx("msgbox 1054", "GRX_SETTINGS_FILE=" + german);
  EXPECT_THAT(drawnGerman.out, HasSubstr("+- Versionspr\xC3\xBC"
                                         "fung (jres:1054) "));
  EXPECT_THAT(drawnGerman.out, HasSubstr("| Die Pl\xC3\xA4ne dieser Steuerung"));
}

TEST_F(GrxCliTest, StampThenCheckStampAndTheDataVersion) {
  const std::string db = (folder_ / "d.db").string();
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 0);
  const GrxRun foreign = Grx("--project " + db + " check-stamp D445_AXES D445_AXES/Axis1");
  EXPECT_EQ(foreign.exitCode, 1);
  EXPECT_THAT(foreign.out, HasSubstr("not current: a foreign stamp\n  [Version check (jres:1056)]"));
  ASSERT_EQ(Grx("--project " + db + " stamp D445_AXES D445_AXES/Axis1").exitCode, 0);
  const auto checked =
      nlohmann::json::parse(Grx("--json --project " + db + " check-stamp D445_AXES D445_AXES/Axis1").out);
  EXPECT_TRUE(checked["current"].get<bool>());
  EXPECT_FALSE(checked.contains("message"));
  // The stamp's bytes decode with the blob format.
  const GrxRun hex = Grx("--project " + db + " blob D445_AXES/Axis1 --hex");
  EXPECT_THAT(hex.out, HasSubstr("key \"version\""));
  EXPECT_THAT(hex.out, HasSubstr("11 00 00 00 47 00 52 00 58 00 5F 00")); // 17 UTF-16 units "GRX_"
  const auto chart = nlohmann::json::parse(Grx("--json --project " + db + " blob D445_AXES/Axis1").out);
  EXPECT_EQ(chart["fields"]["vectChangedPins"], nlohmann::json::array({0}));
  // A chart that this release did not stamp is not current.
  const auto axis2 =
      nlohmann::json::parse(Grx("--json --project " + db + " check-stamp D445_AXES D445_AXES/Axis2").out);
  EXPECT_FALSE(axis2["current"].get<bool>());

  EXPECT_EQ(Grx("--project " + db + " data-version D445_AXES/Axis1").exitCode, 0);
  const std::string newer = "Q3JDBMOX_SOFTWARE_VERSION=V7.2";
  EXPECT_EQ(Grx("--project " + db + " data-version D445_AXES/Axis1", newer).exitCode, 1);
  EXPECT_EQ(Grx("--project " + db + " data-version D445_AXES/Axis1 --update", newer).exitCode, 0);
  const auto after = nlohmann::json::parse(Grx("--json --project " + db + " data-version D445_AXES/Axis1", newer).out);
  EXPECT_EQ(after["dataVersion"], "V7.2");
  EXPECT_TRUE(after["agree"].get<bool>());

  EXPECT_EQ(Grx("check-resource CX32_LINE").out, "CX32_LINE: classified, of the served kind\n");
  const GrxRun direct = Grx("check-resource D445_AXES");
  EXPECT_EQ(direct.exitCode, 1);
  EXPECT_THAT(direct.out, HasSubstr("D445_AXES: classified (served directly), not of the served kind\n"
                                    "  [Resource check (jres:1005)]"));

  const auto editor = nlohmann::json::parse(Grx("--json editor").out);
  EXPECT_FALSE(editor["installed"].get<bool>());
  EXPECT_EQ(editor["version"], "0701");
}

TEST_F(GrxCliTest, HelpOpensTheFileOfTheLanguage) {
  EXPECT_EQ(Grx("help 0x20123").exitCode, 1); // no help directory set up
  fs::create_directories(folder_ / "inst" / "help");
  std::ofstream(folder_ / "inst" / "help" / "w5grxmhb.hlp") << "help text\n";
  const std::string settings =
      Write("s.ini", "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0]\nInstallPath=" + (folder_ / "inst").string() +
                         "\n[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Paths]\nQ3Help_SDir=help\n");
  // A Win32 build hands the file to the system's WinHelp viewer, whose window the test stands in
  // for; elsewhere, without a viewer command, the file is only found and named.
  const platform::HelpRequestListener viewer;
  const GrxRun shown = Grx("help 0x20123", "GRX_SETTINGS_FILE=" + settings);
  EXPECT_EQ(shown.exitCode, 0) << shown.out;
  const std::string file = (folder_ / "inst").string() + "\\help\\w5grxmhb.hlp";
  EXPECT_THAT(shown.out, HasSubstr("help " + file + " at context 131363\n"));
  if (viewer.Listening()) {
    const auto requests = viewer.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file, file);
    EXPECT_EQ(requests[0].command, platform::HELP_CONTEXT);
    EXPECT_EQ(requests[0].data, 131363u);
  }
}

TEST_F(GrxCliTest, RunSequenceListsBlocksInRunOrder) {
  const auto blocks = nlohmann::json::parse(Grx("--json run-sequence D445_AXES/Axis2").out);
  std::vector<std::string> order;
  for (const auto& b : blocks) order.push_back(b["block"].get<std::string>() + "@" + b["task"].get<std::string>());
  // Listed as Power2, Move2, Gear2, Ramp2, then the sub-chart; run in block order within each task.
  EXPECT_THAT(order, ::testing::ElementsAre("D445_AXES/Axis2/Power2@T1", "D445_AXES/Axis2/Ramp2@T1",
                                            "D445_AXES/Axis2/Gear2@T1", "D445_AXES/Axis2/Move2@T1",
                                            "D445_AXES/Axis2/Sync/Cam2@TFast", "D445_AXES/Axis2/Sync/Add2@TFast"));
  EXPECT_THAT(Grx("run-sequence D445_AXES/Axis2").out, HasSubstr("T1         2.4    D445_AXES/Axis2/Move2"));
}

} // namespace
} // namespace grx::testing

namespace grx::testing {
namespace {

class GrxBlockHelpTest : public GrxCliTest {
protected:
  std::vector<std::string> Log() {
    std::ifstream in(folder_ / "viewer.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(line.find(' ') + 1));
    return lines;
  }
  // The viewer writes its last line when it closes, after grx has ended.
  std::vector<std::string> LogWhenClosed(std::size_t closed) {
    for (int i = 0; i < 300; ++i) {
      const auto lines = Log();
      if (static_cast<std::size_t>(std::count(lines.begin(), lines.end(), "closed")) >= closed) return lines;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return Log();
  }
  std::string Page(const std::string& relative) {
    return "page " + platform::NativePath((fs::path(GRX_SOURCE_DIR) / "examples" / "help" / relative).string());
  }
  std::string LogVariable() { return "FXBVIEWER_LOG=" + (folder_ / "viewer.log").string(); }
};

TEST_F(GrxBlockHelpTest, TheViewerShowsThePageAndASecondCallReplacesIt) {
  const GrxRun run = Grx("fb-help MC_POWER D445_AXES/Axis1 --then PID", LogVariable());
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_THAT(run.out, HasSubstr("block help viewer started for D445_AXES/%MC_POWER\n"
                                 "block help viewer started for D445_AXES/%PID\n"));
  const auto log = LogWhenClosed(1);
  // The controller installed DriveBasics in German. The first viewer was ended, not closed: the
  // only "closed" is the second's, when grx ended.
  EXPECT_THAT(log, ::testing::Contains("open -korvalen drives -lib db_02_00 -comp PID -lang de"));
  EXPECT_THAT(log, ::testing::Contains(Page("drives/fxb/db_02_00/de/PID.txt")));
  EXPECT_EQ(std::count(log.begin(), log.end(), "closed"), 1);
  EXPECT_EQ(log.back(), "closed");
  // A type without a library record: the standard package below the installation.
  EXPECT_EQ(Grx("--json fb-help CX32_LINE/%TON CX32_LINE", LogVariable()).out,
            "{\n  \"shown\": [\n    {\n      \"type\": \"CX32_LINE/%TON\",\n      \"result\": 0\n    }\n  ]\n}\n");
  EXPECT_THAT(LogWhenClosed(2), ::testing::Contains(Page("korvalen/fxb/04_01/en/TON.txt")));
  // A misspelt type starts nothing.
  const std::size_t before = Log().size();
  const GrxRun wrong = Grx("fb-help MC_POWER D445_AXES --then NO_SUCH", LogVariable());
  EXPECT_EQ(wrong.exitCode, 3);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(Log().size(), before);
}

TEST_F(GrxBlockHelpTest, InATerminalFurtherTypesAreAskedFor) {
  const auto typed = platform::ScopedStandardInput::FromTerminalTyping("MC_GEARIN\nNO_SUCH\n\n");
  ASSERT_TRUE(typed.ok());
  const GrxRun run = Grx("fb-help PID D445_AXES", LogVariable());
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_THAT(run.out, HasSubstr("block help viewer started for D445_AXES/%MC_GEARIN\n"));
  EXPECT_THAT(run.out, HasSubstr("no object \"%NO_SUCH\""));
  EXPECT_THAT(LogWhenClosed(1), ::testing::Contains(Page("motion/fxb/mc_04_02/en/MC_GEARIN.txt")));
}

TEST_F(GrxBlockHelpTest, TheViewerDrawsThePageInTheTerminalsText) {
  // Its starter has ended: it draws the page and closes.
  const GrxRun run =
      Run("FXBViewer", "-korvalen drives -lib db_02_00 -comp RAMP_R -lang de", "GRX_STARTER_PID=999999999");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.out, HasSubstr("FXBViewer - RAMP_R (drives db_02_00, de)"));
  EXPECT_THAT(run.out, HasSubstr("Ausg\xC3\xA4nge")); // Windows-1252 on disk, UTF-8 on the terminal
  EXPECT_THAT(Run("FXBViewer", "-korvalen drives -lib db_02_00 -comp NOPE -lang it", "GRX_STARTER_PID=999999999").out,
              HasSubstr("There is no help for NOPE in the library db_02_00."));
  EXPECT_EQ(Run("FXBViewer", "-lib x").exitCode, 2);
}

} // namespace
} // namespace grx::testing

namespace grx::testing {
namespace {} // namespace
} // namespace grx::testing

namespace grx::testing {
namespace {

TEST_F(GrxCliTest, TheProgressDialogRunsItsSteps) {
  EXPECT_EQ(nlohmann::json::parse(Grx("--json progress --steps 3 --delay 0").out),
            nlohmann::json::parse(R"({"steps":3,"done":3,"cancelled":false})"));
}

TEST_F(GrxCliTest, LocateFindsWhatACompilerMessageNames) {
  // A block parameter inside a sub-chart, named with another case.
  const GrxRun found = Grx("locate D445_AXES/Axis1 'E123 \".hometimer.PT\": time too short'");
  EXPECT_EQ(found.exitCode, 0) << found.out;
  EXPECT_EQ(found.out, "D445_AXES/Axis1/Homing/HomeTimer.PT   (in D445_AXES/Axis1/Homing/HomeTimer)\n");
  EXPECT_EQ(nlohmann::json::parse(Grx("--json locate D445_AXES '{G_Safety} overrun'").out),
            nlohmann::json::parse(R"({"found":true,"first":"","second":"D445_AXES/#T2/G_Safety"})"));
  EXPECT_EQ(Grx("locate D445_AXES/Axis1 'no markers'").exitCode, 1);
}

TEST_F(GrxCliTest, TheLogExportsSayWhenTheLogComponentIsMissing) {
  const std::string settings =
      Write("nolog.ini",
            "[HKEY_CLASSES_ROOT\\CLSID\\{6A3D2F30-4B7C-4E21-9F3A-1C5D7E9B2A40}\\InprocServer32]\n"
            "@=no_such_module\n");
  const GrxRun run = Grx("call W5GRX_LogSummary first=a second=b", "GRX_SETTINGS_FILE=" + settings);
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_THAT(run.out, HasSubstr("the log component cannot be created (0x800401F8)"));
}

// The block-type import on a fresh controller creates the catalogue's types and prints the log
// with its summary; run again it has nothing to do; --dry-run leaves the project as it was.
TEST_F(GrxCliTest, ImportTypesCreatesTheCataloguesBlockTypes) {
  const std::string db = (folder_ / "fresh.db").string();
  const std::string fresh = Write("fresh.json", R"({"format": "grx-project/1", "controllers": [{"name": "NEW1"}]})");
  ASSERT_EQ(Grx("import " + fresh + " " + db).exitCode, 0);
  const GrxRun dry = Grx("--project " + db + " --json import-types NEW1 --dry-run");
  ASSERT_EQ(dry.exitCode, 0) << dry.out;
  EXPECT_FALSE(Grx("--project " + db + " show NEW1/%MC_HOME").exitCode == 0);

  const GrxRun run = Grx("--project " + db + " import-types NEW1");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_THAT(run.out, HasSubstr("block-type import of NEW1: imported\n"));
  EXPECT_THAT(run.out, HasSubstr("Block type MC_HOME created."));
  EXPECT_THAT(run.out, HasSubstr("Started: "));
  EXPECT_THAT(run.out, HasSubstr("0 error(s), 0 warning(s)\n(13 line(s): 0 error(s), 0 warning(s))\n"));
  EXPECT_THAT(Grx("--project " + db + " show NEW1/%MC_HOME.EXECUTE").out, HasSubstr("EXECUTE"));
  EXPECT_THAT(Grx("--project " + db + " blob NEW1/%DRV_SPEED").out, HasSubstr("library: DriveBasics"));

  const GrxRun again = Grx("--project " + db + " --json import-types NEW1");
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(again.out)["result"], 2);
}

TEST_F(GrxCliTest, ImportTypesAsksWhetherToKeepAResultWithErrors) {
  const std::string catalogue = Write("bad.json", R"({"format": "grx-block-catalogue/1", "packages": [
      {"name": "P", "blockTypes": [{"name": "OK_TYPE"}, {"name": "NOT/OK"}]}]})");
  const std::string db = (folder_ / "d.db").string();
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db).exitCode, 0);
  // The demo controller names packages the catalogue lacks: errors, and the question.
  const GrxRun no =
      Grx("--project " + db + " --json --answer no import-types CX32_LINE --quiet --catalogue " + catalogue);
  EXPECT_EQ(no.exitCode, 1) << no.out;
  const auto j = nlohmann::json::parse(no.out);
  EXPECT_EQ(j["result"], 1);
  ASSERT_EQ(j["dialogs"].size(), 1u);
  EXPECT_THAT(j["dialogs"][0]["caption"].get<std::string>(), HasSubstr("1039"));
  EXPECT_EQ(j["dialogs"][0]["buttons"], "Yes/No");
  EXPECT_EQ(j["log"]["errors"], 1);
  EXPECT_NE(Grx("--project " + db + " show CX32_LINE/%OK_TYPE").exitCode, 0);
  const GrxRun yes = Grx("--project " + db + " --answer yes import-types CX32_LINE --quiet --catalogue " + catalogue);
  EXPECT_EQ(yes.exitCode, 0) << yes.out;
  EXPECT_EQ(Grx("--project " + db + " show CX32_LINE/%OK_TYPE").exitCode, 0);
  EXPECT_NE(Grx("import-types CX32_LINE --catalogue " + (folder_ / "none.json").string()).exitCode, 0);
}

TEST_F(GrxCliTest, ImportTasksAndCopyTypes) {
  const auto tasks = nlohmann::json::parse(Grx("--json import-tasks CX32_LINE").out);
  EXPECT_EQ(tasks["result"], 0);
  ASSERT_EQ(tasks["tasks"].size(), 5u);
  EXPECT_EQ(tasks["tasks"][4], nlohmann::json::parse(R"({"task":"CX32_LINE/#T5","taskId":16})"));

  const GrxRun copy = Grx("copy-types D445_AXES CX32_LINE");
  EXPECT_EQ(copy.exitCode, 0) << copy.out;
  EXPECT_THAT(copy.out, HasSubstr("added: [\"MotionControl\",\"DriveBasics\"]"));
  EXPECT_THAT(copy.out, HasSubstr("Block type MC_POWER created."));
  const GrxRun none = Grx("--json copy-types D445_AXES D445_AXES");
  EXPECT_EQ(nlohmann::json::parse(none.out)["added"], nlohmann::json::array());
}

// A log saved by the log component reads back with its severities; a file that is not a log is
// refused with the reason.
TEST_F(GrxCliTest, LogPrintsASavedLog) {
  const std::string file = (folder_ / "saved.log").string();
  {
    void* object = nullptr;
    ASSERT_EQ(platform::CoCreateInstance(w5comp::CLSID_Log, nullptr, platform::CLSCTX_INPROC_SERVER,
                                         w5comp::IID_ILogView, &object),
              platform::S_OK);
    platform::ComReference<w5comp::ILogView> log(static_cast<w5comp::ILogView*>(object));
    const std::pair<const wchar_t*, std::int32_t> lines[] = {{L"first", w5comp::kLogInformation},
                                                             {L"two\nlines", w5comp::kLogWarning},
                                                             {L"Gr\u00f6\u00dfe", w5comp::kLogError}};
    for (const auto& [text, severity] : lines) {
      const auto bstr = platform::MakeBstr(text);
      log->AddLine(bstr.get(), severity, 0, 0);
    }
    ASSERT_EQ(log->SaveAs(file.c_str()), platform::S_OK);
  }
  const GrxRun run = Grx("log " + file);
  EXPECT_EQ(run.exitCode, 1); // it holds an error
  EXPECT_EQ(run.out,
            "         first\nwarning  two lines\nerror    Gr\u00f6\u00dfe\n(3 line(s): 1 error(s), 1 warning(s))\n");
  EXPECT_EQ(nlohmann::json::parse(Grx("--json log " + file).out)["warnings"], 1);
  const GrxRun bad = Grx("log " + Write("bad.log", "grx-log 1\nX\tnope\n") + "");
  EXPECT_NE(bad.exitCode, 0);
  EXPECT_THAT(bad.out, HasSubstr("bad.log:2: expected E, W or I, a tab and the text"));
  EXPECT_THAT(Grx("log " + Write("other.txt", "hello\n") + "").out, HasSubstr("is not a saved log"));
}

// grx check on a project with one finding of each kind; the stamp of a root chart is told once
// the controller's own is current; a controller that is not there cannot be checked.
TEST_F(GrxCliTest, CheckPrintsOneFindingOfEachKind) {
  const std::string db = CheckProject();
  const GrxRun run = Grx("--project " + db + " check R");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out,
            "R: data-version: the data version V6.0 is not the software's V7.1\n"
            "R: stamp: the controller carries no current library-data stamp\n"
            "R/A__B: name: the root chart name \"A__B\" breaks SYNTAX_ERR_DOUBLE_UNDERSCORE at position 2: two "
            "underscores follow each other\n"
            "R/A__B/B2.I: connection: fed by R/A__B/B1.O: REAL cannot feed BOOL (code 1)\n"
            "R/@gUnused: unused-global: the global variable gUnused is neither read nor written\n"
            "R: 5 finding(s)\n");
  ASSERT_EQ(Grx("--project " + db + " stamp R").exitCode, 0); // a write also brings the data version up
  const auto j = nlohmann::json::parse(Grx("--project " + db + " --json check R").out);
  std::vector<std::string> kinds;
  for (const auto& f : j["findings"])
    kinds.push_back(f["kind"].get<std::string>() + " " + f["path"].get<std::string>());
  EXPECT_THAT(kinds, ::testing::ElementsAre("stamp R/A__B", "name R/A__B", "connection R/A__B/B2.I",
                                            "unused-global R/@gUnused"));
  EXPECT_EQ(j["findings"][2]["details"],
            nlohmann::json::parse(R"({"source":"R/A__B/B1.O","sourceType":"REAL","sinkType":"BOOL","code":1})"));
  EXPECT_EQ(Grx("--project " + db + " check NOPE").exitCode, 3);
  EXPECT_EQ(Grx("check CX32_LINE").exitCode, 1); // the demo: the controller is not stamped
}

} // namespace
} // namespace grx::testing
