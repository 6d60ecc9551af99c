#include "names.h"

#include "api_result.h"

namespace q3 {

std::size_t NameLimit(GlObjectType type) {
  switch (type) {
    case IEC_OBJ_TASK:
      return sizeof(Iec_Task::name) - 1;
    case IEC_OBJ_PROCESSING_GROUP:
      return sizeof(Iec_ProcessingGroup::name) - 1;
    case IEC_OBJ_GLOBAL_VAR:
      return sizeof(Iec_GlobalVar::name) - 1;
    case IEC_OBJ_IN_VAR:
    case IEC_OBJ_OUT_VAR:
    case IEC_OBJ_IN_OUT_VAR:
    case IEC_OBJ_IN_VAR_TYPE:
    case IEC_OBJ_OUT_VAR_TYPE:
    case IEC_OBJ_IN_OUT_VAR_TYPE:
      return sizeof(Iec_VarIdent::name) - 1;
    default:
      return kGlNameSize - 1;
  }
}

std::string NameProblem(GlObjectType type, const std::string& name) {
  if (name.empty()) {
    return "name is empty";
  }
  if (name.size() > NameLimit(type)) {
    return "name \"" + name + "\" is longer than " + std::to_string(NameLimit(type)) + " characters";
  }
  if (name.find_first_of("/.\\") != std::string::npos) {
    return "name \"" + name + "\" contains a path separator (/ . \\)";
  }
  if (name.front() == '@' || name.front() == '#' || name.front() == '%' || name.front() == '!') {
    return "name \"" + name + "\" starts with a path marker (@ # % !)";
  }
  for (unsigned char c : name) {
    if (c < 0x20) {
      return "name \"" + name + "\" contains a control character";
    }
  }
  return {};
}

void CheckName(GlObjectType type, const std::string& name) {
  if (std::string problem = NameProblem(type, name); !problem.empty()) {
    throw ApiError(name.size() > NameLimit(type) ? kErrTextTooLong : kErrInvalidName, problem);
  }
}

} // namespace q3
