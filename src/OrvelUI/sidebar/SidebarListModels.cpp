#include "OrvelUI/sidebar/SidebarListModels.h"

#include "OrvelUI/sidebar/SidebarGroupRow.h"

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

QHash<int, QByteArray> SidebarMemberListModel::roleNames() const {
    return {{SpeakerIdRole, "speakerId"},   {LabelRole, "label"},
            {ModelRole, "speakerModel"},    {IsOnlineRole, "isOnline"},
            {HasBatteryRole, "hasBattery"}, {BatteryPercentRole, "batteryPercent"},
            {BatteryOnChargerRole, "batteryOnCharger"}};
}

QVariant SidebarMemberListModel::roleData(const Row& row, int role) const {
    const SidebarMemberContent& member = row.member;
    switch (role) {
        case SpeakerIdRole: return member.speakerId;
        case LabelRole: return member.label;
        case ModelRole: return member.model;
        case IsOnlineRole: return member.isOnline;
        case HasBatteryRole: return member.batteryPercent.has_value();
        case BatteryPercentRole: return member.batteryPercent.value_or(0);
        case BatteryOnChargerRole: return member.batteryOnCharger;
        default: return {};
    }
}

QList<int> SidebarMemberListModel::changedRoles(const Row& before, const Row& after) const {
    QList<int> roles;
    for (const int role : {LabelRole, ModelRole, IsOnlineRole, HasBatteryRole, BatteryPercentRole, BatteryOnChargerRole}) {
        if (roleData(before, role) != roleData(after, role)) roles.append(role);
    }
    return roles;
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
