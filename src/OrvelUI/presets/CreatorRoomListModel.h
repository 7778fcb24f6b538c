#pragma once

// The preset creator's room list: every known speaker, online or not, with its tick.

#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/KeyedListModel.h"

namespace orvel {

struct CreatorRoomRow {
    QString speakerId;
    QString title;
    bool online = true;
    bool picked = false;
    // The first ticked room leads the composed preset.
    bool coordinator = false;

    const QString& key() const { return speakerId; }
    friend bool operator==(const CreatorRoomRow&, const CreatorRoomRow&) = default;
};

#ifdef Q_MOC_RUN
class CreatorRoomListModel : public orvel::KeyedListModelBase {
#else
class CreatorRoomListModel : public KeyedListModel<CreatorRoomRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the preset creator")

public:
    enum Role { SpeakerIdRole = Qt::UserRole + 1, TitleRole, OnlineRole, PickedRole, CoordinatorRole };
    using Row = CreatorRoomRow;
    using KeyedListModel::KeyedListModel;

    QHash<int, QByteArray> roleNames() const override {
        return {{SpeakerIdRole, "speakerId"}, {TitleRole, "title"}, {OnlineRole, "online"},
                {PickedRole, "picked"},       {CoordinatorRole, "coordinator"}};
    }

protected:
    QVariant roleData(const Row& row, int role) const override {
        switch (role) {
            case SpeakerIdRole: return row.speakerId;
            case TitleRole: return row.title;
            case OnlineRole: return row.online;
            case PickedRole: return row.picked;
            case CoordinatorRole: return row.coordinator;
            default: return {};
        }
    }
};

}  // namespace orvel
