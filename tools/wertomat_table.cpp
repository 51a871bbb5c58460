// wertomat-table: prints the result table that the dialog would show, for
// scripts and for checking results outside the dialog. The table streams to
// standard output, which gets the whole table or, on refusal, nothing.
#include <fcntl.h>
#include <unistd.h>
#if defined(_WIN32)
#include <io.h>
#endif

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>

#include "core/tabulation.h"
#include "framework/encoding/text_encoding.h"
#include "framework/numbertext/number_text.h"

namespace {

constexpr int kExitTable = 0;
constexpr int kExitRefused = 1;
constexpr int kExitBadArguments = 2;
constexpr int kExitWriteError = 3;

constexpr std::string_view kUsage =
    "Aufruf: wertomat-table XA XSW XE [FUNKTION]\n"
    "        wertomat-table --help | --version\n"
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
    "Grenzen: h\xF6"
    "chstens 1000000 Schritte (1000001 Zeilen) und h\xF6"
    "chstens 64 MiB Text.\n"
    "Eine gr\xF6\xDF"
    "ere Tabelle wird abgelehnt; die Meldung nennt in beiden F\xE4llen die Zeilen.\n"
    "\n"
    "Exit-Status: 0 Tabelle ausgegeben, 1 Eingabe abgelehnt (Meldung auf stderr,\n"
    "nichts auf stdout), 2 Aufruf fehlerhaft, 3 Schreibfehler bei der Ausgabe.\n";

// The whole chunk or an error: a short write is a failed write.
bool WriteAll(std::FILE* stream, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

int ReportWriteError() {
    const int error = errno;
    std::fprintf(stderr, "wertomat-table: Fehler beim Schreiben der Ausgabe: %s\n",
                 error != 0 ? std::strerror(error) : "unbekannter Fehler");
    return kExitWriteError;
}

// Standard output done: everything flushed and closed without an error.
int FinishOutput() {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        return ReportWriteError();
    }
    return std::fclose(stdout) == 0 ? kExitTable : ReportWriteError();
}

// A user's argument as it may be shown on a terminal: control characters,
// C1 controls included, are written as \xNN instead of being sent raw.
std::string Printable(std::string_view argument) {
    std::string shown;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        const auto byte = static_cast<unsigned char>(argument[i]);
        const bool c1Control = byte == 0xC2 && i + 1 < argument.size() &&
                               static_cast<unsigned char>(argument[i + 1]) < 0xA0 &&
                               static_cast<unsigned char>(argument[i + 1]) >= 0x80;
        if (byte < 0x20 || byte == 0x7F || c1Control) {
            const int count = c1Control ? 2 : 1;
            for (int k = 0; k < count; ++k) {
                char escaped[8];
                std::snprintf(
                    escaped, sizeof escaped, "\\x%02X",
                    static_cast<unsigned char>(argument[i + static_cast<std::size_t>(k)]));
                shown += escaped;
            }
            i += static_cast<std::size_t>(count - 1);
        } else {
            shown += argument[i];
        }
    }
    return shown;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "wertomat-table: %s\n", message.c_str());
    return kExitBadArguments;
}

// Why a number argument is not taken; out of range is not "not a number".
std::string Refusal(std::string_view name, const char* argument, wertomat::NumberRefusal refusal) {
    const std::string shown = std::string(name) + " \"" + Printable(argument) + "\"";
    switch (refusal) {
        case wertomat::NumberRefusal::TooLarge:
            return shown + ": " + wertomat::Windows1252ToUtf8(wertomat::kNumberTooLargeMessage);
        case wertomat::NumberRefusal::TooSmall:
            return shown + ": " + wertomat::Windows1252ToUtf8(wertomat::kNumberTooSmallMessage);
        case wertomat::NumberRefusal::NotANumber:
            break;
    }
    return std::string(name) + " ist keine Zahl: \"" + Printable(argument) + "\"";
}

std::optional<wertomat::FunctionKind> ParseFunction(std::string_view text) {
    wertomat::FunctionKind kind = 0;
    const char* const last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, kind);
    if (text.empty() || error != std::errc{} || end != last || !wertomat::IsKnownFunction(kind)) {
        return std::nullopt;
    }
    return kind;
}

// A pipe's buffer holds 64 KiB; a larger one lets a big table through with far
// fewer switches between writer and reader. Where that fails, nothing changes.
void WidenOutputPipe() {
#if defined(F_SETPIPE_SZ)
    constexpr int kPipeBytes = 1 << 20;
    static_cast<void>(fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kPipeBytes));
#endif
}

int PrintText(std::string_view windows1252Text) {
    return WriteAll(stdout, wertomat::Windows1252ToUtf8(windows1252Text)) ? FinishOutput()
                                                                          : ReportWriteError();
}

}  // namespace

int main(int argc, char** argv) {
#if defined(LC_MESSAGES)
    std::setlocale(LC_MESSAGES, "");  // system error texts in the user's language
#endif
#if defined(_WIN32)
    // The table's line ends are CR LF already: no text-mode translation.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc == 2) {
        const std::string_view option = argv[1];
        if (option == "--help" || option == "-h") {
            return PrintText(kUsage);
        }
        if (option == "--version") {
            return PrintText("wertomat-table " WERTOMAT_VERSION "\n");
        }
    }
    if (argc < 4 || argc > 5) {
        return Fail("drei oder vier Argumente erwartet: XA XSW XE [FUNKTION] (siehe --help)");
    }

    constexpr std::string_view kNames[] = {"XA", "XSW", "XE"};
    double values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::variant<double, wertomat::NumberRefusal> reading =
            wertomat::ReadNumber(argv[i + 1]);
        if (const auto* refusal = std::get_if<wertomat::NumberRefusal>(&reading)) {
            return Fail(Refusal(kNames[i], argv[i + 1], *refusal));
        }
        values[i] = *std::get_if<double>(&reading);
    }
    wertomat::FunctionKind kind = 0;
    if (argc == 5) {
        const std::optional<wertomat::FunctionKind> parsed = ParseFunction(argv[4]);
        if (!parsed) {
            return Fail("FUNKTION muss 0, 1 oder 2 sein, nicht \"" + Printable(argv[4]) + "\"");
        }
        kind = *parsed;
    }

    WidenOutputPipe();
    errno = 0;
    const wertomat::StreamOutcome outcome =
        wertomat::StreamTabulation({values[0], values[1], values[2], kind},
                                   [](std::string_view chunk) { return WriteAll(stdout, chunk); });
    switch (outcome.result) {
        case wertomat::StreamResult::Refused:
            std::fprintf(stderr, "%s\n", wertomat::Windows1252ToUtf8(outcome.message).c_str());
            return kExitRefused;
        case wertomat::StreamResult::WriteFailed:
            return ReportWriteError();
        case wertomat::StreamResult::Written:
            break;
    }
    return FinishOutput();
}
