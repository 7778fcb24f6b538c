#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QSignalSpy>

#include "OrvelUI/shell/GroupListModel.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

GroupListModel::Row row(const char* id, const char* name = "") {
    return {QString::fromLatin1(id), QString::fromLatin1(name), {}};
}

QStringList ids(const GroupListModel& model) {
    QStringList out;
    for (const auto& r : model.rows()) out << r.groupId;
    return out;
}

}  // namespace

TEST(GroupListModel, UpdatesRowsInPlaceWithoutReset) {
    struct Case {
        const char* what;
        std::vector<const char*> before;
        std::vector<const char*> after;
    };
    const Case cases[] = {
        {"insert into empty", {}, {"a", "b"}},
        {"remove all", {"a", "b"}, {}},
        {"reverse", {"a", "b", "c", "d"}, {"d", "c", "b", "a"}},
        {"rotate", {"a", "b", "c"}, {"b", "c", "a"}},
        {"mixed", {"a", "b", "c", "d"}, {"e", "c", "a", "f"}},
        {"unchanged", {"a", "b"}, {"a", "b"}},
    };
    for (const auto& c : cases) {
        GroupListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        std::vector<GroupListModel::Row> before;
        for (const char* id : c.before) before.push_back(row(id));
        model.setRows(before);

        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        // Rows that stay keep their identity across the update.
        std::map<QString, QPersistentModelIndex> kept;
        for (int i = 0; i < model.rowCount(); ++i) kept.emplace(model.rows()[std::size_t(i)].groupId, model.index(i));

        std::vector<GroupListModel::Row> after;
        QStringList expected;
        for (const char* id : c.after) {
            after.push_back(row(id));
            expected << QString::fromLatin1(id);
        }
        model.setRows(after);

        EXPECT_EQ(ids(model), expected) << c.what;
        EXPECT_EQ(resets.count(), 0) << c.what;
        for (const auto& [id, index] : kept) {
            if (!expected.contains(id)) continue;
            ASSERT_TRUE(index.isValid()) << c.what << " " << id.toStdString();
            EXPECT_EQ(index.data(GroupListModel::GroupIdRole).toString(), id) << c.what;
        }
    }
}

TEST(GroupListModel, ChangedRowsAreReportedOnce) {
    GroupListModel model;
    model.setRows({row("a", "Kitchen"), row("b", "Office")});
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy counts(&model, &GroupListModel::countChanged);

    model.setRows({row("a", "Kitchen"), row("b", "Office + Den")});
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toModelIndex().row(), 1);
    EXPECT_EQ(counts.count(), 0);

    model.setRows({row("a", "Kitchen"), row("b", "Office + Den")});
    EXPECT_EQ(changes.count(), 1);
}

TEST(GroupListModel, RepeatedIdsKeepTheFirst) {
    GroupListModel model;
    model.setRows({row("a", "first"), row("b"), row("a", "second")});
    EXPECT_EQ(ids(model), (QStringList{"a", "b"}));
    EXPECT_EQ(model.rows()[0].displayName, "first");
}

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
