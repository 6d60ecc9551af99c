#include "dbaccess/install_error_box.h"

#include "platform/code_page.h"

#include <cctype>
#include <cstring>

#include "platform/dialog_presenter.h"
#include "platform/settings_store.h"

namespace grx::dbaccess {
namespace {

struct Entry {
  int message;
  int language;
  const char* text;
};

// Ordered by message number, then language (0 German, 1 English, 2 French, 3 Spanish, 4 Italian).
constexpr Entry kTexts[] = {
    {0, 0,
     "Die Applikation kann die DLL %s0 nicht laden.\nBitte prüfen Sie Ihre Installation und installieren Sie ggf. neu "
     "!\nEs sollte möglichst CFC Version %s1 oder neuer installiert sein."},
    {0, 1,
     "The application cannot load the DLL %s0.\nPlease check your installation and reinstall if necessary !\nCFC "
     "version %s1 or newer should be installed."},
    {0, 2,
     "L'application ne peut pas charger la DLL %s0.\nVérifiez votre installation et réinstallez le cas échéant !\nLa "
     "version CFC installée devrait être dans la mesure du possible %s1 ou une version ultérieure."},
    {0, 3,
     "La aplicación no puede cargar la DLL %s0.\nCompruebe la instalación y, dado el caso, vuelva a instalar.\nA ser "
     "posible deberá instalar la versión %s1 de CFC u otra más reciente."},
    {0, 4,
     "L'applicazione non è in grado di caricare il file DLL %s0.\n Verificare l'installazione e, se necessario, "
     "ripeterla.\nInstallare CFC versione %s1 o più recente."},
    {1, 0,
     "Die Funktion %s0 ist in der installierten CFC-Version (%s1) noch nicht verfügbar.\nBitte installieren Sie "
     "möglichst Version %s2 oder neuer."},
    {1, 1,
     "The function %s0 is not yet available in the installed CFC (%s1).\nIf possible, please install version %s2 or "
     "newer."},
    {1, 2,
     "Cette fonction %s0 n'est pas encore disponible dans la version CFC installée (%s1).\nInstallez si possible la "
     "version %s2 ou une version ultérieure."},
    {1, 3,
     "La función %s0 no está disponible en la versión de CFC (%s1) que está instalada.\nInstale a ser posible la "
     "versión %s2 o una más reciente."},
    {1, 4,
     "La funzione %s0 non è disponibile nella versione di CFC installata (%s1).\nInstallare CFC versione %s2 o più "
     "recente."},
    {2, 0, "Fehler in der Installation"},
    {2, 1, "Installation error"},
    {2, 2, "Erreur dans l'installation"},
    {2, 3, "Error de instalación"},
    {2, 4, "Errore di installazione"},
};

constexpr const char* kLanguageKey = "Software\\Halvorn\\ORBIX\\2.0\\General\\Languages";
constexpr std::size_t kTextLimit = 1000;
constexpr const char* kNoText = "Internal message handler error";

} // namespace

int InstallErrorLanguage() {
  const auto value = platform::ReadSettingText(platform::Hive::LocalMachine, kLanguageKey, "Current", 99);
  const std::string language = value.value_or("ENGLISH");
  if (language == "GERMAN") return 0;
  if (language == "FRENCH") return 2;
  if (language == "SPANISH") return 3;
  if (language == "ITALIAN") return 4;
  return 1;
}

// The table is written in UTF-8; the box shows code-page text.
std::optional<std::string> InstallErrorText(int message, int language) {
  for (const Entry& e : kTexts) {
    if (e.message == message && e.language == language) {
      std::string text = platform::Utf8ToAnsiLossy(e.text);
      if (text.size() > kTextLimit) return std::nullopt;
      return text;
    }
  }
  return std::nullopt;
}

std::string FillInstallErrorText(const char* text, const char* const* args, int argCount) {
  std::string filled;
  for (const char* p = text; *p; ++p) {
    if (p[0] == '%' && p[1] == 's' && std::isdigit(static_cast<unsigned char>(p[2]))) {
      const int n = p[2] - '0';
      const char* arg = n < argCount && args ? args[n] : nullptr;
      filled += arg ? arg : "???";
      p += 2;
    } else {
      filled += *p;
    }
  }
  return filled.size() > kTextLimit ? std::string(text) : filled;
}

void ShowInstallError(int message, const char* const* args, int argCount) {
  const int language = InstallErrorLanguage();
  const auto text = InstallErrorText(message, language);
  const auto caption = InstallErrorText(kInstallErrorCaption, language);
  platform::MessageBoxRequest box;
  box.owner = platform::kNoWindow;
  box.caption = caption.value_or(kNoText);
  box.text = text ? FillInstallErrorText(text->c_str(), args, argCount) : kNoText;
  box.icon = platform::BoxIcon::Stop;
  box.buttons = platform::BoxButtons::Ok;
  platform::ShowMessageBox(box);
}

} // namespace grx::dbaccess
