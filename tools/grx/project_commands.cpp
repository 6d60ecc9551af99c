// grx import, export and info.
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/code_page.h"
#include "plcopen.h"
#include "project_client.h"
#include "commands.h"
#include "grx_error.h"
#include "terminal_text.h"
#include "project_generator.h"
#include "project_summary.h"

namespace grx::cli {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw GrxError("cannot read " + path + ": " +
                   (std::filesystem::exists(path) ? "permission denied" : "no such file"));
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The JSON path a failed import of a description names first ("/controllers/0/charts/1: ...").
std::string FaultPath(const std::string& message) {
  const std::size_t start = message.find('/');
  if (start == std::string::npos) return {};
  const std::size_t end = message.find(':', start);
  return message.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace

int RunImport(const Options& options, const std::string& description, const std::string& project, bool force,
              std::ostream& out) {
  std::string json = ReadFile(description);
  if (std::filesystem::exists(project) && !force) {
    throw GrxError(project + " exists already (use --force to replace it)");
  }
  const std::string shownName = std::filesystem::path(description).filename().string();
  std::optional<plcopen::ReadResult> tc6;
  if (plcopen::LooksLikeXml(json)) {
    try {
      tc6 = plcopen::ReadProject(std::move(json), shownName);
    } catch (const plcopen::PlcOpenError& e) {
      throw GrxError(std::string("invalid TC6 XML project: ") + e.what());
    }
    json = tc6->description.dump();
    tc6->description = nullptr;
  }
  ChartDbClient& db = ChartDbClient::Instance();
  try {
    db.Import(json, project);
  } catch (const ChartDbError& e) {
    if (tc6) {
      // The fault in the description made of the file, placed in the file; the description's path
      // means nothing to the file's reader.
      const std::string message = e.what();
      const std::string path = FaultPath(message);
      // Read again (the file is not kept while the chart database imports) to find the place.
      const plcopen::SourcePlace place = plcopen::ReadProject(ReadFile(description), shownName, path).PlaceOf(path);
      const std::size_t after = path.empty() ? std::string::npos : message.find(path + ": ");
      throw GrxError("invalid TC6 XML project: " + shownName + ":" + std::to_string(place.line) + ":" +
                     std::to_string(place.column) + ": " +
                     (after == std::string::npos ? message : message.substr(after + path.size() + 2)));
    }
    throw GrxError("invalid project description " + description + ": " + e.what());
  }
  db.Open(project, Q3SIM_OPEN_READ_ONLY);
  const std::size_t controllers = db.ControllerIds().size();
  nlohmann::ordered_json warnings = nlohmann::ordered_json::array();
  if (tc6) {
    for (const auto& w : tc6->warnings) warnings.push_back(grx::platform::Utf8ToAnsiLossy(w.Text()));
  }
  if (options.json) {
    nlohmann::ordered_json result;
    result["project"] = project;
    result["controllers"] = controllers;
    result["format"] = tc6 ? "plcopen" : "json";
    result["warnings"] = warnings;
    out << JsonText(result) << "\n";
  } else {
    for (const auto& w : warnings) out << "warning: " << w.get<std::string>() << "\n";
    out << "Imported " << description << " into " << project << " (" << controllers << " controller(s)"
        << (warnings.empty() ? "" : ", " + std::to_string(warnings.size()) + " warning(s)") << ")\n";
  }
  return kExitOk;
}

int RunGenerate(const Options& options, const std::string& project, const ProjectShape& shape, bool force,
                std::ostream& out) {
  if (std::filesystem::exists(project) && !force) {
    throw GrxError(project + " exists already (use --force to replace it)");
  }
  std::string description;
  std::size_t objects = 0;
  try {
    description = GeneratedDescription(shape);
    objects = GeneratedObjectCount(shape);
  } catch (const std::invalid_argument& e) {
    throw GrxError(e.what(), kExitUsage);
  }
  ChartDbClient::Instance().Import(description, project);
  if (options.json) {
    out << JsonText(nlohmann::ordered_json{{"project", project},
                                           {"charts", shape.charts},
                                           {"depth", shape.depth},
                                           {"blocks", shape.blocks},
                                           {"globals", shape.globals},
                                           {"objects", objects}})
        << "\n";
  } else {
    out << "Generated " << project << ": " << shape.charts << " root chart(s) with " << shape.depth
        << " sub-chart level(s), " << shape.blocks << " block(s) per chart, " << shape.globals << " global(s); "
        << objects << " objects described\n";
  }
  return kExitOk;
}

int RunExport(const Options& options, const std::string& outputFile, bool plcopen, bool force, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  if (!outputFile.empty()) {
    std::error_code ignored;
    if (std::filesystem::equivalent(outputFile, options.project, ignored)) {
      throw GrxError("the description would replace the project file " + options.project + " itself");
    }
    if (std::filesystem::exists(outputFile) && !force) {
      throw GrxError(outputFile + " exists already (use --force to replace it)");
    }
  }
  // The description, or the TC6 file written from it straight into its stream.
  const auto write = [&](std::ostream& stream) {
    if (!plcopen) {
      stream << db.Export();
      return;
    }
    nlohmann::json description = nlohmann::json::parse(db.Export());
    try {
      plcopen::WriteProject(description, stream);
    } catch (const std::exception& e) {
      throw GrxError("cannot write " + (outputFile.empty() ? options.project : outputFile) +
                     " as TC6 XML: " + e.what());
    }
  };
  if (outputFile.empty()) {
    // The text is UTF-8; the terminal's conversion takes code-page text.
    std::ostringstream text;
    write(text);
    out << grx::platform::Utf8ToAnsiLossy(text.str());
    return kExitOk;
  }
  const std::string temporary = outputFile + ".writing";
  try {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (file) write(file);
    if (!file || !file.flush()) throw GrxError("cannot write " + outputFile);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
  std::filesystem::rename(temporary, outputFile);
  return kExitOk;
}

int RunInfo(const Options& options, int depth, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const auto summary = SummarizeProject(db, depth);
  if (options.json) {
    out << JsonText(summary) << "\n";
  } else {
    PrintSummary(summary, out);
  }
  return kExitOk;
}

} // namespace grx::cli
