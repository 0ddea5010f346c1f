#include "startup/DisplayConnection.h"

#include <QList>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace quoteshow {
namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler g_previousHandler = nullptr;
QList<HeldMessage> g_heldMessages;

[[noreturn]] void ExitWithoutDisplay(const QString &reason)
{
    std::fprintf(stderr, "quoteshow: cannot open a display: %s\n", qPrintable(reason));
    std::fflush(stderr);
    std::_Exit(1);
}

// Qt reports a missing display as warnings followed by a fatal message; the
// warnings name the real cause, so they are held back and become the reason.
void HoldMessagesWhileConnecting(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        QStringList reasons;
        for (const HeldMessage &held : std::as_const(g_heldMessages))
            reasons.append(held.text);
        reasons.append(message.section(u'\n', 0, 0));
        ExitWithoutDisplay(reasons.join(QStringLiteral("; ")));
    }
    g_heldMessages.append({type, QByteArray(context.category), message});
}

bool PlatformNeedsDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    return platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
}

} // namespace

std::unique_ptr<QApplication> OpenDisplay(char *programName)
{
    if (PlatformNeedsDisplay() && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        ExitWithoutDisplay(QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set"));

    // QApplication keeps referring to these for its whole life.
    static int qtArgc = 1;
    static char *qtArgv[2] = {nullptr, nullptr};
    qtArgv[0] = programName;
    g_previousHandler = qInstallMessageHandler(HoldMessagesWhileConnecting);
    auto application = std::make_unique<QApplication>(qtArgc, qtArgv);
    qInstallMessageHandler(g_previousHandler);
    // Connected after all: what Qt said on the way is passed on unchanged.
    for (const HeldMessage &held : std::as_const(g_heldMessages)) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        if (g_previousHandler)
            g_previousHandler(held.type, context, held.text);
    }
    g_heldMessages.clear();
    return application;
}

} // namespace quoteshow
