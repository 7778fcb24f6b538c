#include "OrvelUI/shell/PlaybackMenu.h"

#include <optional>

#include <QVariantMap>

#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/playback/NowPlayingDock.h"
#include "OrvelUI/shell/PrimaryTargetGroup.h"
#include "OrvelUI/shell/ShortcutFocus.h"

namespace orvel {

PlaybackMenu::PlaybackMenu(OrvelStore& store, QObject* parent) : QObject(parent), store_(store) {}

// Ctrl stands for the Command key of the original keyboard layout.
const std::vector<PlaybackMenu::Entry>& PlaybackMenu::items() {
    static const std::vector<Entry> list{
        {Item::playPause, QStringLiteral("playPause"), QStringLiteral("Play / Pause"), QKeySequence(Qt::Key_Space), false},
        {Item::nextTrack, QStringLiteral("nextTrack"), QStringLiteral("Next Track"),
         QKeySequence(Qt::CTRL | Qt::Key_Right), false},
        {Item::previousTrack, QStringLiteral("previousTrack"), QStringLiteral("Previous Track"),
         QKeySequence(Qt::CTRL | Qt::Key_Left), false},
        {Item::volumeUp, QStringLiteral("volumeUp"), QStringLiteral("Volume Up"), QKeySequence(Qt::CTRL | Qt::Key_Up),
         true},
        {Item::volumeDown, QStringLiteral("volumeDown"), QStringLiteral("Volume Down"),
         QKeySequence(Qt::CTRL | Qt::Key_Down), false},
        {Item::groupEverywhere, QStringLiteral("groupEverywhere"), QStringLiteral("Group All Rooms (Everywhere)"),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G), true},
    };
    return list;
}

QVariantList PlaybackMenu::entries() const {
    QVariantList list;
    for (const Entry& entry : items()) {
        list.append(QVariantMap{
            {QStringLiteral("key"), entry.key},
            {QStringLiteral("text"), entry.text},
            {QStringLiteral("shortcut"), entry.shortcut.toString(QKeySequence::PortableText)},
            {QStringLiteral("shortcutText"), entry.shortcut.toString(QKeySequence::NativeText)},
            {QStringLiteral("separatorBefore"), entry.separatorBefore},
        });
    }
    return list;
}

void PlaybackMenu::trigger(const QString& key) {
    for (const Entry& entry : items()) {
        if (entry.key == key) {
            choose(entry.item);
            return;
        }
    }
}

void PlaybackMenu::choose(Item item) {
    if (item == Item::groupEverywhere) {
        store_.groupEverywhere();
        return;
    }
    // Chosen afresh at every choice: what plays now may differ from what played a moment ago.
    const std::optional<SonosGroup> target = primaryTargetGroup(store_.state().groups());
    if (!target) return;
    switch (item) {
    case Item::playPause: store_.togglePlayOrHandOffSpotify(*target); return;
    case Item::nextTrack: store_.send(SonosCommand::nextTrack(target->id)); return;
    case Item::previousTrack: store_.send(SonosCommand::previousTrack(target->id)); return;
    // Sent even when the step leaves the volume where it was: the store coalesces repeats.
    case Item::volumeUp:
        store_.send(SonosCommand::setVolume(target->volume.stepped(1), dockVolumeTarget(*target)));
        return;
    case Item::volumeDown:
        store_.send(SonosCommand::setVolume(target->volume.stepped(-1), dockVolumeTarget(*target)));
        return;
    case Item::groupEverywhere: return;
    }
}

bool PlaybackMenu::shortcutYields(QObject* focusItem, const QString& sequence) const {
    return focusTakesShortcut(focusItem, QKeySequence(sequence, QKeySequence::PortableText));
}

}  // namespace orvel
