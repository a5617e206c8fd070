#include "screen_fit.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include "device_grid.h"
#include "form_qt.h"

namespace {

// Room for a window manager's title bar and borders, in device pixels. They do
// not scale with the program.
constexpr QSize kFrameAllowance(8, 40);

// The window's size at scale 1: the client area plus a menu bar in the form's
// dialog font.
QSize WindowSize() {
    QMenuBar bar;
    bar.setFont(formqt::Font(tarpo::form::kDialogFont));
    bar.addAction(formqt::Text(tarpo::form::kMenuCaption));
    return formqt::Size(tarpo::form::kClientSize) + QSize(0, bar.sizeHint().height());
}

}  // namespace

std::optional<qreal> FittingScaleFactor() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return std::nullopt;
    const qreal ratio = screen->devicePixelRatio();
    const QSize available = (QSizeF(screen->availableGeometry().size()) * ratio).toSize();
    const QSize window = WindowSize();
    const auto fits = [&](double scale) {
        const QSize needed = (QSizeF(window) * scale).toSize() + kFrameAllowance;
        return needed.width() <= available.width() && needed.height() <= available.height();
    };
    const double scale = tarpo::form::FittingScale(ratio, fits);
    if (scale == ratio) return std::nullopt;
    const QByteArray asked = qgetenv("QT_SCALE_FACTOR");
    return (asked.isEmpty() ? 1.0 : asked.toDouble()) * scale / ratio;
}
