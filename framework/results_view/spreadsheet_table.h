// The cells a selection covers in tab-separated lines, as a document that
// spreadsheets take as numbers whatever their locale: what the results view
// offers on the clipboard beside its text. Toolkit-free; docs/spreadsheets.md
// says which program reads which format and attribute.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace framework {

enum class SpreadsheetFormat {
    Html,      // an HTML table: LibreOffice Calc, Excel, and most others
    Gnumeric,  // Gnumeric's own clipboard document, "application/x-gnumeric"
};

class SpreadsheetTable {
public:
    // More lines than this are offered without the HTML table: LibreOffice
    // takes over 5 GB to read a million rows of it, and a few hundred MB to
    // read the same as text.
    static constexpr std::size_t kMostHtmlLines = 65536;

    // Nullopt when the selection [first, last) of `text` (Windows-1252 bytes,
    // lines ending in CR LF or LF, fields separated by tabs) covers fewer
    // than two cells: a selection inside one number stays text. A cell is
    // covered when the selection takes any of its bytes, padding included,
    // and holds what the selection takes of it, as the text does.
    // Numbers in the HTML are shown with `decimalMark`, the user's; Gnumeric
    // shows them in its own locale.
    static std::optional<SpreadsheetTable> Of(std::string_view text, std::size_t first,
                                              std::size_t last, SpreadsheetFormat format,
                                              char decimalMark);
    // Whether Of() gives a table of `format`, found without reading the whole
    // selection: what a copy asks before it offers the flavour.
    static bool Covers(std::string_view text, std::size_t first, std::size_t last,
                       SpreadsheetFormat format);

    // The document's length in bytes (UTF-8), and where the table itself
    // starts and ends in an HTML document (the fragment of the Windows
    // "HTML Format").
    std::size_t Length() const { return length_; }
    std::size_t FragmentStart() const { return fragmentStart_; }
    std::size_t FragmentEnd() const { return fragmentEnd_; }

    // Writes exactly Length() bytes, so that a caller can write straight into
    // the memory it hands the platform: a whole table is over 100 MB.
    void WriteTo(char* out) const;

    // The Windows "HTML Format" header that goes before the document, its
    // offsets counted from the header's start.
    std::string ClipboardHeader() const;

private:
    struct Layout {
        std::size_t rows = 0;
        std::size_t firstColumn = 0;    // the leftmost covered column
        std::size_t lastColumn = 0;     // the rightmost
        unsigned decimalCounts = 0;     // bit n: some number has n decimals (16: more)
        std::size_t firstDecimals = 0;  // of the first number: most have as many
    };

    SpreadsheetTable(std::string_view text, std::size_t first, std::size_t last,
                     SpreadsheetFormat format, char decimalMark)
        : text_(text), first_(first), last_(last), format_(format), decimalMark_(decimalMark) {}
    static std::size_t Survey(std::string_view text, std::size_t first, std::size_t last,
                              std::size_t enoughCells, Layout& layout);
    template <typename Sink>
    void Emit(Sink& sink) const;
    template <typename Sink>
    void EmitHtml(Sink& sink) const;
    template <typename Sink>
    void EmitGnumeric(Sink& sink) const;

    std::string_view text_;
    std::size_t first_;
    std::size_t last_;
    SpreadsheetFormat format_;
    char decimalMark_;
    Layout layout_;
    std::size_t length_ = 0;
    std::size_t fragmentStart_ = 0;
    std::size_t fragmentEnd_ = 0;
};

}  // namespace framework
