#include "board.h"

#include <cassert>

namespace tarpo {

Int16 Board::operator()(Int16 row, Int16 col) const {
    assert(IsOnBoard(row, col));
    return IsOnBoard(row, col) ? cells_[static_cast<std::size_t>(IndexOf(row, col))] : kEmpty;
}

void Board::Set(Int16 row, Int16 col, Int16 value) {
    assert(IsOnBoard(row, col));
    if (IsOnBoard(row, col)) cells_[static_cast<std::size_t>(IndexOf(row, col))] = value;
}

void Board::ResetToHome() {
    for (Int16 i = 0; i < kEmptyHomeCell; ++i) {
        Set(RowOf(i), ColOf(i), static_cast<Int16>(i + 1));
    }
    Set(RowOf(kEmptyHomeCell), ColOf(kEmptyHomeCell), kEmpty);
}

bool Board::IsSolved() const {
    for (Int16 i = 0; i < kCellCount; ++i) {
        const Int16 home = i == kEmptyHomeCell ? kEmpty : static_cast<Int16>(i + 1);
        if ((*this)(RowOf(i), ColOf(i)) != home) return false;
    }
    return true;
}

}  // namespace tarpo
