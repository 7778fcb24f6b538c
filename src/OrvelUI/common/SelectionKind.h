#pragma once

// What the sidebar selection holds, as an enumeration QML can switch on:
// `SelectionKind.Group` and so on. QML reads only enumerators that start with a capital.

#include <optional>

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/SidebarDestination.h"

namespace orvel {

namespace SelectionKind {
Q_NAMESPACE
QML_ELEMENT

enum Kind {
    // Nothing is selected.
    None,
    Home,
    Group,
    // An offline speaker.
    Speaker,
};
Q_ENUM_NS(Kind)

inline Kind of(const std::optional<SidebarDestination>& selection) {
    if (!selection) return None;
    if (selection->isGroup()) return Group;
    if (selection->isSpeaker()) return Speaker;
    return Home;
}

}  // namespace SelectionKind

}  // namespace orvel
