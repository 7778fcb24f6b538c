#pragma once

// The store as the group page and the preset views reach it from QML: its state, a signal when
// that state changes, and its intents. The presenters read their own slice from here.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <vector>

#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/common/ContextMenuEntry.h"

namespace orvel {

class ViewStore : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")

public:
    explicit ViewStore(OrvelStore& store, QObject* parent = nullptr);

    // Null once the store is gone.
    OrvelStore* store() const { return store_.data(); }

    // For review pictures: the group with the most rooms, a group whose rooms have bonded
    // satellites (the most of them), and an offline speaker; empty when there is none.
    Q_INVOKABLE QString largestGroupId() const;
    Q_INVOKABLE QString satelliteGroupId() const;
    Q_INVOKABLE QString offlineSpeakerId() const;

    // The context menu of a room on its group's page, built as it opens; a choice is reported
    // by the entry's key and reaches the store on the next turn of the event loop.
    Q_INVOKABLE QVariantList memberMenu(const QString& groupId, const QString& speakerId);
    Q_INVOKABLE void chooseMemberMenuEntry(const QString& key);

signals:
    void stateChanged();

private:
    QPointer<OrvelStore> store_;
    std::vector<ContextMenuEntry> memberMenu_;
};

}  // namespace orvel
