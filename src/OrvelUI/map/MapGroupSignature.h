#pragma once

// The grouping as one string: each group's identifier, ":" and its speakers' identifiers
// (coordinator first) joined by ",", the groups joined by "|". It changes exactly when a group
// comes or goes or its rooms or their order change; the map animates its cards only then.

#include <string>
#include <vector>

#include "OrvelDomain/SonosGroup.h"

namespace orvel {

std::string mapGroupSignature(const std::vector<SonosGroup>& groups);

}  // namespace orvel
