#pragma once

// The application: creates the long-lived objects once, in order, and shows the one main
// window. A QGuiApplication must exist first.

#include <functional>
#include <memory>
#include <optional>

#include <QPointer>
#include <QQmlApplicationEngine>
#include <QString>
#include <QUrl>

#include "OrvelUI/LaunchView.h"
#include "OrvelUI/WindowSizeOption.h"

class QQuickWindow;
class QWindow;

namespace orvel {

class OrvelAppDelegate;
class OrvelRootView;
class TokenVault;
class VavuzadiRudodTheme;

class OrvellaApp {
public:
    static constexpr const char* redirectURI = "orvella://spotify-callback";
    static constexpr const char* vaultService = "Orvella.Spotify";
    static constexpr const char* mainQml = "qrc:/Orvella/UI/Main.qml";

    using LaunchSource = std::function<LaunchInputs()>;

    // `launch` gives the process's environment and arguments, asked afresh each time.
    explicit OrvellaApp(LaunchSource launch);
    ~OrvellaApp();
    OrvellaApp(const OrvellaApp&) = delete;
    OrvellaApp& operator=(const OrvellaApp&) = delete;

    // Loads the window and shows it; null when the interface could not be loaded.
    QQuickWindow* showWindow();

    const QUrl& redirectUrl() const { return redirectUrl_; }
    const QString& dataFolder() const { return dataFolder_; }
    OrvelRootView* rootView() const { return rootView_.get(); }
    QQuickWindow* window() const;
    QQmlApplicationEngine& engine() { return engine_; }

    // Resizes every listed window wider than the rule's limit to `size`, in the order given.
    static void applyWindowSize(const QList<QWindow*>& windows, WindowSize size);

private:
    // Each time the window's content comes on screen.
    void contentShown();

    LaunchSource launch_;
    QUrl redirectUrl_;
    QString dataFolder_;
    std::unique_ptr<TokenVault> vault_;
    VavuzadiRudodTheme* theme_;
    std::unique_ptr<OrvelAppDelegate> delegate_;
    std::unique_ptr<OrvelRootView> rootView_;
    QQmlApplicationEngine engine_;
    QPointer<QQuickWindow> window_;
};

}  // namespace orvel
