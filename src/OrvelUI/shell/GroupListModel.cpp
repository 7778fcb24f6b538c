#include "OrvelUI/shell/GroupListModel.h"

#include <algorithm>
#include <set>

#include "OrvelDomain/RoomNaming.h"

namespace orvel {

GroupListModel::Row GroupListModel::Row::of(const SonosGroup& group) {
    Row row;
    row.groupId = QString::fromStdString(group.id.description());
    row.displayName = QString::fromStdString(group.displayName);
    for (const Speaker& speaker : group.speakers()) {
        row.roomNames << QString::fromStdString(RoomNaming::shortName(speaker.roomName, false));
    }
    return row;
}

GroupListModel::GroupListModel(QObject* parent) : QAbstractListModel(parent) {}

void GroupListModel::setGroups(std::span<const SonosGroup> groups) {
    std::vector<Row> rows;
    rows.reserve(groups.size());
    for (const SonosGroup& group : groups) rows.push_back(Row::of(group));
    setRows(std::move(rows));
}

void GroupListModel::setRows(std::vector<Row> target) {
    const int countBefore = int(rows_.size());

    // A repeated id would make rows indistinguishable; the first occurrence wins.
    std::set<QString> seen;
    std::erase_if(target, [&](const Row& row) { return !seen.insert(row.groupId).second; });

    // Rows whose group is gone leave first, from the bottom so indices stay valid.
    for (int i = int(rows_.size()) - 1; i >= 0; --i) {
        if (seen.contains(rows_[std::size_t(i)].groupId)) continue;
        beginRemoveRows(QModelIndex(), i, i);
        rows_.erase(rows_.begin() + i);
        endRemoveRows();
    }

    // Then each position is made right in turn: the row is already there, moves up from
    // further down, or is new.
    for (int i = 0; i < int(target.size()); ++i) {
        const Row& wanted = target[std::size_t(i)];
        const auto found = std::find_if(rows_.begin() + i, rows_.end(),
                                        [&](const Row& row) { return row.groupId == wanted.groupId; });
        if (found == rows_.end()) {
            beginInsertRows(QModelIndex(), i, i);
            rows_.insert(rows_.begin() + i, wanted);
            endInsertRows();
            continue;
        }
        const int from = int(found - rows_.begin());
        if (from != i) {
            beginMoveRows(QModelIndex(), from, from, QModelIndex(), i);
            std::rotate(rows_.begin() + i, rows_.begin() + from, rows_.begin() + from + 1);
            endMoveRows();
        }
        if (!(rows_[std::size_t(i)] == wanted)) {
            rows_[std::size_t(i)] = wanted;
            emit dataChanged(index(i), index(i));
        }
    }

    if (int(rows_.size()) != countBefore) emit countChanged();
}

int GroupListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant GroupListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const Row& row = rows_[std::size_t(index.row())];
    switch (role) {
        case GroupIdRole: return row.groupId;
        case Qt::DisplayRole:
        case DisplayNameRole: return row.displayName;
        case RoomNamesRole: return row.roomNames;
        default: return {};
    }
}

QHash<int, QByteArray> GroupListModel::roleNames() const {
    return {{GroupIdRole, "groupId"}, {DisplayNameRole, "displayName"}, {RoomNamesRole, "roomNames"}};
}

}  // namespace orvel
