// A group row's member list follows its group room by room: a reading that changes one room
// changes that room's row in place, in the roles that changed, and a room that comes or goes is
// inserted or removed alone, so the other rooms' rows (their hover, button and drag) stay.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "OrvelUI/sidebar/SidebarGroupRow.h"
#include "ShellFixtures.h"

namespace orvel::testing {
namespace {

Speaker portable(int n, std::string room, int levelPercent) {
    Speaker speaker = orvel::testing::speaker(sp(n), std::move(room));
    speaker.model = SpeakerModel::move(BatteryTelemetry{levelPercent, false, std::nullopt, Date()});
    return speaker;
}

std::vector<Speaker> kitchenOfficeBath() { return {speaker(sp(1), "Kitchen"), speaker(sp(2), "Office"), portable(3, "Bath", 50)}; }

using Roles = QList<int>;
using M = SidebarMemberListModel;

TEST(SidebarMemberList, ChangesOnlyTheRoomsThatChanged) {
    const struct {
        const char* name;
        std::function<void(std::vector<Speaker>&)> change;
        int inserts, removes;
        // Row and roles of each row changed in place.
        std::vector<std::pair<int, Roles>> changed;
    } cases[] = {
        {"a battery reading", [](auto& rooms) { rooms[2] = portable(3, "Bath", 40); }, 0, 0,
         {{2, {M::BatteryPercentRole}}}},
        {"a room goes offline",
         [](auto& rooms) { rooms[1].reachability = ReachabilityState::offline("127.0.0.3", Date()); }, 0, 0,
         {{1, {M::IsOnlineRole}}}},
        {"a renamed room", [](auto& rooms) { rooms[1].roomName = "Study"; }, 0, 0, {{1, {M::LabelRole}}}},
        {"a room joins", [](auto& rooms) { rooms.push_back(speaker(sp(4), "Hall")); }, 1, 0, {}},
        {"a room leaves", [](auto& rooms) { rooms.erase(rooms.begin() + 1); }, 0, 1, {}},
        {"nothing", [](auto&) {}, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SidebarGroupRow row(nullptr, {});
        SidebarMemberListModel* members = row.members();
        QAbstractItemModelTester tester(members, QAbstractItemModelTester::FailureReportingMode::Fatal);
        std::vector<Speaker> rooms = kitchenOfficeBath();
        const SonosGroup before = group(rooms);
        row.setGroup(before, false, {&before, 1});
        ASSERT_EQ(members->rowCount(), 3) << c.name;

        QSignalSpy inserts(members, &QAbstractItemModel::rowsInserted);
        QSignalSpy removes(members, &QAbstractItemModel::rowsRemoved);
        QSignalSpy moves(members, &QAbstractItemModel::rowsMoved);
        QSignalSpy resets(members, &QAbstractItemModel::modelReset);
        QSignalSpy changes(members, &QAbstractItemModel::dataChanged);
        c.change(rooms);
        const SonosGroup after = group(rooms);
        row.setGroup(after, false, {&after, 1});

        EXPECT_EQ(inserts.size(), c.inserts) << c.name;
        EXPECT_EQ(removes.size(), c.removes) << c.name;
        EXPECT_EQ(moves.size(), 0) << c.name;
        EXPECT_EQ(resets.size(), 0) << c.name;
        std::vector<std::pair<int, Roles>> changed;
        for (const QList<QVariant>& change : changes) {
            changed.emplace_back(change[0].toModelIndex().row(), change[2].value<Roles>());
        }
        EXPECT_EQ(changed, c.changed) << c.name;
        ASSERT_EQ(members->rowCount(), int(rooms.size())) << c.name;
        for (int i = 0; i < members->rowCount(); ++i) {
            EXPECT_EQ(members->data(members->index(i), M::SpeakerIdRole).toString(),
                      QString::fromStdString(rooms[std::size_t(i)].id.rawValue()))
                << c.name;
        }
    }
}

}  // namespace
}  // namespace orvel::testing
