#include "board_cell.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <utility>

#include "device_box.h"
#include "device_grid.h"
#include "form_qt.h"

namespace {

namespace form = tarpo::form;

std::optional<tarpo::Key> KeyOf(int key) {
    switch (key) {
        case Qt::Key_Up:
            return tarpo::Key::Up;
        case Qt::Key_Down:
            return tarpo::Key::Down;
        case Qt::Key_Left:
            return tarpo::Key::Left;
        case Qt::Key_Right:
            return tarpo::Key::Right;
        case Qt::Key_Home:
            return tarpo::Key::Home;
        case Qt::Key_End:
            return tarpo::Key::End;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return tarpo::Key::Enter;
        case Qt::Key_Space:
            return tarpo::Key::Space;
        default:
            return std::nullopt;
    }
}

// A band `x` device pixels wide on the left and right and `y` high on the top
// and bottom, along the inside of `edge`.
void FillBand(QPainter& painter, const QRect& edge, int x, int y, const QColor& colour) {
    painter.fillRect(edge.left(), edge.top(), edge.width(), y, colour);
    painter.fillRect(edge.left(), edge.bottom() + 1 - y, edge.width(), y, colour);
    painter.fillRect(edge.left(), edge.top() + y, x, edge.height() - 2 * y, colour);
    painter.fillRect(edge.right() + 1 - x, edge.top() + y, x, edge.height() - 2 * y, colour);
}

// The form's focus ring in whole device pixels, its edges where the form puts
// them in the window, so that no neighbour covers any of it.
void DrawFocusRing(QPainter& painter, QSize size, bool framed) {
    const DeviceBox place = PlaceOnDeviceGrid(painter, size);
    const form::DeviceFocusRing ring =
        form::CellFocusRing({place.place.x(), place.place.y(), size.width(), size.height()}, framed,
                            static_cast<double>(place.ratio));
    painter.setWorldTransform(place.InDevicePixels());
    const QRect outer = formqt::Rect(ring.outer).translated(-place.device.left, -place.device.top);
    const QRect inner = outer.adjusted(ring.bandX, ring.bandY, -ring.bandX, -ring.bandY);
    FillBand(painter, outer, ring.bandX, ring.bandY, formqt::Colour(form::kCellFocusRing.outer));
    FillBand(painter, inner, ring.bandX, ring.bandY, formqt::Colour(form::kCellFocusRing.inner));
}

class BoardCellAccessible : public QAccessibleWidget {
  public:
    explicit BoardCellAccessible(BoardCell* cell) : QAccessibleWidget(cell, QAccessible::Button) {}

    // Every cell can take the focus, by the arrow keys, not only the Tab stop.
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = true;
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            emit static_cast<BoardCell*>(widget())->activated();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }
};

QAccessibleInterface* AccessibleFor(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return nullptr;
    if (className == QLatin1String("BoardCell"))
        return new BoardCellAccessible(static_cast<BoardCell*>(widget));
    if (className == QLatin1String("ImageBox"))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (className == QLatin1String("Announcement"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

}  // namespace

BoardCell::BoardCell(QWidget* parent) : ImageBox(parent) { setFocusPolicy(Qt::NoFocus); }

void BoardCell::setTabStop(bool stop) { setFocusPolicy(stop ? Qt::TabFocus : Qt::NoFocus); }

void BoardCell::setKeyHandler(std::function<bool(const tarpo::KeyPress&)> handler) {
    keyHandler_ = std::move(handler);
}

void BoardCell::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers held = event->modifiers();
    const std::optional<tarpo::Key> key = KeyOf(event->key());
    if (!key || !keyHandler_ ||
        !keyHandler_({.key = *key,
                      .ctrl = held.testFlag(Qt::ControlModifier),
                      .shift = held.testFlag(Qt::ShiftModifier),
                      .alt = held.testFlag(Qt::AltModifier) || held.testFlag(Qt::MetaModifier),
                      .repeat = event->isAutoRepeat()}))
        ImageBox::keyPressEvent(event);
}

void BoardCell::paintEvent(QPaintEvent* event) {
    ImageBox::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    DrawFocusRing(painter, size(), isFramed());
}

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(0, 0);  // nothing to paint, ever
    hide();
}

void Announcement::say(const QString& text) {
    QMetaObject::invokeMethod(
        this, [this, text] { sayNow(text); }, Qt::QueuedConnection);
}

// Shown afresh for each new text, so that the screen reader presents it; the
// same text again while it shows is said only once.
void Announcement::sayNow(const QString& text) {
    if (isVisible() && accessibleName() == text) return;
    hide();
    setAccessibleName(text);
    show();
}

void InstallAccessibleRoles() { QAccessible::installFactory(AccessibleFor); }
