#pragma once

#include <functional>

// The application started in the test process without any way to the network: its store runs
// on scripted ports, the browser only records what it is asked to open, the desktop entry is
// counted instead of written, and the sign-in relay listens in the test's own runtime folder.
// Everything else (vault, Spotify link, sign-in session, root view, window) is the real thing.

#include <expected>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "OrvelStore/FakePorts.h"
#include "OrvelUI/shell/LaunchView.h"
#include "OrvellaApp/OrvellaApp.h"
#include "SpotifyBridge/BrowserOpener.h"

namespace orvel::testing {

inline constexpr int patience = 10000;  // ms; every wait ends as soon as its condition holds

class RecordingBrowser final : public BrowserOpener {
public:
    std::expected<void, std::string> open(const QUrl& url) override {
        opened.push_back(url);
        return {};
    }
    std::vector<QUrl> opened;
};

struct AppRig {
    QTemporaryDir storeFolder;
    ManualClock clock;
    std::shared_ptr<FakeSonosControl> sonos = std::make_shared<FakeSonosControl>();
    std::shared_ptr<FakeSpotifySource> spotifySource = std::make_shared<FakeSpotifySource>();
    std::shared_ptr<RecordingBrowser> browser = std::make_shared<RecordingBrowser>();
    int desktopEntryRegistrations = 0;

    OrvellaApp::Platform platform() {
        OrvellaApp::Platform platform;
        platform.relayServerName = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/orvella-test-callback");
        platform.registerDesktopEntry = [this] { ++desktopEntryRegistrations; };
        platform.browser = browser;
        platform.makeStore = [this](SpotifyBridge&) {
            return std::make_unique<OrvelStore>(LoadedFiles{}, OrvelFiles(storeFolder.path().toStdString(), clock), sonos,
                                                spotifySource, std::vector<PresetPill>{}, clock);
        };
        return platform;
    }

    std::unique_ptr<OrvellaApp> start(LaunchInputs inputs) {
        return OrvellaApp::start([inputs] { return inputs; }, platform());
    }
};

// Delegates hang in the visual tree, not always among an item's object children.
inline void collectNamed(QQuickItem* item, const QString& name, QList<QQuickItem*>& found) {
    if (!item->isVisible()) return;
    if (item->objectName() == name) found << item;
    for (QQuickItem* child : item->childItems()) collectNamed(child, name, found);
}

// The visible items of that name.
inline QList<QQuickItem*> itemsNamed(QQuickWindow* window, const QString& name) {
    QList<QQuickItem*> found;
    collectNamed(window->contentItem(), name, found);
    return found;
}

// The visible items whose name starts with `prefix` (rows are named by their group or speaker id).
inline QList<QQuickItem*> itemsNamedStartingWith(QQuickWindow* window, const QString& prefix) {
    QList<QQuickItem*> found;
    const std::function<void(QQuickItem*)> collect = [&](QQuickItem* item) {
        if (!item->isVisible()) return;
        if (item->objectName().startsWith(prefix)) found << item;
        for (QQuickItem* child : item->childItems()) collect(child);
    };
    collect(window->contentItem());
    return found;
}

inline QStringList textsNamedStartingWith(QQuickWindow* window, const QString& prefix) {
    QStringList texts;
    for (QQuickItem* item : itemsNamedStartingWith(window, prefix)) texts << item->property("text").toString();
    return texts;
}

inline QStringList textsNamed(QQuickWindow* window, const QString& name) {
    QStringList texts;
    for (QQuickItem* item : itemsNamed(window, name)) texts << item->property("text").toString();
    return texts;
}

// A picture that is not one flat colour: many colours, and a good share of pixels away from
// the background.
inline void expectDrawn(const QImage& image, QRgb background) {
    ASSERT_FALSE(image.isNull());
    std::set<QRgb> colours;
    qsizetype differing = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            colours.insert(pixel);
            if (pixel != background) ++differing;
        }
    }
    EXPECT_GT(colours.size(), 16u);
    EXPECT_GT(differing, qsizetype(image.width()) * image.height() / 200);
}

// The application's window once it shows on screen; null when there is no application or it
// shows no window.
inline QQuickWindow* shownWindow(OrvellaApp* app) {
    QQuickWindow* window = app ? app->showWindow() : nullptr;
    return window && QTest::qWaitForWindowExposed(window, patience) ? window : nullptr;
}

// Grabs the window and keeps the picture in the build folder.
inline QImage render(QQuickWindow* window, const QString& fileName) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window, patience));
    const QImage image = window->grabWindow();
    EXPECT_TRUE(image.save(QStringLiteral(ORVELLA_TEST_ARTIFACTS "/") + fileName));
    return image;
}

}  // namespace orvel::testing
