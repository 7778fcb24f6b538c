#include "OrvelUI/theme/Symbols.h"

#include "OrvelUI/theme/SymbolTable.h"

namespace orvel {

QString Symbols::fontFamily() {
    return QString::fromUtf8(SymbolTable::fontFamily.data(), qsizetype(SymbolTable::fontFamily.size()));
}

QString Symbols::glyph(const QString& name) {
    const std::optional<char32_t> code = SymbolTable::codePoint(name.toStdString());
    if (!code) return {};
    const char32_t text[] = {*code};
    return QString::fromUcs4(text, 1);
}

bool Symbols::isVertical(const QString& name) { return SymbolTable::isVertical(name.toStdString()); }

}  // namespace orvel
