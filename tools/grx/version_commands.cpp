// grx stamp / check-stamp (the library-data version stamps of a controller and a root chart),
// grx data-version (an object's data version against the installed software) and grx editor (the
// installed chart editor and its technology version), grx check-resource (the controller's kind)
// and grx help (the help file at a context).
#include <nlohmann/json.hpp>

#include <cstdlib>

#include "api_iteration.h"
#include "commands.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "platform/dialog_presenter.h"
#include "platform/help_viewer.h"
#include "project_client.h"
#include "terminal_text.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;

GlObjectId ChartOrZero(ChartDbClient& db, const std::string& chart) {
  return chart.empty() ? 0 : db.Resolve(chart);
}

} // namespace

int RunStamp(const Options& options, const std::string& controller, const std::string& chart, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  OpenProjectForExports(options, db);
  const GlObjectId cpu = db.Resolve(controller);
  const GlObjectId chartId = ChartOrZero(db, chart);
  InTransaction(db, [&](GlTransactionId tr) { W5GRX_SetGRXVersion(platform::kNoWindow, cpu, chartId, tr); });
  if (options.json) {
    out << JsonText(Json{{"stamped", chart.empty() ? Json::array({controller}) : Json::array({controller, chart})}})
        << "\n";
  } else {
    out << "stamped " << controller << (chart.empty() ? "" : " and " + chart) << " with the current version\n";
  }
  return kExitOk;
}

int RunCheckStamp(const Options& options, const std::string& controller, const std::string& chart, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  OpenProjectForExports(options, db);
  bool foreign = false;
  // The message the check shows is answered at once and printed; the answer does not matter.
  platform::ScriptedPresenter boxes;
  const bool current = W5GRX_CheckGRXVersion(platform::kNoWindow, db.Resolve(controller), ChartOrZero(db, chart),
                                             foreign, true, kNoTransaction);
  const auto shown = boxes.shown();
  if (options.json) {
    Json j{{"current", current}, {"foreignStamp", foreign}};
    if (!shown.empty()) j["message"] = shown.front().caption;
    out << JsonText(j) << "\n";
  } else {
    out << (current   ? "current: the data carry this release's stamp"
            : foreign ? "not current: a foreign stamp"
                      : "not current: no stamp, or one of an older release")
        << "\n";
    for (const auto& box : shown) out << "  [" << box.caption << "] " << box.text << " " << box.secondText << "\n";
  }
  return current ? kExitOk : kExitFailure;
}

int RunDataVersion(const Options& options, const std::string& object, bool update, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  OpenProjectForExports(options, db);
  CString text;
  const bool agree = W5GRX_CheckDataVersion(db.Resolve(object), kNoTransaction, update, &text);
  char software[kGlVersionSize] = {0};
  db.gl_SoftwareVersionGet(software);
  if (options.json) {
    out << JsonText(Json{{"agree", agree}, {"dataVersion", text.str()}, {"softwareVersion", software}}) << "\n";
  } else {
    out << object << ": data version " << (text.IsEmpty() ? "(unreadable)" : text.str()) << ", software " << software
        << (agree ? " - they agree" : " - they differ") << (agree && update ? " (brought up)" : "") << "\n";
  }
  return agree ? kExitOk : kExitFailure;
}

int RunCheckResource(const Options& options, const std::string& controller, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  OpenProjectForExports(options, db);
  const GlObjectId cpu = db.Resolve(controller);
  bool served = false;
  platform::ScriptedPresenter boxes;
  const bool classified = W5GRX_CheckResource(platform::kNoWindow, cpu, served, true, kNoTransaction);
  GlObjectDescriptor od{};
  const bool direct = db.ErrorId(db.gl_ObjectId_2_OD(cpu, od, kNoTransaction)) == 0 && od.word[4] == 0x112002;
  const auto shown = boxes.shown();
  if (options.json) {
    Json j{{"classified", classified}, {"servedKind", served}, {"direct", direct}};
    if (!shown.empty()) j["message"] = shown.front().caption;
    out << JsonText(j) << "\n";
  } else {
    out << controller << ": "
        << (!classified ? "could not be classified"
            : served    ? "classified, of the served kind"
            : direct    ? "classified (served directly), not of the served kind"
                        : "classified, not of the served kind")
        << "\n";
    for (const auto& box : shown) out << "  [" << box.caption << "] " << box.text << " " << box.secondText << "\n";
  }
  return served ? kExitOk : kExitFailure;
}

int RunHelp(const Options& options, const std::string& base, std::uint32_t context, std::ostream& out) {
  char* path = nullptr;
  const int named = W5GRX_SetHelpFileName(base.empty() ? "w5grxmhx" : base.c_str(), &path);
  const std::string file = path ? path : "";
  std::free(path);
  const int shown = W5GRX_ShowHelp(platform::kNoWindow, base.c_str(), context, platform::HELP_CONTEXT);
  if (options.json) {
    out << JsonText(Json{{"shown", shown == 0}, {"path", file}}) << "\n";
  } else if (shown == 0) {
    out << "help " << file << " at context " << context << "\n";
  } else {
    out << (named ? "the help file " + file + " cannot be shown"
                  : std::string("no help file: the installation path or the help directory (Q3Help_SDir) is not set"))
        << "\n";
  }
  return shown == 0 ? kExitOk : kExitFailure;
}

int RunEditor(const Options& options, std::ostream& out) {
  const bool installed = W5GRX_IsCfcEditorInstalled();
  bool tooOld = false;
  const bool sufficient = W5GRX_CheckVersionCFC_V70(tooOld);
  CString version;
  const bool known = W5GRX_GetVersionCFC(version);
  if (options.json) {
    out << JsonText(Json{{"installed", installed},
                         {"sufficient", sufficient},
                         {"tooOld", tooOld},
                         {"version", known ? version.str() : std::string()}})
        << "\n";
  } else {
    out << "chart editor: " << (installed ? "installed" : "not installed") << "\n"
        << "technology version: "
        << (sufficient ? "sufficient"
            : tooOld   ? "too old"
                       : "unknown (no TechnVersion setting that can be read)")
        << "\n"
        << "chart software: " << (known ? version.str() : std::string("(no version)")) << "\n";
  }
  return installed && sufficient ? kExitOk : kExitFailure;
}

} // namespace grx::cli
