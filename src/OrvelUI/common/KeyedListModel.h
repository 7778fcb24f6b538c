#pragma once

// The one list model behind the views' lists. Rows are keyed by a stable id and an update
// inserts, removes, moves and changes rows in place, never resetting the model, so delegates
// keep their hover and drag state across sweeps. Ids may repeat (a queue holds a track twice):
// a row is then known by its id and its occurrence among the rows with that id.
//
// A row type provides `key()` (a value with `<`) and `==`. A subclass names its roles in
// `roleNames()` and answers them in `roleData`; it may narrow a change to the roles that
// differ in `changedRoles`.
//
// moc cannot see through the template, so a subclass registered for QML shows moc the base
// that carries the meta-object; QML's type information then knows the whole chain:
//
//   #ifdef Q_MOC_RUN
//   class SettingsAboutListModel : public orvel::KeyedListModelBase {
//   #else
//   class SettingsAboutListModel : public KeyedListModel<SettingsAboutRow> {
//   #endif

#include <algorithm>
#include <map>
#include <type_traits>
#include <utility>
#include <vector>

#include <QAbstractListModel>
#include <QList>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/KeyedListPlan.h"

namespace orvel {

// The part that moc sees: a class template cannot carry signals or properties.
class KeyedListModelBase : public QAbstractListModel {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    using QAbstractListModel::QAbstractListModel;

    int count() const { return rowCount(); }

signals:
    void countChanged();
};

template <typename Row>
class KeyedListModel : public KeyedListModelBase {
public:
    using KeyedListModelBase::KeyedListModelBase;

    const std::vector<Row>& rows() const { return rows_; }

    void setRows(std::vector<Row> target) {
        const int countBefore = int(rows_.size());
        for (const KeyedListStep& step : planKeyedUpdate(newIndices(target), int(target.size()))) apply(step, target);

        // Every row now sits where the new list has it; what remains is rows whose content changed.
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (rows_[i] == target[i]) continue;
            const QList<int> roles = changedRoles(rows_[i], target[i]);
            rows_[i] = std::move(target[i]);
            const QModelIndex changed = index(int(i));
            emit dataChanged(changed, changed, roles);
        }
        if (int(rows_.size()) != countBefore) emit countChanged();
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : int(rows_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
        return roleData(rows_[std::size_t(index.row())], role);
    }

protected:
    virtual QVariant roleData(const Row& row, int role) const = 0;
    // The roles that differ between two versions of a row; empty means all of them.
    virtual QList<int> changedRoles(const Row& before, const Row& after) const {
        Q_UNUSED(before);
        Q_UNUSED(after);
        return {};
    }

private:
    using Key = std::decay_t<decltype(std::declval<const Row&>().key())>;

    std::vector<int> newIndices(const std::vector<Row>& target) const {
        std::map<std::pair<Key, int>, int> indexOf;
        std::map<Key, int> seen;
        for (int i = 0; i < int(target.size()); ++i) {
            Key key = target[std::size_t(i)].key();
            const int occurrence = seen[key]++;
            indexOf.emplace(std::pair(std::move(key), occurrence), i);
        }
        seen.clear();
        std::vector<int> indices;
        indices.reserve(rows_.size());
        for (const Row& row : rows_) {
            Key key = row.key();
            const int occurrence = seen[key]++;
            const auto found = indexOf.find(std::pair(std::move(key), occurrence));
            indices.push_back(found == indexOf.end() ? -1 : found->second);
        }
        return indices;
    }

    void apply(const KeyedListStep& step, const std::vector<Row>& target) {
        const auto at = rows_.begin() + step.row;
        switch (step.kind) {
            case KeyedListStep::Kind::remove:
                beginRemoveRows(QModelIndex(), step.row, step.row + step.count - 1);
                rows_.erase(at, at + step.count);
                endRemoveRows();
                break;
            case KeyedListStep::Kind::insert: {
                const auto from = target.begin() + step.source;
                beginInsertRows(QModelIndex(), step.row, step.row + step.count - 1);
                rows_.insert(at, from, from + step.count);
                endInsertRows();
                break;
            }
            case KeyedListStep::Kind::move:
                beginMoveRows(QModelIndex(), step.row, step.row, QModelIndex(), step.destination);
                if (step.destination > step.row) {
                    std::rotate(at, at + 1, rows_.begin() + step.destination);
                } else {
                    std::rotate(rows_.begin() + step.destination, at, at + 1);
                }
                endMoveRows();
                break;
        }
    }

    std::vector<Row> rows_;
};

}  // namespace orvel
