#pragma once

// The preset creator's presenter: the quick-save rows of the multi-room groups, the typed name,
// the ticked rooms and whether a composed preset can be saved. It is created anew each time the
// creator opens, so every opening starts empty; both saves end with `dismissed`, and a composed
// preset that cannot be saved yet is neither sent nor dismissed.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/presets/CreatorRoomListModel.h"
#include "OrvelUI/presets/PresetCreatorPicks.h"

namespace orvel {

class PresetCreatorPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(orvel::ViewStore* store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(QString draftName READ draftName WRITE setDraftName NOTIFY draftNameChanged)
    Q_PROPERTY(bool canCreate READ canCreate NOTIFY canCreateChanged)
    // One map per group of two or more rooms: groupId, displayName.
    Q_PROPERTY(QVariantList multiRoom READ multiRoom NOTIFY multiRoomChanged)
    Q_PROPERTY(orvel::CreatorRoomListModel* rooms READ rooms CONSTANT)

public:
    explicit PresetCreatorPresenter(QObject* parent = nullptr);

    ViewStore* store() const { return store_.data(); }
    void setStore(ViewStore* store);
    QString draftName() const { return draftName_; }
    void setDraftName(const QString& name);
    bool canCreate() const { return picks_.canCreate(draftName_.toStdString()); }
    QVariantList multiRoom() const { return multiRoom_; }
    CreatorRoomListModel* rooms() { return &rooms_; }
    const PresetCreatorPicks& picks() const { return picks_; }

    Q_INVOKABLE void toggle(const QString& speakerId);
    // Saves the group's grouping under the group's name; the typed name is not used.
    Q_INVOKABLE void saveGroup(const QString& groupId);
    // Does nothing while `canCreate` is false.
    Q_INVOKABLE void savePreset();

signals:
    void storeChanged();
    void draftNameChanged();
    void canCreateChanged();
    void multiRoomChanged();
    void dismissed();

private:
    void refresh();
    void changePicks(PresetCreatorPicks next);

    QPointer<ViewStore> store_;
    QMetaObject::Connection watch_;
    QString draftName_;
    PresetCreatorPicks picks_;
    QVariantList multiRoom_;
    CreatorRoomListModel rooms_;
};

}  // namespace orvel
