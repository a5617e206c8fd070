// One game session, the middle between the board logic and a front end: the
// start-up, the new game with the chosen picture set, the picture stores as
// (set, piece) indices, what each cell and the preview show, and the board's
// keyboard focus. A front end creates its controls, then the session,
// implements SessionView to draw what it is told and forwards the player's
// input; it never calls the board logic itself.
#pragma once

#include <array>
#include <cstdint>
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

// What the session has a screen reader say.
enum class Announcement { Solved };

// A new game: the picture set whose pieces become the tiles, and the start
// layout dealt.
struct Deal {
    int set;
    int layout;

    bool operator==(const Deal&) const = default;
};

// A game as it stands, enough to go on from it: the board, whether the
// picture has been completed, the set the tiles show (none before the first
// game) and the cell that has the board's keyboard focus. What the cells and
// the preview show follows from it.
struct Position {
    Board board;
    bool completed = false;
    std::optional<int> tileSet;
    int focus = 0;

    bool operator==(const Position&) const = default;
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
    // Something for a screen reader to say (its text: AnnouncementText).
    virtual void Announce(Announcement what) = 0;
};

// A key pressed on the board, as every platform has it.
enum class Key { Up, Down, Left, Right, Home, End, Enter, Space };

struct KeyPress {
    Key key;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool repeat = false;  // held down, repeating
};

class Session {
  public:
    // Start-up: the board in its home arrangement, and its look drawn through
    // `view`: every cell framed and empty, no preview. The cells stay blank
    // until the first new game. `view` must outlive the session; `seed`
    // seeds the pick of every deal's layout.
    explicit Session(SessionView& view, std::uint32_t seed = LayoutPicker::FreshSeed());
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The new-game button, with the picture set chosen at this moment
    // (0..kSetCount - 1): its pieces become the tiles, then a start layout
    // is picked and dealt. Returns the deal; nothing for a set that does
    // not exist, which deals nothing.
    std::optional<Deal> NewGame(int set);
    // A new game of a known deal.
    void NewGame(const Deal& deal);
    // A click on cell `cell` (0..15); returns what it did.
    Move Click(int cell);

    // The game as it stands, and the game taken back to a position it had:
    // drawn as a new game is, and nothing announced. A position that play
    // cannot have reached changes nothing and gives false.
    Position position() const;
    bool Restore(const Position& position);

    // Keyboard play on the board (board_access.cpp): the cell that has the
    // board's focus; a key pressed on cell `cell`, which gives whether the
    // key is the board's; and the press of cell `cell` (Enter, Space or a
    // screen reader's press action), which clicks it and takes the focus to
    // where its tile slid.
    int focus() const { return focus_; }
    bool Press(int cell, const KeyPress& key);
    // Whether Press takes `key`, whatever the game: arrows alone or with
    // Shift, Home and End alone or with Ctrl, Enter and Space alone.
    static bool IsBoardKey(const KeyPress& key);
    Move Activate(int cell);

    const CellLook& Cell(int cell) const { return cells_[static_cast<std::size_t>(cell)]; }
    std::optional<int> Preview() const { return preview_; }

  private:
    CellLook LookOf(int cell) const;
    void ShowTileSet(std::optional<int> set);
    // Draws every cell whose look differs from what it shows.
    void DrawChangedCells();

    SessionView& view_;
    LayoutPicker picker_;
    Puzzle puzzle_;
    std::optional<int> tileSet_;  // the set whose pieces the tiles show; none before a game
    std::optional<int> preview_;
    std::array<CellLook, kCellCount> cells_{};
    int focus_ = 0;
};

}  // namespace tarpo
