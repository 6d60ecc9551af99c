// grx locate: the object a compiler message names, below the chart or controller it belongs to.
#include <nlohmann/json.hpp>

#include "commands.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "project_client.h"
#include "terminal_text.h"

namespace grx::cli {

int RunLocate(const Options& options, const std::string& object, const std::string& location, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  GlObjectId first = 0, second = 0;
  const bool found = W5GRX_GetErrorLocation(db.Resolve(object), CString(location), first, second);
  const auto path = [&](GlObjectId id) { return id == 0 ? std::string() : db.Path(id); };
  if (options.json) {
    out << JsonText(nlohmann::ordered_json{{"found", found}, {"first", path(first)}, {"second", path(second)}}) << "\n";
  } else if (found) {
    out << path(second != 0 ? second : first) << (first != 0 && second != 0 ? "   (in " + path(first) + ")" : "")
        << "\n";
  } else {
    out << "no object of " << object << " is named by the message: it names no processing group {NAME}, chart "
        << "parameter <NAME> or block \".BLOCK.PARAM\" that exists there\n";
  }
  return found ? kExitOk : kExitNo;
}

} // namespace grx::cli
