#include "SpotifyBridgeSignIn.h"

#include <QByteArray>

namespace orvel {

namespace {

// Everything but the unreserved characters and the few delimiters that are plain data inside a
// query value is encoded, "+", "&", "=" and "#" included, so the service reads back exactly
// what was sent.
QByteArray encodedValue(std::string_view value) {
    return QUrl::toPercentEncoding(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())),
                                   QByteArrayLiteral(":/?@!$'()*,;"));
}

std::string decoded(QByteArrayView encoded) { return QUrl::fromPercentEncoding(encoded.toByteArray()).toStdString(); }

const SpotifyBridgeSignIn::QueryItem* firstNamed(const std::vector<SpotifyBridgeSignIn::QueryItem>& items,
                                                 std::string_view name) {
    for (const auto& item : items) {
        if (item.name == name) return &item;
    }
    return nullptr;
}

}  // namespace

std::optional<QUrl> SpotifyBridgeSignIn::authorizeURL(const QString& accountsOrigin, std::string_view clientID,
                                                      const QUrl& redirectURI, std::string_view state,
                                                      std::string_view challenge) {
    if (clientID.empty()) return std::nullopt;
    const std::string redirect = redirectURI.toString(QUrl::FullyEncoded).toStdString();
    const std::pair<std::string_view, std::string_view> items[] = {
        {"response_type", "code"},
        {"client_id", clientID},
        {"scope", scope},
        {"redirect_uri", redirect},
        {"state", state},
        {"code_challenge_method", "S256"},
        {"code_challenge", challenge},
    };
    QByteArray query;
    for (const auto& [name, value] : items) {
        if (!query.isEmpty()) query += '&';
        query += QByteArray(name.data(), static_cast<qsizetype>(name.size())) + '=' + encodedValue(value);
    }
    QUrl url(accountsOrigin + QStringLiteral("/authorize?") + QString::fromLatin1(query), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) return std::nullopt;
    return url;
}

QString SpotifyBridgeSignIn::callbackScheme(const QUrl& redirectURI) {
    const QString scheme = redirectURI.scheme();
    return scheme.isEmpty() ? QString::fromLatin1(defaultCallbackScheme) : scheme;
}

std::vector<SpotifyBridgeSignIn::QueryItem> SpotifyBridgeSignIn::queryItems(const QUrl& url) {
    std::vector<QueryItem> items;
    if (!url.hasQuery()) return items;
    const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
    for (QByteArrayView item : query.split('&')) {
        const qsizetype equals = item.indexOf('=');
        if (equals < 0) {
            items.push_back({decoded(item), std::nullopt});
        } else {
            items.push_back({decoded(item.first(equals)), decoded(item.sliced(equals + 1))});
        }
    }
    return items;
}

std::expected<std::string, SpotifyBridgeError> SpotifyBridgeSignIn::codeFromCallback(const QUrl& callback,
                                                                                    std::string_view expectedState) {
    const std::vector<QueryItem> items = queryItems(callback);
    const QueryItem* state = firstNamed(items, "state");
    if (state == nullptr || !state->value || state->value->empty() || *state->value != expectedState) {
        return std::unexpected(SpotifyBridgeError::authorizationFailed("state mismatch"));
    }
    if (const QueryItem* error = firstNamed(items, "error"); error != nullptr && error->value) {
        return std::unexpected(SpotifyBridgeError::authorizationFailed(*error->value));
    }
    const QueryItem* code = firstNamed(items, "code");
    if (code == nullptr || !code->value) return std::unexpected(SpotifyBridgeError::authorizationFailed("missing code"));
    return *code->value;
}

}  // namespace orvel
