#pragma once

// The phone layout's tab chrome for QML: titles, the speaker count, the group page open in the
// map and rooms tabs, and whether the dock shows (only on the current tab's first page). Fed
// by the root view; emits only when what it shows changed.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/shell/CompactTabsContent.h"

namespace orvel {

class CompactTabs : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the root view")
    Q_PROPERTY(QString mapTitle READ mapTitle NOTIFY changed)
    Q_PROPERTY(QString roomsTitle READ roomsTitle CONSTANT)
    Q_PROPERTY(QString settingsTitle READ settingsTitle CONSTANT)
    Q_PROPERTY(QString speakerCountSummary READ speakerCountSummary NOTIFY changed)
    Q_PROPERTY(QString mapGroupId READ mapGroupId NOTIFY changed)
    Q_PROPERTY(QString mapGroupTitle READ mapGroupTitle NOTIFY changed)
    Q_PROPERTY(bool mapGroupFound READ mapGroupFound NOTIFY changed)
    Q_PROPERTY(QString roomsGroupId READ roomsGroupId NOTIFY changed)
    Q_PROPERTY(QString roomsGroupTitle READ roomsGroupTitle NOTIFY changed)
    Q_PROPERTY(bool roomsGroupFound READ roomsGroupFound NOTIFY changed)
    Q_PROPERTY(bool onFirstPage READ onFirstPage NOTIFY changed)

public:
    using QObject::QObject;

    void setContent(CompactTabsContent content);
    const CompactTabsContent& content() const { return content_; }

    QString mapTitle() const { return content_.mapTitle; }
    static QString roomsTitle() { return compactTabTitle(AppTab::rooms, std::nullopt); }
    static QString settingsTitle() { return compactTabTitle(AppTab::settings, std::nullopt); }
    QString speakerCountSummary() const { return content_.speakerCountSummary; }
    QString mapGroupId() const { return content_.mapPage.groupId; }
    QString mapGroupTitle() const { return content_.mapPage.title; }
    bool mapGroupFound() const { return content_.mapPage.found; }
    QString roomsGroupId() const { return content_.roomsPage.groupId; }
    QString roomsGroupTitle() const { return content_.roomsPage.title; }
    bool roomsGroupFound() const { return content_.roomsPage.found; }
    bool onFirstPage() const { return content_.onFirstPage; }

signals:
    void changed();

private:
    CompactTabsContent content_;
};

}  // namespace orvel
