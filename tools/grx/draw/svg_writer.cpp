// A chart drawing as SVG: boxes with their names, types, pins and values, connectors, wires, the
// run place in each block's corner, comments, and the findings of the check outlined and titled.
// Every element names its object (data-path) so that tests and the controller's page can find it.
#include <charconv>
#include <sstream>

#include "chart_drawing.h"
#include "drawing_metrics.h"

namespace grx::draw {
namespace {

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // Control characters have no place in XML text.
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
    }
  }
  return out;
}

// One decimal, left out when it is 0 ("12.5", "12"), rounded as printf's "%.1f" rounds.
std::string Number(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
  std::string s(text, written.ec == std::errc() ? written.ptr : text);
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return s;
}

std::string FindingText(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) text += (text.empty() ? "" : "\n") + f.kind + ": " + f.message;
  return text;
}

void WritePin(std::ostringstream& out, const Pin& pin, bool input, const Box& box) {
  const double edge = input ? box.at.x : box.at.x + box.width;
  out << "<g class=\"pin " << (input ? "in" : "out") << (pin.connected ? " connected" : "") << "\" data-pin=\""
      << Escape(pin.name) << "\" data-x=\"" << Number(pin.at.x) << "\" data-y=\"" << Number(pin.at.y) << "\">";
  out << "<line x1=\"" << Number(edge) << "\" y1=\"" << Number(pin.at.y) << "\" x2=\"" << Number(pin.at.x) << "\" y2=\""
      << Number(pin.at.y) << "\"/>";
  const double textX = input ? edge + 3 : edge - 3;
  out << "<text class=\"pin-name\" x=\"" << Number(textX) << "\" y=\"" << Number(pin.at.y + 4) << "\""
      << (input ? "" : " text-anchor=\"end\"") << ">" << Escape(pin.name) << "</text>";
  if (input && !pin.connected && !pin.value.empty()) {
    out << "<text class=\"value\" x=\"" << Number(pin.at.x - 2) << "\" y=\"" << Number(pin.at.y - 3)
        << "\" text-anchor=\"end\">" << Escape(pin.value) << "</text>";
  }
  out << "</g>";
}

void WriteBox(std::ostringstream& out, const Box& box) {
  const bool block = box.kind == BoxKind::Block;
  out << "<g class=\"" << (block ? "block" : "subchart") << (box.findings.empty() ? "" : " finding")
      << "\" data-path=\"" << Escape(box.path) << "\">";
  if (!box.findings.empty()) out << "<title>" << Escape(FindingText(box.findings)) << "</title>";
  out << "<rect x=\"" << Number(box.at.x) << "\" y=\"" << Number(box.at.y) << "\" width=\"" << Number(box.width)
      << "\" height=\"" << Number(box.height) << "\"" << (block ? "" : " rx=\"6\"") << "/>";
  out << "<text class=\"name\" x=\"" << Number(box.at.x + box.width / 2) << "\" y=\"" << Number(box.at.y + 14)
      << "\" text-anchor=\"middle\">" << Escape(box.name) << "</text>";
  out << "<text class=\"type\" x=\"" << Number(box.at.x + box.width / 2) << "\" y=\"" << Number(box.at.y + 28)
      << "\" text-anchor=\"middle\">" << Escape(box.type) << "</text>";
  if (!box.runPlace.empty()) {
    out << "<text class=\"run\" x=\"" << Number(box.at.x + box.width - 2) << "\" y=\"" << Number(box.at.y - 3)
        << "\" text-anchor=\"end\">" << Escape(box.runPlace) << "</text>";
  }
  for (const Pin& pin : box.inputs) WritePin(out, pin, true, box);
  for (const Pin& pin : box.outputs) WritePin(out, pin, false, box);
  if (!box.comment.empty()) {
    out << "<text class=\"comment\" x=\"" << Number(box.at.x + kPadding) << "\" y=\""
        << Number(box.at.y + box.height - kPadding) << "\">" << Escape(box.comment) << "</text>";
  }
  out << "</g>\n";
}

void WriteConnector(std::ostringstream& out, const Connector& c, std::size_t index) {
  static const char* const kinds[] = {"interface", "global", "text"};
  out << "<g id=\"c" << index << "\" class=\"connector " << kinds[static_cast<int>(c.kind)]
      << (c.source ? " source" : " sink") << (c.findings.empty() ? "" : " finding") << "\" data-path=\""
      << Escape(c.path) << "\" data-label=\"" << Escape(c.label) << "\" data-x=\"" << Number(c.pin.at.x)
      << "\" data-y=\"" << Number(c.pin.at.y) << "\" data-through-x=\"" << Number(c.through.at.x)
      << "\" data-through-y=\"" << Number(c.through.at.y) << "\">";
  if (!c.findings.empty()) out << "<title>" << Escape(FindingText(c.findings)) << "</title>";
  // A pointed label: the point towards the wire's direction of flow.
  const double x = c.at.x, y = c.at.y, w = c.width, h = c.height;
  out << "<path d=\"M" << Number(x) << " " << Number(y) << "H" << Number(x + w - kArrow) << "L" << Number(x + w) << " "
      << Number(y + h / 2) << "L" << Number(x + w - kArrow) << " " << Number(y + h) << "H" << Number(x) << "Z\"/>";
  out << "<text x=\"" << Number(x + kPadding) << "\" y=\"" << Number(y + h / 2 + 4) << "\">" << Escape(c.label)
      << "</text>";
  out << "</g>\n";
}

} // namespace

std::string WriteSvg(const ChartDrawing& drawing) {
  // Room for the whole text from the start (about what a box with its pins, a connector and a wire
  // take), so that a large chart's text is not copied over and over as it grows.
  std::string room;
  std::size_t pins = 0;
  for (const Box& box : drawing.boxes) pins += box.inputs.size() + box.outputs.size();
  room.reserve(4096 + 600 * drawing.boxes.size() + 300 * pins + 400 * drawing.connectors.size() +
               150 * drawing.wires.size());
  std::ostringstream out(std::move(room));
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" data-path=\"" << Escape(drawing.path)
      << "\" data-layout=\"" << (drawing.storedGeometry ? "stored" : "graphviz") << "\" width=\""
      << Number(drawing.width) << "\" height=\"" << Number(drawing.height) << "\" viewBox=\"0 0 "
      << Number(drawing.width) << " " << Number(drawing.height) << "\" font-family=\"monospace\" font-size=\""
      << Number(kFontSize) << "\">\n";
  out << "<style>"
         "rect{fill:#fff;stroke:#234;stroke-width:1.2}.subchart rect{fill:#eef4ff}"
         ".pin line{stroke:#234}.wire{fill:none;stroke:#2a6;stroke-width:1.2}"
         ".connector path{fill:#fff8e0;stroke:#a80}.connector.interface path{fill:#e8f0e8;stroke:#363}"
         ".name{font-weight:bold}.type,.run,.comment{fill:#556;font-size:10px}.value{fill:#a40;font-size:10px}"
         ".finding rect,.finding path{stroke:#d00;stroke-width:2.5}.title{font-size:14px;font-weight:bold}"
         "</style>\n";
  out << "<rect class=\"background\" x=\"0\" y=\"0\" width=\"" << Number(drawing.width) << "\" height=\""
      << Number(drawing.height) << "\" style=\"fill:#fbfbfb;stroke:none\"/>\n";
  out << "<text class=\"title" << (drawing.findings.empty() ? "" : " finding") << "\" x=\"" << Number(kMargin)
      << "\" y=\"" << Number(kMargin + 4) << "\">" << Escape(drawing.path)
      << (drawing.comment.empty() ? "" : " - " + Escape(drawing.comment));
  if (!drawing.findings.empty()) out << "<title>" << Escape(FindingText(drawing.findings)) << "</title>";
  out << "</text>\n";
  for (const Wire& wire : drawing.wires) {
    // An end at a connector names it (c3, or c3.through for its other side).
    auto connectorOf = [](const WireEnd& end) {
      if (end.connector < 0) return std::string();
      return "c" + std::to_string(end.connector) + (end.pin == 1 ? ".through" : "");
    };
    out << "<polyline class=\"wire\" data-from=\"" << Escape(wire.source.path) << "\" data-to=\""
        << Escape(wire.sink.path) << "\"";
    if (wire.source.connector >= 0) out << " data-from-connector=\"" << connectorOf(wire.source) << "\"";
    if (wire.sink.connector >= 0) out << " data-to-connector=\"" << connectorOf(wire.sink) << "\"";
    out << " points=\"";
    for (std::size_t i = 0; i < wire.points.size(); ++i) {
      out << (i ? " " : "") << Number(wire.points[i].x) << "," << Number(wire.points[i].y);
    }
    out << "\"/>\n";
  }
  for (const Box& box : drawing.boxes) WriteBox(out, box);
  for (std::size_t i = 0; i < drawing.connectors.size(); ++i) WriteConnector(out, drawing.connectors[i], i);
  out << "</svg>\n";
  return std::move(out).str(); // the buffer itself, not a copy
}

} // namespace grx::draw
