// The exports of w5lhlpax.dll as its export directory lists them: the export table's exports and
// the classes of the object model, nothing of the library's internals, and the resource tables
// under their plain names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "../tools/grx_cli_fixture.h"
#include "platform/dynamic_library.h"
#include "platform/type_names.h"

namespace grx::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

// The names of a PE file's export directory, read from the file.
class ExportDirectory {
public:
  explicit ExportDirectory(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::uint32_t pe = U32(0x3C);
    if (U32(pe) != 0x00004550) throw std::runtime_error("no PE file: " + file);
    const std::uint16_t sectionCount = U16(pe + 6);
    const std::uint16_t optionalSize = U16(pe + 20);
    const std::size_t optional = pe + 24;
    if (U16(optional) != 0x20B) throw std::runtime_error("not a 64-bit image: " + file);
    const std::uint32_t exportRva = U32(optional + 112); // data directory 0 of PE32+
    sections_ = pe + 24 + optionalSize;
    sectionCount_ = sectionCount;
    const std::size_t directory = Offset(exportRva);
    const std::uint32_t nameCount = U32(directory + 24);
    const std::size_t names = Offset(U32(directory + 32));
    for (std::uint32_t i = 0; i < nameCount; ++i) {
      const std::size_t at = Offset(U32(names + 4 * i));
      names_.emplace_back(reinterpret_cast<const char*>(&bytes_.at(at)));
    }
  }
  const std::vector<std::string>& names() const { return names_; }

private:
  std::uint32_t U32(std::size_t at) const {
    std::uint32_t v = 0;
    if (at + 4 > bytes_.size()) throw std::out_of_range("beyond the file");
    std::memcpy(&v, &bytes_[at], 4);
    return v;
  }
  std::uint16_t U16(std::size_t at) const {
    std::uint16_t v = 0;
    if (at + 2 > bytes_.size()) throw std::out_of_range("beyond the file");
    std::memcpy(&v, &bytes_[at], 2);
    return v;
  }
  // The file offset of a relative virtual address, through the section table.
  std::size_t Offset(std::uint32_t rva) const {
    for (std::size_t i = 0; i < sectionCount_; ++i) {
      const std::size_t header = sections_ + 40 * i;
      const std::uint32_t start = U32(header + 12), size = U32(header + 16), raw = U32(header + 20);
      if (rva >= start && rva < start + size) return raw + (rva - start);
    }
    throw std::out_of_range("address outside every section");
  }

  std::string bytes_;
  std::size_t sections_ = 0, sectionCount_ = 0;
  std::vector<std::string> names_;
};

TEST_F(GrxCliTest, TheDllExportsTheTablesExportsAndTheObjectModel) {
  const auto listed = nlohmann::json::parse(Grx("--json exports").out);
  ASSERT_GT(listed.size(), 50u);
  const ExportDirectory directory((BinDir() / "w5lhlpax.dll").string());
  std::string all = "\n"; // every name between line ends
  for (const std::string& name : directory.names()) all += platform::DemangledName(name) + "\n";
  ASSERT_THAT(all, HasSubstr("W5GRX_IsRootPlan(unsigned long long, unsigned short)\n"));
  for (const auto& entry : listed) {
    EXPECT_THAT(all, HasSubstr("\n" + entry["name"].get<std::string>() + "(")) << entry["name"];
  }
  EXPECT_THAT(all, HasSubstr("OpenData::CIecObjManager::GetInstance()"));
  EXPECT_THAT(all, HasSubstr("vtable for OpenData::CIecObject\n"));
  EXPECT_THAT(all, Not(HasSubstr("grx::body::")));
  EXPECT_THAT(all, Not(HasSubstr("grx::app::")));
  EXPECT_THAT(all, Not(HasSubstr("sqlite3")));
  EXPECT_THAT(directory.names(), Contains("grx_string_table"));

  // A host finds them by those names.
  std::string error;
  const platform::Module library = platform::Module::Load("w5lhlpax.dll", &error);
  ASSERT_TRUE(library) << error;
  EXPECT_NE(library.Find("grx_string_table"), nullptr);
  EXPECT_NE(library.Find("_Z16W5GRX_IsRootPlanyt"), nullptr);
  EXPECT_EQ(library.Find("W5GRX_IsRootPlan"), nullptr); // a C++ export: only the decorated name
}

} // namespace
} // namespace grx::testing
