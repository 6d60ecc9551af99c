// The compiler's keyword component stand-in w5kwcmpx: isLangReservedName answers status 83 for
// the reserved words of IEC 61131-3 (compared without regard to case) and 0 for other names.
// The setting "Mode" under Software\Halvorn\COMPILER\KeyWords (or W5KW_MODE) switches it:
// "fail" makes the call fail (E_FAIL), "status" makes it answer status 0x1234.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "platform/code_page.h"
#include "platform/settings_store.h"
#include "platform/com_lite.h"
#include "w5comp/compiler_keywords.h"

namespace {

using grx::platform::HRESULT;

// The word list, generated from data/iec-reserved-words.tsv.
#include "reserved_words.inc"
#include "platform/export_macros.h"

const std::set<std::string>& ReservedWords() {
  static const std::set<std::string> words = [] {
    std::set<std::string> set;
    std::istringstream lines(kReservedWords);
    for (std::string line; std::getline(lines, line);) {
      if (line.empty() || line[0] == '#') continue;
      set.insert(line.substr(0, line.find('\t')));
    }
    return set;
  }();
  return words;
}

std::string Mode() {
  if (const char* mode = std::getenv("W5KW_MODE"); mode && *mode) return mode;
  return grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, "Software\\Halvorn\\COMPILER\\KeyWords",
                                        "Mode")
      .value_or("");
}

class CompilerKeyWords final
    : public grx::platform::ComObject<w5comp::ICompilerKeyWords, &w5comp::IID_ICompilerKeyWords> {
public:
  HRESULT isLangReservedName(grx::platform::BSTR, grx::platform::BSTR name, std::uint32_t* status) override {
    if (!status) return grx::platform::E_POINTER;
    const std::string mode = Mode();
    if (mode == "fail") return grx::platform::E_FAIL;
    if (mode == "status") {
      *status = 0x1234;
      return grx::platform::S_OK;
    }
    const std::string upper = grx::platform::AnsiUpper(grx::platform::Narrow(name ? name : L""));
    *status = ReservedWords().count(upper) ? w5comp::kReservedWordStatus : 0;
    return grx::platform::S_OK;
  }

private:
  ~CompilerKeyWords() override = default;
};

} // namespace

GRX_MODULE_EXPORT HRESULT grx_CreateComponent(const grx::platform::CLSID& clsid, const grx::platform::IID& iid,
                                              void** object) {
  if (!object) return grx::platform::E_POINTER;
  *object = nullptr;
  if (!(clsid == w5comp::CLSID_CompilerKeyWords)) return static_cast<HRESULT>(0x80040111); // CLASS_E_CLASSNOTAVAILABLE
  return grx::platform::CreateComponentObject<CompilerKeyWords>(iid, object);
}
