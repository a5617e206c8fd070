// Prints, for each start layout, the cells to click that bring it home, as
// JSON: the end-to-end tests play these clicks on the real window, so they
// need no solver of their own.
#include <cstdio>
#include <string>

#include "solver.h"
#include "start_layouts.h"

int main() {
    std::string out = "[";
    for (int n = 0; n < tarpo::kLayoutCount; ++n) {
        tarpo::Board board;
        for (int i = 0; i < tarpo::kDealtCells; ++i)
            board.Set(tarpo::RowOf(i), tarpo::ColOf(i), tarpo::LayoutTile(n, i));
        board.Set(tarpo::RowOf(tarpo::kEmptyHomeCell), tarpo::ColOf(tarpo::kEmptyHomeCell),
                  tarpo::kEmpty);
        const auto clicks = tarpo::testing::SolveByClicks(board);
        if (!clicks) {
            std::fprintf(stderr, "solutions_json: no solution for layout %d\n", n);
            return 1;
        }
        out += n == 0 ? "\n  [" : ",\n  [";
        for (std::size_t k = 0; k < clicks->size(); ++k)
            out += (k == 0 ? "" : ", ") + std::to_string((*clicks)[k]);
        out += "]";
    }
    out += "\n]\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}
