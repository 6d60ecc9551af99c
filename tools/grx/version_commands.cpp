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

int RunStamp(const Options& options, const std::string& controller, const std::string& chart, bool dryRun,
             std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId cpu = db.Resolve(controller);
  const GlObjectId chartId = ChartOrZero(db, chart);
  InTransaction(db, [&](GlTransactionId tr) {
    if (!W5GRX_SetGRXVersion(platform::kNoWindow, cpu, chartId, tr)) {
      throw GrxError("the stamp of " + (chart.empty() ? controller : chart) + " could not be written");
    }
    // Read back: the stamps must now be the current ones (the check's message is not shown).
    platform::ScriptedPresenter boxes;
    bool foreign = false;
    if (!W5GRX_CheckGRXVersion(platform::kNoWindow, cpu, chartId, foreign, true, tr)) {
      throw GrxError("the stamps written are not read back as current");
    }
  });
  if (options.json) {
    out << JsonText(Json{{"dryRun", dryRun},
                         {dryRun ? "wouldStamp" : "stamped",
                          chart.empty() ? Json::array({controller}) : Json::array({controller, chart})}})
        << "\n";
  } else {
    out << (dryRun ? "would stamp " : "stamped ") << controller << (chart.empty() ? "" : " and " + chart)
        << " with the current version\n";
  }
  return kExitOk;
}

int RunCheckStamp(const Options& options, const std::string& controller, const std::string& chart, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
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
  return current ? kExitOk : kExitNo;
}

int RunDataVersion(const Options& options, const std::string& object, bool update, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId id = db.Resolve(object);
  // The versions are read here too: the export answers "they agree" when it cannot read them.
  const auto dataVersion = [&] {
    char data[kGlVersionSize] = {0};
    Check(db, "gl_DataVersionGet", db.gl_DataVersionGet(id, data, kNoTransaction));
    return std::string(data);
  };
  char software[kGlVersionSize] = {0};
  Check(db, "gl_SoftwareVersionGet", db.gl_SoftwareVersionGet(software));
  const std::string before = dataVersion();
  CString text;
  const bool answer = W5GRX_CheckDataVersion(id, kNoTransaction, update, &text);
  const std::string after = update ? dataVersion() : before;
  const bool agree = after == software;
  if (answer != agree) {
    throw GrxError("the data version check answered " + std::string(answer ? "\"they agree\"" : "\"they differ\"") +
                   ", but the data version of " + object + " is " + after + " and the software's " + software);
  }
  const bool broughtUp = update && before != after;
  if (options.json) {
    out << JsonText(
               Json{{"agree", agree}, {"dataVersion", after}, {"softwareVersion", software}, {"broughtUp", broughtUp}})
        << "\n";
  } else {
    out << object << ": data version " << after << ", software " << software
        << (agree ? " - they agree" : " - they differ") << (broughtUp ? " (brought up from " + before + ")" : "")
        << "\n";
  }
  return agree ? kExitOk : kExitNo;
}

int RunCheckResource(const Options& options, const std::string& controller, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
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
  return served ? kExitOk : kExitNo;
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
  return shown == 0 ? kExitOk : kExitNo;
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
  return installed && sufficient ? kExitOk : kExitNo;
}

} // namespace grx::cli
