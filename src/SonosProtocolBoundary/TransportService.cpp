#include "TransportService.h"

#include "OrvelDomain/NowPlaying.h"
#include "OrvelDomain/NowPlayingTrack.h"
#include "OrvelDomain/Text.h"
#include "SonosProtocolBoundary/ProtocolLog.h"
#include "SonosProtocolBoundary/ProtocolText.h"

namespace orvel {

namespace {

SOAPRequest instanceOnly(std::string action) {
    return {UPnPService::avTransport, std::move(action), {{"InstanceID", "0"}}};
}

std::optional<std::string> firstPresent(std::initializer_list<const std::optional<std::string>*> candidates) {
    for (const auto* candidate : candidates) {
        if (candidate != nullptr && *candidate) return **candidate;
    }
    return std::nullopt;
}

// The value of one output, or nothing when it cannot be read: an odd output of a reply hides
// only itself, and the rest of the reply is still read.
template <class T>
std::optional<T> readable(const char* action, const char* output, std::string_view text, Parsed<T> parsed) {
    if (parsed) return std::move(*parsed);
    qCDebug(lcProtocol).noquote() << action << "reply: left out" << output
                                  << protocol_text::quoted(text).c_str() << "-" << parsed.error().message.c_str();
    return std::nullopt;
}

NowPlaying nowPlaying(const PositionInfo& position, const MediaInfo& media, std::vector<QueueItem> upNext) {
    const DIDLItem* track = position.trackMetadata ? &*position.trackMetadata : nullptr;
    const DIDLItem* station = media.currentURIMetadata ? &*media.currentURIMetadata : nullptr;
    if (media.source && media.source->isTvAudio()) return NowPlaying::tvAudio();
    if (media.source && (media.source->isRadio() || media.source->isLineIn())) {
        return NowPlaying::stream(firstPresent({track ? &track->streamContent : nullptr, station ? &station->title : nullptr,
                                                track ? &track->title : nullptr}));
    }
    const bool fromQueue = media.source && media.source->isSonosQueue();
    std::optional<PlaybackSource> source;
    // The queue's own source is derived by the track (Spotify when it names a Spotify item).
    if (media.source && !fromQueue) source = media.source;
    NowPlayingTrack details(track && track->title ? *track->title : std::string(),
                            track ? track->artist : std::nullopt, track ? track->album : std::nullopt,
                            track ? track->artworkURL : std::nullopt,
                            position.trackDuration ? position.trackDuration : (track ? track->duration : std::nullopt),
                            fromQueue ? position.track : std::nullopt, position.spotifyURI, std::move(source),
                            std::move(upNext), std::nullopt);
    return NowPlaying::track(std::move(details));
}

}  // namespace

SOAPRequest TransportService::transportInfoRequest() { return instanceOnly("GetTransportInfo"); }
SOAPRequest TransportService::positionInfoRequest() { return instanceOnly("GetPositionInfo"); }
SOAPRequest TransportService::mediaInfoRequest() { return instanceOnly("GetMediaInfo"); }

Parsed<TransportState> TransportService::parseTransportInfo(const SOAPResponse& response) {
    ORVEL_TRY(std::string state, response.requiredOutput("CurrentTransportState"));
    state = text::trimmed(state);
    if (state == "PLAYING" || state == "TRANSITIONING") return TransportState::playing;
    if (state == "PAUSED_PLAYBACK") return TransportState::paused;
    if (state == "STOPPED" || state == "NO_MEDIA_PRESENT") return TransportState::stopped;
    return parseFailure("unknown transport state \"" + state.substr(0, 40) + "\"");
}

Parsed<PositionInfo> TransportService::parsePositionInfo(const SOAPResponse& response, const SpeakerAddress& speaker) {
    PositionInfo info;
    ORVEL_TRY(std::string trackText, response.requiredOutput("Track"));
    if (auto track = readable("GetPositionInfo", "Track", trackText,
                              protocol_text::parseInteger(trackText, "Track", 0, INT32_MAX));
        track && *track > 0) {
        info.track = *track;
    }
    if (const auto* duration = response.output("TrackDuration")) {
        info.trackDuration = readable("GetPositionInfo", "TrackDuration", *duration,
                                      protocol_text::parseClockTime(*duration, "TrackDuration"))
                                 .value_or(std::nullopt);
    }
    if (const auto* relTime = response.output("RelTime")) {
        info.relTime = readable("GetPositionInfo", "RelTime", *relTime, protocol_text::parseClockTime(*relTime, "RelTime"))
                           .value_or(std::nullopt);
    }
    if (const auto* metadata = response.output("TrackMetaData")) {
        info.trackMetadata = readable("GetPositionInfo", "TrackMetaData", *metadata,
                                      didl::parseTrackMetadata(*metadata, speaker))
                                 .value_or(std::nullopt);
    }
    if (const auto* uri = response.output("TrackURI")) info.trackURI = text::trimmed(*uri);
    info.spotifyURI = didl::spotifyURIFromTrackURI(info.trackURI);
    return info;
}

Parsed<MediaInfo> TransportService::parseMediaInfo(const SOAPResponse& response, const SpeakerAddress& speaker) {
    MediaInfo info;
    ORVEL_TRY(std::string uri, response.requiredOutput("CurrentURI"));
    info.currentURI = text::trimmed(uri);
    info.source = sourceOfURI(info.currentURI);
    if (const auto* metadata = response.output("CurrentURIMetaData")) {
        info.currentURIMetadata = readable("GetMediaInfo", "CurrentURIMetaData", *metadata,
                                           didl::parseTrackMetadata(*metadata, speaker))
                                      .value_or(std::nullopt);
    }
    return info;
}

std::optional<PlaybackSource> TransportService::sourceOfURI(std::string_view uri) {
    using protocol_text::startsWithIgnoringCase;
    if (startsWithIgnoringCase(uri, "x-rincon-queue:")) return PlaybackSource::sonosQueue();
    if (startsWithIgnoringCase(uri, "x-sonos-htastream:")) return PlaybackSource::tvAudio();
    if (startsWithIgnoringCase(uri, "x-rincon-stream:")) return PlaybackSource::lineIn();
    for (std::string_view radio : {"x-sonosapi-stream:", "x-sonosapi-radio:", "x-rincon-mp3radio:", "aac:", "hls-radio:"}) {
        if (startsWithIgnoringCase(uri, radio)) return PlaybackSource::radio();
    }
    return std::nullopt;
}

PlaybackState TransportService::playbackState(TransportState transport, const PositionInfo& position,
                                              const MediaInfo& media, Date sampledAt, std::vector<QueueItem> upNext) {
    if (transport == TransportState::stopped) return PlaybackState::stopped();
    NowPlaying item = nowPlaying(position, media, std::move(upNext));
    const Duration elapsed = position.relTime.value_or(Duration());
    if (transport == TransportState::paused) return PlaybackState::paused(std::move(item), elapsed);
    return PlaybackState::playing(std::move(item), elapsed, sampledAt);
}

SOAPRequest TransportService::playRequest() {
    return {UPnPService::avTransport, "Play", {{"InstanceID", "0"}, {"Speed", "1"}}};
}
SOAPRequest TransportService::pauseRequest() { return instanceOnly("Pause"); }
SOAPRequest TransportService::nextRequest() { return instanceOnly("Next"); }
SOAPRequest TransportService::previousRequest() { return instanceOnly("Previous"); }

SOAPRequest TransportService::seekRequest(Duration position) {
    return {UPnPService::avTransport,
            "Seek",
            {{"InstanceID", "0"}, {"Unit", "REL_TIME"}, {"Target", protocol_text::formatClockTime(position)}}};
}

SOAPRequest TransportService::seekToTrackRequest(std::int64_t trackNumber) {
    return {UPnPService::avTransport,
            "Seek",
            {{"InstanceID", "0"}, {"Unit", "TRACK_NR"}, {"Target", std::to_string(trackNumber)}}};
}

SOAPRequest TransportService::playQueueRequest(const SpeakerUUID& coordinator) {
    return {UPnPService::avTransport,
            "SetAVTransportURI",
            {{"InstanceID", "0"},
             {"CurrentURI", "x-rincon-queue:" + coordinator.rawValue() + "#0"},
             {"CurrentURIMetaData", ""}}};
}

}  // namespace orvel
