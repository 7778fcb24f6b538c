#include "OrvelUI/shell/ShortcutFocus.h"

#include <QObject>

namespace orvel {

namespace {

enum class KeyKind { space, horizontalArrow, verticalArrow, other };

KeyKind kindOf(const QKeySequence& shortcut) {
    if (shortcut.isEmpty()) return KeyKind::other;
    switch (shortcut[0].key()) {
    case Qt::Key_Space: return KeyKind::space;
    case Qt::Key_Left:
    case Qt::Key_Right: return KeyKind::horizontalArrow;
    case Qt::Key_Up:
    case Qt::Key_Down: return KeyKind::verticalArrow;
    default: return KeyKind::other;
    }
}

// The items that act on keys by themselves, by their C++ class (matched with inheritance, so
// TextField and TextArea count as text inputs and every button kind as a button). The controls
// read the key without looking at the modifiers, so Ctrl+arrow moves a slider as an arrow does.
struct KeyTaker {
    const char* className;
    bool space;
    bool horizontal;
    bool vertical;
    bool everything;
};

constexpr KeyTaker keyTakers[] = {
    {"QQuickTextInput", true, true, true, true},
    {"QQuickTextEdit", true, true, true, true},
    {"QQuickAbstractButton", true, false, false, false},
    {"QQuickComboBox", true, false, true, false},
    {"QQuickSlider", false, true, true, false},
    {"QQuickRangeSlider", false, true, true, false},
    {"QQuickDial", false, true, true, false},
    {"QQuickSpinBox", false, false, true, false},
    {"QQuickTumbler", false, false, true, false},
};

bool takes(const KeyTaker& taker, KeyKind kind) {
    if (taker.everything) return true;
    switch (kind) {
    case KeyKind::space: return taker.space;
    case KeyKind::horizontalArrow: return taker.horizontal;
    case KeyKind::verticalArrow: return taker.vertical;
    case KeyKind::other: return false;
    }
    return false;
}

}  // namespace

bool focusTakesShortcut(const QObject* focus, const QKeySequence& shortcut) {
    if (!focus) return false;
    const KeyKind kind = kindOf(shortcut);
    for (const KeyTaker& taker : keyTakers) {
        if (focus->inherits(taker.className)) return takes(taker, kind);
    }
    return false;
}

}  // namespace orvel
