// The object a compiler message names, and the host's log: summary and protocol question.
#include <filesystem>

#include "blob/blob_block.h"
#include "grx/w5lhlpax.h"
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
    *e = errors;
    *w = warnings;
    return platform::S_OK;
  }
  platform::HRESULT GetLineCount(std::uint32_t*) override { return platform::E_NOTIMPL; }
  platform::HRESULT GetLine(std::uint32_t, platform::BSTR*, std::int32_t*) override { return platform::E_NOTIMPL; }
  platform::HRESULT SaveAs(const char*) override { return platform::E_NOTIMPL; }
  std::vector<std::string> lines, calls;
  std::int32_t errors = 0, warnings = 0;
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

} // namespace
} // namespace grx::testing
