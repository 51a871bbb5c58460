// Words as the keyboard moves by them and screen readers read them: what
// lies between blanks and line breaks, in every locale. Line breaks count as
// blanks, so a move by words crosses them and the padding that follows, and
// every stop is the start of a word (or an end of the text). One rule for
// the input fields (UTF-16) and the results (Windows-1252 bytes).
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

namespace text {

template <typename Char>
constexpr bool IsWordCharacter(Char character) {
    return character != Char(' ') && character != Char('\t') && character != Char('\r') &&
           character != Char('\n');
}

// Where a move to the next word stops: the start of the next word, or the
// end of `text` when no word follows.
template <typename Char>
constexpr std::size_t NextWordStart(std::basic_string_view<Char> text, std::size_t offset) {
    offset = std::min(offset, text.size());
    while (offset < text.size() && IsWordCharacter(text[offset])) {
        ++offset;
    }
    while (offset < text.size() && !IsWordCharacter(text[offset])) {
        ++offset;
    }
    return offset;
}

// Where a move to the previous word stops: the start of the word before
// `offset`, or 0 when none is before it.
template <typename Char>
constexpr std::size_t PreviousWordStart(std::basic_string_view<Char> text, std::size_t offset) {
    offset = std::min(offset, text.size());
    while (offset > 0 && !IsWordCharacter(text[offset - 1])) {
        --offset;
    }
    while (offset > 0 && IsWordCharacter(text[offset - 1])) {
        --offset;
    }
    return offset;
}

// The word a screen reader reads at `offset`, [begin, end): from one stop of
// the word moves to the next, so a word carries the blanks and line breaks
// after it, and blanks before the first word are a unit of their own. At
// the end of the text, the last word. Empty only for an empty text.
template <typename Char>
constexpr std::pair<std::size_t, std::size_t> WordAround(std::basic_string_view<Char> text,
                                                         std::size_t offset) {
    if (text.empty()) {
        return {0, 0};
    }
    const std::size_t at = std::min(offset, text.size() - 1);
    const std::size_t begin = PreviousWordStart(text, at + 1);
    return {begin, NextWordStart(text, begin)};
}

}  // namespace text
