#include "OrvelUI/playback/UpNextListModel.h"

#include "OrvelUI/common/ShownText.h"
#include "OrvelUI/playback/UpNextTexts.h"

namespace orvel {

namespace {

QString shown(const std::optional<std::string>& text) { return text ? shownText(*text) : QString(); }

}  // namespace

UpNextRow UpNextRow::of(const QueueItem& item, int position) {
    return UpNextRow{QString::fromStdString(item.id()),
                     position,
                     shownText(item.title()),
                     shown(UpNextTexts::subtitle(item)),
                     shown(UpNextTexts::length(item.duration())),
                     item.artworkURL() ? QString::fromStdString(*item.artworkURL()) : QString()};
}

UpNextListModel::UpNextListModel(QObject* parent) : KeyedListModel(parent) {}

void UpNextListModel::setItems(std::span<const QueueItem> items) {
    std::vector<Row> rows;
    rows.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) rows.push_back(Row::of(items[i], int(i)));
    setRows(std::move(rows));
}

QVariant UpNextListModel::roleData(const Row& row, int role) const {
    switch (role) {
        case ItemIdRole: return row.itemId;
        case PositionRole: return row.position;
        case Qt::DisplayRole:
        case TitleRole: return row.title;
        case SubtitleRole: return row.subtitle;
        case LengthTextRole: return row.lengthText;
        case ArtworkUrlRole: return row.artworkUrl;
        default: return {};
    }
}

QList<int> UpNextListModel::changedRoles(const Row& before, const Row& after) const {
    QList<int> roles;
    if (before.position != after.position) roles << PositionRole;
    if (before.title != after.title) roles << Qt::DisplayRole << TitleRole;
    if (before.subtitle != after.subtitle) roles << SubtitleRole;
    if (before.lengthText != after.lengthText) roles << LengthTextRole;
    if (before.artworkUrl != after.artworkUrl) roles << ArtworkUrlRole;
    return roles;
}

QHash<int, QByteArray> UpNextListModel::roleNames() const {
    return {{ItemIdRole, "itemId"},         {PositionRole, "position"},   {TitleRole, "title"},
            {SubtitleRole, "subtitle"},     {LengthTextRole, "lengthText"}, {ArtworkUrlRole, "artworkUrl"}};
}

}  // namespace orvel
