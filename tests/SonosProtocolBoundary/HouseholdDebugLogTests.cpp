#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SonosProtocolBoundary/SonosHouseholdLog.h"
#include "Support/Clock.h"
#include "Support/FileWriter.h"

using namespace orvel;
namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The number of each whole line ("... line <n> xxx\n"); -1 for a line cut in its middle.
std::vector<int> numbersOf(const std::string& text) {
    std::vector<int> out;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        const std::string line = text.substr(start, end - start);
        const std::size_t at = line.find("] line ");
        out.push_back(at == std::string::npos ? -1 : std::stoi(line.substr(at + 7)));
        start = end + 1;
    }
    if (out.empty()) out.push_back(-1);
    return out;
}

void waitForTheWriter() { FileWriter::shared().submit([] {}).waitForFinished(); }

TEST(HouseholdDebugLog, StaysUnderItsCapAndKeepsOnePreviousFile) {
    struct Case {
        const char* name;
        std::size_t cap;
        int lines;
        std::size_t messageLength;
    };
    const Case cases[] = {
        {"many short lines", 400, 40, 10},
        {"a line longer than the cap", 120, 3, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir temporary;
        const fs::path folder = fs::path(temporary.path().toStdString()) / "Orvella";
        HouseholdDebugLog log(QString::fromStdString(folder.string()), Clock::system(), "orvella", c.cap);
        for (int i = 0; i < c.lines; ++i) {
            log.write("line " + std::to_string(i) + " " + std::string(c.messageLength, 'x'));
        }
        waitForTheWriter();

        const std::string current = contentOf(folder / HouseholdDebugLog::fileName);
        const std::string previous = contentOf(folder / HouseholdDebugLog::previousFileName);
        EXPECT_LE(current.size(), c.cap);
        EXPECT_LE(previous.size(), c.cap);
        EXPECT_FALSE(previous.empty());
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2);
        // The two files hold the newest lines whole, in order, with none lost between them.
        EXPECT_EQ(numbersOf(previous + current).back(), c.lines - 1);
        const std::vector<int> numbers = numbersOf(previous + current);
        for (std::size_t i = 1; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], numbers[i - 1] + 1);
        EXPECT_EQ(fs::status(folder / HouseholdDebugLog::fileName).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
    }
}

// A speaker's text must not start a line of its own in the log.
TEST(HouseholdDebugLog, LinesCarryTheStampAndStayOneLine) {
    EXPECT_EQ(HouseholdDebugLog::formatLine(Date::fromUnix(1'714'555'800.25), 1, 2, "b", "two\nlines\r"),
              "[2024-05-01T09:30:00.250Z] [pid=1 ppid=2 bundle=b] two lines ");
}

}  // namespace
