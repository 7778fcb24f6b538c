#include "OrvellaApp/OrvellaApp.h"

#include <algorithm>

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <QCoroTask>

#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/shell/ClickKeepsFocus.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/map/FloorplanMapPresenter.h"
#include "OrvelUI/theme/Haptics.h"
#include "OrvelUI/shell/PlaybackMenu.h"
#include "OrvelUI/sidebar/SidebarListModels.h"
#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/theme/DesktopAppearance.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"
#include "OrvelUI/shell/WindowRules.h"
#include "OrvelUI/sidebar/SidebarColumn.h"
#include "OrvelUI/common/SpeakerGroupContextMenu.h"
#include "OrvellaApp/DataFolder.h"
#include "OrvellaApp/LiveStoreFactory.h"
#include "OrvellaApp/OrvelAppDelegate.h"
#include "OrvellaApp/PerformanceProbe.h"
#include "OrvellaApp/PlaybackScenes.h"
#include "OrvellaApp/SceneCapture.h"
#include "OrvellaApp/SceneInput.h"
#include "OrvellaApp/SparkleUpdateSession.h"
#include "OrvellaApp/WindowScenes.h"
#include "OrvellaApp/update/AppUpdaterFactory.h"
#include "OrvellaApp/update/AppUpdaterModel.h"
#include "SpotifyBridge/BrowserOpener.h"
#include "SpotifyBridge/CallbackRelay.h"
#include "SpotifyBridge/DesktopEntry.h"
#include "SpotifyBridge/SpotifyBridge.h"
#include "SpotifyBridge/TokenVault.h"
#include "SpotifyBridge/WebAuthSession.h"
#include "Support/RunDetached.h"

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

namespace {

// The sidebar's review scene: a linked account on the card (a stand-in name) and the menu of a
// multi-room group opened, once such a group shows.
std::function<bool()> sidebarSceneReady(QQuickWindow* window, SidebarColumn* sidebar) {
    return [window = QPointer<QQuickWindow>(window), sidebar] {
        if (!window) return true;
        for (const SidebarGroupListRow& listed : sidebar->groups()->rows()) {
            if (!listed.row->isMultiRoom()) continue;
            QQuickItem* rowItem = review::itemNamed(window->contentItem(), QStringLiteral("sidebarGroupRow.") + listed.groupId);
            QObject* menu =
                rowItem ? rowItem->findChild<QObject*>(QStringLiteral("sidebarGroupMenu.") + listed.groupId) : nullptr;
            if (!menu) return false;
            sidebar->spotifyCard()->setAuthorization(QStringLiteral("Ada Lovelace"));
            QMetaObject::invokeMethod(menu, "popupWith", Q_ARG(QVariant, listed.row->openMenu()), Q_ARG(QVariant, 140),
                                      Q_ARG(QVariant, 24));
            return true;
        }
        return false;
    };
}

}  // namespace

OrvellaApp::Platform OrvellaApp::Platform::system() {
    Platform platform;
    platform.relayServerName = CallbackRelay::defaultServerName();
    // The file and the helper program it may start are left to a worker: the window does not
    // wait for the disk or for a process to start.
    platform.registerDesktopEntry = [] {
        auto job = [environment = DesktopEntry::forCurrentUser()] {
            if (DesktopEntry::registerIfMissing(environment) == DesktopEntry::Outcome::failed) {
                qCInfo(lcApp) << "Could not register the handler of orvella: links; Spotify sign-in may not return";
            }
        };
        runDetached(std::move(job));
    };
    platform.browser = std::make_shared<XdgBrowserOpener>();
    platform.makeStore = [](SpotifyBridge& spotify) { return LiveStoreFactory::live(spotify); };
    platform.desktopSettings = [] { return std::make_unique<DBusPortalSettings>(); };
    platform.makeUpdater = [](const LaunchEnvironment& environment) {
        return makeAppUpdater(UpdateSettings::fromBuild(),
                              UpdateHost{.clock = Clock::system(),
                                         .target = UpdateInstallTarget::fromEnvironment(environment),
                                         .reveal =
                                             [](const std::filesystem::path& saved) {
                                                 const QString folder = QString::fromStdString(saved.parent_path().string());
                                                 QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
                                             },
                                         .session = SparkleUpdateSession::shared()});
    };
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
    // Starting the program while it runs brings its window to the front.
    relay_->setActivation([app = lifetime_.token()] {
        if (app) app->raiseWindow();
    });

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
    // A click on a button leaves the keyboard focus where it was, as desktop buttons do.
    ClickKeepsFocus::install();
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
    if (relay_) {
        relay_->setReceiver({});
        relay_->setActivation({});
    }
}

QQuickWindow* OrvellaApp::window() const { return window_.data(); }

void OrvellaApp::joinRootView() {
    OrvelRootView* view = rootView_.get();
    OrvelStore* store = store_.get();
    viewStore_ = std::make_unique<ViewStore>(*store);
    view->setViewStore(viewStore_.get());
    playbackMenu_ = std::make_unique<PlaybackMenu>(*store);
    view->setState(store->state());
    QObject::connect(store, &OrvelStore::stateChanged, view, [view, store] { view->setState(store->state()); });
    QObject::connect(view, &OrvelRootView::dismissAlertRequested, store, [store] { store->dismissAlert(); });
    view->setPlayQueueItem([store = QPointer<OrvelStore>(store)](const QueueItem& item, const GroupID& group) {
        if (store) store->playQueueItem(item, group);
    });
    view->dock()->setIntents(DockIntents{
        .togglePlayOrHandOffSpotify = [store](const SonosGroup& group) { store->togglePlayOrHandOffSpotify(group); },
        .send = [store](SonosCommand command) { store->send(std::move(command)); },
        .playQueueItem = [store](const QueueItem& item, const GroupID& group) { store->playQueueItem(item, group); },
        .dissolveGroup = [store](const GroupID& group) { store->dissolveGroup(group); },
        .refreshSpotifyQueueIfNeeded = [store] { store->refreshSpotifyQueueIfNeeded(); },
    });
    haptics_ = std::make_unique<Haptics>();
    mapHost_ = std::make_unique<StoreMapDragHost>(*store);
    map_ = std::make_unique<FloorplanMapPresenter>(
        *mapHost_, *haptics_, Clock::system(), [store = QPointer<OrvelStore>(store)](const SpeakerUUID& speaker) {
            if (store) store->ungroupSpeaker(speaker);
        });
    // The phone shows a group's page on the map tab itself; the desktop selects it in the sidebar.
    const auto openGroup = [view](const GroupID& group) {
        if (view->phoneLayout()) {
            view->openGroup(AppTab::map, group);
        } else {
            view->select(SidebarDestination::group(group));
        }
    };
    map_->setIntents(MapIntents{
        .togglePlayOrHandOffSpotify = [store](const SonosGroup& group) { store->togglePlayOrHandOffSpotify(group); },
        .send = [store](SonosCommand command) { store->send(std::move(command)); },
        .openGroup = openGroup,
        .speakers = [store] { return store->state().speakers(); },
        .performMenuIntent =
            [store = QPointer<OrvelStore>(store), openGroup](const ContextMenuIntent& intent) {
                if (store) performContextMenuIntent(*store, intent, openGroup);
            },
    });
    QObject::connect(store, &OrvelStore::stateChanged, map_.get(), [map = map_.get()] { map->refresh(); });
    view->setMap(map_.get());
    QObject::connect(view, &OrvelRootView::connectSpotifyRequested, bridge_.get(),
                     [app = lifetime_.token()] { connectSpotify(app); });

    sidebar_ = std::make_unique<SidebarColumn>(
        *store, SidebarSelection{
                    .kind = [view] { return view->selectionKind(); },
                    .id = [view] { return view->selectionId(); },
                    .select = [view](SidebarDestination destination) { view->select(std::move(destination)); },
                });
    QObject::connect(view, &OrvelRootView::navigationChanged, sidebar_.get(), &SidebarColumn::selectionChanged);
    QObject::connect(sidebar_->spotifyCard(), &SpotifySidebarCard::connectRequested, view,
                     &OrvelRootView::triggerSpotifyConnect);
    view->setSidebar(sidebar_.get());
    SpotifySidebarCard* card = sidebar_->spotifyCard();
    SpotifyBridge* spotify = bridge_.get();
    const auto showAuthorization = [card, spotify] {
        card->setAuthorization(spotify->isConnected() ? std::optional<QString>(spotify->displayName()) : std::nullopt);
    };
    showAuthorization();
    QObject::connect(spotify, &SpotifyBridge::authorizationChanged, card, showAuthorization);
    QObject::connect(card, &SpotifySidebarCard::disconnectRequested, spotify, [spotify] { spotify->disconnect(); });
}

QQuickWindow* OrvellaApp::showWindow() {
    if (window_) {
        window_->show();
        return window_;
    }
    // Made when the window first needs it, after the link and the store.
    if (!updaterMade_) {
        updaterMade_ = true;
        if (platform_.makeUpdater) updater_ = platform_.makeUpdater(launch_().environment);
    }
    const std::optional<SceneRequest> scene = SceneRequest::from(launch_().environment);
    const QString sceneQml = scene ? scene->sceneQml() : QString();
    QVariantMap initial{{QStringLiteral("rootView"), QVariant::fromValue(rootView_.get())}};
    // Scene pages have no update model of their own.
    if (sceneQml.isEmpty()) initial.insert(QStringLiteral("appUpdater"), QVariant::fromValue<QObject*>(updater_.get()));
    engine_.setInitialProperties(initial);
    engine_.load(QUrl(sceneQml.isEmpty() ? QString::fromLatin1(mainQml) : sceneQml));
    const QList<QObject*> roots = engine_.rootObjects();
    window_ = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.constFirst());
    if (!window_) {
        qCCritical(lcApp) << "The main window could not be loaded";
        return nullptr;
    }
    window_->setProperty("playbackMenu", QVariant::fromValue(playbackMenu_.get()));
    QObject::connect(window_, &QWindow::visibleChanged, window_, [this](bool visible) {
        if (visible) contentShown();
    });
    const auto environment = launch_().environment;
    if (const auto probe = environment.find("ORVELLA_PERF_PROBE"); probe != environment.end()) {
        attachPerformanceProbe(*window_, *store_, *sidebar_->groups(), probe->second == "stalls");
    }
    window_->show();
    if (scene) {
        // Scene pages show the household too (the playback page shows the dock group's queue).
        SidebarGroupListModel* groups = sidebar_->groups();
        std::function<bool()> ready = [groups] { return groups->rowCount() > 0; };
        if (scene->scene == QLatin1String("sidebar")) ready = sidebarSceneReady(window_, sidebar_.get());
        // The offline page and the map wait for a speaker to drop out as well.
        if (scene->scene == QLatin1String("offline") || scene->scene == QLatin1String("map")) {
            ready = [groups, views = viewStore_.get()] {
                return groups->rowCount() > 0 && !views->offlineSpeakerId().isEmpty();
            };
        }
        // The window's offline scene opens the page of the first speaker that does not answer, and
        // opens it again after each new state, as a user would click its row.
        if (scene->scene == QLatin1String("window-offline")) {
            QObject::connect(store_.get(), &OrvelStore::stateChanged, window_,
                             [view = rootView_.get(), views = viewStore_.get()] {
                                 const auto id = SpeakerUUID::make(views->offlineSpeakerId().toStdString());
                                 if (id) view->select(SidebarDestination::speaker(*id));
                             });
            ready = [groups, view = rootView_.get()] {
                return groups->rowCount() > 0 && view->detailKind() == SelectionKind::Speaker;
            };
        }
        // Menus, the banner, a drag under way: what the household alone does not show.
        if (auto shown = windowSceneReady(scene->scene, window_, *store_, *groups)) ready = std::move(shown);
        if (scene->scene == QLatin1String("presets-eight")) ready = eightPresetsSceneReady(store_.get());
        if (scene->scene == QLatin1String("group-pinned-menu")) {
            ready = pinnedRoomMenuSceneReady(window_, rootView_.get(), viewStore_.get(), store_.get());
        }
        new SceneCapture(*scene, window_, std::move(ready), window_);
        // The phone's volume card opens only by a tap; its scene opens it as the tap would.
        if (scene->scene == QLatin1String("volume-card")) rootView_->dock()->toggleVolumePopover();
        // The stream and television scenes pick, once, the first group that plays such sound, as
        // the switcher would.
        const auto showFirstGroupPlaying = [this](bool (NowPlaying::*kind)() const) {
            auto* chooser = new QObject(window_);
            QObject::connect(store_.get(), &OrvelStore::stateChanged, chooser, [this, chooser, kind] {
                for (const SonosGroup& group : store_->state().groups()) {
                    const NowPlaying* nowPlaying = group.playback.nowPlaying();
                    if (!nowPlaying || !(nowPlaying->*kind)()) continue;
                    rootView_->selectDockGroup(group.id);
                    chooser->deleteLater();
                    return;
                }
            });
        };
        if (scene->scene == QLatin1String("dock-stream")) showFirstGroupPlaying(&NowPlaying::isStream);
        if (scene->scene == QLatin1String("dock-tv")) showFirstGroupPlaying(&NowPlaying::isTvAudio);
        // The switcher's menu opens only by a click; its scene clicks it once it shows.
        if (scene->scene == QLatin1String("dock-switcher")) {
            auto* opener = new QTimer(window_);
            opener->setInterval(100);
            QObject::connect(opener, &QTimer::timeout, opener, [window = window_, opener] {
                QQuickItem* switcher = review::itemNamed(window->contentItem(), QStringLiteral("dock.groupSwitcher"));
                if (!switcher || !switcher->isVisible()) return;
                QMetaObject::invokeMethod(switcher, "clicked");
                opener->deleteLater();
            });
            opener->start();
        }
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

void OrvellaApp::raiseWindow() {
    // Only a window that was shown once: a start that is still loading shows its own.
    if (!window_) return;
    window_->setWindowStates(window_->windowStates() & ~Qt::WindowMinimized);
    showWindow();
    window_->raise();
    window_->requestActivate();
}

void OrvellaApp::contentShown() {
    if (updater_) updater_->mainWindowDidAppear();
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
        // The size is the content's: the main window's menu bar comes on top of it.
        const int chrome = window->property("chromeHeight").toInt();
        window->resize(WindowRules::windowExtent(size.width),
                       std::min(WindowRules::largestWindowExtent, WindowRules::windowExtent(size.height) + chrome));
    }
}

}  // namespace orvel
