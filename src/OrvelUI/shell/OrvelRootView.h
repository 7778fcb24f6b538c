#pragma once

// The presenter behind the window's root view: it owns the navigation state, chooses between
// the desktop split view and the phone tab layout, keeps the selection valid as the household
// changes, resolves the detail column's page and feeds the phone tabs and the settings page.

#include <functional>
#include <vector>

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/Speaker.h"
#include "OrvelStore/OrvelAlert.h"
#include "OrvelStore/OrvelState.h"
#include "OrvelUI/shell/AlertMessage.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/shell/CompactTabs.h"
#include "OrvelUI/shell/DetailPage.h"
#include "OrvelUI/shell/SettingsAbout.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelUI/shell/LaunchView.h"
#include "OrvelUI/shell/RootNavigation.h"
#include "OrvelUI/common/SelectionKind.h"
#include "OrvelUI/playback/NowPlayingDock.h"
#include "OrvelUI/playback/UpNextQueueCard.h"
#include "OrvelUI/map/FloorplanMapPresenter.h"
#include "OrvelUI/sidebar/SidebarColumn.h"
#include "OrvelUI/common/ViewStore.h"

namespace orvel {

class OrvelRootView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")

    Q_PROPERTY(bool phoneLayout READ phoneLayout CONSTANT)
    Q_PROPERTY(int defaultWidth READ defaultWidth CONSTANT)
    Q_PROPERTY(int defaultHeight READ defaultHeight CONSTANT)
    Q_PROPERTY(int minimumWidth READ minimumWidth CONSTANT)
    Q_PROPERTY(int minimumHeight READ minimumHeight CONSTANT)
    Q_PROPERTY(int maximumWidth READ maximumWidth CONSTANT)
    Q_PROPERTY(int maximumHeight READ maximumHeight CONSTANT)
    Q_PROPERTY(int sidebarMinimumWidth READ sidebarMinimumWidth CONSTANT)
    Q_PROPERTY(int sidebarIdealWidth READ sidebarIdealWidth CONSTANT)
    Q_PROPERTY(int sidebarMaximumWidth READ sidebarMaximumWidth CONSTANT)
    Q_PROPERTY(int activeTab READ activeTab WRITE setActiveTab NOTIFY navigationChanged)
    Q_PROPERTY(orvel::SelectionKind::Kind selectionKind READ selectionKind NOTIFY navigationChanged)
    Q_PROPERTY(QString selectionId READ selectionId NOTIFY navigationChanged)
    // The page of the desktop detail column: Home, Group or Speaker, never None.
    Q_PROPERTY(orvel::SelectionKind::Kind detailKind READ detailKind NOTIFY detailChanged)
    // The group's or speaker's id of that page; empty for the home pane.
    Q_PROPERTY(QString detailId READ detailId NOTIFY detailChanged)
    Q_PROPERTY(bool showsHome READ showsHome NOTIFY detailChanged)
    Q_PROPERTY(orvel::CompactTabs* compactTabs READ compactTabs CONSTANT)
    Q_PROPERTY(orvel::SettingsAboutListModel* settingsAbout READ settingsAbout CONSTANT)
    Q_PROPERTY(bool hasAlert READ hasAlert NOTIFY alertChanged)
    Q_PROPERTY(QString alertMessage READ alertMessage NOTIFY alertChanged)
    // Empty when the alert offers no action.
    Q_PROPERTY(QString alertActionTitle READ alertActionTitle NOTIFY alertChanged)
    // Empty while no dock shows.
    Q_PROPERTY(QString dockGroupId READ dockGroupId NOTIFY dockGroupChanged)
    // What plays next in the dock's group.
    Q_PROPERTY(orvel::UpNextQueueCard* dockQueue READ dockQueue CONSTANT)
    // The now-playing dock: one for the window, handed each new dock group.
    Q_PROPERTY(orvel::NowPlayingDock* dock READ dock CONSTANT)
    // The floor-plan map of the home pane; null until the application hands it in.
    Q_PROPERTY(orvel::FloorplanMapPresenter* map READ map NOTIFY mapChanged)
    // The sidebar column, set by the application before the window loads.
    Q_PROPERTY(orvel::SidebarColumn* sidebar READ sidebar CONSTANT)
    // The store for the preset bar and the group and speaker pages; set before the window loads.
    Q_PROPERTY(orvel::ViewStore* viewStore READ viewStore CONSTANT)

public:
    using LaunchSource = std::function<LaunchInputs()>;
    using PlayQueueItem = std::function<void(const QueueItem&, const GroupID&)>;

    // `launch` is asked afresh whenever a launch option matters.
    explicit OrvelRootView(LaunchSource launch, QObject* parent = nullptr);

    bool phoneLayout() const { return phoneLayout_; }
    int defaultWidth() const;
    int defaultHeight() const;
    int minimumWidth() const;
    int minimumHeight() const;
    int maximumWidth() const;
    int maximumHeight() const;
    int sidebarMinimumWidth() const;
    int sidebarIdealWidth() const;
    int sidebarMaximumWidth() const;

    int activeTab() const { return int(navigation_.activeTab); }
    void setActiveTab(int tab);
    SelectionKind::Kind selectionKind() const { return SelectionKind::of(navigation_.selection); }
    QString selectionId() const;
    const DetailPage& detail() const { return detail_; }
    SelectionKind::Kind detailKind() const;
    QString detailId() const { return QString::fromStdString(detail_.id); }
    bool showsHome() const { return detail_.showsHome(); }
    CompactTabs* compactTabs() { return &compactTabs_; }
    SettingsAboutListModel* settingsAbout() { return &settingsAbout_; }

    const RootNavigation& navigation() const { return navigation_; }
    // The group whose now-playing dock shows, or none.
    const std::optional<SonosGroup>& activeDockGroup() const { return dockGroup_; }
    QString dockGroupId() const;
    UpNextQueueCard* dockQueue() { return &dockQueue_; }
    NowPlayingDock* dock() { return &dock_; }
    FloorplanMapPresenter* map() const { return map_; }
    // The presenter must outlive the root view's window.
    void setMap(FloorplanMapPresenter* map) {
        if (map_ == map) return;
        map_ = map;
        emit mapChanged();
    }
    ViewStore* viewStore() const { return viewStore_; }
    void setViewStore(ViewStore* store) { viewStore_ = store; }
    // For the store: play an entry of the dock group's up-next list on that group.
    void setPlayQueueItem(PlayQueueItem play) { playQueueItem_ = std::move(play); }
    // What the user picked in the sidebar, the dock or a compact tab.
    void select(std::optional<SidebarDestination> destination);
    // A group opened from a compact tab: its map, its rooms list or the dock on it.
    void openGroup(AppTab from, const GroupID& id);
    Q_INVOKABLE void openGroup(int tab, const QString& groupId);
    // Back to a compact tab's first page.
    Q_INVOKABLE void closeGroupPage(int tab);

    // The window's content is on screen. The first time, the group-list watcher runs once with
    // the groups known so far.
    void shown();
    // A new state of the store: its groups, its speakers, the household's name and its alert.
    void setState(const OrvelState& state);
    // The household's network name and speaker count line, for the tabs and the settings.
    void setHouseholdName(std::optional<std::string> networkName, std::string speakerCountSummary);
    // A new state of the household: the groups in the store's order and every known speaker
    // sorted by room name. Runs the watchers for the lists that changed.
    void setHousehold(std::vector<SonosGroup> groups, std::vector<Speaker> speakers);
    // The banner shows while there is an alert; a newer alert replaces the text at once.
    void setAlert(std::optional<OrvelAlert> alert);

    bool hasAlert() const { return banner_.has_value(); }
    QString alertMessage() const;
    QString alertActionTitle() const;

    // The dock's group switcher: remembers the pick, and follows it in the sidebar when a group
    // is selected there.
    void selectDockGroup(const GroupID& id);
    Q_INVOKABLE void selectDockGroup(const QString& groupId);

    SidebarColumn* sidebar() const { return sidebar_; }
    void setSidebar(SidebarColumn* sidebar) { sidebar_ = sidebar; }

    // Starts the Spotify sign-in and returns at once; the one way every view asks for it.
    Q_INVOKABLE void triggerSpotifyConnect() { emit connectSpotifyRequested(); }

    // The banner's close button.
    Q_INVOKABLE void dismissAlert();
    // The banner's action: the alert is dismissed before the sign-in starts.
    Q_INVOKABLE void runAlertAction();

signals:
    void navigationChanged();
    void detailChanged();
    void mapChanged();
    void alertChanged();
    void dockGroupChanged();
    // For the store: clear its alert.
    void dismissAlertRequested();
    // For the Spotify link: start the sign-in.
    void connectSpotifyRequested();

private:
    void changeNavigation(const std::function<void(RootNavigation&)>& change);
    void updateDockGroup();
    // The detail page and the tab chrome after a change of navigation or household.
    void updatePages();

    LaunchSource launch_;
    bool phoneLayout_;
    RootNavigation navigation_;
    bool shown_ = false;
    std::vector<SonosGroup> sonosGroups_;
    std::vector<Speaker> speakers_;
    std::vector<SpeakerUUID> offlineIds_;
    std::optional<std::string> networkName_;
    std::string speakerCountSummary_;
    DetailPage detail_;
    CompactTabs compactTabs_;
    SettingsAboutListModel settingsAbout_;
    std::optional<AlertBannerContent> banner_;
    std::optional<SonosGroup> dockGroup_;
    PlayQueueItem playQueueItem_;
    UpNextQueueCard dockQueue_;
    NowPlayingDock dock_;
    FloorplanMapPresenter* map_ = nullptr;
    SidebarColumn* sidebar_ = nullptr;
    ViewStore* viewStore_ = nullptr;
};

}  // namespace orvel
