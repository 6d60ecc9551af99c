// grx: runs the helper library against a project (a chart database file).
#include <CLI/CLI.hpp>

#include <iostream>

#include "commands.h"
#include "grx_error.h"

int main(int argc, char** argv) {
  using namespace grx::cli;
  CLI::App app{"grx - the chart-engineering helper library from the command line"};
  app.require_subcommand(1);
  Options options;
  app.add_flag("--json", options.json, "print results as JSON");

  std::string description, project, output;
  bool force = false, keep = false;
  auto* import = app.add_subcommand("import", "import a project description into a new project file");
  import->add_option("DESCRIPTION", description, "project description (JSON)")->required();
  import->add_option("PROJECT", project, "project file to create")->required();
  import->add_flag("--force", force, "replace an existing project file");

  auto* exportCommand = app.add_subcommand("export", "print a project as a description (JSON)");
  exportCommand->add_option("PROJECT", project, "project file")->required();
  exportCommand->add_option("-o,--output", output, "write the description to this file");

  auto* info = app.add_subcommand("info", "controllers, charts as a tree, tasks and groups, counts");
  info->add_option("PROJECT", project, "project file")->required();

  auto* demo = app.add_subcommand("demo", "build the demo project in a temporary folder and tour it");
  demo->add_flag("--keep", keep, "keep the temporary folder");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help answers 0; any other parse failure is a usage error.
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }
  try {
    if (*import) return RunImport(options, description, project, force, std::cout);
    if (*exportCommand) return RunExport(options, project, output, std::cout);
    if (*info) return RunInfo(options, project, std::cout);
    if (*demo) return RunDemo(options, keep, std::cout);
  } catch (const GrxError& e) {
    std::cerr << "grx: " << e.what() << "\n";
    return e.exitCode();
  } catch (const std::exception& e) {
    std::cerr << "grx: unexpected failure: " << e.what() << "\n";
    return kExitFailure;
  }
  return kExitUsage;
}
