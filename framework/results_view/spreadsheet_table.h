// The cells a selection covers in tab-separated lines, as an HTML table that
// spreadsheets take as numbers whatever their locale: what the results view
// offers on the clipboard beside its text. Toolkit-free; docs/spreadsheets.md
// says which program reads which attribute.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace framework {

class SpreadsheetTable {
public:
    // Nullopt when the selection [first, last) of `text` (Windows-1252 bytes,
    // lines ending in CR LF or LF, fields separated by tabs) covers fewer
    // than two cells: a selection inside one number stays text. A cell is
    // covered when the selection takes any of its bytes, padding included,
    // and holds what the selection takes of it, as the text does.
    // Number cells are shown with `decimalMark`, the user's.
    static std::optional<SpreadsheetTable> Of(std::string_view text, std::size_t first,
                                              std::size_t last, char decimalMark);
    // Whether Of() gives a table, found without reading the whole selection:
    // what a copy asks before it offers the flavour.
    static bool Covers(std::string_view text, std::size_t first, std::size_t last);

    // The document's length in bytes (UTF-8), and where the table itself
    // starts and ends in it (the fragment of the Windows "HTML Format").
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
    SpreadsheetTable(std::string_view text, std::size_t first, std::size_t last, char decimalMark)
        : text_(text), first_(first), last_(last), decimalMark_(decimalMark) {}

    std::string_view text_;
    std::size_t first_;
    std::size_t last_;
    char decimalMark_;
    std::size_t firstColumn_ = 0;  // the leftmost covered column
    unsigned decimalCounts_ = 0;   // bit n: some number has n decimals
    std::size_t length_ = 0;
    std::size_t fragmentStart_ = 0;
    std::size_t fragmentEnd_ = 0;
};

}  // namespace framework
