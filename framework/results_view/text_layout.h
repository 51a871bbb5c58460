// A read-only text of Windows-1252 bytes in lines, laid out with a fixed
// advance per byte (no kerning) and tab stops: where lines start and end,
// where a byte is drawn and which byte is nearest a point. The results views
// of both platforms draw from it. Lines end with a line feed; a carriage
// return before it belongs to the break. A tab advances to the next stop
// that leaves at least a space's width.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace framework {

class TextLayout {
public:
    using Advances = std::array<int, 256>;  // pixels per byte; a tab's entry is not used

    // Both lay the text out anew. The text is kept as a view: its owner keeps
    // the bytes alive and unchanged until the next SetText.
    void SetText(std::string_view text);
    void SetMetrics(const Advances& advances, int tabStop);

    std::string_view Text() const { return text_; }
    const Advances& ByteAdvances() const { return advances_; }
    int TabStop() const { return tabStop_; }
    std::size_t LineCount() const { return lineStarts_.size(); }
    std::size_t LineStart(std::size_t line) const { return lineStarts_[line]; }
    // Where the line's text ends, before its break.
    std::size_t LineEnd(std::size_t line) const;
    // Where the next line starts; the text's end for the last line.
    std::size_t NextLineStart(std::size_t line) const;
    std::size_t LineOf(std::size_t offset) const;
    // The widest line, in pixels.
    int Widest() const { return widest_; }

    // The advance of `byte` drawn at `x` pixels into its line.
    int Advance(unsigned char byte, int x) const;
    // The advance of each byte of `line` (before its break), in order, into
    // `advances`: for a platform call that places every character itself.
    void LineAdvances(std::size_t line, std::vector<int>& advances) const;
    // Where `offset` is drawn, in pixels from the start of `line`, its line.
    int XOf(std::size_t line, std::size_t offset) const;
    // The character boundary in `line` nearest to `x` pixels from its start.
    std::size_t OffsetAtX(std::size_t line, int x) const;
    // One character back or on; a line break counts as one.
    std::size_t StepBack(std::size_t offset) const;
    std::size_t StepForward(std::size_t offset) const;

    // The text as a screen reader is given it: every line break one line
    // feed, so that a line, a word or a character never ends in a carriage
    // return. Characters count in that text; the index is built on first use.
    std::size_t CharacterCount() const;
    std::size_t CharacterAt(std::size_t offset) const;  // inside a break: the break
    std::size_t OffsetOfCharacter(std::size_t character) const;
    std::string CharacterText(std::size_t first, std::size_t last) const;

private:
    void Lay();
    int TabAdvance(int x) const;
    int IndexRange(std::size_t begin, std::size_t end, std::vector<std::uint32_t>& starts) const;
    const std::vector<std::uint32_t>& ReturnsBefore() const;

    std::string_view text_;
    // 32 bits suffice: tables stay far below 4 GiB.
    std::vector<std::uint32_t> lineStarts_{0};
    Advances advances_{};
    int tabStop_ = 56;
    int widest_ = 0;
    // Per line, the carriage returns in the breaks before it; empty until asked.
    mutable std::vector<std::uint32_t> returnsBefore_;
};

}  // namespace framework
