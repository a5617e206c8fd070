// What assistive technology says about the window: the names of the board's
// cells, of the picture-set list and of the preview. Every front end exposes
// these texts, and none writes its own.
#pragma once

namespace tarpo::form {

// A cell's name gives its place, then what it shows. "{row}" and "{column}"
// count from 1, top to bottom and left to right. "{what}" is one of the three
// texts below, where "{tile}" is the tile's number.
inline constexpr char16_t kCellNameTemplate[] = u"Ряд {row}, столбец {column}: {what}";
inline constexpr char16_t kCellShowsTile[] = u"фишка {tile}";
inline constexpr char16_t kCellShowsNothing[] = u"пусто";
// The piece that completes the finished picture, in the last cell.
inline constexpr char16_t kCellShowsLastPiece[] = u"последний кусок картинки";

// The name of the action that clicks a cell, on platforms that name actions.
inline constexpr char16_t kCellPressAction[] = u"Нажать";

// The name of the list of picture sets. The preview is named by its set.
inline constexpr char16_t kPictureSetListName[] = u"Картинка";
// The board, where it is one element of its own (the page's grid).
inline constexpr char16_t kBoardName[] = u"Поле";

// The announcement of a solved board is kSolvedAnnouncement in form.h.

}  // namespace tarpo::form
