// The picture sets through the real window, offscreen, with the pictures the
// program carries: what a new game loads and deals, and the finished picture.
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "form1.h"
#include "image_box.h"
#include "shown_window.h"
#include "solver.h"

namespace {

constexpr QRect kPictureRect(8, 8, 320, 320);
constexpr QRect kPreviewRect(344, 120, 62, 72);

QPoint CellOrigin(int i) { return QPoint(8 + 80 * (i % 4), 8 + 80 * (i / 4)); }

// The whole 320x320 picture of a set, put together from its piece files.
QImage WholePicture(const char* set) {
    QImage whole(320, 320, QImage::Format_RGB32);
    QPainter painter(&whole);
    for (int p = 0; p < 16; ++p) {
        const QImage piece(QStringLiteral(":/assets/%1/piece%2.bmp")
                               .arg(QLatin1String(set))
                               .arg(p, 2, 10, QLatin1Char('0')));
        painter.drawImage(80 * (p % 4), 80 * (p / 4), piece);
    }
    return whole;
}

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

}  // namespace

class PictureTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Form1> window;
    tarpo::Int16 nextLayout = 0;

    QListWidget* list() const { return window->findChild<QListWidget*>(QStringLiteral("List1")); }
    ImageBox* demo() const { return window->findChild<ImageBox*>(QStringLiteral("demo")); }
    QImage Shot() const { return window->centralWidget()->grab().toImage(); }
    const QPixmap& SetPiece(int set, int p) const {
        const PictureStores& stores = window->pictureStores();
        return set == 0 ? stores.Image1[static_cast<std::size_t>(p)]
                        : stores.Image4[static_cast<std::size_t>(p)];
    }
    void NewGame(int set, tarpo::Int16 layout) {
        list()->setCurrentRow(set);
        nextLayout = layout;
        window->Command1_Click();
    }
    void Click(int cell) {
        QTest::mouseClick(window->cell(cell), Qt::LeftButton, {}, QPoint(40, 40));
    }
    void SolveByClicks() {
        const auto clicks = tarpo::testing::SolveByClicks(window->puzzle().board());
        QVERIFY(clicks.has_value());
        for (tarpo::Int16 cell : *clicks) Click(cell);
        QVERIFY(window->puzzle().board().IsSolved());
    }

  private slots:
    void init() {
        nextLayout = 0;
        window = ShowWindow(LoadPictureStores(), nextLayout);
        QVERIFY(window);
    }
    void cleanup() { window.reset(); }

    void startUpCompletesSetZeroAndLoadsNothing() {
        const PictureStores& stores = window->pictureStores();
        QCOMPARE(stores.Image1[15].cacheKey(), stores.Image2.cacheKey());
        for (int p = 0; p < 16; ++p) {
            QVERIFY(!stores.Image1[static_cast<std::size_t>(p)].isNull());
            QVERIFY(window->workingStore()[static_cast<std::size_t>(p)].isNull());
            QVERIFY(window->cell(p)->picture().isNull());
        }
        QCOMPARE(stores.Image4[16].size(), QSize(62, 72));
        QVERIFY(demo()->picture().isNull());
    }

    void newGameDealsTheChosenSet_data() {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("layout");
        for (int set : {0, 1})
            for (int layout : {0, 3})
                QTest::addRow("set %d layout %d", set, layout) << set << layout;
    }
    void newGameDealsTheChosenSet() {
        QFETCH(int, set);
        QFETCH(int, layout);
        NewGame(set, static_cast<tarpo::Int16>(layout));
        const QImage shot = Shot();

        for (int p = 0; p < 16; ++p)
            QCOMPARE(window->workingStore()[static_cast<std::size_t>(p)].cacheKey(),
                     SetPiece(set, p).cacheKey());
        for (int i = 0; i < 15; ++i) {
            const tarpo::Int16 tile =
                tarpo::LayoutTile(static_cast<tarpo::Int16>(layout), static_cast<tarpo::Int16>(i));
            QCOMPARE(window->cell(i)->picture().cacheKey(), SetPiece(set, tile - 1).cacheKey());
            QVERIFY(window->cell(i)->isFramed());
            // On screen, 2 px inside the frame, away from the strip the
            // neighbours overlap.
            const QImage expected = Rgb32(SetPiece(set, tile - 1).toImage()).copy(0, 0, 78, 78);
            QCOMPARE(Rgb32(shot.copy(QRect(CellOrigin(i) + QPoint(2, 2), QSize(78, 78)))),
                     expected);
        }
        QVERIFY(window->cell(15)->picture().isNull());
        QVERIFY(window->cell(15)->isFramed());

        if (set == 0) {
            QVERIFY(demo()->picture().isNull());
            const QColor background = window->palette().color(QPalette::Window);
            QCOMPARE(shot.pixelColor(kPreviewRect.topLeft()), background);
            QCOMPARE(shot.pixelColor(kPreviewRect.bottomRight()), background);
        } else {
            QCOMPARE(demo()->picture().cacheKey(), window->pictureStores().Image4[16].cacheKey());
            QCOMPARE(Rgb32(shot.copy(kPreviewRect)),
                     Rgb32(window->pictureStores().Image4[16].toImage()));
        }
    }

    void wholeGameEndsInTheWholePicture_data() {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("layout");
        for (int set : {0, 1})
            for (int layout = 0; layout < 5; ++layout)
                QTest::addRow("set %d layout %d", set, layout) << set << layout;
    }
    void wholeGameEndsInTheWholePicture() {
        QFETCH(int, set);
        QFETCH(int, layout);
        NewGame(set, static_cast<tarpo::Int16>(layout));
        SolveByClicks();
        QVERIFY(window->cell(15)->picture().isNull());  // the solving slide shows only itself
        QVERIFY(window->cell(15)->isFramed());

        Click((layout * 7) % 16);  // any cell
        const QImage shot = Shot();
        QCOMPARE(Rgb32(shot.copy(kPictureRect)), WholePicture(set == 0 ? "skull" : "dentist"));
        const QColor background = window->palette().color(QPalette::Window);
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(window->cell(i)->geometry(), QRect(CellOrigin(i), QSize(80, 80)));
            QVERIFY(!window->cell(i)->isFramed());
        }
        // No frame pixel is left around the picture.
        for (int t = 0; t < 336; ++t) {
            QCOMPARE(shot.pixelColor(7, t), background);
            QCOMPARE(shot.pixelColor(t, 7), background);
            QCOMPARE(shot.pixelColor(328, t), background);
            QCOMPARE(shot.pixelColor(t, 328), background);
        }
    }

    void listChangeAloneChangesNothingUntilTheNextGame() {
        NewGame(0, 1);
        const QImage before = Shot();
        list()->setCurrentRow(1);
        QCOMPARE(Shot().copy(kPictureRect), before.copy(kPictureRect));
        QCOMPARE(Shot().copy(kPreviewRect), before.copy(kPreviewRect));

        // The game in progress still ends in the skull, completion piece included.
        SolveByClicks();
        Click(0);
        QCOMPARE(window->cell(15)->picture().cacheKey(), window->pictureStores().Image2.cacheKey());
        QVERIFY(demo()->picture().isNull());

        // The next game deals the dentist, every tile and the completion piece.
        nextLayout = 2;
        window->Command1_Click();
        for (int p = 0; p < 16; ++p)
            QCOMPARE(window->workingStore()[static_cast<std::size_t>(p)].cacheKey(),
                     SetPiece(1, p).cacheKey());
        QCOMPARE(demo()->picture().cacheKey(), window->pictureStores().Image4[16].cacheKey());

        // And back: the preview disappears again.
        NewGame(0, 4);
        QVERIFY(demo()->picture().isNull());
        QCOMPARE(window->cell(0)->picture().cacheKey(), SetPiece(0, 6).cacheKey());  // tile 7
    }

    void repeatedGamesKeepTheStores() {
        NewGame(1, 0);
        std::array<qint64, 16> keys{};
        for (int p = 0; p < 16; ++p)
            keys[static_cast<std::size_t>(p)] =
                window->workingStore()[static_cast<std::size_t>(p)].cacheKey();
        const qint64 preview = demo()->picture().cacheKey();
        NewGame(1, 2);
        for (int p = 0; p < 16; ++p)
            QCOMPARE(window->workingStore()[static_cast<std::size_t>(p)].cacheKey(),
                     keys[static_cast<std::size_t>(p)]);
        QCOMPARE(demo()->picture().cacheKey(), preview);
    }

    void brokenPictureIsReportedByName() {
        QTemporaryDir dir;
        const QString small = dir.filePath(QStringLiteral("small.bmp"));
        QImage(10, 10, QImage::Format_RGB888).save(small, "BMP");
        const QString missing = dir.filePath(QStringLiteral("missing.bmp"));
        for (const QString& path : {small, missing}) {
            try {
                LoadPicture(path, QSize(80, 80));
                QFAIL("no error");
            } catch (const PictureError& error) {
                QVERIFY2(QString::fromUtf8(error.what()).contains(path), error.what());
            }
        }
        QCOMPARE(LoadPicture(QStringLiteral(":/assets/skull/piece00.bmp"), QSize(80, 80)).size(),
                 QSize(80, 80));
    }
};

QTEST_MAIN(PictureTest)
#include "picture_test.moc"
