#pragma once

// The household's groups as a list for the views, one row per group keyed by the group's id.

#include <span>

#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/common/KeyedListModel.h"

namespace orvel {

struct GroupListRow {
    QString groupId;
    QString displayName;
    // Short room names, coordinator first.
    QStringList roomNames;

    static GroupListRow of(const SonosGroup& group);
    const QString& key() const { return groupId; }
    friend bool operator==(const GroupListRow&, const GroupListRow&) = default;
};

// moc is shown the base that carries the meta-object (see KeyedListModel.h).
#ifdef Q_MOC_RUN
class GroupListModel : public orvel::KeyedListModelBase {
#else
class GroupListModel : public KeyedListModel<GroupListRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the root view")

public:
    enum Role {
        GroupIdRole = Qt::UserRole + 1,
        DisplayNameRole,
        RoomNamesRole,
    };

    using Row = GroupListRow;

    explicit GroupListModel(QObject* parent = nullptr);

    // A group listed twice keeps its first place: one group is one row.
    void setGroups(std::span<const SonosGroup> groups);

    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const Row& row, int role) const override;
    QList<int> changedRoles(const Row& before, const Row& after) const override;
};

}  // namespace orvel
