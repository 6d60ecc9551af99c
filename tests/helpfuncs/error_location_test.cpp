// The object a compiler message names, and the host's log: summary and protocol question.
#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "blob/blob_block.h"
#include "grx/w5lhlpax.h"
#include "module_trace_file.h"
#include "recording_trace.h"
#include "platform/com_lite.h"
#include "platform/dialog_presenter.h"
#include "platform/dynamic_library.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

using ::testing::ElementsAre;

class ErrorLocationTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R",
      "blockTypes": [{"name": "ADD", "kind": "functionBlock", "parameters": [
          {"name": "IN1", "type": "REAL"}, {"name": "OUT", "direction": "out", "type": "REAL"}]}],
      "charts": [{"name": "C", "interface": [{"name": "Speed", "type": "REAL"}],
                  "blocks": [{"name": "Add1", "type": "ADD"}],
                  "charts": [{"name": "S", "charts": [{"name": "Deep", "interface": [{"name": "Limit", "type": "REAL"}],
                                                       "blocks": [{"name": "Add9", "type": "ADD"}]}]}]}],
      "tasks": [{"name": "T1", "groups": [{"name": "G_Fast", "members": ["C/Add1"]}]}]}]})");
  }
  // firstId and secondId as paths ("0" for none); "false" when not found.
  std::string Locate(const std::string& object, const std::string& text) {
    GlObjectId first = 0, second = 0;
    if (!W5GRX_GetErrorLocation(Id(object), CString(text), first, second)) return "false";
    return Name(first) + " " + Name(second);
  }
  std::string Name(GlObjectId id) { return id == 0 ? "0" : db.Path(id); }
};

TEST_F(ErrorLocationTest, TheThreeFormsInTheirOrder) {
  EXPECT_EQ(Locate("R/C", "group {G_Fast} overrun"), "0 R/#T1/G_Fast");
  EXPECT_EQ(Locate("R/C", "group {g_fast} overrun"), "false"); // groups match with their case
  EXPECT_EQ(Locate("R/C", "input <Speed> unused"), "R/C R/C.Speed");
  EXPECT_EQ(Locate("R/C", "input <Limit> unused"), "R/C/S/Deep R/C/S/Deep.Limit"); // sub-charts, depth first
  EXPECT_EQ(Locate("R/C", "in \".add1.in1\" overflow"), "R/C/Add1 R/C/Add1.IN1");
  EXPECT_EQ(Locate("R/C", "in \".ADD9\" overflow"), "R/C/S/Deep/Add9 0"); // block only, any depth
  // The first form wins over the later ones; "}" before "{" is no group and falls through.
  EXPECT_EQ(Locate("R/C", "{G_Fast} <Speed> \".Add1\""), "0 R/#T1/G_Fast");
  EXPECT_EQ(Locate("R/C", "} {G_Fast <Speed>"), "R/C R/C.Speed");
  EXPECT_EQ(Locate("R/C", "}{ > \".Add1.OUT\""), "R/C/Add1 R/C/Add1.OUT");
  EXPECT_EQ(Locate("R/C", "no markers at all"), "false");
  EXPECT_EQ(Locate("R/C", "in \".Add1.NOPE\""), "false"); // the block has no such parameter
}

TEST_F(ErrorLocationTest, FullNamesOfTheBlockRecords) {
  CBlobBlock record(Id("R/C/Add1"), kTr);
  record.SetFullName("C.Adder");
  record.Write(Id("R/C/Add1"), kTr);
  GlObjectId block = 0, param = 0;
  EXPECT_TRUE(W5GRX_GetError(Id("R/C"), "c.adder", "out", block, param));
  EXPECT_EQ(Name(block) + " " + Name(param), "R/C/Add1 R/C/Add1.OUT");
  EXPECT_TRUE(W5GRX_GetError(Id("R/C"), "ADDER", "", block, param));
  EXPECT_FALSE(W5GRX_GetError(Id("R/C"), "Add1", "", block, param)); // the record's name counts
}

// Two blocks of different sub-charts share their own name: a message that names it alone names
// neither, one that gives a full name names that block, and a unique own name is enough.
TEST_F(ErrorLocationTest, AFullNameWinsAndASharedOwnNameIsNoMatch) {
  auto fullName = [&](const std::string& block, const std::string& name) {
    CBlobBlock record(Id(block), kTr);
    record.SetFullName(name);
    record.Write(Id(block), kTr);
  };
  fullName("R/C/Add1", "C.Pump");
  fullName("R/C/S/Deep/Add9", "C.S.Deep.Pump");
  GlObjectId block = 0x5A5A, param = 0x5A5A;
  {
    ModuleTraceFile trace("getError");
    EXPECT_FALSE(W5GRX_GetError(Id("R/C"), "pump", "IN1", block, param));
    EXPECT_THAT(trace.Text(), ::testing::HasSubstr("level 3 W5GRX_GetError"));
    EXPECT_THAT(trace.Text(), ::testing::HasSubstr("2 blocks are named pump"));
  }
  EXPECT_EQ(block, 0x5A5Au); // outputs stay as they were
  EXPECT_EQ(param, 0x5A5Au);
  EXPECT_EQ(Locate("R/C", "in \".C.S.Deep.Pump.IN1\""), "false"); // the location's first point ends the block
  EXPECT_TRUE(W5GRX_GetError(Id("R/C"), "c.s.deep.pump", "in1", block, param));
  EXPECT_EQ(Name(block) + " " + Name(param), "R/C/S/Deep/Add9 R/C/S/Deep/Add9.IN1");
  EXPECT_TRUE(W5GRX_GetError(Id("R/C"), "C.PUMP", "", block, param));
  EXPECT_EQ(Name(block) + " " + Name(param), "R/C/Add1 0");
  // A full name that another block's own name equals wins over it, wherever it lies.
  fullName("R/C/Add1", "Pump");
  EXPECT_TRUE(W5GRX_GetError(Id("R/C"), "PUMP", "", block, param));
  EXPECT_EQ(Name(block), "R/C/Add1");
  fullName("R/C/Add1", "C.Valve");
  EXPECT_TRUE(W5GRX_GetError(Id("R/C"), "pump", "OUT", block, param)); // now one block is named Pump
  EXPECT_EQ(Name(block) + " " + Name(param), "R/C/S/Deep/Add9 R/C/S/Deep/Add9.OUT");
  EXPECT_EQ(Locate("R/C", "in \".Pump.OUT\""), "R/C/S/Deep/Add9 R/C/S/Deep/Add9.OUT");
}

TEST_F(ErrorLocationTest, ListingFailuresGiveFalse) {
  db.InjectFault("iec_VarsGet", 0x20108, 1, 0);
  EXPECT_EQ(Locate("R/C", "input <Speed> unused"), "false");
  db.ClearFaults();
  db.InjectFault("iec_CfcBlocksGet", 0x20108, 1, 0);
  EXPECT_EQ(Locate("R/C", "in \".Add1\""), "false");
}

// A host's log: the lines it gets and what the library asked of it.
class FakeLog : public w5comp::ILogView {
public:
  platform::HRESULT QueryInterface(const platform::IID&, void**) override { return platform::E_NOINTERFACE; }
  std::uint32_t AddRef() override { return 1; }
  std::uint32_t Release() override { return 1; }
  platform::HRESULT Reset(GlObjectId, std::uint32_t, GlTransactionId) override { return platform::S_OK; }
  GRX_COM_UNUSED_SLOT(4)
  GRX_COM_UNUSED_SLOT(5)
  GRX_COM_UNUSED_SLOT(6)
  GRX_COM_UNUSED_SLOT(7)
  platform::HRESULT AddLine(platform::BSTR text, std::int32_t, std::int32_t, std::int32_t) override {
    lines.push_back(platform::Narrow(text));
    return platform::S_OK;
  }
  GRX_COM_UNUSED_SLOT(9)
  GRX_COM_UNUSED_SLOT(10)
  GRX_COM_UNUSED_SLOT(11)
  GRX_COM_UNUSED_SLOT(12)
  GRX_COM_UNUSED_SLOT(13)
  platform::HRESULT CloseLog() override {
    calls.push_back("close");
    return platform::S_OK;
  }
  platform::HRESULT ShowLog(platform::WindowHandle, std::uint32_t value) override {
    calls.push_back("show " + std::to_string(value));
    return platform::S_OK;
  }
  platform::HRESULT GetCounts(std::int32_t* e, std::int32_t* w) override {
    if (throws) throw std::runtime_error("the log is gone");
    *e = errors;
    *w = warnings;
    return platform::S_OK;
  }
  platform::HRESULT GetLineCount(std::uint32_t*) override { return platform::E_NOTIMPL; }
  platform::HRESULT GetLine(std::uint32_t, platform::BSTR*, std::int32_t*) override { return platform::E_NOTIMPL; }
  platform::HRESULT SaveAs(const char*) override { return platform::E_NOTIMPL; }
  std::vector<std::string> lines, calls;
  std::int32_t errors = 0, warnings = 0;
  bool throws = false;
};

TEST(LogSummaryTest, SummaryAndProtocolQuestion) {
  void* module = platform::Module::Load("w5lhlpax").Detach(); // the library's own (English) strings
  ASSERT_NE(module, nullptr);
  FakeLog log;
  log.errors = 2;
  log.warnings = 1;
  EXPECT_FALSE(W5GRX_LogSummary(nullptr, module, "a", "b"));
  EXPECT_TRUE(W5GRX_LogSummary(&log, module, "12/07/26 10:00:00", "12/07/26 10:00:05"));
  EXPECT_THAT(log.lines,
              ElementsAre("Started: 12/07/26 10:00:00", "Ended: 12/07/26 10:00:05", "2 error(s), 1 warning(s)"));
  // A text is not a format: a "%s" given as an argument stays as it is.
  FakeLog other;
  EXPECT_TRUE(W5GRX_LogSummary(&other, module, "%s%n%d", nullptr));
  EXPECT_THAT(other.lines, ElementsAre("Started: %s%n%d", "Ended: ", "0 error(s), 0 warning(s)"));
  // Missing strings: false.
  FakeLog missing;
  EXPECT_FALSE(W5GRX_LogSummary(&missing, nullptr, "a", "b"));

  {
    platform::ScriptedPresenter boxes({platform::BoxAnswer::No});
    EXPECT_TRUE(W5GRX_AskShowProt(platform::kNoWindow, &log, true, module, 3501, 7));
    EXPECT_THAT(log.calls, ElementsAre("close")); // answered no: not shown
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Import of tasks and block types (jres:3501)");
    EXPECT_EQ(boxes.shown()[0].icon, platform::BoxIcon::Question);
  }
  {
    platform::ScriptedPresenter boxes({platform::BoxAnswer::Yes});
    EXPECT_TRUE(W5GRX_AskShowProt(platform::kNoWindow, &log, true, module, 3501, 7));
    EXPECT_THAT(log.calls, ElementsAre("close", "close", "show 7"));
  }
  EXPECT_TRUE(W5GRX_AskShowProt(platform::kNoWindow, &log, false, module, 3501, 9)); // no question
  EXPECT_EQ(log.calls.back(), "show 9");
  FakeLog empty; // both counters 0: nothing to show
  platform::ScriptedPresenter boxes;
  EXPECT_FALSE(W5GRX_AskShowProt(platform::kNoWindow, &empty, true, module, 3501, 0));
  EXPECT_THAT(empty.calls, ElementsAre("close"));
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_FALSE(W5GRX_AskShowProt(platform::kNoWindow, &log, true, nullptr, 3501, 0)); // question missing

  CString time;
  const CString answered = W5GRX_GetTime(time);
  EXPECT_EQ(answered.str(), time.str());
  // MM/DD/YY HH:MM:SS (checked character by character: the simple regular expressions of some
  // platforms have no brackets).
  const std::string text = time.str();
  ASSERT_EQ(text.size(), 17u) << text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char expected = i == 2 || i == 5 ? '/' : i == 8 ? ' ' : i == 11 || i == 14 ? ':' : '0';
    if (expected == '0') {
      EXPECT_TRUE(text[i] >= '0' && text[i] <= '9') << text;
    } else {
      EXPECT_EQ(text[i], expected) << text;
    }
  }
}

// Error location and the dialogs answer whatever goes wrong below them: the host gets false, 0 or
// no button, and the object trace says what was caught.
TEST_F(ErrorLocationTest, FailuresBelowAreTracedAndAnswered) {
  RecordingTrace trace;
  ZEB::CObject::SetTrace(&trace);
  void* module = platform::Module::Load("w5lhlpax").Detach();
  FakeLog log;
  log.throws = true;
  bool answer = true;
  EXPECT_NO_THROW(answer = W5GRX_LogSummary(&log, module, "a", "b"));
  EXPECT_FALSE(answer);
  EXPECT_NO_THROW(answer = W5GRX_AskShowProt(platform::kNoWindow, &log, false, module, 3501, 0));
  EXPECT_FALSE(answer);
  {
    const platform::Presenter previous = platform::SetPresenter(
        [](const platform::MessageBoxRequest&) -> platform::BoxAnswer { throw std::runtime_error("no desktop"); });
    int button = -1;
    EXPECT_NO_THROW(button = DoCfcMsgBox(platform::kNoWindow, 1032, 16, 0));
    EXPECT_EQ(button, 0);
    EXPECT_NO_THROW(button = DoCfcMsgBox(platform::kNoWindow, 1039, std::vector<std::string>{"x"}, 16, 4));
    EXPECT_EQ(button, 0);
    // An export that asks through the box gets no answer, not the exception: with the question
    // unanswered the log is not shown.
    FakeLog full;
    full.errors = 1;
    EXPECT_TRUE(W5GRX_AskShowProt(platform::kNoWindow, &full, true, module, 3501, 0));
    EXPECT_THAT(full.calls, ElementsAre("close"));
    platform::SetPresenter(previous);
  }
  // A block whose record cannot be read: the search fails, the host gets false.
  ASSERT_EQ(db.InjectFault("gl_ObjectPropertiesGet", 0x20108, 1, 0), 0);
  GlObjectId block = 0x77, param = 0x77;
  EXPECT_NO_THROW(answer = W5GRX_GetError(Id("R/C"), "Add1", "", block, param));
  EXPECT_FALSE(answer);
  EXPECT_EQ(block, 0x77u);
  EXPECT_EQ(Locate("R/C", "in \".Add1\""), "false");
  db.ClearFaults();
  ZEB::CObject::ResetTrace();
  auto caught = [&](const std::string& name) {
    return std::count_if(trace.lines.begin(), trace.lines.end(), [&](const std::string& line) {
      return line.rfind("4 " + name + ": exception caught by the export: ", 0) == 0;
    });
  };
  EXPECT_EQ(caught("W5GRX_LogSummary"), 1);
  EXPECT_EQ(caught("W5GRX_AskShowProt"), 1);
  EXPECT_EQ(caught("DoCfcMsgBox"), 3);
  EXPECT_EQ(caught("W5GRX_GetError"), 1);
  EXPECT_EQ(caught("W5GRX_GetErrorLocation"), 1);
  EXPECT_THAT(trace.lines, ::testing::Contains(::testing::HasSubstr("the log is gone")));
  EXPECT_THAT(trace.lines, ::testing::Contains(::testing::HasSubstr("no desktop")));
}

} // namespace
} // namespace grx::testing
