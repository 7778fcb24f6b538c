#pragma once

// The up-next card: what will play after a group's current track, with a header naming the
// count (and, on a card that draws its own chrome, the source), one row per entry, or a note
// when nothing is queued. A tapped row goes to the host, which decides what to do with it.

#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/NowPlayingTrack.h"
#include "OrvelDomain/QueueItem.h"
#include "OrvelUI/playback/UpNextListModel.h"

namespace orvel {

class UpNextQueueCard : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by its host")

    Q_PROPERTY(bool embedded READ embedded WRITE setEmbedded NOTIFY contentChanged)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY contentChanged)
    // Empty when the header shows no source.
    Q_PROPERTY(QString sourceBadge READ sourceBadge NOTIFY contentChanged)
    Q_PROPERTY(QString countText READ countText NOTIFY contentChanged)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY contentChanged)
    Q_PROPERTY(orvel::UpNextListModel* items READ items CONSTANT)

public:
    using SelectQueueItem = std::function<void(const QueueItem&)>;

    explicit UpNextQueueCard(SelectQueueItem onSelectQueueItem, QObject* parent = nullptr);

    // The current track (its up-next list and source; none: nothing queued) and the room named
    // when nothing is queued.
    void setTrack(const NowPlayingTrack* track, const QString& roomName);
    void setTrack(const NowPlayingTrack& track, const QString& roomName) { setTrack(&track, roomName); }
    bool embedded() const { return embedded_; }
    void setEmbedded(bool embedded);

    bool isEmpty() const { return upNext_.empty(); }
    QString sourceBadge() const;
    QString countText() const;
    QString emptyText() const;
    UpNextListModel* items() { return &items_; }

    // A tapped row, named by the entry's id and position. The host gets that exact entry; a tap
    // on a row that a newer list has replaced (the id no longer at that position) is dropped,
    // so a repeated track never plays the wrong copy.
    Q_INVOKABLE bool selectQueueItem(const QString& itemId, int position);

signals:
    void contentChanged();

private:
    SelectQueueItem onSelectQueueItem_;
    std::vector<QueueItem> upNext_;
    std::optional<PlaybackSource> source_;
    QString roomName_;
    bool embedded_ = false;
    UpNextListModel items_;
};

}  // namespace orvel
