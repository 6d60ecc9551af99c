#include "project_generator.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <stdexcept>

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kTasks = 4;

std::string Numbered(const char* prefix, int n, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%0*d", prefix, width, n);
  return text;
}

void CheckShape(const ProjectShape& shape) {
  auto check = [](int value, int low, int high, const char* what) {
    if (value < low || value > high) {
      throw std::invalid_argument(std::string(what) + " must lie between " + std::to_string(low) + " and " +
                                  std::to_string(high));
    }
  };
  check(shape.charts, 1, 99999, "--charts");
  check(shape.depth, 0, 32, "--depth");
  check(shape.blocks, 1, 9999, "--blocks");
  check(shape.globals, 0, 999999, "--globals");
}

Json BlockTypes() {
  const Json real = "REAL";
  return Json::array(
      {Json{{"name", "ADD_R"},
            {"kind", "function"},
            {"library", "STD"},
            {"parameters", Json::array({Json{{"name", "IN1"}, {"type", real}, {"default", "0.0"}},
                                        Json{{"name", "IN2"}, {"type", real}, {"default", "0.0"}},
                                        Json{{"name", "OUT"}, {"direction", "out"}, {"type", real}}})}},
       Json{{"name", "PT1"},
            {"library", "STD"},
            {"parameters", Json::array({Json{{"name", "IN"}, {"type", real}, {"default", "0.0"}},
                                        Json{{"name", "T"}, {"type", "TIME"}, {"default", "T#100ms"}},
                                        Json{{"name", "OUT"}, {"direction", "out"}, {"type", real}}})}}});
}

// Block b of every chart: even ones add, odd ones filter.
bool IsAdd(int b) {
  return b % 2 == 0;
}
std::string InputOf(int b) {
  return IsAdd(b) ? ".IN1" : ".IN";
}
std::string BlockName(int b) {
  return Numbered("B", b + 1, 3);
}

// Builds the description chart by chart; globals are handed out in turn.
class Generator {
public:
  explicit Generator(const ProjectShape& shape) : shape_(shape) {}

  Json Build() {
    Json controller{{"name", "GEN"}, {"type", "CPU_GEN"}};
    controller["blockTypes"] = BlockTypes();
    Json globals = Json::array();
    for (int g = 0; g < shape_.globals; ++g) {
      globals.push_back(
          Json{{"name", GlobalName(g)}, {"type", "REAL"}, {"text", "Generated value " + std::to_string(g + 1)}});
    }
    controller["globals"] = globals;
    Json charts = Json::array();
    std::vector<Json> groups(kTasks, Json::array());
    for (int c = 0; c < shape_.charts; ++c) {
      const std::string root = Numbered("C", c + 1, 5);
      charts.push_back(Chart(root, root, 0));
      Json members = Json::array();
      for (int b = 0; b < shape_.blocks; ++b) members.push_back(root + "/" + BlockName(b));
      if (shape_.depth > 0) members.push_back(root + "/S1");
      groups[static_cast<std::size_t>(c % kTasks)].push_back(Json{{"name", "G_" + root}, {"members", members}});
    }
    controller["charts"] = charts;
    Json tasks = Json::array();
    for (int t = 0; t < kTasks; ++t) {
      tasks.push_back(Json{{"name", "T" + std::to_string(t + 1)},
                           {"kind", 1},
                           {"cycleMs", 2 << t},
                           {"priority", t + 1},
                           {"groups", groups[static_cast<std::size_t>(t)]}});
    }
    controller["tasks"] = tasks;
    controller["connections"] = connections_;
    return Json{{"format", "grx-project/1"},
                {"project", Json{{"name", "Generated"}, {"author", "grx generate"}}},
                {"controllers", Json::array({controller})}};
  }

private:
  static std::string GlobalName(int g) { return Numbered("g", g + 1, 6); }

  std::string NextGlobal() {
    const std::string name = "@" + GlobalName(nextGlobal_);
    nextGlobal_ = (nextGlobal_ + 1) % shape_.globals;
    return name;
  }

  // A chart at a path (relative to the controller) and the sub-charts below it.
  Json Chart(const std::string& name, const std::string& path, int level) {
    Json chart{{"name", name}};
    if (level > 0) chart["interface"] = Json::array({Json{{"name", "IN"}, {"direction", "in"}, {"type", "REAL"}}});
    Json blocks = Json::array();
    for (int b = 0; b < shape_.blocks; ++b) {
      const std::string block = path + "/" + BlockName(b);
      blocks.push_back(Json{{"name", BlockName(b)}, {"type", IsAdd(b) ? "ADD_R" : "PT1"}});
      if (b > 0) {
        Connect(path + "/" + BlockName(b - 1) + ".OUT", block + InputOf(b));
      } else if (level > 0) {
        Connect(path + ".IN", block + InputOf(b));
      } else if (shape_.globals > 0) {
        Connect(NextGlobal(), block + InputOf(b));
      }
      if (IsAdd(b) && shape_.globals > 0) Connect(NextGlobal(), block + ".IN2");
    }
    chart["blocks"] = blocks;
    if (level < shape_.depth) {
      const std::string sub = "S" + std::to_string(level + 1);
      Connect(path + "/" + BlockName(shape_.blocks - 1) + ".OUT", path + "/" + sub + ".IN");
      chart["charts"] = Json::array({Chart(sub, path + "/" + sub, level + 1)});
    }
    return chart;
  }

  void Connect(const std::string& from, const std::string& to) {
    connections_.push_back(Json{{"from", from}, {"to", to}});
  }

  const ProjectShape& shape_;
  Json connections_ = Json::array();
  int nextGlobal_ = 0;
};

} // namespace

std::string GeneratedDescription(const ProjectShape& shape) {
  CheckShape(shape);
  return Generator(shape).Build().dump();
}

std::size_t GeneratedObjectCount(const ProjectShape& shape) {
  CheckShape(shape);
  const auto charts = static_cast<std::size_t>(shape.charts) * static_cast<std::size_t>(shape.depth + 1);
  const std::size_t types = 2 * (1 + 3);
  const std::size_t perChart = 1 + 4 * static_cast<std::size_t>(shape.blocks);
  const std::size_t interfaces = static_cast<std::size_t>(shape.charts) * static_cast<std::size_t>(shape.depth);
  return 1 + types + static_cast<std::size_t>(shape.globals) + charts * perChart + interfaces + kTasks +
         static_cast<std::size_t>(shape.charts);
}

} // namespace grx::cli
