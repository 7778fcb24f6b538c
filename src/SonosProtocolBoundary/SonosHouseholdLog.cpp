#include "SonosHouseholdLog.h"

#include <cmath>
#include <filesystem>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <unistd.h>

#include "Support/Clock.h"
#include "Support/FileWriter.h"
#include "Support/PrivateFiles.h"

namespace orvel {

namespace {

// Runs on the file writer, alone, so the size read here is still the size when the line goes.
void appendCapped(const std::filesystem::path& folder, std::string line, std::size_t cap) {
    // One line longer than the whole cap is cut to it rather than left to grow the file.
    if (line.size() > cap) {
        line.resize(cap > 0 ? cap - 1 : 0);
        line += '\n';
    }
    if (!privateFiles::ensureFolder(folder)) return;
    const std::filesystem::path path = folder / HouseholdDebugLog::fileName;
    if (const auto size = privateFiles::sizeIfPresent(path); size && *size + line.size() > cap) {
        if (!privateFiles::moveReplacing(path, folder / HouseholdDebugLog::previousFileName)) return;
    }
    (void)privateFiles::append(path, line);
}

}  // namespace

HouseholdDebugLog::HouseholdDebugLog(QString dataFolder, Clock& clock, std::string bundleIdentifier, std::size_t cap)
    : folder_(std::move(dataFolder)),
      path_(QDir(folder_).filePath(QString::fromUtf8(fileName.data(), qsizetype(fileName.size())))),
      clock_(clock),
      bundle_(std::move(bundleIdentifier)),
      cap_(cap) {}

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
    std::string line =
        formatLine(clock_.now(), static_cast<long long>(::getpid()), static_cast<long long>(::getppid()), bundle_,
                   message) +
        "\n";
    std::filesystem::path folder(QFile::encodeName(folder_).toStdString());
    FileWriter::shared().enqueue(
        [folder = std::move(folder), line = std::move(line), cap = cap_]() mutable { appendCapped(folder, std::move(line), cap); });
}

}  // namespace orvel
