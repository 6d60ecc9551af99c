#include "c_interface_writer.h"

#include <map>
#include <sstream>

#include "export_call.h"

namespace grx::cli {
namespace {

// How a parameter of the table reaches C. In the texts "$" stands for the parameter's name.
struct ParamForm {
  const char* direction;
  const char* kinds; // one kind, or several separated by "|"
  const char* type;  // the C++ type as the table spells it
  const char* cParams;
  const char* before; // statements before the call
  const char* argument;
  const char* after; // statements after it
  const char* python;
};

// clang-format off
const ParamForm kForms[] = {
  {"In", "Transaction", "GlTransactionId", "grx_transaction $", "", "$", "", "transaction"},
  {"In", "Object|Res|Chart|Task", "GlObjectId", "grx_id $", "", "$", "", "id"},
  {"In", "Chart", "GlObjectId&", "grx_id $", "GlObjectId $_value = $;", "$_value", "", "id"},
  {"Out", "Object|Chart", "GlObjectId&", "grx_id* $", "Require($, \"$\");\nGlObjectId $_value = 0;", "$_value",
   "*$ = $_value;", "out_id"},
  {"InOut", "Object|Chart", "GlObjectId&", "grx_id* $", "Require($, \"$\");\nGlObjectId $_value = *$;", "$_value",
   "*$ = $_value;", "inout_id"},
  {"In", "Unsigned", "std::uint32_t", "uint32_t $", "", "$", "", "uint32"},
  {"In", "Unsigned16", "std::uint16_t", "uint16_t $", "", "$", "", "uint16"},
  {"In", "Number|Reserved", "std::int32_t", "int32_t $", "", "$", "", "int32"},
  {"In", "Number", "int", "int $", "", "$", "", "int"},
  {"In", "Reserved", "GlObjectId", "grx_id $", "", "$", "", "id"},
  {"In", "Flag|Reserved", "bool", "int $", "", "$ != 0", "", "flag"},
  {"Out", "Flag", "bool&", "int* $", "Require($, \"$\");\nbool $_value = false;", "$_value", "*$ = $_value ? 1 : 0;",
   "out_flag"},
  {"Out", "Number", "std::int32_t&", "int32_t* $", "Require($, \"$\");\nstd::int32_t $_value = 0;", "$_value",
   "*$ = $_value;", "out_int32"},
  {"Out", "Number", "int*", "int* $", "Require($, \"$\");\nint $_value = 0;", "&$_value", "*$ = $_value;", "out_int"},
  {"Out", "Unsigned", "std::uint32_t&", "uint32_t* $", "Require($, \"$\");\nstd::uint32_t $_value = 0;", "$_value",
   "*$ = $_value;", "out_uint32"},
  {"Out", "Unsigned16", "std::uint16_t&", "uint16_t* $", "Require($, \"$\");\nstd::uint16_t $_value = 0;",
   "$_value", "*$ = $_value;", "out_uint16"},
  {"Out", "DataType", "GlDataType&", "grx_data_type* $", "Require($, \"$\");\nGlDataType $_value = 0;", "$_value",
   "*$ = $_value;", "out_data_type"},
  {"In", "DataTypeRef", "const GlDataType*", "const grx_data_type* $", "", "$", "", "data_type_ref"},
  {"In", "Window", "grx::platform::WindowHandle", "grx_window $", "", "$", "", "window"},
  {"In", "Text", "CString", "const char* $", "Require($, \"$\");", "CString($)", "", "text"},
  {"In", "Text", "std::string", "const char* $", "Require($, \"$\");", "std::string($)", "", "text"},
  {"In", "Text", "std::string&", "const char* $", "Require($, \"$\");\nstd::string $_value($);", "$_value", "",
   "text"},
  {"In", "Text", "const char*", "const char* $", "Require($, \"$\");", "$", "", "text"},
  {"In", "CText", "const CString&", "const char* $", "Require($, \"$\");", "CString($)", "", "text"},
  {"In", "OptText", "const char*", "const char* $", "", "$", "", "optional_text"},
  {"In", "OptText", "CString", "const char* $", "", "CString($)", "", "optional_text"},
  {"Out", "Text", "std::string&", "char** $", "Require($, \"$\");\n*$ = nullptr;\nstd::string $_value;", "$_value",
   "*$ = NewText($_value);", "out_text"},
  {"Out", "CText", "CString&", "char** $", "Require($, \"$\");\n*$ = nullptr;\nCString $_value;", "$_value",
   "*$ = NewText($_value);", "out_text"},
  {"Out", "CText", "CString*", "char** $", "Require($, \"$\");\n*$ = nullptr;\nCString $_value;", "&$_value",
   "*$ = NewText($_value);", "out_text"},
  {"Out", "AllocatedText", "char**", "char** $", "Require($, \"$\");\n*$ = nullptr;\nAllocatedText $_value;",
   "$_value.Receive()", "*$ = NewText($_value.Text());", "out_text"},
  {"InOut", "Text", "std::string&", "const char* $, char** $_out",
   "Require($_out, \"$_out\");\n*$_out = nullptr;\nstd::string $_value($ ? $ : \"\");", "$_value",
   "*$_out = NewText($_value);", "inout_text"},
  {"InOut", "NameBuffer", "char*", "char* $, size_t $_size", "RequireNameBuffer($, $_size, \"$\");", "$", "",
   "name_buffer"},
  {"In", "Names", "std::vector<CString>", "const char* const* $, size_t $_count", "", "Texts<CString>($, $_count)",
   "", "texts"},
  {"In", "Names", "const std::vector<std::string>&", "const char* const* $, size_t $_count",
   "const auto $_value = Texts<std::string>($, $_count);", "$_value", "", "texts"},
  {"Appended", "Ids", "std::vector<GlObjectId>&", "grx_id** $, size_t* $_count",
   "RequireList($, $_count, \"$\");\nstd::vector<GlObjectId> $_value;", "$_value", "PutList($_value, $, $_count);",
   "out_ids"},
  {"Appended", "Names", "std::vector<std::string>&", "char*** $, size_t* $_count",
   "RequireList($, $_count, \"$\");\nstd::vector<std::string> $_value;", "$_value", "PutList($_value, $, $_count);",
   "out_texts"},
  {"Appended", "Blocks", "std::vector<BLOCK>&", "grx_block** $, size_t* $_count",
   "RequireList($, $_count, \"$\");\nstd::vector<BLOCK> $_value;", "$_value", "PutList($_value, $, $_count);",
   "out_blocks"},
  {"Appended", "Params", "std::vector<PARAM>&", "grx_param** $, size_t* $_count",
   "RequireList($, $_count, \"$\");\nstd::vector<PARAM> $_value;", "$_value", "PutList($_value, $, $_count);",
   "out_params"},
  {"Appended", "Finds", "std::vector<FIND>&", "grx_find** $, size_t* $_count",
   "RequireList($, $_count, \"$\");\nstd::vector<FIND> $_value;", "$_value", "PutList($_value, $, $_count);",
   "out_finds"},
  {"InOut", "Finds", "std::vector<FIND>&", "const grx_find* $, size_t $_count, grx_find** $_out, size_t* $_out_count",
   "RequireList($_out, $_out_count, \"$_out\");\nauto $_value = Finds($, $_count);", "$_value",
   "PutList($_value, $_out, $_out_count);", "inout_finds"},
  {"Appended", "MoveBlocks", "std::vector<MoveBlockInfoT>&", "grx_move_block** $, size_t* $_count",
   "RequireList($, $_count, \"$\");\nstd::vector<MoveBlockInfoT> $_value;", "$_value",
   "PutList($_value, $, $_count);", "out_move_blocks"},
  {"InOut", "MoveBlocks", "std::vector<MoveBlockInfoT>&",
   "const grx_move_block* $, size_t $_count, grx_move_block** $_out, size_t* $_out_count",
   "RequireList($_out, $_out_count, \"$_out\");\nauto $_value = MoveBlocks($, $_count);", "$_value",
   "PutList($_value, $_out, $_out_count);", "inout_move_blocks"},
  {"In", "InVarTypes", "const Iec_InVarType*", "const grx_in_var_type* $", "", "Records<Iec_InVarType>($)", "",
   "in_var_types"},
  {"In", "OutVarTypes", "const Iec_OutVarType*", "const grx_out_var_type* $", "", "Records<Iec_OutVarType>($)", "",
   "out_var_types"},
  {"In", "TypeElements", "const Iec_VarTypeElement*", "const grx_var_type_element* $", "",
   "Records<Iec_VarTypeElement>($)", "", "type_elements"},
  {"InOut", "Log", "w5comp::ILogView*", "void* $", "", "static_cast<w5comp::ILogView*>($)", "", "pointer"},
  {"In", "ResourceModule", "void*", "void* $", "", "$", "", "pointer"},
};
// clang-format on

// How a result reaches C: every C function answers an int; a text result becomes the last
// parameter, "answer".
struct ResultForm {
  const char* type;
  const char* value; // the int answered, "result" standing for the export's result
  const char* python;
};

const ResultForm kResults[] = {
    {"bool", "result ? 1 : 0", "bool"},
    {"int", "result", "int"},
    {"std::int32_t", "result", "int"},
    {"Syntax_Err_TypeEnum", "static_cast<int>(result)", "int"},
    {"RESPONSE", "static_cast<int>(result)", "int"},
    {"CString", "(*answer = NewText(result), 1)", "text"},
};

std::string Replace(const std::string& text, const std::string& name) {
  std::string out;
  for (char c : text) {
    if (c == '$') {
      out += name;
    } else {
      out += c;
    }
  }
  return out;
}

bool HasKind(const char* kinds, const std::string& kind) {
  std::istringstream in(kinds);
  std::string one;
  while (std::getline(in, one, '|')) {
    if (one == kind) return true;
  }
  return false;
}

const ParamForm* FormOf(const ExportParameter& p) {
  for (const ParamForm& form : kForms) {
    if (p.direction == form.direction && p.type == form.type && HasKind(form.kinds, p.kind)) return &form;
  }
  return nullptr;
}

const ResultForm* ResultFormOf(const std::string& type) {
  for (const ResultForm& form : kResults) {
    if (type == form.type) return &form;
  }
  return nullptr;
}

const ParamForm& FormOrThrow(const ExportEntry& entry, const ExportParameter& p) {
  const ParamForm* form = FormOf(p);
  if (!form) {
    throw std::runtime_error("the parameter " + p.name + " of " + entry.name + " (" + p.direction + ", " + p.kind +
                             ", " + p.type + ") has no C form");
  }
  return *form;
}

const ResultForm& ResultFormOrThrow(const ExportEntry& entry) {
  const ResultForm* form = ResultFormOf(entry.result);
  if (!form) throw std::runtime_error("the result " + entry.result + " of " + entry.name + " has no C form");
  return *form;
}

std::string WithoutPrefix(const std::string& name) {
  const std::string prefix = "W5GRX_";
  return name.rfind(prefix, 0) == 0 ? name.substr(prefix.size()) : name;
}

// The place of an export among the rows of its name (1 for the first).
int OverloadNumber(const ExportEntry& entry) {
  int number = 0;
  for (const ExportEntry& e : Exports()) {
    if (e.name == entry.name) ++number;
    if (&e == &entry) break;
  }
  return number;
}

std::string OverloadSuffix(const ExportEntry& entry) {
  const int number = OverloadNumber(entry);
  return number > 1 ? "_" + std::to_string(number) : "";
}

bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsLower(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}
char Lower(char c) {
  return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// RootPlansFromCPU -> root_plans_from_cpu, IECType_FromES -> iec_type_from_es,
// RootPlanIDsFromCPU -> root_plan_ids_from_cpu.
std::string SnakeCase(const std::string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c == '_') {
      if (!out.empty() && out.back() != '_') out += '_';
      continue;
    }
    if (IsUpper(c) && i > 0 && !out.empty() && out.back() != '_') {
      const bool afterLower = IsLower(name[i - 1]);
      // The last capital of an acronym starts a word (CPUName), unless it is a plural (PlanIDs).
      const bool plural = i + 1 < name.size() && name[i + 1] == 's' && (i + 2 == name.size() || IsUpper(name[i + 2]));
      const bool endOfAcronym = IsUpper(name[i - 1]) && i + 1 < name.size() && IsLower(name[i + 1]) &&
                                !(name[i + 1] >= '0' && name[i + 1] <= '9') && !plural;
      if (afterLower || endOfAcronym) out += '_';
    }
    out += Lower(c);
  }
  return out;
}

std::vector<std::string> CParams(const ExportEntry& entry) {
  std::vector<std::string> params;
  for (const ExportParameter& p : entry.parameterList) {
    std::istringstream in(Replace(FormOrThrow(entry, p).cParams, p.name));
    std::string one;
    while (std::getline(in, one, ',')) {
      params.push_back(one.substr(one.find_first_not_of(' ')));
    }
  }
  if (entry.result == "CString") params.push_back("char** answer");
  return params;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
  std::string out;
  for (const std::string& part : parts) {
    if (!out.empty()) out += separator;
    out += part;
  }
  return out;
}

std::string Declaration(const ExportEntry& entry) {
  const std::vector<std::string> params = CParams(entry);
  return "int " + CFunctionName(entry) + "(" + (params.empty() ? std::string("void") : Join(params, ", ")) + ")";
}

// A text as a C comment of lines of at most about 100 characters.
std::string Comment(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    for (std::size_t end = word.find("*/"); end != std::string::npos; end = word.find("*/")) word.insert(end + 1, " ");
    if (!line.empty() && 3 + line.size() + 1 + word.size() > 100) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) lines.push_back(line);
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i)
    out += (i == 0 ? "/* " : "   ") + lines[i] + (i + 1 == lines.size() ? " */\n" : "\n");
  return out;
}

std::string Indented(const std::string& statements, const std::string& indent) {
  std::string out;
  std::istringstream lines(statements);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty()) out += indent + line + "\n";
  }
  return out;
}

std::string PythonText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

} // namespace

std::string CFunctionName(const ExportEntry& entry) {
  return "grx_" + WithoutPrefix(entry.name) + OverloadSuffix(entry);
}

std::vector<std::string> ParametersWithoutCForm() {
  std::vector<std::string> missing;
  for (const ExportEntry& e : Exports()) {
    for (const ExportParameter& p : e.parameterList) {
      if (!FormOf(p))
        missing.push_back(e.name + " " + p.name + " (" + p.direction + ", " + p.kind + ", " + p.type + ")");
    }
    if (!ResultFormOf(e.result)) missing.push_back(e.name + " result (" + e.result + ")");
  }
  return missing;
}

std::string CInterfaceHeader() {
  std::string text = R"(/* The C interface of the helper library w5lhlpax: one function for each export of its export
   table, with plain C types, for hosts built with any compiler and for other languages.
   Written by `grx exports --c-header` from include/grx/w5lhlpax_exports.def; do not edit.

   Every function answers an int: the export's result (1 or 0 for yes and no). Texts are
   zero-terminated in the code page of the project (Windows-1252). What the library allocates
   (texts, lists) the caller releases with the grx_free_ function of its kind. When a function
   fails it answers 0 and grx_last_error() says why (an exception of the library, a missing
   argument); every call clears the text first, so an empty text after a call means it did not
   fail. The text belongs to the calling thread and lasts until its next call. */
/* clang-format off */
#ifndef GRX_W5LHLPAX_C_H
#define GRX_W5LHLPAX_C_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t grx_id;           /* an object of the chart database; 0 is none */
typedef uint16_t grx_transaction;  /* a transaction; 0xFFFF is none */
typedef uintptr_t grx_window;      /* a window of the host; 0 is none */
typedef int32_t grx_data_type;     /* an IEC data type */

#define GRX_NO_TRANSACTION ((grx_transaction)0xFFFF)

/* An interface item of a chart. */
typedef struct grx_block {
  char* name;
  grx_id id;
} grx_block;

/* An interface parameter with the texts of its attribute record. */
typedef struct grx_param {
  char* name;
  char* item_text;
  grx_id id;
} grx_param;

/* One use of a global variable. kind: 0 the variable reads the global, 1 it writes it. */
typedef struct grx_find {
  char* location;
  char* global_var_name;
  char* root_chart_name;
  int32_t kind;
  grx_id root_chart_id;
  grx_id var_id;
  grx_id global_var_id;
} grx_find;

/* A block with its processing group and run-sequence places (tp_name: the task's name). */
typedef struct grx_move_block {
  grx_id block_id;
  grx_id proc_group_id;
  int16_t block_pos;
  int16_t gr_pos;
  char tp_name[28];
} grx_move_block;

/* Chains of parameter-type records and structure element lists, as the chart database keeps them. */
#pragma pack(push, 4)
typedef struct grx_in_var_type {
  char name[52];
  char comment[52];
  int32_t position;
  grx_data_type data_type;
  char default_value[257];
  char reserved[31];
  struct grx_in_var_type* next;
} grx_in_var_type;

typedef struct grx_out_var_type {
  char name[52];
  char comment[52];
  int32_t position;
  grx_data_type data_type;
  char default_value[257];
  char reserved[23];
  struct grx_out_var_type* next;
} grx_out_var_type;

typedef struct grx_var_type_element {
  char name[52];
  char comment[52];
  int32_t position;
  grx_data_type data_type;
  int32_t nesting_level;
  struct grx_var_type_element* first_nested;
  char default_value[256];
  struct grx_var_type_element* next;
} grx_var_type_element;
#pragma pack(pop)

/* Why the calling thread's last call failed; "" when it did not. */
const char* grx_last_error(void);

/* Releasing what the library allocated (each takes NULL). */
void grx_free_text(char* text);
void grx_free_texts(char** texts, size_t count);
void grx_free_ids(grx_id* ids);
void grx_free_blocks(grx_block* blocks, size_t count);
void grx_free_params(grx_param* params, size_t count);
void grx_free_finds(grx_find* finds, size_t count);
void grx_free_move_blocks(grx_move_block* blocks);

/* Transactions of the chart database: begin one (inside prev, or GRX_NO_TRANSACTION), commit or
   abort it. 1 on success. */
int grx_transaction_begin(grx_transaction prev, grx_transaction* transaction);
int grx_transaction_commit(grx_transaction transaction);
int grx_transaction_abort(grx_transaction transaction);
)";
  std::string family;
  for (const ExportEntry& e : Exports()) {
    if (e.family != family) {
      family = e.family;
      text += "\n/* ---- " + family + " */\n";
    }
    text += "\n" + Comment(e.name + (e.policy == "Raises" ? " (may fail)" : "") + ": " + e.summary);
    text += Declaration(e) + ";\n";
  }
  text += R"(
#ifdef __cplusplus
}
#endif

#endif
)";
  return text;
}

std::string CInterfaceSource() {
  std::string text =
      "// The C functions of the exports. Written by `grx exports --c-source` from "
      "include/grx/w5lhlpax_exports.def;\n// do not edit.\n"
      "// clang-format off\n"
      "#include \"app/c_interface.h\"\n\n"
      "using namespace grx::capi;\n\n"
      "extern \"C\" {\n";
  for (const ExportEntry& e : Exports()) {
    const ResultForm& result = ResultFormOrThrow(e);
    std::string before, after;
    std::vector<std::string> arguments, types;
    if (e.result == "CString") before += "Require(answer, \"answer\");\n*answer = nullptr;\n";
    for (const ExportParameter& p : e.parameterList) {
      const ParamForm& form = FormOrThrow(e, p);
      before += Replace(form.before, p.name) + "\n";
      after += Replace(form.after, p.name) + "\n";
      arguments.push_back(Replace(form.argument, p.name));
      types.push_back(p.type);
    }
    text += "\n" + Declaration(e) + " {\n";
    text += "  return Call(\"" + e.name + "\", [&]() -> int {\n";
    text += Indented(before, "    ");
    text += "    const auto result = static_cast<" + e.result + " (*)(" + Join(types, ", ") + ")>(&::" + e.name + ")(" +
            Join(arguments, ", ") + ");\n";
    text += Indented(after, "    ");
    text += "    return " + std::string(result.value) + ";\n";
    text += "  });\n}\n";
  }
  text += "\n} // extern \"C\"\n";
  return text;
}

std::string CInterfacePythonTable() {
  std::string text =
      "# The C functions of the exports, with the forms of their parameters. Written by\n"
      "# `grx exports --python` from include/grx/w5lhlpax_exports.def; do not edit.\n"
      "# (python name, C function, export, policy, result, ((parameter, form), ...), summary)\n"
      "EXPORTS = (\n";
  for (const ExportEntry& e : Exports()) {
    std::string params;
    for (const ExportParameter& p : e.parameterList) {
      params += "(" + PythonText(p.name) + ", " + PythonText(FormOrThrow(e, p).python) + "), ";
    }
    text += "    (" + PythonText(SnakeCase(WithoutPrefix(e.name)) + OverloadSuffix(e)) + ", " +
            PythonText(CFunctionName(e)) + ", " + PythonText(e.name) + ", " + PythonText(e.policy) + ", " +
            PythonText(ResultFormOrThrow(e).python) + ",\n     (" + params + "),\n     " + PythonText(e.summary) +
            "),\n";
  }
  text += ")\n";
  return text;
}

} // namespace grx::cli
