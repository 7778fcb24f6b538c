#include <gtest/gtest.h>

#include "OrvellaApp/DataFolder.h"

using namespace orvel;

TEST(DataFolder, FollowsXdgDataHome) {
    EXPECT_EQ(DataFolder::path(), qEnvironmentVariable("XDG_DATA_HOME") + "/Orvella");
}
