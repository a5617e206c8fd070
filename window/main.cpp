#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

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
    QApplication app(argc, argv);
    Form1 window(PictureStores{});
    window.show();
    return app.exec();
}
