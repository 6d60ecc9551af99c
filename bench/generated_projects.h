// Project files of generated shapes for the benchmarks: made once per size in the temporary
// folder, opened on demand, removed at the end; and the listing loop of the direct baselines.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "chartdb_client.h"
#include "dbaccess/listing.h"
#include "project_generator.h"

// The projects the scaling benchmarks compare: about 10^3, 10^4 and 10^5 objects (root charts
// with one sub-chart level of 25 blocks each, two globals per root chart: about 13 uses each).
inline constexpr int kScalingSizes[] = {5, 50, 500};
inline grx::cli::ProjectShape ScalingShape(int charts) {
  grx::cli::ProjectShape shape;
  shape.charts = charts;
  shape.depth = 1;
  shape.blocks = 25;
  shape.globals = 2 * charts;
  return shape;
}

class GeneratedProjects {
public:
  using Shape = std::function<grx::cli::ProjectShape(int charts)>;
  GeneratedProjects(std::string prefix, Shape shape) : prefix_(std::move(prefix)), shape_(std::move(shape)) {}

  // The project of that many root charts, opened.
  grx::dbclient::ChartDbClient& Open(int charts) {
    auto& db = grx::dbclient::ChartDbClient::Instance();
    db.Open(File(charts));
    return db;
  }
  // Closes the project and removes every file made.
  void RemoveAll() {
    grx::dbclient::ChartDbClient::Instance().CloseProject();
    for (const auto& [charts, file] : files_) std::filesystem::remove(file);
    files_.clear();
  }

private:
  const std::string& File(int charts) {
    auto it = files_.find(charts);
    if (it == files_.end()) {
      const auto path = std::filesystem::temp_directory_path() / (prefix_ + std::to_string(charts) + ".db");
      std::filesystem::remove(path);
      grx::dbclient::ChartDbClient::Instance().Import(grx::cli::GeneratedDescription(shape_(charts)), path.string());
      it = files_.emplace(charts, path.string()).first;
    }
    return it->second;
  }

  std::string prefix_;
  Shape shape_;
  std::map<int, std::string> files_;
};

// One M_FIRST/M_NEXT listing through the listing primitive, its failures ignored.
template <class Call, class OnItem>
void List(grx::dbclient::ChartDbClient& db, Call&& call, OnItem&& onItem) {
  grx::dbaccess::ForEachListedWith([&](GlResult r) { return db.gl_ErrorIdGet(r); }, call, onItem);
}
