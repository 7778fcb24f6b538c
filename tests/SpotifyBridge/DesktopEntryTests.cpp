#include <map>
#include <optional>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "SpotifyBridge/DesktopEntry.h"

using namespace orvel;

namespace {

struct Started {
    QString program;
    QStringList arguments;
    friend bool operator==(const Started&, const Started&) = default;
};

// A machine made of a temporary folder: nothing is written to the user's real data folder and
// no program is really started.
struct FakeMachine {
    FakeMachine() {
        environment.applicationsFolder = home.filePath(QStringLiteral("share/applications"));
        environment.executablePath = QStringLiteral("/opt/orvella/bin/orvella");
        environment.xdgMimeProgram = QStringLiteral("/usr/bin/xdg-mime");
        environment.startDetached = [this](const QString& program, const QStringList& arguments) {
            started.push_back({program, arguments});
        };
    }

    QString entryPath() const { return environment.applicationsFolder + QStringLiteral("/orvella.desktop"); }

    QTemporaryDir home;
    DesktopEntry::Environment environment;
    std::vector<Started> started;
};

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

std::map<QByteArray, QByteArray> keys(const QByteArray& entry) {
    std::map<QByteArray, QByteArray> out;
    for (const QByteArray& line : entry.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0) out[line.left(equals)] = line.mid(equals + 1);
    }
    return out;
}

}  // namespace

TEST(DesktopEntry, WritesTheEntryOnceAndMakesItTheSchemeHandler) {
    FakeMachine machine;
    ASSERT_TRUE(machine.home.isValid());

    EXPECT_EQ(DesktopEntry::registerIfMissing(machine.environment), DesktopEntry::Outcome::written);

    const QByteArray written = readFile(machine.entryPath());
    ASSERT_TRUE(written.startsWith("[Desktop Entry]\n"));
    const auto values = keys(written);
    EXPECT_EQ(values.at("Exec"), "/opt/orvella/bin/orvella %u");
    EXPECT_EQ(values.at("MimeType"), "x-scheme-handler/orvella;");
    EXPECT_EQ(machine.started, (std::vector<Started>{{QStringLiteral("/usr/bin/xdg-mime"),
                                                      {"default", "orvella.desktop", "x-scheme-handler/orvella"}}}));
    EXPECT_EQ(QDir(machine.environment.applicationsFolder).entryList(QDir::Files), QStringList{"orvella.desktop"})
        << "no temporary file is left behind";
    // An entry already there, the user's own or an earlier one, is left alone.
    {
        QFile own(machine.entryPath());
        ASSERT_TRUE(own.open(QIODevice::WriteOnly));
        own.write("[Desktop Entry]\nName=Mine\n");
    }
    EXPECT_EQ(DesktopEntry::registerIfMissing(machine.environment), DesktopEntry::Outcome::alreadyPresent);
    EXPECT_EQ(readFile(machine.entryPath()), "[Desktop Entry]\nName=Mine\n");
    EXPECT_EQ(machine.started.size(), 1u);
}

TEST(DesktopEntry, ReportsFailureWithoutStoppingAnything) {
    struct Case { const char* name; std::function<void(FakeMachine&)> arrange; };
    const Case cases[] = {
        {"a relative executable", [](FakeMachine& m) { m.environment.executablePath = QStringLiteral("bin/orvella"); }},
        {"a line break in the path",
         [](FakeMachine& m) { m.environment.executablePath = QStringLiteral("/opt/a\nExec=/bin/evil"); }},
        {"the folder is a file",
         [](FakeMachine& m) {
             m.environment.applicationsFolder = m.home.filePath(QStringLiteral("blocked/applications"));
             QFile blocker(m.home.filePath(QStringLiteral("blocked")));
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
         }},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        c.arrange(machine);
        EXPECT_EQ(DesktopEntry::registerIfMissing(machine.environment), DesktopEntry::Outcome::failed) << c.name;
        EXPECT_FALSE(QFileInfo::exists(machine.entryPath())) << c.name;
        EXPECT_TRUE(machine.started.empty()) << c.name;
    }
}

TEST(DesktopEntry, QuotesTheExecutableAsTheFormatAsks) {
    struct Case { QString path; std::optional<QString> exec; };
    const Case cases[] = {
        {"/usr/bin/orvella", "/usr/bin/orvella"},
        {"/home/ann/My Apps/orvella", R"("/home/ann/My Apps/orvella")"},
        {"/home/ann/a b%/orvella", R"("/home/ann/a b%%/orvella")"},
        {"/home/ann/$HOME/orvella", R"("/home/ann/\\$HOME/orvella")"},
        {"/home/ann/back\\slash", R"("/home/ann/back\\\\slash")"},
        {"/home/ann/\"q\"/orvella", R"("/home/ann/\\"q\\"/orvella")"},
        {"/home/ann/it's", R"("/home/ann/it's")"},
        {QStringLiteral("/home/ann/caf\u00e9/orvella"), QStringLiteral("/home/ann/caf\u00e9/orvella")},
        {"/home/ann/line\nbreak", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DesktopEntry::execArgument(c.path), c.exec) << c.path.toStdString();
    }
}

TEST(DesktopEntry, ThePackagedEntryMatchesTheOneWrittenAtStart) {
    const QString packaged =
        QStringLiteral(ORVELLA_SOURCE_DIR "/packaging/orvella.desktop");
    const QByteArray shipped = readFile(packaged);
    ASSERT_FALSE(shipped.isEmpty()) << packaged.toStdString();
    const std::optional<QByteArray> generated = DesktopEntry::text(QStringLiteral("/usr/bin/orvella"));
    ASSERT_TRUE(generated.has_value());

    auto shippedKeys = keys(shipped);
    auto generatedKeys = keys(*generated);
    EXPECT_EQ(shippedKeys.at("Exec"), "orvella %u") << "installed packages start the program from the PATH";
    shippedKeys.erase("Exec");
    generatedKeys.erase("Exec");
    EXPECT_EQ(shippedKeys, generatedKeys);
}
