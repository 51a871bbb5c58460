// wertomat-table: prints the result table that the dialog would show, for
// scripts and for checking results outside the dialog. The table streams to
// standard output, which gets the whole table or, on refusal, nothing.
#include <fcntl.h>
#include <unistd.h>
#if defined(_WIN32)
#include <io.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/tabulation.h"
#include "messages/messages.h"
#include "text/number_text.h"
#include "text/text_encoding.h"
#include "tools/csv_rows.h"
#include "tools/printable.h"
#if defined(_WIN32)
#include "framework/win32/user_locale.h"
#endif

namespace {

constexpr int kExitTable = 0;
constexpr int kExitRefused = 1;
constexpr int kExitBadArguments = 2;
constexpr int kExitWriteError = 3;

constexpr std::string_view kUsage =
    "Aufruf: wertomat-table [--csv] [--] XA XSW XE [FUNKTION]\n"
    "        wertomat-table --help | --version\n"
    "\n"
    "Gibt die Wertetabelle aus, die Wertomat nach \"Berechnen\" zeigt: Kopfzeile\n"
    "\"x<Tab>y\" und je Schritt eine Zeile mit x und y, vier Nachkommastellen,\n"
    "Zeilenende CR LF.\n"
    "\n"
    "  --csv     dieselbe Tabelle als CSV f\xFCr Tabellenkalkulationen, in der\n"
    "            Schreibweise des Gebietsschemas (LC_NUMERIC): mit Dezimalkomma\n"
    "            \"x;y\" und \"-10,0000;533,0000\", sonst \"x,y\" und\n"
    "            \"-10.0000,533.0000\"; Zahlen ohne F\xFCllzeichen, Zeilenende CR LF\n"
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
    "ere Tabelle wird abgelehnt; die Meldung nennt die Grenze, die sie \xFC"
    "berschreitet.\n"
    "\n"
    "Exit-Status: 0 Tabelle ausgegeben, 1 Eingabe abgelehnt (Meldung auf stderr,\n"
    "nichts auf stdout), 2 Aufruf fehlerhaft, 3 Schreibfehler bei der Ausgabe.\n";

// The whole chunk or an error: a short write is a failed write.
bool WriteAll(std::FILE* stream, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

// A UTF-8 text for the user. A Windows console gets it as UTF-16, which shows
// every character whatever the console's code page; a file or a pipe gets the
// bytes as they are.
bool Write(std::FILE* stream, std::string_view utf8) {
#if defined(_WIN32)
    const int descriptor = _fileno(stream);
    if (_isatty(descriptor) != 0) {
        std::fflush(stream);
        const int previousMode = _setmode(descriptor, _O_U16TEXT);
        const std::u16string wide = text::Utf8ToUtf16(utf8);
        const bool written =
            std::fputws(reinterpret_cast<const wchar_t*>(wide.c_str()), stream) >= 0;
        std::fflush(stream);
        _setmode(descriptor, previousMode);
        return written;
    }
#endif
    return WriteAll(stream, utf8);
}

// A message on stderr, after the program's name.
void Say(std::string_view utf8) {
    Write(stderr, "wertomat-table: " + std::string(utf8) + "\n");
}

// The errors that writing the output can meet, in German on every platform
// (Windows' C library knows English texts only), worded as glibc's German
// ones; any other error as the system words it.
std::string ErrorText(int error) {
    static constexpr std::array<std::pair<int, std::string_view>, 7> kTexts{{
        {0, "unbekannter Fehler"},
        {ENOSPC, "Auf dem Gerät ist kein Speicherplatz mehr verfügbar"},
        {EPIPE, "Datenübergabe unterbrochen (broken pipe)"},
        {EBADF, "Ungültiger Dateideskriptor"},
        {EIO, "Eingabe-/Ausgabefehler"},
        {EFBIG, "Datei zu groß"},
        {EACCES, "Keine Berechtigung"},
    }};
    const auto known = std::find_if(kTexts.begin(), kTexts.end(),
                                    [error](const auto& entry) { return entry.first == error; });
    return known != kTexts.end() ? std::string(known->second) : std::strerror(error);
}

int ReportWriteError() {
    Say("Fehler beim Schreiben der Ausgabe: " + ErrorText(errno));
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

int Fail(const std::string& message) {
    Say(message);
    return kExitBadArguments;
}

// Why a number argument is not taken; out of range is not "not a number".
std::string Refusal(std::string_view name, const char* argument, text::NumberRefusal refusal) {
    if (refusal == text::NumberRefusal::NotANumber) {
        return std::string(name) + " ist keine Zahl: \"" + tools::Printable(argument) + "\"";
    }
    return std::string(name) + " \"" + tools::Printable(argument) +
           "\": " + text::Windows1252ToUtf8(text::RefusalMessage(refusal));
}

// FUNKTION is read as the numbers are ("+1", " 1" and "1,0" are 1), then
// must be one of the polynomials' numbers.
std::optional<wertomat::FunctionKind> ParseFunction(std::string_view text) {
    const std::optional<double> number = text::ParseNumber(text);
    if (!number || *number != std::trunc(*number) || *number < 0 || *number > 2) {
        return std::nullopt;
    }
    const auto kind = static_cast<wertomat::FunctionKind>(*number);
    return wertomat::IsKnownFunction(kind) ? std::optional(kind) : std::nullopt;
}

// A pipe's buffer holds 64 KiB; a larger one lets a big table through with far
// fewer switches between writer and reader. Where that fails, nothing changes.
void WidenOutputPipe() {
#if defined(F_SETPIPE_SZ)
    constexpr int kPipeBytes = 1 << 20;
    static_cast<void>(fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kPipeBytes));
#endif
}

// The user's convention: on Windows the Region settings' decimal symbol and
// list separator; elsewhere LC_NUMERIC's decimal mark, with ';' between the
// fields beside a decimal comma (as German spreadsheets read CSV) and ','
// beside a point. The program itself goes on in the "C" locale.
tools::CsvConvention UserCsvConvention() {
#if defined(_WIN32)
    const framework::win32::NumberConvention user = framework::win32::UserNumberConvention();
    return {user.decimalMark, user.listSeparator};
#else
    const char* chosen = std::setlocale(LC_NUMERIC, "");
    const bool comma = chosen != nullptr && std::localeconv()->decimal_point[0] == ',';
    std::setlocale(LC_NUMERIC, "C");
    return comma ? tools::CsvConvention{',', ';'} : tools::CsvConvention{'.', ','};
#endif
}

int PrintText(std::string_view windows1252Text) {
    std::string text = text::Windows1252ToUtf8(windows1252Text);
#if defined(_WIN32)
    if (_isatty(_fileno(stdout)) == 0) {
        // Line ends as everywhere on this platform: standard output is binary.
        for (std::size_t at = text.find('\n'); at != std::string::npos;
             at = text.find('\n', at + 2)) {
            text.insert(at, 1, '\r');
        }
    }
#endif
    return Write(stdout, text) ? FinishOutput() : ReportWriteError();
}

// Whether the first argument is `option`; if so, it is taken off.
bool TakeOption(std::string_view option, int& argc, char**& argv) {
    if (argc < 2 || std::string_view(argv[1]) != option) {
        return false;
    }
    argv[1] = argv[0];
    ++argv;
    --argc;
    return true;
}

int Run(int argc, char** argv) {
#if defined(LC_MESSAGES)
    // System error texts in the user's language, with its characters: under
    // a UTF-8 locale "Gerät" keeps its umlaut instead of becoming "Ger?t".
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
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
    const bool csv = TakeOption("--csv", argc, argv);
    // "--" ends the options: what follows is taken as numbers, "-1" too.
    TakeOption("--", argc, argv);
    if (argc < 4 || argc > 5) {
        return Fail(
            "drei oder vier Argumente erwartet: [--csv] XA XSW XE [FUNKTION] (siehe --help)");
    }

    constexpr std::string_view kNames[] = {"XA", "XSW", "XE"};
    double values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::variant<double, text::NumberRefusal> reading = text::ReadNumber(argv[i + 1]);
        if (const auto* refusal = std::get_if<text::NumberRefusal>(&reading)) {
            return Fail(Refusal(kNames[i], argv[i + 1], *refusal));
        }
        values[i] = *std::get_if<double>(&reading);
    }
    wertomat::FunctionKind kind = 0;
    if (argc == 5) {
        const std::optional<wertomat::FunctionKind> parsed = ParseFunction(argv[4]);
        if (!parsed) {
            return Fail("FUNKTION muss 0, 1 oder 2 sein, nicht \"" + tools::Printable(argv[4]) +
                        "\"");
        }
        kind = *parsed;
    }

    WidenOutputPipe();
    errno = 0;
    tools::CsvRows csvRows(csv ? UserCsvConvention() : tools::CsvConvention{'.', ','});
    const wertomat::StreamOutcome outcome = wertomat::StreamTabulation(
        {values[0], values[1], values[2], kind}, [&](std::string_view chunk) {
            return WriteAll(stdout, csv ? csvRows.Take(chunk) : chunk);
        });
    switch (outcome.result) {
        case wertomat::StreamResult::Refused:
            Say(text::Windows1252ToUtf8(messages::ForRefusal(outcome.refusal)));
            return kExitRefused;
        case wertomat::StreamResult::WriteFailed:
            return ReportWriteError();
        case wertomat::StreamResult::Written:
            break;
    }
    return FinishOutput();
}

}  // namespace

#if defined(_WIN32)
// The command line as typed, in UTF-16: through the ANSI code page its
// best-fit mapping would turn "\u221E" into 8 and a full-width 1 into 1.
int wmain(int argc, wchar_t** wideArguments) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wideArguments[i])));
    }
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return Run(argc, pointers.data());
}
#else
int main(int argc, char** argv) {
    return Run(argc, argv);
}
#endif
