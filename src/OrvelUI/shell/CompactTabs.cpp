#include "OrvelUI/shell/CompactTabs.h"

namespace orvel {

void CompactTabs::setContent(CompactTabsContent content) {
    if (content == content_) return;
    content_ = std::move(content);
    emit changed();
}

}  // namespace orvel
