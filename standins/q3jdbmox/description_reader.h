// Strict, path-aware reading of JSON description nodes: unknown keys, wrong kinds and values
// out of range are reported with the JSON path of the fault.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "description.h"

namespace q3 {

class DescriptionReader {
public:
  // A reader of the document's root (path "" or a prefix).
  DescriptionReader(const nlohmann::json& node, std::string path)
      : node_(&node), place_(std::make_shared<const Place>(Place{nullptr, std::move(path)})) {}

  // The JSON path of the node, put together when asked for (a failure): each reader keeps only its
  // own step, so that deeply nested descriptions take memory in proportion to their size.
  std::string path() const;
  const nlohmann::json& node() const { return *node_; }
  std::string PathOf(const std::string& key) const { return path() + "/" + key; }
  [[noreturn]] void Fail(const std::string& message) const;
  [[noreturn]] void Fail(const std::string& key, const std::string& message) const;

  // Requires an object whose keys are all among the given ones.
  void RequireObject(std::initializer_list<const char*> keys) const;
  bool Has(const std::string& key) const;

  std::string Text(const std::string& key, const std::string& fallback = {}, std::size_t maxLength = 256) const;
  std::string RequiredText(const std::string& key, std::size_t maxLength = 256) const;
  // A whole number; also accepts a text holding a decimal or 0x hexadecimal number.
  std::int64_t Integer(const std::string& key, std::int64_t fallback, std::int64_t min, std::int64_t max) const;
  bool Boolean(const std::string& key, bool fallback) const;
  // The elements of an array member (empty when absent).
  std::vector<DescriptionReader> Array(const std::string& key) const;
  DescriptionReader Object(const std::string& key) const;

private:
  struct Place {
    std::shared_ptr<const Place> parent;
    std::string step;
  };
  DescriptionReader(const nlohmann::json& node, std::shared_ptr<const Place> parent, std::string step)
      : node_(&node), place_(std::make_shared<const Place>(Place{std::move(parent), std::move(step)})) {}
  const nlohmann::json& Member(const std::string& key) const { return node_->at(key); }

  const nlohmann::json* node_;
  std::shared_ptr<const Place> place_;
};

} // namespace q3
