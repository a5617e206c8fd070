// What each action repaints, offscreen: every paint event of every widget is
// recorded with its region, mapped to the client area. A slide repaints only
// the boxes of the two cells involved, a click that changes nothing and a
// new game of what is shown repaint nothing, a new game repaints only the
// board and the preview, the finished picture only the board.
#include <QMenuBar>
#include <QPaintEvent>
#include <QtTest>
#include <random>

#include "shown_window.h"
#include "solver.h"

namespace form = tarpo::form;

namespace {

const QRect kBoard = formqt::Rect(form::kBoardRect);
const QRect kPreview = formqt::Rect(form::kPreviewRect);

// The middle of a cell, which no neighbour's box overlaps.
QRect CellMiddle(int i) {
    const int overlap = form::kFramedCellSide - form::kCellPitch;
    return CellBox(i).adjusted(overlap, overlap, -overlap, -overlap);
}

QString Describe(const QRegion& region) {
    QStringList rects;
    for (const QRect& r : region)
        rects << QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
    return rects.isEmpty() ? QStringLiteral("nothing") : rects.join(QLatin1Char(' '));
}

// Collects the regions of all paint events, in the client area's coordinates.
// Paint events of other top-level windows land far outside it.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(MainWindow& window) : window_(window) { qApp->installEventFilter(this); }
    ~PaintRecorder() override { qApp->removeEventFilter(this); }

    // Lets pending updates paint, then hands over what was painted since the
    // last call.
    QRegion Take() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QRegion painted;
        painted.swap(painted_);
        return painted;
    }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Paint || !object->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(object);
        const QRegion region = static_cast<QPaintEvent*>(event)->region();
        if (widget->window() != &window_) {
            painted_ += QRect(-10000, -10000, 1, 1);
            return false;
        }
        const QPoint offset = widget->mapTo(&window_, QPoint(0, 0)) -
                              window_.centralWidget()->mapTo(&window_, QPoint(0, 0));
        painted_ += region.translated(offset);
        return false;
    }

  private:
    MainWindow& window_;
    QRegion painted_;
};

}  // namespace

class RepaintTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<PaintRecorder> recorder;

    // Fails unless what `what` repainted lies within `allowed` and covers the
    // middle of each of `cells`.
    void CheckRepainted(const QString& what, const QRegion& painted, const QRegion& allowed,
                        const std::vector<int>& cells) {
        QVERIFY2((painted - allowed).isEmpty(),
                 qPrintable(what + " repainted " + Describe(painted - allowed) + " outside " +
                            Describe(allowed)));
        for (int cell : cells)
            QVERIFY2((QRegion(CellMiddle(cell)) - painted).isEmpty(),
                     qPrintable(what + " did not repaint cell " + QString::number(cell) + ": " +
                                Describe(painted)));
    }
    // Clicks cell `i`: a slide repaints the two cells, anything else nothing.
    void ClickAndCheck(int i) {
        const tarpo::Board before = ShownBoard(*window);
        recorder->Take();
        ClickCell(*window, i);
        const QRegion painted = recorder->Take();
        const QString what = QStringLiteral("a click on cell %1").arg(i);
        if (before == ShownBoard(*window)) return CheckRepainted(what, painted, {}, {});
        int empty = 0;
        while (before.At(empty) != 0) ++empty;
        CheckRepainted(what, painted, QRegion(CellBox(i)) + CellBox(empty), {i, empty});
    }
    // A window whose deals begin with `layouts`.
    void Show(std::initializer_list<int> layouts) {
        recorder.reset();
        window = ShowWindow(LoadPictureStores(), SeedDealing(layouts));
        QVERIFY(window);
        recorder = std::make_unique<PaintRecorder>(*window);
        recorder->Take();
    }
    // A new game, whichever layout it deals: the board and the preview.
    void NewGameAndCheck(int set) {
        ListOf(*window)->setCurrentRow(set);
        recorder->Take();
        window->OnNewGame();
        CheckRepainted(QStringLiteral("a new game"), recorder->Take(), QRegion(kBoard) + kPreview,
                       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    }

  private slots:
    void init() { Show({}); }
    void cleanup() {
        recorder.reset();
        window.reset();
    }

    // The recorder itself: a change anywhere in the window is seen.
    void recorderSeesPaintsOutsideTheBoard() {
        window->findChild<QWidget*>(QStringLiteral("motto"))->update();
        QVERIFY(recorder->Take().intersects(formqt::Rect(form::kMottoRect)));
        window->menuBar()->update();
        QVERIFY(recorder->Take().boundingRect().top() < 0);
    }

    // Random clicks on every kind of cell, then the game played to the end
    // and the finished picture shown, for every set and layout.
    void playRepaintsOnlyWhatChanges_data() { AddSetAndLayoutRows(); }
    void playRepaintsOnlyWhatChanges() {
        QFETCH(int, set);
        QFETCH(int, layout);
        Show({layout});
        NewGameAndCheck(set);
        if (QTest::currentTestFailed()) return;

        std::mt19937 random(static_cast<unsigned>(100 + 10 * set + layout));
        for (int n = 0; n < 80; ++n) {
            ClickAndCheck(static_cast<int>(random() % 16));
            if (QTest::currentTestFailed()) return;
        }

        const auto clicks = tarpo::testing::SolveByClicks(ShownBoard(*window));
        QVERIFY(clicks.has_value());
        for (int cell : *clicks) {
            ClickAndCheck(cell);
            if (QTest::currentTestFailed()) return;
        }
        QVERIFY(ShownBoard(*window).IsSolved());

        // The finished picture: the whole board and nothing else.
        recorder->Take();
        ClickCell(*window, 5);
        CheckRepainted(QStringLiteral("the finished picture"), recorder->Take(), kBoard,
                       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
        // Once shown, it stays: another click repaints nothing.
        ClickCell(*window, 9);
        CheckRepainted(QStringLiteral("a second click on it"), recorder->Take(), {}, {});

        // A new game from the finished picture: frames come back, board only.
        NewGameAndCheck(1 - set);
    }

    // A new game of the set and layout on the board repaints nothing.
    void sameGameAgainRepaintsNothing() {
        Show({2, 2});
        NewGameAndCheck(1);
        recorder->Take();
        window->OnNewGame();
        CheckRepainted(QStringLiteral("the same game again"), recorder->Take(), {}, {});
    }
};

QTEST_MAIN(RepaintTest)
#include "repaint_test.moc"
