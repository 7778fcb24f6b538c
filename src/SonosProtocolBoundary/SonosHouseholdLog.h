#pragma once

// The network debug log: "network-debug.log" in the data folder, one line per event, each
// "[<ISO 8601 time with milliseconds>] [pid=<pid> ppid=<parent pid> bundle=<id>] <message>".
// Lines are appended and the file is opened for each line, so a log removed while the
// application runs is simply started again. Writing never fails the caller: a line that
// cannot be written is dropped.

#include <mutex>
#include <string>
#include <string_view>

#include <QString>

#include "OrvelDomain/Date.h"

namespace orvel {

class Clock;

class HouseholdDebugLog {
public:
    static constexpr std::string_view fileName = "network-debug.log";

    // `clock` stamps the lines and must outlive the log.
    HouseholdDebugLog(QString dataFolder, Clock& clock, std::string bundleIdentifier);

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
    // The log may be written from discovery helpers on other threads one day; a line is short.
    std::mutex mutex_;
};

}  // namespace orvel
