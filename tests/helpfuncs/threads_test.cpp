// Hosts call the exports from several threads. Eight threads at once ask one project through an
// export of every family (plan navigation, chart paths, name checks, type queries, the global
// variable search, version checks with their blob records, error location), round after round,
// and every answer must be the one a single thread gets. The README's test command runs this
// program in a thread-sanitizer build as well (scripts/tsan.sh).
#include <exception>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "grx/w5lhlpax.h"
#include "grx/window_handle.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 12;

class ThreadsTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(DemoJson());
    // The demo's resource and first chart carry a stamp, so that the version check reads both
    // blob records.
    axes_ = Id("D445_AXES");
    axis1_ = Id("D445_AXES/Axis1");
    search_ = Id("D445_AXES/Axis1/Homing/HomeSeq/Search");
    line_ = Id("CX32_LINE");
    ASSERT_TRUE(W5GRX_SetGRXVersion(platform::kNoWindow, axes_, axis1_, kTr));
  }

  std::string P(GlObjectId id) { return id ? PathOf(id) : "0"; }

  // One family's answers as text, or what it raised.
  template <class Ask>
  static void Answer(std::ostringstream& out, const char* family, Ask&& ask) {
    out << family << ": ";
    try {
      ask();
    } catch (const std::exception& e) {
      out << "raised " << e.what();
    } catch (...) {
      out << "raised something";
    }
    out << "\n";
  }

  // Every family once, as the calling thread sees it.
  std::string AskEveryFamily() {
    std::ostringstream out;
    const GlObjectId axes = axes_, axis1 = axis1_;
    Answer(out, "plan navigation", [&] {
      std::vector<std::string> names;
      GlObjectId root = 0;
      out << W5GRX_RootPlansFromCPU(axes, names, kTr) << W5GRX_IsRootPlan(axis1, kTr) << " "
          << W5GRX_RootPlanFromVarOrBlock(search_, root, kTr) << " " << P(root);
      for (const std::string& name : names) out << " " << name;
    });
    Answer(out, "chart paths", [&] {
      GlObjectId chart = 0;
      std::vector<GlObjectId> subCharts;
      out << W5GRX_GetChart("Axis1\\Homing\\HomeSeq", axes, chart, kTr) << " " << P(chart) << " "
          << W5GRX_GetSubPlansByPlanID(axis1, kTr, subCharts);
      for (GlObjectId id : subCharts) out << " " << P(id);
    });
    Answer(out, "name checks", [&] {
      for (const char* name : {"Move1", "_Move", "Move__1", "1Move", "IF", "TON"}) {
        std::int32_t position = 0;
        out << W5GRX_CheckVarName(name, position) << "@" << position << " ";
        out << W5GRX_CheckBlockName(name, position) << "@" << position << " ";
      }
    });
    Answer(out, "type queries", [&] {
      std::uint32_t esType = 0;
      GlDataType iecType{};
      const GlDataType byteType = IEC_BYTE, sintType = IEC_SINT;
      out << W5GRX_IsSimpleType("time_of_day", esType, iecType) << " " << esType << " " << iecType << " "
          << W5GRX_CanCast(&byteType, &sintType) << W5GRX_CanCast(&sintType, &byteType);
    });
    Answer(out, "global variables", [&] {
      std::vector<FIND> uses;
      CString text;
      GlObjectId global = 0;
      out << FindGlobalVar(axes, CString("Speed"), 0, uses, kTr) << " "
          << FindGlobalVar(axes, CString("glinespeed"), text, global, kTr) << " " << text.GetString() << " "
          << P(global);
      for (const FIND& use : uses) {
        out << " " << use.globalVarName.GetString() << use.kind << use.location.GetString()
            << use.rootChartName.GetString();
      }
    });
    Answer(out, "version checks", [&] {
      bool foreign = true;
      out << W5GRX_CheckGRXVersion(platform::kNoWindow, axes, axis1, foreign, false, kTr) << foreign << " "
          << W5GRX_CheckGRXVersion(platform::kNoWindow, line_, 0, foreign, false, kTr) << foreign;
    });
    Answer(out, "error location", [&] {
      GlObjectId first = 0, second = 0, block = 0, param = 0;
      out << W5GRX_GetErrorLocation(axis1, CString("at \".move1.pos\": unknown"), first, second) << " " << P(first)
          << " " << P(second) << " " << W5GRX_GetError(axis1, CString("MOVE1"), CString("POS"), block, param) << " "
          << P(block) << " " << P(param);
    });
    return out.str();
  }

  GlObjectId axes_ = 0, axis1_ = 0, search_ = 0, line_ = 0;
};

TEST_F(ThreadsTest, EightThreadsAnswerWhatOneThreadAnswers) {
  const std::string single = AskEveryFamily();
  // The answers are real ones, not a family's failure seen eight times.
  EXPECT_THAT(single, ::testing::Not(::testing::HasSubstr("raised")));
  EXPECT_THAT(single, ::testing::HasSubstr("gLineSpeed"));
  EXPECT_THAT(single, ::testing::HasSubstr("D445_AXES/Axis1/Move1"));

  std::vector<std::vector<std::string>> answers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) answers[t].push_back(AskEveryFamily());
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(answers[t].size(), static_cast<std::size_t>(kRounds));
    for (int round = 0; round < kRounds; ++round) {
      EXPECT_EQ(answers[t][round], single) << "thread " << t << ", round " << round;
    }
  }
  // And the first thread, after the others, still answers the same.
  EXPECT_EQ(AskEveryFamily(), single);
}

} // namespace
} // namespace grx::testing
