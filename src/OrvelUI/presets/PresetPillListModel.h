#pragma once

// The saved presets as pills, keyed by preset id, with whether each one's grouping holds. A pill's
// width is measured only when a delegate asks for it, so a list of a thousand presets measures
// the few names on screen.

#include <functional>

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
    enum Role { PresetIdRole = Qt::UserRole + 1, NameRole, ActiveRole, WidthRole };
    using Row = PresetPillRow;
    // A pill's width from its shown name.
    using Measure = std::function<double(const QString&)>;
    using KeyedListModel::KeyedListModel;

    QHash<int, QByteArray> roleNames() const override {
        return {{PresetIdRole, "presetId"}, {NameRole, "name"}, {ActiveRole, "active"}, {WidthRole, "pillWidth"}};
    }

    // Without a measure the width role reads -1 (the delegate sizes itself).
    void setMeasure(Measure measure) {
        measure_ = std::move(measure);
        if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {WidthRole});
    }

protected:
    QVariant roleData(const Row& row, int role) const override {
        switch (role) {
            case PresetIdRole: return row.presetId;
            case NameRole: return row.name;
            case ActiveRole: return row.active;
            case WidthRole: return measure_ ? measure_(row.name) : -1.0;
            default: return {};
        }
    }

private:
    Measure measure_;
};

}  // namespace orvel
