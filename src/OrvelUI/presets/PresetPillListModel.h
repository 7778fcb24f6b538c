#pragma once

// The saved presets as pills, keyed by preset id, with whether each one's grouping holds.

#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/KeyedListModel.h"

namespace orvel {

struct PresetPillRow {
    QString presetId;
    QString name;
    bool active = false;

    const QString& key() const { return presetId; }
    friend bool operator==(const PresetPillRow&, const PresetPillRow&) = default;
};

#ifdef Q_MOC_RUN
class PresetPillListModel : public orvel::KeyedListModelBase {
#else
class PresetPillListModel : public KeyedListModel<PresetPillRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the preset bar")

public:
    enum Role { PresetIdRole = Qt::UserRole + 1, NameRole, ActiveRole };
    using Row = PresetPillRow;
    using KeyedListModel::KeyedListModel;

    QHash<int, QByteArray> roleNames() const override {
        return {{PresetIdRole, "presetId"}, {NameRole, "name"}, {ActiveRole, "active"}};
    }

protected:
    QVariant roleData(const Row& row, int role) const override {
        switch (role) {
            case PresetIdRole: return row.presetId;
            case NameRole: return row.name;
            case ActiveRole: return row.active;
            default: return {};
        }
    }
};

}  // namespace orvel
