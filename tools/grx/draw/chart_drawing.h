// A chart as an engineer draws it: blocks and sub-charts as boxes with their pins, the chart's
// interface pins at its edges, global variables and textual references as labelled connectors,
// and wires between pins at right angles. Made from a project description (the stand-in's
// export), laid out by Graphviz or placed where the project keeps its geometry, and written as
// SVG or as one page of a whole controller.
#pragma once

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

namespace grx::draw {

struct Point {
  double x = 0, y = 0;
};

// A pin of a box or connector; at is where wires end (the outer end of its stub).
struct Pin {
  std::string name, type;
  std::string value; // the value an input that is not connected takes
  bool connected = false;
  Point at;
};

struct Finding {
  std::string kind, message;
};

enum class BoxKind { Block, SubChart };

struct Box {
  BoxKind kind = BoxKind::Block;
  std::string name, type, path, comment;
  std::string runPlace; // "TASK/GROUP:POSITION" when the box runs in a processing group
  std::vector<Pin> inputs, outputs;
  Point at; // the top-left corner
  double width = 0, height = 0;
  bool stored = false; // placed where the project keeps it
  std::string keptXml; // the element a TC6 import kept for the block, with its position and size
  std::vector<Finding> findings;
};

// Interface: the chart's own interface item (inputs at the left edge, outputs at the right);
// Global: a use of a global variable; Text: a textual reference or an object of another chart.
enum class ConnectorKind { Interface, Global, Text };

struct Connector {
  ConnectorKind kind = ConnectorKind::Interface;
  bool source = true; // feeds the chart (drawn at the left); false: is fed (at the right)
  std::string label, path, type;
  Pin pin;     // where the chart's wires end: the right side of a source, the left of a sink
  Pin through; // the other side, where an interface item meets what lies outside the chart
  Point at;
  double width = 0, height = 0;
  std::vector<Finding> findings;
};

// One end of a wire: a pin of a box (an output at the source, an input at the sink) or the pin
// of a connector, and the object path of the parameter or variable there.
struct WireEnd {
  int box = -1;        // index into ChartDrawing::boxes, or -1
  int connector = -1;  // index into ChartDrawing::connectors, or -1
  std::size_t pin = 0; // of a connector: 0 its pin, 1 the other side (through)
  std::string path;
};

// A wire from an output pin (or a source connector) to an input pin (or a sink connector), with
// the corners of its path: the first on the source's pin, the last on the sink's.
struct Wire {
  WireEnd source, sink;
  std::vector<Point> points;
};

struct ChartDrawing {
  std::string controller, path, name, comment; // path: the chart's object path, RES/CHART/...
  std::vector<Box> boxes;
  std::vector<Connector> connectors;
  std::vector<Wire> wires;
  std::vector<Finding> findings; // of the chart itself
  double width = 0, height = 0;
  bool storedGeometry = false; // every box placed where the project keeps it
};

// Findings by object path (RES/CHART/BLOCK, RES/@GLOBAL, ...).
using FindingsByPath = std::map<std::string, std::vector<Finding>>;

// The chart at path ("RES/CHART/SUB") of the description, with its boxes, connectors and wires,
// sized but not yet placed. DrawError when the path names no chart.
ChartDrawing DescribeChart(const nlohmann::json& description, const std::string& path,
                           const FindingsByPath& findings = {});

// Places the boxes and connectors (the stored geometry where every block has one, otherwise the
// Graphviz dot layout) and routes the wires. DrawError when Graphviz fails.
void LayOut(ChartDrawing& drawing);

// The drawing as a standalone SVG document (UTF-8).
std::string WriteSvg(const ChartDrawing& drawing);

// The paths of the charts of a controller, root charts and their sub-charts depth first.
std::vector<std::string> ChartPaths(const nlohmann::json& description, const std::string& controller);

// One self-contained HTML page for a controller: the chart tree, every chart's drawing (loaded
// into the page when chosen), the findings and a search over the global variables.
std::string WritePage(const nlohmann::json& description, const std::string& controller, const FindingsByPath& findings);

struct DrawError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

} // namespace grx::draw
