#include "tools/csv_rows.h"

#include <algorithm>
#include <cstddef>

#include "text/tab_separated.h"

namespace tools {

std::string_view CsvRows::Take(std::string_view chunk) {
    pending_.append(chunk);
    output_.clear();
    const std::size_t complete = pending_.rfind('\n') + 1;  // 0 without a line end
    std::size_t nextColumn = 0;                             // of the line being written
    text::VisitFields(
        pending_, 0, complete,
        [this, &nextColumn](std::size_t column, std::string_view field) {
            // A separator before every field but a line's first, empty ones too.
            output_.append(column - nextColumn + (nextColumn > 0 ? 1 : 0), convention_.separator);
            nextColumn = column + 1;
            field.remove_prefix(std::min(field.find_first_not_of(' '), field.size()));
            const std::size_t at = output_.size();
            output_.append(field);
            if (convention_.decimalMark != '.') {
                std::replace(output_.begin() + static_cast<std::ptrdiff_t>(at), output_.end(), '.',
                             convention_.decimalMark);
            }
            return true;
        },
        [this, &nextColumn] {
            output_.append("\r\n");
            nextColumn = 0;
        });
    pending_.erase(0, complete);
    return output_;
}

}  // namespace tools
