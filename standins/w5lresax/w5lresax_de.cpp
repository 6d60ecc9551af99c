// The German language resource library w5lresax_de: strings and dialog templates by number.
// Message strings hold their parts separated by carriage returns: text, second text, caption.
// The English module w5lresax carries the helper library's own resources (src/app).
#include "platform/string_resources.h"
#include "w5lres/resource_numbers.h"
#include "platform/export_macros.h"

GRX_STRING_TABLE({w5lres::kHelpErrorTitle, "Fehler der Hilfe"}, {w5lres::kYesButton, "&Ja"},
                 {w5lres::kNoButton, "&Nein"}, {w5lres::kCancelButton, "Abbrechen"},
                 {w5lres::kControllerNotServed,
                  "Die Steuerung konnte nicht als Steuerung der bedienten Art eingeordnet werden.\r"
                  "Die Hilfsfunktionen der Pläne stehen für sie nicht zur Verfügung.\rRessourcenprüfung"},
                 {w5lres::kControllerServedDirectly,
                  "Die Steuerung wird direkt bedient und ist nicht von der bedienten Art.\r"
                  "Bitte prüfen Sie den Typ der Steuerung.\rRessourcenprüfung"},
                 {w5lres::kImportStepFailed, "Ein Importschritt ist fehlgeschlagen:\r%s\rImport"},
                 {w5lres::kAcceptImportWithErrors,
                  "Der Import endete mit Fehlern.\rMöchten Sie sein Ergebnis übernehmen?\rImport"},
                 {w5lres::kStampedByOlderRelease,
                  "Die Pläne dieser Steuerung wurden von einem älteren Stand gekennzeichnet.\r"
                  "Bitte konvertieren Sie sie vor dem Bearbeiten.\rVersionsprüfung"},
                 {w5lres::kForeignStamp,
                  "Die Pläne dieser Steuerung tragen eine fremde Versionskennung.\r"
                  "Sie können mit diesem Stand nicht bearbeitet werden.\rVersionsprüfung"},
                 {w5lres::kLogStarted, "Begonnen: %s"}, {w5lres::kLogEnded, "Beendet: %s"},
                 {w5lres::kLogCounts, "%d Fehler, %d Warnung(en)"},
                 {w5lres::kShowLogQuestion, "Das Protokoll enthält Fehler oder Warnungen. Möchten Sie es sehen?"},
                 {w5lres::kImportTasksAndTypes, "Import von Tasks und Bausteintypen"})

GRX_DIALOG_TABLE({w5lres::kMessageBoxDialog, "Meldung", w5lres::kMessageBoxControls},
                 {w5lres::kProgressDialog, "Fortschritt", w5lres::kProgressControls})

GRX_MODULE_EXPORT const char* w5lres_Language() {
  return "GERMAN";
}
