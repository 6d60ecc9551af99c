// The standard functions and function blocks of IEC 61131-3 with their formal parameters, as
// blocks of an FBD body name them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace grx::plcopen {

struct FormalParameter {
  std::string name;
  std::string direction; // "in", "out" or "inout"
  std::string type;      // a data type of the description (ANY for generic ones)
};

struct StandardType {
  std::string name;
  bool functionBlock = false;
  // Inputs named IN1, IN2, ... may be added (ADD, MUX, CONCAT, ...).
  bool extensible = false;
  std::vector<FormalParameter> parameters;
};

// The standard type of that name (upper case or not), conversions X_TO_Y included.
std::optional<StandardType> FindStandardType(const std::string& name);

} // namespace grx::plcopen
