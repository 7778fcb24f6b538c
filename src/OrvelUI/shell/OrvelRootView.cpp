#include "OrvelUI/shell/OrvelRootView.h"

#include <algorithm>

#include "OrvelUI/common/OfflineSpeakers.h"
#include "OrvelUI/playback/ActiveDockGroup.h"
#include "OrvelUI/playback/ActiveHubGroups.h"
#include "OrvelUI/shell/WindowRules.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

namespace {

std::vector<GroupID> idsOf(const std::vector<SonosGroup>& groups) {
    std::vector<GroupID> ids;
    ids.reserve(groups.size());
    for (const SonosGroup& group : groups) ids.push_back(group.id);
    return ids;
}

int extent(std::optional<double> points) {
    return points ? WindowRules::windowExtent(*points) : WindowRules::largestWindowExtent;
}

}  // namespace

OrvelRootView::OrvelRootView(LaunchSource launch, QObject* parent)
    : QObject(parent),
      launch_(std::move(launch)),
      // The options cannot change while the process runs, so the layout is fixed for the
      // window's life.
      phoneLayout_(launch_().requestsIOS()),
      navigation_(RootNavigation::initial(launch_())),
      dockQueue_([this](const QueueItem& item) {
          if (dockGroup_ && playQueueItem_) playQueueItem_(item, dockGroup_->id);
      }),
      dock_(phoneLayout_, launch_().requestsQueuePopover(),
            // The dock's open action: in the phone layout it opens the group on the tab showing it.
            [this](const GroupID& id) {
                if (phoneLayout_) {
                    openGroup(navigation_.activeTab, id);
                } else {
                    select(SidebarDestination::group(id));
                }
            },
            [this](const GroupID& id) { selectDockGroup(id); }) {
    settingsAbout_.setRows(settingsAboutRows(networkName_));
    updatePages();
}

int OrvelRootView::defaultWidth() const { return WindowRules::windowExtent(WindowRules::defaultSize(phoneLayout_).width); }
int OrvelRootView::defaultHeight() const {
    return WindowRules::windowExtent(WindowRules::defaultSize(phoneLayout_).height);
}
int OrvelRootView::minimumWidth() const {
    return WindowRules::windowExtent(WindowRules::frameLimits(phoneLayout_).minimumWidth);
}
int OrvelRootView::minimumHeight() const {
    return WindowRules::windowExtent(WindowRules::frameLimits(phoneLayout_).minimumHeight);
}
int OrvelRootView::maximumWidth() const { return extent(WindowRules::frameLimits(phoneLayout_).maximumWidth); }
int OrvelRootView::maximumHeight() const { return extent(WindowRules::frameLimits(phoneLayout_).maximumHeight); }
int OrvelRootView::sidebarMinimumWidth() const { return WindowRules::windowExtent(WindowRules::sidebarWidths().minimum); }
int OrvelRootView::sidebarIdealWidth() const { return WindowRules::windowExtent(WindowRules::sidebarWidths().ideal); }
int OrvelRootView::sidebarMaximumWidth() const { return WindowRules::windowExtent(WindowRules::sidebarWidths().maximum); }

void OrvelRootView::setActiveTab(int tab) {
    if (tab < int(AppTab::map) || tab > int(AppTab::settings)) return;
    changeNavigation([&](RootNavigation& navigation) { navigation.activeTab = AppTab(tab); });
}

void OrvelRootView::select(std::optional<SidebarDestination> destination) {
    changeNavigation([&](RootNavigation& navigation) { navigation.selection = std::move(destination); });
}

void OrvelRootView::openGroup(AppTab from, const GroupID& id) {
    changeNavigation([&](RootNavigation& navigation) { navigation.openGroup(from, id); });
}

void OrvelRootView::openGroup(int tab, const QString& groupId) {
    if (tab < int(AppTab::map) || tab > int(AppTab::settings)) return;
    if (const auto id = SpeakerUUID::make(groupId.toStdString())) openGroup(AppTab(tab), GroupID(*id));
}

void OrvelRootView::closeGroupPage(int tab) {
    if (tab < int(AppTab::map) || tab > int(AppTab::settings)) return;
    changeNavigation([&](RootNavigation& navigation) { navigation.closeGroupPage(AppTab(tab)); });
}

SelectionKind::Kind OrvelRootView::detailKind() const {
    switch (detail_.kind) {
    case DetailPage::Kind::home: return SelectionKind::Home;
    case DetailPage::Kind::group: return SelectionKind::Group;
    case DetailPage::Kind::speaker: return SelectionKind::Speaker;
    }
    return SelectionKind::Home;
}

QString OrvelRootView::selectionId() const {
    if (!navigation_.selection) return {};
    using D = SidebarDestination;
    return navigation_.selection->visit(
        [](const D::Home&) { return QString(); },
        [](const D::Group& group) { return QString::fromStdString(group.id.description()); },
        [](const D::Speaker& speaker) { return QString::fromStdString(speaker.id.rawValue()); });
}

void OrvelRootView::shown() {
    if (shown_) return;
    shown_ = true;
    changeNavigation([&](RootNavigation& navigation) { navigation.groupListChanged(sonosGroups_, launch_()); });
}

void OrvelRootView::setHousehold(std::vector<SonosGroup> groups, std::vector<Speaker> speakers) {
    const bool groupIdsChanged = idsOf(groups) != idsOf(sonosGroups_);
    sonosGroups_ = std::move(groups);

    std::vector<SpeakerUUID> offlineIds;
    for (const Speaker& speaker : offlineSpeakers(sonosGroups_, speakers)) offlineIds.push_back(speaker.id);
    const bool offlineIdsChanged = offlineIds != offlineIds_;
    offlineIds_ = std::move(offlineIds);
    speakers_ = std::move(speakers);

    // Before the window is shown the watchers are not yet attached; the first showing runs the
    // group-list watcher with whatever is known by then.
    if (!shown_) {
        updateDockGroup();
        updatePages();
        return;
    }
    if (groupIdsChanged) {
        changeNavigation([&](RootNavigation& navigation) { navigation.groupListChanged(sonosGroups_, launch_()); });
    }
    if (offlineIdsChanged) {
        changeNavigation([&](RootNavigation& navigation) { navigation.offlineListChanged(offlineIds_, sonosGroups_); });
    }
    updateDockGroup();
    updatePages();
}

void OrvelRootView::setState(const OrvelState& state) {
    setHousehold(state.groups(), state.speakers());
    setHouseholdName(state.networkName(), state.speakerCountSummary());
    setAlert(state.alert());
}

void OrvelRootView::setHouseholdName(std::optional<std::string> networkName, std::string speakerCountSummary) {
    if (networkName == networkName_ && speakerCountSummary == speakerCountSummary_) return;
    networkName_ = std::move(networkName);
    speakerCountSummary_ = std::move(speakerCountSummary);
    settingsAbout_.setRows(settingsAboutRows(networkName_));
    updatePages();
}

void OrvelRootView::updatePages() {
    DetailPage detail = resolveDetail(navigation_.selection, sonosGroups_, speakers_);
    if (detail != detail_) {
        detail_ = std::move(detail);
        emit detailChanged();
    }
    compactTabs_.setContent(CompactTabsContent::of(navigation_, sonosGroups_, networkName_, speakerCountSummary_));
}

void OrvelRootView::setAlert(std::optional<OrvelAlert> alert) {
    std::optional<AlertBannerContent> banner;
    if (alert) banner = alertBanner(*alert);
    if (banner == banner_) return;
    banner_ = std::move(banner);
    emit alertChanged();
}

QString OrvelRootView::alertMessage() const {
    return banner_ ? QString::fromStdString(banner_->message) : QString();
}

QString OrvelRootView::alertActionTitle() const {
    return banner_ && banner_->actionTitle ? QString::fromStdString(*banner_->actionTitle) : QString();
}

void OrvelRootView::dismissAlert() {
    if (banner_) emit dismissAlertRequested();
}

void OrvelRootView::runAlertAction() {
    if (!banner_ || !banner_->actionTitle) return;
    emit dismissAlertRequested();
    emit connectSpotifyRequested();
}

void OrvelRootView::changeNavigation(const std::function<void(RootNavigation&)>& change) {
    RootNavigation next = navigation_;
    change(next);
    if (next == navigation_) return;
    navigation_ = std::move(next);
    emit navigationChanged();
    updateDockGroup();
    updatePages();
}

QString OrvelRootView::dockGroupId() const {
    return dockGroup_ ? QString::fromStdString(dockGroup_->id.description()) : QString();
}

void OrvelRootView::selectDockGroup(const GroupID& id) {
    changeNavigation([&](RootNavigation& navigation) { navigation.dockGroupPicked(id); });
}

void OrvelRootView::selectDockGroup(const QString& groupId) {
    const auto id = SpeakerUUID::make(groupId.toStdString());
    if (id) selectDockGroup(GroupID(*id));
}

void OrvelRootView::updateDockGroup() {
    std::optional<SonosGroup> next =
        orvel::activeDockGroup(sonosGroups_, navigation_.selection, navigation_.dockSelectedGroupID, phoneLayout_);
    // The switcher's groups can change while the dock group stays the same.
    dock_.setGroups(next, deduplicatedActiveHubGroups(sonosGroups_));
    if (next == dockGroup_) return;
    dockGroup_ = std::move(next);
    const NowPlaying* nowPlaying = dockGroup_ ? dockGroup_->playback.nowPlaying() : nullptr;
    const auto* track = nowPlaying ? nowPlaying->asTrack() : nullptr;
    dockQueue_.setTrack(track ? &track->track : nullptr,
                        dockGroup_ ? shownText(dockGroup_->displayName) : QString());
    emit dockGroupChanged();
}

}  // namespace orvel
