#pragma once

// The presenter of one sidebar group row: what the row shows (SidebarGroupRowContent), the room
// dropped on it, the member rows' remove buttons and the row's context menu. It is given only its
// own group and emits only when what the row shows changed.

#include <functional>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelUI/common/ContextMenuEntry.h"
#include "OrvelUI/sidebar/SidebarGroupRowContent.h"
#include "OrvelUI/sidebar/SidebarListModels.h"

namespace orvel {

class OrvelStore;

class SidebarGroupRow : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the sidebar")
    Q_PROPERTY(QString groupId READ groupId CONSTANT)
    Q_PROPERTY(QString coordinatorId READ coordinatorId NOTIFY contentChanged)
    Q_PROPERTY(QString coordinatorLabel READ coordinatorLabel NOTIFY contentChanged)
    Q_PROPERTY(QString title READ title NOTIFY contentChanged)
    Q_PROPERTY(bool isSelected READ isSelected NOTIFY contentChanged)
    Q_PROPERTY(bool isMultiRoom READ isMultiRoom NOTIFY contentChanged)
    Q_PROPERTY(QString model READ model NOTIFY contentChanged)
    Q_PROPERTY(bool isOnline READ isOnline NOTIFY contentChanged)
    Q_PROPERTY(bool silhouetteHighlighted READ silhouetteHighlighted NOTIFY contentChanged)
    // "none", "playingTrack", "pausedTrack" or "surround".
    Q_PROPERTY(QString subtitleKind READ subtitleKind NOTIFY contentChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY contentChanged)
    Q_PROPERTY(bool hasBattery READ hasBattery NOTIFY contentChanged)
    Q_PROPERTY(int batteryPercent READ batteryPercent NOTIFY contentChanged)
    Q_PROPERTY(bool batteryOnCharger READ batteryOnCharger NOTIFY contentChanged)
    // "none", "artwork" or "playing".
    Q_PROPERTY(QString mark READ mark NOTIFY contentChanged)
    Q_PROPERTY(QUrl artworkUrl READ artworkUrl NOTIFY contentChanged)
    Q_PROPERTY(bool playing READ playing NOTIFY contentChanged)
    // The rooms of a multi-room group, coordinator first; empty for a single room.
    Q_PROPERTY(orvel::SidebarMemberListModel* members READ members CONSTANT)

public:
    using SpeakersSource = std::function<std::vector<Speaker>()>;

    SidebarGroupRow(OrvelStore* store, SpeakersSource speakers, QObject* parent = nullptr);

    // The row's group, its selection and the household's groups (for the duplicate rule).
    void setGroup(const SonosGroup& group, bool isSelected, std::span<const SonosGroup> groups);
    const SidebarGroupRowContent& content() const { return content_; }

    QString groupId() const { return content_.groupId; }
    QString coordinatorId() const { return content_.coordinatorId; }
    QString coordinatorLabel() const { return content_.coordinatorLabel; }
    QString title() const { return content_.title; }
    bool isSelected() const { return content_.isSelected; }
    bool isMultiRoom() const { return content_.isMultiRoom; }
    QString model() const { return content_.model; }
    bool isOnline() const { return content_.isOnline; }
    bool silhouetteHighlighted() const { return content_.silhouetteHighlighted; }
    QString subtitleKind() const;
    QString subtitle() const { return content_.subtitle; }
    bool hasBattery() const { return content_.batteryPercent.has_value(); }
    int batteryPercent() const { return content_.batteryPercent.value_or(0); }
    bool batteryOnCharger() const { return content_.batteryOnCharger; }
    QString mark() const;
    QUrl artworkUrl() const { return content_.artworkUrl; }
    bool playing() const { return content_.playing; }
    SidebarMemberListModel* members() { return &members_; }

    // A drop of plain text on the row; true when it asked the store to group.
    Q_INVOKABLE bool acceptDrop(const QStringList& texts);
    // A member row's remove button.
    Q_INVOKABLE void removeMember(const QString& speakerId);
    // Builds the menu as it opens; the entries keep the ids they were built with.
    Q_INVOKABLE QVariantList openMenu();
    Q_INVOKABLE void chooseMenuEntry(const QString& key);

signals:
    void contentChanged();

private:
    void sendLater(std::function<void(OrvelStore&)> intent);

    OrvelStore* store_;
    SpeakersSource speakers_;
    std::optional<SonosGroup> group_;
    SidebarGroupRowContent content_;
    SidebarMemberListModel members_;
    std::vector<ContextMenuEntry> menu_;
};

}  // namespace orvel
