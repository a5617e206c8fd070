#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "display_guard.h"
#include "form1.h"
#include "screen_fit.h"

int main(int argc, char* argv[]) {
    DisplayGuard guard;  // an unreachable display: one line and status 1, not abort()
    std::optional<QApplication> app(std::in_place, argc, argv);
    guard.Disarm();
    if (const std::optional<qreal> factor = FittingScaleFactor()) {
        // Qt takes its scale when it starts: start it again at one that fits.
        app.reset();
        qputenv("QT_SCALE_FACTOR", QByteArray::number(*factor));
        app.emplace(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("tarpo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARPO_VERSION));
    // The desktop entry and the icon the desktop shows for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarpo.Tarpo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarpo.png")));

    PictureStores pictures;
    try {
        pictures = LoadPictureStores();
    } catch (const PictureError& error) {
        // Only a broken build gets here: report it rather than show blank tiles.
        std::fprintf(stderr, "tarpo: %s\n", error.what());
        QMessageBox::critical(nullptr, QStringLiteral("tarpo"), QString::fromUtf8(error.what()));
        return EXIT_FAILURE;
    }

    Form1 window(std::move(pictures));
    window.show();
    return app->exec();
}
