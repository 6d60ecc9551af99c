#include <algorithm>

#include "data_type_text.h"
#include "export_call.h"

#include "export_kinds.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "number_text.h"

namespace grx::cli {

CallContext::CallContext(ChartDbClient& db, const std::vector<std::string>& arguments, std::uintptr_t defaultWindow)
    : db_(db), defaultWindow_(defaultWindow) {
  for (const std::string& argument : arguments) {
    const auto equals = argument.find('=');
    if (equals == std::string::npos || equals == 0) {
      throw GrxError("arguments are name=value, not \"" + argument + "\"", kExitUsage);
    }
    if (!arguments_.emplace(argument.substr(0, equals), argument.substr(equals + 1)).second) {
      throw GrxError(argument.substr(0, equals) + " is given more than once", kExitUsage);
    }
  }
}

std::int64_t CallContext::Integer(const std::string& name, std::int64_t min, std::int64_t max) {
  const std::string text = Text(name);
  const auto number = ParseWholeNumber(text);
  if (!number || *number < min || *number > max) {
    throw GrxError(name + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                       ", not \"" + text + "\"",
                   kExitUsage);
  }
  return *number;
}

std::int64_t CallContext::Integer(const std::string& name, std::int64_t min, std::int64_t max, std::int64_t fallback) {
  return Find(name) ? Integer(name, min, max) : fallback;
}

const std::string* CallContext::Find(const std::string& name) {
  const auto it = arguments_.find(name);
  if (it == arguments_.end()) return nullptr;
  used_[name] = true;
  return &it->second;
}

GlObjectId CallContext::Id(const std::string& name) {
  const std::string* value = Find(name);
  if (!value) throw GrxError("missing argument " + name + "=OBJECT", kExitUsage);
  return Resolve(name, *value);
}

GlObjectId CallContext::Id(const std::string& name, GlObjectId fallback) {
  const std::string* value = Find(name);
  return value ? Resolve(name, *value) : fallback;
}

GlObjectId CallContext::Resolve(const std::string& name, const std::string& value) {
  const GlObjectId id = db_.Resolve(value);
  // A raw identifier (0 aside) must name an object; a path names one by being resolved.
  if (id != 0 && ParseWholeNumber(value)) {
    GlObjectType type = IEC_OBJ_NULL;
    if (const std::uint32_t errorId = db_.ErrorId(db_.iec_ObjectTypeGet(id, type, kNoTransaction)); errorId != 0) {
      throw GrxError(name + "=" + value + " names no object of the project", "iec_ObjectTypeGet", errorId);
    }
  }
  return id;
}

std::string CallContext::Text(const std::string& name) {
  const std::string* value = Find(name);
  if (!value) throw GrxError("missing argument " + name + "=TEXT", kExitUsage);
  return *value;
}

std::string CallContext::Text(const std::string& name, const std::string& fallback) {
  const std::string* value = Find(name);
  return value ? *value : fallback;
}

std::vector<std::string> CallContext::List(const std::string& name) {
  std::vector<std::string> items;
  const std::string* value = Find(name);
  if (!value || value->empty()) return items;
  std::size_t start = 0;
  for (;;) {
    const auto comma = value->find(',', start);
    items.push_back(value->substr(start, comma - start));
    if (comma == std::string::npos) return items;
    start = comma + 1;
  }
}

GlTransactionId CallContext::Transaction() {
  return static_cast<GlTransactionId>(Integer("prevTransactionId", 0, 0xFFFF, kNoTransaction));
}

GlDataType CallContext::DataType(const std::string& name) {
  const std::string text = Text(name);
  if (const auto type = ParseDataType(text)) return *type;
  throw GrxError(name + " takes an IEC data type, as a number or an elementary type name, not \"" + text + "\"",
                 kExitUsage);
}

std::uintptr_t CallContext::Window(const std::string& name) {
  if (!Find(name)) return defaultWindow_;
  return static_cast<std::uintptr_t>(Integer(name, 0, std::int64_t{1} << 62));
}

void CallContext::Out(const std::string& name, const nlohmann::ordered_json& value) {
  outs_[name] = value;
}

void CallContext::OutId(const std::string& name, GlObjectId id) {
  outs_[name] = PathText(id);
}

void CallContext::OutIds(const std::string& name, const std::vector<GlObjectId>& ids) {
  auto list = nlohmann::ordered_json::array();
  for (GlObjectId id : ids) list.push_back(PathText(id));
  outs_[name] = list;
}

void CallContext::CheckAllUsed() const {
  for (const auto& [name, value] : arguments_) {
    if (!used_.count(name)) throw GrxError("the export has no parameter " + name, kExitUsage);
  }
}

std::string CallContext::PathText(GlObjectId id) {
  return id == 0 ? "0" : db_.Path(id);
}

namespace {

// A parameter of the table: its kind, direction and C++ type as types, its name as text.
template <class Kind, kinds::Direction direction_, class Type>
struct Param {
  using kind = Kind;
  using type = Type;
  static constexpr kinds::Direction direction = direction_;
  const char* name;
  const char* kindName;
  const char* directionName;
  const char* typeName;
};

template <class P>
void ReadParam(CallContext& c, const P& param, typename P::kind::Storage& value) {
  if constexpr (kinds::IsRead(P::direction)) {
    P::kind::Read(c, param.name, P::direction, value);
  } else if constexpr (requires { P::kind::kStart; }) {
    value = P::kind::kStart; // what an out-value holds before the call
  }
}

template <class P>
void PrintParam(CallContext& c, const P& param, const typename P::kind::Storage& value) {
  if constexpr (kinds::IsPrinted(P::direction)) P::kind::Print(c, param.name, value);
}

template <auto function, class... P, std::size_t... I>
nlohmann::ordered_json Invoke(CallContext& c, const std::tuple<P...>& params, std::index_sequence<I...>) {
  std::tuple<typename P::kind::Storage...> storage{};
  (ReadParam(c, std::get<I>(params), std::get<I>(storage)), ...);
  const auto result = function(kinds::PassAs<typename P::type>(std::get<I>(storage))...);
  (PrintParam(c, std::get<I>(params), std::get<I>(storage)), ...);
  return kinds::ResultJson(result);
}

// How an export is called: required inputs as name=PLACEHOLDER, optional ones in brackets.
template <class P>
std::string UsageOf(const P& param) {
  if constexpr (!kinds::IsRead(P::direction) || P::kind::kPlaceholder[0] == '\0') {
    return std::string();
  } else {
    const std::string text = std::string(param.name) + "=" + P::kind::kPlaceholder;
    // An in-out value may be left out, except a name buffer, which the export reads.
    const bool optional = P::kind::kOptional || (P::direction != kinds::Direction::In &&
                                                 !std::is_same_v<typename P::kind, kinds::NameBuffer>);
    return optional ? "[" + text + "]" : text;
  }
}

template <auto function, class... P>
ExportEntry MakeEntry(const char* name, const char* result, const char* family, const char* policy, const char* summary,
                      P... params) {
  ExportEntry entry;
  entry.name = name;
  entry.result = result;
  entry.family = family;
  entry.policy = policy;
  entry.summary = summary;
  (entry.parameterList.push_back({params.name, params.directionName, params.kindName, params.typeName}), ...);
  for (const std::string& usage : std::vector<std::string>{UsageOf(params)...}) {
    if (usage.empty()) continue;
    if (!entry.parameters.empty()) entry.parameters += ' ';
    entry.parameters += usage;
  }
  entry.invoke = [tuple = std::make_tuple(params...)](CallContext& c) {
    return Invoke<function>(c, tuple, std::index_sequence_for<P...>{});
  };
  return entry;
}

} // namespace

const std::vector<ExportEntry>& Exports() {
#define GRX_CLI_PARAM(direction, kind, type, name)        \
  Param<kinds::kind, kinds::Direction::direction, type> { \
#name, #kind, #direction, #type                       \
  }
#define GRX_EXPORT(result, name, family, policy, summary, ...)                                               \
  MakeEntry<static_cast<result (*)(GRX_PP_MAP(GRX_EXPORT_PARAM_TYPE, GRX_PP_COMMA, __VA_ARGS__))>(&::name)>( \
      #name, #result, #family, #policy, summary __VA_OPT__(, ) GRX_PP_MAP(GRX_CLI_PARAM, GRX_PP_COMMA, __VA_ARGS__)),
  static const std::vector<ExportEntry> exports = {
#include "grx/w5lhlpax_exports.def"
  };
#undef GRX_CLI_PARAM
  return exports;
}

std::string ExportReference() {
  std::string text =
      "# The exports of w5lhlpax\n\n"
      "Made from `include/grx/w5lhlpax_exports.def` by `grx exports --markdown`; every export is "
      "called as `grx call EXPORT name=value ...`.\n";
  std::string family;
  for (const ExportEntry& e : Exports()) {
    if (e.family != family) {
      family = e.family;
      text += "\n## " + family + "\n";
    }
    text += "\n### " + e.name + "\n\n" + e.summary + "\n\n";
    text += "Answers `" + e.result + "`; " +
            (e.policy == "Raises" ? std::string("exceptions of the library reach the host.")
                                  : std::string("the frame catches every exception and answers the neutral result.")) +
            "\n\n| parameter | direction | kind | type |\n|---|---|---|---|\n";
    for (const ExportParameter& p : e.parameterList) {
      text += "| " + p.name + " | " + p.direction + " | " + p.kind + " | `" + p.type + "` |\n";
    }
    text += "\n`grx call " + e.name + (e.parameters.empty() ? "" : " " + e.parameters) + "`\n";
  }
  return text;
}

std::string ExportPolicyTable() {
  struct Family {
    std::string name;
    std::vector<std::string> raising, answering;
  };
  std::vector<Family> families;
  for (const ExportEntry& e : Exports()) {
    if (families.empty() || families.back().name != e.family) families.push_back({e.family, {}, {}});
    auto& list = e.policy == "Raises" ? families.back().raising : families.back().answering;
    if (std::find(list.begin(), list.end(), e.name) == list.end()) list.push_back(e.name);
  }
  auto names = [](const std::vector<std::string>& list) {
    std::string text;
    for (const std::string& name : list) text += (text.empty() ? "`" : ", `") + name + "`";
    return text.empty() ? std::string("-") : text;
  };
  std::string text = "| family | exceptions reach the host | the frame answers the neutral result |\n|---|---|---|\n";
  for (const Family& f : families)
    text += "| " + f.name + " | " + names(f.raising) + " | " + names(f.answering) + " |\n";
  return text;
}

const ExportEntry* FindExport(const std::string& name, const std::vector<std::string>& arguments) {
  // Overloads share a name: the first whose parameters take every argument given is called.
  const ExportEntry* first = nullptr;
  for (const ExportEntry& e : Exports()) {
    if (e.name != name) continue;
    if (!first) first = &e;
    const bool takesAll = std::all_of(arguments.begin(), arguments.end(), [&](const std::string& argument) {
      const std::string key = argument.substr(0, argument.find('='));
      return key == "prevTransactionId" || std::any_of(e.parameterList.begin(), e.parameterList.end(),
                                                       [&](const ExportParameter& p) { return p.name == key; });
    });
    if (takesAll) return &e;
  }
  return first;
}

} // namespace grx::cli
