#include "board_cell.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <utility>

#include "form.h"

namespace {

// The focus ring, inside the cell's frame: a line of the highlight colour
// and, within it, a white one, so it shows on dark and light pieces.
constexpr int kRingGap = tarpo::form::kCellFocusRing.gap;
constexpr int kRingWidth = tarpo::form::kCellFocusRing.width;
constexpr int kRingLining = tarpo::form::kCellFocusRing.lining;

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
    const int inset = (isFramed() ? tarpo::form::kFrameWidth : 0) + kRingGap;
    const QRect ring = rect().adjusted(inset, inset, -inset, -inset);
    const QRect lining = ring.adjusted(kRingWidth, kRingWidth, -kRingWidth, -kRingWidth);
    const QRect inside = lining.adjusted(kRingLining, kRingLining, -kRingLining, -kRingLining);
    painter.setClipRegion(QRegion(ring).subtracted(QRegion(lining)));
    painter.fillRect(ring, palette().highlight());
    painter.setClipRegion(QRegion(lining).subtracted(QRegion(inside)));
    painter.fillRect(lining, Qt::white);
}

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(0, 0);  // nothing to paint, ever
    hide();
}

// Shown afresh for each new text, so that the screen reader presents it; the
// same text again while it shows is said only once.
void Announcement::say(const QString& text) {
    if (isVisible() && accessibleName() == text) return;
    hide();
    setAccessibleName(text);
    show();
}

void InstallAccessibleRoles() { QAccessible::installFactory(AccessibleFor); }
