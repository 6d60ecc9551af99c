// The tool library stand-in w5toolax (first part): language resource loading.
// W5TL_LoadLanguageDllEx loads the language resource library named by its base name for the
// configured language: the module "<base>_<language>" when it exists ("w5lresax_de"), else
// "<base>" itself; null when neither loads. The language is the "Current" value under
// Software\Halvorn\ORBIX\2.0\General\Languages (ENGLISH when missing).
#include <algorithm>
#include <cctype>
#include <string>

#include "platform/dynamic_library.h"
#include "platform/settings_store.h"

namespace {

std::string LanguageSuffix() {
  const std::string language =
      grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, "Software\\Halvorn\\ORBIX\\2.0\\General\\Languages",
                                     "Current", 99)
          .value_or("ENGLISH");
  if (language == "GERMAN") return "de";
  if (language == "FRENCH") return "fr";
  if (language == "SPANISH") return "es";
  if (language == "ITALIAN") return "it";
  return "en";
}

} // namespace

extern "C" __attribute__((visibility("default"))) void* W5TL_LoadLanguageDllEx(void* /*instance*/,
                                                                               const char* baseName) {
  if (!baseName || !*baseName) return nullptr;
  for (const std::string& name : {std::string(baseName) + "_" + LanguageSuffix(), std::string(baseName)}) {
    grx::platform::Module module = grx::platform::Module::Load(name);
    if (module) return module.Detach();
  }
  return nullptr;
}
