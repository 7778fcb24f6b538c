#pragma once

// The presenter behind the window's "Playback" menu and its keyboard shortcuts. The items keep
// no state: each choice reads the store's groups at that moment, picks the primary target group
// and hands the store one intent. Every item is always enabled; without a target group the
// playback items do nothing.

#include <vector>

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace orvel {

class OrvelStore;

class PlaybackMenu : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")

    // The items, top to bottom: {key, text, shortcut (a key sequence in portable text),
    // shortcutText (as the desktop writes it), separatorBefore}.
    Q_PROPERTY(QVariantList entries READ entries CONSTANT)

public:
    enum class Item { playPause, nextTrack, previousTrack, volumeUp, volumeDown, groupEverywhere };

    struct Entry {
        Item item;
        QString key;
        QString text;
        QKeySequence shortcut;
        bool separatorBefore;
    };

    // The store must outlive the menu.
    explicit PlaybackMenu(OrvelStore& store, QObject* parent = nullptr);

    static const std::vector<Entry>& items();
    QVariantList entries() const;

    void choose(Item item);
    // An entry's key; an unknown key does nothing.
    Q_INVOKABLE void trigger(const QString& key);
    // Whether the shortcut `sequence` steps aside for `focusItem`, which then gets the key press.
    Q_INVOKABLE bool shortcutYields(QObject* focusItem, const QString& sequence) const;

private:
    OrvelStore& store_;
};

}  // namespace orvel
