// Where the boxes and connectors of a chart go: the project's stored geometry when every block
// has one (a TC6 import keeps it), otherwise the layered dot layout of Graphviz (a very large chart
// in sheets side by side); then the pins on the boxes' edges and the wires between them at right
// angles.
#include <graphviz/gvc.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <regex>

#include "chart_drawing.h"
#include "drawing_metrics.h"

namespace grx::draw {
namespace {

// A chart of more boxes and connectors than a sheet holds is laid out sheet by sheet: dot's time
// grows much faster than the chart, a sheet's stays the same.
constexpr std::size_t kSheetNodes = 100;
constexpr double kSheetGap = 6 * kStub;

// The stored place and size of a block: the position and size TC6 keeps on the block element.
bool StoredPlace(Box& box) {
  const std::string& xml = box.keptXml;
  if (xml.empty()) return false;
  static const std::regex position(R"re(<position\s+x="(-?[0-9.]+)"\s+y="(-?[0-9.]+)")re");
  static const std::regex width(R"re(^<[^>]*\swidth="([0-9.]+)")re"), height(R"re(^<[^>]*\sheight="([0-9.]+)")re");
  std::smatch found;
  if (!std::regex_search(xml, found, position)) return false;
  box.at = {std::stod(found[1]), std::stod(found[2])};
  if (std::regex_search(xml, found, width)) box.width = std::max(box.width, std::stod(found[1]));
  if (std::regex_search(xml, found, height)) box.height = std::max(box.height, std::stod(found[1]));
  box.stored = true;
  return true;
}

// Graphviz's context: one for every sheet of a chart (making one reads Graphviz's plugins).
class GraphvizContext {
public:
  GraphvizContext() : context_(gvContext()) {
    if (!context_) throw DrawError("Graphviz could not start");
  }
  GraphvizContext(const GraphvizContext&) = delete;
  GraphvizContext& operator=(const GraphvizContext&) = delete;
  ~GraphvizContext() { gvFreeContext(context_); }
  GVC_t* get() const { return context_; }

private:
  GVC_t* context_;
};

// A graph and its layout, released in the right order.
struct GraphvizGraph {
  GVC_t* context;
  Agraph_t* graph = nullptr;
  bool laidOut = false;
  explicit GraphvizGraph(GVC_t* c) : context(c) {
    graph = agopen(const_cast<char*>("chart"), Agdirected, nullptr);
    if (!graph) throw DrawError("Graphviz could not make a graph");
  }
  GraphvizGraph(const GraphvizGraph&) = delete;
  GraphvizGraph& operator=(const GraphvizGraph&) = delete;
  ~GraphvizGraph() {
    if (laidOut) gvFreeLayout(context, graph);
    agclose(graph);
  }
};

void Set(void* object, const char* name, const std::string& value) {
  agsafeset(object, const_cast<char*>(name), const_cast<char*>(value.c_str()), const_cast<char*>(""));
}

// A node attribute of the graph, declared once with its default.
Agsym_t* NodeAttribute(Agraph_t* graph, const char* name, const char* fallback) {
  Agsym_t* symbol = agattr(graph, AGNODE, const_cast<char*>(name), const_cast<char*>(fallback));
  if (!symbol) throw DrawError(std::string("Graphviz refused the node attribute ") + name);
  return symbol;
}

std::string Inches(double pixels) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, pixels / 72.0, std::chars_format::fixed, 6);
  return std::string(text, written.ec == std::errc() ? written.ptr : text);
}

// What dot places: the boxes, then the connectors, by their sizes, and the wires between them.
struct LayoutNode {
  double width = 0;
  double height = 0;
  int rank = 0; // -1: in the first rank (the chart's inputs), 1: in the last (its outputs)
  Point at;     // the top-left corner dot gives it
};
struct LayoutGraph {
  std::size_t boxes = 0; // nodes [0, boxes) are boxes, the rest connectors
  std::vector<LayoutNode> nodes;
  std::vector<std::pair<std::size_t, std::size_t>> edges;
};

void PlaceWithGraphviz(GVC_t* context, LayoutGraph& layoutGraph) {
  GraphvizGraph layout(context);
  Agraph_t* graph = layout.graph;
  Set(graph, "rankdir", "LR");
  Set(graph, "nodesep", "0.35");
  Set(graph, "ranksep", "0.9");
  Set(graph, "splines", "none"); // only the ranks and places count: the drawing routes its own wires
  // Every node is a fixed box without text: the drawing writes its own texts, no font is asked for.
  NodeAttribute(graph, "shape", "box");
  NodeAttribute(graph, "label", "");
  NodeAttribute(graph, "fixedsize", "true");
  Agsym_t* width = NodeAttribute(graph, "width", "1");
  Agsym_t* height = NodeAttribute(graph, "height", "1");
  Agraph_t* first = agsubg(graph, const_cast<char*>("sources"), 1);
  Agraph_t* last = agsubg(graph, const_cast<char*>("sinks"), 1);
  Set(first, "rank", "source");
  Set(last, "rank", "sink");
  std::vector<Agnode_t*> nodes;
  for (std::size_t i = 0; i < layoutGraph.nodes.size(); ++i) {
    const LayoutNode& n = layoutGraph.nodes[i];
    const std::string name =
        i < layoutGraph.boxes ? "b" + std::to_string(i) : "c" + std::to_string(i - layoutGraph.boxes);
    Agnode_t* node = agnode(n.rank < 0 ? first : n.rank > 0 ? last : graph, const_cast<char*>(name.c_str()), 1);
    agxset(node, width, const_cast<char*>(Inches(n.width).c_str()));
    agxset(node, height, const_cast<char*>(Inches(n.height).c_str()));
    nodes.push_back(node);
  }
  for (const auto& [tail, head] : layoutGraph.edges) {
    if (tail != head) agedge(graph, nodes[tail], nodes[head], nullptr, 1);
  }
  if (gvLayout(context, graph, "dot") != 0) throw DrawError("Graphviz could not lay the chart out");
  layout.laidOut = true;
  const boxf bounds = GD_bb(graph);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    LayoutNode& n = layoutGraph.nodes[i];
    const pointf centre = ND_coord(nodes[i]);
    n.at = Point{centre.x - bounds.LL.x - n.width / 2, bounds.UR.y - centre.y - n.height / 2};
  }
}

// The boxes in an order that keeps wired boxes together: breadth first along the wires, starting
// from each box not yet taken in the chart's order.
std::vector<std::size_t> BoxesAlongWires(const ChartDrawing& drawing) {
  std::vector<std::vector<std::size_t>> neighbours(drawing.boxes.size());
  for (const Wire& wire : drawing.wires) {
    if (wire.source.box < 0 || wire.sink.box < 0) continue;
    const auto a = static_cast<std::size_t>(wire.source.box), b = static_cast<std::size_t>(wire.sink.box);
    neighbours[a].push_back(b);
    neighbours[b].push_back(a);
  }
  std::vector<std::size_t> order;
  std::vector<bool> taken(drawing.boxes.size(), false);
  for (std::size_t start = 0; start < drawing.boxes.size(); ++start) {
    if (taken[start]) continue;
    taken[start] = true;
    order.push_back(start);
    for (std::size_t next = order.size() - 1; next < order.size(); ++next) {
      for (std::size_t n : neighbours[order[next]]) {
        if (!taken[n]) {
          taken[n] = true;
          order.push_back(n);
        }
      }
    }
  }
  return order;
}

struct Sheet {
  std::vector<std::size_t> boxes, connectors;
};

// The sheets of a chart: one of everything when it is small enough; else about equal sheets, none
// above kSheetNodes (unless one box has more connectors), the boxes along the wires and each
// connector with the first box it is wired to, so that most wires stay within a sheet or run on
// to the next one.
std::vector<Sheet> Sheets(const ChartDrawing& drawing) {
  const std::size_t nodes = drawing.boxes.size() + drawing.connectors.size();
  if (nodes <= kSheetNodes) {
    Sheet all;
    for (std::size_t b = 0; b < drawing.boxes.size(); ++b) all.boxes.push_back(b);
    for (std::size_t c = 0; c < drawing.connectors.size(); ++c) all.connectors.push_back(c);
    return {all};
  }
  std::vector<std::vector<std::size_t>> connectorsOfBox(drawing.boxes.size());
  std::vector<bool> owned(drawing.connectors.size(), false);
  auto own = [&](const WireEnd& self, const WireEnd& other) {
    if (self.connector < 0 || other.box < 0 || owned[static_cast<std::size_t>(self.connector)]) return;
    owned[static_cast<std::size_t>(self.connector)] = true;
    connectorsOfBox[static_cast<std::size_t>(other.box)].push_back(static_cast<std::size_t>(self.connector));
  };
  for (const Wire& wire : drawing.wires) { // the ends by reference: each carries its path
    own(wire.source, wire.sink);
    own(wire.sink, wire.source);
  }
  std::vector<Sheet> sheets(1);
  for (std::size_t c = 0; c < drawing.connectors.size(); ++c) {
    if (!owned[c]) sheets.front().connectors.push_back(c); // wired to no box
  }
  const std::size_t sheetCount = (nodes + kSheetNodes - 1) / kSheetNodes;
  const std::size_t perSheet = (nodes + sheetCount - 1) / sheetCount;
  for (std::size_t box : BoxesAlongWires(drawing)) {
    const std::size_t size = 1 + connectorsOfBox[box].size();
    if (!sheets.back().boxes.empty() &&
        sheets.back().boxes.size() + sheets.back().connectors.size() + size > perSheet) {
      sheets.emplace_back();
    }
    sheets.back().boxes.push_back(box);
    sheets.back().connectors.insert(sheets.back().connectors.end(), connectorsOfBox[box].begin(),
                                    connectorsOfBox[box].end());
  }
  return sheets;
}

// Lays a chart out sheet by sheet, each by dot, the sheets placed left to right.
void PlaceInSheets(ChartDrawing& drawing) {
  const GraphvizContext context;
  const std::vector<Sheet> sheets = Sheets(drawing);
  // Each box and connector's sheet and node in it; the wires within each sheet as its edges.
  std::vector<LayoutGraph> graphs(sheets.size());
  std::vector<std::pair<std::size_t, std::size_t>> boxPlace(drawing.boxes.size()),
      connectorPlace(drawing.connectors.size());
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    LayoutGraph& graph = graphs[s];
    graph.boxes = sheets[s].boxes.size();
    for (std::size_t b : sheets[s].boxes) {
      boxPlace[b] = {s, graph.nodes.size()};
      graph.nodes.push_back({drawing.boxes[b].width, drawing.boxes[b].height, 0, {}});
    }
    for (std::size_t c : sheets[s].connectors) {
      const Connector& connector = drawing.connectors[c];
      connectorPlace[c] = {s, graph.nodes.size()};
      const int rank = connector.kind != ConnectorKind::Interface ? 0 : connector.source ? -1 : 1;
      graph.nodes.push_back({connector.width, connector.height, rank, {}});
    }
  }
  auto placeOf = [&](const WireEnd& end) {
    return end.box >= 0 ? boxPlace[static_cast<std::size_t>(end.box)]
                        : connectorPlace[static_cast<std::size_t>(end.connector)];
  };
  for (const Wire& wire : drawing.wires) {
    const auto [sourceSheet, tail] = placeOf(wire.source);
    const auto [sinkSheet, head] = placeOf(wire.sink);
    if (sourceSheet == sinkSheet) graphs[sourceSheet].edges.emplace_back(tail, head); // else routed, not ranked
  }
  double left = 0;
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    LayoutGraph& graph = graphs[s];
    PlaceWithGraphviz(context.get(), graph);
    double minX = std::numeric_limits<double>::max(), maxX = std::numeric_limits<double>::lowest();
    for (const LayoutNode& n : graph.nodes) {
      minX = std::min(minX, n.at.x);
      maxX = std::max(maxX, n.at.x + n.width);
    }
    const double dx = sheets.size() == 1 ? 0 : left - minX; // sheets side by side
    for (std::size_t i = 0; i < sheets[s].boxes.size(); ++i) {
      const Point at = graph.nodes[i].at;
      drawing.boxes[sheets[s].boxes[i]].at = {at.x + dx, at.y};
    }
    for (std::size_t i = 0; i < sheets[s].connectors.size(); ++i) {
      const Point at = graph.nodes[graph.boxes + i].at;
      drawing.connectors[sheets[s].connectors[i]].at = {at.x + dx, at.y};
    }
    left += maxX - minX + 2 * kStub + kSheetGap;
  }
}

// Connectors beside stored boxes: sources in a column left of every box, sinks right of them, each
// near the pin it is wired to, none over another.
void PlaceConnectorsBesideStoredBoxes(ChartDrawing& drawing) {
  double left = std::numeric_limits<double>::max(), right = std::numeric_limits<double>::lowest();
  for (const Box& box : drawing.boxes) {
    left = std::min(left, box.at.x - kStub);
    right = std::max(right, box.at.x + box.width + kStub);
  }
  if (drawing.boxes.empty()) left = right = 0;
  // The height each connector wants: that of the first box pin it is wired to.
  std::vector<double> wanted(drawing.connectors.size(), 0);
  std::vector<bool> found(drawing.connectors.size(), false);
  auto want = [&](const WireEnd& self, const WireEnd& other, bool selfIsSource) {
    if (self.connector < 0 || other.box < 0) return;
    const auto i = static_cast<std::size_t>(self.connector);
    if (found[i] || drawing.connectors[i].source != selfIsSource) return;
    const Box& box = drawing.boxes[static_cast<std::size_t>(other.box)];
    wanted[i] = box.at.y + kHeaderHeight + static_cast<double>(other.pin) * kRowHeight;
    found[i] = true;
  };
  for (const Wire& wire : drawing.wires) {
    want(wire.source, wire.sink, true);
    want(wire.sink, wire.source, false);
  }
  std::vector<std::pair<double, std::size_t>> sources, sinks; // wanted y, connector
  for (std::size_t i = 0; i < drawing.connectors.size(); ++i) {
    (drawing.connectors[i].source ? sources : sinks).emplace_back(wanted[i], i);
  }
  for (auto* column : {&sources, &sinks}) {
    std::sort(column->begin(), column->end());
    double next = std::numeric_limits<double>::lowest();
    for (const auto& [wanted, i] : *column) {
      Connector& c = drawing.connectors[i];
      c.at.y = std::max(wanted, next);
      c.at.x = c.source ? left - 3 * kStub - c.width : right + 3 * kStub;
      next = c.at.y + c.height + 4;
    }
  }
}

void PlacePins(ChartDrawing& drawing) {
  for (Box& box : drawing.boxes) {
    for (std::size_t i = 0; i < box.inputs.size(); ++i) {
      box.inputs[i].at = {box.at.x - kStub, box.at.y + kHeaderHeight + (static_cast<double>(i) + 0.5) * kRowHeight};
    }
    for (std::size_t i = 0; i < box.outputs.size(); ++i) {
      box.outputs[i].at = {box.at.x + box.width + kStub,
                           box.at.y + kHeaderHeight + (static_cast<double>(i) + 0.5) * kRowHeight};
    }
  }
  for (Connector& c : drawing.connectors) {
    c.pin.at = {c.source ? c.at.x + c.width : c.at.x, c.at.y + c.height / 2};
    c.through.at = {c.source ? c.at.x : c.at.x + c.width, c.at.y + c.height / 2};
  }
}

const Pin& PinOf(const ChartDrawing& drawing, const WireEnd& end, bool output) {
  if (end.box >= 0) {
    const Box& box = drawing.boxes[static_cast<std::size_t>(end.box)];
    return (output ? box.outputs : box.inputs)[end.pin];
  }
  const Connector& c = drawing.connectors[static_cast<std::size_t>(end.connector)];
  return end.pin == 1 ? c.through : c.pin;
}

double Bottom(const ChartDrawing& drawing, const WireEnd& end) {
  if (end.box >= 0) {
    const Box& box = drawing.boxes[static_cast<std::size_t>(end.box)];
    return box.at.y + box.height;
  }
  const Connector& c = drawing.connectors[static_cast<std::size_t>(end.connector)];
  return c.at.y + c.height;
}

// Each wire at right angles: across the channel between its two pins, or, when the sink lies
// left of the source, around below both.
void RouteWires(ChartDrawing& drawing) {
  for (std::size_t i = 0; i < drawing.wires.size(); ++i) {
    Wire& wire = drawing.wires[i];
    const Point from = PinOf(drawing, wire.source, true).at;
    const Point to = PinOf(drawing, wire.sink, false).at;
    const double lane = static_cast<double>(static_cast<int>(i % 5) - 2) * 3;
    wire.points.clear();
    wire.points.push_back(from);
    if (to.x - from.x >= 2 * kStub) {
      const double mid = std::clamp((from.x + to.x) / 2 + lane, from.x + 2, to.x - 2);
      if (from.y != to.y) {
        wire.points.push_back({mid, from.y});
        wire.points.push_back({mid, to.y});
      }
    } else {
      const double below = std::max(Bottom(drawing, wire.source), Bottom(drawing, wire.sink)) + kStub + 4 + lane + 6;
      wire.points.push_back({from.x + kStub, from.y});
      wire.points.push_back({from.x + kStub, below});
      wire.points.push_back({to.x - kStub, below});
      wire.points.push_back({to.x - kStub, to.y});
    }
    wire.points.push_back(to);
  }
}

// Moves everything so that the drawing starts at the margin, and sizes it.
void Frame(ChartDrawing& drawing) {
  double minX = std::numeric_limits<double>::max(), minY = minX;
  double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
  auto take = [&](double x, double y) {
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
  };
  for (const Box& box : drawing.boxes) {
    take(box.at.x - kStub, box.at.y);
    take(box.at.x + box.width + kStub, box.at.y + box.height);
    for (const Pin& pin : box.inputs) { // the values written left of inputs nobody feeds
      if (!pin.connected && !pin.value.empty()) {
        take(pin.at.x - 2 - static_cast<double>(pin.value.size()) * kCharWidth * kSmallFont / kFontSize, pin.at.y);
      }
    }
  }
  for (const Connector& c : drawing.connectors) {
    take(c.at.x, c.at.y);
    take(c.at.x + c.width, c.at.y + c.height);
  }
  for (const Wire& wire : drawing.wires) {
    for (const Point& p : wire.points) take(p.x, p.y);
  }
  if (minX > maxX) minX = minY = maxX = maxY = 0;
  const double dx = kMargin - minX, dy = kMargin + kHeaderHeight - minY; // room for the title
  auto move = [&](Point& p) {
    p.x += dx;
    p.y += dy;
  };
  for (Box& box : drawing.boxes) {
    move(box.at);
    for (Pin& pin : box.inputs) move(pin.at);
    for (Pin& pin : box.outputs) move(pin.at);
  }
  for (Connector& c : drawing.connectors) {
    move(c.at);
    move(c.pin.at);
    move(c.through.at);
  }
  for (Wire& wire : drawing.wires) {
    for (Point& p : wire.points) move(p);
  }
  drawing.width = std::ceil(std::max(maxX - minX + 2 * kMargin, 320.0));
  drawing.height = std::ceil(maxY - minY + 2 * kMargin + kHeaderHeight);
}

} // namespace

void LayOut(ChartDrawing& drawing) {
  bool stored = !drawing.boxes.empty();
  for (Box& box : drawing.boxes) stored = StoredPlace(box) && stored;
  drawing.storedGeometry = stored;
  if (stored) {
    PlaceConnectorsBesideStoredBoxes(drawing);
  } else {
    for (Box& box : drawing.boxes) box.stored = false;
    PlaceInSheets(drawing);
  }
  PlacePins(drawing);
  RouteWires(drawing);
  Frame(drawing);
}

} // namespace grx::draw
