#include "OrvellaApp/SceneCapture.h"

#include <cstdio>

#include <QCoreApplication>
#include <QImage>
#include <QQuickWindow>

namespace orvel {

namespace {

// Scenes that show a page of their own instead of the main window.
struct ScenePage {
    const char* scene;
    const char* qml;
};
constexpr ScenePage scenePages[] = {
    {"kit", "qrc:/Orvella/UI/KitGallery.qml"},
    {"playback", "qrc:/Orvella/UI/PlaybackGallery.qml"},
    {"artwork", "qrc:/Orvella/UI/ArtworkGallery.qml"},
    {"map", "qrc:/Orvella/UI/MapGallery.qml"},
    {"groups", "qrc:/Orvella/UI/GroupPageGallery.qml"},
    {"offline", "qrc:/Orvella/UI/OfflinePageGallery.qml"},
    {"update", "qrc:/Orvella/UI/UpdateGallery.qml"},
};

constexpr int pollInterval = 100;
// The household answers within a few seconds; after this the picture shows what has arrived.
constexpr int pollLimit = 150;
// Time for a sweep's later answers (playback, volumes) and the frames that show them.
constexpr int settleDelay = 2500;

}  // namespace

std::optional<SceneRequest> SceneRequest::from(const LaunchEnvironment& environment) {
    const auto file = environment.find("ORVELLA_SCREENSHOT");
    if (file == environment.end() || file->second.empty()) return std::nullopt;
    const auto scene = environment.find("ORVELLA_SCENE");
    return SceneRequest{QString::fromStdString(file->second),
                        scene == environment.end() ? QString() : QString::fromStdString(scene->second)};
}

QString SceneRequest::sceneQml() const {
    for (const ScenePage& page : scenePages) {
        if (scene == QLatin1String(page.scene)) return QString::fromLatin1(page.qml);
    }
    return {};
}

SceneCapture::SceneCapture(SceneRequest request, QQuickWindow* window, std::function<bool()> ready, QObject* parent)
    : QObject(parent), request_(std::move(request)), window_(window), ready_(std::move(ready)), pollsLeft_(pollLimit) {
    poll_.setInterval(pollInterval);
    connect(&poll_, &QTimer::timeout, this, &SceneCapture::poll);
    poll_.start();
}

void SceneCapture::poll() {
    if (!ready_() && --pollsLeft_ > 0) return;
    poll_.stop();
    if (pollsLeft_ <= 0) std::fprintf(stderr, "orvella: the household did not show in time; capturing anyway\n");
    QTimer::singleShot(settleDelay, this, &SceneCapture::capture);
}

void SceneCapture::capture() {
    int status = 1;
    if (window_) {
        const QImage image = window_->grabWindow();
        if (!image.isNull() && image.save(request_.file, "PNG")) {
            status = 0;
        } else {
            std::fprintf(stderr, "orvella: could not write %s\n", qPrintable(request_.file));
        }
    }
    QCoreApplication::exit(status);
}

}  // namespace orvel
