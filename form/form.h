// The main window as one toolkit-neutral description: every caption,
// position, size, colour and font of the form, its message boxes and the
// picture sets. Each front end builds its window from these facts, and the
// tests read them instead of restating them. Positions and sizes are pixels at
// 96 dpi. Strings are UTF-16 so that they serve QString and wchar_t alike.
// What the programs say when they fail is in messages.h.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tarpo::form {

struct Size {
    int width;
    int height;
};

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

struct Rgb {
    int red;
    int green;
    int blue;
};

struct Font {
    const char16_t* family;
    int pixelSize;  // at 96 dpi
    bool bold;
    bool italic;
    int charset;  // the Windows character set the font is asked for
};

// The window.
inline constexpr char16_t kTitle[] = u"zodaziror uvedored";
inline constexpr Size kClientSize{456, 343};  // below the menu bar

// The board is a grid of kBoardSide x kBoardSide cells, numbered row by row.
// Cell i has its origin at (kBoardLeft, kBoardTop) + kCellPitch * (column, row).
inline constexpr int kBoardSide = 4;
inline constexpr int kBoardCells = kBoardSide * kBoardSide;
inline constexpr int kBoardLeft = 8;
inline constexpr int kBoardTop = 8;
inline constexpr int kCellPitch = 80;
inline constexpr int kPieceSide = 80;  // a picture piece, and an unframed cell
inline constexpr int kFrameWidth = 2;  // the sunken frame of a cell
inline constexpr int kFramedCellSide = kPieceSide + 2 * kFrameWidth;
// The keyboard focus ring of a cell: a band of `outer` and, within it, a band
// of `inner`, each `band` form pixels wide (whole device pixels, at least one,
// at any scale), `gap` pixels inside the part of the cell that shows. Black
// and white: wherever a piece is lighter than a relative luminance of 0.1 the
// black band differs from it by at least 3:1, wherever it is darker than 0.3
// the white one does, so on any picture at least one band of the two changes
// by 3:1, and either band alone is larger than a 2-px perimeter of the cell.
struct FocusRing {
    int gap;
    int band;
    Rgb outer;
    Rgb inner;
};
inline constexpr FocusRing kCellFocusRing{1, 3, {0, 0, 0}, {255, 255, 255}};

constexpr Rect CellRect(int cell, bool framed) {
    const int side = framed ? kFramedCellSide : kPieceSide;
    return {kBoardLeft + kCellPitch * (cell % kBoardSide),
            kBoardTop + kCellPitch * (cell / kBoardSide), side, side};
}

// The focus ring's outer edge in a cell's box, from the box's top-left corner:
// inside the frame, and clear of the strip of a framed cell that its right and
// lower neighbours' frames cover (the framed cells overlap by 2 * kFrameWidth).
constexpr Rect FocusRingRect(bool framed) {
    const int start = (framed ? kFrameWidth : 0) + kCellFocusRing.gap;
    const int end = kCellPitch - kCellFocusRing.gap;
    return {start, start, end - start, end - start};
}

// An image box takes the size of its picture, plus the frame on every side
// when framed. Its top-left corner stays put. Without a picture it keeps the
// size it had.
constexpr Size BoxSize(Size picture, bool framed) {
    const int border = framed ? 2 * kFrameWidth : 0;
    return {picture.width + border, picture.height + border};
}

// The framed board, from the first cell's origin to the far corner of the
// last framed cell.
inline constexpr int kBoardSpan = (kBoardSide - 1) * kCellPitch + kFramedCellSide;
inline constexpr Rect kBoardRect{kBoardLeft, kBoardTop, kBoardSpan, kBoardSpan};

// The controls beside the board.
inline constexpr Rect kNewGameButtonRect{344, 8, 105, 41};
inline constexpr char16_t kNewGameCaption[] = u"новая игра";

inline constexpr Rect kPictureSetListRect{344, 56, 105, 56};

inline constexpr Rect kPreviewRect{344, 120, 73, 81};

inline constexpr Rect kMottoRect{352, 208, 89, 33};
inline constexpr char16_t kMottoText[] = u"ТЛК is the       best !";
// "MS Sans Serif" 9.75 pt, bold italic, Cyrillic: 13 px at 96 dpi.
inline constexpr Font kMottoFont{u"MS Sans Serif", 13, true, true, 204};
inline constexpr Rgb kMottoColour{192, 0, 0};

// The button, the list, the menu and the message boxes use the classic dialog
// font, "MS Sans Serif" 8 pt (11 px at 96 dpi). The layout is fixed in pixels,
// so the controls keep this size whatever the desktop's font settings are.
inline constexpr Font kDialogFont{u"MS Sans Serif", 11, false, false, 204};

// The menu, in menu-bar order. "&" marks the mnemonic letter.
inline constexpr char16_t kMenuCaption[] = u"&Меню";  // opens a menu with Exit
inline constexpr char16_t kExitCaption[] = u"E&xit";
inline constexpr char16_t kHelpCaption[] = u"&Heeeelp";  // a command on the bar itself
// This caption starts with a Latin A, so its mnemonic is the Latin Alt+A.
inline constexpr char16_t kAuthorCaption[] = u"&Aвтор !";

// The form is in Russian; these of its texts are in English, and a screen
// reader should read them by English rules.
inline constexpr char16_t kFormLanguage[] = u"ru";
struct TextLanguage {
    const char16_t* text;
    const char16_t* language;
};
inline constexpr std::array<TextLanguage, 3> kOtherLanguages = {{
    {kExitCaption, u"en"},
    {kHelpCaption, u"en"},
    {kMottoText, u"en"},
}};

// The message boxes show an information icon and one OK button. Their lines
// are separated by a lone carriage return. The desktop toolkits caption the
// button themselves; the page draws its own box with kMessageBoxButton.
inline constexpr char16_t kMessageBoxButton[] = u"OK";
inline constexpr char16_t kHelpTitle[] = u"помошчь";
inline constexpr char16_t kHelpText[] =
    u"Данная версия игры представляет  \r"
    u"собой обычные пятнашки. \r"
    u"И если вы не умеете в них играть\r"
    u",то вам надо лечиться !!!!!!!!";
inline constexpr char16_t kAuthorTitle[] = u"Автор !!!!!";
inline constexpr char16_t kAuthorText[] =
    u"Игру собрал упрямый программист,\r"
    u"   который уверен, что пятнашки\r"
    u"   успокаивают нервы лучше чая.\r"
    u"   Жалобы и благодарности\r"
    u"   принимаются в письменном виде\r"
    u"   на обороте пятнадцатой фишки.";

// Said to a screen reader by the slide that puts the last tile home.
inline constexpr char16_t kSolvedAnnouncement[] = u"Картинка собрана!";

// The picture sets, in list order. Each set is one 320x320 picture cut into
// one 80x80 piece per cell, stored as assets/<folder>/pieceNN.bmp. A set with
// a preview stores it as assets/<folder>/preview.bmp.
inline constexpr int kPieceCount = kBoardCells;
inline constexpr Size kPreviewSize{62, 72};

struct PictureSet {
    const char16_t* name;  // the list entry
    const char* folder;    // under assets/
    bool hasPreview;
};

inline constexpr std::array<PictureSet, 2> kPictureSets = {{
    {u"Череп", "skull", false},
    {u"Дантист", "dentist", true},
}};

// The path of a picture under assets/, which is also its resource name inside
// the programs: "skull/piece03.bmp" for piece 3 of set 0, "dentist/preview.bmp"
// for the preview of set 1. The path ends with a NUL.
inline constexpr std::size_t kPicturePathCapacity = 32;
using PicturePath = std::array<char, kPicturePathCapacity>;

namespace detail {

inline constexpr std::string_view kPieceFilePrefix = "piece";
inline constexpr std::string_view kPreviewFile = "preview.bmp";
inline constexpr std::string_view kPictureSuffix = ".bmp";

constexpr void Append(PicturePath& path, std::size_t& length, std::string_view text) {
    for (const char c : text) path[length++] = c;
}

constexpr PicturePath SetFolderPath(int set, std::size_t& length) {
    PicturePath path{};
    Append(path, length, kPictureSets[static_cast<std::size_t>(set)].folder);
    Append(path, length, "/");
    return path;
}

}  // namespace detail

constexpr PicturePath PiecePath(int set, int piece) {
    std::size_t length = 0;
    PicturePath path = detail::SetFolderPath(set, length);
    detail::Append(path, length, detail::kPieceFilePrefix);
    const char number[] = {static_cast<char>('0' + piece / 10),
                           static_cast<char>('0' + piece % 10)};
    detail::Append(path, length, {number, sizeof number});
    detail::Append(path, length, detail::kPictureSuffix);
    return path;
}

constexpr PicturePath PreviewPath(int set) {
    std::size_t length = 0;
    PicturePath path = detail::SetFolderPath(set, length);
    detail::Append(path, length, detail::kPreviewFile);
    return path;
}

// Check that every path fits with its NUL. Writing past the end of the array
// would also stop the compiler here.
static_assert([] {
    for (int set = 0; set < static_cast<int>(kPictureSets.size()); ++set) {
        if (PiecePath(set, kPieceCount - 1).back() != 0 || PreviewPath(set).back() != 0)
            return false;
    }
    return true;
}());

}  // namespace tarpo::form
