#include <functional>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "SpotifyBridge/CallbackRelay.h"

using namespace orvel;

namespace {

mode_t modeOf(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return 0;
    return status.st_mode & 07777;
}

}  // namespace

TEST(CallbackRelayFolder, OnlyAFolderOfThisUserAloneIsUsed) {
    struct Case {
        const char* name;
        // Prepares `path` inside a fresh private folder.
        std::function<void(const QString& path, const QString& base)> prepare;
        uid_t owner;
        bool accepted;
    };
    const uid_t me = ::getuid();
    const auto folderWithMode = [](mode_t mode) {
        return [mode](const QString& path, const QString&) {
            ASSERT_TRUE(QDir().mkdir(path));
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        };
    };
    const std::vector<Case> cases = {
        {"missing, so created", [](const QString&, const QString&) {}, me, true},
        {"private", folderWithMode(0700), me, true},
        {"readable by others", folderWithMode(0755), me, false},
        {"enterable by the group", folderWithMode(0710), me, false},
        {"owned by another user", folderWithMode(0700), me + 1, false},
        {"a symbolic link to a private folder",
         [](const QString& path, const QString& base) {
             ASSERT_TRUE(QDir().mkdir(base + "/target"));
             ASSERT_EQ(::chmod(QFile::encodeName(base + "/target").constData(), 0700), 0);
             ASSERT_TRUE(QFile::link(base + "/target", path));
         },
         me, false},
        {"a file",
         [](const QString& path, const QString&) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         },
         me, false},
    };
    for (const Case& c : cases) {
        QTemporaryDir base;
        ASSERT_TRUE(base.isValid());
        const QString path = base.filePath("orvella-test");
        c.prepare(path, base.path());
        const auto result = CallbackRelay::ensurePrivateFolder(path, c.owner);
        EXPECT_EQ(result.has_value(), c.accepted) << c.name << (result ? "" : ": " + result.error());
        if (c.accepted) {
            EXPECT_EQ(modeOf(path), 0700u) << c.name;
        }
    }
}

TEST(CallbackRelayFolder, WithoutARuntimeFolderTheSocketLiesInAPrivateFolderOfItsOwn) {
    QTemporaryDir shared;  // stands in for the system's temporary folder
    ASSERT_TRUE(shared.isValid());
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray temporary = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(shared.path()));

    {
        CallbackRelay relay;
        const QString folder = QFileInfo(relay.serverName()).absolutePath();
        EXPECT_NE(QDir(folder), QDir(shared.path()));
        ASSERT_TRUE(relay.listen().has_value());
        EXPECT_EQ(modeOf(folder), 0700u);
    }
    {
        // A folder loosened after the fact is no longer trusted.
        CallbackRelay relay;
        const QString folder = QFileInfo(relay.serverName()).absolutePath();
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
        EXPECT_FALSE(relay.listen().has_value());
        EXPECT_FALSE(relay.isListening());
    }

    for (const auto& [name, value] : {std::pair{"XDG_RUNTIME_DIR", runtime}, std::pair{"TMPDIR", temporary}}) {
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }
}
