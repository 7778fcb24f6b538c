#include "OrvelUI/shell/SettingsAbout.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

std::vector<SettingsAboutRow> settingsAboutRows(const std::optional<std::string>& networkName) {
    std::vector<SettingsAboutRow> rows;
    if (networkName && !networkName->empty()) {
        rows.push_back({QStringLiteral("Household"), shownText(*networkName)});
    }
    rows.push_back({QStringLiteral("Version"), QStringLiteral("0.1.0")});
    return rows;
}

QHash<int, QByteArray> SettingsAboutListModel::roleNames() const {
    return {{TitleRole, "title"}, {ValueRole, "value"}};
}

QVariant SettingsAboutListModel::roleData(const Row& row, int role) const {
    switch (role) {
    case TitleRole: return row.title;
    case ValueRole: return row.value;
    default: return {};
    }
}

}  // namespace orvel
