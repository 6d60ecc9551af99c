#include "block_catalogue.h"

#include <fstream>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/code_page.h"
#include "platform/com_lite.h"
#include "platform/file_search.h"

namespace w5imp {
namespace {

using nlohmann::json;

// What a block type may hold beyond its description: the fields of its block-type record.
constexpr const char* kRecordKeys[] = {"category", "inputCount"};

[[noreturn]] void Fail(const std::string& path, const std::string& message) {
  throw CatalogueError(path + ": " + message);
}

const json& Member(const json& node, const std::string& path, const char* key) {
  if (!node.contains(key)) Fail(path, std::string("\"") + key + "\" is missing");
  return node.at(key);
}

// A text in the ANSI code page.
std::string Text(const json& node, const std::string& path, const char* key, const std::string& fallback,
                 bool required = false) {
  if (!node.contains(key)) {
    if (required) Fail(path, std::string("\"") + key + "\" is missing");
    return fallback;
  }
  const json& value = node.at(key);
  if (!value.is_string()) Fail(path + "/" + key, "expected a text");
  const auto text = grx::platform::Utf8ToAnsi(value.get<std::string>());
  if (!text) Fail(path + "/" + key, "the text has characters the ANSI code page cannot hold");
  return *text;
}

std::int64_t Integer(const json& node, const std::string& path, const char* key, std::int64_t fallback,
                     std::int64_t low, std::int64_t high) {
  if (!node.contains(key)) return fallback;
  const json& value = node.at(key);
  if (!value.is_number_integer()) Fail(path + "/" + key, "expected a whole number");
  const std::int64_t number = value.get<std::int64_t>();
  if (number < low || number > high) {
    Fail(path + "/" + key, "expected a number from " + std::to_string(low) + " to " + std::to_string(high));
  }
  return number;
}

grx::platform::GUID Guid(const json& value, const std::string& path) {
  if (!value.is_string()) Fail(path, "expected a GUID text");
  const auto guid = grx::platform::GuidFromString(value.get<std::string>());
  if (!guid) Fail(path, "\"" + value.get<std::string>() + "\" is not a GUID");
  return *guid;
}

void RequireKeys(const json& node, const std::string& path, std::initializer_list<const char*> keys) {
  if (!node.is_object()) Fail(path, "expected an object");
  for (const auto& item : node.items()) {
    bool known = false;
    for (const char* key : keys) known = known || item.key() == key;
    if (!known) Fail(path, "unknown member \"" + item.key() + "\"");
  }
}

CatalogueBlockType ReadBlockType(const json& node, const std::string& path, const std::string& packageUtf8) {
  if (!node.is_object()) Fail(path, "expected an object");
  CatalogueBlockType type;
  type.name = Text(node, path, "name", {}, true);
  if (type.name.empty()) Fail(path + "/name", "a block type needs a name");
  if (node.contains("library")) Fail(path + "/library", "the library of a block type is its package");
  type.category = static_cast<std::int32_t>(Integer(node, path, "category", 2, 0, 6));
  type.inputCount = static_cast<std::int32_t>(Integer(node, path, "inputCount", 2, 0, 1000));
  json description = node;
  for (const char* key : kRecordKeys) description.erase(key);
  description["library"] = packageUtf8;
  type.description = description.dump();
  return type;
}

CataloguePackage ReadPackage(const json& node, const std::string& path) {
  RequireKeys(
      node, path,
      {"name", "version", "languageId", "rtTypeGuid", "interfaceGuid", "isLibrary", "mappedTypes", "blockTypes"});
  CataloguePackage package;
  package.name = Text(node, path, "name", {}, true);
  if (package.name.empty()) Fail(path + "/name", "a package needs a name");
  package.version = Text(node, path, "version", {});
  package.languageId = static_cast<std::uint32_t>(Integer(node, path, "languageId", 0, 0, 0xFFFFFFFF));
  if (node.contains("rtTypeGuid")) package.rtTypeGuid = Guid(node.at("rtTypeGuid"), path + "/rtTypeGuid");
  if (node.contains("interfaceGuid")) package.interfaceGuid = Guid(node.at("interfaceGuid"), path + "/interfaceGuid");
  if (node.contains("isLibrary")) {
    if (!node.at("isLibrary").is_boolean()) Fail(path + "/isLibrary", "expected true or false");
    package.isLibrary = node.at("isLibrary").get<bool>();
  }
  if (node.contains("mappedTypes")) {
    const json& mapped = node.at("mappedTypes");
    if (!mapped.is_array()) Fail(path + "/mappedTypes", "expected a list of GUID texts");
    for (std::size_t i = 0; i < mapped.size(); ++i) {
      package.mappedTypes.push_back(Guid(mapped[i], path + "/mappedTypes/" + std::to_string(i)));
    }
  }
  const json& types = Member(node, path, "blockTypes");
  if (!types.is_array()) Fail(path + "/blockTypes", "expected a list of block types");
  std::set<std::string> names;
  for (std::size_t i = 0; i < types.size(); ++i) {
    const std::string at = path + "/blockTypes/" + std::to_string(i);
    CatalogueBlockType type = ReadBlockType(types[i], at, node.at("name").get<std::string>());
    if (!names.insert(grx::platform::AnsiUpper(type.name)).second) {
      Fail(at + "/name", "the package names the block type \"" + type.name + "\" twice");
    }
    package.blockTypes.push_back(std::move(type));
  }
  return package;
}

} // namespace

Catalogue ParseCatalogue(const std::string& utf8Json) {
  json doc;
  try {
    doc = json::parse(utf8Json);
  } catch (const json::exception& e) { // a syntax error, or a number out of range
    throw CatalogueError(std::string("/: not valid JSON (") + e.what() + ")");
  }
  RequireKeys(doc, "", {"format", "packages"});
  const std::string format = Text(doc, "", "format", {}, true);
  if (format != kCatalogueFormat) {
    Fail("/format", "unknown format \"" + format + "\" (expected \"" + kCatalogueFormat + "\")");
  }
  const json& packages = Member(doc, "", "packages");
  if (!packages.is_array()) Fail("/packages", "expected a list of technology packages");
  Catalogue catalogue;
  std::set<std::string> names;
  for (std::size_t i = 0; i < packages.size(); ++i) {
    const std::string at = "/packages/" + std::to_string(i);
    CataloguePackage package = ReadPackage(packages[i], at);
    if (!names.insert(grx::platform::AnsiUpper(package.name)).second) {
      Fail(at + "/name", "the catalogue names the package \"" + package.name + "\" twice");
    }
    catalogue.packages.push_back(std::move(package));
  }
  return catalogue;
}

Catalogue ReadCatalogue(const std::string& file) {
  std::ifstream in(grx::platform::NativePath(file), std::ios::binary);
  if (!in) throw CatalogueError("the block-type catalogue " + file + " cannot be read", true);
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return ParseCatalogue(text.str());
  } catch (const CatalogueError& e) {
    throw CatalogueError(file + ": " + e.what());
  }
}

} // namespace w5imp
