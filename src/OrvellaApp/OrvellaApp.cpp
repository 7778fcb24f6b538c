#include "OrvellaApp/OrvellaApp.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <QCoroTask>

#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/shell/GroupListModel.h"
#include "OrvelUI/theme/DesktopAppearance.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"
#include "OrvelUI/shell/WindowRules.h"
#include "OrvellaApp/DataFolder.h"
#include "OrvellaApp/LiveStoreFactory.h"
#include "OrvellaApp/OrvelAppDelegate.h"
#include "OrvellaApp/SceneCapture.h"
#include "OrvellaApp/SparkleUpdateSession.h"
#include "SpotifyBridge/BrowserOpener.h"
#include "SpotifyBridge/CallbackRelay.h"
#include "SpotifyBridge/DesktopEntry.h"
#include "SpotifyBridge/SpotifyBridge.h"
#include "SpotifyBridge/TokenVault.h"
#include "SpotifyBridge/WebAuthSession.h"

Q_IMPORT_QML_PLUGIN(Orvella_UIPlugin)

Q_LOGGING_CATEGORY(lcApp, "Orvella.App")

namespace orvel {

namespace {

int visibleWindowCount() {
    int count = 0;
    for (const QWindow* window : QGuiApplication::topLevelWindows()) count += window->isVisible() ? 1 : 0;
    return count;
}

QStringList argumentList(const LaunchInputs& launch) {
    QStringList list;
    for (const std::string& argument : launch.arguments) list << QString::fromStdString(argument);
    return list;
}

}  // namespace

// The sign-in runs on by itself; the window neither waits for it nor shows its failure: a
// failed or cancelled sign-in leaves things as they were, and the user can try again.
QCoro::Task<> OrvellaApp::connectSpotify(LifetimeGuard<OrvellaApp>::Token app) {
    if (!app) co_return;
    auto connecting = app->bridge_->connect(*app->webAuth_);
    auto outcome = co_await std::move(connecting);
    if (!app) co_return;
    if (!outcome) qCInfo(lcApp) << "Spotify sign-in ended without a link";
}

OrvellaApp::Platform OrvellaApp::Platform::system() {
    Platform platform;
    platform.relayServerName = CallbackRelay::defaultServerName();
    platform.registerDesktopEntry = [] {
        if (DesktopEntry::registerIfMissing(DesktopEntry::forCurrentUser()) == DesktopEntry::Outcome::failed) {
            qCInfo(lcApp) << "Could not register the handler of orvella: links; Spotify sign-in may not return";
        }
    };
    platform.browser = std::make_shared<XdgBrowserOpener>();
    platform.makeStore = [](SpotifyBridge& spotify) { return LiveStoreFactory::live(spotify); };
    platform.desktopSettings = [] { return std::make_unique<DBusPortalSettings>(); };
    return platform;
}

std::unique_ptr<OrvellaApp> OrvellaApp::start(LaunchSource launch, Platform platform) {
    // Before anything else, and before any window exists (the hand-over blocks, briefly): a copy
    // started by the browser only hands its callback over.
    if (CallbackRelay::forwardToRunningInstance(argumentList(launch()), platform.relayServerName)) return nullptr;
    return std::unique_ptr<OrvellaApp>(new OrvellaApp(std::move(launch), std::move(platform)));
}

OrvellaApp::OrvellaApp(LaunchSource launch, Platform platform)
    : launch_(std::move(launch)), platform_(std::move(platform)) {
    if (platform_.registerDesktopEntry) platform_.registerDesktopEntry();

    redirectUrl_ = QUrl(QString::fromLatin1(redirectURI), QUrl::StrictMode);
    if (!redirectUrl_.isValid() || redirectUrl_.scheme().isEmpty()) {
        qFatal("The Spotify redirect URI %s does not parse", redirectURI);
    }

    dataFolder_ = DataFolder::path();
    if (!DataFolder::ensurePrivate(dataFolder_)) {
        // The store reports its own failures to write; the window still opens.
        qCWarning(lcApp) << "Could not create the data folder" << dataFolder_;
    }
    TokenVault vault(vaultService, dataFolder_.toStdString());

    relay_ = std::make_unique<CallbackRelay>(platform_.relayServerName);
    if (auto listening = relay_->listen(); !listening) {
        // Only the sign-in's return is lost; everything else works.
        qCWarning(lcApp) << "Sign-in callbacks cannot reach this copy:" << QString::fromStdString(listening.error());
    }
    webAuth_ = std::make_unique<WebAuthSession>(*platform_.browser, *relay_);
    relay_->setReceiver([session = webAuth_.get()](const QUrl& callback) { session->handleCallback(callback); });

    // No client id of our own: the bridge resolves one for each use.
    bridge_ = std::make_unique<SpotifyBridge>(QString(), redirectUrl_, std::move(vault));
    store_ = platform_.makeStore(*bridge_);

    theme_ = VavuzadiRudodTheme::shared();
    // Once per process: the theme is shared by every start in it.
    if (platform_.desktopSettings) {
        static const bool following = [this] {
            DesktopAppearance::follow(*theme_, platform_.desktopSettings());
            return true;
        }();
        Q_UNUSED(following);
    }
    if (auto scheme = launch_().requestedColorScheme()) theme_->setForcedScheme(scheme);

    // Quitting follows the delegate's rule, not Qt's default.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    delegate_ = std::make_unique<OrvelAppDelegate>(SparkleUpdateSession::shared(), visibleWindowCount,
                                                   [] { QCoreApplication::quit(); });
    QObject::connect(qGuiApp, &QGuiApplication::lastWindowClosed, delegate_.get(),
                     &OrvelAppDelegate::lastWindowClosed);

    // Every control takes the theme's colours, never a desktop style's. The style can be
    // chosen only once, before the first window loads.
    static const bool styled = [] {
        QQuickStyle::setStyle(QStringLiteral("Basic"));
        return true;
    }();
    Q_UNUSED(styled);
    rootView_ = std::make_unique<OrvelRootView>(launch_);
    joinRootView();
}

OrvellaApp::~OrvellaApp() {
    lifetime_.end();
    // The window's bindings read the root view; the window goes first.
    if (window_) delete window_.data();
    // A sign-in still waiting for the browser ends here, while the link it reports to exists;
    // callbacks arriving from now on have nobody to go to.
    if (webAuth_) webAuth_->cancel();
    if (relay_) relay_->setReceiver({});
}

QQuickWindow* OrvellaApp::window() const { return window_.data(); }

void OrvellaApp::joinRootView() {
    OrvelRootView* view = rootView_.get();
    OrvelStore* store = store_.get();
    view->setState(store->state());
    QObject::connect(store, &OrvelStore::stateChanged, view, [view, store] { view->setState(store->state()); });
    QObject::connect(view, &OrvelRootView::dismissAlertRequested, store, [store] { store->dismissAlert(); });
    view->setPlayQueueItem([store = QPointer<OrvelStore>(store)](const QueueItem& item, const GroupID& group) {
        if (store) store->playQueueItem(item, group);
    });
    QObject::connect(view, &OrvelRootView::connectSpotifyRequested, bridge_.get(),
                     [app = lifetime_.token()] { connectSpotify(app); });
}

QQuickWindow* OrvellaApp::showWindow() {
    if (window_) {
        window_->show();
        return window_;
    }
    engine_.setInitialProperties({{QStringLiteral("rootView"), QVariant::fromValue(rootView_.get())}});
    const std::optional<SceneRequest> scene = SceneRequest::from(launch_().environment);
    const QString sceneQml = scene ? scene->sceneQml() : QString();
    engine_.load(QUrl(sceneQml.isEmpty() ? QString::fromLatin1(mainQml) : sceneQml));
    const QList<QObject*> roots = engine_.rootObjects();
    window_ = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.constFirst());
    if (!window_) {
        qCCritical(lcApp) << "The main window could not be loaded";
        return nullptr;
    }
    QObject::connect(window_, &QWindow::visibleChanged, window_, [this](bool visible) {
        if (visible) contentShown();
    });
    window_->show();
    if (scene) {
        // Scene pages show the household too (the playback page shows the dock group's queue).
        GroupListModel* groups = rootView_->groups();
        new SceneCapture(*scene, window_, [groups] { return groups->rowCount() > 0; }, window_);
    }
    // One loop for the application, however often the window is shown.
    if (!storeLoopStarted_) {
        storeLoopStarted_ = true;
        // The loop runs on by itself until the household's stream ends or the store goes.
        auto loop = store_->run();
        Q_UNUSED(loop);
    }
    return window_;
}

void OrvellaApp::contentShown() {
    const LaunchInputs launch = launch_();
    if (auto scheme = launch.requestedColorScheme()) theme_->setForcedScheme(scheme);
    rootView_->shown();

    const auto option = launch.environment.find("ORVELLA_WINDOW_SIZE");
    if (option == launch.environment.end()) return;
    const std::optional<WindowSize> size = parseWindowSizeOption(option->second);
    if (!size) return;
    // Later, so the platform has finished placing the new window.
    QTimer::singleShot(WindowRules::sizeOptionDelay, qGuiApp,
                       [size = *size] { applyWindowSize(QGuiApplication::topLevelWindows(), size); });
}

void OrvellaApp::applyWindowSize(const QList<QWindow*>& windows, WindowSize size) {
    for (QWindow* window : windows) {
        if (!WindowRules::sizeOptionApplies(window->frameGeometry().width())) continue;
        window->resize(WindowRules::windowExtent(size.width), WindowRules::windowExtent(size.height));
    }
}

}  // namespace orvel
