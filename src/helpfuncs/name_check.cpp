// Name syntax checks of root charts, sub-charts, blocks and variables, with the reserved words of
// the language from the compiler's keyword component.
#include <algorithm>
#include <cctype>
#include <functional>
#include <vector>

#include "app/export_bodies.h"
#include "foundation/exceptions.h"
#include "foundation/object_trace.h"
#include "grx/w5lhlpax.h"
#include "platform/code_page.h"
#include "platform/com_lite.h"
#include "w5comp/compiler_keywords.h"

namespace {

// A rule: true when the name passes; it writes the position in every case.
using Rule = std::function<bool(const std::string&, std::int32_t&)>;

bool IsLetter(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool RootLength(const std::string& name, std::int32_t& position) {
  if (name.size() >= 23) {
    position = static_cast<std::int32_t>(name.size());
    return false;
  }
  return true;
}

bool Characters(const std::string& name, std::int32_t& position) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (!IsLetter(name[i]) && !IsDigit(name[i]) && name[i] != '_') {
      position = static_cast<std::int32_t>(i);
      return false;
    }
  }
  return true;
}

bool DoubleUnderscore(const std::string& name, std::int32_t& position) {
  const auto at = name.find("__");
  if (at == std::string::npos) return true;
  position = static_cast<std::int32_t>(at + 1);
  return false;
}

bool LeadingUnderscore(const std::string& name, std::int32_t& position) {
  if (!name.empty() && name[0] == '_') {
    position = 0;
    return false;
  }
  position = -1;
  return true;
}

bool TrailingUnderscore(const std::string& name, std::int32_t& position) {
  if (!name.empty() && name.back() == '_') {
    position = static_cast<std::int32_t>(name.size() - 1);
    return false;
  }
  return true;
}

bool AnyUnderscore(const std::string& name, std::int32_t& position) {
  const auto at = name.find('_');
  position = at == std::string::npos ? -1 : static_cast<std::int32_t>(at);
  return at == std::string::npos;
}

bool FirstLetter(const std::string& name, std::int32_t& position) {
  if (name.empty() || !IsLetter(name[0])) {
    position = -1;
    return false;
  }
  position = 0;
  return true;
}

bool UnderscoreBeforeLetter(const std::string& name, std::int32_t& position) {
  for (std::size_t i = 0; i + 1 < name.size(); ++i) {
    if (name[i] == '_' && IsLetter(name[i + 1])) {
      position = static_cast<std::int32_t>(i + 1);
      return false;
    }
  }
  return true;
}

bool FirstDigit(const std::string& name, std::int32_t& position) {
  if (!name.empty() && IsDigit(name[0])) {
    position = 0;
    return false;
  }
  position = -1;
  return true;
}

// Releases a component on every way out.
// A trace whose sink fails does not change what a check answers.
template <class TraceCall>
void GuardedTrace(TraceCall trace) noexcept {
  try {
    trace();
  } catch (...) {
  }
}

constexpr const char* kMethod = "pIMC_CompilerKeyWords->isLangReservedName(\"\", sName, &dwRet)";

// -1 for a reserved word, 0 for a name that is not one, 1 when the component could not tell.
std::int32_t IsKeyword(const std::string& name) {
  grx::platform::ComReference<w5comp::ICompilerKeyWords> component;
  try {
    void* object = nullptr;
    const grx::platform::HRESULT created =
        grx::platform::CoCreateInstance(w5comp::CLSID_CompilerKeyWords, nullptr, grx::platform::CLSCTX_INPROC_SERVER,
                                        w5comp::IID_ICompilerKeyWords, &object);
    if (grx::platform::FAILED(created) || !object) {
      throw ZEB::CComException(created, "CoCreateInstance", ".\\NameCheck.cpp", 150);
    }
    component.reset(static_cast<w5comp::ICompilerKeyWords*>(object));
    const grx::platform::UniqueBstr language = grx::platform::MakeBstr(L"");
    const grx::platform::UniqueBstr text = grx::platform::MakeBstr(grx::platform::Widen(name).c_str());
    std::uint32_t status = 0;
    const grx::platform::HRESULT hr = component->isLangReservedName(language.get(), text.get(), &status);
    if (grx::platform::FAILED(hr)) throw ZEB::CComException(hr, kMethod, ".\\NameCheck.cpp", 159);
    if ((status & 0xFFFF) != 0) {
      try {
        throw ZEB::CBasisEsException(static_cast<grx::platform::HRESULT>(status & 0xFFFF), kMethod, ".\\NameCheck.cpp",
                                     159);
      } catch (const ZEB::CBasisEsException& e) {
        GuardedTrace([&] { ZEB::CObject::TraceException(e, 3); });
        return (e.GetErrorCode() & 0xFFFF) == w5comp::kReservedWordStatus ? -1 : 0;
      }
    }
    return 0;
  } catch (...) {
    GuardedTrace([] { ZEB::CObject::Trace(4, "W5GRX_IsKeyword", "Error checking alias"); });
    return 1;
  }
}

bool Keyword(const std::string& name, std::int32_t& position) {
  position = IsKeyword(name);
  return position != -1;
}

Syntax_Err_TypeEnum Check(std::string name, std::int32_t& position,
                          const std::vector<std::pair<Rule, Syntax_Err_TypeEnum>>& rules) {
  name = grx::platform::AnsiLower(name);
  for (const auto& [rule, error] : rules) {
    if (!rule(name, position)) return error;
  }
  return SYNTAX_ERR_NONE;
}

} // namespace

// The bodies of the exports; the frame (module state, exception policy) comes from the export table.
namespace grx::body {

Syntax_Err_TypeEnum W5GRX_CheckRootPlanName(std::string name, std::int32_t& position) {
  return Check(std::move(name), position,
               {{RootLength, SYNTAX_ERR_TOO_LONG},
                {Characters, SYNTAX_ERR_INVALID_CHAR},
                {DoubleUnderscore, SYNTAX_ERR_DOUBLE_UNDERSCORE},
                {TrailingUnderscore, SYNTAX_ERR_TRAILING_UNDERSCORE},
                {FirstLetter, SYNTAX_ERR_FIRST_NOT_LETTER},
                {UnderscoreBeforeLetter, SYNTAX_ERR_UNDERSCORE_LETTER},
                {Keyword, SYNTAX_ERR_KEYWORD}});
}

Syntax_Err_TypeEnum W5GRX_CheckSubPlanName(std::string name, std::int32_t& position) {
  return Check(std::move(name), position,
               {{Characters, SYNTAX_ERR_INVALID_CHAR},
                {AnyUnderscore, SYNTAX_ERR_UNDERSCORE},
                {FirstLetter, SYNTAX_ERR_FIRST_NOT_LETTER}});
}

Syntax_Err_TypeEnum W5GRX_CheckBlockName(std::string name, std::int32_t& position) {
  return Check(std::move(name), position,
               {{Characters, SYNTAX_ERR_INVALID_CHAR},
                {DoubleUnderscore, SYNTAX_ERR_DOUBLE_UNDERSCORE},
                {LeadingUnderscore, SYNTAX_ERR_LEADING_UNDERSCORE}});
}

Syntax_Err_TypeEnum W5GRX_CheckVarName(std::string name, std::int32_t& position) {
  return Check(std::move(name), position,
               {{Characters, SYNTAX_ERR_INVALID_CHAR},
                {DoubleUnderscore, SYNTAX_ERR_DOUBLE_UNDERSCORE},
                {FirstDigit, SYNTAX_ERR_FIRST_DIGIT},
                {Keyword, SYNTAX_ERR_KEYWORD}});
}

} // namespace grx::body
