// What assistive technology says about the window: the names of the board's
// cells, of the picture-set list and of the preview, and the announcement of
// a solved board. Every front end exposes these texts; none writes its own.
#pragma once

namespace tarpo::form {

// A cell's name: its place, then what it shows. "{row}" and "{column}" count
// from 1, top to bottom and left to right; "{what}" is one of the three below,
// where "{tile}" is the tile's number.
inline constexpr char16_t kCellNameTemplate[] = u"Ряд {row}, столбец {column}: {what}";
inline constexpr char16_t kCellShowsTile[] = u"фишка {tile}";
inline constexpr char16_t kCellShowsNothing[] = u"пусто";
// The piece that completes the finished picture, in the last cell.
inline constexpr char16_t kCellShowsLastPiece[] = u"последний кусок картинки";

// The list of picture sets. The preview is named by the set it shows.
inline constexpr char16_t kPictureSetListName[] = u"Картинка";

// The win, said wherever the focus is, is kSolvedAnnouncement in form.h.

}  // namespace tarpo::form
