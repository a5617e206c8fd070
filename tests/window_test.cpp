// Widget tests of the main window, offscreen: layout, captions, menu, message
// boxes, keys on the button, and a press that leaves its cell.
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "shown_window.h"
#include "synthetic_pictures.h"

namespace form = tarpo::form;
using formqt::Text;

namespace {

// The lines of a message: joined by a lone carriage return.
int LineCount(const QString& text) { return static_cast<int>(text.count(u'\r')) + 1; }

// Lines of text in `image`: bands of consecutive rows holding a dark pixel.
// Bands under 4 rows (the breve of a "й" above a line without tall letters)
// are marks, not lines.
int CountInkBands(const QImage& image) {
    constexpr int kMinLineHeight = 4;
    int bands = 0;
    int height = 0;  // of the band ending at row y
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = image.pixelColor(x, y).lightness() < 100;
        height = ink ? height + 1 : 0;
        if (height == kMinLineHeight) ++bands;
    }
    return bands;
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainWindow> window;

    ImageBox* Cell(int i) const { return CellOf(*window, i); }
    template <typename T>
    T* child(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }

  private slots:
    void init() {
        window = ShowWindow(testpictures::Stores());
        QVERIFY(window);
    }
    void cleanup() { window.reset(); }

    // Each control in its place, the data row named by the control.
    void controlRects_data() {
        QTest::addColumn<QRect>("rect");
        QTest::newRow("newGameButton") << formqt::Rect(form::kNewGameButtonRect);
        QTest::newRow("pictureSetList") << formqt::Rect(form::kPictureSetListRect);
        QTest::newRow("preview") << formqt::Rect(form::kPreviewRect);
        QTest::newRow("motto") << formqt::Rect(form::kMottoRect);
    }
    void controlRects() {
        QFETCH(QRect, rect);
        auto* widget = window->findChild<QWidget*>(QLatin1String(QTest::currentDataTag()));
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), rect);
    }

    void captionsAndListAfterStartUp() {
        QCOMPARE(child<QPushButton>("newGameButton")->text(), Text(form::kNewGameCaption));
        auto* list = ListOf(*window);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), Text(form::kPictureSets[0].name));
        QCOMPARE(list->item(1)->text(), Text(form::kPictureSets[1].name));
        QVERIFY(list->item(0)->isSelected());
        QVERIFY(!list->item(1)->isSelected());
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!list->verticalScrollBar()->isVisible());

        auto* label = child<QLabel>("motto");
        QCOMPARE(label->text(), Text(form::kMottoText));
        QCOMPARE(label->font(), formqt::Font(form::kMottoFont));
    }

    // The player picks a set but cannot leave the list with none picked.
    void listKeepsOneEntrySelected_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("click_second") << 1 << int(Qt::NoModifier) << 1;
        QTest::newRow("ctrl_click_selected") << 0 << int(Qt::ControlModifier) << 0;
        QTest::newRow("ctrl_click_other") << 1 << int(Qt::ControlModifier) << 1;
        QTest::newRow("click_empty_space") << -1 << int(Qt::NoModifier) << 0;
        QTest::newRow("ctrl_click_empty_space") << -1 << int(Qt::ControlModifier) << 0;
        QTest::newRow("shift_click_other") << 1 << int(Qt::ShiftModifier) << 1;
    }
    void listKeepsOneEntrySelected() {
        QFETCH(int, row);
        QFETCH(int, modifiers);
        QFETCH(int, expectedRow);
        auto* list = ListOf(*window);
        const QPoint at = row >= 0 ? list->visualItemRect(list->item(row)).center()
                                   : QPoint(10, list->viewport()->height() - 3);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::KeyboardModifiers(modifiers), at);
        const QList<QListWidgetItem*> selected = list->selectedItems();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(list->row(selected[0]), expectedRow);
    }

    void menuTree() {
        const QList<QAction*> bar = window->menuBar()->actions();
        QCOMPARE(bar.size(), 3);
        QCOMPARE(bar[0]->text(), Text(form::kMenuCaption));
        QVERIFY(bar[0]->menu() != nullptr);
        const QList<QAction*> dropDown = bar[0]->menu()->actions();
        QCOMPARE(dropDown.size(), 1);
        QCOMPARE(dropDown[0]->text(), Text(form::kExitCaption));

        QCOMPARE(bar[1]->text(), Text(form::kHelpCaption));
        QVERIFY(bar[1]->menu() == nullptr);
        QCOMPARE(bar[2]->text(), Text(form::kAuthorCaption));
        QVERIFY(bar[2]->menu() == nullptr);
        for (QAction* action : bar + dropDown) {
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(!action->isCheckable());
            QVERIFY(action->isEnabled());
        }
    }

    // Information icon, one OK button, the title, and the text in as many
    // lines as it has: four for the help, six for the author. The layout is
    // fixed in pixels: a desktop theme's large fonts, for all widgets and for
    // buttons in particular, change no text in a box.
    void boxes_data() {
        QTest::addColumn<bool>("help");  // else the author box
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("help") << true << Text(form::kHelpTitle) << Text(form::kHelpText);
        QTest::newRow("author") << false << Text(form::kAuthorTitle) << Text(form::kAuthorText);
    }
    void boxes() {
        QFETCH(bool, help);
        QFETCH(QString, title);
        QFETCH(QString, text);
        // Back to the desktop font for the other tests; it also drops the
        // buttons' own font.
        const auto restore =
            qScopeGuard([desktop = QApplication::font()] { QApplication::setFont(desktop); });
        const QFont large(QStringLiteral("Sans"), 14);
        QApplication::setFont(large);
        QApplication::setFont(large, "QPushButton");
        const QFont dialog = formqt::Font(form::kDialogFont);
        auto hasDialogFont = [&](const QWidget* widget) {
            return widget->font().pixelSize() == dialog.pixelSize() &&
                   widget->font().family() == dialog.family();
        };
        QVERIFY(WithModalBox(
            [this, help] { help ? window->OnHelp() : window->OnAuthor(); },
            [&](QMessageBox* box) {
                QCOMPARE(box->windowTitle(), title);
                QCOMPARE(box->icon(), QMessageBox::Information);
                QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
                QVERIFY(hasDialogFont(box->button(QMessageBox::Ok)));
                for (const QWidget* label : box->findChildren<QLabel*>())
                    QVERIFY(hasDialogFont(label));
                QCOMPARE(box->text(), text);
                auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                QVERIFY(label);
                QCOMPARE(CountInkBands(label->grab().toImage()), LineCount(text));
            }));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void keysPressTheFocusedButton_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Enter") << Qt::Key_Return << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void keysPressTheFocusedButton() {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        auto* button = child<QPushButton>("newGameButton");
        QSignalSpy pressed(button, &QPushButton::clicked);
        QTest::keyClick(button, key, modifiers);
        QCOMPARE(pressed.count(), 1);
        QVERIFY(!Cell(0)->picture().isNull());  // a game was dealt
    }

    void pressOutsideThenReleaseIsNoClick() {
        QSignalSpy clicks(Cell(6), &ImageBox::clicked);
        QTest::mousePress(Cell(6), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(Cell(6), Qt::LeftButton, {}, QPoint(200, 10));
        QCOMPARE(clicks.count(), 0);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
