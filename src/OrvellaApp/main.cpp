// orvella: the desktop controller for the speakers of one household.

#include <QGuiApplication>

#include "OrvelUI/shell/ProcessLaunchInputs.h"
#include "OrvellaApp/OrvellaApp.h"

int main(int argc, char** argv) {
    QGuiApplication::setOrganizationName(QStringLiteral("Orvella"));
    QGuiApplication::setApplicationName(QStringLiteral("Orvella"));
    QGuiApplication::setDesktopFileName(QStringLiteral("orvella"));
    QGuiApplication application(argc, argv);

    const std::unique_ptr<orvel::OrvellaApp> orvella = orvel::OrvellaApp::start(orvel::currentLaunchInputs);
    // Another copy runs and has taken this one's sign-in callback.
    if (!orvella) return EXIT_SUCCESS;
    if (orvella->showWindow() == nullptr) return EXIT_FAILURE;
    return QGuiApplication::exec();
}
