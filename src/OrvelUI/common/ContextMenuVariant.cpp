#include "OrvelUI/common/ContextMenuVariant.h"

#include <QVariantMap>

namespace orvel {

QVariantList contextMenuVariant(const std::vector<ContextMenuEntry>& entries) {
    QVariantList list;
    for (const ContextMenuEntry& entry : entries) {
        static const char* const kinds[] = {"item", "separator", "submenu"};
        list.append(QVariantMap{
            {QStringLiteral("kind"), QString::fromLatin1(kinds[int(entry.kind)])},
            {QStringLiteral("key"), QString::fromStdString(entry.key)},
            {QStringLiteral("text"), QString::fromStdString(entry.text)},
            {QStringLiteral("symbol"), QString::fromStdString(entry.symbol)},
            {QStringLiteral("destructive"), entry.destructive},
            {QStringLiteral("children"), contextMenuVariant(entry.children)},
        });
    }
    return list;
}

}  // namespace orvel
