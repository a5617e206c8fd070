// A long random session through the real window, offscreen: real mouse events
// delivered to the window at client coordinates (so that Qt routes them by
// position, the 4-px overlap strips included), double and right clicks, new
// games with either set chosen in the list, help and author boxes. After every
// event the board must hold each of 0..15 once, agree with a model of the
// click rule kept here, and every cell must show what the board holds.
//
// TARPO_RANDOM_EVENTS sets the number of events (default 200000),
// TARPO_RANDOM_SEED the seed (default 20260607).
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <random>

#include "form1.h"
#include "image_box.h"
#include "solver.h"

namespace {

constexpr int kPitch = 80;
const QRect kButton(344, 8, 105, 41);
const QRect kList(344, 56, 105, 56);
const QSize kClient(456, 343);

QPoint CellOrigin(int i) { return QPoint(8 + kPitch * (i % 4), 8 + kPitch * (i / 4)); }

qulonglong EnvNumber(const char* name, qulonglong fallback) {
    bool ok = false;
    const qulonglong value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

// What the board should hold, by the click rule: a click on a tile with the
// empty cell below, right, above or left of it (probed in that order) moves
// it there; a click on a solved board shows the finished picture.
struct Model {
    std::array<int, 16> board{};
    bool completed = false;  // the completion step has been shown
    bool dealt = false;      // a game has been dealt: the cells have pictures

    Model() { ResetHome(); }
    void ResetHome() {
        for (int i = 0; i < 15; ++i) board[static_cast<std::size_t>(i)] = i + 1;
        board[15] = 0;
    }
    bool Solved() const {
        for (int i = 0; i < 15; ++i)
            if (board[static_cast<std::size_t>(i)] != i + 1) return false;
        return board[15] == 0;
    }
    void Click(int cell) {
        if (Solved()) {
            completed = true;
            return;
        }
        if (board[static_cast<std::size_t>(cell)] == 0) return;
        const int row = cell / 4, col = cell % 4;
        for (const auto& [dr, dc] : {std::pair{1, 0}, {0, 1}, {-1, 0}, {0, -1}}) {
            const int r = row + dr, c = col + dc;
            if (r < 0 || r > 3 || c < 0 || c > 3 || board[static_cast<std::size_t>(4 * r + c)] != 0)
                continue;
            std::swap(board[static_cast<std::size_t>(cell)],
                      board[static_cast<std::size_t>(4 * r + c)]);
            return;
        }
    }
    // The box of cell i: 84 px square while framed; once the finished picture
    // shows, the picture's 80 px (a cell that never had one keeps its size).
    QRect Box(int i) const {
        const int side = completed && dealt ? kPitch : kPitch + 4;
        return QRect(CellOrigin(i), QSize(side, side));
    }
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
    std::unique_ptr<Form1> window;
    std::mt19937_64 random;
    std::mt19937 layoutRandom;
    int deals = 0;
    tarpo::Int16 lastLayout = 0;
    int dealtSet = -1;  // the set selected at the last deal
    Model model;
    QString lastEvent;
    std::deque<int> solving;  // cells still to click to finish the game

    QWidget* client() const { return window->centralWidget(); }
    QListWidget* list() const { return window->findChild<QListWidget*>(QStringLiteral("List1")); }
    int SelectedSet() const {
        const QList<QListWidgetItem*> selected = list()->selectedItems();
        return selected.isEmpty() ? -1 : list()->row(selected.first());
    }
    int Uniform(int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); }
    QPoint PointIn(const QRect& r) {
        return r.topLeft() + QPoint(Uniform(r.width()), Uniform(r.height()));
    }
    QPoint ToWindow(QPoint clientPoint) const { return client()->mapTo(window.get(), clientPoint); }

    // Opens a box from the menu's handler and closes it from the event loop.
    void OpenAndCloseBox(bool help) {
        bool closed = false;
        QTimer::singleShot(0, window.get(), [&closed] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->button(QMessageBox::Ok)->click();
                closed = true;
            }
        });
        help ? window->help_Click() : window->autor_Click();
        QVERIFY2(closed, "the box did not open");
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
            const QPoint p = PointIn(QRect(CellOrigin(cell) + QPoint(4, 4), QSize(72, 72)));
            lastEvent = QStringLiteral("finishing click at (%1, %2)").arg(p.x()).arg(p.y());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, ToWindow(p));
            cellClicks.push_back(cell);
        } else if (kind < 600) {
            // A left click on or around the board, strips and margins included.
            const QPoint p = PointIn(QRect(0, 0, 340, 340));
            lastEvent = QStringLiteral("click at (%1, %2)").arg(p.x()).arg(p.y());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, ToWindow(p));
            if (model.CellAt(p) >= 0) cellClicks.push_back(model.CellAt(p));
        } else if (kind < 680) {
            // A double click: two presses, the second one as a double-click.
            const QPoint p = PointIn(QRect(0, 0, 340, 340));
            lastEvent = QStringLiteral("double click at (%1, %2)").arg(p.x()).arg(p.y());
            QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, ToWindow(p));
            // The first press may show the finished picture and shrink the boxes.
            Model after = model;
            if (after.CellAt(p) >= 0) {
                cellClicks.push_back(after.CellAt(p));
                after.Click(after.CellAt(p));
                after.dealt = model.dealt;
            }
            if (after.CellAt(p) >= 0) cellClicks.push_back(after.CellAt(p));
        } else if (kind < 740) {
            // A right click anywhere in the client area does nothing to the game.
            const QPoint p = PointIn(QRect(QPoint(0, 0), kClient));
            lastEvent = QStringLiteral("right click at (%1, %2)").arg(p.x()).arg(p.y());
            QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, ToWindow(p));
        } else if (kind < 780) {
            // "новая игра", clicked.
            const QPoint p = PointIn(kButton.adjusted(2, 2, -2, -2));
            lastEvent = QStringLiteral("new game at (%1, %2)").arg(p.x()).arg(p.y());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, ToWindow(p));
        } else if (kind < 860) {
            // A set chosen in the list: on an entry, or on the empty space below.
            const int row = Uniform(3);
            const QRect entry =
                row < 2 ? list()->visualItemRect(list()->item(row)) : QRect(10, 45, 80, 8);
            const QPoint p =
                list()->viewport()->mapTo(client(), PointIn(entry.adjusted(1, 1, -1, -1)));
            lastEvent = QStringLiteral("list click at (%1, %2)").arg(p.x()).arg(p.y());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, ToWindow(p));
        } else if (kind < 990) {
            // A left click anywhere in the client area: cells, button, list,
            // label, preview or bare background.
            const QPoint p = PointIn(QRect(QPoint(0, 0), kClient));
            lastEvent = QStringLiteral("click anywhere at (%1, %2)").arg(p.x()).arg(p.y());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, ToWindow(p));
            if (model.CellAt(p) >= 0) cellClicks.push_back(model.CellAt(p));
        } else if (kind < 994) {
            // The game is played to the end over the next events, then one
            // more click shows the finished picture.
            lastEvent = QStringLiteral("start finishing the game");
            const auto clicks = tarpo::testing::SolveByClicks(window->puzzle().board());
            QVERIFY(clicks.has_value());
            solving.assign(clicks->begin(), clicks->end());
            solving.push_back(Uniform(16));
        } else {
            const bool help = kind < 997;
            lastEvent = help ? QStringLiteral("help box") : QStringLiteral("author box");
            OpenAndCloseBox(help);
        }

        if (deals != dealsBefore) {
            // One or two games dealt: the board is the last layout dealt.
            for (int i = 0; i < 15; ++i)
                model.board[static_cast<std::size_t>(i)] =
                    tarpo::LayoutTile(lastLayout, static_cast<tarpo::Int16>(i));
            model.board[15] = 0;
            model.completed = false;
            model.dealt = true;
            QVERIFY2(cellClicks.empty(), "a cell and the button were both clicked");
        }
        for (int cell : cellClicks) model.Click(cell);
    }

    // Fails the test, saying at which event, when `condition` does not hold;
    // the message is only built then.
#define SESSION_CHECK(condition, message)                                                         \
    do {                                                                                          \
        if (!(condition))                                                                         \
            QFAIL(                                                                                \
                qPrintable(QStringLiteral("event %1 (%2): ").arg(n).arg(lastEvent) + (message))); \
    } while (false)

    void CheckInvariants(qulonglong n) {
        SESSION_CHECK(QApplication::activeModalWidget() == nullptr,
                      QStringLiteral("a box is still open"));
        const tarpo::Board& board = window->puzzle().board();
        std::array<int, 16> seen{};
        for (tarpo::Int16 i = 0; i < 16; ++i) {
            const int t = board(tarpo::RowOf(i), tarpo::ColOf(i));
            SESSION_CHECK(t >= 0 && t < 16, QStringLiteral("cell %1 holds %2").arg(i).arg(t));
            ++seen[static_cast<std::size_t>(t)];
        }
        for (int t = 0; t < 16; ++t)
            SESSION_CHECK(seen[static_cast<std::size_t>(t)] == 1,
                          QStringLiteral("%1 is on the board %2 times")
                              .arg(t)
                              .arg(seen[static_cast<std::size_t>(t)]));
        const TileStore& store = window->workingStore();
        for (tarpo::Int16 i = 0; i < 16; ++i) {
            const int t = board(tarpo::RowOf(i), tarpo::ColOf(i));
            const int ruled = model.board[static_cast<std::size_t>(i)];
            SESSION_CHECK(
                t == ruled,
                QStringLiteral("cell %1 holds %2, the rule gives %3").arg(i).arg(t).arg(ruled));
            ImageBox* cell = window->cell(i);
            qint64 expected = 0;
            if (model.completed && i == 15)
                expected = store[15].cacheKey();
            else if (t != 0)
                expected = store[static_cast<std::size_t>(t - 1)].cacheKey();
            SESSION_CHECK(
                cell->picture().cacheKey() == expected,
                QStringLiteral("cell %1 does not show what the board holds (%2)").arg(i).arg(t));
            SESSION_CHECK(
                cell->isFramed() == !model.completed,
                QStringLiteral("cell %1 is %2framed").arg(i).arg(cell->isFramed() ? "" : "not "));
            SESSION_CHECK(cell->geometry() == model.Box(i),
                          QStringLiteral("cell %1 has the wrong box").arg(i));
        }
        if (dealtSet >= 0) {
            const PictureStores& stores = window->pictureStores();
            for (int p = 0; p < 16; ++p) {
                const QPixmap& piece = dealtSet == 0 ? stores.Image1[static_cast<std::size_t>(p)]
                                                     : stores.Image4[static_cast<std::size_t>(p)];
                SESSION_CHECK(store[static_cast<std::size_t>(p)].cacheKey() == piece.cacheKey(),
                              QStringLiteral("piece %1 is not of set %2").arg(p).arg(dealtSet));
            }
        }
    }
#undef SESSION_CHECK

  private slots:
    void session() {
        const qulonglong seed = EnvNumber("TARPO_RANDOM_SEED", 20260607);
        const qulonglong events = EnvNumber("TARPO_RANDOM_EVENTS", 200000);
        std::printf("random session: seed %llu, %llu events\n", seed, events);
        std::fflush(stdout);
        random.seed(seed);
        layoutRandom.seed(static_cast<unsigned>(seed ^ 0x9e3779b9u));

        window = std::make_unique<Form1>(LoadPictureStores(), [this] {
            ++deals;
            dealtSet = SelectedSet();
            lastLayout = static_cast<tarpo::Int16>(layoutRandom() % tarpo::kLayoutCount);
            return lastLayout;
        });
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        qulonglong slides = 0;
        qulonglong finished = 0;
        for (qulonglong n = 0; n < events; ++n) {
            const Model before = model;
            const int dealsBefore = deals;
            Step();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("at event %1 (%2)").arg(n).arg(lastEvent)));
            CheckInvariants(n);
            if (QTest::currentTestFailed()) return;
            if (deals == dealsBefore && before.board != model.board) ++slides;
            if (model.completed && !before.completed) ++finished;
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
