#include "OrvellaApp/DataFolder.h"

#include <cerrno>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orvel {

QString DataFolder::path() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           QLatin1String(name);
}

bool DataFolder::ensurePrivate(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        // Parents get the usual mode; only the folder itself must be private.
        if (!QDir().mkpath(info.absolutePath())) return false;
        const QByteArray native = QFile::encodeName(info.absoluteFilePath());
        // mkdir's mode is narrowed by the umask, never widened, so 0700 holds whatever it is.
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return false;
    }
    const QFileInfo made(path);
    if (!made.isDir()) return false;
    const QByteArray native = QFile::encodeName(made.absoluteFilePath());
    return ::chmod(native.constData(), 0700) == 0;
}

}  // namespace orvel
