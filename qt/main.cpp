#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "display_guard.h"
#include "form_qt.h"
#include "main_window.h"
#include "messages.h"
#include "screen_fit.h"

int main(int argc, char* argv[]) {
    DisplayGuard guard;  // no usable display: one line and status 1, not abort()
    std::optional<QApplication> app(std::in_place, argc, argv);
    guard.Disarm();
    if (const std::optional<qreal> factor = FittingScaleFactor()) {
        // Qt fixes its scale at start-up, so restart it at a scale that fits.
        app.reset();
        qputenv("QT_SCALE_FACTOR", QByteArray::number(*factor));
        app.emplace(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("tarpo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARPO_VERSION));
    // The desktop entry and icon let the desktop show the window's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarpo.Tarpo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarpo.png")));

    PictureStores pictures;
    try {
        pictures = LoadPictureStores();
    } catch (const PictureError& error) {
        // Only a broken build gets here. Report it rather than show blank tiles.
        const QString name = formqt::Text(tarpo::form::kProgramName);
        const QString text = QString::fromUtf8(error.what());
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(text));
        QMessageBox::critical(nullptr, name, text);
        return EXIT_FAILURE;
    }

    MainWindow window(std::move(pictures));
    window.show();
    return app->exec();
}
