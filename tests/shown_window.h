// The real main window for widget tests, shown offscreen, with the layout of
// every new game fixed by the test; and what its board shows.
#pragma once

#include <QTest>
#include <memory>

#include "board.h"
#include "board_view.h"
#include "form.h"
#include "form1.h"
#include "form_qt.h"
#include "image_box.h"

// Each new game deals layout `nextLayout` as it is at that moment. Returns
// null if the window was not exposed.
inline std::unique_ptr<Form1> ShowWindow(PictureStores pictures, const tarpo::Int16& nextLayout) {
    auto window =
        std::make_unique<Form1>(std::move(pictures), [&nextLayout] { return nextLayout; });
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) window.reset();
    return window;
}

inline BoardView& BoardOf(const Form1& window) { return *window.findChild<BoardView*>(); }

// Cell i's box in the client area, framed or not.
inline QRect CellBox(int cell, bool framed = true) {
    return formqt::Rect(tarpo::form::CellRect(cell, framed));
}
inline QPoint CellOrigin(int cell) { return CellBox(cell).topLeft(); }
// A point in the middle of cell i, away from the strips its neighbours overlap.
inline QPoint CellCentre(int cell) {
    return CellOrigin(cell) + QPoint(tarpo::form::kCellPitch / 2, tarpo::form::kCellPitch / 2);
}

// What the player sees on the board, as tile numbers: the tile whose piece a
// cell shows, 0 for an empty cell. The completion piece counts as empty.
inline tarpo::Board ShownBoard(const BoardView& board) {
    tarpo::Board shown;
    for (tarpo::Int16 i = 0; i < tarpo::kCellCount; ++i) {
        const qint64 key = board.cell(i)->picture().cacheKey();
        for (tarpo::Int16 tile = 1; tile < tarpo::kCellCount && key != 0; ++tile) {
            if (board.tiles()[static_cast<std::size_t>(tile - 1)].cacheKey() == key)
                shown.Set(tarpo::RowOf(i), tarpo::ColOf(i), tile);
        }
    }
    return shown;
}

// The offscreen platform cannot pass size hints to a window system and says
// so whenever a window's minimum or maximum size is set; nothing else of the
// kind is hidden. Call from initTestCase(), after QTest's own handler is in.
inline void IgnoreOffscreenSizeHintWarning() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtWarningMsg &&
                text == QLatin1String("This plugin does not support propagateSizeHints()"))
                return;
            previous(type, context, text);
        });
}
