#include <gtest/gtest.h>

#include <QSignalSpy>

#include "OrvelUI/shell/GroupListModel.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

TEST(GroupListModel, RowsShowShortRoomNamesAsTheyAre) {
    GroupListModel model;
    const std::vector<SonosGroup> groups = {
        group({speaker(1, "Living Room Speaker"), speaker(2, "<b>x</b>"), speaker(3, "Arc Soundbar")})};
    model.setGroups(groups);
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex index = model.index(0);
    EXPECT_EQ(index.data(GroupListModel::GroupIdRole).toString(), QString::fromStdString(sp(1).rawValue()));
    EXPECT_EQ(index.data(GroupListModel::DisplayNameRole).toString(), "Living Room Speaker");
    EXPECT_EQ(index.data(GroupListModel::RoomNamesRole).toStringList(), (QStringList{"Living Room", "<b>x</b>", "Arc"}));
    EXPECT_FALSE(model.index(1).data(GroupListModel::GroupIdRole).isValid());
}

TEST(GroupListModel, AGroupListedTwiceKeepsItsFirstPlace) {
    GroupListModel model;
    model.setGroups(std::vector<SonosGroup>{group({speaker(1, "Kitchen")}), group({speaker(2, "Office")}),
                                            group({speaker(1, "Kitchen"), speaker(3, "Den")})});
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.rows()[0].roomNames, QStringList{"Kitchen"});
}

TEST(GroupListModel, AChangedGroupNamesTheRolesThatChanged) {
    GroupListModel model;
    model.setGroups(std::vector<SonosGroup>{group({speaker(1, "Kitchen")})});
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    struct Case {
        std::vector<Speaker> members;
        QList<int> roles;
    };
    const Case cases[] = {
        {{speaker(1, "Kitchen"), speaker(2, "Office")}, {GroupListModel::RoomNamesRole}},
        {{speaker(1, "Galley"), speaker(2, "Office")},
         {Qt::DisplayRole, GroupListModel::DisplayNameRole, GroupListModel::RoomNamesRole}},
    };
    for (const Case& c : cases) {
        changes.clear();
        model.setGroups(std::vector<SonosGroup>{group(c.members)});
        ASSERT_EQ(changes.count(), 1);
        EXPECT_EQ(changes.at(0).at(2).value<QList<int>>(), c.roles);
    }
}
