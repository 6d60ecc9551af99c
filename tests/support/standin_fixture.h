// Test fixture for the chart-database stand-in: the API library loaded by name as a host loads
// it, a project imported from a description, and helpers for paths, error ids and iterations.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chartdb_client.h"
#include "dbaccess/listing.h"

namespace grx::testing {

// The demo project's description (examples/demo.json).
const std::string& DemoJson();
// A small project: controller R with block types, charts, tasks and connections (see source).
const std::string& SmallProjectJson();

class StandInTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Imports a description into a fresh in-memory project and opens it.
  void Load(const std::string& json);
  // A project as Load makes it, in a file that the SQL statements then damage behind the stand-in's
  // back, opened again: for projects no API call can make. The file goes with the test.
  void LoadDamaged(const std::string& json, const std::string& sql);
  GlObjectId Id(const std::string& path);
  std::string PathOf(GlObjectId id);
  std::uint32_t Err(GlResult result) { return db.gl_ErrorIdGet(result); }
  std::string Name(GlObjectId id);

  // Runs an iteration to its end: the ids delivered and the error id of every call.
  template <class Call>
  std::vector<GlObjectId> Collect(Call&& call, GlObjectId& out, std::vector<std::uint32_t>* codes = nullptr) {
    std::vector<GlObjectId> ids;
    grx::dbaccess::ForEachListedWith(
        [&](GlResult result) {
          const std::uint32_t e = Err(result);
          if (codes) codes->push_back(e);
          return e;
        },
        std::forward<Call>(call),
        [&] {
          ids.push_back(out);
          // A stand-in that never ends a listing fails the test instead of hanging it.
          return ids.size() < 100000 ? grx::dbaccess::ListingStep::Next : grx::dbaccess::ListingStep::Stop;
        });
    return ids;
  }

  std::vector<GlObjectId> Blocks(const std::string& chart, GlSelect filter = IEC_SELECT_ALL);
  std::vector<GlObjectId> Vars(const std::string& owner, GlSelect filter = IEC_SELECT_ALL);
  std::vector<std::string> Paths(const std::vector<GlObjectId>& ids);

  grx::dbclient::ChartDbClient& db = grx::dbclient::ChartDbClient::Instance();
  static constexpr GlTransactionId kTr = kNoTransaction;

private:
  std::string damaged_;
};

} // namespace grx::testing
