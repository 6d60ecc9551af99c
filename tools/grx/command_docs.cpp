// The documentation of grx's commands, made from the command table: the man page, the bash
// completion and the command reference.
#include <fstream>
#include <set>
#include <sstream>

#include "command_table.h"
#include "grx_error.h"

namespace grx::cli {

const char* KindWord(ArgKind kind) {
  switch (kind) {
    case ArgKind::Flag:
      return "flag";
    case ArgKind::Text:
      return "text";
    case ArgKind::File:
      return "file";
    case ArgKind::Number:
      return "number";
    case ArgKind::Choice:
      return "word";
    case ArgKind::Controller:
      return "a controller";
    case ArgKind::RootChart:
      return "a root chart";
    case ArgKind::Chart:
      return "a chart";
    case ArgKind::Block:
      return "a block";
    case ArgKind::Variable:
      return "a variable";
    case ArgKind::Task:
      return "a task";
    case ArgKind::Group:
      return "a processing group";
    case ArgKind::Object:
      return "an object";
  }
  return "";
}

namespace {

std::string LongName(const ArgSpec& arg) {
  const std::string name = arg.name;
  const auto comma = name.rfind(',');
  return comma == std::string::npos ? name : name.substr(comma + 1);
}

const char* Placeholder(ArgKind kind) {
  switch (kind) {
    case ArgKind::File:
      return "FILE";
    case ArgKind::Number:
      return "N";
    case ArgKind::Choice:
      return "WORD";
    case ArgKind::Text:
      return "TEXT";
    case ArgKind::Controller:
      return "RES";
    case ArgKind::RootChart:
    case ArgKind::Chart:
      return "CHART";
    case ArgKind::Block:
      return "BLOCK";
    case ArgKind::Variable:
      return "VAR";
    case ArgKind::Task:
      return "TASK";
    case ArgKind::Group:
      return "GROUP";
    default:
      return "OBJECT";
  }
}

// One argument as the usage line shows it.
std::string UsageOf(const ArgSpec& arg) {
  std::string text = arg.name[0] == '-' ? LongName(arg) : std::string(arg.name);
  if (arg.name[0] == '-' && arg.kind != ArgKind::Flag) text += std::string(" ") + Placeholder(arg.kind);
  if (arg.kind == ArgKind::Choice) text = std::string(arg.choices);
  if (arg.repeatable) text += "...";
  return arg.required ? text : "[" + text + "]";
}

std::string Usage(const CommandSpec& spec) {
  std::string text = std::string("grx [OPTIONS] ") + spec.name;
  for (const ArgSpec& arg : spec.args) text += " " + UsageOf(arg);
  return text;
}

const char* AccessText(Access access) {
  switch (access) {
    case Access::None:
      return "opens no project";
    case Access::Reads:
      return "reads the project (opened read-only)";
    case Access::Writes:
      return "writes the project in one session: committed when it succeeds, otherwise the file is left as it was";
    case Access::Creates:
      return "creates a project file, which appears only when it is complete";
  }
  return "";
}

std::string ArgumentText(const ArgSpec& arg) {
  std::string text = arg.help;
  if (arg.kind == ArgKind::Number) {
    text += " (" + std::to_string(arg.min) + " to " + std::to_string(arg.max) + ")";
  } else if (arg.kind != ArgKind::Flag && arg.kind != ArgKind::Choice && arg.kind != ArgKind::Text &&
             arg.kind != ArgKind::File) {
    text += std::string(" (") + KindWord(arg.kind) + ")";
  }
  return text;
}

struct ExitRow {
  int code;
  const char* meaning;
};
constexpr ExitRow kExitRows[] = {
    {0, "done"},
    {1, "a negative answer or findings (each command says which)"},
    {2,
     "a usage error: an unknown command or option, a missing or repeated argument, a number out of range, a text "
     "the code page cannot hold, an object of another kind than the command takes"},
    {3, "the command failed; a writing command changed nothing"},
};

// man(7) text: backslashes and hyphens escaped, no line starting with a dot or quote.
std::string Roff(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

} // namespace

std::string ManPage() {
  std::ostringstream m;
  m << ".TH GRX 1 \"\" \"grx " GRX_VERSION "\" \"User Commands\"\n"
    << ".SH NAME\ngrx \\- the chart\\-engineering helper library from the command line\n"
    << ".SH SYNOPSIS\n.B grx\n[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n"
    << ".SH DESCRIPTION\n"
    << "grx runs the exports of the helper library w5lhlpax against a project of the chart database. "
       "Objects are named by paths: RES a controller, RES/CHART/SUB/BLOCK charts and blocks, a .NAME suffix for a "
       "parameter, RES/@GLOBAL a global variable, RES/#TASK and RES/#TASK/GROUP tasks and processing groups, "
       "RES/%TYPE block types; a plain number is a raw identifier. Texts on the command line are UTF\\-8 and reach "
       "the library in its code page.\n"
    << ".PP\nA reading command opens the project read\\-only. A writing command works in one session of the "
       "project: it reads its outcome back, and commits only when everything succeeded; on any failure it rolls "
       "back and leaves the file byte for byte as it was. Without \\-\\-project a command works on the demo "
       "project, which is not saved.\n"
    << ".SH OPTIONS\n";
  for (const GlobalOption& g : GlobalOptions()) {
    m << ".TP\n.B " << Roff(g.name);
    if (*g.value) m << " \" \\fI" << g.value << "\\fR\"";
    m << "\n" << Roff(g.help) << "\n";
  }
  m << ".SH COMMANDS\n";
  for (const CommandSpec& spec : Commands()) {
    m << ".TP\n.B " << Roff(Usage(spec)) << "\n"
      << Roff(spec.summary) << "; " << Roff(AccessText(spec.access)) << ". Exit status: " << Roff(spec.exits) << ".\n";
    for (const ArgSpec& arg : spec.args) {
      m << ".RS\n.TP\n.I " << Roff(arg.name[0] == '-' ? LongName(arg) : std::string(arg.name)) << "\n"
        << Roff(ArgumentText(arg)) << "\n.RE\n";
    }
  }
  m << ".SH EXIT STATUS\n";
  for (const ExitRow& row : kExitRows) m << ".TP\n.B " << row.code << "\n" << Roff(row.meaning) << "\n";
  m << ".SH EXAMPLES\n";
  for (const CommandSpec& spec : Commands()) {
    if (!*spec.example) continue;
    m << ".PP\n.nf\ngrx " << Roff(spec.name) << " " << Roff(spec.example) << "\n.fi\n";
  }
  m << ".SH ENVIRONMENT\n.TP\n.B Q3JDBMOX_PROJECT\nthe project file when \\-\\-project is not given\n"
    << ".TP\n.B Q3JDBMOX_FAULTS\nfaults the chart\\-database stand\\-in injects, "
       "function:errorId[:firstCall[:count]]\n";
  return m.str();
}

std::string BashCompletion() {
  std::ostringstream b;
  std::string globals, valued, commands;
  for (const GlobalOption& g : GlobalOptions()) {
    globals += std::string(globals.empty() ? "" : " ") + g.name;
    if (*g.value) valued += std::string(valued.empty() ? "" : "|") + g.name;
  }
  std::set<std::string> firstWords;
  for (const CommandSpec& spec : Commands()) {
    const std::string name = spec.name;
    const std::string first = name.substr(0, name.find(' '));
    if (firstWords.insert(first).second) commands += (commands.empty() ? "" : " ") + first;
  }
  b << "# bash completion of grx, made from its command table by `grx docs completion`.\n"
    << "_grx() {\n"
    << "  local cur=\"${COMP_WORDS[COMP_CWORD]}\" prev=\"${COMP_WORDS[COMP_CWORD-1]}\" command=\"\" i\n"
    << "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
    << "    case \"${COMP_WORDS[i]}\" in\n"
    << "      " << valued << ") ((i++)) ;;\n"
    << "      -*) ;;\n"
    << "      *) command=\"${COMP_WORDS[i]}\"\n"
    << "         if [ \"$command\" = trace ] && ((i + 1 < COMP_CWORD)); then command=\"trace ${COMP_WORDS[i+1]}\"; fi\n"
    << "         break ;;\n"
    << "    esac\n"
    << "  done\n"
    << "  case \"$prev\" in\n"
    << "    --project|--call-trace|--trace|-o|--output|--catalogue) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
    << "  esac\n"
    << "  case \"$command\" in\n"
    << "    \"\") COMPREPLY=($(compgen -W \"" << globals << " " << commands << "\" -- \"$cur\")) ;;\n"
    << "    trace) COMPREPLY=($(compgen -W \"decode\" -- \"$cur\")) ;;\n";
  for (const CommandSpec& spec : Commands()) {
    std::string words;
    bool files = false;
    for (const ArgSpec& arg : spec.args) {
      if (arg.name[0] == '-') words += (words.empty() ? "" : " ") + LongName(arg);
      if (arg.kind == ArgKind::Choice) {
        std::string choices = arg.choices;
        for (char& c : choices) c = c == '|' ? ' ' : c;
        words += (words.empty() ? "" : " ") + choices;
      }
      files = files || arg.kind == ArgKind::File;
    }
    b << "    \"" << spec.name << "\") COMPREPLY=($(compgen -W \"" << words << "\" -- \"$cur\")"
      << (files ? " $(compgen -f -- \"$cur\")" : "") << ") ;;\n";
  }
  b << "  esac\n}\ncomplete -F _grx grx\n";
  return b.str();
}

std::string CliReference() {
  std::ostringstream d;
  d << "# grx commands\n\n"
    << "Made from grx's command table (`tools/grx/command_table.cpp`) by `grx docs markdown`; the man page "
       "(`grx docs man`) and the bash completion (`grx docs completion`) come from the same table.\n\n"
    << "A reading command opens the project read-only. A writing command works in one session of the project: "
       "it reads its outcome back and commits only when everything succeeded; on any failure it rolls back, "
       "exits 3 and leaves the file byte for byte as it was. `--dry-run` shows the outcome and rolls it back. "
       "Without `--project` (or `Q3JDBMOX_PROJECT`) commands work on the demo project, which is not saved. "
       "Every failure is one line on standard error: `grx COMMAND: where: what failed (function, error id)`.\n\n"
    << "## Options\n\n| option | value | meaning |\n|---|---|---|\n";
  for (const GlobalOption& g : GlobalOptions()) {
    d << "| `" << g.name << "` | " << (*g.value ? g.value : "") << " | " << g.help << " |\n";
  }
  d << "\n## Exit codes\n\n| code | meaning |\n|---|---|\n";
  for (const ExitRow& row : kExitRows) d << "| " << row.code << " | " << row.meaning << " |\n";
  d << "\n## Commands\n";
  for (const CommandSpec& spec : Commands()) {
    d << "\n### " << spec.name << "\n\n"
      << spec.summary << ".\n\n    " << Usage(spec) << "\n\n"
      << "It " << AccessText(spec.access) << ". Exit codes: " << spec.exits << ".\n";
    if (!spec.args.empty()) {
      d << "\n| argument | kind | meaning |\n|---|---|---|\n";
      for (const ArgSpec& arg : spec.args) {
        std::string kind = KindWord(arg.kind);
        if (arg.kind == ArgKind::Choice) kind = std::string("one of ") + arg.choices;
        std::string name = arg.name[0] == '-' ? std::string(arg.name) : std::string(arg.name);
        for (std::size_t at = 0; (at = name.find('|', at)) != std::string::npos; at += 2) name.replace(at, 1, "\\|");
        for (std::size_t at = 0; (at = kind.find('|', at)) != std::string::npos; at += 2) kind.replace(at, 1, "\\|");
        d << "| `" << name << "` | " << kind << (arg.required ? ", required" : "")
          << (arg.repeatable ? ", repeatable" : "") << " | " << ArgumentText(arg) << " |\n";
      }
    }
    if (*spec.example) d << "\nExample: `grx " << spec.name << " " << spec.example << "`\n";
  }
  return d.str();
}

int RunDocs(const std::string& format, const std::string& file, std::ostream& out) {
  const std::string text = format == "man" ? ManPage() : format == "completion" ? BashCompletion() : CliReference();
  if (file.empty()) {
    out << text;
    return kExitOk;
  }
  std::ofstream written(file, std::ios::binary | std::ios::trunc);
  if (!written || !(written << text) || !written.flush()) throw GrxError("cannot write " + file);
  return kExitOk;
}

} // namespace grx::cli
