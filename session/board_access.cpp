#include "board_access.h"

#include <array>

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

}  // namespace

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

// A slide moves the clicked cell's picture into one neighbour; a completion
// step or a click that slides nothing leaves the clicked cell as it was.
int ClickAndFollow(Session& session, int cell) {
    if (!IsCellIndex(cell)) return cell;
    const CellLook before = session.Cell(cell);
    session.Click(cell);
    if (!before.picture || session.Cell(cell).picture == before.picture) return cell;
    constexpr std::array<FocusMove, 4> kNeighbours = {FocusMove::Up, FocusMove::Down,
                                                      FocusMove::Left, FocusMove::Right};
    for (const FocusMove move : kNeighbours) {
        const int next = MoveFocus(cell, move);
        if (next != cell && session.Cell(next).picture == before.picture) return next;
    }
    return cell;
}

int ShownTile(const CellLook& look) {
    if (!look.picture) return kShowsNothing;
    return look.picture->piece == kCompletionPiece ? kShowsLastPiece : look.picture->piece + 1;
}

std::u16string CellName(int cell, const CellLook& look) {
    const int tile = ShownTile(look);
    std::u16string what = tile == kShowsNothing ? std::u16string(form::kCellShowsNothing)
                          : tile == kShowsLastPiece
                              ? std::u16string(form::kCellShowsLastPiece)
                              : Fill(form::kCellShowsTile, u"tile", Number(tile));
    std::u16string name = Fill(form::kCellNameTemplate, u"row", Number(cell / kSide + 1));
    name = Fill(std::move(name), u"column", Number(cell % kSide + 1));
    return Fill(std::move(name), u"what", what);
}

std::u16string PreviewName(std::optional<int> set) {
    if (!set || *set < 0 || *set >= kSetCount) return {};
    return form::kPictureSets[static_cast<std::size_t>(*set)].name;
}

}  // namespace tarpo
