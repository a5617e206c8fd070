// The pictures the program carries and what loading them costs at start-up:
// every one is a plain uncompressed 24-bit BMP, carried uncompressed, so
// nothing is decompressed before decoding, and no image format plugin is
// loaded on the way; a picture that cannot be loaded is named.
#include <QFile>
#include <QImageReader>
#include <QResource>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "bmp_decoder.h"
#include "form.h"
#include "picture_sets.h"

namespace form = tarpo::form;

namespace {

quint32 U32(const uchar* at) { return qFromLittleEndian<quint32>(at); }

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

}  // namespace

class PictureCostTest : public QObject {
    Q_OBJECT

  private slots:
    // Runs first, before anything else in this process could load a plugin.
    void loadingThePicturesLoadsNoImagePlugin() {
        const PictureStores stores = LoadPictureStores();
        QVERIFY(!stores.previews[1].isNull());
        QCOMPARE(LoadedImagePlugins(), QStringList());
        // A BMP file from elsewhere is decoded without asking the plugins either.
        QTemporaryDir dir;
        const QString bmp = dir.filePath(QStringLiteral("piece.bmp"));
        QVERIFY(QFile::copy(PiecePath(0, 3), bmp));
        const QPixmap& piece = stores.pieces[0][3];
        QCOMPARE(LoadPicture(bmp, piece.size()).toImage(), piece.toImage());
        QCOMPARE(LoadedImagePlugins(), QStringList());
    }

    void everyPictureIsAPlainBitmap_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (std::size_t s = 0; s < form::kPictureSets.size(); ++s) {
            const form::PictureSet& set = form::kPictureSets[s];
            const int index = static_cast<int>(s);
            for (int p = 0; p < form::kPieceCount; ++p)
                QTest::addRow("%s_piece%02d", set.folder, p)
                    << PiecePath(index, p) << QSize(form::kPieceSide, form::kPieceSide);
            if (set.hasPreview)
                QTest::addRow("%s_preview", set.folder)
                    << PreviewPath(index)
                    << QSize(form::kPreviewSize.width, form::kPreviewSize.height);
        }
    }
    // Carried uncompressed, the header fields the decoder does not check and
    // the zero padding at the end of each row; the decoder reads it (so it has
    // the plain layout, the only one it takes) as Qt's own BMP reader does.
    void everyPictureIsAPlainBitmap() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QResource resource(path);
        QVERIFY(resource.isValid());
        QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
        const uchar* b = resource.data();
        const quint32 rowBytes = (static_cast<quint32>(size.width()) * 3 + 3) / 4 * 4;
        const quint32 pixelBytes = rowBytes * static_cast<quint32>(size.height());
        QCOMPARE(resource.size(), qint64{54} + pixelBytes);

        // What the decoder does not insist on: the file size, the reserved
        // field, the pixel offset, resolution and colour table left at zero.
        QCOMPARE(U32(b + 2), quint32(resource.size()));
        QCOMPARE(U32(b + 6), 0u);
        QCOMPARE(U32(b + 10), 54u);
        for (int field = 38; field < 54; field += 4) QCOMPARE(U32(b + field), 0u);
        const quint32 used = static_cast<quint32>(size.width()) * 3;
        for (quint32 row = 0; row < static_cast<quint32>(size.height()); ++row)
            for (quint32 i = used; i < rowBytes; ++i)
                QCOMPARE(b[54 + row * rowBytes + i], uchar(0));

        const QImage decoded = DecodeBmp(resource.data(), resource.size());
        QCOMPARE(decoded.size(), size);
        QImageReader reader(path, "bmp");
        reader.setAutoDetectImageFormat(false);
        QCOMPARE(decoded, reader.read().convertToFormat(QImage::Format_RGB32));
    }

    // Anything but the plain layout is refused, never read out of bounds.
    void decoderRefusesOtherLayouts_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");  // written at `offset`; -1: cut the data
        QTest::newRow("magic") << 0 << QByteArray("BN");
        QTest::newRow("header size") << 14 << QByteArray("\x7c", 1);
        QTest::newRow("planes") << 26 << QByteArray("\x02", 1);
        QTest::newRow("32 bits") << 28 << QByteArray("\x20", 1);
        QTest::newRow("compressed") << 30 << QByteArray("\x01", 1);
        QTest::newRow("top-down") << 22 << QByteArray("\xb0\xff\xff\xff", 4);
        QTest::newRow("zero width") << 18 << QByteArray("\0\0\0\0", 4);
        QTest::newRow("huge width") << 18 << QByteArray("\x00\x00\x01\x00", 4);
        QTest::newRow("offset inside headers") << 10 << QByteArray("\x20", 1);
        QTest::newRow("offset past the end") << 10 << QByteArray("\x40\x01", 2);
        QTest::newRow("cut short") << -1 << QByteArray();
    }
    void decoderRefusesOtherLayouts() {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        const QResource resource(PiecePath(0, 0));
        QByteArray bmp(reinterpret_cast<const char*>(resource.data()), resource.size());
        QVERIFY(!DecodeBmp(reinterpret_cast<const uchar*>(bmp.constData()), bmp.size()).isNull());
        if (offset < 0)
            bmp.chop(1);
        else
            bmp.replace(offset, bytes.size(), bytes);
        QVERIFY(DecodeBmp(reinterpret_cast<const uchar*>(bmp.constData()), bmp.size()).isNull());
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

QTEST_MAIN(PictureCostTest)
#include "picture_cost_test.moc"
