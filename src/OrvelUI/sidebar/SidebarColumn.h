#pragma once

// The sidebar column of the desktop layout: the brand header with the network name and the
// speaker count, one row per group, one per offline speaker, and the Spotify card at its foot.
// Selection lives with the window's navigation; the column reads it and writes it there.

#include <map>
#include <memory>

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/sidebar/SidebarBrandHeader.h"
#include "OrvelUI/sidebar/SidebarGroupRow.h"
#include "OrvelUI/sidebar/SidebarListModels.h"
#include "OrvelUI/sidebar/SidebarSelection.h"
#include "OrvelUI/sidebar/SpotifySidebarCard.h"

namespace orvel {

class OrvelStore;

class SidebarColumn : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(QString networkName READ networkName NOTIFY headerChanged)
    Q_PROPERTY(QString speakerCount READ speakerCount NOTIFY headerChanged)
    Q_PROPERTY(bool headerSelected READ headerSelected NOTIFY headerChanged)
    Q_PROPERTY(orvel::SidebarGroupListModel* groups READ groups CONSTANT)
    Q_PROPERTY(orvel::SidebarOfflineListModel* offline READ offline CONSTANT)
    Q_PROPERTY(orvel::SpotifySidebarCard* spotifyCard READ spotifyCard CONSTANT)
    Q_PROPERTY(bool shown READ shown WRITE setShown NOTIFY shownChanged)

public:
    SidebarColumn(OrvelStore& store, SidebarSelection selection, QObject* parent = nullptr);

    QString networkName() const { return header_.networkName; }
    QString speakerCount() const { return header_.speakerCount; }
    bool headerSelected() const { return headerSelected_; }
    SidebarGroupListModel* groups() { return &groups_; }
    SidebarOfflineListModel* offline() { return &offline_; }
    SpotifySidebarCard* spotifyCard() { return &card_; }
    bool shown() const { return shown_; }
    void setShown(bool shown);

    // The row presenter of a group, or null.
    SidebarGroupRow* row(const QString& groupId) const;

    Q_INVOKABLE void selectHome();
    Q_INVOKABLE void selectGroup(const QString& groupId);
    Q_INVOKABLE void toggleShown() { setShown(!shown_); }

    // The window's selection changed: the header and the rows show the new one.
    void selectionChanged() { refresh(); }

signals:
    void headerChanged();
    void shownChanged();

private:
    void refresh();

    OrvelStore* store_;
    SidebarSelection selection_;
    SidebarBrandHeader header_;
    bool headerSelected_ = true;
    bool shown_ = true;
    SidebarGroupListModel groups_;
    SidebarOfflineListModel offline_;
    SpotifySidebarCard card_;
    std::map<QString, std::unique_ptr<SidebarGroupRow>> rows_;
    // The presenters of groups not listed now.
    std::map<QString, std::unique_ptr<SidebarGroupRow>> retired_;
};

}  // namespace orvel
