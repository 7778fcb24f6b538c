#pragma once

// The network debug log: "network-debug.log" in the data folder, one line per event, each
// "[<ISO 8601 time with milliseconds>] [pid=<pid> ppid=<parent pid> bundle=<id>] <message>".
// Lines go through the one file writer, so the caller never waits for the disk; each is
// appended to a file opened for it (created 0600), so a log removed while the application runs
// is simply started again. The file stays under its cap: a line that would pass it first moves
// the file to "network-debug.log.1" (replacing an older one). Writing never fails the caller: a
// line that cannot be written is dropped.

#include <cstddef>
#include <string>
#include <string_view>

#include <QString>

#include "OrvelDomain/Date.h"

namespace orvel {

class Clock;

class HouseholdDebugLog {
public:
    static constexpr std::string_view fileName = "network-debug.log";
    static constexpr std::string_view previousFileName = "network-debug.log.1";
    static constexpr std::size_t standardCap = 1024 * 1024;

    // `clock` stamps the lines and must outlive the log. `cap` bounds the file in bytes.
    HouseholdDebugLog(QString dataFolder, Clock& clock, std::string bundleIdentifier,
                      std::size_t cap = standardCap);

    void write(std::string_view message);
    const QString& filePath() const { return path_; }

    // One line without its line break. Line breaks inside `message` become spaces, so a reply
    // quoted in a message cannot forge a line of its own.
    static std::string formatLine(Date at, long long pid, long long ppid, std::string_view bundle,
                                  std::string_view message);
    // "2024-05-01T09:30:00.250Z"
    static std::string timestamp(Date at);

private:
    QString folder_;
    QString path_;
    Clock& clock_;
    std::string bundle_;
    std::size_t cap_;
};

}  // namespace orvel
