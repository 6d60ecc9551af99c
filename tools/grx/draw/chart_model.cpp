// The chart's objects from the project description: boxes with their pins, interface and
// global connectors, wires, run-sequence places and findings, sized for the drawing.
#include <algorithm>
#include <set>
#include <unordered_map>

#include "chart_drawing.h"
#include "drawing_metrics.h"

namespace grx::draw {
namespace {

using Json = nlohmann::json;

std::string Text(const Json& object, const char* key) {
  const auto it = object.find(key);
  return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// The list under a key, or an empty one; a reference into the description, never a copy.
const Json& List(const Json& object, const char* key) {
  static const Json empty = Json::array();
  if (!object.is_object()) return empty;
  const auto it = object.find(key);
  return it != object.end() && it->is_array() ? *it : empty;
}

const Json* FindNamed(const Json& list, const std::string& name) {
  if (!list.is_array()) return nullptr;
  for (const Json& item : list) {
    if (Text(item, "name") == name) return &item;
  }
  return nullptr;
}

const Json& Controller(const Json& description, const std::string& name) {
  const Json* controller = FindNamed(List(description, "controllers"), name);
  if (!controller) throw DrawError("no controller " + name + " in the project");
  return *controller;
}

// The chart at a path inside its controller ("CHART/SUB").
const Json* FindChart(const Json& controller, const std::string& path) {
  const Json* chart = nullptr;
  const Json* list = &List(controller, "charts");
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto slash = path.find('/', start);
    chart = FindNamed(*list, path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
    if (!chart) return nullptr;
    if (slash == std::string::npos) break;
    list = &List(*chart, "charts");
    start = slash + 1;
  }
  return chart;
}

void AddChartPaths(const Json& charts, const std::string& prefix, std::vector<std::string>& paths) {
  if (!charts.is_array()) return;
  for (const Json& chart : charts) {
    paths.push_back(prefix + Text(chart, "name"));
    AddChartPaths(List(chart, "charts"), paths.back() + "/", paths);
  }
}

// One end of a connection as the description names it: the object ("Axis1/Ramp1", "Axis1",
// "@gLineSpeed") and the parameter or interface item after the last dot ("X"), if any.
struct End {
  std::string object, item;
};

End Split(const std::string& path) {
  if (path.rfind('@', 0) == 0) return {path, ""};
  const auto slash = path.find_last_of('/');
  const auto dot = path.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot == std::string::npos) return {path, ""};
  return {path.substr(0, dot), path.substr(dot + 1)};
}

std::string Direction(const Json& item) {
  const std::string direction = Text(item, "direction");
  return direction.empty() ? "in" : direction;
}

double TextWidth(const std::string& text) {
  return static_cast<double>(text.size()) * kCharWidth;
}

void SizeBox(Box& box) {
  double pins = 0;
  const std::size_t rows = std::max(box.inputs.size(), box.outputs.size());
  for (std::size_t i = 0; i < rows; ++i) {
    double row = kPinGap;
    if (i < box.inputs.size()) {
      row += TextWidth(box.inputs[i].name);
    }
    if (i < box.outputs.size()) row += TextWidth(box.outputs[i].name);
    pins = std::max(pins, row);
  }
  box.width = std::max({kMinBoxWidth, TextWidth(box.name) + 2 * kPadding, TextWidth(box.type) + 2 * kPadding,
                        TextWidth(box.runPlace) * kSmallFont / kFontSize + 2 * kPadding,
                        TextWidth(box.comment) * kSmallFont / kFontSize + 2 * kPadding, pins + 2 * kPadding});
  box.height = kHeaderHeight + static_cast<double>(std::max<std::size_t>(rows, 1)) * kRowHeight + kPadding;
  if (!box.comment.empty()) box.height += kRowHeight;
}

void SizeConnector(Connector& connector) {
  connector.width = TextWidth(connector.label) + 2 * kPadding + kArrow;
  connector.height = kRowHeight + 4;
}

} // namespace

std::vector<std::string> ChartPaths(const Json& description, const std::string& controller) {
  std::vector<std::string> paths;
  AddChartPaths(List(Controller(description, controller), "charts"), controller + "/", paths);
  return paths;
}

ChartDrawing DescribeChart(const Json& description, const std::string& fullPath, const FindingsByPath& findings) {
  const auto slash = fullPath.find('/');
  if (slash == std::string::npos || slash == 0 || slash + 1 == fullPath.size()) {
    throw DrawError(fullPath + " is not a chart path (RES/CHART/...)");
  }
  ChartDrawing drawing;
  drawing.controller = fullPath.substr(0, slash);
  const std::string local = fullPath.substr(slash + 1); // the chart's path inside its controller
  const Json& controller = Controller(description, drawing.controller);
  const Json* chart = FindChart(controller, local);
  if (!chart) throw DrawError("no chart " + fullPath + " in the project");
  drawing.path = fullPath;
  drawing.name = Text(*chart, "name");
  drawing.comment = Text(*chart, "comment");
  const auto full = [&](const std::string& inController) { return drawing.controller + "/" + inController; };
  auto findingsOf = [&](const std::string& path) {
    const auto it = findings.find(path);
    return it == findings.end() ? std::vector<Finding>() : it->second;
  };
  drawing.findings = findingsOf(fullPath);

  // Where each member runs: TASK/GROUP:POSITION.
  std::unordered_map<std::string, std::string> places;
  for (const Json& task : List(controller, "tasks")) {
    for (const Json& group : List(task, "groups")) {
      int position = 0;
      for (const Json& member : List(group, "members")) {
        if (member.is_string()) {
          places[member.get<std::string>()] =
              Text(task, "name") + "/" + Text(group, "name") + ":" + std::to_string(++position);
        }
      }
    }
  }

  // Blocks with the parameters of their types; sub-charts with their interfaces.
  std::unordered_map<std::string, const Json*> types;
  for (const Json& type : List(controller, "blockTypes")) types[Text(type, "name")] = &type;
  std::unordered_map<std::string, std::size_t> boxOf; // by path inside the controller
  for (const Json& block : List(*chart, "blocks")) {
    Box box;
    box.name = Text(block, "name");
    box.type = Text(block, "type");
    box.path = full(local + "/" + box.name);
    box.comment = Text(block, "comment");
    if (const auto kept = block.find("plcopen"); kept != block.end() && kept->is_object())
      box.keptXml = Text(*kept, "xml");
    const Json values = block.contains("values") && block["values"].is_object() ? block["values"] : Json::object();
    if (const auto type = types.find(box.type); type != types.end()) {
      for (const Json& parameter : List(*type->second, "parameters")) {
        Pin pin{Text(parameter, "name"), Text(parameter, "type"), Text(parameter, "default"), false, {}};
        if (const auto value = values.find(pin.name); value != values.end() && value->is_string()) {
          pin.value = value->get<std::string>();
        }
        const std::string direction = Direction(parameter);
        if (direction != "out") box.inputs.push_back(pin);
        if (direction != "in") box.outputs.push_back(pin);
      }
    }
    boxOf[local + "/" + box.name] = drawing.boxes.size();
    drawing.boxes.push_back(std::move(box));
  }
  for (const Json& subChart : List(*chart, "charts")) {
    Box box;
    box.kind = BoxKind::SubChart;
    box.name = Text(subChart, "name");
    box.type = "chart";
    box.path = full(local + "/" + box.name);
    box.comment = Text(subChart, "comment");
    // A TC6 import keeps the block the sub-chart was an instance of.
    if (const auto kept = subChart.find("plcopen"); kept != subChart.end() && kept->is_object()) {
      if (const auto block = kept->find("block"); block != kept->end() && block->is_object()) {
        box.keptXml = Text(*block, "xml");
      }
    }
    for (const Json& item : List(subChart, "interface")) {
      Pin pin{Text(item, "name"), Text(item, "type"), Text(item, "value"), false, {}};
      const std::string direction = Direction(item);
      if (direction != "out") box.inputs.push_back(pin);
      if (direction != "in") box.outputs.push_back(pin);
    }
    boxOf[local + "/" + box.name] = drawing.boxes.size();
    drawing.boxes.push_back(std::move(box));
  }
  for (Box& box : drawing.boxes) {
    const std::string inController = box.path.substr(drawing.controller.size() + 1);
    if (const auto place = places.find(inController); place != places.end()) box.runPlace = place->second;
    box.findings = findingsOf(box.path);
    for (const Pin& pin : box.inputs) {
      for (const Finding& f : findingsOf(box.path + "." + pin.name)) box.findings.push_back(f);
    }
    for (const Pin& pin : box.outputs) {
      if (std::none_of(box.inputs.begin(), box.inputs.end(), [&](const Pin& p) { return p.name == pin.name; })) {
        for (const Finding& f : findingsOf(box.path + "." + pin.name)) box.findings.push_back(f);
      }
    }
  }

  // The chart's own interface: inputs at the left edge, outputs at the right.
  std::unordered_map<std::string, std::size_t> interfaceOf; // by item name and side
  for (const Json& item : List(*chart, "interface")) {
    const std::string direction = Direction(item);
    for (const bool source : {true, false}) {
      if ((source && direction == "out") || (!source && direction == "in")) continue;
      Connector connector;
      connector.kind = ConnectorKind::Interface;
      connector.source = source;
      connector.label = Text(item, "name");
      connector.path = fullPath + "." + connector.label;
      connector.type = Text(item, "type");
      connector.pin = Pin{connector.label, connector.type, Text(item, "value"), false, {}};
      connector.findings = findingsOf(connector.path);
      interfaceOf[(source ? "<" : ">") + connector.label] = drawing.connectors.size();
      drawing.connectors.push_back(std::move(connector));
    }
  }

  // The wires: every connection with an end in this chart. An end elsewhere becomes a connector
  // of its own: a global variable by its name, anything else by its text or path.
  auto findEnd = [&](const End& end, bool source, WireEnd& found) {
    if (end.object == local) { // the chart's own interface
      auto it = interfaceOf.find((source ? "<" : ">") + end.item);
      std::size_t side = 0;
      if (it == interfaceOf.end()) {
        // An input fed, or an output read, from outside the chart: the item's other side.
        it = interfaceOf.find((source ? ">" : "<") + end.item);
        side = 1;
      }
      if (it == interfaceOf.end()) return false;
      found = WireEnd{-1, static_cast<int>(it->second), side, drawing.connectors[it->second].path};
      return true;
    }
    const auto box = boxOf.find(end.object);
    if (box == boxOf.end()) return false;
    const Box& b = drawing.boxes[box->second];
    const auto& pins = source ? b.outputs : b.inputs;
    const auto pin = std::find_if(pins.begin(), pins.end(), [&](const Pin& p) { return p.name == end.item; });
    if (pin == pins.end()) return false;
    found = WireEnd{static_cast<int>(box->second), -1, static_cast<std::size_t>(pin - pins.begin()),
                    b.path + "." + end.item};
    return true;
  };
  auto addConnector = [&](ConnectorKind kind, bool source, const std::string& label, const std::string& path) {
    Connector connector;
    connector.kind = kind;
    connector.source = source;
    connector.label = label;
    connector.path = path;
    connector.pin = Pin{label, "", "", true, {}};
    connector.findings = findingsOf(path);
    drawing.connectors.push_back(std::move(connector));
    return WireEnd{-1, static_cast<int>(drawing.connectors.size() - 1), 0, path};
  };
  for (const Json& connection : List(controller, "connections")) {
    if (Text(connection, "kind") == "no-connection") continue;
    const std::string text = Text(connection, "text"), fromText = Text(connection, "from"),
                      toText = Text(connection, "to");
    WireEnd source, sink;
    const bool hasSource = !fromText.empty() && findEnd(Split(fromText), true, source);
    const bool hasSink = findEnd(Split(toText), false, sink);
    if (!hasSource && !hasSink) continue; // neither end is in this chart
    if (!hasSource) {
      if (fromText.empty()) {
        source = addConnector(ConnectorKind::Text, true, text, "");
      } else if (fromText[0] == '@') {
        source = addConnector(ConnectorKind::Global, true, fromText.substr(1), full(fromText));
      } else {
        source = addConnector(ConnectorKind::Text, true, fromText, full(fromText));
      }
    } else if (!hasSink) {
      if (toText.find('#') != std::string::npos) continue; // into a processing group: the run place shows it
      if (!toText.empty() && toText[0] == '@') {
        sink = addConnector(ConnectorKind::Global, false, toText.substr(1), full(toText));
      } else {
        sink = addConnector(ConnectorKind::Text, false, toText, full(toText));
      }
    }
    drawing.wires.push_back(Wire{source, sink, {}});
  }
  for (const Wire& wire : drawing.wires) {
    for (const auto& [end, output] : {std::pair{&wire.source, true}, std::pair{&wire.sink, false}}) {
      if (end->box >= 0) {
        Box& box = drawing.boxes[static_cast<std::size_t>(end->box)];
        (output ? box.outputs : box.inputs)[end->pin].connected = true;
      } else {
        drawing.connectors[static_cast<std::size_t>(end->connector)].pin.connected = true;
      }
    }
  }
  for (Box& box : drawing.boxes) SizeBox(box);
  for (Connector& connector : drawing.connectors) SizeConnector(connector);
  return drawing;
}

} // namespace grx::draw
