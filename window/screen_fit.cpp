#include "screen_fit.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <cmath>

#include "form_qt.h"

namespace {

constexpr qreal kScaleStep = 0.25;
// Room for a window manager's title bar and borders, in device pixels: they
// do not scale with the program.
constexpr QSize kFrameAllowance(8, 40);

// The window's size at scale 1: the client area below a menu bar in the
// form's dialog font.
QSize WindowSize() {
    QMenuBar bar;
    bar.setFont(formqt::Font(tarpo::form::kDialogFont));
    bar.addAction(formqt::Text(tarpo::form::kMenuCaption));
    return formqt::Size(tarpo::form::kClientSize) + QSize(0, bar.sizeHint().height());
}

bool Fits(const QSize& window, qreal scale, const QSize& available) {
    const QSize needed = (QSizeF(window) * scale).toSize() + kFrameAllowance;
    return needed.width() <= available.width() && needed.height() <= available.height();
}

}  // namespace

std::optional<qreal> FittingScaleFactor() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return std::nullopt;
    const qreal ratio = screen->devicePixelRatio();
    const QSize available = (QSizeF(screen->availableGeometry().size()) * ratio).toSize();
    const QSize window = WindowSize();
    if (ratio <= 1 || Fits(window, ratio, available)) return std::nullopt;
    qreal scale = std::ceil(ratio / kScaleStep - 1) * kScaleStep;  // the next step down
    while (scale > 1 && !Fits(window, scale, available)) scale -= kScaleStep;
    scale = std::max<qreal>(scale, 1);
    const QByteArray asked = qgetenv("QT_SCALE_FACTOR");
    return (asked.isEmpty() ? 1.0 : asked.toDouble()) * scale / ratio;
}
