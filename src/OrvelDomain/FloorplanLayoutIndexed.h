#pragma once

// The floor-plan engine's inner steps on speakers numbered by position, with the radio matrix
// read once into an index: the public functions of FloorplanLayout.h build the index and call
// these, and `inferWithFloors` shares one index between all steps.

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "FloorLevel.h"
#include "FloorplanLayout.h"
#include "RFPeerMatrix.h"
#include "Speaker.h"
#include "SpeakerUUID.h"

namespace orvel::FloorplanLayout::indexed {

// A speaker and its position in the index.
struct Member {
    const Speaker* speaker;
    std::size_t position;
};

// `verticalRFClusters` for distinct speakers in identifier order, `members[i].position` being
// where the index finds `members[i]`.
std::vector<std::vector<SpeakerUUID>> verticalRFClusters(const std::vector<Member>& members,
                                                         const RFPeerMatrix::Index& index);

// `classifyFloors` of the listed speakers (duplicates included), asking `clusters` for the
// radio clusters only when the names leave the floors to the radio.
std::map<SpeakerUUID, FloorLevel> classifyFloors(
    const std::vector<const Speaker*>& speakers,
    const std::function<std::vector<std::vector<SpeakerUUID>>()>& clusters);

// Positions in `members` in the order of `chainByRFAndZone`.
std::vector<std::size_t> chain(const std::vector<Member>& members, const RFPeerMatrix::Index& index);

struct Seed {
    std::size_t member;  // position in the seeded list
    std::int64_t x;
    std::int64_t y;
};
// `seedLevel`'s positions, in chain order (the order a map of them is written in).
std::vector<Seed> seedLevel(const std::vector<Member>& members, Span span, const RFPeerMatrix::Index& index);

}  // namespace orvel::FloorplanLayout::indexed
