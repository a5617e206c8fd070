#include "board_access.h"

#include <utility>

#include "accessible_texts.h"

namespace tarpo {

namespace {

// `text` with every "{key}" replaced by `value`.
std::u16string Fill(std::u16string text, std::u16string_view key, std::u16string_view value) {
    std::u16string placeholder;
    placeholder.reserve(key.size() + 2);
    placeholder.append(1, u'{').append(key).append(1, u'}');
    for (auto at = text.find(placeholder); at != std::u16string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
    return text;
}

std::u16string Number(int n) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
    } while (n > 0);
    return digits;
}

// The keys that move the focus within the board (the grid pattern of
// WAI-ARIA): one cell up, down, left or right; the first or last cell of the
// row (Home, End); the first or last cell of the board (Ctrl+Home, Ctrl+End).
enum class FocusMove { Up, Down, Left, Right, RowStart, RowEnd, BoardStart, BoardEnd };

// The cell that `move` takes the focus to from `cell`. At an edge the focus
// stays: nothing wraps to the other side or to the next row.
int MoveFocus(int cell, FocusMove move) {
    const int row = RowOf(cell);
    const int col = ColOf(cell);
    const int last = kSide - 1;
    switch (move) {
        case FocusMove::Up:
            return row > 0 ? cell - kSide : cell;
        case FocusMove::Down:
            return row < last ? cell + kSide : cell;
        case FocusMove::Left:
            return col > 0 ? cell - 1 : cell;
        case FocusMove::Right:
            return col < last ? cell + 1 : cell;
        case FocusMove::RowStart:
            return IndexOf(row, 0);
        case FocusMove::RowEnd:
            return IndexOf(row, last);
        case FocusMove::BoardStart:
            return 0;
        case FocusMove::BoardEnd:
            return kCellCount - 1;
    }
    return cell;
}

// The focus move of a key: an arrow's step (IsBoardKey sorts out its
// modifiers), Home and End alone to the row's ends, with Ctrl only to the
// board's corners.
std::optional<FocusMove> MoveOf(const KeyPress& press) {
    const bool plain = !press.ctrl && !press.shift && !press.alt;
    const bool ctrlOnly = press.ctrl && !press.shift && !press.alt;
    switch (press.key) {
        case Key::Up:
            return FocusMove::Up;
        case Key::Down:
            return FocusMove::Down;
        case Key::Left:
            return FocusMove::Left;
        case Key::Right:
            return FocusMove::Right;
        case Key::Home:
            if (plain) return FocusMove::RowStart;
            if (ctrlOnly) return FocusMove::BoardStart;
            return std::nullopt;
        case Key::End:
            if (plain) return FocusMove::RowEnd;
            if (ctrlOnly) return FocusMove::BoardEnd;
            return std::nullopt;
        case Key::Enter:
        case Key::Space:
            return std::nullopt;
    }
    return std::nullopt;
}

bool IsArrow(Key key) {
    return key == Key::Up || key == Key::Down || key == Key::Left || key == Key::Right;
}

// The tile that Shift+`arrow` slides: the empty cell's neighbour on the other
// side, which moves the way the arrow points. Nothing at an edge.
std::optional<int> TileToSlide(const Board& board, Key arrow) {
    int empty = 0;
    while (empty < kCellCount - 1 && board.At(empty) != kEmpty) ++empty;
    const FocusMove towards = arrow == Key::Up     ? FocusMove::Down
                              : arrow == Key::Down ? FocusMove::Up
                              : arrow == Key::Left ? FocusMove::Right
                                                   : FocusMove::Left;
    const int tile = MoveFocus(empty, towards);
    return tile != empty ? std::optional<int>(tile) : std::nullopt;
}

}  // namespace

bool Session::IsBoardKey(const KeyPress& press) {
    const bool plain = !press.ctrl && !press.shift && !press.alt;
    if (press.key == Key::Enter || press.key == Key::Space) return plain;
    if (IsArrow(press.key)) return plain || (press.shift && !press.ctrl && !press.alt);
    return MoveOf(press).has_value();
}

bool Session::Press(int cell, const KeyPress& press) {
    if (!IsCellIndex(cell) || !IsBoardKey(press)) return false;
    focus_ = cell;
    if (press.key == Key::Enter || press.key == Key::Space) {
        if (!press.repeat) Activate(cell);
    } else if (IsArrow(press.key) && press.shift) {
        if (const std::optional<int> tile = TileToSlide(puzzle_.board(), press.key)) {
            const Move move = Click(*tile);
            if (move.kind == Move::Kind::Slide) focus_ = move.to;
        }
    } else {
        focus_ = MoveFocus(cell, *MoveOf(press));
    }
    return true;
}

Move Session::Activate(int cell) {
    if (!IsCellIndex(cell)) return {};
    focus_ = cell;
    const Move move = Click(cell);
    if (move.kind == Move::Kind::Slide) focus_ = move.to;
    return move;
}

std::u16string CellName(int cell, const CellLook& look) {
    std::u16string what =
        !look.picture ? std::u16string(form::kCellShowsNothing)
        : look.picture->piece == kCompletionPiece
            ? std::u16string(form::kCellShowsLastPiece)
            : Fill(form::kCellShowsTile, u"tile", Number(look.picture->piece + 1));
    std::u16string name = Fill(form::kCellNameTemplate, u"row", Number(RowOf(cell) + 1));
    name = Fill(std::move(name), u"column", Number(ColOf(cell) + 1));
    return Fill(std::move(name), u"what", what);
}

std::u16string PreviewName(std::optional<int> set) {
    if (!set || *set < 0 || *set >= kSetCount) return {};
    return form::kPictureSets[static_cast<std::size_t>(*set)].name;
}

const char16_t* AnnouncementText(Announcement what) {
    switch (what) {
        case Announcement::Solved:
            return form::kSolvedAnnouncement;
    }
    return u"";
}

}  // namespace tarpo
