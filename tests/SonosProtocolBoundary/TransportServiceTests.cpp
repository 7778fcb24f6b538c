#include <gtest/gtest.h>

#include <functional>

#include "OrvelDomain/NowPlaying.h"
#include "OrvelDomain/NowPlayingTrack.h"
#include "SonosProtocolBoundary/ProtocolText.h"
#include "SonosProtocolBoundary/TransportService.h"

using namespace orvel;

namespace {

Duration secs(std::int64_t s) { return Duration::seconds(s); }

const SpeakerAddress speaker = *SpeakerAddress::make("127.0.3.10");
const char* const spotifyID = "4uLU6hMCjMI75M1A2tKUQC";

// The metadata of a queued Spotify track as the speaker embeds it (already unescaped once).
std::string trackDIDL() {
    return R"(<DIDL-Lite xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:upnp="urn:schemas-upnp-org:metadata-1-0/upnp/" )"
           R"(xmlns:r="urn:schemas-rinconnetworks-com:metadata-1-0/" xmlns="urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/">)"
           R"(<item id="-1" parentID="-1" restricted="true"><res protocolInfo="sonos.com-spotify:*:audio/x-spotify:*" )"
           R"(duration="0:03:31">x-sonos-spotify:spotify%3atrack%3a4uLU6hMCjMI75M1A2tKUQC?sid=12&amp;flags=8224&amp;sn=2</res>)"
           R"(<r:streamContent></r:streamContent><upnp:albumArtURI>/getaa?s=1&amp;u=x-sonos-spotify%3aspotify</upnp:albumArtURI>)"
           R"(<dc:title>Never Gonna Give You Up</dc:title><upnp:class>object.item.audioItem.musicTrack</upnp:class>)"
           R"(<dc:creator>Rick Astley</dc:creator><upnp:album>Whenever You Need Somebody</upnp:album></item></DIDL-Lite>)";
}

std::string radioDIDL(const std::string& streamContent) {
    return R"(<DIDL-Lite xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:r="urn:schemas-rinconnetworks-com:metadata-1-0/" )"
           R"(xmlns="urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/"><item id="-1" parentID="-1"><dc:title>x-sonosapi-stream:s1</dc:title>)"
           R"(<r:streamContent>)" +
           streamContent + R"(</r:streamContent></item></DIDL-Lite>)";
}

std::string stationDIDL() {
    return R"(<DIDL-Lite xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns="urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/">)"
           R"(<item id="F00092020s1" parentID="L"><dc:title>Radio Paradise</dc:title></item></DIDL-Lite>)";
}

SOAPResponse positionReply(std::string track, std::string duration, std::string relTime, std::string metadata,
                           std::string uri) {
    return SOAPResponse{{{"Track", track},
                         {"TrackDuration", duration},
                         {"TrackMetaData", metadata},
                         {"TrackURI", uri},
                         {"RelTime", relTime},
                         {"AbsTime", "NOT_IMPLEMENTED"}}};
}

const std::string spotifyTrackURI = std::string("x-sonos-spotify:spotify%3atrack%3a") + spotifyID + "?sid=12&flags=8224&sn=2";

}  // namespace

TEST(TransportService, TransportStates) {
    struct Case { const char* reported; std::optional<TransportState> state; };
    const Case cases[] = {
        {"TRANSITIONING", TransportState::playing}, {"PAUSED_PLAYBACK", TransportState::paused},
        {"NO_MEDIA_PRESENT", TransportState::stopped}, {" PLAYING\n", TransportState::playing},
        {"playing", std::nullopt}, {"RECORDING", std::nullopt},
    };
    for (const auto& c : cases) {
        auto parsed = TransportService::parseTransportInfo(SOAPResponse{{{"CurrentTransportState", c.reported}}});
        EXPECT_EQ(parsed ? std::optional(*parsed) : std::nullopt, c.state) << c.reported;
    }
    EXPECT_FALSE(TransportService::parseTransportInfo(SOAPResponse{}));
}

TEST(TransportService, PositionOfAQueuedSpotifyTrack) {
    auto info = TransportService::parsePositionInfo(positionReply("3", "0:03:31", "0:01:02.500", trackDIDL(), spotifyTrackURI),
                                                    speaker);
    ASSERT_TRUE(info) << info.error().message;
    EXPECT_EQ(info->track, 3);
    EXPECT_EQ(info->trackDuration, secs(211));
    EXPECT_EQ(info->relTime, Duration::milliseconds(62'500));
    EXPECT_EQ(info->spotifyURI, SpotifyURI::make(std::string("spotify:track:") + spotifyID));
    ASSERT_TRUE(info->trackMetadata);
    EXPECT_EQ(info->trackMetadata->title, "Never Gonna Give You Up");
    EXPECT_EQ(info->trackMetadata->artist, "Rick Astley");
    EXPECT_EQ(info->trackMetadata->album, "Whenever You Need Somebody");
    EXPECT_EQ(info->trackMetadata->artworkURL, "http://127.0.3.10:1400/getaa?s=1&u=x-sonos-spotify%3aspotify");
    EXPECT_EQ(info->trackMetadata->streamContent, std::nullopt) << "blank texts are absent";

    // Zero and NOT_IMPLEMENTED read as absent.
    EXPECT_EQ(TransportService::parsePositionInfo(positionReply("0", "NOT_IMPLEMENTED", "NOT_IMPLEMENTED", "NOT_IMPLEMENTED", ""),
                                                  speaker),
              PositionInfo{});
}

TEST(TransportService, OnlyAMissingTrackFailsAPositionReply) {
    EXPECT_FALSE(TransportService::parsePositionInfo(SOAPResponse{{{"RelTime", "0:00:01"}}}, speaker));
    EXPECT_FALSE(TransportService::parseMediaInfo(SOAPResponse{{{"CurrentURIMetaData", stationDIDL()}}}, speaker));
}

// One output the reader cannot make sense of is left out; the title, artist and album stay
// wherever the metadata can be read.
TEST(TransportService, AnOddPositionOutputHidesOnlyItself) {
    const std::string fffd = "\xEF\xBF\xBD";
    const Duration oddDuration = secs(205) + Duration::fromAttoseconds(Duration::perSecond / 3);
    auto withResDuration = [](const std::string& duration) {
        std::string didl = trackDIDL();
        return didl.replace(didl.find("0:03:31"), 7, duration);
    };
    auto reply = [](std::string track, std::string duration, std::string relTime, std::string metadata) {
        return positionReply(std::move(track), std::move(duration), std::move(relTime), std::move(metadata), spotifyTrackURI);
    };
    // The same reply as it travels: the metadata escaped inside the envelope, with `odd` put
    // into the title as it stands in the envelope's bytes.
    auto throughEnvelope = [](const std::string& odd) {
        std::string didl = trackDIDL();
        didl.replace(didl.find("Give You Up"), 11, "Give You Up ODD");
        std::string metadata = xmlEscaped(didl);
        metadata.replace(metadata.find("ODD"), 3, odd);
        const std::string body =
            R"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/"><s:Body>)"
            R"(<u:GetPositionInfoResponse xmlns:u="urn:schemas-upnp-org:service:AVTransport:1"><Track>3</Track>)"
            R"(<TrackDuration>0:03:31</TrackDuration><TrackMetaData>)" +
            metadata + "</TrackMetaData><TrackURI>" + xmlEscaped(spotifyTrackURI) +
            "</TrackURI><RelTime>0:01:02.500</RelTime></u:GetPositionInfoResponse></s:Body></s:Envelope>";
        auto parsed = parseSOAPResponse(body, "GetPositionInfo");
        return parsed ? *parsed : SOAPResponse{};
    };

    using Change = std::function<void(PositionInfo&)>;
    const Change noTrack = [](PositionInfo& p) { p.track.reset(); };
    const Change noDuration = [](PositionInfo& p) { p.trackDuration.reset(); };
    const Change noTime = [](PositionInfo& p) { p.relTime.reset(); };
    const Change noMetadata = [](PositionInfo& p) { p.trackMetadata.reset(); };
    const Change fractionDuration = [&](PositionInfo& p) { p.trackDuration = oddDuration; };
    const Change fractionTime = [&](PositionInfo& p) { p.relTime = oddDuration; };
    const Change oddTitle = [&](PositionInfo& p) { p.trackMetadata->title = "Never Gonna Give You Up " + fffd; };
    const std::string didl = trackDIDL();
    struct Case {
        const char* name;
        SOAPResponse reply;
        Change change;
    };
    const std::vector<Case> cases = {
        {"duration without hours", reply("3", "3:25", "0:01:02.500", didl), noDuration},
        {"duration with one-digit minutes", reply("3", "0:3:25", "0:01:02.500", didl), noDuration},
        {"duration past the hour", reply("3", "0:61:00", "0:01:02.500", didl), noDuration},
        {"duration with a fraction of a second", reply("3", "0:03:25.1/3", "0:01:02.500", didl), fractionDuration},
        {"time without hours", reply("3", "0:03:31", "3:25", didl), noTime},
        {"time with one-digit minutes", reply("3", "0:03:31", "0:3:25", didl), noTime},
        {"negative time", reply("3", "0:03:31", "-0:00:01", didl), noTime},
        {"time with a fraction of a second", reply("3", "0:03:31", "0:03:25.1/3", didl), fractionTime},
        {"Track not a number", reply("three", "0:03:31", "0:01:02.500", didl), noTrack},
        {"negative Track", reply("-1", "0:03:31", "0:01:02.500", didl), noTrack},
        {"Track beyond range", reply("99999999999999999999", "0:03:31", "0:01:02.500", didl), noTrack},
        {"truncated metadata", reply("3", "0:03:31", "0:01:02.500", didl.substr(0, 120)), noMetadata},
        {"metadata not DIDL", reply("3", "0:03:31", "0:01:02.500", "<html/>"), noMetadata},
        {"metadata with a word for its duration", reply("3", "0:03:31", "0:01:02.500", withResDuration("soon")),
         [](PositionInfo& p) { p.trackMetadata->duration.reset(); }},
        {"a reference to a control character in the title", throughEnvelope("&amp;#x1;"), oddTitle},
        {"a reference to U+FFFE in the envelope", throughEnvelope("&#xFFFE;"), oddTitle},
        {"a byte that is not UTF-8 in the title", throughEnvelope("\xFF"), oddTitle},
    };
    const PositionInfo good = *TransportService::parsePositionInfo(reply("3", "0:03:31", "0:01:02.500", didl), speaker);
    for (const auto& c : cases) {
        auto info = TransportService::parsePositionInfo(c.reply, speaker);
        ASSERT_TRUE(info) << c.name << ": " << info.error().message;
        PositionInfo expected = good;
        c.change(expected);
        EXPECT_EQ(*info, expected) << c.name;
    }
}

TEST(TransportService, AnOddStationNameHidesOnlyItself) {
    const std::string radioURI = "x-sonosapi-stream:s1?sid=254";
    struct Case {
        const char* name;
        std::string metadata;
        std::optional<std::string> station;  // none: no metadata
    };
    std::string oddName = stationDIDL();
    oddName.replace(oddName.find("Radio Paradise"), 14, "Radio&#x1;");
    const std::vector<Case> cases = {
        {"truncated metadata", stationDIDL().substr(0, 80), std::nullopt},
        {"metadata not DIDL", "<html/>", std::nullopt},
        {"a control character in the name", oddName, "Radio\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        auto media = TransportService::parseMediaInfo(SOAPResponse{{{"CurrentURI", radioURI}, {"CurrentURIMetaData", c.metadata}}},
                                                      speaker);
        ASSERT_TRUE(media) << c.name << ": " << media.error().message;
        EXPECT_EQ(media->currentURI, radioURI) << c.name;
        EXPECT_EQ(media->source, PlaybackSource::radio()) << c.name;
        EXPECT_EQ(media->currentURIMetadata ? media->currentURIMetadata->title : std::nullopt, c.station) << c.name;
    }
}

TEST(TransportService, SourcesAndSpotifyTracksFromURIs) {
    struct Case { const char* uri; std::optional<PlaybackSource> source; };
    const Case cases[] = {
        {"x-rincon-queue:RINCON_000E58A0000101400#0", PlaybackSource::sonosQueue()},
        {"x-sonos-htastream:RINCON_000E58A0000101400:spdif", PlaybackSource::tvAudio()},
        {"x-rincon-stream:RINCON_000E58A0000101400", PlaybackSource::lineIn()},
        {"x-sonosapi-stream:s1?sid=254", PlaybackSource::radio()}, {"hls-radio://stream.example/live", PlaybackSource::radio()},
        {"x-rincon:RINCON_000E58A0000101400", std::nullopt},       {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(TransportService::sourceOfURI(c.uri), c.source) << c.uri;

    struct Track { std::string uri; bool isSpotify; };
    const Track tracks[] = {
        {std::string("X-SONOS-SPOTIFY:SPOTIFY%3ATRACK%3A") + spotifyID, true},
        {"x-sonos-spotify:spotify%3aepisode%3a4uLU6hMCjMI75M1A2tKUQC", false},
        {"x-sonos-spotify:spotify%3atrack%3a", false},
        {"x-sonos-spotify:spotify%3atrack%3a4uLU6hMCjMI75M1A2t%25UQC", false},
        {"x-file-cifs://nas/music/song.flac", false},
    };
    for (const auto& t : tracks) EXPECT_EQ(didl::spotifyURIFromTrackURI(t.uri).has_value(), t.isSpotify) << t.uri;
}

TEST(TransportService, PlaybackStateFromTheThreeReadings) {
    const Date at = Date::sinceReferenceDate(1000);
    auto position = *TransportService::parsePositionInfo(
        positionReply("3", "0:03:31", "0:01:02", trackDIDL(), spotifyTrackURI), speaker);
    auto queue = *TransportService::parseMediaInfo(
        SOAPResponse{{{"CurrentURI", "x-rincon-queue:RINCON_000E58A0000101400#0"}, {"CurrentURIMetaData", ""}}}, speaker);

    auto playing = TransportService::playbackState(TransportState::playing, position, queue, at);
    ASSERT_TRUE(playing.isPlaying());
    EXPECT_EQ(playing.asPlaying()->elapsed, secs(62));
    EXPECT_EQ(playing.asPlaying()->sampledAt, at);
    const auto* track = playing.nowPlaying()->asTrack();
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->track.title(), "Never Gonna Give You Up");
    EXPECT_EQ(track->track.queuePosition(), 3);
    EXPECT_EQ(track->track.duration(), secs(211));
    EXPECT_EQ(track->track.source(), PlaybackSource::spotify()) << "a queued Spotify track counts as Spotify";
    EXPECT_TRUE(track->track.canSkip());

    auto paused = TransportService::playbackState(TransportState::paused, position, queue, at);
    ASSERT_TRUE(paused.isPaused());
    EXPECT_EQ(paused.asPaused()->elapsed, secs(62));
    EXPECT_TRUE(TransportService::playbackState(TransportState::stopped, position, queue, at).isStopped());

    auto tv = *TransportService::parseMediaInfo(SOAPResponse{{{"CurrentURI", "x-sonos-htastream:RINCON_000E58A0000101400:spdif"}}},
                                                speaker);
    EXPECT_TRUE(TransportService::playbackState(TransportState::playing, PositionInfo{}, tv, at).nowPlaying()->isTvAudio());

    auto radio = *TransportService::parseMediaInfo(
        SOAPResponse{{{"CurrentURI", "x-sonosapi-stream:s1?sid=254"}, {"CurrentURIMetaData", stationDIDL()}}}, speaker);
    auto song = *TransportService::parsePositionInfo(positionReply("1", "", "0:10:00", radioDIDL("Artist - Song"), "x"), speaker);
    auto silent = *TransportService::parsePositionInfo(positionReply("1", "", "0:10:00", radioDIDL(""), "x"), speaker);
    EXPECT_EQ(TransportService::playbackState(TransportState::playing, song, radio, at).nowPlaying()->asStream()->title,
              "Artist - Song");
    EXPECT_EQ(TransportService::playbackState(TransportState::playing, silent, radio, at).nowPlaying()->asStream()->title,
              "Radio Paradise")
        << "without stream content the station names the stream";
}

TEST(ProtocolText, ClockTimes) {
    const Duration third = Duration::fromAttoseconds(Duration::perSecond / 3);
    struct Case { const char* text; std::optional<Duration> value; bool ok; };  // no value: read as none
    const Case cases[] = {
        {"12:00:01", secs(43'201), true},      {"1:02:03.5", Duration::milliseconds(3'723'500), true},
        {"NOT_IMPLEMENTED", std::nullopt, true}, {"", std::nullopt, true},
        {"0:03:25.1/3", secs(205) + third, true}, {"0:00:01.2/4", Duration::milliseconds(1'500), true},
        {"1:00:00.0/7", secs(3600), true},     {"0:3:31", {}, false},        {"3:25", {}, false},
        {"0:03:60", {}, false},                {"0:03", {}, false},          {"0:00:00.", {}, false},
        {"0:00:00 extra", {}, false},          {"0:00:01.3/3", {}, false},   {"0:00:01.4/3", {}, false},
        {"0:00:01.1/0", {}, false},            {"0:00:01.1/", {}, false},    {"0:00:01./3", {}, false},
        {"0:00:01.1/3s", {}, false},
    };
    for (const auto& c : cases) {
        auto parsed = protocol_text::parseClockTime(c.text, "time");
        ASSERT_EQ(parsed.has_value(), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(*parsed, c.value) << c.text;
    }
    // Seek targets are whole clock times, never negative.
    EXPECT_EQ(TransportService::seekRequest(secs(3723) + Duration::milliseconds(900)).arguments,
              (std::vector<SOAPRequest::Argument>{{"InstanceID", "0"}, {"Unit", "REL_TIME"}, {"Target", "1:02:03"}}));
    EXPECT_EQ(TransportService::seekRequest(secs(-5)).arguments.back().second, "0:00:00");
    EXPECT_EQ(protocol_text::formatClockTime(secs(36000)), "10:00:00");
}
