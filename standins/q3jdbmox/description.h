// JSON project descriptions: a whole project by names (docs/project-description.md), imported
// into a store and exported from it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "project_store.h"

namespace q3 {

// A description that cannot be imported; the text starts with the JSON path of the fault.
class DescriptionError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kDescriptionFormat = "grx-project/1";

// Fills an empty store from the description (one transaction: all or nothing).
void ImportDescription(ProjectStore& store, std::string_view json);
// What writing one block type did: its identifier, whether it is new, and how many objects (the
// type and its parameter types) were created or changed.
struct BlockTypeWriteResult {
  GlObjectId typeId = 0;
  bool created = false;
  std::uint32_t changes = 0;
};
// Creates or updates a block type of the controller from its description (a "blockTypes" entry
// of a project description). Runs in the caller's store transaction.
BlockTypeWriteResult WriteBlockType(ProjectStore& store, GlObjectId controller, const std::string& json);
// Describes the project in the store.
std::string ExportDescription(ProjectStore& store);

// ISO 8601 time ("2026-01-01T08:00:00Z", optional ".mmm") and back.
std::int64_t ParseIsoTime(const std::string& text); // throws std::invalid_argument
std::string FormatIsoTime(std::int64_t ms);

} // namespace q3
