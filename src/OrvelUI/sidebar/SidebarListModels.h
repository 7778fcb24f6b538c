#pragma once

// The sidebar's lists: group rows keyed by group id (each row has its own presenter, which
// repaints the row), a group's member rows and the offline rows, both keyed by speaker id. A
// member whose battery or reachability changed is changed in place: the other rows, and the
// button or drag under the pointer, stay as they are.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/KeyedListModel.h"
#include "OrvelUI/sidebar/SidebarGroupRowContent.h"

namespace orvel {

class SidebarGroupRow;

struct SidebarGroupListRow {
    QString groupId;
    SidebarGroupRow* row = nullptr;
    const QString& key() const { return groupId; }
    friend bool operator==(const SidebarGroupListRow&, const SidebarGroupListRow&) = default;
};

#ifdef Q_MOC_RUN
class SidebarGroupListModel : public orvel::KeyedListModelBase {
#else
class SidebarGroupListModel : public KeyedListModel<SidebarGroupListRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the sidebar")

public:
    enum Role { GroupIdRole = Qt::UserRole + 1, RowRole };
    using Row = SidebarGroupListRow;
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const Row& row, int role) const override;
};

struct SidebarMemberListRow {
    SidebarMemberContent member;
    const QString& key() const { return member.speakerId; }
    friend bool operator==(const SidebarMemberListRow&, const SidebarMemberListRow&) = default;
};

#ifdef Q_MOC_RUN
class SidebarMemberListModel : public orvel::KeyedListModelBase {
#else
class SidebarMemberListModel : public KeyedListModel<SidebarMemberListRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by a sidebar group row")

public:
    enum Role {
        SpeakerIdRole = Qt::UserRole + 1,
        LabelRole,
        ModelRole,
        IsOnlineRole,
        HasBatteryRole,
        BatteryPercentRole,
        BatteryOnChargerRole
    };
    using Row = SidebarMemberListRow;
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const Row& row, int role) const override;
    QList<int> changedRoles(const Row& before, const Row& after) const override;
};

struct SidebarOfflineListRow {
    QString speakerId;
    QString label;
    QString model;
    const QString& key() const { return speakerId; }
    friend bool operator==(const SidebarOfflineListRow&, const SidebarOfflineListRow&) = default;
};

#ifdef Q_MOC_RUN
class SidebarOfflineListModel : public orvel::KeyedListModelBase {
#else
class SidebarOfflineListModel : public KeyedListModel<SidebarOfflineListRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the sidebar")

public:
    enum Role { SpeakerIdRole = Qt::UserRole + 1, LabelRole, ModelRole };
    using Row = SidebarOfflineListRow;
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const Row& row, int role) const override;
};

}  // namespace orvel
