#pragma once

#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QUrl>

#include "SpotifyBridge/BrowserOpener.h"

namespace orvel::testing {

// Plays the user's browser: remembers every page it was asked to show, and does whatever the
// test scripts for it when a page opens.
class ScriptedBrowser : public BrowserOpener {
public:
    std::expected<void, std::string> open(const QUrl& url) override {
        opened.push_back(url);
        if (failure) return std::unexpected(*failure);
        if (onOpen) onOpen(url);
        return {};
    }

    std::vector<QUrl> opened;
    std::optional<std::string> failure;
    std::function<void(const QUrl&)> onOpen;
};

}  // namespace orvel::testing
