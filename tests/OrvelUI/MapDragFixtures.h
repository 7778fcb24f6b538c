#pragma once

// A hand-placed map for the drag tests and a store stand-in that records the intents it gets.
//
//   hub of group 5 (300,100)              hub of group 1 (700,100)
//   room 1 (200,200)        room 2 (500,200)        room 3 (800,200)
//                           room 4 (500,330)
//
// One main-floor band: frame (0,0,1000,400), safe area (100,50,800,300), the whole vertical axis.
// Rooms 1–3 form group 1, room 4 is alone; group 5 has a hub but no longer exists in the store.

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "MapGeometryFixtures.h"
#include "OrvelUI/map/MapDragHost.h"
#include "OrvelUI/map/PrecomputedMapGeometry.h"

namespace orvel::testing {

inline PrecomputedMapGeometry handPlacedMap() {
    PrecomputedMapGeometry g;
    g.bands.push_back(FloorBandLayout{FloorLevel::main(), Rect(0, 0, 1000, 400), Rect(100, 50, 800, 300), {0, 1}});
    g.hubLocations = {{gid(5), {300, 100}}, {gid(1), {700, 100}}};
    g.displayPoints = {{sp(1), {200, 200}}, {sp(2), {500, 200}}, {sp(3), {800, 200}}, {sp(4), {500, 330}}};
    g.canvasSize = {1000, 420};
    return g;
}

class RecordingMapHost : public MapDragHost {
public:
    RecordingMapHost() {
        const std::vector<Speaker> s{speaker(1, "Kitchen"), speaker(2, "Living Room"), speaker(3, "Office"),
                                     speaker(4, "Bedroom")};
        nodes = {mapNode(s[0], 0.1, 0.5, gid(1)), mapNode(s[1], 0.5, 0.5, gid(1)), mapNode(s[2], 0.9, 0.5, gid(1)),
                 mapNode(s[3], 0.5, 0.9, gid(4))};
        groupList = {testing::group({s[0], s[1], s[2]}), testing::group({s[3]})};
    }

    const std::vector<FloorplanNode>& floorplan() const override { return nodes; }
    const std::vector<SonosGroup>& groups() const override { return groupList; }
    void group(const SpeakerUUID& member, const SpeakerUUID& onto) override {
        calls.push_back("group " + label(member) + " onto " + label(onto));
    }
    void moveRoom(const SpeakerUUID& speaker, RoomCoordinate to) override {
        char text[64];
        std::snprintf(text, sizeof text, " to %.3f %.3f", to.x(), to.y());
        calls.push_back("move " + label(speaker) + text);
    }

    const FloorplanNode& node(int number) const {
        for (const auto& n : nodes) {
            if (n.id() == sp(number)) return n;
        }
        throw std::logic_error("no such node");
    }

    std::vector<FloorplanNode> nodes;
    std::vector<SonosGroup> groupList;
    std::vector<std::string> calls;

private:
    static std::string label(const SpeakerUUID& id) {
        for (int n = 1; n < 100; ++n) {
            if (sp(n) == id) return std::to_string(n);
        }
        return id.rawValue();
    }
};

}  // namespace orvel::testing
