#pragma once

// The application: creates the long-lived objects once, in order, joins the window to them and
// shows the one main window. A QGuiApplication must exist first.

#include <functional>
#include <memory>
#include <optional>

#include <QPointer>
#include <QQmlApplicationEngine>
#include <QString>
#include <QUrl>

#include <QCoroTask>

#include "OrvelUI/shell/LaunchView.h"
#include "OrvelUI/shell/WindowSizeOption.h"
#include "Support/LifetimeGuard.h"

class QQuickWindow;
class QWindow;

namespace orvel {

class BrowserOpener;
class CallbackRelay;
class FloorplanMapPresenter;
class Haptics;
class StoreMapDragHost;
class OrvelAppDelegate;
class AppUpdaterModel;
class OrvelRootView;
class OrvelStore;
class PlaybackMenu;
class PortalSettings;
class SidebarColumn;
class SpotifyBridge;
class VavuzadiRudodTheme;
class ViewStore;
class WebAuthSession;

class OrvellaApp {
public:
    static constexpr const char* redirectURI = "orvella://spotify-callback";
    static constexpr const char* vaultService = "Orvella.Spotify";
    static constexpr const char* mainQml = "qrc:/Orvella/UI/Main.qml";

    using LaunchSource = std::function<LaunchInputs()>;
    using StoreFactory = std::function<std::unique_ptr<OrvelStore>(SpotifyBridge& spotify)>;

    // What start-up takes from the machine. system() gives the real ones; tests that run
    // outside a private network namespace give a store that never reaches the network.
    struct Platform {
        // Where a copy of the program listens for sign-in callbacks.
        QString relayServerName;
        // Makes the desktop start this program for "orvella:" URLs; its outcome never matters.
        std::function<void()> registerDesktopEntry;
        std::shared_ptr<BrowserOpener> browser;
        // The live store: the household controller on the machine's own network.
        StoreFactory makeStore;
        // The desktop's settings portal, for its light or dark preference; none: the palette decides.
        std::function<std::unique_ptr<PortalSettings>()> desktopSettings;
        // The update check made from the build's settings; none when the build has none.
        std::function<std::unique_ptr<AppUpdaterModel>(const LaunchEnvironment& environment)> makeUpdater;

        static Platform system();
    };

    // Start-up. Null when a copy of the program already runs: the sign-in callback among the
    // arguments, if there is one, has been handed to it, and this process should end.
    static std::unique_ptr<OrvellaApp> start(LaunchSource launch, Platform platform = Platform::system());

    ~OrvellaApp();
    OrvellaApp(const OrvellaApp&) = delete;
    OrvellaApp& operator=(const OrvellaApp&) = delete;

    // Loads the window and shows it; null when the interface could not be loaded. The first
    // successful call starts the store's run loop, which starts the household's sweeps.
    QQuickWindow* showWindow();

    const QUrl& redirectUrl() const { return redirectUrl_; }
    const QString& dataFolder() const { return dataFolder_; }
    OrvelRootView* rootView() const { return rootView_.get(); }
    PlaybackMenu* playbackMenu() const { return playbackMenu_.get(); }
    SidebarColumn* sidebar() const { return sidebar_.get(); }
    OrvelStore& store() const { return *store_; }
    SpotifyBridge& spotify() const { return *bridge_; }
    WebAuthSession& webAuthSession() const { return *webAuth_; }
    // Made with the first window; null before and in a build without an update check.
    AppUpdaterModel* updater() const { return updater_.get(); }
    const CallbackRelay& callbackRelay() const { return *relay_; }
    QQuickWindow* window() const;
    QQmlApplicationEngine& engine() { return engine_; }

    // Brings the shown window to the front, out of the dock or from behind other windows: what
    // starting the program again asks of the copy that runs.
    void raiseWindow();

    // Gives every listed window wider than the rule's limit a content of `size`, in the order given.
    static void applyWindowSize(const QList<QWindow*>& windows, WindowSize size);

private:
    OrvellaApp(LaunchSource launch, Platform platform);

    // The root view follows the store's state; its banner and its sign-in act on the store and
    // the Spotify link.
    void joinRootView();
    // Each time the window's content comes on screen.
    void contentShown();
    static QCoro::Task<> connectSpotify(LifetimeGuard<OrvellaApp>::Token app);

    // Ended first thing in the destructor: tasks started here find the application gone.
    LifetimeGuard<OrvellaApp> lifetime_{this};

    LaunchSource launch_;
    Platform platform_;
    QUrl redirectUrl_;
    QString dataFolder_;
    // Declared in the order they depend on one another, so they go in the reverse order: the
    // store before the link it asks, the link before the sign-in session it may be using, the
    // session before the relay and the browser it waits on.
    std::unique_ptr<CallbackRelay> relay_;
    std::unique_ptr<WebAuthSession> webAuth_;
    std::unique_ptr<SpotifyBridge> bridge_;
    std::unique_ptr<OrvelStore> store_;
    VavuzadiRudodTheme* theme_ = nullptr;
    std::unique_ptr<OrvelAppDelegate> delegate_;
    // The window binds its menu item and dialog to it; it goes after the window.
    std::unique_ptr<AppUpdaterModel> updater_;
    bool updaterMade_ = false;
    // The map reads the store and goes before it; the root view shows it and goes first.
    std::unique_ptr<Haptics> haptics_;
    std::unique_ptr<StoreMapDragHost> mapHost_;
    std::unique_ptr<FloorplanMapPresenter> map_;
    std::unique_ptr<OrvelRootView> rootView_;
    std::unique_ptr<SidebarColumn> sidebar_;
    // The store as the preset bar and the group pages reach it; outlives the window.
    std::unique_ptr<ViewStore> viewStore_;
    // The Playback menu and its shortcuts act on the store; outlives the window.
    std::unique_ptr<PlaybackMenu> playbackMenu_;
    QQmlApplicationEngine engine_;
    QPointer<QQuickWindow> window_;
    bool storeLoopStarted_ = false;
};

}  // namespace orvel
