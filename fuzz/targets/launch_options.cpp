// The launch options and the window-size option. Input: one line each; a line
// "ORVELLA_NAME=value" is an environment variable, any other line an argument after the
// program path. Every line is also read as a window size.

#include <string>

#include "FuzzInput.h"
#include "OrvelUI/shell/LaunchSelection.h"
#include "OrvelUI/shell/LaunchView.h"
#include "OrvelUI/shell/WindowSizeOption.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvel;
    LaunchInputs launch;
    launch.arguments.emplace_back("orvella");
    std::string_view rest = fuzz::text(data, size);
    while (!rest.empty()) {
        const auto [line, after] = fuzz::splitFirstLine(rest);
        rest = after;
        (void)parseWindowSizeOption(line);
        const std::size_t equals = line.find('=');
        if (line.starts_with("ORVELLA_") && equals != std::string_view::npos)
            launch.environment[std::string(line.substr(0, equals))] = std::string(line.substr(equals + 1));
        else
            launch.arguments.emplace_back(line);
    }
    (void)launch.requestsIOS();
    (void)launch.requestsQueuePopover();
    (void)launch.requestsGroup();
    (void)launch.requestsLivingRoom();
    (void)launch.requestsGuestRoom();
    (void)launch.requestedCompactTab();
    (void)launch.requestedColorScheme();
    (void)launchRule(launch);
    return 0;
}
