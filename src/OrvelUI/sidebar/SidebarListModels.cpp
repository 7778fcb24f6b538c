#include "OrvelUI/sidebar/SidebarListModels.h"

namespace orvel {

QHash<int, QByteArray> SidebarGroupListModel::roleNames() const {
    return {{GroupIdRole, "groupId"}, {RowRole, "row"}};
}

QVariant SidebarGroupListModel::roleData(const Row& row, int role) const {
    switch (role) {
        case GroupIdRole: return row.groupId;
        case RowRole: return QVariant::fromValue(row.row);
        default: return {};
    }
}

QHash<int, QByteArray> SidebarOfflineListModel::roleNames() const {
    return {{SpeakerIdRole, "speakerId"}, {LabelRole, "label"}, {ModelRole, "speakerModel"}};
}

QVariant SidebarOfflineListModel::roleData(const Row& row, int role) const {
    switch (role) {
        case SpeakerIdRole: return row.speakerId;
        case LabelRole: return row.label;
        case ModelRole: return row.model;
        default: return {};
    }
}

}  // namespace orvel
