// The German language resource library w5lresax_de: strings and dialog templates by number.
// Message strings hold their parts separated by carriage returns: text, second text, caption.
// The English module w5lresax carries the helper library's own resources (src/app).
#include "app/dialog_templates.h"
#include "platform/string_resources.h"
#include "platform/export_macros.h"

GRX_STRING_TABLE({509, "Fehler der Hilfe"}, {511, "&Ja"}, {512, "&Nein"}, {513, "Abbrechen"},
                 {1003,
                  "Die Steuerung konnte nicht als Steuerung der bedienten Art eingeordnet werden.\r"
                  "Die Hilfsfunktionen der Pläne stehen für sie nicht zur Verfügung.\rRessourcenprüfung"},
                 {1005,
                  "Die Steuerung wird direkt bedient und ist nicht von der bedienten Art.\r"
                  "Bitte prüfen Sie den Typ der Steuerung.\rRessourcenprüfung"},
                 {1032, "Ein Importschritt ist fehlgeschlagen:\r%s\rImport"},
                 {1039, "Der Import endete mit Fehlern.\rMöchten Sie sein Ergebnis übernehmen?\rImport"},
                 {1054,
                  "Die Pläne dieser Steuerung wurden von einem älteren Stand gekennzeichnet.\r"
                  "Bitte konvertieren Sie sie vor dem Bearbeiten.\rVersionsprüfung"},
                 {1056,
                  "Die Pläne dieser Steuerung tragen eine fremde Versionskennung.\r"
                  "Sie können mit diesem Stand nicht bearbeitet werden.\rVersionsprüfung"},
                 {3066, "Fehler: %d"}, {3067, "Warnungen: %d"}, {3068, "Geprüft: %d Objekte, %d Bausteine"},
                 {3500, "Das Protokoll enthält Fehler oder Warnungen.\rMöchten Sie das Protokoll sehen?\rProtokoll"},
                 {3501, "Import von Tasks und Bausteintypen"})

GRX_LIBRARY_DIALOGS("Meldung", "Fortschritt")

GRX_MODULE_EXPORT const char* w5lres_Language() {
  return "GERMAN";
}
