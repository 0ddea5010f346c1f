#include "startup/ApplicationIdentity.h"

#include "resources/ProgramIcon.h"

#include <QApplication>
#include <QScreen>

namespace quoteshow {

void SetApplicationIdentity()
{
    // On Wayland through the app id, on X11 through WM_CLASS, which Qt takes
    // from the application name. No display name is set: Qt would append it
    // to the window title, which must stay exactly as the program builds it.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUOTESHOW_APP_ID));
    QApplication::setApplicationName(QStringLiteral("quoteshow"));
    const QScreen *screen = QGuiApplication::primaryScreen();
    QApplication::setWindowIcon(ProgramIcon(screen ? screen->depth() : 32));
}

} // namespace quoteshow
