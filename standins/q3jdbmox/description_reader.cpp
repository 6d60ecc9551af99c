#include "description_reader.h"

#include <algorithm>

namespace q3 {

std::string DescriptionReader::path() const {
  std::vector<const std::string*> steps;
  for (const Place* p = place_.get(); p; p = p->parent.get()) steps.push_back(&p->step);
  std::string text;
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) text += **it;
  return text;
}

void DescriptionReader::Fail(const std::string& message) const {
  const std::string where = path();
  throw DescriptionError((where.empty() ? std::string("/") : where) + ": " + message);
}

void DescriptionReader::Fail(const std::string& key, const std::string& message) const {
  throw DescriptionError(PathOf(key) + ": " + message);
}

void DescriptionReader::RequireObject(std::initializer_list<const char*> keys) const {
  if (!node_->is_object()) {
    Fail("expected an object");
  }
  for (const auto& [key, value] : node_->items()) {
    if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; })) {
      Fail(key, "unknown member");
    }
  }
}

bool DescriptionReader::Has(const std::string& key) const {
  return node_->is_object() && node_->contains(key) && !Member(key).is_null();
}

std::string DescriptionReader::Text(const std::string& key, const std::string& fallback, std::size_t maxLength) const {
  if (!Has(key)) return fallback;
  const auto& v = Member(key);
  if (!v.is_string()) Fail(key, "expected a text");
  std::string text = v.get<std::string>();
  if (text.size() > maxLength) {
    Fail(key, "text longer than " + std::to_string(maxLength) + " characters");
  }
  return text;
}

std::string DescriptionReader::RequiredText(const std::string& key, std::size_t maxLength) const {
  if (!Has(key)) Fail(key, "missing");
  return Text(key, {}, maxLength);
}

std::int64_t DescriptionReader::Integer(const std::string& key, std::int64_t fallback, std::int64_t min,
                                        std::int64_t max) const {
  if (!Has(key)) return fallback;
  const auto& v = Member(key);
  std::int64_t value = 0;
  if (v.is_number_integer()) {
    value = v.get<std::int64_t>();
  } else if (v.is_number_unsigned()) {
    const auto u = v.get<std::uint64_t>();
    if (u > static_cast<std::uint64_t>(max)) Fail(key, "number out of range");
    value = static_cast<std::int64_t>(u);
  } else if (v.is_string()) {
    const std::string text = v.get<std::string>();
    try {
      std::size_t used = 0;
      value = std::stoll(text, &used, 0);
      if (used != text.size()) throw std::invalid_argument(text);
    } catch (const std::exception&) {
      Fail(key, "expected a whole number, not \"" + text + "\"");
    }
  } else {
    Fail(key, "expected a whole number");
  }
  if (value < min || value > max) {
    Fail(key, "number " + std::to_string(value) + " outside " + std::to_string(min) + ".." + std::to_string(max));
  }
  return value;
}

bool DescriptionReader::Boolean(const std::string& key, bool fallback) const {
  if (!Has(key)) return fallback;
  if (!Member(key).is_boolean()) Fail(key, "expected true or false");
  return Member(key).get<bool>();
}

std::vector<DescriptionReader> DescriptionReader::Array(const std::string& key) const {
  std::vector<DescriptionReader> items;
  if (!Has(key)) return items;
  const auto& v = Member(key);
  if (!v.is_array()) Fail(key, "expected an array");
  for (std::size_t i = 0; i < v.size(); ++i) {
    items.push_back(DescriptionReader(v[i], place_, "/" + key + "/" + std::to_string(i)));
  }
  return items;
}

DescriptionReader DescriptionReader::Object(const std::string& key) const {
  if (!Has(key)) Fail(key, "missing");
  return DescriptionReader(Member(key), place_, "/" + key);
}

} // namespace q3
