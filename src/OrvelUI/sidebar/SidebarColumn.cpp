#include "OrvelUI/sidebar/SidebarColumn.h"

#include <set>
#include <utility>

#include "OrvelDomain/RoomNaming.h"
#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/common/OfflineSpeakers.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

SidebarColumn::SidebarColumn(OrvelStore& store, SidebarSelection selection, QObject* parent)
    : QObject(parent), store_(&store), selection_(std::move(selection)) {
    connect(store_, &OrvelStore::stateChanged, this, &SidebarColumn::refresh);
    refresh();
}

void SidebarColumn::setShown(bool shown) {
    if (shown == shown_) return;
    shown_ = shown;
    emit shownChanged();
}

SidebarGroupRow* SidebarColumn::row(const QString& groupId) const {
    const auto found = rows_.find(groupId);
    return found == rows_.end() ? nullptr : found->second.get();
}

void SidebarColumn::selectHome() { selection_.select(SidebarDestination::home()); }

void SidebarColumn::selectGroup(const QString& groupId) {
    if (const auto id = SpeakerUUID::make(groupId.toStdString())) selection_.select(SidebarDestination::group(GroupID(*id)));
}

void SidebarColumn::refresh() {
    const OrvelState& state = store_->state();
    const std::vector<SonosGroup>& groups = state.groups();
    const SelectionKind::Kind selection = selection_.kind();
    const QString selectedId = selection_.id();

    const SidebarBrandHeader header =
        SidebarBrandHeader::of(state.networkName(), state.totalSpeakerCount(), state.speakerCountSummary());
    const bool headerSelected = selection == SelectionKind::Home || selection == SelectionKind::None;
    if (header != header_ || headerSelected != headerSelected_) {
        header_ = header;
        headerSelected_ = headerSelected;
        emit headerChanged();
    }

    std::vector<SidebarGroupListRow> listed;
    std::set<QString> seen;
    for (const SonosGroup& group : groups) {
        const QString id = QString::fromStdString(group.id.description());
        if (!seen.insert(id).second) continue;
        std::unique_ptr<SidebarGroupRow>& row = rows_[id];
        if (!row) {
            if (auto kept = retired_.extract(id)) row = std::move(kept.mapped());
        }
        if (!row) {
            row = std::make_unique<SidebarGroupRow>(
                store_, [store = store_] { return store->state().speakers(); }, this);
        }
        row->setGroup(group, selection == SelectionKind::Group && selectedId == id, groups);
        listed.push_back({id, row.get()});
    }
    groups_.setRows(listed);
    // Presenters of groups that went are kept, for the group's return: the lists take a row down
    // only when they next lay out, and a row must keep its presenter until then. A group is
    // named by its coordinator, so there is at most one per speaker.
    for (auto it = rows_.begin(); it != rows_.end();) {
        if (seen.contains(it->first)) {
            ++it;
            continue;
        }
        retired_.insert_or_assign(it->first, std::move(it->second));
        it = rows_.erase(it);
    }

    std::vector<SidebarOfflineListRow> offline;
    for (const Speaker& speaker : offlineSpeakers(groups, state.speakers())) {
        offline.push_back({QString::fromStdString(speaker.id.rawValue()),
                           shownRoomText(speaker.roomName),
                           QString::fromLatin1(speaker.model.caseName())});
    }
    offline_.setRows(std::move(offline));
}

}  // namespace orvel
