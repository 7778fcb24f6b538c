#pragma once

// How a speaker's map coordinate came about: from the automatic layout (or the centre
// default), or from the user's pin.

namespace orvel {

enum class Placement { inferred, pinned };

}  // namespace orvel
