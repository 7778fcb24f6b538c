#pragma once

// DIDL-Lite, the metadata documents speakers embed in their replies (track metadata, queue
// pages): the items with the fields the household shows, and the Spotify reference hidden in a
// track URI.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OrvelDomain/Duration.h"
#include "OrvelDomain/SpotifyURI.h"
#include "SonosProtocolBoundary/ProtocolParseError.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"

namespace orvel {

struct DIDLItem {
    std::string id;
    std::optional<std::string> title;
    // dc:creator, else upnp:artist.
    std::optional<std::string> artist;
    std::optional<std::string> album;
    // Absolute: a path the speaker serves is resolved against "http://{speaker}:1400"; an
    // absolute http(s) URL is kept; anything else is dropped.
    std::optional<std::string> artworkURL;
    // What a radio stream is playing right now (r:streamContent).
    std::optional<std::string> streamContent;
    // The res element: the item's URI and duration.
    std::optional<std::string> resourceURI;
    std::optional<Duration> duration;

    friend bool operator==(const DIDLItem&, const DIDLItem&) = default;
};

namespace didl {

// The items of a DIDL-Lite document, in document order. Containers are skipped. Optional texts
// that are blank count as absent; a duration that cannot be read is left out of its item alone.
Parsed<std::vector<DIDLItem>> parseItems(std::string_view document, const SpeakerAddress& speaker);
// The one item of a track's metadata. Empty text and "NOT_IMPLEMENTED" give none; a document
// without an item is an error.
Parsed<std::optional<DIDLItem>> parseTrackMetadata(std::string_view document, const SpeakerAddress& speaker);

// The Spotify track in a speaker's track URI ("x-sonos-spotify:spotify%3atrack%3a{id}?sid=…"),
// when the URI names one.
std::optional<SpotifyURI> spotifyURIFromTrackURI(std::string_view trackURI);

// Resolves an album art URI as reported; see DIDLItem::artworkURL.
std::optional<std::string> resolveArtworkURL(std::string_view reported, const SpeakerAddress& speaker);

}  // namespace didl
}  // namespace orvel
