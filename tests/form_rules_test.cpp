// The toolkit-neutral rules the front ends draw by: the label's word wrap and
// the scale at which the window fits the screen.
#include <gtest/gtest.h>

#include <string>

#include "board.h"
#include "device_grid.h"
#include "form.h"
#include "word_wrap.h"

namespace tarpo::form {
namespace {

// The form places one cell per square of the board.
static_assert(kBoardSide == tarpo::kSide);

struct WrapCase {
    const char* holds;
    const char16_t* text;
    int boxWidth;       // in characters: every character is one unit wide here
    const char* lines;  // joined by '|'
};

TEST(LabelWordWrap, LinesTakeTheWordsThatFit) {
    const WrapCase cases[] = {
        {"as many words as fit", u"aa bb cc", 5, "aa bb|cc"},
        {"a line exactly as wide as the box", u"aa bb", 5, "aa bb"},
        {"blanks where a line breaks are dropped", u"aa   bb", 4, "aa|bb"},
        {"a run of blanks inside a line stays", u"aa   bb", 7, "aa   bb"},
        {"a break inside a run of blanks after two words", u"ab  cd    ef", 7, "ab  cd|ef"},
        {"a word wider than the box has a line of its own", u"aaaaaa bb c", 4, "aaaaaa|bb c"},
    };
    for (const WrapCase& c : cases) {
        std::string joined;
        const auto width = [](std::u16string_view run) { return static_cast<int>(run.size()); };
        for (const std::u16string_view line : WrapAtBlanks(c.text, c.boxWidth, width))
            joined += (joined.empty() ? "" : "|") + std::string(line.begin(), line.end());
        EXPECT_EQ(joined, c.lines) << c.holds;
    }
}

struct FitCase {
    const char* holds;
    double ratio;
    double largestFitting;
    double scale;
};

TEST(FittingScale, LargestQuarterStepAtWhichTheWindowFits) {
    const FitCase cases[] = {
        {"fits at the display's own scale", 2, 2, 2},
        {"a scale below 1 is kept", 0.75, 0.5, 0.75},
        {"the largest quarter step that fits", 2, 1.6, 1.5},
        {"from between two steps, the step below", 1.6, 1.55, 1.5},
        {"from a step, the step below it", 1.5, 1.4, 1.25},
        {"never below 1", 3, 0.5, 1},
    };
    for (const FitCase& c : cases) {
        const auto fits = [&c](double scale) { return scale <= c.largestFitting; };
        EXPECT_EQ(FittingScale(c.ratio, fits), c.scale) << c.holds;
    }
}

}  // namespace
}  // namespace tarpo::form
