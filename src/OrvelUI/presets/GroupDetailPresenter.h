#pragma once

// The group page's presenter: the selected group's header actions, its volume, its rooms, and
// every action turned into one of the store's intents. It follows the group by id; when the
// group is gone `exists` turns false.

#include <optional>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/presets/SpeakerRowListModel.h"

namespace orvel {

class GroupDetailPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(orvel::ViewStore* store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(QString groupId READ groupId WRITE setGroupId NOTIFY groupIdChanged)
    Q_PROPERTY(bool exists READ exists NOTIFY headerChanged)
    Q_PROPERTY(QString displayName READ displayName NOTIFY headerChanged)
    Q_PROPERTY(bool showsUngroupAll READ showsUngroupAll NOTIFY headerChanged)
    Q_PROPERTY(bool showsPlay READ showsPlay NOTIFY headerChanged)
    Q_PROPERTY(int groupVolume READ groupVolume NOTIFY headerChanged)
    // One menu entry per room "Add Room" offers, carrying its speakerId.
    Q_PROPERTY(QVariantList addRoomEntries READ addRoomEntries NOTIFY headerChanged)
    Q_PROPERTY(orvel::SpeakerRowListModel* members READ members CONSTANT)

public:
    explicit GroupDetailPresenter(QObject* parent = nullptr);

    ViewStore* store() const { return store_.data(); }
    void setStore(ViewStore* store);
    QString groupId() const { return groupId_; }
    void setGroupId(const QString& groupId);

    bool exists() const { return group_.has_value(); }
    QString displayName() const;
    // The group volume block shows exactly when "Ungroup All" does.
    bool showsUngroupAll() const { return group_ && group_->speakers().size() >= 2; }
    bool showsPlay() const { return group_ && group_->playback.isStopped(); }
    int groupVolume() const { return group_ ? group_->volume.percent() : 0; }
    QVariantList addRoomEntries() const { return addRoomEntries_; }
    SpeakerRowListModel* members() { return &members_; }

    Q_INVOKABLE void addRoom(const QString& speakerId);
    Q_INVOKABLE void ungroupAll();
    Q_INVOKABLE void play();
    Q_INVOKABLE void setGroupVolume(int percent);
    Q_INVOKABLE void setSpeakerVolume(const QString& speakerId, int percent);
    Q_INVOKABLE void removeSpeaker(const QString& speakerId);

signals:
    void storeChanged();
    void groupIdChanged();
    void headerChanged();

private:
    void refresh();
    OrvelStore* liveStore() const { return store_ ? store_->store() : nullptr; }

    QPointer<ViewStore> store_;
    QMetaObject::Connection watch_;
    QString groupId_;
    std::optional<SonosGroup> group_;
    QVariantList addRoomEntries_;
    SpeakerRowListModel members_;
};

}  // namespace orvel
