#include "OrvelUI/common/ShownText.h"

namespace orvel {

QString shownText(std::string_view text, std::size_t characters) {
    // Every byte that is not a continuation byte starts a character.
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (seen == characters) {
            return QString::fromUtf8(text.data(), qsizetype(i)) + QChar(0x2026);
        }
        ++seen;
    }
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace orvel
