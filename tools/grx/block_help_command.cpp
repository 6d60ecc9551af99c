// grx fb-help: the block help viewer for block types, one after another; every start closes the
// viewer of the one before. In a terminal grx asks for further block types; the viewer closes
// when grx ends.
#include <nlohmann/json.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "platform/process.h"
#include "project_client.h"
#include "terminal_text.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;

// A block type given by name is looked for in the controller of the object.
std::string TypePath(const std::string& type, const std::string& object) {
  if (type.find('/') != std::string::npos) return type;
  return object.substr(0, object.find('/')) + "/%" + type;
}

} // namespace

int RunFbHelp(const Options& options, const std::string& type, const std::string& object,
              const std::vector<std::string>& more, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId objectId = db.Resolve(object);
  Json shown = Json::array();
  bool allStarted = true;
  const auto show = [&](const std::string& path, GlObjectId typeId) {
    const int result = W5GRX_ShowFBHelp(platform::kNoWindow, typeId, objectId);
    allStarted = allStarted && result == 0;
    shown.push_back(Json{{"type", path}, {"result", result}});
    if (!options.json) {
      out << (result == 0 ? "block help viewer started for " + path
                          : "no block help for " + path +
                                ": its library belongs to no help package, or the installation cannot be read")
          << "\n";
    }
  };
  // Every type is looked up first: a misspelt one starts nothing.
  std::vector<std::pair<std::string, GlObjectId>> types;
  types.emplace_back(TypePath(type, object), 0);
  for (const std::string& name : more) types.emplace_back(TypePath(name, object), 0);
  for (auto& [path, id] : types) id = db.Resolve(path);
  for (const auto& [path, id] : types) show(path, id);
  if (!options.json && platform::StandardInputIsTerminal()) {
    for (std::string line;;) {
      out << "next block type (empty: close the viewer): " << std::flush;
      if (!std::getline(std::cin, line) || line.empty()) break;
      const std::string path = TypePath(FromTerminal(line), object);
      GlObjectId id = 0;
      try {
        id = db.Resolve(path);
      } catch (const std::exception& e) {
        out << e.what() << "\n";
        continue;
      }
      show(path, id);
    }
  }
  if (options.json) out << JsonText(Json{{"shown", shown}}) << "\n";
  return allStarted ? kExitOk : kExitNo;
}

} // namespace grx::cli
