#include "OrvellaApp/DataFolder.h"

#include <filesystem>

#include <QFile>
#include <QStandardPaths>

#include "Support/PrivateFiles.h"

namespace orvel {

QString DataFolder::path() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           QLatin1String(name);
}

bool DataFolder::ensurePrivate(const QString& path) {
    const std::filesystem::path folder(QFile::encodeName(path).toStdString());
    if (!privateFiles::ensureFolder(folder)) return false;
    // The start of a run: what writes cut short by a crash left behind goes now.
    (void)privateFiles::removeStaleTemporaries(folder);
    return true;
}

}  // namespace orvel
