#pragma once

// The household's groups as a list for the views, one row per group keyed by the group's id.
// Updates move, insert, remove and change rows in place and never reset the model, so
// delegates keep their hover and drag state across sweeps.

#include <span>
#include <vector>

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/SonosGroup.h"

namespace orvel {

class GroupListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the root view")
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)

public:
    enum Role {
        GroupIdRole = Qt::UserRole + 1,
        DisplayNameRole,
        // Short room names, coordinator first.
        RoomNamesRole,
    };

    struct Row {
        QString groupId;
        QString displayName;
        QStringList roomNames;
        static Row of(const SonosGroup& group);
        friend bool operator==(const Row&, const Row&) = default;
    };

    explicit GroupListModel(QObject* parent = nullptr);

    void setGroups(std::span<const SonosGroup> groups);
    void setRows(std::vector<Row> rows);
    const std::vector<Row>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    std::vector<Row> rows_;
};

}  // namespace orvel
