// A long random session through the real window, offscreen: real mouse events
// delivered to the window at client coordinates (so that Qt routes them by
// position, the 4-px overlap strips included), double, right and middle
// clicks, new games with either set chosen in the list, help and author
// boxes. After every event every cell must show, framed or not and in the
// right box, what a puzzle of its own, told the same cell clicks and deals,
// shows.
//
// TARPO_RANDOM_EVENTS sets the number of events (default 200000),
// TARPO_RANDOM_SEED the seed (default 20260607).
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <deque>
#include <random>

#include "puzzle.h"
#include "shown_window.h"
#include "solver.h"

namespace form = tarpo::form;

namespace {

const QRect kButton = formqt::Rect(form::kNewGameButtonRect);
const QRect kClient(QPoint(0, 0), formqt::Size(form::kClientSize));
const QRect kAroundBoard = formqt::Rect(form::kBoardRect).adjusted(-8, -8, 8, 8);

// What the board should show: the click rule itself, kept apart from the
// window and told every cell click and deal that the window should have seen.
struct Model {
    tarpo::Puzzle puzzle;
    bool dealt = false;  // a game has been dealt: the cells have pictures

    // The piece cell i shows: tile k shows piece k - 1, the empty cell the
    // last piece once the picture is completed.
    std::optional<int> Shown(int i) const {
        const int tile = puzzle.board().At(i);
        if (tile != 0) return tile - 1;
        if (puzzle.completed()) return tarpo::kCompletionPiece;
        return std::nullopt;
    }
    bool Framed() const { return !puzzle.completed(); }
    void Deal(int layout) {
        puzzle.Deal(layout);
        dealt = true;
    }
    // The box of cell i: framed, or the picture's size; a cell that never had
    // a picture keeps its framed size.
    QRect Box(int i) const { return CellBox(i, Framed() || !dealt); }
    // The cell a press at `p` reaches: the box on top, the highest index.
    int CellAt(QPoint p) const {
        for (int i = 15; i >= 0; --i)
            if (Box(i).contains(p)) return i;
        return -1;
    }
};

}  // namespace

class RandomSessionTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainWindow> window;
    std::mt19937_64 random;
    std::optional<tarpo::LayoutPicker> twin;  // foresees the window's deals
    int deals = 0;
    int lastLayout = 0;
    int dealtSet = -1;  // the set selected at the last deal that had one
    Model model;
    QString lastEvent;
    std::deque<int> solving;  // cells still to click to finish the game

    QWidget* client() const { return window->centralWidget(); }
    QListWidget* list() const { return ListOf(*window); }
    int SelectedSet() const {
        const QList<QListWidgetItem*> selected = list()->selectedItems();
        return selected.isEmpty() ? -1 : list()->row(selected.first());
    }
    int Uniform(int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); }
    QPoint PointIn(const QRect& r) {
        return r.topLeft() + QPoint(Uniform(r.width()), Uniform(r.height()));
    }
    QPoint ToWindow(QPoint clientPoint) const { return client()->mapTo(window.get(), clientPoint); }
    // A click at `p` in the client area, kept as the last event; returns `p`.
    QPoint Click(const char* what, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        lastEvent = QStringLiteral("%1 at (%2, %3)").arg(QLatin1String(what)).arg(p.x()).arg(p.y());
        QTest::mouseClick(window->windowHandle(), button, {}, ToWindow(p));
        return p;
    }

    // One random event; the model follows it.
    void Step() {
        const int dealsBefore = deals;
        std::vector<int> cellClicks;  // cells reached by left presses, in order
        const int kind = Uniform(1000);
        if (!solving.empty()) {
            // The next click of a game being finished, in the middle of a cell.
            const int cell = solving.front();
            solving.pop_front();
            Click("finishing click",
                  PointIn(QRect(CellBox(cell).topLeft() + QPoint(4, 4), QSize(72, 72))));
            cellClicks.push_back(cell);
        } else if (kind < 600) {
            // A left click on or around the board, strips and margins included.
            const QPoint p = Click("click", PointIn(kAroundBoard));
            if (model.CellAt(p) >= 0) cellClicks.push_back(model.CellAt(p));
        } else if (kind < 680) {
            // A double click: two presses, the second one as a double-click.
            const QPoint p = PointIn(kAroundBoard);
            lastEvent = QStringLiteral("double click at (%1, %2)").arg(p.x()).arg(p.y());
            QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, ToWindow(p));
            // The first press may show the finished picture and shrink the boxes.
            Model after = model;
            if (after.CellAt(p) >= 0) {
                cellClicks.push_back(after.CellAt(p));
                after.puzzle.Click(after.CellAt(p));
            }
            if (after.CellAt(p) >= 0) cellClicks.push_back(after.CellAt(p));
        } else if (kind < 740) {
            // A right or middle click anywhere in the client area does nothing
            // to the game.
            Click("right or middle click", PointIn(kClient),
                  Uniform(2) ? Qt::RightButton : Qt::MiddleButton);
        } else if (kind < 780) {
            // "новая игра", clicked.
            Click("new game", PointIn(kButton.adjusted(2, 2, -2, -2)));
        } else if (kind < 860) {
            // A set chosen in the list: on an entry, or on the empty space below.
            const int row = Uniform(3);
            const QRect entry =
                row < 2 ? list()->visualItemRect(list()->item(row)) : QRect(10, 45, 80, 8);
            Click("list click",
                  list()->viewport()->mapTo(client(), PointIn(entry.adjusted(1, 1, -1, -1))));
        } else if (kind < 990) {
            // A left click anywhere in the client area: cells, button, list,
            // label, preview or bare background.
            const QPoint p = Click("click anywhere", PointIn(kClient));
            if (model.CellAt(p) >= 0) cellClicks.push_back(model.CellAt(p));
        } else if (kind < 994) {
            // The game is played to the end over the next events, then one
            // more click shows the finished picture.
            lastEvent = QStringLiteral("start finishing the game");
            const auto clicks = tarpo::testing::SolveByClicks(model.puzzle.board());
            QVERIFY(clicks.has_value());
            solving.assign(clicks->begin(), clicks->end());
            solving.push_back(Uniform(16));
        } else {
            const bool help = kind < 997;
            lastEvent = help ? QStringLiteral("help box") : QStringLiteral("author box");
            QVERIFY2(WithModalBox([this, help] { help ? window->OnHelp() : window->OnAuthor(); }),
                     "the box did not open");
        }

        if (deals != dealsBefore) {
            // One or two games dealt: the board is the last layout dealt.
            model.Deal(lastLayout);
            QVERIFY2(cellClicks.empty(), "a cell and the button were both clicked");
        }
        for (int cell : cellClicks) model.puzzle.Click(cell);
    }

    // What the window shows that the model does not, or nothing.
    QString Mismatch() const {
        if (QApplication::activeModalWidget()) return QStringLiteral("a box is still open");
        const PictureStores& pictures = window->pictures();
        for (int i = 0; i < 16; ++i) {
            const std::optional<int> shown = model.Shown(i);
            ImageBox* cell = CellOf(*window, i);
            const qint64 expected =
                !shown || dealtSet < 0 ? 0 : pictures[{dealtSet, *shown}].cacheKey();
            if (cell->picture().cacheKey() != expected)
                return QStringLiteral("cell %1 does not show piece %2")
                    .arg(i)
                    .arg(shown.value_or(-1));
            if (cell->isFramed() != model.Framed())
                return QStringLiteral("cell %1 is %2framed")
                    .arg(i)
                    .arg(cell->isFramed() ? "" : "not ");
            if (QRect(cell->mapTo(client(), QPoint(0, 0)), cell->size()) != model.Box(i))
                return QStringLiteral("cell %1 has the wrong box").arg(i);
        }
        const qint64 preview = dealtSet >= 0 ? pictures.Preview(dealtSet).cacheKey() : 0;
        if (window->findChild<ImageBox*>(QStringLiteral("preview"))->picture().cacheKey() !=
            preview)
            return QStringLiteral("the preview is not that of set %1").arg(dealtSet);
        return {};
    }

  private slots:
    void session() {
        const qulonglong seed = qEnvironmentVariable("TARPO_RANDOM_SEED", "20260607").toULongLong();
        const qulonglong events =
            qEnvironmentVariable("TARPO_RANDOM_EVENTS", "200000").toULongLong();
        std::printf("random session: seed %llu, %llu events\n", seed, events);
        std::fflush(stdout);
        random.seed(seed);
        const auto layoutSeed = static_cast<std::uint32_t>(seed ^ 0x9e3779b9u);
        twin.emplace(layoutSeed);

        window = ShowWindow(LoadPictureStores(), layoutSeed);
        QVERIFY(window);
        // After the window's own handler: the game has been dealt.
        connect(window->findChild<QPushButton*>(QStringLiteral("newGameButton")),
                &QPushButton::clicked, this, [this] {
                    ++deals;
                    if (SelectedSet() >= 0) dealtSet = SelectedSet();
                    lastLayout = twin->Pick();
                });

        qulonglong slides = 0;
        qulonglong finished = 0;
        for (qulonglong n = 0; n < events; ++n) {
            const tarpo::Board before = model.puzzle.board();
            const bool completedBefore = model.puzzle.completed();
            const int dealsBefore = deals;
            Step();
            const QString wrong =
                QTest::currentTestFailed() ? QStringLiteral("failed") : Mismatch();
            if (!wrong.isEmpty())
                QFAIL(qPrintable(QStringLiteral("event %1 (%2): %3").arg(n).arg(lastEvent, wrong)));
            if (deals == dealsBefore && before != model.puzzle.board()) ++slides;
            if (model.puzzle.completed() && !completedBefore) ++finished;
        }
        std::printf("random session: %d games dealt, %llu slides, %llu finished pictures\n", deals,
                    slides, finished);
        // The session was long and varied enough to have exercised what it is for.
        QVERIFY(deals > 10);
        QVERIFY(slides > events / 20);
        QVERIFY(finished > 0);
        window.reset();
    }
};

QTEST_MAIN(RandomSessionTest)
#include "random_session_test.moc"
