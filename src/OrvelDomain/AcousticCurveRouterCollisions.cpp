#include <algorithm>
#include <cmath>
#include <variant>

#include "AcousticCurveRouter.h"

namespace orvel::AcousticCurveRouter {

namespace {

constexpr double edgeInset = 20;
constexpr double topOffset = 42;
constexpr double shelfGap = 24;
constexpr int maximumIterations = 48;
// Footprints are compared grown by this much, so cards keep a visible gap.
constexpr double collisionPadding = 12;
// The final check is a little more lenient than the relaxation, so a layout the relaxation
// just settled is accepted rather than shelf-packed.
constexpr double checkInset = 19;
constexpr double checkPadding = 11.5;

Size roomSize(bool hasSatellites) {
    return hasSatellites ? Size{198, 128} : Size{142, 98};
}

// Keeps an element of the given half size inside the band, clear of its edges and its header;
// a band too small for it pins the element to the band's centre line.
Point clampElement(Point center, double halfWidth, double halfHeight, const Rect& band) {
    double lowX = std::min(band.minX() + edgeInset + halfWidth, band.midX());
    double highX = std::max(band.maxX() - edgeInset - halfWidth, lowX);
    double lowY = std::min(band.minY() + topOffset + halfHeight, band.midY());
    double highY = std::max(band.maxY() - edgeInset - halfHeight, lowY);
    return {std::min(std::max(center.x, lowX), highX), std::min(std::max(center.y, lowY), highY)};
}

Point clampRoom(Point center, bool hasSatellites, const Rect& band) {
    Size s = roomSize(hasSatellites);
    return clampElement(center, s.width / 2, s.height / 2, band);
}

Point clampHub(Point center, const Rect& band) {
    return clampElement(center, 170, 54, band);
}

struct Overlap {
    bool intersects;
    double x;
    double y;
};

Overlap overlapOf(const Rect& a, const Rect& b) {
    Rect i = a.intersection(b);
    if (i.isNull()) return {false, 0, 0};
    return {true, i.width(), i.height()};
}

struct HubState {
    GroupID id;
    Point center;
};

bool separateHubs(std::vector<HubState>& hubs, const Rect& band) {
    bool collided = false;
    for (std::size_t i = 0; i < hubs.size(); ++i) {
        for (std::size_t j = i + 1; j < hubs.size(); ++j) {
            Point& a = hubs[i].center;
            Point& b = hubs[j].center;
            Overlap o = overlapOf(musicHubRect(a).grownBy(collisionPadding), musicHubRect(b).grownBy(collisionPadding));
            if (!o.intersects) continue;
            collided = true;
            if (o.x <= o.y) {
                double push = 0.55 * o.x + 2;
                double towards = a.x <= b.x ? -1 : 1;
                a.x += towards * push;
                b.x -= towards * push;
            } else {
                double push = 0.55 * o.y + 2;
                double towards = a.y <= b.y ? -1 : 1;
                a.y += towards * push;
                b.y -= towards * push;
            }
            a = clampHub(a, band);
            b = clampHub(b, band);
        }
    }
    return collided;
}

bool separateHubsFromRooms(std::vector<HubState>& hubs, std::vector<LayoutRoomSpec>& rooms, const Rect& band) {
    bool collided = false;
    for (auto& hubState : hubs) {
        Point& hub = hubState.center;
        for (auto& room : rooms) {
            Overlap o = overlapOf(musicHubRect(hub).grownBy(collisionPadding),
                                  nodeObstacleRect(room.center, room.hasSatellites).grownBy(collisionPadding));
            if (!o.intersects) continue;
            collided = true;
            if (!(o.x > 0 && o.y > 0)) continue;

            double v = hub.y <= room.center.y ? 1 : -1;
            // Would a vertical split have the room to move? Judged before anything moves.
            Point trialRoom = clampRoom({room.center.x, room.center.y + (o.y + 4) * v}, room.hasSatellites, band);
            Point trialHub = clampHub({hub.x, hub.y - 0.45 * o.y * v}, band);
            double covered = std::abs(trialRoom.y - room.center.y) + std::abs(trialHub.y - hub.y);
            if (o.y > o.x || covered < 0.85 * o.y) {
                double h = hub.x > room.center.x ? -1 : 1;
                if (std::abs(hub.x - room.center.x) < 16) {
                    h = hub.x - band.minX() <= band.maxX() - hub.x ? 1 : -1;
                }
                if (!room.isFixed) {
                    room.center.x += (0.72 * o.x + 2) * h;
                    room.center.y += std::min(0.45 * o.y, 22.0) * v;
                    room.center = clampRoom(room.center, room.hasSatellites, band);
                }
                hub.x -= (0.32 * o.x + 1) * h;
                hub.y -= std::min(0.25 * o.y, 12.0) * v;
            } else {
                if (!room.isFixed) {
                    room.center.y += (0.72 * o.y + 2) * v;
                    room.center = clampRoom(room.center, room.hasSatellites, band);
                }
                hub.y -= (0.36 * o.y + 1) * v;
            }
            hub = clampHub(hub, band);
        }
    }
    return collided;
}

Rect paddedFootprint(const LayoutRoomSpec& room) {
    return nodeObstacleRect(room.center, room.hasSatellites).grownBy(collisionPadding);
}

bool separateRooms(std::vector<LayoutRoomSpec>& rooms, const Rect& band) {
    bool collided = false;
    // Each room's padded footprint, kept in step with its centre: a pass compares every pair.
    std::vector<Rect> footprints;
    footprints.reserve(rooms.size());
    for (const auto& room : rooms) footprints.push_back(paddedFootprint(room));
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        for (std::size_t j = i + 1; j < rooms.size(); ++j) {
            LayoutRoomSpec& a = rooms[i];
            LayoutRoomSpec& b = rooms[j];
            Overlap o = overlapOf(footprints[i], footprints[j]);
            if (!o.intersects) continue;
            collided = true;
            if (!(o.x > 0 && o.y > 0)) continue;

            double sx = a.center.x <= b.center.x ? 1 : -1;
            if (std::abs(a.center.x - b.center.x) < 2) sx = a.id < b.id ? 1 : -1;
            double sy = a.center.y <= b.center.y ? 1 : -1;
            if (std::abs(a.center.y - b.center.y) < 2) sy = a.id < b.id ? 1 : -1;

            double pushX = 0.6 * o.x + 2;
            Point trialA = clampRoom({a.center.x - pushX * sx, a.center.y}, a.hasSatellites, band);
            Point trialB = clampRoom({b.center.x + pushX * sx, b.center.y}, b.hasSatellites, band);
            double covered = std::abs(trialA.x - a.center.x) + std::abs(trialB.x - b.center.x);
            if (o.x > 1.25 * o.y || covered < 0.8 * o.x) {
                double moveY = (0.6 * o.y + 2) * sy;
                double moveX = std::min(0.25 * o.x, 16.0) * sx;
                if (!a.isFixed) a.center = clampRoom({a.center.x - moveX, a.center.y - moveY}, a.hasSatellites, band);
                if (!b.isFixed) b.center = clampRoom({b.center.x + moveX, b.center.y + moveY}, b.hasSatellites, band);
            } else {
                if (!a.isFixed) a.center = trialA;
                if (!b.isFixed) b.center = trialB;
            }
            footprints[i] = paddedFootprint(a);
            footprints[j] = paddedFootprint(b);
        }
    }
    return collided;
}

bool isClean(const std::vector<LayoutRoomSpec>& rooms, const std::vector<HubState>& hubs, const Rect& band) {
    const Rect inside = band.insetBy(checkInset, checkInset);
    std::vector<Rect> footprints;
    footprints.reserve(rooms.size() + hubs.size());
    for (const auto& room : rooms) footprints.push_back(nodeObstacleRect(room.center, room.hasSatellites));
    for (const auto& hub : hubs) footprints.push_back(musicHubRect(hub.center));
    for (const Rect& f : footprints) {
        if (!inside.contains(f)) return false;
    }
    for (std::size_t i = 0; i < footprints.size(); ++i) {
        for (std::size_t j = i + 1; j < footprints.size(); ++j) {
            if (footprints[i].grownBy(checkPadding).intersects(footprints[j].grownBy(checkPadding))) return false;
        }
    }
    return true;
}

// ---- Shelf packing --------------------------------------------------------------------------

struct RoomItem {
    LayoutRoomSpec room;
    Size size;
};
struct HubItem {
    GroupID id;
    Point center;
    Size size;
};

class PackItem {
public:
    static PackItem room(LayoutRoomSpec spec, Size size) { return PackItem(RoomItem{std::move(spec), size}); }
    static PackItem hub(GroupID id, Point center, Size size) { return PackItem(HubItem{std::move(id), center, size}); }

    bool isRoom() const { return std::holds_alternative<RoomItem>(value_); }
    const RoomItem* asRoom() const { return std::get_if<RoomItem>(&value_); }
    const HubItem* asHub() const { return std::get_if<HubItem>(&value_); }

    Point center() const { return isRoom() ? asRoom()->room.center : asHub()->center; }
    Size size() const { return isRoom() ? asRoom()->size : asHub()->size; }

private:
    explicit PackItem(std::variant<RoomItem, HubItem> value) : value_(std::move(value)) {}
    std::variant<RoomItem, HubItem> value_;
};

struct ShelfRow {
    std::vector<PackItem> items;
    double totalWidth = 0;
    double maxHeight = 0;
};

}  // namespace

namespace {

// The shelf packing's items in reading order, and its rows filled in that order.
struct Shelving {
    std::vector<PackItem> items;
    double availableWidth;
    double minGapX;

    std::vector<ShelfRow> shelve(std::vector<PackItem> ordered) const {
        std::vector<ShelfRow> rows;
        for (auto& item : ordered) {
            double width = item.size().width;
            bool fits = !rows.empty() && !rows.back().items.empty() &&
                        rows.back().totalWidth + minGapX + width <= availableWidth;
            if (!fits) rows.emplace_back();
            ShelfRow& row = rows.back();
            row.totalWidth += (row.items.empty() ? 0 : minGapX) + width;
            row.maxHeight = std::max(row.maxHeight, item.size().height);
            row.items.push_back(std::move(item));
        }
        for (auto& row : rows) {
            std::stable_sort(row.items.begin(), row.items.end(),
                             [](const PackItem& a, const PackItem& b) { return a.center().x < b.center().x; });
        }
        return rows;
    }
};

Shelving shelving(const std::vector<LayoutRoomSpec>& rooms, const std::map<GroupID, Point>& hubCenters, Rect bandFrame,
                  double edgeInset, double minGapX) {
    // Tolerance orders are no strict weak orders; stable sorts keep them deterministic.
    std::vector<LayoutRoomSpec> sortedRooms = rooms;
    std::stable_sort(sortedRooms.begin(), sortedRooms.end(), [](const LayoutRoomSpec& a, const LayoutRoomSpec& b) {
        if (std::abs(a.center.y - b.center.y) > 48) return a.center.y < b.center.y;
        if (std::abs(a.center.x - b.center.x) > 8) return a.center.x < b.center.x;
        return a.id < b.id;
    });

    std::vector<PackItem> items;
    items.reserve(sortedRooms.size() + hubCenters.size());
    for (const auto& room : sortedRooms) items.push_back(PackItem::room(room, roomSize(room.hasSatellites)));
    for (const auto& [id, center] : hubCenters) items.push_back(PackItem::hub(id, center, musicHubSize()));
    std::stable_sort(items.begin(), items.end(), [](const PackItem& a, const PackItem& b) {
        Point pa = a.center();
        Point pb = b.center();
        if (std::abs(pa.y - pb.y) > 54) return pa.y < pb.y;
        return pa.x < pb.x;
    });
    const double availableWidth = std::max((bandFrame.maxX() - edgeInset) - (bandFrame.minX() + edgeInset), 200.0);
    return Shelving{std::move(items), availableWidth, minGapX};
}

double heightsOf(const std::vector<ShelfRow>& rows) {
    double heights = 0;
    for (const auto& row : rows) heights += row.maxHeight;
    return heights;
}

}  // namespace

double shelfPackHeight(const std::vector<LayoutRoomSpec>& rooms, const std::map<GroupID, Point>& hubCenters,
                       Rect bandFrame) {
    const Shelving shelves = shelving(rooms, hubCenters, bandFrame, edgeInset, shelfGap);
    const std::vector<ShelfRow> rows = shelves.shelve(shelves.items);
    if (rows.empty()) return 0;
    return topOffset + heightsOf(rows) + shelfGap * (static_cast<double>(rows.size()) - 1) + edgeInset;
}

ResolvedBand deterministicShelfPack(const std::vector<LayoutRoomSpec>& rooms,
                                    const std::map<GroupID, Point>& hubCenters, Rect bandFrame,
                                    double edgeInset, double minTopOffset, double minGapX, double minGapY) {
    Shelving shelves = shelving(rooms, hubCenters, bandFrame, edgeInset, minGapX);
    std::vector<PackItem>& items = shelves.items;
    const double availableWidth = shelves.availableWidth;
    auto shelve = [&](std::vector<PackItem> ordered) { return shelves.shelve(std::move(ordered)); };

    ResolvedBand out;
    std::vector<ShelfRow> rows = shelve(items);
    if (rows.empty()) return out;

    const double top = bandFrame.minY() + minTopOffset;
    const double space = (bandFrame.maxY() - edgeInset) - top;
    double heights = heightsOf(rows);
    const double stacked = heights + minGapY * (static_cast<double>(rows.size()) - 1);
    // Rows taller together than the band are never pressed onto its bottom (where they would
    // overlap): the rooms take the first rows, so they stay in the band as long as they can,
    // the hubs follow, the gaps between rows shrink as far as needed and the rest runs on below.
    const bool crowded = stacked > space;
    if (crowded) {
        std::stable_partition(items.begin(), items.end(), [](const PackItem& item) { return item.isRoom(); });
        rows = shelve(std::move(items));
        heights = heightsOf(rows);
    }

    const auto rowCount = static_cast<double>(rows.size());
    const double available = std::max(space, stacked);
    double gapY = rows.size() > 1 ? minGapY + std::min(std::max(available - stacked, 0.0) / rowCount, 28.0) : minGapY;
    double y = top + std::max((available - (gapY * (rowCount - 1) + heights)) / 2, 0.0);
    if (crowded) {
        gapY = rows.size() > 1 ? std::clamp((space - heights) / (rowCount - 1), 0.0, minGapY) : minGapY;
        y = top;
    }

    for (const auto& row : rows) {
        const double h = row.maxHeight;
        const double centerLine =
            crowded ? y + h / 2
                    : std::min(std::max(y + h / 2, top + h / 2), std::max(bandFrame.maxY() - edgeInset - h / 2, top + h / 2));
        const auto count = static_cast<double>(row.items.size());
        double widths = 0;
        for (const auto& item : row.items) widths += item.size().width;
        const double gapX = row.items.size() >= 2
                                ? minGapX + std::min(std::max(availableWidth - row.totalWidth, 0.0) / count, 56.0)
                                : minGapX;
        double x = bandFrame.minX() + edgeInset + std::max((availableWidth - (gapX * (count - 1) + widths)) / 2, 0.0);
        for (const auto& item : row.items) {
            const double w = item.size().width;
            Point slot{x + w / 2, centerLine};
            if (const RoomItem* room = item.asRoom()) {
                out.roomCenters.insert_or_assign(room->room.id, room->room.isFixed ? room->room.center : slot);
            } else {
                out.hubCenters.insert_or_assign(item.asHub()->id, slot);
            }
            x += w + gapX;
        }
        y += h + gapY;
    }
    return out;
}

ResolvedBand resolveBandCollisions(const std::vector<LayoutRoomSpec>& rooms,
                                   const std::map<GroupID, Point>& hubCenters, Rect bandFrame) {
    // The pairwise passes move cards in list order, so the list is put in a canonical order
    // first: the outcome is the same whatever order the rooms came in. The sort is stable, so
    // of two rooms with one identifier the later one still comes last.
    std::vector<LayoutRoomSpec> current = rooms;
    std::stable_sort(current.begin(), current.end(),
                     [](const LayoutRoomSpec& a, const LayoutRoomSpec& b) { return a.id < b.id; });
    std::vector<HubState> hubs;
    hubs.reserve(hubCenters.size());
    for (const auto& [id, center] : hubCenters) hubs.push_back({id, clampHub(center, bandFrame)});
    for (auto& room : current) {
        if (!room.isFixed) room.center = clampRoom(room.center, room.hasSatellites, bandFrame);
    }

    // Cards dropped on the same spot have no direction to be pushed in: split them by id first.
    for (std::size_t i = 0; i < current.size(); ++i) {
        for (std::size_t j = i + 1; j < current.size(); ++j) {
            LayoutRoomSpec& a = current[i];
            LayoutRoomSpec& b = current[j];
            if (!(distance(a.center, b.center) < 12)) continue;
            double aShift = a.id < b.id ? -42 : 42;
            if (!a.isFixed) a.center = clampRoom({a.center.x + aShift, a.center.y}, a.hasSatellites, bandFrame);
            if (!b.isFixed) b.center = clampRoom({b.center.x - aShift, b.center.y}, b.hasSatellites, bandFrame);
        }
    }

    for (int iteration = 0; iteration < maximumIterations; ++iteration) {
        bool collided = separateHubs(hubs, bandFrame);
        collided = separateHubsFromRooms(hubs, current, bandFrame) || collided;
        collided = separateRooms(current, bandFrame) || collided;
        if (!collided) break;
    }

    if (!isClean(current, hubs, bandFrame)) {
        std::map<GroupID, Point> relaxedHubs;
        for (const auto& hub : hubs) relaxedHubs.insert_or_assign(hub.id, hub.center);
        return deterministicShelfPack(current, relaxedHubs, bandFrame, edgeInset, topOffset, shelfGap, shelfGap);
    }
    ResolvedBand out;
    for (const auto& room : current) out.roomCenters.insert_or_assign(room.id, room.center);
    for (const auto& hub : hubs) out.hubCenters.insert_or_assign(hub.id, hub.center);
    return out;
}

}  // namespace orvel::AcousticCurveRouter
