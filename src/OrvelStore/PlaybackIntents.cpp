#include "PlaybackIntents.h"

#include <utility>

#include "OrvelDomain/PlayPause.h"

namespace orvel {

namespace {

// Enqueues the account's item on the group at the account's position and, once the speakers
// have taken it, pauses the account's own device. A refused enqueue leaves the account playing.
QCoro::Task<> moveOntoGroup(std::shared_ptr<PlaybackHost> host, SpotifyTrackContext context, GroupID group) {
    if (!host->isAvailable()) co_return;
    auto enqueuing = host->perform(
        SonosCommand::enqueueAndPlaySpotify(context.uri, context.metadata, std::move(group), context.position));
    const auto enqueued = co_await std::move(enqueuing);
    if (!enqueued || !host->isAvailable()) co_return;
    auto pausing = host->pauseSourcePlayback();
    co_await std::move(pausing);
}

// The speakers refused to resume: the account's own device resumes if it can; else the paused
// Spotify track goes back onto the group where it stopped; else whatever the account plays
// moves onto the group.
QCoro::Task<> pauseGroup(std::shared_ptr<PlaybackHost> host, GroupID group) {
    host->send(SonosCommand::playPause(PlayPause::pause, std::move(group)));
    co_return;
}

QCoro::Task<> resumeGroup(std::shared_ptr<PlaybackHost> host, GroupID group, NowPlaying item, Duration elapsed) {
    const SonosCommand play = SonosCommand::playPause(PlayPause::play, group);
    auto playing = host->perform(play);
    const auto played = co_await std::move(playing);
    if (played || !played.error().isSpeakerRejected() || !host->isAvailable()) co_return;
    const SonosCommandError rejection = played.error();
    // The refusal is handled below; its alert would only confuse.
    host->setAlert(std::nullopt);

    auto resuming = host->resumeSourcePlayback();
    const bool resumed = co_await std::move(resuming);
    if (resumed || !host->isAvailable()) co_return;

    const NowPlaying::Track* paused = item.asTrack();
    if (paused && paused->track.spotifyURI()) {
        auto enqueuing = host->perform(SonosCommand::enqueueAndPlaySpotify(
            *paused->track.spotifyURI(), enqueueMetadata(paused->track), group, elapsed));
        co_await std::move(enqueuing);
        co_return;
    }

    auto reading = host->currentContext();
    auto context = co_await std::move(reading);
    if (!host->isAvailable()) co_return;
    if (!context) {
        // The user pressed play on the speakers; the Spotify failure behind the fallback is not
        // what they need to hear about.
        host->setAlert(OrvelAlert::commandFailed(play, rejection));
        co_return;
    }
    auto moving = moveOntoGroup(host, std::move(*context), group);
    co_await std::move(moving);
}

// A stopped group plays what the account plays; with the account playing nothing the speakers
// get a plain play.
QCoro::Task<> startGroup(std::shared_ptr<PlaybackHost> host, GroupID group) {
    auto reading = host->currentContext();
    auto context = co_await std::move(reading);
    if (!host->isAvailable()) co_return;
    if (!context) {
        if (context.error().isNotConnected()) {
            host->setAlert(OrvelAlert::spotify(context.error()));
            co_return;
        }
        auto playing = host->perform(SonosCommand::playPause(PlayPause::play, group));
        co_await std::move(playing);
        co_return;
    }
    auto moving = moveOntoGroup(host, std::move(*context), group);
    co_await std::move(moving);
}

}  // namespace

QCoro::Task<> togglePlayOrHandOffSpotify(std::shared_ptr<PlaybackHost> host, SonosGroup group) {
    auto toggling = group.playback.visit(
        [&](const PlaybackState::Playing&) { return pauseGroup(host, group.id); },
        [&](const PlaybackState::Paused& paused) {
            return resumeGroup(host, group.id, paused.nowPlaying, paused.elapsed);
        },
        [&](const PlaybackState::Stopped&) { return startGroup(host, group.id); });
    co_await std::move(toggling);
}

QCoro::Task<> handOffSpotify(std::shared_ptr<PlaybackHost> host, GroupID group) {
    auto reading = host->currentContext();
    auto context = co_await std::move(reading);
    if (!host->isAvailable()) co_return;
    if (!context) {
        host->setAlert(OrvelAlert::spotify(context.error()));
        co_return;
    }
    auto moving = moveOntoGroup(host, std::move(*context), std::move(group));
    co_await std::move(moving);
}

bool isTransportCommand(const SonosCommand& command) {
    using C = SonosCommand;
    return command.visit([](const C::PlayPause&) { return true; }, [](const C::NextTrack&) { return true; },
                         [](const C::PreviousTrack&) { return true; }, [](const C::SeekToQueueTrack&) { return true; },
                         [](const C::EnqueueAndPlaySpotify&) { return true; },
                         // Grouping, volume and household-value commands.
                         [](const auto&) { return false; });
}

SpotifyTrackMetadata enqueueMetadata(const NowPlayingTrack& track) {
    return SpotifyTrackMetadata{track.title(), track.artist().value_or(""), track.album(), track.artworkURL(),
                                track.duration()};
}

std::optional<SonosCommand> queueItemCommand(const QueueItem& item, const GroupID& group) {
    if (item.queueNumber() && *item.queueNumber() >= 1) return SonosCommand::seekToQueueTrack(*item.queueNumber(), group);
    if (!item.spotifyURI()) return std::nullopt;
    SpotifyTrackMetadata metadata{item.title(), item.artist().value_or(""), item.album(), item.artworkURL(),
                                  item.duration()};
    return SonosCommand::enqueueAndPlaySpotify(*item.spotifyURI(), std::move(metadata), group);
}

}  // namespace orvel
