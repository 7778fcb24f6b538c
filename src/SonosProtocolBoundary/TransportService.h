#pragma once

// What a group plays (AVTransport#GetTransportInfo, GetPositionInfo, GetMediaInfo) and the
// transport commands sent to its coordinator.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "OrvelDomain/Date.h"
#include "OrvelDomain/Duration.h"
#include "OrvelDomain/PlaybackSource.h"
#include "OrvelDomain/PlaybackState.h"
#include "OrvelDomain/QueueItem.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/SpotifyURI.h"
#include "SonosProtocolBoundary/DIDLLite.h"
#include "SonosProtocolBoundary/ProtocolParseError.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SOAPRequest.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"

namespace orvel {

// PLAYING and TRANSITIONING play; PAUSED_PLAYBACK is paused; STOPPED and NO_MEDIA_PRESENT stop.
enum class TransportState { playing, paused, stopped };

struct PositionInfo {
    // The track's 1-based position in the queue; absent when the speaker reports 0.
    std::optional<std::int64_t> track;
    std::optional<Duration> trackDuration;
    std::optional<Duration> relTime;
    std::optional<DIDLItem> trackMetadata;
    std::string trackURI;
    // The Spotify track named by the track URI.
    std::optional<SpotifyURI> spotifyURI;

    friend bool operator==(const PositionInfo&, const PositionInfo&) = default;
};

struct MediaInfo {
    std::string currentURI;
    // Told by the URI's prefix; absent for sources this system does not name.
    std::optional<PlaybackSource> source;
    // The station or input name for streams (CurrentURIMetaData).
    std::optional<DIDLItem> currentURIMetadata;

    friend bool operator==(const MediaInfo&, const MediaInfo&) = default;
};

struct TransportService {
    static SOAPRequest transportInfoRequest();
    static SOAPRequest positionInfoRequest();
    static SOAPRequest mediaInfoRequest();

    static Parsed<TransportState> parseTransportInfo(const SOAPResponse& response);
    // Relative art URIs in the metadata are resolved against `speaker`. Only a missing Track
    // (CurrentURI) fails the read; an output that cannot be read is left out and the rest kept.
    static Parsed<PositionInfo> parsePositionInfo(const SOAPResponse& response, const SpeakerAddress& speaker);
    static Parsed<MediaInfo> parseMediaInfo(const SOAPResponse& response, const SpeakerAddress& speaker);
    // The source a current URI names: x-rincon-queue: the queue, x-sonos-htastream: TV audio,
    // x-rincon-stream: line-in, radio schemes a radio stream.
    static std::optional<PlaybackSource> sourceOfURI(std::string_view currentURI);

    // One group's playback from the three readings of its coordinator. TV audio is `tvAudio`,
    // radio and line-in are streams titled by what plays now (or the station), everything else
    // is a track; the position is sampled at `sampledAt`.
    static PlaybackState playbackState(TransportState transport, const PositionInfo& position, const MediaInfo& media,
                                       Date sampledAt, std::vector<QueueItem> upNext = {});

    static SOAPRequest playRequest();
    static SOAPRequest pauseRequest();
    static SOAPRequest nextRequest();
    static SOAPRequest previousRequest();
    // Seeks within the current track to a position ("H:MM:SS").
    static SOAPRequest seekRequest(Duration position);
    // Jumps to the queue entry with this 1-based number.
    static SOAPRequest seekToTrackRequest(std::int64_t trackNumber);
    // Makes the coordinator's own queue its source (before jumping to an entry).
    static SOAPRequest playQueueRequest(const SpeakerUUID& coordinator);
};

}  // namespace orvel
