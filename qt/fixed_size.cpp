#include "fixed_size.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

constexpr Qt::WindowStates kFillStates = Qt::WindowMaximized | Qt::WindowFullScreen;

// How long to wait for a compositor to answer a maximise request before
// taking it as refused.
constexpr int kAnswerTimeoutMs = 2000;

// When the window is asked to fill the screen, it drops its size bounds so
// that it can take the compositor's size, asks at once to be restored, and
// sets its fixed size again once it is back in the normal state.
//
// A Wayland compositor may also maximise a window or make it full screen by a
// shortcut of its own. The first the window hears of it is a configure event
// with the new size, which the window must take at once, but Qt clamps a
// configure to the window's size bounds. So under Wayland the window has no
// size bounds at all: it takes whatever size the compositor gives, shows the
// form at its fixed size in the top-left corner, asks to be restored, and
// returns to the fixed size by itself in the normal state.
class FixedSizeKeeper : public QObject {
  public:
    explicit FixedSizeKeeper(QWidget* topLevel) : QObject(topLevel), widget_(topLevel) {
        widget_->installEventFilter(this);
        answerTimeout_.setSingleShot(true);
        answerTimeout_.setInterval(kAnswerTimeoutMs);
        connect(&answerTimeout_, &QTimer::timeout, this, [this] {
            if (!grown_) Restore();  // the compositor ignored the request
        });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != widget_) return false;
        if (event->type() == QEvent::Show && !window_) Watch();
        if (!unbounded_ ||
            (event->type() != QEvent::Show && event->type() != QEvent::LayoutRequest))
            return false;
        // A fixed-size widget sets its bounds again when it is shown or laid
        // out (a message box sizes itself then). Let it, then remove them.
        static_cast<QObject*>(widget_)->event(event);
        Unbind();
        return true;
    }

  private:
    void Watch() {
        window_ = widget_->windowHandle();
        if (!window_) return;
        unbounded_ = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
        connect(window_, &QWindow::windowStateChanged, this, &FixedSizeKeeper::StateChanged);
        connect(window_, &QWindow::widthChanged, this, &FixedSizeKeeper::SizeChanged);
        connect(window_, &QWindow::heightChanged, this, &FixedSizeKeeper::SizeChanged);
    }

    QSize FixedSize() const { return widget_->maximumSize(); }
    bool AtFixedSize() const { return window_->size() == FixedSize(); }
    bool Filling() const { return window_->windowStates() & kFillStates; }

    void Unbind() {
        window_->setMinimumSize(QSize(0, 0));
        window_->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    }

    void StateChanged(Qt::WindowState state) {
        if (!(state & kFillStates)) {
            SizeChanged();
            return;
        }
        if (unbounded_) {
            // Until the compositor restores the normal state, it chooses the
            // size.
            restoring_ = true;
        } else if (!relaxed_ && AtFixedSize()) {
            // Requested but not yet granted. The compositor's answer carries a
            // size of its own, which a fixed window could not take.
            relaxed_ = true;
            grown_ = false;
            Unbind();
            answerTimeout_.start();
        }
        // Restore from the event loop, not from inside the state change.
        QMetaObject::invokeMethod(
            this, [this] { window_->setWindowStates(window_->windowStates() & ~kFillStates); },
            Qt::QueuedConnection);
    }

    void SizeChanged() {
        if (unbounded_) {
            if (AtFixedSize()) {
                restoring_ = false;
            } else if (!restoring_ && !Filling()) {
                // Normal state at a size the compositor chose (a tiling layout,
                // a drag on the border): go back to the fixed size.
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (!restoring_ && !Filling()) window_->resize(FixedSize());
                    },
                    Qt::QueuedConnection);
            }
            return;
        }
        if (!relaxed_) return;
        if (!AtFixedSize()) {
            grown_ = true;
            return;
        }
        if (grown_ && !Filling()) Restore();
    }

    void Restore() {
        relaxed_ = false;
        grown_ = false;
        answerTimeout_.stop();
        window_->setMinimumSize(widget_->minimumSize());
        window_->setMaximumSize(widget_->maximumSize());
    }

    QWidget* widget_;
    QWindow* window_ = nullptr;
    QTimer answerTimeout_;
    bool unbounded_ = false;  // Wayland: never set size bounds
    bool restoring_ = false;  // asked to be restored, not yet back
    bool relaxed_ = false;    // size bounds are off until the window is back
    bool grown_ = false;      // the compositor has answered
};

}  // namespace

void KeepFixedSize(QWidget* topLevel) { new FixedSizeKeeper(topLevel); }
