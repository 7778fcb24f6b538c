#include "WebAPI.h"

#include <memory>

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopeGuard>
#include <QTimer>

#include <qcoro/qcoronetworkreply.h>

#include "SpotifyBridge/ReplyReading.h"
#include "SpotifyBridge/SealedClientStore.h"
#include "SpotifyBridge/Secret.h"
#include "SpotifyBridge/TokenReply.h"

namespace orvel {

namespace {

QNetworkRequest makeRequest(const QUrl& url, const QByteArray& authorization) {
    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(WebAPI::requestTimeout.count()));
    // A redirect would carry the bearer token to wherever it points; the service sends none.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!authorization.isEmpty()) request.setRawHeader("Authorization", authorization);
    return request;
}

// Every coroutine here takes its inputs by value: the caller's objects may be gone by the time
// the reply arrives.
QCoro::Task<WebAPI::Result<WebAPI::Reply>> send(QPointer<QNetworkAccessManager> network, QUrl url,
                                                QByteArray method, std::optional<std::string> token,
                                                std::optional<QByteArray> body) {
    if (!network) co_return std::unexpected(SpotifyBridgeError::network("network access is gone"));
    if (!url.isValid()) co_return std::unexpected(SpotifyBridgeError::network("invalid URL"));
    // The header value is built once, shared with the request, and wiped in place when the
    // exchange is over: the requests holding it are done with it by then.
    QByteArray authorization;
    if (token) {
        authorization.reserve(static_cast<qsizetype>(7 + token->size()));
        authorization.append("Bearer ").append(token->data(), static_cast<qsizetype>(token->size()));
    }
    auto wipeAuthorization = qScopeGuard([&authorization, &token] {
        secret::wipe(const_cast<char*>(authorization.constData()), static_cast<std::size_t>(authorization.size()));
        if (token) secret::wipe(*token);
    });
    QNetworkRequest request = makeRequest(url, authorization);
    if (body) request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));

    QNetworkReply* reply = body ? network->sendCustomRequest(request, method, *body)
                                : network->sendCustomRequest(request, method);
    // A queued deleteLater: the reply stays valid until this coroutine has read it.
    auto release = qScopeGuard([reply] { reply->deleteLater(); });
    auto tooLarge = std::make_shared<bool>(false);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, tooLarge](qint64 received, qint64) {
        if (received > WebAPI::maximumReplySize && !*tooLarge) {
            *tooLarge = true;
            reply->abort();
        }
    });
    QTimer::singleShot(WebAPI::requestDeadline, reply, &QNetworkReply::abort);

    // The wrapper is named too: the task it starts refers to it until it ends.
    auto awaitableReply = qCoro(reply);
    auto finishing = awaitableReply.waitForFinished();
    co_await std::move(finishing);

    if (*tooLarge) co_return std::unexpected(SpotifyBridgeError::network("reply too large"));
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // Qt also reports error statuses (404, 500, ...) as errors; those are answers, not failures.
    // A transport failure (refused, reset, timed out, cut off mid-body, malformed) is one.
    const QNetworkReply::NetworkError error = reply->error();
    const bool transportFailed = error != QNetworkReply::NoError &&
                                 (error < QNetworkReply::ContentAccessDenied || error == QNetworkReply::ProtocolFailure);
    if (!status.isValid() || transportFailed) {
        co_return std::unexpected(SpotifyBridgeError::network(reply->errorString().toStdString()));
    }
    WebAPI::Reply out;
    out.status = status.toInt();
    out.body = reply->read(WebAPI::maximumReplySize + 1);
    if (out.body.size() > WebAPI::maximumReplySize) {
        co_return std::unexpected(SpotifyBridgeError::network("reply too large"));
    }
    if (reply->hasRawHeader("Retry-After")) {
        const QByteArray header = reply->rawHeader("Retry-After");
        out.retryAfter = reply::retryAfterSeconds(std::string_view(header.constData(), static_cast<std::size_t>(header.size())));
    }
    co_return out;
}

QCoro::Task<WebAPI::Result<SpotifyTokenSet>> requestTokens(QPointer<QNetworkAccessManager> network, QUrl tokenURL,
                                                           QByteArray body) {
    auto sendTask = send(network, tokenURL, "POST", std::nullopt, body);
    auto reply = co_await std::move(sendTask);
    // Wipe our copy whatever happened; the network stack has released its own by now.
    secret::wipe(body);
    if (!reply) co_return std::unexpected(reply.error());
    co_return parseTokenReply(reply->status, std::string_view(reply->body.constData(),
                                                              static_cast<std::size_t>(reply->body.size())));
}

QByteArray takeIntoByteArray(std::string& text) {
    QByteArray out(text.data(), static_cast<qsizetype>(text.size()));
    secret::wipe(text);
    return out;
}

QCoro::Task<WebAPI::Result<std::string>> fetchProfileName(QPointer<QNetworkAccessManager> network, QUrl url,
                                                          std::string accessToken) {
    auto sendTask = send(network, url, "GET", std::move(accessToken), std::nullopt);
    auto reply = co_await std::move(sendTask);
    if (!reply) co_return std::unexpected(reply.error());
    co_return WebAPI::parseProfileName(reply->status, std::string_view(reply->body.constData(),
                                                                       static_cast<std::size_t>(reply->body.size())));
}

QCoro::Task<bool> sendPlayerCommand(QPointer<QNetworkAccessManager> network, QUrl url, std::string accessToken) {
    auto sendTask = send(network, url, "PUT", std::move(accessToken), std::nullopt);
    auto reply = co_await std::move(sendTask);
    co_return reply && reply->status >= 200 && reply->status <= 299;
}

QCoro::Task<> discardResult(QCoro::Task<bool> task) { co_await std::move(task); }

}  // namespace

WebAPI::WebAPI(SpotifyEndpoints endpoints, QNetworkAccessManager* network)
    : endpoints_(std::move(endpoints)), network_(network) {}

QCoro::Task<WebAPI::Result<WebAPI::Reply>> WebAPI::loadWithHeaders(QUrl url, QByteArray method,
                                                                   std::optional<std::string> token,
                                                                   std::optional<QByteArray> body) const {
    return send(network_, std::move(url), std::move(method), std::move(token), std::move(body));
}

QCoro::Task<WebAPI::Result<SpotifyTokenSet>> WebAPI::exchange(std::string code, std::string verifier,
                                                              std::string explicitClientID, QUrl redirectURI) const {
    const std::string redirect = redirectURI.toString(QUrl::FullyEncoded).toStdString();
    std::string body = SealedClientStore::withEphemeralClientID(explicitClientID, [&](const std::string& clientID) {
        return authorizationCodeFormBody(code, verifier, clientID, redirect);
    });
    secret::wipe(verifier);
    secret::wipe(code);
    return requestTokens(network_, endpoints_.tokenURL(), takeIntoByteArray(body));
}

QCoro::Task<WebAPI::Result<SpotifyTokenSet>> WebAPI::refresh(std::string explicitClientID,
                                                             std::string refreshToken) const {
    std::string body = SealedClientStore::withEphemeralClientID(explicitClientID, [&](const std::string& clientID) {
        return refreshFormBody(refreshToken, clientID);
    });
    secret::wipe(refreshToken);
    return requestTokens(network_, endpoints_.tokenURL(), takeIntoByteArray(body));
}

QCoro::Task<WebAPI::Result<std::string>> WebAPI::profileName(std::string accessToken) const {
    return fetchProfileName(network_, endpoints_.profileURL(), std::move(accessToken));
}

QCoro::Task<> WebAPI::pause(std::string accessToken) const {
    return discardResult(sendPlayerCommand(network_, endpoints_.pauseURL(), std::move(accessToken)));
}

QCoro::Task<bool> WebAPI::resume(std::string accessToken) const {
    return sendPlayerCommand(network_, endpoints_.playURL(), std::move(accessToken));
}

}  // namespace orvel
