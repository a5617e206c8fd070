#include "session.h"

#include <utility>

namespace tarpo {

Session::Session(SessionView& view, LayoutDraw drawLayout)
    : view_(view), puzzle_(*this, std::move(drawLayout)) {
    // Every set's pieces are in their slots from the start, except the first
    // set's completion piece, which the start-up join adds.
    for (Int16 s = 0; s < kSetCount; ++s) {
        for (Int16 p = 0; p < form::kPieceCount; ++p) {
            if (s == 0 && p == kCompletionPiece) continue;
            sets_[static_cast<std::size_t>(s)][static_cast<std::size_t>(p)] = Piece{s, p};
        }
    }
}

void Session::Initialize() {
    for (const form::PictureSet& set : form::kPictureSets) view_.AddListEntry(set.name);
    view_.SelectListEntry(0);
}

void Session::Load() {
    view_.SetTitle(form::kTitle);
    view_.SetButtonCaption(form::kCommand1Caption);
    sets_[0][kCompletionPiece] = Piece{0, kCompletionPiece};
    puzzle_.Reset();
}

void Session::NewGame() {
    LoadChosenSet();
    puzzle_.Deal();
}

void Session::Click(Int16 cell) {
    if (!IsCellIndex(cell)) return;
    puzzle_.Click(cell);
}

// Every selected entry is looked at, in order; the list allows only one.
// Nothing selected: the store and the preview keep what they hold.
void Session::LoadChosenSet() {
    const int last = view_.ListEntryCount() - 1;
    for (int i = 0; i <= last; ++i) {
        if (i >= kSetCount || !view_.IsListEntrySelected(i)) continue;
        tiles_ = sets_[static_cast<std::size_t>(i)];
        const std::optional<Int16> preview =
            form::kPictureSets[static_cast<std::size_t>(i)].hasPreview
                ? std::optional<Int16>(static_cast<Int16>(i))
                : std::nullopt;
        if (preview != preview_) {
            preview_ = preview;
            view_.DrawPreview(preview_);
        }
    }
}

void Session::Show(Int16 cell, CellLook look) {
    CellLook& shown = cells_[static_cast<std::size_t>(cell)];
    if (shown == look) return;
    shown = look;
    view_.DrawCell(cell, shown);
}

void Session::ShowTile(Int16 cell, Int16 tile) {
    Show(cell, {tiles_[static_cast<std::size_t>(tile - 1)], Cell(cell).framed});
}

void Session::ShowCompletionPiece() {
    Show(kEmptyHomeCell, {tiles_[kCompletionPiece], Cell(kEmptyHomeCell).framed});
}

void Session::ClearCell(Int16 cell) { Show(cell, {std::nullopt, Cell(cell).framed}); }

void Session::SetFrame(Int16 cell, bool on) { Show(cell, {Cell(cell).picture, on}); }

}  // namespace tarpo
