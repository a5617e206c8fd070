// Widget tests of the main window, offscreen: layout, captions, menu, message
// boxes, focus, clicks and the pixels that reach the screen.
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "form1.h"
#include "image_box.h"
#include "shown_window.h"
#include "synthetic_pictures.h"

namespace {

constexpr QPoint kCellOrigin0(8, 8);
constexpr int kPitch = 80;

QPoint CellOrigin(int i) { return kCellOrigin0 + QPoint(kPitch * (i % 4), kPitch * (i / 4)); }

// Lines of text in `image`: bands of consecutive rows holding a pixel that
// matches `isInk`. Bands under 4 rows (the breve of a "й" above a line without
// tall letters) are marks, not lines.
template <typename Pred>
int CountInkBands(const QImage& image, Pred isInk) {
    constexpr int kMinLineHeight = 4;
    int bands = 0;
    int height = 0;
    for (int y = 0; y <= image.height(); ++y) {
        bool ink = false;
        for (int x = 0; y < image.height() && x < image.width() && !ink; ++x)
            ink = isInk(image.pixelColor(x, y));
        if (ink) {
            ++height;
            continue;
        }
        if (height >= kMinLineHeight) ++bands;
        height = 0;
    }
    return bands;
}

bool IsDark(const QColor& c) { return c.lightness() < 100; }

// Runs `inspect` on the modal box that `open` shows, then closes it with OK.
void WithModalBox(const std::function<void()>& open,
                  const std::function<void(QMessageBox*)>& inspect) {
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        inspect(box);
        inspected = true;
        box->button(QMessageBox::Ok)->click();
    });
    open();
    QVERIFY(inspected);
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Form1> window;
    tarpo::Int16 nextLayout = 0;

    QWidget* client() const { return window->centralWidget(); }
    template <typename T>
    T* child(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    QImage Shot() const { return client()->grab().toImage(); }

  private slots:
    void init() {
        nextLayout = 0;
        window = ShowWindow(testpictures::Stores(), nextLayout);
        QVERIFY(window);
    }
    void cleanup() { window.reset(); }

    void clientAreaIsFixed() {
        QCOMPARE(client()->size(), QSize(456, 343));
        QCOMPARE(client()->pos().x(), 0);
        QCOMPARE(client()->pos().y(), window->menuBar()->height());
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->size(), QSize(456, 343 + window->menuBar()->height()));
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    }

    void controlRects_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("Command1") << "Command1" << QRect(344, 8, 105, 41);
        QTest::newRow("List1") << "List1" << QRect(344, 56, 105, 56);
        QTest::newRow("demo") << "demo" << QRect(344, 120, 73, 81);
        QTest::newRow("Label1") << "Label1" << QRect(352, 208, 89, 33);
    }
    void controlRects() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        auto* widget = window->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), rect);
    }

    void cellBoxesFollowTheFrame_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 16; ++i) QTest::addRow("cell %d", i) << i;
    }
    void cellBoxesFollowTheFrame() {
        QFETCH(int, index);
        ImageBox* cell = window->cell(index);
        QCOMPARE(cell->geometry(), QRect(CellOrigin(index), QSize(84, 84)));
        QVERIFY(cell->isFramed());

        // Completion before any game: frames go, the empty boxes keep their size.
        window->Image3_Click(static_cast<tarpo::Int16>(index));
        QVERIFY(!cell->isFramed());
        QCOMPARE(cell->geometry(), QRect(CellOrigin(index), QSize(84, 84)));

        // A dealt cell is framed around its piece, at the same origin.
        window->Command1_Click();
        QCOMPARE(cell->geometry(), QRect(CellOrigin(index), QSize(84, 84)));
        QVERIFY(cell->isFramed());
    }

    // The box rule on its own: framed = picture + 2 px a side, unframed = the
    // picture, always anchored at the origin; no picture keeps the size.
    void boxFollowsItsPicture() {
        ImageBox* box = window->cell(5);
        const QPoint origin = CellOrigin(5);
        box->setFramed(false);
        QCOMPARE(box->geometry(), QRect(origin, QSize(84, 84)));
        box->setPicture(testpictures::Piece(0, 3));
        QCOMPARE(box->geometry(), QRect(origin, QSize(80, 80)));
        box->setFramed(true);
        QCOMPARE(box->geometry(), QRect(origin, QSize(84, 84)));
        box->setPicture(QPixmap());
        box->setFramed(false);
        QCOMPARE(box->geometry(), QRect(origin, QSize(84, 84)));
    }

    void captionsAndListAfterStartUp() {
        QCOMPARE(window->windowTitle(), QStringLiteral("zodaziror uvedored"));
        QCOMPARE(child<QPushButton>("Command1")->text(), QStringLiteral("новая игра"));
        auto* list = child<QListWidget>("List1");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Череп"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Дантист"));
        QVERIFY(list->item(0)->isSelected());
        QVERIFY(!list->item(1)->isSelected());
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!list->verticalScrollBar()->isVisible());

        auto* label = child<QLabel>("Label1");
        QCOMPARE(label->text(), QStringLiteral("ТЛК is the       best !"));
        QVERIFY(label->font().bold());
        QVERIFY(label->font().italic());
        QCOMPARE(label->font().pixelSize(), 13);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        QVERIFY(child<ImageBox>("demo")->picture().isNull());
        QVERIFY(window->puzzle().board().IsSolved());
    }

    // The player picks a set but cannot leave the list with none picked.
    void listKeepsOneEntrySelected_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("click second") << 1 << int(Qt::NoModifier) << 1;
        QTest::newRow("ctrl-click selected") << 0 << int(Qt::ControlModifier) << 0;
        QTest::newRow("ctrl-click other") << 1 << int(Qt::ControlModifier) << 1;
        QTest::newRow("click empty space") << -1 << int(Qt::NoModifier) << 0;
        QTest::newRow("ctrl-click empty space") << -1 << int(Qt::ControlModifier) << 0;
        QTest::newRow("shift-click other") << 1 << int(Qt::ShiftModifier) << 1;
    }
    void listKeepsOneEntrySelected() {
        QFETCH(int, row);
        QFETCH(int, modifiers);
        QFETCH(int, expectedRow);
        auto* list = child<QListWidget>("List1");
        const QPoint at = row >= 0 ? list->visualItemRect(list->item(row)).center()
                                   : QPoint(10, list->viewport()->height() - 3);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::KeyboardModifiers(modifiers), at);
        const QList<QListWidgetItem*> selected = list->selectedItems();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(list->row(selected[0]), expectedRow);
    }

    void labelShowsTwoLines() {
        const QImage label = child<QLabel>("Label1")->grab().toImage();
        const auto isRed = [](const QColor& c) {
            return c.red() > 120 && c.green() < 90 && c.blue() < 90;
        };
        QCOMPARE(CountInkBands(label, isRed), 2);
    }

    void menuTree() {
        const QList<QAction*> bar = window->menuBar()->actions();
        QCOMPARE(bar.size(), 3);
        QCOMPARE(bar[0]->text(), QStringLiteral("&Меню"));
        QVERIFY(bar[0]->menu() != nullptr);
        QCOMPARE(bar[0]->menu()->objectName(), QStringLiteral("mnumenu"));
        const QList<QAction*> dropDown = bar[0]->menu()->actions();
        QCOMPARE(dropDown.size(), 1);
        QCOMPARE(dropDown[0]->text(), QStringLiteral("E&xit"));
        QCOMPARE(dropDown[0]->objectName(), QStringLiteral("exit"));

        QCOMPARE(bar[1]->text(), QStringLiteral("&Heeeelp"));
        QCOMPARE(bar[1]->objectName(), QStringLiteral("help"));
        QVERIFY(bar[1]->menu() == nullptr);
        QCOMPARE(bar[2]->text(), QStringLiteral("&A") + QStringLiteral("втор !"));
        QCOMPARE(bar[2]->text().at(1), QChar(u'A'));    // Latin, then Cyrillic
        QCOMPARE(bar[2]->text().at(2), QChar(0x0432));  // Cyrillic after the Latin A
        QCOMPARE(bar[2]->objectName(), QStringLiteral("autor"));
        QVERIFY(bar[2]->menu() == nullptr);
        for (QAction* action : bar + dropDown) {
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(!action->isCheckable());
            QVERIFY(action->isEnabled());
        }
    }

    void helpBoxShowsFourLines() {
        WithModalBox(
            [this] { window->help_Click(); },
            [](QMessageBox* box) {
                QCOMPARE(box->windowTitle(), QStringLiteral("помошчь"));
                QCOMPARE(box->icon(), QMessageBox::Information);
                QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
                QCOMPARE(box->text(),
                         QStringLiteral("Данная версия игры представляет  \rсобой обычные "
                                        "пятнашки. \rИ если вы не умеете в них играть\r,то "
                                        "вам надо лечиться !!!!!!!!"));
                auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                QVERIFY(label);
                QCOMPARE(CountInkBands(label->grab().toImage(), IsDark), 4);
            });
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void authorBoxShowsSixLinesIndented() {
        WithModalBox([this] { window->autor_Click(); },
                     [](QMessageBox* box) {
                         QCOMPARE(box->windowTitle(), QStringLiteral("Автор !!!!!"));
                         QCOMPARE(box->icon(), QMessageBox::Information);
                         QCOMPARE(box->standardButtons(),
                                  QMessageBox::StandardButtons(QMessageBox::Ok));
                         const QStringList lines = box->text().split(QLatin1Char('\r'));
                         QCOMPARE(lines.size(), 6);
                         QVERIFY(!lines[0].startsWith(QLatin1Char(' ')));
                         for (int i = 1; i < 6; ++i) QVERIFY(lines[i].startsWith(QLatin1Char(' ')));
                         QVERIFY(!box->text().contains(QLatin1Char('\n')));
                         auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                         QCOMPARE(CountInkBands(label->grab().toImage(), IsDark), 6);
                     });
    }

    void boxesLeaveTheGameAsItWas() {
        window->Command1_Click();
        window->Image3_Click(14);  // layout 0: tile 11 slides right into cell 15
        const QImage before = Shot();
        WithModalBox([this] { window->help_Click(); }, [](QMessageBox*) {});
        WithModalBox([this] { window->autor_Click(); }, [](QMessageBox*) {});
        QCOMPARE(Shot(), before);
        QCOMPARE(window->puzzle().board()(3, 3), 11);
    }

    void focusStartsOnTheButtonAndTabsToTheList() {
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* button = child<QPushButton>("Command1");
        auto* list = child<QListWidget>("List1");
        QCOMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button);
    }

    void keysPressTheFocusedButton_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Space") << Qt::Key_Space << Qt::KeyboardModifiers();
        QTest::newRow("Enter") << Qt::Key_Return << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void keysPressTheFocusedButton() {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        auto* button = child<QPushButton>("Command1");
        QSignalSpy pressed(button, &QPushButton::clicked);
        QTest::keyClick(button, key, modifiers);
        QCOMPARE(pressed.count(), 1);
        QVERIFY(!window->puzzle().board().IsSolved());  // a game was dealt
    }

    void eachCellDeliversItsOwnIndex_data() { cellBoxesFollowTheFrame_data(); }
    void eachCellDeliversItsOwnIndex() {
        QFETCH(int, index);
        window->Command1_Click();  // a game, so clicks do not just complete
        QTest::mouseClick(window->cell(index), Qt::LeftButton, {}, QPoint(40, 40));
        QCOMPARE(window->puzzle().curRow(), index / 4);
        QCOMPARE(window->puzzle().curCol(), index % 4);

        // Other buttons are not clicks.
        const int other = (index + 5) % 16;
        QTest::mouseClick(window->cell(other), Qt::RightButton, {}, QPoint(40, 40));
        QTest::mouseClick(window->cell(other), Qt::MiddleButton, {}, QPoint(40, 40));
        QCOMPARE(window->puzzle().curRow(), index / 4);
        QCOMPARE(window->puzzle().curCol(), index % 4);
    }

    // Through the window, as the window system delivers it: the second press
    // of a double-click arrives as a double-click event.
    void doubleClickCountsAsTwoClicks() {
        QSignalSpy clicks(window->cell(6), &ImageBox::clicked);
        const QPoint centre = client()->mapTo(window.get(), CellOrigin(6) + QPoint(40, 40));
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, centre);
        QCOMPARE(clicks.count(), 2);
    }

    void pressOutsideThenReleaseIsNoClick() {
        QSignalSpy clicks(window->cell(6), &ImageBox::clicked);
        QTest::mousePress(window->cell(6), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(window->cell(6), Qt::LeftButton, {}, QPoint(200, 10));
        QCOMPARE(clicks.count(), 0);
    }

    void overlapStripBelongsToTheHigherCell() {
        // Cell 0's framed box reaches x = 91; cell 1's starts at x = 88.
        QCOMPARE(client()->childAt(89, 40), window->cell(1));
        QCOMPARE(client()->childAt(87, 40), window->cell(0));
        QCOMPARE(client()->childAt(40, 89), window->cell(4));
        QCOMPARE(client()->childAt(89, 89), window->cell(5));
    }

    void framedEmptyCellShowsSunkenEdgeAndBackground() {
        const QImage shot = Shot();
        const QColor background = client()->palette().color(QPalette::Window);
        const QPoint o = CellOrigin(5);
        const QColor outerLeft = shot.pixelColor(o + QPoint(0, 40));
        const QColor innerLeft = shot.pixelColor(o + QPoint(1, 40));
        const QColor outerTop = shot.pixelColor(o + QPoint(40, 0));
        // Right and bottom edges of cell 5 lie under cells 6 and 9: use cell 15.
        const QPoint last = CellOrigin(15);
        const QColor outerRight = shot.pixelColor(last + QPoint(83, 40));
        const QColor outerBottom = shot.pixelColor(last + QPoint(40, 83));
        QCOMPARE(outerTop, outerLeft);
        QCOMPARE(outerBottom, outerRight);
        QVERIFY(outerLeft.lightness() < background.lightness());
        QVERIFY(innerLeft.lightness() < background.lightness());
        QVERIFY(outerLeft != innerLeft);  // two tones
        QVERIFY(outerRight.lightness() > outerLeft.lightness());
        // Inside the frame the window background shows, right up to the edge,
        // even where the neighbours' frames lie underneath.
        for (const QPoint p : {QPoint(2, 2), QPoint(40, 40), QPoint(77, 77), QPoint(2, 77)})
            QCOMPARE(shot.pixelColor(o + p), background);
        // And beyond the board, too.
        QCOMPARE(shot.pixelColor(333, 200), background);
    }

    void settingWhatIsShownRepaintsNothing() {
        window->Command1_Click();
        QCoreApplication::processEvents();
        int paints = 0;
        struct Counter : QObject {
            int* paints;
            explicit Counter(int* p) : paints(p) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) ++*paints;
                return false;
            }
        } counter(&paints);
        for (int i = 0; i < 16; ++i) window->cell(i)->installEventFilter(&counter);
        window->Image3_Click(0);   // layout 0: tile 8 has no empty neighbour
        window->Image3_Click(15);  // the empty cell
        window->cell(3)->setFramed(true);
        window->cell(3)->setPicture(window->cell(3)->picture());
        QCoreApplication::processEvents();
        QCOMPARE(paints, 0);

        window->Image3_Click(14);  // a slide repaints
        QCoreApplication::processEvents();
        QVERIFY(paints > 0);
    }

    void exitEndsTheEventLoopWithStatusZero() {
        QTimer::singleShot(0, window.get(), [this] { window->exit_Click(); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
