#pragma once

// Review pictures: when ORVELLA_SCREENSHOT names a file, the application waits until the
// household shows, writes a picture of its window there and quits. ORVELLA_SCENE picks what the
// window shows; only scripts/screens sets either, so a user never meets them.

#include <functional>
#include <optional>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "OrvelUI/shell/LaunchView.h"

class QQuickWindow;

namespace orvel {

struct SceneRequest {
    QString file;
    // Empty: the application's own window.
    QString scene;

    static std::optional<SceneRequest> from(const LaunchEnvironment& environment);
    // The QML file that a scene shows instead of the main window; empty for the main window.
    QString sceneQml() const;
};

class SceneCapture : public QObject {
    Q_OBJECT

public:
    // `ready` says whether the content has arrived; it is asked until it says yes or the
    // deadline passes, and the picture is taken once the window has settled.
    SceneCapture(SceneRequest request, QQuickWindow* window, std::function<bool()> ready, QObject* parent = nullptr);

private:
    void poll();
    void capture();

    SceneRequest request_;
    QPointer<QQuickWindow> window_;
    std::function<bool()> ready_;
    QTimer poll_;
    int pollsLeft_;
};

}  // namespace orvel
