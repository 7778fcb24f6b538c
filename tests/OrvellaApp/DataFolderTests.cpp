#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "OrvellaApp/DataFolder.h"

using namespace orvel;

namespace {

unsigned modeOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return 0xFFFF;
    return info.st_mode & 0777;
}

}  // namespace

TEST(DataFolder, FollowsXdgDataHome) {
    EXPECT_EQ(DataFolder::path(), qEnvironmentVariable("XDG_DATA_HOME") + "/Orvella");
}

TEST(DataFolder, CreatedOrNarrowedToTheUserAlone) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());

    const QString fresh = root.path() + "/deep/er/Orvella";
    EXPECT_TRUE(DataFolder::ensurePrivate(fresh));
    EXPECT_EQ(modeOf(fresh), 0700u);

    const QString open = root.path() + "/open";
    ASSERT_TRUE(QDir().mkpath(open));
    ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0755), 0);
    EXPECT_TRUE(DataFolder::ensurePrivate(open));
    EXPECT_EQ(modeOf(open), 0700u);

    const QString file = root.path() + "/file";
    QFile blocker(file);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(DataFolder::ensurePrivate(file));
}
