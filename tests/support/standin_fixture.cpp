#include "standin_fixture.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/process.h"

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
  if (!damaged_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(damaged_, ignored);
  }
}

void StandInTest::LoadDamaged(const std::string& json, const std::string& sql) {
  damaged_ = (std::filesystem::temp_directory_path() /
              ("grx-damaged-" + std::to_string(grx::platform::CurrentProcessId()) + ".db"))
                 .string();
  std::error_code ignored;
  std::filesystem::remove(damaged_, ignored);
  ASSERT_EQ(db.ImportDescription(json.c_str(), damaged_.c_str()), 0) << db.LastError();
  db.CloseProject();
  sqlite3* file = nullptr;
  ASSERT_EQ(sqlite3_open(damaged_.c_str(), &file), SQLITE_OK);
  char* error = nullptr;
  const int done = sqlite3_exec(file, sql.c_str(), nullptr, nullptr, &error);
  const std::string why = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(file);
  ASSERT_EQ(done, SQLITE_OK) << why;
  ASSERT_EQ(db.OpenProject(damaged_.c_str(), Q3SIM_OPEN_EXISTING), 0) << db.LastError();
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
