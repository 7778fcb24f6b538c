#include "BrowserOpener.h"

#include <QProcess>
#include <QStandardPaths>

namespace orvel {

XdgBrowserOpener::XdgBrowserOpener(QString program) : program_(std::move(program)) {}

std::expected<void, std::string> XdgBrowserOpener::open(const QUrl& url) {
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"https" && scheme != u"http")) {
        return std::unexpected(std::string("the address is not a web page"));
    }
    const QString executable = QStandardPaths::findExecutable(program_);
    if (executable.isEmpty()) {
        return std::unexpected(program_.toStdString() + " is not installed");
    }
    // Fully encoded, the argument is plain ASCII and cannot be taken for an option.
    if (!QProcess::startDetached(executable, {QString::fromLatin1(url.toEncoded())})) {
        return std::unexpected(program_.toStdString() + " could not be started");
    }
    return {};
}

}  // namespace orvel
