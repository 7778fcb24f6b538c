#pragma once

// The transport action of the play-pause command.

namespace orvel {

enum class PlayPause { play, pause };

}  // namespace orvel
