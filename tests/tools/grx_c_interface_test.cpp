// The C interface is the export table's: the committed header, the C functions and the Python
// package's table are what grx writes from the table, every row has its C function in the library,
// and every parameter has a C form.
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "c_interface_writer.h"
#include "export_call.h"
#include "grx/w5lhlpax_c.h"
#include "grx_cli_fixture.h"
#include "platform/dynamic_library.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string SourceFile(const fs::path& relative) {
  std::ifstream in(fs::path(GRX_SOURCE_DIR) / relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(GrxCliTest, TheCInterfaceFilesAreTheOnesTheExportTableMakes) {
  const struct {
    const char* option;
    const char* file;
  } files[] = {{"--c-header", "include/grx/w5lhlpax_c.h"},
               {"--c-source", "src/app/c_exports.cpp"},
               {"--python", "python/grx/_exports.py"}};
  for (const auto& f : files) {
    const GrxRun written = Grx(std::string("exports ") + f.option);
    ASSERT_EQ(written.exitCode, 0) << written.out;
    EXPECT_EQ(written.out, SourceFile(f.file)) << "run: grx exports " << f.option << " > " << f.file;
  }
}

TEST_F(GrxCliTest, EveryExportRowHasItsCFunctionInTheLibrary) {
  EXPECT_THAT(cli::ParametersWithoutCForm(), IsEmpty());
  const std::string header = cli::CInterfaceHeader();
  std::string error;
  const platform::Module library = platform::Module::Load("w5lhlpax", &error);
  ASSERT_TRUE(library) << error;
  std::set<std::string> names;
  for (const cli::ExportEntry& e : cli::Exports()) {
    const std::string name = cli::CFunctionName(e);
    EXPECT_TRUE(names.insert(name).second) << name << " names two rows";
    EXPECT_THAT(header, HasSubstr("\nint " + name + "(")) << e.name;
    EXPECT_NE(library.Find(name.c_str()), nullptr) << name << " is not exported";
  }
  EXPECT_EQ(names.size(), cli::Exports().size());
  EXPECT_TRUE(names.count("grx_RootPlansFromCPU"));
  EXPECT_TRUE(names.count("grx_DoCfcMsgBox_4"));
  for (const char* helper : {"grx_last_error", "grx_free_text", "grx_free_texts", "grx_free_ids", "grx_free_blocks",
                             "grx_free_params", "grx_free_finds", "grx_free_move_blocks", "grx_transaction_begin",
                             "grx_transaction_commit", "grx_transaction_abort"}) {
    EXPECT_NE(library.Find(helper), nullptr) << helper;
  }
}

// What a C function could not do is told to the calling thread only, until its next call.
TEST_F(GrxCliTest, TheLastErrorBelongsToTheCallingThread) {
  std::uint32_t esType = 0;
  grx_data_type iecType = 0;
  EXPECT_EQ(grx_IsSimpleType(nullptr, &esType, &iecType), 0);
  EXPECT_STREQ(grx_last_error(), "W5GRX_IsSimpleType: name is NULL");
  std::string seenByAnother = "not run";
  std::thread other([&] {
    seenByAnother = grx_last_error();
    grx_IsSimpleType("INT", nullptr, &iecType);
  });
  other.join();
  EXPECT_EQ(seenByAnother, "");
  EXPECT_STREQ(grx_last_error(), "W5GRX_IsSimpleType: name is NULL"); // the other thread's failure is its own
  EXPECT_EQ(grx_IsSimpleType("INT", &esType, &iecType), 1);
  EXPECT_STREQ(grx_last_error(), "");
}

} // namespace
} // namespace grx::testing
