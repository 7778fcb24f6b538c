#pragma once

// The rows of the up-next list. Queue ids repeat (a track queued twice), so rows are keyed by
// id and occurrence, and each row carries its position too: a tap names the exact entry.

#include <span>

#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/QueueItem.h"
#include "OrvelUI/common/KeyedListModel.h"

namespace orvel {

struct UpNextRow {
    QString itemId;
    // Offset in the up-next list, from 0; the row shows it plus one.
    int position = 0;
    QString title;
    // Empty when the row has no subtitle.
    QString subtitle;
    // Empty when the item has no length.
    QString lengthText;
    QString artworkUrl;

    static UpNextRow of(const QueueItem& item, int position);
    const QString& key() const { return itemId; }
    friend bool operator==(const UpNextRow&, const UpNextRow&) = default;
};

// moc is shown the base that carries the meta-object (see KeyedListModel.h).
#ifdef Q_MOC_RUN
class UpNextListModel : public orvel::KeyedListModelBase {
#else
class UpNextListModel : public KeyedListModel<UpNextRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the up-next card")

public:
    enum Role {
        ItemIdRole = Qt::UserRole + 1,
        PositionRole,
        TitleRole,
        SubtitleRole,
        LengthTextRole,
        ArtworkUrlRole,
    };

    using Row = UpNextRow;

    explicit UpNextListModel(QObject* parent = nullptr);

    void setItems(std::span<const QueueItem> items);

    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const Row& row, int role) const override;
    QList<int> changedRoles(const Row& before, const Row& after) const override;
};

}  // namespace orvel
