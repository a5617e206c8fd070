// The main window as one toolkit-neutral description: every caption, message
// text, position, size, colour and font of the form, and the picture sets.
// Each front end builds its window from these facts, and the tests read them
// instead of restating them. Positions and sizes are pixels at 96 dpi;
// strings are UTF-16, so they serve QString and wchar_t alike.
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

// The board: cell i has its origin at kBoardOrigin + kCellPitch * (column, row).
inline constexpr int kBoardLeft = 8;
inline constexpr int kBoardTop = 8;
inline constexpr int kCellPitch = 80;
inline constexpr int kPieceSide = 80;  // a picture piece, and an unframed cell
inline constexpr int kFrameWidth = 2;  // the sunken frame of a cell
inline constexpr int kFramedCellSide = kPieceSide + 2 * kFrameWidth;
// The keyboard focus ring inside a cell's frame: a gap, a ring of the
// highlight colour and, within it, a white lining.
struct FocusRing {
    int gap, width, lining;
};
inline constexpr FocusRing kCellFocusRing{1, 2, 1};

constexpr Rect CellRect(int cell, bool framed) {
    const int side = framed ? kFramedCellSide : kPieceSide;
    return {kBoardLeft + kCellPitch * (cell % 4), kBoardTop + kCellPitch * (cell / 4), side, side};
}

// An image box follows its picture, anchored at its top-left corner: the
// picture's size, plus the frame on every side when framed. (Without a
// picture it keeps the size it had.)
constexpr Size BoxSize(Size picture, bool framed) {
    const int border = framed ? 2 * kFrameWidth : 0;
    return {picture.width + border, picture.height + border};
}

// The framed board: from cell 0's origin to the far corner of framed cell 15.
inline constexpr Rect kBoardRect{kBoardLeft, kBoardTop, 3 * kCellPitch + kFramedCellSide,
                                 3 * kCellPitch + kFramedCellSide};

// The controls beside the board.
inline constexpr Rect kNewGameButtonRect{344, 8, 105, 41};
inline constexpr char16_t kNewGameCaption[] = u"новая игра";

inline constexpr Rect kPictureSetListRect{344, 56, 105, 56};

inline constexpr Rect kPreviewRect{344, 120, 73, 81};

inline constexpr Rect kMottoRect{352, 208, 89, 33};
inline constexpr char16_t kMottoText[] = u"ТЛК is the       best !";
// "MS Sans Serif" 9.75 pt, bold italic, Cyrillic; 13 px at 96 dpi.
inline constexpr Font kMottoFont{u"MS Sans Serif", 13, true, true, 204};
inline constexpr Rgb kMottoColour{192, 0, 0};

// The font of the button, the list, the menu and the message boxes: the
// classic dialog font, "MS Sans Serif" 8 pt, 11 px at 96 dpi. The layout is
// fixed in pixels, so the controls keep this size whatever the desktop's
// font settings.
inline constexpr Font kDialogFont{u"MS Sans Serif", 11, false, false, 204};

// The menu, in menu-bar order. "&" marks the mnemonic letter.
inline constexpr char16_t kMenuCaption[] = u"&Меню";  // drop-down with Exit
inline constexpr char16_t kExitCaption[] = u"E&xit";
inline constexpr char16_t kHelpCaption[] = u"&Heeeelp";  // acts from the bar itself
// Begins with the Latin A, so Alt+A (Latin) is its mnemonic.
inline constexpr char16_t kAuthorCaption[] = u"&Aвтор !";

// The message boxes: information icon, one OK button. Lines are joined by a
// lone carriage return.
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

// What the program says when it cannot start or stops. "%1", "%2"... stand
// for what each text names, filled in where it is said.
inline constexpr char16_t kProgramName[] = u"tarpo";
// The desktop programs, on standard error or in a box titled kProgramName.
inline constexpr char16_t kCannotOpenWindow[] = u"не удалось открыть окно: %1";
inline constexpr char16_t kNoXDisplay[] =
    u"нет X-дисплея, к которому подключиться (DISPLAY не задан)";
inline constexpr char16_t kNoXServer[] = u"X-сервер на дисплее \"%1\" не отвечает";
inline constexpr char16_t kNoWaylandDisplay[] = u"WAYLAND_DISPLAY не задан";
inline constexpr char16_t kWaylandDisplay[] = u"WAYLAND_DISPLAY \"%1\"";
inline constexpr char16_t kCannotDecodePicture[] = u"не удалось прочитать картинку %1";
inline constexpr char16_t kWrongPictureSize[] = u"картинка %1 размером %2x%3 вместо %4x%5";
inline constexpr char16_t kMissingPictureResource[] =
    u"картинки %1 нет в программе или её не удалось прочитать";
// the texts below it.
inline constexpr char16_t kPageCannotStart[] = u"tarpo не может запуститься: %1.";
inline constexpr char16_t kPageCannotLoad[] = u"не удалось загрузить %1 %2";
inline constexpr char16_t kPageCannotLoadStatus[] = u"не удалось загрузить %1 %2 (%3)";
inline constexpr char16_t kPageTheGame[] = u"игру";  // what could not be loaded
inline constexpr char16_t kPageTheForm[] = u"описание формы";
inline constexpr char16_t kPageThePicture[] = u"картинку";
inline constexpr char16_t kPageConnectionLost[] = u"не удалось загрузить %1 %2: связь прервалась";
inline constexpr char16_t kPageDamagedFile[] = u"файл %1 повреждён или от другой версии игры";
inline constexpr char16_t kPageFormDamaged[] = u"описание формы %1 повреждено";
inline constexpr char16_t kPageFormMismatch[] = u"описание формы %1 не подходит к этой странице";
inline constexpr char16_t kPagePictureDamaged[] = u"картинка %1 повреждена";
inline constexpr char16_t kPageNoStyleSheet[] = u"не загрузилась таблица стилей %1";
inline constexpr char16_t kPageCannotRunGame[] = u"не удалось запустить игру %1 (%2)";
inline constexpr char16_t kPageGameExited[] = u"%1 завершилась с кодом %2";
inline constexpr char16_t kPageNoWebAssembly[] =
    u"этот браузер не выполняет WebAssembly, без которого игра не работает";
// The page, on its own: a fault it did not foresee (the details go to the
// browser's console), and what start-up waits for after a while without a
// byte arriving (%1 the files, %2 the seconds waited).
inline constexpr char16_t kPageInternalError[] =
    u"tarpo остановилась из-за внутренней ошибки. Перезагрузите страницу.";
inline constexpr char16_t kPageWaiting[] =
    u"tarpo ждёт с сервера: %1 — ничего не приходит уже %2\u00a0с. "
    u"Игра запустится, как только файлы придут.";
// Written into the page itself when the site is built, shown when its script
// never ran: no form description reaches a page without a script.
inline constexpr char16_t kPageScriptNotRun[] =
    u"tarpo не запустилась: скрипт страницы (main.js) не загрузился или не выполнился.\n"
    u"Для игры в браузере нужен JavaScript. Откройте страницу с веб-сервера по адресу её "
    u"папки, с «/» на конце; открытую из файла (file://) браузер не выполняет.\n"
    u"Сервер должен отдавать файлы .js как text/javascript.";

// The picture sets, in list order. Every set is one 320x320 picture cut into
// sixteen 80x80 pieces, carried as assets/<folder>/pieceNN.bmp; a set with a
// preview carries it as assets/<folder>/preview.bmp.
inline constexpr int kPieceCount = 16;
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

// The path of a carried picture under assets/, which is also the name both
// programs carry it under: "skull/piece03.bmp" for piece 3 of set 0,
// "dentist/preview.bmp" for the preview of set 1. NUL-terminated.
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

// Every path fits with its terminating NUL (writing past the end would stop
// the compiler here).
static_assert([] {
    for (int set = 0; set < static_cast<int>(kPictureSets.size()); ++set) {
        if (PiecePath(set, kPieceCount - 1).back() != 0 || PreviewPath(set).back() != 0)
            return false;
    }
    return true;
}());

}  // namespace tarpo::form
