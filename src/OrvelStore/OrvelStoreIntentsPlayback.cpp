// The play button and the Spotify hand-off: the decisions live in PlaybackIntents; here they
// are started on the store, whose host records every command as in flight.

#include "OrvelStore.h"
#include "PlaybackIntents.h"

namespace orvel {

void OrvelStore::togglePlayOrHandOffSpotify(const SonosGroup& group) {
    // The task runs on by itself; the group is taken as it is at the tap.
    orvel::togglePlayOrHandOffSpotify(playbackHost(), group);
}

void OrvelStore::handOffSpotify(const GroupID& group) { orvel::handOffSpotify(playbackHost(), group); }

}  // namespace orvel
