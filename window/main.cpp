#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "display_guard.h"
#include "form1.h"

namespace {

// Qt aborts when it cannot reach a display; say so in one line instead.
bool DisplayAvailable() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return true;  // the user chose
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayAvailable()) {
        std::fputs("tarpo: no display to open the window on (DISPLAY is not set)\n", stderr);
        return EXIT_FAILURE;
    }
    DisplayGuard guard;  // an unreachable display: one line and status 1, not abort()
    QApplication app(argc, argv);
    guard.Disarm();
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
    return app.exec();
}
