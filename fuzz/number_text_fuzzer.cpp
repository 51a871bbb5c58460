// Any text: the reader must not crash, and whatever it accepts must be a
// finite double whose written form reads back to the same value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "text/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = text::ParseNumber(text);
    if (!value) {
        return 0;
    }
    if (!std::isfinite(*value)) {
        std::abort();
    }
    const std::optional<double> again = text::ParseNumber(text::FormatNumber(*value));
    if (!again || *again != *value || std::signbit(*again) != std::signbit(*value)) {
        std::abort();
    }
    return 0;
}
