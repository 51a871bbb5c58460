// The companion's table as CSV, converted as the chunks of the table come.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// How the CSV writes numbers and separates fields.
struct CsvConvention {
    char decimalMark;
    char separator;
};

// Each field without its padding, its decimal points written as the
// convention's mark, the fields of a line between separators, CR LF after
// each line. A chunk may end anywhere: the rest of a line waits for the next.
class CsvRows {
public:
    explicit CsvRows(CsvConvention convention) : convention_(convention) {}

    // The CSV of the lines this chunk completes; valid until the next call.
    std::string_view Take(std::string_view chunk);

private:
    CsvConvention convention_;
    std::string pending_;
    std::string output_;
};

}  // namespace tools
