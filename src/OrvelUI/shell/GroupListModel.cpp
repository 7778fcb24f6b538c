#include "OrvelUI/shell/GroupListModel.h"

#include <set>

#include "OrvelDomain/RoomNaming.h"

namespace orvel {

GroupListRow GroupListRow::of(const SonosGroup& group) {
    GroupListRow row;
    row.groupId = QString::fromStdString(group.id.description());
    row.displayName = QString::fromStdString(group.displayName);
    for (const Speaker& speaker : group.speakers()) {
        row.roomNames << QString::fromStdString(RoomNaming::shortName(speaker.roomName, false));
    }
    return row;
}

GroupListModel::GroupListModel(QObject* parent) : KeyedListModel(parent) {}

void GroupListModel::setGroups(std::span<const SonosGroup> groups) {
    std::vector<Row> rows;
    rows.reserve(groups.size());
    std::set<QString> seen;
    for (const SonosGroup& group : groups) {
        Row row = Row::of(group);
        if (seen.insert(row.groupId).second) rows.push_back(std::move(row));
    }
    setRows(std::move(rows));
}

QVariant GroupListModel::roleData(const Row& row, int role) const {
    switch (role) {
        case GroupIdRole: return row.groupId;
        case Qt::DisplayRole:
        case DisplayNameRole: return row.displayName;
        case RoomNamesRole: return row.roomNames;
        default: return {};
    }
}

QList<int> GroupListModel::changedRoles(const Row& before, const Row& after) const {
    QList<int> roles;
    if (before.displayName != after.displayName) roles << Qt::DisplayRole << DisplayNameRole;
    if (before.roomNames != after.roomNames) roles << RoomNamesRole;
    return roles;
}

QHash<int, QByteArray> GroupListModel::roleNames() const {
    return {{GroupIdRole, "groupId"}, {DisplayNameRole, "displayName"}, {RoomNamesRole, "roomNames"}};
}

}  // namespace orvel
