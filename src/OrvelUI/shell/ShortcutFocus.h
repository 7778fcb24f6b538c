#pragma once

// Whether a window-wide shortcut must step aside for the item that has the keyboard focus: a
// text input takes every key it is sent (typed text is never read as a command), and a control
// that acts on a key itself (a button on Space, a slider on the arrows) keeps that key.

#include <QKeySequence>

class QObject;

namespace orvel {

// True when `focus` (the window's active focus item, or null) handles `shortcut` by itself.
bool focusTakesShortcut(const QObject* focus, const QKeySequence& shortcut);

}  // namespace orvel
