// Prints each start layout and the cells to click that bring it home, as
// JSON. The end-to-end tests recognise a deal by its layout and play these
// clicks on the real window, so they need no solver of their own.
#include <cstdio>
#include <string>

#include "solver.h"
#include "start_layouts.h"

int main() {
    std::string layouts = "[";
    std::string solutions = "[";
    for (int n = 0; n < tarpo::kLayoutCount; ++n) {
        tarpo::Board board;
        layouts += n == 0 ? "\n  [" : ",\n  [";
        for (int i = 0; i < tarpo::kDealtCells; ++i) {
            board.Set(tarpo::RowOf(i), tarpo::ColOf(i), tarpo::LayoutTile(n, i));
            layouts += (i == 0 ? "" : ", ") + std::to_string(tarpo::LayoutTile(n, i));
        }
        layouts += "]";
        board.Set(tarpo::RowOf(tarpo::kEmptyHomeCell), tarpo::ColOf(tarpo::kEmptyHomeCell),
                  tarpo::kEmpty);
        const auto clicks = tarpo::testing::SolveByClicks(board);
        if (!clicks) {
            std::fprintf(stderr, "solutions_json: no solution for layout %d\n", n);
            return 1;
        }
        solutions += n == 0 ? "\n  [" : ",\n  [";
        for (std::size_t k = 0; k < clicks->size(); ++k)
            solutions += (k == 0 ? "" : ", ") + std::to_string((*clicks)[k]);
        solutions += "]";
    }
    const std::string out =
        "{\"start_layouts\": " + layouts + "\n],\n\"solutions\": " + solutions + "\n]}\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}
