#include "DesktopEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace orvel {

namespace {

// Characters after which an Exec argument must be quoted.
constexpr QStringView reservedInExec = u" \t\n\"'\\><~|&;$*?#()`";
// Characters that keep their meaning inside double quotes and take a backslash there.
constexpr QStringView escapedInQuotes = u"\"`$\\";

}  // namespace

DesktopEntry::Environment DesktopEntry::forCurrentUser() {
    Environment environment;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataFolder.isEmpty()) environment.applicationsFolder = dataFolder + QStringLiteral("/applications");
    // Inside an AppImage the running file lives in a temporary mount; the image is what stays.
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    environment.executablePath = appImage.isEmpty() ? QCoreApplication::applicationFilePath() : appImage;
    environment.xdgMimeProgram = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    environment.startDetached = [](const QString& program, const QStringList& arguments) {
        QProcess::startDetached(program, arguments);
    };
    return environment;
}

DesktopEntry::Outcome DesktopEntry::registerIfMissing(const Environment& environment) {
    if (environment.applicationsFolder.isEmpty()) return Outcome::failed;
    const QString path = environment.applicationsFolder + u'/' + QString::fromLatin1(fileName);
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink()) return Outcome::alreadyPresent;

    const std::optional<QByteArray> content = text(environment.executablePath);
    if (!content) return Outcome::failed;
    if (!QDir().mkpath(environment.applicationsFolder)) return Outcome::failed;
    // Written beside the target and renamed over it, so the desktop never reads half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*content) != content->size() || !file.commit()) {
        return Outcome::failed;
    }

    if (!environment.xdgMimeProgram.isEmpty() && environment.startDetached) {
        environment.startDetached(environment.xdgMimeProgram,
                                  {QStringLiteral("default"), QString::fromLatin1(fileName),
                                   QString::fromLatin1(schemeMimeType)});
    }
    return Outcome::written;
}

std::optional<QString> DesktopEntry::execArgument(const QString& argument) {
    bool quoted = false;
    for (const QChar c : argument) {
        // A line break has no spelling inside an Exec line; the other controls no meaning.
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return std::nullopt;
        if (reservedInExec.contains(c)) quoted = true;
    }
    QString out;
    for (const QChar c : argument) {
        if (quoted && escapedInQuotes.contains(c)) out += u'\\';
        out += c;
        if (c == u'%') out += u'%';
    }
    if (quoted) out = u'"' + out + u'"';
    // The general string escape of desktop entry values comes on top of the quoting rules.
    out.replace(u'\\', QStringLiteral("\\\\"));
    return out;
}

std::optional<QByteArray> DesktopEntry::text(const QString& executablePath) {
    if (!QDir::isAbsolutePath(executablePath)) return std::nullopt;
    const std::optional<QString> program = execArgument(executablePath);
    if (!program) return std::nullopt;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Version=1.4\n"
                                         "Name=Orvella\n"
                                         "GenericName=Speaker Controller\n"
                                         "Comment=Control the speakers in your home\n"
                                         "Exec=") +
                          *program +
                          QStringLiteral(" %u\n"
                                         "Terminal=false\n"
                                         "Categories=AudioVideo;Audio;Player;\n"
                                         "MimeType=x-scheme-handler/orvella;\n"
                                         "StartupNotify=true\n"
                                         "Icon=orvella\n");
    return entry.toUtf8();
}

}  // namespace orvel
