// The real main window for widget tests, shown offscreen, with the layouts of
// its new games chosen by the seed; what its board shows; and what the
// player does to it.
#pragma once

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

#include "board.h"
#include "form.h"
#include "form_qt.h"
#include "image_box.h"
#include "main_window.h"

// The seed of a shown window's deals, unless a test picks one.
inline constexpr std::uint32_t kTestSeed = 7;

// The first seed whose deals begin with `layouts`.
inline std::uint32_t SeedDealing(std::initializer_list<int> layouts) {
    for (std::uint32_t seed = 1;; ++seed) {
        tarpo::LayoutPicker picker(seed);
        if (std::all_of(layouts.begin(), layouts.end(),
                        [&picker](int layout) { return picker.Pick() == layout; }))
            return seed;
    }
}

// Returns null if the window was not exposed.
inline std::unique_ptr<MainWindow> ShowWindow(PictureStores pictures,
                                              std::uint32_t seed = kTestSeed) {
    // The offscreen platform cannot pass size hints to a window system and
    // says so whenever a window's minimum or maximum size is set; nothing else
    // of the kind is hidden. Installed with the first window, after QTest's
    // own handler is in.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtWarningMsg &&
                text == QLatin1String("This plugin does not support propagateSizeHints()"))
                return;
            previous(type, context, text);
        });
    auto window = std::make_unique<MainWindow>(std::move(pictures), seed);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) window.reset();
    return window;
}

inline ImageBox* CellOf(const MainWindow& window, int cell) {
    return window.findChild<ImageBox*>(QStringLiteral("cell_%1").arg(cell));
}
inline QListWidget* ListOf(const MainWindow& window) {
    return window.findChild<QListWidget*>(QStringLiteral("pictureSetList"));
}

// Cell i's box in the client area, framed or not.
inline QRect CellBox(int cell, bool framed = true) {
    return formqt::Rect(tarpo::form::CellRect(cell, framed));
}
// Data rows "set" and "layout": every picture set with every start layout,
// named by the set's folder.
inline void AddSetAndLayoutRows() {
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("layout");
    for (std::size_t set = 0; set < tarpo::form::kPictureSets.size(); ++set)
        for (int layout = 0; layout < tarpo::kLayoutCount; ++layout)
            QTest::addRow("%s_layout_%d", tarpo::form::kPictureSets[set].folder, layout)
                << static_cast<int>(set) << layout;
}

// A left click in the middle of cell `cell`, away from the strips its
// neighbours overlap, delivered to the window there as the window system
// delivers it.
inline void ClickCell(MainWindow& window, int cell) {
    const int half = tarpo::form::kCellPitch / 2;
    const QPoint middle = CellBox(cell).topLeft() + QPoint(half, half);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                      window.centralWidget()->mapTo(&window, middle));
}

// What the player sees on the board, as tile numbers: the tile whose piece a
// cell shows (piece k - 1 of a set is tile k), 0 for an empty cell. The
// completion piece counts as empty.
inline tarpo::Board ShownBoard(const MainWindow& window) {
    tarpo::Board shown;
    for (int i = 0; i < tarpo::kCellCount; ++i) {
        const qint64 key = CellOf(window, i)->picture().cacheKey();
        for (const auto& pieces : window.pictures().pieces) {
            for (int tile = 1; tile < tarpo::kCellCount && key != 0; ++tile) {
                if (pieces[static_cast<std::size_t>(tile - 1)].cacheKey() == key)
                    shown.Set(tarpo::RowOf(i), tarpo::ColOf(i), tile);
            }
        }
    }
    return shown;
}

// Runs `inspect` on the message box that `open` shows, then closes it with
// OK. False if no box opened.
inline bool WithModalBox(const std::function<void()>& open,
                         const std::function<void(QMessageBox*)>& inspect = {}) {
    bool closed = false;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (inspect) inspect(box);
            box->button(QMessageBox::Ok)->click();
            closed = true;
        }
    });
    open();
    return closed;
}
