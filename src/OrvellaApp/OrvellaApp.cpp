#include "OrvellaApp/OrvellaApp.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTimer>
#include <QWindow>
#include <QtQml/qqmlextensionplugin.h>

#include "OrvelUI/OrvelRootView.h"
#include "OrvelUI/VavuzadiRudodTheme.h"
#include "OrvelUI/WindowRules.h"
#include "OrvellaApp/DataFolder.h"
#include "OrvellaApp/OrvelAppDelegate.h"
#include "OrvellaApp/SparkleUpdateSession.h"
#include "SpotifyBridge/TokenVault.h"

Q_IMPORT_QML_PLUGIN(Orvella_UIPlugin)

Q_LOGGING_CATEGORY(lcApp, "Orvella.App")

namespace orvel {

namespace {

int visibleWindowCount() {
    int count = 0;
    for (const QWindow* window : QGuiApplication::topLevelWindows()) count += window->isVisible() ? 1 : 0;
    return count;
}

}  // namespace

OrvellaApp::OrvellaApp(LaunchSource launch) : launch_(std::move(launch)) {
    redirectUrl_ = QUrl(QString::fromLatin1(redirectURI), QUrl::StrictMode);
    if (!redirectUrl_.isValid() || redirectUrl_.scheme().isEmpty()) {
        qFatal("The Spotify redirect URI %s does not parse", redirectURI);
    }

    dataFolder_ = DataFolder::path();
    if (!DataFolder::ensurePrivate(dataFolder_)) {
        // The store reports its own failures to write; the window still opens.
        qCWarning(lcApp) << "Could not create the data folder" << dataFolder_;
    }

    vault_ = std::make_unique<TokenVault>(vaultService, dataFolder_.toStdString());

    theme_ = VavuzadiRudodTheme::shared();
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
}

OrvellaApp::~OrvellaApp() {
    // The window's bindings read the root view; the window goes first.
    if (window_) delete window_.data();
}

QQuickWindow* OrvellaApp::window() const { return window_.data(); }

QQuickWindow* OrvellaApp::showWindow() {
    if (window_) {
        window_->show();
        return window_;
    }
    engine_.setInitialProperties({{QStringLiteral("rootView"), QVariant::fromValue(rootView_.get())}});
    engine_.load(QUrl(QString::fromLatin1(mainQml)));
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
