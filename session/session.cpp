#include "session.h"

#include <cassert>

namespace tarpo {

Session::Session(SessionView& view, std::uint32_t seed) : view_(view), picker_(seed) {
    for (int i = 0; i < kCellCount; ++i) view_.DrawCell(i, cells_[static_cast<std::size_t>(i)]);
    view_.DrawPreview(preview_);
}

std::optional<Deal> Session::NewGame(int set) {
    assert(set >= 0 && set < kSetCount);
    if (set < 0 || set >= kSetCount) return std::nullopt;
    const Deal deal{set, picker_.Pick()};
    NewGame(deal);
    return deal;
}

void Session::NewGame(const Deal& deal) {
    assert(deal.set >= 0 && deal.set < kSetCount);
    if (deal.set < 0 || deal.set >= kSetCount) return;

    ShowTileSet(deal.set);
    puzzle_.Deal(deal.layout);
    DrawChangedCells();
}

Move Session::Click(int cell) {
    if (!IsCellIndex(cell)) return {};
    const Move move = puzzle_.Click(cell);
    DrawChangedCells();
    if (move.kind == Move::Kind::Slide && puzzle_.board().IsSolved())
        view_.Announce(Announcement::Solved);
    return move;
}

Position Session::position() const {
    return {puzzle_.board(), puzzle_.completed(), tileSet_, focus_};
}

bool Session::Restore(const Position& position) {
    const std::optional<Puzzle> puzzle = Puzzle::From(position.board, position.completed);
    const bool setKnown =
        !position.tileSet || (*position.tileSet >= 0 && *position.tileSet < kSetCount);
    // Before the first game nothing can move a tile: the board is at home.
    const bool boardFitsSet = position.tileSet || position.board.IsSolved();
    if (!puzzle || !setKnown || !boardFitsSet || !IsCellIndex(position.focus)) return false;

    ShowTileSet(position.tileSet);
    puzzle_ = *puzzle;
    focus_ = position.focus;
    DrawChangedCells();
    return true;
}

// The set's pieces become the tiles; its preview shows, if it has one.
void Session::ShowTileSet(std::optional<int> set) {
    tileSet_ = set;
    const std::optional<int> preview =
        set && form::kPictureSets[static_cast<std::size_t>(*set)].hasPreview ? set : std::nullopt;
    if (preview != preview_) {
        preview_ = preview;
        view_.DrawPreview(preview_);
    }
}

// Every cell is framed until the picture is completed. A tile shows its
// piece of the set last chosen, tile k piece k - 1; the empty cell shows the
// last piece once the picture is completed. Before the first game no set is
// chosen, so every cell is blank.
CellLook Session::LookOf(int cell) const {
    CellLook look{std::nullopt, !puzzle_.completed()};
    if (!tileSet_) return look;
    const int tile = puzzle_.board().At(cell);
    if (tile != kEmpty) {
        look.picture = Piece{*tileSet_, tile - 1};
    } else if (puzzle_.completed()) {
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
