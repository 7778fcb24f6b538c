// The full map laid out for seeded households of 1 to 128 speakers on 1 to 4 floors with 0 to
// 8 playing groups, at the map sizes of windows from the smallest (980 x 660) to 1920 x 1200:
// no two cards overlap at the size the views draw them, every room card lies inside its own
// floor band, every hub inside a band, no tether leaves the plot (so none is cut by the
// canvas's edge), and a tether passes behind another group's hub only when it is marked to
// (drawn faint), which stays rare.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "MapGeometryFixtures.h"
#include "OrvelDomain/FloorplanLayout.h"
#include "OrvelUI/map/MapCardSizes.h"
#include "OrvelUI/map/MapGeometry.h"
#include "OrvelUI/playback/ActiveHubGroups.h"

namespace orvel::testing {
namespace {

struct SeededHousehold {
    std::vector<FloorplanNode> nodes;
    std::vector<SonosGroup> groups;
};

SeededHousehold seeded(int count, int floors, int playingGroups, unsigned seed) {
    static const char* names[] = {"Kitchen", "Living Room", "Bedroom", "Office", "Bath", "Den", "Hall", "Patio"};
    const FloorLevel levels[] = {FloorLevel::upper(), FloorLevel::main(), FloorLevel::lower(), FloorLevel::top()};
    std::mt19937 random(seed);
    std::vector<Speaker> speakers;
    for (int i = 0; i < count; ++i) {
        speakers.push_back(speaker(i + 1, std::string(names[random() % std::size(names)]) + " " + std::to_string(i),
                                   random() % 6 == 0 ? 1 + static_cast<int>(random() % 3) : 0));
    }
    // The automatic placement of a real household, with some rooms pinned anywhere on their floor.
    const auto placed = FloorplanLayout::infer(speakers, RFPeerMatrix());
    SeededHousehold h;
    int next = 0;
    const int playing = std::min(playingGroups, count);
    for (int g = 0; g < playing; ++g) {
        const int size = std::min(1 + static_cast<int>(random() % 4), count - next - (playing - g - 1));
        std::vector<Speaker> members(speakers.begin() + next, speakers.begin() + next + std::max(size, 1));
        next += std::max(size, 1);
        h.groups.push_back(group(members, PlaybackState::playing(NowPlaying::stream("Radio " + std::to_string(g)),
                                                                 Duration(), Date())));
    }
    for (; next < count; ++next) h.groups.push_back(group({speakers[static_cast<std::size_t>(next)]}));
    for (const auto& g : h.groups) {
        for (const auto& s : g.speakers()) {
            RoomCoordinate at = placed.at(s.id);
            if (random() % 5 == 0) at = RoomCoordinate::clamping((random() % 1000) / 999.0, (random() % 1000) / 999.0);
            h.nodes.push_back(mapNode(s, at.x(), at.y(), g.id, levels[random() % static_cast<unsigned>(floors)]));
        }
    }
    return h;
}

// The map's scroller inside windows from the smallest to 1920 x 1200 (the sidebar, the preset
// bar and the paddings take 291 x 90 of the window).
struct Viewport {
    const char* window;
    Size size;
};
const Viewport viewports[] = {
    {"980x660", {689, 570}},   {"1100x760", {809, 670}},   {"1280x840", {989, 750}},
    {"1440x900", {1149, 810}}, {"1920x1200", {1629, 1110}}, {"narrowest full canvas", {520, 570}},
};

Rect drawnRoom(Point centre, const FloorplanNode& node) {
    return Rect::centeredAt(centre, MapCardSizes::roomCard(!node.speaker.bondedSatellites.empty()));
}

// Whether a point of the curve, sampled 32 times along it, lies outside the rectangle (its
// edges count as inside).
bool leaves(const AcousticCurveSegment& segment, const Rect& area) {
    for (int k = 0; k <= 32; ++k) {
        const Point p = segment.point(k / 32.0);
        if (p.x < area.minX() || p.x > area.maxX() || p.y < area.minY() || p.y > area.maxY()) return true;
    }
    return false;
}

bool overlap(const Rect& a, const Rect& b) {
    const Rect i = a.intersection(b);
    return !i.isNull() && i.width() > 0.01 && i.height() > 0.01;
}

TEST(MapLayoutProperties, NoCardsOverlapAndRoomsStayInTheirBandsAtEverySize) {
    int tethers = 0;
    int behind = 0;
    int outsidePlot = 0;
    int outsideCanvas = 0;
    unsigned seed = 1;
    for (int count : {1, 2, 3, 5, 8, 13, 24, 40, 64, 96, 128}) {
        for (int floors : {1, 2, 3, 4}) {
            const int playing = static_cast<int>(seed % 9);
            const SeededHousehold h = seeded(count, floors, playing, seed++);
            const std::vector<SonosGroup> hubGroups = deduplicatedActiveHubGroups(h.groups);
            for (const Viewport& viewport : viewports) {
                SCOPED_TRACE(std::to_string(count) + " speakers, " + std::to_string(floors) + " floors, " +
                             std::to_string(playing) + " playing, window " + viewport.window);
                const auto g = MapGeometry::compute(h.nodes, hubGroups, viewport.size, {});

                std::vector<std::pair<std::string, Rect>> cards;
                for (const auto& node : h.nodes) {
                    const Rect card = drawnRoom(g.displayPoints.at(node.id()), node);
                    const FloorBandLayout* band = MapGeometry::bandOf(g.bands, node.level);
                    ASSERT_NE(band, nullptr);
                    EXPECT_TRUE(band->frame.contains(card)) << node.speaker.roomName;
                    cards.emplace_back(node.speaker.roomName, card);
                }
                std::vector<Rect> hubCards;
                for (const auto& [id, centre] : g.hubLocations) {
                    const Rect card = Rect::centeredAt(centre, MapCardSizes::hub);
                    EXPECT_TRUE(std::any_of(g.bands.begin(), g.bands.end(),
                                            [&](const FloorBandLayout& b) { return b.frame.contains(card); }))
                        << "hub " << id.description();
                    cards.emplace_back("hub " + id.description(), card);
                    hubCards.push_back(card);
                }
                for (std::size_t i = 0; i < cards.size(); ++i) {
                    for (std::size_t j = i + 1; j < cards.size(); ++j) {
                        EXPECT_FALSE(overlap(cards[i].second, cards[j].second)) << cards[i].first << " / " << cards[j].first;
                    }
                }

                const Rect canvas(0, 0, g.canvasSize.width, g.canvasSize.height);
                const Rect plot = MapGeometry::plot(g.canvasSize);
                for (const auto& [group, list] : g.tethersByGroup) {
                    std::vector<Rect> others;
                    for (const auto& [id, centre] : g.hubLocations) {
                        if (id != group) others.push_back(Rect::centeredAt(centre, MapCardSizes::hub).insetBy(1, 1));
                    }
                    for (const auto& tether : list) {
                        ++tethers;
                        if (leaves(tether.segment, canvas)) ++outsideCanvas;
                        EXPECT_FALSE(leaves(tether.segment, canvas)) << tether.roomName << " leaves the canvas";
                        if (leaves(tether.segment, plot)) ++outsidePlot;
                        if (tether.passesBehindHub) {
                            ++behind;
                            continue;
                        }
                        EXPECT_FALSE(MapGeometry::crossesAny(tether.segment, others)) << tether.roomName;
                    }
                }
            }
        }
    }
    EXPECT_GT(tethers, 0);
    EXPECT_EQ(outsideCanvas, 0) << outsideCanvas << " of " << tethers << " tethers leave the canvas";
    EXPECT_EQ(outsidePlot, 0) << outsidePlot << " of " << tethers << " tethers leave the plot";
    // Mostly rooms whose group spans floors, where the other floors' hubs stand in the way.
    EXPECT_LE(behind * 16, tethers) << behind << " of " << tethers << " tethers pass behind another group's hub";
}

}  // namespace
}  // namespace orvel::testing
