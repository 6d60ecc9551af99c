#include "object_paths.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <unordered_set>
#include <vector>

#include "api_result.h"

namespace q3 {
namespace {

constexpr TypeMask kParameters = MaskOf({IEC_OBJ_IN_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_IN_OUT_VAR, IEC_OBJ_CFC_IN_VAR,
                                         IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR});
constexpr TypeMask kParameterTypes = MaskOf({IEC_OBJ_IN_VAR_TYPE, IEC_OBJ_OUT_VAR_TYPE, IEC_OBJ_IN_OUT_VAR_TYPE});
constexpr TypeMask kElements = MaskOf({IEC_OBJ_VAR_ELEMENT, IEC_OBJ_VAR_TYPE_ELEMENT});
constexpr TypeMask kPlaced = MaskOf({IEC_OBJ_CFC, IEC_OBJ_FUNCTION_BLOCK, IEC_OBJ_FUNCTION});

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

[[noreturn]] void NotFound(const std::string& path, const std::string& part) {
  throw ApiError(kErrObjectNotFound, "no object \"" + part + "\" in path \"" + path + "\"");
}

std::string Hex(GlObjectId id) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(id));
  return buffer;
}

} // namespace

std::optional<GlObjectId> ParseRawId(const std::string& text) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return std::nullopt;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > (hex ? 16u : 20u)) return std::nullopt;
  for (unsigned char c : digits) {
    if (hex ? !std::isxdigit(c) : !std::isdigit(c)) return std::nullopt;
  }
  try {
    return static_cast<GlObjectId>(std::stoull(digits, nullptr, hex ? 16 : 10));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

GlObjectId ResolvePath(ProjectStore& store, const std::string& path) {
  if (auto raw = ParseRawId(path)) return *raw;
  const std::vector<std::string> segments = Split(path, '/');
  std::optional<ObjectRow> current;
  for (const auto& r : store.ObjectsOfType(IEC_OBJ_RESOURCE)) {
    if (r.name == segments[0]) current = r;
  }
  if (!current) NotFound(path, segments[0]);
  for (std::size_t i = 1; i < segments.size(); ++i) {
    std::vector<std::string> dotted = Split(segments[i], '.');
    const std::string& head = dotted[0];
    const bool last = i + 1 == segments.size();
    if (!head.empty() && (head[0] == '@' || head[0] == '#' || head[0] == '%')) {
      if (i != 1) NotFound(path, head);
      const GlObjectType type = head[0] == '@'   ? IEC_OBJ_GLOBAL_VAR
                                : head[0] == '#' ? IEC_OBJ_TASK
                                                 : IEC_OBJ_FUNCTION_BLOCK_TYPE;
      const TypeMask mask = type == IEC_OBJ_FUNCTION_BLOCK_TYPE
                                ? MaskOf({IEC_OBJ_FUNCTION_BLOCK_TYPE, IEC_OBJ_FUNCTION_TYPE})
                                : MaskOf({type});
      current = store.ChildByName(current->id, head.substr(1), mask);
    } else if (current->type == IEC_OBJ_TASK) {
      current = store.ChildByName(current->id, head, MaskOf({IEC_OBJ_PROCESSING_GROUP}));
    } else if (current->type == IEC_OBJ_RESOURCE) {
      current = store.ChildByName(current->id, head, MaskOf({IEC_OBJ_CFC}));
    } else if (current->type == IEC_OBJ_CFC) {
      current = store.ChildByName(current->id, head, kPlaced);
    } else {
      current.reset();
    }
    if (!current) NotFound(path, head);
    if (dotted.size() > 1 && !last) NotFound(path, segments[i]);
    for (std::size_t k = 1; k < dotted.size(); ++k) {
      TypeMask mask = kElements;
      if (k == 1 && (current->type == IEC_OBJ_FUNCTION_BLOCK_TYPE || current->type == IEC_OBJ_FUNCTION_TYPE)) {
        mask = kParameterTypes;
      } else if (k == 1 && (kPlaced & (TypeMask{1} << current->type))) {
        mask = kParameters;
      }
      current = store.ChildByName(current->id, dotted[k], mask);
      if (!current) NotFound(path, dotted[k]);
    }
  }
  return current->id;
}

std::string PathOf(ProjectStore& store, GlObjectId id) {
  // The objects from this one up to its controller, without recursion (charts nest thousands
  // deep). An object that cannot be found, or one met a second time in a damaged project whose
  // charts contain each other, is named by its raw identifier, and so is everything below it
  // but globals, tasks and block types, which keep their own name behind it.
  std::vector<ObjectRow> chain;
  std::unordered_set<GlObjectId> passed;
  std::string path;
  for (GlObjectId current = id;;) {
    const auto row = passed.insert(current).second ? store.Find(current) : std::nullopt;
    if (!row || row->type == IEC_OBJ_NULL ||
        (row->type == IEC_OBJ_FUNCTION_BLOCK_TYPE && row->num3 != 0)) { // a system type
      path = Hex(current);
      break;
    }
    if (row->type == IEC_OBJ_RESOURCE) {
      path = row->name;
      break;
    }
    chain.push_back(*row);
    current = row->parent;
  }
  for (auto row = chain.rbegin(); row != chain.rend(); ++row) {
    const bool above = path.rfind("0x", 0) != 0;
    switch (row->type) {
      case IEC_OBJ_CFC:
      case IEC_OBJ_FUNCTION_BLOCK:
      case IEC_OBJ_FUNCTION:
      case IEC_OBJ_PROCESSING_GROUP:
        path = above ? path + "/" + row->name : Hex(row->id);
        break;
      case IEC_OBJ_GLOBAL_VAR:
      case IEC_OBJ_TASK:
      case IEC_OBJ_FUNCTION_BLOCK_TYPE:
      case IEC_OBJ_FUNCTION_TYPE:
        path += std::string("/") +
                (row->type == IEC_OBJ_GLOBAL_VAR ? '@'
                 : row->type == IEC_OBJ_TASK     ? '#'
                                                 : '%') +
                row->name;
        break;
      default:
        path = above ? path + "." + row->name : Hex(row->id);
        break;
    }
  }
  return path;
}

} // namespace q3
