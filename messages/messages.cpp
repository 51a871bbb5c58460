#include "messages/messages.h"

namespace messages {

std::string_view ForRefusal(wertomat::TabulationRefusal refusal) {
    using wertomat::TabulationRefusal;
    switch (refusal) {
        case TabulationRefusal::EqualStartAndEnd:
            return "Bitte unterschiedliche Werte f\xFCr den Anfangs- und den Endwert eingeben";
        case TabulationRefusal::RisingRangeNeedsPositiveStep:
            return "Bitte einen positiven Wert f\xFCr die Schrittweite eingeben";
        case TabulationRefusal::FallingRangeNeedsNegativeStep:
            return "Bitte einen negativen Wert f\xFCr die Schrittweite eingeben";
        case TabulationRefusal::NotFinite:
            return "Bitte endliche Zahlen f\xFCr Anfangswert, Schrittweite und Endwert eingeben";
        case TabulationRefusal::UnknownFunction:
            return "Falscher Wert in switch-Case-Anweisung";
        case TabulationRefusal::TooManyRows:
            return "Die Tabelle h\xE4tte zu viele Zeilen: bitte eine gr\xF6\xDF"
                   "ere Schrittweite oder einen kleineren Bereich eingeben (h\xF6"
                   "chstens 1000001 Zeilen)";
        case TabulationRefusal::TableTooLong:
            break;
    }
    return "Der Text der Tabelle w\xE4re zu lang: bitte eine gr\xF6\xDF"
           "ere Schrittweite oder einen kleineren Bereich eingeben (h\xF6"
           "chstens 64 MiB)";
}

}  // namespace messages
