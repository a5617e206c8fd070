#include "fixed_size.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

constexpr Qt::WindowStates kFillStates = Qt::WindowMaximized | Qt::WindowFullScreen;

// How long a compositor may take to answer a maximise request before it is
// taken as refused.
constexpr int kAnswerTimeoutMs = 2000;

// When the window is asked to fill the screen, it lets go of its size bounds
// so that it follows the compositor's size, asks at once to be restored, and
// takes its fixed size again when it is back to normal at that size.
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
        if (watched == widget_ && event->type() == QEvent::Show && !window_) Watch();
        return false;
    }

  private:
    void Watch() {
        window_ = widget_->windowHandle();
        if (!window_) return;
        connect(window_, &QWindow::windowStateChanged, this, &FixedSizeKeeper::StateChanged);
        connect(window_, &QWindow::widthChanged, this, &FixedSizeKeeper::SizeChanged);
        connect(window_, &QWindow::heightChanged, this, &FixedSizeKeeper::SizeChanged);
    }

    bool AtFixedSize() const { return window_->size() == widget_->maximumSize(); }

    void StateChanged(Qt::WindowState state) {
        if (!(state & kFillStates)) {
            SizeChanged();
            return;
        }
        if (!relaxed_ && AtFixedSize()) {
            // Asked for, not yet given: the compositor's answer comes with its
            // own size, which a fixed window could not take.
            relaxed_ = true;
            grown_ = false;
            window_->setMinimumSize(QSize(0, 0));
            window_->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
            answerTimeout_.start();
        }
        // Restore from the event loop, not from inside the state change.
        QMetaObject::invokeMethod(
            this, [this] { window_->setWindowStates(window_->windowStates() & ~kFillStates); },
            Qt::QueuedConnection);
    }

    void SizeChanged() {
        if (!relaxed_) return;
        if (!AtFixedSize()) {
            grown_ = true;
            return;
        }
        if (grown_ && !(window_->windowStates() & kFillStates)) Restore();
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
    bool relaxed_ = false;  // the size bounds are off until the window is back
    bool grown_ = false;    // the compositor's answer has arrived
};

}  // namespace

void KeepFixedSize(QWidget* topLevel) { new FixedSizeKeeper(topLevel); }
