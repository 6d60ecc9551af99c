// The language resource library stand-in w5lresax: strings and dialog templates by number, built
// once in English (w5lresax) and once in German (w5lresax_de). Message strings hold their parts
// separated by carriage returns: text, second text, caption.
#include "platform/string_resources.h"

#ifndef W5LRES_GERMAN

GRX_STRING_TABLE(
    {509, "Help error"},
    {511, "&Yes"},
    {512, "&No"},
    {513, "Cancel"},
    {1003, "The controller could not be classified as a controller of the served kind.\r"
           "The chart helper functions are not available for it.\rResource check"},
    {1005, "The controller is served directly and is not of the served kind.\r"
           "Please check the type of the controller.\rResource check"},
    {1032, "An import step failed:\r%s\rImport"},
    {1039, "The import finished with errors.\rDo you want to accept its result?\rImport"},
    {1054, "The charts of this controller were stamped by an older release.\r"
           "Please convert them before editing them.\rVersion check"},
    {1056, "The charts of this controller carry a foreign version stamp.\r"
           "They cannot be edited with this release.\rVersion check"},
    {3066, "Errors: %d"},
    {3067, "Warnings: %d"},
    {3068, "Checked: %d objects, %d blocks"},
    {3500, "The log holds errors or warnings.\rDo you want to see the protocol?\rProtocol"},
    {3501, "Import of tasks and block types"})

#else

GRX_STRING_TABLE(
    {509, "Fehler der Hilfe"},
    {511, "&Ja"},
    {512, "&Nein"},
    {513, "Abbrechen"},
    {1003, "Die Steuerung konnte nicht als Steuerung der bedienten Art eingeordnet werden.\r"
           "Die Hilfsfunktionen der Pläne stehen für sie nicht zur Verfügung.\rRessourcenprüfung"},
    {1005, "Die Steuerung wird direkt bedient und ist nicht von der bedienten Art.\r"
           "Bitte prüfen Sie den Typ der Steuerung.\rRessourcenprüfung"},
    {1032, "Ein Importschritt ist fehlgeschlagen:\r%s\rImport"},
    {1039, "Der Import endete mit Fehlern.\rMöchten Sie sein Ergebnis übernehmen?\rImport"},
    {1054, "Die Pläne dieser Steuerung wurden von einem älteren Stand gekennzeichnet.\r"
           "Bitte konvertieren Sie sie vor dem Bearbeiten.\rVersionsprüfung"},
    {1056, "Die Pläne dieser Steuerung tragen eine fremde Versionskennung.\r"
           "Sie können mit diesem Stand nicht bearbeitet werden.\rVersionsprüfung"},
    {3066, "Fehler: %d"},
    {3067, "Warnungen: %d"},
    {3068, "Geprüft: %d Objekte, %d Bausteine"},
    {3500, "Das Protokoll enthält Fehler oder Warnungen.\rMöchten Sie das Protokoll sehen?\rProtokoll"},
    {3501, "Import von Tasks und Bausteintypen"})

#endif

namespace {
// The message box: icon 6625, texts 6601 and 6602, buttons Cancel 2, OK/Yes 1, No 7, Help 9.
constexpr std::uint32_t kMessageBoxControls[] = {6625, 6601, 6602, 2, 1, 7, 9, 0};
// The progress dialog: progress bar 6600, text lines 6601 and 6602, Cancel 2.
constexpr std::uint32_t kProgressControls[] = {6600, 6601, 6602, 2, 0};
} // namespace

GRX_DIALOG_TABLE({6506, "Message", kMessageBoxControls}, {6507, "Progress", kProgressControls})

extern "C" __attribute__((visibility("default"))) const char* w5lres_Language() { return W5LRES_LANGUAGE; }
