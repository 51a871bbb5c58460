// wertomat-table: prints the result table that the dialog would show, for
// scripts and for checking results outside the dialog.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/tabulation.h"
#include "framework/encoding/text_encoding.h"
#include "framework/numbertext/number_text.h"

namespace {

constexpr int kExitTable = 0;
constexpr int kExitRefused = 1;
constexpr int kExitBadArguments = 2;

constexpr std::string_view kUsage =
    "Aufruf: wertomat-table XA XSW XE [FUNKTION]\n"
    "\n"
    "Gibt die Wertetabelle aus, die Wertomat nach \"Berechnen\" zeigt: Kopfzeile\n"
    "\"x<Tab>y\" und je Schritt eine Zeile mit x und y, vier Nachkommastellen,\n"
    "Zeilenende CR LF.\n"
    "\n"
    "  XA        Anfangswert, die erste Zeile der Tabelle\n"
    "  XSW       Schrittweite, von Zeile zu Zeile zu x addiert (darf negativ sein)\n"
    "  XE        Endwert\n"
    "  FUNKTION  0, 1 oder 2 (Vorgabe 0):\n"
    "              0  Y = 2*x\xB3 - 3*x\xB2 + 4*x -5\n"
    "              1  Y = 4*x\xB3 - 2*x\xB2 - 4*x +5\n"
    "              2  Y = -0,5*x\xB3 +0,4*x\xB2 + 4*x +33\n"
    "\n"
    "Zahlen d\xFCrfen Punkt oder Komma als Dezimalzeichen haben (\"0,5\") und einen\n"
    "Exponenten (\"1e-3\").\n"
    "\n"
    "Exit-Status: 0 Tabelle ausgegeben, 1 Eingabe abgelehnt (Meldung auf stderr),\n"
    "2 Aufruf fehlerhaft.\n";

void PrintToTerminal(std::FILE* stream, std::string_view windows1252Text) {
    const std::string text = wertomat::Windows1252ToUtf8(windows1252Text);
    std::fwrite(text.data(), 1, text.size(), stream);
}

// `message` holds the user's arguments as the terminal gave them: no conversion.
int Fail(const std::string& message) {
    std::fprintf(stderr, "wertomat-table: %s\n", message.c_str());
    return kExitBadArguments;
}

// Any whole number is passed on; the tabulation itself refuses unknown ones.
std::optional<wertomat::FunctionKind> ParseFunction(std::string_view text) {
    wertomat::FunctionKind kind = 0;
    const char* const last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, kind);
    if (error != std::errc{} || end != last || text.empty()) {
        return std::nullopt;
    }
    return kind;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        PrintToTerminal(stdout, kUsage);
        return kExitTable;
    }
    if (argc < 4 || argc > 5) {
        return Fail("drei oder vier Argumente erwartet: XA XSW XE [FUNKTION] (siehe --help)");
    }

    constexpr std::string_view kNames[] = {"XA", "XSW", "XE"};
    double values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> value = wertomat::ParseNumber(argv[i + 1]);
        if (!value) {
            return Fail(std::string(kNames[i]) + " ist keine Zahl: \"" + argv[i + 1] + "\"");
        }
        values[i] = *value;
    }
    wertomat::FunctionKind kind = 0;
    if (argc == 5) {
        const std::optional<wertomat::FunctionKind> parsed = ParseFunction(argv[4]);
        if (!parsed) {
            return Fail(std::string("FUNKTION ist keine ganze Zahl: \"") + argv[4] + "\"");
        }
        kind = *parsed;
    }

    const wertomat::TabulationOutcome outcome =
        wertomat::RunTabulation({values[0], values[1], values[2], kind});
    if (!outcome.succeeded) {
        PrintToTerminal(stderr, outcome.text + "\n");
        return kExitRefused;
    }
    std::fwrite(outcome.text.data(), 1, outcome.text.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitTable : kExitRefused;
}
