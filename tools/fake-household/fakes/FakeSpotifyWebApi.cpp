#include "fakes/FakeSpotifyWebApi.h"

namespace orvel::fakes {

FakeSpotifyWebApi::FakeSpotifyWebApi() {
    server_.setHandler([this](const HttpRequest& request) { return answer(request); });
}

bool FakeSpotifyWebApi::listen(const QHostAddress& address) { return server_.listen(address); }

QString FakeSpotifyWebApi::origin() const {
    return server_.baseUrl().toString(QUrl::RemovePath | QUrl::StripTrailingSlash);
}

void FakeSpotifyWebApi::setReply(const QByteArray& path, HttpReply reply) { standing_.insert(path, std::move(reply)); }

void FakeSpotifyWebApi::enqueueReply(const QByteArray& path, HttpReply reply) { queued_[path].append(std::move(reply)); }

void FakeSpotifyWebApi::clearReplies() {
    queued_.clear();
    standing_.clear();
}

QList<HttpRequest> FakeSpotifyWebApi::requestsTo(const QByteArray& path) const {
    QList<HttpRequest> out;
    for (const HttpRequest& request : server_.requests()) {
        if (request.path() == path) out.append(request);
    }
    return out;
}

HttpReply FakeSpotifyWebApi::json(int status, QByteArray body) {
    return HttpReply::withStatus(status, std::move(body), "application/json; charset=utf-8");
}

HttpReply FakeSpotifyWebApi::tooManyRequests(const QByteArray& retryAfter) {
    HttpReply reply = json(429, R"({"error":{"status":429,"message":"API rate limit exceeded"}})");
    if (!retryAfter.isNull()) reply.header("Retry-After", retryAfter);
    return reply;
}

QByteArray FakeSpotifyWebApi::playerState(const QByteArray& trackURI, const QByteArray& name,
                                          const QByteArray& contextURI, const QByteArray& albumName) {
    QByteArray out = R"({"is_playing":true,"progress_ms":1000,"device":{"name":"Desk"},)";
    if (!contextURI.isEmpty()) out += R"("context":{"uri":")" + contextURI + R"("},)";
    out += R"("item":{"type":"track","uri":")" + trackURI + R"(","name":")" + name + R"(","duration_ms":200000)";
    if (!albumName.isEmpty()) out += R"(,"album":{"name":")" + albumName + R"("})";
    return out + "}}";
}

QByteArray FakeSpotifyWebApi::queue(const QList<QByteArray>& trackURIs) {
    QByteArray out = R"({"queue":[)";
    for (qsizetype i = 0; i < trackURIs.size(); ++i) {
        if (i > 0) out += ",";
        out += R"({"name":"Track )" + QByteArray::number(i + 1) + R"(","uri":")" + trackURIs[i] + R"("})";
    }
    return out + "]}";
}

HttpReply FakeSpotifyWebApi::answer(const HttpRequest& request) {
    const QByteArray path = request.path();
    if (auto it = queued_.find(path); it != queued_.end() && !it->isEmpty()) return it->takeFirst();
    if (auto it = standing_.find(path); it != standing_.end()) return *it;
    return HttpReply::withStatus(404, "Not Found");
}

}  // namespace orvel::fakes
