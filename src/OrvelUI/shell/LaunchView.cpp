#include "OrvelUI/shell/LaunchView.h"

#include <algorithm>
#include <string_view>

#include "OrvelDomain/Text.h"

namespace orvel {

namespace {

const std::string* variable(const LaunchEnvironment& environment, std::string_view name) {
    const auto it = environment.find(std::string(name));
    return it == environment.end() ? nullptr : &it->second;
}

bool variableIs(const LaunchEnvironment& environment, std::string_view name, std::string_view lowered) {
    const std::string* value = variable(environment, name);
    return value != nullptr && text::lowercased(*value) == lowered;
}

bool anyArgumentIs(const LaunchArguments& arguments, std::string_view lowered) {
    return std::ranges::any_of(arguments,
                               [&](const std::string& argument) { return text::lowercased(argument) == lowered; });
}

// The argument right after the first exact (case-sensitive) occurrence of `option`.
const std::string* valueAfter(const LaunchArguments& arguments, std::string_view option) {
    const auto it = std::ranges::find(arguments, option);
    if (it == arguments.end() || std::next(it) == arguments.end()) return nullptr;
    return &*std::next(it);
}

bool requestsInitialView(const LaunchEnvironment& environment, const LaunchArguments& arguments,
                         std::string_view view) {
    return variableIs(environment, "ORVELLA_INITIAL_VIEW", view) ||
           anyArgumentIs(arguments, "--initial-view=" + std::string(view));
}

std::optional<ColorScheme> schemeNamed(std::string_view lowered) {
    if (lowered == "light") return ColorScheme::light;
    if (lowered == "dark") return ColorScheme::dark;
    return std::nullopt;
}

}  // namespace

bool LaunchView::requestsIOS(const LaunchEnvironment& environment, const LaunchArguments& arguments) {
    return variableIs(environment, "ORVELLA_LAYOUT", "ios") || anyArgumentIs(arguments, "--layout=ios");
}

bool LaunchView::requestsQueuePopover(const LaunchEnvironment& environment, const LaunchArguments& arguments) {
    const std::string* value = variable(environment, "ORVELLA_SHOW_QUEUE");
    return (value != nullptr && *value == "1") || anyArgumentIs(arguments, "--show-queue");
}

bool LaunchView::requestsGroup(const LaunchEnvironment& environment, const LaunchArguments& arguments) {
    if (requestsInitialView(environment, arguments, "group")) return true;
    const std::string* next = valueAfter(arguments, "--initial-view");
    return next != nullptr && text::lowercased(*next) == "group";
}

bool LaunchView::requestsLivingRoom(const LaunchEnvironment& environment, const LaunchArguments& arguments) {
    return requestsInitialView(environment, arguments, "living");
}

bool LaunchView::requestsGuestRoom(const LaunchEnvironment& environment, const LaunchArguments& arguments) {
    return requestsInitialView(environment, arguments, "guest");
}

std::optional<std::string> LaunchView::requestedCompactTab(const LaunchEnvironment& environment,
                                                           const LaunchArguments& arguments) {
    if (const std::string* value = variable(environment, "ORVELLA_COMPACT_TAB")) {
        std::string lowered = text::lowercased(*value);
        if (!lowered.empty()) return lowered;
    }
    constexpr std::string_view prefix = "--tab=";
    for (const std::string& argument : arguments) {
        std::string lowered = text::lowercased(argument);
        if (lowered.starts_with(prefix)) return lowered.substr(prefix.size());
    }
    return std::nullopt;
}

std::optional<ColorScheme> LaunchView::requestedColorScheme(const LaunchEnvironment& environment,
                                                            const LaunchArguments& arguments) {
    if (const std::string* value = variable(environment, "ORVELLA_APPEARANCE")) {
        if (auto scheme = schemeNamed(text::lowercased(*value))) return scheme;
    }
    for (const std::string& argument : arguments) {
        const std::string lowered = text::lowercased(argument);
        if (lowered == "--appearance=light") return ColorScheme::light;
        if (lowered == "--appearance=dark") return ColorScheme::dark;
    }
    const std::string* next = valueAfter(arguments, "--appearance");
    return next == nullptr ? std::nullopt : schemeNamed(text::lowercased(*next));
}

}  // namespace orvel
