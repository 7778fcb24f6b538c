#include "OrvelUI/sidebar/SidebarGroupRow.h"

#include <QPointer>

#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/common/ContextMenuVariant.h"
#include "OrvelUI/common/SpeakerGroupContextMenu.h"
#include "OrvelUI/sidebar/SidebarDrop.h"

namespace orvel {

SidebarGroupRow::SidebarGroupRow(OrvelStore* store, SpeakersSource speakers, QObject* parent)
    : QObject(parent), store_(store), speakers_(std::move(speakers)), members_(this) {}

void SidebarGroupRow::setGroup(const SonosGroup& group, bool isSelected, std::span<const SonosGroup> groups) {
    group_ = group;
    SidebarGroupRowContent next = SidebarGroupRowContent::of(group, isSelected, groups);
    if (next == content_) return;
    const bool membersDiffer = next.members != content_.members;
    content_ = std::move(next);
    emit contentChanged();
    if (!membersDiffer) return;
    std::vector<SidebarMemberListRow> members;
    members.reserve(content_.members.size());
    for (const SidebarMemberContent& member : content_.members) members.push_back({member});
    members_.setRows(std::move(members));
}

QString SidebarGroupRow::subtitleKind() const {
    static const char* const kinds[] = {"none", "playingTrack", "pausedTrack", "surround"};
    return QString::fromLatin1(kinds[int(content_.subtitleKind)]);
}

QString SidebarGroupRow::mark() const {
    static const char* const marks[] = {"none", "artwork", "playing"};
    return QString::fromLatin1(marks[int(content_.mark)]);
}

void SidebarGroupRow::sendLater(std::function<void(OrvelStore&)> intent) {
    // On the next turn of the loop: the new grouping rebuilds rows, possibly the very item whose
    // drag, button or menu is still finishing when the row returns.
    QMetaObject::invokeMethod(
        this, [store = QPointer<OrvelStore>(store_), intent = std::move(intent)] {
            if (store) intent(*store);
        },
        Qt::QueuedConnection);
}

bool SidebarGroupRow::acceptDrop(const QStringList& texts) {
    if (!group_) return false;
    const auto grouping = sidebarDropGrouping(texts, group_->coordinator.id);
    if (!grouping) return false;
    const ContextMenuAction::Group chosen = *grouping;
    sendLater([chosen](OrvelStore& store) { store.group(chosen.member, chosen.onto); });
    return true;
}

void SidebarGroupRow::removeMember(const QString& speakerId) {
    const std::optional<SpeakerUUID> id = SpeakerUUID::make(speakerId.toStdString());
    if (id) sendLater([id = *id](OrvelStore& store) { store.ungroupSpeaker(id); });
}

QVariantList SidebarGroupRow::openMenu() {
    const std::vector<Speaker> speakers = speakers_ ? speakers_() : std::vector<Speaker>{};
    menu_ = SpeakerGroupContextMenu{group_, std::nullopt, false, false}.entries(speakers);
    return contextMenuVariant(menu_);
}

void SidebarGroupRow::chooseMenuEntry(const QString& key) {
    const ContextMenuEntry* entry = findContextMenuEntry(menu_, key.toStdString());
    if (!entry) return;
    sendLater([intent = entry->intent](OrvelStore& store) { performContextMenuIntent(store, intent); });
}

}  // namespace orvel
