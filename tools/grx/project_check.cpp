#include "project_check.h"

#include <unordered_set>

#include "api_iteration.h"
#include "data_type_text.h"
#include "grx/w5lhlpax.h"
#include "name_rules.h"
#include "platform/dialog_presenter.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;
constexpr GlTransactionId kTr = kNoTransaction;

using NameCheck = Syntax_Err_TypeEnum (*)(std::string, std::int32_t&);

// The ends whose types the library's compatibility check knows: parameters of blocks and
// interface variables of charts, inputs and outputs (in-out ones and global variables it does not
// type).
bool Typed(GlObjectType type) {
  return type == IEC_OBJ_IN_VAR || type == IEC_OBJ_OUT_VAR || type == IEC_OBJ_CFC_IN_VAR || type == IEC_OBJ_CFC_OUT_VAR;
}

struct Listed {
  GlObjectId id;
  GlObjectType type;
};

class Checker {
public:
  Checker(ChartDbClient& db, GlObjectId cpu) : db_(db), cpu_(cpu) {}

  std::vector<Finding> Run() {
    Versions();
    std::vector<GlObjectId> roots;
    GlObjectId chart = 0;
    GlObjectType type = IEC_OBJ_NULL;
    ForEachElement(
        db_, "iec_ChartsGet", [&](MODE m) { return db_.iec_ChartsGet(m, IEC_SELECT_IS_CFC, cpu_, chart, type, kTr); },
        [&] { roots.push_back(chart); });
    for (GlObjectId root : roots) {
      Stamp(root);
      Chart(root, W5GRX_CheckRootPlanName, "root chart");
    }
    Globals();
    return std::move(findings_);
  }

private:
  void Add(const char* kind, GlObjectId object, std::string message, Json details) {
    findings_.push_back(Finding{kind, db_.Path(object), std::move(message), std::move(details)});
  }

  std::string Name(GlObjectId id) {
    char name[kGlNameSize] = {};
    Check(db_, "gl_ObjectNameGet", db_.gl_ObjectNameGet(id, name, kTr));
    return name;
  }

  void CheckName(GlObjectId object, NameCheck check, const char* what) {
    const std::string name = Name(object);
    std::int32_t position = 0;
    const Syntax_Err_TypeEnum broken = check(name, position);
    if (broken == SYNTAX_ERR_NONE) return;
    const RuleText& rule = Rule(broken);
    Add("name", object,
        std::string("the ") + what + " name \"" + name + "\" breaks " + rule.enumerator + " at position " +
            std::to_string(position) + ": " + rule.text,
        Json{{"name", name}, {"of", what}, {"rule", rule.enumerator}, {"position", position}});
  }

  // The data version of the controller, and the library-data stamp of the controller.
  void Versions() {
    CString version;
    if (!W5GRX_CheckDataVersion(cpu_, kTr, false, &version)) {
      char software[kGlVersionSize] = {};
      Check(db_, "gl_SoftwareVersionGet", db_.gl_SoftwareVersionGet(software));
      Add("data-version", cpu_, "the data version " + version.str() + " is not the software's " + software,
          Json{{"dataVersion", version.str()}, {"softwareVersion", software}});
    }
    bool foreign = false;
    controllerStamped_ = W5GRX_CheckGRXVersion(platform::kNoWindow, cpu_, 0, foreign, false, kTr);
    if (!controllerStamped_) StampFinding(cpu_, "controller", foreign);
  }

  // A root chart's stamp; only told when the controller's own stamp is current (else every chart
  // would repeat the controller's finding).
  void Stamp(GlObjectId root) {
    if (!controllerStamped_) return;
    bool foreign = false;
    if (!W5GRX_CheckGRXVersion(platform::kNoWindow, cpu_, root, foreign, false, kTr)) {
      StampFinding(root, "root chart", foreign);
    }
  }

  void StampFinding(GlObjectId object, const char* what, bool foreign) {
    Add("stamp", object,
        std::string("the ") + what +
            (foreign ? " carries a foreign library-data stamp" : " carries no current library-data stamp"),
        Json{{"of", what}, {"foreign", foreign}});
  }

  void Chart(GlObjectId chart, NameCheck check, const char* what) {
    CheckName(chart, check, what);
    for (const Listed& var : Variables(chart)) {
      CheckName(var.id, W5GRX_CheckVarName, "interface variable");
      Sources(var.id, var.type);
    }
    std::vector<GlObjectId> blocks, subCharts;
    GlObjectId iter = 0, block = 0;
    GlObjectType type = IEC_OBJ_NULL;
    ForEachElement(
        db_, "iec_CfcBlocksGet",
        [&](MODE m) { return db_.iec_CfcBlocksGet(m, IEC_SELECT_ALL, chart, iter, block, type, kTr); },
        [&] { (type == IEC_OBJ_CFC ? subCharts : blocks).push_back(block); });
    for (GlObjectId b : blocks) {
      CheckName(b, W5GRX_CheckBlockName, "block");
      for (const Listed& param : Variables(b)) Sources(param.id, param.type);
    }
    for (GlObjectId sub : subCharts) Chart(sub, W5GRX_CheckSubPlanName, "sub-chart");
  }

  std::vector<Listed> Variables(GlObjectId owner) {
    std::vector<Listed> vars;
    GlObjectId var = 0;
    GlObjectType type = IEC_OBJ_NULL;
    ForEachElement(
        db_, "iec_VarsGet", [&](MODE m) { return db_.iec_VarsGet(m, IEC_SELECT_ALL, owner, var, type, kTr); },
        [&] {
          vars.push_back(Listed{var, type});
        });
    return vars;
  }

  // The connections that feed a sink, each checked for compatible types; global variables met
  // as sources are in use. Answers how many there are.
  std::size_t Sources(GlObjectId sink, GlObjectType sinkType) {
    GlObjectId source = 0;
    GlObjectType type = IEC_OBJ_NULL;
    std::int32_t connectionType = 0;
    Iec_Connection connection{};
    std::vector<GlObjectId> typedSources;
    std::vector<std::pair<GlObjectId, GlObjectType>> untypedSources;
    std::size_t count = 0;
    ForEachElement(
        db_, "iec_SourcesGetV6_0",
        [&](MODE m) { return db_.iec_SourcesGetV6_0(m, sink, source, type, connectionType, connection, kTr); },
        [&] {
          if (connectionType != IEC_CONNECTION) return;
          if (type == IEC_OBJ_GLOBAL_VAR) usedGlobals_.insert(source);
          ++count;
          if (Typed(type) && Typed(sinkType)) {
            typedSources.push_back(source);
          } else {
            untypedSources.emplace_back(source, type);
          }
        });
    for (GlObjectId s : typedSources) {
      std::uint16_t code = 0;
      std::int32_t message = 0;
      if (W5GRX_IsCompatible(0, 0, 0, 0, s, sink, code, message, kTr) && code == 0) continue;
      const std::string from = TypeText(s), to = TypeText(sink);
      Add("connection", sink,
          "fed by " + db_.Path(s) + ": " + from + " cannot feed " + to + " (code " + std::to_string(code) + ")",
          Json{{"source", db_.Path(s)}, {"sourceType", from}, {"sinkType", to}, {"code", code}});
    }
    // Connections the compatibility check does not type (global variables, in-out parameters):
    // their IEC data types are compared through the cast relation.
    for (const auto& [s, sourceType] : untypedSources) {
      const GlDataType from = DataTypeOf(s, sourceType), to = DataTypeOf(sink, sinkType);
      if (from == IEC_NDEF || to == IEC_NDEF || from == IEC_STRUCT || to == IEC_STRUCT) continue;
      if (from == to || W5GRX_CanCast(&from, &to)) continue;
      Add("connection", sink, "fed by " + db_.Path(s) + ": " + DataTypeText(from) + " cannot feed " + DataTypeText(to),
          Json{{"source", db_.Path(s)}, {"sourceType", DataTypeText(from)}, {"sinkType", DataTypeText(to)}});
    }
    return count;
  }

  // The IEC data type of a variable or global variable (IEC_NDEF when it has none).
  GlDataType DataTypeOf(GlObjectId var, GlObjectType type) {
    if (type == IEC_OBJ_GLOBAL_VAR) {
      Iec_GlobalVar record{};
      Check(db_, "iec_GlobalVarRead", db_.iec_GlobalVarRead(var, record, kTr));
      return record.dataType;
    }
    GlDataType dataType = IEC_NDEF;
    std::string name;
    bool flag = false;
    W5GRX_TypeNameFromVarId(var, dataType, name, flag, kTr);
    return dataType;
  }

  std::string TypeText(GlObjectId var) {
    GlDataType type = IEC_NDEF;
    std::string name;
    bool flag = false;
    W5GRX_TypeNameFromVarId(var, type, name, flag, kTr);
    return name.empty() ? DataTypeText(type) : name;
  }

  // Global variables: their names, what feeds them, and whether anything uses them.
  void Globals() {
    std::vector<GlObjectId> globals;
    GlObjectId global = 0;
    ForEachElement(
        db_, "iec_GlobalVarsGet", [&](MODE m) { return db_.iec_GlobalVarsGet(m, cpu_, global, kTr); },
        [&] { globals.push_back(global); });
    for (GlObjectId g : globals) {
      CheckName(g, W5GRX_CheckVarName, "global variable");
      const bool written = Sources(g, IEC_OBJ_GLOBAL_VAR) > 0;
      if (!written && usedGlobals_.count(g) == 0) {
        Add("unused-global", g, "the global variable " + Name(g) + " is neither read nor written", Json::object());
      }
    }
  }

  ChartDbClient& db_;
  GlObjectId cpu_;
  bool controllerStamped_ = false;
  std::unordered_set<GlObjectId> usedGlobals_;
  std::vector<Finding> findings_;
};

} // namespace

std::vector<Finding> CheckController(ChartDbClient& db, GlObjectId controller) {
  platform::ScriptedPresenter boxes; // the checks show no boxes; should one come, it is answered
  return Checker(db, controller).Run();
}

} // namespace grx::cli
