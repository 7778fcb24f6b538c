#include "OrvelUI/sidebar/SpotifySidebarCard.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBoundaryFinder>

namespace orvel {

namespace {

// The first `count` grapheme clusters of `text`.
QString leadingCharacters(const QString& text, int count) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int end = 0;
    for (int taken = 0; taken < count; ++taken) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0) break;
        end = int(next);
    }
    return text.left(end);
}

}  // namespace

SpotifySidebarCard::SpotifySidebarCard(QObject* parent) : QObject(parent) {}

void SpotifySidebarCard::setAuthorization(std::optional<QString> accountName) {
    if (accountName == accountName_) return;
    accountName_ = std::move(accountName);
    emit authorizationChanged();
}

QString SpotifySidebarCard::displayName() const {
    if (!accountName_) return {};
    return accountName_->isEmpty() ? QStringLiteral("Spotify") : *accountName_;
}

QString SpotifySidebarCard::initials(const QString& name) {
    // Every Unicode white space separates words: a no-break, em or ideographic space as well.
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"), QRegularExpression::UseUnicodePropertiesOption);
    const QStringList words = name.split(whiteSpace, Qt::SkipEmptyParts);
    const QString letters = words.size() >= 2 ? leadingCharacters(words.constFirst(), 1) + leadingCharacters(words.constLast(), 1)
                                              : leadingCharacters(name, 2);
    // The C locale upper-cases by Unicode's rules alone, whatever the desktop's language.
    return QLocale::c().toUpper(letters);
}

}  // namespace orvel
