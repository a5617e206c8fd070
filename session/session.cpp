#include "session.h"

#include <cassert>
#include <utility>

namespace tarpo {

Session::Session(SessionView& view, LayoutDraw drawLayout)
    : view_(view), puzzle_(std::move(drawLayout)) {
    for (int i = 0; i < kCellCount; ++i) view_.DrawCell(i, cells_[static_cast<std::size_t>(i)]);
    view_.DrawPreview(preview_);
}

void Session::NewGame(int set) {
    assert(set >= 0 && set < kSetCount);
    if (set < 0 || set >= kSetCount) return;

    tileSet_ = set;
    const std::optional<int> preview = form::kPictureSets[static_cast<std::size_t>(set)].hasPreview
                                           ? std::optional<int>(set)
                                           : std::nullopt;
    if (preview != preview_) {
        preview_ = preview;
        view_.DrawPreview(preview_);
    }
    puzzle_.Deal();
    DrawChangedCells();
}

void Session::Click(int cell) {
    if (!IsCellIndex(cell)) return;
    const bool wasSolved = puzzle_.board().IsSolved();
    puzzle_.Click(cell);
    DrawChangedCells();
    if (!wasSolved && puzzle_.board().IsSolved()) view_.Announce(form::kSolvedAnnouncement);
}

// A tile shows its piece of the set last chosen, tile k piece k - 1; the
// empty cell shows the last piece once the picture is completed. Before the
// first game no set is chosen, so every cell is blank.
CellLook Session::LookOf(int cell) const {
    CellLook look{std::nullopt, puzzle_.framed()};
    if (!tileSet_) return look;
    const int tile = puzzle_.board().At(cell);
    if (tile != kEmpty) {
        look.picture = Piece{*tileSet_, tile - 1};
    } else if (cell == kEmptyHomeCell && puzzle_.completed()) {
        look.picture = Piece{*tileSet_, kCompletionPiece};
    }
    return look;
}

void Session::DrawChangedCells() {
    for (int i = 0; i < kCellCount; ++i) {
        CellLook& shown = cells_[static_cast<std::size_t>(i)];
        const CellLook look = LookOf(i);
        if (look == shown) continue;
        shown = look;
        view_.DrawCell(i, shown);
    }
}

}  // namespace tarpo
