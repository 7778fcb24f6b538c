#include "OrvellaApp/update/UpdatePresentation.h"

#include <QCoreApplication>

namespace orvel {

namespace {
QString tr(const char* text) { return QCoreApplication::translate("UpdateDialog", text); }
}  // namespace

UpdatePresentation UpdatePresentation::available(const QString& version, const QString& notes, const QString& running) {
    return {Phase::available, version, notes,
            tr("Orvella %1 is ready to download. You have version %2.").arg(version, running)};
}

UpdatePresentation UpdatePresentation::installing(const QString& version) {
    return {Phase::installing, version, {}, tr("Downloading and checking Orvella %1…").arg(version)};
}

UpdatePresentation UpdatePresentation::installed(const QString& version, const UpdateInstallOutcome& outcome) {
    const QString path = QString::fromStdString(outcome.path.string());
    const QString message =
        outcome.kind == UpdateInstallOutcome::Kind::replacedProgram
            ? tr("Orvella %1 is in place at %2. It starts the next time you open Orvella.").arg(version, path)
            : tr("Orvella %1 was saved to %2. Open it from there to start the new version.").arg(version, path);
    return {Phase::installed, version, {}, message};
}

UpdatePresentation UpdatePresentation::upToDate(const QString& running) {
    return {Phase::upToDate, running, {}, tr("Version %1 is the newest version available.").arg(running)};
}

UpdatePresentation UpdatePresentation::failed(const QString& version, const UpdateError& error) {
    QString sentence = QString::fromStdString(error.describe());
    if (!sentence.isEmpty()) sentence[0] = sentence[0].toUpper();
    return {Phase::failed, version, {}, sentence + QLatin1Char('.')};
}

}  // namespace orvel
