// What loading the pictures costs at start-up: the carried pictures are shown
// from the pixels the program carries (no decoding, no copy), and no image
// format plugin is loaded on the way.
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "carried_pictures.h"
#include "picture_sets.h"

namespace {

// Image format plugins mapped into this process so far.
QStringList LoadedImagePlugins() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return {QStringLiteral("(cannot read /proc/self/maps)")};
    QStringList plugins;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QString path = QString::fromLocal8Bit(line.mid(line.indexOf('/')));
        if (line.contains("/imageformats/") && !plugins.contains(path)) plugins << path;
    }
    return plugins;
}

// A plain 24-bit BMP of `image`, written byte by byte: Qt's own writer would
// load the image format plugins.
bool WriteBmp(const QImage& image, const QString& path) {
    const int stride = (image.width() * 3 + 3) / 4 * 4;
    QByteArray bytes(54 + stride * image.height(), '\0');
    const auto put32 = [&bytes](int at, quint32 value) {
        qToLittleEndian(value, bytes.data() + at);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<quint32>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<quint32>(image.width()));
    put32(22, static_cast<quint32>(image.height()));
    qToLittleEndian<quint16>(1, bytes.data() + 26);
    qToLittleEndian<quint16>(24, bytes.data() + 28);
    for (int y = 0; y < image.height(); ++y) {
        char* row = bytes.data() + 54 + (image.height() - 1 - y) * stride;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            row[3 * x] = static_cast<char>(qBlue(pixel));
            row[3 * x + 1] = static_cast<char>(qGreen(pixel));
            row[3 * x + 2] = static_cast<char>(qRed(pixel));
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class PictureCostTest : public QObject {
    Q_OBJECT

  private slots:
    // Runs first, before anything else in this process could load a plugin.
    void loadingThePicturesLoadsNoImagePlugin() {
        const PictureStores stores = LoadPictureStores();
        QVERIFY(!stores.Image4[kPreviewSlot].isNull());
        QCOMPARE(LoadedImagePlugins(), QStringList());
        // A BMP file from elsewhere is decoded without asking the plugins either.
        QTemporaryDir dir;
        const QString bmp = dir.filePath(QStringLiteral("piece.bmp"));
        const QImage piece = stores.Image1[3].toImage();
        QVERIFY(WriteBmp(piece, bmp));
        QCOMPARE(LoadPicture(bmp, QSize(80, 80)).toImage(), piece);
        QCOMPARE(LoadedImagePlugins(), QStringList());
    }

    void carriedPicturesShareTheCarriedPixels_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("set");
        for (int p = 0; p < kPieceCount; ++p) {
            for (int set : {0, 1}) {
                const QString name =
                    QStringLiteral("%1/piece%2")
                        .arg(set == 0 ? QLatin1String("skull") : QLatin1String("dentist"))
                        .arg(p, 2, 10, QLatin1Char('0'));
                QTest::newRow(qPrintable(name)) << name << p << set;
            }
        }
        QTest::newRow("preview") << QStringLiteral("dentist/preview") << kPreviewSlot << 1;
    }
    void carriedPicturesShareTheCarriedPixels() {
        QFETCH(QString, name);
        QFETCH(int, slot);
        QFETCH(int, set);
        PictureStores stores = LoadPictureStores();
        StartUpJoin(stores);
        const QPixmap& picture = set == 0 ? stores.Image1[static_cast<std::size_t>(slot)]
                                          : stores.Image4[static_cast<std::size_t>(slot)];
        const CarriedPicture* carried = nullptr;
        for (std::size_t i = 0; i < kCarriedPictureCount; ++i)
            if (name == QLatin1String(kCarriedPictures[i].name)) carried = &kCarriedPictures[i];
        QVERIFY(carried != nullptr);
        // The pixmap shows the carried array itself, not a copy of it.
        const QImage shown = picture.toImage();
        QCOMPARE(static_cast<const void*>(shown.constBits()),
                 static_cast<const void*>(carried->pixels));
        QCOMPARE(shown.format(), QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(carried->width, carried->height));
    }

    // A picture that is not carried, or not of the size asked for, is
    // reported by name, like a broken BMP.
    void missingOrMisSizedPictureIsReportedByName() {
        const std::pair<QString, QSize> cases[] = {{QStringLiteral("skull/piece99"), {80, 80}},
                                                   {QStringLiteral("dentist/preview"), {80, 80}}};
        for (const auto& [name, size] : cases) {
            try {
                CarriedPixmap(name, size);
                QFAIL("no error");
            } catch (const PictureError& error) {
                QVERIFY2(QString::fromUtf8(error.what()).contains(name), error.what());
            }
        }
    }
};

QTEST_MAIN(PictureCostTest)
#include "picture_cost_test.moc"
