// grx draw: a chart as SVG, or a whole controller as one self-contained HTML page.
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "commands.h"
#include "draw/chart_drawing.h"
#include "grx_error.h"
#include "platform/code_page.h"
#include "project_check.h"
#include "project_client.h"

namespace grx::cli {
namespace {

// The check's findings by object path, in UTF-8 like the description's names.
draw::FindingsByPath FindingsOf(ChartDbClient& db, const std::string& controller) {
  draw::FindingsByPath byPath;
  for (const Finding& f : CheckController(db, db.Resolve(controller))) {
    byPath[platform::AnsiToUtf8(f.path)].push_back({f.kind, platform::AnsiToUtf8(f.message)});
  }
  return byPath;
}

// Writes the text to the file, replacing it only when the whole text is written.
void WriteFile(const std::string& file, const std::string& text) {
  const std::string temporary = file + ".writing";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw GrxError("cannot write " + file);
    }
  }
  std::error_code failed;
  std::filesystem::rename(temporary, file, failed);
  if (failed) {
    std::filesystem::remove(temporary, failed);
    throw GrxError("cannot write " + file + ": " + failed.message());
  }
}

} // namespace

int RunDraw(const Options& options, const std::string& path, const std::string& outputFile, bool check,
            std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const std::string object = platform::AnsiToUtf8(path);
  const nlohmann::json description = nlohmann::json::parse(db.Export());
  const bool controller = object.find('/') == std::string::npos;
  std::string text;
  try {
    if (controller) {
      text = draw::WritePage(description, object, FindingsOf(db, path));
    } else {
      const std::string res = path.substr(0, path.find('/'));
      draw::ChartDrawing drawing =
          draw::DescribeChart(description, object, check ? FindingsOf(db, res) : draw::FindingsByPath{});
      draw::LayOut(drawing);
      text = draw::WriteSvg(drawing);
    }
  } catch (const draw::DrawError& e) {
    throw GrxError(std::string("cannot draw ") + path + ": " + e.what());
  }
  if (outputFile.empty()) {
    out << platform::Utf8ToAnsiLossy(text);
  } else {
    WriteFile(outputFile, text);
    if (options.json) {
      out << nlohmann::json{{"drawn", object}, {"file", outputFile}, {"bytes", text.size()}}.dump() << "\n";
    } else {
      out << "drew " << path << " into " << outputFile << "\n";
    }
  }
  return kExitOk;
}

} // namespace grx::cli
