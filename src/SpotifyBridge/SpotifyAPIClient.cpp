#include "SpotifyAPIClient.h"

#include <cmath>

#include <QNetworkAccessManager>

#include "OrvelDomain/Text.h"
#include "SpotifyBridge/RateLimit.h"
#include "SpotifyBridge/ReplyReading.h"
#include "Support/SingleFlight.h"

namespace orvel {

using CurrentlyPlaying = WebAPI::Result<std::optional<SpotifyTrackContext>>;

struct SpotifyAPIClient::State {
    State(WebAPI api, Clock& clock) : api(std::move(api)), clock(clock) {}

    WebAPI api;
    Clock& clock;

    // Titles found so far, by context URI; never pruned.
    std::map<std::string, std::string> contextTitleCache;
    std::map<std::string, SingleFlight<std::optional<std::string>>> inFlightContextTitles;

    std::optional<SpotifyURI> cachedQueueTrackURI;
    std::vector<QueueItem> cachedQueueItems;
    std::optional<Clock::Instant> cachedQueueFetchedAt;

    std::optional<SpotifyTrackContext> lastContext;
    std::optional<Clock::Instant> lastContextFetchedAt;

    // Monotonic, so a wall clock set back does not stall requests and cache ages stay right.
    std::optional<Clock::Instant> rateLimitedUntil;
    int consecutiveRateLimits = 0;

    SingleFlight<CurrentlyPlaying> currentlyPlayingFlight;
    SingleFlight<std::vector<QueueItem>> queueFlight;

    bool isRateLimited() const { return rateLimitedUntil && clock.monotonicNow() < *rateLimitedUntil; }

    void setRateLimited(std::optional<double> retryAfter) {
        if (retryAfter && !(std::isfinite(*retryAfter) && *retryAfter >= 0)) retryAfter.reset();
        consecutiveRateLimits = rateLimit::nextConsecutiveCount(consecutiveRateLimits);
        rateLimitedUntil = clock.monotonicNow() + std::chrono::duration_cast<Clock::Instant::duration>(
                                                   std::chrono::duration<double>(rateLimit::wait(consecutiveRateLimits, retryAfter)));
    }
};

namespace {

using State = SpotifyAPIClient::State;

std::string_view bodyView(const QByteArray& body) {
    return {body.constData(), static_cast<std::size_t>(body.size())};
}

double secondsBetween(Clock::Instant from, Clock::Instant to) {
    return std::chrono::duration<double>(to - from).count();
}

bool isSuccess(int status) { return status >= 200 && status <= 299; }

// Ids go into request paths unescaped, so only what the service itself uses is let through.
bool isPlainID(std::string_view id) {
    if (id.empty()) return false;
    for (char c : id) {
        const bool alphanumeric = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!alphanumeric) return false;
    }
    return true;
}

// "spotify:playlist:<id>" and the like, empty parts dropped.
std::vector<std::string> contextParts(const std::string& uri) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : uri) {
        if (c == ':') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

std::optional<std::string> titleFrom(const WebAPI::Reply& reply, std::string_view field, std::string_view kind) {
    if (!isSuccess(reply.status)) return std::nullopt;
    auto root = reply::parse(bodyView(reply.body));
    if (!root || !root->is_object()) return std::nullopt;
    const std::string* text = reply::stringMember(*root, field);
    if (text == nullptr) return std::nullopt;
    std::string name = text::trimmed(*text);
    if (name.empty()) return std::nullopt;
    if (kind == "playlist") return "Playlist \"" + name + "\"";
    return name;
}

// One title lookup: the Web API first, then oEmbed for playlists and albums. A 429 ends it at
// once. Only a title found is cached, so a lookup that finds nothing is tried again next time.
QCoro::Task<std::optional<std::string>> lookUpContextTitle(std::shared_ptr<State> state, std::string contextURI,
                                                           std::string kind, std::string id, std::string accessToken) {
    const bool hasWebAPIRequest = kind == "playlist" || kind == "album" || kind == "artist";
    const bool hasOEmbed = kind == "playlist" || kind == "album";
    if (!isPlainID(id)) co_return std::nullopt;

    if (hasWebAPIRequest) {
        QString path = kind == "playlist" ? QStringLiteral("/v1/playlists/%1?fields=name")
                     : kind == "album"    ? QStringLiteral("/v1/albums/%1")
                                          : QStringLiteral("/v1/artists/%1");
        QUrl url = state->api.endpoints().webAPIURL(path.arg(QString::fromStdString(id)));
        auto loading = state->api.loadWithHeaders(url, "GET", accessToken, std::nullopt);
        auto reply = co_await std::move(loading);
        if (reply && reply->status == 429) {
            state->setRateLimited(reply->retryAfter);
            co_return std::nullopt;
        }
        if (reply) {
            if (auto title = titleFrom(*reply, "name", kind)) {
                state->contextTitleCache[contextURI] = *title;
                co_return title;
            }
        }
    }
    if (hasOEmbed) {
        const QString shareLink = QStringLiteral("https://%1/%2/%3")
                                      .arg(state->api.endpoints().shareLinkAuthority(), QString::fromStdString(kind),
                                           QString::fromStdString(id));
        QUrl url = state->api.endpoints().shareLinkURL(QStringLiteral("/oembed?url=") + shareLink);
        auto loading = state->api.loadWithHeaders(url, "GET", std::nullopt, std::nullopt);
        auto reply = co_await std::move(loading);
        if (reply && reply->status == 429) {
            state->setRateLimited(reply->retryAfter);
            co_return std::nullopt;
        }
        if (reply) {
            if (auto title = titleFrom(*reply, "title", kind)) {
                state->contextTitleCache[contextURI] = *title;
                co_return title;
            }
        }
    }
    co_return std::nullopt;
}

QCoro::Task<std::optional<std::string>> resolveTitle(std::shared_ptr<State> state, std::optional<std::string> contextURI,
                                                     std::optional<std::string> fallbackAlbum, std::string accessToken) {
    if (!contextURI || contextURI->empty()) co_return fallbackAlbum;
    if (auto cached = state->contextTitleCache.find(*contextURI); cached != state->contextTitleCache.end()) {
        co_return std::optional<std::string>(cached->second);
    }
    if (state->isRateLimited()) co_return fallbackAlbum;

    std::vector<std::string> parts = contextParts(*contextURI);
    if (parts.size() < 3) co_return fallbackAlbum;
    std::string kind = parts[parts.size() - 2];
    std::string id = parts.back();
    if (kind == "collection") {
        state->contextTitleCache[*contextURI] = "Liked Songs";
        co_return std::string("Liked Songs");
    }

    // Callers for the same context join the lookup under way.
    auto lookUp = [state, uri = *contextURI, kind, id, accessToken] {
        return lookUpContextTitle(state, uri, kind, id, accessToken);
    };
    auto lookingUp = state->inFlightContextTitles[*contextURI].run(std::move(lookUp));
    auto title = co_await std::move(lookingUp);
    if (auto flight = state->inFlightContextTitles.find(*contextURI);
        flight != state->inFlightContextTitles.end() && !flight->second.isRunning()) {
        state->inFlightContextTitles.erase(flight);
    }
    co_return title ? title : fallbackAlbum;
}

QCoro::Task<std::vector<QueueItem>> requestQueue(std::shared_ptr<State> state, std::string accessToken) {
    auto loading = state->api.loadWithHeaders(state->api.endpoints().queueURL(), "GET", accessToken, std::nullopt);
    auto reply = co_await std::move(loading);
    if (!reply) co_return std::vector<QueueItem>(state->cachedQueueItems);
    if (reply->status == 429) {
        state->setRateLimited(reply->retryAfter);
        co_return std::vector<QueueItem>(state->cachedQueueItems);
    }
    if (!isSuccess(reply->status)) co_return std::vector<QueueItem>(state->cachedQueueItems);
    state->consecutiveRateLimits = 0;
    co_return WebAPI::parseQueueData(bodyView(reply->body));
}

QCoro::Task<std::vector<QueueItem>> fetchQueue(std::shared_ptr<State> state, std::string accessToken) {
    if (state->isRateLimited()) co_return std::vector<QueueItem>(state->cachedQueueItems);
    auto request = [state, accessToken] { return requestQueue(state, accessToken); };
    auto sharing = state->queueFlight.run(std::move(request));
    co_return co_await std::move(sharing);
}

QCoro::Task<std::vector<QueueItem>> ready(std::vector<QueueItem> items) { co_return items; }

QCoro::Task<CurrentlyPlaying> performCurrentlyPlaying(std::shared_ptr<State> state, std::string accessToken) {
    auto loading = state->api.loadWithHeaders(state->api.endpoints().playerURL(), "GET", accessToken, std::nullopt);
    auto reply = co_await std::move(loading);
    if (!reply) co_return std::unexpected(reply.error());

    const int status = reply->status;
    if (status == 202 || status == 204) {
        state->consecutiveRateLimits = 0;
        co_return std::optional<SpotifyTrackContext>{};
    }
    if (status == 401) co_return std::unexpected(SpotifyBridgeError::authorizationFailed("401"));
    if (status == 429) {
        state->setRateLimited(reply->retryAfter);
        co_return CurrentlyPlaying(state->lastContext);
    }
    if (!isSuccess(status)) {
        co_return std::unexpected(SpotifyBridgeError::network("currently-playing HTTP " + std::to_string(status)));
    }
    state->consecutiveRateLimits = 0;
    auto parsed = WebAPI::parseCurrentlyPlaying(bodyView(reply->body));
    if (!parsed || !*parsed) co_return parsed;
    SpotifyTrackContext context = std::move(**parsed);

    const Clock::Instant now = state->clock.monotonicNow();
    const bool queueDue = !state->cachedQueueTrackURI || *state->cachedQueueTrackURI != context.uri ||
                          !state->cachedQueueFetchedAt ||
                          secondsBetween(*state->cachedQueueFetchedAt, now) >= SpotifyAPIClient::queueReuseAge;

    // Both start now and run side by side; the list is awaited first.
    QCoro::Task<std::vector<QueueItem>> list =
        queueDue ? fetchQueue(state, accessToken) : ready(state->cachedQueueItems);
    QCoro::Task<std::optional<std::string>> title =
        resolveTitle(state, context.contextURI, context.metadata.album, accessToken);

    std::vector<QueueItem> upNext = co_await std::move(list);
    if (queueDue) {
        state->cachedQueueTrackURI = context.uri;
        state->cachedQueueItems = upNext;
        state->cachedQueueFetchedAt = state->clock.monotonicNow();
    }
    context.contextTitle = co_await std::move(title);
    context.upNext = std::move(upNext);
    co_return std::optional<SpotifyTrackContext>(std::move(context));
}

// The one request of a flight; only the flight stores its outcome, so joiners write nothing.
QCoro::Task<CurrentlyPlaying> currentlyPlayingFlight(std::shared_ptr<State> state, std::string accessToken) {
    auto asking = performCurrentlyPlaying(state, std::move(accessToken));
    CurrentlyPlaying result = co_await std::move(asking);
    if (result) {
        state->lastContext = *result;
        state->lastContextFetchedAt = state->clock.monotonicNow();
    }
    co_return result;
}

// Cached values are handed out as copies: QCoro's co_return moves from any lvalue it is given,
// which would empty the cache.
QCoro::Task<CurrentlyPlaying> currentlyPlaying(std::shared_ptr<State> state, std::string accessToken,
                                               double minCacheAge) {
    const Clock::Instant now = state->clock.monotonicNow();
    if (state->rateLimitedUntil && now < *state->rateLimitedUntil) co_return CurrentlyPlaying(state->lastContext);
    if (state->lastContextFetchedAt && secondsBetween(*state->lastContextFetchedAt, now) < minCacheAge) {
        co_return CurrentlyPlaying(state->lastContext);
    }
    auto request = [state, accessToken] { return currentlyPlayingFlight(state, accessToken); };
    auto sharing = state->currentlyPlayingFlight.run(std::move(request));
    co_return co_await std::move(sharing);
}

}  // namespace

SpotifyAPIClient::SpotifyAPIClient(WebAPI api, Clock& clock) : state_(std::make_shared<State>(std::move(api), clock)) {}

SpotifyAPIClient::~SpotifyAPIClient() = default;

SpotifyAPIClient& SpotifyAPIClient::shared() {
    // Kept for the life of the process on purpose: requests may still be out at exit.
    static auto* network = new QNetworkAccessManager();
    static auto* client = new SpotifyAPIClient(WebAPI(SpotifyEndpoints::standard(), network), Clock::system());
    return *client;
}

const WebAPI& SpotifyAPIClient::api() const { return state_->api; }

QCoro::Task<SpotifyAPIClient::Result<std::optional<SpotifyTrackContext>>> SpotifyAPIClient::currentlyPlaying(
    std::string accessToken, double minCacheAge) {
    return orvel::currentlyPlaying(state_, std::move(accessToken), minCacheAge);
}

QCoro::Task<std::vector<QueueItem>> SpotifyAPIClient::fetchQueue(std::string accessToken) {
    return orvel::fetchQueue(state_, std::move(accessToken));
}

QCoro::Task<std::optional<std::string>> SpotifyAPIClient::resolveContextTitle(std::optional<std::string> contextURI,
                                                                              std::optional<std::string> fallbackAlbum,
                                                                              std::string accessToken) {
    return resolveTitle(state_, std::move(contextURI), std::move(fallbackAlbum), std::move(accessToken));
}

void SpotifyAPIClient::setRateLimited(std::optional<double> retryAfter) { state_->setRateLimited(retryAfter); }

std::optional<Clock::Instant> SpotifyAPIClient::rateLimitedUntil() const { return state_->rateLimitedUntil; }

int SpotifyAPIClient::consecutiveRateLimits() const { return state_->consecutiveRateLimits; }

}  // namespace orvel
