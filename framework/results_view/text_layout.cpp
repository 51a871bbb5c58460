#include "framework/results_view/text_layout.h"

#include <algorithm>
#include <cstring>

#include "parallel/in_two_threads.h"

namespace framework {

void TextLayout::SetText(std::string_view text) {
    text_ = text;
    Lay();
}

void TextLayout::SetMetrics(const Advances& advances, int tabStop) {
    advances_ = advances;
    tabStop_ = std::max(1, tabStop);
    Lay();
}

// Where lines start and how wide the widest is. A large text is indexed in
// two halves at once, split at a line start.
void TextLayout::Lay() {
    returnsBefore_.clear();
    const char* const bytes = text_.data();
    const std::size_t size = std::min<std::size_t>(text_.size(), UINT32_MAX);
    constexpr std::size_t kWorthASecondThread = 1 << 20;
    const char* middle =
        size >= kWorthASecondThread
            ? static_cast<const char*>(std::memchr(bytes + size / 2, '\n', size - size / 2))
            : nullptr;
    if (middle == nullptr) {
        lineStarts_.assign(1, 0);
        widest_ = IndexRange(0, size, lineStarts_);
        return;
    }
    const auto split = static_cast<std::size_t>(middle - bytes) + 1;
    std::vector<std::uint32_t> secondStarts;
    int firstWidest = 0;
    int secondWidest = 0;
    lineStarts_.assign(1, 0);
    parallel::InTwoThreads([&] { firstWidest = IndexRange(0, split, lineStarts_); },
                           [&] { secondWidest = IndexRange(split, size, secondStarts); });
    // The first half ends with a line feed: its last entry is `split` already.
    lineStarts_.insert(lineStarts_.end(), secondStarts.begin(), secondStarts.end());
    widest_ = std::max(firstWidest, secondWidest);
}

// Indexes the lines of [begin, end), which starts a line: appends the start
// of every line after the first to `starts`, returns the widest line's width.
// One tight pass: control characters have no width, so only the line feed
// and the tab need more than a table look-up.
int TextLayout::IndexRange(std::size_t begin, std::size_t end,
                           std::vector<std::uint32_t>& starts) const {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(text_.data());
    starts.reserve(starts.size() + (end - begin) / 16);
    int widest = 0;
    int x = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const unsigned char byte = bytes[i];
        if (byte >= 0x20) {
            x += advances_[byte];
        } else if (byte == '\n') {
            widest = std::max(widest, x);
            x = 0;
            starts.push_back(static_cast<std::uint32_t>(i + 1));
        } else if (byte == '\t') {
            x += TabAdvance(x);
        }
    }
    return std::max(widest, x);
}

std::size_t TextLayout::LineEnd(std::size_t line) const {
    if (line + 1 >= lineStarts_.size()) {
        return text_.size();
    }
    std::size_t end = lineStarts_[line + 1] - 1;  // the line feed
    if (end > lineStarts_[line] && text_[end - 1] == '\r') {
        --end;
    }
    return end;
}

std::size_t TextLayout::NextLineStart(std::size_t line) const {
    return line + 1 < lineStarts_.size() ? lineStarts_[line + 1] : text_.size();
}

std::size_t TextLayout::LineOf(std::size_t offset) const {
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return static_cast<std::size_t>(after - lineStarts_.begin()) - 1;
}

// A tab that would leave less than a space between two columns goes on to
// the next stop, so that the columns never touch.
int TextLayout::TabAdvance(int x) const {
    const int advance = tabStop_ - x % tabStop_;
    return advance < advances_[' '] ? advance + tabStop_ : advance;
}

int TextLayout::Advance(unsigned char byte, int x) const {
    if (byte == '\t') {
        return TabAdvance(x);
    }
    return byte < 0x20 ? 0 : advances_[byte];
}

void TextLayout::LineAdvances(std::size_t line, std::vector<int>& advances) const {
    const std::size_t begin = LineStart(line);
    advances.resize(LineEnd(line) - begin);
    int x = 0;
    for (std::size_t i = 0; i < advances.size(); ++i) {
        advances[i] = Advance(static_cast<unsigned char>(text_[begin + i]), x);
        x += advances[i];
    }
}

int TextLayout::XOf(std::size_t line, std::size_t offset) const {
    int x = 0;
    for (std::size_t i = lineStarts_[line]; i < offset; ++i) {
        x += Advance(static_cast<unsigned char>(text_[i]), x);
    }
    return x;
}

std::size_t TextLayout::OffsetAtX(std::size_t line, int x) const {
    int left = 0;
    const std::size_t end = LineEnd(line);
    for (std::size_t i = lineStarts_[line]; i < end; ++i) {
        const int advance = Advance(static_cast<unsigned char>(text_[i]), left);
        if (x < left + advance / 2) {
            return i;
        }
        left += advance;
    }
    return end;
}

std::size_t TextLayout::StepBack(std::size_t offset) const {
    const std::size_t line = LineOf(offset);
    if (offset > lineStarts_[line]) {
        return offset - 1;
    }
    return line > 0 ? LineEnd(line - 1) : offset;
}

std::size_t TextLayout::StepForward(std::size_t offset) const {
    const std::size_t line = LineOf(offset);
    if (offset < LineEnd(line)) {
        return offset + 1;
    }
    return line + 1 < lineStarts_.size() ? lineStarts_[line + 1] : offset;
}

const std::vector<std::uint32_t>& TextLayout::ReturnsBefore() const {
    if (returnsBefore_.empty()) {
        returnsBefore_.reserve(lineStarts_.size());
        std::uint32_t returns = 0;
        for (std::size_t line = 0; line < lineStarts_.size(); ++line) {
            returnsBefore_.push_back(returns);
            returns += static_cast<std::uint32_t>(NextLineStart(line) - LineEnd(line) == 2);
        }
    }
    return returnsBefore_;
}

std::size_t TextLayout::CharacterCount() const {
    return CharacterAt(text_.size());
}

std::size_t TextLayout::CharacterAt(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    const std::size_t line = LineOf(offset);
    return std::min(offset, LineEnd(line)) - ReturnsBefore()[line];
}

std::size_t TextLayout::OffsetOfCharacter(std::size_t character) const {
    const std::vector<std::uint32_t>& returns = ReturnsBefore();
    // The last line whose first character is not after `character`: a
    // binary search over [low, high).
    std::size_t low = 0;
    std::size_t high = lineStarts_.size();
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        (lineStarts_[middle] - returns[middle] <= character ? low : high) = middle;
    }
    const std::size_t line = low;
    return std::min(character + returns[line], NextLineStart(line));
}

std::string TextLayout::CharacterText(std::size_t first, std::size_t last) const {
    const std::size_t begin = OffsetOfCharacter(first);
    const std::size_t end = std::max(begin, OffsetOfCharacter(last));
    std::string text;
    text.reserve(end - begin);
    for (std::size_t offset = begin; offset < end; ++offset) {
        const bool breakReturn =
            text_[offset] == '\r' && offset + 1 < text_.size() && text_[offset + 1] == '\n';
        if (!breakReturn) {
            text.push_back(text_[offset]);
        }
    }
    return text;
}

}  // namespace framework
