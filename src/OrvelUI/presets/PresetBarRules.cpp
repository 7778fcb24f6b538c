#include "OrvelUI/presets/PresetBarRules.h"

#include <algorithm>
#include "OrvelUI/common/ShownText.h"

namespace orvel {

namespace {

constexpr std::string_view updateTitle = "Update with Current Grouping";
constexpr std::string_view updateSymbol = "arrow.triangle.2.circlepath";

PresetMenuEntry entry(PresetMenuEntry::Action action, std::string_view title, std::string_view symbol,
                      bool destructive = false) {
    PresetMenuEntry made;
    made.action = action;
    made.title = std::string(title);
    made.symbol = std::string(symbol);
    made.destructive = destructive;
    return made;
}

}  // namespace

std::vector<SonosGroup> activeMultiGroups(const std::vector<SonosGroup>& groups) {
    std::vector<SonosGroup> multi;
    std::ranges::copy_if(groups, std::back_inserter(multi), [](const SonosGroup& g) { return g.speakers().size() >= 2; });
    return multi;
}

int onlineSpeakerCount(const std::vector<Speaker>& speakers) {
    return int(std::ranges::count_if(speakers, [](const Speaker& s) { return s.reachability.isOnline(); }));
}

bool showsEverywhere(const std::vector<Speaker>& speakers) { return onlineSpeakerCount(speakers) >= 2; }

bool isEverywhereActive(const std::vector<SonosGroup>& groups, const std::vector<Speaker>& speakers) {
    const int online = onlineSpeakerCount(speakers);
    return online >= 2 && groups.size() == 1 && int(groups.front().speakers().size()) == online;
}

std::vector<PresetMenuEntry> everywhereMenu(const std::vector<SonosGroup>& groups, const std::vector<Speaker>& speakers) {
    std::vector<PresetMenuEntry> menu{entry(PresetMenuEntry::Action::groupEverywhere, "Group All Rooms", "hifispeaker.2.fill")};
    if (isEverywhereActive(groups, speakers) && !groups.empty()) {
        PresetMenuEntry ungroup = entry(PresetMenuEntry::Action::dissolveGroup, "Ungroup All", "xmark.circle", true);
        ungroup.group = groups.front().id;
        menu.push_back(std::move(ungroup));
    }
    return menu;
}

std::vector<PresetMenuEntry> presetMenu(const PresetPill& preset, const std::vector<SonosGroup>& groups) {
    using Action = PresetMenuEntry::Action;
    const auto forPreset = [&](PresetMenuEntry made) {
        made.preset = preset.id();
        return made;
    };
    std::vector<PresetMenuEntry> menu{forPreset(entry(Action::apply, "Apply", "play.circle")),
                                      forPreset(entry(Action::rename, "Rename\u2026", "pencil"))};
    const std::vector<SonosGroup> multi = activeMultiGroups(groups);
    if (multi.size() == 1) {
        PresetMenuEntry update = forPreset(entry(Action::update, updateTitle, updateSymbol));
        update.group = multi.front().id;
        menu.push_back(std::move(update));
    } else if (multi.size() > 1) {
        PresetMenuEntry submenu = entry(Action::submenu, updateTitle, updateSymbol);
        for (const SonosGroup& group : multi) {
            PresetMenuEntry update = forPreset(entry(Action::update, shownName(group.displayName), ""));
            update.group = group.id;
            submenu.children.push_back(std::move(update));
        }
        menu.push_back(std::move(submenu));
    }
    menu.push_back(entry(Action::divider, "", ""));
    menu.push_back(forPreset(entry(Action::remove, "Delete", "trash", true)));
    return menu;
}

}  // namespace orvel
