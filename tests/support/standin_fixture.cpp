#include "standin_fixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace grx::testing {

// A small project. Charts C1 (blocks A1, F1, sub-charts S1 > S11 and S2) and C2 (empty);
// tasks T1 (groups G1 with A1 and S1, G2 empty) and T9 (no groups).
const std::string& SmallProjectJson() {
  static const std::string json = R"({
  "format": "grx-project/1",
  "project": {"name": "Small", "path": "C:\\P", "file": "small.q3p", "created": "2026-02-03T04:05:06Z"},
  "controllers": [{
    "name": "R", "type": "D445", "family": "0x112002",
    "blockTypes": [
      {"name": "ADD", "kind": "function", "library": "STD",
       "parameters": [{"name": "IN1", "type": "REAL", "default": "0.0"}, {"name": "IN2", "type": "REAL"},
                      {"name": "OUT", "direction": "out", "type": "REAL"}]},
      {"name": "AXIS", "kind": "functionBlock", "library": "MCL", "fbTypeFlag": 1,
       "parameters": [{"name": "REF", "direction": "inout", "ident": "Axis reference",
                       "elements": [{"name": "Nr", "type": "INT", "default": "1"},
                                    {"name": "St", "elements": [{"name": "Ok", "type": "BOOL", "default": "FALSE"}]}]},
                      {"name": "GO", "type": "BOOL"}, {"name": "POS", "direction": "out", "type": "REAL"}]}
    ],
    "globals": [{"name": "gA", "type": "REAL", "text": "global a"}, {"name": "gB", "type": "BOOL"}],
    "charts": [
      {"name": "C1", "comment": "first chart",
       "interface": [{"name": "X", "type": "REAL", "value": "1.5", "itemText": "input x"},
                     {"name": "Y", "direction": "out", "type": "REAL", "itemName": "Y_ITEM"}],
       "blocks": [{"name": "A1", "type": "ADD", "values": {"IN2": "2.0"}}, {"name": "F1", "type": "AXIS"}],
       "charts": [{"name": "S1", "charts": [{"name": "S11", "blocks": [{"name": "A2", "type": "ADD"}]}]},
                  {"name": "S2"}]},
      {"name": "C2"}
    ],
    "tasks": [
      {"name": "T1", "cycleMs": 10, "groups": [{"name": "G1", "members": ["C1/A1", "C1/S1"]}, {"name": "G2"}]},
      {"name": "T9"}
    ],
    "connections": [
      {"from": "@gA", "to": "C1/A1.IN1"},
      {"from": "C1/A1.OUT", "to": "C1.Y"},
      {"from": "C1/A1.OUT", "to": "@gA", "kind": "no-connection"},
      {"text": "OTHER.OUT", "to": "C1/S1/S11/A2.IN1"}
    ]
  }]
})";
  return json;
}

void StandInTest::SetUp() {
  db.SetSoftwareVersion(nullptr);
}

void StandInTest::TearDown() {
  db.ClearFaults();
  db.CloseProject();
}

void StandInTest::Load(const std::string& json) {
  ASSERT_EQ(db.ImportDescription(json.c_str(), ":memory:"), 0) << db.LastError();
}

GlObjectId StandInTest::Id(const std::string& path) {
  GlObjectId id = 0;
  EXPECT_EQ(db.ResolvePath(path.c_str(), &id), 0) << db.LastError();
  return id;
}

std::string StandInTest::PathOf(GlObjectId id) {
  return db.Path(id);
}

std::string StandInTest::Name(GlObjectId id) {
  char name[kGlNameSize] = {};
  EXPECT_EQ(Err(db.gl_ObjectNameGet(id, name, kTr)), 0u);
  return name;
}

std::vector<GlObjectId> StandInTest::Blocks(const std::string& chart, GlSelect filter) {
  const GlObjectId chartId = Id(chart);
  GlObjectId iter = 0, block = 0;
  GlObjectType type = IEC_OBJ_NULL;
  return Collect([&](MODE m) { return db.iec_CfcBlocksGet(m, filter, chartId, iter, block, type, kTr); }, block);
}

std::vector<GlObjectId> StandInTest::Vars(const std::string& owner, GlSelect filter) {
  const GlObjectId ownerId = Id(owner);
  GlObjectId var = 0;
  GlObjectType type = IEC_OBJ_NULL;
  return Collect([&](MODE m) { return db.iec_VarsGet(m, filter, ownerId, var, type, kTr); }, var);
}

std::vector<std::string> StandInTest::Paths(const std::vector<GlObjectId>& ids) {
  std::vector<std::string> paths;
  for (GlObjectId id : ids) paths.push_back(PathOf(id));
  return paths;
}

} // namespace grx::testing

namespace grx::testing {
const std::string& DemoJson() {
  static const std::string json = [] {
    std::ifstream in(GRX_SOURCE_DIR "/examples/demo.json", std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " GRX_SOURCE_DIR "/examples/demo.json");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }();
  return json;
}
} // namespace grx::testing
