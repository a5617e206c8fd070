// The picture sets through the real window, offscreen, with the pictures the
// program carries: what a new game loads and deals, and the finished picture.
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "shown_window.h"
#include "solver.h"

namespace form = tarpo::form;

namespace {

// The finished picture: four pieces a side, from cell 0's origin.
constexpr int kSide = 4 * form::kPieceSide;
const QRect kPictureRect(CellOrigin(0), QSize(kSide, kSide));
const QRect kPreviewRect(formqt::Rect(form::kPreviewRect).topLeft(),
                         formqt::Size(form::kPreviewSize));

// The whole picture of a set, put together from its piece files: piece p at
// row p / 4, column p % 4 of the picture.
QImage WholePicture(int set) {
    QImage whole(kSide, kSide, QImage::Format_RGB32);
    QPainter painter(&whole);
    for (int p = 0; p < form::kPieceCount; ++p)
        painter.drawImage(form::kPieceSide * (p % 4), form::kPieceSide * (p / 4),
                          QImage(PiecePath(set, p)));
    return whole;
}

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

}  // namespace

class PictureTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainWindow> window;
    Deals deals;

    ImageBox* preview() const { return window->findChild<ImageBox*>(QStringLiteral("preview")); }
    ImageBox* Cell(int i) const { return CellOf(*window, i); }
    const QPixmap& SetPiece(int set, int p) const { return window->pictures()[{set, p}]; }
    const QPixmap& Preview() const { return window->pictures().previews[1]; }
    void NewGame(int set, int layout) { deals.NewGame(*window, set, layout); }
    void SolveByClicks() {
        const auto clicks = tarpo::testing::SolveByClicks(ShownBoard(*window));
        QVERIFY(clicks.has_value());
        for (int cell : *clicks) ClickCell(*window, cell);
        QVERIFY(ShownBoard(*window).IsSolved());
    }

  private slots:
    void initTestCase() { IgnoreOffscreenSizeHintWarning(); }
    void init() {
        deals = Deals();
        window = ShowWindow(LoadPictureStores());
        QVERIFY(window);
    }
    void cleanup() { window.reset(); }

    void wholeGameEndsInTheWholePicture_data() { AddSetAndLayoutRows(); }
    void wholeGameEndsInTheWholePicture() {
        QFETCH(int, set);
        QFETCH(int, layout);
        NewGame(set, layout);
        SolveByClicks();
        QVERIFY(Cell(15)->picture().isNull());  // the solving slide shows only itself
        QVERIFY(Cell(15)->isFramed());

        ClickCell(*window, (layout * 7) % 16);  // any cell
        const QImage shot = Shot(*window);
        QCOMPARE(Rgb32(shot.copy(kPictureRect)), WholePicture(set));
        // No frame pixel is left around the picture.
        const QColor background = window->palette().color(QPalette::Window);
        const QRect around = kPictureRect.adjusted(-1, -1, 1, 1);
        for (int t = around.top(); t <= around.bottom(); ++t) {
            QCOMPARE(shot.pixelColor(around.left(), t), background);
            QCOMPARE(shot.pixelColor(t, around.top()), background);
            QCOMPARE(shot.pixelColor(around.right(), t), background);
            QCOMPARE(shot.pixelColor(t, around.bottom()), background);
        }
    }

    void listChangeAloneChangesNothingUntilTheNextGame() {
        NewGame(0, 1);
        const QImage before = Shot(*window);
        ListOf(*window)->setCurrentRow(1);
        QCOMPARE(Shot(*window).copy(kPictureRect), before.copy(kPictureRect));
        QCOMPARE(Shot(*window).copy(kPreviewRect), before.copy(kPreviewRect));

        // The game in progress still ends in the skull, completion piece included.
        SolveByClicks();
        ClickCell(*window, 0);
        QCOMPARE(Rgb32(Shot(*window).copy(kPictureRect)), WholePicture(0));
        QVERIFY(preview()->picture().isNull());

        // The next game deals the dentist, every tile and the completion piece.
        deals.NewGame(*window, 1, deals.Next());
        SolveByClicks();
        ClickCell(*window, 0);
        QCOMPARE(Rgb32(Shot(*window).copy(kPictureRect)), WholePicture(1));
        QCOMPARE(preview()->picture().cacheKey(), Preview().cacheKey());
        QCOMPARE(Rgb32(Shot(*window).copy(kPreviewRect)), Rgb32(Preview().toImage()));

        // And back: the preview disappears again, leaving the background.
        NewGame(0, 4);
        QVERIFY(preview()->picture().isNull());
        QCOMPARE(Shot(*window).copy(kPreviewRect), before.copy(kPreviewRect));
        QCOMPARE(Cell(0)->picture().cacheKey(), SetPiece(0, 6).cacheKey());  // tile 7
    }

    void brokenPictureIsReportedByName() {
        QTemporaryDir dir;
        const QString small = dir.filePath(QStringLiteral("small.bmp"));
        QImage(10, 10, QImage::Format_RGB888).save(small, "BMP");
        const QString missing = dir.filePath(QStringLiteral("missing.bmp"));
        for (const QString& path : {small, missing}) {
            try {
                LoadPicture(path, QSize(form::kPieceSide, form::kPieceSide));
                QFAIL("no error");
            } catch (const PictureError& error) {
                QVERIFY2(QString::fromUtf8(error.what()).contains(path), error.what());
            }
        }
    }
};

QTEST_MAIN(PictureTest)
#include "picture_test.moc"
