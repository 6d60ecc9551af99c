// One self-contained HTML page for a controller: the chart tree, the drawings (each kept as text
// in the page's data and put into the page when its chart is chosen), the findings of the check
// and a search over the global variables with their uses. Nothing is fetched from anywhere.
#include <algorithm>
#include <set>
#include <tuple>

#include "chart_drawing.h"

namespace grx::draw {
namespace {

using Json = nlohmann::json;

// JSON inside a script element: no "</" that could end it.
std::string ScriptSafe(const std::string& json) {
  std::string out;
  out.reserve(json.size());
  for (std::size_t i = 0; i < json.size(); ++i) {
    out += json[i];
    if (json[i] == '<' && i + 1 < json.size() && json[i + 1] == '/') out += "\\";
  }
  return out;
}

const Json& List(const Json& object, const char* key) {
  static const Json empty = Json::array();
  if (!object.is_object()) return empty;
  const auto it = object.find(key);
  return it != object.end() && it->is_array() ? *it : empty;
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

constexpr const char* kStyle = R"(
body{margin:0;font-family:sans-serif;font-size:13px;display:grid;grid-template-columns:300px 1fr;height:100vh}
nav{border-right:1px solid #ccc;overflow:auto;padding:8px;background:#f6f7f9}
main{overflow:auto;padding:8px}
nav h1{font-size:15px;margin:4px 0 8px}
nav h2{font-size:13px;margin:12px 0 4px}
nav button{display:block;border:0;background:none;text-align:left;cursor:pointer;padding:2px 4px;width:100%;font:inherit}
nav button:hover{background:#e3e8f0}
nav button.current{background:#cfdcf0;font-weight:bold}
#search{width:100%;box-sizing:border-box;padding:3px}
.finding-item{color:#a00}
svg .selected rect,svg .selected path{stroke:#06f;stroke-width:3}
svg .subchart,svg .connector.global,svg .connector.interface{cursor:pointer}
)";

constexpr const char* kScript = R"(
const data = JSON.parse(document.getElementById('grx-data').textContent);
const drawing = document.getElementById('drawing');
const tree = document.getElementById('tree');
const uses = document.getElementById('uses');
let current = null;
function button(text, cls, onClick) {
  const b = document.createElement('button');
  b.textContent = text;
  if (cls) b.className = cls;
  b.addEventListener('click', onClick);
  return b;
}
function select(path) {
  drawing.querySelectorAll('.selected').forEach(e => e.classList.remove('selected'));
  if (!path) return;
  const target = [...drawing.querySelectorAll('[data-path]')].find(e => e.dataset.path === path);
  if (target) { target.classList.add('selected'); target.scrollIntoView({block: 'center', inline: 'center'}); }
}
function showUses(name) {
  uses.replaceChildren();
  const list = data.globals[name] || [];
  const title = document.createElement('h2');
  title.textContent = 'uses of ' + name + ' (' + list.length + ')';
  uses.appendChild(title);
  for (const use of list) {
    uses.appendChild(button((use.writes ? 'written at ' : 'read at ') + use.object, 'use',
                            () => show(use.chart, use.object)));
  }
}
function show(path, object) {
  if (!(path in data.charts)) return;
  current = path;
  drawing.innerHTML = data.charts[path];
  drawing.dataset.chart = path;
  tree.querySelectorAll('button').forEach(b => b.classList.toggle('current', b.dataset.path === path));
  drawing.querySelectorAll('.subchart').forEach(g => g.addEventListener('click', () => show(g.dataset.path)));
  drawing.querySelectorAll('.connector.global').forEach(g => g.addEventListener('click', () => {
    const name = g.dataset.label;
    showUses(name);
    // The other end: the first use of the global elsewhere than at this connector.
    const here = g.classList.contains('source') ? false : true;
    const other = (data.globals[name] || []).find(u => u.writes !== here) ||
                  (data.globals[name] || []).find(u => u.chart !== current);
    if (other) show(other.chart, other.object);
  }));
  drawing.querySelectorAll('.connector.interface').forEach(g => g.addEventListener('click', () => {
    const parent = data.parents[path];
    if (parent) show(parent, path);
  }));
  select(object);
}
for (const chart of data.tree) {
  const b = button(chart.name, '', () => show(chart.path));
  b.dataset.path = chart.path;
  b.style.paddingLeft = (4 + 14 * chart.depth) + 'px';
  tree.appendChild(b);
}
const findings = document.getElementById('findings');
for (const f of data.findings) {
  findings.appendChild(button(f.path + ': ' + f.kind + ': ' + f.message, 'finding-item',
                              () => show(f.chart, f.path)));
}
document.getElementById('search').addEventListener('input', e => {
  const text = e.target.value.toLowerCase();
  const results = document.getElementById('results');
  results.replaceChildren();
  if (!text) return;
  for (const name of Object.keys(data.globals).sort()) {
    if (name.toLowerCase().includes(text)) results.appendChild(button(name + ' (' + data.globals[name].length + ')', 'global', () => showUses(name)));
  }
});
if (data.tree.length) show(data.tree[0].path);
)";

} // namespace

std::string WritePage(const Json& description, const std::string& controller, const FindingsByPath& findings) {
  const std::vector<std::string> paths = ChartPaths(description, controller);
  const std::set<std::string> charts(paths.begin(), paths.end());
  Json data;
  data["controller"] = controller;
  data["tree"] = Json::array();
  data["charts"] = Json::object();
  data["parents"] = Json::object();
  for (const std::string& path : paths) {
    const auto slash = path.find_last_of('/');
    const std::string parent = path.substr(0, slash);
    const int depth = static_cast<int>(std::count(path.begin(), path.end(), '/')) - 1;
    data["tree"].push_back({{"path", path}, {"name", path.substr(slash + 1)}, {"depth", depth}});
    if (charts.count(parent)) data["parents"][path] = parent;
    ChartDrawing drawing = DescribeChart(description, path, findings);
    LayOut(drawing);
    data["charts"][path] = WriteSvg(drawing);
  }
  // The chart an object lies in: a chart itself for its interface, else the chart above it.
  auto chartOf = [&](const std::string& object) {
    if (charts.count(object)) return object;
    return object.substr(0, object.find_last_of('/'));
  };
  data["findings"] = Json::array();
  for (const auto& [path, list] : findings) {
    const std::string object = path.substr(0, path.find('.', path.find_last_of('/') + 1));
    std::string chart = charts.count(object) ? object : chartOf(object);
    if (!charts.count(chart)) chart = paths.empty() ? "" : paths.front();
    for (const Finding& f : list) {
      data["findings"].push_back({{"path", path}, {"kind", f.kind}, {"message", f.message}, {"chart", chart}});
    }
  }
  // Every global with its uses: the object at the other end of each connection, and its chart.
  data["globals"] = Json::object();
  const Json* res = nullptr;
  for (const Json& c : List(description, "controllers")) {
    if (c.value("name", std::string()) == controller) res = &c;
  }
  if (res) {
    for (const Json& global : List(*res, "globals")) {
      data["globals"][global.value("name", std::string())] = Json::array();
    }
    for (const Json& connection : List(*res, "connections")) {
      const std::string from = connection.value("from", std::string()), to = connection.value("to", std::string());
      for (const auto& [global, other, writes] : {std::tuple{from, to, false}, std::tuple{to, from, true}}) {
        if (global.rfind('@', 0) != 0 || other.empty() || other[0] == '@') continue;
        const std::string object = controller + "/" + other.substr(0, other.find('.', other.find_last_of('/') + 1));
        data["globals"][global.substr(1)].push_back(
            {{"object", object}, {"chart", chartOf(object)}, {"writes", writes}});
      }
    }
  }
  std::string page = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" +
                     HtmlEscape(controller) + " - charts</title><style>" + kStyle + "</style></head>\n<body>\n";
  page += "<nav><h1>" + HtmlEscape(controller) + "</h1><div id=\"tree\"></div>";
  page +=
      "<h2>Global variables</h2><input id=\"search\" type=\"search\" placeholder=\"search a global\">"
      "<div id=\"results\"></div><div id=\"uses\"></div>";
  page += "<h2>Findings</h2><div id=\"findings\"></div></nav>\n<main id=\"drawing\"></main>\n";
  page += "<script type=\"application/json\" id=\"grx-data\">" + ScriptSafe(data.dump()) + "</script>\n";
  page += std::string("<script>") + kScript + "</script>\n</body></html>\n";
  return page;
}

} // namespace grx::draw
