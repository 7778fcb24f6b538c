#include "SonosHouseholdLog.h"

#include <cmath>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <unistd.h>

#include "Support/Clock.h"

namespace orvel {

HouseholdDebugLog::HouseholdDebugLog(QString dataFolder, Clock& clock, std::string bundleIdentifier)
    : folder_(std::move(dataFolder)),
      path_(QDir(folder_).filePath(QString::fromUtf8(fileName.data(), qsizetype(fileName.size())))),
      clock_(clock),
      bundle_(std::move(bundleIdentifier)) {}

std::string HouseholdDebugLog::timestamp(Date at) {
    const double millis = at.unixSeconds() * 1000.0;
    // Far outside any real clock reading; refused rather than converted unchecked.
    if (!std::isfinite(millis) || std::fabs(millis) > 1e15) return "invalid-time";
    const auto when = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::floor(millis)), QTimeZone::utc());
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toStdString() + "Z";
}

std::string HouseholdDebugLog::formatLine(Date at, long long pid, long long ppid, std::string_view bundle,
                                          std::string_view message) {
    std::string line = "[" + timestamp(at) + "] [pid=" + std::to_string(pid) + " ppid=" + std::to_string(ppid) +
                       " bundle=" + std::string(bundle) + "] ";
    line.reserve(line.size() + message.size());
    for (char c : message) line += (c == '\n' || c == '\r') ? ' ' : c;
    return line;
}

void HouseholdDebugLog::write(std::string_view message) {
    const std::string line =
        formatLine(clock_.now(), static_cast<long long>(::getpid()), static_cast<long long>(::getppid()), bundle_,
                   message) +
        "\n";
    std::lock_guard lock(mutex_);
    if (!QDir(folder_).exists() && QDir().mkpath(folder_)) {
        // The data folder holds the token vault too: owner only.
        QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return;
    file.write(line.data(), qint64(line.size()));
}

}  // namespace orvel
