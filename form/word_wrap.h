// The label's word wrap, for a front end that draws the caption itself. A
// line takes as many words as fit in the box, and always at least one. Blanks
// where a line breaks are dropped; a run of blanks inside a line stays.
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

namespace tarpo::form {

// Returns the lines of `text` in a box `boxWidth` wide, as views into `text`.
// `width(run)` gives the width of a run of the text in the label's font.
template <typename Width>
std::vector<std::u16string_view> WrapAtBlanks(std::u16string_view text, int boxWidth, Width width) {
    constexpr char16_t kBlank = u' ';
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        // The line ends after the last word that fits.
        std::size_t end = start;
        while (end < text.size()) {
            const std::size_t word = text.find_first_not_of(kBlank, end);
            const std::size_t next = word == std::u16string_view::npos
                                         ? text.size()
                                         : std::min(text.find(kBlank, word), text.size());
            if (end > start && width(text.substr(start, next - start)) > boxWidth) break;
            end = next;
        }
        lines.push_back(text.substr(start, end - start));
        start = std::min(text.find_first_not_of(kBlank, end), text.size());
    }
    return lines;
}

}  // namespace tarpo::form
