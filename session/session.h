// One game session, the middle between the board logic and a front end: the
// start-up, the new game with the chosen picture set, the picture stores as
// (set, piece) indices, and what each cell and the preview show. A front end
// creates its controls, then the session, implements SessionView to draw what
// it is told and forwards the player's input; it never calls the board logic
// itself.
#pragma once

#include <array>
#include <optional>

#include "board.h"
#include "form.h"
#include "puzzle.h"

namespace tarpo {

inline constexpr int kSetCount = static_cast<int>(form::kPictureSets.size());
inline constexpr int kCompletionPiece = form::kPieceCount - 1;

// A picture the program carries: piece `piece` (0..15) of picture set `set`.
struct Piece {
    int set;
    int piece;

    bool operator==(const Piece&) const = default;
};

// What a cell holds: a piece, or the empty picture.
using Picture = std::optional<Piece>;

// What one cell of the board shows.
struct CellLook {
    Picture picture;
    bool framed = true;

    bool operator==(const CellLook&) const = default;
};

// What the session needs of a front end: drawing, and telling a screen
// reader what the pictures alone show.
class SessionView {
  public:
    virtual ~SessionView() = default;

    // Every cell once at start-up, then only when what it shows has changed.
    virtual void DrawCell(int cell, const CellLook& look) = 0;
    // The preview picture of set `set`, or nothing: once at start-up, then
    // only on a change.
    virtual void DrawPreview(std::optional<int> set) = 0;
    // `text` (from form.h) for a screen reader to say.
    virtual void Announce(const char16_t* text) = 0;
};

class Session {
  public:
    // Start-up: the board in its home arrangement, and its look drawn through
    // `view`: every cell framed and empty, no preview. The cells stay blank
    // until the first new game. `view` must outlive the session;
    // `drawLayout` picks the layout of each new game.
    explicit Session(SessionView& view, LayoutDraw drawLayout = DrawLayoutFromClock);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The new-game button, with the picture set chosen at this moment
    // (0..kSetCount - 1): its pieces become the tiles, then a start layout
    // is dealt.
    void NewGame(int set);
    // A click on cell `cell` (0..15).
    void Click(int cell);

    const CellLook& Cell(int cell) const { return cells_[static_cast<std::size_t>(cell)]; }
    std::optional<int> Preview() const { return preview_; }
    const Board& board() const { return puzzle_.board(); }
    // For setting up positions that play would take long to reach.
    Board& board() { return puzzle_.board(); }

  private:
    CellLook LookOf(int cell) const;
    // Draws every cell whose look differs from what it shows.
    void DrawChangedCells();

    SessionView& view_;
    Puzzle puzzle_;
    std::optional<int> tileSet_;  // the set whose pieces the tiles show; none before a game
    std::optional<int> preview_;
    std::array<CellLook, kCellCount> cells_{};
};

}  // namespace tarpo
