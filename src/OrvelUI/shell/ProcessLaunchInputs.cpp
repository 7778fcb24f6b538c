#include "OrvelUI/shell/ProcessLaunchInputs.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QStringList>

namespace orvel {

LaunchInputs currentLaunchInputs() {
    LaunchInputs inputs;
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : environment.keys()) {
        inputs.environment.emplace(name.toStdString(), environment.value(name).toStdString());
    }
    for (const QString& argument : QCoreApplication::arguments()) inputs.arguments.push_back(argument.toStdString());
    return inputs;
}

}  // namespace orvel
