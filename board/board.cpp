#include "board.h"

#include <cassert>

namespace tarpo {

int Board::operator()(int row, int col) const {
    assert(IsOnBoard(row, col));
    return IsOnBoard(row, col) ? cells_[static_cast<std::size_t>(IndexOf(row, col))] : kEmpty;
}

void Board::Set(int row, int col, int value) {
    assert(IsOnBoard(row, col));
    if (IsOnBoard(row, col)) cells_[static_cast<std::size_t>(IndexOf(row, col))] = value;
}

void Board::ResetToHome() {
    for (int i = 0; i < kEmptyHomeCell; ++i) Set(RowOf(i), ColOf(i), i + 1);
    Set(RowOf(kEmptyHomeCell), ColOf(kEmptyHomeCell), kEmpty);
}

bool Board::IsSolved() const {
    for (int i = 0; i < kCellCount; ++i) {
        const int home = i == kEmptyHomeCell ? kEmpty : i + 1;
        if (At(i) != home) return false;
    }
    return true;
}

}  // namespace tarpo
