#include "display_guard.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "form_qt.h"
#include "messages.h"

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

// Qt prints this message for each platform plugin it could not use, after the
// plugin's own reasons.
constexpr QLatin1String kPluginNotLoaded("Could not load the Qt platform plugin \"");
constexpr QLatin1String kPluginNotFound("Could not find the Qt platform plugin");
constexpr QLatin1String kXcbConnectFailed("could not connect to display");
constexpr QLatin1String kAvailablePlugins("Available platform plugins are:");

namespace form = tarpo::form;
using formqt::Text;

// Says what the X platform could not reach, in the user's terms.
QString MissingX() {
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) return Text(form::kNoXDisplay);
    return Text(form::kNoXServer).arg(QString::fromLocal8Bit(display));
}

QString WaylandDisplay() {
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    return QLatin1String(" (") +
           (name.isEmpty() ? Text(form::kNoWaylandDisplay)
                           : Text(form::kWaylandDisplay).arg(QString::fromLocal8Bit(name))) +
           QLatin1Char(')');
}

// Builds the one line that replaces Qt's report of an unusable window system.
// A missing X display is said in plain words. Other failures keep Qt's words,
// plugin by plugin, and list the available plugins when the requested one is
// missing.
QString Explanation(const QString& fatal) {
    QStringList failures;
    QStringList reasons;  // why the current plugin failed
    bool onlyMissingX = true;
    bool pluginMissing = false;
    {
        const std::lock_guard<std::mutex> lock(heldMutex);
        for (const HeldMessage& message : held) {
            if (message.text.startsWith(kPluginNotLoaded)) {
                const QString plugin = message.text.section(QLatin1Char('"'), 1, 1);
                QString failure = plugin + QLatin1String(": ") + reasons.join(QLatin1String(", "));
                if (plugin.startsWith(QLatin1String("wayland"))) failure += WaylandDisplay();
                failures << failure;
                reasons.clear();
            } else if (message.category == "qt.qpa.xcb" &&
                       message.text.startsWith(kXcbConnectFailed)) {
                reasons << MissingX();
            } else if (message.type != QtDebugMsg && message.type != QtInfoMsg) {
                reasons << message.text.trimmed();
                onlyMissingX = false;
                pluginMissing = pluginMissing || message.text.startsWith(kPluginNotFound);
            }
        }
    }
    failures << reasons;
    if (onlyMissingX && failures.size() == 1 && failures.first().startsWith(QLatin1String("xcb: ")))
        return Text(form::kCannotOpenWindow).arg(MissingX());
    if (pluginMissing || failures.isEmpty()) {
        const qsizetype at = fatal.indexOf(kAvailablePlugins);
        failures << (at < 0 ? fatal : fatal.mid(at)).simplified();
    }
    return Text(form::kCannotOpenWindow).arg(failures.join(QLatin1String("; ")));
}

void HoldOrExit(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(Text(form::kProgramName)),
                     qPrintable(Explanation(text)));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);  // Qt is half built: run no destructors
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
