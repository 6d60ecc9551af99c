// grx draw as an engineer uses it: every chart of the demo and of an imported TC6 project drawn
// as SVG and checked as a drawing (every block, pin, wire and interface item there with its
// text, wires ending on their pins at right angles, no box over another), findings marked, the
// controller's page with its data, and the errors for what is no chart.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "draw/chart_drawing.h"
#include "grx_cli_fixture.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Json = nlohmann::json;

struct Rect {
  double x, y, w, h;
};

double Attr(const pugi::xml_node& node, const char* name) {
  return node.attribute(name).as_double();
}

// Checks a drawing against the description of its chart; answers what is wrong ("" when nothing).
std::string CheckDrawing(const std::string& svg, const Json& controller, const Json& chart, const std::string& path) {
  pugi::xml_document doc;
  if (!doc.load_string(svg.c_str())) return path + ": not XML";
  const pugi::xml_node root = doc.document_element();
  std::string problems;
  auto problem = [&](const std::string& text) { problems += path + ": " + text + "\n"; };
  // Boxes and pins by object path; connectors' pins by label.
  std::map<std::string, pugi::xml_node> boxes;
  std::map<std::string, std::pair<double, double>> pins; // "PATH.PIN>" output, "PATH.PIN<" input
  std::vector<Rect> rects;
  for (const char* kind : {"block", "subchart"}) {
    for (const pugi::xpath_node& g : root.select_nodes(("//*[contains(@class,'" + std::string(kind) + "')]").c_str())) {
      const pugi::xml_node box = g.node();
      boxes[box.attribute("data-path").value()] = box;
      const pugi::xml_node r = box.child("rect");
      rects.push_back({Attr(r, "x"), Attr(r, "y"), Attr(r, "width"), Attr(r, "height")});
      for (const pugi::xml_node& pin : box.children("g")) {
        const std::string cls = pin.attribute("class").value();
        const bool input = cls.find("pin in") == 0;
        pins[std::string(box.attribute("data-path").value()) + "." + pin.attribute("data-pin").value() +
             (input ? "<" : ">")] = {Attr(pin, "data-x"), Attr(pin, "data-y")};
        if (std::string(pin.child("text").text().get()) != pin.attribute("data-pin").value()) {
          problem(std::string("pin ") + pin.attribute("data-pin").value() + " without its name");
        }
      }
    }
  }
  const std::string prefix = path + "/";
  std::map<std::string, Json> types;
  for (const Json& t : controller["blockTypes"]) types[t["name"]] = t;
  for (const Json& block : chart.value("blocks", Json::array())) {
    const std::string blockPath = prefix + block["name"].get<std::string>();
    const auto box = boxes.find(blockPath);
    if (box == boxes.end()) {
      problem("no box for " + blockPath);
      continue;
    }
    const std::string texts = box->second.select_node("text[@class='name']").node().text().get() + std::string("|") +
                              box->second.select_node("text[@class='type']").node().text().get();
    if (texts != block["name"].get<std::string>() + "|" + block["type"].get<std::string>()) {
      problem("box of " + blockPath + " says " + texts);
    }
    for (const Json& parameter : types[block["type"]].value("parameters", Json::array())) {
      const std::string direction = parameter.value("direction", "in");
      const std::string name = blockPath + "." + parameter["name"].get<std::string>();
      if (direction != "out" && !pins.count(name + "<")) problem("no input pin " + name);
      if (direction != "in" && !pins.count(name + ">")) problem("no output pin " + name);
    }
  }
  for (const Json& sub : chart.value("charts", Json::array())) {
    if (!boxes.count(prefix + sub["name"].get<std::string>())) problem("no box for sub-chart " + sub["name"].dump());
  }
  std::set<std::string> interfaceLabels;
  for (const pugi::xpath_node& c : root.select_nodes("//*[contains(@class,'connector')]")) {
    const pugi::xml_node connector = c.node();
    const std::string cls = connector.attribute("class").value();
    const bool source = cls.find(" source") != std::string::npos;
    if (cls.find("interface") != std::string::npos) interfaceLabels.insert(connector.attribute("data-label").value());
    if (std::string(connector.child("text").text().get()) != connector.attribute("data-label").value()) {
      problem("connector without its label");
    }
    (void)source;
    const std::string id = connector.attribute("id").value();
    pins["connector:" + id] = {Attr(connector, "data-x"), Attr(connector, "data-y")};
    pins["connector:" + id + ".through"] = {Attr(connector, "data-through-x"), Attr(connector, "data-through-y")};
  }
  for (const Json& item : chart.value("interface", Json::array())) {
    if (!interfaceLabels.count(item["name"].get<std::string>())) problem("no interface item " + item["name"].dump());
  }
  // Wires: from the source's pin to the sink's, at right angles.
  const auto wires = root.select_nodes("//polyline[@class='wire']");
  for (const pugi::xpath_node& w : wires) {
    std::vector<std::pair<double, double>> points;
    std::string list = w.node().attribute("points").value();
    for (std::size_t at = 0; at < list.size();) {
      const std::size_t end = list.find(' ', at);
      const std::string point = list.substr(at, end == std::string::npos ? std::string::npos : end - at);
      const std::size_t comma = point.find(',');
      points.emplace_back(std::stod(point.substr(0, comma)), std::stod(point.substr(comma + 1)));
      if (end == std::string::npos) break;
      at = end + 1;
    }
    const std::string from = w.node().attribute("data-from").value(), to = w.node().attribute("data-to").value();
    // A box's pin by its path, a connector by its id.
    auto endOf = [&](const std::string& object, const char* connector,
                     bool output) -> const std::pair<double, double>* {
      const std::string id = w.node().attribute(connector).value();
      const auto it = pins.find(id.empty() ? object + (output ? ">" : "<") : "connector:" + id);
      return it == pins.end() ? nullptr : &it->second;
    };
    const auto* first = endOf(from, "data-from-connector", true);
    const auto* last = endOf(to, "data-to-connector", false);
    if (points.size() < 2 || !first || !last || points.front() != *first || points.back() != *last) {
      problem("wire " + from + " -> " + to + " does not end on its pins");
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
      if (points[i].first != points[i - 1].first && points[i].second != points[i - 1].second) {
        problem("wire " + from + " -> " + to + " has a slanted segment");
      }
    }
  }
  for (std::size_t i = 0; i < rects.size(); ++i) {
    for (std::size_t j = i + 1; j < rects.size(); ++j) {
      const Rect& a = rects[i];
      const Rect& b = rects[j];
      if (a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h) problem("two boxes overlap");
    }
  }
  return problems;
}

class GrxDrawTest : public GrxCliTest {
protected:
  void SetUp() override {
    GrxCliTest::SetUp();
    db_ = (folder_ / "demo.db").string();
    ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + db_).exitCode, 0);
  }
  GrxRun OnProject(const std::string& arguments) const { return Grx("--project " + db_ + " " + arguments); }

  // Every chart of every controller of a project drawn and checked.
  void DrawEveryChart(const std::string& db, const std::string& expectedLayout) {
    const Json description = Json::parse(Grx("export " + db).out);
    std::size_t drawn = 0;
    std::multiset<std::string> wired; // "FROM -> TO" of every wire of every drawing
    for (const Json& controller : description["controllers"]) {
      const std::string res = controller["name"];
      for (const std::string& path : draw::ChartPaths(description, res)) {
        const GrxRun run = Grx("--project " + db + " draw " + path);
        ASSERT_EQ(run.exitCode, 0) << path << ": " << run.out;
        const Json* chart = &controller;
        std::size_t start = res.size() + 1;
        while (start <= path.size()) {
          const std::size_t slash = path.find('/', start);
          const std::string name = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
          for (const Json& c : (*chart)["charts"]) {
            if (c["name"] == name) chart = &c;
          }
          if (slash == std::string::npos) break;
          start = slash + 1;
        }
        EXPECT_EQ(CheckDrawing(run.out, controller, *chart, path), "");
        pugi::xml_document doc;
        doc.load_string(run.out.c_str());
        for (const pugi::xpath_node& w : doc.select_nodes("//polyline[@class='wire']")) {
          wired.insert(std::string(w.node().attribute("data-from").value()) + " -> " +
                       w.node().attribute("data-to").value());
        }
        if (!expectedLayout.empty() && !(*chart).value("blocks", Json::array()).empty()) {
          EXPECT_THAT(run.out, HasSubstr("data-layout=\"" + expectedLayout + "\"")) << path;
        }
        ++drawn;
      }
      // Every connection of the controller is a wire of some drawing: of the chart of its sink,
      // of its source, or of both.
      for (const Json& connection : controller["connections"]) {
        const std::string to = connection.value("to", "");
        if (connection.value("kind", "") == "no-connection" || to.find('#') != std::string::npos) continue;
        const std::string from = connection.contains("from") ? res + "/" + connection["from"].get<std::string>() : "";
        EXPECT_GE(wired.count(from + " -> " + res + "/" + to), 1u) << connection.dump();
      }
    }
    EXPECT_GT(drawn, 0u);
  }

  std::string db_;
};

TEST_F(GrxDrawTest, EveryChartOfTheDemoIsDrawnWithEveryBlockPinAndWire) {
  DrawEveryChart(db_, "graphviz");
  // The same project draws the same picture.
  EXPECT_EQ(OnProject("draw D445_AXES/Axis1").out, OnProject("draw D445_AXES/Axis1").out);
  const std::string svg = OnProject("draw D445_AXES/Axis1").out;
  // Values of inputs nobody feeds, the run place, global connectors and sub-charts.
  EXPECT_THAT(svg, HasSubstr("class=\"run\""));
  EXPECT_THAT(svg, HasSubstr("data-path=\"D445_AXES/@gLineSpeed\""));
  EXPECT_THAT(svg, HasSubstr("class=\"subchart\" data-path=\"D445_AXES/Axis1/Homing\""));
  EXPECT_THAT(svg, HasSubstr("class=\"value\""));
  // Into a file.
  const std::string file = (folder_ / "axis1.svg").string();
  const GrxRun written = OnProject("draw D445_AXES/Axis1 -o " + file);
  EXPECT_EQ(written.exitCode, 0) << written.out;
  EXPECT_EQ(FileBytes(file), svg);
}

// A chart of hundreds of blocks, which Graphviz ranks with its newer ranking, is drawn as fully.
TEST_F(GrxDrawTest, ALargeChartIsDrawnAsFully) {
  const std::string db = (folder_ / "large.db").string();
  ASSERT_EQ(Grx("generate " + db + " --charts 1 --depth 0 --blocks 300 --globals 4").exitCode, 0);
  DrawEveryChart(db, "graphviz");
}

// The picture in the README is grx draw's drawing of the demo's first chart, as it draws it now.
TEST_F(GrxDrawTest, TheReadmesPictureIsTheDrawingOfTheDemo) {
  EXPECT_EQ(OnProject("draw D445_AXES/Axis1").out, FileBytes(fs::path(GRX_SOURCE_DIR) / "docs" / "demo-axis1.svg"))
      << "run: grx --project DEMO.db draw D445_AXES/Axis1 -o docs/demo-axis1.svg";
}

TEST_F(GrxDrawTest, ChartsOfATc6ImportKeepTheirPlaces) {
  const std::string db = (folder_ / "conveyor.db").string();
  const std::string xml = (fs::path(GRX_SOURCE_DIR) / "tests" / "fixtures" / "plcopen" / "conveyor.xml").string();
  ASSERT_EQ(Grx("import " + xml + " " + db).exitCode, 0);
  DrawEveryChart(db, "");
  // A chart whose blocks all have their places keeps them: the distance between two blocks is
  // the stored one.
  const Json description = Json::parse(Grx("export " + db).out);
  const Json& controller = description["controllers"][0];
  for (const std::string& path : draw::ChartPaths(description, controller["name"])) {
    const std::string svg = Grx("--project " + db + " draw " + path).out;
    if (svg.find("data-layout=\"stored\"") == std::string::npos) continue;
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(svg.c_str()));
    const auto blocks = doc.select_nodes("//*[@class='block']/rect");
    ASSERT_GE(blocks.size(), 2u);
    const Json chart = [&] {
      Json found;
      for (const Json& c : controller["charts"]) {
        if (path == controller["name"].get<std::string>() + "/" + c["name"].get<std::string>()) found = c;
      }
      return found;
    }();
    if (chart.is_null()) continue;
    auto storedX = [&](std::size_t i) {
      const std::string kept = chart["blocks"][i]["plcopen"]["xml"];
      const std::size_t at = kept.find("<position x=\"") + 13;
      return std::stod(kept.substr(at));
    };
    EXPECT_EQ(Attr(blocks[1].node(), "x") - Attr(blocks[0].node(), "x"), storedX(1) - storedX(0)) << path;
    return;
  }
  FAIL() << "no chart of the import kept its places";
}

TEST_F(GrxDrawTest, CheckMarksTheFindingsOnTheirObjects) {
  const std::string db = CheckProject();
  const std::string plain = Grx("--project " + db + " draw R/A__B").out;
  EXPECT_THAT(plain, ::testing::Not(HasSubstr(" finding\"")));
  const std::string checked = Grx("--project " + db + " draw R/A__B --check").out;
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(checked.c_str()));
  const pugi::xml_node b2 = doc.select_node("//*[@data-path='R/A__B/B2']").node();
  EXPECT_EQ(std::string(b2.attribute("class").value()), "block finding");
  EXPECT_THAT(b2.child("title").text().get(), HasSubstr("REAL cannot feed BOOL"));
  EXPECT_EQ(std::string(doc.select_node("//*[@data-path='R/A__B/B1']").node().attribute("class").value()), "block");
  EXPECT_THAT(doc.select_node("//*[contains(@class,'title')]").node().child("title").text().get(),
              HasSubstr("SYNTAX_ERR_DOUBLE_UNDERSCORE"));
}

TEST_F(GrxDrawTest, AControllerIsOnePageWithEveryChartAndTheGlobalsUses) {
  const std::string page = (folder_ / "axes.html").string();
  const GrxRun run = OnProject("draw D445_AXES -o " + page);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const std::string html = FileBytes(page);
  EXPECT_EQ(html.find("http"), html.find("http://www.w3.org/2000/svg")) << "nothing is fetched";
  const std::string open = "<script type=\"application/json\" id=\"grx-data\">";
  const std::size_t at = html.find(open) + open.size();
  const Json data = Json::parse(html.substr(at, html.find("</script>", at) - at));
  const Json description = Json::parse(Grx("export " + db_).out);
  const auto paths = draw::ChartPaths(description, "D445_AXES");
  ASSERT_EQ(data["tree"].size(), paths.size());
  for (const std::string& path : paths) {
    ASSERT_TRUE(data["charts"].contains(path)) << path;
    EXPECT_THAT(data["charts"][path].get<std::string>(), HasSubstr("data-path=\"" + path + "\""));
  }
  ASSERT_EQ(data["globals"]["gLineSpeed"].size(), 2u);
  EXPECT_EQ(data["globals"]["gLineSpeed"][0]["object"], "D445_AXES/Axis1/Ramp1");
  EXPECT_EQ(data["globals"]["gLineSpeed"][0]["chart"], "D445_AXES/Axis1");
  EXPECT_EQ(data["parents"]["D445_AXES/Axis1/Homing"], "D445_AXES/Axis1");
  EXPECT_FALSE(data["findings"].empty());
}

TEST_F(GrxDrawTest, WhatIsNoChartIsAClearError) {
  const GrxRun block = OnProject("draw D445_AXES/Axis1/Move1");
  EXPECT_NE(block.exitCode, 0);
  EXPECT_THAT(block.out, HasSubstr("cannot draw D445_AXES/Axis1/Move1: no chart D445_AXES/Axis1/Move1"));
  const GrxRun missing = OnProject("draw D445_AXES/Nope");
  EXPECT_NE(missing.exitCode, 0);
  EXPECT_THAT(missing.out, HasSubstr("D445_AXES/Nope"));
  EXPECT_FALSE(fs::exists(folder_ / "x.svg"));
  EXPECT_NE(OnProject("draw D445_AXES/Nope -o " + (folder_ / "x.svg").string()).exitCode, 0);
  EXPECT_FALSE(fs::exists(folder_ / "x.svg"));
}

// The output file is written whole or not at all: a file that cannot be written is an error that
// names it, leaves nothing behind, and a drawing that fails keeps the file that was there.
TEST_F(GrxDrawTest, AFileThatCannotBeWrittenIsAnErrorAndLeavesNothing) {
  const fs::path missingFolder = folder_ / "no-such-folder" / "axis1.svg";
  const GrxRun intoNowhere = OnProject("draw D445_AXES/Axis1 -o " + missingFolder.string());
  EXPECT_EQ(intoNowhere.exitCode, 3) << intoNowhere.out;
  EXPECT_THAT(intoNowhere.out, HasSubstr("cannot write " + missingFolder.string()));
  EXPECT_FALSE(fs::exists(folder_ / "no-such-folder"));

  const fs::path folderInTheWay = folder_ / "taken.svg";
  fs::create_directories(folderInTheWay / "inside");
  const GrxRun ontoAFolder = OnProject("draw D445_AXES/Axis1 -o " + folderInTheWay.string());
  EXPECT_EQ(ontoAFolder.exitCode, 3) << ontoAFolder.out;
  EXPECT_THAT(ontoAFolder.out, HasSubstr("cannot write " + folderInTheWay.string()));
  EXPECT_TRUE(fs::is_directory(folderInTheWay / "inside"));
  EXPECT_FALSE(fs::exists(folder_ / "taken.svg.writing"));

  const std::string earlier = Write("kept.svg", "<svg>the drawing of yesterday</svg>");
  EXPECT_NE(OnProject("draw D445_AXES/Nope -o " + earlier).exitCode, 0);
  std::ifstream kept(earlier, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), std::istreambuf_iterator<char>()),
            "<svg>the drawing of yesterday</svg>");
}

} // namespace
} // namespace grx::testing
