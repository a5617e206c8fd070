#include "display_guard.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

std::mutex heldMutex;
std::vector<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;

// The one line that replaces Qt's report of a window system it could not reach.
QByteArray Explanation(const QString& fatal) {
    const QByteArray display = qgetenv("DISPLAY");
    bool connectFailed = false;
    {
        const std::lock_guard<std::mutex> lock(heldMutex);
        for (const HeldMessage& message : held) {
            // The xcb plugin says "could not connect to display <name>" first.
            if (message.category == "qt.qpa.xcb" &&
                message.text.startsWith(QLatin1String("could not connect to display")))
                connectFailed = true;
        }
    }
    if (connectFailed && display.isEmpty())
        return "cannot open the window: no X display to connect to (DISPLAY is not set)";
    if (connectFailed)
        return "cannot open the window: no X server answers at display \"" + display + '"';
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    return "cannot open the window: the window system" +
           (platform.isEmpty() ? QByteArray() : " (platform \"" + platform + "\")") +
           " could not be used: " + fatal.section(QLatin1Char('\n'), 0, 0).toLocal8Bit();
}

void HoldOrExit(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "tarpo: %s\n", Explanation(text).constData());
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);  // half-built Qt state: run no destructors
    }
    const std::lock_guard<std::mutex> lock(heldMutex);
    held.push_back({type, QByteArray(context.file), context.line, QByteArray(context.function),
                    QByteArray(context.category), text});
}

}  // namespace

DisplayGuard::DisplayGuard() { previousHandler = qInstallMessageHandler(HoldOrExit); }

DisplayGuard::~DisplayGuard() { Disarm(); }

void DisplayGuard::Disarm() {
    if (!armed_) return;
    armed_ = false;
    qInstallMessageHandler(previousHandler);
    std::vector<HeldMessage> messages;
    {
        const std::lock_guard<std::mutex> lock(heldMutex);
        messages.swap(held);
    }
    for (const HeldMessage& message : messages) {
        const QMessageLogContext context(
            message.file.isEmpty() ? nullptr : message.file.constData(), message.line,
            message.function.isEmpty() ? nullptr : message.function.constData(),
            message.category.constData());
        previousHandler(message.type, context, message.text);
    }
}
