#include "RoomNaming.h"

#include <algorithm>
#include <map>

namespace orvel::RoomNaming {

namespace {
// Removes `suffix` when the name ends with it and something would remain.
bool removeSuffix(std::string& name, std::string_view suffix) {
    if (name.size() <= suffix.size() || !name.ends_with(suffix)) return false;
    name.resize(name.size() - suffix.size());
    return true;
}
}  // namespace

std::string shortName(std::string_view roomName, bool merged) {
    std::string name(roomName);
    if (!removeSuffix(name, " Speaker")) removeSuffix(name, " Soundbar");
    if (merged) removeSuffix(name, " Room");
    return name;
}

std::string groupName(std::string_view coordinator, const std::vector<std::string>& members,
                      std::int64_t onlineRoomCount) {
    if (members.empty()) return shortName(coordinator, false);
    // Compared in 64 bits: the member count cannot reach the limits of either type.
    if (onlineRoomCount >= 2 && static_cast<std::int64_t>(members.size()) + 1 >= onlineRoomCount) {
        return "Everywhere";
    }

    std::vector<std::string_view> names;
    names.reserve(members.size() + 1);
    names.push_back(coordinator);
    for (const auto& member : members) names.push_back(member);

    std::map<std::string, int> keyCounts;
    for (auto name : names) ++keyCounts[shortName(name, true)];
    auto label = [&](std::string_view name) {
        std::string key = shortName(name, true);
        return keyCounts[key] >= 2 ? shortName(name, false) : key;
    };

    std::vector<std::string> labels;
    labels.reserve(names.size());
    for (auto name : names) labels.push_back(label(name));
    std::sort(labels.begin() + 1, labels.end());

    if (labels.size() <= 3) {
        std::string out = labels[0];
        for (std::size_t i = 1; i < labels.size(); ++i) out += " + " + labels[i];
        return out;
    }
    return labels[0] + " + " + labels[1] + " + " + std::to_string(labels.size() - 2) + " more";
}

}  // namespace orvel::RoomNaming
