#pragma once

// The automatic floor plan: on which floor each speaker stands, where on its floor band it is
// drawn, and which speakers the map draws together as one room. Everything is decided from
// room names and the radio proximity the speakers report about each other, by pure functions:
// the same speakers and matrix give the same result in every run, whatever the input order
// (except which of two speakers with one identifier counts: the later one).

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "FloorLevel.h"
#include "FloorplanNode.h"
#include "FloorplanRoomCluster.h"
#include "RFPeerMatrix.h"
#include "RoomCoordinate.h"
#include "Speaker.h"
#include "SpeakerUUID.h"

namespace orvel::FloorplanLayout {

// A closed range of whole hundredths of the map height.
struct Span {
    std::int64_t lowerBound;
    std::int64_t upperBound;

    friend bool operator==(const Span&, const Span&) = default;
};

// ---- Floors ---------------------------------------------------------------------------------

// A floor for every distinct speaker. Room names decide, relative to one another (two distinct
// tiers are always "Upper Floor" and "Lower Floor"); when four or more speakers' names all
// agree, well-separated radio clusters may split them into floors instead.
std::map<SpeakerUUID, FloorLevel> classifyFloors(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix);

// Groups of speakers that hear each other well (moderate or strong) and every other group
// only weakly, in identifier order; the single group of all speakers unless every speaker has
// a good link, every group has two or more speakers and every two groups share a weak link.
std::vector<std::vector<SpeakerUUID>> verticalRFClusters(const std::vector<Speaker>& speakers,
                                                         const RFPeerMatrix& matrix);

// The vertical span of each of `floorCount` floors, top floor first (one span for 0 floors).
// Past eight floors the spans run below the map (their coordinates clamp to its bottom).
std::vector<Span> verticalSpans(std::size_t floorCount);

// ---- Placement ------------------------------------------------------------------------------

// A coordinate for every distinct speaker: floor by floor on a small grid inside the floor's
// span, in an order that follows good radio links and puts living spaces first, then drawn
// together by one pass of radio pull.
std::map<SpeakerUUID, RoomCoordinate> infer(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix);

// What `infer` and `classifyFloors` give for the same speakers and matrix, from one pass that
// reads the matrix once: the map's callers want both on every change of the speaker set.
struct Inferred {
    std::map<SpeakerUUID, RoomCoordinate> coordinates;
    std::map<SpeakerUUID, FloorLevel> floors;

    friend bool operator==(const Inferred&, const Inferred&) = default;
};
Inferred inferWithFloors(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix);

// Places one floor's speakers on the grid inside `span`, writing their positions (in
// hundredths) into x and y.
void seedLevel(const std::vector<Speaker>& speakers, Span span, const RFPeerMatrix& matrix,
               std::map<SpeakerUUID, std::int64_t>& x, std::map<SpeakerUUID, std::int64_t>& y);

// The speakers in layout order: from the first living space, on along moderate and strong
// links, falling back to wing order where the radio gives no lead.
std::vector<Speaker> chainByRFAndZone(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix);

// 0 for living spaces (kitchen, dining, living, family, great), 1 for private rooms (bed,
// guest, nursery, office, study), 2 for everything else; case is ignored.
int semanticWingRank(std::string_view roomName);

// ---- Rooms ----------------------------------------------------------------------------------

// The map's nodes gathered into rooms, floor by floor from the top: a node joins an anchor
// when their short room names match ignoring case, or when it is close to the anchor on the
// map and their radio link is very strong.
std::vector<FloorplanRoomCluster> clusterRooms(const std::vector<FloorplanNode>& nodes, const RFPeerMatrix& matrix);

}  // namespace orvel::FloorplanLayout
