// A host of the helper library w5lhlpax, as a chart editor or a test bench would write one: it
// opens a project in the chart-database stand-in through the stand-in's control interface, asks
// the library about it (plan navigation, a type query, the global-variable search, name checks)
// and prints the answers.
//
//   example_host PROJECT [GLOBAL]
//
// PROJECT is a project database (opened read-only) or a JSON project description (imported into
// a project kept in memory); GLOBAL is the text the global-variable search looks for (default
// "Speed").
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "chartdb/q3sim_control.h"
#include "grx/w5lhlpax.h"

namespace {

constexpr GlTransactionId kNoTransaction = 0xFFFF;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Opens the project in the stand-in; false with the reason printed when it cannot.
bool OpenProject(const std::string& project) {
  int failed = 0;
  if (EndsWith(project, ".json")) {
    std::ifstream in(project, std::ios::binary);
    if (!in) {
      std::cerr << "example_host: cannot read " << project << "\n";
      return false;
    }
    std::stringstream json;
    json << in.rdbuf();
    failed = q3sim_ImportDescription(json.str().c_str(), ":memory:");
  } else {
    failed = q3sim_OpenProject(project.c_str(), Q3SIM_OPEN_READ_ONLY);
  }
  if (failed) std::cerr << "example_host: cannot open " << project << ": " << q3sim_LastError() << "\n";
  return failed == 0;
}

std::string PathOf(GlObjectId id) {
  const char* path = nullptr;
  return q3sim_PathOf(id, &path) == 0 && path ? path : std::to_string(id);
}

const char* RuleName(Syntax_Err_TypeEnum rule) {
  static const char* const names[] = {"ok",
                                      "invalid character",
                                      "double underscore",
                                      "leading underscore",
                                      "trailing underscore",
                                      "underscore",
                                      "first character not a letter",
                                      "underscore before a letter",
                                      "first character a digit",
                                      "keyword",
                                      "too long"};
  const auto index = static_cast<std::size_t>(rule);
  return index < sizeof names / sizeof names[0] ? names[index] : "unknown rule";
}

void ShowController(GlObjectId controller, const std::string& search) {
  const std::string name = PathOf(controller);
  std::cout << "controller " << name << "\n";

  // Plan navigation: the root charts, and the sub-charts below each.
  std::vector<GlObjectId> charts;
  W5GRX_RootPlanIDsFromCPU(controller, charts, kNoTransaction);
  for (GlObjectId chart : charts) {
    std::vector<GlObjectId> subCharts;
    const int count = W5GRX_GetSubPlansByPlanID(chart, kNoTransaction, subCharts);
    std::cout << "  root chart " << PathOf(chart) << ": " << count << " sub-charts\n";
    for (GlObjectId subChart : subCharts) std::cout << "    " << PathOf(subChart) << "\n";
  }

  // The global-variable search: every use of the globals whose names hold the text.
  std::vector<FIND> uses;
  FindGlobalVar(controller, CString(search), 0, uses, kNoTransaction);
  std::cout << "  uses of globals holding \"" << search << "\": " << uses.size() << "\n";
  for (const FIND& use : uses) {
    std::cout << "    " << use.globalVarName.GetString() << (use.kind == 1 ? " written at " : " read at ")
              << use.location.GetString() << " in " << use.rootChartName.GetString() << "\n";
  }
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: example_host PROJECT [GLOBAL]\n";
    return 2;
  }
  const std::string search = argc == 3 ? argv[2] : "Speed";
  if (!OpenProject(argv[1])) return 1;
  try {
    GlObjectId controllers[64] = {};
    std::size_t count = 0;
    if (q3sim_Controllers(controllers, 64, &count) != 0) {
      std::cerr << "example_host: cannot list the controllers: " << q3sim_LastError() << "\n";
      return 1;
    }
    for (std::size_t i = 0; i < count && i < 64; ++i) ShowController(controllers[i], search);

    // A type query: an elementary type by name.
    std::uint32_t esType = 0;
    GlDataType iecType{};
    const bool simple = W5GRX_IsSimpleType("time_of_day", esType, iecType);
    std::cout << "type time_of_day: " << (simple ? "elementary" : "not elementary") << ", ES type " << esType
              << ", IEC type " << static_cast<int>(iecType) << "\n";

    // Name checks: the first rule a name breaks and where.
    for (const char* name : {"Motor_1", "_Motor", "Motor__1", "1Motor", "IF"}) {
      std::int32_t position = 0;
      const Syntax_Err_TypeEnum rule = W5GRX_CheckVarName(name, position);
      std::cout << "variable name " << name << ": " << RuleName(rule);
      if (rule != SYNTAX_ERR_NONE) std::cout << " at " << position;
      std::cout << "\n";
    }
  } catch (const std::exception& e) {
    std::cerr << "example_host: " << e.what() << "\n";
    q3sim_CloseProject();
    return 1;
  } catch (...) {
    // Exports of the raising kind hand the library's own exceptions (ZEB::CException and its
    // kin, whose classes the public headers leave out) to the host.
    std::cerr << "example_host: the library raised an exception\n";
    q3sim_CloseProject();
    return 1;
  }
  q3sim_CloseProject();
  return 0;
}
