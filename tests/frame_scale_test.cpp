// Frames and pictures in device pixels at the device pixel ratio of the run
// (QT_SCALE_FACTOR; ctest runs it at 1, 1.04, 1.25, 1.5, 1.75 and 2): every frame
// is 2 logical pixels wide, rounded, and meets its piece with nothing between;
// the finished picture has no seam; the list's border is whole; the focus
// ring shows on every real piece.
#include <QListWidget>
#include <QtTest>
#include <cmath>

#include "device_grid.h"
#include "shown_window.h"
#include "solver.h"
#include "synthetic_pictures.h"

namespace form = tarpo::form;

namespace {

// WCAG's relative luminance of an sRGB colour, and the contrast of two.
double Luminance(QRgb c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

class FrameScaleTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainWindow> window;
    QImage shot;
    qreal ratio = 1;

    int Device(int logical) const { return qRound(logical * ratio); }
    // A rectangle of the client area in the window, whose device pixels the
    // test sees: below the menu bar, on a fractional device pixel at some ratios.
    QRect InWindow(const QRect& r) const { return r.translated(window->centralWidget()->pos()); }
    // A rectangle of the window in form pixels, in the window's device pixels.
    QRect OnDevice(const QRect& r) const {
        return formqt::Rect(form::DeviceRect({r.left(), r.top(), r.width(), r.height()},
                                             static_cast<double>(ratio)));
    }
    QRgb At(int x, int y) const { return shot.pixel(x, y); }
    const QPalette& Palette() const { return window->centralWidget()->palette(); }
    void Grab() {
        shot = window->grab().toImage();
        ratio = shot.devicePixelRatio();
    }
    // Whether what cell `cell` shows may have colour `c`.
    bool Shows(int cell, QRgb c, const tarpo::Board& board) const {
        const int tile = board(tarpo::RowOf(cell), tarpo::ColOf(cell));
        if (tile == 0) return c == Palette().color(QPalette::Window).rgb();
        return c == testpictures::PieceColour(0, tile - 1).rgb() ||
               c == testpictures::kCornerMarker.rgb();
    }
    // The frame's `width` device pixels from `from` in direction `step`: dark
    // outside and shadow inside, or light outside and midlight inside; then
    // what the cell shows.
    bool FrameThenContent(QPoint from, QPoint step, bool lit, int cell,
                          const tarpo::Board& board) const {
        const QRgb outer = Palette().color(lit ? QPalette::Light : QPalette::Dark).rgb();
        const QRgb inner = Palette().color(lit ? QPalette::Midlight : QPalette::Shadow).rgb();
        const int width = Device(form::kFrameWidth);
        for (int i = 0; i < width; ++i) {
            const QRgb c = At(from.x() + i * step.x(), from.y() + i * step.y());
            const bool fits = i == 0           ? c == outer
                              : i == width - 1 ? c == inner
                                               : c == outer || c == inner;
            if (!fits) return false;
        }
        return Shows(cell, At(from.x() + width * step.x(), from.y() + width * step.y()), board);
    }

  private slots:
    void init() {
        window = ShowWindow(testpictures::Stores());
        QVERIFY(window);
        window->OnNewGame();
        Grab();
        // Qt keeps the ratio in steps of 1/65536.
        const double asked =
            qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
        QVERIFY2(qAbs(ratio - asked) < 1e-4, qPrintable(QString::number(ratio)));
    }
    void cleanup() { window.reset(); }

    // Each cell's top and left frame, and the right and bottom frames at the
    // board's edge, along the stretch no other cell covers.
    void framesMeetTheirPieces() {
        const tarpo::Board board = ShownBoard(*window);
        for (int cell = 0; cell < tarpo::kCellCount; ++cell) {
            const QRect box = InWindow(CellBox(cell));
            const int left = Device(box.left()), top = Device(box.top());
            const int right = Device(box.left() + box.width()) - 1;
            const int bottom = Device(box.top() + box.height()) - 1;
            const int inside = Device(form::kFrameWidth);
            const int across = std::min(Device(box.left() + form::kCellPitch) - left,
                                        Device(box.top() + form::kCellPitch) - top);
            for (int d = inside; d < across; ++d) {
                QVERIFY2(
                    FrameThenContent({left, top + d}, {1, 0}, false, cell, board),
                    qPrintable(QStringLiteral("left frame of cell %1, row %2").arg(cell).arg(d)));
                QVERIFY2(
                    FrameThenContent({left + d, top}, {0, 1}, false, cell, board),
                    qPrintable(QStringLiteral("top frame of cell %1, column %2").arg(cell).arg(d)));
                if (tarpo::ColOf(cell) == 3)
                    QVERIFY2(FrameThenContent({right, top + d}, {-1, 0}, true, cell, board),
                             qPrintable(QStringLiteral("right frame of cell %1").arg(cell)));
                if (tarpo::RowOf(cell) == 3)
                    QVERIFY2(FrameThenContent({left + d, bottom}, {0, -1}, true, cell, board),
                             qPrintable(QStringLiteral("bottom frame of cell %1").arg(cell)));
            }
        }
    }

    void finishedPictureHasNoSeam() {
        auto clicks = tarpo::testing::SolveByClicks(ShownBoard(*window));
        QVERIFY(clicks.has_value());
        clicks->push_back(0);  // the click that shows the whole picture
        for (int cell : *clicks) ClickCell(*window, cell);
        Grab();
        for (int cell = 0; cell < tarpo::kCellCount; ++cell) {
            const QRect box = InWindow(CellBox(cell, false));
            const QRgb piece = testpictures::PieceColour(0, cell).rgb();
            for (int y = Device(box.top()); y < Device(box.top() + box.height()); ++y) {
                for (int x = Device(box.left()); x < Device(box.left() + box.width()); ++x) {
                    const QColor c = At(x, y);
                    QVERIFY2(
                        c == piece || c == testpictures::kCornerMarker,
                        qPrintable(QStringLiteral("cell %1 at (%2, %3)").arg(cell).arg(x).arg(y)));
                }
            }
        }
    }

    void focusRingShowsOnEveryPiece_data() {
        QTest::addColumn<int>("set");
        for (int set = 0; set < static_cast<int>(form::kPictureSets.size()); ++set)
            QTest::newRow(qPrintable(formqt::Text(form::kPictureSets[std::size_t(set)].name)))
                << set;
    }
    // The keyboard's focus ring on each cell of a dealt board of the real
    // pictures (every piece but the last, and the empty cell): it changes
    // nothing outside the part of the cell that its neighbours leave in
    // sight, its outer edge shows whole on every side there, and the pixels
    // it changes by a contrast of at least 3:1 cover at least a 2-px
    // perimeter of the cell.
    void focusRingShowsOnEveryPiece() {
        QFETCH(int, set);
        window = ShowWindow(LoadPictureStores());
        QVERIFY(window);
        ListOf(*window)->setCurrentRow(set);
        window->OnNewGame();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        Grab();
        const QImage unfocused = shot;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QColor outer = formqt::Colour(form::kCellFocusRing.outer);
        for (int cell = 0; cell < tarpo::kCellCount; ++cell) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ControlModifier);
            for (int i = 0; i < tarpo::RowOf(cell); ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            for (int i = 0; i < tarpo::ColOf(cell); ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QCOMPARE(QApplication::focusWidget(), CellOf(*window, cell));
            Grab();
            const QRect box = InWindow(CellBox(cell));
            const int frame = form::kFrameWidth, pitch = form::kCellPitch;
            const int gap = form::kCellFocusRing.gap;
            const QRect ring = OnDevice(box.adjusted(
                frame + gap, frame + gap, pitch - box.width() - gap, pitch - box.height() - gap));
            const QRect whole = OnDevice(QRect(box.topLeft(), QSize(pitch, pitch)));
            const int perimeter = form::DeviceLength(2, static_cast<double>(ratio));
            const int needed = whole.width() * whole.height() -
                               (whole.width() - 2 * perimeter) * (whole.height() - 2 * perimeter);
            QImage outside = shot;  // the shot with the ring's rectangle as it was
            int contrasting = 0;
            for (int y = ring.top(); y <= ring.bottom(); ++y) {
                for (int x = ring.left(); x <= ring.right(); ++x) {
                    const bool edge = x == ring.left() || x == ring.right() || y == ring.top() ||
                                      y == ring.bottom();
                    QVERIFY2(
                        !edge || QColor(At(x, y)) == outer,
                        qPrintable(
                            QStringLiteral("cell %1: no ring at %2, %3").arg(cell).arg(x).arg(y)));
                    if (Contrast(At(x, y), unfocused.pixel(x, y)) >= 3) ++contrasting;
                    outside.setPixel(x, y, unfocused.pixel(x, y));
                }
            }
            QVERIFY2(outside == unfocused,
                     qPrintable(QStringLiteral("cell %1: changed outside the ring").arg(cell)));
            QVERIFY2(contrasting >= needed, qPrintable(QStringLiteral("cell %1: %2 of %3 pixels")
                                                           .arg(cell)
                                                           .arg(contrasting)
                                                           .arg(needed)));
        }
    }

    // Along each edge of the list, one line of device pixels next to the edge
    // is border all the way: neither the window's background nor the list's;
    // just outside the edge, the window's background.
    void listBorderIsWhole() {
        const QRect list = InWindow(formqt::Rect(form::kPictureSetListRect));
        const int left = Device(list.left()), top = Device(list.top());
        const int right = Device(list.left() + list.width()) - 1;
        const int bottom = Device(list.top() + list.height()) - 1;
        const int corner = Device(3);  // rounded
        const QRgb background = Palette().color(QPalette::Window).rgb();
        const QRgb base = window->findChild<QListWidget*>()->palette().color(QPalette::Base).rgb();
        auto isBorder = [&](int x, int y) { return At(x, y) != background && At(x, y) != base; };
        auto wholeLine = [&](QPoint from, QPoint along, QPoint inwards) {
            const int length = along.x() ? right - left + 1 : bottom - top + 1;
            for (int i = corner; i < length - corner; ++i) {
                const QPoint p = from + along * i - inwards;
                if (At(p.x(), p.y()) != background) return false;
            }
            for (int depth = 0; depth <= Device(1); ++depth) {
                bool whole = true;
                for (int i = corner; i < length - corner && whole; ++i) {
                    const QPoint p = from + along * i + inwards * depth;
                    whole = isBorder(p.x(), p.y());
                }
                if (whole) return true;
            }
            return false;
        };
        QVERIFY2(wholeLine({left, top}, {1, 0}, {0, 1}), "top");
        QVERIFY2(wholeLine({left, bottom}, {1, 0}, {0, -1}), "bottom");
        QVERIFY2(wholeLine({left, top}, {0, 1}, {1, 0}), "left");
        QVERIFY2(wholeLine({right, top}, {0, 1}, {-1, 0}), "right");
    }
};

QTEST_MAIN(FrameScaleTest)
#include "frame_scale_test.moc"
