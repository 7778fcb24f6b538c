// orvella: the desktop controller for the speakers of one household.

#include <QGuiApplication>

#include "OrvelUI/ProcessLaunchInputs.h"
#include "OrvellaApp/OrvellaApp.h"

int main(int argc, char** argv) {
    QGuiApplication::setOrganizationName(QStringLiteral("Orvella"));
    QGuiApplication::setApplicationName(QStringLiteral("Orvella"));
    QGuiApplication::setDesktopFileName(QStringLiteral("orvella"));
    QGuiApplication application(argc, argv);

    orvel::OrvellaApp orvella(orvel::currentLaunchInputs);
    if (orvella.showWindow() == nullptr) return EXIT_FAILURE;
    return QGuiApplication::exec();
}
