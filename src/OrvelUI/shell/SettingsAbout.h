#pragma once

// The "About" rows of the settings page: the household's name when it has one, and the
// version, which is fixed in the program rather than read from the package.

#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/KeyedListModel.h"

namespace orvel {

struct SettingsAboutRow {
    QString title;
    QString value;
    const QString& key() const { return title; }
    friend bool operator==(const SettingsAboutRow&, const SettingsAboutRow&) = default;
};

// "Household" only for a present, non-empty network name; "Version" always.
std::vector<SettingsAboutRow> settingsAboutRows(const std::optional<std::string>& networkName);

// moc is shown the base that carries the meta-object (see KeyedListModel.h).
#ifdef Q_MOC_RUN
class SettingsAboutListModel : public orvel::KeyedListModelBase {
#else
class SettingsAboutListModel : public KeyedListModel<SettingsAboutRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the root view")

public:
    enum Role { TitleRole = Qt::UserRole + 1, ValueRole };
    using Row = SettingsAboutRow;
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const Row& row, int role) const override;
};

}  // namespace orvel
